#include "ui/study/chart_widget.hpp"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

namespace orvane::ui {

namespace {

size_t nearestNode(const std::vector<double>& nodes, double v) {
  size_t best = 0;
  for (size_t k = 1; k < nodes.size(); ++k)
    if (std::abs(nodes[k] - v) < std::abs(nodes[best] - v)) best = k;
  return best;
}

QString number(double v) {
  return std::isfinite(v) ? QString::number(v, 'f', 4) : QStringLiteral("-");
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setMinimumSize(360, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartWidget::setChart(chart::Chart chart) {
  chart_ = std::move(chart);
  update();
}

chart::Frame ChartWidget::frame() const {
  return chart::Frame(chart_, QRectF(rect()), QFontMetricsF(font(), this), 1.0);
}

void ChartWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  chart::draw(p, QRectF(rect()), chart_, font());
}

QString ChartWidget::hoverText(QPointF pos) const {
  const chart::Frame f = frame();
  if (!f.plot().contains(pos)) return {};
  const QPointF d = f.toData(pos);
  if (chart_.map) {
    const chart::Grid& g = *chart_.map;
    if (g.xs.empty() || g.ys.empty()) return {};
    const size_t i = nearestNode(g.xs, d.x()), j = nearestNode(g.ys, d.y());
    QString t = QStringLiteral("%1 = %2\n%3 = %4\n%5: %6")
                    .arg(chart_.xLabel)
                    .arg(g.xs[i])
                    .arg(chart_.yLabel)
                    .arg(g.ys[j])
                    .arg(chart_.valueLabel, number(g.value(i, j)));
    if (!g.passing.empty())
      t += g.passes(i, j) ? QStringLiteral(" (passes)") : QStringLiteral(" (fails)");
    return t;
  }
  if (chart_.series.empty()) return {};
  const int k = chart::nearestIndex(chart_.series.front(), d.x());
  if (k < 0) return {};
  const double x = chart_.series.front().points[static_cast<size_t>(k)].x();
  QStringList lines{QStringLiteral("%1 = %2").arg(chart_.xLabel).arg(x)};
  for (const chart::Series& s : chart_.series) {
    if (static_cast<size_t>(k) < s.points.size())
      lines << QStringLiteral("%1: %2").arg(s.name, number(s.points[static_cast<size_t>(k)].y()));
  }
  return lines.join(QLatin1Char('\n'));
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QString text = hoverText(event->position());
  if (text.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(event->globalPosition().toPoint(), text, this);
}

}  // namespace orvane::ui
