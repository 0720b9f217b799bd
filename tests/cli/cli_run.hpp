// Helpers of the command-line tests: a run of orvane-cli with its exit
// status and output, and the names of the shared vectors.
#pragma once

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"

namespace orvane::test {

struct CliRun {
  int code;
  std::string out, err;
};

// Runs with the shipped data; a later --data in `args` takes its place.
inline CliRun cli(std::vector<std::string> args) {
  args.insert(args.begin() + (args.empty() ? 0 : 1), {"--data", ORVANE_SHIPPED_DATA});
  std::ostringstream out, err;
  const int code = orvane::cli::run(args, out, err);
  return {code, out.str(), err.str()};
}

// The stems of the project files in vectors/cases, sorted.
inline std::vector<std::string> vectorNames() {
  const std::filesystem::path cases = std::filesystem::path(ORVANE_VECTORS) / "cases";
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(cases))
    if (e.path().extension() == ".cys") names.push_back(e.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace orvane::test
