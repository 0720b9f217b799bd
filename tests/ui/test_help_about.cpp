// The Help menu's documents and the about and picture windows.
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include "ui/common/ui_font.hpp"
#include "ui/main/about_window.hpp"
#include "ui/main/help_window.hpp"
#include "ui/main/info_windows.hpp"
#include "ui/study/study_window.hpp"

using namespace orvane::ui;

class HelpAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    useUiFont();  // as the program does, not the machine's default face
  }

  void collectionHasContentsAndIndex() {
    HelpWindow window(QStringLiteral(ORVANE_HELP_COLLECTION));
    QVERIFY(window.isReady());
    QHelpEngine* engine = window.engine();
    QCOMPARE(engine->registeredDocumentations().size(), 1);
    QHelpIndexModel* index = engine->indexModel();
    QTRY_VERIFY(index->rowCount() > 20);
    QVERIFY(index->match(index->index(0, 0), Qt::DisplayRole, QStringLiteral("LRFD")).size() == 1);
    QHelpContentModel* contents = engine->contentModel();
    QTRY_VERIFY(contents->rowCount() == 1);
    QVERIFY(contents->rowCount(contents->index(0, 0)) >= 10);
    QVERIFY(window.currentUrl().toString().endsWith(QStringLiteral("index.html")));
    QVERIFY(engine->fileData(window.currentUrl()).contains("DNV-RP-C202"));
    window.showPage(HelpWindow::Page::Search);
    window.showPage(HelpWindow::Page::Index);
  }

  void theoryManualIsTypeset() {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral(ORVANE_THEORY_MANUAL), QStringLiteral("-")});
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY(text.contains(QStringLiteral("Theory Manual")));
    for (const char* ref : {"Ch 3.4.2", "Ch 3.3.2", "Ch 3.5.2", "Ch 3.6.3", "Ch 3.8", "3.10.1"})
      QVERIFY2(text.contains(QLatin1String(ref)), ref);
    // Every entity of the chapters is typeset as its character.
    const auto entity = QRegularExpression(QStringLiteral("&#?\\w+;")).match(text);
    QVERIFY2(!entity.hasMatch(), qPrintable(entity.captured()));
    QVERIFY(text.contains(QStringLiteral("r0 = r \u2213 zc")));

    // The worked examples are the program's own panels: every line the
    // headless check prints for the column mode stands in the manual.
    const auto simplified = [](const QString& t) { return t.simplified(); };
    QProcess cli;
    cli.start(QCoreApplication::applicationDirPath() + QStringLiteral("/orvane-cli"),
              {QStringLiteral("check"), QStringLiteral("--set"), QStringLiteral("cyltype=3")});
    QVERIFY(cli.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n');
    QVERIFY(lines.size() > 20);
    const QString manual = simplified(text);
    for (const QString& line : lines) {
      QString panelLine = line;
      panelLine.remove(QRegularExpression(QStringLiteral(" +(NOT )?OK$")));
      QVERIFY2(manual.contains(simplified(panelLine)), qPrintable(line));
    }
  }

  // What the help says about inputs and files is what the program does.
  void helpAgreesWithTheProgram() {
    HelpWindow window(QStringLiteral(ORVANE_HELP_COLLECTION));
    QVERIFY(window.isReady());
    QHelpEngine* engine = window.engine();
    const QString base = window.currentUrl().toString().section(u'/', 0, -2) + u'/';
    const auto page = [&](const char* name) {
      return QString::fromUtf8(engine->fileData(QUrl(base + QLatin1String(name)))).simplified();
    };
    struct Case {
      const char* page;
      QStringList says, never;
    };
    const Case cases[] = {
        {"inputs.html",
         {QStringLiteral("A value outside its range is stored and used all the same"),
          QStringLiteral("takes only a text that is one whole number in your number format")},
         {QStringLiteral("refused")}},
        {"files.html",
         {QStringLiteral("the inputs it lacks keep the values the project had before the file was "
                         "opened")},
         {QStringLiteral("at their defaults")}},
        {"loadcases.html",
         {QStringLiteral("as <code>NAME.loads.csv</code> for <code>NAME.cys</code>"),
          QStringLiteral("<b>Analysis</b> menu"),
          QStringLiteral("puts its values into the fields of the main window as if they had been "
                         "typed there")},
         {}},
        {"index.html", {QStringLiteral("<a href=\"loadcases.html\">")}, {}},
        {"results.html", {QStringLiteral("<a href=\"loadcases.html\">")}, {}},
        {"profiles.html",
         {QStringLiteral("B of a trapezoid is its top width"),
          QStringLiteral("a is the horizontal offset of each inclined web")},
         {QStringLiteral("top width a")}},
        {"study.html",
         {QStringLiteral("more than %1 points in the window").arg(StudyWindow::kMaxPoints),
          QStringLiteral("Shell: t &#8805; 17.153")},
         {}},
        {"studies.html",
         {QStringLiteral("the search stops once the requested number of designs pass"),
          QStringLiteral("(not rounded to whole stiffeners)")},
         {QStringLiteral("monotonic")}}};
    for (const Case& c : cases) {
      const QString text = page(c.page);
      QVERIFY2(!text.isEmpty(), c.page);
      for (const QString& s : c.says) QVERIFY2(text.contains(s), qPrintable(s));
      for (const QString& s : c.never) QVERIFY2(!text.contains(s), qPrintable(s));
    }
  }

  void aboutWindowTextsAndClickCloses() {
    QWidget owner;
    AboutWindow* about = AboutWindow::open(&owner);
    QCOMPARE(AboutWindow::open(&owner), about);  // the one window again
    QCOMPARE(about->windowTitle(), QStringLiteral("About Orvane DNV"));
    auto* ab1 = about->findChild<QLabel*>(QStringLiteral("ab1"));
    QVERIFY(ab1);
    QCOMPARE(ab1->text(), QStringLiteral("Orvane DNV"));
    QCOMPARE(ab1->palette().color(QPalette::WindowText), QColor(0, 85, 152));
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("ab2"))->text(),
             QStringLiteral("Cylinder shell buckling based on DNV-RP-C202"));
    auto* ab3 = about->findChild<QLabel*>(QStringLiteral("ab3"));
    QCOMPARE(ab3->text(), QStringLiteral("Version 1.7"));
    QPointer<AboutWindow> guard(about);
    QTest::mouseClick(ab3, Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
  }

  void pictureWindowsCloseOnTheirPicture() {
    QWidget owner;
    InfoWindow* uf = InfoWindow::open(InfoWindow::Kind::UsageFactors, &owner);
    QCOMPARE(uf->objectName(), QStringLiteral("InfoUF"));
    auto* second = uf->findChild<QLabel*>(QStringLiteral("Picture2"));
    QVERIFY(second && !second->pixmap().isNull());
    QPointer<InfoWindow> guard(uf);
    QTest::mouseClick(second, Qt::LeftButton);  // only Picture1 closes
    QVERIFY(uf->isVisible());
    QTest::mouseClick(uf->findChild<QLabel*>(QStringLiteral("Picture1")), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
    InfoWindow* ring = InfoWindow::open(InfoWindow::Kind::RingFrames, &owner);
    QCOMPARE(ring->objectName(), QStringLiteral("InfoORVANE"));
    QVERIFY(ring->findChild<QLabel*>(QStringLiteral("Picture1")));
  }
};

QTEST_MAIN(HelpAboutTest)
#include "test_help_about.moc"
