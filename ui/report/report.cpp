#include "ui/report/report.hpp"

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "core/calc_driver.hpp"
#include "core/panels.hpp"
#include "model/format.hpp"
#include "project/load_cases.hpp"
#include "ui/common/output_device.hpp"
#include "ui/common/painter_target.hpp"
#include "ui/report/report_body.hpp"
#include "ui/report/report_page.hpp"

namespace orvane::ui {

using namespace report;

namespace report {

QString qs(const std::string& text) { return QString::fromStdString(text); }

void heading(ReportPage& page, const QString& text, double x) {
  page.moveTo(x, page.y());
  page.setBold(true);
  page.setItalic(true);
  page.setUnderline(true);
  page.print(text, true);
  page.setBold(false);
  page.setItalic(false);
  page.setUnderline(false);
}

void valueLine(ReportPage& page, double xoff, const QString& label, const QString& symbol,
               const QString& value, const QString& unit) {
  page.moveTo(xoff + kMargin, page.y());
  page.print(label);
  double valueStart = page.x() + 0.5;
  if (!symbol.isEmpty()) {
    page.setX(xoff + kSymbol);
    page.print(symbol);
    page.setX(xoff + kEquals);
    page.print(QStringLiteral("="));
    valueStart = xoff + kEquals + 1.5;
  }
  page.printRightAligned(value, xoff + kValueEdge, xoff + kValueEdge - valueStart);
  page.print(unit.isEmpty() ? QString() : QStringLiteral(" ") + unit, true);
}

}  // namespace report

namespace {

const QString kTitle = QStringLiteral("Orvane DNV");
// Twenty letters of average width: their mean is the width of one column.
const QString kSample = QStringLiteral("SmGasdfghjklpoiuytre");

QString f(double v, const char* pattern) { return qs(format(v, pattern)); }

QString materialName(const ProjectState& ps, int row) {
  return row >= 0 && row < MaterialTable::kRows ? qs(ps.mat.name[row]) : QString();
}

// Header in the scale of the 11-point font: a frame of ruled lines with the
// program, the project, the page and the time of printing.
// Returns the device y below the frame, where the body starts.
double printHeader(ReportPage& page, const ProjectState& ps, const FontCalibration& cal,
                   const QDateTime& now, int number, int pages) {
  page.setFontSize(11);
  page.setScale(cal.cpl[11], cal.lpp[11]);
  const double m = std::floor(0.1 * cal.cpl[11]);
  const double top = 1.5, bottom = 7.0, right = cal.cpl[11] - 0.5;
  page.line(m, top, right, top);
  page.line(m, bottom, right, bottom);
  page.line(m + 36.5, top, m + 36.5, bottom);
  page.line(m + 79.5, top, m + 79.5, bottom);

  auto text = [&](double col, double line, double size, const QString& s) {
    page.setFontSize(size);
    page.moveTo(m + col, line);
    page.print(s);
  };
  page.setBold(true);
  text(0.5, 1.8, 15, kTitle);
  page.setBold(false);
  if (ps.conservativeRules)
    text(0.5, 3.5, 8, QStringLiteral("DNV-RP-C202, judged by the more conservative rules"));
  else
    text(0.5, 3.5, 8, QStringLiteral("Cylinder shell buckling based on DNV-RP-C202"));
  // Each text keeps to its cell of the frame: long names and paths wrap,
  // and what two or three lines cannot hold is shortened in the middle.
  auto wrapped = [&](double col, double line, double width, int lines, const QString& s) {
    page.setFontSize(8);
    page.setY(line);
    page.printWrapped(s, m + col, width, lines);
  };
  wrapped(37.5, 2.2, 41.5, 2, QStringLiteral("Project: ") + qs(ps.projectName));
  wrapped(37.5, 3.8, 41.5, 2, QStringLiteral("Identification: ") + qs(ps.ident));
  // A date is wider than the eight columns before the page number, so the
  // page number stands below the time.
  const double dateWidth = right - (m + 80.5) - 0.3;
  wrapped(80.5, 2.2, dateWidth, 1,
          QStringLiteral("Date: ") + QLocale().toString(now.date(), QLocale::ShortFormat));
  const QTime t = now.time();
  wrapped(
      80.5, 3.5, dateWidth, 1,
      QStringLiteral("Time: %1:%2").arg(QString::number(t.hour()), QString::number(t.minute())));
  text(88.5, 4.8, 8, QStringLiteral("Page:"));
  text(88.5, 5.8, 9, QStringLiteral("%1/%2").arg(number + 1).arg(pages));
  wrapped(0.5, 4.6, 35.5, 3, QStringLiteral("File: ") + qs(ps.fileName));
  return page.deviceY(bottom + 0.8);
}

void printMaterials(ReportPage& page, const ProjectState& ps) {
  heading(page, QStringLiteral("Design format/Condition and Material:"), kMargin);
  valueLine(page, 0, QStringLiteral("Design Condition:"), {},
            ps.wsd ? QStringLiteral("WSD meth.od") : QStringLiteral("LRDF meth.od"), {});
  if (ps.wsd)
    valueLine(page, 0, QStringLiteral("Basic Usage Factor: "), QStringLiteral("n0"),
              f(ps.ufb, "#0.00"), {});
  else
    valueLine(page, 0, QStringLiteral("Allowable Usage Factor: "), QStringLiteral("UF"),
              f(ps.ufb, "##.00"), {});
  auto strength = [&](const char* label, int row, double fy) {
    page.moveTo(kMargin, page.y());
    page.print(QString::fromLatin1(label));
    page.printRightAligned(materialName(ps, row), kNameEdge, kNameEdge - page.x() - 0.5);
    page.setX(kSymbol);
    page.print(QStringLiteral("fy"));
    page.setX(kEquals);
    page.print(QStringLiteral("="));
    page.printRightAligned(f(fy, "###"), kValueEdge, kValueEdge - kEquals - 1.5);
    page.print(QStringLiteral(" MPa"), true);
  };
  strength("Plate: ", ps.matp, ps.fyp);
  if (ps.cyltype == 1 || ps.cyltype == 2) strength("Stiffener: ", ps.mats, ps.fys);
  if (ps.ring_ch == 1) strength("Ringframe: ", ps.matg, ps.fyg);
  valueLine(page, 0, QStringLiteral("Youngs modulus: "), QStringLiteral("E"), f(ps.E, "0.00E+0"),
            QStringLiteral("MPa"));
}

void printGeometry(ReportPage& page, const ProjectState& ps) {
  heading(page, QStringLiteral("Geometry:"), kMargin);
  const QString mm = QStringLiteral("mm");
  const int type = ps.cyltype;
  valueLine(page, 0, QStringLiteral("Cylinder radius (cL plate)"), QStringLiteral("r"),
            f(ps.r, "0"), mm);
  if (type != 3)
    valueLine(page, 0, QStringLiteral("Distance between ring frames"), QStringLiteral("l"),
              f(ps.l, "0"), mm);
  valueLine(page, 0, QStringLiteral("Cylinder wall thickness"), QStringLiteral("t"), f(ps.t, "0.0"),
            mm);
  if (type == 2) {
    valueLine(page, 0, QStringLiteral("Stiff spacing:"), QStringLiteral("s"), f(ps.s, "0"), mm);
    valueLine(page, 0, QStringLiteral("Lat tors buckl length: (stiffener)"), QStringLiteral("lt"),
              f(ps.ltst, "0"), mm);
  }
  if (type >= 1 && type <= 3)
    valueLine(page, 0, QStringLiteral("Cylinder length"), QStringLiteral("L"), f(ps.L, "0"), mm);
  if (type == 1 || type == 2)
    valueLine(page, 0, QStringLiteral("Lat tors buckl length: (ringframe)"), QStringLiteral("lt"),
              f(ps.ltgi, "0"), mm);
  if (type == 3) {
    valueLine(page, 0, QStringLiteral("Effective length factor"), QStringLiteral("k1"),
              f(ps.k1, "0.00"), {});
    valueLine(page, 0, {}, QStringLiteral("k2"), f(ps.k2, "0.00"), {});
  }
}

void printLoading(ReportPage& page, const ProjectState& ps) {
  heading(page, QStringLiteral("Loading:"), kMargin);
  auto load = [&](const char* symbol, double value, const char* pattern, const char* unit) {
    page.moveTo(kMargin, page.y());
    page.print(QString::fromLatin1(symbol));
    page.setX(kLoadEq);
    page.print(QStringLiteral("="));
    page.printRightAligned(f(value, pattern), kLoadEdge, kLoadEdge - kLoadEq - 1.5);
    page.print(QStringLiteral(" ") + QString::fromLatin1(unit), true);
  };
  const char* pressureUnit = "MPa (positive = inside pressure)";
  if (ps.cyltype == 3) {
    load("pd", ps.pd, "0.000", pressureUnit);
    load("N", ps.N, "0.0", "kN");
    load("M1a", ps.M1a, "0.0", "kNm");
    load("M1b", ps.M1b, "0.0", "kNm");
    load("M2a", ps.M2a, "0.0", "kNm");
    load("M2b", ps.M2b, "0.0", "kNm");
  } else {
    load("Sigx", ps.sigx, "0.0", "MPa");
    load("Sigy", ps.sigy, "0.0", "MPa");
    load("Tau", ps.tau, "0.0", "MPa");
    load("pd", ps.pd, "0.000", pressureUnit);
  }
}

// One profile section at `xoff`: heading, designation, sketch and data.
// Returns the line reached.
double printProfileSection(ReportPage& page, const ProjectState& ps, Member member, double xoff,
                           double top, const ReportOptions& options) {
  const bool ring = member == Member::RingFrame;
  page.setY(top);
  heading(page, ring ? QStringLiteral("Ringframe Profile:") : QStringLiteral("Stiffener Profile:"),
          xoff + kMargin);
  QString designation = reportDesignation(ps, member);
  if (ring)
    designation += ps.ringfab ? QStringLiteral(" (Cold-formed)") : QStringLiteral(" (Fabricated)");
  // The designation keeps left of the profile data: the type word and the
  // dimensions first, "(built-up)" and "(Fabricated)" below where needed.
  page.printWrapped(designation, xoff + kMargin, kSymbol - kMargin - 1, 2);
  const double sketchTop = page.y() + 0.5;
  if (options.profile)
    options.profile(page.painter(), page.toDevice(QRectF(xoff + kMargin + 2, sketchTop, 24, 9)), ps,
                    member);
  page.setY(top);
  printProfileData(page, ps, member, xoff);
  return std::max(page.y(), sketchTop + 9.5);
}

}  // namespace

FontCalibration calibrateFonts(QPainter& painter, const QRectF& area) {
  ReportPage page(painter, area);
  FontCalibration cal;
  for (int size = 11; size >= 8; --size) {
    page.setFontSize(size);
    cal.cpl[size] = static_cast<int>(page.scaleWidth() / page.textWidth(kSample) * 20);
    cal.lpp[size] = static_cast<int>(page.scaleHeight() / page.textHeight());
  }
  return cal;
}

int reportPageCount(const ReportOptions& options) {
  return 1 + (options.cases ? casePageCount(*options.cases) : 0);
}

void printReport(QPainter& painter, const QRectF& area, const ProjectState& ps,
                 const ReportOptions& options) {
  printReportPage(painter, area, ps, options, 0);
}

bool printReportPages(QPainter& painter, QPagedPaintDevice& device, const QRectF& area,
                      const ProjectState& ps, const ReportOptions& options) {
  const int pages = reportPageCount(options);
  for (int number = 0; number < pages; ++number) {
    if (number > 0 && !device.newPage()) return false;
    printReportPage(painter, area, ps, options, number);
  }
  return true;
}

void printReportPage(QPainter& painter, const QRectF& area, const ProjectState& ps,
                     const ReportOptions& options, int number) {
  const FontCalibration cal = calibrateFonts(painter, area);
  ReportPage page(painter, area);
  const double bodyTop =
      printHeader(page, ps, cal, options.printedAt, number, reportPageCount(options));

  page.setScale(kCols, kLines);
  const double top = (bodyTop - area.top()) / page.unitY();
  if (number > 0) {
    if (options.cases) printCases(page, *options.cases, number - 1, top, options.decimalComma);
    return;
  }
  page.setFontSize(8);
  page.setY(top);
  const double inputsTop = page.y();
  printMaterials(page, ps);
  page.setY(page.y() + 0.5);
  printGeometry(page, ps);
  page.setY(page.y() + 0.5);
  printLoading(page, ps);
  // The sketch stands beside the input blocks and no lower: the profile
  // sections and the panels start below them.
  if (options.cylinder) {
    const double height = std::min(22.0, page.y() - inputsTop - 0.5);
    options.cylinder(painter, page.toDevice(QRectF(84, inputsTop + 0.5, 30, height)), ps);
  }

  double ypos = page.y() + 0.5;
  const double ysave = ypos;
  double xoff = 0;
  bool profiles = false;
  const ShownPanels shown = shownPanels(ps);
  if (shown.stiffener) {
    ypos = printProfileSection(page, ps, Member::Stiffener, 0, ysave, options);
    xoff = kRingOffset;
    profiles = true;
  }
  if (shown.ring) {
    ypos = std::max(ypos, printProfileSection(page, ps, Member::RingFrame, xoff, ysave, options));
    profiles = true;
  }
  if (profiles) {
    // across the body, past the ring-frame data beside the stiffener's
    page.line(kMargin, ypos + 0.3, kRight, ypos + 0.3);
    ypos += 1;
  }
  // A stopped calculation is said where the results start; the panels then
  // print what the window's panels show.
  const ProjectState* results = &ps;
  if (!options.calculationStopped.isEmpty()) {
    PainterTarget line(painter, page.area(), page.unitX(), page.unitY(), page.font());
    line.setBold(true);
    line.setForeColor(kRed);
    line.setCurrentX(kMargin);
    line.setCurrentY(ypos);
    line.print(options.calculationStopped.toStdString(), false);
    ypos += 1.5;
    if (options.lastComplete) results = options.lastComplete.get();
  }
  printPanels(painter, page, *results, ypos, options.decimalComma);
}

QString writeReportPdf(const ProjectState& ps, const QString& path, const ReportOptions& options,
                       const std::vector<std::filesystem::path>& inputs) {
  // through the one output writer: a failed report leaves no half-written
  // PDF and an existing file as it was
  return writeOutput(
      path,
      [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(6, 6, 6, 6), QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Orvane DNV - ") + qs(ps.projectName));
        writer.setCreator(kTitle);
        QPainter painter;
        if (!painter.begin(&writer)) return false;
        const bool printed = printReportPages(
            painter, writer, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())), ps,
            options);
        return painter.end() && printed;
      },
      inputs);
}

}  // namespace orvane::ui
