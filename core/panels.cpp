#include "core/panels.hpp"

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "core/calc_driver.hpp"
#include "core/rule_notes.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"

namespace orvane {

Rgb paletteColor(int palette) {
  switch (palette) {
    case kGreen:
      return {0, 128, 0};
    case kRed:
      return {128, 0, 0};
    default:
      return {0, 0, 0};
  }
}

namespace {

int verdictColor(bool exceeded) { return exceeded ? kRed : kGreen; }

// Title line of every layout; the note keeps bold on and moves y itself.
void drawTitle(DrawTarget& t, const ResultTable& table, double& y, double x, int clearFlag,
               bool keepBold) {
  if (clearFlag == 0) t.cls();
  t.setCurrentX(x);
  t.setCurrentY(y);
  t.setUnderline(true);
  t.setBold(true);
  t.print(table.label[0], false);
  t.setUnderline(false);
  if (!keepBold) {
    t.setBold(false);
    y += 1.1;
  }
}

// Label, then the value right-aligned so that it ends at `valueEnd`, then the
// unit right after the value.
void drawAlignedLine(DrawTarget& t, const ResultTable& table, int i, double y, double x,
                     double valueEnd, bool underlineLabel) {
  t.setCurrentX(x);
  t.setCurrentY(y);
  if (underlineLabel) t.setUnderline(true);
  t.print(table.label[i], false);
  if (underlineLabel) t.setUnderline(false);
  t.setCurrentX(valueEnd - t.textWidth(table.value[i]));
  t.print(table.value[i], false);
  t.print(table.unit[i], false);
}

// Verdict value printed straight after the label, bold and coloured.
void drawVerdictValue(DrawTarget& t, const std::string& value, bool exceeded) {
  t.setBold(true);
  t.setForeColor(verdictColor(exceeded));
  t.print(value, false);
  t.setBold(false);
  t.setForeColor(kBlack);
}

void drawStandard(DrawTarget& t, const ResultTable& table, double& y, double x, int clearFlag,
                  bool exceeded) {
  drawTitle(t, table, y, x, clearFlag, false);
  const int n = table.n;
  for (int i = 1; i <= n - 1; ++i) {
    drawAlignedLine(t, table, i, y, x, x + 15, false);
    y += 1;
  }
  t.setCurrentX(x);
  t.setCurrentY(y);
  t.print(table.label[n], false);
  drawVerdictValue(t, table.value[n], exceeded);
  t.print(table.unit[n], false);
}

// A ring-frame requirement: label, coloured usage factor, " <= " ufb.
void drawRingVerdict(DrawTarget& t, const ProjectState& ps, int i, double y, double x,
                     bool exceeded) {
  const ResultTable& table = ps.ringTable;
  t.setCurrentX(x);
  t.setCurrentY(y);
  t.print(table.label[i], false);
  drawVerdictValue(t, table.value[i], exceeded);
  t.print(" <= " + format(ps.ufb, "0.00"), true);
}

// Under a member's panel, when its profile fails a local-buckling or
// proportion line: a bold red heading naming the member, then each failing
// line in red. Nothing is drawn (and y stays) when no line fails.
void drawProfileNote(DrawTarget& t, const ProjectState& ps, Member member, double& y, double x) {
  const bool ring = member == Member::RingFrame;
  const std::vector<std::string> lines = failingProfileLines(ps, member);
  if (lines.empty()) return;
  y += 1.5;
  t.setCurrentX(x);
  t.setCurrentY(y);
  t.setBold(true);
  t.setForeColor(kRed);
  t.print(ring ? "Ringframe profile: local buckling NOK" : "Stiffener profile: local buckling NOK",
          false);
  t.setBold(false);
  for (const std::string& line : lines) {
    y += 1;
    t.setCurrentX(x);
    t.setCurrentY(y);
    t.print(line, false);
  }
  t.setForeColor(kBlack);
}

}  // namespace

ShownPanels shownPanels(const ProjectState& ps) {
  ShownPanels shown;
  const auto type = cylinderType(ps.cyltype);
  shown.stiffener = type == CylinderType::StringerStiffened && ps.stiff_flag == 1;
  shown.stiffenerNote = shown.stiffener && stiffenerNote(ps);
  shown.column = type == CylinderType::Column;
  shown.ring = (type == CylinderType::RingStiffened || type == CylinderType::StringerStiffened) &&
               ps.ring_ch == 1;
  return shown;
}

const char* checkName(CheckId check) {
  switch (check) {
    case CheckId::Shell:
      return "shell";
    case CheckId::Stiffener:
      return "stiffener";
    case CheckId::Column1:
      return "column1";
    case CheckId::Column2:
      return "column2";
    case CheckId::RingArea:
      return "ring_area";
    case CheckId::RingInertia:
      return "ring_inertia";
  }
  return "";
}

const char* checkCaption(CheckId check) {
  switch (check) {
    case CheckId::Shell:
      return "Shell";
    case CheckId::Stiffener:
      return "Stiffener";
    case CheckId::Column1:
      return "Column 1";
    case CheckId::Column2:
      return "Column 2";
    case CheckId::RingArea:
      return "Ring frame area";
    case CheckId::RingInertia:
      return "Ring frame inertia";
  }
  return "";
}

VerdictList shownVerdicts(const ProjectState& ps) {
  const ShownPanels shown = shownPanels(ps);
  VerdictList v;
  // In column mode under WSD the shell line prints its own allowable value
  // n0*beta*gm while the column check stores n0*1.15; the verdict follows the line.
  const double shellAllow = shown.column && ps.wsd != 0 ? ps.trace.UFallowShell : ps.UFallow;
  v.push_back({Verdict::Shell, ps.shellTable.n, ps.UF, shellAllow, CheckId::Shell});
  if (shown.column) {
    v.push_back({Verdict::Stiffener, 13, ps.trace.UF1, ps.UFallow, CheckId::Column1});
    v.push_back({Verdict::Stiffener, 14, ps.trace.UF2, ps.UFallow, CheckId::Column2});
  } else if (shown.stiffener && !shown.stiffenerNote) {
    v.push_back(
        {Verdict::Stiffener, ps.stiffTable.n, ps.UFstiff, ps.UFallowStiff, CheckId::Stiffener});
  }
  if (shown.ring) {
    v.push_back({Verdict::Ring, 2, ps.UFarea, ps.ufb, CheckId::RingArea});
    v.push_back({Verdict::Ring, ps.ringTable.n - 1, ps.UFinertia, ps.ufb, CheckId::RingInertia});
  }
  if (!ps.conservativeRules) return v;
  // judged by the more conservative rules: each verdict takes the stricter
  // reading of its rule notes
  const std::vector<RuleNote> notes = ruleNotes(ps);
  VerdictList judged;
  for (Verdict verdict : v) {
    for (const RuleNote& n : notes)
      if (n.check == verdict.check && !n.explanatory && n.allowAlt > 0 &&
          n.ufAlt / n.allowAlt > verdict.uf / verdict.allow) {
        verdict.uf = n.ufAlt;
        verdict.allow = n.allowAlt;
      }
    judged.push_back(verdict);
  }
  return judged;
}

bool judgedExceeded(const ProjectState& ps, CheckId check, bool exceeded) {
  if (!ps.conservativeRules) return exceeded;
  for (const Verdict& v : shownVerdicts(ps))
    if (v.check == check) return v.exceeded();
  return exceeded;
}

void drawRuleNotes(DrawTarget& target, const ProjectState& ps, double& y, double x,
                   std::initializer_list<CheckId> checks) {
  for (const RuleNote& n : ruleNotes(ps)) {
    if (std::find(checks.begin(), checks.end(), n.check) == checks.end()) continue;
    y += 1;
    target.setCurrentX(x);
    target.setCurrentY(y);
    target.setForeColor(n.exceededAlt() ? kRed : kBlack);
    target.print(n.mark, false);
    target.setForeColor(kBlack);
  }
}

namespace {

// How many local-buckling lines the section routine of a profile type
// writes: web and flange of the flanged stiffeners, the web of the flat
// bars and the bulb flat; four and two for the ring frame's flanged
// profiles and bulb flat. The closed profiles have none.
int profileLineCount(ProfileType type, Member member) {
  const bool ring = member == Member::RingFrame;
  const ProfileTraits& t = traits(type);
  if (t.flanged) return ring ? 4 : 2;
  if (t.family == ProfileFamily::BulbFlat) return ring ? 2 : 1;
  if (t.family == ProfileFamily::FlatBar) return 1;
  return 0;
}

bool endsNok(const std::string& line) {
  static const std::string kNok = "==> NOK";
  return line.size() >= kNok.size() &&
         line.compare(line.size() - kNok.size(), kNok.size(), kNok) == 0;
}

}  // namespace

namespace {

int shownProfileLineCount(const ProjectState& ps, const ShownPanels& shown, Member member) {
  const bool ring = member == Member::RingFrame;
  if (!(ring ? shown.ring : shown.stiffener)) return 0;
  const auto type = profileType(ring ? ps.cboring : ps.cbostiff);
  return type ? profileLineCount(*type, member) : 0;
}

}  // namespace

std::vector<std::string> profileLines(const ProjectState& ps, Member member) {
  const bool ring = member == Member::RingFrame;
  std::vector<std::string> lines;
  const int count = shownProfileLineCount(ps, shownPanels(ps), member);
  for (int i = 1; i <= count; ++i) {
    const auto k = static_cast<size_t>(i);
    lines.push_back(ring ? ps.ringLocal[k] : ps.proportion[k]);
  }
  return lines;
}

ProfileLineCounts profileLineCounts(const ProjectState& ps) {
  const ShownPanels shown = shownPanels(ps);
  ProfileLineCounts counts;
  for (const Member member : {Member::Stiffener, Member::RingFrame}) {
    const bool ring = member == Member::RingFrame;
    const int count = shownProfileLineCount(ps, shown, member);
    counts.shown += count;
    for (int i = 1; i <= count; ++i) {
      const auto k = static_cast<size_t>(i);
      counts.failing += (ring ? ps.ringLocalOk[k] : ps.proportionOk[k]) ? 0 : 1;
    }
  }
  return counts;
}

std::vector<std::string> failingProfileLines(const ProjectState& ps, Member member) {
  std::vector<std::string> failing;
  for (std::string& line : profileLines(ps, member))
    if (endsNok(line)) failing.push_back(std::move(line));
  return failing;
}

bool designPasses(const ProjectState& ps) {
  for (const Verdict& v : shownVerdicts(ps))
    if (v.exceeded()) return false;
  return failingProfileLines(ps, Member::Stiffener).empty() &&
         failingProfileLines(ps, Member::RingFrame).empty();
}

std::string withDecimalComma(const std::string& text) {
  std::string out = text;
  const auto digit = [&](size_t i) {
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0;
  };
  size_t i = 0;
  while (i < text.size()) {
    if (!digit(i)) {
      ++i;
      continue;
    }
    // one run of digits and points
    size_t end = i, points = 0, point = 0;
    while (end < text.size() && (digit(end) || text[end] == '.')) {
      if (text[end] == '.') {
        ++points;
        point = end;
      }
      ++end;
    }
    const size_t before = i >= 3 ? i - 3 : 0;
    const std::string lead = text.substr(before, i - before);
    const bool reference = lead == "Ch " || lead == "ch " || lead == "Eq ";
    if (points == 1 && !reference && point > i && digit(point + 1)) out[point] = ',';
    i = end;
  }
  return out;
}

void drawShellStandard(DrawTarget& target, const ProjectState& ps, double& y, double x,
                       int clearFlag) {
  drawStandard(target, ps.shellTable, y, x, clearFlag,
               judgedExceeded(ps, CheckId::Shell, ps.UF > ps.UFallow));
  drawRuleNotes(target, ps, y, x, {CheckId::Shell});
}

void drawStiffenerStandard(DrawTarget& target, const ProjectState& ps, double& y, double x,
                           int clearFlag) {
  drawStandard(target, ps.stiffTable, y, x, clearFlag,
               judgedExceeded(ps, CheckId::Stiffener, ps.UFstiff > ps.UFallowStiff));
  drawProfileNote(target, ps, Member::Stiffener, y, x);
  drawRuleNotes(target, ps, y, x, {CheckId::Stiffener});
}

void drawStiffenerNote(DrawTarget& target, const ProjectState& ps, double& y, double x,
                       int clearFlag) {
  drawTitle(target, ps.stiffTable, y, x, clearFlag, true);
  y += 2.1;
  target.setCurrentX(x);
  target.setCurrentY(y);
  if (clearFlag == 0) {
    target.print("Note: s/t>3* Sqr(r/t) ==>", true);
    target.setCurrentX(x);
    target.print("Calculation as an unstiffened cylinder", true);
    target.setCurrentX(x);
    target.print("(Ref Ch 3.6.1)", true);
  } else {
    target.print("Note: s/t>3* Sqr(r/t) ==> calculation as an unstiffened cylinder, (Ref Ch 3.6.1)",
                 true);
  }
  target.setBold(false);
  if (!failingProfileLines(ps, Member::Stiffener).empty()) {
    // the note's last line ended the line: continue below it
    y = target.currentY() - 1;
    drawProfileNote(target, ps, Member::Stiffener, y, x);
  }
}

void drawColumn(DrawTarget& target, const ProjectState& ps, double& y, double x, int clearFlag) {
  const ResultTable& table = ps.stiffTable;
  const bool screen = clearFlag == 0;
  drawTitle(target, table, y, x, clearFlag, false);
  const int n = table.n;
  if (n < 2) return;  // the column check always fills 14 lines
  for (int i = 1; i <= n - 2; ++i) {
    drawAlignedLine(target, table, i, y, x, x + (screen ? 20 : 30), false);
    y += 1;
  }
  const bool exceeded[2] = {judgedExceeded(ps, CheckId::Column1, ps.trace.UF1 > ps.UFallow),
                            judgedExceeded(ps, CheckId::Column2, ps.trace.UF2 > ps.UFallow)};
  for (int k = 0; k < 2; ++k) {
    const int i = n - 1 + k;
    target.setCurrentX(x);
    target.setCurrentY(y);
    target.print(table.label[i], false);
    target.setCurrentX(x + (screen ? 12 : 20));
    drawVerdictValue(target, table.value[i], exceeded[k]);
    target.print(table.unit[i], false);
    if (k == 0) y += 1;
  }
  drawRuleNotes(target, ps, y, x, {CheckId::Column1, CheckId::Column2});
}

bool ringRemarkShown(const ProjectState& ps) { return ps.pd < 0; }

void drawRing(DrawTarget& target, const ProjectState& ps, double& y, double x, int clearFlag) {
  const ResultTable& table = ps.ringTable;
  drawTitle(target, table, y, x, clearFlag, false);
  const int n = table.n;
  if (n < 4) return;  // not filled yet: no ring check has run
  drawAlignedLine(target, table, 1, y, x, x + 18, true);
  y += 1;
  drawRingVerdict(target, ps, 2, y, x, judgedExceeded(ps, CheckId::RingArea, ps.UFarea > ps.ufb));
  y += 1;
  for (int i = 3; i <= n - 2; ++i) {
    drawAlignedLine(target, table, i, y, x, x + 14, i == 3);
    y += 1;
  }
  drawRingVerdict(target, ps, n - 1, y, x,
                  judgedExceeded(ps, CheckId::RingInertia, ps.UFinertia > ps.ufb));
  y += 1;
  target.setCurrentX(x);
  target.setCurrentY(y);
  if (ringRemarkShown(ps)) target.print(table.label[n], true);
  drawProfileNote(target, ps, Member::RingFrame, y, x);
  drawRuleNotes(target, ps, y, x, {CheckId::RingArea, CheckId::RingInertia});
}

}  // namespace orvane
