// The page of the printed report as the report routines see it: a user
// coordinate system over the printable area, a current text position, and
// one font whose size and styles the routines switch as they go.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace orvane::ui {

class ReportPage {
 public:
  ReportPage(QPainter& painter, const QRectF& page);

  // The printable area becomes `width` x `height` units, origin top left.
  void setScale(double width, double height);
  double scaleWidth() const { return width_; }
  double scaleHeight() const { return height_; }
  double unitX() const { return unitX_; }
  double unitY() const { return unitY_; }

  void setFontSize(double points);
  void setBold(bool on) { font_.setBold(on); }
  void setItalic(bool on) { font_.setItalic(on); }
  void setUnderline(bool on) { font_.setUnderline(on); }
  // Colour of the text printed from now on (black until set).
  void setColor(const QColor& color) { color_ = color; }
  const QFont& font() const { return font_; }

  double textWidth(const QString& text) const;
  double textHeight() const;

  double x() const { return x_; }
  double y() const { return y_; }
  void setX(double x) { x_ = x; }
  void setY(double y) { y_ = y; }
  void moveTo(double x, double y) {
    x_ = x;
    y_ = y;
  }

  // Text at the current position; the position moves to its end, or with
  // `newline` to the left edge one text line further down.
  void print(const QString& text, bool newline = false);
  // `text` ending at column `edge`, on the current line.
  void printRightAligned(const QString& text, double edge);

  // The same within `width` columns, so that no input, however long, runs
  // into its neighbour: a text that is too wide is set narrower, down to
  // kNarrowest of its width, and beyond that shortened in the middle ("...").
  void printFitted(const QString& text, double width, bool newline = false);
  void printRightAligned(const QString& text, double edge, double width);
  // `text` from column `x` in lines of at most `width` columns, broken after
  // blanks and slashes; at most `maxLines` lines, the last one fitted.
  // Returns the number of lines printed; the position ends below them.
  int printWrapped(const QString& text, double x, double width, int maxLines);
  void line(double x1, double y1, double x2, double y2);

  QRectF toDevice(const QRectF& units) const;
  double deviceY(double y) const { return page_.top() + y * unitY_; }
  QPainter& painter() { return painter_; }
  const QRectF& area() const { return page_; }

 private:
  static constexpr double kNarrowest = 0.7;
  void draw(const QString& text, double squeeze);

  QPainter& painter_;
  QRectF page_;
  QFont font_;
  QColor color_ = Qt::black;
  double width_ = 1, height_ = 1;
  double unitX_ = 1, unitY_ = 1;
  double x_ = 0, y_ = 0;
};

}  // namespace orvane::ui
