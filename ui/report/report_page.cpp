#include "ui/report/report_page.hpp"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>

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

void ReportPage::draw(const QString& text, double squeeze) {
  const QFontMetricsF fm(font_, painter_.device());
  painter_.setFont(font_);
  painter_.setPen(color_);
  painter_.save();
  painter_.translate(page_.left() + x_ * unitX_, deviceY(y_) + fm.ascent());
  painter_.scale(squeeze, 1);
  painter_.drawText(QPointF(0, 0), text);
  painter_.restore();
}

void ReportPage::print(const QString& text, bool newline) {
  draw(text, 1);
  if (newline) {
    x_ = 0;
    y_ += textHeight();
  } else {
    x_ += textWidth(text);
  }
}

void ReportPage::printRightAligned(const QString& text, double edge) {
  x_ = edge - textWidth(text);
  print(text);
}

void ReportPage::printFitted(const QString& text, double width, bool newline) {
  width = std::max(width, 1.0);
  const double natural = textWidth(text);
  double squeeze = 1;
  QString shown = text;
  if (natural > width) {
    squeeze = std::max(width / natural, kNarrowest);
    if (natural * squeeze > width) {
      const QFontMetricsF fm(font_, painter_.device());
      shown = fm.elidedText(text, Qt::ElideMiddle, width / squeeze * unitX_);
    }
  }
  draw(shown, squeeze);
  if (newline) {
    x_ = 0;
    y_ += textHeight();
  } else {
    x_ += std::min(textWidth(shown) * squeeze, width);
  }
}

void ReportPage::printRightAligned(const QString& text, double edge, double width) {
  x_ = edge - std::min(textWidth(text), std::max(width, 1.0));
  printFitted(text, edge - x_);
}

int ReportPage::printWrapped(const QString& text, double x, double width, int maxLines) {
  // Pieces that end at a break: "/tmp/", "my ", "project.cys".
  QStringList pieces;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u' ' || text[i] == u'/') {
      pieces << text.mid(start, i + 1 - start);
      start = i + 1;
    }
  }
  if (start < text.size()) pieces << text.mid(start);
  int lines = 0;
  QString line;
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    const QString longer = line + pieces[i];
    if (line.isEmpty() || textWidth(longer.trimmed()) <= width || lines == maxLines - 1) {
      line = longer;
      continue;
    }
    moveTo(x, y_);
    printFitted(line.trimmed(), width, true);
    ++lines;
    line = pieces[i];
  }
  if (!line.isEmpty() || lines == 0) {
    moveTo(x, y_);
    printFitted(line.trimmed(), width, true);
    ++lines;
  }
  return lines;
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
