#include "ui/result_panel.hpp"

#include <QPainter>

#include "core/calc_driver.hpp"
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

void drawResultPanel(DrawTarget& target, const ProjectState& ps, int which) {
  double y = 0.3;
  switch (which) {
    case 0:
      y += ps.ypos;
      drawShellStandard(target, ps, y, 1, 0);
      break;
    case 1:
      if (ps.cyltype == 3)
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
