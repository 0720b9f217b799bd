#include "ui/main/command_line.hpp"

#include <QDir>
#include <QFileInfo>

namespace orvane::ui {

CommandLine parseCommandLine(const QStringList& args) {
  CommandLine cl;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--screenshot")) {
      cl.screenshot = true;
      if (i + 1 < args.size()) cl.screenshotDir = args[++i];
    } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
      // options of Qt itself (-style, -platform ...) are taken by QApplication
    } else if (cl.project.isEmpty() && !a.isEmpty()) {
      // the recent list and the title hold full paths, as the Open dialog gives them
      cl.project = QDir::cleanPath(QFileInfo(a).absoluteFilePath());
    }
  }
  return cl;
}

}  // namespace orvane::ui
