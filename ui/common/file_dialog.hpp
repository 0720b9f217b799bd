// The open and save dialogs of the File menu.
//
// Both are the standard dialogs set up alike: "*.cys" preset in the name
// field and as the filter, "cys" added to a name typed without extension,
// no question before replacing a file. Tests queue the names a user would
// pick (an empty name is Cancel) and no dialog appears.
#pragma once

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
  // *.svg)", `suffix` added to a name typed without one.
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
  static int pendingFileNames();

  FileDialog() = delete;
};

}  // namespace orvane::ui
