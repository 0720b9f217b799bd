// The File menu through its handlers: saving, reopening, the recent list,
// the title and the failure messages.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "ui/cases/case_model.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/main/command_line.hpp"
#include "ui/main/result_panel.hpp"
#include "ui_fixture.hpp"

using orvane::ui::FileDialog;
using orvane::ui::test::Harness;

class FileMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    h = std::make_unique<Harness>();
    QVERIFY(dir.isValid());
  }
  void cleanup() { h.reset(); }

  void untitledSaveAsksNamesAndListsTheFile() {
    h->field("iproj")->setText(QStringLiteral("Leg A, \"north\""));  // still in the field
    FileDialog::setNextFileNames({file("first")});
    h->window->fileSave();
    const QString path = file("first.cys");
    QVERIFY(QFile::exists(path));
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + path + "[*]");
    QCOMPARE(recent(), QStringList{path});
    auto* item = h->window->findChild<QAction*>(QStringLiteral("mnurecentfile1"));
    QVERIFY(item->isVisible());
    QCOMPARE(item->text(), QStringLiteral("1. ") + path);
    QVERIFY(h->window->findChild<QAction*>(QStringLiteral("mnurecentfile0"))->isVisible());
    QVERIFY(!h->window->findChild<QAction*>(QStringLiteral("mnurecentfile2"))->isVisible());

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    f.readLine();
    QCOMPARE(QString::fromLatin1(f.readLine()).trimmed(), QStringLiteral("Leg A, \"north\""));
  }

  void savedProjectComesBackThroughOpenAndNewClearsIt() {
    const QString path = file("leg.cys");
    auto& ps = h->window->state();
    ps.t = 17.5;
    ps.cyltype = 1;
    FileDialog::setNextFileNames({path});
    h->window->fileSave();

    ps.t = 33;
    ps.cyltype = 2;
    h->field("it")->setText(QStringLiteral("33.0"));
    // a named project saves in place, without a dialog, and the list stays
    FileDialog::setNextFileNames({});
    ps.r = 3000;
    h->window->fileSave();
    QCOMPARE(recent(), QStringList{path});

    ps.t = 5;
    ps.r = 1;
    FileDialog::setNextFileNames({path});
    const int runs = h->window->calculationRuns();
    h->window->fileOpen();
    QCOMPARE(ps.t, 33.0);
    QCOMPARE(ps.r, 3000.0f);
    QCOMPARE(h->field("it")->text(), QStringLiteral("33.0"));
    QCOMPARE(h->window->calculationRuns(), runs + 1);
    QCOMPARE(recent(), QStringList{path});  // the open file again
    QCOMPARE(h->window->dialogFolder(), QDir(dir.path()).absolutePath());

    h->window->fileNew();  // back to the defaults, untitled
    QCOMPARE(ps.t, 20.0);
    QCOMPARE(h->field("it")->text(), QStringLiteral("20.0"));
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File[*]"));
  }

  void saveAsUnderAListedNameListsItTwice() {
    const QString a = file("a.cys"), b = file("b.cys");
    FileDialog::setNextFileNames({a, b, a});
    h->window->fileSave();
    h->window->fileSaveAs();
    QCOMPARE(recent(), (QStringList{b, a}));
    h->window->fileSaveAs();
    QCOMPARE(recent(), (QStringList{a, b, a}));
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + a + "[*]");
  }

  void recentItemOpensAndMovesToTheTop() {
    const QString a = file("a.cys"), b = file("b.cys");
    auto& ps = h->window->state();
    ps.t = 11;
    FileDialog::setNextFileNames({a, b});
    h->window->fileSave();
    ps.t = 22;
    h->window->fileSaveAs();
    ps.t = 1;
    h->window->openRecent(2);  // a
    QCOMPARE(ps.t, 11.0);
    QCOMPARE(recent(), (QStringList{a, b}));
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + a + "[*]");
    QVERIFY(h->window->dialogFolder().endsWith(QLatin1Char('/')));
  }

  void missingFilesAndFoldersAreReported() {
    const QString missing = file("none.cys");
    h->window->state().t = 9;
    FileDialog::setNextFileNames({missing});
    h->window->fileOpen();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("can't find file - ") + missing});
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File[*]"));
    QCOMPARE(h->window->state().t, 9.0);

    h->messages.texts.clear();
    const QString nowhere = file("no/such/folder/x.cys");
    FileDialog::setNextFileNames({nowhere});
    h->window->fileSaveAs();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("can't save file - ") + nowhere});
    QCOMPARE(recent(), QStringList());

    // Cancel changes nothing
    FileDialog::setNextFileNames({QString()});
    h->window->fileOpen();
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File[*]"));
  }

  // A file that does not read in full leaves the project, the window and the
  // title as they were and says where it failed; a save that fails says so.
  void failedReadsAndSavesAreReportedAndChangeNothing() {
    const QString path = file("damaged.cys");
    auto& ps = h->window->state();
    ps.t = 17.5;
    FileDialog::setNextFileNames({path});
    h->window->fileSave();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray data = f.readAll();
    f.close();
    QList<QByteArray> lines = data.split('\n');
    lines[11] = "7\r";  // cylinder type
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(lines.join('\n'));
    f.close();

    h->window->fileNew();
    ps.t = 23;
    h->field("it")->setText(QStringLiteral("23.0"));
    const QString title = h->window->windowTitle();
    FileDialog::setNextFileNames({path});
    h->window->fileOpen();
    QCOMPARE(h->messages.texts,
             QStringList{path + QStringLiteral(", line 12: cylinder type (cyltype): 7 is outside 0 "
                                               "to 3")});
    QCOMPARE(ps.t, 23.0);
    QCOMPARE(ps.cyltype, int16_t{2});
    QCOMPARE(h->field("it")->text(), QStringLiteral("23.0"));
    QCOMPARE(h->window->windowTitle(), title);

    // a read-only project is not replaced, and the user is told
    h->messages.texts.clear();
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    FileDialog::setNextFileNames({path});
    h->window->fileSaveAs();
    QCOMPARE(h->messages.texts,
             QStringList{QStringLiteral("can't save file - ") + path +
                         QStringLiteral("\n\nthe file is read-only; it was not replaced")});
    QCOMPARE(h->window->windowTitle(), title);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), lines.join('\n'));
  }

  // A command that drops the project asks first when the project or its
  // load cases differ from the file: Save writes them and goes on, Discard
  // goes on, Cancel or a save that fails leaves everything as it was.
  void commandsThatDropWorkAskFirst_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<orvane::ui::Answer>("answer");
    QTest::addColumn<bool>("saveFails");
    for (const char* c : {"new", "open", "recent", "exit"}) {
      QTest::addRow("%s, save", c) << QString::fromLatin1(c) << orvane::ui::Answer::Save << false;
      QTest::addRow("%s, save fails", c)
          << QString::fromLatin1(c) << orvane::ui::Answer::Save << true;
      QTest::addRow("%s, discard", c)
          << QString::fromLatin1(c) << orvane::ui::Answer::Discard << false;
      QTest::addRow("%s, cancel", c)
          << QString::fromLatin1(c) << orvane::ui::Answer::Cancel << false;
    }
  }
  void commandsThatDropWorkAskFirst() {
    QFETCH(QString, command);
    QFETCH(orvane::ui::Answer, answer);
    QFETCH(bool, saveFails);
    orvane::ProjectState& ps = h->window->state();
    QTemporaryDir own;  // a file of each row's own
    const auto file = [&own](const char* name) { return own.filePath(QLatin1String(name)); };
    h->type("it", QStringLiteral("11"));
    h->leaveTo("iproj");
    FileDialog::setNextFileNames({file("other.cys"), file("work.cys")});
    h->window->fileSave();
    h->window->fileSaveAs();
    QVERIFY(!h->window->isWindowModified());
    h->type("it", QStringLiteral("11.0"));  // the same value again
    h->leaveTo("iproj");
    QVERIFY(!h->window->isWindowModified());
    h->type("it", QStringLiteral("13"));
    h->leaveTo("iproj");
    QVERIFY(h->window->isWindowModified());
    h->type("it", QStringLiteral("11"));
    h->leaveTo("iproj");
    QVERIFY(!h->window->isWindowModified());
    h->window->loadCases().paste(QStringLiteral("a\t-100\n"), 0, 0);
    QVERIFY(h->window->isWindowModified());
    h->type("it", QStringLiteral("13"));
    h->leaveTo("iproj");
    const QString work = file("work.cys");
    QFile saved(work);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    saved.close();
    if (saveFails) QVERIFY(QFile::setPermissions(work, QFileDevice::ReadOwner));

    h->messages.answers = {answer};
    FileDialog::setNextFileNames({file("other.cys")});
    if (command == "new") h->window->fileNew();
    if (command == "open") h->window->fileOpen();
    if (command == "recent") h->window->openRecent(2);
    if (command == "exit") h->window->findChild<QAction*>(QStringLiteral("mnuexit"))->trigger();
    QCOMPARE(h->messages.questions.size(), 1);
    QVERIFY(h->messages.questions[0].contains(work));

    const bool written = answer == orvane::ui::Answer::Save && !saveFails;
    const bool goesOn = written || answer == orvane::ui::Answer::Discard;
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll() != before, written);
    QCOMPARE(QFile::exists(file("work.loads.csv")), written);
    QCOMPARE(h->messages.texts.size(), saveFails ? 1 : 0);  // why the save failed
    if (!goesOn) {
      QCOMPARE(ps.t, 13.0f);
      QCOMPARE(QString::fromStdString(ps.fileName), work);
      QCOMPARE(h->window->loadCases().rowCount(), 1);
      QVERIFY(h->window->isWindowModified());
      QVERIFY(h->window->isVisible());
      return;
    }
    if (command == "exit") {
      QVERIFY(!h->window->isVisible());
      return;
    }
    QVERIFY(!h->window->isWindowModified());
    QCOMPARE(QString::fromStdString(ps.fileName),
             command == "new" ? QStringLiteral("New File") : file("other.cys"));
    QCOMPARE(h->window->loadCases().rowCount(), 0);
  }

  // Unsaved work outlives a crash: the next window offers it once, and Yes
  // restores the same inputs, panels and load cases as unsaved work of the
  // same file; after a save or a clean exit there is nothing to offer.
  void unsavedWorkIsOfferedAfterACrash_data() {
    QTest::addColumn<QString>("end");  // how the first window ended
    QTest::addColumn<orvane::ui::Answer>("answer");
    QTest::newRow("crash, restored") << "crash" << orvane::ui::Answer::Yes;
    QTest::newRow("crash, not restored") << "crash" << orvane::ui::Answer::No;
    QTest::newRow("saved, then crash") << "save" << orvane::ui::Answer::Yes;
    QTest::newRow("closed, discarded") << "close" << orvane::ui::Answer::Yes;
  }
  void unsavedWorkIsOfferedAfterACrash() {
    QFETCH(QString, end);
    QFETCH(orvane::ui::Answer, answer);
    QStandardPaths::setTestModeEnabled(true);
    const QString folder = orvane::ui::MainWindow::defaultRecoveryFolder();
    QDir(folder).removeRecursively();
    const auto kept = [&folder] {
      for (const QFileInfo& d : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFile::exists(d.absoluteFilePath() + QStringLiteral("/recovery.txt"))) return true;
      return false;
    };
    h.reset();  // its recorder goes with it
    h = std::make_unique<Harness>(QLocale::c(), folder);
    FileDialog::setNextFileNames({file("leg.cys")});
    h->window->fileSave();
    QVERIFY(!kept());
    h->type("it", QStringLiteral("13"));
    h->leaveTo("iproj");
    h->type("iproj", QStringLiteral("Leg C"));
    h->leaveTo("it");
    h->window->loadCases().paste(QStringLiteral("storm\t-120\t-30\t15\t-0.1\n"), 0, 0);
    QTRY_VERIFY(kept());
    const Seen before = seen();
    const auto rows = h->window->loadCases().table().rows;
    if (end == "save") h->window->fileSave();
    if (end == "close") h->window->close();  // the recorder answers Discard
    QCOMPARE(kept(), end == "crash");
    h.reset();  // gone without a word

    h = std::make_unique<Harness>(QLocale::c(), folder);
    h->messages.answers = {answer};
    const bool restored = h->window->offerRecovery();
    QCOMPARE(h->messages.questions.size(), end == "crash" ? 1 : 0);
    QCOMPARE(restored, end == "crash" && answer == orvane::ui::Answer::Yes);
    QVERIFY(!kept());  // offered once
    if (restored) {
      const Seen after = seen();
      QCOMPARE(after.title, before.title);
      QCOMPARE(after.fields, before.fields);
      QCOMPARE(after.panels, before.panels);
      QCOMPARE(h->window->loadCases().table().rows.size(), rows.size());
      QCOMPARE(h->window->loadCases().table().rows[0].values, rows[0].values);
      QVERIFY(h->window->isWindowModified());
      QVERIFY(h->messages.texts.isEmpty());
    }
    h.reset();
    QDir(folder).removeRecursively();
  }

  // A project named on the command line (a double click in the file
  // manager) opens exactly as the same file chosen in File > Open would.
  void commandLineNamesTheProject_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("shots");
    const QString cwd = QDir::currentPath();
    QTest::newRow("none") << QStringList{"orvane"} << QString() << QString();
    QTest::newRow("absolute") << QStringList{"orvane", "/p/leg a.cys"} << "/p/leg a.cys"
                              << QString();
    QTest::newRow("relative") << QStringList{"orvane", "sub/../leg.cys"} << cwd + "/leg.cys"
                              << QString();
    QTest::newRow("screenshot folder is no project")
        << QStringList{"orvane", "--screenshot", "out"} << QString() << "out";
    QTest::newRow("project and screenshots")
        << QStringList{"orvane", "--screenshot", "out", "/p/a.cys", "/p/b.cys"} << "/p/a.cys"
        << "out";
    QTest::newRow("options skipped")
        << QStringList{"orvane", "-reverse", "/p/a.cys"} << "/p/a.cys" << QString();
  }
  void commandLineNamesTheProject() {
    QFETCH(QStringList, args);
    QFETCH(QString, project);
    QFETCH(QString, shots);
    const orvane::ui::CommandLine cl = orvane::ui::parseCommandLine(args);
    QCOMPARE(cl.project, project);
    QCOMPARE(cl.screenshotDir, shots);
    QCOMPARE(cl.screenshot, args.contains(QStringLiteral("--screenshot")));
  }

  void fileGivenAtStartOpensAsFileOpen_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // empty: the file does not exist
    QTest::newRow("project") << "given.cys" << QByteArray("saved");
    QTest::newRow("missing") << "none.cys" << QByteArray();
    QTest::newRow("damaged") << "bad.cys" << QByteArray("170\r\nname\r\nid\r\n1\r\nabc\r\n");
  }
  void fileGivenAtStartOpensAsFileOpen() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = dir.filePath(name);
    if (content == "saved") {
      // a project unlike the defaults, saved by the window itself
      auto& ps = h->window->state();
      ps.t = 17.5;
      ps.cyltype = 1;
      ps.projectName = "Leg B";
      h->field("iproj")->setText(QStringLiteral("Leg B"));
      FileDialog::setNextFileNames({path});
      h->window->fileSaveAs();
      fresh();
    } else if (!content.isEmpty()) {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(content);
    }
    h->settings.set("RecentFile1", "/elsewhere/old.cys");

    // the reference: File > Open on a fresh window
    FileDialog::setNextFileNames({path});
    h->window->fileOpen();
    const Seen viaMenu = seen();
    fresh();
    h->settings.set("RecentFile1", "/elsewhere/old.cys");

    h->window->openFile(path);
    const Seen given = seen();
    QCOMPARE(given.messages, viaMenu.messages);
    QCOMPARE(given.title, viaMenu.title);
    QCOMPARE(given.recent, viaMenu.recent);
    QCOMPARE(given.fields, viaMenu.fields);
    QCOMPARE(given.panels, viaMenu.panels);
    QCOMPARE(given.dialogFolder, viaMenu.dialogFolder);
    if (content == "saved") {
      QCOMPARE(h->window->state().t, 17.5);
      QCOMPARE(given.title, QStringLiteral("Orvane DNV: ") + path + "[*]");
      QCOMPARE(given.recent, (QStringList{path, "/elsewhere/old.cys"}));
      QCOMPARE(h->field("iproj")->text(), QStringLiteral("Leg B"));
    } else {
      // a bad file leaves the new project as it was
      QCOMPARE(given.title, QStringLiteral("Orvane DNV: New File[*]"));
      QCOMPARE(h->window->state().t, 20.0);
      QCOMPARE(h->field("it")->text(), QStringLiteral("20.0"));
    }
    if (content.isEmpty())
      QCOMPARE(given.messages, QStringList{QStringLiteral("can't find file - ") + path});
  }

 private:
  // A new window; the old one goes first, with its message recorder.
  void fresh() {
    h.reset();
    h = std::make_unique<Harness>();
  }
  struct Seen {
    QStringList messages, recent, fields, panels;
    QString title, dialogFolder;
  };
  // What the user sees of a window after an open.
  Seen seen() const {
    Seen s;
    s.messages = h->messages.texts;
    s.title = h->window->windowTitle();
    s.recent = recent();
    s.dialogFolder = h->window->dialogFolder();
    for (QLineEdit* f : h->window->findChildren<QLineEdit*>())
      if (!f->objectName().isEmpty()) s.fields << f->objectName() + '=' + f->text();
    s.fields.sort();
    for (const char* name : {"pic30", "Pic31", "pic32"}) {
      orvane::ui::test::TextRecorder rec;
      h->get<orvane::ui::ResultPanel>(name)->replay(rec);
      for (const auto& p : rec.items) s.panels << QString::fromStdString(p.text);
    }
    return s;
  }

  QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
  // The stored recent list, without the empty places after it.
  QStringList recent() const {
    QStringList list;
    for (int i = 1; i <= 4; ++i)
      list << QString::fromStdString(h->settings.get("RecentFile" + std::to_string(i)));
    while (!list.isEmpty() && list.last().isEmpty()) list.removeLast();
    return list;
  }

  std::unique_ptr<Harness> h;
  QTemporaryDir dir;
};

QTEST_MAIN(FileMenuTest)
#include "test_files.moc"
