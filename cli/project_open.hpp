// How a command reaches a project: start-up, FILE, the --set values and a
// run, as `check` does; the problems go to the error stream.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.hpp"
#include "cli/result_output.hpp"
#include "project/session.hpp"

namespace orvane::cli {

// What the text and JSON output need of the runs: the fault of the last
// run, and the stiffener-spacing note as the last complete run drew it.
class OutcomeView final : public ProjectView {
 public:
  OutcomeView(const ProjectState& ps, CheckOutcome& outcome) : ps_(ps), outcome_(outcome) {}
  void calculated(const std::optional<std::string>& fault) override;

 private:
  const ProjectState& ps_;
  CheckOutcome& outcome_;
};

// Session::openHeadless for a command; false when it reported a problem.
bool openProject(Session& session, const Context& c, const std::string& file);

// Stores every --set value in a scratch project: a bad one is reported
// before any output. False when one was refused.
bool checkSets(const Context& c);

}  // namespace orvane::cli
