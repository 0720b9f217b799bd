// orvane-cli sheet [FILE.cys] [-o FILE] [--json]: the calculation sheet.
#include <chrono>
#include <ctime>
#include <ostream>

#include "cli/commands.hpp"
#include "cli/project_open.hpp"
#include "cli/sheet_output.hpp"
#include "core/calc_sheet.hpp"
#include "core/calc_trace.hpp"

namespace orvane::cli {
namespace {

std::string utcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &tm);
  return text;
}

class SheetCommand final : public Command {
 public:
  CLI::App* add(CLI::App& app) override {
    CLI::App* cmd = app.add_subcommand(
        "sheet", "write the calculation sheet of a project: every step of every check");
    cmd->add_option("FILE", file_, "the project file (.cys); the defaults without it");
    cmd->add_option("-o,--output", output_, "the file to write (standard output without it)")
        ->type_name("FILE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    cmd->add_flag("--json", json_, "the recorded steps as JSON instead of the HTML sheet");
    return cmd;
  }

  // As `check`, with the trace of every run recorded; the sheet is that of
  // the last run, the one the panels show.
  Exit run(const Context& c) override {
    if (!checkSets(c)) return Exit::Usage;
    std::optional<OutputFile> file;
    if (!output_.empty()) {
      file = openOutput(c, prefix(), output_, {file_});
      if (!file) return Exit::Usage;
    }
    CheckOutcome outcome;
    outcome.file = file_;
    CalcTrace trace;
    const auto opened = Session::openHeadless({.dataDir = c.dataDir,
                                               .file = file_,
                                               .sets = c.sets,
                                               .trace = &trace,
                                               .onRun = recordOutcome(outcome)});
    if (!openedWell(c, opened)) return Exit::Usage;
    const ProjectState& ps = opened.value().state;
    outcome.warnings = opened.value().warnings;
    std::string text;
    if (json_) {
      text = sheetJson(ps, trace, outcome).dump(1) + "\n";
    } else {
      SheetHeader header;
      header.date = utcNow();
      header.dataFiles = sheetDataFiles(c.dataDir.string());
      header.fault = outcome.fault;
      header.warnings = outcome.warnings;
      text = calcSheetHtml(ps, trace, header);
    }
    if (!file) {
      c.out << text;
    } else if (Status w = file->write(text); !w || !commitOutput(c, prefix(), *file)) {
      if (!w) problem(c, prefix(), w.error().text());
      return Exit::Usage;
    }
    return outcome.fault ? Exit::Fault : static_cast<Exit>(verdictCode(ps));
  }

 private:
  std::string file_, output_;
  bool json_ = false;
};

}  // namespace

std::unique_ptr<Command> makeSheetCommand() { return std::make_unique<SheetCommand>(); }

}  // namespace orvane::cli
