// Project files (.cys): one value per line, CRLF line ends, the texts in the
// system's single-byte code page (the bytes of our strings, unconverted).
//
// Line 1 holds the format version. Version 170 files have 59 lines; files of
// version 106..130 end after the heavy ring-frame flag (line 50) and files of
// version 105 or less after the ring-frame dimensions (line 49). The values an
// older file lacks keep what the project held before the read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/project_state.hpp"

namespace orvane {

// The version this program writes on line 1.
inline constexpr int kProjectFileVersion = 170;

// Writes the project to `path` and makes it the project's file name.
// The file is first written beside the target and then renamed over it, so a
// failed save leaves an existing file intact. Returns a message on failure:
// "can't save file - <path>" when the folder of `path` does not exist, and a
// message naming the path and the cause for any other failure; the file
// name is then left as it was.
std::optional<std::string> writeProject(ProjectState& ps, const std::filesystem::path& path);

struct ReadOutcome {
  enum Status {
    Ok,        // every line of the file's version was read
    NotFound,  // no such file; the project is untouched
    Stopped,   // reading stopped at `line`; lines before it were stored
  };
  Status status = Ok;
  // 1-based line at which a Stopped read ended; 0 when the file could not be
  // opened at all, and for Ok and NotFound.
  int line = 0;
  // "can't find file - <path>" for NotFound, "<path>, line N: <problem>"
  // for Stopped (the window shows nothing for a stopped read; the headless
  // check reports it), empty for Ok.
  std::string message;
};

// Reads a project file into `ps`.
// A read that stops on a missing line or a bad number keeps the values
// stored before that line and leaves the file name as it was; this is how
// the program has always treated damaged files.
// After a complete read the file name becomes `path`, stiff_flag is 1, the
// stiffener's table row is searched again from its dimensions and the
// current stiffener and ring-frame dimensions are copied into the built-up
// set of their types. The closing steps (openingSteps) are the caller's.
ReadOutcome readProject(ProjectState& ps, const std::filesystem::path& path);

// The steps every caller runs after a complete read, before the window is
// refreshed and the calculation runs: plate strength for matp, the
// stiffener section of the `cbostiff` type, stiffener strength for mats.
// Throws CalcFault when one of them faults (e.g. a row outside the material
// table); what was stored before the fault stays.
void openingSteps(ProjectState& ps, CalcEvents& ev);

}  // namespace orvane
