// The rule notes on the command line: the --rules option of every command,
// the "rule_notes" of check --json, the notes after the text panels.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "model/project_state.hpp"

namespace CLI {
class App;
}

namespace orvane::cli {

// --rules orvane|conservative on `cmd`: stored as the setting rules=MODE
// after the --set values of `sets`.
void addRulesOption(CLI::App* cmd, std::vector<std::string>& sets);

// The notes of the run as JSON objects (empty after a fault).
nlohmann::json ruleNotesJson(const ProjectState& ps);

// The count of the notes and each note, after the text panels; nothing
// when the run has none. With the conservative rules a line says so.
void ruleNotesText(std::ostream& out, const ProjectState& ps);

}  // namespace orvane::cli
