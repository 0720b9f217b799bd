// The printed report of a project: on its first page the header, inputs,
// the stiffener and ring-frame profiles with their section data, and the
// result panels drawn by the same operations as the screen panels; on the
// pages after it the project's load cases, when it has any.
//
// The report reads the project only; it prints the results of the last
// calculation run and the outcomes of the cases it is given, and never runs
// the checks itself.
#pragma once

#include <QDateTime>
#include <QRectF>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "model/codes.hpp"
#include "model/project_state.hpp"

class QPainter;
class QPagedPaintDevice;

namespace orvane::cases {
struct CaseReport;
}

namespace orvane::ui {

// Draws a picture of the report into `box` (device pixels): the cylinder
// sketch of the main window, or the cross-section of the stiffener or the
// ring frame.
using CylinderPainter = std::function<void(QPainter&, const QRectF& box, const ProjectState&)>;
using ProfilePainter =
    std::function<void(QPainter&, const QRectF& box, const ProjectState&, Member member)>;

struct ReportOptions {
  QDateTime printedAt = QDateTime::currentDateTime();
  // Empty painters leave their place blank.
  CylinderPainter cylinder;
  ProfilePainter profile;
  // After a stopped calculation: the window's status line, printed in red
  // above the panels, and the project as the last complete run left it,
  // whose results the panels print instead.
  QString calculationStopped;
  std::shared_ptr<const ProjectState> lastComplete;
  // Numbers of the panels with a decimal comma, as the window shows them.
  bool decimalComma = false;
  // The project's load cases with their outcomes: printed on the pages
  // after the first when there are any.
  std::shared_ptr<const cases::CaseReport> cases;
};

// The program's own pictures for the report: the main window's cylinder
// sketch and the profile-type sketches of the profile buttons.
ReportOptions defaultReportOptions();

// Characters per line and lines per page of the font sizes 8 to 11 on the
// page, measured with an average-width sample text.
struct FontCalibration {
  std::array<int, 12> cpl{};
  std::array<int, 12> lpp{};
};
FontCalibration calibrateFonts(QPainter& painter, const QRectF& page);

// The pages of the report: one, and the pages of load cases after it.
int reportPageCount(const ReportOptions& options);

// Prints page `number` (0 the first) of the report onto `painter`; `page`
// is the printable area in device pixels.
void printReportPage(QPainter& painter, const QRectF& page, const ProjectState& ps,
                     const ReportOptions& options, int number);
// The first page.
void printReport(QPainter& painter, const QRectF& page, const ProjectState& ps,
                 const ReportOptions& options);
// Every page onto `device`, each after the first on a new page.
bool printReportPages(QPainter& painter, QPagedPaintDevice& device, const QRectF& page,
                      const ProjectState& ps, const ReportOptions& options);

// Designation of the stiffener (ring = false) or ring frame as the report
// prints it, e.g. " L200x90x9.0x12.0 (built-up)".
QString reportDesignation(const ProjectState& ps, Member member);

// Writes the report as an A4 PDF through the one output writer; `inputs`
// are files it may not replace (the project). Returns an error text, empty
// on success.
QString writeReportPdf(const ProjectState& ps, const QString& path, const ReportOptions& options,
                       const std::vector<std::filesystem::path>& inputs = {});

}  // namespace orvane::ui
