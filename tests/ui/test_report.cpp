// The printed report rendered to PDF and read back as text.
#include <sys/stat.h>

#include <QDir>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <climits>
#include <functional>

#include "core/calc_driver.hpp"
#include "files/project_file.hpp"
#include "project/load_cases.hpp"
#include "project/session.hpp"
#include "ui/common/ui_font.hpp"
#include "ui/report/print_dialog.hpp"
#include "ui/report/report.hpp"
#include "ui/report/report_body.hpp"
#include "ui/report/report_command.hpp"
#include "ui_fixture.hpp"

using namespace orvane;
using namespace orvane::ui;
using orvane::ui::test::pdfPages;
using orvane::ui::test::pdfText;

namespace {

ProjectState project(int cyltype, int wsd) {
  ProjectState ps;
  RecordingEvents ev;
  Session session(ps, ev);
  session.startUp(ORVANE_SHIPPED_DATA);
  ps.cyltype = static_cast<int16_t>(cyltype);
  ps.wsd = static_cast<int16_t>(wsd);
  ps.projectName = "Riser can 7";
  ps.ident = "RC7-B";
  session.recalculate();
  return ps;
}

// Each of `shown` is in the text, none of `hidden`.
void verifyText(const QString& text, const QStringList& shown, const QStringList& hidden = {}) {
  for (const QString& s : shown) QVERIFY2(text.contains(s), qPrintable(s));
  for (const QString& s : hidden) QVERIFY2(!text.contains(s), qPrintable(s));
}

QString qs(const std::string& text) { return QString::fromStdString(text); }

// What a PDF reader says while drawing the page: nothing for a sound file.
QString renderErrors(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"),
                                       QStringLiteral("-png"), pdf, pdf + QStringLiteral("-page")});
  if (!p.waitForFinished(30000)) return QStringLiteral("pdftoppm hangs");
  return QString::fromUtf8(p.readAllStandardError()) +
         (p.exitCode() != 0 ? QStringLiteral("exit %1").arg(p.exitCode()) : QString());
}

// A page that records where the report puts its texts and rules instead of
// drawing them: A4 at the resolution of the PDF, in device pixels.
class LayoutRecorder final : public QPaintDevice {
 public:
  struct Text {
    QRectF box;
    QString text;
  };
  QList<Text> texts;
  QList<QLineF> lines;
  QList<QRectF> pictures;  // the boxes the report gives its sketches

  LayoutRecorder() : engine_(*this) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  QRectF page() const { return QRectF(0, 0, width(), height()); }

 protected:
  int metric(PaintDeviceMetric m) const override {
    if (m == PdmDevicePixelRatioScaled) return static_cast<int>(devicePixelRatioFScale());
    const std::pair<PaintDeviceMetric, int> values[] = {
        {PdmWidth, 4961}, {PdmHeight, 7016},       {PdmWidthMM, 210},       {PdmHeightMM, 297},
        {PdmDpiX, 600},   {PdmDpiY, 600},          {PdmPhysicalDpiX, 600},  {PdmPhysicalDpiY, 600},
        {PdmDepth, 32},   {PdmNumColors, INT_MAX}, {PdmDevicePixelRatio, 1}};
    for (const auto& [key, value] : values)
      if (key == m) return value;
    return 0;
  }

 private:
  class Engine final : public QPaintEngine {
   public:
    explicit Engine(LayoutRecorder& recorder) : QPaintEngine(AllFeatures), recorder_(recorder) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& changed) override {
      if (changed.state() & DirtyTransform) transform_ = changed.transform();
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
      const QRectF box(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
      recorder_.texts.push_back({transform_.mapRect(box), item.text()});
    }
    void drawLines(const QLineF* lines, int count) override {
      for (int i = 0; i < count; ++i) recorder_.lines.push_back(transform_.map(lines[i]));
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}
    Type type() const override { return User; }

   private:
    LayoutRecorder& recorder_;
    QTransform transform_;
  };
  mutable Engine engine_;
};

// Everything that overlaps on a recorded page: texts over texts, texts
// across rules or into the sketches' boxes, texts off the page.
QStringList overlaps(const LayoutRecorder& page) {
  QStringList found;
  const auto inner = [](const QRectF& r) { return r.adjusted(1.5, 1.5, -1.5, -1.5); };
  for (qsizetype i = 0; i < page.texts.size(); ++i) {
    const auto& a = page.texts[i];
    if (!page.page().contains(a.box)) found << QStringLiteral("off the page: ") + a.text;
    for (qsizetype j = i + 1; j < page.texts.size(); ++j) {
      if (inner(a.box).intersects(inner(page.texts[j].box)))
        found << QStringLiteral("'%1' over '%2'").arg(a.text, page.texts[j].text);
    }
    for (const QLineF& l : page.lines) {
      const QRectF r = inner(a.box);
      const QRectF span = QRectF(l.p1(), l.p2()).normalized().adjusted(-0.5, -0.5, 0.5, 0.5);
      // a text's own underline stays within its box
      if (a.box.adjusted(-2, -2, 2, 4).contains(span)) continue;
      if (r.intersects(span)) found << QStringLiteral("'%1' across a rule").arg(a.text);
    }
    for (const QRectF& p : page.pictures)
      if (inner(a.box).intersects(p)) found << QStringLiteral("'%1' over a sketch").arg(a.text);
  }
  return found;
}

// A white image with `paint` drawn on it.
template <typename Paint>
QImage picture(QSize size, Paint paint) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paint(painter);
  painter.end();
  return image;
}

bool dark(QRgb c) { return qGray(c) < 128; }

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
               {"Stiffener Profile:", "Ringframe Profile:",
                reportDesignation(ps, Member::Stiffener).trimmed(), "(Fabricated)",
                "Local buckling:", qs(ps.proportion[1]).simplified(), qs(ps.shellTable.label[0]),
                qs(ps.ringTable.label[0]), qs(ps.stiffTable.label[0]), "Stiff spacing:", "Sigx"});
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
               {"Ringframe Profile:",
                reportDesignation(ps, Member::RingFrame).trimmed() + " (Cold-formed)"},
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
    QCOMPARE(reportDesignation(ps, Member::Stiffener),
             QStringLiteral(" L250x90x10.0x15.0 (built-up)"));
    ps.cbostiff = 8;
    QCOMPARE(reportDesignation(ps, Member::Stiffener), QStringLiteral(" Trapez 250x90x10.0"));
    ps.cboring = 6;
    ps.rg.h = 180, ps.rg.tw = 9.5;
    QCOMPARE(reportDesignation(ps, Member::RingFrame), QStringLiteral(" BF 180x9.5"));
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
    QVERIFY(writeProject(ps, file.toStdString()));
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

  // What stands at -o decides: a read-only file, a FIFO or the project
  // itself is refused and stays as it was; the report and the sheet alike.
  void headlessReportNeverReplacesWhatItMayNot() {
    ProjectState ps = project(1, 0);
    const QString file = dir_.filePath(QStringLiteral("kept.cys"));
    QVERIFY(writeProject(ps, file.toStdString()));
    const QString locked = dir_.filePath(QStringLiteral("locked.pdf"));
    const QString fifo = dir_.filePath(QStringLiteral("fifo.pdf"));
    QFile old(locked);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier report");
    old.close();
    QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0644), 0);
    const std::pair<QString, QString> cases[] = {
        {locked, locked + QStringLiteral(": the file is read-only; it was not replaced")},
        {fifo, fifo + QStringLiteral(": not a regular file (a device, a FIFO or a socket); it "
                                     "was not replaced")},
        {file, file + QStringLiteral(": it is also the input ") + file}};
    const QByteArray project = [&] {
      QFile f(file);
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    for (const QStringList& extra : {QStringList(), QStringList{QStringLiteral("--sheet")}}) {
      for (const auto& [out, message] : cases) {
        const CommandRun r = reportCommand(QStringList{file, QStringLiteral("-o"), out} + extra);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.startsWith(QStringLiteral("orvane-report: ") + message), qPrintable(r.err));
      }
      QVERIFY(old.open(QIODevice::ReadOnly));
      QCOMPARE(old.readAll(), QByteArray("earlier report"));
      old.close();
      struct stat st {};
      QVERIFY(::stat(fifo.toLocal8Bit().constData(), &st) == 0 && S_ISFIFO(st.st_mode));
      QFile same(file);
      QVERIFY(same.open(QIODevice::ReadOnly));
      QCOMPARE(same.readAll(), project);
    }
  }

  // A table longer than the pages print is read as a stream: the first rows
  // are printed, the governing case of all is named, the rest are counted.
  void headlessReportOfALongTable() {
    ProjectState ps = project(1, 0);
    const QString file = dir_.filePath(QStringLiteral("long.cys"));
    QVERIFY(writeProject(ps, file.toStdString()));
    const size_t rows = report::mostPrintedCases() + 100;
    {
      QFile table(dir_.filePath(QStringLiteral("long.loads.csv")));
      QVERIFY(table.open(QIODevice::WriteOnly));
      QByteArray text = "case,sigx\n";
      for (size_t i = 1; i < rows; ++i) text += "c" + QByteArray::number(qulonglong(i)) + ",10\n";
      text += "heaviest,200\n";  // the last row governs every check it shows
      table.write(text);
    }
    const QString pdf = dir_.filePath(QStringLiteral("long.pdf"));
    const CommandRun r = reportCommand({file, QStringLiteral("-o"), pdf});
    QCOMPARE(r.code, 0);
    const QString text = pdfText(pdf).simplified();
    QVERIFY(text.contains(QStringLiteral("%1 cases:").arg(rows)));
    QVERIFY(text.contains(QStringLiteral("in case heaviest")));
    QVERIFY(text.contains(QStringLiteral("further cases are not printed")));
  }

  void headlessReportPrintsTheFullPath() {
    const ProjectState ps = project(1, 0);
    const QString sub = dir_.filePath(QStringLiteral("projects"));
    QVERIFY(QDir().mkpath(sub));
    const QString file = sub + QStringLiteral("/leg.cys");
    ProjectState copy = ps;
    QVERIFY(writeProject(copy, file.toStdString()));
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
      const char *out, *err;  // the start of each, "" for nothing; err after "orvane-report: "
    };
    const QString file = dir_.filePath(QStringLiteral("none.cys"));
    const Case cases[] = {
        {{"--help"}, 0, "Writes the report of a project as a PDF", ""},
        {{"--version"}, 0, "orvane-report 1.7", ""},
        {{file}, 2, "", "--output is required"},
        {{"-o", "x.pdf"}, 2, "", "FILE is required"},
        {{file, "-o", "x.pdf", "--frob"}, 2, "", "The following argument was not expected: --frob"},
        {{QString(), "-o", "x.pdf"}, 2, "", "an empty file name"},
        {{file, "-o", "x.pdf"}, 2, "", "can't find file - "}};
    for (const Case& c : cases) {
      const CommandRun r = reportCommand(c.args);
      QCOMPARE(r.code, c.code);
      QVERIFY2(*c.out ? r.out.startsWith(QLatin1String(c.out)) : r.out.isEmpty(),
               qPrintable(r.out));
      QVERIFY2(*c.err ? r.err.startsWith(QStringLiteral("orvane-report: ") + QLatin1String(c.err))
                      : r.err.isEmpty(),
               qPrintable(r.err));
    }
    QVERIFY(!QFile::exists(QStringLiteral("x.pdf")));
  }

  // Whatever the inputs, every text keeps to its place: no two words of the
  // page overlap, nothing leaves the page or crosses the header's rules, and
  // the PDF is sound.
  void nothingOverlapsWhateverTheInput() {
    struct Case {
      const char* name;
      int cyltype;
      std::function<void(ProjectState&)> change;
    };
    const QString longName = QStringLiteral(
        "Riser can 7 of the north-west jacket leg A2, second revision for the certifying "
        "authority and the yard");
    const Case cases[] = {
        {"long texts", 2,
         [&](ProjectState& ps) {
           ps.fileName =
               "/home/engineer/projects/offshore/2026/north west jacket/leg A2/riser "
               "cans/revision 2/for the certifying authority/riser_can_7_rev2.cys";
           ps.projectName = longName.toStdString();
           ps.ident = "RC7-B-2026-rev2-with-a-very-long-identification-text-without-blanks-at-all";
           ps.mat.name[ps.matp] = "A very long material name from an edited DNVmat.dat (S355)";
           ps.cboring = 1, ps.ringfab = 0;
           ps.rg.h = 250, ps.rg.b = 90, ps.rg.tw = 10, ps.rg.tf = 15;
         }},
        {"huge values", 2,
         [](ProjectState& ps) {
           ps.t = 1e300, ps.r = 3e38f, ps.l = 1e200, ps.s = 1e100, ps.L = 1e250;
           ps.sigx = -1e30, ps.sigy = 1e25, ps.tau = 1e20, ps.pd = -1e20, ps.E = 3e38f;
           ps.ufb = 1e30, ps.fyp = 1e30, ps.ltst = 1e300, ps.ltgi = 1e300;
           ps.st.h = 1e30, ps.st.b = 1e30, ps.st.tw = 1e30, ps.st.tf = 3e38f;
           ps.st.As = 1e300, ps.st.Iy = -1e300, ps.st.mass = 1e300;
           ps.rg.h = 1e300, ps.rg.b = 1e300, ps.rg.a = 1e300;
           ps.cboring = 8;
           ps.ringLocal[1] = "h <= " + std::string(300, '9') + " (Eq 3.10.2) ==> NOK";
           ps.proportion[1] = "h <= " + std::string(300, '9') + " (Eq 3.10.7) ==> NOK";
           ps.shellTable.value[1] = std::string(300, '8');
           ps.stiffTable.value[2] = std::string(300, '7');
           ps.ringTable.value[4] = std::string(300, '6');
         }},
        {"column loads", 3, [](ProjectState& ps) {
           ps.N = -1e300, ps.M1a = 1e300, ps.M2b = -1e300, ps.k1 = 3e38f;
           ps.stiffTable.value[10] = std::string(200, '5') + "/" + std::string(200, '4');
         }}};
    for (const Case& c : cases) {
      ProjectState ps = project(c.cyltype, 0);
      c.change(ps);
      const QString name = QString::fromLatin1(c.name).replace(u' ', u'_');
      const QString pdf = dir_.filePath(name + QStringLiteral(".pdf"));
      QVERIFY(!render(ps, name + QStringLiteral(".pdf")).isEmpty());
      QCOMPARE(pdfPages(pdf), 1);
      QCOMPARE(renderErrors(pdf), QString());
      LayoutRecorder recorder;
      ReportOptions options;
      options.printedAt = QDateTime(QDate(2024, 3, 7), QTime(9, 5));
      options.cylinder = [&](QPainter& p, const QRectF& box, const ProjectState&) {
        recorder.pictures << p.transform().mapRect(box);
      };
      options.profile = [&](QPainter& p, const QRectF& box, const ProjectState&, Member) {
        recorder.pictures << p.transform().mapRect(box);
      };
      QPainter painter(&recorder);
      printReport(painter, recorder.page(), ps, options);
      painter.end();
      QVERIFY2(recorder.texts.size() > 150, c.name);
      QCOMPARE(recorder.pictures.size(), c.cyltype == 2 ? 3 : 1);
      const QStringList found = overlaps(recorder);
      QVERIFY2(found.isEmpty(), qPrintable(QLatin1String(c.name) + QStringLiteral(": ") +
                                           found.mid(0, 5).join(QStringLiteral("; "))));
    }
  }

  // The pages of load cases: every case on one page, nothing overlapping,
  // whatever the names and the columns; a very long table names how many
  // cases it leaves out.
  void casePagesKeepTheirTextsApart() {
    struct Case {
      const char* name;
      std::vector<std::string> columns;
      int rows;
      std::string caseName, value;  // of every third row
      int pages;
      int names = 1;  // prints of a case's name: two with the inputs in a table of their own
    };
    const std::vector<std::string> loads{"sigx", "sigy", "tau", "pd"};
    const Case cases[] = {
        {"a few cases", loads, 5, "storm", "-120.5", 2},
        {"long names and bad values", loads, 40,
         "a case name far longer than its column could ever hold, from a spreadsheet",
         "-123456789012345678901234567890", 2},
        {"many columns",
         {"sigx", "sigy", "tau", "pd", "t", "l", "r", "E", "fyp", "s", "L", "ltst"},
         12,
         "column set",
         "",
         2,
         2},
        {"several pages", loads, 200, "wave", "-150", 4},
        {"more than the report prints", loads, 3000, "x", "-90", 21}};
    for (const Case& c : cases) {
      ProjectState ps = project(2, 0);
      ps.ring_ch = 1;
      cases::CaseTable table{c.columns, {}};
      for (int r = 0; r < c.rows; ++r) {
        cases::CaseRow row{c.caseName + " " + std::to_string(r + 1), {}};
        row.values.assign(c.columns.size(), "");
        row.values[0] = r % 3 == 2 && !c.value.empty() ? c.value : std::to_string(-50 - r % 150);
        row.values[2] = std::to_string(r % 40);
        table.rows.push_back(row);
      }
      ReportOptions options;
      options.cases =
          std::make_shared<const cases::CaseReport>(cases::caseReport({.state = ps}, table));
      QCOMPARE(reportPageCount(options), c.pages);
      QStringList seen;
      int markers = 0;
      for (int page = 1; page < c.pages; ++page) {
        LayoutRecorder recorder;
        QPainter painter(&recorder);
        printReportPage(painter, recorder.page(), ps, options, page);
        painter.end();
        const QStringList found = overlaps(recorder);
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("%1, page %2: ").arg(c.name).arg(page) +
                                             found.mid(0, 5).join(QStringLiteral("; "))));
        bool numbered = false;
        for (const auto& t : recorder.texts) {
          numbered = numbered || t.text == QStringLiteral("%1/%2").arg(page + 1).arg(c.pages);
          markers += static_cast<int>(t.text.count(QChar(0x25C4)));
          if (t.text.startsWith(QString::fromStdString(c.caseName.substr(0, 10))) ||
              t.text.contains(QStringLiteral("...")))
            seen << t.text;
        }
        QVERIFY2(numbered, c.name);
      }
      // one mark per check of the mode beside a usage factor, one in the legend
      QCOMPARE(markers, static_cast<int>(options.cases->checks.size()) + 1);
      if (c.rows < 1000) {
        QCOMPARE(seen.size(), c.rows * c.names);
      } else {
        QVERIFY(seen.size() < c.rows);
        QVERIFY2(
            seen.last().contains(
                QStringLiteral("%1 further cases are not printed").arg(c.rows - seen.size() + 1)),
            qPrintable(seen.last()));
      }
    }
  }

  void longTextsWrapWithinTheirCells() {
    ProjectState ps = project(2, 0);
    ps.fileName =
        "/home/engineer/projects/offshore/2026/north-west-jacket/leg-A2/riser-cans/"
        "revision-2/riser_can_7.cys";
    ps.cboring = 1;
    const QString text = render(ps, QStringLiteral("wrap.pdf")).simplified();
    // the whole path, over more than one line
    verifyText(text, {"File: /home/engineer/projects/offshore/2026/", "riser_can_7.cys",
                      "(built-up)", "(Fabricated)"});
  }

  // The I stiffener's routine computes no Iz: the report says so instead of
  // printing what an earlier profile left.
  void iStiffenerIzNotComputed() {
    ProjectState ps = project(2, 0);
    ps.cbostiff = 9;
    ps.st.Iz = 1234567;
    ps.rg.Izg = 7654321;  // the ring frame's Iz is computed and printed
    ps.cboring = 9;
    const QString text = render(ps, QStringLiteral("iprofile.pdf"));
    QVERIFY(QRegularExpression(QStringLiteral("Iz\\s+=\\s+not computed")).match(text).hasMatch());
    verifyText(text, {"7.654E+6"}, {"1.235E+6"});
  }

  // The sketches as the profile windows draw them: the RHS hollow, the
  // trapezoid with its top flange b and its webs a wider at the foot.
  void closedProfileSketches() {
    ProjectState ps = project(2, 0);
    const ReportOptions options = defaultReportOptions();
    const QColor fill(150, 160, 175);
    const auto isFill = [&](QRgb c) {
      return std::abs(qRed(c) - fill.red()) < 30 && std::abs(qGreen(c) - fill.green()) < 30 &&
             std::abs(qBlue(c) - fill.blue()) < 30;
    };
    // The stiffener's sketch and, per row, the left and right end of its
    // fill (-1 without); top and bottom are the first and last filled rows.
    struct Sketch {
      QImage image;
      QList<std::pair<int, int>> rows;
      int top = -1, bottom = -1;
    };
    const auto sketch = [&] {
      Sketch s{picture(QSize(400, 400),
                       [&](QPainter& p) {
                         options.profile(p, QRectF(0, 0, 400, 400), ps, Member::Stiffener);
                       }),
               {}};
      for (int y = 0; y < s.image.height(); ++y) {
        int left = -1, right = -1;
        for (int x = 0; x < s.image.width(); ++x) {
          if (isFill(s.image.pixel(x, y))) {
            if (left < 0) left = x;
            right = x;
          }
        }
        s.rows.push_back({left, right});
        if (left >= 0 && s.top < 0) s.top = y;
        if (left >= 0) s.bottom = y;
      }
      return s;
    };
    ps.cbostiff = 7;
    ps.st.h = 200, ps.st.b = 90, ps.st.tw = 9;
    const Sketch rhs = sketch();
    QVERIFY(rhs.top >= 0 && rhs.bottom > rhs.top + 50);
    const int mid = (rhs.top + rhs.bottom) / 2;
    const auto [left, right] = rhs.rows[mid];
    QVERIFY(right - left > 40);
    QCOMPARE(QColor(rhs.image.pixel((left + right) / 2, mid)), QColor(Qt::white));  // the hole

    ps.cbostiff = 8;
    ps.st.a = 50;
    const Sketch trap = sketch();
    QVERIFY(trap.top >= 0 && trap.bottom > trap.top + 50);
    const auto width = [&](int y) { return double(trap.rows[y].second - trap.rows[y].first); };
    const double topWidth = width(trap.top + 2), footWidth = width(trap.bottom - 2);
    // outer widths b + tw at the top and b + 2a + tw at the foot
    QVERIFY2(std::abs(footWidth / topWidth - (90.0 + 100 + 9) / (90 + 9)) < 0.15,
             qPrintable(QStringLiteral("%1 / %2").arg(footWidth).arg(topWidth)));
  }

  // The rule under the profile sections reaches as far right as anything
  // printed above it, the ring-frame data beside the stiffener's included.
  void ruleUnderTheProfilesSpansThem() {
    const ProjectState ps = project(2, 0);
    const QSize size(1240, 1754);
    const QImage page = picture(size, [&](QPainter& p) {
      printReport(p, QRectF(QPointF(0, 0), QSizeF(size)), ps, ReportOptions());
    });
    int rule = -1, ruleRight = -1;
    for (int y = 0; y < page.height(); ++y) {
      int count = 0, right = -1;
      for (int x = 0; x < page.width(); ++x) {
        if (dark(page.pixel(x, y))) ++count, right = x;
      }
      if (count > page.width() / 2) rule = y, ruleRight = right;
    }
    QVERIFY(rule > page.height() / 4);
    int reached = -1;
    for (int y = rule - 150; y < rule - 2; ++y)
      for (int x = 0; x < page.width(); ++x)
        if (dark(page.pixel(x, y))) reached = std::max(reached, x);
    QVERIFY2(ruleRight >= reached,
             qPrintable(QStringLiteral("%1 < %2").arg(ruleRight).arg(reached)));
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
