// The desktop program: the main window on the new-project defaults.
//
//   orvane                      start normally
//   orvane --screenshot DIR     write the four cylinder types as PNG files
//                               into DIR and end (documentation, checks)
#include <QApplication>
#include <QDir>

#include "ui/main_window.hpp"
#include "ui/screenshots.hpp"
#include "ui/ui_font.hpp"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane DNV"));
  orvane::ui::useUiFont();
  const QStringList args = QApplication::arguments();
  const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));

  orvane::ui::MainWindow window;
  window.show();
  if (shot >= 0) {
    const QString dir = shot + 1 < args.size() ? args[shot + 1] : QDir::currentPath();
    return orvane::ui::saveModeScreenshots(window, dir) ? 0 : 1;
  }
  return QApplication::exec();
}
