// How a command reaches a project: Session::openHeadless with FILE and the
// --set values, as `check` does; the problems go to the error stream.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.hpp"
#include "cli/result_output.hpp"
#include "project/session.hpp"

namespace orvane::cli {

// What the text and JSON output need of the runs (HeadlessOpen::onRun):
// the fault of the last run, and the stiffener-spacing note as the last
// complete run drew it.
std::function<void(const ProjectState&, const std::optional<std::string>&)> recordOutcome(
    CheckOutcome& outcome);

// The problems of an opening, one line each on the error stream; true when
// there were none.
bool openedWell(const Context& c, const Result<OpenedProject, OpenProblems>& opened);

// Stores every --set value in a scratch project: a bad one is reported
// before any output. False when one was refused.
bool checkSets(const Context& c);

}  // namespace orvane::cli
