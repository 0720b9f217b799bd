// The headless report: `orvane-report FILE.cys -o REPORT.pdf [--data DIR]`
// opens the project as the program does, runs the checks once and writes the
// printed report as a PDF. Needs a QApplication (any platform, offscreen too).
#pragma once

#include <QStringList>
#include <QTextStream>
#include <string>
#include <vector>

namespace orvane::ui {

// Returns the exit status: 0 written (or --help, --version, printed on
// `out`), 2 bad command line, unreadable project or data, or the PDF could
// not be written, 3 the calculation stopped on an arithmetic fault, and no
// PDF is written. Messages go to `err`.
int runReportCommand(const QStringList& args, QTextStream& out, QTextStream& err);
// The same with the arguments as the system gave them: a file name that is
// not UTF-8 reaches the file as it is.
int runReportCommand(const std::vector<std::string>& args, QTextStream& out, QTextStream& err);

}  // namespace orvane::ui
