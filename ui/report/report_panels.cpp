// The result panels of the report: the screen's panel routines drawn onto
// the page, each kept within its column whatever its values.
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <functional>

#include "core/calc_driver.hpp"
#include "core/panels.hpp"
#include "core/rule_notes.hpp"
#include "ui/report/report_body.hpp"

namespace orvane::ui::report {

namespace {

// The report's target for the result panels. It draws as the screen's
// PainterTarget does, with one difference: a text that would start on top
// of what stands before it on its line (a value wider than its column) is
// set narrower between the two, and beyond kNarrowest shortened in the
// middle ("..."), so that no label is overwritten. Without `draw` it only
// follows the drawing, to learn how far right the panel reaches.
class ReportPanelTarget final : public DrawTarget {
 public:
  ReportPanelTarget(QPainter& painter, const QRectF& area, double xUnit, double yUnit,
                    const QFont& font, bool draw, bool decimalComma)
      : painter_(painter),
        area_(area),
        xUnit_(xUnit),
        yUnit_(yUnit),
        font_(font),
        draw_(draw),
        decimalComma_(decimalComma) {
    font_.setBold(false);
    font_.setUnderline(false);
  }
  void cls() override { x_ = y_ = 0; }  // the page is not erased
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void setUnderline(bool on) override { font_.setUnderline(on); }
  void setBold(bool on) override { font_.setBold(on); }
  void setForeColor(int palette) override {
    const Rgb c = paletteColor(palette);
    color_ = QColor(c.r, c.g, c.b);
  }
  double textWidth(const std::string& text) override { return width(shown(text)); }
  void print(const std::string& text, bool newline) override {
    const QString s = shown(text);
    const double natural = width(s);
    double start = x_, squeeze = 1;
    QString shown = s;
    if (y_ == lineY_ && x_ < lineEnd_ - 1e-9 && natural > 0) {
      const double end = x_ + natural;
      start = lineEnd_ + kGap;
      const double room = std::max(end - start, kGap);
      squeeze = std::max(room / natural, kNarrowest);
      if (natural * squeeze > room)
        shown = metrics().elidedText(s, Qt::ElideMiddle, room / squeeze * xUnit_);
    }
    const double drawn = width(shown) * squeeze;
    if (draw_) {
      painter_.save();
      painter_.setFont(font_);
      painter_.setPen(color_);
      painter_.translate(area_.left() + start * xUnit_,
                         area_.top() + y_ * yUnit_ + metrics().ascent());
      painter_.scale(squeeze, 1);
      painter_.drawText(QPointF(0, 0), shown);
      painter_.restore();
    }
    right_ = std::max(right_, start + drawn);
    lineY_ = y_;
    lineEnd_ = start + drawn;
    if (newline) {
      x_ = 0;
      y_ += metrics().lineSpacing() / yUnit_;
    } else {
      x_ = start + drawn;
    }
  }
  double right() const { return right_; }

 private:
  static constexpr double kGap = 0.5, kNarrowest = 0.7;
  // The user's decimal separator, as the window's panels show it.
  QString shown(const std::string& text) const {
    return qs(decimalComma_ ? withDecimalComma(text) : text);
  }
  QFontMetricsF metrics() const { return QFontMetricsF(font_, painter_.device()); }
  double width(const QString& s) const { return metrics().horizontalAdvance(s) / xUnit_; }

  QPainter& painter_;
  QRectF area_;
  double xUnit_, yUnit_;
  QFont font_;
  bool draw_;
  bool decimalComma_;
  QColor color_{Qt::black};
  double x_ = 0, y_ = 0, right_ = 0;
  double lineY_ = -1e9, lineEnd_ = 0;
};

using PanelDrawing = std::function<void(DrawTarget&, double& y)>;

// Draws a panel from column `x`, keeping it left of column `limit`: a panel
// whose texts would run into its neighbour or off the page is set narrower
// as a whole, with every digit kept.
void fittedPanel(QPainter& painter, ReportPage& page, double x, double limit, double& y,
                 bool decimalComma, const PanelDrawing& draw) {
  ReportPanelTarget probe(painter, page.area(), page.unitX(), page.unitY(), page.font(), false,
                          decimalComma);
  double probeY = y;
  draw(probe, probeY);
  const double width = probe.right() - x;
  const double squeeze = width > limit - x ? (limit - x) / width : 1.0;
  painter.save();
  const double left = page.area().left() + x * page.unitX();
  painter.translate(left, 0);
  painter.scale(squeeze, 1);
  painter.translate(-left, 0);
  ReportPanelTarget target(painter, page.area(), page.unitX(), page.unitY(), page.font(), true,
                           decimalComma);
  draw(target, y);
  painter.restore();
}

}  // namespace

void printPanels(QPainter& painter, ReportPage& page, const ProjectState& ps, double ypos,
                 bool decimalComma) {
  const double ysave = ypos;
  const ShownPanels shown = shownPanels(ps);
  // The rule notes under the upper panels take the two lines of space above
  // the lower panel, which stays where it stands without them.
  const std::vector<RuleNote> notes = ruleNotes(ps);
  const auto noteLines = [&](CheckId check) {
    return static_cast<double>(std::count_if(notes.begin(), notes.end(),
                                             [&](const RuleNote& n) { return n.check == check; }));
  };
  const bool stiffener = shown.stiffener;
  double yShell = ypos;
  fittedPanel(painter, page, kMargin, stiffener ? kValueEdge - 1 : kRight, yShell, decimalComma,
              [&](DrawTarget& t, double& y) { drawShellStandard(t, ps, y, kMargin, 1); });
  double reached = yShell + 1 - noteLines(CheckId::Shell);
  if (stiffener) {
    double yStiff = ysave;
    if (shown.stiffenerNote) {
      fittedPanel(painter, page, kValueEdge, kRight, yStiff, decimalComma,
                  [&](DrawTarget& t, double& y) { drawStiffenerNote(t, ps, y, kValueEdge, 1); });
      yStiff += 9;
    } else {
      fittedPanel(
          painter, page, kValueEdge, kRight, yStiff, decimalComma,
          [&](DrawTarget& t, double& y) { drawStiffenerStandard(t, ps, y, kValueEdge, 1); });
    }
    reached = std::max(reached, yStiff + 1 - noteLines(CheckId::Stiffener));
  }
  if (shown.column) {
    double y = reached + 2;
    fittedPanel(painter, page, kMargin, kRight, y, decimalComma,
                [&](DrawTarget& t, double& yy) { drawColumn(t, ps, yy, kMargin, 1); });
  } else if (shown.ring) {
    double y = reached + 2;
    fittedPanel(painter, page, kMargin, kRight, y, decimalComma,
                [&](DrawTarget& t, double& yy) { drawRing(t, ps, yy, kMargin, 1); });
  }
}

}  // namespace orvane::ui::report
