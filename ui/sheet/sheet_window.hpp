// The calculation sheet of the open project in a window of its own: a
// preview with Print..., Save as PDF... and Save as HTML... The main window
// gives it a new sheet after every calculation run while it is open.
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

#include "ui/report/print_dialog.hpp"

class QTextBrowser;
class QPrinter;

namespace orvane::ui {

class SheetWindow final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(SheetWindow)

 public:
  explicit SheetWindow(QWidget* parent);

  // Takes `html` as the sheet; the view shows it at once (`now`) or after
  // a short pause, so that runs in quick succession lay it out once. The
  // view keeps its scroll position where it can.
  void setSheet(const QString& html, const QString& title, bool now = false);
  QString html() const { return html_; }
  QTextBrowser* view() const { return view_; }
  // The folder the save dialogs start in.
  void setFolder(const QString& folder) { folder_ = folder; }

  // The buttons' commands; each returns whether something was written.
  bool savePdf();
  bool saveHtml();
  bool print(const PrintDialogRunner& runDialog = runPrintDialog);

 private:
  void showSheet();

  QTextBrowser* view_ = nullptr;
  QTimer pending_;
  QString html_, title_, folder_;
};

}  // namespace orvane::ui
