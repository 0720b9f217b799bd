// The table of commands and what they share.
#include <charconv>
#include <ostream>

#include "cli/command.hpp"
#include "cli/commands.hpp"
#include "files/input_text.hpp"

namespace orvane::cli {

std::vector<std::unique_ptr<Command>> commands() {
  std::vector<std::unique_ptr<Command>> all;
  all.push_back(makeCheckCommand());
  all.push_back(makeNewCommand());
  all.push_back(makeBatchCommand());
  all.push_back(makeSheetCommand());
  all.push_back(makeSweepCommand());
  all.push_back(makeOptimizeCommand());
  return all;
}

Exit worse(Exit a, Exit b) {
  const auto rank = [](Exit e) {
    return e == Exit::Usage ? 3 : e == Exit::Fault ? 2 : static_cast<int>(e);
  };
  return rank(b) > rank(a) ? b : a;
}

CLI::Validator wholeNumber(long long min, long long max) {
  return CLI::Validator(
      [min, max](std::string& text) -> std::string {
        long long v = 0;
        const char* end = text.data() + text.size();
        const auto [stop, ec] = std::from_chars(text.data(), end, v);
        if (ec == std::errc() && stop == end && v >= min && v <= max) return {};
        return "a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
               " is expected, got '" + printable(text) + "'";
      },
      "");
}

void addJobsOption(CLI::App* cmd, int& jobs) {
  cmd->add_option("--jobs", jobs,
                  "worker threads, 1 to " + std::to_string(kMaxJobs) + " (default: one per core)")
      ->type_name("N")
      ->check(wholeNumber(1, kMaxJobs))
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

Exit problem(const Context& c, const std::string& prefix, const std::string& text) {
  c.err << prefix << ": " << printable(text) << "\n";
  return Exit::Usage;
}

std::optional<OutputFile> openOutput(const Context& c, const std::string& prefix,
                                     const std::string& name,
                                     std::vector<std::filesystem::path> inputs, bool streamOk) {
  Result<OutputFile> file = OutputFile::open(name, {std::move(inputs), streamOk});
  if (!file) {
    problem(c, prefix, file.error().text());
    return std::nullopt;
  }
  return std::move(file.value());
}

bool commitOutput(const Context& c, const std::string& prefix, OutputFile& file) {
  if (const Status done = file.commit(); !done) {
    problem(c, prefix, done.error().text());
    return false;
  }
  return true;
}

}  // namespace orvane::cli
