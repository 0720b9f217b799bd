// The material table (DNVmat.dat) and the three strength look-ups.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/project_state.hpp"

namespace orvane {

// Reads DNVmat.dat into `table`. Records are: name (quoted or bare), then
// fy1, T1, ..., T6, fy7, separated by commas, blanks or line ends. Returns a
// message naming the file, the line and the problem when the file is
// missing, unreadable or holds more than 21 records; the rows read before
// the problem are kept (at most 21).
std::optional<std::string> loadMaterials(const std::filesystem::path& file, MaterialTable& table);

// Yield strength of row `row` for thickness `th`: fy1 up to T1, fyk for
// T(k-1) < th <= Tk, fy7 otherwise. Throws CalcFault for a row outside 0..20.
float materialStrength(const MaterialTable& table, int row, double th);

// The look-ups store the single value into fyp (plate thickness t), fys
// (stiffener tgov) or fyg (ring frame tgov). A row at or beyond the
// user-defined entry (row >= count) leaves the strength as it is.
void lookupPlate(ProjectState& ps, int row);
void lookupStiffener(ProjectState& ps, int row);
void lookupRing(ProjectState& ps, int row);

}  // namespace orvane
