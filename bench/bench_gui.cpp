// The desktop program's speed and memory, offscreen.
//
// Targets:
//   leaving a field to the result panels repainted   median <= 2 ms
//   main window constructed, shown and painted       <= 400 ms
//   resident memory with the first window painted    <= 80 MB (rss_MB)
//
// The window is built as ui/main.cpp builds it for a new project: default
// options, so data/ beside the executable (<build>/bin/data) and the user's
// recent-file settings. Warnings go to a recorder instead of modal boxes; a
// warning in any run ends that benchmark with an error. Painting is the
// program's own: the panels' update requests are served by the event loop,
// and the clock stops once every shown result panel got its paint event.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QSet>
#include <QTest>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "ui/cases/case_model.hpp"
#include "ui/common/message_box.hpp"
#include "ui/main/main_window.hpp"
#include "ui/main/result_panel.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using orvane::ui::MainWindow;
using orvane::ui::ResultPanel;

orvane::ui::RecordingMessages gMessages;
// Construction of the QApplication in main(), in milliseconds.
double gAppStartMs = 0;

// The offscreen platform prints this for every window shown; it says
// nothing about the program, so it is kept out of the results.
QtMessageHandler gQtHandler = nullptr;
void withoutPlatformNotice(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text == QLatin1String("This plugin does not support propagateSizeHints()")) return;
  if (gQtHandler) gQtHandler(type, context, text);
}

double secondsSince(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// VmRSS of this process in MiB (VmHWM: its peak so far), or -1 when /proc
// does not tell.
double residentMB(const std::string& field = "VmRSS:") {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(field.size())) / 1024.0;
  }
  return -1;
}

// Counts the paint events of the result panels of one window.
class PaintWatch final : public QObject {
 public:
  explicit PaintWatch(MainWindow& w) : panels_(w.findChildren<ResultPanel*>()) {
    for (ResultPanel* p : panels_) p->installEventFilter(this);
  }
  void reset() { painted_.clear(); }
  // Whether every panel now shown has been painted since the last reset.
  bool done() const {
    if (panels_.isEmpty()) return false;
    for (ResultPanel* p : panels_)
      if (p->isVisible() && !painted_.contains(p)) return false;
    return true;
  }
  // Serves events until done(); false when that took longer than `limit`.
  bool wait(double limit = 10.0) const {
    const Clock::time_point t0 = Clock::now();
    while (!done()) {
      QCoreApplication::processEvents();
      if (secondsSince(t0) > limit) return false;
    }
    return true;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_.insert(watched);
    return false;
  }

 private:
  QList<ResultPanel*> panels_;
  QSet<QObject*> painted_;
};

// A new project's window as ui/main.cpp makes it, shown and painted once.
struct Started {
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<PaintWatch> watch;
  bool painted = false;
};

Started startWindow(const orvane::ui::WindowOptions& options = {}) {
  Started s;
  s.window = std::make_unique<MainWindow>(options);
  s.watch = std::make_unique<PaintWatch>(*s.window);
  s.window->show();
  s.painted = s.watch->wait();
  return s;
}

// Destroys the window and lets Qt finish what the destruction posted.
void closeWindow(Started& s) {
  s.watch.reset();
  s.window.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

bool failed(benchmark::State& state, const Started& s) {
  if (!s.painted) {
    state.SkipWithError("the result panels were not painted");
    return true;
  }
  if (!gMessages.texts.isEmpty()) {
    state.SkipWithError(("warning: " + gMessages.texts.first().toStdString()).c_str());
    return true;
  }
  return false;
}

// The process's first window, as the program's only one: its time includes
// filling Qt's font and style caches, and the resident memory is read while
// it is shown. Runs once, before the other benchmarks. The figure holds the
// QApplication and the (small) benchmark library too; the offscreen platform
// has no display connection, so on a desktop it is somewhat higher.
void BM_FirstWindowResidentMemory(benchmark::State& state) {
  gMessages.texts.clear();
  double rss = -1;
  for (auto _ : state) {
    const Clock::time_point t0 = Clock::now();
    Started s = startWindow();
    state.SetIterationTime(secondsSince(t0));
    rss = residentMB();
    const bool bad = failed(state, s);
    closeWindow(s);
    if (bad) return;
  }
  state.counters["rss_MB"] = rss;
}
BENCHMARK(BM_FirstWindowResidentMemory)
    ->Iterations(1)
    ->Repetitions(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Constructor (defaults, data files, first calculation), show and the first
// paint of the window, within the one QApplication of the process, after the
// first window filled Qt's caches. The QApplication's own start is not in
// the time; main() measures it once and it is shown as qapp_ms. Neither
// includes loading the process and its libraries.
void BM_StartUpToFirstPaint(benchmark::State& state) {
  gMessages.texts.clear();
  for (auto _ : state) {
    const Clock::time_point t0 = Clock::now();
    Started s = startWindow();
    state.SetIterationTime(secondsSince(t0));
    const bool bad = failed(state, s);
    closeWindow(s);
    if (bad) return;
  }
  state.counters["qapp_ms"] = gAppStartMs;
}
BENCHMARK(BM_StartUpToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Leaving the shell thickness field for the next one (Young's modulus, shown
// for every cylinder type) after typing a new value: the edit cycle stores
// it, reruns the calculation and redraws the panels; the clock stops when
// the shown panels are painted. The value alternates between two thicknesses
// that every type calculates with (on the column's defaults a much thinner
// shell stops the calculation, and the panels stay as they were), so every
// edit changes the results. Typing is not timed.
void BM_FieldEditToRepaint(benchmark::State& state) {
  gMessages.texts.clear();
  orvane::ui::WindowOptions options;
  options.locale = QLocale::c();  // the typed numbers read the same on any machine
  Started s = startWindow(options);
  if (failed(state, s)) {
    closeWindow(s);
    return;
  }
  MainWindow& w = *s.window;
  QApplication::setActiveWindow(&w);
  if (!QTest::qWaitForWindowActive(&w)) {
    state.SkipWithError("the window did not become active");
    closeWindow(s);
    return;
  }
  auto* field = w.findChild<QLineEdit*>(QStringLiteral("it"));
  auto* next = w.findChild<QLineEdit*>(QStringLiteral("ie"));
  next->setFocus(Qt::TabFocusReason);
  w.state().cyltype = static_cast<int16_t>(state.range(0));
  w.refreshWindow();
  s.watch->reset();
  w.calculate();
  s.painted = s.watch->wait();
  if (failed(state, s)) {
    closeWindow(s);
    return;
  }
  const QString values[2] = {QStringLiteral("22.5"), QStringLiteral("20.0")};
  const double expected[2] = {22.5, 20.0};
  int k = 0;
  for (auto _ : state) {
    // Into the field (which runs the cycle of the one left), type the value.
    s.watch->reset();
    field->setFocus(Qt::TabFocusReason);
    s.painted = s.watch->wait();
    if (failed(state, s)) break;
    QTest::keyClicks(field, values[k]);
    QCoreApplication::processEvents();
    const int runs = w.calculationRuns();
    s.watch->reset();

    const Clock::time_point t0 = Clock::now();
    next->setFocus(Qt::TabFocusReason);
    s.painted = s.watch->wait();
    state.SetIterationTime(secondsSince(t0));

    if (failed(state, s)) break;
    if (w.calculationRuns() != runs + 1 || w.state().t != expected[k]) {
      state.SkipWithError("leaving the field did not store the value and calculate");
      break;
    }
    k = 1 - k;
  }
  closeWindow(s);
}
BENCHMARK(BM_FieldEditToRepaint)
    ->DenseRange(0, 3)
    ->ArgName("cyltype")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The Load cases window showing a long load table (ORVANE_BENCH_LOADS, as
// bench/make_loads.sh writes it; left out without it): the file opened, its
// first rows shown, every row checked as a stream on the worker. The time is
// from opening to the summary over every row; peak_MB is the process's peak
// resident memory, which must not grow with the file (bench/memory_bound.sh).
void BM_LoadCasesViewOfLongFile(benchmark::State& state) {
  const QByteArray file = qgetenv("ORVANE_BENCH_LOADS");
  if (file.isEmpty()) {
    state.SkipWithError("ORVANE_BENCH_LOADS names no load table");
    return;
  }
  gMessages.texts.clear();
  Started s = startWindow();
  if (failed(state, s)) {
    closeWindow(s);
    return;
  }
  orvane::cases::CaseModel& model = s.window->loadCases();
  s.window->openLoadCases();
  int64_t rows = 0;
  for (auto _ : state) {
    const Clock::time_point t0 = Clock::now();
    const orvane::Status opened = model.openFile(file.toStdString());
    if (!opened) {
      state.SkipWithError(opened.error().text().c_str());
      break;
    }
    while (model.readOnly() && !model.fileReport() && secondsSince(t0) < 600)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    state.SetIterationTime(secondsSince(t0));
    if (!model.readOnly() || !model.fileReport()) {
      state.SkipWithError("the file did not open as a view, or its run did not end");
      break;
    }
    rows = model.fileRows();
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["rss_MB"] = residentMB();
  state.counters["peak_MB"] = residentMB("VmHWM:");
  closeWindow(s);
}
BENCHMARK(BM_LoadCasesViewOfLongFile)
    ->Iterations(1)
    ->Repetitions(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  gQtHandler = qInstallMessageHandler(withoutPlatformNotice);
  const Clock::time_point t0 = Clock::now();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane DNV"));
  gAppStartMs = secondsSince(t0) * 1000.0;
  orvane::ui::MessageBox::setSink(&gMessages);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  orvane::ui::MessageBox::setSink(nullptr);
  return 0;
}
