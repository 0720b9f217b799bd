#include "cli/result_output.hpp"

#include <sstream>

#include "cli/rule_notes_output.hpp"
#include "core/calc_driver.hpp"
#include "core/panels.hpp"
#include "files/input_text.hpp"
#include "model/format.hpp"

namespace orvane::cli {

namespace {

// The local-buckling lines of the profiles the design has.
struct LocalLines {
  std::vector<std::string> stiffener, ring;
};

LocalLines localLines(const ProjectState& ps) {
  return {profileLines(ps, Member::Stiffener), profileLines(ps, Member::RingFrame)};
}

bool failed(const std::string& line) {
  const std::string nok = "==> NOK";
  return line.size() >= nok.size() && line.compare(line.size() - nok.size(), nok.size(), nok) == 0;
}

int failedCount(const LocalLines& l) {
  int n = 0;
  for (const auto* lines : {&l.stiffener, &l.ring})
    for (const std::string& line : *lines) n += failed(line) ? 1 : 0;
  return n;
}

void textLocal(std::ostringstream& out, const char* title, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  out << "\n" << title << "\n";
  for (const std::string& line : lines) out << "  " << line << "\n";
}

nlohmann::json tableJson(const ResultTable& t) {
  nlohmann::json j;
  j["n"] = t.n;
  j["label"] = t.label;
  j["value"] = t.value;
  j["unit"] = t.unit;
  return j;
}

void textPanel(std::ostringstream& out, Verdict::Panel panel, const ResultTable& t,
               const VerdictList& vs) {
  out << t.label[0] << "\n";
  for (int i = 1; i <= t.n && i < 16; ++i) {
    out << "  " << t.label[i] << t.value[i] << t.unit[i];
    for (const Verdict& v : vs)
      if (v.line == i && v.panel == panel) out << (v.exceeded() ? "  NOT OK" : "  OK");
    out << "\n";
  }
}

}  // namespace

int verdictCode(const ProjectState& ps) { return designPasses(ps) ? 0 : 1; }

nlohmann::json resultJson(const ProjectState& ps, const CheckOutcome& outcome) {
  nlohmann::json j;
  j["file"] =
      outcome.file.empty() ? nlohmann::json(nullptr) : nlohmann::json(printable(outcome.file));
  j["fault"] = outcome.fault ? nlohmann::json(*outcome.fault) : nlohmann::json(nullptr);
  j["warnings"] = outcome.warnings;
  j["tables"] = {{"shell", tableJson(ps.shellTable)},
                 {"stiff", tableJson(ps.stiffTable)},
                 {"ring", tableJson(ps.ringTable)}};
  j["rules"] = ps.conservativeRules ? "conservative" : "orvane";
  j["rule_notes"] = outcome.fault ? nlohmann::json::array() : ruleNotesJson(ps);
  j["proportion"] = ps.proportion;
  j["ringlocal"] = ps.ringLocal;
  const LocalLines local = localLines(ps);
  j["local_buckling"] = {{"stiffener", local.stiffener}, {"ring", local.ring}};
  const CheckTrace& c = ps.trace;
  const StiffenerProfile& st = ps.st;
  const RingProfile& rg = ps.rg;
  j["values"] = {{"Zl", ps.Zl},
                 {"leo", ps.leo},
                 {"SigaSd", ps.SigaSd},
                 {"SighSd", ps.SighSd},
                 {"SighTSd", ps.SighTSd},
                 {"SigmSd", ps.SigmSd},
                 {"Siga0Sd", ps.Siga0Sd},
                 {"SigjSd", ps.SigjSd},
                 {"fEa", ps.fEa},
                 {"fEh", ps.fEh},
                 {"lamdas", ps.lamdas},
                 {"fks", ps.fks},
                 {"SigjFks", ps.SigjFks},
                 {"gm", ps.gm},
                 {"beta", ps.beta},
                 {"UFallow", ps.UFallow},
                 {"UF", ps.UF},
                 {"UFstiff", ps.UFstiff},
                 {"UFallowStiff", ps.UFallowStiff},
                 {"UFarea", ps.UFarea},
                 {"UFinertia", ps.UFinertia},
                 {"fT", ps.fT},
                 {"se", ps.se},
                 {"Isef", ps.Isef},
                 {"fTg", ps.fTg},
                 {"Ag", rg.Ag},
                 {"As", st.As},
                 {"fyp", ps.fyp},
                 {"fys", ps.fys},
                 {"fyg", ps.fyg},
                 {"ltgi", ps.ltgi},
                 {"sigx", ps.sigx},
                 {"sigy", ps.sigy},
                 {"tau", ps.tau},
                 {"pd", ps.pd},
                 {"l", ps.l},
                 {"t", ps.t},
                 {"s", ps.s},
                 {"L", ps.L},
                 {"r", ps.r},
                 {"E", ps.E},
                 {"N", ps.N},
                 {"M1a", ps.M1a},
                 {"M1b", ps.M1b},
                 {"M2a", ps.M2a},
                 {"M2b", ps.M2b},
                 {"k1", ps.k1},
                 {"k2", ps.k2},
                 {"ufb", ps.ufb},
                 {"ltst", ps.ltst},
                 {"spanel", ps.spanel},
                 {"Areq", ps.Areq},
                 {"le", ps.le},
                 {"Aeff", ps.Aeff},
                 {"zcs", ps.zcs},
                 {"r0", ps.r0},
                 {"rf", ps.rf},
                 {"zt", ps.ztRing},
                 {"Iring", ps.Iring},
                 {"delta0", ps.delta0},
                 {"Ix", ps.Ix},
                 {"Ixh", ps.Ixh},
                 {"Ih", ps.Ih},
                 {"IR", ps.IR},
                 {"Ihr", ps.Ihr},
                 {"SigRSd", ps.SigRSd},
                 {"UFspecial", ps.UFspecial},
                 {"massg", rg.massg},
                 {"Awg", rg.Awg},
                 {"Afg", rg.Afg},
                 {"zcg", rg.zcg},
                 {"Ixg", rg.Ixg},
                 {"Izg", rg.Izg},
                 {"tgov_g", rg.tgov},
                 {"tgov_s", st.tgov},
                 {"Aw", st.Aw},
                 {"Af", st.Af},
                 {"mass", st.mass},
                 {"zc", st.zc},
                 {"Iy", st.Iy},
                 {"Iz", st.Iz},
                 {"Ae", st.Ae},
                 {"zp", st.zp},
                 {"Ise", st.Ise},
                 {"ie", st.ie},
                 {"st_h", st.h},
                 {"st_b", st.b},
                 {"st_tw", st.tw},
                 {"st_tf", st.tf},
                 {"rg_h", rg.h},
                 {"rg_b", rg.b},
                 {"rg_tw", rg.tw},
                 {"rg_tf", rg.tf},
                 {"stiff_note", outcome.noteShown ? 1.0 : 0.0},
                 {"gamS", c.gamS},
                 {"fEa_s", c.fEa_s},
                 {"fEtau_s", c.fEtau_s},
                 {"fEh_s", c.fEh_s},
                 {"lamdas_s", c.lamdas_s},
                 {"fksd_s", c.fksd_s},
                 {"C", c.C},
                 {"betaT", c.betaT},
                 {"fET", c.fET},
                 {"Cg", c.Cg},
                 {"betaTg", c.betaTg},
                 {"fETg", c.fETg},
                 {"Do", c.Do},
                 {"Di", c.Di},
                 {"A", c.A},
                 {"I", c.I},
                 {"i", c.i},
                 {"W", c.W},
                 {"sM1a", c.sM1a},
                 {"sM1b", c.sM1b},
                 {"sM2a", c.sM2a},
                 {"sM2b", c.sM2b},
                 {"psi1", c.psi1},
                 {"psi2", c.psi2},
                 {"Cm1", c.Cm1},
                 {"Cm2", c.Cm2},
                 {"M1Sd", c.M1Sd},
                 {"M2Sd", c.M2Sd},
                 {"fak", c.fak},
                 {"fakd", c.fakd},
                 {"lamda1", c.lamda1},
                 {"lamda2", c.lamda2},
                 {"fkcd1", c.fkcd1},
                 {"fkcd2", c.fkcd2},
                 {"fE1", c.fE1},
                 {"fE2", c.fE2},
                 {"UF1", c.UF1},
                 {"UF2", c.UF2}};
  return j;
}

std::string resultText(const ProjectState& ps, const CheckOutcome& outcome) {
  std::ostringstream out;
  out << "Orvane DNV: " << (outcome.file.empty() ? "New File" : outcome.file) << "\n";
  for (const std::string& w : outcome.warnings) out << "Warning:" << w << "\n";
  if (outcome.fault) {
    out << "Calculation stopped: " << *outcome.fault << "\n";
    return out.str();
  }
  const auto vs = shownVerdicts(ps);
  const ShownPanels shown = shownPanels(ps);
  out << "\n";
  textPanel(out, Verdict::Shell, ps.shellTable, vs);
  if (shown.stiffenerNote) {
    out << "\n"
        << ps.stiffTable.label[0] << "\n"
        << "  Note: s/t>3* Sqr(r/t) ==> calculation as an unstiffened cylinder, (Ref Ch 3.6.1)\n";
  } else if (shown.stiffener || shown.column) {
    out << "\n";
    textPanel(out, Verdict::Stiffener, ps.stiffTable, vs);
  }
  if (shown.ring) {
    out << "\n";
    textPanel(out, Verdict::Ring, ps.ringTable, vs);
  }
  const LocalLines local = localLines(ps);
  textLocal(out, "Local buckling, stiffener (Ch 3.10):", local.stiffener);
  textLocal(out, "Local buckling, ring frame (Ch 3.10):", local.ring);
  int above = 0;
  for (const Verdict& v : vs) above += v.exceeded() ? 1 : 0;
  const int nok = failedCount(local);
  out << "\n";
  if (above == 0 && nok == 0) out << "All usage factors within their allowable values\n";
  if (above > 0) out << above << " usage factor(s) above the allowable value\n";
  if (nok > 0) out << nok << " local-buckling line(s) NOK\n";
  ruleNotesText(out, ps);
  return out.str();
}

}  // namespace orvane::cli
