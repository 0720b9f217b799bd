// Layout of the result tables: positions, fonts and verdict colours as a
// recording target sees them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/panels.hpp"

namespace orvane {
namespace {

struct Piece {
  double x, y;
  std::string text;
  bool bold, underline;
  int color;
  bool newline;
};

// One x unit per character; a new line is one y unit.
class RecordingTarget final : public DrawTarget {
 public:
  void cls() override {
    ++clears;
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
    pieces.push_back({x_, y_, text, bold, underline, color, newline});
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
    return pieces.front();
  }
  bool drawn(const std::string& text) const {
    for (const Piece& p : pieces)
      if (p.text == text) return true;
    return false;
  }

  std::vector<Piece> pieces;
  int clears = 0;
  bool bold = false, underline = false;
  int color = kBlack;

 private:
  double x_ = 0, y_ = 0;
};

void fill(ResultTable& t, int n, const std::string& prefix) {
  t.n = static_cast<int16_t>(n);
  t.label[0] = prefix + " title";
  for (int i = 1; i <= n; ++i) {
    t.label[i] = prefix + "L" + std::to_string(i) + " = ";
    t.value[i] = std::to_string(i) + ".00";
    t.unit[i] = i == n ? " <= 1.00" : " MPa";
  }
}

void expectFontsReset(const RecordingTarget& t) {
  EXPECT_FALSE(t.bold);
  EXPECT_FALSE(t.underline);
  EXPECT_EQ(t.color, kBlack);
}

TEST(PanelPalette, ClassicColours) {
  EXPECT_EQ(paletteColor(kRed).r, 128);
  EXPECT_EQ(paletteColor(kRed).g, 0);
  EXPECT_EQ(paletteColor(kGreen).g, 128);
  EXPECT_EQ(paletteColor(kGreen).r, 0);
  EXPECT_EQ(paletteColor(kBlack).b, 0);
}

TEST(StandardLayout, TitleLinesAndVerdictPositions) {
  ProjectState ps;
  fill(ps.shellTable, 4, "s");
  ps.UF = 0.5;
  ps.UFallow = 1.0;
  RecordingTarget t;
  double y = 0.3;
  drawShellStandard(t, ps, y, 1, 0);

  EXPECT_EQ(t.clears, 1);
  const Piece& title = t.find("s title");
  EXPECT_DOUBLE_EQ(title.x, 1);
  EXPECT_DOUBLE_EQ(title.y, 0.3);
  EXPECT_TRUE(title.bold);
  EXPECT_TRUE(title.underline);

  for (int i = 1; i <= 3; ++i) {
    const Piece& label = t.find("sL" + std::to_string(i) + " = ");
    EXPECT_DOUBLE_EQ(label.x, 1);
    EXPECT_DOUBLE_EQ(label.y, 0.3 + 1.1 + (i - 1));
    EXPECT_FALSE(label.bold);
    const Piece& value = t.find(std::to_string(i) + ".00");
    EXPECT_DOUBLE_EQ(value.x + value.text.size(), 16);  // ends at x + 15
    EXPECT_DOUBLE_EQ(value.y, label.y);
  }
  // the verdict follows its label directly, bold and green, y not advanced
  const Piece& vlabel = t.find("sL4 = ");
  const Piece& verdict = t.find("4.00");
  EXPECT_DOUBLE_EQ(vlabel.y, 0.3 + 1.1 + 3);
  EXPECT_DOUBLE_EQ(verdict.x, 1 + vlabel.text.size());
  EXPECT_TRUE(verdict.bold);
  EXPECT_EQ(verdict.color, kGreen);
  const Piece& unit = t.find(" <= 1.00");
  EXPECT_FALSE(unit.bold);
  EXPECT_EQ(unit.color, kBlack);
  EXPECT_DOUBLE_EQ(y, 0.3 + 1.1 + 3);
  expectFontsReset(t);
}

TEST(StandardLayout, VerdictRedOnlyWhenStrictlyGreater) {
  ProjectState ps;
  fill(ps.shellTable, 2, "s");
  fill(ps.stiffTable, 2, "k");
  struct Case {
    double uf, allow;
    int color;
  } cases[] = {{1.0, 1.0, kGreen}, {1.0000001, 1.0, kRed}, {0.99, 1.0, kGreen}};
  for (const Case& c : cases) {
    ps.UF = ps.UFstiff = c.uf;
    ps.UFallow = ps.UFallowStiff = c.allow;
    RecordingTarget shell, stiff;
    double y1 = 0.3, y2 = 0.3;
    drawShellStandard(shell, ps, y1, 1, 0);
    drawStiffenerStandard(stiff, ps, y2, 1, 0);
    EXPECT_EQ(shell.find("2.00").color, c.color) << c.uf;
    EXPECT_EQ(stiff.find("2.00").color, c.color) << c.uf;
  }
  // each layout reads its own pair of values
  ps.UF = 2;
  ps.UFallow = 1;
  ps.UFstiff = 0.5;
  ps.UFallowStiff = 1;
  RecordingTarget stiff;
  double y = 0;
  drawStiffenerStandard(stiff, ps, y, 1, 0);
  EXPECT_EQ(stiff.find("2.00").color, kGreen);
}

TEST(StandardLayout, TableOfOneLineHasTitleAndVerdictOnly) {
  ProjectState ps;
  fill(ps.shellTable, 1, "s");
  ps.UF = 2;
  ps.UFallow = 1;
  RecordingTarget t;
  double y = 0.3;
  drawShellStandard(t, ps, y, 1, 0);
  ASSERT_EQ(t.pieces.size(), 4u);  // title, label, value, unit
  EXPECT_EQ(t.pieces[1].text, "sL1 = ");
  EXPECT_DOUBLE_EQ(t.pieces[1].y, 1.4);
  EXPECT_EQ(t.pieces[2].color, kRed);
  EXPECT_DOUBLE_EQ(y, 1.4);
}

TEST(StandardLayout, WideValueStillEndsAtFifteen) {
  ProjectState ps;
  fill(ps.shellTable, 2, "s");
  ps.shellTable.value[1] = "12345678901234567890";  // 20 units
  RecordingTarget t;
  double y = 0;
  drawShellStandard(t, ps, y, 2, 0);
  const Piece& v = t.find("12345678901234567890");
  EXPECT_DOUBLE_EQ(v.x, 2 + 15 - 20);
  EXPECT_DOUBLE_EQ(t.find(" MPa").x, 17);
}

TEST(StandardLayout, PaperDrawsWithoutClearingAndAdvancesY) {
  ProjectState ps;
  fill(ps.shellTable, 5, "s");
  RecordingTarget t;
  t.print("report header", true);
  double y = 10;
  drawShellStandard(t, ps, y, 3, 1);
  EXPECT_EQ(t.clears, 0);
  EXPECT_TRUE(t.drawn("report header"));
  EXPECT_DOUBLE_EQ(y, 10 + 1.1 + 4);
  EXPECT_DOUBLE_EQ(t.find("s title").x, 3);
}

TEST(StiffenerNote, ThreeLinesOnScreenOneOnPaper) {
  ProjectState ps;
  fill(ps.stiffTable, 6, "k");
  RecordingTarget screen;
  double y = 0.3;
  drawStiffenerNote(screen, ps, y, 1, 0);
  EXPECT_EQ(screen.clears, 1);
  ASSERT_EQ(screen.pieces.size(), 4u);
  EXPECT_EQ(screen.pieces[1].text, "Note: s/t>3* Sqr(r/t) ==>");
  EXPECT_EQ(screen.pieces[2].text, "Calculation as an unstiffened orvane");
  EXPECT_EQ(screen.pieces[3].text, "(Ref Ch 3.6.1)");
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(screen.pieces[i].x, 1);
    EXPECT_DOUBLE_EQ(screen.pieces[i].y, 2.4 + (i - 1));
    EXPECT_TRUE(screen.pieces[i].bold);  // the note stays bold under the title
    EXPECT_FALSE(screen.pieces[i].underline);
  }
  EXPECT_FALSE(screen.bold);

  RecordingTarget paper;
  y = 5;
  drawStiffenerNote(paper, ps, y, 1, 1);
  EXPECT_EQ(paper.clears, 0);
  ASSERT_EQ(paper.pieces.size(), 2u);
  EXPECT_EQ(paper.pieces[1].text,
            "Note: s/t>3* Sqr(r/t) ==> calculation as an unstiffened orvane, (Ref Ch 3.6.1)");
  EXPECT_DOUBLE_EQ(paper.pieces[1].y, 7.1);
  EXPECT_DOUBLE_EQ(y, 7.1);
}

TEST(ColumnLayout, ScreenAndPaperColumnsAndBothVerdicts) {
  ProjectState ps;
  fill(ps.stiffTable, 14, "c");
  ps.UFallow = 1.0;
  ps.trace.UF1 = 1.2;
  ps.trace.UF2 = 1.0f;
  RecordingTarget screen;
  double y = 0.3;
  drawColumn(screen, ps, y, 1, 0);
  EXPECT_DOUBLE_EQ(screen.find("12.00").x + 5, 21);  // values end at x + 20
  EXPECT_DOUBLE_EQ(screen.find("13.00").x, 13);      // verdicts start at x + 12
  EXPECT_DOUBLE_EQ(screen.find("14.00").x, 13);
  EXPECT_EQ(screen.find("13.00").color, kRed);
  EXPECT_EQ(screen.find("14.00").color, kGreen);
  EXPECT_TRUE(screen.find("14.00").bold);
  EXPECT_DOUBLE_EQ(screen.find("cL13 = ").y, 0.3 + 1.1 + 12);
  EXPECT_DOUBLE_EQ(screen.find("cL14 = ").y, 0.3 + 1.1 + 13);
  EXPECT_DOUBLE_EQ(y, 0.3 + 1.1 + 13);
  expectFontsReset(screen);

  RecordingTarget paper;
  y = 0;
  drawColumn(paper, ps, y, 1, 2);
  EXPECT_EQ(paper.clears, 0);
  EXPECT_DOUBLE_EQ(paper.find("1.00").x + 4, 31);  // values end at x + 30
  EXPECT_DOUBLE_EQ(paper.find("13.00").x, 21);     // verdicts start at x + 20
}

TEST(RingLayout, SubheadingsVerdictsAndRemark) {
  ProjectState ps;
  fill(ps.ringTable, 8, "g");
  ps.ringTable.unit[2] = "never printed";
  ps.ufb = 0.9;
  ps.UFarea = 0.95;
  ps.UFinertia = 0.9f;
  ps.pd = -0.3f;
  RecordingTarget t;
  double y = 0.3;
  drawRing(t, ps, y, 1, 0);

  const Piece& head1 = t.find("gL1 = ");
  EXPECT_TRUE(head1.underline);
  EXPECT_DOUBLE_EQ(t.find("1.00").x + 4, 19);  // ends at x + 18
  const Piece& area = t.find("2.00");
  EXPECT_EQ(area.color, kRed);
  EXPECT_TRUE(area.bold);
  EXPECT_FALSE(t.drawn("never printed"));
  EXPECT_TRUE(t.find("gL3 = ").underline);
  EXPECT_FALSE(t.find("gL4 = ").underline);
  EXPECT_DOUBLE_EQ(t.find("4.00").x + 4, 15);  // ends at x + 14
  const Piece& inertia = t.find("7.00");       // line n - 1
  EXPECT_EQ(inertia.color, kGreen);            // equal to ufb: green
  EXPECT_DOUBLE_EQ(t.find("gL7 = ").y, 0.3 + 1.1 + 6);
  int allowances = 0;
  for (const Piece& p : t.pieces) allowances += p.text == " <= 0.90";
  EXPECT_EQ(allowances, 2);
  EXPECT_TRUE(t.drawn("gL8 = "));
  EXPECT_DOUBLE_EQ(t.find("gL8 = ").y, 0.3 + 1.1 + 7);
  EXPECT_TRUE(ringRemarkShown(ps));
  expectFontsReset(t);

  ps.pd = 0.3f;
  RecordingTarget inside;
  y = 0.3;
  drawRing(inside, ps, y, 1, 0);
  EXPECT_FALSE(inside.drawn("gL8 = "));
  EXPECT_FALSE(ringRemarkShown(ps));
  EXPECT_DOUBLE_EQ(y, 0.3 + 1.1 + 7);  // the remark line does not advance y
}

}  // namespace
}  // namespace orvane
