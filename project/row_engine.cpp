#include "project/row_engine.hpp"

#include <algorithm>
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

RowOutcome outcomeOf(const ProjectState& ps, const std::optional<std::string>& fault) {
  RowOutcome out;
  if (fault) {
    out.fault = *fault;
    return out;
  }
  for (const Verdict& v : shownVerdicts(ps))
    out.checks[static_cast<size_t>(v.check)] = CheckValue{true, v.uf, v.allow};
  for (const RuleNote& n : ruleNotes(ps)) {
    CheckValue& c = out.checks[static_cast<size_t>(n.check)];
    if (n.explanatory || !c.shown || (c.hasAlt && c.ufAlt >= n.ufAlt)) continue;
    c.hasAlt = true;
    c.ufAlt = n.ufAlt;
  }
  for (const Member m : {Member::Stiffener, Member::RingFrame}) {
    out.localLines += shownProfileLineCount(ps, m);
    out.localNok += failingProfileLineCount(ps, m);
  }
  return out;
}

RowEngine::RowEngine(const ProjectState& base, std::optional<std::string> baseFault,
                     std::vector<InputSetter> columns)
    : base_(base), baseFault_(std::move(baseFault)), columns_(std::move(columns)) {
  baseOutcome_ = outcomeOf(base_, baseFault_);
  bool anyMode = false;
  for (const InputSetter& c : columns_)
    anyMode = anyMode || c.name() == "cyltype" || c.name() == "ring_ch";
  checks_ = checksOfMode(base_, anyMode);
  // the rows compute numbers only, the base keeps the texts it has; and
  // they record no working, least of all into the recorder of the window
  // the base was copied from
  base_.tableText = false;
  base_.recorder = nullptr;
}

Result<RowEngine> RowEngine::create(const ProjectState& base, std::optional<std::string> baseFault,
                                    const std::vector<std::string>& columns) {
  std::vector<InputSetter> setters;
  for (const std::string& name : columns) {
    auto setter = InputSetter::find(name);
    if (!setter) return Error{ErrorKind::Damaged, "", 0, "unknown input name '" + name + "'"};
    setters.push_back(*setter);
  }
  return RowEngine(base, std::move(baseFault), std::move(setters));
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

template <typename Store>
RowOutcome RowEngine::runWith(size_t count, RowScratch& scratch, Store&& store) const {
  ProjectState& work = reset(scratch);
  bool anySet = false;
  for (size_t i = 0; i < count && i < columns_.size(); ++i) {
    bool set = false;
    if (auto problem = store(i, set)) {
      RowOutcome out;
      out.inputError = std::move(*problem);
      out.inputColumn = static_cast<int>(i);
      return out;
    }
    anySet = anySet || set;
  }
  // a row that sets nothing is the project as opened, without a new run
  if (!anySet) return baseOutcome_;
  SilentEvents events;
  try {
    calcDriver(work, events);
  } catch (const CalcFault& f) {
    return outcomeOf(work, std::string(f.what()));
  }
  return outcomeOf(work, std::nullopt);
}

RowOutcome RowEngine::run(std::span<const std::string_view> values, RowScratch& scratch) const {
  return runWith(values.size(), scratch, [&](size_t i, bool& set) -> std::optional<std::string> {
    const std::string_view text = values[i];
    if (text.find_first_not_of(" \t") == std::string_view::npos) return std::nullopt;
    set = true;
    return columns_[i].store(scratch.ps_, text);
  });
}

RowOutcome RowEngine::run(std::span<const double> values, RowScratch& scratch) const {
  return runWith(values.size(), scratch, [&](size_t i, bool& set) {
    set = true;
    return columns_[i].store(scratch.ps_, values[i]);
  });
}

}  // namespace orvane
