// The Design study window: its menu entry, the sweep in the background
// against the core's own sweep, the map, the exports, the lightest-design
// search and Apply into the main window's fields.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "project/study.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/study/background.hpp"
#include "ui/study/chart_widget.hpp"
#include "ui/study/study_view.hpp"
#include "ui/study/study_window.hpp"
#include "ui_fixture.hpp"

using orvane::CheckId;
using orvane::RowOutcome;
using orvane::StudyRange;
using orvane::SweepResult;
using orvane::ui::Background;
using orvane::ui::ChartWidget;
using orvane::ui::FileDialog;
using orvane::ui::StudyWindow;
using orvane::ui::test::Harness;
namespace chart = orvane::ui::chart;

namespace {

constexpr int kWait = 20000;  // ms: a sweep of a few hundred points takes far less

// The core's own sweep of the window's project, for comparison.
SweepResult coreSweep(orvane::ui::MainWindow& w, const std::vector<std::string>& ranges) {
  std::vector<StudyRange> parsed;
  for (const std::string& r : ranges) parsed.push_back(orvane::parseRange(r).value());
  auto result = orvane::sweep({.state = w.state(), .fault = w.lastFault()}, parsed, {}, 1);
  if (!result) qFatal("core sweep failed");
  return std::move(result.value());
}

}  // namespace

class StudyWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;
  StudyWindow* study = nullptr;

  template <class T = QWidget>
  T* get(const char* name) const {
    T* w = study->findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }
  void setRange(int row, const QString& name, const QString& from, const QString& to,
                const QString& step) {
    const QString n = QString::number(row);
    auto* list = get<QComboBox>(qPrintable(QStringLiteral("cboinput") + n));
    list->setCurrentIndex(list->findData(name));
    QCOMPARE(list->currentData().toString(), name);
    for (const auto& [field, text] :
         {std::pair{QStringLiteral("ifrom"), from}, std::pair{QStringLiteral("ito"), to},
          std::pair{QStringLiteral("istep"), step}}) {
      auto* e = get<QLineEdit>(qPrintable(field + n));
      e->selectAll();
      QTest::keyClicks(e, text);
    }
  }
  // Waits for the sweep whose points are `count`, after the edits settled.
  std::shared_ptr<const SweepResult> waitSweep(size_t count) {
    [&] {
      QTRY_VERIFY_WITH_TIMEOUT(!study->sweepPending() && study->sweepResult() &&
                                   study->sweepResult()->points.size() == count,
                               kWait);
    }();
    return study->sweepResult();
  }
  QString status() const { return get<QLabel>("lblsweep")->text(); }

  // The table shows the core's points: the inputs and every check's usage
  // factor and allowable value, bit for bit, and each point's verdict.
  void compareTable(const SweepResult& core) {
    auto* model = get<QTableView>("studytable")->model();
    QCOMPARE(model->rowCount(), static_cast<int>(core.points.size()));
    const int nr = static_cast<int>(core.ranges.size());
    QCOMPARE(model->columnCount(), nr + 2 * static_cast<int>(core.checks.size()) + 2);
    for (int row = 0; row < model->rowCount(); ++row) {
      const orvane::SweepPoint& p = core.points[static_cast<size_t>(row)];
      for (int k = 0; k < nr; ++k)
        QVERIFY(model->index(row, k).data(Qt::EditRole).toDouble() ==
                p.values[static_cast<size_t>(k)]);
      for (size_t c = 0; c < core.checks.size(); ++c) {
        const orvane::CheckValue& v = p.outcome[core.checks[c]];
        const QVariant uf = model->index(row, nr + 2 * static_cast<int>(c)).data(Qt::EditRole);
        const QVariant allow =
            model->index(row, nr + 2 * static_cast<int>(c) + 1).data(Qt::EditRole);
        QCOMPARE(uf.isValid(), v.shown);
        if (!v.shown) continue;
        QVERIFY2(uf.toDouble() == v.uf,
                 qPrintable(QStringLiteral("row %1 check %2").arg(row).arg(c)));
        QVERIFY(allow.toDouble() == v.allow);
      }
      QCOMPARE(model->index(row, model->columnCount() - 1).data().toString(),
               orvane::ui::study::verdictText(p.outcome));
    }
  }

 private slots:
  void init() {
    h = std::make_unique<Harness>();
    openStudy();
    QVERIFY(study);
  }
  // The panel ring check fails every design of the default project: off.
  void openStudy() {
    auto* ring = h->get<QCheckBox>("ring_ch");
    if (ring->isChecked()) ring->click();
    h->window->findChild<QAction*>(QStringLiteral("mnustudy"))->trigger();
    study = h->window->findChild<StudyWindow*>(QStringLiteral("frmstudy"));
    backToMain();
  }
  // The user goes back to the main window to type.
  void backToMain() {
    QApplication::setActiveWindow(h->window.get());
    if (!QTest::qWaitForWindowActive(h->window.get())) qWarning("main window not active");
  }
  void cleanup() {
    study = nullptr;
    h.reset();
  }

  // Analysis sits between Profiles and Help; the entry shows the one window.
  void menuOpensOneWindow() {
    QStringList menus;
    for (QAction* a : h->window->menuBar()->actions()) menus << a->text();
    const auto at = [&](const char* t) { return menus.indexOf(QString::fromLatin1(t)); };
    QVERIFY(at("&Profiles") < at("&Analysis") && at("&Analysis") < at("&Help"));
    QVERIFY(study->isVisible());
    QCOMPARE(study->windowTitle(), QStringLiteral("Design study"));
    h->window->findChild<QAction*>(QStringLiteral("mnustudy"))->trigger();
    QCOMPARE(h->window->findChildren<StudyWindow*>().size(), 1);
  }

  // One input: the chart has a line per shown check, the allowable line,
  // the crossings and the current value; the table equals the core's sweep.
  void oneInputMatchesTheCore() {
    setRange(1, QStringLiteral("t"), QStringLiteral("10"), QStringLiteral("30"),
             QStringLiteral("0.5"));
    const auto shown = waitSweep(41);
    const SweepResult core = coreSweep(*h->window, {"t=10:30:0.5"});
    compareTable(core);
    QCOMPARE(shown->crossings.size(), core.crossings.size());
    QVERIFY(!core.crossings.empty());

    const chart::Chart& c = get<ChartWidget>("studychart")->chart();
    QVERIFY(!c.map);
    QStringList names;
    for (const chart::Series& s : c.series) names << s.name;
    QCOMPARE(names, (QStringList{QStringLiteral("Shell"), QStringLiteral("Stiffener")}));
    QCOMPARE(c.refLines.size(), size_t(1));
    QCOMPARE(c.refLines[0].y, double(core.points[0].outcome[CheckId::Shell].allow));
    QCOMPARE(*c.yLimit, 4 * c.refLines[0].y);  // the early usage factors leave the plot
    int crossings = 0, current = 0;
    for (const chart::Marker& m : c.markers) {
      if (m.kind == chart::Marker::Vertical) {
        ++current;
        QVERIFY(m.at.x() == double(h->window->state().t));
      } else {
        ++crossings;
        QVERIFY(m.label.startsWith(QStringLiteral("Shell: t \u2265 ")) ||
                m.label.startsWith(QStringLiteral("Stiffener: t \u2265 ")));
      }
    }
    QCOMPARE(crossings, static_cast<int>(core.crossings.size()));
    QCOMPARE(current, 1);
    for (const orvane::Crossing& x : core.crossings)
      QVERIFY(status().contains(orvane::ui::study::crossingText(x, core.ranges[0])));

    // hovering over the plot names the nearest point's values
    auto* widget = get<ChartWidget>("studychart");
    widget->resize(800, 500);
    const chart::Frame f(c, QRectF(widget->rect()), QFontMetricsF(widget->font(), widget), 1.0);
    const QString tip = widget->hoverText(f.toPixel({20.1, 0.5}));
    QVERIFY2(tip.startsWith(QStringLiteral("Shell thickness t [mm] = 20\nShell: ")),
             qPrintable(tip));
    const size_t at20 = 20;  // (20 - 10) / 0.5
    QVERIFY(
        tip.contains(QString::number(core.points[at20].outcome[CheckId::Stiffener].uf, 'f', 4)));
    QVERIFY(widget->hoverText(QPointF(1, 1)).isEmpty());
  }

  // A section force as the varied input: the table shows each check's
  // usage factor, allowable value and governing angle as the core's sweep.
  void sectionForceShowsEachChecksAngle() {
    setRange(1, QStringLiteral("M1"), QStringLiteral("-20000"), QStringLiteral("20000"),
             QStringLiteral("10000"));
    waitSweep(5);
    const SweepResult core = coreSweep(*h->window, {"M1=-20000:20000:10000"});
    QVERIFY(core.forces);
    auto* model = get<QTableView>("studytable")->model();
    QCOMPARE(model->columnCount(), 1 + 3 * static_cast<int>(core.checks.size()) + 2);
    for (int row = 0; row < model->rowCount(); ++row) {
      const orvane::SweepPoint& p = core.points[static_cast<size_t>(row)];
      for (size_t c = 0; c < core.checks.size(); ++c) {
        const int at = 1 + 3 * static_cast<int>(c);
        if (!p.outcome[core.checks[c]].shown) continue;
        QVERIFY(model->index(row, at).data(Qt::EditRole).toDouble() ==
                p.outcome[core.checks[c]].uf);
        QVERIFY(model->index(row, at + 2).data(Qt::EditRole).toDouble() ==
                p.points[static_cast<size_t>(core.checks[c])].theta);
      }
    }
  }

  // Typing in the main window sweeps again; the window is never waited for.
  void followsTheProject() {
    setRange(1, QStringLiteral("t"), QStringLiteral("10"), QStringLiteral("30"),
             QStringLiteral("1"));
    waitSweep(21);
    const auto before = study->sweepResult();
    backToMain();
    h->type("isigx", QStringLiteral("-150"));
    h->leaveTo("isigy");
    QCOMPARE(h->window->state().sigx, -150.0f);
    QTRY_VERIFY_WITH_TIMEOUT(study->sweepResult() != before && !study->sweepPending(), kWait);
    compareTable(coreSweep(*h->window, {"t=10:30:1"}));
    // the current value follows the field
    h->type("it", QStringLiteral("22"));
    h->leaveTo("ie");
    QTRY_VERIFY_WITH_TIMEOUT(!study->sweepPending(), kWait);
    bool found = false;
    for (const chart::Marker& m : get<ChartWidget>("studychart")->chart().markers)
      found = found || (m.kind == chart::Marker::Vertical && m.at.x() == 22.0);
    QVERIFY(found);
  }

  // Of quick edits only the last range is shown; a job overtaken by a newer
  // one is stopped and its result dropped.
  void staleResultsAreDropped() {
    setRange(1, QStringLiteral("t"), QStringLiteral("10"), QStringLiteral("30"),
             QStringLiteral("0.1"));
    setRange(1, QStringLiteral("t"), QStringLiteral("10"), QStringLiteral("20"),
             QStringLiteral("1"));
    QCOMPARE(waitSweep(11)->points.size(), size_t(11));
    QTest::qWait(300);
    QCOMPARE(study->sweepResult()->points.size(), size_t(11));

    QObject receiver;
    std::atomic<bool> firstStopped = false;
    int delivered = 0, value = 0;
    {
      Background jobs(&receiver);
      jobs.start<int>(
          [&](std::stop_token stop, const auto&) {
            while (!stop.stop_requested())
              std::this_thread::sleep_for(std::chrono::milliseconds(1));
            firstStopped = true;
            return 1;
          },
          [&](int& v) {
            ++delivered;
            value = v;
          });
      const uint64_t first = jobs.generation();
      jobs.start<int>([](std::stop_token, const auto&) { return 2; },
                      [&](int& v) {
                        ++delivered;
                        value = v;
                      });
      QCOMPARE(jobs.generation(), first + 1);
      QTRY_VERIFY(!jobs.busy());
      QTRY_VERIFY(firstStopped.load());
      QTest::qWait(50);  // the first job's result, posted late, is not shown
    }
    QCOMPARE(delivered, 1);
    QCOMPARE(value, 2);
  }

  // A range the core refuses shows the core's reason; the last chart stays.
  void badRangesSayWhy() {
    setRange(1, QStringLiteral("t"), QStringLiteral("10"), QStringLiteral("12"),
             QStringLiteral("1"));
    waitSweep(3);
    const struct {
      const char *from, *to, *step, *says;
    } cases[] = {
        {"30", "10", "1", "FROM 30 is greater than TO 10"},
        {"10", "30", "0", "STEP must be greater than 0"},
        {"abc", "30", "1", "From of Shell thickness t [mm] is not a number: 'abc'"},
        {"10", "30", "0.0001", "200001 points: the window shows at most 100000"},
    };
    for (const auto& c : cases) {
      setRange(1, QStringLiteral("t"), QString::fromLatin1(c.from), QString::fromLatin1(c.to),
               QString::fromLatin1(c.step));
      QTRY_VERIFY2_WITH_TIMEOUT(status().contains(QString::fromLatin1(c.says)),
                                qPrintable(status()), kWait);
      QCOMPARE(study->sweepResult()->points.size(), size_t(3));
    }
    // an integer input takes whole steps only
    setRange(1, QStringLiteral("cbostiff"), QStringLiteral("0"), QStringLiteral("3"),
             QStringLiteral("0.5"));
    QTRY_VERIFY2_WITH_TIMEOUT(status().contains(QStringLiteral("whole")), qPrintable(status()),
                              kWait);
  }

  // Two inputs: a map of the governing usage factor, shaded where a point
  // passes, from the core's points.
  void twoInputsDrawAMap() {
    setRange(1, QStringLiteral("t"), QStringLiteral("10"), QStringLiteral("30"),
             QStringLiteral("2"));
    get<QCheckBox>("chksecond")->setChecked(true);
    setRange(2, QStringLiteral("sigx"), QStringLiteral("-200"), QStringLiteral("-50"),
             QStringLiteral("25"));
    waitSweep(11 * 7);
    const SweepResult core = coreSweep(*h->window, {"t=10:30:2", "sigx=-200:-50:25"});
    compareTable(core);
    const chart::Chart& c = get<ChartWidget>("studychart")->chart();
    QVERIFY(c.map);
    const chart::Grid& g = *c.map;
    QCOMPARE(g.xs.size(), size_t(11));
    QCOMPARE(g.ys.size(), size_t(7));
    int passing = 0, failing = 0;
    for (size_t i = 0; i < 11; ++i) {
      for (size_t j = 0; j < 7; ++j) {
        const RowOutcome& o = core.points[i * 7 + j].outcome;
        const bool passes = o.status() == RowOutcome::Status::Passed;
        QCOMPARE(g.passes(i, j), passes);
        (passes ? passing : failing)++;
        double most = 0;
        for (CheckId id : core.checks)
          if (o[id].shown) most = std::max(most, o[id].uf);
        QVERIFY(g.value(i, j) == most);
        QCOMPARE(g.xs[i], core.points[i * 7].values[0]);
        QCOMPARE(g.ys[j], core.points[j].values[1]);
      }
    }
    QVERIFY(passing > 0 && failing > 0);  // the contour has somewhere to go
    QVERIFY(!chart::contour(g, g.level).empty());
  }

  // Exports through the save dialog: a PNG, an SVG, a PDF and the CSV of
  // the points as the core gave them.
  void exportsWriteTheChartAndPoints() {
    setRange(1, QStringLiteral("t"), QStringLiteral("10"), QStringLiteral("30"),
             QStringLiteral("1"));
    const auto shown = waitSweep(21);
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("a.png")),
                  svg = dir.filePath(QStringLiteral("a.svg")),
                  pdf = dir.filePath(QStringLiteral("a")),
                  csv = dir.filePath(QStringLiteral("p.csv"));
    FileDialog::setNextFileNames({png, svg, pdf + QStringLiteral(".pdf"), csv});
    for (int k = 0; k < 3; ++k) get<QPushButton>("cmdexportchart")->click();
    get<QPushButton>("cmdexportcsv")->click();
    QCOMPARE(FileDialog::pendingFileNames(), 0);
    QCOMPARE(QImage(png).size(), QSize(1920, 1200));
    QFile s(svg), p(pdf + QStringLiteral(".pdf")), c(csv);
    QVERIFY(s.open(QIODevice::ReadOnly) && s.readAll().contains("<svg"));
    QVERIFY(p.open(QIODevice::ReadOnly) && p.read(5) == "%PDF-");
    QVERIFY(c.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = c.readAll().split('\n');
    QCOMPARE(lines.size(), 21 + 2);  // the header, the points and the final line end
    QCOMPARE(lines[0], QByteArray("t,shell_uf,shell_allow,shell_verdict,stiffener_uf,stiffener_"
                                  "allow,stiffener_verdict,local_nok,status,fault,shell_uf_alt,"
                                  "stiffener_uf_alt"));
    QCOMPARE(QString::fromStdString(orvane::ui::study::sweepCsv(*shown)).toUtf8(),
             lines.join('\n'));
    const QList<QByteArray> first = lines[1].split(',');
    QCOMPARE(first[0], QByteArray("10"));
    QVERIFY(first[1].toDouble() == shown->points[0].outcome[CheckId::Shell].uf);

    // a name the exports do not know: said, nothing written
    FileDialog::setNextFileNames({dir.filePath(QStringLiteral("a.jpg"))});
    get<QPushButton>("cmdexportchart")->click();
    QVERIFY(status().contains(QStringLiteral("a.jpg: the chart is written as .png, .svg or .pdf")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.jpg"))));
    FileDialog::setNextFileNames({});
  }

  // The lightest design of a grid of t, applied: the main window holds it
  // as if typed, and its panels show it passing.
  void optimiseAndApply() {
    auto* grid = get<QTableWidget>("freegrid");
    QCOMPARE(grid->rowCount(), 1);
    for (const auto& [col, text] : {std::pair{1, "10"}, std::pair{2, "40"}, std::pair{3, "0.5"}})
      qobject_cast<QLineEdit*>(grid->cellWidget(0, col))->setText(QString::fromLatin1(text));
    get<QSpinBox>("spintop")->setValue(3);
    get<QPushButton>("cmdsearch")->click();
    QTRY_VERIFY_WITH_TIMEOUT(study->optimiseResult() && !study->searchPending(), kWait);
    const auto best = study->optimiseResult();
    QCOMPARE(best->designs.size(), size_t(3));
    auto* designs = get<QTableWidget>("designs");
    QCOMPARE(designs->rowCount(), 3);
    // the core's answer for the same project
    orvane::OptimiseSpec search;
    search.grids = {orvane::parseRange("t=10:40:0.5").value()};
    search.top = 3;
    const auto core =
        orvane::optimise({.state = h->window->state(), .fault = h->window->lastFault()}, search, 1);
    QVERIFY(core.ok());
    for (size_t i = 0; i < 3; ++i) {
      QVERIFY(best->designs[i].values == core.value().designs[i].values);
      QCOMPARE(designs->item(static_cast<int>(i), 0)->text(),
               QString::number(core.value().designs[i].mass, 'f', 2));
    }
    const double t = best->designs[1].values[0];
    designs->selectRow(1);
    const int runs = h->window->calculationRuns();
    get<QPushButton>("cmdapply")->click();
    QCOMPARE(h->window->state().t, static_cast<float>(t));
    QVERIFY(h->window->calculationRuns() > runs);
    QVERIFY(h->window->lastRunComplete());
    QCOMPARE(h->messages.texts, QStringList());
    QVERIFY(get<QLabel>("lblsearch")->text().startsWith(QStringLiteral("Design 2 (")));
  }

  // Under a decimal comma: the ranges read with commas, the design stored
  // exactly and the field showing it with a comma.
  void applyUnderADecimalComma() {
    study = nullptr;
    h.reset();  // one harness at a time: each installs the message recorder
    h = std::make_unique<Harness>(QLocale(QLocale::NorwegianBokmal, QLocale::Norway));
    openStudy();
    auto* grid = get<QTableWidget>("freegrid");
    for (const auto& [col, text] :
         {std::pair{1, "20,3"}, std::pair{2, "40,3"}, std::pair{3, "0,5"}})
      qobject_cast<QLineEdit*>(grid->cellWidget(0, col))->setText(QString::fromLatin1(text));
    get<QPushButton>("cmdsearch")->click();
    QTRY_VERIFY_WITH_TIMEOUT(study->optimiseResult() && !study->searchPending(), kWait);
    const auto best = study->optimiseResult();
    QVERIFY(!best->designs.empty());
    const double t = best->designs[0].values[0];
    QVERIFY(t != std::floor(t));  // a fraction, written with a comma
    get<QTableWidget>("designs")->selectRow(0);
    get<QPushButton>("cmdapply")->click();
    QCOMPARE(h->window->state().t, static_cast<float>(t));
    QVERIFY(h->field("it")->text().contains(QLatin1Char(',')));
    QCOMPARE(h->messages.texts, QStringList());
  }
};

QTEST_MAIN(StudyWindowTest)
#include "test_study_window.moc"
