// The pictures of the printed report: the main window's cylinder sketch and
// a true-to-scale cross-section of the stiffener or ring frame on its plate.
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "model/codes.hpp"
#include "ui/common/sketches.hpp"
#include "ui/report/report.hpp"

namespace orvane::ui {

namespace {

void paintCylinder(QPainter& painter, const QRectF& box, const ProjectState& ps) {
  SketchBox sketch;
  sketch.setSketch(cylinderSketch(ps));
  const QSize size = sketch.sizeHint();
  sketch.resize(size);
  const double k = std::min(box.width() / size.width(), box.height() / size.height());
  painter.save();
  painter.translate(box.center().x() - size.width() * k / 2, box.top());
  painter.scale(k, k);
  sketch.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  painter.restore();
}

struct Dims {
  double h, b, tw, tf, a;
};

// Outline of profile type 0..9 in millimetres, web foot at the origin,
// height upwards along -y.
QPainterPath profilePath(int type, const Dims& d) {
  QPainterPath p;
  const double h = d.h, b = d.b, tw = d.tw, tf = d.tf;
  const ProfileTraits* tr = traitsOf(type);
  const ProfileFamily family = tr ? tr->family : ProfileFamily::FlatBar;  // a web outside the types
  switch (family) {
    case ProfileFamily::L:  // angle: flange to one side
      p.addRect(-tw / 2, -h, tw, h);
      p.addRect(-tw / 2, -h, b, tf);
      break;
    case ProfileFamily::T:
      p.addRect(-tw / 2, -h, tw, h);
      p.addRect(-b / 2, -h, b, tf);
      break;
    case ProfileFamily::I:
      p.addRect(-tw / 2, -h, tw, h);
      p.addRect(-b / 2, -h, b, tf);
      p.addRect(-b / 2, -tf, b, tf);
      break;
    case ProfileFamily::BulbFlat: {  // bulb: web with the bulb's equivalent flange to one side
      p.addRect(-tw / 2, -h, tw, h);
      p.addRoundedRect(QRectF(-tw / 2, -h, b, tf * 1.6), tf * 0.6, tf * 0.6);
      break;
    }
    case ProfileFamily::Rhs:  // a closed box: the inner rectangle is the hole
      p.addRect(-b / 2, -h, b, h);
      if (b > 2 * tw && h > 2 * tw) p.addRect(-b / 2 + tw, -h + tw, b - 2 * tw, h - 2 * tw);
      p.setFillRule(Qt::OddEvenFill);
      return p;
    case ProfileFamily::Trapezoid: {  // trapezoid: open at the plate, top flange b, each web a
                                      // wider at the foot
      const double a = std::max(d.a, 0.0);
      QPolygonF outer{{-b / 2 - a, 0}, {-b / 2, -h}, {b / 2, -h}, {b / 2 + a, 0}};
      QPainterPathStroker stroker;
      stroker.setWidth(tw);
      stroker.setJoinStyle(Qt::MiterJoin);
      stroker.setCapStyle(Qt::FlatCap);
      QPainterPath centre;
      centre.addPolygon(outer);
      p = stroker.createStroke(centre);
      break;
    }
    case ProfileFamily::FlatBar:
      p.addRect(-tw / 2, -h, tw, h);
      break;
  }
  p.setFillRule(Qt::WindingFill);
  return p;
}

void paintProfile(QPainter& painter, const QRectF& box, const ProjectState& ps, Member member) {
  const bool ring = member == Member::RingFrame;
  const int type = ring ? ps.cboring : ps.cbostiff;
  const Dims d = ring ? Dims{ps.rg.h, ps.rg.b, ps.rg.tw, ps.rg.tf, ps.rg.a}
                      : Dims{ps.st.h, ps.st.b, ps.st.tw, ps.st.tf, ps.st.a};
  // Dimensions the section routines would reject, or so far apart that a
  // drawing to scale shows nothing, draw no sketch: coordinates beyond
  // what a page can hold would only spoil the PDF.
  const auto drawable = [](double v) { return std::isfinite(v) && v >= 0 && v < 1e7; };
  if (!(d.h > 0) || !drawable(d.h) || !drawable(d.b) || !(d.tw > 0) || !drawable(d.tw) ||
      !drawable(d.tf) || !drawable(d.a))
    return;
  const QPainterPath path = profilePath(type, d);
  const QRectF bounds = path.boundingRect();
  if (bounds.isEmpty() || bounds.width() > 1000 * bounds.height() ||
      bounds.height() > 1000 * bounds.width())
    return;
  // The shell plate under the profile: as thick as it is, within reason.
  const double plate = std::isfinite(ps.t) ? std::clamp(ps.t, 1.0, bounds.height()) : 1.0;
  const double width = std::max(bounds.width() * 1.6, bounds.height() * 0.8);
  const double k = std::min(box.width() / width, box.height() / (bounds.height() + plate));

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(box.center().x(), box.top() + bounds.height() * k);
  painter.scale(k, k);
  // A stiffener stands on the plate inside the shell; so does an inner ring.
  painter.fillRect(QRectF(-width / 2, 0, width, plate), QColor(215, 215, 215));
  QPen pen(Qt::black);
  pen.setWidthF(0.6 / k * painter.device()->logicalDpiX() / 72.0);
  painter.setPen(pen);
  painter.setBrush(QColor(150, 160, 175));
  painter.drawPath(path.simplified());
  painter.restore();
}

}  // namespace

ReportOptions defaultReportOptions() {
  ReportOptions options;
  options.cylinder = paintCylinder;
  options.profile = paintProfile;
  return options;
}

}  // namespace orvane::ui
