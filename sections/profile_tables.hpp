// The four profile tables (lprof.dat, tprof.dat, fprof.dat, bfprof.dat).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/project_state.hpp"
#include "model/result.hpp"

namespace orvane {

// Reads a table file: numbers separated by commas, blanks or line ends,
// table.columns values per row. Returns an error naming the file, the line
// and the problem for a missing file (Unreadable), a field that is not a
// number (also one longer than kMaxDataField) or more rows than the table
// holds (Damaged); the complete rows read before it are kept.
Status loadProfileTable(const std::filesystem::path& file, ProfileTable& table);

// Designations of all loaded rows, e.g. "L200x90x9x12", "Fb200x9", "BF 200x10".
std::vector<std::string> profileList(const ProfileTable& table, ProfileKind kind);

// The table row of the current stiffener's table type (traits fromTable)
// found from its dimensions; the last equal row wins, no match keeps the row.
void findStiffenerRow(ProjectState& ps);

// Reads one value of a table row; rows 0..maxRows-1 exist (beyond the loaded
// rows they read as zeros), anything else is a CalcFault.
float tableValue(const ProfileTable& table, int row, int column);

}  // namespace orvane
