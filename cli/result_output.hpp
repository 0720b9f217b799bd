// What a headless check reports: the result panels of the mode as text, or
// one JSON object with tables, local-buckling lines, warnings and values.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "model/project_state.hpp"

namespace orvane::cli {

struct CheckOutcome {
  std::string file;                  // the project file, empty for the defaults
  std::optional<std::string> fault;  // the arithmetic fault that ended the run
  std::vector<std::string> warnings;
  // The stiffener panel shows the stiffener-spacing note (as of the last
  // run that completed and drew the panels).
  bool noteShown = false;
};

// Worst verdict of the panels the main window shows for the mode and of the
// local-buckling lines of the profiles in use: 0 all usage factors within
// their allowable values and every line OK, 1 otherwise.
int verdictCode(const ProjectState& ps);

nlohmann::json resultJson(const ProjectState& ps, const CheckOutcome& outcome);
std::string resultText(const ProjectState& ps, const CheckOutcome& outcome);

}  // namespace orvane::cli
