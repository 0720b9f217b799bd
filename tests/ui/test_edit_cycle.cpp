// The edit cycle around real message boxes and around the commands that use
// the stored values: where the focus comes back and in what state, and that
// a value typed without leaving its field is what is saved, printed, shown
// in a profile window and kept on closing; opening a project while a
// profile window is open gives what the headless check of the file gives.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <sstream>

#include "cli/cli_app.hpp"
#include "cli/result_output.hpp"
#include "files/project_file.hpp"
#include "project/row_engine.hpp"
#include "project/session.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/main/field_table.hpp"
#include "ui/main/forces_dialog.hpp"
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
                           << "Input string mismatch "
                           << "25" << 25.0;
    QTest::newRow("t fullwidth") << "it"
                                 << "2\uFF15"
                                 << "Input string mismatch "
                                 << "25" << 25.0;
    // the spacing tests send the focus back as every other does
    QTest::newRow("l 40") << "il"
                          << "40"
                          << " l >= 50 "
                          << "3000" << 3000.0;
    QTest::newRow("s > r") << "is1"
                           << "4000"
                           << " s  <= r  "
                           << "600" << 600.0;
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
  // The Forces... dialog on the project as the window holds it: its list
  // and, on OK, the stresses typed into Sigx and Tau are those of `orvane-cli
  // batch` of the same one-row force table, the point taken is that of the
  // check with the largest ratio of usage factor to allowable value, and the
  // window then shows that check's usage factor. Cancel changes nothing.
  void forcesEnterTheBatchPoint_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("forces");  // N M1 M2 T Q1 Q2
    QTest::addColumn<bool>("comma");
    QTest::newRow("unstiffened") << 0 << QStringList{"-3000", "2500", "-1200.5", "900", "150", ""}
                                 << false;
    QTest::newRow("ring stiffened")
        << 1 << QStringList{"1000", "", "4000", "-2000", "", "-300"} << true;
    QTest::newRow("stringers") << 2 << QStringList{"-5000", "-800", "3000.25", "", "400", "250"}
                               << false;
    QTest::newRow("stringers, pure N") << 2 << QStringList{"-6000", "", "", "", "", ""} << true;
  }
  void forcesEnterTheBatchPoint() {
    QFETCH(int, type);
    QFETCH(QStringList, forces);
    QFETCH(bool, comma);
    if (comma) h = std::make_unique<Harness>(QLocale(QLocale::German));
    setMode(type);
    h->window->calculate();
    const QString path = file("forces.cys");
    FileDialog::setNextFileNames({path});
    h->window->fileSaveAs();
    const QString loads = file("forces.csv");
    {
      QFile f(loads);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("N,M1,M2,T,Q1,Q2\n" + forces.join(QLatin1Char(',')).toLatin1() + "\n");
    }
    std::ostringstream out, err;
    const int code = orvane::cli::run(
        {"batch", path.toStdString(), loads.toStdString(), "--json", "--data", ORVANE_SHIPPED_DATA},
        out, err);
    QVERIFY2(code == 0 || code == 1, err.str().c_str());
    const auto batch = nlohmann::json::parse(out.str().substr(0, out.str().find('\n')));

    const double sigx = ps().sigx, tau = ps().tau;
    const int runs = h->window->calculationRuns();
    for (const bool ok : {false, true}) {
      QTest::mouseClick(h->get<QPushButton>("cmdforces"), Qt::LeftButton);
      auto* d = h->window->findChild<orvane::ui::ForcesDialog*>(QStringLiteral("forces"));
      QVERIFY(d && d->isVisible());
      const char* names[] = {"forceN", "forceM1", "forceM2", "forceT", "forceQ1", "forceQ2"};
      for (int i = 0; i < 6; ++i) {
        QString text = forces[i];
        if (comma) text.replace(QLatin1Char('.'), QLatin1Char(','));
        d->findChild<QLineEdit*>(QString::fromLatin1(names[i]))->setText(text);
      }
      QVERIFY(d->entry());
      if (!ok) {
        d->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ps().sigx, sigx);
        QCOMPARE(ps().tau, tau);
        QCOMPARE(h->window->calculationRuns(), runs);
        continue;
      }
      // the dialog lists each shown check as the batch reports it
      const auto* list = d->findChild<QTableWidget*>(QStringLiteral("points"));
      QCOMPARE(list->rowCount(), static_cast<int>(d->entry()->checks.size()));
      std::string governing;
      double most = -1;
      for (int row = 0; row < list->rowCount(); ++row) {
        const orvane::CheckId id = d->entry()->checks[static_cast<size_t>(row)];
        QCOMPARE(list->item(row, 0)->text(), QString::fromLatin1(orvane::checkCaption(id)));
        const std::string check = orvane::checkName(id);
        QVERIFY2(batch.contains(check) && !batch[check].is_null(), check.c_str());
        const auto& want = batch[check];
        const orvane::GoverningPoint& p = d->entry()->points[static_cast<size_t>(id)];
        QCOMPARE(p.theta, want["theta"].get<double>());
        QCOMPARE(p.sigx, want["sigx"].get<double>());
        QCOMPARE(p.tau, want["tau"].get<double>());
        QCOMPARE(d->entry()->outcome[id].uf, want["uf"].get<double>());
        const double ratio = want["uf"].get<double>() / want["allow"].get<double>();
        if (ratio > most) {
          most = ratio;
          governing = check;
        }
      }
      const orvane::ForcesEntry entry = *d->entry();
      d->accept();
      QCOMPARE(ps().sigx, batch[governing]["sigx"].get<double>());
      QCOMPARE(ps().tau, batch[governing]["tau"].get<double>());
      QVERIFY(h->window->lastRunComplete());
      const auto shown = orvane::outcomeOf(ps(), h->window->lastFault());
      QString caption;
      for (const orvane::CheckId id : entry.checks) {
        if (orvane::checkName(id) != governing) continue;
        caption = QString::fromLatin1(orvane::checkCaption(id));
        QCOMPARE(shown[id].uf, batch[governing]["uf"].get<double>());
      }
      QVERIFY(!caption.isEmpty());
      QVERIFY2(h->window->notice().startsWith(QStringLiteral("Forces: Sigx and Tau at theta = ")),
               qPrintable(h->window->notice()));
      QVERIFY2(h->window->notice().endsWith(QStringLiteral("(governing point, %1)").arg(caption)),
               qPrintable(h->window->notice()));
      QVERIFY(h->messages.texts.isEmpty());
    }
    // a fixed angle: the window stores and shows what the dialog listed
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mouseClick(h->get<QPushButton>("cmdforces"), Qt::LeftButton);
    auto* d = h->window->findChild<orvane::ui::ForcesDialog*>(QStringLiteral("forces"));
    QVERIFY(d && d->isVisible());
    const char* names[] = {"forceN", "forceM1", "forceM2", "forceT", "forceQ1", "forceQ2"};
    for (int i = 0; i < 6; ++i)
      d->findChild<QLineEdit*>(QString::fromLatin1(names[i]))
          ->setText(QString(forces[i]).replace(QLatin1Char('.'), comma ? u',' : u'.'));
    d->findChild<QRadioButton*>(QStringLiteral("fixed"))->setChecked(true);
    d->findChild<QLineEdit*>(QStringLiteral("theta"))
        ->setText(comma ? QStringLiteral("30,5") : QStringLiteral("30.5"));
    QVERIFY(d->entry() && d->entry()->fixed);
    const orvane::ForcesEntry entry = *d->entry();
    QCOMPARE(entry.chosen.theta, 30.5);
    d->accept();
    QCOMPARE(ps().sigx, entry.chosen.sigx);
    QCOMPARE(static_cast<double>(ps().tau), entry.chosen.tau);
    const auto shown = orvane::outcomeOf(ps(), h->window->lastFault());
    for (const orvane::CheckId id : entry.checks) QCOMPARE(shown[id].uf, entry.outcome[id].uf);
    QCOMPARE(h->window->notice(),
             comma ? QStringLiteral("Forces: Sigx and Tau at theta = 30,5 deg (fixed angle)")
                   : QStringLiteral("Forces: Sigx and Tau at theta = 30.5 deg (fixed angle)"));
    // the column mode keeps its own loads
    setMode(3);
    QVERIFY(!h->get<QPushButton>("cmdforces")->isVisibleTo(h->window.get()));
  }
};

QTEST_MAIN(EditCycleTest)
#include "test_edit_cycle.moc"
