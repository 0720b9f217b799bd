// Global column buckling of the cylinder as a tubular member
// (DNV-RP-C202 Ch 3.8; dimensioning moments after Norsok N-004 Table 6-2).
#include "core/calc_driver.hpp"
#include "model/design_basis.hpp"

namespace orvane {

using namespace checked;

void columnCheck(ProjectState& ps) {
  CheckTrace& c = ps.trace;
  ps.sigy = 0;
  ps.tau = 0;

  const float r = ps.r, E = ps.E;
  const double t = ps.t, L = ps.L;

  // section
  c.Do = fin(2 * r + t);
  c.Di = sgl(2 * r - t);
  c.A = sgl(t * fin(r * 6.283186f));
  c.I = fin(kPIs * (std::pow(c.Do, 4.0) - std::pow(double(c.Di), 4.0)) / 64);
  c.i = csqrt(dv(c.I, double(c.A)));
  c.W = sgl(kPIs * sq(r) * t);

  // end-moment stresses (kNm to MPa)
  c.sM1a = fin(dv(ps.M1a, double(c.W)) * 1000000);
  c.sM1b = sgl(dv(ps.M1b, double(c.W)) * 1000000);
  c.sM2a = fin(dv(ps.M2a, double(c.W)) * 1000000);
  c.sM2b = sgl(double(dv(ps.M2b, c.W)) * 1000000);
  const double avg1 = (c.sM1a + c.sM1b) / 2;
  const float avg2 = sgl((c.sM2a + c.sM2b) / 2);

  double sM1max;
  if (std::fabs(c.sM1a) > std::fabs(c.sM1b)) {
    sM1max = std::fabs(c.sM1a);
    c.psi1 = dv(double(c.sM1b), c.sM1a);
  } else {
    sM1max = std::fabs(c.sM1b);
    c.psi1 = c.sM1b == 0 ? 0.0 : dv(c.sM1a, double(c.sM1b));
  }
  float sM2max;
  if (std::fabs(c.sM2a) > std::fabs(c.sM2b)) {
    sM2max = sgl(std::fabs(c.sM2a));
    c.psi2 = sgl(dv(double(c.sM2b), c.sM2a));
  } else {
    sM2max = std::fabs(c.sM2b);
    c.psi2 = c.sM2b == 0 ? 0.0f : sgl(dv(c.sM2a, double(c.sM2b)));
  }

  // bending stress for the shell check: the larger signed mean, or the
  // resultant of both axes when that is larger; compressive
  ps.SigmSd = sgl(avg1);
  if (avg2 > ps.SigmSd) ps.SigmSd = avg2;
  const double resultant = (std::fabs(avg1) + std::fabs(avg2)) / std::sqrt(2.0);
  if (resultant > ps.SigmSd) ps.SigmSd = sgl(resultant);
  ps.SigmSd = -ps.SigmSd;

  unstiffenedCylinderCheck(ps);

  if (ps.odmom == 0) {
    c.Cm1 = 1;
    c.Cm2 = 1;
  } else {
    c.Cm1 = 0.6 + 0.4 * c.psi1;
    c.Cm2 = sgl(0.6 + 0.4 * c.psi2);
  }
  const float cmS2 = fin(c.Cm2 * sM2max);
  c.M1Sd = fin(c.Cm1 * sM1max * c.W / 1000000);
  c.M2Sd = sgl(fin(cmS2 * c.W) / 1000000.0);

  // local buckling strength under the circumferential stress
  const double sh = ps.SighTSd, fy = ps.fyp, fEa = ps.fEa;
  const double fEh = ps.fEh;
  const double a = 1 + dv(sq(fy), sq(fEa));
  const double b = (dv(2 * sq(fy), fEa * fEh) - 1) * sh;
  const float cc = sgl(sq(sh) + dv(sq(fy) * sq(sh), sq(fEh)) - sq(fy));
  c.fak = dv(b + csqrt(sq(b) - 4 * a * cc), 2 * a);
  c.fakd = sgl(dv(c.fak, ps.gm));

  // column buckling, axis 1 (double) and axis 2 (single)
  const double root = csqrt(dv(c.fak, double(E)));
  c.lamda1 = fin(dv(ps.k1 * L, kPIs * c.i) * root);
  const double fkc1 =
      c.lamda1 <= 1.34 ? (1 - 0.28 * sq(c.lamda1)) * c.fak : dv(0.9, sq(c.lamda1)) * c.fak;
  c.fkcd1 = dv(fkc1, ps.gm);
  c.fE1 = dv(sq(kPIs) * E * c.I, sq(ps.k1 * L) * c.A);

  c.lamda2 = sgl(dv(ps.k2 * L, kPIs * c.i) * root);
  const double fkc2 =
      c.lamda2 <= 1.34f ? (1 - 0.28 * sq(c.lamda2)) * c.fak : dv(0.9, sq(c.lamda2)) * c.fak;
  c.fkcd2 = sgl(dv(fkc2, ps.gm));
  c.fE2 = sgl(dv(sq(kPIs) * E * c.I, sq(ps.k2 * L) * c.A));

  // usage factors
  const double S = csqrt(sq(dv(c.Cm1 * sM1max, 1 - dv(ps.Siga0Sd, c.fE1))) +
                         sq(dv(double(cmS2), 1 - dv(ps.Siga0Sd, double(c.fE2)))));
  const float invFakd = dv(1.0f, c.fakd);
  c.UF1 = fin(dv(ps.Siga0Sd, c.fkcd1) + S * invFakd);
  c.UF2 = sgl(dv(ps.Siga0Sd, double(c.fkcd2)) + S * invFakd);

  if (ps.wsd != 0) {
    ps.beta = 1.0f;
    ps.gm = 1.15;
    ps.UFallow = fin(ps.ufb * ps.beta * ps.gm);
  } else {
    ps.UFallow = ps.ufb;
  }

  if (!ps.tableText) return;
  ResultTable& tab = ps.stiffTable;
  const std::string allow = " <= " + format(ps.UFallow, "0.00");
  tab.label[0] = "Global Buckling: (Ch 3.8)";
  setLine(tab, 1, "fkcd1 = ", format(c.fkcd1, "0.0"), " MPa (Column buckl. axis 1)");
  setLine(tab, 2, "lamda1 = ", format(c.lamda1, "0.00"), "");
  setLine(tab, 3, "fkcd2 = ", format(c.fkcd2, "0.0"), " MPa (Column buckl. axis 2)");
  setLine(tab, 4, "lamda2 = ", format(c.lamda2, "0.00"), "");
  setLine(tab, 5, "fakd = ", format(c.fakd, "0.0"), " MPa (local buckling)");
  setLine(tab, 6, "fE1 = ", format(c.fE1, "0.0"), " MPa (Euler buckling axis 1)");
  setLine(tab, 7, "fE2 = ", format(c.fE2, "0.0"), " MPa (Euler buckling axis 2)");
  setLine(tab, 8, "gm = ", format(ps.gm, "0.00"), " ");
  setLine(tab, 9, "Siga0Sd = ", format(ps.Siga0Sd, "0.0"), " MPa");
  setLine(tab, 10, "M1Sd/M2Sd = ", format(c.M1Sd, "0.0") + "/" + format(c.M2Sd, "0.0"),
          ps.odmom == 1 ? " kNm (Reduced value)" : " kNm (Max value)");
  setLine(tab, 11, "Sigm1Sd = ", format(c.Cm1 * sM1max, "0.0"), " MPa");
  setLine(tab, 12, "Sigm2Sd = ", format(cmS2, "0.0"), " MPa  ");
  setLine(tab, 13, "UF1 = ", format(c.UF1, "0.00"), allow);
  setLine(tab, 14, "UF2 =  ", format(c.UF2, "0.00"), allow);
  tab.n = 14;
}

}  // namespace orvane
