#include "ui/main/screenshots.hpp"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "ui/main/main_window.hpp"

namespace orvane::ui {

bool saveModeScreenshots(MainWindow& window, const QString& folder) {
  QDir().mkpath(folder);
  bool ok = true;
  for (int type = 0; type < 4; ++type) {
    window.state().cyltype = static_cast<int16_t>(type);
    window.calculate();
    window.refreshWindow();
    QApplication::processEvents();
    ok = window.grab().save(QDir(folder).filePath(QStringLiteral("mode%1.png").arg(type))) && ok;
  }
  return ok;
}

}  // namespace orvane::ui
