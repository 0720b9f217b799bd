#include "ui/main/result_panel.hpp"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/calc_driver.hpp"
#include "model/codes.hpp"
#include "ui/common/painter_target.hpp"

namespace orvane::ui {

namespace {

// One y unit of a panel: a text line of its font, whole pixels, so that the
// lines stand as close as in a label and every line fits its unit.
double lineUnit(const QFont& font, const QWidget& panel) {
  return std::ceil(QFontMetricsF(font, &panel).lineSpacing());
}

// Runs a drawing without painting and notes how far its texts reach, in
// the same font and units as the panel's painter.
class MeasureTarget final : public DrawTarget {
 public:
  MeasureTarget(const QWidget& panel, bool decimalComma)
      : panel_(panel),
        font_(panel.font()),
        xUnit_(PainterTarget::xUnitFor(panel.logicalDpiX())),
        yUnit_(lineUnit(panel.font(), panel)),
        decimalComma_(decimalComma) {}

  void cls() override { x_ = y_ = 0; }
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void setUnderline(bool on) override { font_.setUnderline(on); }
  void setBold(bool on) override { font_.setBold(on); }
  void setForeColor(int) override {}
  double textWidth(const std::string& text) override { return advance(text) / xUnit_; }
  void print(const std::string& text, bool newline) override {
    const QFontMetricsF fm(font_, &panel_);
    rects.append(QRectF(x_ * xUnit_, y_ * yUnit_, advance(text), fm.height()));
    if (newline) {
      x_ = 0;
      y_ += fm.lineSpacing() / yUnit_;
    } else {
      x_ += advance(text) / xUnit_;
    }
  }
  QSize reached() const {
    double right = 0, bottom = 0;
    for (const QRectF& r : rects) {
      right = std::max(right, r.right());
      bottom = std::max(bottom, r.bottom());
    }
    return {static_cast<int>(std::ceil(right)), static_cast<int>(std::ceil(bottom))};
  }
  QList<QRectF> rects;

 private:
  double advance(const std::string& text) const {
    const QString s = QString::fromStdString(decimalComma_ ? withDecimalComma(text) : text);
    return QFontMetricsF(font_, &panel_).horizontalAdvance(s);
  }

  const QWidget& panel_;
  QFont font_;
  double xUnit_, yUnit_;
  bool decimalComma_;
  double x_ = 0, y_ = 0;
};

}  // namespace

ResultPanel::ResultPanel(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont f = font();
  f.setPointSizeF(7.5);
  setFont(f);
}

void ResultPanel::setDrawing(Drawing drawing) {
  drawing_ = std::move(drawing);
  update();
}

void ResultPanel::replay(DrawTarget& target) const {
  if (drawing_) drawing_(target);
}

void ResultPanel::setDecimalComma(bool on) {
  decimalComma_ = on;
  update();
}

QSize ResultPanel::contentSize() const {
  MeasureTarget measure(*this, decimalComma_);
  if (drawing_) drawing_(measure);
  return measure.reached();
}

QList<QRectF> ResultPanel::textRects() const {
  MeasureTarget measure(*this, decimalComma_);
  if (drawing_) drawing_(measure);
  return measure.rects;
}

void ResultPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  PainterTarget target(p, rect(), PainterTarget::xUnitFor(logicalDpiX()), lineUnit(font(), *this),
                       font());
  target.setDecimalComma(decimalComma_);
  target.cls();
  if (drawing_) drawing_(target);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void drawResultPanel(DrawTarget& target, const ProjectState& ps, int which) {
  double y = 0.3;
  switch (which) {
    case 0:
      drawShellStandard(target, ps, y, 1, 0);
      break;
    case 1:
      if (shownPanels(ps).column)
        drawColumn(target, ps, y, 1, 0);
      else if (stiffenerNote(ps))
        drawStiffenerNote(target, ps, y, 1, 0);
      else
        drawStiffenerStandard(target, ps, y, 1, 0);
      break;
    default:
      drawRing(target, ps, y, 1, 0);
      break;
  }
}

}  // namespace orvane::ui
