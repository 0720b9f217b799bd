// Edit > Undo and Redo of the main window: each step undone gives the
// project and the window of the opened file, and redone those of the step.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>
#include <functional>

#include "files/project_file.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/main/result_panel.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui_fixture.hpp"

using orvane::Member;
using orvane::ui::MainWindow;
using orvane::ui::ProfileWindow;
using orvane::ui::test::Harness;

class UndoTest final : public QObject {
  Q_OBJECT

  QTemporaryDir dir;
  QString start;

  // The project file's text, every field and label the window shows (not
  // the status line's notice) and every line the panels draw.
  static QStringList shown(const Harness& h) {
    QStringList all;
    const auto& ps = h.window->state();
    const auto text = orvane::projectFileText(ps, ps.fileName);
    all << QString::fromStdString(text ? text.value() : text.error().message);
    for (const auto* e : h.window->findChildren<QLineEdit*>())
      if (e->isVisibleTo(h.window.get())) all << e->objectName() + QLatin1Char('=') + e->text();
    for (const auto* l : h.window->findChildren<QLabel*>())
      if (l->isVisibleTo(h.window.get()) && !l->objectName().isEmpty() &&
          l->objectName() != QLatin1String("statusnote"))
        all << l->objectName() + QLatin1Char('=') + l->text();
    for (const char* panel : {"pic30", "Pic31", "pic32"}) {
      orvane::ui::test::TextRecorder r;
      h.get<orvane::ui::ResultPanel>(panel)->replay(r);
      for (const auto& p : r.items) all << QString::fromStdString(p.text);
    }
    return all;
  }
  static ProfileWindow* profile(Harness& h, Member member, int type) {
    h.window->openProfileWindow(member, type);
    auto* w =
        orvane::ui::findProfileWindow(h.window.get(), orvane::ui::profileForm(member, type)->name);
    if (w && QApplication::activeWindow() != w) QApplication::setActiveWindow(w);
    return w;
  }

 private slots:
  void initTestCase() {
    // the start: WSD with its own usage factor, a heavy ring frame
    Harness h;
    QVERIFY(h.window->typeInputs({"wsd=1", "ufb=0.9", "hring_ch=1"}).isEmpty());
    start = dir.filePath(QStringLiteral("start.cys"));
    orvane::ui::FileDialog::setNextFileNames({start});
    QVERIFY(h.window->saveProject());
  }

  void stepUndoneAndRedone_data() {
    QTest::addColumn<std::function<void(Harness&)>>("step");
    QTest::addColumn<QString>("named");
    auto row = [](const char* name, const char* named, std::function<void(Harness&)> step) {
      QTest::newRow(name) << step << QString::fromLatin1(named);
    };
    row("typed t", "Undo Shell thickness t", [](Harness& h) {
      h.type("it", QStringLiteral("14"));
      h.leaveTo("ie");
    });
    row("cylinder type", "", [](Harness& h) { h.get<QAbstractButton>("cylinder3")->click(); });
    row("LRFD sets ufb", "", [](Harness& h) { h.get<QAbstractButton>("opt_lrfd")->click(); });
    row("ring_ch off clears hring_ch", "",
        [](Harness& h) { h.get<QAbstractButton>("ring_ch")->click(); });
    row("material row", "", [](Harness& h) { emit h.get<QComboBox>("cbofyp")->activated(0); });
    row("profile row", "", [](Harness& h) {
      ProfileWindow* w = profile(h, Member::Stiffener, 0);
      emit w->findChild<QComboBox*>(QStringLiteral("cbo"))->activated(5);
    });
    row("built-up dimension", "", [](Harness& h) {
      ProfileWindow* w = profile(h, Member::Stiffener, 3);
      auto* e = w->findChild<QLineEdit*>(QStringLiteral("isth"));
      e->setFocus(Qt::TabFocusReason);
      QTest::keyClicks(e, QStringLiteral("300"));
      w->findChild<QLineEdit*>(QStringLiteral("istb"))->setFocus(Qt::TabFocusReason);
    });
    row("Apply", "", [](Harness& h) {
      QVERIFY(h.window->typeInputs({"cbostiff=2", "t=12", "sigx=-80", "L=9000"}).isEmpty());
    });
  }

  void stepUndoneAndRedone() {
    QFETCH(std::function<void(Harness&)>, step);
    QFETCH(QString, named);
    Harness h;
    h.window->openFile(start);
    const QStringList opened = shown(h);
    QUndoStack& stack = *h.window->undoStack();
    QCOMPARE(stack.count(), 0);

    step(h);
    QCoreApplication::processEvents();
    orvane::ui::closeProfileWindows(h.window.get());
    QCoreApplication::processEvents();
    const QStringList stepped = shown(h);
    QVERIFY(stepped != opened);
    QCOMPARE(stack.count(), 1);  // one step, whatever its rules and runs
    QVERIFY(h.window->isWindowModified());
    if (!named.isEmpty())
      QCOMPARE(h.window->findChild<QAction*>(QStringLiteral("mnuundo"))->text(),
               QString(named).insert(0, QLatin1Char('&')));

    h.window->undoStep();
    QCoreApplication::processEvents();
    QCOMPARE(shown(h), opened);
    QVERIFY(!h.window->isWindowModified());
    QCOMPARE(stack.count(), 1);  // undoing is no step of its own
    h.window->redoStep();
    QCoreApplication::processEvents();
    QCOMPARE(shown(h), stepped);
    QVERIFY(h.window->isWindowModified());
  }

  void nothingChangedPushesNothingAndOpenClears() {
    Harness h;
    h.window->openFile(start);
    h.type("it", h.field("it")->text());
    h.leaveTo("ie");
    h.get<QAbstractButton>("cylinder2")->click();  // already the type
    QCoreApplication::processEvents();
    QCOMPARE(h.window->undoStack()->count(), 0);
    h.type("it", QStringLiteral("15"));
    h.leaveTo("ie");
    QCoreApplication::processEvents();
    QCOMPARE(h.window->undoStack()->count(), 1);
    h.window->openFile(start);  // the recorder answers Discard
    QCOMPARE(h.window->undoStack()->count(), 0);
  }

  void ctrlZInAFieldBeingEditedUndoesItsTextFirst() {
    Harness h;
    h.window->openFile(start);
    const QString opened = h.field("it")->text();
    h.type("it", QStringLiteral("15"));
    h.leaveTo("ie");
    QCoreApplication::processEvents();
    const QString stored = h.field("it")->text();
    h.field("ie")->setFocus(Qt::TabFocusReason);
    const QString e = h.field("ie")->text();
    QTest::keyClicks(h.field("ie"), QStringLiteral("9"));
    QTest::keySequence(h.field("ie"), QKeySequence::Undo);
    QCOMPARE(h.field("ie")->text(), e);       // the field's own text
    QCOMPARE(h.field("it")->text(), stored);  // not the last step
    QTest::keySequence(h.field("ie"), QKeySequence::Undo);
    QCOMPARE(h.field("it")->text(), opened);
  }
};

QTEST_MAIN(UndoTest)
#include "test_undo.moc"
