#include "ui/common/painter_target.hpp"

#include <QFontMetricsF>
#include <QPainter>

namespace orvane::ui {

PainterTarget::PainterTarget(QPainter& painter, const QRectF& area, double xUnit, double yUnit,
                             const QFont& font)
    : painter_(painter), area_(area), xUnit_(xUnit), yUnit_(yUnit), font_(font) {
  font_.setBold(false);
  font_.setUnderline(false);
}

void PainterTarget::cls() {
  painter_.fillRect(area_, background_);
  x_ = y_ = 0;
}

void PainterTarget::setUnderline(bool on) { font_.setUnderline(on); }
void PainterTarget::setBold(bool on) { font_.setBold(on); }

void PainterTarget::setForeColor(int palette) {
  const Rgb c = paletteColor(palette);
  color_ = QColor(c.r, c.g, c.b);
}

QString PainterTarget::shown(const std::string& text) const {
  return QString::fromStdString(decimalComma_ ? withDecimalComma(text) : text);
}

double PainterTarget::textWidth(const std::string& text) {
  const QFontMetricsF fm(font_, painter_.device());
  return fm.horizontalAdvance(shown(text)) / xUnit_;
}

void PainterTarget::print(const std::string& text, bool newline) {
  const QString s = shown(text);
  const QFontMetricsF fm(font_, painter_.device());
  painter_.setFont(font_);
  painter_.setPen(color_);
  const QPointF at(area_.left() + x_ * xUnit_, area_.top() + y_ * yUnit_ + fm.ascent());
  painter_.drawText(at, s);
  if (newline) {
    x_ = 0;
    y_ += fm.lineSpacing() / yUnit_;
  } else {
    x_ += fm.horizontalAdvance(s) / xUnit_;
  }
}

}  // namespace orvane::ui
