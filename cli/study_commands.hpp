// orvane-cli sweep and optimize: design studies over one project.
//
//   orvane-cli sweep [FILE.cys] --vary NAME=FROM:TO:STEP [--vary ...] [--set NAME=VALUE]...
//                    [-o out.csv] [--json] [--jobs N] [--data DIR]
//   orvane-cli optimize [FILE.cys] --free NAME=FROM:TO:STEP|stiffener=TABLE|ring=TABLE ...
//                    [--set NAME=VALUE]... [--top N] [-o out.csv] [--apply K -o new.cys]
//                    [--json] [--jobs N] [--data DIR]
//
// Exit codes: sweep 0 when every point ran (whatever their verdicts; the
// rows carry them), 2 bad command line, range, file or data. optimize 0 a
// passing design was found (and written with --apply), 1 no candidate
// passes, 2 as for sweep.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli {

// Whether the command line asks for sweep or optimize.
bool isStudyCommand(const std::vector<std::string>& args);

// Runs `sweep` or `optimize`; `dataDir` is the data folder without --data.
// A progress bar goes to standard error while it is a terminal.
int runStudy(const std::vector<std::string>& args, const std::filesystem::path& dataDir,
             std::ostream& out, std::ostream& err);

}  // namespace orvane::cli
