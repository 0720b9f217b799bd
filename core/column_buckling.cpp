// Global column buckling of the cylinder as a tubular member
// (DNV-RP-C202 Ch 3.8; dimensioning moments after Norsok N-004 Table 6-2).
#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "model/design_basis.hpp"

namespace orvane {

using namespace checked;

void columnCheck(ProjectState& ps, const RunOptions& run) {
  CheckTrace& c = ps.trace;
  ps.sigy = 0;
  ps.tau = 0;

  const float r = ps.r, E = ps.E;
  const double t = ps.t, L = ps.L;

  // section
  c.Do = fin(2 * r + t);
  c.Di = sgl(2 * r - t);
  c.A = sgl(t * fin(r * 6.283186f));
  c.I = fin(kPIs * (checked::power(c.Do, 4.0) - checked::power(double(c.Di), 4.0)) / 64);
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

  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.8";
  const char* const refM = "Norsok N-004 Table 6-2";
  if (tr) {
    tr->check("column.section", "Global Buckling: (Ch 3.8), section and bending stress", ref);
    tr->value("column.Do", "D_o", ref, "2·$0 + $1", {{"r", r}, {"t", t}}, c.Do, "mm");
    tr->value("column.Di", "D_i", ref, "2·$0 − $1", {{"r", r}, {"t", t}}, c.Di, "mm");
    tr->value("column.A", "A", ref, "$0·2π·$1", {{"t", t}, {"r", r}}, c.A, "mm^2");
    tr->value("column.I", "I", ref, "π·($0^4 − $1^4)/64", {{"D_o", c.Do}, {"D_i", c.Di}}, c.I,
              "mm^4");
    tr->value("column.i", "i", ref, "√($0/$1)", {{"I", c.I}, {"A", c.A}}, c.i, "mm");
    tr->value("column.W", "W", ref, "π·$0^2·$1", {{"r", r}, {"t", t}}, c.W, "mm^3");
    tr->value("column.sM1a", "σ_{M1a}", ref, "$0/$1·10^6", {{"M_{1a}", ps.M1a}, {"W", c.W}}, c.sM1a,
              "MPa");
    tr->value("column.sM1b", "σ_{M1b}", ref, "$0/$1·10^6", {{"M_{1b}", ps.M1b}, {"W", c.W}}, c.sM1b,
              "MPa");
    tr->value("column.sM2a", "σ_{M2a}", ref, "$0/$1·10^6", {{"M_{2a}", ps.M2a}, {"W", c.W}}, c.sM2a,
              "MPa");
    tr->value("column.sM2b", "σ_{M2b}", ref, "$0/$1·10^6", {{"M_{2b}", ps.M2b}, {"W", c.W}}, c.sM2b,
              "MPa");
    tr->value("column.sM1max", "σ_{M1,max}", ref, "max(|$0|, |$1|)",
              {{"σ_{M1a}", c.sM1a}, {"σ_{M1b}", c.sM1b}}, sM1max, "MPa");
    tr->value("column.sM2max", "σ_{M2,max}", ref, "max(|$0|, |$1|)",
              {{"σ_{M2a}", c.sM2a}, {"σ_{M2b}", c.sM2b}}, sM2max, "MPa");
    tr->value("column.psi1", "ψ_1", refM, "smaller over larger end stress of axis 1",
              {{"σ_{M1a}", c.sM1a}, {"σ_{M1b}", c.sM1b}}, c.psi1, "");
    tr->value("column.psi2", "ψ_2", refM, "smaller over larger end stress of axis 2",
              {{"σ_{M2a}", c.sM2a}, {"σ_{M2b}", c.sM2b}}, c.psi2, "");
    tr->value("column.avg1", "σ_{m1}", ref, "($0 + $1)/2",
              {{"σ_{M1a}", c.sM1a}, {"σ_{M1b}", c.sM1b}}, avg1, "MPa");
    tr->value("column.avg2", "σ_{m2}", ref, "($0 + $1)/2",
              {{"σ_{M2a}", c.sM2a}, {"σ_{M2b}", c.sM2b}}, avg2, "MPa");
    tr->value("column.resultant", "σ_{m,res}", ref, "(|$0| + |$1|)/√2",
              {{"σ_{m1}", avg1}, {"σ_{m2}", avg2}}, resultant, "MPa");
    tr->value("column.SigmSd", "σ_{m,Sd}", ref, "−max($0, $1, $2)",
              {{"σ_{m1}", avg1}, {"σ_{m2}", avg2}, {"σ_{m,res}", resultant}}, ps.SigmSd, "MPa");
  }

  unstiffenedCylinderCheck(ps, run);
  if (tr) tr->check("column", "Global Buckling: (Ch 3.8)", ref);

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
  if (tr) {
    if (ps.odmom == 0) {
      tr->branch("column.CmRule", refM, "dimensioning moments: max value", {}, true,
                 "C_{m1} = C_{m2} = 1", "");
      tr->value("column.Cm1", "C_{m1}", refM, "1 (max value)", {}, c.Cm1, "");
      tr->value("column.Cm2", "C_{m2}", refM, "1 (max value)", {}, c.Cm2, "");
    } else {
      tr->branch("column.CmRule", refM, "dimensioning moments: reduced value", {}, true,
                 "C_m = 0.6 + 0.4·ψ", "");
      tr->value("column.Cm1", "C_{m1}", refM, "0.6 + 0.4·$0", {{"ψ_1", c.psi1}}, c.Cm1, "");
      tr->value("column.Cm2", "C_{m2}", refM, "0.6 + 0.4·$0", {{"ψ_2", c.psi2}}, c.Cm2, "");
    }
    tr->value("column.M1Sd", "M_{1,Sd}", refM, "$0·$1·$2/10^6",
              {{"C_{m1}", c.Cm1}, {"σ_{M1,max}", sM1max}, {"W", c.W}}, c.M1Sd, "kNm", "0.0");
    tr->value("column.M2Sd", "M_{2,Sd}", refM, "$0·$1·$2/10^6",
              {{"C_{m2}", c.Cm2}, {"σ_{M2,max}", sM2max}, {"W", c.W}}, c.M2Sd, "kNm", "0.0");
  }

  // local buckling strength under the circumferential stress
  const double sh = ps.SighTSd, fy = ps.fyp, fEa = ps.fEa;
  const double fEh = ps.fEh;
  const double a = 1 + dv(sq(fy), sq(fEa));
  const double b = (dv(2 * sq(fy), fEa * fEh) - 1) * sh;
  const float cc = sgl(sq(sh) + dv(sq(fy) * sq(sh), sq(fEh)) - sq(fy));
  c.fak = dv(b + csqrt(sq(b) - 4 * a * cc), 2 * a);
  c.fakd = sgl(dv(c.fak, ps.gm));
  if (tr) {
    const TraceOperand fyo{"f_y", fy}, fEao{"f_{Ea}", fEa}, fEho{"f_{Eh}", fEh},
        sho{"σ_{hT,Sd}", sh};
    tr->value("column.a", "a", ref, "1 + $0^2/$1^2", {fyo, fEao}, a, "");
    tr->value("column.b", "b", ref, "(2·$0^2/($1·$2) − 1)·$3", {fyo, fEao, fEho, sho}, b, "");
    tr->value("column.c", "c", ref, "$0^2 + $1^2·$0^2/$2^2 − $1^2", {sho, fyo, fEho}, cc, "");
    tr->value("column.fak", "f_{ak}", ref, "($0 + √($0^2 − 4·$1·$2))/(2·$1)",
              {{"b", b}, {"a", a}, {"c", cc}}, c.fak, "MPa");
    tr->value("column.fakd", "f_{akd}", ref, "$0/$1", {{"f_{ak}", c.fak}, {"γ_M", ps.gm}}, c.fakd,
              "MPa", "0.0");
  }

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
  if (tr) {
    tr->value("column.lamda1", "λ̄_1", ref, "$0·$1/(π·$2)·√($3/$4)",
              {{"k_1", ps.k1}, {"L", L}, {"i", c.i}, {"f_{ak}", c.fak}, {"E", E}}, c.lamda1, "",
              "0.00");
    tr->branch("column.fkc1Rule", ref, "λ̄_1 = $0 ≤ 1.34", {{"λ̄_1", c.lamda1}}, c.lamda1 <= 1.34,
               "f_{kc1} = (1 − 0.28·λ̄_1^2)·f_{ak}", "f_{kc1} = 0.9/λ̄_1^2·f_{ak}");
    tr->value("column.fkc1", "f_{kc1}", ref, "column buckling strength, axis 1",
              {{"λ̄_1", c.lamda1}, {"f_{ak}", c.fak}}, fkc1, "MPa");
    tr->value("column.fkcd1", "f_{kcd1}", ref, "$0/$1", {{"f_{kc1}", fkc1}, {"γ_M", ps.gm}},
              c.fkcd1, "MPa", "0.0");
    tr->value("column.fE1", "f_{E1}", ref, "π^2·$0·$1/(($2·$3)^2·$4)",
              {{"E", E}, {"I", c.I}, {"k_1", ps.k1}, {"L", L}, {"A", c.A}}, c.fE1, "MPa", "0.0");
    tr->value("column.lamda2", "λ̄_2", ref, "$0·$1/(π·$2)·√($3/$4)",
              {{"k_2", ps.k2}, {"L", L}, {"i", c.i}, {"f_{ak}", c.fak}, {"E", E}}, c.lamda2, "",
              "0.00");
    tr->branch("column.fkc2Rule", ref, "λ̄_2 = $0 ≤ 1.34", {{"λ̄_2", c.lamda2}}, c.lamda2 <= 1.34f,
               "f_{kc2} = (1 − 0.28·λ̄_2^2)·f_{ak}", "f_{kc2} = 0.9/λ̄_2^2·f_{ak}");
    tr->value("column.fkc2", "f_{kc2}", ref, "column buckling strength, axis 2",
              {{"λ̄_2", c.lamda2}, {"f_{ak}", c.fak}}, fkc2, "MPa");
    tr->value("column.fkcd2", "f_{kcd2}", ref, "$0/$1", {{"f_{kc2}", fkc2}, {"γ_M", ps.gm}},
              c.fkcd2, "MPa", "0.0");
    tr->value("column.fE2", "f_{E2}", ref, "π^2·$0·$1/(($2·$3)^2·$4)",
              {{"E", E}, {"I", c.I}, {"k_2", ps.k2}, {"L", L}, {"A", c.A}}, c.fE2, "MPa", "0.0");
  }

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
  if (tr) {
    tr->value("column.S", "S", ref, "√(($0·$1/(1 − $2/$3))^2 + ($4·$5/(1 − $2/$6))^2)",
              {{"C_{m1}", c.Cm1},
               {"σ_{M1,max}", sM1max},
               {"σ_{a0,Sd}", ps.Siga0Sd},
               {"f_{E1}", c.fE1},
               {"C_{m2}", c.Cm2},
               {"σ_{M2,max}", sM2max},
               {"f_{E2}", c.fE2}},
              S, "MPa");
    tr->value("column.UF1", "UF_1", ref, "$0/$1 + $2/$3",
              {{"σ_{a0,Sd}", ps.Siga0Sd}, {"f_{kcd1}", c.fkcd1}, {"S", S}, {"f_{akd}", c.fakd}},
              c.UF1, "", "0.00");
    tr->value("column.UF2", "UF_2", ref, "$0/$1 + $2/$3",
              {{"σ_{a0,Sd}", ps.Siga0Sd}, {"f_{kcd2}", c.fkcd2}, {"S", S}, {"f_{akd}", c.fakd}},
              c.UF2, "", "0.00");
    if (ps.wsd != 0)
      tr->value("column.UFallow", "UF_{allow}", ref, "$0·β·γ_M with β = 1.0, γ_M = 1.15 (WSD)",
                {{"n_0", ps.ufb}}, ps.UFallow, "", "0.00");
    else
      tr->value("column.UFallow", "UF_{allow}", ref, "$0 (LRFD)", {{"UF_b", ps.ufb}}, ps.UFallow,
                "", "0.00");
    if (ps.wsd != 0) {
      tr->note("column.shellVerdict", "Ch 3.4.2",
               "the shell panel's usage factor is judged against the allowable value its line "
               "prints, n_0·β·γ_M of the shell check; the panel colours it against the column "
               "check's value");
      tr->verdict("shell.verdict", "UF", "Ch 3.4.2", ps.UF, ps.trace.UFallowShell);
    } else {
      tr->note("column.shellVerdict", "Ch 3.4.2",
               "the shell panel's usage factor is judged against the allowable value of the "
               "column check");
      tr->verdict("shell.verdict", "UF", "Ch 3.4.2", ps.UF, ps.UFallow);
    }
    tr->verdict("column.verdict1", "UF_1", ref, c.UF1, ps.UFallow);
    tr->verdict("column.verdict2", "UF_2", ref, c.UF2, ps.UFallow);
  }

  if (!run.texts) return;
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
