// The printed report rendered to PDF and read back as text.
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "core/calc_driver.hpp"
#include "files/project_file.hpp"
#include "sections/data_files.hpp"
#include "ui/print_dialog.hpp"
#include "ui/report.hpp"
#include "ui/report_command.hpp"

using namespace orvane;
using namespace orvane::ui;

namespace {

ProjectState project(int cyltype, int wsd) {
  ProjectState ps;
  assignDefaults(ps);
  loadDataFiles(ps, ORVANE_SHIPPED_DATA);
  ps.cyltype = static_cast<int16_t>(cyltype);
  ps.wsd = static_cast<int16_t>(wsd);
  ps.projectName = "Riser can 7";
  ps.ident = "RC7-B";
  refreshValues(ps);
  RecordingEvents ev;
  calcDriver(ps, ev);
  return ps;
}

QString pdfText(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  p.waitForFinished(30000);
  const QString info = QString::fromUtf8(p.readAllStandardOutput());
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Each of `shown` is in the text, none of `hidden`.
void verifyText(const QString& text, const QStringList& shown, const QStringList& hidden = {}) {
  for (const QString& s : shown) QVERIFY2(text.contains(s), qPrintable(s));
  for (const QString& s : hidden) QVERIFY2(!text.contains(s), qPrintable(s));
}

QString qs(const std::string& text) { return QString::fromStdString(text); }

struct CommandRun {
  int code;
  QString out, err;
};

CommandRun reportCommand(QStringList args) {
  args << QStringLiteral("--data") << QStringLiteral(ORVANE_SHIPPED_DATA);
  QString out, err;
  QTextStream outStream(&out), errStream(&err);
  const int code = runReportCommand(args, outStream, errStream);
  outStream.flush();
  errStream.flush();
  return {code, out, err};
}

}  // namespace

class ReportTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void headerAndFormats() {
    const QString lrfd = render(project(2, 0), QStringLiteral("lrfd.pdf"));
    verifyText(
        lrfd,
        {"Orvane DNV", "Cylinder shell buckling based on DNV-RP-C202", "Project: Riser can 7",
         "Identification: RC7-B", "Time: 9:5", "1/1", "LRDF meth.od", "Allowable Usage Factor:"},
        {"WSD meth.od"});
    QCOMPARE(pdfPages(dir_.filePath(QStringLiteral("lrfd.pdf"))), 1);
    const QString wsd = render(project(2, 1), QStringLiteral("wsd.pdf"));
    verifyText(wsd, {"WSD meth.od", "Basic Usage Factor:"}, {"LRDF meth.od"});
    QVERIFY(QRegularExpression(QStringLiteral("n0\\s+=\\s+1\\.00")).match(wsd).hasMatch());
  }

  void stringerStiffenedPrintsBothProfilesAndPanels() {
    const ProjectState ps = project(2, 0);
    const QString text = render(ps, QStringLiteral("stringer.pdf"));
    // The stiffener panel or its note, whichever the screen shows.
    verifyText(text,
               {"Stiffener Profile:", "Ringframe Profile:", reportDesignation(ps, false).trimmed(),
                "(Fabricated)", "Local buckling:", qs(ps.proportion[1]).simplified(),
                qs(ps.shellTable.label[0]), qs(ps.ringTable.label[0]), qs(ps.stiffTable.label[0]),
                "Stiff spacing:", "Sigx"});
    QCOMPARE(text.count(QStringLiteral("Profile data:")), 2);
  }

  void unstiffenedCylinderPrintsNoProfile() {
    ProjectState ps = project(0, 0);
    QCOMPARE(ps.ring_ch, int16_t(1));  // the ring check runs, its panel is not printed
    verifyText(render(ps, QStringLiteral("plain.pdf")),
               {"Cylinder radius (cL plate)", "Distance between ring frames",
                "Shell Buckling: (Ch 3.4.2)"},
               {"Profile:", qs(ps.ringTable.label[0]), "Cylinder length", "Stiff spacing"});
  }

  void ringStiffenedColdFormed() {
    ProjectState ps = project(1, 0);
    ps.ringfab = 1;
    const QString text = render(ps, QStringLiteral("ring.pdf"));
    verifyText(text,
               {"Ringframe Profile:", reportDesignation(ps, true).trimmed() + " (Cold-formed)"},
               {"Stiffener Profile:"});
    QCOMPARE(text.count(QStringLiteral("Profile data:")), 1);
    // Without a stiffener section the ring-frame section stands at the left
    // margin, under the input headings.
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto column = [&](const QString& word) -> qsizetype {
      for (const QString& l : lines)
        if (l.contains(word)) return l.indexOf(word);
      return -1;
    };
    QVERIFY(column(QStringLiteral("Geometry:")) >= 0);
    QCOMPARE(column(QStringLiteral("Ringframe Profile:")), column(QStringLiteral("Geometry:")));
  }

  void columnModePrintsLoadsAndColumnPanel() {
    const ProjectState ps = project(3, 0);
    verifyText(render(ps, QStringLiteral("column.pdf")),
               {"M1a", "M1b", "M2a", "M2b", "kNm", "Effective length factor", "k2",
                qs(ps.stiffTable.label[0]), qs(ps.stiffTable.label[ps.stiffTable.n]).trimmed()},
               {"Sigx", "Distance between ring frames", "Profile:"});
  }

  void designations() {
    ProjectState ps = project(2, 0);
    ps.cbostiff = 1;
    ps.st.h = 250, ps.st.b = 90, ps.st.tw = 10, ps.st.tf = 15;
    QCOMPARE(reportDesignation(ps, false), QStringLiteral(" L250x90x10.0x15.0 (built-up)"));
    ps.cbostiff = 8;
    QCOMPARE(reportDesignation(ps, false), QStringLiteral(" Trapez 250x90x10.0"));
    ps.cboring = 6;
    ps.rg.h = 180, ps.rg.tw = 9.5;
    QCOMPARE(reportDesignation(ps, true), QStringLiteral(" BF 180x9.5"));
  }

  void cancelPrintsNothingAndCopiesAreSeparate() {
    const ProjectState ps = project(1, 1);
    bool asked = false;
    QCOMPARE(printProject(nullptr, ps,
                          [&](QPrinter&, QWidget*) {
                            asked = true;
                            return false;
                          }),
             0);
    QVERIFY(asked);
    const QString base = dir_.filePath(QStringLiteral("copies.pdf"));
    const int done = printProject(nullptr, ps, [&](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(base);
      printer.setCopyCount(3);
      return true;
    });
    QCOMPARE(done, 3);
    for (const char* name : {"copies.pdf", "copies-2.pdf", "copies-3.pdf"}) {
      const QString path = dir_.filePath(QLatin1String(name));
      QCOMPARE(pdfPages(path), 1);
      QVERIFY(pdfText(path).contains(QStringLiteral("WSD meth.od")));
    }
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("copies-4.pdf"))));
  }

  // A project whose calculation stops gets no report: its panels would show
  // the start-up defaults' results beside its own inputs.
  void headlessReportOfAFaultIsNoReport() {
    ProjectState ps = project(2, 0);
    ps.sigx = ps.sigy = ps.tau = 0;
    ps.pd = 0;
    const QString file = dir_.filePath(QStringLiteral("zero.cys"));
    QVERIFY(!writeProject(ps, file.toStdString()));
    const QString pdf = dir_.filePath(QStringLiteral("zero.pdf"));
    const CommandRun r = reportCommand({file, QStringLiteral("-o"), pdf});
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.startsWith(QStringLiteral("orvane-report: calculation stopped: ")),
             qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("division by zero")));
    QVERIFY(!QFile::exists(pdf));

    // An earlier report of that name is not replaced by a page of other
    // results either.
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier report");
    old.close();
    QCOMPARE(reportCommand({file, QStringLiteral("-o"), pdf}).code, 3);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("earlier report"));
  }

  void headlessReportPrintsTheFullPath() {
    const ProjectState ps = project(1, 0);
    const QString sub = dir_.filePath(QStringLiteral("projects"));
    QVERIFY(QDir().mkpath(sub));
    const QString file = sub + QStringLiteral("/leg.cys");
    ProjectState copy = ps;
    QVERIFY(!writeProject(copy, file.toStdString()));
    const QString before = QDir::currentPath();
    QDir::setCurrent(sub);  // the file named as typed, relative
    const CommandRun r =
        reportCommand({QStringLiteral("leg.cys"), QStringLiteral("-o"), QStringLiteral("leg.pdf")});
    QDir::setCurrent(before);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    const QString text = pdfText(sub + QStringLiteral("/leg.pdf")).simplified();
    QVERIFY2(text.contains(QStringLiteral("File: ") + QFileInfo(file).absoluteFilePath()),
             qPrintable(text.left(400)));
  }

  void headlessCommandLine() {
    struct Case {
      QStringList args;
      int code;
      QString out, err;  // the start of each
    };
    const QString file = dir_.filePath(QStringLiteral("none.cys"));
    const Case cases[] = {
        {{QStringLiteral("--help")}, 0, QStringLiteral("Writes the one-page report"), {}},
        {{QStringLiteral("--version")}, 0, QStringLiteral("orvane-report 1.7"), {}},
        {{file}, 2, {}, QStringLiteral("orvane-report: --output is required")},
        {{QStringLiteral("-o"), QStringLiteral("x.pdf")},
         2,
         {},
         QStringLiteral("orvane-report: FILE is required")},
        {{file, QStringLiteral("-o"), QStringLiteral("x.pdf"), QStringLiteral("--frob")},
         2,
         {},
         QStringLiteral("orvane-report: The following argument was not expected: --frob")},
        {{QString(), QStringLiteral("-o"), QStringLiteral("x.pdf")},
         2,
         {},
         QStringLiteral("orvane-report: an empty file name")},
        {{file, QStringLiteral("-o"), QStringLiteral("x.pdf")},
         2,
         {},
         QStringLiteral("orvane-report: can't find file - ")}};
    for (const Case& c : cases) {
      const CommandRun r = reportCommand(c.args);
      QCOMPARE(r.code, c.code);
      QVERIFY2(c.out.isEmpty() ? r.out.isEmpty() : r.out.startsWith(c.out), qPrintable(r.out));
      QVERIFY2(c.err.isEmpty() ? r.err.isEmpty() : r.err.startsWith(c.err), qPrintable(r.err));
    }
    QVERIFY(!QFile::exists(QStringLiteral("x.pdf")));
  }

 private:
  QString render(const ProjectState& ps, const QString& name) {
    const QString path = dir_.filePath(name);
    ReportOptions options = defaultReportOptions();
    options.printedAt = QDateTime(QDate(2024, 3, 7), QTime(9, 5));
    const QString error = writeReportPdf(ps, path, options);
    return error.isEmpty() ? pdfText(path) : error;
  }

  QTemporaryDir dir_;
};

QTEST_MAIN(ReportTest)
#include "test_report.moc"
