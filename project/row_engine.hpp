// Many rows of input values checked against one project: the load cases of
// a member, a batch table, the points of a study.
//
// Each row starts from the same base state (the project as opened) and takes
// its values as `--set` steps, in column order, with calculation runs
// without table texts. Its usage factors, allowable values, local-buckling verdicts and
// fault are those a check of the project with the same --set values shows,
// bit for bit: nothing here computes a result of its own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/calc_driver.hpp"
#include "core/panels.hpp"
#include "model/project_state.hpp"
#include "model/result.hpp"
#include "project/opened_project.hpp"
#include "project/set_values.hpp"

namespace orvane {

// One usage factor of a row: shown by the row's panels or not.
struct CheckValue {
  bool shown = false;
  double uf = 0, allow = 0;
  // the highest usage factor of the check's rule notes (core/rule_notes.hpp)
  bool hasAlt = false;
  double ufAlt = 0;
  bool exceeded() const { return shown && uf > allow; }
};

struct RowOutcome {
  enum class Status : uint8_t { Passed, Failed, Faulted, InputError };

  std::array<CheckValue, kCheckCount> checks{};
  int localLines = 0;      // local-buckling/proportion lines of the design
  int localNok = 0;        // ... of which NOK
  std::string fault;       // the arithmetic fault that ended the run
  std::string inputError;  // a value not accepted: the row did not run
  int inputColumn = -1;    // ... and its column

  const CheckValue& operator[](CheckId c) const { return checks[static_cast<size_t>(c)]; }
  Status status() const;
};

// "passed", "failed", "faulted", "input error": a row's status in the
// status fields of files (batch JSON, sweep CSV).
const char* statusName(RowOutcome::Status status);

// The words of a row, the same in batch, sweep, the Load cases window, its
// workbook and the report. A check: "OK" or "NOT OK", as the panels print
// them after a usage factor; a local-buckling verdict: "OK" or "NOK", as
// the panels end its lines ("==> NOK"); a row: "OK", "NOT OK" (a usage
// factor above its allowable value or a local-buckling line NOK), "fault",
// "input error".
const char* verdictWord(bool exceeded);
const char* verdictText(const CheckValue& c);  // verdictWord, "" when not shown
const char* localText(const RowOutcome& o);    // "OK", "NOK", "" without lines
const char* statusWord(RowOutcome::Status status);
// statusWord with the fault or the problem: "fault: ...", "input error: ...".
std::string rowVerdict(const RowOutcome& o);
// The fault, "input error: ...", or "" for a row that ran to the end.
std::string faultText(const RowOutcome& o);

class RowEngine;

// Scratch space of one thread for the rows of one engine: a copy of the
// base project that each row starts from again.
class RowScratch {
 public:
  // The state of the last row run (texts as the base project left them).
  const ProjectState& state() const { return ps_; }

 private:
  friend class RowEngine;
  // How far a row is entered: the fault of the last run, whether a value
  // was set, whether the loads stored last still owe their run.
  struct Progress {
    std::optional<std::string> fault;
    bool anySet = false, owed = false;
  };
  ProjectState ps_;
  std::vector<const InputDef*> waiting_;  // stored since the row's last run
  Progress progress_;
  const RowEngine* owner_ = nullptr;
  // A row's own cells entered (RowEngine::runKeepingStart), for the points
  // a search enters after them.
  ProjectNumbers start_{};
  std::vector<const InputDef*> startWaiting_;
  Progress startProgress_;
  size_t startColumns_ = 0;
  bool started_ = false;
};

class RowEngine {
 public:
  // `base`: the project as opened, with the fault of its last run if any
  // (the engine keeps a copy); `columns`: the input names of the rows. An unknown name is an
  // error naming it.
  static Result<RowEngine> create(const OpenedProject& base,
                                  const std::vector<std::string>& columns);

  const std::vector<InputSetter>& columns() const { return columns_; }
  // The checks a row can show: those of the base project's mode, or all of
  // them when a column changes the mode or the ring-frame control.
  const std::vector<CheckId>& checks() const { return checks_; }
  const ProjectState& base() const { return base_; }

  // One row of texts, one per column; an empty text keeps the project's
  // value. `scratch` belongs to the calling thread and is reused between
  // rows.
  RowOutcome run(std::span<const std::string_view> values, RowScratch& scratch) const;
  // The same with numbers, stored as if typed exactly (a study's points).
  RowOutcome run(std::span<const double> values, RowScratch& scratch) const;
  // Texts for the first columns, then numbers for the columns that follow
  // (a row of section forces: its own cells, then the stresses at a point).
  RowOutcome run(std::span<const std::string_view> texts, std::span<const double> numbers,
                 RowScratch& scratch) const;
  // A search over the points of one row (the angles of a row of section
  // forces): `run` of the row's own cells, the first columns, without rule
  // notes, keeping in `scratch` the state they are entered to (before the
  // run their loads owe).
  RowOutcome runKeepingStart(std::span<const std::string_view> texts, RowScratch& scratch) const;
  // One point: the columns after those cells, from the state kept. Usage
  // factors, allowable values, local-buckling counts and the fault are
  // those of `run` of the whole row; the rule notes' usage factors (hasAlt,
  // ufAlt) are left out, so the point the search settles on is run again.
  // `last`: when the point's run is that of loads, it ends after that
  // check, and only the checks up to it hold the point's values.
  RowOutcome runFromStart(std::span<const double> values, RowScratch& scratch,
                          RunOptions::Last last = RunOptions::Last::Every) const;

 private:
  RowEngine(const OpenedProject& base, std::vector<InputSetter> columns);
  ProjectState& reset(RowScratch& scratch) const;
  // A row begun from the base state, nothing entered.
  void begin(RowScratch& scratch) const;
  Stored storeText(RowScratch& scratch, size_t i, std::string_view text) const;
  void calculate(RowScratch& scratch, const RunOptions& options) const;
  // Enters columns [from, to): their input error, if one is refused.
  template <typename Empty, typename Store>
  std::optional<RowOutcome> enter(size_t from, size_t to, RowScratch& scratch, Empty&& empty,
                                  Store&& store) const;
  RowOutcome finish(RowScratch& scratch, bool notes, RunOptions::Last last) const;
  template <typename Empty, typename Store>
  RowOutcome runWith(size_t count, RowScratch& scratch, Empty&& empty, Store&& store) const;

  ProjectState base_;
  std::optional<std::string> baseFault_;
  RowOutcome baseOutcome_;  // a row that sets nothing
  std::vector<InputSetter> columns_;
  std::vector<CheckId> checks_;
};

// The outcome of a completed (or faulted) run on `ps`, read from its
// numbers: the verdicts the panels show and the verdict flags of the
// local-buckling lines.
// `notes` false leaves the rule notes' usage factors out (hasAlt false);
// `lines` false the local-buckling counts (0: a run that ended before the
// members' checks).
RowOutcome outcomeOf(const ProjectState& ps, const std::optional<std::string>& fault,
                     bool notes = true, bool lines = true);

}  // namespace orvane
