// What the user reads for an input: its caption and unit, as charts, lists,
// table headings and warning titles show it ("Shell thickness t [mm]").
// Files, CSV headings and `--set` keep the input's name (InputDef::name).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/input_id.hpp"

namespace orvane {

struct InputCaption {
  std::string_view caption;  // "Shell thickness t"
  std::string_view unit;     // "mm"; empty for a pure number or a choice
};

InputCaption inputCaption(InputId id);
// The same by name, for a section force of a load table too; none for a
// name that is neither.
std::optional<InputCaption> inputCaption(std::string_view name);
// Caption with its unit in brackets: "Shell thickness t [mm]".
std::string displayName(InputId id);
// The same by name, for a section force of a load table too ("Bending moment
// M1 [kNm]"); a name that is neither is shown as it is.
std::string displayName(std::string_view name);

}  // namespace orvane
