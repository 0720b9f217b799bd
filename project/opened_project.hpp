// A project as the headless road opens it (Session::openHeadless).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/project_state.hpp"

namespace orvane {

// A project as the headless road leaves it: the state after start-up, the
// file and the settings, with the fault of the last run (none when it
// completed) and the warnings of every run in order. The row engine, the
// studies and the report start from one of these.
struct OpenedProject {
  ProjectState state{};
  std::optional<std::string> fault{};
  std::vector<std::string> warnings{};
};

}  // namespace orvane
