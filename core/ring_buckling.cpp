// Ring frames: lateral-torsional length (DNV-RP-C202 B.5.9), panel ring
// buckling with the area and moment-of-inertia requirements (Ch 3.5.2), the
// special calculation of Ih (3.5.2.7) and the heavy ring-frame requirement.
#include "core/calc_driver.hpp"
#include "core/calc_trace.hpp"
#include "model/codes.hpp"
#include "model/design_basis.hpp"
#include "sections/ring_section.hpp"

#include <optional>

namespace orvane {

using namespace checked;

namespace {

void ringEffectiveSection(ProjectState& ps, const RunOptions& run) {
  const RingProfile& g = ps.rg;
  const double t = ps.t, h = g.h;
  ps.Aeff = fin(g.Ag + ps.le * t);
  ps.zcs = dv(g.Ag * (t / 2 + g.zcg), ps.Aeff);
  if (ps.Outside_ch == 0) {
    ps.r0 = ps.r - ps.zcs;
    ps.rf = sgl(ps.r - h - t / 2);
  } else {
    ps.r0 = ps.r + ps.zcs;
    ps.rf = sgl(ps.r + h + t / 2);
  }
  ps.ztRing = (t / 2 + h) - ps.zcs;
  ps.Iring = fin(g.Ixg + ps.le * checked::power(t, 3.0) / 12 + g.Ag * sq(t / 2 + g.zcg - ps.zcs) +
                 ps.le * t * sq(ps.zcs));
  if (CalcTrace* tr = run.trace) {
    const char* ref = "Ch 3.5.2";
    tr->value("ring.Aeff", "A_{eff}", ref, "$0 + $1·$2", {{"A_R", g.Ag}, {"l_e", ps.le}, {"t", t}},
              ps.Aeff, "mm^2");
    tr->value("ring.zcs", "z_c", ref, "$0·($1/2 + $2)/$3",
              {{"A_R", g.Ag}, {"t", t}, {"z_{cR}", g.zcg}, {"A_{eff}", ps.Aeff}}, ps.zcs, "mm");
    if (ps.Outside_ch == 0) {
      tr->value("ring.r0", "r_0", ref, "$0 − $1 (inside)", {{"r", ps.r}, {"z_c", ps.zcs}}, ps.r0,
                "mm");
      tr->value("ring.rf", "r_f", ref, "$0 − $1 − $2/2", {{"r", ps.r}, {"h", h}, {"t", t}}, ps.rf,
                "mm");
    } else {
      tr->value("ring.r0", "r_0", ref, "$0 + $1 (outside)", {{"r", ps.r}, {"z_c", ps.zcs}}, ps.r0,
                "mm");
      tr->value("ring.rf", "r_f", ref, "$0 + $1 + $2/2", {{"r", ps.r}, {"h", h}, {"t", t}}, ps.rf,
                "mm");
    }
    tr->value("ring.zt", "z_t", ref, "$0/2 + $1 − $2", {{"t", t}, {"h", h}, {"z_c", ps.zcs}},
              ps.ztRing, "mm");
    tr->value("ring.I", "I", ref, "$0 + $1·$2^3/12 + $3·($2/2 + $4 − $5)^2 + $1·$2·$5^2",
              {{"I_{xR}", g.Ixg},
               {"l_e", ps.le},
               {"t", t},
               {"A_R", g.Ag},
               {"z_{cR}", g.zcg},
               {"z_c", ps.zcs}},
              ps.Iring, "mm^4", "0.000E+0");
  }
}

// fTg: torsional buckling strength of the ring frame.
void ringTorsionStrength(ProjectState& ps, const RunOptions& run) {
  const RingProfile& g = ps.rg;
  const int type = ps.cboring;
  const ProfileTraits* traits = traitsOf(type);
  const float E = ps.E;
  const double G = dv(double(E), 2.6);
  CheckTrace& c = ps.trace;
  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.5.2";

  if (ps.SigjFks < 1) {
    // the web below the flange for L and T; the I section and the others
    // take the full height here
    const double hc = inFamily(type, {ProfileFamily::L, ProfileFamily::T}) ? g.h - g.tf : g.h;
    c.Cg = csqrt(1 - ps.SigjFks) * checked::power(dv(ps.t, g.tw), 3.0) * dv(hc, ps.leo);
    if (tr)
      tr->value("ring.C", "C", ref, "√(1 − $0)·($1/$2)^3·$3/$4",
                {{"σ_{j,Sd}/f_{ks}", ps.SigjFks},
                 {"t", ps.t},
                 {"t_w", g.tw},
                 {"h_w", hc},
                 {"l_{eo}", ps.leo}},
                c.Cg, "");
  } else {
    c.Cg = 0;
    if (tr)
      tr->value("ring.C", "C", ref, "0 ($0 ≥ 1: no restraint from the shell)",
                {{"σ_{j,Sd}/f_{ks}", ps.SigjFks}}, c.Cg, "");
  }
  c.betaTg = dv(3 * c.Cg + 0.2, c.Cg + 0.2);
  if (tr)
    tr->value("ring.betaT", "β_T", ref, "(3·$0 + 0.2)/($0 + 0.2)", {{"C", c.Cg}}, c.betaTg, "");

  c.fETg = 0;  // RHS and trapezoid frames have none
  // the bulb flat as its equivalent angle
  const bool flanged = traits && (traits->flanged || traits->family == ProfileFamily::BulbFlat);
  if (flanged) {
    const double webH = traits->family == ProfileFamily::I ? g.h - fin(2 * g.tf) : g.h - g.tf;
    const float af3 = fin(3 * g.Afg);
    const float first =
        sgl(dv(c.betaTg * G * (g.Awg + sq(dv(double(g.tf), g.tw)) * g.Afg), g.Awg + af3) *
            sq(dv(g.tw, webH)));
    const double second = dv(sq(kPIr) * E * g.Izg, (g.Awg / 3 + g.Afg) * sq(ps.ltgi));
    c.fETg = sgl(first + second);
    if (tr)
      tr->value("ring.fET", "f_{ET}", ref,
                "$0·$8·($1 + ($2/$3)^2·$4)/($1 + 3·$4)·($3/$5)^2 + π^2·$9·$6/(($1/3 + $4)·$7^2)",
                {{"β_T", c.betaTg},
                 {"A_w", g.Awg},
                 {"t_f", g.tf},
                 {"t_w", g.tw},
                 {"A_f", g.Afg},
                 {"h_w", webH},
                 {"I_z", g.Izg},
                 {"l_T", ps.ltgi},
                 {"G", G},
                 {"E", E}},
                c.fETg, "MPa");
  } else if (inFamily(type, {ProfileFamily::FlatBar})) {
    c.fETg = sgl((c.betaTg + dv(0.2 * g.h, double(ps.r))) * G * sq(dv(g.tw, g.h)));
    if (tr)
      tr->value("ring.fET", "f_{ET}", ref, "($0 + 0.2·$1/$2)·$3·($4/$1)^2",
                {{"β_T", c.betaTg}, {"h", g.h}, {"r", ps.r}, {"G", G}, {"t_w", g.tw}}, c.fETg,
                "MPa");
  }

  if (traits && traits->closed) {
    ps.fTg = sgl(ps.fyg);
    if (tr)
      tr->note("ring.fTClosed", ref, "closed ring-frame section: no torsional buckling, f_T = f_y");
  } else {
    const double lam = csqrt(dv(ps.fyg, double(c.fETg)));
    const double mu = 0.35 * (lam - 0.6);
    if (tr) {
      tr->value("ring.lamT", "λ̄_T", ref, "√($0/$1)", {{"f_y", ps.fyg}, {"f_{ET}", c.fETg}}, lam,
                "");
      tr->value("ring.mu", "μ", ref, "0.35·($0 − 0.6)", {{"λ̄_T", lam}}, mu, "");
    }
    if (lam > 0.6) {
      const float phi = sgl(1 + mu + sq(lam));
      ps.fTg = sgl(dv(ps.fyg * (phi - csqrt(sq(phi) - 4 * sq(lam))), 2 * sq(lam)));
      if (tr) {
        tr->branch("ring.fTRule", ref, "λ̄_T = $0 > 0.6", {{"λ̄_T", lam}}, true,
                   "f_T = f_y·(Φ − √(Φ^2 − 4·λ̄_T^2))/(2·λ̄_T^2)", "f_T = f_y");
        tr->value("ring.phi", "Φ", ref, "1 + $0 + $1^2", {{"μ", mu}, {"λ̄_T", lam}}, phi, "");
        tr->value("ring.fT0", "f_T", ref, "$0·($1 − √($1^2 − 4·$2^2))/(2·$2^2)",
                  {{"f_y", ps.fyg}, {"Φ", phi}, {"λ̄_T", lam}}, ps.fTg, "MPa");
      }
    } else {
      ps.fTg = sgl(ps.fyg);
      if (tr)
        tr->branch("ring.fTRule", ref, "λ̄_T = $0 > 0.6", {{"λ̄_T", lam}}, false,
                   "f_T = f_y·(Φ − √(Φ^2 − 4·λ̄_T^2))/(2·λ̄_T^2)", "f_T = f_y");
    }
  }
  if (ps.ringfab == 1) {
    ps.fTg = sgl(0.9 * ps.fTg);
    if (tr) tr->note("ring.fTCold", ref, "cold-formed ring frame: f_T = 0.9·f_T");
  }
  if (ps.fTg > ps.fyp) ps.fTg = sgl(ps.fyp);
  if (tr)
    tr->value("ring.fT", "f_T", ref, "min(f_T, $0)", {{"f_{yp}", ps.fyp}}, ps.fTg, "MPa", "0.0");
}

// Keeps fTg/2 - |SigRSd| positive: fTg is raised when the ring stress is high.
void raiseFTg(ProjectState& ps, const RunOptions& run) {
  const float twice = fin(2 * std::fabs(ps.SigRSd));
  if (twice > ps.fTg) {
    ps.fTg = sgl(2.001 * std::fabs(ps.SigRSd));
    if (run.trace)
      run.trace->value(
          "ring.fTRaised", "f_T", "Ch 3.5.2",
          "2.001·|$0| (2·|σ_{R,Sd}| > f_T: f_T raised so that f_T/2 − |σ_{R,Sd}| stays "
          "positive)",
          {{"σ_{R,Sd}", ps.SigRSd}}, ps.fTg, "MPa", "0.0");
  }
}

// The three parts of the inertia requirement over the length `len` as the
// sheet shows them (ids with the prefix of the panel ring or the heavy ring).
void recordInertia(CalcTrace& tr, const ProjectState& ps, bool heavy, const char* ref, double len,
                   double ix, double ixh, float alphaS, double ih) {
  const TraceOperand lenOp{heavy ? "L" : "l", len};
  tr.value(heavy ? "heavy.alphaS" : "ring.alphaS", "α_s", ref,
           "$0/($1·$2) (0 for a ring-stiffened cylinder)",
           {{"A_s", ps.st.As}, {"s", ps.s}, {"t", ps.t}}, alphaS, "");
  tr.value(heavy ? "heavy.Ix" : "ring.Ix", heavy ? "I_{xhr}" : "I_x", ref,
           "|$0|·$1·(1 + $2)·$3^4/(500·$4·$5) if σ_x < 0, else 0",
           {{"σ_x", ps.sigx}, {"t", ps.t}, {"α_s", alphaS}, {"r_0", ps.r0}, {"E", ps.E}, lenOp}, ix,
           "mm^4", "0.000E+0");
  tr.value(heavy ? "heavy.Ixh" : "ring.Ixh", heavy ? "I_{xhhr}" : "I_{xh}", ref,
           "(|$0|/$1)^{8/5}·($2/$3)^{1/5}·$2·$4·$5·$3 if τ ≠ 0, else 0",
           {{"τ", ps.tau}, {"E", ps.E}, {"r_0", ps.r0}, {"L", ps.L}, lenOp, {"t", ps.t}}, ixh,
           "mm^4", "0.000E+0");
  tr.value(heavy ? "heavy.delta0" : "ring.delta0", "δ_0", ref, "0.005·$0", {{"r", ps.r}}, ps.delta0,
           "mm");
  tr.value(heavy ? "heavy.Ih" : "ring.Ih", heavy ? "I_{hhr}" : "I_h",
           heavy ? "Ch 3.5.2" : "Ch 3.5.2.6",
           "|$0|·$1·$2^2·$3/(3·$4)·(1.5 + 3·$4·$5·$6/($2^2·($7/2 − |$8|))) if p_d < 0, else 0",
           {{"p_d", ps.pd},
            {"r", ps.r},
            {"r_0", ps.r0},
            lenOp,
            {"E", ps.E},
            {"z_t", ps.ztRing},
            {"δ_0", ps.delta0},
            {"f_T", ps.fTg},
            {"σ_{R,Sd}", ps.SigRSd}},
           ih, "mm^4", "0.000E+0");
}

// The three parts of a moment-of-inertia requirement over the length `len`
// (l for the panel ring, L for the heavy ring).
struct InertiaParts {
  double ix, ixh, ih;
  float alphaS;
};

InertiaParts inertiaParts(ProjectState& ps, double len) {
  const float alphaS =
      sgl(ps.cyltype != code(CylinderType::RingStiffened) ? dv(ps.st.As, ps.s * ps.t) : 0.0);
  const float E = ps.E;
  InertiaParts p{0, 0, 0, alphaS};
  if (ps.sigx < 0) {
    const float onePlus = fin(1 + alphaS);
    const float e500 = fin(500 * E);
    p.ix = dv(std::fabs(ps.sigx) * ps.t * onePlus * checked::power(ps.r0, 4.0), e500 * len);
  }
  if (ps.tau != 0) {
    const float tauE = dv(std::fabs(ps.tau), E);
    p.ixh =
        fin(cpow(tauE, 8.0 / 5.0) * cpow(dv(ps.r0, ps.L), 1.0 / 5.0) * ps.r0 * len * ps.t * ps.L);
  }
  ps.delta0 = 0.005 * ps.r;
  return p;
}

double lateralPressureInertia(const ProjectState& ps, double len) {
  if (ps.pd >= 0) return 0;
  const float pr = fin(std::fabs(ps.pd) * ps.r);
  const float e3 = fin(3 * ps.E);
  const float margin = fin(ps.fTg / 2 - std::fabs(ps.SigRSd));
  const double r02 = sq(ps.r0);
  return fin(dv(pr * r02 * len, double(e3)) * (1.5 + dv(e3 * ps.ztRing * ps.delta0, r02 * margin)));
}

// UFspecial for the current Ih (3.5.2.7).
// The terms of the special calculation that do not depend on Ih. They are
// formed in the order of the first usage evaluation, with that evaluation's
// Ih-dependent quotients checked in between, so that a fault comes from the
// same operation as when everything is evaluated in one go.
struct SpecialIhTerms {
  double lt3 = 0;   // l t^3
  double aA = 0;    // Ag / (le0 t)
  double area = 0;  // Ag + le0 t
  double ZL = 0;    // L^2 / (r t) * sqrt(1 - nu^2)
  double c0 = 0;    // 2 sqrt(1 + 0.27 ZL)
  double pi2 = 0;   // pi^2
  double r2 = 0;    // r^2
  // Formed where the first evaluation meets them, then kept.
  bool later = false;
  double tL2 = 0;   // (t / L)^2
  double rft = 0;   // rf t / r^2
  double aA85 = 0;  // (1 + aA) / 0.85
};

SpecialIhTerms specialIhTerms(const ProjectNumbers& ps) {
  const RingProfile& g = ps.rg;
  const double t = ps.t, l = ps.l, L = ps.L;
  const float r = ps.r;
  SpecialIhTerms k;
  k.lt3 = l * checked::power(t, 3.0);
  dv(10.92 * ps.Ih, k.lt3);
  k.aA = dv(g.Ag, ps.leo * t);
  k.area = g.Ag + ps.leo * t;
  dv(ps.Ih, k.area);
  k.ZL = fin(dv(sq(L), r * t) * std::sqrt(0.91));
  k.c0 = 2 * csqrt(1 + 0.27 * k.ZL);
  k.pi2 = sq(kPIr);
  k.r2 = sq(r);
  return k;
}

// |pd / pcap| for the current Ih (3.5.2.7).
float specialIhUsage(const ProjectNumbers& ps, SpecialIhTerms& k) {
  const double t = ps.t, l = ps.l, L = ps.L;
  const float r = ps.r, E = ps.E;
  const double aI = dv(10.92 * ps.Ih, k.lt3);
  const double ih2 = dv(ps.Ih, k.area);
  const double C =
      dv(2 * (1 + aI), 1 + k.aA) * (csqrt(1 + dv(0.27 * k.ZL, csqrt(1 + aI))) - dv(aI, 1 + aI));
  const double fEC = dv(C * k.pi2 * E, 12 * 0.91);
  if (!k.later) k.tL2 = sq(dv(t, L));
  const double fE = fin(fEC * k.tL2);
  double mu = 0;
  if (!(k.c0 > C))
    mu = dv((1 / 0.85) * (1 - dv(k.c0, C)) * ps.ztRing * ps.delta0 * ps.rf * l, ih2 * r * ps.leo);
  const double lam = csqrt(dv(double(ps.fTg), fE));
  const double lam2 = sq(lam);
  const float phi = sgl(1 + mu + lam2);
  const float fk = sgl(dv(ps.fTg * (phi - csqrt(sq(phi) - 4 * lam2)), 2 * lam2));
  const double fkd = dv(0.75 * fk, ps.gm);
  if (!k.later) {
    k.rft = dv(ps.rf * t, k.r2);
    k.aA85 = dv(1 + k.aA, 0.85);
  }
  const float pcap = sgl(fkd * k.rft * k.aA85);
  const float usage = std::fabs(dv(ps.pd, pcap));
  k.later = true;
  return usage;
}

// The special calculation's loop: Ih reduced by 0.99 from its current value
// while |pd/pcap| < 1 and Ih > 100000 mm4; returns the number of steps.
int reduceIh(ProjectNumbers& ps) {
  std::optional<SpecialIhTerms> terms;
  int reductions = 0;
  while (ps.UFspecial < 1 && ps.Ih > 100000) {
    ps.Ih = 0.99 * ps.Ih;
    if (!terms) terms = specialIhTerms(ps);
    ps.UFspecial = specialIhUsage(ps, *terms);
    ++reductions;
  }
  return reductions;
}

void writeInertiaLines(ProjectState& ps, const RunOptions& run, const char* ihNote) {
  if (!run.texts) return;
  ResultTable& tab = ps.ringTable;
  setLine(tab, 8, "Ih =", format(ps.Ih, "0.000E+0"), std::string("  mm4") + ihNote);
  setLine(tab, 9, "IR =", format(ps.IR, "0.000E+0"), "  mm4");
  setLine(tab, 10, "I =", format(ps.Iring, "0.000E+0"), "  mm4");
  setLine(tab, 11,
          "UF = IR/I = " + format(ps.IR, "0.000E+0") + "/" + format(ps.Iring, "0.000E+0") + " = ",
          format(ps.UFinertia, "0.00"), " ");
}

}  // namespace

void ringLengthCheck(ProjectState& ps, CalcEvents& ev, const RunOptions& run) {
  float ltmax;
  double root;
  try {
    root = csqrt(ps.r * (ps.rg.h - ps.rg.tf));
    ltmax = sgl(kPIs * root);
  } catch (const CalcFault&) {
    return;  // an impossible ring frame ends this check silently
  }
  if (CalcTrace* tr = run.trace) {
    tr->check("length", "Ring-frame buckling length (ref ch B.5.9)", "B.5.9");
    tr->branch("length.ltgi", "B.5.9", "l_T = $0 ≤ π·√(r·(h − t_f)) = $1",
               {{"l_T", ps.ltgi}, {"l_{T,max}", ltmax}}, ps.ltgi <= ltmax,
               "the ring frame's buckling length is kept",
               "the ring frame's buckling length is cut back to π·√(r·(h − t_f)) − 1");
  }
  if (ps.ltgi <= ltmax) return;
  ev.warning(" lt<=pi*Sqr(r*h), ref ch B.5.9 ");
  ps.ltgi = sgl(kPIs * root - 1);
  ev.changed(InputId::ltgi);
  ev.focus(InputId::ltgi);
}

void panelRingBuckling(ProjectState& ps, CalcEvents& ev, const RunOptions& run) {
  const double t = ps.t, l = ps.l;
  const float r = ps.r;
  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.5.2";
  if (tr) tr->check("ring", "Panel Ring Buckling: (Ch 3.5.2)", ref);
  ps.Areq = fin((dv(2.0, sq(ps.Zl)) + 0.06) * l * t);
  ps.le = dv(1.56 * csqrt(r * t), 1 + dv(12 * t, double(r)));
  if (l < ps.le) ps.le = l;
  if (tr) {
    tr->value("ring.Areq", "A_{req}", ref, "(2/$0^2 + 0.06)·$1·$2",
              {{"Z_l", ps.Zl}, {"l", l}, {"t", t}}, ps.Areq, "mm^2", "0.000E+0");
    tr->value("ring.le", "l_e", ref, "min($0, 1.56·√($1·$2)/(1 + 12·$2/$1))",
              {{"l", l}, {"r", r}, {"t", t}}, ps.le, "mm", "0.0");
  }

  ringSectionProps(ps, ps.cboring, ev, run.texts);
  if (tr) {
    const RingProfile& rg = ps.rg;
    tr->value("ring.Ag", "A_R", ref, "area of the ring-frame section", {}, rg.Ag, "mm^2",
              "0.000E+0");
    tr->value("ring.zcg", "z_{cR}", ref, "centroid of the ring frame from its shell side", {},
              rg.zcg, "mm");
    tr->value("ring.Ixg", "I_{xR}", ref, "moment of inertia of the ring frame", {}, rg.Ixg, "mm^4");
  }
  ringEffectiveSection(ps, run);
  ringTorsionStrength(ps, run);
  const RingProfile& g = ps.rg;

  const float alpha =
      sgl(ps.cyltype == code(CylinderType::RingStiffened) ? dv(g.Ag, ps.leo * t) : dv(g.Ag, l * t));
  const double rp = ps.Outside_ch != 0 ? r + t / 2 + g.h : r - t / 2 - g.h;
  const float pr = fin(ps.pd * r);
  const float onePlus = fin(1 + alpha);
  ps.SigRSd = sgl(ps.sigy + dv(r * (dv(double(pr), t) - 0.3 * ps.sigx), onePlus * rp));
  ps.UFarea = dv(ps.Areq, g.Ag);
  if (tr) {
    tr->value("ring.UFarea", "UF", ref, "$0/$1 (area requirement)",
              {{"A_{req}", ps.Areq}, {"A_R", g.Ag}}, ps.UFarea, "", "0.00");
    tr->verdict("ring.verdictArea", "UF_{area}", ref, ps.UFarea, ps.ufb);
    tr->value("ring.alpha", "α", ref,
              ps.cyltype == code(CylinderType::RingStiffened) ? "$0/($1·$2)" : "$0/($3·$2)",
              {{"A_R", g.Ag}, {"l_{eo}", ps.leo}, {"t", t}, {"l", l}}, alpha, "");
    tr->value("ring.rp", "r_p", ref, ps.Outside_ch != 0 ? "$0 + $1/2 + $2" : "$0 − $1/2 − $2",
              {{"r", r}, {"t", t}, {"h", g.h}}, rp, "mm");
    tr->value("ring.SigRSd", "σ_{R,Sd}", ref, "$0 + $1·($2·$1/$3 − 0.3·$4)/((1 + $5)·$6)",
              {{"σ_y", ps.sigy},
               {"r", r},
               {"p_d", ps.pd},
               {"t", t},
               {"σ_x", ps.sigx},
               {"α", alpha},
               {"r_p", rp}},
              ps.SigRSd, "MPa");
  }

  const InertiaParts parts = inertiaParts(ps, l);
  ps.Ix = parts.ix;
  ps.Ixh = parts.ixh;
  raiseFTg(ps, run);
  ps.Ih = lateralPressureInertia(ps, l);
  ps.IR = fin(ps.Ih + ps.Ixh + ps.Ix);
  ps.UFinertia = sgl(dv(ps.IR, ps.Iring));
  if (tr) {
    recordInertia(*tr, ps, false, ref, l, ps.Ix, ps.Ixh, parts.alphaS, ps.Ih);
    tr->value("ring.IR", "I_{R,req}", ref, "$0 + $1 + $2",
              {{"I_h", ps.Ih}, {"I_{xh}", ps.Ixh}, {"I_x", ps.Ix}}, ps.IR, "mm^4", "0.000E+0");
    tr->value("ring.UFinertia", "UF", ref, "$0/$1 (moment of inertia requirement)",
              {{"I_{R,req}", ps.IR}, {"I", ps.Iring}}, ps.UFinertia, "", "0.00");
  }

  ResultTable& tab = ps.ringTable;
  tab.n = 12;
  if (run.texts) {
    tab.label[0] = "Panel Ring Buckling: (Ch 3.5.2)";
    setLine(tab, 1, "Area requirement:", "", "");
    setLine(tab, 2,
            "UF = Areq/A = " + format(ps.Areq, "0.000E+0") + "/" + format(g.Ag, "0.000E+0") + " = ",
            format(ps.UFarea, "0.00"), "  ");
    setLine(tab, 3, "Moment of inertia requirement:", "", "");
    setLine(tab, 4, "le =", format(ps.le, "0.0"), "  mm");
    setLine(tab, 5, "fT = ", format(ps.fTg, "0.0"), "  MPa");
    setLine(tab, 6, "Ix =", format(ps.Ix, "0.000E+0"), "  mm4  ");
    setLine(tab, 7, "Ixh =", format(ps.Ixh, "0.000E+0"), "  mm4  ");
    writeInertiaLines(ps, run, " (General calc, ref ch 3.5.2.6)");
    tab.label[12] = " ";
  }

  if (ps.pd < 0 && ps.check_ih == 1) {
    ps.UFspecial = 0;
    const double generalIh = ps.Ih;
    ps.trace.IhGeneral = generalIh;
    const int reductions = reduceIh(ps);
    ps.IR = fin(ps.Ih + ps.Ixh + ps.Ix);
    ps.UFinertia = sgl(dv(ps.IR, ps.Iring));
    writeInertiaLines(ps, run, " (Special Calc, ref ch 3.5.2.7)");
    if (tr) {
      const char* refS = "Ch 3.5.2.7";
      tr->loop("ring.IhSpecial", "I_h", refS,
               "I_h reduced by the factor 0.99 while |p_d/p_{cap}| < 1 and I_h > 100000 mm^4",
               generalIh, reductions, ps.Ih, "mm^4");
      tr->value("ring.UFspecial", "|p_d/p_{cap}|", refS, "usage at the final I_h", {}, ps.UFspecial,
                "");
      tr->value("ring.IRSpecial", "I_{R,req}", refS, "$0 + $1 + $2",
                {{"I_h", ps.Ih}, {"I_{xh}", ps.Ixh}, {"I_x", ps.Ix}}, ps.IR, "mm^4", "0.000E+0");
      tr->value("ring.UFinertiaSpecial", "UF", refS, "$0/$1 (moment of inertia requirement)",
                {{"I_{R,req}", ps.IR}, {"I", ps.Iring}}, ps.UFinertia, "", "0.00");
    }
  }
  if (tr) tr->verdict("ring.verdictInertia", "UF_{inertia}", ref, ps.UFinertia, ps.ufb);
}

double specialIhWith(const ProjectNumbers& run, float fT, float* usage) {
  ProjectNumbers ps = run;
  ps.fTg = fT;
  ps.Ih = run.trace.IhGeneral;
  ps.UFspecial = 0;
  reduceIh(ps);
  if (usage) *usage = ps.UFspecial;
  return ps.Ih;
}

void heavyRing(ProjectState& ps, const RunOptions& run) {
  ResultTable& tab = ps.ringTable;
  if (run.texts) tab.label[12] = " ";
  CalcTrace* const tr = run.trace;
  const char* const ref = "Ch 3.5.2";
  if (tr) tr->check("heavy", "Heavy ring frame", ref);
  const InertiaParts parts = inertiaParts(ps, ps.L);
  raiseFTg(ps, run);
  const double ihhr = lateralPressureInertia(ps, ps.L);
  ps.Ihr = fin(ihhr + parts.ixh + parts.ix);
  if (tr) {
    recordInertia(*tr, ps, true, ref, ps.L, parts.ix, parts.ixh, parts.alphaS, ihhr);
    tr->value("heavy.Ihr", "I_{hr}", ref, "$0 + $1 + $2 (requirement only; not compared with I)",
              {{"I_{hhr}", ihhr}, {"I_{xhhr}", parts.ixh}, {"I_{xhr}", parts.ix}}, ps.Ihr, "mm^4",
              "0.000E+0");
  }
  tab.n = 12;
  if (run.texts) {
    tab.label[12]
        .assign("Heavy ringframe Ihr>= ")
        .append(format(ps.Ihr, "0.000E+0"))
        .append("  mm4");
  }
}

}  // namespace orvane
