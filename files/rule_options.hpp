// The project's rule options, kept beside the project file so that the
// .cys file stays byte for byte what it was: NAME.rules for NAME.cys
// ("NAME.cys.rules" style for any other name: ".rules" appended), lines
//
//   rules=conservative        (or orvane, the default)
//   ends=closed               (or open, the default)
//
// A project with both options at their defaults has no such file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/project_state.hpp"
#include "model/result.hpp"

namespace orvane {

struct RuleOptions {
  bool conservative = false;
  bool closedEnds = false;
};

// The options file that goes with a project file.
std::filesystem::path ruleOptionsPath(const std::filesystem::path& project);

// The options of `project`; the defaults when there is no options file. A
// line that is not one of the above is an error naming file and line.
Result<RuleOptions> readRuleOptions(const std::filesystem::path& project);

// Writes the options file of `project`, or removes it when both options are
// at their defaults.
Status writeRuleOptions(const std::filesystem::path& project, const RuleOptions& options);

RuleOptions ruleOptionsOf(const ProjectNumbers& ps);
void setRuleOptions(ProjectNumbers& ps, const RuleOptions& options);

// One NAME=VALUE of the options (`rules=conservative`, `ends=closed`, ...)
// stored into `ps`: nullopt when `assignment` names no rule option, else
// the problem (empty string: stored).
std::optional<std::string> applyRuleOption(ProjectNumbers& ps, std::string_view assignment);

}  // namespace orvane
