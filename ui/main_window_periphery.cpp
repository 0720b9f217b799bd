// The Analysis, Print and Help menus and the two picture buttons: design
// study, report, help, theory manual, about and the explanatory picture
// windows.
#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QPushButton>
#include <QUrl>

#include "ui/about_window.hpp"
#include "ui/help_window.hpp"
#include "ui/info_windows.hpp"
#include "ui/main_window.hpp"
#include "ui/print_dialog.hpp"
#include "ui/study/study_window.hpp"

namespace orvane::ui {

void connectPeriphery(MainWindow& w) {
  auto action = [&w](const char* name, auto&& handler) {
    if (QAction* a = w.findChild<QAction*>(QString::fromLatin1(name)))
      QObject::connect(a, &QAction::triggered, &w, handler);
  };
  auto button = [&w](const char* name, auto&& handler) {
    if (auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name)))
      QObject::connect(b, &QPushButton::clicked, &w, handler);
  };
  action("mnustudy", [&w] {
    // the study starts from what the fields show
    w.finishFieldEdit();
    StudyWindow::open(w);
  });
  action("mnuprint", [&w] {
    if (w.finishFieldEdit()) printProject(&w, w.state(), runPrintDialog, w.reportOptions());
  });
  action("mnuhelpcont", [&w] { HelpWindow::open(HelpWindow::Page::Contents, &w); });
  action("mnuindex", [&w] { HelpWindow::open(HelpWindow::Page::Index, &w); });
  action("mnuhelpsearch", [&w] { HelpWindow::open(HelpWindow::Page::Search, &w); });
  action("mnuTheory", [] {
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/Documentation/Orvane DNV Theory Manual.pdf")));
  });
  action("mnuabout", [&w] { AboutWindow::open(&w); });
  button("Picture", [&w] { InfoWindow::open(InfoWindow::Kind::RingFrames, &w); });
  button("cmd_wsd", [&w] { InfoWindow::open(InfoWindow::Kind::UsageFactors, &w); });
}

}  // namespace orvane::ui
