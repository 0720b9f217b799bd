// The edit cycle around real message boxes and around the commands that use
// the stored values: where the focus comes back and in what state, and that
// a value typed without leaving its field is what is saved, printed, shown
// in a profile window and kept on closing; opening a project while a
// profile window is open gives what the headless check of the file gives.
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <sstream>

#include "cli/cli_app.hpp"
#include "cli/result_output.hpp"
#include "files/project_file.hpp"
#include "project/session.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/main/field_table.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui_fixture.hpp"

using orvane::ProjectState;
using orvane::ui::FileDialog;
using orvane::ui::test::Harness;
using orvane::ui::test::RealBoxes;

class EditCycleTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;
  QTemporaryDir dir;

  ProjectState& ps() { return h->window->state(); }
  QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  // Tab out of the focused control, as a user would, and wait until the
  // boxes it opens are answered.
  static void tab(RealBoxes& boxes, int expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(boxes.texts.size(), expected);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    // the window is active again (a busy machine takes its time) and the
    // focus has settled
    QTRY_VERIFY(QApplication::activeWindow() && QApplication::focusWidget());
    QTest::qWait(50);
  }
  // The field has the focus in its got-focus state: colour, whole text selected.
  void verifyEditing(const char* name) {
    QCOMPARE(h->focused(), QString::fromLatin1(name));
    QVERIFY(h->focusColour(name));
    QCOMPARE(h->field(name)->selectedText(), h->field(name)->text());
  }
  void setMode(int type) {
    ps().cyltype = static_cast<int16_t>(type);
    h->window->refreshWindow();
  }

 private slots:
  void init() {
    h = std::make_unique<Harness>();
    QVERIFY(dir.isValid());
  }
  void cleanup() { h.reset(); }

  void startUpShowsTheFocusedFieldInItsFocusColour() {
    QCOMPARE(h->focused(), QStringLiteral("iproj"));
    QVERIFY(h->focusColour("iproj"));
  }

  // After a warning the focus comes back with the text selected, so that
  // what is typed next replaces the bad value instead of being appended.
  void aCorrectionAfterARealWarningReplacesTheBadValue_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("bad");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("good");
    QTest::addColumn<double>("stored");
    QTest::newRow("L 40") << "icyll"
                          << "40"
                          << " L >= 50  "
                          << "6000" << 6000.0;
    QTest::newRow("t abc") << "it"
                           << "abc"
                           << " 0.1 <= t "
                           << "25" << 25.0;
    QTest::newRow("t beyond a double") << "it"
                                       << "1e400"
                                       << " 0.1 <= t "
                                       << "25" << 25.0;
    QTest::newRow("sigx beyond a single") << "isigx"
                                          << "1e39"
                                          << " -3.4E+38 <= value <= 3.4E+38 "
                                          << "-80" << -80.0;
  }
  void aCorrectionAfterARealWarningReplacesTheBadValue() {
    QFETCH(QString, field);
    QFETCH(QString, bad);
    QFETCH(QString, warning);
    QFETCH(QString, good);
    QFETCH(double, stored);
    const QByteArray name = field.toLatin1();
    setMode(2);
    RealBoxes boxes;
    h->type(name.constData(), bad);
    tab(boxes, 1);
    QCOMPARE(boxes.texts, QStringList{warning});
    verifyEditing(name.constData());
    QTest::keyClicks(h->field(name.constData()), good);
    tab(boxes, 1);
    QCOMPARE(orvane::inputDef(orvane::ui::findField(name.constData())->input).get(ps()), stored);
  }

  // A warning that leaves the focus where the user went: that field gets its
  // got-focus steps once the box has closed.
  void theFieldTabbedToIsEditedAfterAWarningThatStays() {
    setMode(2);
    RealBoxes boxes;
    h->type("is1", QStringLiteral("4000"));
    tab(boxes, 1);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral(" s  <= r  ")});
    verifyEditing("ilt");
  }

  // A value typed without leaving the field is stored before each command
  // that uses the project.
  void commandsFinishTheFieldBeingEdited_data() {
    QTest::addColumn<QString>("command");
    for (const char* c : {"save", "save as", "print", "profile window", "close"})
      QTest::newRow(c) << QString::fromLatin1(c);
  }
  void commandsFinishTheFieldBeingEdited() {
    QFETCH(QString, command);
    // the print dialog is cancelled; closing asks to save, and the recorder
    // answers Discard
    std::optional<RealBoxes> boxes;
    if (command != "close") boxes.emplace();
    h->type("it", QStringLiteral("7.5"));
    const int before = h->window->calculationRuns();
    const QString path = file("typed.cys");
    FileDialog::setNextFileNames({path});
    if (command == "save") h->window->findChild<QAction*>(QStringLiteral("mnusave"))->trigger();
    if (command == "save as")
      h->window->findChild<QAction*>(QStringLiteral("mnusaveas"))->trigger();
    if (command == "print") h->window->findChild<QAction*>(QStringLiteral("mnuprint"))->trigger();
    if (command == "profile window") h->window->openProfileWindow(orvane::Member::Stiffener, 3);
    if (command == "close") h->window->close();
    QCOMPARE(ps().t, 7.5);
    QCOMPARE(h->window->calculationRuns(), before + 1);
    QVERIFY(!boxes || boxes->texts.isEmpty());
    QCOMPARE(h->messages.questions.size(), command == "close" ? 1 : 0);
    if (command.startsWith("save")) {
      ProjectState read;
      orvane::RecordingEvents ev;
      QVERIFY(orvane::Session(read, ev).startUp(ORVANE_SHIPPED_DATA).empty());
      QVERIFY(orvane::readProject(read, path.toStdString()).ok());
      QCOMPARE(read.t, 7.5);
      // the field is still being edited
      verifyEditing("it");
    }
  }

  // A text that is not a number is not saved as if it were the old value.
  void saveStopsAtAMismatch() {
    h.reset();
    h = std::make_unique<Harness>(QLocale(QLocale::German, QLocale::Germany));
    h->type("it", QStringLiteral("abc"));
    FileDialog::setNextFileNames({file("mismatch.cys")});
    h->window->fileSave();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("Input string mismatch ")});
    QVERIFY(!QFile::exists(file("mismatch.cys")));
    QCOMPARE(FileDialog::pendingFileNames(), 1);
    FileDialog::setNextFileNames({});
  }

  // Opening a project while a built-up profile window shows other values:
  // the window's close steps must not reach the project read.
  void openingWithAProfileWindowOpenGivesTheHeadlessCheck() {
    setMode(2);
    ps().cbostiff = 3;
    ps().stiffBuilt.tb = {300, 120, 10, 14};
    h->window->refreshWindow();
    h->window->calculate();
    const QString path = file("built.cys");
    FileDialog::setNextFileNames({path});
    h->window->fileSave();

    h->window->fileNew();
    setMode(2);
    h->window->openProfileWindow(orvane::Member::Stiffener, 3);
    auto* w = orvane::ui::findProfileWindow(h->window.get(), "stifftb");
    QVERIFY(w);
    QApplication::setActiveWindow(w);
    auto* height = w->findChild<QLineEdit*>(QStringLiteral("isth"));
    height->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(height, QStringLiteral("150"));  // typed, still in the field

    FileDialog::setNextFileNames({path});
    h->window->fileOpen();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!orvane::ui::findProfileWindow(h->window.get(), "stifftb"));
    QCOMPARE(ps().stiffBuilt.tb.h, 300.0);

    std::ostringstream out, err;
    const int code = orvane::cli::run(
        {"check", path.toStdString(), "--json", "--data", ORVANE_SHIPPED_DATA}, out, err);
    QVERIFY2(code == 0 || code == 1, err.str().c_str());
    const auto cli = nlohmann::json::parse(out.str());
    const auto shown = orvane::cli::resultJson(ps(), {});
    for (const char* key : {"tables", "proportion", "values"})
      QVERIFY2(cli[key] == shown[key], key);
  }
};

QTEST_MAIN(EditCycleTest)
#include "test_edit_cycle.moc"
