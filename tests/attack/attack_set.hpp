// The attack set: damaged, hostile and odd project files, built in a folder
// from one good file, each with what opening it must give.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvane::attack {

enum class Expect {
  Reads,    // opens; the check ends 0, 1 or 3
  Faults,   // opens; the calculation stops on an arithmetic fault (3)
  Refused,  // refused (2) with a message naming the file, `line` and the problem
};

struct AttackFile {
  std::filesystem::path path;
  Expect expect;
  int line = 0;  // the line a refusal names
};

// Writes the whole set into `dir` (created if needed) and lists it. The
// largest files are written in pieces; none is held in memory whole.
std::vector<AttackFile> buildAttackSet(const std::filesystem::path& dir);

}  // namespace orvane::attack
