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
    FileDialog::setNextFileNames({dir.filePath(QStringLiteral("first"))});
    h->window->fileSave();
    const QString path = dir.filePath(QStringLiteral("first.cys"));
    QVERIFY(QFile::exists(path));
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + path);
    QCOMPARE(h->settings.get("RecentFile1"), path.toStdString());
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

  void savedProjectComesBackThroughOpen() {
    const QString path = dir.filePath(QStringLiteral("leg.cys"));
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
    QCOMPARE(h->settings.get("RecentFile2"), std::string());

    ps.t = 5;
    ps.r = 1;
    FileDialog::setNextFileNames({path});
    const int runs = h->window->calculationRuns();
    h->window->fileOpen();
    QCOMPARE(ps.t, 33.0);
    QCOMPARE(ps.r, 3000.0f);
    QCOMPARE(h->field("it")->text(), QStringLiteral("33.0"));
    QCOMPARE(h->window->calculationRuns(), runs + 1);
    QCOMPARE(h->settings.get("RecentFile2"), std::string());  // the open file again
    QCOMPARE(h->window->dialogFolder(), QDir(dir.path()).absolutePath());
  }

  void saveAsUnderAListedNameListsItTwice() {
    const QString a = dir.filePath(QStringLiteral("a.cys"));
    const QString b = dir.filePath(QStringLiteral("b.cys"));
    FileDialog::setNextFileNames({a, b, a});
    h->window->fileSave();
    h->window->fileSaveAs();
    QCOMPARE(h->settings.get("RecentFile1"), b.toStdString());
    QCOMPARE(h->settings.get("RecentFile2"), a.toStdString());
    h->window->fileSaveAs();
    QCOMPARE(h->settings.get("RecentFile1"), a.toStdString());
    QCOMPARE(h->settings.get("RecentFile2"), b.toStdString());
    QCOMPARE(h->settings.get("RecentFile3"), a.toStdString());
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + a);
  }

  void recentItemOpensAndMovesToTheTop() {
    const QString a = dir.filePath(QStringLiteral("a.cys"));
    const QString b = dir.filePath(QStringLiteral("b.cys"));
    auto& ps = h->window->state();
    ps.t = 11;
    FileDialog::setNextFileNames({a, b});
    h->window->fileSave();
    ps.t = 22;
    h->window->fileSaveAs();
    ps.t = 1;
    h->window->openRecent(2);  // a
    QCOMPARE(ps.t, 11.0);
    QCOMPARE(h->settings.get("RecentFile1"), a.toStdString());
    QCOMPARE(h->settings.get("RecentFile2"), b.toStdString());
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: ") + a);
    QVERIFY(h->window->dialogFolder().endsWith(QLatin1Char('/')));
  }

  void missingFilesAndFoldersAreReported() {
    const QString missing = dir.filePath(QStringLiteral("none.cys"));
    h->window->state().t = 9;
    FileDialog::setNextFileNames({missing});
    h->window->fileOpen();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("can't find file - ") + missing});
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File"));
    QCOMPARE(h->window->state().t, 9.0);

    h->messages.texts.clear();
    const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/x.cys"));
    FileDialog::setNextFileNames({nowhere});
    h->window->fileSaveAs();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("can't save file - ") + nowhere});
    QCOMPARE(h->settings.get("RecentFile1"), std::string());

    // Cancel changes nothing
    FileDialog::setNextFileNames({QString()});
    h->window->fileOpen();
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File"));
  }

  void newRestoresTheDefaults() {
    const QString path = dir.filePath(QStringLiteral("n.cys"));
    auto& ps = h->window->state();
    ps.t = 40;
    FileDialog::setNextFileNames({path});
    h->window->fileSave();
    h->window->fileNew();
    QCOMPARE(ps.t, 20.0);
    QCOMPARE(h->field("it")->text(), QStringLiteral("20.0"));
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File"));
  }

 private:
  std::unique_ptr<Harness> h;
  QTemporaryDir dir;
};

QTEST_MAIN(FileMenuTest)
#include "test_files.moc"
