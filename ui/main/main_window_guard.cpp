// The engineer's work kept: the window knows when the project or its load
// cases differ from the file (the title's mark), and every command that
// would drop such work first asks Save / Discard / Cancel.
#include <QCloseEvent>
#include <QLineEdit>
#include <QUndoStack>

#include "files/project_file.hpp"
#include "files/rule_options.hpp"
#include "ui/cases/case_history.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/common/message_box.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui {

// The project as its file would hold it (the name and identification as
// their fields show them) and its rule options.
std::string MainWindow::projectPrint() const {
  ProjectState copy = ps_;
  copy.projectName = field(FieldId::iproj)->text().toStdString();
  copy.ident = field(FieldId::iident)->text().toStdString();
  const RuleOptions rules = ruleOptionsOf(copy);
  std::string print = rules.conservative ? "c" : "-";
  print += rules.closedEnds ? "e\n" : "-\n";
  auto text = projectFileText(std::move(copy), ps_.fileName);
  // a text the file cannot hold never equals what was saved
  return print + (text ? text.value() : std::string("\x01") + text.error().message);
}

// Whether the cases differ from the file: the table's history is not at
// its clean step. An empty table is no file: emptied again, a table the
// file did not have is no work of its own.
bool MainWindow::casesChanged() const {
  const bool empty = cases_->table().rows.empty() && !cases_->readOnly();
  return !(empty && cleanCasesEmpty_) && !cases_->history().isClean();
}

void MainWindow::markClean() {
  recordStep();
  if (undo_) undo_->setClean();
  cases_->history().setClean();
  cleanProject_ = projectPrint();
  cleanCasesEmpty_ = cases_->table().rows.empty() && !cases_->readOnly();
  setWindowModified(false);
  keepRecovery(false);
}

void MainWindow::noteChange() {
  if (!guarding_) return;
  requestStep();
  setWindowModified(casesChanged() || projectPrint() != cleanProject_);
  keepRecovery(isWindowModified());
}

bool MainWindow::keepWork() {
  if (!finishFieldEdit()) return false;
  noteChange();
  if (!isWindowModified()) return true;
  const QString name = ps_.fileName == "New File" ? QStringLiteral("the new project")
                                                  : QString::fromStdString(ps_.fileName);
  const Answer answer =
      MessageBox::ask(this, QStringLiteral("Save the changes to %1 and its load cases?").arg(name),
                      Question::SaveDiscardCancel);
  if (answer == Answer::Discard) return true;
  if (answer == Answer::Save) return saveProject();
  return false;
}

// Closing finishes the edit of the focused field first, as leaving it
// would, and keeps unsaved work unless the engineer lets it go.
void MainWindow::closeEvent(QCloseEvent* event) {
  if (!keepWork()) {
    event->ignore();
    return;
  }
  dropRecovery();
  QMainWindow::closeEvent(event);
}

}  // namespace orvane::ui
