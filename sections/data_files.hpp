// Reading all data files of the program folder at start-up.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/project_state.hpp"
#include "model/result.hpp"

namespace orvane {

// Reads DNVmat.dat and the profile tables (bfprof.dat, lprof.dat, tprof.dat,
// fprof.dat, in that order) from `dir`. Returns one error per file that
// could not be read completely; what was read is kept.
std::vector<Error> loadDataFiles(ProjectState& ps, const std::filesystem::path& dir);

}  // namespace orvane
