// The driver: choice of checks by cylinder type, stale values, faults.
#include <gtest/gtest.h>

#include "core/calc_driver.hpp"
#include "core/checked.hpp"
#include "core/format.hpp"
#include "started_state.hpp"

namespace orvane {
namespace {

using test::startedState;

TEST(CalcDriver, NewProjectDefaults) {
  ProjectState ps;
  ps.cyltype = 0;
  ps.ringRows.t = 7;
  assignDefaults(ps);
  EXPECT_EQ(ps.cyltype, 2);
  EXPECT_EQ(ps.r, 3333.0f);
  EXPECT_EQ(ps.pd, -0.3f);
  EXPECT_EQ(double(ps.pd), -0.30000001192092896);
  EXPECT_EQ(ps.ring_ch, 1);
  EXPECT_EQ(ps.hring_ch, 0);
  EXPECT_EQ(ps.ringRows.t, 7);  // ring-frame table rows are kept
  EXPECT_EQ(ps.ringBuilt.fb.h, 200);
  EXPECT_EQ(ps.stiffBuilt.fb.h, 100);
  EXPECT_EQ(ps.fileName, "New File");
}

TEST(CalcDriver, ChoosesTheShellCheckByRingSpacing) {
  ProjectState ps = startedState();
  RecordingEvents ev;
  ps.l = ps.s;  // l = s: still the curved panel
  calcDriver(ps, ev);
  EXPECT_EQ(ps.shellTable.label[0], "Shell Buckling: (Ch 3.3.2)");
  // a column run leaves a bending stress; l < s clears it again
  ps.cyltype = 3;
  calcDriver(ps, ev);
  EXPECT_NE(ps.SigmSd, 0.0f);
  ps.cyltype = 2;
  ps.l = 500;
  calcDriver(ps, ev);
  EXPECT_EQ(ps.shellTable.label[0], "Shell Buckling: (Ch 3.4.2)");
  EXPECT_EQ(ps.SigmSd, 0.0f);
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
  ps.sigx = 0;
  ps.sigy = 0;
  ps.tau = 0;
  ps.pd = 0;
  RecordingEvents ev;
  try {
    calcDriver(ps, ev);
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
  RecordingEvents ev;
  EXPECT_THROW(calcDriver(ps, ev), CalcFault);
}

TEST(CalcDriver, ColumnModeClearsStressesAndKeepsThemCleared) {
  ProjectState ps = startedState();
  ps.cyltype = 3;
  RecordingEvents ev;
  calcDriver(ps, ev);
  EXPECT_EQ(ps.sigy, 0.0f);
  EXPECT_EQ(ps.tau, 0.0f);
  EXPECT_EQ(ps.shellTable.label[3], "fEm = ");
  ps.cyltype = 0;
  calcDriver(ps, ev);
  EXPECT_EQ(ps.tau, 0.0f);
  EXPECT_EQ(ps.shellTable.label[3], "fEtau = ");
}

TEST(CalcDriver, TablesAreNeverCleared) {
  ProjectState ps = startedState();
  // the stiffener check wrote 13 lines; the column table has 14, and the
  // stiffener check afterwards leaves line 14 as the column check wrote it
  ps.cyltype = 3;
  RecordingEvents ev;
  calcDriver(ps, ev);
  ps.cyltype = 2;
  calcDriver(ps, ev);
  EXPECT_EQ(ps.stiffTable.n, 13);
  EXPECT_EQ(ps.stiffTable.label[14], "UF2 =  ");
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

}  // namespace
}  // namespace orvane
