// Charts of the design study: line series against one input, or a colour
// map of a value over a grid of two inputs with its passing region and the
// contour where the value equals a level.
//
// One routine draws a chart onto any QPainter: the window's widget, a PNG
// image, an SVG file and a PDF page all come from draw(), so what the user
// sees is what is exported. Sizes of lines and marks follow the device's
// resolution; texts take the font's point size.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

namespace orvane::ui::chart {

// Axis ticks at 1, 2 or 5 times a power of ten.
struct Ticks {
  double lo = 0, hi = 1;  // the axis range
  double step = 1;
  std::vector<double> values;  // the ticks inside [lo, hi]
};

// About `target` ticks over [lo, hi]. With `extend` the range grows to the
// ticks around it (a value axis); without, it stays as given (an input's
// range). A range of one value, or not finite, is widened around it.
Ticks niceTicks(double lo, double hi, int target = 6, bool extend = true);
// A tick's text with as many decimals as the step needs.
QString tickText(double value, double step);
// The fewest decimals that write `step` (at most 12).
int decimalsOf(double step);

struct Series {
  QString name;
  QColor color;
  std::vector<QPointF> points;  // a NaN y leaves a gap
  bool dashed = false;          // a limit rather than a result: no marks
};

// A horizontal line across the plot (an allowable value).
struct RefLine {
  double y = 1;
  QString label;
  QColor color{Qt::darkRed};
};

struct Marker {
  enum Kind : uint8_t {
    Point,     // a ring at `at` with its label beside it
    Vertical,  // a dashed line at x = at.x() with its label at the top
  };
  Kind kind = Point;
  QPointF at;
  QString label;
  QColor color{Qt::black};
};

// A stretch of the input where a check did not run, shaded across the plot
// with the reason at its foot.
struct Band {
  double from = 0, to = 0;
  QString label;
};

// Values at the nodes of a grid, row by row: value(i, j) at (xs[i], ys[j]).
// NaN is a node without a value (a faulted run); drawn grey.
struct Grid {
  std::vector<double> xs, ys;
  std::vector<double> values;
  std::vector<uint8_t> passing;  // nodes of the shaded region; may be empty
  double level = 1;              // the contour drawn
  std::optional<double> limit;   // the colour scale ends here (higher: its colour)
  double value(size_t i, size_t j) const { return values[j * xs.size() + i]; }
  bool passes(size_t i, size_t j) const {
    return !passing.empty() && passing[j * xs.size() + i] != 0;
  }
};

struct Chart {
  QString title, xLabel, yLabel;
  std::vector<Series> series;
  std::vector<RefLine> refLines;
  std::vector<Marker> markers;
  std::vector<Band> bands;
  // Tick texts in place of the numbers (a profile table's row: its
  // designation), by axis value.
  std::map<double, QString> xNames, yNames;
  std::optional<Grid> map;  // a map in place of series
  QString valueLabel;       // the colour bar's caption in map mode
  bool yFromZero = false;   // the value axis starts at 0 at least
  // The value axis ends here at most; a line above it leaves the plot.
  std::optional<double> yLimit;
};

// The segments of the contour value == level, in data coordinates
// (marching squares; cells with a NaN corner are skipped, a saddle is
// decided by the cell's mean).
std::vector<QLineF> contour(const Grid& grid, double level);

// Where the plot sits in an area and how data map onto it.
class Frame {
 public:
  // `fm`: the chart's font on the target device; `unit`: device pixels of
  // one pixel at 96 dpi.
  Frame(const Chart& chart, const QRectF& area, const QFontMetricsF& fm, double unit);

  QRectF plot() const { return plot_; }
  const Ticks& xTicks() const { return x_; }
  const Ticks& yTicks() const { return y_; }
  QPointF toPixel(QPointF data) const;
  QPointF toData(QPointF pixel) const;

 private:
  QRectF plot_;
  Ticks x_, y_;
};

// Draws `chart` into `area` of the painter's device.
void draw(QPainter& painter, const QRectF& area, const Chart& chart, const QFont& font);

// The index of the series point nearest to `x` in data units, or -1.
int nearestIndex(const Series& series, double x);

// A colour on the map's scale: blue below `level`, through pale yellow at
// it, to red above; lo and hi are the ends of the scale.
QColor mapColour(double value, double lo, double level, double hi);
// The scale of a map: its finite values and the level, up to its limit.
std::pair<double, double> mapRange(const Grid& grid);
// Where a value sits on the colour bar, 0 at its foot and 1 at its head:
// the level is always at the middle, so that both sides of the allowable
// value can be read however far the scale reaches above it.
double barPosition(double value, double lo, double level, double hi);
// The ticks of the colour bar: a few on each side of the level, and the
// level itself.
std::vector<std::pair<double, QString>> barTicks(double lo, double level, double hi);
// Places label boxes one after another so that none covers another: a box
// that would is moved down (then up) by its height until it is clear, and
// never leaves `keep`.
class LabelStack {
 public:
  explicit LabelStack(const QRectF& keep) : keep_(keep) {}
  QRectF place(QRectF box);

 private:
  QRectF keep_;
  std::vector<QRectF> placed_;
};
// Device pixels of one 96-dpi pixel on the painter's device.
double unitOf(const QPainter& painter);

}  // namespace orvane::ui::chart
