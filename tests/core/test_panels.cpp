// Layout of the result tables: positions, fonts and verdict colours as a
// recording target sees them.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>

#include <string>
#include <tuple>
#include <vector>

#include "core/panels.hpp"

namespace orvane {
namespace {

struct Piece {
  double x, y;
  std::string text;
  bool bold, underline;
  int color;
};

// One x unit per character; a new line is one y unit.
class RecordingTarget final : public DrawTarget {
 public:
  void cls() override {
    pieces.clear();
    x_ = y_ = 0;
  }
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void setUnderline(bool on) override { underline = on; }
  void setBold(bool on) override { bold = on; }
  void setForeColor(int palette) override { color = palette; }
  double textWidth(const std::string& text) override { return static_cast<double>(text.size()); }
  void print(const std::string& text, bool newline) override {
    pieces.push_back({x_, y_, text, bold, underline, color});
    if (newline) {
      x_ = 0;
      y_ += 1;
    } else {
      x_ += textWidth(text);
    }
  }

  const Piece& find(const std::string& text) const {
    for (const Piece& p : pieces)
      if (p.text == text) return p;
    ADD_FAILURE() << "not drawn: " << text;
    return missing_;
  }
  // The piece printed right after `p`.
  const Piece& after(const Piece& p) const {
    if (&p == &missing_) return missing_;
    const size_t i = static_cast<size_t>(&p - pieces.data()) + 1;
    if (i < pieces.size()) return pieces[i];
    ADD_FAILURE() << "nothing after: " << p.text;
    return missing_;
  }
  int count(const std::string& text) const {
    int n = 0;
    for (const Piece& p : pieces) n += p.text == text;
    return n;
  }

  std::vector<Piece> pieces;
  bool bold = false, underline = false;
  int color = kBlack;

 private:
  double x_ = 0, y_ = 0;
  Piece missing_{};
};

using Draw = void (*)(DrawTarget&, const ProjectState&, double&, double, int);

// Lines "<prefix>L<i> = ", values "<i>.00", units " MPa".
void fill(ResultTable& t, int n, const std::string& prefix) {
  t.n = static_cast<int16_t>(n);
  t.label[0] = prefix + " title";
  for (int i = 1; i <= n; ++i) {
    t.label[i] = prefix + "L" + std::to_string(i) + " = ";
    t.value[i] = std::to_string(i) + ".00";
    t.unit[i] = " MPa";
  }
}

// All three tables filled (the column check fills 14 stiffener lines); every
// usage factor `uf` against limits of 1; outside pressure (pd < 0).
ProjectState filled(double uf = 0.5) {
  ProjectState ps;
  fill(ps.shellTable, 4, "s");
  fill(ps.stiffTable, 14, "k");
  fill(ps.ringTable, 8, "g");
  ps.UFallow = ps.UFallowStiff = ps.ufb = 1;
  ps.UF = ps.UFstiff = ps.trace.UF1 = ps.UFarea = uf;
  ps.trace.UF2 = ps.UFinertia = static_cast<float>(uf);
  ps.pd = -0.3f;
  return ps;
}

// Draws at x = 1 from y = 0.3 onto a target that already holds one line.
struct Drawn {
  RecordingTarget t;
  double y = 0.3;
};
Drawn draw(Draw f, const ProjectState& ps, int clearFlag) {
  Drawn d;
  d.t.print("report header", true);
  f(d.t, ps, d.y, 1, clearFlag);
  return d;
}

TEST(EveryLayout, ClearsOnScreenOnlyTitleThenOneLinePerRowFontsResetAfter) {
  // name, operation, table prefix, rows drawn, y after it (screen and paper)
  using Layout = std::tuple<const char*, Draw, const char*, int, double>;
  const Layout layouts[] = {{"shell", drawShellStandard, "s", 4, 1.4 + 3},
                            {"stiffener", drawStiffenerStandard, "k", 14, 1.4 + 13},
                            {"note", drawStiffenerNote, "k", 0, 0.3 + 2.1},
                            {"column", drawColumn, "k", 14, 1.4 + 13},
                            {"ring", drawRing, "g", 8, 1.4 + 7}};
  const ProjectState ps = filled();
  for (const auto& [name, f, prefix, rows, yEnd] : layouts) {
    for (int clearFlag : {0, 1, 2}) {
      SCOPED_TRACE(std::string(name) + " clear flag " + std::to_string(clearFlag));
      const Drawn d = draw(f, ps, clearFlag);
      const bool screen = clearFlag == 0;
      EXPECT_EQ(d.t.count("report header"), screen ? 0 : 1);  // cleared first on screen
      const Piece& title = d.t.pieces.at(screen ? 0 : 1);
      EXPECT_EQ(title.text, std::string(prefix) + " title");
      EXPECT_TRUE(title.x == 1 && title.y == 0.3 && title.bold && title.underline);
      for (int i = 1; i <= rows; ++i) {
        const Piece& label = d.t.find(prefix + ("L" + std::to_string(i)) + " = ");
        EXPECT_DOUBLE_EQ(label.x, 1) << i;
        EXPECT_DOUBLE_EQ(label.y, 0.3 + 1.1 + (i - 1)) << i;
        EXPECT_FALSE(label.bold) << i;
      }
      EXPECT_DOUBLE_EQ(d.y, yEnd);
      EXPECT_FALSE(d.t.bold || d.t.underline);
      EXPECT_EQ(d.t.color, kBlack);
    }
  }
}

TEST(EveryLayout, TablesNotYetFilledDrawTheTitleOnly) {
  ProjectState ps = filled();
  ps.stiffTable.n = 1;
  ps.ringTable.n = 3;
  for (Draw f : {drawColumn, drawRing}) EXPECT_EQ(draw(f, ps, 0).t.pieces.size(), 1u);
}

TEST(EveryLayout, ValuesEndAtTheirColumnWithTheUnitRightAfter) {
  // name, operation, clear flag, first and last row, where the values end
  using Rows = std::tuple<const char*, Draw, int, int, int, double>;
  const Rows columns[] = {{"shell", drawShellStandard, 0, 1, 3, 1 + 15},
                          {"stiffener", drawStiffenerStandard, 0, 1, 13, 1 + 15},
                          {"column", drawColumn, 0, 1, 12, 1 + 20},
                          {"column on paper", drawColumn, 1, 1, 12, 1 + 30},
                          {"ring heading", drawRing, 0, 1, 1, 1 + 18},
                          {"ring", drawRing, 0, 3, 6, 1 + 14}};
  for (const auto& [name, f, clearFlag, first, last, end] : columns) {
    SCOPED_TRACE(name);
    const Drawn d = draw(f, filled(), clearFlag);
    for (int i = first; i <= last; ++i) {
      const Piece& value = d.t.find(std::to_string(i) + ".00");
      EXPECT_DOUBLE_EQ(value.x + value.text.size(), end) << i;
      const Piece& unit = d.t.after(value);
      EXPECT_TRUE(unit.text == " MPa" && unit.x == end && unit.y == value.y) << i;
    }
  }
  EXPECT_DOUBLE_EQ(draw(drawColumn, filled(), 1).t.find("13.00").x, 1 + 20);
}

TEST(Verdicts, BoldRedOnlyWhenTheUsageFactorExceedsItsOwnLimit) {
  // name, operation, verdict value and where it starts on screen, its limit,
  // setting its usage factor
  using Verdict = std::tuple<const char*, Draw, const char*, double, double ProjectNumbers::*,
                             void (*)(ProjectState&, double)>;
  const Verdict verdicts[] = {
      {"shell", drawShellStandard, "4.00", 1 + 6, &ProjectState::UFallow,
       [](ProjectState& p, double uf) { p.UF = uf; }},
      {"stiffener", drawStiffenerStandard, "14.00", 1 + 7, &ProjectState::UFallowStiff,
       [](ProjectState& p, double uf) { p.UFstiff = uf; }},
      {"column UF1", drawColumn, "13.00", 1 + 12, &ProjectState::UFallow,
       [](ProjectState& p, double uf) { p.trace.UF1 = uf; }},
      {"column UF2", drawColumn, "14.00", 1 + 12, &ProjectState::UFallow,
       [](ProjectState& p, double uf) { p.trace.UF2 = static_cast<float>(uf); }},
      {"ring area", drawRing, "2.00", 1 + 6, &ProjectState::ufb,
       [](ProjectState& p, double uf) { p.UFarea = uf; }},
      {"ring inertia", drawRing, "7.00", 1 + 6, &ProjectState::ufb,
       [](ProjectState& p, double uf) { p.UFinertia = static_cast<float>(uf); }},
  };
  // The other factors take the opposite verdict, and 0.875 is red only
  // against its own limit 0.75, not against the others' 1.
  for (const auto& [name, f, verdict, x, limit, setFactor] : verdicts) {
    for (auto [uf, others, color] : {std::tuple{0.75, 2.0, kGreen}, {0.875, 0.5, kRed}}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(uf));
      ProjectState ps = filled(others);
      ps.*limit = 0.75;
      setFactor(ps, uf);
      const Drawn d = draw(f, ps, 0);
      const Piece& v = d.t.find(verdict);
      EXPECT_TRUE(v.x == x && v.bold && v.color == color);
      const Piece& after = d.t.after(v);  // the unit or the allowance
      EXPECT_TRUE(after.x == x + v.text.size() && !after.bold && after.color == kBlack);
    }
  }
}

TEST(StiffenerNote, ThreeBoldLinesOnScreenOneOnPaper) {
  const ProjectState ps = filled();
  const Drawn screen = draw(drawStiffenerNote, ps, 0);
  const std::vector<std::string> lines = {
      "Note: s/t>3* Sqr(r/t) ==>", "Calculation as an unstiffened cylinder", "(Ref Ch 3.6.1)"};
  ASSERT_EQ(screen.t.pieces.size(), 4u);
  for (int i = 1; i <= 3; ++i) {
    const Piece& p = screen.t.pieces[i];
    EXPECT_EQ(p.text, lines[i - 1]);
    EXPECT_TRUE(p.x == 1 && p.y == 2.4 + (i - 1) && p.bold && !p.underline) << i;
  }
  const Drawn paper = draw(drawStiffenerNote, ps, 1);
  ASSERT_EQ(paper.t.pieces.size(), 3u);
  EXPECT_EQ(paper.t.pieces[2].text,
            "Note: s/t>3* Sqr(r/t) ==> calculation as an unstiffened cylinder, (Ref Ch 3.6.1)");
  EXPECT_DOUBLE_EQ(paper.t.pieces[2].y, 2.4);
}

TEST(RingLayout, SubheadingsAllowancesAndTheRemarkOnlyUnderOutsidePressure) {
  for (float pd : {-0.3f, 0.3f}) {
    SCOPED_TRACE(pd);
    ProjectState ps = filled();
    ps.ringTable.unit[2] = ps.ringTable.unit[7] = "never printed";
    ps.ufb = 0.9;
    ps.pd = pd;
    const Drawn d = draw(drawRing, ps, 0);
    for (int i = 1; i <= 7; ++i)
      EXPECT_EQ(d.t.find("gL" + std::to_string(i) + " = ").underline, i == 1 || i == 3) << i;
    EXPECT_EQ(d.t.count("never printed"), 0);
    EXPECT_EQ(d.t.count(" <= 0.90"), 2);
    EXPECT_EQ(d.t.count("gL8 = "), pd < 0 ? 1 : 0);
    EXPECT_EQ(ringRemarkShown(ps), pd < 0);
  }
}

// The profile note under the stiffener and ring panels.
constexpr const char* kWebNok = "h <= 97 (Eq 3.10.6) ==> NOK";
constexpr const char* kFlangeNok = "bf <= 30 (Eq 3.10.9) ==> NOK";
constexpr const char* kRingNok = "ef/tw <= 4.1 (Eq 3.10.5) ==> NOK";

TEST(ProfileNote, OnlyTheCurrentTypesLinesOfADrawnMemberCount) {
  // name, change to the filled state, failing stiffener lines, ring lines
  using Case = std::tuple<const char*, void (*)(ProjectState&), std::vector<std::string>,
                          std::vector<std::string>>;
  const auto nok = [](ProjectState& p) {
    p.proportion = {"", kWebNok, kFlangeNok};
    p.ringLocal = {"", "h <= 88 (Eq 3.10.2) ==> OK", "h/tw <= 20 (Eq 3.10.4) ==> OK",
                   "bf <= 40 (Eq 3.10.3) ==> OK", kRingNok};
  };
  const std::vector<std::string> none, web{kWebNok}, both{kWebNok, kFlangeNok}, ring{kRingNok};
  const Case cases[] = {
      {"L stiffener, T ring frame", [](ProjectState&) {}, both, ring},
      {"flat bar: its flange slot is an old profile's", [](ProjectState& p) { p.cbostiff = 5; },
       web, ring},
      {"bulb flat: web line only", [](ProjectState& p) { p.cbostiff = p.cboring = 6; }, web, none},
      {"RHS and trapezoid have no lines",
       [](ProjectState& p) {
         p.cbostiff = 7;
         p.cboring = 8;
       },
       none, none},
      {"ring frame control off", [](ProjectState& p) { p.ring_ch = 0; }, both, none},
      {"ring stiffened: no stiffener", [](ProjectState& p) { p.cyltype = 1; }, none, ring},
      {"column: neither", [](ProjectState& p) { p.cyltype = 3; }, none, none},
      {"all lines OK",
       [](ProjectState& p) {
         p.proportion[1] = "h <= 97 (Eq 3.10.6) ==> OK";
         p.proportion[2] = "bf <= 30 (Eq 3.10.9) ==> OK";
         p.ringLocal[4] = "ef/tw <= 4.1 (Eq 3.10.5) ==> OK";
       },
       none, none},
  };
  for (const auto& [name, change, stiffener, ringFrame] : cases) {
    SCOPED_TRACE(name);
    ProjectState ps = filled();
    nok(ps);
    change(ps);
    EXPECT_EQ(failingProfileLines(ps, Member::Stiffener), stiffener);
    EXPECT_EQ(failingProfileLines(ps, Member::RingFrame), ringFrame);
    EXPECT_EQ(designPasses(ps), stiffener.empty() && ringFrame.empty());
  }
}

// What each mode shows, and that only a shown usage factor fails the design.
TEST(ShownPanels, ModesPickTheirVerdictsAndOnlyShownOnesFailTheDesign) {
  // cylinder type, ring-frame control, column, ring panel, usage factors
  // shown and the panel lines that show them
  using Mode = std::tuple<int16_t, int16_t, bool, bool, std::vector<const char*>, std::vector<int>>;
  const Mode modes[] = {
      {0, 1, false, false, {"UF"}, {4}},
      {1, 0, false, false, {"UF"}, {4}},
      {1, 1, false, true, {"UF", "UFarea", "UFinertia"}, {4, 2, 7}},
      {3, 1, true, false, {"UF", "UF1", "UF2"}, {4, 13, 14}},
  };
  for (const auto& [type, ringControl, column, ring, shownUfs, lines] : modes) {
    SCOPED_TRACE("cylinder type " + std::to_string(type) + ", ring control " +
                 std::to_string(ringControl));
    ProjectState ps = filled();
    ps.cyltype = type;
    ps.ring_ch = ringControl;
    const ShownPanels shown = shownPanels(ps);
    EXPECT_FALSE(shown.stiffener);
    EXPECT_EQ(shown.column, column);
    EXPECT_EQ(shown.ring, ring);
    std::vector<int> shownLines;
    for (const Verdict& v : shownVerdicts(ps)) shownLines.push_back(v.line);
    EXPECT_EQ(shownLines, lines);
    EXPECT_TRUE(designPasses(ps));
    const std::pair<const char*, std::function<void(ProjectState&)>> raise[] = {
        {"UF", [](ProjectState& p) { p.UF = 1.01; }},
        {"UFarea", [](ProjectState& p) { p.UFarea = 1.01; }},
        {"UFinertia", [](ProjectState& p) { p.UFinertia = 1.01f; }},
        {"UF1", [](ProjectState& p) { p.trace.UF1 = 1.01; }},
        {"UF2", [](ProjectState& p) { p.trace.UF2 = 1.01f; }},
        {"UFstiff", [](ProjectState& p) { p.UFstiff = 1.01; }}};
    for (const auto& [name, above] : raise) {
      ProjectState changed = ps;
      above(changed);
      const bool isShown = std::find_if(shownUfs.begin(), shownUfs.end(), [&](const char* n) {
                             return std::string(n) == name;
                           }) != shownUfs.end();
      EXPECT_EQ(designPasses(changed), !isShown) << name;
    }
  }
}

TEST(ProfileNote, RedHeadingAndLinesBelowThePanelOnScreenAndPaperGoneWhenAllPass) {
  // name, operation, failing member is the ring frame, y of the heading
  using Panel = std::tuple<const char*, Draw, bool, double>;
  const Panel panels[] = {{"stiffener", drawStiffenerStandard, false, 1.4 + 13 + 1.5},
                          {"ring", drawRing, true, 1.4 + 7 + 1.5},
                          {"spacing note", drawStiffenerNote, false, 0}};
  for (const auto& [name, f, ring, headingY] : panels) {
    for (int clearFlag : {0, 1}) {
      SCOPED_TRACE(std::string(name) + " clear flag " + std::to_string(clearFlag));
      ProjectState ps = filled();
      const Drawn passing = draw(f, ps, clearFlag);
      (ring ? ps.ringLocal[2] : ps.proportion[1]) = kWebNok;
      const Drawn failing = draw(f, ps, clearFlag);
      // the panel as before, then the note
      ASSERT_EQ(failing.t.pieces.size(), passing.t.pieces.size() + 2);
      for (size_t i = 0; i < passing.t.pieces.size(); ++i)
        EXPECT_EQ(failing.t.pieces[i].text, passing.t.pieces[i].text);
      const Piece& heading = failing.t.find(ring ? "Ringframe profile: local buckling NOK"
                                                 : "Stiffener profile: local buckling NOK");
      EXPECT_TRUE(heading.bold && heading.color == kRed && heading.x == 1);
      if (headingY > 0) {
        EXPECT_DOUBLE_EQ(heading.y, headingY);
      }
      // below everything the panel drew
      for (size_t i = 0; i < passing.t.pieces.size(); ++i)
        EXPECT_GT(heading.y, passing.t.pieces[i].y);
      const Piece& line = failing.t.after(heading);
      EXPECT_TRUE(line.text == kWebNok && !line.bold && line.color == kRed);
      EXPECT_DOUBLE_EQ(line.y, heading.y + 1);
      EXPECT_DOUBLE_EQ(failing.y, line.y);  // the caller continues below the note
      EXPECT_EQ(failing.t.color, kBlack);
      EXPECT_FALSE(failing.t.bold);
    }
  }
}

TEST(DecimalComma, NumbersTakeTheCommaReferencesKeepTheirPoints) {
  const std::pair<const char*, const char*> cases[] = {
      {"111.4/143.5 = ", "111,4/143,5 = "},
      {"0.78", "0,78"},
      {"-0.300", "-0,300"},
      {"1.067E+8/2.484E+6 = ", "1,067E+8/2,484E+6 = "},
      {"Shell Buckling: (Ch 3.3.2)", "Shell Buckling: (Ch 3.3.2)"},
      {"Global Buckling: (Ch 3.8)", "Global Buckling: (Ch 3.8)"},
      {"h <= 97 (Eq 3.10.6) ==> NOK", "h <= 97 (Eq 3.10.6) ==> NOK"},
      {" (General calc, ref ch 3.5.2.6)", " (General calc, ref ch 3.5.2.6)"},
      {" <= 1.00", " <= 1,00"},
      {"NV-32 (AH32..FH32)", "NV-32 (AH32..FH32)"},
      {"T200x90x9.0x12.0", "T200x90x9,0x12,0"},
      {"end.", "end."},
      {"5.", "5."},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(withDecimalComma(in), out) << in;
}

}  // namespace
}  // namespace orvane
