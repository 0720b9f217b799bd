// The rule notes: each alternative reads the finished run and works out only
// the one value that differs, in the precision of the step it replaces.
#include "core/rule_notes.hpp"

#include "core/calc_driver.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"

namespace orvane {

using namespace checked;

namespace {

std::string f2(double v) { return format(v, "0.00"); }
std::string f1(double v) { return format(v, "0.0"); }
std::string e3(double v) { return format(v, "0.000E+0"); }

// A note is kept only when the other reading is stricter than this
// program's: a higher usage factor against its allowable value.
// It must also show: a usage factor or allowable value that differs in the
// printed digits, or another verdict.
bool stricter(double uf, double allow, double ufAlt, double allowAlt) {
  if (!(allow > 0) || !(allowAlt > 0) || !(ufAlt / allowAlt > uf / allow)) return false;
  return format(uf, "0.00") != format(ufAlt, "0.00") ||
         format(allow, "0.00") != format(allowAlt, "0.00") || (uf > allow) != (ufAlt > allowAlt);
}

template <typename F>
std::optional<RuleNote> guarded(F&& f) {
  try {
    return f();
  } catch (const CalcFault&) {
    return std::nullopt;
  }
}

bool cylinderShell(const ProjectState& ps) {
  return ps.cyltype == code(CylinderType::Unstiffened) ||
         ps.cyltype == code(CylinderType::RingStiffened);
}

}  // namespace

double gammaMBySlenderness(float lamdas) {
  if (lamdas < 0.5) return 1.15;
  if (lamdas <= 1.0) return 0.85 + 0.60 * lamdas;
  return 1.45;
}

float betaBySlenderness(float lamdas) {
  if (lamdas < 0.5) return 1.0f;
  if (lamdas <= 1.0) return sgl(1.2 - 0.4 * lamdas);
  return 0.8f;
}

ShellUsage shellUsageWith(const ProjectNumbers& ps, double SigaSd, float SigmSd, float fEh) {
  const CheckTrace& c = ps.trace;
  const double Siga0Sd = SigaSd >= 0 ? 0.0 : -SigaSd;
  const float absTau = std::fabs(ps.tau);
  const double Sigh0Sd = ps.SighTSd >= 0 ? 0.0 : -ps.SighTSd;
  const float Sigm0Sd = SigmSd < 0 ? -SigmSd : 0.0f;
  const double am = SigaSd + SigmSd;
  const double SigjSd = csqrt(sq(am) - am * ps.SighTSd + sq(ps.SighTSd) + 3 * sq(absTau));
  const double sum = dv(Siga0Sd, ps.fEa) + dv(double(Sigm0Sd), c.fEm) + dv(Sigh0Sd, double(fEh)) +
                     dv(double(absTau), c.fEtau);
  ShellUsage u;
  u.lamdas = sgl(csqrt(dv(ps.fyp, SigjSd) * sum));
  const float fks = sgl(dv(ps.fyp, csqrt(1 + checked::power(double(u.lamdas), 4.0))));
  double gm = 1.15;
  if (ps.wsd == 0) {
    gm = gammaMBySlenderness(u.lamdas);
    u.allow = ps.ufb;
  } else {
    u.allow = fin(ps.ufb * betaBySlenderness(u.lamdas) * gm);
  }
  const float fksd = sgl(dv(double(fks), gm));
  u.uf = dv(SigjSd, double(fksd));
  return u;
}

float hydrostaticFEh(const ProjectNumbers& ps) {
  const double t = ps.t, l = ps.l;
  const float r = ps.r, E = ps.E;
  if (dv(l, r) > 2.25 * csqrt(dv(r, t))) return sgl(0.25 * E * sq(dv(t, r)));
  const double psi = 2, xi = 1.04 * csqrt(ps.Zl), rho = 0.6;
  const float C = sgl(psi * csqrt(1 + sq(dv(rho * xi, psi))));
  return sgl(fin(((sq(kPIs) * C * E) / 12) / kNu2 * sq(dv(t, l))));
}

double endCapStress(const ProjectNumbers& ps) { return double(ps.pd) * ps.r / (2 * ps.t); }

float worstEndBending(const CheckTrace& c) {
  const double a = std::sqrt(sq(c.sM1a) + sq(c.sM2a));
  const double b = std::sqrt(sq(c.sM1b) + sq(c.sM2b));
  return -sgl(std::max(a, b));
}

// Each alternative works out its numbers first and writes its texts only
// when the note is kept: a batch asks for the notes of every row.
std::optional<RuleNote> stiffenerGammaNote(const ProjectState& ps) {
  const ShownPanels shown = shownPanels(ps);
  if (!shown.stiffener || shown.stiffenerNote) return std::nullopt;
  return guarded([&]() -> std::optional<RuleNote> {
    const float lam = ps.trace.lamdas_s;
    RuleNote n;
    n.id = RuleNoteId::StiffenerGammaM;
    n.check = CheckId::Stiffener;
    n.key = "stiffener_gamma_m";
    n.chapter = "Ch 3.6.3";
    n.uf = ps.UFstiff;
    n.allow = ps.UFallowStiff;
    const bool lrfd = ps.wsd == 0;
    const double gm = gammaMBySlenderness(lam);
    const float beta = betaBySlenderness(lam);
    float fksd = 0;
    if (lrfd) {
      fksd = sgl(dv(double(ps.fks), gm));
      n.ufAlt = dv(ps.SigjSd, double(fksd));
      n.allowAlt = ps.UFallowStiff;
    } else {
      n.ufAlt = ps.UFstiff;
      n.allowAlt = fin(ps.ufb * beta * 1.15);
    }
    if (!stricter(n.uf, n.allow, n.ufAlt, n.allowAlt)) return std::nullopt;
    n.rule = "γ_M = 1.15 at every slenderness";
    if (lrfd) {
      n.alternative =
          "γ_M by the stiffener's slenderness as in the shell check: 1.15 for λ̄_s < 0.5, "
          "0.85 + 0.60·λ̄_s up to 1.0, 1.45 above (LRFD)";
      n.values = "λ̄_s = " + f2(lam) + ", γ_M = " + f2(gm) + ", f_{ksd} = " + f1(fksd) + " MPa";
      n.mark = "* Rule note: gm = " + f2(gm) + ": UF = " + f2(n.ufAlt);
    } else {
      n.alternative =
          "β by the stiffener's slenderness as in the shell check: 1.0 for λ̄_s < 0.5, "
          "1.2 − 0.4·λ̄_s up to 1.0, 0.8 above (WSD)";
      n.values =
          "λ̄_s = " + f2(lam) + ", β = " + f2(beta) + ", allowable n_0·β·γ_M = " + f2(n.allowAlt);
      n.mark = "* Rule note: beta = " + f2(beta) + ": UF <= " + f2(n.allowAlt);
    }
    return n;
  });
}

std::optional<RuleNote> hydrostaticNote(const ProjectState& ps) {
  if (!cylinderShell(ps) || !(ps.pd < 0)) return std::nullopt;
  return guarded([&]() -> std::optional<RuleNote> {
    const float fEh = hydrostaticFEh(ps);
    const double cap = endCapStress(ps);
    const double SigaSd = ps.closedEnds ? ps.SigaSd + cap : ps.SigaSd;
    const ShellUsage u = shellUsageWith(ps, SigaSd, 0.0f, fEh);
    RuleNote n;
    n.id = RuleNoteId::HydrostaticPressure;
    n.check = CheckId::Shell;
    n.key = "hydrostatic_pressure";
    n.chapter = "Ch 3.4.2";
    n.uf = ps.UF;
    n.allow = ps.UFallow;
    n.ufAlt = u.uf;
    n.allowAlt = u.allow;
    if (!stricter(n.uf, n.allow, n.ufAlt, n.allowAlt)) return std::nullopt;
    n.rule = "f_{Eh} with ψ = 4 (lateral pressure, Table 3-2) at any pressure; σ_x as entered";
    n.alternative = std::string("f_{Eh} with the hydrostatic-pressure row of Table 3-2 (ψ = 2, ") +
                    "ξ = 1.04·√Z_l, ρ = 0.6)" +
                    (ps.closedEnds ? ", and the end-cap axial stress p_d·r/(2t) added to σ_x "
                                     "(closed ends)"
                                   : "; the end-cap axial stress p_d·r/(2t) is not added "
                                     "(open ends)");
    n.values = "f_{Eh} = " + f1(fEh) + " MPa (run: " + f1(ps.fEh) +
               " MPa), p_d·r/(2t) = " + f1(cap) + " MPa " +
               (ps.closedEnds ? "added" : "not added") + ", λ̄_s = " + f2(u.lamdas);
    n.mark = "* Rule note: fEh(psi=2)" + std::string(ps.closedEnds ? "+caps" : "") +
             ": UF = " + f2(n.ufAlt);
    return n;
  });
}

std::optional<RuleNote> columnShellAllowableNote(const ProjectState& ps) {
  if (ps.cyltype != code(CylinderType::Column) || ps.wsd == 0) return std::nullopt;
  const double printed = ps.trace.UFallowShell;
  if ((ps.UF > printed) == (ps.UF > ps.UFallow)) return std::nullopt;
  RuleNote n;
  n.id = RuleNoteId::ColumnShellAllowable;
  n.check = CheckId::Shell;
  n.key = "column_shell_allowable";
  n.chapter = "Ch 3.8";
  n.explanatory = true;
  n.uf = ps.UF;
  n.allow = ps.UFallow;
  n.ufAlt = ps.UF;
  n.allowAlt = printed;
  n.rule = "the panel colour follows the column check's allowable value n_0·1.0·1.15 = " +
           f2(ps.UFallow);
  n.alternative =
      "the shell verdict (OK/NOT OK, summary, exit code, governing case) is judged against the "
      "allowable value its line prints, n_0·β·γ_M = " +
      f2(printed);
  n.values =
      "UF = " + f2(ps.UF) + ", allowable " + f2(printed) + " (colour: " + f2(ps.UFallow) + ")";
  n.mark = "* Rule note: judged <= " + f2(printed) + ", colour <= " + f2(ps.UFallow);
  return n;
}

std::optional<RuleNote> columnWorstEndNote(const ProjectState& ps) {
  if (ps.cyltype != code(CylinderType::Column)) return std::nullopt;
  return guarded([&]() -> std::optional<RuleNote> {
    const float sigm = worstEndBending(ps.trace);
    if (!(sigm < ps.SigmSd)) return std::nullopt;  // the mean is the worse end already
    const ShellUsage u = shellUsageWith(ps, ps.SigaSd, sigm, ps.fEh);
    RuleNote n;
    n.id = RuleNoteId::ColumnWorstEnd;
    n.check = CheckId::Shell;
    n.key = "column_worst_end";
    n.chapter = "Ch 3.8";
    n.uf = ps.UF;
    n.allow = ps.wsd != 0 ? ps.trace.UFallowShell : ps.UFallow;
    n.ufAlt = u.uf;
    n.allowAlt = u.allow;
    if (!stricter(n.uf, n.allow, n.ufAlt, n.allowAlt)) return std::nullopt;
    n.rule =
        "bending stress of the shell check from the signed mean end stresses per axis: "
        "σ_{m,Sd} = " +
        f1(ps.SigmSd) + " MPa";
    n.alternative =
        "bending stress of the worse end: at each end √(σ_{M1}^2 + σ_{M2}^2), the larger of the "
        "two ends";
    n.values = "σ_{m,Sd} = " + f1(sigm) + " MPa, λ̄_s = " + f2(u.lamdas);
    n.mark = "* Rule note: worst-end bending: UF = " + f2(n.ufAlt);
    return n;
  });
}

std::optional<RuleNote> heavyRingNote(const ProjectState& ps) {
  if (!shownPanels(ps).ring || ps.hring_ch != 1) return std::nullopt;
  return guarded([&]() -> std::optional<RuleNote> {
    RuleNote n;
    n.id = RuleNoteId::HeavyRingInertia;
    n.check = CheckId::RingInertia;
    n.key = "heavy_ring_inertia";
    n.chapter = "Ch 3.5.2";
    n.uf = ps.UFinertia;
    n.allow = ps.ufb;
    n.ufAlt = dv(ps.Ihr, ps.Iring);
    n.allowAlt = ps.ufb;
    if (!stricter(n.uf, n.allow, n.ufAlt, n.allowAlt)) return std::nullopt;
    n.rule = "the heavy ring-frame requirement I_{hr} is stated, not compared";
    n.alternative = "I_{hr} compared with the ring frame's I as a usage factor I_{hr}/I";
    n.values = "I_{hr} = " + e3(ps.Ihr) + " mm4, I = " + e3(ps.Iring) + " mm4";
    n.mark = "* Rule note: UF = Ihr/I = " + f2(n.ufAlt);
    return n;
  });
}

std::optional<RuleNote> specialIhNote(const ProjectState& ps) {
  if (!shownPanels(ps).ring || !(ps.pd < 0) || ps.check_ih != 1 || !(ps.fTg > ps.fyg))
    return std::nullopt;
  return guarded([&]() -> std::optional<RuleNote> {
    const float fT = sgl(ps.fyg);
    float usage = 0;
    const double Ih = specialIhWith(ps, fT, &usage);
    const double IR = fin(Ih + ps.Ixh + ps.Ix);
    RuleNote n;
    n.id = RuleNoteId::SpecialIhYield;
    n.check = CheckId::RingInertia;
    n.key = "special_ih_yield";
    n.chapter = "Ch 3.5.2.7";
    n.uf = ps.UFinertia;
    n.allow = ps.ufb;
    n.ufAlt = sgl(dv(IR, ps.Iring));
    n.allowAlt = ps.ufb;
    if (!stricter(n.uf, n.allow, n.ufAlt, n.allowAlt)) return std::nullopt;
    n.rule = "f_T raised to 2.001·|σ_{R,Sd}| = " + f1(ps.fTg) +
             " MPa, above the yield strength, also in the special I_h calculation";
    n.alternative =
        "the special I_h calculation with f_T capped at the ring frame's yield strength f_y";
    n.values = "f_T = " + f1(fT) + " MPa, I_h = " + e3(Ih) + " mm4 (|p_d/p_{cap}| = " + f2(usage) +
               "), I_{R,req} = " + e3(IR) + " mm4";
    n.mark = "* Rule note: fT <= fy: UF = " + f2(n.ufAlt);
    return n;
  });
}

std::vector<RuleNote> ruleNotes(const ProjectState& ps) {
  std::vector<RuleNote> notes;
  for (auto* note : {&hydrostaticNote, &columnShellAllowableNote, &columnWorstEndNote,
                     &stiffenerGammaNote, &heavyRingNote, &specialIhNote})
    if (std::optional<RuleNote> n = (*note)(ps)) notes.push_back(std::move(*n));
  return notes;
}

const char* rulesJudging(const ProjectState& ps) {
  return ps.conservativeRules ? "the more conservative rules (the larger usage factor of each "
                                "rule note)"
                              : "Orvane's rules";
}

}  // namespace orvane
