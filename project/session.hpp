// The one road every front end takes to a project: start-up, New, Open, a
// typed value, a calculation run and Save, each as the desktop program has
// always made them. The window, the headless check, the report command, the
// tests and the benchmarks all go through here, so the order of the steps is
// written once.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/calc_driver.hpp"
#include "files/project_file.hpp"
#include "model/project_state.hpp"
#include "project/inputs.hpp"
#include "project/opened_project.hpp"

namespace orvane {

// What the headless road opens: start-up with the data files of `dataDir`,
// `file` opened (empty: the new-project defaults), then each NAME=VALUE of
// `sets` as one step (Session::set).
struct HeadlessOpen {
  std::filesystem::path dataDir{};
  std::string file{};
  std::vector<std::string> sets{};
  // Every run records its working here (the calculation sheet); not owned.
  CalcTrace* trace = nullptr;
  // Called after every run with the state and the run's fault, as a window
  // is told (Session::recalculate).
  std::function<void(const ProjectState&, const std::optional<std::string>&)> onRun{};
};

// The problems that stopped an opening: every data file that could not be
// read completely, else the project file, else the first setting.
using OpenProblems = std::vector<std::string>;

// What a front end does when the session shows the project or finishes a
// calculation run. The headless front ends keep the defaults.
class ProjectView {
 public:
  virtual ~ProjectView() = default;
  // RefreshWindow: the session has already done the state's own part of it
  // (refreshValues); the window fills its fields from the state.
  virtual void refreshed() {}
  // A calculation run ended: completed (`fault` empty) or stopped by an
  // arithmetic fault, which leaves the last complete results standing.
  virtual void calculated(const std::optional<std::string>& fault) { (void)fault; }
  // A data file could not be read completely at start-up.
  virtual void dataFileProblem(const Error& error) { (void)error; }
};

class Session {
 public:
  // The session works on `ps`, tells the checks' warnings to `events` and
  // shows through `view` (none for a headless front end).
  Session(ProjectState& ps, CalcEvents& events, ProjectView* view = nullptr);

  ProjectState& state() { return ps_; }
  const ProjectState& state() const { return ps_; }

  // The fault of the last calculation run or opening, empty after a complete run.
  const std::optional<std::string>& fault() const { return fault_; }

  // Start-up: the new-project defaults, DNVmat.dat and the profile tables
  // (bfprof.dat, lprof.dat, tprof.dat, fprof.dat) from `dataDir`, the first
  // refresh and one calculation run. Returns the error of every data file
  // that could not be read completely, in the order read (each also went
  // to the view first).
  std::vector<Error> startUp(const std::filesystem::path& dataDir);

  // New: the defaults, a refresh and a calculation run.
  void newProject();

  // Open = read + finishOpening. A file that does not read in full leaves
  // the project as it was and returns the reader's error.
  Status open(const std::filesystem::path& path);
  Status read(const std::filesystem::path& path);
  // The closing steps after a complete read (plate and stiffener strength,
  // stiffener section), a refresh and a calculation run. A fault in the
  // closing steps ends here: fault() names it and nothing is refreshed.
  void finishOpening();

  // One step as the window makes it for a typed value, a button or a list
  // choice: the value stored through the input table (its tests, clamps
  // and the rules that come first), a calculation run unless the input's
  // rule says otherwise, then the rules that follow a run. A failed test's
  // warning goes to the events, as the checks' own warnings do. Returns the
  // problem when the name or the value is not accepted (nothing changed).
  // The rule options `rules=orvane|conservative` and `ends=open|closed` are
  // taken here too.
  std::optional<std::string> set(const std::string& assignment);
  Stored enter(const InputDef& input, double value);

  // Only the store of a step: the window runs the calculation at its own
  // point of the edit cycle (recalculate), and shows the warning itself.
  // The rules that follow a run wait for that run.
  Stored store(const InputDef& input, double value);

  // One CalcDriver run as every handler makes it, then the rules of the
  // values stored since the last run that follow a run; returns whether it
  // completed.
  bool recalculate();

  // Every calculation run from now on records its working into `trace`
  // (cleared at the start of each run) for the calculation sheet; nullptr
  // stops the recording. The trace is not owned and must outlive its use.
  void setRecorder(CalcTrace* trace);

  // The headless road to a project, in a session of its own. A
  // calculation fault is no problem here: the project's `fault` names it.
  static Result<OpenedProject, OpenProblems> openHeadless(const HeadlessOpen& request);

  // Writes the project file and the rule options beside it (NAME.rules,
  // removed when both are at their defaults); returns the problem when it
  // could not. Open reads them back.
  Status save(const std::filesystem::path& path);

 private:
  void refresh();

  ProjectState& ps_;
  CalcEvents& events_;
  ProjectView* view_;
  std::optional<std::string> fault_;
  RunOptions run_;                         // of every run: the sheet's trace, if any
  std::vector<const InputDef*> afterRun_;  // inputs stored since the last run
};

}  // namespace orvane
