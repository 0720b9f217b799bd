// The calculation sheet of the open project in a window of its own: a
// preview with Print..., Save as PDF... and Save as HTML... The main window
// gives it a new sheet after every calculation run while it is open.
#pragma once

#include <QDialog>
#include <functional>

#include "ui/print_dialog.hpp"

class QTextBrowser;
class QPrinter;

namespace orvane::ui {

class SheetWindow final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(SheetWindow)

 public:
  explicit SheetWindow(QWidget* parent);

  // Shows `html`; the view keeps its scroll position where it can.
  void setSheet(const QString& html, const QString& title);
  QString html() const { return html_; }
  QTextBrowser* view() const { return view_; }
  // The folder the save dialogs start in.
  void setFolder(const QString& folder) { folder_ = folder; }

  // The buttons' commands; each returns whether something was written.
  bool savePdf();
  bool saveHtml();
  bool print(const PrintDialogRunner& runDialog = runPrintDialog);

 private:
  QTextBrowser* view_ = nullptr;
  QString html_, title_, folder_;
};

}  // namespace orvane::ui
