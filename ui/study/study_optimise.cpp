// The study window's Optimise tab: the free inputs, the search for the
// lightest passing designs and Apply, which types the chosen design into
// the main window.
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/format.hpp"
#include "ui/common/read_number.hpp"
#include "ui/main/main_window.hpp"
#include "ui/study/study_view.hpp"
#include "ui/study/study_window.hpp"

namespace orvane::ui {

namespace {

// The choices of a free profile, as `stiffener=TABLE` writes them.
const char* const kProfileChoices[] = {"fixed", "all", "bulb", "l", "t", "flat"};

QComboBox* profileList(const char* name) {
  auto* list = new QComboBox;
  list->setObjectName(QString::fromLatin1(name));
  list->addItems({QStringLiteral("fixed (as in the project)"), QStringLiteral("any table row"),
                  QStringLiteral("bulb flat table"), QStringLiteral("L table"),
                  QStringLiteral("T table"), QStringLiteral("flat bar table")});
  return list;
}

QString problemColour(const QString& text) {
  return QStringLiteral("<span style='color:#800000'>%1</span>").arg(text.toHtmlEscaped());
}

}  // namespace

QWidget* StudyWindow::buildOptimiseTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("taboptimise"));
  free_ = new QTableWidget(0, 4);
  free_->setObjectName(QStringLiteral("freegrid"));
  free_->setHorizontalHeaderLabels({QStringLiteral("Free input"), QStringLiteral("From"),
                                    QStringLiteral("To"), QStringLiteral("Step")});
  free_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  free_->setMaximumHeight(150);
  addFreeRow(QStringLiteral("t"));
  auto* add = new QPushButton(QStringLiteral("&Add input"));
  add->setObjectName(QStringLiteral("cmdaddfree"));
  connect(add, &QPushButton::clicked, this, [this] { addFreeRow(QStringLiteral("t")); });
  auto* remove = new QPushButton(QStringLiteral("&Remove input"));
  remove->setObjectName(QStringLiteral("cmdremovefree"));
  connect(remove, &QPushButton::clicked, this, [this] {
    if (free_->rowCount() > 0)
      free_->removeRow(free_->currentRow() >= 0 ? free_->currentRow() : free_->rowCount() - 1);
  });

  freeStiff_ = profileList("cbofreestiff");
  freeRing_ = profileList("cbofreering");
  top_ = new QSpinBox;
  top_->setObjectName(QStringLiteral("spintop"));
  top_->setRange(1, 1000);
  top_->setValue(10);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Stiffener profile:"), freeStiff_);
  form->addRow(QStringLiteral("Ring-frame profile:"), freeRing_);
  form->addRow(QStringLiteral("Designs to list:"), top_);

  search_ = new QPushButton(QStringLiteral("&Search"));
  search_->setObjectName(QStringLiteral("cmdsearch"));
  connect(search_, &QPushButton::clicked, this, [this] { runSearch(false); });
  progress_ = new QProgressBar;
  progress_->setObjectName(QStringLiteral("searchprogress"));
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  searchStatus_ = new QLabel;
  searchStatus_->setObjectName(QStringLiteral("lblsearch"));
  searchStatus_->setTextFormat(Qt::RichText);

  designs_ = new QTableWidget;
  designs_->setObjectName(QStringLiteral("designs"));
  designs_->setSelectionBehavior(QAbstractItemView::SelectRows);
  designs_->setSelectionMode(QAbstractItemView::SingleSelection);
  designs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  auto* apply = new QPushButton(QStringLiteral("A&pply"));
  apply->setObjectName(QStringLiteral("cmdapply"));
  apply->setToolTip(QStringLiteral("Types the chosen design's values into the main window"));
  connect(apply, &QPushButton::clicked, this, &StudyWindow::applyDesign);
  connect(designs_, &QTableWidget::cellDoubleClicked, this, &StudyWindow::applyDesign);

  auto* rowButtons = new QHBoxLayout;
  rowButtons->addWidget(add);
  rowButtons->addWidget(remove);
  rowButtons->addStretch(1);
  auto* run = new QHBoxLayout;
  run->addWidget(search_);
  run->addWidget(progress_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(searchStatus_, 1);
  bottom->addWidget(apply);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(free_);
  layout->addLayout(rowButtons);
  layout->addLayout(form);
  layout->addLayout(run);
  layout->addWidget(designs_, 1);
  layout->addLayout(bottom);
  return tab;
}

void StudyWindow::addFreeRow(const QString& name) {
  const int row = free_->rowCount();
  free_->insertRow(row);
  RangeRow r;
  r.name = new QComboBox;
  fillInputs(r.name, name, inputNames());
  r.from = new QLineEdit;
  r.to = new QLineEdit;
  r.step = new QLineEdit;
  free_->setCellWidget(row, 0, r.name);
  free_->setCellWidget(row, 1, r.from);
  free_->setCellWidget(row, 2, r.to);
  free_->setCellWidget(row, 3, r.step);
  presetRange(r);
  connect(r.name, &QComboBox::currentIndexChanged, this, [this, r] { presetRange(r); });
}

std::optional<OptimiseSpec> StudyWindow::readSpec(QString& problem) const {
  OptimiseSpec search;
  for (int row = 0; row < free_->rowCount(); ++row) {
    const RangeRow r{qobject_cast<QComboBox*>(free_->cellWidget(row, 0)),
                     qobject_cast<QLineEdit*>(free_->cellWidget(row, 1)),
                     qobject_cast<QLineEdit*>(free_->cellWidget(row, 2)),
                     qobject_cast<QLineEdit*>(free_->cellWidget(row, 3))};
    const auto range = readRange(r, problem);
    if (!range) return std::nullopt;
    search.grids.push_back(*range);
  }
  const std::pair<QComboBox*, const char*> profiles[] = {{freeStiff_, "stiffener="},
                                                         {freeRing_, "ring="}};
  for (const auto& [list, member] : profiles) {
    if (list->currentIndex() <= 0) continue;
    const auto f = parseProfileFreedom(std::string(member) + kProfileChoices[list->currentIndex()]);
    if (!f) {
      problem = QString::fromStdString(f.error().message);
      return std::nullopt;
    }
    search.profiles.push_back(f.value());
  }
  if (search.grids.empty() && search.profiles.empty()) {
    problem = QStringLiteral("Choose at least one free input or profile");
    return std::nullopt;
  }
  if (const auto bad = checkRanges(search.grids)) {
    problem = QString::fromStdString(*bad);
    return std::nullopt;
  }
  search.top = static_cast<size_t>(top_->value());
  return search;
}

void StudyWindow::runSearch(bool again) {
  QString problem;
  const auto search = again && searched_ ? searched_ : readSpec(problem);
  if (!search) {
    searchStatus_->setText(problemColour(problem));
    return;
  }
  searched_ = search;
  auto base = std::make_shared<const OpenedProject>(
      OpenedProject{.state = owner_.state(), .fault = owner_.lastFault()});
  progress_->setValue(0);
  searchStatus_->setText(QStringLiteral("Searching\u2026"));
  searchJobs_.start<Result<OptimiseResult>>(
      [base, search = *search](std::stop_token stop, const auto& progress) {
        return optimise(*base, search, 0, progress, stop);
      },
      [this, search = *search](Result<OptimiseResult>& r) { searchDone(r, search); },
      [this](uint64_t done, uint64_t total) {
        if (total > 0) progress_->setValue(static_cast<int>(1000.0 * double(done) / double(total)));
      });
}

void StudyWindow::searchDone(Result<OptimiseResult>& r, const OptimiseSpec& search) {
  progress_->setValue(progress_->maximum());
  if (!r) {
    searchStatus_->setText(problemColour(QString::fromStdString(r.error().message)));
    return;
  }
  optimum_ = std::make_shared<const OptimiseResult>(std::move(r.value()));
  searched_ = search;
  const OptimiseResult& o = *optimum_;
  QStringList heads{QStringLiteral("Mass [kg/m]"), QStringLiteral("Governing"),
                    QStringLiteral("uf"), QStringLiteral("allow")};
  for (const std::string& c : o.columns) heads << QString::fromStdString(c);
  heads << QStringLiteral("Stiffener") << QStringLiteral("Ring frame");
  designs_->clear();
  designs_->setColumnCount(static_cast<int>(heads.size()));
  designs_->setHorizontalHeaderLabels(heads);
  designs_->setRowCount(static_cast<int>(o.designs.size()));
  for (size_t i = 0; i < o.designs.size(); ++i) {
    const Design& d = o.designs[i];
    QStringList cells{QString::number(d.mass, 'f', 2), study::checkTitle(d.governing),
                      QString::number(d.uf, 'f', 3), QString::number(d.allow, 'f', 2)};
    for (double v : d.values) cells << QString::fromStdString(fileNumber(v));
    cells << QString::fromStdString(d.stiffener) << QString::fromStdString(d.ring);
    for (int c = 0; c < static_cast<int>(cells.size()); ++c)
      designs_->setItem(static_cast<int>(i), c, new QTableWidgetItem(cells[c]));
  }
  designs_->resizeColumnsToContents();
  if (!o.designs.empty()) designs_->selectRow(0);
  searchStatus_->setText(
      o.designs.empty()
          ? problemColour(QStringLiteral("No design of the %1 candidates passes").arg(o.candidates))
          : QStringLiteral("%1 passing of %2 candidates (%3 run)")
                .arg(o.designs.size())
                .arg(o.candidates)
                .arg(o.evaluated));
}

void StudyWindow::applyDesign() {
  if (!optimum_ || !searched_) return;
  const int row = designs_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= optimum_->designs.size()) return;
  const Design d = optimum_->designs[static_cast<size_t>(row)];
  const QStringList refused = owner_.typeInputs(designSettings(*searched_, *optimum_, d));
  searchStatus_->setText(
      refused.isEmpty()
          ? QStringLiteral("Design %1 (%2 kg/m) applied").arg(row + 1).arg(d.mass, 0, 'f', 2)
          : problemColour(QStringLiteral("Not taken: ") + refused.join(QStringLiteral("; "))));
}

}  // namespace orvane::ui
