#include "cli/cli_app.hpp"

#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/result_output.hpp"
#include "core/calc_driver.hpp"
#include "project/session.hpp"
#include "project/set_values.hpp"

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

// What the text and JSON output need of the runs: the fault of the last
// run, and the stiffener-spacing note as the last complete run drew it.
class OutcomeView final : public ProjectView {
 public:
  OutcomeView(const ProjectState& ps, CheckOutcome& outcome) : ps_(ps), outcome_(outcome) {}
  void calculated(const std::optional<std::string>& fault) override {
    outcome_.fault = fault;
    if (!fault) outcome_.noteShown = ps_.cyltype != 3 && stiffenerNote(ps_);
  }

 private:
  const ProjectState& ps_;
  CheckOutcome& outcome_;
};

bool startUp(Session& session, const fs::path& dataDir, std::ostream& err) {
  const auto errors = session.startUp(dataDir);
  for (const auto& e : errors) err << "orvane-cli: " << e << "\n";
  return errors.empty();
}

bool applySets(Session& session, const Options& o, std::ostream& err) {
  for (const std::string& s : o.sets) {
    if (auto e = session.set(s)) {
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
  OutcomeView view(ps, outcome);
  Session session(ps, ev, &view);
  if (!startUp(session, dataDir, err)) return kUsage;
  if (!file.empty()) {
    if (const Status read = session.open(file); !read) {
      err << "orvane-cli: " << read.error() << "\n";
      return kUsage;
    }
  }
  if (!o.sets.empty()) {
    if (!applySets(session, o, err)) return kUsage;
    session.recalculate();
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
  RecordingEvents ev;
  Session session(ps, ev);
  if (!startUp(session, dataDir, err)) return kUsage;
  if (!applySets(session, o, err)) return kUsage;
  // the strengths of the chosen material rows; a fault is written all the
  // same, `check` reports it
  session.recalculate();
  if (const Status written = session.save(o.output); !written) {
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
