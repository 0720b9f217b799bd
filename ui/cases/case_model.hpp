// The table model of the "Load cases" window: a case name and the input
// columns as texts, then the usage factor of every check the project shows
// and the row's verdict, as the row engine gives them for the project the
// main window holds. A table of section forces (N M1 M2 T Q1 Q2 in a shell
// mode) runs through the force engine instead: each check's usage factor is
// that of its governing point, shown with the point's angle.
//
// The model runs the rows again whenever the project or a row changes: a
// short table at once, a long one on a worker thread, so that editing never
// waits for it; until the worker reports, the outcome cells show their last
// values in grey.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "project/force_cases.hpp"
#include "project/load_cases.hpp"
#include "project/row_engine.hpp"
#include "ui/study/background.hpp"

namespace orvane::cases {

class CaseHistory;

class CaseModel final : public QAbstractTableModel {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(CaseModel)

 public:
  // Outcome cells: the usage factor (double) and whether the row governs
  // the check (bool).
  static constexpr int UsageFactorRole = Qt::UserRole + 1;
  static constexpr int GoverningRole = Qt::UserRole + 2;
  // ... and in a table of section forces the angle of its point (degrees).
  static constexpr int ThetaRole = Qt::UserRole + 3;
  // Tables of more rows than this run on the worker thread: a thousand
  // rows of the longest mode (stringers and ring frames) take about 4 ms,
  // the main window's own run included.
  static constexpr int kRowsAtOnce = 4000;
  // A row of section forces scans the circumference (about 130 runs).
  static constexpr int kForceRowsAtOnce = 30;
  // A file of more rows than this opens as a read-only view: the first rows
  // with their outcomes, and a summary over every row read as a stream on
  // the worker, so that memory stays flat. An edited table holds every row
  // (texts and outcome, about 1 kB a row: 100 MB at the limit) and runs
  // again whole after each change of the project (about a second at the
  // limit, in the background), which is as far as editing here stays
  // sensible; larger tables belong to `orvane-cli batch`.
  static constexpr int64_t kMostEditedRows = 100000;

  explicit CaseModel(QObject* parent = nullptr);
  ~CaseModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
  bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

  // Column layout: 0 the case name, 1..inputColumns() the inputs, then one
  // column per check, then the verdict.
  int inputColumns() const { return static_cast<int>(table_.columns.size()); }
  int checkColumn(CheckId check) const;  // -1 when the project does not show it
  int verdictColumn() const { return 1 + inputColumns() + static_cast<int>(checks_.size()); }

  const CaseTable& table() const { return table_; }
  // A table read from a file, or an empty one with the mode's loads.
  void setTable(CaseTable table);
  // A load table file: one of at most rowLimit() rows as the table to
  // edit, a longer one as a read-only view of the file. A damaged file is
  // an error and the table stays as it was.
  Status openFile(const std::filesystem::path& path);
  int64_t rowLimit() const { return rowLimit_; }
  void setRowLimit(int64_t rows) { rowLimit_ = rows; }

  // The read-only view of a file too long to edit here: the file (empty
  // when the table is edited here) and the rows it shows, the first ones of
  // the file (as many as the report prints, at most rowLimit()).
  bool readOnly() const { return !viewed_.empty(); }
  const std::filesystem::path& viewedFile() const { return viewed_; }
  size_t shownRows() const;
  // The summary over every row of the viewed file, once its run has ended
  // (null before, and after a damaged row).
  const std::shared_ptr<const CaseReport>& fileReport() const { return fileReport_; }
  // The rows of the viewed file run so far, and the whole count once done.
  int64_t fileRows() const { return fileReport_ ? fileReport_->total : fileRows_; }
  // What the report prints of the viewed file for this project: the run's
  // report when it has ended, else the file run here and now (null when
  // the file cannot be read).
  std::shared_ptr<const CaseReport> reportOfFile() const;
  // "FILE has N rows: too many to edit here ..." for the view, else "".
  QString viewText() const;
  void clear(const ProjectState& ps);
  // Whether the rows hold section forces (a table the project layer takes
  // as such), and each row's point of each check.
  bool forces() const { return forceEngine_ != nullptr; }
  const std::vector<GoverningPoints>& points() const { return points_; }
  // Whether the project's mode takes section forces (the shell modes).
  bool takesForces() const;
  // The preset loads of the project's mode: the stresses, or the section
  // forces (N M1 M2 T Q1 Q2, sigy, pd); the table's other columns stay.
  // The load columns of the other kind go, unless they hold values: then
  // nothing changes and their names are returned.
  std::vector<std::string> setPreset(bool forces);
  // Adds an input column (a --set name or a section force); false when
  // unknown or present.
  bool addColumn(const std::string& name);
  // Tab-separated lines from a spreadsheet, from the cell (`row`, `column`)
  // on; rows are added as needed, cells beyond the last column are left
  // out. A first line of column names ("case" and input names) puts each
  // pasted column under its name instead, adding the inputs not yet there.
  // Returns the rows pasted.
  int paste(const QString& text, int row, int column);

  // The project the rows start from; runs them again.
  void setBase(const ProjectState& ps, const std::optional<std::string>& fault);
  void setDecimalComma(bool on);

  const std::vector<CheckId>& checks() const { return checks_; }
  const std::vector<RowOutcome>& outcomes() const { return outcomes_; }
  const CaseSummary& summary() const { return summary_; }
  // Counts the changes of the table (its rows, cells or columns, a table
  // read or pasted): equal counts are the same table.
  uint64_t revision() const { return revision_; }
  // Whether the outcomes wait for the worker.
  bool computing() const { return computing_; }
  // "governing: shell 0.87 (storm 3) ... | 12 passed, 1 failed, 0 faulted"
  QString summaryText() const;
  // Undo and redo of the table's changes (ui/cases/case_history.hpp).
  CaseHistory& history() const { return *history_; }
  // The usage factor as the panels print it, with the window's separator.
  QString number(double value) const;
  // An angle in degrees as the cells show it: "123.4°".
  QString angle(double degrees) const;

 signals:
  // New outcomes are shown (after a run at once or a worker's report).
  void outcomesChanged();
  // The table changed (revision() counts up).
  void tableChanged();

 private:
  void recompute();
  void recomputeRow(int row);
  void accept(uint64_t generation, std::vector<RowOutcome> outcomes);
  void keep(std::vector<ForceOutcome> outcomes);
  void createEngine();
  void show(CaseTable table, std::filesystem::path viewed);
  void runFile();
  void acceptFile(uint64_t generation, Result<CaseReport>& report);
  void summarizeShown();
  void changed();
  void finish();
  bool outcomeColumn(int column, CheckId& check) const;
  QVariant outcomeData(int row, int column, int role) const;

  CaseTable table_;
  std::vector<RowOutcome> outcomes_;
  CaseSummary summary_;
  std::vector<CheckId> checks_;
  std::shared_ptr<const OpenedProject> base_;
  std::shared_ptr<const RowEngine> engine_;
  std::shared_ptr<const ForceEngine> forceEngine_;  // a table of section forces
  std::vector<GoverningPoints> points_;             // one per row, of a force table
  std::string engineProblem_;
  uint64_t generation_ = 0;
  uint64_t revision_ = 0;
  bool computing_ = false;
  bool decimalComma_ = false;
  int64_t rowLimit_ = kMostEditedRows;
  std::filesystem::path viewed_;
  std::shared_ptr<const CaseReport> fileReport_;
  int64_t fileRows_ = 0;
  uint64_t fileBytes_ = 0, fileSize_ = 0;
  std::string fileProblem_;    // a damaged row found by the file's run
  CaseHistory* history_;       // a child
  ui::Background jobs_{this};  // last: its jobs stop before the rest goes
};

// A pasted or typed number with "," as its only separator reads as a
// decimal comma; blanks around it go.
QString normalizedNumber(const QString& text);

}  // namespace orvane::cases
