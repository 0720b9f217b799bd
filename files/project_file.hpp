// Project files (.cys): one value per line, CRLF line ends, the texts in
// Windows-1252 (converted to and from the program's UTF-8 here).
//
// Line 1 holds the format version. Version 170 files have 59 lines; files of
// version 106..130 end after the heavy ring-frame flag (line 50) and files of
// version 105 or less after the ring-frame dimensions (line 49). The values an
// older file lacks keep what the project held before the read.
#pragma once

#include <filesystem>
#include <string>

#include "model/project_state.hpp"
#include "model/result.hpp"

namespace orvane {

// The version this program writes on line 1.
inline constexpr int kProjectFileVersion = 170;

// The longest line a project file may hold (bytes, without the line end).
// A longer line is a damaged file; nothing else bounds what a read costs.
inline constexpr std::size_t kMaxProjectLine = 1024;

// Writes the project to `path` and makes it the project's file name.
// A symbolic link is written through to the file it names. The text goes to
// a new temporary file of its own in the same folder (created exclusively,
// with an unpredictable name), takes the mode and owner of the file it
// replaces, is synced and then renamed over the target; the folder is synced
// after the rename. On any failure the temporary file is removed, an
// existing file is left as it was and so is the file name. Errors:
// FolderMissing, ReadOnly (the target's write bits are all clear, or the
// system denies writing it), Unencodable (a text holds a character that
// Windows-1252 cannot, a line break, or is longer than a line may be),
// Unreadable (the target is not a file), WriteFailed.
Status writeProject(ProjectState& ps, const std::filesystem::path& path);

// The bytes writeProject writes for `ps` (`path` only names the file in
// an error): what a window compares with the file it opened or saved.
Result<std::string> projectFileText(ProjectState ps, const std::filesystem::path& path);

// Reads a project file into `ps`, all or nothing: the file is read into a
// copy, every value is checked against its domain (codes and flags, table
// rows within the loaded tables, material rows within the loaded materials),
// and the copy replaces the project only when the whole file read. Only the
// lines the file's version holds are read, each at most kMaxProjectLine long.
// After a complete read the file name is `path`, stiff_flag is 1, the
// stiffener's table row is searched again from its dimensions and the
// current stiffener and ring-frame dimensions are copied into the built-up
// set of their types. The closing steps (openingSteps) are the caller's.
// Errors: NotFound, Unreadable, Damaged (line and field named),
// OutOfDomain (line, field and the allowed range named).
Status readProject(ProjectState& ps, const std::filesystem::path& path);

// The steps every caller runs after a complete read, before the window is
// refreshed and the calculation runs: plate strength for matp, the
// stiffener section of the `cbostiff` type, stiffener strength for mats.
// Throws CalcFault when one of them faults; what was stored before the
// fault stays.
void openingSteps(ProjectState& ps, CalcEvents& ev);

}  // namespace orvane
