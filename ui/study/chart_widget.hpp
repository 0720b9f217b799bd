// A chart on screen: drawn by chart::draw() in paintEvent, with the values
// under the mouse as a tooltip.
#pragma once

#include <QWidget>

#include "ui/study/chart.hpp"

namespace orvane::ui {

class ChartWidget final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ChartWidget)

 public:
  explicit ChartWidget(QWidget* parent = nullptr);

  void setChart(chart::Chart chart);
  const chart::Chart& chart() const { return chart_; }
  // What hovering at `pos` (widget pixels) shows: the series' values at the
  // nearest input value, or the map's value at the nearest node; empty
  // outside the plot.
  QString hoverText(QPointF pos) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  chart::Frame frame() const;
  chart::Chart chart_;
};

}  // namespace orvane::ui
