// orvane-report: the printed report of a project file as a PDF, without a
// display.
#include <QApplication>
#include <QTextStream>
#include <string>
#include <vector>

#include "ui/common/ui_font.hpp"
#include "ui/report/report_command.hpp"

namespace {

// Qt's note that XDG_RUNTIME_DIR is not set says nothing about the report:
// left out; every other message passes on.
QtMessageHandler qtDefault = nullptr;
void filterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (qtDefault) qtDefault(type, context, text);
}

}  // namespace

int main(int argc, char* argv[]) {
  qtDefault = qInstallMessageHandler(filterMessages);
  // The report needs fonts and widget painting but never a window.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  orvane::ui::useUiFont();  // the sketches' labels
  QTextStream out(stdout);
  QTextStream err(stderr);
  // the arguments as bytes: a file name that is not UTF-8 still names its file
  return orvane::ui::runReportCommand(std::vector<std::string>(argv + 1, argv + argc), out, err);
}
