// The study window and its sweep tab: the ranges, the chart or map, the
// table of points and the exports.
#include "ui/study/study_window.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "model/format.hpp"
#include "project/input_names.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/common/output_device.hpp"
#include "ui/common/placement.hpp"
#include "ui/common/read_number.hpp"
#include "ui/main/main_window.hpp"
#include "ui/study/chart_export.hpp"
#include "ui/study/chart_widget.hpp"
#include "ui/study/study_view.hpp"

namespace orvane::ui {

namespace {

QString problemColour(const QString& text) {
  return QStringLiteral("<span style='color:#800000'>%1</span>").arg(text.toHtmlEscaped());
}

}  // namespace

StudyWindow* StudyWindow::open(MainWindow& owner) {
  // the one study window of the main window, known by its class
  auto* w = owner.findChild<StudyWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!w) {
    w = new StudyWindow(owner);
    placeBeside(w, &owner, owner.resultArea());
  }
  w->show();
  w->raise();
  w->activateWindow();
  return w;
}

StudyWindow::StudyWindow(MainWindow& owner) : QWidget(&owner, Qt::Window), owner_(owner) {
  setObjectName(QStringLiteral("frmstudy"));
  setWindowTitle(QStringLiteral("Design study"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("studytabs"));
  tabs_->addTab(buildSweepTab(), QStringLiteral("&Sweep"));
  tabs_->addTab(buildOptimiseTab(), QStringLiteral("&Optimise"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  resize(980, 700);

  // a burst of edits makes one run, shortly after the last
  timer_.setSingleShot(true);
  timer_.setInterval(120);
  connect(&timer_, &QTimer::timeout, this, &StudyWindow::runSweep);
  connect(&owner_, &MainWindow::projectCalculated, this, [this] {
    scheduleSweep();
    if (searched_) runSearch(true);
  });
  scheduleSweep();
}

StudyWindow::~StudyWindow() = default;

QString StudyWindow::text(double value) const {
  QString t = QString::number(value, 'g', 12);
  if (owner_.decimalFlag() != 0) t.replace(QLatin1Char('.'), QLatin1Char(','));
  return t;
}

QWidget* StudyWindow::buildSweepTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("tabsweep"));
  auto* grid = new QGridLayout;
  const QString heads[] = {QStringLiteral("Input"), QStringLiteral("From"), QStringLiteral("To"),
                           QStringLiteral("Step")};
  for (int c = 0; c < 4; ++c) grid->addWidget(new QLabel(heads[c]), 0, c + 1);
  grid->addWidget(new QLabel(QStringLiteral("Vary")), 1, 0);
  second_ = new QCheckBox(QStringLiteral("and"));
  second_->setObjectName(QStringLiteral("chksecond"));
  grid->addWidget(second_, 2, 0);
  for (int k = 0; k < 2; ++k) {
    ranges_[k] = addRangeRow(tab, k);
    grid->addWidget(ranges_[k].name, k + 1, 1);
    grid->addWidget(ranges_[k].from, k + 1, 2);
    grid->addWidget(ranges_[k].to, k + 1, 3);
    grid->addWidget(ranges_[k].step, k + 1, 4);
  }
  ranges_[1].name->setCurrentIndex(ranges_[1].name->findData(QStringLiteral("s")));
  presetRange(ranges_[0]);
  presetRange(ranges_[1]);
  connect(second_, &QCheckBox::toggled, this, [this](bool on) {
    for (QWidget* w :
         {static_cast<QWidget*>(ranges_[1].name), static_cast<QWidget*>(ranges_[1].from),
          static_cast<QWidget*>(ranges_[1].to), static_cast<QWidget*>(ranges_[1].step)})
      w->setEnabled(on);
    scheduleSweep();
  });
  second_->toggled(false);
  grid->setColumnStretch(5, 1);

  sweepStatus_ = new QLabel;
  sweepStatus_->setObjectName(QStringLiteral("lblsweep"));
  sweepStatus_->setTextFormat(Qt::RichText);

  auto* views = new QTabWidget;
  views->setObjectName(QStringLiteral("sweepviews"));
  chart_ = new ChartWidget;
  chart_->setObjectName(QStringLiteral("studychart"));
  views->addTab(chart_, QStringLiteral("Chart"));
  points_ = new study::PointsModel(this);
  table_ = new QTableView;
  table_->setObjectName(QStringLiteral("studytable"));
  table_->setModel(points_);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  views->addTab(table_, QStringLiteral("Points"));

  auto* exportChartButton = new QPushButton(QStringLiteral("Export &chart..."));
  exportChartButton->setObjectName(QStringLiteral("cmdexportchart"));
  connect(exportChartButton, &QPushButton::clicked, this, &StudyWindow::exportChart);
  auto* exportPointsButton = new QPushButton(QStringLiteral("Export &points..."));
  exportPointsButton->setObjectName(QStringLiteral("cmdexportcsv"));
  connect(exportPointsButton, &QPushButton::clicked, this, &StudyWindow::exportPoints);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(sweepStatus_, 1);
  buttons->addWidget(exportChartButton);
  buttons->addWidget(exportPointsButton);

  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(grid);
  layout->addWidget(views, 1);
  layout->addLayout(buttons);
  return tab;
}

void StudyWindow::fillInputs(QComboBox* list, const QString& current,
                             const std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> items;
  for (const std::string& name : names) items.emplace_back(displayName(name), name);
  std::sort(items.begin(), items.end());
  for (const auto& [shown, name] : items)
    list->addItem(QString::fromStdString(shown), QString::fromStdString(name));
  list->setCurrentIndex(list->findData(current));
}

QString StudyWindow::inputOf(const QComboBox* list) { return list->currentData().toString(); }

StudyWindow::RangeRow StudyWindow::addRangeRow(QWidget* parent, int index) {
  RangeRow row;
  const QString n = QString::number(index + 1);
  row.name = new QComboBox(parent);
  row.name->setObjectName(QStringLiteral("cboinput") + n);
  fillInputs(row.name, QStringLiteral("t"), sweepNames());
  row.from = new QLineEdit(parent);
  row.from->setObjectName(QStringLiteral("ifrom") + n);
  row.to = new QLineEdit(parent);
  row.to->setObjectName(QStringLiteral("ito") + n);
  row.step = new QLineEdit(parent);
  row.step->setObjectName(QStringLiteral("istep") + n);
  connect(row.name, &QComboBox::currentIndexChanged, this, [this, row] {
    presetRange(row);
    scheduleSweep();
  });
  for (QLineEdit* e : {row.from, row.to, row.step})
    connect(e, &QLineEdit::textEdited, this, &StudyWindow::scheduleSweep);
  return row;
}

// A range around the input's current value: half to one and a half times
// it in about 40 steps of a round size; whole numbers for an integer input.
void StudyWindow::presetRange(const RangeRow& row) {
  const std::string name = inputOf(row.name).toStdString();
  const double v = inputValue(owner_.state(), name).value_or(0);
  const auto setter = InputSetter::find(name);
  double lo = 0, hi = 0, step = 1;
  if (isForceName(name) && v == 0) {
    // a section force (kN, kNm) the project does not hold
    lo = -20000;
    hi = 20000;
    step = 1000;
  } else if (setter && setter->integer()) {
    lo = std::max(0.0, v - 5);
    hi = v + 5;
  } else {
    lo = v == 0 ? -1 : std::min(v * 0.5, v * 1.5);
    hi = v == 0 ? 1 : std::max(v * 0.5, v * 1.5);
    step = chart::niceTicks(lo, hi, 40, false).step;
    lo = std::floor(lo / step) * step;
    hi = std::ceil(hi / step) * step;
  }
  row.from->setText(text(lo));
  row.to->setText(text(hi));
  row.step->setText(text(step));
}

std::optional<StudyRange> StudyWindow::readRange(const RangeRow& row, QString& problem) const {
  const QString name = row.name->currentText();
  std::string rangeText = inputOf(row.name).toStdString() + "=";
  const std::pair<QLineEdit*, const char*> parts[] = {
      {row.from, "From"}, {row.to, "To"}, {row.step, "Step"}};
  for (const auto& [edit, what] : parts) {
    const NumberReading n = readStrict(edit->text());
    if (!n.ok()) {
      problem = QStringLiteral("%1 of %2 is not a number: '%3'")
                    .arg(QString::fromLatin1(what), name, edit->text());
      return std::nullopt;
    }
    rangeText += fileNumber(n.value) + (edit == row.step ? "" : ":");
  }
  auto range = parseRange(rangeText);
  if (!range) {
    problem = QString::fromStdString(range.error().message);
    return std::nullopt;
  }
  return range.value();
}

void StudyWindow::scheduleSweep() { timer_.start(); }

void StudyWindow::showSweepProblem(const QString& problem) {
  sweepStatus_->setText(problemColour(problem));
}

void StudyWindow::runSweep() {
  std::vector<StudyRange> ranges;
  QString problem;
  for (int k = 0; k < (second_->isChecked() ? 2 : 1); ++k) {
    const auto r = readRange(ranges_[k], problem);
    if (!r) return showSweepProblem(problem);
    ranges.push_back(*r);
  }
  if (const auto bad = checkRanges(ranges)) return showSweepProblem(QString::fromStdString(*bad));
  uint64_t count = 1;
  for (const StudyRange& r : ranges) count *= r.count();
  if (count > kMaxPoints)
    return showSweepProblem(
        QStringLiteral("%1 points: the window shows at most %2 (orvane-cli sweep takes more)")
            .arg(count)
            .arg(kMaxPoints));
  // the project as the last run left it, copied now: the job never reads
  // the window's state
  auto base = std::make_shared<const OpenedProject>(
      OpenedProject{.state = owner_.state(), .fault = owner_.lastFault()});
  const std::optional<double> current =
      ranges.size() == 1 ? inputValue(base->state, ranges[0].name) : std::nullopt;
  sweepStatus_->setText(QStringLiteral("Computing %1 points\u2026").arg(count));
  sweepJobs_.start<Result<SweepResult>>(
      [base, ranges](std::stop_token stop, const auto&) {
        return sweep(*base, ranges, {}, 1, {}, stop);
      },
      [this, current](Result<SweepResult>& r) { sweepDone(r, current); });
}

void StudyWindow::sweepDone(Result<SweepResult>& r, std::optional<double> current) {
  if (!r) return showSweepProblem(QString::fromStdString(r.error().message));
  sweep_ = std::make_shared<const SweepResult>(std::move(r.value()));
  points_->setResult(sweep_);
  chart::Chart chart =
      sweep_->ranges.size() == 1 ? study::sweepChart(*sweep_, current) : study::mapChart(*sweep_);
  study::nameTableRows(chart, *sweep_, owner_.state().prof);
  chart_->setChart(chart);
  size_t passing = 0;
  for (const SweepPoint& p : sweep_->points)
    if (p.outcome.status() == RowOutcome::Status::Passed) ++passing;
  QString status = QStringLiteral("%1 points, %2 passing").arg(sweep_->points.size()).arg(passing);
  for (const Crossing& c : sweep_->crossings)
    status += QStringLiteral("; ") + study::crossingText(c, sweep_->ranges[0]).toHtmlEscaped();
  sweepStatus_->setText(status);
}

void StudyWindow::exportChart() {
  if (!sweep_) return;
  const QString path = FileDialog::saveOther(
      this, owner_.dialogFolder(), QStringLiteral("study.png"),
      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"),
      QStringLiteral("png"));
  if (path.isEmpty()) return;
  const auto kind = chart::kindOf(path);
  if (!kind)
    return showSweepProblem(QStringLiteral("%1: the chart is written as .png, .svg or .pdf")
                                .arg(QFileInfo(path).fileName()));
  if (const auto error = chart::exportChart(chart_->chart(), path, *kind, chart_->font()))
    return showSweepProblem(*error);
  sweepStatus_->setText(QStringLiteral("Chart written to %1").arg(QFileInfo(path).fileName()));
}

void StudyWindow::exportPoints() {
  if (!sweep_) return;
  const QString path =
      FileDialog::saveOther(this, owner_.dialogFolder(), QStringLiteral("study.csv"),
                            QStringLiteral("CSV file (*.csv)"), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  const std::string csv = study::sweepCsv(*sweep_);
  const QString problem = writeOutput(path, [&](QIODevice& f) {
    return f.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
  });
  if (!problem.isEmpty()) return showSweepProblem(problem);
  sweepStatus_->setText(QStringLiteral("Points written to %1").arg(QFileInfo(path).fileName()));
}

}  // namespace orvane::ui
