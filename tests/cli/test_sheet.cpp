// The calculation sheet and the trace it is made from: recording changes no
// result, the trace holds the very numbers the panels and `check --json`
// report, every step carries its reference, and the HTML sheet of every
// cylinder type and design format is well formed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/cli_app.hpp"
#include "cli/result_output.hpp"
#include "cli/sheet_output.hpp"
#include "cli_run.hpp"
#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "core/panels.hpp"
#include "model/codes.hpp"
#include "project/session.hpp"

namespace fs = std::filesystem;
using nlohmann::json;
using orvane::CalcTrace;
using orvane::TraceStep;

namespace {

const fs::path kVectors = ORVANE_VECTORS;

using orvane::test::vectorNames;

// A vector opened as `check` opens it, recording into `trace` (none: off).
struct Opened {
  orvane::ProjectState ps;
  orvane::cli::CheckOutcome outcome;
};

void open(Opened& o, const std::string& name, CalcTrace* trace) {
  orvane::RecordingEvents ev;
  orvane::Session session(o.ps, ev);
  session.setRecorder(trace);
  ASSERT_TRUE(session.startUp(kVectors / "data").empty());
  ASSERT_TRUE(session.open(kVectors / "cases" / (name + ".cys")).ok());
  o.outcome.file = name;
  o.outcome.fault = session.fault();
  o.outcome.warnings = ev.warnings;
  o.outcome.noteShown = !o.outcome.fault &&
                        o.ps.cyltype != orvane::code(orvane::CylinderType::Column) &&
                        orvane::stiffenerNote(o.ps);
}

// The last step recorded with one of `ids`, or nullptr.
const TraceStep* last(const CalcTrace& trace, std::initializer_list<const char*> ids) {
  const TraceStep* found = nullptr;
  for (const TraceStep& s : trace.steps())
    for (const char* id : ids)
      if (std::string(s.id) == id) found = &s;
  return found;
}

class SheetVector : public ::testing::TestWithParam<std::string> {};

// Every value, table text and local-buckling line is the same with the trace
// on and off, and the traced run still reproduces the expected vector.
TEST_P(SheetVector, TraceChangesNoResult) {
  Opened off, on;
  CalcTrace trace;
  open(off, GetParam(), nullptr);
  open(on, GetParam(), &trace);
  const json a = orvane::cli::resultJson(off.ps, off.outcome);
  const json b = orvane::cli::resultJson(on.ps, on.outcome);
  for (const auto& [key, value] : a["values"].items())
    EXPECT_EQ(value.dump(), b["values"][key].dump()) << key;  // to the last bit
  EXPECT_EQ(a.dump(), b.dump());
  EXPECT_FALSE(trace.steps().empty());

  std::ifstream in(kVectors / "expected" / (GetParam() + ".json"));
  const json expected = json::parse(in);
  for (const char* t : {"shell", "stiff", "ring"}) EXPECT_EQ(expected["tables"][t], b["tables"][t]);
  EXPECT_EQ(expected["proportion"], b["proportion"]);
  EXPECT_EQ(expected["ringlocal"], b["ringlocal"]);
  EXPECT_EQ(expected["warnings"], b["warnings"]);
  for (const auto& [key, value] : expected["values"].items()) {
    if (!b["values"].contains(key)) continue;
    const double e = value.get<double>();
    EXPECT_NEAR(b["values"][key].get<double>(), e, std::max(1e-9, 1e-9 * std::fabs(e))) << key;
  }
}

// JSON value name -> the trace steps that compute it (the last recorded one
// is what the run left).
const std::map<std::string, std::vector<const char*>>& traced() {
  static const std::map<std::string, std::vector<const char*>> m{
      {"Zl", {"stresses.Zl", "stiff.Zl"}},
      {"leo", {"stresses.leo"}},
      {"SigaSd", {"stresses.SigaSd", "stiff.SigaSd"}},
      {"SighSd", {"stresses.SighSd"}},
      {"SighTSd", {"stresses.SighTSd"}},
      {"SigmSd", {"column.SigmSd"}},
      {"Siga0Sd", {"shell.Siga0Sd"}},
      {"SigjSd", {"shell.SigjSd", "stiff.SigjSd"}},
      {"fEa", {"shell.fEa"}},
      {"fEh", {"shell.fEh", "shell.fEhLong"}},
      {"lamdas", {"shell.lamdas"}},
      {"fks", {"shell.fks", "stiff.fks"}},
      {"SigjFks", {"shell.SigjFks"}},
      {"UF", {"shell.UF"}},
      {"UFallow", {"shell.UFallow", "column.UFallow"}},
      {"UFstiff", {"stiff.UF"}},
      {"UFallowStiff", {"stiff.UFallow"}},
      {"fT", {"stiff.fT"}},
      {"se", {"stiff.se"}},
      {"Isef", {"stiff.Isef"}},
      {"gamS", {"stiff.gamS"}},
      {"fEa_s", {"stiff.fEa"}},
      {"fEtau_s", {"stiff.fEtau"}},
      {"fEh_s", {"stiff.fEh"}},
      {"lamdas_s", {"stiff.lamdas"}},
      {"fksd_s", {"stiff.fksd"}},
      {"betaT", {"stiff.betaT"}},
      {"fET", {"stiff.fET"}},
      {"As", {"stiff.As"}},
      {"Aw", {"stiff.Aw"}},
      {"Af", {"stiff.Af"}},
      {"Iz", {"stiff.Iz"}},
      {"Areq", {"ring.Areq"}},
      {"le", {"ring.le"}},
      {"Ag", {"ring.Ag"}},
      {"Aeff", {"ring.Aeff"}},
      {"zcs", {"ring.zcs"}},
      {"r0", {"ring.r0"}},
      {"rf", {"ring.rf"}},
      {"zt", {"ring.zt"}},
      {"Iring", {"ring.I"}},
      {"Cg", {"ring.C"}},
      {"betaTg", {"ring.betaT"}},
      {"fETg", {"ring.fET"}},
      {"fTg", {"ring.fT", "ring.fTRaised"}},
      {"SigRSd", {"ring.SigRSd"}},
      {"UFarea", {"ring.UFarea"}},
      {"Ix", {"ring.Ix"}},
      {"Ixh", {"ring.Ixh"}},
      {"Ih", {"ring.Ih", "ring.IhSpecial"}},
      {"IR", {"ring.IR", "ring.IRSpecial"}},
      {"UFinertia", {"ring.UFinertia", "ring.UFinertiaSpecial"}},
      {"UFspecial", {"ring.UFspecial"}},
      {"Ihr", {"heavy.Ihr"}},
      {"Do", {"column.Do"}},
      {"Di", {"column.Di"}},
      {"A", {"column.A"}},
      {"I", {"column.I"}},
      {"i", {"column.i"}},
      {"W", {"column.W"}},
      {"sM1a", {"column.sM1a"}},
      {"sM1b", {"column.sM1b"}},
      {"sM2a", {"column.sM2a"}},
      {"sM2b", {"column.sM2b"}},
      {"psi1", {"column.psi1"}},
      {"psi2", {"column.psi2"}},
      {"Cm1", {"column.Cm1"}},
      {"Cm2", {"column.Cm2"}},
      {"M1Sd", {"column.M1Sd"}},
      {"M2Sd", {"column.M2Sd"}},
      {"fak", {"column.fak"}},
      {"fakd", {"column.fakd"}},
      {"lamda1", {"column.lamda1"}},
      {"lamda2", {"column.lamda2"}},
      {"fkcd1", {"column.fkcd1"}},
      {"fkcd2", {"column.fkcd2"}},
      {"fE1", {"column.fE1"}},
      {"fE2", {"column.fE2"}},
      {"UF1", {"column.UF1"}},
      {"UF2", {"column.UF2"}},
  };
  return m;
}

// The numbers of the sheet are the run's: every value the sheet shows that
// `check --json` also reports is the same double, and every usage factor a
// panel draws is a verdict step with the same factor and allowable value.
TEST_P(SheetVector, TraceHoldsTheReportedNumbers) {
  Opened o;
  CalcTrace trace;
  open(o, GetParam(), &trace);
  if (o.outcome.fault) {
    // a stopped run: the steps before the fault, no verdict after it
    EXPECT_FALSE(trace.steps().empty());
    return;
  }
  const json values = orvane::cli::resultJson(o.ps, o.outcome)["values"];
  int compared = 0;
  for (const auto& [key, ids] : traced()) {
    const TraceStep* s = nullptr;
    for (const TraceStep& step : trace.steps())
      for (const char* id : ids)
        if (std::string(step.id) == id) s = &step;
    if (!s) continue;
    ASSERT_TRUE(values.contains(key)) << key;
    EXPECT_EQ(json(s->result).dump(), values[key].dump()) << key << " from " << s->id;
    ++compared;
  }
  EXPECT_GE(compared, 12);

  std::vector<const TraceStep*> verdicts;
  for (const TraceStep& s : trace.steps())
    if (s.kind == TraceStep::Kind::Verdict) verdicts.push_back(&s);
  const orvane::ShownPanels shown = orvane::shownPanels(o.ps);
  for (const orvane::Verdict& v : orvane::shownVerdicts(o.ps)) {
    const bool found = std::any_of(verdicts.begin(), verdicts.end(), [&](const TraceStep* s) {
      return s->result == v.uf && s->operands[0].value == v.allow;
    });
    EXPECT_TRUE(found) << "panel " << v.panel << " line " << v.line << " UF " << v.uf;
  }
  if (shown.column) {
    EXPECT_TRUE(last(trace, {"column.verdict2"}));
  }
}

// No working without its reference.
TEST_P(SheetVector, EveryStepCitesItsReference) {
  Opened o;
  CalcTrace trace;
  open(o, GetParam(), &trace);
  for (const TraceStep& s : trace.steps()) {
    EXPECT_STRNE(s.reference, "") << s.id;
    EXPECT_STRNE(s.id, "");
    if (s.kind == TraceStep::Kind::Value) {
      EXPECT_STRNE(s.symbol, "") << s.id;
      EXPECT_STRNE(s.formula, "") << s.id;
    }
    // every placeholder names an operand
    for (const char* p = s.formula; *p; ++p)
      if (p[0] == '$' && p[1] >= '0' && p[1] <= '9') {
        EXPECT_LT(p[1] - '0', s.operandCount) << s.id;
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Shared, SheetVector, ::testing::ValuesIn(vectorNames()),
                         [](const auto& vector) { return vector.param; });

}  // namespace
