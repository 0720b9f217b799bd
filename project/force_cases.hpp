// Load cases of section forces: a table whose load columns are N M1 M2 T
// Q1 Q2 (with pd and sigy) runs its rows through the ForceEngine, each
// check at its governing point around the circumference.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/project_state.hpp"
#include "project/load_cases.hpp"
#include "project/member_forces.hpp"

namespace orvane::cases {

// The input columns of a new table of section forces in a shell mode.
std::vector<std::string> forcePresetColumns();

// Whether `name` is a column of loads: the stresses (sigx, sigy, tau, pd) or
// the section forces.
bool isLoadColumn(std::string_view name);

// One row through the engine.
ForceOutcome runForceCase(const ForceEngine& engine, const CaseRow& row, RowScratch& scratch);
// Every row of `table`, in order, on all cores when there are many;
// `cancelled` as for runCases.
std::vector<ForceOutcome> runForceCases(const ForceEngine& engine, const CaseTable& table,
                                        const std::function<bool()>& cancelled = {});

}  // namespace orvane::cases
