// Drawing of the result tables as text: the screen panels and the report.
//
// The checks only fill ResultTables; these operations lay them out on any
// surface that offers the DrawTarget operations. Positions are in the
// target's own scale units (one table line advances y by 1).
//
// Clear flag 0 means the screen: the target is cleared first and the screen
// layout is used. Any other value draws onto the target as it is, with the
// paper layout, so that the report can stack several blocks.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/codes.hpp"
#include "model/project_state.hpp"

namespace orvane {

// Palette numbers of the classic 16-colour palette used for text.
inline constexpr int kBlack = 0;
inline constexpr int kGreen = 2;  // RGB 0, 128, 0
inline constexpr int kRed = 4;    // RGB 128, 0, 0

struct Rgb {
  int r, g, b;
};
Rgb paletteColor(int palette);

class DrawTarget {
 public:
  virtual ~DrawTarget() = default;
  // Erases the whole surface and puts the text position back at the origin.
  virtual void cls() = 0;
  virtual double currentX() const = 0;
  virtual double currentY() const = 0;
  virtual void setCurrentX(double x) = 0;
  virtual void setCurrentY(double y) = 0;
  virtual void setUnderline(bool on) = 0;
  virtual void setBold(bool on) = 0;
  virtual void setForeColor(int palette) = 0;
  // Width of `text` in the current font, in x units.
  virtual double textWidth(const std::string& text) = 0;
  // Prints at the current position. Without newline the position moves to
  // the end of the text; with it, to the start of the next text line.
  virtual void print(const std::string& text, bool newline) = 0;
};

// ShellTable; the verdict is red when UF > UFallow.
void drawShellStandard(DrawTarget& target, const ProjectState& ps, double& y, double x,
                       int clearFlag);
// StiffTable; the verdict is red when UFstiff > UFallowStiff.
void drawStiffenerStandard(DrawTarget& target, const ProjectState& ps, double& y, double x,
                           int clearFlag);
// Title of StiffTable and the note that the cylinder counts as unstiffened.
void drawStiffenerNote(DrawTarget& target, const ProjectState& ps, double& y, double x,
                       int clearFlag);
// StiffTable as the column check fills it, with the verdicts UF1 and UF2.
void drawColumn(DrawTarget& target, const ProjectState& ps, double& y, double x, int clearFlag);
// RingTable with the area and inertia verdicts against ufb.
void drawRing(DrawTarget& target, const ProjectState& ps, double& y, double x, int clearFlag);

// What a project shows, decided here once for the window, the report and
// the headless check: which result panels, which verdicts they draw, and
// which local-buckling lines belong to the design.
struct ShownPanels {
  bool stiffener = false;      // the stiffener check of a stringer-stiffened cylinder
  bool stiffenerNote = false;  // ... drawn as the spacing note instead of its table
  bool column = false;         // the column check, in the stiffener panel's place
  bool ring = false;           // panel ring buckling, while ring-frame control is on
};
ShownPanels shownPanels(const ProjectState& ps);

// The usage factors the panels can show, in panel order.
enum class CheckId : uint8_t { Shell, Stiffener, Column1, Column2, RingArea, RingInertia };
inline constexpr int kCheckCount = 6;
// Short name of a check for tables and files: "shell", "stiffener",
// "column1", "column2", "ring_area", "ring_inertia".
const char* checkName(CheckId check);
// What the user reads for a check in charts, lists and table headings:
// "Shell", "Ring frame inertia".
const char* checkCaption(CheckId check);

// A usage factor a panel draws against its allowable value; `line` is the
// panel line that shows it.
struct Verdict {
  enum Panel { Shell, Stiffener, Ring } panel;
  int line;
  double uf, allow;
  CheckId check;
  bool exceeded() const { return uf > allow; }
};

// The shown verdicts in panel order; at most four, held without allocation
// so that a batch of rows can ask for them cheaply.
class VerdictList {
 public:
  void push_back(const Verdict& v) { v_[n_++] = v; }
  const Verdict* begin() const { return v_.data(); }
  const Verdict* end() const { return v_.data() + n_; }
  size_t size() const { return n_; }
  const Verdict& operator[](size_t i) const { return v_[i]; }

 private:
  std::array<Verdict, 4> v_{};
  size_t n_ = 0;
};
// Under WSD in column mode the shell verdict is judged against the allowable
// value the shell line prints. With the project's conservative rules each
// verdict takes the stricter reading of its rule notes (core/rule_notes.hpp).
VerdictList shownVerdicts(const ProjectState& ps);
// Whether the verdict of `check` is drawn red: `exceeded` as the panel
// judges it, or with the conservative rules the shown verdict's.
bool judgedExceeded(const ProjectState& ps, CheckId check, bool exceeded);
// One marked line per rule note of `checks` below what is drawn, from y on.
void drawRuleNotes(DrawTarget& target, const ProjectState& ps, double& y, double x,
                   std::initializer_list<CheckId> checks);

// The local-buckling and proportion lines (Eq 3.10.1 to 3.10.9) of the
// member's current profile, in line order: only the lines the section
// routine writes for the current profile type (the others may hold an
// earlier profile's text), and only while the member's panel is shown.
std::vector<std::string> profileLines(const ProjectState& ps, Member member);
// Those of them that end in "==> NOK".
std::vector<std::string> failingProfileLines(const ProjectState& ps, Member member);
// How many lines those are for both members, and how many of them are NOK,
// from the verdict flags: also known after a run without texts.
struct ProfileLineCounts {
  int shown = 0, failing = 0;
};
ProfileLineCounts profileLineCounts(const ProjectState& ps);

// Every shown usage factor within its allowable value and no profile line
// NOK: the design passes.
bool designPasses(const ProjectState& ps);

// Number text of a finished panel line with a decimal comma: a point
// between digits becomes a comma, except in chapter and equation
// references ("Ch 3.8", "Eq 3.10.2", "3.5.2.6").
std::string withDecimalComma(const std::string& text);

// Whether the ring layout prints its last line, the special-Ih remark; the
// window shows the check box `check_ih` exactly then.
bool ringRemarkShown(const ProjectState& ps);

}  // namespace orvane
