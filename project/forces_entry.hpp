// Section forces entered for the project as it stands (the window's
// "Forces..." command): each shown check's governing point around the
// circumference, or every check at one angle, and the point whose stresses
// go into the Sigx and Tau fields.
//
// A one-row table of the forces through the ForceEngine, started from the
// project: the same numbers as `orvane-cli batch` of that row, and every
// point is the project with `--set sigx=... --set tau=...` (the printed
// texts), so the window computes nothing of its own.
#pragma once

#include <optional>
#include <vector>

#include "model/result.hpp"
#include "project/member_forces.hpp"
#include "project/opened_project.hpp"

namespace orvane {

struct ForcesEntry {
  std::vector<CheckId> checks;  // the checks shown, in panel order
  RowOutcome outcome;           // each check's value at its own point
  GoverningPoints points{};     // each check's angle (degrees), sigx and tau
  // The point to enter: the governing check's (largest ratio of usage
  // factor to allowable value), or the fixed angle's.
  bool fixed = false;
  std::optional<CheckId> governing;
  GoverningPoint chosen;
};

// `degrees`: a fixed angle, or none for each check's governing point. A
// fault or an input error of the run is the error's message.
Result<ForcesEntry> enterForces(const OpenedProject& base, const SectionForces& forces,
                                std::optional<double> degrees);

}  // namespace orvane
