#include "ui/profiles/profile_sketches.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <cmath>

namespace orvane::ui {

namespace {

// Proportions of the drawn profile, in units of its height.
constexpr double kB = 0.56, kTw = 0.075, kTf = 0.1, kPlate = 0.09, kA = 0.16;

const QColor kSteel(70, 96, 140);
const QColor kSteelFill(188, 204, 228);
const QColor kShell(150, 150, 150);
const QColor kShellFill(225, 225, 225);
const QColor kWeld(40, 40, 40);
const QColor kDim(150, 30, 30);

// Model space: x to the right with the web on x = 0, y up from the shell.
struct Frame {
  QRectF model;   // the part of model space to show
  QRectF device;  // where it goes
  double scale = 1;
  QPointF map(double x, double y) const {
    return {device.center().x() + (x - model.center().x()) * scale,
            device.center().y() - (y - model.center().y()) * scale};
  }
  QPointF map(QPointF m) const { return map(m.x(), m.y()); }
};

Frame fit(const QRectF& model, const QRectF& device) {
  Frame f{model, device};
  f.scale = std::min(device.width() / model.width(), device.height() / model.height());
  return f;
}

QPolygonF poly(const Frame& f, std::initializer_list<QPointF> pts) {
  QPolygonF out;
  for (QPointF q : pts) out << f.map(q);
  return out;
}

QPolygonF rect(const Frame& f, double x0, double y0, double x1, double y1) {
  return poly(f, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

// A fillet weld: a small triangle in the corner at (x, y), legs along +-x, +-y.
void weld(QPainter& p, const Frame& f, double x, double y, double dx, double dy) {
  const double leg = 0.045;
  p.setPen(Qt::NoPen);
  p.setBrush(kWeld);
  p.drawPolygon(poly(f, {{x, y}, {x + dx * leg, y}, {x, y + dy * leg}}));
}

void plates(QPainter& p, const QList<QPolygonF>& parts) {
  p.setPen(QPen(kSteel, 1.2));
  p.setBrush(kSteelFill);
  for (const QPolygonF& part : parts) p.drawPolygon(part);
}

// The shell under the profile: a flat plate for stiffeners, a strip of the
// curved wall for ring frames.
void shell(QPainter& p, const Frame& f, double x0, double x1, Member member) {
  p.setPen(QPen(kShell, 1));
  p.setBrush(kShellFill);
  if (member == Member::Stiffener) {
    p.drawPolygon(rect(f, x0, -kPlate, x1, 0));
    return;
  }
  QPainterPath path;
  const double sag = 0.08;  // the wall bends away from the frame
  auto y = [&](double x, double base) {
    const double u = (2 * x - x0 - x1) / (x1 - x0);
    return base - sag * (1 - u * u);
  };
  const int n = 24;
  for (int i = 0; i <= n; ++i) {
    const double x = x0 + (x1 - x0) * i / n;
    const QPointF q = f.map(x, y(x, 0) + sag);
    i == 0 ? path.moveTo(q) : path.lineTo(q);
  }
  for (int i = n; i >= 0; --i) {
    const double x = x0 + (x1 - x0) * i / n;
    path.lineTo(f.map(x, y(x, -kPlate) + sag));
  }
  path.closeSubpath();
  p.drawPath(path);
}

// The cross-section of a shape, and the extent of model space it needs.
QRectF extent(ProfileShape s) {
  switch (s) {
    case ProfileShape::T:
    case ProfileShape::I:
    case ProfileShape::Rhs:
      return {-kB / 2, -kPlate, kB, 1 + kPlate};
    case ProfileShape::Trapezoid:
      return {-kB / 2 - kA, -kPlate, kB + 2 * kA, 1 + kPlate};
    case ProfileShape::Flat:
      return {-0.2, -kPlate, 0.4, 1 + kPlate};
    case ProfileShape::Bulb:
      return {-0.15, -kPlate, 0.45, 1 + kPlate};
    default:
      return {-kTw / 2, -kPlate, kB, 1 + kPlate};
  }
}

void drawSection(QPainter& p, const Frame& f, ProfileShape s) {
  const double w = kTw / 2, h = 1;
  switch (s) {
    case ProfileShape::L: {  // rolled: one piece with a root fillet
      QPainterPath path;
      const double r = 0.06, x1 = -w + kB;
      path.moveTo(f.map(-w, 0));
      path.lineTo(f.map(w, 0));
      path.lineTo(f.map(w, h - kTf - r));
      path.quadTo(f.map(w, h - kTf), f.map(w + r, h - kTf));
      path.lineTo(f.map(x1, h - kTf));
      path.lineTo(f.map(x1, h));
      path.lineTo(f.map(-w, h));
      path.closeSubpath();
      p.setPen(QPen(kSteel, 1.2));
      p.setBrush(kSteelFill);
      p.drawPath(path);
      break;
    }
    case ProfileShape::LBuilt:
      plates(p, {rect(f, -w, 0, w, h - kTf), rect(f, -w, h - kTf, -w + kB, h)});
      weld(p, f, w, h - kTf, 1, -1);
      weld(p, f, -w, 0, -1, 1);
      weld(p, f, w, 0, 1, 1);
      break;
    case ProfileShape::T:
      plates(p, {rect(f, -w, 0, w, h - kTf), rect(f, -kB / 2, h - kTf, kB / 2, h)});
      for (double dx : {-1.0, 1.0}) {
        weld(p, f, dx * w, h - kTf, dx, -1);
        weld(p, f, dx * w, 0, dx, 1);
      }
      break;
    case ProfileShape::I:
      plates(p, {rect(f, -kB / 2, 0, kB / 2, kTf), rect(f, -w, kTf, w, h - kTf),
                 rect(f, -kB / 2, h - kTf, kB / 2, h)});
      for (double dx : {-1.0, 1.0}) {
        weld(p, f, dx * w, h - kTf, dx, -1);
        weld(p, f, dx * w, kTf, dx, 1);
      }
      break;
    case ProfileShape::Flat:
      plates(p, {rect(f, -0.05, 0, 0.05, h)});
      weld(p, f, -0.05, 0, -1, 1);
      weld(p, f, 0.05, 0, 1, 1);
      break;
    case ProfileShape::Bulb: {
      QPainterPath path;
      const double bw = 0.2, bh = 0.2;  // the bulb on the right of the web top
      path.moveTo(f.map(-w, 0));
      path.lineTo(f.map(w, 0));
      path.lineTo(f.map(w, h - bh));
      path.cubicTo(f.map(w + 0.05, h - bh * 0.5), f.map(w + bw, h - bh * 0.55),
                   f.map(w + bw, h - 0.05));
      path.quadTo(f.map(w + bw, h), f.map(w + bw - 0.05, h));
      path.lineTo(f.map(-w, h));
      path.closeSubpath();
      p.setPen(QPen(kSteel, 1.2));
      p.setBrush(kSteelFill);
      p.drawPath(path);
      break;
    }
    case ProfileShape::Rhs: {
      QPainterPath path;
      path.setFillRule(Qt::OddEvenFill);
      const QRectF outer(f.map(-kB / 2, h), f.map(kB / 2, 0));
      const double t = kTw * f.scale;
      path.addRoundedRect(outer, 2.5 * t, 2.5 * t);
      path.addRoundedRect(outer.adjusted(t, t, -t, -t), 1.2 * t, 1.2 * t);
      p.setPen(QPen(kSteel, 1.2));
      p.setBrush(kSteelFill);
      p.drawPath(path);
      break;
    }
    case ProfileShape::Trapezoid: {
      QPainterPath line;
      line.moveTo(f.map(-kB / 2 - kA, kTw / 2));
      line.lineTo(f.map(-kB / 2, h - kTw / 2));
      line.lineTo(f.map(kB / 2, h - kTw / 2));
      line.lineTo(f.map(kB / 2 + kA, kTw / 2));
      QPainterPathStroker stroker;
      stroker.setWidth(kTw * f.scale);
      stroker.setJoinStyle(Qt::MiterJoin);
      stroker.setCapStyle(Qt::FlatCap);
      p.setPen(QPen(kSteel, 1.2));
      p.setBrush(kSteelFill);
      p.drawPath(stroker.createStroke(line).simplified());
      break;
    }
  }
}

// A dimension line between two device points with its label beside it.
void dimension(QPainter& p, QPointF a, QPointF b, const QString& label, QPointF labelAt) {
  p.setPen(QPen(kDim, 1));
  p.setBrush(kDim);
  p.drawLine(a, b);
  const QPointF d = (b - a) / std::max(1.0, std::hypot(b.x() - a.x(), b.y() - a.y()));
  const QPointF n(-d.y(), d.x());
  for (auto [tip, dir] : {std::pair{a, d}, std::pair{b, -d}})
    p.drawPolygon(QPolygonF{tip, tip + 6 * dir + 2.5 * n, tip + 6 * dir - 2.5 * n});
  const QRectF box(labelAt.x() - 14, labelAt.y() - 8, 28, 16);
  p.drawText(box, Qt::AlignCenter, label);
}

void dimensions(QPainter& p, const Frame& f, ProfileShape s) {
  const double h = 1;
  // height on the left, clear of the section
  const double left = extent(s).left() - 0.06;
  dimension(p, f.map(left, 0), f.map(left, h), QStringLiteral("h"),
            f.map(left, h / 2) + QPointF(-11, 0));
  const bool flanged = s != ProfileShape::Flat && s != ProfileShape::Bulb;
  if (flanged) {
    const double x0 = s == ProfileShape::L || s == ProfileShape::LBuilt ? -kTw / 2 : -kB / 2;
    const double top = h + 0.07;
    dimension(p, f.map(x0, top), f.map(x0 + kB, top), QStringLiteral("b"),
              f.map(x0 + kB / 2, top) + QPointF(0, -10));
  }
  // thicknesses: labels with a leader to the plate they name
  auto tag = [&](QPointF at, QPointF text, const QString& label) {
    p.setPen(QPen(kDim, 1));
    p.drawLine(at, text);
    p.drawText(QRectF(text.x() - 2, text.y() - 8, 28, 16), Qt::AlignLeft | Qt::AlignVCenter, label);
  };
  const double webX = s == ProfileShape::Rhs ? kB / 2 - kTw / 2 : 0;
  if (s == ProfileShape::Trapezoid) {
    tag(f.map(kB / 2 + kA / 2, h / 2), f.map(kB / 2 + kA / 2, h / 2) + QPointF(14, 0),
        QStringLiteral("tw"));
    dimension(p, f.map(kB / 2, -kPlate - 0.05), f.map(kB / 2 + kA, -kPlate - 0.05),
              QStringLiteral("a"), f.map(kB / 2 + kA / 2, -kPlate - 0.05) + QPointF(0, 10));
    return;
  }
  tag(f.map(webX, 0.4), f.map(webX, 0.4) + QPointF(18, 6), QStringLiteral("tw"));
  if (flanged && s != ProfileShape::Rhs) {
    const double fx = s == ProfileShape::L || s == ProfileShape::LBuilt ? kB * 0.7 : kB * 0.35;
    tag(f.map(fx, h - kTf / 2), f.map(fx, h - kTf / 2) + QPointF(6, 18), QStringLiteral("tf"));
  }
}

}  // namespace

QString sketchControlName(ProfileShape shape, Member member) {
  static const char* const kSuffix[] = {"L", "Lb", "t", "f", "hp", "rhs", "usp", "i"};
  return QStringLiteral("pic_%1_%2")
      .arg(member == Member::RingFrame ? QStringLiteral("gird") : QStringLiteral("stiff"))
      .arg(QString::fromLatin1(kSuffix[static_cast<int>(shape)]));
}

void drawProfileSketch(QPainter& p, const QRectF& area, ProfileShape shape, Member member) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QFont font = p.font();
  font.setPointSizeF(9);
  font.setItalic(true);
  p.setFont(font);
  const QRectF e = extent(shape);
  // room for the height mark on the left, the width mark on top and the
  // thickness labels on the right
  const QRectF model = e.adjusted(-0.22, -0.2, 0.25, 0.22);
  const Frame f = fit(model, area);
  shell(p, f, model.left() + 0.12, model.right() - 0.05, member);
  drawSection(p, f, shape);
  dimensions(p, f, shape);
  p.restore();
}

ProfileSketch::ProfileSketch(ProfileShape shape, Member member, QWidget* parent)
    : QWidget(parent), shape_(shape), member_(member) {
  setAccessibleName(sketchControlName(shape, member));
}

void ProfileSketch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawProfileSketch(p, rect(), shape_, member_);
}

}  // namespace orvane::ui
