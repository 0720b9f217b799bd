// Design stresses read by every check.
#include "core/calc_driver.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"
#include "sections/ring_section.hpp"

namespace orvane {

using namespace checked;

void designStresses(ProjectState& ps, CalcEvents& ev) {
  const double rt = csqrt(ps.r * ps.t);
  ps.leo = 1.56 * rt;
  if (ps.l < ps.leo) ps.leo = ps.l;

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
  } else {
    ringSectionProps(ps, ps.cboring, ev);
    const double alpha = dv(ps.rg.Ag, ps.leo * ps.t);
    double zeta = dv(2 * (sinhB * std::cos(b) + coshB * std::sin(b)), sinh2B + std::sin(2 * b));
    if (zeta < 0) zeta = 0;
    const double first = sgl(dv(double(pdr), ps.t));
    ps.SighSd =
        fin(first - (dv(alpha * zeta, alpha + 1)) * (dv(double(pdr), ps.t) - 0.3 * ps.sigx));
  }
  ps.SighTSd = fin(ps.SighSd + ps.sigy);

  if (ps.cyltype > code(CylinderType::StringerStiffened)) {  // the column
    const float twoPiR = fin(6.283186f * ps.r);
    ps.SigaSd = dv(1000 * ps.N, twoPiR * ps.t);
    ps.sigx = ps.SigaSd;
  } else {
    ps.SigaSd = ps.sigx;
  }
}

}  // namespace orvane
