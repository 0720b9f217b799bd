// orvane-report: the printed report of a project file as a PDF, without a
// display.
#include <QApplication>
#include <QTextStream>

#include "ui/report_command.hpp"
#include "ui/ui_font.hpp"

int main(int argc, char* argv[]) {
  // The report needs fonts and widget painting but never a window.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  orvane::ui::useUiFont();  // the sketches' labels
  QTextStream out(stdout);
  QTextStream err(stderr);
  return orvane::ui::runReportCommand(app.arguments().mid(1), out, err);
}
