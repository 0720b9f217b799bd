// The calculation sheet's trace as JSON, for scripts: every recorded step
// with its symbol, reference, formula, operands and result.
#pragma once

#include <nlohmann/json.hpp>

#include "cli/result_output.hpp"
#include "core/calc_trace.hpp"

namespace orvane::cli {

// The date a calculation sheet prints: now, "YYYY-MM-DD HH:MM UTC".
std::string sheetDate();

// One step: id, kind, symbol, reference, formula, operands [{symbol,
// value}], result, unit, and for a branch the words taken and not taken.
nlohmann::json stepJson(const TraceStep& step);

// {"file", "fault", "warnings", "steps": [...], "values": {...}}: the steps
// of the run and the values object of `check --json` of the same run.
nlohmann::json sheetJson(const ProjectState& ps, const CalcTrace& trace,
                         const CheckOutcome& outcome);

}  // namespace orvane::cli
