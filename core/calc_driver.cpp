#include "core/calc_driver.hpp"

#include "core/calc_trace.hpp"

#include "model/codes.hpp"
#include "model/design_basis.hpp"
#include "sections/materials.hpp"

namespace orvane {

using namespace checked;

const char* shellChapter(const ProjectState& ps) {
  return ps.cyltype == code(CylinderType::StringerStiffened) && !(ps.l < ps.s) ? "Ch 3.3.2"
                                                                               : "Ch 3.4.2";
}

bool stiffenerNote(const ProjectState& ps) {
  // compared in double precision with the single radius
  return ps.s / ps.t > 3 * std::sqrt(ps.r / ps.t);
}

namespace {

// Runs one step of the driver; a fault names the step that raised it.
template <typename F>
void step(const char* name, F&& f) {
  try {
    f();
  } catch (const CalcFault& e) {
    throw CalcFault(std::string(name) + ": " + e.what());
  }
}

}  // namespace

void calcDriver(ProjectState& ps, CalcEvents& ev, const RunOptions& run) {
  step("RingLengthCheck", [&] { ringLengthCheck(ps, ev, run); });
  step("curvature parameter", [&] { ps.Zl = fin(dv(sq(ps.l), ps.r * ps.t) * std::sqrt(kNu2)); });
  step("DesignStresses", [&] { designStresses(ps, ev, run); });
  step("plate material", [&] { lookupPlate(ps, ps.matp); });

  switch (ps.cyltype) {
    case code(CylinderType::Unstiffened):
    case code(CylinderType::RingStiffened):
      ps.SigmSd = 0;
      step("shell check (Ch 3.4.2)", [&] { unstiffenedCylinderCheck(ps, run); });
      break;
    case code(CylinderType::StringerStiffened): {
      ps.SigmSd = 0;
      bool ringsCloser = false;  // ring frames closer than the stringers
      double ls = 0;
      step("shell check", [&] {
        ls = dv(ps.l, ps.s);
        ringsCloser = ls < 1;
      });
      if (CalcTrace* tr = run.trace)
        tr->branch("shell.choice", ringsCloser ? "Ch 3.4.2" : "Ch 3.3.2", "l/s = $0 < 1",
                   {{"l/s", ls}}, ringsCloser,
                   "ring frames closer than the stringers: the shell between two ring frames is "
                   "checked as an unstiffened cylinder (Ch 3.4.2)",
                   "the curved panel between two stringers is checked (Ch 3.3.2), with the panel "
                   "width s");
      if (ringsCloser) {
        step("shell check (Ch 3.4.2)", [&] { unstiffenedCylinderCheck(ps, run); });
      } else {
        ps.spanel = ps.s;
        step("shell check (Ch 3.3.2)", [&] { curvedPanelCheck(ps, run); });
      }
      break;
    }
    default:
      break;  // the column check runs the cylinder check itself
  }
  const bool column = ps.cyltype == code(CylinderType::Column);
  if (run.last == RunOptions::Last::Shell && !column) return;
  if (ps.cyltype == code(CylinderType::StringerStiffened)) {
    step("stiffener material", [&] { lookupStiffener(ps, ps.mats); });
    step("stiffener check (Ch 3.6.3)", [&] { stiffenerBuckling(ps, ev, run); });
  }
  if (run.last == RunOptions::Last::Stiffener && !column) return;
  if (ps.cyltype == code(CylinderType::Column)) {
    step("stiffener material", [&] { lookupStiffener(ps, ps.mats); });
    step("column check (Ch 3.8)", [&] { columnCheck(ps, run); });
  }
  step("ring-frame material", [&] { lookupRing(ps, ps.matg); });
  if (ps.ring_ch == 1) step("ring check (Ch 3.5.2)", [&] { panelRingBuckling(ps, ev, run); });
  if (ps.hring_ch == 1) step("heavy ring frame", [&] { heavyRing(ps, run); });
}

}  // namespace orvane
