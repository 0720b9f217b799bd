// Unsaved work kept through a crash: after each change the project, its
// rule options and its load cases are written, each whole or not at all,
// into a folder of this window's own under the user's data folder; a clean
// exit, a save or a discard removes it. The next start offers the work of
// a window that ended without either.
//
// Each window's folder holds a lock for as long as the window lives, so
// that a second program running at the same time neither offers nor
// removes the work of the first; a lock whose process has gone is stale.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include "files/output_file.hpp"
#include "files/project_file.hpp"
#include "files/rule_options.hpp"
#include "ui/cases/case_history.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/common/message_box.hpp"
#include "ui/main/main_window.hpp"
#include "ui/profiles/profile_window.hpp"

namespace orvane::ui {

namespace {

const QString kProject = QStringLiteral("work.cys");
const QString kCases = QStringLiteral("work.loads.csv");
// Written last: the project's own file name, then the long load table the
// window viewed (or an empty line). Without it the folder holds nothing.
const QString kManifest = QStringLiteral("recovery.txt");
const QString kLock = QStringLiteral("lock");

std::filesystem::path local(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QString MainWindow::defaultRecoveryFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/recovery");
}

void MainWindow::startRecovery(const QString& folder) {
  recoveryRoot_ = folder;
  if (folder.isEmpty()) return;
  recoveryDir_ = QDir(folder).filePath(QStringLiteral("%1-%2")
                                           .arg(QCoreApplication::applicationPid())
                                           .arg(QDateTime::currentMSecsSinceEpoch()));
  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setSingleShot(true);
  recoveryTimer_->setInterval(kRecoveryDelayMs);
  connect(recoveryTimer_, &QTimer::timeout, this, &MainWindow::writeRecovery);
}

void MainWindow::keepRecovery(bool modified) {
  if (!recoveryTimer_) return;
  if (modified)
    recoveryTimer_->start();
  else
    dropRecovery();
}

// A failure here says nothing: the work is still in the window, and the
// next change tries again.
void MainWindow::writeRecovery() {
  if (recoveryDir_.isEmpty() || !isWindowModified()) return;
  if (!recoveryLock_) {
    if (!QDir().mkpath(recoveryDir_)) return;
    recoveryLock_ = std::make_unique<QLockFile>(QDir(recoveryDir_).filePath(kLock));
    recoveryLock_->setStaleLockTime(0);
    if (!recoveryLock_->tryLock(0)) {
      recoveryLock_.reset();
      return;
    }
  }
  const QDir dir(recoveryDir_);
  ProjectState copy = ps_;
  copy.projectName = field(FieldId::iproj)->text().toStdString();
  copy.ident = field(FieldId::iident)->text().toStdString();
  const std::filesystem::path project = local(dir.filePath(kProject));
  if (!writeProject(copy, project) || !writeRuleOptions(project, ruleOptionsOf(copy))) return;
  std::string viewed;
  if (cases_->readOnly()) {
    viewed = cases_->viewedFile().string();
    QFile::remove(dir.filePath(kCases));
  } else if (cases_->table().rows.empty()) {
    QFile::remove(dir.filePath(kCases));
  } else if (!cases::writeCases(local(dir.filePath(kCases)), cases_->table())) {
    return;
  }
  (void)replaceFile(local(dir.filePath(kManifest)), ps_.fileName + "\n" + viewed + "\n");
}

void MainWindow::dropRecovery() {
  if (recoveryTimer_) recoveryTimer_->stop();
  if (!recoveryLock_) return;
  recoveryLock_.reset();
  QDir(recoveryDir_).removeRecursively();
}

bool MainWindow::offerRecovery() {
  if (recoveryRoot_.isEmpty()) return false;
  // the newest work left behind by a window that is gone
  QString found;
  QDateTime newest;
  std::unique_ptr<QLockFile> held;
  const QDir root(recoveryRoot_);
  for (const QFileInfo& d : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (d.absoluteFilePath() == QFileInfo(recoveryDir_).absoluteFilePath()) continue;
    const QFileInfo manifest(QDir(d.absoluteFilePath()).filePath(kManifest));
    if (!manifest.exists()) continue;
    auto lock = std::make_unique<QLockFile>(QDir(d.absoluteFilePath()).filePath(kLock));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) continue;  // a window still at work
    if (!found.isEmpty() && manifest.lastModified() <= newest) continue;
    found = d.absoluteFilePath();
    newest = manifest.lastModified();
    held = std::move(lock);
  }
  if (found.isEmpty()) return false;

  const QDir dir(found);
  QFile manifest(dir.filePath(kManifest));
  QStringList lines;
  if (manifest.open(QIODevice::ReadOnly))
    lines = QString::fromUtf8(manifest.readAll()).split(QLatin1Char('\n'));
  manifest.close();
  const QString origin = lines.value(0);
  const QString viewed = lines.value(1);
  const auto answer = MessageBox::ask(
      this,
      QStringLiteral("The program ended without saving the work on %1 (last changed %2). "
                     "Restore it?")
          .arg(origin == QLatin1String("New File") ? QStringLiteral("a new project") : origin,
               newest.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
      Question::YesNo);
  bool restored = false;
  if (answer == Answer::Yes && keepWork()) restored = restoreFrom(found, origin, viewed);
  held.reset();
  // offered once: what was restored is this window's work now
  QDir(found).removeRecursively();
  return restored;
}

bool MainWindow::restoreFrom(const QString& folder, const QString& origin, const QString& viewed) {
  const QDir dir(folder);
  closeProfileWindows(this);
  const Status read = session_.read(local(dir.filePath(kProject)));
  if (!read) {
    MessageBox::warn(this, QString::fromStdString(read.error().text()));
    return false;
  }
  ps_.fileName = origin.toStdString();
  // the cases file beside the project, as an open would find it, so that a
  // save replaces or removes it as usual
  const QString beside = QString::fromStdString(cases::loadCasesPath(ps_.fileName));
  casesFile_ =
      origin != QLatin1String("New File") && QFileInfo::exists(beside) ? beside : QString();
  const QString cases = !viewed.isEmpty() ? viewed : dir.filePath(kCases);
  if (!QFileInfo::exists(cases) || !cases_->openFile(local(cases))) cases_->clear(ps_);
  setTitle();
  session_.finishOpening();
  resetHistory();
  // what was restored differs from the file
  cleanProject_.clear();
  cleanCasesEmpty_ = false;
  cases_->history().resetClean();
  noteChange();
  return true;
}

}  // namespace orvane::ui
