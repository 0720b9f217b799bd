#include "ui/common/file_dialog.hpp"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace orvane::ui {

namespace {

QStringList gQueued;
QList<int> gQueuedFilters;
bool gUseQueue = false;

// The first suffix a filter names: "xlsx" of "Excel workbooks (*.xlsx)",
// "" of "All files (*)".
QString suffixOf(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  const QRegularExpressionMatch m = pattern.match(filter);
  return m.hasMatch() ? m.captured(1) : QString();
}

// `chosen` receives the filter the user left selected. Project files are
// replaced without a question, as always; other files ask first.
QString run(QWidget* parent, QFileDialog::AcceptMode mode, const QString& folder,
            const QString& preset, const QString& filter = QStringLiteral("*.cys"),
            const QString& suffix = QStringLiteral("cys"), QString* chosen = nullptr) {
  const QStringList filters = filter.split(QStringLiteral(";;"));
  if (gUseQueue) {
    const int pick = gQueuedFilters.isEmpty() ? 0 : gQueuedFilters.takeFirst();
    if (chosen) *chosen = filters.value(pick);
    return gQueued.isEmpty() ? QString() : gQueued.takeFirst();
  }
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  if (suffix == QLatin1String("cys")) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(filter);
  // the suffix added to a bare name is the chosen type's
  const auto suffixFor = [&suffix](const QString& f) {
    const QString s = suffixOf(f);
    return s.isEmpty() ? suffix : s;
  };
  dialog.setDefaultSuffix(suffixFor(filters.first()));
  QObject::connect(
      &dialog, &QFileDialog::filterSelected, &dialog,
      [&dialog, suffixFor](const QString& f) { dialog.setDefaultSuffix(suffixFor(f)); });
  dialog.setDirectory(folder);
  if (!preset.isEmpty() || filter == QLatin1String("*.cys"))
    dialog.selectFile(preset.isEmpty() ? QStringLiteral("*.cys") : preset);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  if (chosen) *chosen = dialog.selectedNameFilter();
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
  QString chosen;
  QString path = run(parent, QFileDialog::AcceptSave, folder, preset, filter, suffix, &chosen);
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
    const QString s = suffixOf(chosen);
    path += QLatin1Char('.') + (s.isEmpty() ? suffix : s);
  }
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
  gQueuedFilters.clear();
}

void FileDialog::setNextFilters(const QList<int>& indexes) { gQueuedFilters = indexes; }

int FileDialog::pendingFileNames() { return static_cast<int>(gQueued.size()); }

}  // namespace orvane::ui
