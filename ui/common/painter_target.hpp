// A DrawTarget over a QPainter: the screen panels now, the printer and test
// images as well. Units are fixed by the caller in device pixels; on screen
// one x unit is 1/12 inch (120 twips) and one y unit a line of the panel's
// font.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

#include "core/panels.hpp"

class QPainter;

namespace orvane::ui {

class PainterTarget final : public DrawTarget {
 public:
  // `area` is the surface in device pixels; `xUnit`/`yUnit` the pixels of
  // one unit; `font` the base font (bold and underline are switched on it).
  PainterTarget(QPainter& painter, const QRectF& area, double xUnit, double yUnit,
                const QFont& font);

  // The x unit of a device with the given logical resolution.
  static double xUnitFor(double dpiX) { return dpiX / 12.0; }

  void setBackground(const QColor& c) { background_ = c; }
  // Numbers in the printed texts take a decimal comma, as the fields do.
  void setDecimalComma(bool on) { decimalComma_ = on; }

  void cls() override;
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void setUnderline(bool on) override;
  void setBold(bool on) override;
  void setForeColor(int palette) override;
  double textWidth(const std::string& text) override;
  void print(const std::string& text, bool newline) override;

 private:
  QPainter& painter_;
  QRectF area_;
  double xUnit_, yUnit_;
  QFont font_;
  QColor color_{Qt::black};
  QColor background_{Qt::white};
  double x_ = 0, y_ = 0;
  bool decimalComma_ = false;

  QString shown(const std::string& text) const;
};

}  // namespace orvane::ui
