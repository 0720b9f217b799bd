// The printed report rendered to PDF and read back as text.
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "core/calc_driver.hpp"
#include "sections/data_files.hpp"
#include "ui/print_dialog.hpp"
#include "ui/report.hpp"
#include "ui/ui_font.hpp"

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

}  // namespace

class ReportTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    useUiFont();  // the sketches' labels, as the report program draws them
  }

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
