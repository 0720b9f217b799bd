#include "ui/report_command.hpp"

#include <QCoreApplication>
#include <QDir>

#include "core/calc_driver.hpp"
#include "files/project_file.hpp"
#include "model/checked.hpp"
#include "sections/data_files.hpp"
#include "ui/report.hpp"

namespace orvane::ui {

namespace {

const char* const kUsage = "usage: orvane-report FILE.cys -o REPORT.pdf [--data DIR]\n";

// Start-up and opening as the window does them; a calculation fault keeps
// what the last completed run left, as the window's panels would.
bool openProject(ProjectState& ps, const QString& file, const QString& dataDir, QTextStream& err) {
  assignDefaults(ps);
  const auto errors = loadDataFiles(ps, dataDir.toStdString());
  for (const auto& e : errors) err << "orvane-report: " << QString::fromStdString(e.text()) << "\n";
  if (!errors.empty()) return false;
  refreshValues(ps);
  RecordingEvents ev;
  try {
    calcDriver(ps, ev);
  } catch (const CalcFault&) {
  }
  const Status read = readProject(ps, file.toStdString());
  if (!read) {
    err << "orvane-report: " << QString::fromStdString(read.error().text()) << "\n";
    return false;
  }
  try {
    openingSteps(ps, ev);
    refreshValues(ps);
    calcDriver(ps, ev);
  } catch (const CalcFault& f) {
    err << "orvane-report: calculation stopped: " << f.what() << "\n";
  }
  return true;
}

}  // namespace

int runReportCommand(const QStringList& args, QTextStream& err) {
  QString file, output;
  QString dataDir = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if ((a == QLatin1String("-o") || a == QLatin1String("--data")) && i + 1 < args.size()) {
      (a == QLatin1String("-o") ? output : dataDir) = args[++i];
    } else if (!a.startsWith(QLatin1Char('-')) && file.isEmpty()) {
      file = a;
    } else {
      err << "orvane-report: unexpected argument '" << a << "'\n" << kUsage;
      return 2;
    }
  }
  if (file.isEmpty() || output.isEmpty()) {
    err << kUsage;
    return 2;
  }
  ProjectState ps;
  if (!openProject(ps, file, dataDir, err)) return 2;
  const QString problem = writeReportPdf(ps, output, defaultReportOptions());
  if (!problem.isEmpty()) {
    err << "orvane-report: " << problem << "\n";
    return 3;
  }
  return 0;
}

}  // namespace orvane::ui
