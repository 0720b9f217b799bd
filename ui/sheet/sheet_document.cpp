#include "ui/sheet/sheet_document.hpp"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include "ui/common/output_device.hpp"

namespace orvane::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Millimetres to device pixels.
double mm(const QPagedPaintDevice& device, double millimetres) {
  return millimetres / 25.4 * device.logicalDpiY();
}

}  // namespace

QPageLayout sheetPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 15),
                     QPageLayout::Millimeter);
}

QString sheetHtml(const ProjectState& ps, const CalcTrace& trace, const SheetHeader& header) {
  return qs(calcSheetHtml(ps, trace, header));
}

QString sheetPageTitle(const ProjectState& ps) {
  return QStringLiteral("Orvane DNV   Calculation sheet   ") + qs(ps.projectName) +
         QStringLiteral(" (") + qs(ps.ident) + QStringLiteral(")");
}

int paintSheet(QPagedPaintDevice& device, const QString& html, const QString& title) {
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  const QRectF page(0, 0, device.width(), device.height());
  const double band = mm(device, 9);  // the header band above the text

  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&device);
  doc.setHtml(html);
  doc.setDocumentMargin(0);
  const QSizeF body(page.width(), page.height() - band);
  doc.setPageSize(body);
  const int pages = doc.pageCount();

  QFont headerFont = doc.defaultFont();
  headerFont.setPointSizeF(8);
  for (int i = 0; i < pages; ++i) {
    if (i > 0) device.newPage();
    painter.save();
    painter.translate(0, band - i * body.height());
    doc.drawContents(&painter, QRectF(QPointF(0, i * body.height()), body));
    painter.restore();
    // the header last: a text line that runs over the page break is drawn
    // (clipped) under the band, and the band stays on top of it
    painter.fillRect(QRectF(0, 0, page.width(), band), Qt::white);
    painter.setFont(headerFont);
    painter.setPen(QColor(80, 80, 80));
    const QRectF head(0, 0, page.width(), band - mm(device, 3));
    painter.drawText(head, Qt::AlignLeft | Qt::AlignBottom, title);
    painter.drawText(head, Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("page %1/%2").arg(i + 1).arg(pages));
    painter.drawLine(QPointF(0, band - mm(device, 2)), QPointF(page.width(), band - mm(device, 2)));
  }
  painter.end();
  return pages;
}

QString writeSheetPdf(const QString& html, const QString& title, const QString& path,
                      const std::vector<std::filesystem::path>& inputs) {
  return writeOutput(
      path,
      [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setPageLayout(sheetPageLayout());
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Orvane DNV"));
        return paintSheet(writer, html, title) > 0;
      },
      inputs);
}

}  // namespace orvane::ui
