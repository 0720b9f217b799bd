#include "core/calc_sheet.hpp"

#include "core/rule_notes.hpp"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "core/panels.hpp"
#include "core/sheet_markup.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"
#include "model/number_chars.hpp"
#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"

namespace orvane {

namespace {

constexpr const char* kGreen = "#008000";  // the panels' RGB 0, 128, 0
constexpr const char* kRed = "#800000";    // RGB 128, 0, 0
constexpr const char* kGrey = "#505050";

constexpr const char* kStyle =
    "body { font-family: 'DejaVu Sans', Arial, sans-serif; font-size: 9pt; color: #000000; }\n"
    "h1 { font-size: 15pt; margin-bottom: 4px; }\n"
    "h2 { font-size: 11pt; margin-top: 14px; margin-bottom: 4px; }\n"
    "table { border-collapse: collapse; }\n"
    "td, th { vertical-align: top; padding: 1px 4px; text-align: left; }\n"
    "th { background-color: #e8e8e8; }\n"
    "td.n { text-align: right; white-space: nowrap; }\n"
    "tr.row td { border-bottom: 1px solid #dddddd; }\n";

std::string esc(const std::string& s) { return markupHtml(s); }

std::string coloured(const std::string& text, const char* colour, bool bold) {
  std::string out = std::string("<span style=\"color:") + colour + ";";
  if (bold) out += " font-weight:bold;";
  return out + "\">" + text + "</span>";
}

std::string unitHtml(const char* unit) {
  return *unit ? "&nbsp;" + markupHtml(unit) : std::string();
}

// Spaces as non-breaking spaces: a chapter reference stays on one line (a
// longer one may break between its words).
std::string nonBreaking(const std::string& text) {
  if (text.size() > 12) return text;
  std::string out;
  for (char c : text) out += c == ' ' ? std::string("&nbsp;") : std::string(1, c);
  return out;
}

bool hasOperands(const TraceStep& s) { return std::strchr(s.formula, '$') != nullptr; }

// One row of a step table: symbol | working | result | panel | reference.
void row(std::ostringstream& out, const std::string& symbol, const std::string& working,
         const std::string& result, const std::string& panel, const char* reference) {
  out << "<tr class=\"row\"><td width=\"10%\">" << symbol << "</td><td width=\"51%\">" << working
      << "</td><td class=\"n\" width=\"16%\" align=\"right\">" << result
      << "</td><td class=\"n\" width=\"8%\" align=\"right\">" << panel
      << "</td><td width=\"15%\" align=\"right\"><font color=\"" << kGrey << "\">"
      << nonBreaking(esc(reference)) << "</font></td></tr>\n";
}

void valueRow(std::ostringstream& out, const TraceStep& s) {
  std::string working;
  if (hasOperands(s)) {
    working =
        "= " + markupHtml(fillFormula(s, false)) + "<br>= " + markupHtml(fillFormula(s, true));
  } else if (*s.formula) {
    working = "= " + markupHtml(s.formula);
  }
  const std::string result = "= " + markupHtml(sigDigits(s.result)) + unitHtml(s.unit);
  const std::string panel = *s.pattern ? format(s.result, s.pattern) : std::string();
  row(out, "<b>" + markupHtml(s.symbol) + "</b>", working, result, panel, s.reference);
}

void branchRow(std::ostringstream& out, const TraceStep& s) {
  std::string text = markupHtml(fillFormula(s, true));
  if (s.operandCount > 0 || *s.otherwise) text += s.result != 0 ? ": holds" : ": does not hold";
  text += " &rarr; " + markupHtml(s.taken);
  row(out, "", "<i>" + text + "</i>", "", "", s.reference);
}

void verdictRow(std::ostringstream& out, const TraceStep& s, bool counted) {
  const double allow = s.operands[0].value;
  const bool exceeded = s.result > allow;
  const std::string uf = format(s.result, "0.00"), al = format(allow, "0.00");
  std::string text = markupHtml(s.symbol) + " = " + uf + (exceeded ? " &gt; " : " &lt;= ") + al;
  text += exceeded ? "&nbsp;&nbsp;NOT OK" : "&nbsp;&nbsp;OK";
  const std::string shown = counted ? coloured(text, exceeded ? kRed : kGreen, true)
                                    : coloured(text + " (not shown: see the note)", kGrey, false);
  row(out, "<b>" + markupHtml(s.symbol) + "</b>", shown, "", uf, s.reference);
}

void loopRow(std::ostringstream& out, const TraceStep& s) {
  const std::string text = markupHtml(s.formula) + "<br>start " + markupHtml(s.symbol) + " = " +
                           markupHtml(sigDigits(s.operands[0].value)) + unitHtml(s.unit) + ", " +
                           std::to_string(static_cast<int>(s.operands[1].value)) +
                           " reductions, final " + markupHtml(s.symbol) + " = " +
                           markupHtml(sigDigits(s.operands[2].value)) + unitHtml(s.unit);
  row(out, "<b>" + markupHtml(s.symbol) + "</b>", text,
      "= " + markupHtml(sigDigits(s.result)) + unitHtml(s.unit), format(s.result, s.pattern),
      s.reference);
}

// A check's table; its title and the column heads repeat on every page the
// table runs onto.
void tableStart(std::ostringstream& out, const std::string& title) {
  out << "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">\n<thead>\n";
  if (!title.empty()) out << "<tr><td colspan=\"5\"><h2>" << title << "</h2></td></tr>\n";
  out << "<tr><th width=\"10%\">Symbol</th><th width=\"51%\">Formula / with the numbers</th>"
      << "<th width=\"16%\" align=\"right\">Result</th><th width=\"8%\" align=\"right\">Panel</th>"
      << "<th width=\"15%\" align=\"right\">Ref.</th></tr>\n</thead>\n";
}

struct InputLine {
  const char* symbol;
  std::string value;
  const char* unit;
  const char* what;
};

// An input as stored, to six significant digits.
std::string num(double v) {
  char buf[32];
  return std::string(buf, chars::general(buf, buf + sizeof buf, v, 6));
}

std::vector<InputLine> inputs(const ProjectState& ps) {
  const bool column = ps.cyltype == code(CylinderType::Column);
  const bool stringers = ps.cyltype == code(CylinderType::StringerStiffened);
  std::vector<InputLine> in{
      {"r", num(ps.r), "mm", "radius of the shell's middle surface"},
      {"t", num(ps.t), "mm", "shell thickness"},
      {"l", num(ps.l), "mm", "ring-frame spacing"},
      {"L", num(ps.L), "mm", "cylinder length"},
      {"E", num(ps.E), "MPa", "modulus of elasticity"},
      {"f_{yp}", num(ps.fyp), "MPa", "yield strength of the shell plate"},
  };
  if (stringers) {
    in.push_back({"s", num(ps.s), "mm", "stringer spacing"});
    in.push_back({"l_T", num(ps.ltst), "mm", "torsional buckling length of the stringer"});
    in.push_back({"f_{ys}", num(ps.fys), "MPa", "yield strength of the stringer"});
    in.push_back({"stringer", stiffenerDesignation(ps, ps.cbostiff), "", "stringer profile"});
  }
  if (column) {
    in.push_back({"N", num(ps.N), "kN", "axial force"});
    in.push_back(
        {"M_{1a}, M_{1b}", num(ps.M1a) + ", " + num(ps.M1b), "kNm", "end moments, axis 1"});
    in.push_back(
        {"M_{2a}, M_{2b}", num(ps.M2a) + ", " + num(ps.M2b), "kNm", "end moments, axis 2"});
    in.push_back({"k_1, k_2", num(ps.k1) + ", " + num(ps.k2), "", "effective-length factors"});
    in.push_back({"moments", ps.odmom == 0 ? "max value" : "reduced value", "",
                  "dimensioning moments (Norsok N-004 Table 6-2)"});
  } else {
    in.push_back({"σ_x", num(ps.sigx), "MPa", "axial design stress (negative: compression)"});
    in.push_back({"σ_y", num(ps.sigy), "MPa", "circumferential design stress"});
    in.push_back({"τ", num(ps.tau), "MPa", "shear design stress"});
  }
  in.push_back({"p_d", num(ps.pd), "MPa", "lateral pressure (negative: from outside)"});
  if (ps.ring_ch == 1 || ps.hring_ch == 1 || ps.cyltype == code(CylinderType::RingStiffened)) {
    in.push_back(
        {"ring frame", ringDesignation(ps, ps.cboring), "",
         ps.Outside_ch != 0 ? "ring-frame profile, outside" : "ring-frame profile, inside"});
    in.push_back({"f_{yg}", num(ps.fyg), "MPa", "yield strength of the ring frame"});
    in.push_back({"l_T", num(ps.ltgi), "mm", "torsional buckling length of the ring frame"});
    in.push_back({"fabrication", ps.ringfab == 1 ? "cold formed" : "fabricated", "", "ring frame"});
  }
  in.push_back({"format", ps.wsd == 0 ? "LRFD" : "WSD", "", "design format"});
  in.push_back({ps.wsd == 0 ? "UF" : "n_0", format(ps.ufb, "0.00"), "",
                ps.wsd == 0 ? "allowable usage factor" : "basic usage factor"});
  return in;
}

const char* cylinderText(int cyltype) {
  switch (cyltype) {
    case 0:
      return "unstiffened cylinder";
    case 1:
      return "ring-stiffened cylinder";
    case 2:
      return "stringer-stiffened cylinder";
    case 3:
      return "column (tubular member)";
    default:
      return "unknown cylinder type";
  }
}

void header(std::ostringstream& out, const ProjectState& ps, const SheetHeader& h) {
  out << "<h1>Calculation sheet</h1>\n<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">\n";
  auto line = [&](const char* label, const std::string& value) {
    out << "<tr><td width=\"22%\"><b>" << label << "</b></td><td width=\"78%\">" << value
        << "</td></tr>\n";
  };
  line("Project", esc(ps.projectName));
  line("Identification", esc(ps.ident));
  line("File", esc(ps.fileName));
  line("Cylinder type", cylinderText(ps.cyltype));
  line("Date", esc(h.date));
  line("Program", std::string("Orvane DNV ") + ORVANE_VERSION + ", DNV-RP-C202");
  line("Judged by", rulesJudging(ps));
  std::string files;
  for (const std::string& f : h.dataFiles) files += (files.empty() ? "" : "<br>") + esc(f);
  line("Data files", files);
  out << "</table>\n";
  for (const std::string& w : h.warnings)
    out << "<p>" << coloured("Warning:" + esc(w), kRed, false) << "</p>\n";
  if (h.fault)
    out << "<p>" << coloured("The calculation stopped: " + esc(*h.fault), kRed, true)
        << "<br>The sheet shows the steps computed before the fault; the panels show the last "
           "complete results.</p>\n";
}

// The rule notes of the run: for each, the check, both readings, the values
// of the other and the verdict under each.
void ruleNotesSection(std::ostringstream& out, const ProjectState& ps, const SheetHeader& h) {
  out << "<h2>Rule notes</h2>\n";
  const std::vector<RuleNote> notes = h.fault ? std::vector<RuleNote>{} : ruleNotes(ps);
  if (notes.empty()) {
    out << "<p>No other current reading of DNV-RP-C202 named in the method notes gives this "
           "design a higher usage factor.</p>\n";
    return;
  }
  const auto verdict = [](double uf, double allow) {
    const bool exceeded = uf > allow;
    return coloured(format(uf, "0.00") + (exceeded ? " &gt; " : " &lt;= ") + format(allow, "0.00") +
                        (exceeded ? "&nbsp;&nbsp;NOT OK" : "&nbsp;&nbsp;OK"),
                    exceeded ? kRed : kGreen, true);
  };
  out << "<ol>\n";
  for (const RuleNote& n : notes)
    out << "<li><b>" << checkName(n.check) << "</b> (" << n.chapter << ")<br>"
        << "This program: " << markupHtml(n.rule) << ": UF = " << verdict(n.uf, n.allow) << "<br>"
        << "Other reading: " << markupHtml(n.alternative) << "; " << markupHtml(n.values)
        << ": UF = " << verdict(n.ufAlt, n.allowAlt) << "</li>\n";
  out << "</ol>\n";
}

void inputSection(std::ostringstream& out, const ProjectState& ps) {
  out << "<h2>Inputs</h2>\n<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">\n"
      << "<tr><th width=\"16%\">Symbol</th><th width=\"24%\" align=\"right\">Value</th>"
      << "<th width=\"10%\">Unit</th><th width=\"50%\">Meaning</th></tr>\n";
  for (const InputLine& i : inputs(ps))
    out << "<tr class=\"row\"><td>" << markupHtml(i.symbol) << "</td><td align=\"right\">"
        << esc(i.value) << "</td><td>" << markupHtml(i.unit) << "</td><td>" << i.what
        << "</td></tr>\n";
  out << "</table>\n";
}

// The conversion of section forces into σx and τ, with its numbers at the
// governing point of each check.
void forcesSection(std::ostringstream& out, const SheetForces& f) {
  out << "<h2>Section forces</h2>\n<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">\n";
  const auto line = [&](const std::string& symbol, const std::string& working,
                        const std::string& result) {
    row(out, "<b>" + markupHtml(symbol) + "</b>", working, result, "", "");
  };
  line("N, M_1, M_2", "", num(f.N) + "&nbsp;kN, " + num(f.M1) + ", " + num(f.M2) + "&nbsp;kNm");
  line("T, Q_1, Q_2", "", num(f.T) + "&nbsp;kNm, " + num(f.Q1) + ", " + num(f.Q2) + "&nbsp;kN");
  if (f.stringers)
    line("t_e", "= t + A_s/s = " + num(f.t) + " + " + num(f.As) + "/" + num(f.s),
         "= " + num(f.te) + "&nbsp;mm");
  else
    line("t_e", "= t (no stringers)", "= " + num(f.te) + "&nbsp;mm");
  const std::string r = num(f.r), te = num(f.te), t = num(f.t);
  // a negative operand in brackets, as the working of the checks writes it
  const auto op = [](double v) { return v < 0 ? "(" + num(v) + ")" : num(v); };
  for (const SheetForces::Point& p : f.points) {
    const std::string th = num(p.theta) + "°";
    std::string name = p.check;
    std::replace(name.begin(), name.end(), '_', ' ');
    out << "<tr><td colspan=\"5\"><b>" << esc(name) << "</b>: governing point θ = " << th
        << ", UF = " << format(p.uf, "0.00") << (p.uf > p.allow ? " &gt; " : " &lt;= ")
        << format(p.allow, "0.00") << (p.chosen ? " (the working below is that of this point)" : "")
        << "</td></tr>\n";
    line(
        "σ_x",
        "= " + markupHtml("1000·N/(2π·r·t_e) + 10^6·(M_1·sin θ − M_2·cos θ)/(π·r^2·t_e)") +
            "<br>= 1000·" + op(f.N) + "/(2π·" + r + "·" + te + ") + 10<sup>6</sup>·(" + op(f.M1) +
            "·sin " + th + " − " + op(f.M2) + "·cos " + th + ")/(π·" + r + "<sup>2</sup>·" + te +
            ")",
        "= " + markupHtml(sigDigits(p.sigx)) + "&nbsp;MPa<br>stored " + shortestText(p.sigxStored));
    line("τ",
         "= " + markupHtml("10^6·T/(2π·r^2·t) + 1000·(Q_1·cos θ + Q_2·sin θ)/(π·r·t)") +
             "<br>= 10<sup>6</sup>·" + op(f.T) + "/(2π·" + r + "<sup>2</sup>·" + t + ") + 1000·(" +
             op(f.Q1) + "·cos " + th + " + " + op(f.Q2) + "·sin " + th + ")/(π·" + r + "·" + t +
             ")",
         "= " + markupHtml(sigDigits(p.tau)) + "&nbsp;MPa<br>stored " + shortestText(p.tauStored));
  }
  out << "</table>\n<p>Each check's usage factor is its largest round the circumference (θ "
         "measured from axis 1 towards axis 2; compression negative). "
         "The stresses are stored as typed values are (single precision); the check with "
         "--set sigx and --set tau at the stored values gives the same usage factor.</p>\n";
}

void localSection(std::ostringstream& out, const ProjectState& ps) {
  const struct {
    Member member;
    const char* title;
  } members[] = {{Member::Stiffener, "Local buckling, stiffener (Ch 3.10)"},
                 {Member::RingFrame, "Local buckling, ring frame (Ch 3.10)"}};
  for (const auto& m : members) {
    const std::vector<std::string> lines = profileLines(ps, m.member);
    if (lines.empty()) continue;
    out << "<h2>" << m.title
        << "</h2>\n<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">\n";
    for (const std::string& l : lines) {
      const bool nok = l.size() >= 7 && l.compare(l.size() - 7, 7, "==> NOK") == 0;
      const size_t eq = l.find("(Eq ");
      const size_t close = eq == std::string::npos ? eq : l.find(')', eq);
      const std::string ref =
          close == std::string::npos ? "Ch 3.10" : l.substr(eq + 1, close - eq - 1);
      const std::string text = eq == std::string::npos ? l : l.substr(0, eq);
      out << "<tr class=\"row\"><td width=\"66%\">" << esc(text) << "</td><td width=\"22%\">"
          << coloured(nok ? "NOK" : "OK", nok ? kRed : kGreen, true)
          << "</td><td width=\"12%\" align=\"right\"><font color=\"" << kGrey << "\">" << esc(ref)
          << "</font></td></tr>\n";
    }
    out << "</table>\n";
  }
}

}  // namespace

std::vector<std::string> sheetDataFiles(const std::string& dir) {
  std::vector<std::string> files;
  for (const char* name : {"DNVmat.dat", "bfprof.dat", "lprof.dat", "tprof.dat", "fprof.dat"})
    files.push_back(dir.empty() ? std::string(name) : dir + "/" + name);
  return files;
}

std::string calcSheetHtml(const ProjectState& ps, const CalcTrace& trace, const SheetHeader& h) {
  std::ostringstream out;
  out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>Calculation sheet - "
      << esc(ps.projectName) << "</title>\n<style>\n"
      << kStyle << "</style></head>\n<body>\n";
  header(out, ps, h);
  inputSection(out, ps);
  if (h.forces) forcesSection(out, *h.forces);

  const ShownPanels shown = shownPanels(ps);
  bool open = false;
  bool inStiffener = false;
  for (const TraceStep& s : trace.steps()) {
    if (s.kind == TraceStep::Kind::Check) {
      if (open) out << "</table>\n";
      tableStart(out, esc(s.symbol));
      open = true;
      inStiffener = std::strcmp(s.id, "stiff") == 0;
      if (inStiffener && shown.stiffenerNote)
        row(out, "",
            coloured("Note: s/t &gt; 3·√(r/t) ==&gt; the panel shows the calculation as an "
                     "unstiffened cylinder; the stiffener check below is computed but not part "
                     "of the verdict.",
                     kGrey, false),
            "", "", "Ch 3.6.1");
      continue;
    }
    if (!open) {
      tableStart(out, "");
      open = true;
    }
    switch (s.kind) {
      case TraceStep::Kind::Value:
        valueRow(out, s);
        break;
      case TraceStep::Kind::Branch:
        branchRow(out, s);
        break;
      case TraceStep::Kind::Verdict:
        verdictRow(out, s, !(inStiffener && shown.stiffenerNote));
        break;
      case TraceStep::Kind::Loop:
        loopRow(out, s);
        break;
      case TraceStep::Kind::Note:
        row(out, "", "<i>" + markupHtml(s.formula) + "</i>", "", "", s.reference);
        break;
      case TraceStep::Kind::Check:
        break;
    }
  }
  if (open) out << "</table>\n";
  localSection(out, ps);

  ruleNotesSection(out, ps, h);

  out << "<h2>Method notes</h2>\n<ol>\n";
  for (const std::string& n : methodNotes(ps)) out << "<li>" << markupHtml(n) << "</li>\n";
  out << "</ol>\n<p><font color=\"" << kGrey
      << "\">Every value on this sheet was recorded by the calculation run that produced the "
         "result panels; numbers in the working carry four significant digits, the column "
         "Panel shows the value as the panels print it.</font></p>\n</body></html>\n";
  return out.str();
}

}  // namespace orvane
