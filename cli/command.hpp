// The commands of orvane-cli: each is one class in a file of its own that
// adds its subcommand and options to the one CLI11 parser and runs it. The
// program knows them only through commands() (cli/commands.cpp).
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/output_file.hpp"

namespace orvane::cli {

// The exit status of every command.
enum class Exit : int {
  Ok = 0,        // every shown usage factor within its allowable value (a design passes)
  Exceeded = 1,  // some usage factor above it, a local-buckling line NOK (no design passes)
  Usage = 2,     // bad command line, value, file, data or output
  Fault = 3,     // a calculation stopped on an arithmetic fault
};

// The worse of two outcomes: a bad file outranks a fault, a fault a failed check.
Exit worse(Exit a, Exit b);

// What every command takes: --set, --data, and the streams.
struct Context {
  std::vector<std::string> sets;
  std::filesystem::path dataDir;
  std::ostream& out;
  std::ostream& err;
  bool terminal = false;  // standard error is a terminal: progress may be drawn
};

class Command {
 public:
  virtual ~Command() = default;
  // Adds the subcommand with its own options to `app`; the options --set and
  // --data are added by the caller (addCommonOptions).
  virtual CLI::App* add(CLI::App& app) = 0;
  virtual Exit run(const Context& context) = 0;
  // How the command's messages begin ("orvane-cli" or "orvane-cli sweep").
  virtual std::string prefix() const { return "orvane-cli"; }
};

// Every command, in the order --help lists them.
std::vector<std::unique_ptr<Command>> commands();

// Options several commands share.
void addJobsOption(CLI::App* cmd, int& jobs);
// A whole number from `min` to `max`, said plainly when it is not.
CLI::Validator wholeNumber(long long min, long long max);
inline constexpr int kMaxJobs = 256;

// "PREFIX: TEXT" on the error stream; returns Exit::Usage.
Exit problem(const Context& c, const std::string& prefix, const std::string& text);

// Opens -o FILE for writing once everything before the work is known to be
// right; the problem goes to the error stream. `inputs` are the files the
// run reads; `streamOk` allows a FIFO or a terminal to take the bytes.
std::optional<OutputFile> openOutput(const Context& c, const std::string& prefix,
                                     const std::string& name,
                                     std::vector<std::filesystem::path> inputs,
                                     bool streamOk = true);
// Commits `file`; false with the message on failure.
bool commitOutput(const Context& c, const std::string& prefix, OutputFile& file);

}  // namespace orvane::cli
