// Pieces of the report body shared by the input blocks and the profile
// sections: the fixed columns of the 136 x 88 body scale and the line
// layouts that use them.
#pragma once

#include <QString>

#include "model/project_state.hpp"
#include "ui/report/report_page.hpp"

namespace orvane::cases {
struct CaseReport;
}

namespace orvane::ui::report {

inline constexpr double kCols = 136, kLines = 88;
inline constexpr double kMargin = 13.6;        // left margin and labels
inline constexpr double kLoadEq = 19.6;        // "=" of the loading lines
inline constexpr double kLoadEdge = 31.6;      // right edge of the loads
inline constexpr double kNameEdge = 43.6;      // right edge of material names
inline constexpr double kSymbol = 45.6;        // symbols; profile-data labels
inline constexpr double kEquals = 51.6;        // "="
inline constexpr double kValueEdge = 63.6;     // right edge of values
inline constexpr double kRingOffset = 60;      // ring section beside a stiffener section
inline constexpr double kRight = kCols - 0.5;  // right edge of the body

QString qs(const std::string& text);

// Bold, italic and underlined heading on its own line at column `x`.
void heading(ReportPage& page, const QString& text, double x);

// label ... symbol = value unit, the value ending at `xoff` + kValueEdge.
void valueLine(ReportPage& page, double xoff, const QString& label, const QString& symbol,
               const QString& value, const QString& unit);

// The profile-data routine of the stiffener or ring-frame type: section
// data and local-buckling lines at column xoff + kSymbol from the current
// line down.
void printProfileData(ReportPage& page, const ProjectState& ps, Member member, double xoff);

// The result panels of the cylinder type from line `ypos` down, drawn by
// the screen's panel routines; a panel whose texts would run into its
// neighbour or off the page is set narrower.
void printPanels(QPainter& painter, ReportPage& page, const ProjectState& ps, double ypos,
                 bool decimalComma);

// The pages of load cases after the first page: how many, and page
// `casePage` (0 the first of them) from line `top` of the body down.
int casePageCount(const cases::CaseReport& cases);
// No more rows of cases than these are printed, whatever the table.
size_t mostPrintedCases();
void printCases(ReportPage& page, const cases::CaseReport& cases, int casePage, double top,
                bool decimalComma);

}  // namespace orvane::ui::report
