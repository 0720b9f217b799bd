#include "ui/report_page.hpp"

#include <QFontMetricsF>

namespace orvane::ui {

ReportPage::ReportPage(QPainter& painter, const QRectF& page)
    : painter_(painter), page_(page), font_(QStringLiteral("arial")) {
  // "arial" resolves to a metric-compatible face where Arial itself is
  // missing; the layout relies on its widths.
  font_.setStyleHint(QFont::SansSerif);
  setFontSize(11);
  setScale(page.width(), page.height());
}

void ReportPage::setScale(double width, double height) {
  width_ = width;
  height_ = height;
  unitX_ = page_.width() / width;
  unitY_ = page_.height() / height;
}

void ReportPage::setFontSize(double points) { font_.setPointSizeF(points); }

double ReportPage::textWidth(const QString& text) const {
  return QFontMetricsF(font_, painter_.device()).horizontalAdvance(text) / unitX_;
}

double ReportPage::textHeight() const {
  return QFontMetricsF(font_, painter_.device()).height() / unitY_;
}

void ReportPage::print(const QString& text, bool newline) {
  const QFontMetricsF fm(font_, painter_.device());
  painter_.setFont(font_);
  painter_.setPen(Qt::black);
  painter_.drawText(QPointF(page_.left() + x_ * unitX_, deviceY(y_) + fm.ascent()), text);
  if (newline) {
    x_ = 0;
    y_ += fm.height() / unitY_;
  } else {
    x_ += fm.horizontalAdvance(text) / unitX_;
  }
}

void ReportPage::printRightAligned(const QString& text, double edge) {
  x_ = edge - textWidth(text);
  print(text);
}

void ReportPage::line(double x1, double y1, double x2, double y2) {
  QPen pen(Qt::black);
  pen.setWidthF(unitY_ * 0.06);
  painter_.setPen(pen);
  painter_.drawLine(QPointF(page_.left() + x1 * unitX_, deviceY(y1)),
                    QPointF(page_.left() + x2 * unitX_, deviceY(y2)));
}

QRectF ReportPage::toDevice(const QRectF& u) const {
  return {page_.left() + u.left() * unitX_, deviceY(u.top()), u.width() * unitX_,
          u.height() * unitY_};
}

}  // namespace orvane::ui
