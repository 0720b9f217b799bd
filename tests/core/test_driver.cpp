// The driver: choice of checks by cylinder type, stale values, faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "core/calc_driver.hpp"
#include "core/calc_sheet.hpp"
#include "model/checked.hpp"
#include "started_state.hpp"

namespace orvane {
namespace {

using test::calc;
using test::startedState;

TEST(CalcDriver, NewProjectRestoresTheInputsButNotTheRingRows) {
  ProjectState ps;
  // a state just made already holds the built-up defaults of a new project
  EXPECT_EQ(ps.ringBuilt.fb.h, 200);
  EXPECT_EQ(ps.ringBuilt.fb.tw, 9.0f);
  EXPECT_EQ(ps.stiffBuilt.fb.h, 100);
  ps.cyltype = ps.ring_ch = 0;
  ps.hring_ch = 1;
  ps.r = ps.pd = 1;
  ps.ringBuilt.fb.h = ps.stiffBuilt.fb.h = 1;
  ps.fileName = "p.cys";
  ps.ringRows.t = 7;
  assignDefaults(ps);
  EXPECT_EQ(ps.cyltype, 2);
  EXPECT_EQ(ps.r, 3333.0f);
  EXPECT_EQ(ps.pd, -0.3f);
  EXPECT_EQ(ps.ring_ch, 1);
  EXPECT_EQ(ps.hring_ch, 0);
  EXPECT_EQ(ps.ringRows.t, 7);  // ring-frame table rows are kept
  EXPECT_EQ(ps.ringBuilt.fb.h, 200);
  EXPECT_EQ(ps.stiffBuilt.fb.h, 100);
  EXPECT_EQ(ps.fileName, "New File");
}

// What one mode leaves behind the next mode sees: nothing is cleared.
TEST(CalcDriver, ModesPickTheirChecksAndLeaveOldValues) {
  ProjectState ps = startedState();
  ps.l = ps.s;  // l = s: still the curved panel
  calc(ps);
  EXPECT_EQ(ps.shellTable.label[0], "Shell Buckling: (Ch 3.3.2)");
  // the column check leaves a bending stress and clears sigy and tau
  ps.cyltype = 3;
  calc(ps);
  EXPECT_NE(ps.SigmSd, 0.0f);
  EXPECT_EQ(ps.sigy, 0.0f);
  EXPECT_EQ(ps.tau, 0.0f);
  EXPECT_EQ(ps.shellTable.label[3], "fEm = ");
  // l < s: the cylinder check, which clears the bending stress again; tau
  // stays cleared, and the stiffener check's 13 lines leave the column
  // table's line 14 as it was
  ps.cyltype = 2;
  ps.l = 500;
  calc(ps);
  EXPECT_EQ(ps.shellTable.label[0], "Shell Buckling: (Ch 3.4.2)");
  EXPECT_EQ(ps.shellTable.label[3], "fEtau = ");
  EXPECT_EQ(ps.SigmSd, 0.0f);
  EXPECT_EQ(ps.tau, 0.0f);
  EXPECT_EQ(ps.stiffTable.n, 13);
  EXPECT_EQ(ps.stiffTable.label[14], "UF2 =  ");
}

TEST(CalcDriver, StiffenerNoteNeedsStrictlyWiderSpacing) {
  ProjectState ps = startedState();
  ps.r = 80;
  ps.t = 20;
  ps.s = 120;  // s/t = 6 = 3*sqrt(r/t)
  EXPECT_FALSE(stiffenerNote(ps));
  ps.s = 121;
  EXPECT_TRUE(stiffenerNote(ps));
}

TEST(CalcDriver, FaultKeepsWhatWasComputedBefore) {
  ProjectState ps = startedState();
  const ResultTable shell = ps.shellTable;
  ps.sigx = ps.sigy = ps.tau = ps.pd = 0;
  try {
    calc(ps);
    FAIL() << "expected a fault";
  } catch (const CalcFault& f) {
    EXPECT_NE(std::string(f.what()).find("shell check (Ch 3.3.2)"), std::string::npos);
  }
  EXPECT_EQ(ps.shellTable.label, shell.label);
  EXPECT_EQ(ps.shellTable.value, shell.value);
  EXPECT_EQ(ps.SigaSd, 0.0);  // DesignStresses ran before the fault
  EXPECT_EQ(ps.SigjSd, 0.0);
}

TEST(CalcDriver, VeryLongShellSegmentOverflows) {
  ProjectState ps = startedState();
  ps.l = 400 * 1.56 * std::sqrt(3333.0 * 20);  // beta = 400
  EXPECT_THROW(calc(ps), CalcFault);
}

// The sheet's ring-frame notes come with either ring-frame control.
TEST(MethodNotes, RingFrameNotesWithEitherControl) {
  for (const auto& [ring, heavy, shown] : {std::tuple{1, 0, true}, {0, 1, true}, {0, 0, false}}) {
    ProjectState ps;
    ps.ring_ch = static_cast<int16_t>(ring), ps.hring_ch = static_cast<int16_t>(heavy);
    const auto notes = methodNotes(ps);
    EXPECT_EQ(std::any_of(notes.begin(), notes.end(),
                          [](const std::string& n) { return n.starts_with("Ring frames"); }),
              shown);
  }
}

TEST(CheckedArithmetic, FaultsAndPrecision) {
  EXPECT_THROW(checked::dv(1.0, 0.0), CalcFault);
  EXPECT_THROW(checked::dv(0.0f, 0.0f), CalcFault);
  EXPECT_THROW(checked::csqrt(-1e-300), CalcFault);
  EXPECT_THROW(checked::cpow(-2.0, 0.5), CalcFault);
  EXPECT_DOUBLE_EQ(checked::cpow(-2.0, 2.0), 4.0);
  EXPECT_THROW(checked::sgl(1e39), CalcFault);
  EXPECT_THROW(checked::cexp(710), CalcFault);
  EXPECT_THROW(checked::index(21, 21), CalcFault);
  // a single divided by a single stays single
  static_assert(std::is_same_v<decltype(checked::dv(1.0f, 3.0f)), float>);
  static_assert(std::is_same_v<decltype(checked::dv(1.0f, 3.0)), double>);
  static_assert(std::is_same_v<decltype(checked::dv(1, 3)), double>);
  EXPECT_EQ(checked::dv(1, 4), 0.25);
}

TEST(CheckedArithmetic, PowerAndExponentialAreTheLibrarysBitForBit) {
  // a pool small enough that pairs come again, large enough that they
  // evict each other in the table of recent results; signed zeros, NaN
  // and the table's start entry among them
  std::mt19937_64 rng(7);
  std::vector<double> xs = {0.0, -0.0, 1.0, -2.0, NAN, INFINITY, 1e-300, 3e300};
  const std::vector<double> ys = {0.0, -0.0, 1.0, 2.0, 3.0, 4.0, 0.75, 1.5, -0.5, 1.0 / 3};
  std::uniform_real_distribution<double> any(-50, 5000);
  while (xs.size() < 2000) xs.push_back(any(rng));
  for (int i = 0; i < 200000; ++i) {
    const double x = xs[rng() % xs.size()], y = ys[rng() % ys.size()];
    const double got = checked::power(x, y), want = std::pow(x, y);
    ASSERT_EQ(std::memcmp(&got, &want, sizeof got), 0) << x << "^" << y;
    const double e = checked::exponential(x * y / 4000), we = std::exp(x * y / 4000);
    ASSERT_EQ(std::memcmp(&e, &we, sizeof e), 0) << "exp " << x * y / 4000;
  }
}

}  // namespace
}  // namespace orvane
