// orvane-cli check [FILE.cys]... [--json]: the panels of each project.
#include <ostream>

#include "cli/commands.hpp"
#include "cli/project_open.hpp"
#include "core/calc_driver.hpp"
#include "files/input_text.hpp"
#include "model/codes.hpp"

namespace orvane::cli {

std::function<void(const ProjectState&, const std::optional<std::string>&)> recordOutcome(
    CheckOutcome& outcome) {
  return [&outcome](const ProjectState& ps, const std::optional<std::string>& fault) {
    outcome.fault = fault;
    if (!fault) outcome.noteShown = ps.cyltype != code(CylinderType::Column) && stiffenerNote(ps);
  };
}

bool openedWell(const Context& c, const Result<OpenedProject, OpenProblems>& opened) {
  if (opened) return true;
  for (const std::string& p : opened.error()) c.err << "orvane-cli: " << printable(p) << "\n";
  return false;
}

bool checkSets(const Context& c) {
  ProjectState probe;
  RecordingEvents ev;
  Session session(probe, ev);
  for (const std::string& s : c.sets) {
    if (auto e = session.set(s)) {
      c.err << "orvane-cli: " << printable(*e) << "\n";
      return false;
    }
  }
  return true;
}

namespace {

class CheckCommand final : public Command {
 public:
  CLI::App* add(CLI::App& app) override {
    CLI::App* cmd = app.add_subcommand(
        "check",
        "calculate projects as the window shows them (the new-project defaults without FILE)");
    cmd->add_option("FILE", files_, "project files (.cys)");
    cmd->add_flag("--json", json_, "one JSON object per file instead of the panels as text");
    return cmd;
  }

  Exit run(const Context& c) override {
    for (const std::string& f : files_)
      if (f.empty())
        return problem(c, prefix(),
                       "an empty file name; name a project file or none for the defaults");
    // every --set once before any output
    if (!checkSets(c)) return Exit::Usage;
    std::vector<std::string> files = files_;
    if (files.empty()) files.push_back("");
    Exit worst = Exit::Ok;
    for (const std::string& f : files) worst = worse(worst, checkOne(c, f));
    return worst;
  }

 private:
  // One result block: start-up, open FILE (if any), the --set values, a run.
  Exit checkOne(const Context& c, const std::string& file) const {
    CheckOutcome outcome;
    outcome.file = file;
    const auto opened = Session::openHeadless(
        {.dataDir = c.dataDir, .file = file, .sets = c.sets, .onRun = recordOutcome(outcome)});
    if (!openedWell(c, opened)) return Exit::Usage;
    const ProjectState& ps = opened.value().state;
    outcome.warnings = opened.value().warnings;
    if (json_)
      c.out << resultJson(ps, outcome).dump() << "\n";
    else
      c.out << resultText(ps, outcome) << "\n";
    return outcome.fault ? Exit::Fault : static_cast<Exit>(verdictCode(ps));
  }

  std::vector<std::string> files_;
  bool json_ = false;
};

}  // namespace

std::unique_ptr<Command> makeCheckCommand() { return std::make_unique<CheckCommand>(); }

}  // namespace orvane::cli
