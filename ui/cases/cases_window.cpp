#include "ui/cases/cases_window.hpp"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "project/member_forces.hpp"
#include "project/set_values.hpp"
#include "ui/cases/case_history.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/common/message_box.hpp"

namespace orvane::cases {

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

CasesWindow::CasesWindow(CaseModel& model, Host host, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), host_(std::move(host)) {
  setObjectName(QStringLiteral("loadcases"));
  setWindowTitle(QStringLiteral("Load cases"));

  // Ctrl+Z and Ctrl+Y (Ctrl+Shift+Z): the table's own steps; a cell being
  // edited undoes its text first
  CaseHistory& history = model_.history();
  QAction* undo = history.stack()->createUndoAction(this, QStringLiteral("&Undo"));
  QAction* redo = history.stack()->createRedoAction(this, QStringLiteral("&Redo"));
  undo->setObjectName(QStringLiteral("casesundo"));
  redo->setObjectName(QStringLiteral("casesredo"));
  undo->setShortcut(QKeySequence::Undo);
  redo->setShortcuts(QKeySequence::Redo);
  for (QAction* a : {undo, redo}) {
    a->disconnect(history.stack());  // the change under way is recorded first
    addAction(a);
  }
  connect(undo, &QAction::triggered, &history, &CaseHistory::undo);
  connect(redo, &QAction::triggered, &history, &CaseHistory::redo);

  auto* add = button(QStringLiteral("&Add row"), "cmdaddrow", this);
  auto* remove = button(QStringLiteral("&Delete rows"), "cmddelrows", this);
  columns_ = new QComboBox(this);
  columns_->setObjectName(QStringLiteral("cboaddcol"));
  for (const std::string& name : inputNames()) columns_->addItem(QString::fromStdString(name));
  for (const std::string_view name : kForceNames)
    if (columns_->findText(QString::fromLatin1(name.data(), static_cast<int>(name.size()))) < 0)
      columns_->addItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
  loads_ = new QComboBox(this);
  loads_->setObjectName(QStringLiteral("cboloads"));
  loads_->addItems({QStringLiteral("Stresses"), QStringLiteral("Forces")});
  loads_->setToolTip(
      QStringLiteral(" The load columns: the stresses sigx, sigy, tau, pd, or the section forces "
                     "N, M1, M2, T, Q1, Q2 with sigy and pd "));
  connect(loads_, &QComboBox::activated, this, [this](int index) { choosePreset(index == 1); });
  auto* addColumn = button(QStringLiteral("Add &column"), "cmdaddcol", this);
  auto* import = button(QStringLiteral("&Import CSV..."), "cmdimport", this);
  auto* exportCsv = button(QStringLiteral("&Export..."), "cmdexport", this);
  connect(add, &QPushButton::clicked, this, &CasesWindow::addRow);
  connect(remove, &QPushButton::clicked, this, &CasesWindow::deleteSelectedRows);
  connect(addColumn, &QPushButton::clicked, this, &CasesWindow::addChosenColumn);
  connect(import, &QPushButton::clicked, this, &CasesWindow::importTable);
  connect(exportCsv, &QPushButton::clicked, this, &CasesWindow::exportTable);

  editing_ = {add, remove, columns_, addColumn};

  auto* tools = new QHBoxLayout;
  tools->addWidget(loads_);
  for (QWidget* w : std::initializer_list<QWidget*>{add, remove, columns_, addColumn})
    tools->addWidget(w);
  tools->addStretch();
  tools->addWidget(import);
  tools->addWidget(exportCsv);

  view_ = new QTableView(this);
  view_->setObjectName(QStringLiteral("casetable"));
  view_->setModel(&model_);
  // a double click enters the row into the main window; a cell is edited by
  // typing, F2 or a click on the current cell
  view_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                         QAbstractItemView::SelectedClicked);
  view_->setSelectionBehavior(QAbstractItemView::SelectItems);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view_->horizontalHeader()->setMinimumSectionSize(
      view_->fontMetrics().horizontalAdvance(QStringLiteral("-0000.00")) + 8);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->installEventFilter(this);
  connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && host_.enterRow) host_.enterRow(index.row());
  });

  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("casesview"));
  note_->setWordWrap(true);
  note_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("casesummary"));
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  connect(&model_, &CaseModel::outcomesChanged, this, &CasesWindow::showSummary);
  connect(&model_, &QAbstractItemModel::modelReset, this, [this] {
    view_->resizeColumnsToContents();
    showSummary();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(note_);
  layout->addWidget(view_, 1);
  layout->addWidget(summary_);
  resize(760, 420);
  view_->resizeColumnsToContents();
  showSummary();
}

void CasesWindow::showSummary() {
  summary_->setText(model_.summaryText());
  note_->setText(model_.viewText());
  note_->setVisible(model_.readOnly());
  for (QWidget* w : editing_) w->setEnabled(!model_.readOnly());
  loads_->setEnabled(!model_.readOnly() && model_.takesForces());
  const bool stresses = std::none_of(model_.table().columns.begin(), model_.table().columns.end(),
                                     [](const std::string& c) { return isForceName(c); });
  if (model_.forces() || stresses) loads_->setCurrentIndex(model_.forces() ? 1 : 0);
}

void CasesWindow::choosePreset(bool forces) {
  const std::vector<std::string> held = model_.setPreset(forces);
  if (held.empty()) {
    showSummary();
    return;
  }
  QStringList names;
  for (const std::string& c : held) names << QString::fromStdString(c);
  ui::MessageBox::warn(
      this, QStringLiteral("The columns %1 hold values of the cases: a table holds either stresses "
                           "or section forces. Delete the rows, or import a table, to change.")
                .arg(names.join(QStringLiteral(", "))));
  showSummary();
}

bool CasesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste)) {
      pasteClipboard();
      return true;
    }
    if (key->key() == Qt::Key_Delete) {  // an open editor takes its own keys
      for (const QModelIndex& i : view_->selectionModel()->selectedIndexes())
        if (i.flags() & Qt::ItemIsEditable) model_.setData(i, QString());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CasesWindow::pasteClipboard() {
  const QString text = QApplication::clipboard()->text();
  if (text.trimmed().isEmpty()) return;
  const QModelIndex at = view_->currentIndex();
  const int row = at.isValid() ? at.row() : model_.rowCount();
  const int column = at.isValid() ? at.column() : 0;
  model_.paste(text, row, column);
  view_->setCurrentIndex(model_.index(row, column));
}

void CasesWindow::addRow() {
  const int row = model_.rowCount();
  model_.insertRows(row, 1);
  view_->setCurrentIndex(model_.index(row, 0));
  view_->scrollTo(view_->currentIndex());
}

void CasesWindow::deleteSelectedRows() {
  std::set<int> rows;
  for (const QModelIndex& i : view_->selectionModel()->selectedIndexes()) rows.insert(i.row());
  if (rows.empty() && view_->currentIndex().isValid()) rows.insert(view_->currentIndex().row());
  // from the bottom up, so that the numbers of the rows still to go hold
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) model_.removeRows(*it, 1);
}

void CasesWindow::addChosenColumn() { model_.addColumn(columns_->currentText().toStdString()); }

void CasesWindow::importTable() {
  const QString path = ui::FileDialog::openTable(this, host_.folder ? host_.folder() : QString());
  if (path.isEmpty()) return;
  const Status opened = model_.openFile(QFile::encodeName(path).toStdString());
  if (!opened) ui::MessageBox::warn(this, QString::fromStdString(opened.error().text()));
}

void CasesWindow::exportTable() {
  // a name without an extension takes the chosen type's
  const QString path = ui::FileDialog::saveOther(
      this, host_.folder ? host_.folder() : QString(), QString(),
      QStringLiteral("CSV files (*.csv);;Excel workbooks with the results (*.xlsx)"),
      QStringLiteral("csv"));
  if (path.isEmpty()) return;
  // a CSV file is the table itself, to be read again; a workbook also holds
  // the outcome of every case
  const std::string file = QFile::encodeName(path).toStdString();
  const bool workbook = path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
  if (model_.readOnly()) {
    // the file itself, not the rows shown
    if (workbook) {
      ui::MessageBox::warn(
          this, QStringLiteral("This table is too large for a workbook from this window. Export "
                               "it as CSV, or write the results of every row with "
                               "orvane-cli batch (a workbook holds up to 1,048,575 rows)."));
      return;
    }
    const Status copied = copyCases(model_.viewedFile(), file);
    if (!copied) ui::MessageBox::warn(this, QString::fromStdString(copied.error().text()));
    return;
  }
  if (workbook && model_.computing()) {
    ui::MessageBox::warn(this, QStringLiteral("The cases are still being checked; export again "
                                              "when the table shows every outcome."));
    return;
  }
  const Status written =
      workbook ? writeCasesWorkbook(file, model_.table(), model_.checks(), model_.outcomes())
               : writeCases(file, model_.table());
  if (!written) ui::MessageBox::warn(this, QString::fromStdString(written.error().text()));
}

}  // namespace orvane::cases
