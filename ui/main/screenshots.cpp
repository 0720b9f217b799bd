#include "ui/main/screenshots.hpp"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <iterator>

#include "ui/cases/cases_window.hpp"
#include "ui/main/main_window.hpp"
#include "ui/sheet/sheet_window.hpp"
#include "ui/study/study_window.hpp"

namespace orvane::ui {

bool saveModeScreenshots(MainWindow& window, const QString& folder) {
  QDir().mkpath(folder);
  const QDir dir(folder);
  bool ok = true;
  for (int type = 0; type < 4; ++type) {
    window.state().cyltype = static_cast<int16_t>(type);
    window.calculate();
    window.refreshWindow();
    QApplication::processEvents();
    ok = window.grab().save(dir.filePath(QStringLiteral("mode%1.png").arg(type))) && ok;
  }
  // the other windows as they open, and where they open on the screen
  window.showSheet();
  QWidget* const others[] = {window.openLoadCases(), StudyWindow::open(window),
                             window.sheetWindow()};
  const char* const names[] = {"cases.png", "study.png", "sheet.png"};
  QApplication::processEvents();
  const QRect free = window.screen()->availableGeometry();
  QPixmap screen(free.size());
  screen.fill(QColor(60, 60, 60));
  QPainter p(&screen);
  p.drawPixmap(window.geometry().topLeft() - free.topLeft(), window.grab());
  for (size_t i = 0; i < std::size(others); ++i) {
    const QPixmap shot = others[i]->grab();
    ok = shot.save(dir.filePath(QString::fromLatin1(names[i]))) && ok;
    p.drawPixmap(others[i]->geometry().topLeft() - free.topLeft(), shot);
    p.setPen(QPen(Qt::red, 2));
    p.drawRect(others[i]->frameGeometry().translated(-free.topLeft()));
  }
  p.end();
  ok = screen.save(dir.filePath(QStringLiteral("screen.png"))) && ok;
  for (QWidget* w : others) w->close();
  return ok;
}

}  // namespace orvane::ui
