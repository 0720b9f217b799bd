// A chart written to a file: PNG through a QImage, SVG through
// QSvgGenerator, PDF through QPdfWriter, each drawn by chart::draw().
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <optional>

#include "ui/study/chart.hpp"

namespace orvane::ui::chart {

enum class FileKind { Png, Svg, Pdf };

// The kind a file name's suffix asks for; none for another suffix.
std::optional<FileKind> kindOf(const QString& path);

// Writes `chart` at `size` pixels of 96 dpi (PNG at twice that density,
// PDF on an A4 landscape page). Returns the problem when the file could
// not be written.
std::optional<QString> exportChart(const Chart& chart, const QString& path, FileKind kind,
                                   const QFont& font, QSize size = QSize(960, 600));

}  // namespace orvane::ui::chart
