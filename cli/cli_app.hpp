// orvane-cli: the headless front end over the calculation core.
//
//   orvane-cli check [FILE.cys]... [--set NAME=VALUE]... [--data DIR] [--json]
//   orvane-cli new -o FILE.cys [--set NAME=VALUE]... [--data DIR]
//   orvane-cli batch PROJECT.cys LOADS.csv [-o OUT.csv|OUT.xlsx] [--json] [--jobs N]
//                    [--rows FROM:TO] [--set NAME=VALUE]... [--data DIR]
//   orvane-cli sweep|optimize ...   (cli/study_command.cpp)
//   orvane-cli --help | --version
//
// Exit codes: 0 every shown usage factor within its allowable value and
// every local-buckling line of the profiles in use OK (also --help and
// --version), 1 some usage factor above it or a line NOK, 2 bad command
// line or unreadable file or data, 3 a calculation stopped on an arithmetic
// fault. A batch exits with the status of its worst row, an input error
// counting as 2 (see cli/batch_command.cpp). Each command is a Command of
// its own (cli/command.hpp), listed in cli/commands.cpp.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli {

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orvane::cli
