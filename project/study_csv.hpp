// The points of a sweep as CSV, one writer for `orvane-cli sweep -o` and
// the study window's export: the varied inputs, per check its usage
// factor, allowable value and verdict (OK / NOT OK), then the NOK
// local-buckling lines, the status and the fault. Numbers in their
// shortest exact text, so that a row typed back as --set values gives the
// same results.
#pragma once

#include <iosfwd>
#include <string>

#include "project/study.hpp"

namespace orvane {

void writeSweepHeader(std::ostream& csv, const SweepResult& result);
void writeSweepRow(std::ostream& csv, const SweepResult& result, const SweepPoint& point);

// A CSV cell, quoted as the load tables quote a field (appendField).
std::string csvCell(const std::string& text);

}  // namespace orvane
