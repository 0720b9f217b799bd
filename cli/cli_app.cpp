#include "cli/cli_app.hpp"

#include <CLI/CLI.hpp>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <variant>

#include "cli/batch_command.hpp"
#include "cli/result_output.hpp"
#include "cli/rule_notes_output.hpp"
#include "cli/sheet_output.hpp"
#include "cli/study_commands.hpp"
#include "core/calc_driver.hpp"
#include "core/calc_sheet.hpp"
#include "core/calc_trace.hpp"
#include "files/input_text.hpp"
#include "model/codes.hpp"
#include "project/session.hpp"
#include "project/set_values.hpp"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kOk = 0, kUsage = 2, kFault = 3;  // 1: a check above its allowable

struct Options {
  std::string command;
  std::vector<std::string> files;
  std::vector<std::string> sets;
  std::optional<fs::path> dataDir;
  std::string output;
  bool json = false;
  BatchOptions batch;
};

// The command line, or the exit status when there is nothing to run
// (--help, --version: 0; a bad command line: 2 with the message on `err`).
std::variant<Options, int> parse(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err) {
  Options o;
  std::string data;
  CLI::App app("Checks cylindrical steel shells for buckling after DNV-RP-C202.", "orvane-cli");
  app.set_version_flag("--version", std::string("orvane-cli ") + ORVANE_VERSION);
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 every shown usage factor within its allowable value and every\n"
      "local-buckling line OK, 1 some usage factor above it or a line NOK, 2 bad\n"
      "command line, value, file or data, 3 the calculation stopped on an arithmetic fault.\n"
      "Design studies: orvane-cli sweep --help, orvane-cli optimize --help.");

  const auto common = [&](CLI::App* cmd) {
    cmd->add_option("--set", o.sets, "store NAME=VALUE as the window stores a typed value")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    cmd->add_option("--data", data, "folder of DNVmat.dat and the profile tables")
        ->type_name("DIR")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    addRulesOption(cmd, o.sets);
  };
  CLI::App* check = app.add_subcommand(
      "check",
      "calculate projects as the window shows them (the new-project defaults without FILE)");
  check->add_option("FILE", o.files, "project files (.cys)");
  check->add_flag("--json", o.json, "one JSON object per file instead of the panels as text");
  common(check);
  CLI::App* create = app.add_subcommand("new", "write a new project with the --set values");
  create->add_option("-o,--output", o.output, "the project file to write")
      ->type_name("FILE.cys")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->required();
  common(create);
  CLI::App* batch = addBatchCommand(app, o.batch);
  common(batch);
  CLI::App* sheet = app.add_subcommand(
      "sheet", "write the calculation sheet of a project: every step of every check");
  sheet->add_option("FILE", o.files, "the project file (.cys); the defaults without it")
      ->expected(0, 1);
  sheet->add_option("-o,--output", o.output, "the file to write (standard output without it)")
      ->type_name("FILE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  sheet->add_flag("--json", o.json, "the recorded steps as JSON instead of the HTML sheet");
  common(sheet);

  if (!args.empty() && !args[0].empty() && args[0][0] != '-' && args[0] != "check" &&
      args[0] != "new" && args[0] != "batch" && args[0] != "sheet") {
    err << "orvane-cli: unknown command '" << printable(args[0])
        << "'; the commands are check, new, batch, sheet, sweep and optimize\n"
        << "Run 'orvane-cli --help' for the commands and options.\n";
    return kUsage;
  }
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
      app.exit(e, out, err);
      return kOk;
    }
    err << "orvane-cli: " << printable(e.what()) << "\n"
        << "Run 'orvane-cli --help' for the commands and options.\n";
    return kUsage;
  }
  o.command = check->parsed()   ? "check"
              : batch->parsed() ? "batch"
              : sheet->parsed() ? "sheet"
                                : "new";
  if (!data.empty()) o.dataDir = fs::path(data);
  for (const std::string& f : o.files) {
    if (f.empty()) {
      err << "orvane-cli: an empty file name; name a project file or none for the defaults\n";
      return kUsage;
    }
  }
  if (o.command == "new" && o.output.empty()) {
    err << "orvane-cli: new needs a file name after -o\n";
    return kUsage;
  }
  return o;
}

fs::path defaultDataDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path("data") : exe.parent_path() / "data";
}

// What the text and JSON output need of the runs: the fault of the last
// run, and the stiffener-spacing note as the last complete run drew it.
class OutcomeView final : public ProjectView {
 public:
  OutcomeView(const ProjectState& ps, CheckOutcome& outcome) : ps_(ps), outcome_(outcome) {}
  void calculated(const std::optional<std::string>& fault) override {
    outcome_.fault = fault;
    if (!fault)
      outcome_.noteShown = ps_.cyltype != code(CylinderType::Column) && stiffenerNote(ps_);
  }

 private:
  const ProjectState& ps_;
  CheckOutcome& outcome_;
};

// Start-up, FILE, the --set values and a run, as every headless command
// reaches a project; the problems go to `err`.
bool openProject(Session& session, const fs::path& dataDir, const std::string& file,
                 const std::vector<std::string>& sets, std::ostream& err) {
  const auto problems = session.openHeadless(dataDir, file, sets);
  for (const std::string& p : problems) err << "orvane-cli: " << printable(p) << "\n";
  return problems.empty();
}

bool startUp(Session& session, const fs::path& dataDir, std::ostream& err) {
  const auto errors = session.startUp(dataDir);
  for (const auto& e : errors) err << "orvane-cli: " << printable(e.text()) << "\n";
  return errors.empty();
}

bool applySets(Session& session, const Options& o, std::ostream& err) {
  for (const std::string& s : o.sets) {
    if (auto e = session.set(s)) {
      err << "orvane-cli: " << printable(*e) << "\n";
      return false;
    }
  }
  return true;
}

// One result block: start-up, open FILE (if any), the --set values, a run.
int checkOne(const Options& o, const fs::path& dataDir, const std::string& file, std::ostream& out,
             std::ostream& err) {
  ProjectState ps;
  CheckOutcome outcome;
  outcome.file = file;
  RecordingEvents ev;
  OutcomeView view(ps, outcome);
  Session session(ps, ev, &view);
  if (!openProject(session, dataDir, file, o.sets, err)) return kUsage;
  outcome.warnings = ev.warnings;
  if (o.json)
    out << resultJson(ps, outcome).dump() << "\n";
  else
    out << resultText(ps, outcome) << "\n";
  return outcome.fault ? kFault : verdictCode(ps);
}

std::string utcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &tm);
  return text;
}

// The calculation sheet of one project: as `check`, with the trace of every
// run recorded; the sheet is that of the last run, the one the panels show.
int sheetOne(const Options& o, const fs::path& dataDir, std::ostream& out, std::ostream& err) {
  const std::string file = o.files.empty() ? std::string() : o.files.front();
  ProjectState ps;
  CheckOutcome outcome;
  outcome.file = file;
  RecordingEvents ev;
  OutcomeView view(ps, outcome);
  CalcTrace trace;
  Session session(ps, ev, &view);
  session.setRecorder(&trace);
  if (!openProject(session, dataDir, file, o.sets, err)) return kUsage;
  outcome.warnings = ev.warnings;
  std::string text;
  if (o.json) {
    text = sheetJson(ps, trace, outcome).dump(1) + "\n";
  } else {
    SheetHeader header;
    header.date = utcNow();
    header.dataFiles = sheetDataFiles(dataDir.string());
    header.fault = outcome.fault;
    header.warnings = outcome.warnings;
    text = calcSheetHtml(ps, trace, header);
  }
  if (o.output.empty()) {
    out << text;
  } else {
    std::ofstream f(o.output, std::ios::binary);
    f << text;
    f.close();
    if (!f) {
      err << "orvane-cli: can't write " << printable(o.output) << "\n";
      return kUsage;
    }
  }
  return outcome.fault ? kFault : verdictCode(ps);
}

int newProject(const Options& o, const fs::path& dataDir, std::ostream& err) {
  ProjectState ps;
  RecordingEvents ev;
  Session session(ps, ev);
  if (!startUp(session, dataDir, err)) return kUsage;
  if (!applySets(session, o, err)) return kUsage;
  // the strengths of the chosen material rows; a fault is written all the
  // same, `check` reports it
  session.recalculate();
  if (const Status written = session.save(o.output); !written) {
    err << "orvane-cli: " << printable(written.error().text()) << "\n";
    return kUsage;
  }
  return kOk;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (isStudyCommand(args)) return runStudy(args, defaultDataDir(), out, err);
  const auto parsed = parse(args, out, err);
  if (const int* code = std::get_if<int>(&parsed)) return *code;
  const Options* o = &std::get<Options>(parsed);
  const fs::path dataDir = o->dataDir ? *o->dataDir : defaultDataDir();
  if (o->command == "new") return newProject(*o, dataDir, err);
  if (o->command == "batch") return runBatch(o->batch, o->sets, dataDir, out, err);
  if (o->command == "sheet") {
    ProjectState probe;
    RecordingEvents ev;
    Session session(probe, ev);
    if (!applySets(session, *o, err)) return kUsage;
    return sheetOne(*o, dataDir, out, err);
  }

  // validate every --set once before any output
  {
    ProjectState probe;
    RecordingEvents ev;
    Session session(probe, ev);
    if (!applySets(session, *o, err)) return kUsage;
  }
  std::vector<std::string> files = o->files;
  if (files.empty()) files.push_back("");
  int worst = kOk;
  for (const std::string& f : files) {
    const int code = checkOne(*o, dataDir, f, out, err);
    // a bad file outranks a fault, a fault outranks a failed check
    auto rank = [](int c) { return c == kUsage ? 3 : c == kFault ? 2 : c; };
    if (rank(code) > rank(worst)) worst = code;
  }
  return worst;
}

}  // namespace orvane::cli
