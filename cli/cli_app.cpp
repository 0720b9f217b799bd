#include "cli/cli_app.hpp"

#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/result_output.hpp"
#include "cli/set_values.hpp"
#include "core/calc_driver.hpp"
#include "core/checked.hpp"
#include "files/project_file.hpp"
#include "sections/data_files.hpp"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kOk = 0, kAbove = 1, kUsage = 2, kFault = 3;

struct Options {
  std::string command;
  std::vector<std::string> files;
  std::vector<std::string> sets;
  std::optional<fs::path> dataDir;
  std::string output;
  bool json = false;
};

const char* const kUsageText =
    "usage: orvane-cli check [FILE.cys]... [--set NAME=VALUE]... [--data DIR] [--json]\n"
    "       orvane-cli new -o FILE.cys [--set NAME=VALUE]... [--data DIR]\n";

std::optional<Options> parse(const std::vector<std::string>& args, std::ostream& err) {
  if (args.empty() || (args[0] != "check" && args[0] != "new")) {
    err << kUsageText;
    return std::nullopt;
  }
  Options o;
  o.command = args[0];
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* opt) -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        err << "orvane-cli: " << opt << " needs a value\n" << kUsageText;
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == "--json") {
      o.json = true;
    } else if (a == "--set") {
      auto v = value("--set");
      if (!v) return std::nullopt;
      o.sets.push_back(*v);
    } else if (a.rfind("--set=", 0) == 0) {
      o.sets.push_back(a.substr(6));
    } else if (a == "--data") {
      auto v = value("--data");
      if (!v) return std::nullopt;
      o.dataDir = fs::path(*v);
    } else if (a == "-o" && o.command == "new") {
      auto v = value("-o");
      if (!v) return std::nullopt;
      o.output = *v;
    } else if (!a.empty() && a[0] == '-') {
      err << "orvane-cli: unknown option '" << a << "'\n" << kUsageText;
      return std::nullopt;
    } else if (o.command == "check") {
      o.files.push_back(a);
    } else {
      err << "orvane-cli: unexpected argument '" << a << "'\n" << kUsageText;
      return std::nullopt;
    }
  }
  if (o.command == "new" && o.output.empty()) {
    err << "orvane-cli: new needs -o FILE.cys\n" << kUsageText;
    return std::nullopt;
  }
  return o;
}

fs::path defaultDataDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path("data") : exe.parent_path() / "data";
}

// The program as it starts: defaults, data files, window refresh, one run.
// One calculation run as a window handler makes it: a fault is caught and
// leaves the panels (and the note flag) as the last completed run drew them.
void runCalculation(ProjectState& ps, CheckOutcome& outcome, RecordingEvents& ev) {
  try {
    calcDriver(ps, ev);
    outcome.fault.reset();
    outcome.noteShown = ps.cyltype != 3 && stiffenerNote(ps);
  } catch (const CalcFault& f) {
    outcome.fault = f.what();
  }
}

bool startUp(ProjectState& ps, const fs::path& dataDir, CheckOutcome& outcome, RecordingEvents& ev,
             std::ostream& err) {
  assignDefaults(ps);
  const auto errors = loadDataFiles(ps, dataDir);
  for (const auto& e : errors) err << "orvane-cli: " << e << "\n";
  if (!errors.empty()) return false;
  refreshValues(ps);
  runCalculation(ps, outcome, ev);
  return true;
}

bool applySets(ProjectState& ps, const Options& o, std::ostream& err) {
  for (const std::string& s : o.sets) {
    if (auto e = applySetting(ps, s)) {
      err << "orvane-cli: " << *e << "\n";
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
  if (!startUp(ps, dataDir, outcome, ev, err)) return kUsage;
  if (!file.empty()) {
    const Status read = readProject(ps, file);
    if (!read) {
      err << "orvane-cli: " << read.error() << "\n";
      return kUsage;
    }
    try {
      openingSteps(ps, ev);
      refreshValues(ps);
      runCalculation(ps, outcome, ev);
    } catch (const CalcFault& f) {
      outcome.fault = std::string("opening the project: ") + f.what();
    }
  }
  if (!o.sets.empty()) {
    if (!applySets(ps, o, err)) return kUsage;
    runCalculation(ps, outcome, ev);
  }
  outcome.warnings = ev.warnings;
  if (o.json)
    out << resultJson(ps, outcome).dump() << "\n";
  else
    out << resultText(ps, outcome) << "\n";
  return outcome.fault ? kFault : verdictCode(ps);
}

int newProject(const Options& o, const fs::path& dataDir, std::ostream& err) {
  ProjectState ps;
  CheckOutcome outcome;
  RecordingEvents ev;
  if (!startUp(ps, dataDir, outcome, ev, err)) return kUsage;
  if (!applySets(ps, o, err)) return kUsage;
  try {
    calcDriver(ps, ev);  // the strengths of the chosen material rows
  } catch (const CalcFault&) {
    // the project is written all the same; `check` reports the fault
  }
  if (const Status written = writeProject(ps, o.output); !written) {
    err << "orvane-cli: " << written.error() << "\n";
    return kUsage;
  }
  return kOk;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto o = parse(args, err);
  if (!o) return kUsage;
  const fs::path dataDir = o->dataDir ? *o->dataDir : defaultDataDir();
  if (o->command == "new") return newProject(*o, dataDir, err);

  // validate every --set once before any output
  {
    ProjectState probe;
    if (!applySets(probe, *o, err)) return kUsage;
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
