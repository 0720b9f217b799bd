// The File menu through its handlers: saving, reopening, the recent list,
// the title and the failure messages.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ui/file_dialog.hpp"
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
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + path);
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
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File"));
  }

  void saveAsUnderAListedNameListsItTwice() {
    const QString a = file("a.cys"), b = file("b.cys");
    FileDialog::setNextFileNames({a, b, a});
    h->window->fileSave();
    h->window->fileSaveAs();
    QCOMPARE(recent(), (QStringList{b, a}));
    h->window->fileSaveAs();
    QCOMPARE(recent(), (QStringList{a, b, a}));
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + a);
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
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + a);
    QVERIFY(h->window->dialogFolder().endsWith(QLatin1Char('/')));
  }

  void missingFilesAndFoldersAreReported() {
    const QString missing = file("none.cys");
    h->window->state().t = 9;
    FileDialog::setNextFileNames({missing});
    h->window->fileOpen();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("can't find file - ") + missing});
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File"));
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
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File"));
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

 private:
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
