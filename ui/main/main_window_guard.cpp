// The engineer's work kept: the window knows when the project or its load
// cases differ from the file (the title's mark), and every command that
// would drop such work first asks Save / Discard / Cancel.
#include <QCloseEvent>
#include <QLineEdit>
#include <QUndoStack>

#include "files/project_file.hpp"
#include "files/rule_options.hpp"
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

// An empty table is no file: only a table with rows is work of its own.
uint64_t MainWindow::casesPrint() const {
  return cases_->table().rows.empty() && !cases_->readOnly() ? 0 : cases_->revision() + 1;
}

void MainWindow::markClean() {
  recordStep();
  if (undo_) undo_->setClean();
  cleanProject_ = projectPrint();
  cleanCases_ = casesPrint();
  setWindowModified(false);
  keepRecovery(false);
}

void MainWindow::noteChange() {
  if (!guarding_) return;
  requestStep();
  setWindowModified(casesPrint() != cleanCases_ || projectPrint() != cleanProject_);
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
