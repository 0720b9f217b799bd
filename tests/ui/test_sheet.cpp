// The calculation sheet on paper and in the window: the PDF of every
// cylinder type and design format read back with pdftotext, and the
// window's preview that follows the project and saves and prints it.
#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "project/session.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/common/ui_font.hpp"
#include "ui/report/report_command.hpp"
#include "ui/sheet/sheet_window.hpp"
#include "ui_fixture.hpp"

using namespace orvane;
using namespace orvane::ui;

namespace {

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfText(const QString& pdf) {
  // in drawing order: the page header comes after the page's text
  QString text =
      run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
  return text.replace(QChar(0xFB00), QStringLiteral("ff"));  // the ligature of "Stiffener"
}

int pdfPages(const QString& pdf) {
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                     .match(run(QStringLiteral("pdfinfo"), {pdf}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int reportCommand(const QStringList& args, QString* err = nullptr) {
  QString out, e;
  QTextStream outStream(&out), errStream(&e);
  const int code = runReportCommand(args, outStream, errStream);
  errStream.flush();
  if (err) *err = e;
  return code;
}

}  // namespace

class SheetTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    useUiFont();
  }

  void pdfOfEachMode_data() {
    QTest::addColumn<int>("cyltype");
    QTest::addColumn<int>("wsd");
    QTest::addColumn<QStringList>("titles");
    const QStringList shell342{"Design stresses", "Shell Buckling: (Ch 3.4.2)",
                               "Panel Ring Buckling: (Ch 3.5.2)", "Heavy ring frame"};
    for (int wsd : {0, 1}) {
      const char* f = wsd ? "WSD" : "LRFD";
      QTest::addRow("unstiffened %s", f) << 0 << wsd << shell342;
      QTest::addRow("ring stiffened %s", f) << 1 << wsd << shell342;
      QTest::addRow("stringer stiffened %s", f)
          << 2 << wsd
          << QStringList{"Shell Buckling: (Ch 3.3.2)", "Stiffener Buckling: (Ch 3.6.3)",
                         "Panel Ring Buckling: (Ch 3.5.2)"};
      QTest::addRow("column %s", f)
          << 3 << wsd
          << QStringList{"Shell Buckling: (Ch 3.4.2)", "Global Buckling: (Ch 3.8)", "UF1"};
    }
  }

  // Every page has the header with the project and "page n/m"; the checks
  // of the mode follow in the order the program runs them.
  void pdfOfEachMode() {
    QFETCH(int, cyltype);
    QFETCH(int, wsd);
    QFETCH(QStringList, titles);
    ProjectState ps;
    RecordingEvents ev;
    Session session(ps, ev);
    session.startUp(ORVANE_SHIPPED_DATA);
    ps.cyltype = static_cast<int16_t>(cyltype);
    ps.wsd = static_cast<int16_t>(wsd);
    ps.hring_ch = 1;
    ps.projectName = "Riser can 7";
    ps.ident = "RC7-B";
    const QString file = dir_.filePath(QStringLiteral("mode%1%2.cys").arg(cyltype).arg(wsd));
    QVERIFY(session.save(file.toStdString()).ok());
    const QString pdf = dir_.filePath(QStringLiteral("mode%1%2.pdf").arg(cyltype).arg(wsd));
    QString err;
    QCOMPARE(reportCommand({QStringLiteral("--sheet"), file, QStringLiteral("-o"), pdf,
                            QStringLiteral("--data"), QStringLiteral(ORVANE_SHIPPED_DATA)},
                           &err),
             0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const int pages = pdfPages(pdf);
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    const QString text = pdfText(pdf);
    const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pageTexts.size(), pages);
    for (int i = 0; i < pages; ++i) {
      QVERIFY2(pageTexts[i].contains(QStringLiteral("Riser can 7 (RC7-B)")),
               qPrintable(pageTexts[i]));
      QVERIFY2(pageTexts[i].contains(QStringLiteral("page %1/%2").arg(i + 1).arg(pages)),
               qPrintable(QString::number(i)));
    }
    qsizetype at = 0;
    for (const QString& t : titles) {
      const qsizetype found = text.indexOf(t, at);
      QVERIFY2(found >= 0, qPrintable(t));
      at = found;
    }
    QVERIFY(text.contains(wsd ? QStringLiteral("WSD") : QStringLiteral("LRFD")));
    QVERIFY(text.contains(QStringLiteral("Method notes")));
    // nothing cut at the right margin: every reference is whole
    QVERIFY(!text.contains(
        QRegularExpression(QStringLiteral("Ch\\s*$"), QRegularExpression::MultilineOption)));
  }

  // A stopped calculation: the sheet is written with the steps before the
  // fault and says so; the exit status is that of the fault.
  void pdfOfAStoppedRun() {
    ProjectState ps;
    RecordingEvents ev;
    Session session(ps, ev);
    session.startUp(ORVANE_SHIPPED_DATA);
    ps.sigx = 0;
    ps.sigy = 0;
    ps.tau = 0;
    ps.pd = 0;
    ps.cyltype = 0;
    const QString file = dir_.filePath(QStringLiteral("zero.cys"));
    QVERIFY(session.save(file.toStdString()).ok());
    const QString pdf = dir_.filePath(QStringLiteral("zero.pdf"));
    QString err;
    QCOMPARE(reportCommand({QStringLiteral("--sheet"), file, QStringLiteral("-o"), pdf,
                            QStringLiteral("--data"), QStringLiteral(ORVANE_SHIPPED_DATA)},
                           &err),
             3);
    QVERIFY(err.contains(QStringLiteral("the sheet shows the steps before it")));
    const QString text = pdfText(pdf);
    QVERIFY(text.contains(QStringLiteral("The calculation stopped: shell check (Ch 3.4.2)")));
    QVERIFY(text.contains(QStringLiteral("Design stresses")));
  }

  // The preview follows the project while it is open, and saves and prints
  // what it shows.
  void windowPreview() {
    test::Harness h;
    h.get<QAction>("mnusheet")->trigger();
    SheetWindow* sheet = h.window->sheetWindow();
    QVERIFY(sheet && sheet->isVisible());
    const QString before = sheet->view()->toPlainText();
    QVERIFY(before.contains(QStringLiteral("Stiffener Buckling: (Ch 3.6.3)")));
    QVERIFY(before.contains(QStringLiteral("36.622757")) == false);

    // a new wall thickness and the run every handler makes after it
    h.window->state().t = 25;
    QVERIFY(h.window->calculate());
    QVERIFY(sheet->html() != QString());
    QVERIFY(sheet->html().contains(QStringLiteral("1.56·√(3333·25)")));
    // the view follows once the runs pause
    QTRY_VERIFY(sheet->view()->toPlainText().contains(QStringLiteral("1.56·√(3333·25)")));
    QVERIFY(sheet->view()->toPlainText() != before);

    const QString pdf = dir_.filePath(QStringLiteral("window.pdf"));
    const QString html = dir_.filePath(QStringLiteral("window"));  // suffix added
    FileDialog::setNextFileNames({pdf, html});
    QVERIFY(sheet->savePdf());
    QVERIFY(sheet->saveHtml());
    QVERIFY(pdfPages(pdf) >= 3);
    QFile saved(html + QStringLiteral(".html"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(saved.readAll()), sheet->html());

    const QString printed = dir_.filePath(QStringLiteral("printed.pdf"));
    QVERIFY(sheet->print([&](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(printed);
      return true;
    }));
    const int printedPages = pdfPages(printed);
    QVERIFY(printedPages >= 3);
    QVERIFY(pdfText(printed).contains(QStringLiteral("page %1/%1").arg(printedPages)));
    QVERIFY(!sheet->print([](QPrinter&, QWidget*) { return false; }));  // Cancel

    FileDialog::setNextFileNames({QString()});  // Cancel writes nothing
    QVERIFY(!sheet->savePdf());
    QVERIFY(h.messages.texts.isEmpty());
  }

 private:
  QTemporaryDir dir_;
};

QTEST_MAIN(SheetTest)
#include "test_sheet.moc"
