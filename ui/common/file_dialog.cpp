#include "ui/common/file_dialog.hpp"

#include <QFileDialog>
#include <QFileInfo>

namespace orvane::ui {

namespace {

QStringList gQueued;
bool gUseQueue = false;

QString run(QWidget* parent, QFileDialog::AcceptMode mode, const QString& folder,
            const QString& preset, const QString& filter = QStringLiteral("*.cys"),
            const QString& suffix = QStringLiteral("cys")) {
  if (gUseQueue) return gQueued.isEmpty() ? QString() : gQueued.takeFirst();
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(suffix);
  dialog.setDirectory(folder);
  if (!preset.isEmpty() || filter == QLatin1String("*.cys"))
    dialog.selectFile(preset.isEmpty() ? QStringLiteral("*.cys") : preset);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

QString FileDialog::open(QWidget* parent, const QString& folder) {
  return run(parent, QFileDialog::AcceptOpen, folder, QString());
}

QString FileDialog::save(QWidget* parent, const QString& folder, const QString& preset) {
  QString path = run(parent, QFileDialog::AcceptSave, folder, preset);
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".cys");
  return path;
}

QString FileDialog::saveOther(QWidget* parent, const QString& folder, const QString& preset,
                              const QString& filter, const QString& suffix) {
  QString path = run(parent, QFileDialog::AcceptSave, folder, preset, filter, suffix);
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
  return path;
}

QString FileDialog::openTable(QWidget* parent, const QString& folder) {
  return run(parent, QFileDialog::AcceptOpen, folder, QString(),
             QStringLiteral("Load tables (*.csv *.txt);;All files (*)"), QStringLiteral("csv"));
}

QString FileDialog::saveDocument(QWidget* parent, const QString& folder, const QString& preset,
                                 const QString& suffix) {
  return saveOther(parent, folder, preset, QStringLiteral("*.") + suffix, suffix);
}

void FileDialog::setNextFileNames(const QStringList& names) {
  gUseQueue = true;
  gQueued = names;
}

int FileDialog::pendingFileNames() { return static_cast<int>(gQueued.size()); }

}  // namespace orvane::ui
