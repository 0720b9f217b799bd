// Shell buckling of the plate: unstiffened cylinder (DNV-RP-C202 Ch 3.4.2)
// and curved panel between stringers (Ch 3.3.2).
#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"

namespace orvane {

using namespace checked;

namespace {

// How the sheet names one stress case of the elastic buckling strength: the
// symbols and formulas of psi, xi and rho with their operands, C and fE.
struct CaseFormula {
  const char* id;
  const char* symbol;
  const char* formula;
  std::array<TraceOperand, 3> operands;
  size_t count;
};
struct StrengthCase {
  const char* reference;
  CaseFormula psi, xi, rho;
  const char *idC, *symC, *idF, *symF, *b;
};

// psi, xi, rho and C of the last elastic strength, for the sheet.
struct StrengthTerms {
  double psi = 0, xi = 0, rho = 0;
  float C = 0;
};

void recordStrength(CalcTrace& tr, const StrengthCase& k, const StrengthTerms& s, float E, double t,
                    double b, double fE) {
  const double psi = s.psi, xi = s.xi, rho = s.rho;
  const float C = s.C;
  const char* ref = k.reference;
  tr.value(k.psi.id, k.psi.symbol, ref, k.psi.formula, k.psi.operands.data(), k.psi.count, psi, "");
  tr.value(k.xi.id, k.xi.symbol, ref, k.xi.formula, k.xi.operands.data(), k.xi.count, xi, "");
  tr.value(k.rho.id, k.rho.symbol, ref, k.rho.formula, k.rho.operands.data(), k.rho.count, rho, "");
  tr.value(k.idC, k.symC, ref, "$0·√(1 + ($1·$2/$0)^2)", {{"ψ", psi}, {"ρ", rho}, {"ξ", xi}}, C,
           "");
  tr.value(k.idF, k.symF, ref, "π^2·$0·$1/(12·(1 − ν^2))·($2/$3)^2",
           {{"C", C}, {"E", E}, {"t", t}, {k.b, b}}, fE, "MPa", "0.0");
}

// Elastic buckling strength of one stress case: C = psi*sqrt(1+(rho*xi/psi)^2)
// rounded to single, fE = ((pi^2*C*E)/12)/(1-0.3^2)*(t/b)^2.
double elasticStrength(double psi, double xi, double rho, float E, double t, double b,
                       StrengthTerms& terms) {
  const float C = sgl(psi * csqrt(1 + sq(dv(rho * xi, psi))));
  terms = {psi, xi, rho, C};
  return fin(((sq(kPIs) * C * E) / 12) / kNu2 * sq(dv(t, b)));
}

// The material factor and the WSD slenderness factor of the shell check as
// the sheet states them.
void recordFactors(CalcTrace& tr, const char* ref, const ProjectState& ps) {
  const TraceOperand lam{"λ̄_s", ps.lamdas};
  if (ps.wsd == 0) {
    if (ps.lamdas < 0.5)
      tr.branch("shell.gmRule", ref, "λ̄_s = $0 < 0.5", {lam}, true, "γ_M = 1.15", "");
    else if (ps.lamdas <= 1.0)
      tr.branch("shell.gmRule", ref, "0.5 ≤ λ̄_s = $0 ≤ 1.0", {lam}, true, "γ_M = 0.85 + 0.60·λ̄_s",
                "");
    else
      tr.branch("shell.gmRule", ref, "λ̄_s = $0 > 1.0", {lam}, true, "γ_M = 1.45", "");
    tr.value("shell.gm", "γ_M", ref, "material factor by the slenderness", {lam}, ps.gm, "",
             "0.00");
    tr.value("shell.UFallow", "UF_{allow}", ref, "$0 (LRFD)", {{"UF_b", ps.ufb}}, ps.UFallow, "",
             "0.00");
    return;
  }
  if (ps.lamdas < 0.5)
    tr.branch("shell.betaRule", ref, "λ̄_s = $0 < 0.5", {lam}, true, "β = 1.0", "");
  else if (ps.lamdas <= 1.0)
    tr.branch("shell.betaRule", ref, "0.5 ≤ λ̄_s = $0 ≤ 1.0", {lam}, true, "β = 1.2 − 0.4·λ̄_s", "");
  else
    tr.branch("shell.betaRule", ref, "λ̄_s = $0 > 1.0", {lam}, true, "β = 0.8", "");
  tr.value("shell.gm", "γ_M", ref, "1.15 (WSD)", {}, ps.gm, "", "0.00");
  tr.value("shell.beta", "β", ref, "slenderness factor of the WSD format", {lam}, ps.beta, "");
  tr.value("shell.UFallow", "UF_{allow}", ref, "$0·$1·$2 (WSD)",
           {{"n_0", ps.ufb}, {"β", ps.beta}, {"γ_M", ps.gm}}, ps.UFallow, "", "0.00");
}

// The part of the check after the slenderness: fks, material and WSD
// factors, design strength, usage factor and the ten table lines.
void finishShellCheck(ProjectState& ps, const RunOptions& run, bool cylinder, double fE2,
                      double fE3) {
  ps.fks = sgl(dv(ps.fyp, csqrt(1 + checked::power(double(ps.lamdas), 4.0))));
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
  ps.trace.UFallowShell = ps.UFallow;
  const float fksd = sgl(dv(double(ps.fks), ps.gm));
  ps.UF = dv(ps.SigjSd, double(fksd));
  if (CalcTrace* tr = run.trace) {
    const char* ref = cylinder ? "Ch 3.4.2" : "Ch 3.3.2";
    tr->value("shell.fks", "f_{ks}", ref, "$0/√(1 + $1^4)", {{"f_y", ps.fyp}, {"λ̄_s", ps.lamdas}},
              ps.fks, "MPa", "0.0");
    tr->value("shell.SigjFks", "σ_{j,Sd}/f_{ks}", ref, "$0/$1",
              {{"σ_{j,Sd}", ps.SigjSd}, {"f_{ks}", ps.fks}}, ps.SigjFks, "");
    recordFactors(*tr, ref, ps);
    tr->value("shell.fksd", "f_{ksd}", ref, "$0/$1", {{"f_{ks}", ps.fks}, {"γ_M", ps.gm}}, fksd,
              "MPa", "0.0");
    tr->value("shell.UF", "UF", ref, "$0/$1", {{"σ_{j,Sd}", ps.SigjSd}, {"f_{ksd}", fksd}}, ps.UF,
              "", "0.00");
    // the column check judges the shell panel against its own allowable value
    if (ps.cyltype != code(CylinderType::Column))
      tr->verdict("shell.verdict", "UF", ref, ps.UF, ps.UFallow);
  }

  if (!run.texts) return;
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

void unstiffenedCylinderCheck(ProjectState& ps, const RunOptions& run) {
  const double l = ps.l, t = ps.t;
  const float r = ps.r, E = ps.E;
  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.4.2";
  if (tr) tr->check("shell", "Shell Buckling: (Ch 3.4.2)", ref);
  const TraceOperand Zl{"Z_l", ps.Zl}, rr{"r", r}, tt{"t", t};
  StrengthTerms terms;

  const double rhoA = 0.5 * cpow(1 + dv(r, 150 * t), -0.5);
  ps.fEa = elasticStrength(1, 0.702 * ps.Zl, rhoA, E, t, l, terms);
  if (tr)
    recordStrength(*tr,
                   {ref,
                    {"shell.psiA", "ψ_a", "1", {}, 0},
                    {"shell.xiA", "ξ_a", "0.702·$0", {Zl}, 1},
                    {"shell.rhoA", "ρ_a", "0.5·(1 + $0/(150·$1))^{−0.5}", {rr, tt}, 2},
                    "shell.CA",
                    "C_a",
                    "shell.fEa",
                    "f_{Ea}",
                    "l"},
                   terms, E, t, l, ps.fEa);
  const double rhoM = 0.5 * cpow(1 + dv(r, 300 * t), -0.5);
  const double fEm = elasticStrength(1, 0.702 * ps.Zl, rhoM, E, t, l, terms);
  if (tr)
    recordStrength(*tr,
                   {ref,
                    {"shell.psiM", "ψ_m", "1", {}, 0},
                    {"shell.xiM", "ξ_m", "0.702·$0", {Zl}, 1},
                    {"shell.rhoM", "ρ_m", "0.5·(1 + $0/(300·$1))^{−0.5}", {rr, tt}, 2},
                    "shell.CM",
                    "C_m",
                    "shell.fEm",
                    "f_{Em}",
                    "l"},
                   terms, E, t, l, fEm);

  double fEtau = elasticStrength(5.34, 0.856 * cpow(ps.Zl, 0.75), 0.6, E, t, l, terms);
  if (tr)
    recordStrength(*tr,
                   {ref,
                    {"shell.psiTau", "ψ_τ", "5.34", {}, 0},
                    {"shell.xiTau", "ξ_τ", "0.856·$0^{0.75}", {Zl}, 1},
                    {"shell.rhoTau", "ρ_τ", "0.6", {}, 0},
                    "shell.CTau",
                    "C_τ",
                    "shell.fEtau",
                    "f_{Eτ}",
                    "l"},
                   terms, E, t, l, fEtau);
  const double lrTau = dv(l, r);
  const double tauLimit = 3.85 * csqrt(dv(r, t));
  if (lrTau > tauLimit) fEtau = fin(0.25 * E * cpow(dv(t, r), 1.5));
  ps.trace.fEm = fEm;
  ps.trace.fEtau = fEtau;
  if (tr) {
    tr->branch("shell.tauLong", ref, "l/r = $0 > 3.85·√(r/t) = $1",
               {{"l/r", lrTau}, {"3.85·√(r/t)", tauLimit}}, lrTau > tauLimit,
               "long cylinder: f_{Eτ} = 0.25·E·(t/r)^{1.5} replaces the value above",
               "f_{Eτ} as above");
    if (lrTau > tauLimit)
      tr->value("shell.fEtauLong", "f_{Eτ}", ref, "0.25·$0·($1/$2)^{1.5}", {{"E", E}, tt, rr},
                fEtau, "MPa", "0.0");
  }

  ps.fEh = sgl(elasticStrength(4, 1.04 * csqrt(ps.Zl), 0.6, E, t, l, terms));
  if (tr)
    recordStrength(*tr,
                   {ref,
                    {"shell.psiH", "ψ_h", "4", {}, 0},
                    {"shell.xiH", "ξ_h", "1.04·√$0", {Zl}, 1},
                    {"shell.rhoH", "ρ_h", "0.6", {}, 0},
                    "shell.CH",
                    "C_h",
                    "shell.fEh",
                    "f_{Eh}",
                    "l"},
                   terms, E, t, l, ps.fEh);
  const double lrH = dv(l, r);
  const double hLimit = 2.25 * csqrt(dv(r, t));
  if (lrH > hLimit) ps.fEh = sgl(0.25 * E * sq(dv(t, r)));
  if (tr) {
    tr->branch("shell.hLong", ref, "l/r = $0 > 2.25·√(r/t) = $1",
               {{"l/r", lrH}, {"2.25·√(r/t)", hLimit}}, lrH > hLimit,
               "long cylinder: f_{Eh} = 0.25·E·(t/r)^2 replaces the value above",
               "f_{Eh} as above");
    if (lrH > hLimit)
      tr->value("shell.fEhLong", "f_{Eh}", ref, "0.25·$0·($1/$2)^2", {{"E", E}, tt, rr}, ps.fEh,
                "MPa", "0.0");
  }

  ps.Siga0Sd = ps.sigx >= 0 ? 0.0 : -ps.SigaSd;
  const float absTau = std::fabs(ps.tau);
  const double Sigh0Sd = compressive(ps.SighTSd);
  const float Sigm0Sd = ps.SigmSd < 0 ? -ps.SigmSd : 0.0f;

  const double am = ps.SigaSd + ps.SigmSd;
  ps.SigjSd = csqrt(sq(am) - am * ps.SighTSd + sq(ps.SighTSd) + 3 * sq(absTau));
  const double sum = dv(ps.Siga0Sd, ps.fEa) + dv(double(Sigm0Sd), fEm) +
                     dv(Sigh0Sd, double(ps.fEh)) + dv(double(absTau), fEtau);
  ps.lamdas = sgl(csqrt(dv(ps.fyp, ps.SigjSd) * sum));
  if (tr) {
    tr->value("shell.Siga0Sd", "σ_{a0,Sd}", ref, "max(0, −$0)", {{"σ_{a,Sd}", ps.SigaSd}},
              ps.Siga0Sd, "MPa");
    tr->value("shell.Sigm0Sd", "σ_{m0,Sd}", ref, "max(0, −$0)", {{"σ_{m,Sd}", ps.SigmSd}}, Sigm0Sd,
              "MPa");
    tr->value("shell.Sigh0Sd", "σ_{h0,Sd}", ref, "max(0, −$0)", {{"σ_{hT,Sd}", ps.SighTSd}},
              Sigh0Sd, "MPa");
    tr->value("shell.tauSd", "τ_{Sd}", ref, "|$0|", {{"τ", ps.tau}}, absTau, "MPa");
    tr->value("shell.SigjSd", "σ_{j,Sd}", ref, "√(($0 + $1)^2 − ($0 + $1)·$2 + $2^2 + 3·$3^2)",
              {{"σ_{a,Sd}", ps.SigaSd},
               {"σ_{m,Sd}", ps.SigmSd},
               {"σ_{hT,Sd}", ps.SighTSd},
               {"τ_{Sd}", absTau}},
              ps.SigjSd, "MPa", "0.0");
    tr->value("shell.sum", "Σ", ref, "$0/$1 + $2/$3 + $4/$5 + $6/$7",
              {{"σ_{a0,Sd}", ps.Siga0Sd},
               {"f_{Ea}", ps.fEa},
               {"σ_{m0,Sd}", Sigm0Sd},
               {"f_{Em}", fEm},
               {"σ_{h0,Sd}", Sigh0Sd},
               {"f_{Eh}", ps.fEh},
               {"τ_{Sd}", absTau},
               {"f_{Eτ}", fEtau}},
              sum, "");
    tr->value("shell.lamdas", "λ̄_s", ref, "√($0/$1·$2)",
              {{"f_y", ps.fyp}, {"σ_{j,Sd}", ps.SigjSd}, {"Σ", sum}}, ps.lamdas, "", "0.00");
  }
  finishShellCheck(ps, run, true, ps.fEh, ps.cyltype == code(CylinderType::Column) ? fEm : fEtau);
}

void curvedPanelCheck(ProjectState& ps, const RunOptions& run) {
  const double l = ps.l, t = ps.t, sp = ps.spanel;
  const float r = ps.r, E = ps.E;
  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.3.2";
  if (tr) tr->check("shell", "Shell Buckling: (Ch 3.3.2)", ref);
  const double Zs = fin(dv(sq(sp), r * t) * std::sqrt(kNu2));
  const double sl = dv(sp, l);
  if (tr) {
    tr->value("shell.Zs", "Z_s", ref, "$0^2/($1·$2)·√(1 − ν^2)", {{"s", sp}, {"r", r}, {"t", t}},
              Zs, "");
    tr->value("shell.sl", "s/l", ref, "$0/$1", {{"s", sp}, {"l", l}}, sl, "");
  }
  const TraceOperand Zso{"Z_s", Zs}, slo{"(s/l)", sl}, rr{"r", r}, tt{"t", t};
  StrengthTerms terms;

  const double rhoA = 0.5 * cpow(1 + dv(r, 150 * t), -0.5);
  ps.fEa = elasticStrength(4, 0.702 * Zs, rhoA, E, t, sp, terms);
  if (tr)
    recordStrength(*tr,
                   {ref,
                    {"shell.psiA", "ψ_a", "4", {}, 0},
                    {"shell.xiA", "ξ_a", "0.702·$0", {Zso}, 1},
                    {"shell.rhoA", "ρ_a", "0.5·(1 + $0/(150·$1))^{−0.5}", {rr, tt}, 2},
                    "shell.CA",
                    "C_a",
                    "shell.fEa",
                    "f_{Ea}",
                    "s"},
                   terms, E, t, sp, ps.fEa);
  const double fEtau =
      elasticStrength(5.34 + 4 * sq(sl), 0.856 * csqrt(sl) * cpow(Zs, 0.75), 0.6, E, t, sp, terms);
  if (tr)
    recordStrength(*tr,
                   {ref,
                    {"shell.psiTau", "ψ_τ", "5.34 + 4·$0^2", {slo}, 1},
                    {"shell.xiTau", "ξ_τ", "0.856·√$0·$1^{0.75}", {slo, Zso}, 2},
                    {"shell.rhoTau", "ρ_τ", "0.6", {}, 0},
                    "shell.CTau",
                    "C_τ",
                    "shell.fEtau",
                    "f_{Eτ}",
                    "s"},
                   terms, E, t, sp, fEtau);
  ps.fEh = sgl(elasticStrength(sq(1 + sq(sl)), 1.04 * sl * csqrt(Zs), 0.6, E, t, sp, terms));
  if (tr)
    recordStrength(*tr,
                   {ref,
                    {"shell.psiH", "ψ_h", "(1 + $0^2)^2", {slo}, 1},
                    {"shell.xiH", "ξ_h", "1.04·$0·√$1", {slo, Zso}, 2},
                    {"shell.rhoH", "ρ_h", "0.6", {}, 0},
                    "shell.CH",
                    "C_h",
                    "shell.fEh",
                    "f_{Eh}",
                    "s"},
                   terms, E, t, sp, ps.fEh);

  const double Siga0Sd = ps.sigx >= 0 ? 0.0 : -ps.SigaSd;  // the stored value is kept
  const float absTau = std::fabs(ps.tau);
  const double Sigh0Sd = compressive(ps.SighTSd);

  ps.SigjSd = csqrt(sq(ps.SigaSd) - ps.SigaSd * ps.SighTSd + sq(ps.SighTSd) + 3 * sq(absTau));
  const double sum = dv(Siga0Sd, ps.fEa) + dv(Sigh0Sd, double(ps.fEh)) + dv(double(absTau), fEtau);
  ps.lamdas = sgl(csqrt(dv(ps.fyp, ps.SigjSd) * sum));
  if (tr) {
    tr->value("shell.Siga0SdPanel", "σ_{a0,Sd}", ref, "max(0, −$0)", {{"σ_{a,Sd}", ps.SigaSd}},
              Siga0Sd, "MPa");
    tr->value("shell.Sigh0Sd", "σ_{h0,Sd}", ref, "max(0, −$0)", {{"σ_{hT,Sd}", ps.SighTSd}},
              Sigh0Sd, "MPa");
    tr->value("shell.tauSd", "τ_{Sd}", ref, "|$0|", {{"τ", ps.tau}}, absTau, "MPa");
    tr->value("shell.SigjSd", "σ_{j,Sd}", ref, "√($0^2 − $0·$1 + $1^2 + 3·$2^2)",
              {{"σ_{a,Sd}", ps.SigaSd}, {"σ_{hT,Sd}", ps.SighTSd}, {"τ_{Sd}", absTau}}, ps.SigjSd,
              "MPa", "0.0");
    tr->value("shell.sum", "Σ", ref, "$0/$1 + $2/$3 + $4/$5",
              {{"σ_{a0,Sd}", Siga0Sd},
               {"f_{Ea}", ps.fEa},
               {"σ_{h0,Sd}", Sigh0Sd},
               {"f_{Eh}", ps.fEh},
               {"τ_{Sd}", absTau},
               {"f_{Eτ}", fEtau}},
              sum, "");
    tr->value("shell.lamdas", "λ̄_s", ref, "√($0/$1·$2)",
              {{"f_y", ps.fyp}, {"σ_{j,Sd}", ps.SigjSd}, {"Σ", sum}}, ps.lamdas, "", "0.00");
  }
  finishShellCheck(ps, run, false, fEtau, ps.fEh);
}

}  // namespace orvane
