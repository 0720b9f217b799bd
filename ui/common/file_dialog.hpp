// The open and save dialogs of the File menu.
//
// Both are the standard dialogs set up alike: "*.cys" preset in the name
// field and as the filter, "cys" added to a name typed without extension,
// no question before replacing a project file. The dialogs of other files
// (exports, documents) add the suffix of the type chosen in the dialog and
// ask before replacing a file. Tests queue the names a user would pick (an
// empty name is Cancel) and the types chosen; no dialog appears.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace orvane::ui {

class FileDialog final {
 public:
  // The chosen path, or "" after Cancel.
  static QString open(QWidget* parent, const QString& folder);
  // `preset` is the name shown in the name field ("*.cys" when empty).
  static QString save(QWidget* parent, const QString& folder, const QString& preset);
  // A save dialog for another kind of file: `filter` as "Images (*.png
  // *.svg)" or several joined by ";;"; a name typed without a suffix gets
  // the chosen filter's first one (`suffix` for a filter without one).
  static QString saveOther(QWidget* parent, const QString& folder, const QString& preset,
                           const QString& filter, const QString& suffix);

  // An open dialog for the load tables of the "Load cases" window (CSV).
  // The same queue answers every dialog in tests.
  static QString openTable(QWidget* parent, const QString& folder);

  // A save dialog for a document of type `suffix` ("pdf", "html"): that
  // filter, and the suffix added to a name typed without one.
  static QString saveDocument(QWidget* parent, const QString& folder, const QString& preset,
                              const QString& suffix);
  static void setNextFileNames(const QStringList& names);
  // The filter (by its place in the list) chosen in each of the next save
  // dialogs; the first one when none is queued. Cleared by setNextFileNames.
  static void setNextFilters(const QList<int>& indexes);
  static int pendingFileNames();

  FileDialog() = delete;
};

}  // namespace orvane::ui
