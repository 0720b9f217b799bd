#include "ui/result_panel.hpp"

#include <QPainter>

#include "ui/painter_target.hpp"

namespace orvane::ui {

ResultPanel::ResultPanel(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont f = font();
  // One text line must fit into one y unit (1/6 inch).
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

void ResultPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  PainterTarget target(p, rect(), PainterTarget::xUnitFor(logicalDpiX()),
                       PainterTarget::yUnitFor(logicalDpiY()), font());
  target.cls();
  if (drawing_) drawing_(target);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace orvane::ui
