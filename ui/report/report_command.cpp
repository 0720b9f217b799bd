#include "ui/report/report_command.hpp"

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <filesystem>
#include <sstream>

#include "core/calc_trace.hpp"
#include "files/input_text.hpp"
#include "project/load_cases.hpp"
#include "project/session.hpp"
#include "ui/report/report.hpp"
#include "ui/report/report_body.hpp"
#include "ui/sheet/sheet_document.hpp"

namespace orvane::ui {

namespace {

constexpr int kWritten = 0, kBadInput = 2, kFault = 3;

struct Arguments {
  std::string file, output, data;
  bool sheet = false;
};

QString local(const std::string& text) {
  return QFile::decodeName(QByteArray::fromStdString(text));
}

// The project as the window opens it (the file named as the window names it,
// by its full path, which the header prints); every run records into
// `trace` when given. The problems go to the error stream.
Result<OpenedProject, OpenProblems> openProject(const Arguments& a, QTextStream& err,
                                                CalcTrace* trace = nullptr) {
  auto opened = Session::openHeadless(
      {.dataDir = a.data, .file = std::filesystem::absolute(a.file).string(), .trace = trace});
  if (!opened)
    for (const std::string& p : opened.error())
      err << "orvane-report: " << local(printable(p)) << "\n";
  return opened;
}

// A run that stopped: the panels would show the results of an earlier run.
void sayStopped(const std::string& fault, const char* consequence, QTextStream& err) {
  err << "orvane-report: calculation stopped: " << QString::fromStdString(fault) << consequence
      << "\n";
}

// The load cases beside the project, run against it as a stream: the
// report prints the first rows and names the governing cases of all, so
// memory stays flat for any table. A damaged file is said and the report
// goes without them.
std::shared_ptr<const cases::CaseReport> loadCases(const OpenedProject& base, const Arguments& a,
                                                   QTextStream& err) {
  const std::filesystem::path file =
      cases::loadCasesPath(std::filesystem::absolute(a.file).string());
  if (!std::filesystem::exists(file)) return nullptr;
  auto report = cases::caseReportOfFile(base, file, report::mostPrintedCases());
  if (!report) {
    err << "orvane-report: load cases not printed: " << local(printable(report.error().text()))
        << "\n";
    return nullptr;
  }
  if (report.value().total == 0) return nullptr;
  return std::make_shared<const cases::CaseReport>(std::move(report.value()));
}

// The calculation sheet of the project's opening run as a PDF.
int writeSheet(const Arguments& a, QTextStream& err) {
  CalcTrace trace;
  const auto opened = openProject(a, err, &trace);
  if (!opened) return kBadInput;
  const OpenedProject& o = opened.value();
  if (o.fault) sayStopped(*o.fault, "; the sheet shows the steps before it", err);
  SheetHeader header;
  header.warnings = o.warnings;
  header.fault = o.fault;
  header.date = QDateTime::currentDateTimeUtc()
                    .toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))
                    .toStdString();
  header.dataFiles = sheetDataFiles(a.data);
  const QString problem = writeSheetPdf(sheetHtml(o.state, trace, header), sheetPageTitle(o.state),
                                        local(a.output), {a.file});
  if (!problem.isEmpty()) {
    err << "orvane-report: " << problem << "\n";
    return kBadInput;
  }
  return o.fault ? kFault : kWritten;
}

}  // namespace

int runReportCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
  std::vector<std::string> bytes;
  for (const QString& a : args) bytes.push_back(QFile::encodeName(a).toStdString());
  return runReportCommand(bytes, out, err);
}

int runReportCommand(const std::vector<std::string>& args, QTextStream& out, QTextStream& err) {
  Arguments a;
  a.data = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/data"))
               .toStdString();
  CLI::App app(
      "Writes the report of a project as a PDF, without a display.\n"
      "The load cases in NAME.loads.csv beside NAME.cys print on the pages after the first.",
      "orvane-report");
  app.set_version_flag("--version", std::string("orvane-report ") + ORVANE_VERSION);
  app.add_option("FILE", a.file, "the project file (.cys)")->required();
  app.add_option("-o,--output", a.output, "the PDF to write")
      ->type_name("REPORT.pdf")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->required();
  app.add_option("--data", a.data, "folder of DNVmat.dat and the profile tables")->type_name("DIR");
  app.add_flag("--sheet", a.sheet,
               "write the calculation sheet (every step of every check, A4 pages) instead");
  app.footer(
      "Exit status: 0 the PDF was written, 2 bad command line, unreadable file or data, or the\n"
      "PDF could not be written, 3 the calculation stopped on an arithmetic fault (no report;\n"
      "a sheet is written with the steps before the fault).");

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    std::ostringstream help, fail;
    const int code = app.exit(e, help, fail);
    if (code == static_cast<int>(CLI::ExitCodes::Success)) {
      out << local(help.str());
      return kWritten;
    }
    err << "orvane-report: " << local(printable(e.what())) << "\n"
        << "Run 'orvane-report --help' for the options.\n";
    return kBadInput;
  }
  if (a.file.empty() || a.output.empty()) {
    err << "orvane-report: an empty file name\n";
    return kBadInput;
  }
  if (a.sheet) return writeSheet(a, err);
  const auto opened = openProject(a, err);
  if (!opened) return kBadInput;
  const OpenedProject& o = opened.value();
  if (o.fault) {
    sayStopped(*o.fault, "; no report written", err);
    return kFault;
  }
  ReportOptions options = defaultReportOptions();
  options.cases = loadCases(o, a, err);
  const QString problem = writeReportPdf(o.state, local(a.output), options, {a.file});
  if (!problem.isEmpty()) {
    err << "orvane-report: " << problem << "\n";
    return kBadInput;
  }
  return kWritten;
}

}  // namespace orvane::ui
