#include "project/row_engine.hpp"

#include <algorithm>
#include <stdexcept>
#include <type_traits>

#include "core/calc_driver.hpp"
#include "core/rule_notes.hpp"
#include "model/checked.hpp"
#include "model/codes.hpp"

namespace orvane {

namespace {

// A row's run tells nobody anything: its warnings are those of the inputs,
// which the row's output reports by value.
class SilentEvents final : public CalcEvents {
 public:
  void warning(const std::string&) override {}
};

// The checks a cylinder type with or without ring-frame control can show.
std::vector<CheckId> checksOfMode(const ProjectState& ps, bool anyMode) {
  if (anyMode)
    return {CheckId::Shell,   CheckId::Stiffener, CheckId::Column1,
            CheckId::Column2, CheckId::RingArea,  CheckId::RingInertia};
  std::vector<CheckId> checks{CheckId::Shell};
  const auto type = cylinderType(ps.cyltype);
  if (type == CylinderType::StringerStiffened) checks.push_back(CheckId::Stiffener);
  if (type == CylinderType::Column) {
    checks.push_back(CheckId::Column1);
    checks.push_back(CheckId::Column2);
  }
  if ((type == CylinderType::RingStiffened || type == CylinderType::StringerStiffened) &&
      ps.ring_ch == 1) {
    checks.push_back(CheckId::RingArea);
    checks.push_back(CheckId::RingInertia);
  }
  return checks;
}

}  // namespace

RowOutcome::Status RowOutcome::status() const {
  if (!inputError.empty()) return Status::InputError;
  if (!fault.empty()) return Status::Faulted;
  if (localNok > 0) return Status::Failed;
  for (const CheckValue& c : checks)
    if (c.exceeded()) return Status::Failed;
  return Status::Passed;
}

const char* verdictWord(bool exceeded) { return exceeded ? "NOT OK" : "OK"; }

const char* verdictText(const CheckValue& c) { return c.shown ? verdictWord(c.exceeded()) : ""; }

const char* localText(const RowOutcome& o) {
  if (o.localLines == 0) return "";
  return o.localNok > 0 ? "NOK" : "OK";
}

const char* statusWord(RowOutcome::Status status) {
  switch (status) {
    case RowOutcome::Status::Passed:
      return "OK";
    case RowOutcome::Status::Failed:
      return "NOT OK";
    case RowOutcome::Status::Faulted:
      return "fault";
    case RowOutcome::Status::InputError:
      return "input error";
  }
  return "";
}

std::string rowVerdict(const RowOutcome& o) {
  const RowOutcome::Status s = o.status();
  std::string text = statusWord(s);
  if (s == RowOutcome::Status::Faulted) text += ": " + o.fault;
  if (s == RowOutcome::Status::InputError) text += ": " + o.inputError;
  return text;
}

std::string faultText(const RowOutcome& o) {
  if (!o.inputError.empty()) return "input error: " + o.inputError;
  return o.fault;
}

const char* statusName(RowOutcome::Status status) {
  switch (status) {
    case RowOutcome::Status::Passed:
      return "passed";
    case RowOutcome::Status::Failed:
      return "failed";
    case RowOutcome::Status::Faulted:
      return "faulted";
    case RowOutcome::Status::InputError:
      return "input error";
  }
  return "";
}

RowOutcome outcomeOf(const ProjectState& ps, const std::optional<std::string>& fault, bool notes,
                     bool lines) {
  RowOutcome out;
  if (fault) {
    out.fault = *fault;
    return out;
  }
  for (const Verdict& v : shownVerdicts(ps))
    out.checks[static_cast<size_t>(v.check)] = CheckValue{true, v.uf, v.allow};
  for (const RuleNote& n : notes ? ruleNotes(ps) : std::vector<RuleNote>{}) {
    CheckValue& c = out.checks[static_cast<size_t>(n.check)];
    if (n.explanatory || !c.shown || (c.hasAlt && c.ufAlt >= n.ufAlt)) continue;
    c.hasAlt = true;
    c.ufAlt = n.ufAlt;
  }
  if (!lines) return out;
  const ProfileLineCounts counts = profileLineCounts(ps);
  out.localLines = counts.shown;
  out.localNok = counts.failing;
  return out;
}

RowEngine::RowEngine(const OpenedProject& base, std::vector<InputSetter> columns)
    : base_(base.state), baseFault_(base.fault), columns_(std::move(columns)) {
  baseOutcome_ = outcomeOf(base_, baseFault_);
  bool anyMode = false;
  for (const InputSetter& c : columns_)
    anyMode = anyMode || c.name() == "cyltype" || c.name() == "ring_ch";
  checks_ = checksOfMode(base_, anyMode);
}

Result<RowEngine> RowEngine::create(const OpenedProject& base,
                                    const std::vector<std::string>& columns) {
  std::vector<InputSetter> setters;
  for (const std::string& name : columns) {
    auto setter = InputSetter::find(name);
    if (!setter) return Error{ErrorKind::Damaged, "", 0, "unknown input name '" + name + "'"};
    setters.push_back(*setter);
  }
  return RowEngine(base, std::move(setters));
}

ProjectState& RowEngine::reset(RowScratch& scratch) const {
  // A run without texts and the stored inputs change nothing of the state
  // beyond its numbers (and the tables' line counts, which no check reads),
  // so a scratch state that is a full copy of this engine's base only needs
  // its numbers put back.
  static_assert(std::is_trivially_copyable_v<ProjectNumbers>);
  if (scratch.owner_ != this) {
    scratch.ps_ = base_;
    scratch.owner_ = this;
  } else {
    static_cast<ProjectNumbers&>(scratch.ps_) = base_;
  }
  return scratch.ps_;
}

// The rows compute numbers only (the base keeps the texts it has) and
// record no working.
constexpr RunOptions kRowRun{.texts = false, .trace = nullptr};

// A row is entered as the window enters values one after the other: each
// value a step of its own (stored with its tests and rules, a run unless the
// input says otherwise, the rules that follow a run), so that it equals
// `check --set` of the same values in the same order to the last bit. Only
// the run of a load that another run follows is left out, outside the
// column mode, where a run keeps nothing of a load (InputDef::load).
void RowEngine::calculate(RowScratch& scratch, const RunOptions& options) const {
  RowScratch::Progress& p = scratch.progress_;
  SilentEvents events;
  try {
    calcDriver(scratch.ps_, events, options);
    p.fault.reset();
  } catch (const CalcFault& f) {
    p.fault = f.what();
  }
  for (const InputDef* in : scratch.waiting_) afterRun(scratch.ps_, *in, options.texts);
  scratch.waiting_.clear();
  p.owed = false;
}

template <typename Empty, typename Store>
std::optional<RowOutcome> RowEngine::enter(size_t from, size_t to, RowScratch& scratch,
                                           Empty&& empty, Store&& store) const {
  RowScratch::Progress& p = scratch.progress_;
  for (size_t i = from; i < to && i < columns_.size(); ++i) {
    if (empty(i)) continue;  // an empty cell keeps the project's value
    const InputDef& in = columns_[i].def();
    if (p.owed && !in.load) calculate(scratch, kRowRun);  // the loads' run comes first
    Stored stored = store(i);
    if (stored.refused) {
      RowOutcome out;
      out.inputError = std::move(*stored.refused);
      out.inputColumn = static_cast<int>(i);
      return out;
    }
    p.anySet = true;
    scratch.waiting_.push_back(&in);
    if (!stored.runs) continue;
    if (in.load && scratch.ps_.cyltype != code(CylinderType::Column))
      p.owed = true;  // one run for consecutive loads
    else
      calculate(scratch, kRowRun);
  }
  return std::nullopt;
}

RowOutcome RowEngine::finish(RowScratch& scratch, bool notes, RunOptions::Last last) const {
  // the row's last run, the loads' one, may end after the check asked for
  if (scratch.progress_.owed)
    calculate(scratch, RunOptions{.texts = false, .trace = nullptr, .last = last});
  // a row that sets nothing is the project as opened, without a new run
  if (!scratch.progress_.anySet) return baseOutcome_;
  return outcomeOf(scratch.ps_, scratch.progress_.fault, notes, last == RunOptions::Last::Every);
}

template <typename Empty, typename Store>
RowOutcome RowEngine::runWith(size_t count, RowScratch& scratch, Empty&& empty,
                              Store&& store) const {
  begin(scratch);
  if (auto refused = enter(0, count, scratch, empty, store)) return std::move(*refused);
  return finish(scratch, true, RunOptions::Last::Every);
}

namespace {

bool blank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

Stored RowEngine::storeText(RowScratch& scratch, size_t i, std::string_view text) const {
  const InputDef& in = columns_[i].def();
  const InputValue v = readInputText(in, text);
  if (!v.problem) return storeInput(scratch.ps_, in, v.value, text);
  Stored refused;
  refused.refused = v.problem;
  return refused;
}

void RowEngine::begin(RowScratch& scratch) const {
  reset(scratch);
  scratch.waiting_.clear();
  scratch.progress_ = {baseFault_, false, false};
}

RowOutcome RowEngine::run(std::span<const std::string_view> values, RowScratch& scratch) const {
  return runWith(
      values.size(), scratch, [&](size_t i) { return blank(values[i]); },
      [&](size_t i) { return storeText(scratch, i, values[i]); });
}

RowOutcome RowEngine::run(std::span<const std::string_view> texts, std::span<const double> numbers,
                          RowScratch& scratch) const {
  const size_t n = texts.size();
  return runWith(
      n + numbers.size(), scratch, [&](size_t i) { return i < n && blank(texts[i]); },
      [&](size_t i) {
        if (i >= n) return storeInput(scratch.ps_, columns_[i].def(), numbers[i - n]);
        return storeText(scratch, i, texts[i]);
      });
}

RowOutcome RowEngine::runKeepingStart(std::span<const std::string_view> texts,
                                      RowScratch& scratch) const {
  begin(scratch);
  scratch.started_ = false;
  if (auto refused = enter(
          0, texts.size(), scratch, [&](size_t i) { return blank(texts[i]); },
          [&](size_t i) { return storeText(scratch, i, texts[i]); }))
    return std::move(*refused);
  scratch.start_ = scratch.ps_;
  scratch.startWaiting_ = scratch.waiting_;
  scratch.startProgress_ = scratch.progress_;
  scratch.startColumns_ = texts.size();
  scratch.started_ = true;
  return finish(scratch, false, RunOptions::Last::Every);
}

RowOutcome RowEngine::runFromStart(std::span<const double> values, RowScratch& scratch,
                                   RunOptions::Last last) const {
  if (!scratch.started_ || scratch.owner_ != this)
    throw std::logic_error("RowEngine::runFromStart without a row kept");
  static_cast<ProjectNumbers&>(scratch.ps_) = scratch.start_;
  scratch.waiting_ = scratch.startWaiting_;
  scratch.progress_ = scratch.startProgress_;
  const size_t n = scratch.startColumns_;
  if (auto refused = enter(
          n, n + values.size(), scratch, [](size_t) { return false; },
          [&](size_t i) { return storeInput(scratch.ps_, columns_[i].def(), values[i - n]); }))
    return std::move(*refused);
  return finish(scratch, false, last);
}

RowOutcome RowEngine::run(std::span<const double> values, RowScratch& scratch) const {
  return runWith(
      values.size(), scratch, [](size_t) { return false; },
      [&](size_t i) { return storeInput(scratch.ps_, columns_[i].def(), values[i]); });
}

}  // namespace orvane
