// The calculation sheet on paper: the HTML sheet laid out by QTextDocument
// on A4 pages, each with a header naming the project and "page n/m". One
// routine paints onto any paged device: the PDF writer and the printer.
#pragma once

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QString>
#include <filesystem>
#include <vector>

#include "core/calc_sheet.hpp"
#include "core/calc_trace.hpp"
#include "model/project_state.hpp"

namespace orvane::ui {

// The sheet of the run that left `ps` and recorded `trace`.
QString sheetHtml(const ProjectState& ps, const CalcTrace& trace, const SheetHeader& header);

// The header line of every page: "Orvane DNV  Calculation sheet  PROJECT (IDENT)".
QString sheetPageTitle(const ProjectState& ps);

// A4 portrait with the sheet's margins, for the PDF writer and the printer.
QPageLayout sheetPageLayout();

// Paints `html` onto `device` page by page (the device's own page layout);
// returns the number of pages, 0 when the device could not be painted on.
int paintSheet(QPagedPaintDevice& device, const QString& html, const QString& title);

// Writes the sheet as an A4 PDF; returns the problem, empty when written.
// `inputs` are files it may not replace (the project).
QString writeSheetPdf(const QString& html, const QString& title, const QString& path,
                      const std::vector<std::filesystem::path>& inputs = {});

}  // namespace orvane::ui
