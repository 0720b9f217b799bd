#include "project/session.hpp"

#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "files/rule_options.hpp"
#include "model/checked.hpp"
#include "sections/data_files.hpp"

namespace orvane {

Session::Session(ProjectState& ps, CalcEvents& events, ProjectView* view)
    : ps_(ps), events_(events), view_(view) {}

void Session::refresh() {
  afterRun_.clear();  // a project newly shown has no step under way
  refreshValues(ps_);
  if (view_) view_->refreshed();
}

std::vector<Error> Session::startUp(const std::filesystem::path& dataDir) {
  assignDefaults(ps_);
  std::vector<Error> problems = loadDataFiles(ps_, dataDir);
  if (view_)
    for (const Error& p : problems) view_->dataFileProblem(p);
  refresh();
  recalculate();
  return problems;
}

void Session::newProject() {
  assignDefaults(ps_);
  refresh();
  recalculate();
}

Status Session::read(const std::filesystem::path& path) {
  // the rule options beside the file first, so that a bad one leaves the
  // project as it was
  Result<RuleOptions> options = readRuleOptions(path);
  if (!options) return options.error();
  Status outcome = readProject(ps_, path);
  if (outcome) setRuleOptions(ps_, options.value());
  return outcome;
}

void Session::finishOpening() {
  try {
    openingSteps(ps_, events_);
  } catch (const CalcFault& f) {
    fault_ = std::string("opening the project: ") + f.what();
    if (view_) view_->calculated(fault_);
    return;
  }
  refresh();
  recalculate();
}

Status Session::open(const std::filesystem::path& path) {
  Status outcome = read(path);
  if (outcome) finishOpening();
  return outcome;
}

Stored Session::store(const InputDef& input, double value) {
  Stored stored = storeInput(ps_, input, value);
  if (!stored.refused) afterRun_.push_back(&input);
  return stored;
}

Stored Session::enter(const InputDef& input, double value) {
  Stored stored = store(input, value);
  if (stored.refused) return stored;
  if (stored.failed >= 0) events_.warning(stored.warning);
  if (stored.runs) recalculate();
  return stored;
}

std::optional<std::string> Session::set(const std::string& assignment) {
  // the rule options (`rules=orvane|conservative`, `ends=open|closed`) are
  // kept beside the project file; choosing one is a step too
  if (std::optional<std::string> rule = applyRuleOption(ps_, assignment)) {
    if (!rule->empty()) return rule;
    recalculate();
    return std::nullopt;
  }
  Assignment a;
  if (auto problem = parseAssignment(assignment, a)) return problem;
  if (auto problem = refusal(ps_, *a.input, a.value, a.text)) return problem;
  enter(*a.input, a.value);
  return std::nullopt;
}

void Session::setRecorder(CalcTrace* trace) { run_.trace = trace; }

bool Session::recalculate() {
  if (run_.trace) run_.trace->clear();
  try {
    calcDriver(ps_, events_, run_);
    fault_.reset();
  } catch (const CalcFault& f) {
    fault_ = f.what();
  }
  if (view_) view_->calculated(fault_);
  // the rules that follow a run: the column's l = L, the chosen profile's
  // section
  const std::vector<const InputDef*> stored = std::move(afterRun_);
  afterRun_.clear();
  for (const InputDef* in : stored) afterRun(ps_, *in);
  return !fault_;
}

namespace {

// Passes each run of a headless session on to HeadlessOpen::onRun.
class RunCallback final : public ProjectView {
 public:
  RunCallback(const ProjectState& ps, const HeadlessOpen& request) : ps_(ps), request_(request) {}
  void calculated(const std::optional<std::string>& fault) override {
    if (request_.onRun) request_.onRun(ps_, fault);
  }

 private:
  const ProjectState& ps_;
  const HeadlessOpen& request_;
};

}  // namespace

Result<OpenedProject, OpenProblems> Session::openHeadless(const HeadlessOpen& request) {
  OpenedProject opened;
  RecordingEvents events;
  RunCallback view(opened.state, request);
  Session session(opened.state, events, &view);
  session.setRecorder(request.trace);
  OpenProblems problems;
  for (const Error& e : session.startUp(request.dataDir)) problems.push_back(e.text());
  if (!problems.empty()) return problems;
  if (!request.file.empty()) {
    if (const Status read = session.open(request.file); !read)
      return OpenProblems{read.error().text()};
  }
  for (const std::string& s : request.sets)
    if (auto e = session.set(s)) return OpenProblems{*e};
  opened.fault = session.fault();
  opened.warnings = std::move(events.warnings);
  return opened;
}

Status Session::save(const std::filesystem::path& path) {
  Status outcome = writeProject(ps_, path);
  if (!outcome) return outcome;
  return writeRuleOptions(path, ruleOptionsOf(ps_));
}

}  // namespace orvane
