#include "ui/report/print_dialog.hpp"

#include <algorithm>

#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace orvane::ui {

bool runPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  // One page, so neither a selection nor a page range means anything.
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dialog.exec() == QDialog::Accepted;
}

namespace {

QString copyFileName(const QString& first, int copy) {
  if (copy == 1) return first;
  const QFileInfo info(first);
  const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
  return info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('-') +
         QString::number(copy) + suffix;
}

}  // namespace

int printCopies(QPrinter& printer, const ProjectState& ps, int copies,
                const ReportOptions& options) {
  const QString file = printer.outputFileName();
  // The printer must not multiply each document itself.
  printer.setCopyCount(1);
  int done = 0;
  for (int copy = 1; copy <= copies; ++copy) {
    if (!file.isEmpty()) printer.setOutputFileName(copyFileName(file, copy));
    QPainter painter;
    if (!painter.begin(&printer)) break;
    // The painter's origin is the top left of the printable area.
    const bool printed = printReportPages(
        painter, printer, QRectF(0, 0, printer.width(), printer.height()), ps, options);
    if (!painter.end() || !printed) break;
    ++done;
  }
  if (!file.isEmpty()) printer.setOutputFileName(file);
  return done;
}

int printProject(QWidget* parent, const ProjectState& ps, const PrintDialogRunner& runDialog,
                 const ReportOptions& options) {
  QPrinter printer(QPrinter::HighResolution);
  if (!runDialog(printer, parent)) return 0;
  return printCopies(printer, ps, std::max(1, printer.copyCount()), options);
}

}  // namespace orvane::ui
