// The File menu: New, Open, Save, Save As, the recent files and the title.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>

#include "ui/cases/case_model.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/common/message_box.hpp"
#include "ui/main/main_window.hpp"
#include "ui/profiles/profile_window.hpp"

namespace orvane::ui {

namespace {

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

}  // namespace

void MainWindow::refreshRecentMenu() {
  orvane::refreshRecentMenu(*settings_, recent_);
  for (int i = 0; i < RecentMenu::kItems; ++i) {
    QAction* a = recentActions_[i];
    a->setVisible(recent_.visible[i]);
    if (i > 0)
      a->setText(QString::fromStdString(recent_.caption[i])
                     .replace(QLatin1Char('&'), QStringLiteral("&&")));
  }
}

// A file that does not read in full leaves the project as it was; the
// message names the file, the line and the problem.
bool MainWindow::readAndOpen(const QString& path) {
  const Status read = session_.read(path.toStdString());
  if (!read) {
    MessageBox::warn(this, QString::fromStdString(read.error().text()));
    return false;
  }
  setTitle();
  return true;
}

// Every failed save is reported: the project must never look saved when it
// is not. A missing folder keeps its short message; the others say why.
bool MainWindow::writeTo(const QString& path) {
  const Status written = session_.save(path.toStdString());
  if (written) {
    setTitle();
    if (writeCasesBeside(path)) markClean();
    return true;
  }
  const Error& e = written.error();
  QString text = QString::fromStdString(e.text());
  if (e.kind != ErrorKind::FolderMissing) {
    text = QStringLiteral("can't save file - ") + path + QStringLiteral("\n\n") +
           QString::fromStdString(e.message);
  }
  MessageBox::warn(this, text);
  return false;
}

// The steps after every successful read: look-ups and sections for the new
// project, then the window and the calculation.
void MainWindow::finishOpening(const QString& folder) {
  dialogFolder_ = folder;
  session_.finishOpening();
}

void MainWindow::fileNew() {
  if (!keepWork()) return;
  closeProfileWindows(this);
  session_.newProject();
  casesFile_.clear();
  loadCases().clear(ps_);
  setTitle();
  resetHistory();
  markClean();
}

void MainWindow::fileOpen() {
  if (!keepWork()) return;
  const QString path = FileDialog::open(this, dialogFolder_);
  if (path.isEmpty()) return;
  openPath(path);
}

void MainWindow::openFile(const QString& path) {
  if (keepWork()) openPath(path);
}

void MainWindow::openPath(const QString& path) {
  // an open profile window's close steps write its values into the project:
  // they must land in the old project, not in the one read
  closeProfileWindows(this);
  workFolder_ = folderOf(path);
  const bool reopened = path.toStdString() == ps_.fileName;
  if (!readAndOpen(path)) return;
  if (!reopened) {
    addRecentOpened(*settings_, recent_, path.toStdString());
    refreshRecentMenu();
  }
  readCasesBeside(path);
  finishOpening(workFolder_);
  resetHistory();
  markClean();
}

void MainWindow::fileSave() { saveProject(); }

bool MainWindow::saveProject() {
  if (!finishFieldEdit()) return false;
  ps_.projectName = field(FieldId::iproj)->text().toStdString();
  ps_.ident = field(FieldId::iident)->text().toStdString();
  if (ps_.fileName != "New File") {
    writeTo(QString::fromStdString(ps_.fileName));
    return !isWindowModified();
  }
  const QString path = FileDialog::save(this, dialogFolder_, QString());
  if (path.isEmpty()) return false;
  workFolder_ = folderOf(path);
  if (!writeTo(path)) return false;
  dialogFolder_ = workFolder_;
  addRecentSaved(*settings_, path.toStdString());
  refreshRecentMenu();
  return !isWindowModified();
}

void MainWindow::fileSaveAs() {
  if (!finishFieldEdit()) return;
  ps_.projectName = field(FieldId::iproj)->text().toStdString();
  ps_.ident = field(FieldId::iident)->text().toStdString();
  const QString path = FileDialog::save(this, dialogFolder_, QString::fromStdString(ps_.fileName));
  if (path.isEmpty()) return;
  workFolder_ = folderOf(path);
  const std::string before = ps_.fileName;
  if (!writeTo(path)) return;
  dialogFolder_ = workFolder_;
  if (path.toStdString() != before) {
    addRecentSaved(*settings_, path.toStdString());
    refreshRecentMenu();
  }
}

void MainWindow::openRecent(int item) {
  if (!keepWork()) return;
  const std::string path = recent_.path(item);
  const QString folder = QString::fromStdString(recentFolder(path));
  if (path != ps_.fileName) {
    promoteRecent(*settings_, path, item);
    refreshRecentMenu();
  }
  closeProfileWindows(this);
  if (!readAndOpen(QString::fromStdString(path))) return;
  readCasesBeside(QString::fromStdString(path));
  finishOpening(folder);
  resetHistory();
  markClean();
}

}  // namespace orvane::ui
