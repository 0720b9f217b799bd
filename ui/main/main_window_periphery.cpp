// The Analysis, Print and Help menus and the two picture buttons: design
// study, the rule options, report, help, theory manual, about and the
// explanatory picture windows.
#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>

#include "ui/main/about_window.hpp"
#include "ui/main/help_window.hpp"
#include "ui/main/info_windows.hpp"
#include "ui/main/main_window.hpp"
#include "ui/report/print_dialog.hpp"
#include "ui/study/study_window.hpp"

namespace orvane::ui {

namespace {

// Analysis > the project's rule options (core/rule_notes.hpp), kept beside
// the project file on Save: a checked item stores its option and runs the
// calculation, so that the panels, the summary and the report judge by it;
// every run sets the items from the project (after New and Open too).
void connectRuleOptions(MainWindow& w) {
  auto* analysis = w.findChild<QMenu*>(QStringLiteral("mnuanalysis"));
  if (!analysis) return;
  analysis->addSeparator();
  auto item = [&](const char* name, const QString& text, bool ProjectNumbers::*option) {
    QAction* a = analysis->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(true);
    a->setChecked(w.state().*option);
    QObject::connect(a, &QAction::toggled, &w, [&w, option](bool on) {
      if (w.state().*option == on) return;
      w.state().*option = on;
      w.calculate();
    });
    QObject::connect(&w, &MainWindow::projectCalculated, a, [&w, a, option] {
      const QSignalBlocker quiet(a);
      a->setChecked(w.state().*option);
    });
  };
  item("mnurulesconservative", QStringLiteral("Judge by the more &conservative rules"),
       &ProjectNumbers::conservativeRules);
  item("mnuendsclosed", QStringLiteral("Cylinder &ends closed (end-cap stress in the rule notes)"),
       &ProjectNumbers::closedEnds);
}

}  // namespace

void connectPeriphery(MainWindow& w) {
  connectRuleOptions(w);
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
