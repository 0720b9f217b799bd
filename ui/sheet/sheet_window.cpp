#include "ui/sheet/sheet_window.hpp"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/common/file_dialog.hpp"
#include "ui/common/message_box.hpp"
#include "ui/common/output_device.hpp"
#include "ui/sheet/sheet_document.hpp"

namespace orvane::ui {

SheetWindow::SheetWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("calcsheet"));
  setWindowTitle(QStringLiteral("Calculation sheet"));
  view_ = new QTextBrowser(this);
  view_->setObjectName(QStringLiteral("sheetview"));
  view_->setOpenLinks(false);
  auto* buttons = new QDialogButtonBox(this);
  auto add = [&](const QString& text, const char* name, auto slot) {
    QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
  };
  add(QStringLiteral("&Print..."), "cmdsheetprint", [this] { print(); });
  add(QStringLiteral("Save as P&DF..."), "cmdsheetpdf", [this] { savePdf(); });
  add(QStringLiteral("Save as &HTML..."), "cmdsheethtml", [this] { saveHtml(); });
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setObjectName(QStringLiteral("cmdsheetclose"));
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_);
  layout->addWidget(buttons);
  resize(900, 760);
  pending_.setSingleShot(true);
  pending_.setInterval(150);
  connect(&pending_, &QTimer::timeout, this, &SheetWindow::showSheet);
}

void SheetWindow::setSheet(const QString& html, const QString& title, bool now) {
  html_ = html;
  title_ = title;
  if (now) {
    pending_.stop();
    showSheet();
  } else if (!pending_.isActive()) {
    pending_.start();
  }
}

void SheetWindow::showSheet() {
  const int at = view_->verticalScrollBar()->value();
  view_->setHtml(html_);
  view_->verticalScrollBar()->setValue(at);
}

bool SheetWindow::savePdf() {
  const QString path =
      FileDialog::saveDocument(this, folder_, QStringLiteral("sheet.pdf"), QStringLiteral("pdf"));
  if (path.isEmpty()) return false;
  const QString problem = writeSheetPdf(html_, title_, path);
  if (!problem.isEmpty()) {
    MessageBox::warn(this, problem);
    return false;
  }
  folder_ = QFileInfo(path).absolutePath();
  return true;
}

bool SheetWindow::saveHtml() {
  const QString path =
      FileDialog::saveDocument(this, folder_, QStringLiteral("sheet.html"), QStringLiteral("html"));
  if (path.isEmpty()) return false;
  const QByteArray bytes = html_.toUtf8();
  const QString problem =
      writeOutput(path, [&](QIODevice& file) { return file.write(bytes) == bytes.size(); });
  if (!problem.isEmpty()) {
    MessageBox::warn(this, problem);
    return false;
  }
  folder_ = QFileInfo(path).absolutePath();
  return true;
}

bool SheetWindow::print(const PrintDialogRunner& runDialog) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(sheetPageLayout());
  if (!runDialog(printer, this)) return false;
  return paintSheet(printer, html_, title_) > 0;
}

}  // namespace orvane::ui
