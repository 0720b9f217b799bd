// Ring-frame section properties and local buckling (RingSectionProps).
#pragma once

#include <string>

#include "model/project_state.hpp"

namespace orvane {

// Profile-type list texts of `cboring`, index 0 to 9 (from the traits).
extern const char* const* const kRingTypes;

// Dimensions, governing thickness, ring-frame material (matg), local
// buckling lines of Eq 3.10.1 to 3.10.5, designation and section properties
// of ring-frame type `type`. May warn " r > height of ringframe  ".
// Without `texts` the lines and the designation are left as they are (their
// verdicts are still kept as flags).
void ringSectionProps(ProjectState& ps, int type, CalcEvents& ev, bool texts = true);

// Designation of the current ring frame, e.g. "T200x90x9.0x12.0".
std::string ringDesignation(const ProjectState& ps, int type);

}  // namespace orvane
