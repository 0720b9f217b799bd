#include "ui/study/chart.hpp"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace orvane::ui::chart {

namespace {

double niceStep(double raw) {
  const double e = std::floor(std::log10(raw));
  const double p = std::pow(10.0, e);
  const double f = raw / p;
  const double m = f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10;
  return m * p;
}

struct Range {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  void add(double v) {
    if (!std::isfinite(v)) return;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  bool empty() const { return lo > hi; }
};

// A tick's text: its name where the chart names the value, else the number.
QString tickLabel(const std::map<double, QString>& names, double value, double step) {
  const auto named = names.find(value);
  return named != names.end() ? named->second : tickText(value, step);
}

// The width a legend or a colour bar takes right of the plot.
double sideWidth(const Chart& chart, const QFontMetricsF& fm, double unit) {
  double w = 0;
  if (chart.map) {
    const auto [lo, hi] = mapRange(*chart.map);
    for (const auto& [v, text] : barTicks(lo, chart.map->level, hi))
      w = std::max(w, fm.horizontalAdvance(text));
    w = std::max(w + 24 * unit, fm.horizontalAdvance(chart.valueLabel));
    w = std::max(w, fm.horizontalAdvance(QStringLiteral("allowable 0.00")) + 30 * unit);
  } else {
    for (const Series& s : chart.series) w = std::max(w, fm.horizontalAdvance(s.name));
    for (const RefLine& r : chart.refLines) w = std::max(w, fm.horizontalAdvance(r.label));
    if (w > 0) w += 30 * unit;
  }
  return w > 0 ? w + 16 * unit : 12 * unit;
}

}  // namespace

Ticks niceTicks(double lo, double hi, int target, bool extend) {
  if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(hi - lo)) {
    lo = std::isfinite(lo) ? lo : std::isfinite(hi) ? hi : 0;
    hi = lo;
  }
  if (lo > hi) std::swap(lo, hi);
  const double size = std::max({1.0, std::abs(lo), std::abs(hi)});
  if (hi - lo <= 1e-12 * size) {
    const double pad = lo == 0 ? 1 : std::abs(lo) * 0.1;
    lo -= pad;
    hi += pad;
  }
  Ticks t;
  t.step = niceStep((hi - lo) / std::max(1, target - 1));
  const double eps = 1e-9;
  t.lo = extend ? std::floor(lo / t.step + eps) * t.step : lo;
  t.hi = extend ? std::ceil(hi / t.step - eps) * t.step : hi;
  const auto first = static_cast<long long>(std::ceil(t.lo / t.step - eps));
  const auto last = static_cast<long long>(std::floor(t.hi / t.step + eps));
  for (long long k = first; k <= last; ++k) {
    const double v = static_cast<double>(k) * t.step;
    t.values.push_back(std::abs(v) < t.step * eps ? 0.0 : v);
  }
  return t;
}

int decimalsOf(double step) {
  int decimals = 0;
  step = std::abs(step);
  for (double scaled = step; decimals < 12 && scaled > 0; ++decimals, scaled *= 10)
    if (std::abs(scaled - std::round(scaled)) <= 1e-9 * scaled) break;
  return decimals;
}

QString tickText(double value, double step) {
  QString s = QString::number(value, 'f', decimalsOf(step));
  // a small negative value rounds to "-0.0": zero has no sign
  if (s.startsWith(QLatin1Char('-')) && s.toDouble() == 0) s.remove(0, 1);
  return s;
}

std::pair<double, double> mapRange(const Grid& grid) {
  Range r;
  for (double v : grid.values) r.add(v);
  r.add(grid.level);
  if (grid.limit && r.hi > *grid.limit) r.hi = std::max(*grid.limit, r.lo);
  return {r.lo, r.hi};
}

QColor mapColour(double value, double lo, double level, double hi) {
  if (!std::isfinite(value)) return QColor(170, 170, 170);
  const QColor low(49, 54, 149), mid(255, 255, 191), high(165, 0, 38);
  auto mix = [](const QColor& a, const QColor& b, double f) {
    f = std::clamp(f, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * f),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * f),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * f));
  };
  if (value <= level) return mix(low, mid, level > lo ? (value - lo) / (level - lo) : 1);
  return mix(mid, high, hi > level ? (value - level) / (hi - level) : 1);
}

double barPosition(double value, double lo, double level, double hi) {
  const double at = value <= level
                        ? (level > lo ? 0.5 * (value - lo) / (level - lo) : 0.5)
                        : (hi > level ? 0.5 + 0.5 * (value - level) / (hi - level) : 0.5);
  return std::clamp(at, 0.0, 1.0);
}

std::vector<std::pair<double, QString>> barTicks(double lo, double level, double hi) {
  std::vector<std::pair<double, QString>> out;
  const auto add = [&](double a, double b) {
    if (!(b > a)) return;
    const Ticks t = niceTicks(a, b, 3, false);
    for (double v : t.values) {
      // the level's own tick stands for the ticks close to it
      if (std::abs(v - level) < 0.25 * t.step) continue;
      out.emplace_back(v, tickText(v, t.step));
    }
  };
  add(lo, level);
  out.emplace_back(level, tickText(level, 0.01));
  add(level, hi);
  return out;
}

QRectF LabelStack::place(QRectF box) {
  const auto within = [this](QRectF b) {
    if (b.right() > keep_.right()) b.moveRight(keep_.right());
    if (b.left() < keep_.left()) b.moveLeft(keep_.left());
    if (b.top() < keep_.top()) b.moveTop(keep_.top());
    if (b.bottom() > keep_.bottom()) b.moveBottom(keep_.bottom());
    return b;
  };
  const auto clear = [this](const QRectF& b) {
    return std::none_of(placed_.begin(), placed_.end(),
                        [&](const QRectF& p) { return p.intersects(b); });
  };
  const QRectF first = within(box);
  QRectF chosen = first;
  const double step = box.height() + 1;
  for (int k = 1; !clear(chosen) && k < 200; ++k) {
    // alternately below and above, further each time
    const double dy = (k % 2 ? 1 : -1) * step * ((k + 1) / 2);
    chosen = within(first.translated(0, dy));
  }
  placed_.push_back(chosen);
  return chosen;
}

double unitOf(const QPainter& painter) {
  const QPaintDevice* d = painter.device();
  return d ? d->logicalDpiY() / 96.0 : 1.0;
}

std::vector<QLineF> contour(const Grid& g, double level) {
  std::vector<QLineF> out;
  const size_t nx = g.xs.size(), ny = g.ys.size();
  if (nx < 2 || ny < 2 || g.values.size() != nx * ny) return out;
  // the point of an edge where the value passes the level
  auto cut = [level](QPointF a, double va, QPointF b, double vb) {
    const double f = (level - va) / (vb - va);
    return a + (b - a) * f;
  };
  for (size_t j = 0; j + 1 < ny; ++j) {
    for (size_t i = 0; i + 1 < nx; ++i) {
      // corners counter-clockwise from the lower left
      const QPointF p[4] = {{g.xs[i], g.ys[j]},
                            {g.xs[i + 1], g.ys[j]},
                            {g.xs[i + 1], g.ys[j + 1]},
                            {g.xs[i], g.ys[j + 1]}};
      const double v[4] = {g.value(i, j), g.value(i + 1, j), g.value(i + 1, j + 1),
                           g.value(i, j + 1)};
      if (!std::all_of(std::begin(v), std::end(v), [](double x) { return std::isfinite(x); }))
        continue;
      int mask = 0;
      for (int k = 0; k < 4; ++k) mask |= (v[k] > level ? 1 : 0) << k;
      if (mask == 0 || mask == 15) continue;
      // the crossing on edge k (from corner k to corner k+1)
      auto edge = [&](int k) { return cut(p[k], v[k], p[(k + 1) % 4], v[(k + 1) % 4]); };
      // edges whose ends lie on different sides, in order around the cell
      int crossed[4], n = 0;
      for (int k = 0; k < 4; ++k)
        if (((mask >> k) & 1) != ((mask >> ((k + 1) % 4)) & 1)) crossed[n++] = k;
      if (n == 2) {
        out.emplace_back(edge(crossed[0]), edge(crossed[1]));
        continue;
      }
      // a saddle: the mean says whether the high corners connect
      const bool centreHigh = (v[0] + v[1] + v[2] + v[3]) / 4 > level;
      const bool corner0High = (mask & 1) != 0;
      if (centreHigh == corner0High) {
        // corner 0 joins the middle: cut off corners 1 and 3
        out.emplace_back(edge(0), edge(1));
        out.emplace_back(edge(2), edge(3));
      } else {
        out.emplace_back(edge(3), edge(0));
        out.emplace_back(edge(1), edge(2));
      }
    }
  }
  return out;
}

Frame::Frame(const Chart& chart, const QRectF& area, const QFontMetricsF& fm, double unit) {
  Range xr, yr;
  if (chart.map) {
    for (double x : chart.map->xs) xr.add(x);
    for (double y : chart.map->ys) yr.add(y);
    x_ = niceTicks(xr.lo, xr.hi, 6, false);
    y_ = niceTicks(yr.lo, yr.hi, 6, false);
  } else {
    for (const Series& s : chart.series) {
      for (const QPointF& p : s.points) {
        xr.add(p.x());
        yr.add(p.y());
      }
    }
    for (const RefLine& r : chart.refLines) yr.add(r.y);
    for (const Marker& m : chart.markers) {
      xr.add(m.at.x());
      if (m.kind == Marker::Point) yr.add(m.at.y());
    }
    if (chart.yFromZero) yr.add(0);
    if (xr.empty()) xr = {0, 1};
    if (yr.empty()) yr = {0, 1};
    if (chart.yLimit && yr.hi > *chart.yLimit) yr.hi = std::max(*chart.yLimit, yr.lo);
    x_ = niceTicks(xr.lo, xr.hi, 7, false);
    y_ = niceTicks(yr.lo, yr.hi, 6, true);
  }
  double yText = 0;
  for (double v : y_.values)
    yText = std::max(yText, fm.horizontalAdvance(tickLabel(chart.yNames, v, y_.step)));
  const double line = fm.height();
  const double left = (chart.yLabel.isEmpty() ? 0 : line * 1.4) + yText + 10 * unit;
  const double top = (chart.title.isEmpty() ? 0 : line * 1.6) + line * 0.8;
  const double bottom = line * (chart.xLabel.isEmpty() ? 1.6 : 3.0);
  const double right = sideWidth(chart, fm, unit);
  plot_ = area.adjusted(left, top, -right, -bottom);
  if (plot_.width() < 10) plot_.setWidth(10);
  if (plot_.height() < 10) plot_.setHeight(10);
}

QPointF Frame::toPixel(QPointF d) const {
  return {plot_.left() + (d.x() - x_.lo) / (x_.hi - x_.lo) * plot_.width(),
          plot_.bottom() - (d.y() - y_.lo) / (y_.hi - y_.lo) * plot_.height()};
}

QPointF Frame::toData(QPointF p) const {
  return {x_.lo + (p.x() - plot_.left()) / plot_.width() * (x_.hi - x_.lo),
          y_.lo + (plot_.bottom() - p.y()) / plot_.height() * (y_.hi - y_.lo)};
}

int nearestIndex(const Series& series, double x) {
  int best = -1;
  double d = std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < series.points.size(); ++i) {
    const double e = std::abs(series.points[i].x() - x);
    if (e < d) {
      d = e;
      best = static_cast<int>(i);
    }
  }
  return best;
}

namespace {

void drawMap(QPainter& p, const Frame& f, const Grid& g, double unit) {
  const size_t nx = g.xs.size(), ny = g.ys.size();
  if (nx == 0 || ny == 0 || g.values.size() != nx * ny) return;
  const auto [lo, hi] = mapRange(g);
  // each node's cell reaches half-way to its neighbours
  auto edges = [](const std::vector<double>& v, const Ticks& t) {
    std::vector<double> e(v.size() + 1);
    e.front() = t.lo;
    e.back() = t.hi;
    for (size_t k = 1; k < v.size(); ++k) e[k] = (v[k - 1] + v[k]) / 2;
    return e;
  };
  const std::vector<double> ex = edges(g.xs, f.xTicks()), ey = edges(g.ys, f.yTicks());
  const QBrush hatch(QColor(0, 100, 0), Qt::BDiagPattern);
  p.setPen(Qt::NoPen);
  for (size_t j = 0; j < ny; ++j) {
    for (size_t i = 0; i < nx; ++i) {
      const QRectF cell =
          QRectF(f.toPixel({ex[i], ey[j + 1]}), f.toPixel({ex[i + 1], ey[j]})).normalized();
      // a hair of overlap so that no seam shows between cells
      const QRectF fill = cell.adjusted(-0.5, -0.5, 0.5, 0.5);
      p.fillRect(fill, mapColour(g.value(i, j), lo, g.level, hi));
      if (g.passes(i, j)) p.fillRect(fill, hatch);
    }
  }
  p.setPen(QPen(Qt::black, 2.2 * unit));
  for (const QLineF& s : contour(g, g.level)) p.drawLine(f.toPixel(s.p1()), f.toPixel(s.p2()));
}

void drawSeries(QPainter& p, const Frame& f, const Series& s, double unit) {
  p.setPen(QPen(s.color, 1.8 * unit, s.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  bool open = false;
  for (const QPointF& d : s.points) {
    if (!std::isfinite(d.y())) {
      open = false;
      continue;
    }
    const QPointF at = f.toPixel(d);
    if (open) {
      path.lineTo(at);
    } else {
      path.moveTo(at);
      open = true;
    }
  }
  p.drawPath(path);
  if (s.dashed || s.points.size() > 120) return;
  p.setBrush(s.color);
  p.setPen(Qt::NoPen);
  for (const QPointF& d : s.points)
    if (std::isfinite(d.y())) p.drawEllipse(f.toPixel(d), 2.6 * unit, 2.6 * unit);
}

// A label with a pale backing so that it reads over lines, placed clear of
// the labels before it; when it had to move away from `mark`, a thin leader
// line joins it to the mark.
void label(QPainter& p, LabelStack& stack, QPointF at, const QString& text, const QColor& colour,
           std::optional<QPointF> mark = std::nullopt) {
  const QFontMetricsF fm(p.font(), p.device());
  const QRectF wanted(at, QSizeF(fm.horizontalAdvance(text) + 4, fm.height()));
  const QRectF box = stack.place(wanted);
  if (mark && box.topLeft() != wanted.topLeft()) {
    p.setPen(QPen(colour, 0.8 * unitOf(p)));
    const double y = std::clamp(mark->y(), box.top(), box.bottom());
    p.drawLine(*mark, QPointF(mark->x() <= box.left() ? box.left() : box.right(), y));
  }
  p.fillRect(box, QColor(255, 255, 255, 210));
  p.setPen(colour);
  p.drawText(box, Qt::AlignCenter, text);
}

void drawMarkers(QPainter& p, const Frame& f, const Chart& c, double unit) {
  const QRectF plot = f.plot();
  const QFontMetricsF fm(p.font(), p.device());
  LabelStack stack(plot);
  for (const Band& b : c.bands) {
    const double x0 = f.toPixel({b.from, 0}).x(), x1 = f.toPixel({b.to, 0}).x();
    // a band of one point still shows as a narrow strip
    const double half = std::max(0.0, 4 * unit - (x1 - x0) / 2);
    const QRectF shade(QPointF(std::min(x0, x1) - half, plot.top()),
                       QPointF(std::max(x0, x1) + half, plot.bottom()));
    p.fillRect(shade, QColor(128, 128, 128, 50));
    p.fillRect(shade, QBrush(QColor(90, 90, 90, 110), Qt::FDiagPattern));
    label(p, stack, QPointF(shade.left() + 2 * unit, plot.bottom() - fm.height() - 2 * unit),
          b.label, QColor(60, 60, 60));
  }
  for (const RefLine& r : c.refLines) {
    const double y = f.toPixel({0, r.y}).y();
    p.setPen(QPen(r.color, 1.6 * unit, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }
  for (const Marker& m : c.markers) {
    const QPointF at = f.toPixel(m.at);
    if (m.kind == Marker::Vertical) {
      p.setPen(QPen(m.color, 1.4 * unit, Qt::DashDotLine));
      p.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
      label(p, stack, QPointF(at.x() + 3 * unit, plot.top() + 2 * unit), m.label, m.color,
            QPointF(at.x(), plot.top() + 2 * unit + fm.height() / 2));
    } else {
      p.setPen(QPen(m.color, 1.8 * unit));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(at, 5 * unit, 5 * unit);
      label(p, stack, at + QPointF(6 * unit, -fm.height() - 4 * unit), m.label, m.color, at);
    }
  }
}

void drawAxes(QPainter& p, const Frame& f, const Chart& c, double unit) {
  const QRectF plot = f.plot();
  const QFontMetricsF fm(p.font(), p.device());
  const Ticks& xt = f.xTicks();
  const Ticks& yt = f.yTicks();
  const QPen grid(QColor(0, 0, 0, 40), 1 * unit);
  const QPen axis(Qt::black, 1.2 * unit);
  for (double v : xt.values) {
    const double x = f.toPixel({v, 0}).x();
    if (!c.map) {
      p.setPen(grid);
      p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    p.setPen(axis);
    p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4 * unit));
    const QString t = tickLabel(c.xNames, v, xt.step);
    const double w = fm.horizontalAdvance(t);
    p.drawText(QPointF(x - w / 2, plot.bottom() + 5 * unit + fm.ascent()), t);
  }
  for (double v : yt.values) {
    const double y = f.toPixel({0, v}).y();
    if (!c.map) {
      p.setPen(grid);
      p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    p.setPen(axis);
    p.drawLine(QPointF(plot.left() - 4 * unit, y), QPointF(plot.left(), y));
    const QString t = tickLabel(c.yNames, v, yt.step);
    const double w = fm.horizontalAdvance(t);
    p.drawText(QPointF(plot.left() - 6 * unit - w, y + fm.ascent() / 2 - fm.descent() / 2), t);
  }
  p.setPen(axis);
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot);
  if (!c.xLabel.isEmpty()) {
    const double w = fm.horizontalAdvance(c.xLabel);
    p.drawText(QPointF(plot.center().x() - w / 2, plot.bottom() + 8 * unit + fm.height() * 2),
               c.xLabel);
  }
  if (!c.yLabel.isEmpty()) {
    p.save();
    p.translate(plot.left() - fm.height() * 0.6, plot.center().y());
    p.rotate(-90);
    double yText = 0;
    for (double v : yt.values)
      yText = std::max(yText, fm.horizontalAdvance(tickLabel(c.yNames, v, yt.step)));
    const double w = fm.horizontalAdvance(c.yLabel);
    p.drawText(QPointF(-w / 2, -yText - 10 * unit), c.yLabel);
    p.restore();
  }
}

// The legend of the series, or the colour bar of a map, right of the plot.
void drawSide(QPainter& p, const Frame& f, const Chart& c, double unit) {
  const QRectF plot = f.plot();
  const QFontMetricsF fm(p.font(), p.device());
  const double x = plot.right() + 12 * unit;
  double y = plot.top();
  auto entry = [&](const QString& text, auto&& swatch) {
    swatch(QRectF(x, y + fm.height() * 0.2, 22 * unit, fm.height() * 0.6));
    p.setPen(Qt::black);
    p.drawText(QPointF(x + 28 * unit, y + fm.ascent()), text);
    y += fm.height() * 1.3;
  };
  if (!c.map) {
    for (const Series& s : c.series)
      entry(s.name, [&](QRectF r) {
        p.setPen(QPen(s.color, 2 * unit, s.dashed ? Qt::DashLine : Qt::SolidLine));
        p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        if (s.dashed) return;
        p.setBrush(s.color);
        p.setPen(Qt::NoPen);
        p.drawEllipse(r.center(), 2.6 * unit, 2.6 * unit);
      });
    for (const RefLine& rl : c.refLines)
      entry(rl.label, [&](QRectF r) {
        p.setPen(QPen(rl.color, 1.6 * unit, Qt::DashLine));
        p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
      });
    return;
  }
  const Grid& g = *c.map;
  const auto [lo, hi] = mapRange(g);
  p.setPen(Qt::black);
  p.drawText(QPointF(x, y + fm.ascent()), c.valueLabel);
  y += fm.height() * 1.3;
  const double barTop = y, barBottom = plot.bottom() - fm.height() * 2.8;
  const double barW = 14 * unit;
  if (barBottom > barTop + 10) {
    // the bar's lower half runs from lo to the level, its upper half from
    // the level to hi, each coloured as the map colours its values
    const int steps = 64;
    for (int k = 0; k < steps; ++k) {
      const double at = 1 - (k + 0.5) / steps;
      const double v =
          at <= 0.5 ? lo + (g.level - lo) * at * 2 : g.level + (hi - g.level) * (at - 0.5) * 2;
      const double y0 = barTop + (barBottom - barTop) * k / steps;
      p.fillRect(QRectF(x, y0, barW, (barBottom - barTop) / steps + 0.5),
                 mapColour(v, lo, g.level, hi));
    }
    p.setPen(QPen(Qt::black, 1 * unit));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x, barTop, barW, barBottom - barTop));
    LabelStack ticks(QRectF(x + barW + 5 * unit, barTop - fm.height() / 2, 1e6,
                            barBottom - barTop + fm.height()));
    for (const auto& [v, text] : barTicks(lo, g.level, hi)) {
      const double yy = barBottom - barPosition(v, lo, g.level, hi) * (barBottom - barTop);
      const QRectF box = ticks.place(QRectF(x + barW + 5 * unit, yy - fm.height() / 2,
                                            fm.horizontalAdvance(text), fm.height()));
      if (std::abs(box.center().y() - yy) > 0.5) continue;  // no room beside the bar
      p.drawLine(QPointF(x + barW, yy), QPointF(x + barW + 3 * unit, yy));
      p.drawText(QPointF(box.left(), yy + fm.ascent() / 2 - fm.descent() / 2), text);
    }
  }
  y = plot.bottom() - fm.height() * 2.4;
  entry(QStringLiteral("passing"), [&](QRectF r) {
    p.fillRect(r, QColor(255, 255, 191));
    p.fillRect(r, QBrush(QColor(0, 100, 0), Qt::BDiagPattern));
  });
  entry(QStringLiteral("allowable ") + tickText(g.level, 0.01), [&](QRectF r) {
    p.setPen(QPen(Qt::black, 2.2 * unit));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
  });
}

}  // namespace

void draw(QPainter& p, const QRectF& area, const Chart& c, const QFont& font) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(font);
  const double unit = unitOf(p);
  const QFontMetricsF fm(font, p.device());
  const Frame f(c, area, fm, unit);
  p.fillRect(area, Qt::white);
  if (!c.title.isEmpty()) {
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), area.top() + fm.height() * 0.3, area.width(), fm.height() * 1.2),
               Qt::AlignHCenter | Qt::AlignVCenter, c.title);
    p.setFont(font);
  }
  p.save();
  p.setClipRect(f.plot());
  if (c.map) {
    drawMap(p, f, *c.map, unit);
  } else {
    for (const Series& s : c.series) drawSeries(p, f, s, unit);
  }
  drawMarkers(p, f, c, unit);
  p.restore();
  drawAxes(p, f, c, unit);
  drawSide(p, f, c, unit);
  p.restore();
}

}  // namespace orvane::ui::chart
