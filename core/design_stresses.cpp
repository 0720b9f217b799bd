// Design stresses read by every check.
#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"
#include "sections/ring_section.hpp"

namespace orvane {

using namespace checked;

void designStresses(ProjectState& ps, CalcEvents& ev, const RunOptions& run) {
  const double rt = csqrt(ps.r * ps.t);
  ps.leo = 1.56 * rt;
  if (ps.l < ps.leo) ps.leo = ps.l;
  CalcTrace* const tr = run.trace;
  const char* const ref = tr ? shellChapter(ps) : "";
  if (tr) {
    tr->check("stresses", "Design stresses", ref);
    tr->value("stresses.Zl", "Z_l", ref, "$0^2/($1·$2)·√(1 − ν^2)",
              {{"l", ps.l}, {"r", ps.r}, {"t", ps.t}}, ps.Zl, "");
    tr->value("stresses.leo", "l_{eo}", ref, "min($0, 1.56·√($1·$2))",
              {{"l", ps.l}, {"r", ps.r}, {"t", ps.t}}, ps.leo, "mm");
  }

  // The hyperbolic functions are built from exponentials on every run; a very
  // long shell segment overflows them, which ends the run.
  const double b = dv(ps.l, 1.56 * rt);
  const double ep = cexp(b), em = cexp(-b);
  const double sinhB = (ep - em) / 2;
  const double coshB = (ep + em) / 2;
  const double sinh2B = (cexp(2 * b) - cexp(-2 * b)) / 2;

  const float pdr = fin(ps.pd * ps.r);
  if (ps.cyltype != code(CylinderType::RingStiffened)) {
    ps.SighSd = dv(double(pdr), ps.t);
    if (tr)
      tr->value("stresses.SighSd", "σ_{h,Sd}", ref, "$0·$1/$2",
                {{"p_d", ps.pd}, {"r", ps.r}, {"t", ps.t}}, ps.SighSd, "MPa", "0.0");
  } else {
    ringSectionProps(ps, ps.cboring, ev, run.texts);
    const double alpha = dv(ps.rg.Ag, ps.leo * ps.t);
    double zeta = dv(2 * (sinhB * std::cos(b) + coshB * std::sin(b)), sinh2B + std::sin(2 * b));
    if (zeta < 0) zeta = 0;
    const double first = sgl(dv(double(pdr), ps.t));
    ps.SighSd =
        fin(first - (dv(alpha * zeta, alpha + 1)) * (dv(double(pdr), ps.t) - 0.3 * ps.sigx));
    if (tr) {
      tr->value("stresses.beta", "β", ref, "$0/(1.56·√($1·$2))",
                {{"l", ps.l}, {"r", ps.r}, {"t", ps.t}}, b, "");
      tr->value("stresses.alpha", "α", ref, "$0/($1·$2)",
                {{"A_R", ps.rg.Ag}, {"l_{eo}", ps.leo}, {"t", ps.t}}, alpha, "");
      tr->value("stresses.zeta", "ζ", ref,
                "max(0, 2·(sinh β·cos β + cosh β·sin β)/(sinh 2β + sin 2β)), β = $0", {{"β", b}},
                zeta, "");
      tr->value(
          "stresses.SighSd", "σ_{h,Sd}", ref, "$0·$1/$2 − $3·$4/($3 + 1)·($0·$1/$2 − 0.3·$5)",
          {{"p_d", ps.pd}, {"r", ps.r}, {"t", ps.t}, {"α", alpha}, {"ζ", zeta}, {"σ_x", ps.sigx}},
          ps.SighSd, "MPa", "0.0");
    }
  }
  ps.SighTSd = fin(ps.SighSd + ps.sigy);
  if (tr)
    tr->value("stresses.SighTSd", "σ_{hT,Sd}", ref, "$0 + $1",
              {{"σ_{h,Sd}", ps.SighSd}, {"σ_y", ps.sigy}}, ps.SighTSd, "MPa");

  if (ps.cyltype > code(CylinderType::StringerStiffened)) {  // the column
    const float twoPiR = fin(6.283186f * ps.r);
    ps.SigaSd = dv(1000 * ps.N, twoPiR * ps.t);
    ps.sigx = ps.SigaSd;
    if (tr)
      tr->value("stresses.SigaSd", "σ_{a,Sd}", ref, "1000·$0/(2π·$1·$2)",
                {{"N", ps.N}, {"r", ps.r}, {"t", ps.t}}, ps.SigaSd, "MPa");
  } else {
    ps.SigaSd = ps.sigx;
    if (tr)
      tr->value("stresses.SigaSd", "σ_{a,Sd}", ref, "$0", {{"σ_x", ps.sigx}}, ps.SigaSd, "MPa");
  }
}

}  // namespace orvane
