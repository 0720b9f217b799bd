// Shell, column, stiffener and ring-frame checks: figures that can be
// checked by hand and the boundaries of the design rules.
#include <gtest/gtest.h>

#include <cmath>

#include "core/calc_driver.hpp"
#include "model/checked.hpp"
#include "model/codes.hpp"
#include "started_state.hpp"

namespace orvane {
namespace {

using test::calc;
using test::startedState;
using test::userMaterial;

TEST(ShellCheck, TensionAloneAndPressureAlone) {
  ProjectState ps = startedState();
  ps.cyltype = 0;
  userMaterial(ps, 355);
  ps.sigx = 50, ps.sigy = 10, ps.tau = ps.pd = 0;  // tension alone: the yield strength
  calc(ps);
  EXPECT_EQ(ps.lamdas, 0.0f);
  EXPECT_EQ(ps.fks, 355.0f);
  EXPECT_DOUBLE_EQ(ps.gm, 1.15);
  EXPECT_EQ(ps.shellTable.value[9], "308.7");  // 355 / 1.15
  EXPECT_EQ(ps.Siga0Sd, 0.0);

  ps.sigx = ps.sigy = 0;  // pressure alone: the hoop stress
  ps.pd = -0.5f;
  calc(ps);
  EXPECT_NEAR(ps.SigjSd, std::fabs(ps.SighTSd), 1e-12);
  EXPECT_EQ(ps.shellTable.value[4], "-83.3");  // -0.5 * 3333 / 20
  EXPECT_EQ(ps.shellTable.label[0], "Shell Buckling: (Ch 3.4.2)");
  EXPECT_EQ(ps.shellTable.label[3], "fEtau = ");
}

TEST(ShellCheck, LongCylinderFormulasNeedStrictlyLonger) {
  // l/r > 2.25*sqrt(r/t) switches fEh to 0.25*E*(t/r)^2
  const float longFEh = static_cast<float>(0.25 * 210000.0 * std::pow(10.0 / 1000, 2));
  ProjectState ps = startedState();
  ps.cyltype = 0;
  ps.r = 1000, ps.t = 10;
  ps.L = ps.l = 2.25 * std::sqrt(100.0) * 1000 + 1000;  // clearly long
  calc(ps);
  EXPECT_EQ(ps.fEh, longFEh);
  ps.l = 22500;  // l/r = 22.5 = 2.25*sqrt(100): the general formula
  calc(ps);
  EXPECT_NE(ps.fEh, longFEh);
}

TEST(ShellCheck, WsdAndLrfdVerdictsAgree) {
  // WSD: UF <= ufb*beta*gm is the same as SigjSd <= ufb*beta*fks
  ProjectState ps = startedState();
  ps.cyltype = 0;
  ps.wsd = 1;
  calc(ps);
  EXPECT_NEAR(ps.UF / ps.UFallow, ps.SigjSd / (ps.ufb * ps.beta * ps.fks), 1e-6);
  ASSERT_GT(ps.lamdas, 1.0f);  // slender: beta is at its floor
  EXPECT_EQ(ps.beta, 0.8f);
}

TEST(ColumnCheck, TensionAndZeroMeanMoments) {
  ProjectState ps = startedState();
  ps.cyltype = 3;
  ps.N = 1000;  // tension leaves only the bending
  calc(ps);
  EXPECT_EQ(ps.Siga0Sd, 0.0);
  EXPECT_NEAR(ps.trace.UF1, ps.trace.UF2, 1e-6);
  EXPECT_GT(ps.trace.UF1, 0.0);
  EXPECT_GT(ps.sigx, 0.0);  // sigx is replaced by the stress from N

  ps.N = -1000;  // equal and opposite end moments
  ps.M1a = -150, ps.M1b = 150;
  ps.M2a = ps.M2b = 0;
  calc(ps);
  EXPECT_NEAR(ps.trace.sM1a + ps.trace.sM1b, 0.0, 1e-5);
  EXPECT_NEAR(ps.SigmSd, 0.0f, 1e-5f);
  EXPECT_EQ(ps.trace.psi2, 0.0f);  // sM2b = 0
}

TEST(StiffenerCheck, TensionUsesTheFullSpacing) {
  ProjectState ps = startedState();
  ps.sigx = 20;
  calc(ps);
  EXPECT_EQ(ps.se, 600.0f);
  EXPECT_EQ(ps.stiffTable.value[1], "600.0");
  EXPECT_EQ(ps.stiffTable.value[11], "1.15");
}

// fT is the yield strength, capped at the plate's, for a stiffener type
// without torsional buckling.
void expectYieldStrength(ProfileType type) {
  ProjectState ps = startedState();
  userMaterial(ps, 355);
  ps.fyp = 300;  // fT is capped at the plate's strength
  ps.cbostiff = code(type);
  calc(ps);
  EXPECT_EQ(ps.fT, 300.0f) << code(type);
  ps.fyp = 400;
  calc(ps);
  EXPECT_EQ(ps.fT, 355.0f) << code(type);
}

TEST(StiffenerCheck, ClosedProfilesTakeTheYieldStrength) {
  int closed = 0;
  for (const ProfileTraits& tr : kProfileTraits) {
    if (!tr.closed) continue;
    expectYieldStrength(tr.type);
    ++closed;
  }
  EXPECT_EQ(closed, 2);  // RHS and trapezoid
}

// The I stiffener is open but has no torsional-buckling check either.
TEST(StiffenerCheck, TheIStiffenerTakesTheYieldStrength) {
  expectYieldStrength(ProfileType::IBuiltUp);
}

TEST(StiffenerCheck, ShellRatioAboveOneRemovesTheRestraint) {
  ProjectState ps = startedState();
  ps.SigjFks = 1.2;
  torsionalBuckling(ps, {});
  EXPECT_EQ(ps.trace.C, 0.0);
  EXPECT_DOUBLE_EQ(ps.trace.betaT, 1.0);
}

TEST(RingCheck, EffectiveWidthAndInertiaParts) {
  ProjectState ps = startedState();
  EXPECT_EQ(ps.ringTable.value[4], "375.7");
  ps.l = 300;
  ps.sigx = 10, ps.tau = 0, ps.pd = 0.2f;
  calc(ps);
  EXPECT_EQ(ps.le, 300.0);
  EXPECT_EQ(ps.Ixh, 0.0);
  EXPECT_EQ(ps.Ix, 0.0);
  EXPECT_EQ(ps.Ih, 0.0);
  EXPECT_EQ(ps.ringTable.unit[8], "  mm4 (General calc, ref ch 3.5.2.6)");
  EXPECT_EQ(ps.ringTable.value[8], "0.000E+0");
}

TEST(RingCheck, ColdFormedFramesAreTenPercentWeaker) {
  ProjectState ps = startedState();
  userMaterial(ps, 355);
  ps.fyp = 1000;  // no cap
  ps.pd = 0;      // no raise from the ring stress
  calc(ps);
  const float fabricated = ps.fTg;
  ps.ringfab = 1;
  calc(ps);
  EXPECT_EQ(ps.fTg, static_cast<float>(0.9 * fabricated));
}

TEST(RingCheck, SpecialIhAndHeavyRing) {
  ProjectState ps = startedState();
  const double general = ps.Ih;
  ASSERT_GT(general, 100000);
  ps.check_ih = 1;  // the special Ih reduces in steps of one per cent
  calc(ps);
  const double k = std::log(ps.Ih / general) / std::log(0.99);
  EXPECT_NEAR(k, std::round(k), 1e-6);
  EXPECT_GE(std::round(k), 1);
  EXPECT_TRUE(ps.UFspecial >= 1 || ps.Ih <= 100000);
  EXPECT_EQ(ps.ringTable.unit[8], "  mm4 (Special Calc, ref ch 3.5.2.7)");

  ps.hring_ch = 1;  // a heavy ring takes the cylinder length, L = 2 l
  calc(ps);
  EXPECT_EQ(ps.ringTable.label[12].rfind("Heavy ringframe Ihr>= ", 0), 0u);
  EXPECT_GT(ps.Ihr, ps.IR);
  ps.hring_ch = 0;
  calc(ps);
  EXPECT_EQ(ps.ringTable.label[12], " ");
}

TEST(RingLengthCheck, CutsBackATooLongBucklingLength) {
  ProjectState ps = startedState();
  ps.rg.h = 200, ps.rg.tf = 12;
  ps.ltgi = 3000;
  RecordingEvents ev;
  ringLengthCheck(ps, ev, {});
  ASSERT_EQ(ev.warnings.size(), 1u);
  EXPECT_EQ(ev.warnings[0], " lt<=pi*Sqr(r*h), ref ch B.5.9 ");
  EXPECT_NEAR(ps.ltgi, 2485.83f, 0.01f);
  EXPECT_EQ(ev.focused.back(), InputId::ltgi);
  ev.warnings.clear();
  ringLengthCheck(ps, ev, {});  // now within the limit
  ps.rg.h = 5;                  // r*(h - tf) < 0: the check ends silently
  ringLengthCheck(ps, ev, {});
  EXPECT_TRUE(ev.warnings.empty());
}

}  // namespace
}  // namespace orvane
