// Shell buckling of the plate: unstiffened cylinder (DNV-RP-C202 Ch 3.4.2)
// and curved panel between stringers (Ch 3.3.2).
#include "core/calc_driver.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"

namespace orvane {

using namespace checked;

namespace {

// Elastic buckling strength of one stress case: C = psi*sqrt(1+(rho*xi/psi)^2)
// rounded to single, fE = ((pi^2*C*E)/12)/(1-0.3^2)*(t/b)^2.
double elasticStrength(double psi, double xi, double rho, float E, double t, double b) {
  const float C = sgl(psi * csqrt(1 + sq(dv(rho * xi, psi))));
  return fin(((sq(kPIs) * C * E) / 12) / kNu2 * sq(dv(t, b)));
}

// The part of the check after the slenderness: fks, material and WSD
// factors, design strength, usage factor and the ten table lines.
void finishShellCheck(ProjectState& ps, bool cylinder, double fE2, double fE3) {
  ps.fks = sgl(dv(ps.fyp, csqrt(1 + std::pow(double(ps.lamdas), 4.0))));
  ps.SigjFks = dv(ps.SigjSd, double(ps.fks));
  if (ps.wsd == 0) {
    if (ps.lamdas < 0.5)
      ps.gm = 1.15;
    else if (ps.lamdas <= 1.0)
      ps.gm = 0.85 + 0.60 * ps.lamdas;
    else
      ps.gm = 1.45;
    ps.UFallow = ps.ufb;
  } else {
    ps.gm = 1.15;
    if (ps.lamdas < 0.5)
      ps.beta = 1.0f;
    else if (ps.lamdas <= 1.0)
      ps.beta = sgl(1.2 - 0.4 * ps.lamdas);
    else
      ps.beta = 0.8f;
    ps.UFallow = fin(ps.ufb * ps.beta * ps.gm);
  }
  const float fksd = sgl(dv(double(ps.fks), ps.gm));
  ps.UF = dv(ps.SigjSd, double(fksd));

  if (!ps.tableText) return;
  ResultTable& tab = ps.shellTable;
  tab.label[0] = cylinder ? "Shell Buckling: (Ch 3.4.2)" : "Shell Buckling: (Ch 3.3.2)";
  setLine(tab, 1, "fEa = ", format(ps.fEa, "0.0"), "  MPa");
  if (cylinder) {
    setLine(tab, 2, "fEh = ", format(fE2, "0.0"), "  MPa");
    setLine(tab, 3,
            ps.cyltype == code(CylinderType::Column) ? "fEm = " : "fEtau = ", format(fE3, "0.0"),
            "  MPa");
  } else {
    setLine(tab, 2, "fEtau = ", format(fE2, "0.0"), "  MPa");
    setLine(tab, 3, "fEh = ", format(fE3, "0.0"), "  MPa");
  }
  setLine(tab, 4, "SighSd = ", format(ps.SighSd, "0.0"), "  MPa (only lateral pressure)");
  setLine(tab, 5, "SigjSd = ", format(ps.SigjSd, "0.0"), "  MPa ");
  setLine(tab, 6, "lamdas = ", format(ps.lamdas, "0.00"), " ");
  setLine(tab, 7, "fks = ", format(ps.fks, "0.0"), "  MPa");
  setLine(tab, 8, "gm = ", format(ps.gm, "0.00"), " ");
  setLine(tab, 9, "fksd = ", format(fksd, "0.0"), "  MPa");
  setLine(tab, 10,
          "UF = SigjSd/fksd = " + format(ps.SigjSd, "0.0") + "/" + format(fksd, "0.0") + " = ",
          format(ps.UF, "0.00"), " <= " + format(ps.UFallow, "0.00"));
  tab.n = 10;
}

double compressive(double stress) { return stress >= 0 ? 0.0 : -stress; }

}  // namespace

void unstiffenedCylinderCheck(ProjectState& ps) {
  const double l = ps.l, t = ps.t;
  const float r = ps.r, E = ps.E;

  const double rhoA = 0.5 * cpow(1 + dv(r, 150 * t), -0.5);
  ps.fEa = elasticStrength(1, 0.702 * ps.Zl, rhoA, E, t, l);
  const double rhoM = 0.5 * cpow(1 + dv(r, 300 * t), -0.5);
  const double fEm = elasticStrength(1, 0.702 * ps.Zl, rhoM, E, t, l);

  double fEtau = elasticStrength(5.34, 0.856 * cpow(ps.Zl, 0.75), 0.6, E, t, l);
  if (dv(l, r) > 3.85 * csqrt(dv(r, t))) fEtau = fin(0.25 * E * cpow(dv(t, r), 1.5));

  ps.fEh = sgl(elasticStrength(4, 1.04 * csqrt(ps.Zl), 0.6, E, t, l));
  if (dv(l, r) > 2.25 * csqrt(dv(r, t))) ps.fEh = sgl(0.25 * E * sq(dv(t, r)));

  ps.Siga0Sd = ps.sigx >= 0 ? 0.0 : -ps.SigaSd;
  const float absTau = std::fabs(ps.tau);
  const double Sigh0Sd = compressive(ps.SighTSd);
  const float Sigm0Sd = ps.SigmSd < 0 ? -ps.SigmSd : 0.0f;

  const double am = ps.SigaSd + ps.SigmSd;
  ps.SigjSd = csqrt(sq(am) - am * ps.SighTSd + sq(ps.SighTSd) + 3 * sq(absTau));
  const double sum = dv(ps.Siga0Sd, ps.fEa) + dv(double(Sigm0Sd), fEm) +
                     dv(Sigh0Sd, double(ps.fEh)) + dv(double(absTau), fEtau);
  ps.lamdas = sgl(csqrt(dv(ps.fyp, ps.SigjSd) * sum));
  finishShellCheck(ps, true, ps.fEh, ps.cyltype == code(CylinderType::Column) ? fEm : fEtau);
}

void curvedPanelCheck(ProjectState& ps) {
  const double l = ps.l, t = ps.t, sp = ps.spanel;
  const float r = ps.r, E = ps.E;
  const double Zs = fin(dv(sq(sp), r * t) * std::sqrt(kNu2));
  const double sl = dv(sp, l);

  const double rhoA = 0.5 * cpow(1 + dv(r, 150 * t), -0.5);
  ps.fEa = elasticStrength(4, 0.702 * Zs, rhoA, E, t, sp);
  const double fEtau =
      elasticStrength(5.34 + 4 * sq(sl), 0.856 * csqrt(sl) * cpow(Zs, 0.75), 0.6, E, t, sp);
  ps.fEh = sgl(elasticStrength(sq(1 + sq(sl)), 1.04 * sl * csqrt(Zs), 0.6, E, t, sp));

  const double Siga0Sd = ps.sigx >= 0 ? 0.0 : -ps.SigaSd;  // the stored value is kept
  const float absTau = std::fabs(ps.tau);
  const double Sigh0Sd = compressive(ps.SighTSd);

  ps.SigjSd = csqrt(sq(ps.SigaSd) - ps.SigaSd * ps.SighTSd + sq(ps.SighTSd) + 3 * sq(absTau));
  const double sum = dv(Siga0Sd, ps.fEa) + dv(Sigh0Sd, double(ps.fEh)) + dv(double(absTau), fEtau);
  ps.lamdas = sgl(csqrt(dv(ps.fyp, ps.SigjSd) * sum));
  finishShellCheck(ps, false, fEtau, ps.fEh);
}

}  // namespace orvane
