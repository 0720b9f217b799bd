// Rows of section forces: the stresses carry the forces back (equilibrium
// over the circumference), the governing point of each check is the worst
// of a fine scan, reproduces through the session bit for bit, and the scan
// sees the symmetries of the tube.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numbers>
#include <random>

#include "model/format.hpp"
#include "opened_vector.hpp"
#include "project/load_cases.hpp"
#include "project/member_forces.hpp"
#include "project/session.hpp"

using namespace orvane;

namespace {

constexpr double kPi = std::numbers::pi;

// The new-project defaults as cylinder type `type` (stringer stiffened with
// ring frames checked: 2).
OpenedProject ofType(int type) {
  OpenedProject p = test::openVector("");
  RecordingEvents ev;
  Session session(p.state, ev);
  EXPECT_FALSE(session.set("cyltype=" + std::to_string(type)));
  p.fault = session.fault();
  return p;
}

ForceEngine engineOf(const OpenedProject& p, const std::vector<std::string>& columns) {
  auto e = ForceEngine::create(p, columns);
  EXPECT_TRUE(e) << (e ? "" : e.error().message);
  return std::move(e.value());
}

const std::vector<std::string> kForces = {"N", "M1", "M2", "T", "Q1", "Q2"};

// A row of the six forces as texts.
struct Row {
  std::vector<std::string> text;
  std::vector<std::string_view> views() const { return {text.begin(), text.end()}; }
};
Row forces(double n, double m1, double m2, double t = 0, double q1 = 0, double q2 = 0) {
  Row r;
  for (double v : {n, m1, m2, t, q1, q2}) r.text.push_back(shortestText(v));
  return r;
}

TEST(MemberForces, StressesCarryTheForcesRoundTheCircle) {
  std::mt19937 rng(24);
  std::uniform_real_distribution<double> force(-5000, 5000);
  for (int type : {0, 1, 2}) {
    const TubeWall w = tubeWall(ofType(type).state);
    if (type == 2) {
      EXPECT_GT(w.te, w.t);  // the stiffeners carry axial stress
    }
    for (int k = 0; k < 20; ++k) {
      SectionForces f{force(rng), force(rng), force(rng), force(rng), force(rng), force(rng)};
      // the trapezoidal rule is exact for these periodic integrands
      const int n = 720;
      double sN = 0, sM1 = 0, sM2 = 0, sT = 0, sQ1 = 0, sQ2 = 0;
      for (int i = 0; i < n; ++i) {
        const double th = 2 * kPi * i / n, d = 2 * kPi / n;
        const PointStresses p = stressesAt(f, w, th);
        sN += p.sigx * w.te * w.r * d;
        sM1 += p.sigx * w.te * w.r * w.r * std::sin(th) * d;
        sM2 -= p.sigx * w.te * w.r * w.r * std::cos(th) * d;
        sT += p.tau * w.t * w.r * w.r * d;
        sQ1 += p.tau * w.t * w.r * std::cos(th) * d;
        sQ2 += p.tau * w.t * w.r * std::sin(th) * d;
      }
      // N mm back to kN and kNm
      const double got[] = {sN / 1e3, sM1 / 1e6, sM2 / 1e6, sT / 1e6, sQ1 / 1e3, sQ2 / 1e3};
      const double want[] = {f.N, f.M1, f.M2, f.T, f.Q1, f.Q2};
      for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9 * std::fabs(want[i]))
            << "type " << type << " " << kForces[i];
    }
  }
}

// Each reported point: `check` with the printed texts gives the same usage
// factor and allowable, bit for bit.
void expectReproduces(const OpenedProject& base, const ForceOutcome& got,
                      const std::vector<std::pair<std::string, std::string>>& others,
                      const std::vector<CheckId>& checks) {
  for (const CheckId c : checks) {
    const size_t i = static_cast<size_t>(c);
    if (!got.outcome.checks[i].shown) continue;
    ProjectState ps = base.state;
    RecordingEvents ev;
    Session session(ps, ev);
    for (const auto& [name, value] : others) ASSERT_FALSE(session.set(name + "=" + value));
    ASSERT_FALSE(session.set("sigx=" + shortestText(got.points[i].sigx)));
    ASSERT_FALSE(session.set("tau=" + shortestText(got.points[i].tau)));
    session.recalculate();
    const RowOutcome single = outcomeOf(ps, session.fault());
    EXPECT_EQ(std::bit_cast<uint64_t>(single[c].uf), std::bit_cast<uint64_t>(got.outcome[c].uf))
        << checkName(c);
    EXPECT_EQ(std::bit_cast<uint64_t>(single[c].allow),
              std::bit_cast<uint64_t>(got.outcome[c].allow))
        << checkName(c);
  }
}

TEST(MemberForces, GoverningPointIsTheWorstOfTheCircleAndReproduces) {
  // N, M1, M2, T, Q1, Q2 (kN, kNm)
  const std::vector<std::array<double, 6>> cases = {
      {-20000, 0, 0, 0, 0, 0},
      {-5000, 30000, 0, 0, 0, 0},
      {-5000, 0, -30000, 0, 0, 0},
      {-8000, 20000, 15000, 9000, 0, 0},
      {-3000, -12000, 25000, 0, 4000, -2500},
      {2000, 40000, -10000, 20000, 1500, 800},
      {0, 0, 0, 30000, 6000, 6000},
      {-15000, 5000, 5000, -5000, -3000, 2000},
  };
  // a wall thickness of the row's own: te is that of the row
  const std::vector<std::string> columns = {"pd", "t", "N", "M1", "M2", "T", "Q1", "Q2"};
  for (int type : {0, 1, 2}) {
    const OpenedProject base = ofType(type);
    const ForceEngine engine = engineOf(base, columns);
    RowScratch scratch;
    for (const auto& fc : cases) {
      SCOPED_TRACE("type " + std::to_string(type) + " N " + shortestText(fc[0]));
      Row row = forces(fc[0], fc[1], fc[2], fc[3], fc[4], fc[5]);
      row.text.insert(row.text.begin(), {"-0.2", "22"});
      const auto views = row.views();
      const ForceOutcome got = engine.run(views, scratch);
      ASSERT_TRUE(got.outcome.fault.empty() && got.outcome.inputError.empty())
          << got.outcome.fault << got.outcome.inputError;
      // the scan of the test: 3,600 angles, and where the axial stress
      // changes sign between two of them, the angles closing in on the
      // change from either side (the checks jump there)
      std::vector<std::string_view> others;
      SectionForces f;
      RowOutcome bad, probe;
      ASSERT_TRUE(engine.split(views, others, f, bad));
      const TubeWall w = engine.wall(others, scratch, probe);
      std::array<double, kCheckCount> worst;
      worst.fill(-INFINITY);
      const auto take = [&](double th) {
        const RowOutcome o = engine.at(others, f, w, th, scratch);
        for (const CheckId c : engine.checks())
          if (o[c].shown)
            worst[static_cast<size_t>(c)] = std::max(worst[static_cast<size_t>(c)], o[c].uf);
      };
      const auto compressed = [&](double th) {
        return ForceEngine::stored(stressesAt(f, w, th)).sigx < 0;
      };
      for (int k = 0; k < 3600; ++k) {
        double lo = 2 * kPi * k / 3600, hi = 2 * kPi * (k + 1) / 3600;
        take(lo);
        if (compressed(lo) == compressed(hi)) continue;
        for (int i = 0; i < 60; ++i) {
          const double mid = (lo + hi) / 2;
          (compressed(mid) == compressed(lo) ? lo : hi) = mid;
        }
        take(lo);
        take(hi);
      }
      for (const CheckId c : engine.checks()) {
        const double uf = got.outcome[c].uf, scan = worst[static_cast<size_t>(c)];
        EXPECT_GE(uf, scan - 1e-6 * std::fabs(scan)) << checkName(c);
        EXPECT_LE(uf, scan + 1e-3 * std::fabs(scan)) << checkName(c);
        const double th = got.points[static_cast<size_t>(c)].theta;
        EXPECT_TRUE(th >= 0 && th < 360) << th;
      }
      expectReproduces(base, got, {{"pd", "-0.2"}, {"t", "22"}}, engine.checks());
    }
  }
}

TEST(MemberForces, SymmetriesOfTheTube) {
  const OpenedProject base = ofType(2);
  const ForceEngine engine = engineOf(base, kForces);
  RowScratch scratch;
  const auto run = [&](const Row& r) {
    const auto v = r.views();
    return engine.run(v, scratch);
  };
  // pure N: the same usage factors at every angle
  {
    const Row row = forces(-30000, 0, 0);
    const auto views = row.views();
    std::vector<std::string_view> others;
    SectionForces f;
    RowOutcome bad, probe;
    ASSERT_TRUE(engine.split(views, others, f, bad));
    const TubeWall w = engine.wall(others, scratch, probe);
    const RowOutcome first = engine.at(others, f, w, 0, scratch);
    for (double th : {0.3, 1.7, 3.1, 4.4, 6.2})
      test::expectSame(engine.at(others, f, w, th, scratch), first, "theta " + shortestText(th));
  }
  // M1 alone and M2 alone; both moments turned round move the point by 180°
  const std::vector<std::array<double, 3>> moments = {{-4000, 25000, 0}, {-9000, 0, 18000}};
  for (const auto& m : moments) {
    const ForceOutcome m1 = run(forces(m[0], m[1] + m[2], 0));
    const ForceOutcome m2 = run(forces(m[0], 0, m[1] + m[2]));
    const ForceOutcome a = run(forces(m[0], m[1], m[2]));
    const ForceOutcome b = run(forces(m[0], -m[1], -m[2]));
    for (const CheckId c : engine.checks()) {
      SCOPED_TRACE(checkName(c));
      EXPECT_NEAR(m1.outcome[c].uf, m2.outcome[c].uf, 1e-6 * std::fabs(m1.outcome[c].uf));
      EXPECT_EQ(a.outcome[c].exceeded(), b.outcome[c].exceeded());
      EXPECT_NEAR(a.outcome[c].uf, b.outcome[c].uf, 1e-6 * std::fabs(a.outcome[c].uf));
      const size_t i = static_cast<size_t>(c);
      // the point, or its mirror image about the most compressive point
      // (the stresses are the same on both sides of it)
      const double ta = a.points[i].theta, tb = b.points[i].theta;
      const double worst = std::atan2(m[1], -m[2]) * 180 / kPi + 180;
      const auto off = [](double d) { return std::fabs(std::remainder(d, 360.0)); };
      EXPECT_LT(std::min(off(tb - ta - 180), off(tb + ta - 2 * worst - 180)), 0.05)
          << ta << " " << tb;
    }
  }
}

TEST(MemberForces, TablesOfForcesOrStresses) {
  struct Case {
    int type;
    std::vector<std::string> columns;
    const char* kind;  // "stresses", "forces", or the names a refusal gives
  };
  const std::vector<Case> cases = {
      {2, {"sigx", "tau", "pd"}, "stresses"},
      {2, {"sigx", "N", "M1a"}, "stresses"},  // N beside sigx: the column mode's
      {2, {"N", "pd"}, "forces"},
      {0, {"pd", "M2", "Q1"}, "forces"},
      {1, {"T", "sigy", "t"}, "forces"},
      {2, {"M1", "sigx"}, "columns M1 and sigx"},
      {2, {"N", "tau", "Q2"}, "columns N, Q2 and tau"},
      {2, {"N", "cyltype"}, "stresses"},  // N of the column mode the table may choose
      {2, {"N", "Q1", "cyltype"}, "columns N, Q1 and cyltype"},
      {3, {"N", "M1a", "pd"}, "stresses"},
      {3, {"N", "M1", "T"}, "columns M1 and T"},
  };
  for (const Case& c : cases) {
    ProjectState ps;
    ps.cyltype = static_cast<int16_t>(c.type);
    const auto kind = loadKind(ps, c.columns);
    const std::string got = !kind                              ? kind.error().message
                            : kind.value() == LoadKind::Forces ? "forces"
                                                               : "stresses";
    EXPECT_EQ(got.substr(0, std::string(c.kind).size()), c.kind) << got;
  }
  // a force that is no number is an input error of its own column
  const ForceEngine engine = engineOf(ofType(2), {"pd", "M1", "N"});
  RowScratch scratch;
  const std::vector<std::string_view> row = {"-0.1", "", "12x"};
  const ForceOutcome bad = engine.run(row, scratch);
  EXPECT_EQ(bad.outcome.inputColumn, 2);
  EXPECT_NE(bad.outcome.inputError.find("N is not a number"), std::string::npos);
  // a wall that cannot carry them: the fault of the run, as for stresses
  const ForceEngine thin = engineOf(ofType(2), {"t", "N"});
  const std::vector<std::string_view> none = {"0", "-1000"};
  const ForceOutcome faulted = thin.run(none, scratch);
  EXPECT_TRUE(faulted.outcome.inputError.empty()) << faulted.outcome.inputError;
  EXPECT_FALSE(faulted.outcome.fault.empty());
}

}  // namespace

namespace {

// The report's load cases of section forces are the rows batch runs: each
// row's values and points, the governing case's point kept beside its name;
// a table of forces and stresses together cannot run and says why.
TEST(MemberForces, CaseReportGivesEachRowItsPoints) {
  const OpenedProject base = ofType(2);
  cases::CaseTable table{{"pd", "N", "M1", "T"}, {}};
  table.rows = {{"a", {"-0.2", "-8000", "20000", "9000"}},
                {"b", {"", "-30000", "", ""}},
                {"c", {"-0.1", "2000", "-15000", "-4000"}}};
  const cases::CaseReport report = cases::caseReport(base, table);
  ASSERT_EQ(report.problem, "");
  EXPECT_TRUE(report.forces);
  ASSERT_EQ(report.points.size(), table.rows.size());
  const ForceEngine engine = engineOf(base, table.columns);
  RowScratch scratch;
  for (size_t i = 0; i < table.rows.size(); ++i) {
    const std::vector<std::string_view> row(table.rows[i].values.begin(),
                                            table.rows[i].values.end());
    const ForceOutcome want = engine.run(row, scratch);
    test::expectSame(report.outcomes[i], want.outcome, table.rows[i].name);
    for (const CheckId c : engine.checks()) {
      const size_t k = static_cast<size_t>(c);
      EXPECT_EQ(report.points[i][k].theta, want.points[k].theta);
      if (report.summary.governing[k] == static_cast<int>(i)) {
        EXPECT_EQ(report.governingPoint[k].sigx, want.points[k].sigx);
      }
    }
  }
  const cases::CaseReport mixed = cases::caseReport(base, {{"M1", "sigx"}, table.rows});
  EXPECT_NE(mixed.problem.find("columns M1 and sigx"), std::string::npos) << mixed.problem;
}

}  // namespace
