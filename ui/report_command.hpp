// The headless report: `orvane-report FILE.cys -o REPORT.pdf [--data DIR]`
// opens the project as the program does, runs the checks once and writes the
// printed report as a PDF. Needs a QApplication (any platform, offscreen too).
#pragma once

#include <QStringList>
#include <QTextStream>

namespace orvane::ui {

// Returns the exit status: 0 written, 2 usage or input error, 3 the report
// could not be written. Messages go to `err`.
int runReportCommand(const QStringList& args, QTextStream& err);

}  // namespace orvane::ui
