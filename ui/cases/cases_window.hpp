// The "Load cases" window of the Analysis menu: the project's load cases
// as a table, each row with its usage factors in the panels' colours, the
// governing case of each check marked and named in the summary line.
//
// Ctrl+V pastes a block of cells from a spreadsheet at the current cell;
// a double click on a row puts its values into the main window's fields as
// if they had been typed there (a row of section forces: its other values,
// then the Sigx and Tau of its governing point). The "Stresses" / "Forces"
// list sets the table's load columns.
//
// A file too long to edit here (CaseModel::rowLimit()) is shown read-only:
// a note says so, the editing buttons are off, and Export copies the file
// row by row; a workbook of it is left to `orvane-cli batch`.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QTableView;

namespace orvane::cases {

class CaseModel;

class CasesWindow final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(CasesWindow)

 public:
  // What the window asks of the main window: a row's values typed into the
  // fields, and the folder its file dialogs start in.
  struct Host {
    std::function<void(int row)> enterRow;
    std::function<QString()> folder;
  };

  CasesWindow(CaseModel& model, Host host, QWidget* parent);

  QTableView* view() const { return view_; }
  // Ctrl+V: the clipboard's text from the current cell on.
  void pasteClipboard();
  void addRow();
  void deleteSelectedRows();
  // Adds the input column chosen in the list.
  void addChosenColumn();
  void importTable();
  void exportTable();
  // The "Stresses" / "Forces" list: the table's preset load columns.
  void choosePreset(bool forces);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showSummary();

  CaseModel& model_;
  Host host_;
  QTableView* view_ = nullptr;
  QComboBox* columns_ = nullptr;
  QComboBox* loads_ = nullptr;  // the preset load columns
  QLabel* summary_ = nullptr;
  QLabel* note_ = nullptr;         // what the read-only view of a long file shows
  std::vector<QWidget*> editing_;  // off in that view
};

}  // namespace orvane::cases
