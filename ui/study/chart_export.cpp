#include "ui/study/chart_export.hpp"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "ui/common/output_device.hpp"

namespace orvane::ui::chart {

std::optional<FileKind> kindOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return FileKind::Png;
  if (suffix == QLatin1String("svg")) return FileKind::Svg;
  if (suffix == QLatin1String("pdf")) return FileKind::Pdf;
  return std::nullopt;
}

std::optional<QString> exportChart(const Chart& chart, const QString& path, FileKind kind,
                                   const QFont& font, QSize size) {
  // through the one output writer: whole or not at all
  const QString problem = writeOutput(path, [&](QIODevice& file) {
    switch (kind) {
      case FileKind::Png: {
        // twice the screen's density, so that the image stays sharp in a
        // document
        QImage image(size * 2, QImage::Format_ARGB32);
        image.setDotsPerMeterX(qRound(2 * 96 / 0.0254));
        image.setDotsPerMeterY(qRound(2 * 96 / 0.0254));
        image.fill(Qt::white);
        {
          QPainter p(&image);
          draw(p, QRectF(QPointF(0, 0), QSizeF(image.size())), chart, font);
        }
        return image.save(&file, "PNG");
      }
      case FileKind::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setResolution(96);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(chart.title);
        QPainter p;
        if (!p.begin(&svg)) return false;
        draw(p, QRectF(QPointF(0, 0), QSizeF(size)), chart, font);
        return p.end();
      }
      case FileKind::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        pdf.setResolution(300);
        pdf.setTitle(chart.title);
        QPainter p;
        if (!p.begin(&pdf)) return false;
        const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        draw(p, QRectF(QPointF(0, 0), QSizeF(page.size())), chart, font);
        return p.end();
      }
    }
    return false;
  });
  if (problem.isEmpty()) return std::nullopt;
  return problem;
}

}  // namespace orvane::ui::chart
