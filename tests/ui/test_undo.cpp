// Edit > Undo and Redo of the main window and of the Load cases table: each
// step undone gives the project, the cases and the window of the opened
// file, unmodified, and redone those of the step; a save makes the step's
// state the unmodified one.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>
#include <functional>

#include "files/project_file.hpp"
#include "ui/cases/case_history.hpp"
#include "ui/cases/case_model.hpp"
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
    const orvane::cases::CaseTable& cases = h.window->loadCases().table();
    for (const std::string& c : cases.columns) all << QString::fromStdString(c);
    for (const orvane::cases::CaseRow& row : cases.rows) {
      all << QString::fromStdString(row.name);
      for (const std::string& v : row.values) all << QString::fromStdString(v);
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
    // the start: WSD with its own usage factor, a heavy ring frame, a load case
    Harness h;
    QVERIFY(h.window->typeInputs({"wsd=1", "ufb=0.9", "hring_ch=1"}).isEmpty());
    QCOMPARE(h.window->loadCases().paste(QStringLiteral("storm\t-120\t-30\t15\t-0.1\n"), 0, 0), 1);
    start = dir.filePath(QStringLiteral("start.cys"));
    orvane::ui::FileDialog::setNextFileNames({start});
    QVERIFY(h.window->saveProject());
  }

  void stepUndoneAndRedone_data() {
    QTest::addColumn<std::function<void(Harness&)>>("step");
    QTest::addColumn<QString>("named");
    QTest::addColumn<bool>("table");  // a step of the Load cases table
    auto row = [](const char* name, const char* named, std::function<void(Harness&)> step,
                  bool table = false) {
      QTest::newRow(name) << step << QString::fromLatin1(named) << table;
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
    row(
        "load case typed", "",
        [](Harness& h) {
          auto& cases = h.window->loadCases();
          QVERIFY(cases.setData(cases.index(0, 1), QStringLiteral("-200")));
        },
        true);
    row(
        "load case pasted", "",
        [](Harness& h) {
          QCOMPARE(h.window->loadCases().paste(QStringLiteral("calm\t-50\n"), 1, 0), 1);
        },
        true);
  }

  void stepUndoneAndRedone() {
    QFETCH(std::function<void(Harness&)>, step);
    QFETCH(QString, named);
    QFETCH(bool, table);
    Harness h;
    h.window->openFile(start);
    const QStringList opened = shown(h);
    orvane::cases::CaseHistory& cases = h.window->loadCases().history();
    QUndoStack& stack = table ? *cases.stack() : *h.window->undoStack();
    QCOMPARE(stack.count(), 0);
    const auto undo = [&] {
      table ? cases.undo() : h.window->undoStep();
      QCoreApplication::processEvents();
    };
    const auto redo = [&] {
      table ? cases.redo() : h.window->redoStep();
      QCoreApplication::processEvents();
    };

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

    undo();
    QCOMPARE(shown(h), opened);
    QVERIFY(!h.window->isWindowModified());
    QCOMPARE(stack.count(), 1);  // undoing is no step of its own
    redo();
    QCOMPARE(shown(h), stepped);
    QVERIFY(h.window->isWindowModified());

    // saved, the step's state is the unmodified one
    orvane::ui::FileDialog::setNextFileNames(
        {dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".cys"))});
    h.window->fileSaveAs();
    QVERIFY(!h.window->isWindowModified());
    undo();
    QVERIFY(h.window->isWindowModified());
    redo();
    QVERIFY(!h.window->isWindowModified());
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
