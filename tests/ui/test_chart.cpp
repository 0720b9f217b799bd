// The study charts: axis ticks, the contour of a map, and the exported
// PNG, SVG and PDF files.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "ui/study/chart.hpp"
#include "ui/study/chart_export.hpp"

using namespace orvane::ui::chart;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A grid over [x0, x1] x [y0, y1] with n x m nodes of f(x, y).
template <typename F>
Grid gridOf(double x0, double x1, int n, double y0, double y1, int m, F f) {
  Grid g;
  for (int i = 0; i < n; ++i) g.xs.push_back(x0 + (x1 - x0) * i / (n - 1));
  for (int j = 0; j < m; ++j) g.ys.push_back(y0 + (y1 - y0) * j / (m - 1));
  for (double y : g.ys)
    for (double x : g.xs) g.values.push_back(f(x, y));
  return g;
}

Chart sampleChart() {
  Chart c;
  c.title = QStringLiteral("Usage factors against t");
  c.xLabel = QStringLiteral("t [mm]");
  c.yLabel = QStringLiteral("usage factor");
  Series shell{QStringLiteral("Shell"), QColor(0, 90, 200), {}};
  Series stiff{QStringLiteral("Stiffener"), QColor(230, 120, 0), {}};
  for (int i = 0; i <= 20; ++i) {
    const double t = 10 + i;
    shell.points.emplace_back(t, 12 / t);
    stiff.points.emplace_back(t, i == 7 ? kNaN : 0.4 + 0.01 * i);
  }
  c.series = {shell, stiff};
  c.refLines = {{1.0, QStringLiteral("allowable 1.00"), Qt::darkRed}};
  c.markers = {{Marker::Point, {12, 1}, QStringLiteral("t = 12.000"), Qt::black},
               {Marker::Vertical, {20, 0}, QStringLiteral("current 20"), Qt::darkGray}};
  c.yFromZero = true;
  return c;
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ChartTest : public QObject {
  Q_OBJECT

 private slots:
  void ticks_data() {
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("extend");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("axisLo");
    QTest::addColumn<double>("axisHi");
    QTest::addColumn<int>("count");
    QTest::newRow("unit") << 0.0 << 1.0 << 6 << true << 0.2 << 0.0 << 1.0 << 6;
    QTest::newRow("widened to halves") << 0.13 << 1.87 << 6 << true << 0.5 << 0.0 << 2.0 << 5;
    QTest::newRow("input range kept") << 12.0 << 38.0 << 6 << false << 5.0 << 12.0 << 38.0 << 5;
    QTest::newRow("negative") << -3.3 << 0.7 << 5 << true << 1.0 << -4.0 << 1.0 << 6;
    QTest::newRow("swapped") << 38.0 << 12.0 << 6 << false << 5.0 << 12.0 << 38.0 << 5;
    QTest::newRow("large") << 1200.0 << 9800.0 << 6 << true << 2000.0 << 0.0 << 10000.0 << 6;
    QTest::newRow("small") << 0.0021 << 0.0093 << 4 << true << 0.002 << 0.002 << 0.01 << 5;
    QTest::newRow("one value") << 1.0 << 1.0 << 6 << true << 0.05 << 0.9 << 1.1 << 5;
    QTest::newRow("zero") << 0.0 << 0.0 << 6 << true << 0.5 << -1.0 << 1.0 << 5;
    QTest::newRow("negative value") << -50.0 << -50.0 << 6 << true << 2.0 << -56.0 << -44.0 << 7;
    QTest::newRow("not finite") << kNaN << kNaN << 6 << true << 0.5 << -1.0 << 1.0 << 5;
  }
  void ticks() {
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(int, target);
    QFETCH(bool, extend);
    QFETCH(double, step);
    QFETCH(double, axisLo);
    QFETCH(double, axisHi);
    QFETCH(int, count);
    const Ticks t = niceTicks(lo, hi, target, extend);
    QCOMPARE(t.step, step);
    QCOMPARE(t.lo, axisLo);
    QCOMPARE(t.hi, axisHi);
    QCOMPARE(static_cast<int>(t.values.size()), count);
    for (size_t k = 0; k < t.values.size(); ++k) {
      const double v = t.values[k];
      QVERIFY2(v >= t.lo - 1e-12 && v <= t.hi + 1e-12, qPrintable(QString::number(v)));
      // whole multiples of the step, one step apart
      QCOMPARE(std::remainder(v, t.step) + 1.0, 1.0);
      if (k > 0) QVERIFY(std::abs(t.values[k] - t.values[k - 1] - t.step) < t.step * 1e-9);
    }
  }

  // Over many ranges: the step's mantissa is 1, 2 or 5, an extended axis
  // covers the range, and the tick count stays near the target.
  void ticksAreNiceEverywhere() {
    for (double lo : {-1234.5, -3.0, 0.0, 0.001, 7.25, 1e5})
      for (double span : {1e-6, 0.01, 0.9, 3.0, 77.0, 1e4}) {
        const Ticks t = niceTicks(lo, lo + span, 6, true);
        const double m = t.step / std::pow(10.0, std::floor(std::log10(t.step)));
        QVERIFY2(std::abs(m - 1) < 1e-9 || std::abs(m - 2) < 1e-9 || std::abs(m - 5) < 1e-9,
                 qPrintable(QStringLiteral("%1 + %2: step %3").arg(lo).arg(span).arg(t.step)));
        const double ulps = 1e-14 * std::max(1.0, std::abs(lo));
        QVERIFY2(
            t.lo <= lo + ulps && t.hi >= lo + span - ulps,
            qPrintable(QStringLiteral("%1 + %2: %3 to %4").arg(lo).arg(span).arg(t.lo).arg(t.hi)));
        QVERIFY2(
            t.values.size() >= 4 && t.values.size() <= 12,
            qPrintable(QStringLiteral("%1 + %2: %3 ticks").arg(lo).arg(span).arg(t.values.size())));
      }
  }

  void tickTexts() {
    const std::pair<std::pair<double, double>, const char*> cases[] = {
        {{0.1 + 0.2, 0.1}, "0.3"}, {{-1e-17, 0.5}, "0.0"},       {{2000, 500}, "2000"},
        {{0.05, 0.05}, "0.05"},    {{-0.25, 0.05}, "-0.25"},     {{17.5, 2.5}, "17.5"},
        {{1.0, 0.2}, "1.0"},       {{-0.00001, 0.001}, "0.000"}, {{-1e-17, 5}, "0"}};
    for (const auto& [in, text] : cases)
      QCOMPARE(tickText(in.first, in.second), QString::fromLatin1(text));
  }

  // On a plane the linear cut is exact: every segment lies on x = level.
  void contourOfAPlane() {
    const Grid g = gridOf(0, 10, 11, -2, 2, 5, [](double x, double) { return x; });
    for (double level : {0.5, 3.3, 9.99}) {
      const auto segs = contour(g, level);
      QCOMPARE(static_cast<int>(segs.size()), 4);  // one per row of cells
      double ys = 0;
      for (const QLineF& s : segs) {
        QCOMPARE(s.p1().x(), level);
        QCOMPARE(s.p2().x(), level);
        ys += std::abs(s.dy());
      }
      QCOMPARE(ys, 4.0);  // they span the grid's height
    }
    QVERIFY(contour(g, -1).empty());
    QVERIFY(contour(g, 11).empty());
  }

  // A circle: the points sit on the radius to within the grid's
  // interpolation error, and the segments close into one loop.
  void contourOfACircle() {
    // 40 nodes a side: no node lies on the circle itself
    const Grid g = gridOf(-2, 2, 40, -2, 2, 40, [](double x, double y) { return x * x + y * y; });
    const auto segs = contour(g, 1.0);
    QVERIFY(segs.size() > 30);
    std::map<std::pair<long long, long long>, int> ends;
    auto key = [](QPointF p) {
      return std::make_pair(std::llround(p.x() * 1e9), std::llround(p.y() * 1e9));
    };
    for (const QLineF& s : segs) {
      for (QPointF p : {s.p1(), s.p2()}) {
        QVERIFY2(std::abs(std::hypot(p.x(), p.y()) - 1) < 0.01,
                 qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
        ++ends[key(p)];
      }
    }
    for (const auto& [p, n] : ends) QCOMPARE(n, 2);
  }

  void contourSkipsHolesAndSplitsSaddles() {
    Grid g = gridOf(0, 2, 3, 0, 1, 2, [](double x, double) { return x; });
    g.values[0] = kNaN;  // the left cell has no value at one corner
    const auto segs = contour(g, 1.5);
    QCOMPARE(static_cast<int>(segs.size()), 1);
    QCOMPARE(contour(g, 0.5).size(), size_t(0));
    // a saddle whose mean lies below the level: the high corners stay apart
    Grid s = gridOf(0, 1, 2, 0, 1, 2, [](double x, double y) { return x == y ? 1.0 : 0.0; });
    const auto apart = contour(s, 0.6);
    QCOMPARE(static_cast<int>(apart.size()), 2);
    for (const QLineF& seg : apart) {
      // each segment cuts off a high corner: its middle on the diagonal
      const QPointF mid = (seg.p1() + seg.p2()) / 2;
      QVERIFY(std::abs(mid.x() - mid.y()) < 1e-12);
      QVERIFY(std::abs(mid.x() - 0.5) > 0.25);
    }
    // above the level the mean joins them: the segments cut off the low corners
    const auto joined = contour(s, 0.4);
    QCOMPARE(static_cast<int>(joined.size()), 2);
    for (const QLineF& seg : joined) {
      const QPointF mid = (seg.p1() + seg.p2()) / 2;
      QVERIFY(std::abs(mid.x() - mid.y()) > 0.5);
      QVERIFY(std::abs((mid.x() + mid.y()) - 1) < 1e-12);
    }
  }

  void frameMapsBothWays() {
    const Chart c = sampleChart();
    QImage image(800, 500, QImage::Format_ARGB32);
    QPainter p(&image);
    const QRectF area(0, 0, 800, 500);
    const Frame f(c, area, QFontMetricsF(QFont(), &image), 1.0);
    QVERIFY(area.contains(f.plot()));
    QVERIFY(f.plot().width() > 400 && f.plot().height() > 250);
    QCOMPARE(f.xTicks().lo, 10.0);  // the input's range stays as swept
    QCOMPARE(f.xTicks().hi, 30.0);
    QCOMPARE(f.yTicks().lo, 0.0);  // from zero, as asked
    for (QPointF d : {QPointF(10, 0), QPointF(17.3, 0.81), QPointF(30, 1.2)}) {
      const QPointF back = f.toData(f.toPixel(d));
      QVERIFY(std::abs(back.x() - d.x()) < 1e-9 && std::abs(back.y() - d.y()) < 1e-9);
    }
    QCOMPARE(f.toPixel({10, f.yTicks().lo}), f.plot().bottomLeft());
    QCOMPARE(nearestIndex(c.series[0], 17.4), 7);
    QCOMPARE(nearestIndex(Series{}, 1), -1);
  }

  // A limit caps the value axis and the colour scale, never raises them.
  void limitsCapTheScale() {
    QImage image(800, 500, QImage::Format_ARGB32);
    const QFontMetricsF fm(QFont(), &image);
    const QRectF area(0, 0, 800, 500);
    Chart c = sampleChart();
    c.series[0].points.emplace_back(31, 250.0);  // far above the rest
    QCOMPARE(Frame(c, area, fm, 1).yTicks().hi, 250.0);
    c.yLimit = 4;
    QCOMPARE(Frame(c, area, fm, 1).yTicks().hi, 4.0);
    c.yLimit = 1000;
    QCOMPARE(Frame(c, area, fm, 1).yTicks().hi, 250.0);

    Grid g = gridOf(0, 1, 2, 0, 1, 2, [](double x, double y) { return 0.5 + 20 * x * y; });
    QCOMPARE(mapRange(g), std::make_pair(0.5, 20.5));
    g.limit = 4;
    QCOMPARE(mapRange(g), std::make_pair(0.5, 4.0));
    // above the limit: the top colour
    QCOMPARE(mapColour(20.5, 0.5, 1, 4), mapColour(4, 0.5, 1, 4));
    QVERIFY(mapColour(2, 0.5, 1, 4) != mapColour(4, 0.5, 1, 4));
  }

  // Labels asked for at nearly one place (crossings close together) are
  // stacked: none covers another and all stay in the plot.
  void labelsAreStackedClearOfEachOther() {
    const QRectF plot(0, 0, 400, 300);
    LabelStack stack(plot);
    std::vector<QRectF> placed;
    for (int i = 0; i < 14; ++i)
      placed.push_back(stack.place(QRectF(330 + 4 * i, 280 - 2 * i, 90, 16)));
    for (size_t i = 0; i < placed.size(); ++i) {
      QVERIFY(plot.contains(placed[i]));
      for (size_t j = 0; j < i; ++j)
        QVERIFY2(!placed[i].intersects(placed[j]), qPrintable(QString::number(i)));
    }
  }

  // The colour bar has the allowable value at its middle whatever the scale
  // reaches on either side, and a tick for it.
  void colourBarIsCentredOnTheLevel_data() {
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("hi");
    QTest::newRow("far above") << 0.1 << 1.0 << 40.0;
    QTest::newRow("far below") << -30.0 << 0.8 << 1.2;
    QTest::newRow("level at the foot") << 1.0 << 1.0 << 4.0;
  }
  void colourBarIsCentredOnTheLevel() {
    QFETCH(double, lo);
    QFETCH(double, level);
    QFETCH(double, hi);
    QCOMPARE(barPosition(level, lo, level, hi), 0.5);
    QCOMPARE(barPosition(hi, lo, level, hi), 1.0);
    if (lo < level) QCOMPARE(barPosition(lo, lo, level, hi), 0.0);
    const auto ticks = barTicks(lo, level, hi);
    double last = -1;
    bool levelTick = false;
    for (const auto& [v, text] : ticks) {
      const double at = barPosition(v, lo, level, hi);
      QVERIFY(at > last && at >= 0 && at <= 1);  // in order, on the bar
      last = at;
      levelTick = levelTick || v == level;
    }
    QVERIFY(levelTick);
    QVERIFY(ticks.size() >= 3);
  }

  void fileKinds() {
    QCOMPARE(kindOf(QStringLiteral("/a/b.PNG")), std::optional(FileKind::Png));
    QCOMPARE(kindOf(QStringLiteral("b.svg")), std::optional(FileKind::Svg));
    QCOMPARE(kindOf(QStringLiteral("c.d.pdf")), std::optional(FileKind::Pdf));
    QVERIFY(!kindOf(QStringLiteral("chart.jpg")));
    QVERIFY(!kindOf(QStringLiteral("pdf")));
  }

  // Each export is a valid file of its kind that shows the chart.
  void exportsWriteValidFiles() {
    QTemporaryDir dir;
    const Chart c = sampleChart();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);

    const QString png = dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(!exportChart(c, png, FileKind::Png, font));
    QVERIFY(readAll(png).startsWith("\x89PNG\r\n\x1a\n"));
    const QImage image(png);
    QCOMPARE(image.size(), QSize(1920, 1200));
    // the shell series' colour is drawn (not only the white background)
    int shellPixels = 0;
    for (int y = 0; y < image.height(); y += 2)
      for (int x = 0; x < image.width(); x += 2)
        if (image.pixelColor(x, y) == c.series[0].color) ++shellPixels;
    QVERIFY2(shellPixels > 200, qPrintable(QString::number(shellPixels)));

    const QString svg = dir.filePath(QStringLiteral("chart.svg"));
    QVERIFY(!exportChart(c, svg, FileKind::Svg, font));
    QXmlStreamReader xml(readAll(svg));
    QString root;
    QStringList texts;
    while (!xml.atEnd()) {
      if (xml.readNext() == QXmlStreamReader::StartElement) {
        if (root.isEmpty()) root = xml.name().toString();
        if (xml.name() == QLatin1String("text")) texts << xml.readElementText().simplified();
      }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(root, QStringLiteral("svg"));
    for (const char* t : {"Usage factors against t", "Shell", "Stiffener", "allowable 1.00",
                          "t = 12.000", "current 20", "t [mm]"})
      QVERIFY2(texts.contains(QString::fromLatin1(t)), t);

    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    QVERIFY(!exportChart(c, pdf, FileKind::Pdf, font));
    const QByteArray bytes = readAll(pdf);
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));
    QVERIFY(bytes.size() > 2000);

    // a folder that does not exist: an error naming the file, no file
    for (FileKind kind : {FileKind::Png, FileKind::Svg, FileKind::Pdf}) {
      const QString bad = dir.filePath(QStringLiteral("none/chart.out"));
      const auto error = exportChart(c, bad, kind, font);
      QVERIFY(error);
      QCOMPARE(*error, QStringLiteral("can't save file - ") + bad);
      QVERIFY(!QFile::exists(bad));
    }
  }

  // A map: the passing region is hatched over the colours and the contour
  // drawn black; faulted nodes are grey.
  void mapDrawsRegionAndContour() {
    Chart c;
    c.xLabel = QStringLiteral("t");
    c.yLabel = QStringLiteral("s");
    c.valueLabel = QStringLiteral("usage factor");
    Grid g = gridOf(10, 30, 21, 400, 800, 21, [](double t, double s) { return s / (t * 40); });
    g.level = 1;
    for (double v : g.values) g.passing.push_back(v <= g.level ? 1 : 0);
    g.values[0] = kNaN;
    g.passing[0] = 0;
    c.map = g;
    QImage image(900, 600, QImage::Format_ARGB32);
    {
      QPainter p(&image);
      draw(p, QRectF(0, 0, 900, 600), c, QFont());
    }
    const Frame f(c, QRectF(0, 0, 900, 600), QFontMetricsF(QFont(), &image), 1.0);
    // the faulted corner node is grey, the far (failing) corner reddish,
    // the passing one bluish
    const QColor grey = image.pixelColor(f.toPixel({10.2, 402}).toPoint());
    QCOMPARE(grey, QColor(170, 170, 170));
    const QColor high = image.pixelColor(f.toPixel({10.3, 795}).toPoint());
    QVERIFY(high.red() > high.blue());
    // black contour pixels along the line s = 40 t
    const QPointF onLine = f.toPixel({15, 600});
    bool black = false;
    for (int dx = -3; dx <= 3 && !black; ++dx)
      for (int dy = -3; dy <= 3 && !black; ++dy)
        black = image.pixelColor(onLine.toPoint() + QPoint(dx, dy)).value() < 40;
    QVERIFY(black);
  }
};

QTEST_MAIN(ChartTest)
#include "test_chart.moc"
