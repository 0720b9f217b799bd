// File > Calculation sheet... of the main window.
#include <QDateTime>

#include "ui/common/placement.hpp"
#include "ui/main/main_window.hpp"
#include "ui/sheet/sheet_document.hpp"
#include "ui/sheet/sheet_window.hpp"

namespace orvane::ui {

QString MainWindow::sheetHtml() const {
  SheetHeader header;
  header.date =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
  header.dataFiles = sheetDataFiles(dataFolder_.toStdString());
  header.fault = session_.fault();
  return orvane::ui::sheetHtml(ps_, trace_, header);
}

SheetWindow* MainWindow::sheetWindow() const { return sheet_; }

void MainWindow::showSheet() {
  // what the sheet shows is what the focused field shows
  finishFieldEdit();
  if (!sheet_) {
    sheet_ = new SheetWindow(this);
    sheet_->setAttribute(Qt::WA_DeleteOnClose);
    sheet_->setFolder(dialogFolder_);
    placeBeside(sheet_, this, resultArea());
  }
  sheet_->setSheet(sheetHtml(), sheetPageTitle(ps_), true);
  sheet_->show();
  sheet_->raise();
  sheet_->activateWindow();
}

}  // namespace orvane::ui
