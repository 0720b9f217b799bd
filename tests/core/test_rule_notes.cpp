// Rule notes: each alternative against a case worked by hand and against the
// run where the two readings coincide; the verdicts under the conservative
// rules never kinder than under the program's own.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/calc_driver.hpp"
#include "core/panels.hpp"
#include "core/rule_notes.hpp"
#include "model/checked.hpp"
#include "model/format.hpp"
#include "started_state.hpp"

namespace orvane {
namespace {

using test::startedState;

bool calc(ProjectState& ps) {
  RecordingEvents ev;
  try {
    calcDriver(ps, ev);
    return true;
  } catch (const CalcFault&) {
    return false;
  }
}

TEST(RuleNotes, FactorsBySlenderness) {
  struct Row {
    float lam;
    double gm;
    float beta;
  };
  for (const Row& r : {Row{0.0f, 1.15, 1.0f}, Row{0.49f, 1.15, 1.0f}, Row{0.5f, 1.15, 1.0f},
                       Row{0.75f, 1.30, 0.9f}, Row{1.0f, 1.45, 0.8f}, Row{1.47f, 1.45, 0.8f}}) {
    EXPECT_NEAR(gammaMBySlenderness(r.lam), r.gm, 1e-7) << r.lam;
    EXPECT_NEAR(betaBySlenderness(r.lam), r.beta, 1e-7) << r.lam;
  }
}

// A stiffener check left by hand: fks = 130, SigjSd = 100, UFallow 1.
ProjectState stiffenerRun(float lamdas, int16_t wsd) {
  ProjectState ps = startedState();  // stringer-stiffened, the stiffener table shown
  ps.wsd = wsd;
  ps.ufb = 1;
  ps.trace.lamdas_s = lamdas;
  ps.fks = 130.0f;
  ps.SigjSd = 100;
  ps.UFstiff = 100 / double(static_cast<float>(130 / 1.15));
  ps.UFallowStiff = wsd == 0 ? 1.0 : 1.15;
  return ps;
}

TEST(RuleNotes, StiffenerGammaByItsSlenderness) {
  // lamdas 0.75: gm = 0.85 + 0.60*0.75 = 1.30, fksd = 130/1.30 = 100, UF = 100/100
  auto n = stiffenerGammaNote(stiffenerRun(0.75f, 0));
  ASSERT_TRUE(n);
  EXPECT_NEAR(n->ufAlt, 1.0, 1e-9);
  EXPECT_EQ(n->allowAlt, 1.0);
  // WSD: beta = 1.2 - 0.4*0.75 = 0.9, the allowable 1*0.9*1.15 instead of 1.15
  n = stiffenerGammaNote(stiffenerRun(0.75f, 1));
  ASSERT_TRUE(n);
  EXPECT_EQ(n->ufAlt, n->uf);
  EXPECT_NEAR(n->allowAlt, 1.035, 1e-7);
  // lamdas <= 0.5: both readings take gm 1.15, beta 1.0
  EXPECT_FALSE(stiffenerGammaNote(stiffenerRun(0.45f, 0)));
  EXPECT_FALSE(stiffenerGammaNote(stiffenerRun(0.5f, 1)));

  // the new-project defaults: lamdas 1.47, UF 1.33 with gm 1.15 becomes 1.68 with 1.45
  const ProjectState ps = startedState();
  n = stiffenerGammaNote(ps);
  ASSERT_TRUE(n);
  EXPECT_EQ(format(n->uf, "0.00"), "1.33");
  EXPECT_EQ(format(n->ufAlt, "0.00"), "1.68");
  EXPECT_EQ(n->mark, "* Rule note: gm = 1.45: UF = 1.68");
}

// Unstiffened cylinder r 3000, t 25, l 2000 under pd alone.
ProjectState pressureRun(float pd, double sigx = 0) {
  ProjectState ps = startedState();
  ps.cyltype = 0;
  ps.r = 3000, ps.t = 25, ps.l = 2000, ps.L = 20000;
  ps.sigx = sigx, ps.sigy = 0, ps.tau = 0, ps.pd = pd;
  EXPECT_TRUE(calc(ps));
  return ps;
}

TEST(RuleNotes, HydrostaticPressureRow) {
  const ProjectState ps = pressureRun(-0.6f);
  // Zl = 2000^2/(3000*25)*sqrt(0.91) = 50.87676, xi = 1.04*sqrt(Zl) = 7.418106,
  // C = 2*sqrt(1 + (0.6*xi/2)^2) = 4.879569,
  // fEh = pi^2*C*210000/(12*0.91)*(25/2000)^2 = 144.7098
  EXPECT_NEAR(hydrostaticFEh(ps), 144.7098, 1e-3);
  EXPECT_NEAR(endCapStress(ps), -36.0, 1e-5);  // -0.6*3000/(2*25)

  // the run's own fEh and axial stress give the run's usage factor
  EXPECT_EQ(shellUsageWith(ps, ps.SigaSd, 0.0f, ps.fEh).uf, ps.UF);
  // the end-cap stress added equals the same stress typed into sigx
  ProjectState typed = pressureRun(-0.6f);
  typed.sigx = endCapStress(ps);
  ASSERT_TRUE(calc(typed));
  EXPECT_NEAR(shellUsageWith(ps, ps.SigaSd + endCapStress(ps), 0.0f, ps.fEh).uf, typed.UF, 1e-9);
  EXPECT_EQ(format(typed.UF, "0.00"), "0.78");

  auto n = hydrostaticNote(ps);
  ASSERT_TRUE(n);
  EXPECT_EQ(format(n->uf, "0.00"), "0.68");
  EXPECT_EQ(format(n->ufAlt, "0.00"), "0.79");
  ProjectState closed = ps;
  closed.closedEnds = true;
  n = hydrostaticNote(closed);
  ASSERT_TRUE(n);
  EXPECT_EQ(format(n->ufAlt, "0.00"), "0.90");

  EXPECT_FALSE(hydrostaticNote(pressureRun(0.0f, -50)));  // pd >= 0: no note
  EXPECT_FALSE(hydrostaticNote(pressureRun(0.6f, -50)));
}

TEST(RuleNotes, WorstEndBending) {
  CheckTrace c;
  c.sM1a = 30, c.sM2a = 40;  // end a: sqrt(30^2 + 40^2) = 50
  c.sM1b = -6, c.sM2b = 8;   // end b: 10
  EXPECT_EQ(worstEndBending(c), -50.0f);
  c.sM1b = -60;  // end b: sqrt(3600 + 64) = 60.53098
  EXPECT_NEAR(worstEndBending(c), -60.53098, 1e-4);
}

// Column r 3000, t 25, L 30000 under N and the end moments about axis 1.
ProjectState columnRun(double N, double M1a, double M1b, int16_t wsd = 0, double ufb = 1) {
  ProjectState ps = startedState();
  ps.cyltype = 3;
  ps.l = ps.L = 30000, ps.r = 3000, ps.t = 25, ps.pd = 0;
  ps.N = N, ps.M1a = M1a, ps.M1b = M1b, ps.M2a = 0, ps.M2b = 0;
  ps.k1 = 1, ps.k2 = 1, ps.sigy = 0, ps.wsd = wsd, ps.ufb = ufb;
  EXPECT_TRUE(calc(ps));
  return ps;
}

TEST(RuleNotes, ColumnShellWithTheWorseEnd) {
  // both ends +56.6 MPa: the mean is the worse end, the readings coincide
  const ProjectState same = columnRun(-20000, 40000, 40000);
  EXPECT_EQ(format(same.UF, "0.00"), "0.54");
  EXPECT_FALSE(columnWorstEndNote(same));
  // both negative and opposite signs: 0.45 and 0.24, both 0.54 at the worse end
  for (const auto& [m1b, legacy] : {std::pair{-40000.0, "0.45"}, std::pair{40000.0, "0.24"}}) {
    const ProjectState ps = columnRun(-20000, -40000, m1b);
    EXPECT_EQ(format(ps.UF, "0.00"), legacy);
    const auto n = columnWorstEndNote(ps);
    ASSERT_TRUE(n) << legacy;
    EXPECT_NEAR(n->ufAlt, same.UF, 1e-9) << legacy;
  }
}

TEST(RuleNotes, ColumnWsdShellVerdictFollowsItsLine) {
  const ProjectState ps = columnRun(-85000, -200, 100, 1, 0.8);
  EXPECT_EQ(ps.shellTable.unit[10], " <= 0.78");
  EXPECT_EQ(format(ps.UF, "0.00"), "0.84");
  EXPECT_NEAR(ps.UFallow, 0.92, 1e-12);
  const Verdict shell = shownVerdicts(ps)[0];
  EXPECT_EQ(shell.allow, ps.trace.UFallowShell);
  EXPECT_TRUE(shell.exceeded());
  EXPECT_FALSE(designPasses(ps));
  const auto n = columnShellAllowableNote(ps);
  ASSERT_TRUE(n);
  EXPECT_TRUE(n->explanatory);
  EXPECT_FALSE(n->exceeded());
  EXPECT_TRUE(n->exceededAlt());
  // LRFD: one allowable value, no note
  const ProjectState lrfd = columnRun(-85000, -200, 100, 0, 0.8);
  EXPECT_EQ(shownVerdicts(lrfd)[0].allow, lrfd.UFallow);
  EXPECT_FALSE(columnShellAllowableNote(lrfd));
}

TEST(RuleNotes, HeavyRingComparedWithI) {
  ProjectState ps = startedState();
  ps.hring_ch = 1;
  ASSERT_TRUE(calc(ps));
  const auto n = heavyRingNote(ps);
  ASSERT_TRUE(n);
  EXPECT_EQ(n->ufAlt, ps.Ihr / ps.Iring);
  EXPECT_EQ(format(ps.Ihr, "0.000E+0"), "2.121E+8");
  EXPECT_EQ(format(ps.Iring, "0.000E+0"), "2.484E+6");
  EXPECT_EQ(n->check, CheckId::RingInertia);
  ps.hring_ch = 0;
  ASSERT_TRUE(calc(ps));
  EXPECT_FALSE(heavyRingNote(ps));
}

ProjectState specialIhRun(float pd) {
  ProjectState ps = startedState();
  ps.cyltype = 1;
  ps.r = 3000, ps.t = 25, ps.l = 1000, ps.L = 20000;
  ps.sigx = -50, ps.sigy = 0, ps.tau = 0, ps.pd = pd, ps.check_ih = 1;
  EXPECT_TRUE(calc(ps));
  return ps;
}

TEST(RuleNotes, SpecialIhWithFtAtTheYieldStrength) {
  const ProjectState ps = specialIhRun(-2.0f);
  EXPECT_EQ(ps.ringTable.value[5], "429.6");  // raised to 2.001*|SigRSd| above fy = 315
  // the run's own fT repeats the run's loop
  EXPECT_EQ(specialIhWith(ps, ps.fTg), ps.Ih);
  const auto n = specialIhNote(ps);
  ASSERT_TRUE(n);
  EXPECT_GT(n->ufAlt, n->uf);
  // with fT = fy the loop ends no later than with the raised fT: Ih no smaller
  EXPECT_GE(specialIhWith(ps, float(ps.fyg)), ps.Ih);
  // fT not raised above fy: no note
  EXPECT_FALSE(specialIhNote(specialIhRun(-0.2f)));
}

// Random projects around the defaults: with the conservative rules no
// verdict is kinder, and the program's own verdicts are those without.
TEST(RuleNotes, ConservativeRulesNeverKinder) {
  std::mt19937 rng(25);
  const auto pick = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  const ProjectState started = startedState();
  int compared = 0, stricter = 0;
  for (int i = 0; i < 300; ++i) {
    ProjectState ps = started;
    ps.cyltype = static_cast<int16_t>(i % 4);
    ps.wsd = static_cast<int16_t>((i / 4) % 2);
    ps.hring_ch = static_cast<int16_t>((i / 8) % 2);
    ps.check_ih = static_cast<int16_t>((i / 16) % 2);
    ps.closedEnds = i % 3 == 0;
    ps.t = pick(10, 40), ps.l = pick(500, 4000), ps.r = float(pick(1000, 5000));
    ps.sigx = pick(-200, 50), ps.pd = float(pick(-2, 0.5)), ps.N = pick(-90000, 0);
    ps.M1a = pick(-60000, 60000), ps.M1b = pick(-60000, 60000);
    ps.ufb = pick(0.7, 1.0);
    if (!calc(ps)) continue;
    ProjectState judged = ps;
    judged.conservativeRules = true;
    const VerdictList own = shownVerdicts(ps), strict = shownVerdicts(judged);
    ASSERT_EQ(own.size(), strict.size());
    for (size_t k = 0; k < own.size(); ++k) {
      EXPECT_TRUE(!own[k].exceeded() || strict[k].exceeded()) << i;
      stricter += strict[k].exceeded() && !own[k].exceeded() ? 1 : 0;
    }
    EXPECT_TRUE(designPasses(ps) || !designPasses(judged)) << i;
    ++compared;
  }
  EXPECT_GT(compared, 200);
  EXPECT_GT(stricter, 0);  // the option does judge some designs more strictly
}

}  // namespace
}  // namespace orvane
