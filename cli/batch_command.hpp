// orvane-cli batch: one project against a table of load cases.
//
//   orvane-cli batch PROJECT.cys LOADS.csv [-o OUT.csv|OUT.xlsx] [--json]
//                    [--jobs N] [--rows FROM:TO] [--set NAME=VALUE]... [--data DIR]
//
// Every row of LOADS.csv starts from the project as `check PROJECT.cys`
// reaches it (with the --set values), stores its values as --set does and
// is checked; the rows are computed in parallel and written in input order.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli {

struct BatchOptions {
  std::string project, loads, output;
  bool json = false;
  int jobs = 0;  // 0: one thread per core
  std::string rows;
  bool header = false, noHeader = false;
};

// Adds the `batch` subcommand with its options to `app`.
CLI::App* addBatchCommand(CLI::App& app, BatchOptions& o);

// Runs a parsed batch command; returns the exit status.
int runBatch(const BatchOptions& o, const std::vector<std::string>& sets,
             const std::filesystem::path& dataDir, std::ostream& out, std::ostream& err);

}  // namespace orvane::cli
