// Buckling of a stringer with its effective plate flange (DNV-RP-C202
// Ch 3.6.3) and the torsional buckling strength of the stringer.
#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"
#include "sections/stiffener_section.hpp"

namespace orvane {

using namespace checked;

void torsionalBuckling(ProjectState& ps, const RunOptions& run) {
  const StiffenerProfile& p = ps.st;
  const int type = ps.cbostiff;
  const float E = ps.E;
  const double G = dv(double(E), 2.6);
  CheckTrace& c = ps.trace;
  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.6.3";

  if (ps.SigjFks < 1) {
    // the web below the flange for L and T only
    const double web = inFamily(type, {ProfileFamily::L, ProfileFamily::T}) ? p.h - p.tf : p.h;
    c.C = dv(web, ps.spanel) * checked::power(dv(ps.t, p.tw), 3.0) * csqrt(1 - ps.SigjFks);
    if (tr)
      tr->value("stiff.C", "C", ref, "$0/$1·($2/$3)^3·√(1 − $4)",
                {{"h_w", web},
                 {"s", ps.spanel},
                 {"t", ps.t},
                 {"t_w", p.tw},
                 {"σ_{j,Sd}/f_{ks}", ps.SigjFks}},
                c.C, "");
  } else {
    c.C = 0;
  }
  c.betaT = dv(3 * c.C + 0.2, c.C + 0.2);
  if (tr) {
    tr->branch("stiff.CRule", ref, "σ_{j,Sd}/f_{ks} = $0 < 1", {{"σ_{j,Sd}/f_{ks}", ps.SigjFks}},
               ps.SigjFks < 1, "the plate restrains the stiffener: C as above",
               "the plate gives no restraint: C = 0");
    tr->value("stiff.betaT", "β_T", ref, "(3·$0 + 0.2)/($0 + 0.2)", {{"C", c.C}}, c.betaT, "");
  }

  // a web with one flange (the bulb flat as its equivalent angle); the I
  // stiffener is taken as a flat bar here
  if (inFamily(type, {ProfileFamily::L, ProfileFamily::T, ProfileFamily::BulbFlat})) {
    const float af3 = fin(3 * p.Af);
    const double first = dv(c.betaT * (p.Aw + sq(dv(double(p.tf), p.tw)) * p.Af), p.Aw + af3) * G *
                         sq(dv(p.tw, p.h - p.tf));
    const double second = dv(sq(kPIs) * E * p.Iz, (p.Aw / 3 + p.Af) * sq(ps.ltst));
    c.fET = sgl(first + second);
    if (tr)
      tr->value(
          "stiff.fET", "f_{ET}", ref,
          "$0·($1 + ($2/$3)^2·$4)/($1 + 3·$4)·$8·($3/($5 − $2))^2 + π^2·$9·$6/(($1/3 + $4)·$7^2)",
          {{"β_T", c.betaT},
           {"A_w", p.Aw},
           {"t_f", p.tf},
           {"t_w", p.tw},
           {"A_f", p.Af},
           {"h", p.h},
           {"I_z", p.Iz},
           {"l_T", ps.ltst},
           {"G", G},
           {"E", E}},
          c.fET, "MPa");
  } else {
    c.fET = sgl(G * sq(dv(p.tw, p.h)) * (c.betaT + dv(0.2 * p.h, double(ps.r))));
    if (tr)
      tr->value("stiff.fET", "f_{ET}", ref, "$0·($1/$2)^2·($3 + 0.2·$2/$4)",
                {{"G", G}, {"t_w", p.tw}, {"h", p.h}, {"β_T", c.betaT}, {"r", ps.r}}, c.fET, "MPa");
  }

  double fT;
  // closed sections and the I stiffener: no torsional buckling
  if (inFamily(type, {ProfileFamily::Rhs, ProfileFamily::Trapezoid, ProfileFamily::I})) {
    fT = ps.fys;
    if (tr)
      tr->note("stiff.fTClosed", ref,
               "closed sections and the I stiffener: no torsional buckling, f_T = f_y of the "
               "stiffener");
  } else {
    const double lamT = csqrt(dv(ps.fys, double(c.fET)));
    const double mu = 0.35 * (lamT - 0.6);
    const float phi = sgl(1 + mu + sq(lamT));
    if (lamT > 0.6)
      fT = dv(ps.fys * (phi - csqrt(sq(phi) - 4 * sq(lamT))), 2 * sq(lamT));
    else
      fT = ps.fys;
    if (tr) {
      tr->value("stiff.lamT", "λ̄_T", ref, "√($0/$1)", {{"f_y", ps.fys}, {"f_{ET}", c.fET}}, lamT,
                "");
      tr->value("stiff.mu", "μ", ref, "0.35·($0 − 0.6)", {{"λ̄_T", lamT}}, mu, "");
      tr->value("stiff.phi", "Φ", ref, "1 + $0 + $1^2", {{"μ", mu}, {"λ̄_T", lamT}}, phi, "");
      tr->branch("stiff.fTRule", ref, "λ̄_T = $0 > 0.6", {{"λ̄_T", lamT}}, lamT > 0.6,
                 "f_T = f_y·(Φ − √(Φ^2 − 4·λ̄_T^2))/(2·λ̄_T^2)", "f_T = f_y");
    }
  }
  ps.fT = sgl(fT);
  if (ps.fT > ps.fyp) ps.fT = sgl(ps.fyp);
  if (tr)
    tr->value("stiff.fT", "f_T", ref, "min($0, $1)", {{"f_T", fT}, {"f_{yp}", ps.fyp}}, ps.fT,
              "MPa", "0.0");
}

void stiffenerBuckling(ProjectState& ps, CalcEvents& ev, const RunOptions& run) {
  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.6.3";
  if (tr) tr->check("stiff", "Stiffener Buckling: (Ch 3.6.3)", ref);
  stiffenerSection(ps, ps.cbostiff, ev, run.texts);
  if (tr) {
    const StiffenerProfile& sp = ps.st;
    tr->value("stiff.As", "A_s", ref, "area of the stiffener section", {}, sp.As, "mm^2");
    tr->value("stiff.Aw", "A_w", ref, "area of the web", {}, sp.Aw, "mm^2");
    tr->value("stiff.Af", "A_f", ref, "area of the flange", {}, sp.Af, "mm^2");
    tr->value("stiff.Iz", "I_z", ref, "moment of inertia about the web axis", {}, sp.Iz, "mm^4");
  }
  torsionalBuckling(ps, run);

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
  c.gamS = sgl(dv(12 * kNu2 * ps.Isef, s * checked::power(t, 3.0)));
  ps.Zl = fin(dv(dv(sq(l), double(ps.r)), t) * std::sqrt(kNu2));
  if (tr) {
    if (ps.sigx >= 0)
      tr->value("stiff.se", "s_e", ref, "$0 (σ_x ≥ 0)", {{"s", s}}, ps.se, "mm", "0.0");
    else
      tr->value(
          "stiff.se", "s_e", ref, "$0·$1·|$2|/$3/$4",
          {{"s", s}, {"f_{ks}", ps.fks}, {"σ_x", ps.sigx}, {"σ_{j,Sd}", ps.SigjSd}, {"f_T", ps.fT}},
          ps.se, "mm", "0.0");
    tr->value("stiff.SigaSd", "σ_{a,Sd}", ref, "$0·($1·$2 + $3)/($3 + $4·$1)",
              {{"σ_x", ps.sigx}, {"t", t}, {"s", s}, {"A_s", p.As}, {"s_e", ps.se}}, ps.SigaSd,
              "MPa");
    tr->value("stiff.Isef", "I_{sef}", ref, "moment of inertia of stiffener and plate flange s_e",
              {}, ps.Isef, "mm^4", "0.000E+0");
    tr->value("stiff.gamS", "γ_s", ref, "12·(1 − ν^2)·$0/($1·$2^3)",
              {{"I_{sef}", ps.Isef}, {"s", s}, {"t", t}}, c.gamS, "");
    tr->value("stiff.Zl", "Z_l", ref, "$0^2/$1/$2·√(1 − ν^2)", {{"l", l}, {"r", ps.r}, {"t", t}},
              ps.Zl, "");
  }

  // elastic buckling strengths of the stiffened shell element
  double psiLast = 0, xiLast = 0, rhoLast = 0, CLast = 0;
  auto strength = [&](double psi, double xi, double rho) {
    const double Ci = psi * csqrt(1 + sq(dv(rho * xi, psi)));
    psiLast = psi, xiLast = xi, rhoLast = rho, CLast = Ci;
    return fin(dv(Ci * sq(kPIs) * E, 12 * kNu2) * sq(dv(t, l)));
  };
  auto record = [&](const char* idPsi, const char* psiFormula, const char* idC, const char* idF,
                    const char* symF, double fE) {
    tr->value(idPsi, "ψ", ref, psiFormula,
              {{"γ_s", c.gamS},
               {"A_s", p.As},
               {"s_e", ps.se},
               {"t", t},
               {"l", l},
               {"s", s},
               {"Z_l", ps.Zl}},
              psiLast, "");
    tr->value(idC, "C", ref, "$0·√(1 + ($1·$2/$0)^2)",
              {{"ψ", psiLast}, {"ρ", rhoLast}, {"ξ", xiLast}}, CLast, "");
    tr->value(idF, symF, ref, "$0·π^2·$1/(12·(1 − ν^2))·($2/$3)^2",
              {{"C", CLast}, {"E", E}, {"t", t}, {"l", l}}, fE, "MPa", "0.0");
  };
  const float onePlusGam = fin(1 + c.gamS);
  c.fEa_s = strength(dv(double(onePlusGam), 1 + dv(p.As, ps.se * t)), 0.702 * ps.Zl, 0.5);
  if (tr)
    record("stiff.psiA", "(1 + $0)/(1 + $1/($2·$3)), ξ = 0.702·$6, ρ = 0.5", "stiff.CA",
           "stiff.fEa", "f_{Ea}", c.fEa_s);
  c.fEtau_s = strength(5.34 + 1.82 * cpow(dv(l, s), 4.0 / 3.0) * cpow(c.gamS, 1.0 / 3.0),
                       0.856 * cpow(ps.Zl, 3.0 / 4.0), 0.6);
  if (tr)
    record("stiff.psiTau", "5.34 + 1.82·($4/$5)^{4/3}·$0^{1/3}, ξ = 0.856·$6^{3/4}, ρ = 0.6",
           "stiff.CTau", "stiff.fEtau", "f_{Eτ}", c.fEtau_s);
  c.fEh_s = strength(2 * (1 + csqrt(onePlusGam)), 1.04 * csqrt(ps.Zl), 0.6);
  if (tr)
    record("stiff.psiH", "2·(1 + √(1 + $0)), ξ = 1.04·√$6, ρ = 0.6", "stiff.CH", "stiff.fEh",
           "f_{Eh}", c.fEh_s);

  const double Siga0Sd = ps.sigx >= 0 ? 0.0 : -ps.SigaSd;
  const double Sigh0Sd = ps.SighTSd >= 0 ? 0.0 : -ps.SighTSd;
  const float absTau = std::fabs(ps.tau);

  ps.SigjSd = csqrt(sq(ps.SigaSd) - ps.SigaSd * ps.SighTSd + sq(ps.SighTSd) + 3 * sq(ps.tau));
  const double sum = dv(Siga0Sd, c.fEa_s) + dv(Sigh0Sd, c.fEh_s) + dv(double(absTau), c.fEtau_s);
  c.lamdas_s = sgl(csqrt(dv(double(ps.fT), ps.SigjSd) * sum));
  ps.fks = sgl(dv(double(ps.fT), csqrt(1 + checked::power(double(c.lamdas_s), 4.0))));
  ps.gm = 1.15;
  ps.beta = 1.0f;
  ps.UFallowStiff = ps.wsd == 0 ? ps.ufb : fin(ps.ufb * 1.0 * ps.gm);
  c.fksd_s = sgl(dv(double(ps.fks), ps.gm));
  ps.UFstiff = dv(ps.SigjSd, double(c.fksd_s));
  if (tr) {
    tr->value("stiff.Siga0Sd", "σ_{a0,Sd}", ref, "max(0, −$0)", {{"σ_{a,Sd}", ps.SigaSd}}, Siga0Sd,
              "MPa");
    tr->value("stiff.Sigh0Sd", "σ_{h0,Sd}", ref, "max(0, −$0)", {{"σ_{hT,Sd}", ps.SighTSd}},
              Sigh0Sd, "MPa");
    tr->value("stiff.SigjSd", "σ_{j,Sd}", ref, "√($0^2 − $0·$1 + $1^2 + 3·$2^2)",
              {{"σ_{a,Sd}", ps.SigaSd}, {"σ_{hT,Sd}", ps.SighTSd}, {"τ", ps.tau}}, ps.SigjSd, "MPa",
              "0.0");
    tr->value("stiff.sum", "Σ", ref, "$0/$1 + $2/$3 + $4/$5",
              {{"σ_{a0,Sd}", Siga0Sd},
               {"f_{Ea}", c.fEa_s},
               {"σ_{h0,Sd}", Sigh0Sd},
               {"f_{Eh}", c.fEh_s},
               {"|τ|", absTau},
               {"f_{Eτ}", c.fEtau_s}},
              sum, "");
    tr->value("stiff.lamdas", "λ̄_s", ref, "√($0/$1·$2)",
              {{"f_T", ps.fT}, {"σ_{j,Sd}", ps.SigjSd}, {"Σ", sum}}, c.lamdas_s, "", "0.00");
    tr->value("stiff.fks", "f_{ks}", ref, "$0/√(1 + $1^4)", {{"f_T", ps.fT}, {"λ̄_s", c.lamdas_s}},
              ps.fks, "MPa", "0.0");
    tr->value("stiff.gm", "γ_M", ref, "1.15 for every slenderness and design format", {}, ps.gm, "",
              "0.00");
    if (ps.wsd == 0)
      tr->value("stiff.UFallow", "UF_{allow}", ref, "$0 (LRFD)", {{"UF_b", ps.ufb}},
                ps.UFallowStiff, "", "0.00");
    else
      tr->value("stiff.UFallow", "UF_{allow}", ref, "$0·β·$1 with β = 1.0 (WSD)",
                {{"n_0", ps.ufb}, {"γ_M", ps.gm}}, ps.UFallowStiff, "", "0.00");
    tr->value("stiff.fksd", "f_{ksd}", ref, "$0/$1", {{"f_{ks}", ps.fks}, {"γ_M", ps.gm}}, c.fksd_s,
              "MPa", "0.0");
    tr->value("stiff.UF", "UF", ref, "$0/$1", {{"σ_{j,Sd}", ps.SigjSd}, {"f_{ksd}", c.fksd_s}},
              ps.UFstiff, "", "0.00");
    tr->verdict("stiff.verdict", "UF", ref, ps.UFstiff, ps.UFallowStiff);
  }

  if (!run.texts) return;
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
