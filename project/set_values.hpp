// Named inputs of the project for `--set NAME=VALUE`, stored as the main
// window stores a typed value: a number field stores the single-precision
// number it read, whatever the variable's kind; lists, options and flags
// store integers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/project_state.hpp"

namespace orvane {

// Applies one NAME=VALUE assignment; returns an error text naming the
// problem (unknown name, not a number, not an integer in range).
std::optional<std::string> applySetting(ProjectState& ps, const std::string& assignment);

}  // namespace orvane
