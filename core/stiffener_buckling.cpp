// Buckling of a stringer with its effective plate flange (DNV-RP-C202
// Ch 3.6.3) and the torsional buckling strength of the stringer.
#include "core/calc_driver.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"
#include "sections/stiffener_section.hpp"

namespace orvane {

using namespace checked;

void torsionalBuckling(ProjectState& ps) {
  const StiffenerProfile& p = ps.st;
  const int type = ps.cbostiff;
  const float E = ps.E;
  const double G = dv(double(E), 2.6);
  CheckTrace& c = ps.trace;

  if (ps.SigjFks < 1) {
    // the web below the flange for L and T only
    const double web = inFamily(type, {ProfileFamily::L, ProfileFamily::T}) ? p.h - p.tf : p.h;
    c.C = dv(web, ps.spanel) * std::pow(dv(ps.t, p.tw), 3.0) * csqrt(1 - ps.SigjFks);
  } else {
    c.C = 0;
  }
  c.betaT = dv(3 * c.C + 0.2, c.C + 0.2);

  // a web with one flange (the bulb flat as its equivalent angle); the I
  // stiffener is taken as a flat bar here
  if (inFamily(type, {ProfileFamily::L, ProfileFamily::T, ProfileFamily::BulbFlat})) {
    const float af3 = fin(3 * p.Af);
    const double first = dv(c.betaT * (p.Aw + sq(dv(double(p.tf), p.tw)) * p.Af), p.Aw + af3) * G *
                         sq(dv(p.tw, p.h - p.tf));
    const double second = dv(sq(kPIs) * E * p.Iz, (p.Aw / 3 + p.Af) * sq(ps.ltst));
    c.fET = sgl(first + second);
  } else {
    c.fET = sgl(G * sq(dv(p.tw, p.h)) * (c.betaT + dv(0.2 * p.h, double(ps.r))));
  }

  double fT;
  // closed sections and the I stiffener: no torsional buckling
  if (inFamily(type, {ProfileFamily::Rhs, ProfileFamily::Trapezoid, ProfileFamily::I})) {
    fT = ps.fys;
  } else {
    const double lamT = csqrt(dv(ps.fys, double(c.fET)));
    const double mu = 0.35 * (lamT - 0.6);
    const float phi = sgl(1 + mu + sq(lamT));
    if (lamT > 0.6)
      fT = dv(ps.fys * (phi - csqrt(sq(phi) - 4 * sq(lamT))), 2 * sq(lamT));
    else
      fT = ps.fys;
  }
  ps.fT = sgl(fT);
  if (ps.fT > ps.fyp) ps.fT = sgl(ps.fyp);
}

void stiffenerBuckling(ProjectState& ps, CalcEvents& ev) {
  stiffenerSection(ps, ps.cbostiff, ev);
  torsionalBuckling(ps);

  const double t = ps.t, s = ps.s, l = ps.l;
  const float E = ps.E;
  StiffenerProfile& p = ps.st;
  CheckTrace& c = ps.trace;

  if (ps.sigx >= 0)
    ps.se = sgl(s);
  else
    ps.se = sgl(dv(dv(s * ps.fks * std::fabs(ps.sigx), ps.SigjSd), double(ps.fT)));
  effectiveSection(ps);

  ps.SigaSd = dv(ps.sigx * t * s + ps.sigx * p.As, p.As + ps.se * t);
  ps.Isef = sgl(p.Ise);
  c.gamS = sgl(dv(12 * kNu2 * ps.Isef, s * std::pow(t, 3.0)));
  ps.Zl = fin(dv(dv(sq(l), double(ps.r)), t) * std::sqrt(kNu2));

  // elastic buckling strengths of the stiffened shell element
  auto strength = [&](double psi, double xi, double rho) {
    const double Ci = psi * csqrt(1 + sq(dv(rho * xi, psi)));
    return fin(dv(Ci * sq(kPIs) * E, 12 * kNu2) * sq(dv(t, l)));
  };
  const float onePlusGam = fin(1 + c.gamS);
  c.fEa_s = strength(dv(double(onePlusGam), 1 + dv(p.As, ps.se * t)), 0.702 * ps.Zl, 0.5);
  c.fEtau_s = strength(5.34 + 1.82 * cpow(dv(l, s), 4.0 / 3.0) * cpow(c.gamS, 1.0 / 3.0),
                       0.856 * cpow(ps.Zl, 3.0 / 4.0), 0.6);
  c.fEh_s = strength(2 * (1 + csqrt(onePlusGam)), 1.04 * csqrt(ps.Zl), 0.6);

  const double Siga0Sd = ps.sigx >= 0 ? 0.0 : -ps.SigaSd;
  const double Sigh0Sd = ps.SighTSd >= 0 ? 0.0 : -ps.SighTSd;
  const float absTau = std::fabs(ps.tau);

  ps.SigjSd = csqrt(sq(ps.SigaSd) - ps.SigaSd * ps.SighTSd + sq(ps.SighTSd) + 3 * sq(ps.tau));
  const double sum = dv(Siga0Sd, c.fEa_s) + dv(Sigh0Sd, c.fEh_s) + dv(double(absTau), c.fEtau_s);
  c.lamdas_s = sgl(csqrt(dv(double(ps.fT), ps.SigjSd) * sum));
  ps.fks = sgl(dv(double(ps.fT), csqrt(1 + std::pow(double(c.lamdas_s), 4.0))));
  ps.gm = 1.15;
  ps.beta = 1.0f;
  ps.UFallowStiff = ps.wsd == 0 ? ps.ufb : fin(ps.ufb * 1.0 * ps.gm);
  c.fksd_s = sgl(dv(double(ps.fks), ps.gm));
  ps.UFstiff = dv(ps.SigjSd, double(c.fksd_s));

  if (!ps.tableText) return;
  ResultTable& tab = ps.stiffTable;
  tab.label[0] = "Stiffener Buckling: (Ch 3.6.3)";
  setLine(tab, 1, "se =", format(ps.se, "0.0"), "  mm");
  setLine(tab, 2, "Isef =", format(ps.Isef, "0.000E+0"), "  mm4");
  setLine(tab, 3, "fEa =", format(c.fEa_s, "0.0"), "  MPa");
  setLine(tab, 4, "fEtau = ", format(c.fEtau_s, "0.0"), "  MPa");
  setLine(tab, 5, "fEh = ", format(c.fEh_s, "0.0"), "  MPa");
  setLine(tab, 6, "fT = ", format(ps.fT, "0.0"), "  MPa");
  setLine(tab, 7, "SighSd = ", format(ps.SighSd, "0.0"), "  MPa (only lateral pressure)");
  setLine(tab, 8, "SigjSd = ", format(ps.SigjSd, "0.0"), "  MPa ");
  setLine(tab, 9, "lamdas = ", format(c.lamdas_s, "0.00"), " ");
  setLine(tab, 10, "fks = ", format(ps.fks, "0.0"), "  MPa");
  setLine(tab, 11, "gm = ", format(ps.gm, "0.00"), " ");
  setLine(tab, 12, "fksd = ", format(c.fksd_s, "0.0"), "  MPa");
  setLine(tab, 13,
          "UF = SigjSd/fksd = " + format(ps.SigjSd, "0.0") + "/" + format(c.fksd_s, "0.0") + " = ",
          format(ps.UFstiff, "0.00"), " <= " + format(ps.UFallowStiff, "0.00"));
  tab.n = 13;
}

}  // namespace orvane
