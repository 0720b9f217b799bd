// Design studies against the single check: every sweep point is the check
// with the same --set values, every crossing brackets a change of verdict
// within its tolerance, and the lightest-design search finds what a brute
// force over the same grid finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>

#include "core/panels.hpp"
#include "model/format.hpp"
#include "opened_vector.hpp"
#include "project/session.hpp"
#include "project/study.hpp"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

const fs::path kVectors = ORVANE_VECTORS;

using test::expectSame;
OpenedProject open(const std::string& name) { return test::openVector(name); }

// What `check FILE --set ...` computes, through the session, with all texts;
// `final` receives the state after the run.
RowOutcome singleCheck(const OpenedProject& opened, const std::vector<std::string>& sets,
                       ProjectState* final = nullptr) {
  ProjectState ps = opened.state;
  RecordingEvents ev;
  Session session(ps, ev);
  for (const std::string& s : sets) {
    if (auto e = session.set(s)) {
      RowOutcome bad;
      bad.inputError = *e;
      return bad;
    }
  }
  session.recalculate();
  if (final) *final = ps;
  return outcomeOf(ps, session.fault());
}

StudyRange range(const std::string& text) {
  auto r = parseRange(text);
  EXPECT_TRUE(r) << text << ": " << (r ? "" : r.error().message);
  return r ? r.value() : StudyRange{};
}

// ---------------------------------------------------------------- ranges

TEST(StudyRange, GridsAndTheirErrors) {
  struct Case {
    const char* text;
    uint64_t count;       // 0: an error
    double first, last;   // the grid's ends
    const char* problem;  // the error's message
  };
  const Case cases[] = {
      {"t=10:20:1", 11, 10, 20, ""},
      {"t=0:1:0.1", 11, 0, 1, ""},
      {"t=0:1:0.3", 4, 0, 0.9, ""},
      {"t=17.3:17.3:1", 1, 17.3, 17.3, ""},
      {"pd=-1:-0.5:0.25", 3, -1, -0.5, ""},
      {"cbostiff=0:9:3", 4, 0, 9, ""},
      {"sigx=-1E2:1e2:50", 5, -100, 100, ""},
      {"t=20:10:1", 0, 0, 0, "range of t: FROM 20 is greater than TO 10"},
      {"t=1:2:0", 0, 0, 0, "range of t: STEP must be greater than 0, got 0"},
      {"t=1:2:-0.5", 0, 0, 0, "range of t: STEP must be greater than 0, got -0.5"},
      {"t=0:1e8:1", 0, 0, 0, "range of t: 100000001 points, more than 10000000"},
      {"t=0:1e7:1", 0, 0, 0, "range of t: 10000001 points, more than 10000000"},
      {"x=1:2:1", 0, 0, 0, "unknown input name 'x' in 'x=1:2:1'"},
      {"t=1:2", 0, 0, 0, "a range is written NAME=FROM:TO:STEP, got 't=1:2'"},
      {"t=1:2:1:4", 0, 0, 0, "a range is written NAME=FROM:TO:STEP, got 't=1:2:1:4'"},
      {"=1:2:1", 0, 0, 0, "a range is written NAME=FROM:TO:STEP, got '=1:2:1'"},
      {"t=a:2:1", 0, 0, 0, "FROM of t is not a number: 'a'"},
      {"t=1::1", 0, 0, 0, "TO of t is not a number: ''"},
      {"t=1:2:1e999", 0, 0, 0, "STEP of t is not a number: '1e999'"},
      {"t=1:1e9:1e-9", 0, 0, 0, "range of t: STEP 1e-09 is too small for values near 1000000000"},
      {"cbostiff=0:5:0.5", 0, 0, 0,
       "range of cbostiff: cbostiff takes whole numbers, so FROM and STEP must be whole"},
      {"cyltype=0.5:3:1", 0, 0, 0,
       "range of cyltype: cyltype takes whole numbers, so FROM and STEP must be whole"},
      {"matp=0:40000:1", 0, 0, 0, "range of matp: matp takes whole numbers from -32768 to 32767"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto r = parseRange(c.text);
    if (c.count == 0) {
      ASSERT_FALSE(r);
      EXPECT_EQ(r.error().message, c.problem);
      continue;
    }
    ASSERT_TRUE(r) << r.error().message;
    EXPECT_EQ(r.value().count(), c.count);
    EXPECT_EQ(r.value().value(0), c.first);
    // the grid's values are the numbers one types: 0.9, not 0.9000000000000001
    EXPECT_EQ(r.value().value(c.count - 1), c.last);
  }
  EXPECT_EQ(range("t=0:1:0.1").value(3), 0.3);
}

TEST(StudyRange, RangesTogether) {
  EXPECT_EQ(checkRanges({range("t=1:5000:1"), range("s=1:5000:1")}),
            "the study has 25000000 points, more than 10000000");
  EXPECT_EQ(checkRanges({range("t=1:5:1"), range("t=1:5:1")}), "t is varied twice");
  EXPECT_EQ(checkRanges({StudyRange{"nope", 1, 2, 1}}), "unknown input name 'nope'");
  EXPECT_EQ(checkRanges({range("t=1:5000:1"), range("s=1:2000:1")}), std::nullopt);
}

TEST(StudyRange, InputValuesReadBack) {
  const OpenedProject o = open("v000.cys");
  const std::pair<const char*, double> inputs[] = {
      {"t", 7},         {"r", 7},    {"pd", 7}, {"cyltype", 3}, {"stiff_row_bulb", 7},
      {"ring_lb_h", 7}, {"st_tf", 7}};
  for (const auto& [name, value] : inputs) {
    ProjectState ps = o.state;
    ASSERT_EQ(applySetting(ps, std::string(name) + "=" + std::to_string(int(value))), std::nullopt)
        << name;
    EXPECT_EQ(inputValue(ps, name), value) << name;
  }
  EXPECT_EQ(inputValue(o.state, "t"), o.state.t);
  EXPECT_EQ(inputValue(o.state, "pd"), double(o.state.pd));
  EXPECT_EQ(inputValue(o.state, "nope"), std::nullopt);
}

// ----------------------------------------------------------------- sweep

TEST(Sweep, EveryPointEqualsItsSingleCheck) {
  struct Case {
    const char* file;
    std::vector<const char*> ranges;
    std::vector<std::string> fixed;
  };
  const Case cases[] = {
      {"v000.cys", {"t=8:30:0.5"}, {}},
      {"v002.cys", {"pd=-2:0.5:0.1"}, {}},
      {"v010.cys", {"s=200:1400:100", "l=1000:5000:1000"}, {}},
      {"v031.cys", {"sigx=-400:100:25"}, {"cyltype=0"}},
      {"v040.cys", {"l=500:6000:250"}, {"cyltype=1", "ring_ch=1"}},
      {"v050.cys", {"N=-20000:0:1000", "t=10:30:5"}, {"cyltype=3"}},
      {"", {"cbostiff=0:9:1"}, {}},
      {"", {"stiff_row_bulb=0:70:5"}, {"cbostiff=6"}},
  };
  int points = 0, passed = 0, failed = 0, other = 0;
  for (const Case& c : cases) {
    const OpenedProject opened = open(c.file);
    std::vector<StudyRange> ranges;
    for (const char* r : c.ranges) ranges.push_back(range(r));
    for (int jobs : {1, 2}) {
      const auto result = sweep(opened, ranges, c.fixed, jobs);
      ASSERT_TRUE(result) << result.error().message;
      const SweepResult& r = result.value();
      uint64_t expected = 1;
      for (const StudyRange& g : ranges) expected *= g.count();
      ASSERT_EQ(r.points.size(), expected);
      for (size_t i = 0; i < r.points.size(); ++i) {
        const SweepPoint& p = r.points[i];
        std::vector<std::string> sets = c.fixed;
        const uint64_t inner = ranges.size() == 2 ? ranges[1].count() : 1;
        EXPECT_EQ(p.values[0], ranges[0].value(i / inner));
        for (size_t k = 0; k < ranges.size(); ++k)
          sets.push_back(ranges[k].name + "=" + shortestText(p.values[k]));
        if (ranges.size() == 2) {
          EXPECT_EQ(p.values[1], ranges[1].value(i % inner));
        }
        expectSame(p.outcome, singleCheck(opened, sets),
                   std::string(c.file) + " " + sets.back() + " jobs " + std::to_string(jobs));
        ++points;
        passed += p.outcome.status() == RowOutcome::Status::Passed;
        failed += p.outcome.status() == RowOutcome::Status::Failed;
        other += p.outcome.status() > RowOutcome::Status::Failed;
      }
    }
  }
  // the grids reach passing, failing and faulted or refused points
  EXPECT_GT(passed, 0);
  EXPECT_GT(failed, 0);
  EXPECT_GT(other, 0);
  EXPECT_GT(points, 500);
}

// A sweep of section forces checks each point all round the circumference:
// each shown check's value is the single check at its governing point's
// stresses; a fixed force counts as a varied one does.
TEST(Sweep, SectionForcesGiveEachPointItsGoverningPoints) {
  struct Case {
    std::vector<const char*> ranges;
    std::vector<std::string> fixed;
  };
  const Case cases[] = {
      {{"N=-40000:0:10000"}, {"M1=10000", "pd=-0.1"}},
      {{"T=0:40000:20000", "M2=-20000:20000:20000"}, {"Q1=3000"}},
  };
  for (const Case& c : cases) {
    const OpenedProject opened = open("");
    std::vector<StudyRange> ranges;
    for (const char* r : c.ranges) ranges.push_back(range(r));
    const auto result = sweep(opened, ranges, c.fixed, 2);
    ASSERT_TRUE(result) << result.error().message;
    const SweepResult& r = result.value();
    EXPECT_TRUE(r.forces);
    int shown = 0;
    for (const SweepPoint& p : r.points) {
      std::vector<std::string> others;
      for (const std::string& f : c.fixed)
        if (f.rfind("pd=", 0) == 0) others.push_back(f);
      for (const CheckId id : r.checks) {
        const CheckValue& v = p.outcome[id];
        if (!v.shown) continue;
        ++shown;
        const GoverningPoint& g = p.points[static_cast<size_t>(id)];
        std::vector<std::string> sets = others;
        sets.push_back("sigx=" + shortestText(g.sigx));
        sets.push_back("tau=" + shortestText(g.tau));
        const CheckValue single = singleCheck(opened, sets)[id];
        EXPECT_EQ(single.uf, v.uf) << checkName(id) << " " << sets.back();
        EXPECT_EQ(single.allow, v.allow) << checkName(id);
      }
    }
    EXPECT_GT(shown, 4);
  }
}

TEST(Sweep, CrossingsBracketAChangeOfVerdictWithinTheirTolerance) {
  struct Case {
    const char* file;
    const char* range;
    std::vector<std::string> fixed;
  };
  const Case cases[] = {
      {"", "t=8:30:1", {}},
      {"v000.cys", "t=8:40:0.5", {}},
      {"v002.cys", "pd=-3:1:0.25", {}},
      {"v010.cys", "s=200:1400:50", {}},
      {"v031.cys", "sigx=-600:200:20", {"cyltype=0"}},
      {"v040.cys", "l=500:9000:250", {"cyltype=1"}},
      {"v050.cys", "N=-60000:0:2000", {"cyltype=3"}},
      {"", "stiff_row_bulb=0:70:7", {"cbostiff=6"}},
  };
  int crossings = 0, rising = 0, falling = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.range);
    const OpenedProject opened = open(c.file);
    const StudyRange g = range(c.range);
    const bool integer = std::string(c.range).find("row") != std::string::npos;
    const auto result = sweep(opened, {g}, c.fixed, 2);
    ASSERT_TRUE(result);
    const SweepResult& r = result.value();
    // every change of a shown verdict between neighbours has its crossing
    size_t changes = 0;
    for (size_t i = 0; i + 1 < r.points.size(); ++i) {
      for (CheckId check : r.checks) {
        const RowOutcome &a = r.points[i].outcome, &b = r.points[i + 1].outcome;
        const bool known = a.fault.empty() && b.fault.empty() && a[check].shown && b[check].shown &&
                           a.inputError.empty() && b.inputError.empty();
        changes += known && a[check].exceeded() != b[check].exceeded();
      }
    }
    EXPECT_EQ(r.crossings.size(), changes);
    for (const Crossing& x : r.crossings) {
      SCOPED_TRACE(std::string(checkName(x.check)) + " at " + shortestText(x.value));
      const double lo = r.points[x.point].values[0], hi = r.points[x.point + 1].values[0];
      EXPECT_GE(std::min(x.value, x.exceeded), lo);
      EXPECT_LE(std::max(x.value, x.exceeded), hi);
      if (integer) {
        EXPECT_EQ(std::fabs(x.value - x.exceeded), 1.0);
      } else {
        // within 1e-6 of the step, or no number the input stores lies between
        const float a = static_cast<float>(std::min(x.value, x.exceeded));
        const float b = static_cast<float>(std::max(x.value, x.exceeded));
        EXPECT_TRUE(std::fabs(x.value - x.exceeded) <= 1e-6 * g.step || std::nextafter(a, b) >= b);
      }
      // the check itself at both ends of the bracket, through the session
      std::vector<std::string> at = c.fixed, beyond = c.fixed;
      at.push_back(g.name + "=" + shortestText(x.value));
      beyond.push_back(g.name + "=" + shortestText(x.exceeded));
      const RowOutcome pass = singleCheck(opened, at), fail = singleCheck(opened, beyond);
      EXPECT_TRUE(pass[x.check].shown && !pass[x.check].exceeded());
      EXPECT_TRUE(fail[x.check].exceeded());
      EXPECT_EQ(pass[x.check].uf, x.atPassing.uf);
      EXPECT_EQ(fail[x.check].uf, x.atExceeded.uf);
      // the direction says on which side it passes
      const bool up = x.direction == Crossing::Direction::Rising;
      EXPECT_EQ(up, x.value < x.exceeded);
      rising += up;
      falling += !up;
      ++crossings;
    }
  }
  EXPECT_GT(rising, 0);
  EXPECT_GT(falling, 0);
  EXPECT_GE(crossings, 6);
}

TEST(Sweep, BadStudiesAreErrors) {
  const OpenedProject o = open("");
  struct Case {
    std::vector<StudyRange> ranges;
    std::vector<std::string> fixed;
    const char* problem;
  };
  const Case cases[] = {
      {{}, {}, "a sweep varies one or two inputs"},
      {{range("t=1:2:1"), range("s=1:2:1"), range("l=1:2:1")},
       {},
       "a sweep varies one or two inputs"},
      {{range("t=1:2:1")}, {"t=5"}, "t is both set and varied"},
      {{range("t=1:2:1")}, {"x=5"}, "unknown name 'x' in --set"},
      {{range("t=1:2:1")},
       {"cyltype=1.5"},
       "value of cyltype must be a whole number from -32768 to 32767: '1.5'"},
      {{range("t=1:4000:1"), range("s=1:4000:1")},
       {},
       "the study has 16000000 points, more than 10000000"},
  };
  for (const Case& c : cases) {
    const auto r = sweep(o, c.ranges, c.fixed, 1);
    ASSERT_FALSE(r) << c.problem;
    EXPECT_EQ(r.error().message, c.problem);
  }
}

TEST(Sweep, StopsWhenAsked) {
  const OpenedProject o = open("");
  std::stop_source source;
  uint64_t seen = 0;
  const auto r = sweep(
      o, {range("t=1:100:0.001")}, {}, 2,
      [&](uint64_t done, uint64_t) {
        seen = done;
        source.request_stop();
      },
      source.get_token());
  ASSERT_TRUE(r);
  EXPECT_TRUE(r.value().stopped);
  EXPECT_LT(r.value().points.size(), range("t=1:100:0.001").count());
  EXPECT_EQ(r.value().points.size(), seen);
}

// -------------------------------------------------------------- optimise

TEST(SteelMass, ShellStiffenersAndRingFrames) {
  // an unstiffened shell r = 3333, t = 20: 2 pi 3333 20 mm2 at 7850 kg/m3
  OpenedProject o = open("");
  o.state.cyltype = 0;
  EXPECT_NEAR(steelMass(o.state).value(), 3287.9, 0.05);
  // stringer stiffened: plus As 2 pi r / s and Ag 2 pi rc / l
  o.state.cyltype = 2;
  ProjectState ps = o.state;
  (void)singleCheck(o, {}, &ps);
  const double twoPi = 2 * 3.14159265358979;
  const double rc = ps.Outside_ch ? ps.r + ps.t / 2 + ps.rg.zcg : ps.r - ps.t / 2 - ps.rg.zcg;
  const double area =
      twoPi * ps.r * ps.t + ps.st.As * twoPi * ps.r / ps.s + ps.rg.Ag * twoPi * rc / ps.l;
  EXPECT_NEAR(steelMass(ps).value(), 7850e-6 * area, 1e-9 * area);
  // ring frames outside sit on a circle t + 2 zcg larger
  ProjectState inside = ps, outside = ps;
  inside.Outside_ch = 0;
  outside.Outside_ch = 1;
  EXPECT_NEAR(steelMass(outside).value() - steelMass(inside).value(),
              7850e-6 * ps.rg.Ag * twoPi * (ps.t + 2 * ps.rg.zcg) / ps.l, 1e-9);
}

struct Candidate {
  std::vector<std::string> sets;
  double mass;
  bool passes;
};

// Every candidate of the grid through the session, with its mass from the
// state after the run.
std::vector<Candidate> bruteForce(const OpenedProject& o, const std::vector<StudyRange>& grids,
                                  const std::vector<std::string>& fixed,
                                  const std::vector<std::vector<std::string>>& profiles) {
  std::vector<std::vector<std::vector<std::string>>> dims;
  for (const StudyRange& g : grids) {
    dims.emplace_back();
    for (uint64_t i = 0; i < g.count(); ++i)
      dims.back().push_back({g.name + "=" + shortestText(g.value(i))});
  }
  for (const auto& p : profiles) {
    dims.emplace_back();
    for (const std::string& s : p) {
      std::vector<std::string> sets;
      size_t from = 0;
      for (size_t at; (at = s.find(' ', from)) != std::string::npos; from = at + 1)
        sets.push_back(s.substr(from, at - from));
      sets.push_back(s.substr(from));
      dims.back().push_back(sets);
    }
  }
  std::vector<Candidate> out;
  std::vector<size_t> digit(dims.size(), 0);
  for (;;) {
    std::vector<std::string> sets = fixed;
    for (size_t k = 0; k < dims.size(); ++k)
      sets.insert(sets.end(), dims[k][digit[k]].begin(), dims[k][digit[k]].end());
    ProjectState final;
    const RowOutcome r = singleCheck(o, sets, &final);
    const auto mass = steelMass(final);
    if (mass) out.push_back({sets, *mass, r.status() == RowOutcome::Status::Passed});
    size_t k = dims.size();
    while (k > 0 && ++digit[k - 1] == dims[k - 1].size()) digit[--k] = 0;
    if (k == 0) break;
  }
  return out;
}

// Every row of a table as the settings of the member's profile.
std::vector<std::string> tableChoices(const ProjectState& ps, const std::string& member,
                                      ProfileType type, const std::string& table) {
  const ProfileTable& t = table == "bulb" ? ps.prof.bulb
                          : table == "l"  ? ps.prof.l
                          : table == "t"  ? ps.prof.t
                                          : ps.prof.flat;
  std::vector<std::string> out;
  const std::string cbo = member == "stiffener" ? "cbostiff" : "cboring";
  const std::string row = member == "stiffener" ? "stiff_row_" : "ring_row_";
  for (int i = 0; i <= t.last; ++i)
    out.push_back(cbo + "=" + std::to_string(code(type)) + " " + row + table + "=" +
                  std::to_string(i));
  return out;
}

TEST(Optimise, NoLighterDesignOfTheGridPasses) {
  struct Case {
    const char* file;
    std::vector<const char*> grids;
    std::vector<std::string> fixed;
    std::vector<std::pair<const char*, ProfileType>> profiles;  // member, table
    size_t top;
  };
  const Case cases[] = {
      {"", {"t=12:26:1", "s=400:800:100"}, {}, {{"ring", ProfileType::TTable}}, 3},
      {"", {"t=12:24:2"}, {"ring_ch=0"}, {{"stiffener", ProfileType::BulbFlat}}, 5},
      {"",
       {"t=10:30:2", "l=1500:4500:500"},
       {"sigx=-40", "pd=-0.1"},
       {{"ring", ProfileType::LTable}},
       4},
      {"v040.cys", {"t=10:40:2", "l=1000:5000:1000"}, {"cyltype=1"}, {}, 3},
      {"v031.cys", {"t=5:40:1"}, {"cyltype=0"}, {}, 1},
      {"v010.cys", {"t=5:40:1"}, {"cyltype=0"}, {}, 2},
      {"",
       {"s=300:800:100"},
       {},
       {{"stiffener", ProfileType::BulbFlat}, {"ring", ProfileType::LTable}},
       6},
      {"",
       {"s=300:800:100"},
       {},
       {{"stiffener", ProfileType::FlatBarTable}, {"ring", ProfileType::LTable}},
       2},
  };
  int found = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.grids[0]);
    const OpenedProject o = open(c.file);
    OptimiseSpec search;
    search.fixed = c.fixed;
    search.top = c.top;
    std::vector<std::vector<std::string>> profiles;
    for (const char* g : c.grids) search.grids.push_back(range(g));
    for (const auto& [member, type] : c.profiles) {
      const std::string table = type == ProfileType::BulbFlat ? "bulb"
                                : type == ProfileType::LTable ? "l"
                                : type == ProfileType::TTable ? "t"
                                                              : "flat";
      auto f = parseProfileFreedom(std::string(member) + "=" + table);
      ASSERT_TRUE(f);
      search.profiles.push_back(f.value());
      profiles.push_back(tableChoices(o.state, member, type, table));
    }
    const auto result = optimise(o, search, 2);
    ASSERT_TRUE(result) << result.error().message;
    const OptimiseResult& r = result.value();

    auto all = bruteForce(o, search.grids, c.fixed, profiles);
    EXPECT_EQ(all.size(), r.candidates);
    std::vector<Candidate> passing;
    for (const Candidate& x : all)
      if (x.passes) passing.push_back(x);
    std::stable_sort(passing.begin(), passing.end(),
                     [](const Candidate& a, const Candidate& b) { return a.mass < b.mass; });
    ASSERT_EQ(r.designs.size(), std::min(c.top, passing.size()));
    // with nothing passing, every candidate ran
    if (passing.empty()) {
      EXPECT_EQ(r.evaluated, r.candidates);
    }
    found += !passing.empty();
    for (size_t i = 0; i < r.designs.size(); ++i) {
      const Design& d = r.designs[i];
      // the same masses in the same order: none lighter was missed
      EXPECT_EQ(d.mass, passing[i].mass) << "design " << i;
      // the design, typed as its settings, passes every check and weighs
      // what the search said
      ProjectState final;
      const RowOutcome check = singleCheck(o, designSettings(search, r, d), &final);
      EXPECT_EQ(check.status(), RowOutcome::Status::Passed);
      EXPECT_EQ(steelMass(final), d.mass);
      EXPECT_LE(d.uf, d.allow);
      expectSame(d.outcome, check, "design " + std::to_string(i));
      for (CheckId id : r.checks)
        if (check[id].shown && id != d.governing) {
          EXPECT_LE(check[id].uf / check[id].allow, d.uf / d.allow + 1e-15);
        }
    }
    EXPECT_LE(r.evaluated, r.candidates);
  }
  EXPECT_EQ(found, 7);
}

TEST(Optimise, StopsOnceEnoughLightDesignsPass) {
  const OpenedProject o = open("");
  OptimiseSpec search;
  search.grids = {range("t=5:40:0.5"), range("s=300:900:10")};
  search.profiles = {parseProfileFreedom("ring=t").value()};
  search.top = 1;
  const auto r = optimise(o, search, 2);
  ASSERT_TRUE(r);
  ASSERT_EQ(r.value().designs.size(), 1u);
  EXPECT_LT(r.value().evaluated, r.value().candidates / 2);
}

TEST(Optimise, BadSearchesAreErrors) {
  const OpenedProject o = open("");
  auto freedom = [](const char* t) { return parseProfileFreedom(t).value(); };
  struct Case {
    std::vector<StudyRange> grids;
    std::vector<ProfileFreedom> profiles;
    std::vector<std::string> fixed;
    size_t top;
    const char* problem;
  };
  const Case cases[] = {
      {{}, {}, {}, 1, "nothing is free"},
      {{range("t=1:2:1")}, {}, {}, 0, "--top must be at least 1"},
      {{range("t=1:2:1")}, {}, {"t=3"}, 1, "t is both set and varied"},
      {{range("cbostiff=0:2:1")}, {freedom("stiffener=l")}, {}, 1, "cbostiff is free twice"},
      {{}, {freedom("ring=l"), freedom("ring=t")}, {}, 1, "the ring is free twice"},
      {{},
       {freedom("stiffener=all")},
       {"cyltype=1"},
       1,
       "the stiffener is free, but only a stringer-stiffened cylinder (cyltype=2) has stiffeners"},
      {{},
       {freedom("ring=all")},
       {"cyltype=3"},
       1,
       "the ring frame is free, but only a ring- or stringer-stiffened cylinder (cyltype=1 or 2) "
       "has ring frames"},
      {{range("t=1:4000:1"), range("s=1:4000:1")},
       {},
       {},
       1,
       "the study has 16000000 points, more than 10000000"},
  };
  for (const Case& c : cases) {
    OptimiseSpec search{c.grids, c.profiles, c.fixed, c.top};
    const auto r = optimise(o, search, 1);
    ASSERT_FALSE(r) << c.problem;
    EXPECT_EQ(r.error().message, c.problem);
  }
  // a grid within bounds times every profile row is not
  OptimiseSpec many{{range("t=1:1000:1"), range("s=1:1000:1")}, {freedom("stiffener=all")}, {}, 1};
  const auto& p = o.state.prof;
  const int rows = p.bulb.last + p.l.last + p.t.last + p.flat.last + 4;
  const auto tooMany = optimise(o, many, 1);
  ASSERT_FALSE(tooMany);
  EXPECT_EQ(tooMany.error().message,
            "the search has " + std::to_string(1000000 * rows) + " candidates, more than 10000000");
  for (const char* bad :
       {"stiffener=", "stiffener=x", "ring=bulb,all,x", "stiffener=l,,t", "ring"}) {
    const auto r = parseFree(bad);
    ASSERT_FALSE(r) << bad;
    EXPECT_NE(r.error().message.find("a profile choice is written"), std::string::npos) << bad;
  }
  const auto both = parseProfileFreedom("stiffener=l,t,l");
  ASSERT_TRUE(both);
  EXPECT_EQ(both.value().tables, (std::vector{ProfileType::LTable, ProfileType::TTable}));
  EXPECT_EQ(parseProfileFreedom("ring=all").value().tables.size(), 4u);
}

}  // namespace
