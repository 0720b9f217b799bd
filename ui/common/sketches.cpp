#include "ui/common/sketches.hpp"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "model/codes.hpp"

namespace orvane::ui {

SketchBox::SketchBox(QWidget* parent) : QWidget(parent) {}

void SketchBox::setSketch(Sketch s) {
  sketch_ = s;
  update();
}

QSize SketchBox::sizeHint() const { return {170, 300}; }

namespace {

const QColor kSteel(96, 112, 128);
const QColor kShade(222, 228, 234);
const QColor kMember(40, 70, 140);

void arrow(QPainter& p, QPointF from, QPointF to) {
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
  const QPointF n(-d.y(), d.x());
  QPolygonF head;
  head << to << to - 8 * d + 4 * n << to - 8 * d - 4 * n;
  p.setBrush(p.pen().color());
  p.drawPolygon(head);
  p.setBrush(Qt::NoBrush);
}

}  // namespace

void SketchBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);
  const double w = width(), h = height();
  const double rx = w * (sketch_ == Sketch::Column ? 0.24 : 0.30), ry = rx * 0.28;
  const double cx = w / 2, top = h * 0.12 + ry, bottom = h * 0.86 - ry;
  const bool outside = sketch_ == Sketch::RingsOutside || sketch_ == Sketch::StringersOutside;

  // shell: body, far rim, near rim
  QPainterPath body;
  body.moveTo(cx - rx, top);
  body.lineTo(cx - rx, bottom);
  body.arcTo(QRectF(cx - rx, bottom - ry, 2 * rx, 2 * ry), 180, 180);
  body.lineTo(cx + rx, top);
  body.arcTo(QRectF(cx - rx, top - ry, 2 * rx, 2 * ry), 0, -180);
  QLinearGradient g(cx - rx, 0, cx + rx, 0);
  g.setColorAt(0, kShade.darker(112));
  g.setColorAt(0.4, kShade.lighter(106));
  g.setColorAt(1, kShade.darker(118));
  p.setPen(QPen(kSteel, 1.6));
  p.setBrush(g);
  p.drawPath(body);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(cx - rx, top - ry, 2 * rx, 2 * ry));
  p.setBrush(Qt::NoBrush);

  const QPen hidden(kMember, 1.4, Qt::DashLine);
  const QPen visible(kMember, 3.0);
  if (sketch_ == Sketch::RingsInside || sketch_ == Sketch::RingsOutside) {
    for (int k = 1; k <= 3; ++k) {
      const double y = top + (bottom - top) * k / 4.0;
      const double grow = outside ? 7 : 0;
      p.setPen(outside ? visible : hidden);
      p.drawArc(QRectF(cx - rx - grow, y - ry - grow * 0.3, 2 * (rx + grow), 2 * (ry + grow * 0.3)),
                180 * 16, 180 * 16);
    }
  } else if (sketch_ == Sketch::StringersInside || sketch_ == Sketch::StringersOutside) {
    p.setPen(outside ? visible : hidden);
    for (int k = -3; k <= 3; ++k) {
      const double x = cx + rx * std::sin(k * 0.42);
      const double dy = ry * std::cos(k * 0.42);
      p.drawLine(QPointF(x, top + dy), QPointF(x, bottom + dy));
    }
  } else if (sketch_ == Sketch::Column) {
    p.setPen(QPen(QColor(150, 30, 30), 2));
    arrow(p, QPointF(cx, top - ry - 28), QPointF(cx, top - ry - 4));
    arrow(p, QPointF(cx, bottom + ry + 28), QPointF(cx, bottom + ry + 4));
    p.drawText(QPointF(cx + 6, top - ry - 14), QStringLiteral("N"));
    p.drawArc(QRectF(cx + rx - 4, top - 22, 28, 44), -60 * 16, 120 * 16);
    p.drawArc(QRectF(cx + rx - 4, bottom - 22, 28, 44), -60 * 16, 120 * 16);
    p.drawText(QPointF(cx + rx + 22, top - 4), QStringLiteral("M"));
    p.setPen(QPen(kSteel, 1, Qt::DashDotLine));
    p.drawLine(QPointF(cx, top - ry - 2), QPointF(cx, bottom + ry + 2));
  }
}

namespace {

void canvas(QPainter& p, QPixmap& pm) {
  pm.fill(Qt::transparent);
  p.begin(&pm);
  p.setRenderHint(QPainter::Antialiasing);
}

}  // namespace

QIcon infoIcon() {
  QPixmap pm(32, 32);
  QPainter p;
  canvas(p, pm);
  p.setPen(QPen(QColor(30, 80, 160), 2));
  p.setBrush(QColor(225, 236, 250));
  p.drawEllipse(QRectF(3, 3, 26, 26));
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(18);
  p.setFont(f);
  p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("i"));
  p.end();
  return QIcon(pm);
}

QIcon profileIcon(int type) {
  QPixmap pm(32, 32);
  QPainter p;
  canvas(p, pm);
  p.setPen(Qt::NoPen);
  p.setBrush(kMember);
  // web at x 14..17 from y 4 to 28; flanges at the top (the free edge)
  const QRectF web(14, 4, 4, 24);
  const ProfileTraits* tr = traitsOf(type);
  const ProfileFamily family = tr ? tr->family : ProfileFamily::I;  // I outside the types
  switch (family) {
    case ProfileFamily::L:
      p.drawRect(web);
      p.drawRect(QRectF(14, 4, 14, 4));
      break;
    case ProfileFamily::T:
      p.drawRect(web);
      p.drawRect(QRectF(6, 4, 20, 4));
      break;
    case ProfileFamily::FlatBar:
      p.drawRect(web);
      break;
    case ProfileFamily::BulbFlat: {
      p.drawRect(web);
      p.drawEllipse(QRectF(13, 3, 10, 8));
      break;
    }
    case ProfileFamily::Rhs:
      p.setPen(QPen(kMember, 3));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(8, 5, 16, 22));
      break;
    case ProfileFamily::Trapezoid: {
      p.setPen(QPen(kMember, 3));
      p.setBrush(Qt::NoBrush);
      QPolygonF t;
      t << QPointF(4, 28) << QPointF(10, 5) << QPointF(22, 5) << QPointF(28, 28);
      p.drawPolyline(t);
      break;
    }
    case ProfileFamily::I:
      p.drawRect(web);
      p.drawRect(QRectF(6, 4, 20, 4));
      p.drawRect(QRectF(6, 24, 20, 4));
      break;
  }
  p.setBrush(QColor(150, 150, 150));
  p.setPen(Qt::NoPen);
  if (family != ProfileFamily::Trapezoid) p.drawRect(QRectF(2, 28, 28, 3));  // shell plate
  p.end();
  return QIcon(pm);
}

QIcon ringFrameIcon() {
  QPixmap pm(32, 32);
  QPainter p;
  canvas(p, pm);
  p.setPen(QPen(kSteel, 3));
  p.drawArc(QRectF(3, 3, 26, 26), 0, 360 * 16);
  p.setPen(QPen(kMember, 2));
  p.drawArc(QRectF(8, 8, 16, 16), 0, 360 * 16);
  p.end();
  return QIcon(pm);
}

Sketch cylinderSketch(const ProjectState& ps) {
  const bool outside = ps.Outside_ch != 0;
  switch (ps.cyltype) {
    case code(CylinderType::RingStiffened):
      return outside ? Sketch::RingsOutside : Sketch::RingsInside;
    case code(CylinderType::StringerStiffened):
      return outside ? Sketch::StringersOutside : Sketch::StringersInside;
    case code(CylinderType::Column):
      return Sketch::Column;
    default:
      return Sketch::Plain;
  }
}

}  // namespace orvane::ui
