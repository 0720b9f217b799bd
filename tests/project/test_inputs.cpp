// What a step through the input table does beyond storing the value.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <variant>

#include "model/number_text.hpp"
#include "opened_vector.hpp"
#include "project/input_names.hpp"
#include "project/inputs.hpp"

namespace orvane {
namespace {

using test::openVector;

// Each input with a project-file line lands where the file reads that line.
TEST(InputTable, FileLinesAreTheReadersLines) {
  ProjectState ps = openVector("").state;
  for (const InputDef& in : inputTable()) {
    EXPECT_EQ(&inputDef(in.id), &in);
    if (in.fileLine == 0) continue;
    in.setExact(ps, 123);
    const FieldRef ref = valueLines(ps)[static_cast<size_t>(in.fileLine - kFirstValueLine)];
    const double read = std::visit([](auto* p) { return static_cast<double>(*p); }, ref);
    EXPECT_EQ(read, 123) << in.name;
    in.setExact(ps, 1);
    EXPECT_EQ(std::visit([](auto* p) { return static_cast<double>(*p); }, ref), 1) << in.name;
  }
}

struct StepCase {
  std::vector<std::string> sets;
  double (*seen)(const ProjectState&);
  double expected;
  std::string warning;  // the last warning, "" for none
};

double l(const ProjectState& ps) { return ps.l; }
double ufb(const ProjectState& ps) { return ps.ufb; }
double hring(const ProjectState& ps) { return ps.hring_ch; }
// The cut-back length: pi*sqrt(r*h) in double, less one, stored as a single.
double ltgiCut(const ProjectState& ps) {
  const double limit = 3.141593f * std::sqrt(double(ps.r) * float(ps.rg.h - ps.rg.tf));
  return ps.ltgi == float(limit - 1) ? 1 : 0;
}
double lbTw(const ProjectState& ps) { return ps.stiffBuilt.lb.tw; }
double uf(const ProjectState& ps) { return ps.UFallow; }

TEST(InputTable, StepsFollowTheWindowsRules) {
  const double L = 6000;
  const StepCase cases[] = {
      // the column takes l = L after the run of its step, so for the next one
      {{"cyltype=3"}, l, L, ""},
      {{"wsd=1", "ufb=0.8", "wsd=0"}, ufb, 1.0, ""},
      {{"wsd=1", "ufb=0.8"}, ufb, double(0.8f), ""},
      {{"hring_ch=1", "ring_ch=0"}, hring, 0, ""},
      {{"ring_ch=0", "hring_ch=1"}, hring, 0, ""},
      {{"ring_ch=1", "hring_ch=1"}, hring, 1, ""},
      // an allowable outside its range is kept, warned about and not run
      {{"ufb=2"}, ufb, 2, " 0.5 < UF < 1.5 "},
      {{"ufb=2"}, uf, 1, " 0.5 < UF < 1.5 "},
      {{"ltgi=99999"}, ltgiCut, 1, " lt<=pi*Sqr(r*h), ref ch B.5.9 "},
      // a built-up web too thin is clamped to the limit itself, not a single
      {{"stiff_lb_tw=0.05"}, lbTw, 0.1, " tw >= 0.1 "},
      {{"t=0.05"}, [](const ProjectState& ps) { return ps.t; }, double(0.05f), " 0.1 <= t "},
  };
  for (const StepCase& c : cases) {
    ProjectState ps;
    RecordingEvents ev;
    Session session(ps, ev);
    ASSERT_TRUE(session.startUp(ORVANE_SHIPPED_DATA).empty());
    const double before = uf(ps);
    for (const std::string& s : c.sets) ASSERT_EQ(session.set(s), std::nullopt) << s;
    EXPECT_EQ(c.seen(ps), c.expected) << c.sets.back();
    EXPECT_EQ(ev.warnings.empty() ? "" : ev.warnings.back(), c.warning) << c.sets.back();
    if (c.seen == uf) {
      EXPECT_EQ(uf(ps), before);
    }
  }
}

TEST(InputTable, ValuesAnInputCannotHoldAreRefusedAndChangeNothing) {
  const std::pair<const char*, const char*> refused[] = {
      {"cyltype=4", "value of cyltype must be a whole number from 0 to 3: '4'"},
      {"wsd=-1", "value of wsd must be a whole number from 0 to 1: '-1'"},
      {"cbostiff=10", "value of cbostiff must be a whole number from 0 to 9: '10'"},
      {"matp=1.5", "value of matp must be a whole number from -32768 to 32767: '1.5'"},
      {"t=1e39", "value of t is out of range: '1e39'"},
  };
  for (const auto& [set, message] : refused) {
    ProjectState ps;
    RecordingEvents ev;
    Session session(ps, ev);
    ASSERT_TRUE(session.startUp(ORVANE_SHIPPED_DATA).empty());
    const ProjectState before = ps;
    EXPECT_EQ(session.set(set), std::string(message));
    for (const InputDef& in : inputTable()) EXPECT_EQ(in.get(ps), in.get(before)) << set;
  }
}

// `--set` reads the decimal-point format as a field does under that
// setting: it refuses every text the field refuses, and where both take a
// text they store the same single.
TEST(InputTable, SetRefusesWhatAFieldRefuses) {
#define ORVANE_TEXT(s) std::pair<std::string_view, std::u16string_view>(s, u"" s)
  const std::pair<std::string_view, std::u16string_view> texts[] = {
      ORVANE_TEXT("12.5"),    ORVANE_TEXT(" -7 "),
      ORVANE_TEXT("+.5e-2"),  ORVANE_TEXT("1e-400"),
      ORVANE_TEXT("12,5"),    ORVANE_TEXT("12 mm"),
      ORVANE_TEXT("abc"),     ORVANE_TEXT(""),
      ORVANE_TEXT("1e"),      ORVANE_TEXT("3d2"),
      ORVANE_TEXT("1,500.5"), ORVANE_TEXT("inf"),
      ORVANE_TEXT("2\uFF15"), ORVANE_TEXT("\uFF13\uFF10\uFF10"),
      ORVANE_TEXT("1e39"),    ORVANE_TEXT("1e400"),
  };
#undef ORVANE_TEXT
  for (const auto& [narrow, wide] : texts) {
    const NumberReading field = readFieldNumber(wide, false);
    Assignment a;
    const std::string set = "t=" + std::string(narrow);
    std::optional<std::string> problem = parseAssignment(set, a);
    if (!problem) problem = refusal(ProjectState{}, *a.input, a.value, a.text);
    EXPECT_EQ(problem.has_value(), !field.ok()) << set;
    if (field.ok() && !problem) {
      EXPECT_EQ(static_cast<float>(a.value), field.value) << set;
    }
  }
}

// Every input has a caption of its own (a chart or a warning never names
// two inputs alike), and a length is in mm.
TEST(InputTable, EveryInputHasItsOwnCaption) {
  std::set<std::string> seen;
  for (const InputDef& in : inputTable()) {
    EXPECT_TRUE(seen.insert(displayName(in.id)).second) << in.name;
    EXPECT_NE(inputCaption(in.id).caption.find(' '), std::string_view::npos) << in.name;
  }
  EXPECT_EQ(displayName(InputId::t), "Shell thickness t [mm]");
  EXPECT_EQ(displayName(InputId::ring_tb_b), "Ring frame T built-up flange width b [mm]");
  EXPECT_EQ(displayName(InputId::k1), "Buckling length factor k1");
}

}  // namespace
}  // namespace orvane
