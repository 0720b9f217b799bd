// The desktop program: the main window on the new-project defaults, or on
// the project named on the command line.
//
//   orvane                      start normally
//   orvane FILE.cys             start and open FILE as File > Open does
//   orvane --screenshot DIR     write the four cylinder types as PNG files
//                               into DIR and end (documentation, checks)
#include <QApplication>
#include <QDir>

#include "ui/common/ui_font.hpp"
#include "ui/main/command_line.hpp"
#include "ui/main/main_window.hpp"
#include "ui/main/screenshots.hpp"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane DNV"));
  orvane::ui::useUiFont();
  const orvane::ui::CommandLine cl = orvane::ui::parseCommandLine(QApplication::arguments());

  orvane::ui::WindowOptions options;
  if (!cl.screenshot) options.recoveryFolder = orvane::ui::MainWindow::defaultRecoveryFolder();
  orvane::ui::MainWindow window(options);
  window.show();
  // work a crash left behind comes first; restored, it is what the window holds
  const bool restored = !cl.screenshot && window.offerRecovery();
  if (!cl.project.isEmpty() && !restored) window.openFile(cl.project);
  if (cl.screenshot) {
    const QString dir = cl.screenshotDir.isEmpty() ? QDir::currentPath() : cl.screenshotDir;
    return orvane::ui::saveModeScreenshots(window, dir) ? 0 : 1;
  }
  return QApplication::exec();
}
