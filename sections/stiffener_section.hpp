// Stiffener section properties and local buckling (StiffenerSection,
// EffectiveSection).
#pragma once

#include <string>

#include "model/project_state.hpp"

namespace orvane {

// Profile-type list texts of `cbostiff`, index 0 to 9 (from the traits).
extern const char* const* const kStiffenerTypes;

// Dimensions, governing thickness, stiffener material (mats), proportion
// lines of Eq 3.10.6, 3.10.7 and 3.10.9, designation and the properties of
// the bare profile for stiffener type `type`. Without `texts` the lines and
// the designation are left as they are (their verdicts are still kept as
// flags).
void stiffenerSection(ProjectState& ps, int type, CalcEvents& ev, bool texts = true);

// Properties of stiffener plus effective plate flange of width se.
void effectiveSection(ProjectState& ps);

// Designation of the current stiffener, e.g. "L200x90x9.0x12.0".
std::string stiffenerDesignation(const ProjectState& ps, int type);

}  // namespace orvane
