// The report's pages of load cases: the governing case of each check, the
// counts, and the table of cases with each usage factor in the panels'
// colours, the governing ones bold and marked.
#include <QColor>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "core/panels.hpp"
#include "model/format.hpp"
#include "project/load_cases.hpp"
#include "ui/report/report_body.hpp"
#include "ui/report/report_page.hpp"

namespace orvane::ui::report {

namespace {

// The rows of a page are counted from this first line of the body, below
// the header frame whatever the printer's fonts make of it, so that the
// pages are known before printing; the last line leaves the bottom margin
// free.
constexpr double kFirstLine = 12, kLastLine = kLines - 2;
// Beyond this the report names the governing cases and refers to the file.
constexpr int kMostPages = 20;
constexpr double kNameWidth = 18, kVerdictWidth = 24, kWidest = 10;
// the columns of a check of section forces: usage factor and marker, angle
constexpr double kForceUfWidth = 7.5, kAngleWidth = 5.5;
const QString kMarker = QStringLiteral(" \u25C4");

QString checkTitle(CheckId check) { return QString::fromLatin1(checkCaption(check)); }

// Lines of the column titles: each check's caption in up to two lines, and
// for section forces a line naming the usage-factor and angle columns.
int titleLines(const cases::CaseReport& r) { return r.forces ? 3 : 2; }

// A caption on one line where it fits `width`, else in two, its last word
// below the others ("Ring frame" / "inertia").
QStringList captionLines(const ReportPage& page, const QString& caption, double width) {
  const qsizetype blank = caption.lastIndexOf(QLatin1Char(' '));
  if (blank < 0 || page.textWidth(caption) <= width) return {caption};
  return {caption.left(blank), caption.mid(blank + 1)};
}

double widestLine(const ReportPage& page, const QStringList& lines) {
  double widest = 0;
  for (const QString& line : lines) widest = std::max(widest, page.textWidth(line));
  return widest;
}

QColor colorOf(int palette) {
  const Rgb c = paletteColor(palette);
  return {c.r, c.g, c.b};
}

// The lines above the table: heading, a line per check, the counts, the
// legend and a blank line on the first page of cases.
double linesAbove(const cases::CaseReport& r, int casePage) {
  return casePage == 0 ? 4 + static_cast<double>(r.checks.size()) : 0;
}

int rowsOn(const cases::CaseReport& r, int casePage) {
  return static_cast<int>(kLastLine - kFirstLine - linesAbove(r, casePage) - titleLines(r) - 0.5);
}

size_t firstRowOf(const cases::CaseReport& r, int casePage) {
  size_t first = 0;
  for (int p = 0; p < casePage; ++p) first += static_cast<size_t>(rowsOn(r, p));
  return first;
}

QString number(double v, bool decimalComma) {
  QString s = qs(format(v, "0.00"));
  if (decimalComma) s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s;
}

QString caseName(const std::string& name, size_t row) {
  return name.empty() ? QStringLiteral("row %1").arg(row + 1) : qs(name);
}

QString caseName(const cases::CaseReport& r, size_t row) {
  return caseName(r.table.rows[row].name, row);
}

QString verdict(const RowOutcome& o) { return qs(rowVerdict(o)); }

// The governing angle of a check round the circumference (section forces).
QString angle(double theta, bool decimalComma) {
  QString s = qs(format(theta, "0.0"));
  if (decimalComma) s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s;
}

// Number columns per check: its usage factor, and for section forces the
// angle of its governing point.
size_t perCheck(const cases::CaseReport& r) { return r.forces ? 2 : 1; }

void printSummary(ReportPage& page, const cases::CaseReport& r, bool decimalComma) {
  const int64_t count = r.total;
  for (const CheckId check : r.checks) {
    page.moveTo(kMargin, page.y());
    const int g = r.summary.governing[static_cast<size_t>(check)];
    QString text = QStringLiteral("%1: governing ").arg(checkTitle(check));
    if (g < 0) {
      page.print(text + QStringLiteral("no case completed"), true);
      continue;
    }
    const CheckValue& v = r.governingValue[static_cast<size_t>(check)];
    page.print(text);
    page.setBold(true);
    page.setColor(colorOf(v.exceeded() ? kRed : kGreen));
    page.print(QStringLiteral("UF = ") + number(v.uf, decimalComma));
    page.setBold(false);
    page.setColor(Qt::black);
    // a long case name is fitted to the line
    QString where = QStringLiteral(" <= ") + number(v.allow, decimalComma) +
                    QStringLiteral(" in case ") +
                    caseName(r.governingName[static_cast<size_t>(check)], static_cast<size_t>(g));
    if (r.forces)
      where += QStringLiteral(" at \u03b8 = ") +
               angle(r.governingPoint[static_cast<size_t>(check)].theta, decimalComma) +
               QStringLiteral("\u00b0");
    page.printFitted(where, kRight - page.x(), true);
  }
  page.moveTo(kMargin, page.y());
  QString counts = QStringLiteral("%1 cases: %2 passed, %3 failed, %4 faulted")
                       .arg(count)
                       .arg(r.summary.passed)
                       .arg(r.summary.failed)
                       .arg(r.summary.faulted);
  if (r.summary.inputErrors > 0)
    counts += QStringLiteral(", %1 with input errors").arg(r.summary.inputErrors);
  page.print(counts, true);
  page.moveTo(kMargin, page.y());
  page.print(QStringLiteral("Usage factors of the checks; ") + kMarker.trimmed() +
                 QStringLiteral(" marks the governing case of a check.") +
                 (r.forces ? QStringLiteral(" \u03b8: its governing angle (degrees).") : QString()),
             true);
}

}  // namespace

// the rows of the pages of a table of stresses, the longest
size_t mostPrintedCases() {
  return static_cast<size_t>(kMostPages) * static_cast<size_t>(kLastLine - kFirstLine - 2.5);
}

int casePageCount(const cases::CaseReport& r) {
  if (r.table.rows.empty()) return 0;
  if (!r.problem.empty()) return 1;
  int pages = 1;
  size_t rows = static_cast<size_t>(rowsOn(r, 0));
  while (rows < r.table.rows.size() && pages < kMostPages)
    rows += static_cast<size_t>(rowsOn(r, pages++));
  return pages;
}

void printCases(ReportPage& page, const cases::CaseReport& r, int casePage, double top,
                bool decimalComma) {
  page.setFontSize(8);
  top = std::max(top + 0.5, kFirstLine - 1);
  page.setY(top);
  if (casePage == 0) {
    heading(page, QStringLiteral("Load cases:"), kMargin);
    if (!r.problem.empty()) {
      page.setColor(colorOf(kRed));
      page.moveTo(kMargin, page.y());
      page.print(QStringLiteral("The load cases could not run: ") + qs(r.problem), true);
      page.setColor(Qt::black);
      return;
    }
    printSummary(page, r, decimalComma);
  }
  const size_t inputs = r.table.columns.size();
  const size_t per = perCheck(r);
  const size_t numbers = inputs + per * r.checks.size();
  const double room = kRight - kMargin - kNameWidth - kVerdictWidth;
  const double width = std::min(kWidest, room / static_cast<double>(std::max<size_t>(numbers, 1)));
  // Each check's caption stands whole over its columns (with section forces
  // its usage factor and angle), which widen for it where they must; the
  // inputs share the rest.
  page.setBold(true);
  std::vector<QStringList> captions;
  std::vector<double> spans;
  double checksWidth = 0;
  for (const CheckId check : r.checks) {
    const double span = r.forces ? kForceUfWidth + kAngleWidth : width;
    captions.push_back(captionLines(page, checkTitle(check), span - 1));
    spans.push_back(std::max(span, widestLine(page, captions.back()) + 2));
    checksWidth += spans.back();
  }
  const double inputWidth =
      std::min(width, (room - checksWidth) / static_cast<double>(std::max<size_t>(inputs, 1)));
  std::vector<double> widths(inputs, inputWidth);
  for (const double span : spans) {
    if (r.forces) {
      widths.push_back(span - kAngleWidth);
      widths.push_back(kAngleWidth);
    } else {
      widths.push_back(span);
    }
  }
  std::vector<double> edges;  // right edge of each number column
  double x = kMargin + kNameWidth - 1;
  for (const double w : widths) edges.push_back(x += w);
  auto edge = [&](size_t column) { return edges[column]; };
  auto widthOf = [&](size_t column) { return widths[column]; };
  const double verdictX = numbers > 0 ? edge(numbers - 1) + 2 : kMargin + kNameWidth + 1;

  // column titles: the other titles beside the captions' last lines
  double y = top + linesAbove(r, casePage);
  const double titleY = y + titleLines(r) - 1;  // the last title line
  page.moveTo(kMargin, titleY);
  page.printFitted(QStringLiteral("case"), kNameWidth - 1);
  for (size_t c = 0; c < inputs; ++c)
    page.printRightAligned(qs(r.table.columns[c]), edge(c), widthOf(c) - 1);
  for (size_t k = 0; k < r.checks.size(); ++k) {
    const size_t uf = inputs + per * k;
    const double right = edge(uf + per - 1);
    const QStringList& lines = captions[k];
    double lineY = (r.forces ? titleY - 1 : titleY) - static_cast<double>(lines.size() - 1);
    for (const QString& line : lines) {
      page.setY(lineY++);
      page.printRightAligned(line, right, spans[k] - 1);
    }
    if (r.forces) {
      page.setY(titleY);
      page.printRightAligned(QStringLiteral("UF"), edge(uf) - 2, widthOf(uf) - 3);
      page.printRightAligned(QStringLiteral("\u03b8"), edge(uf + 1), kAngleWidth - 1);
    }
  }
  page.moveTo(verdictX, titleY);
  page.printFitted(QStringLiteral("verdict"), kRight - verdictX);
  page.setBold(false);
  page.line(kMargin, titleY + 1.1, kRight, titleY + 1.1);
  y = titleY + 1.5;

  const size_t first = firstRowOf(r, casePage);
  const size_t last =
      std::min(r.table.rows.size(), first + static_cast<size_t>(rowsOn(r, casePage)));
  for (size_t row = first; row < last; ++row, y += 1) {
    const cases::CaseRow& cr = r.table.rows[row];
    const RowOutcome& o = r.outcomes[row];
    page.moveTo(kMargin, y);
    page.printFitted(caseName(r, row), kNameWidth - 1);
    for (size_t c = 0; c < inputs; ++c)
      page.printRightAligned(qs(c < cr.values.size() ? cr.values[c] : std::string()), edge(c),
                             widthOf(c) - 1);
    for (size_t k = 0; k < r.checks.size(); ++k) {
      const CheckId check = r.checks[k];
      const CheckValue& v = o[check];
      if (!v.shown) continue;
      const bool governing =
          r.summary.governing[static_cast<size_t>(check)] == static_cast<int>(row);
      page.setBold(governing);
      page.setColor(colorOf(v.exceeded() ? kRed : kGreen));
      page.printRightAligned(number(v.uf, decimalComma), edge(inputs + per * k) - 2,
                             widthOf(inputs + per * k) - 3);
      if (governing) page.print(kMarker);
      page.setBold(false);
      if (r.forces && o.fault.empty() && o.inputError.empty()) {
        page.setColor(Qt::black);
        page.printRightAligned(angle(r.points[row][static_cast<size_t>(check)].theta, decimalComma),
                               edge(inputs + per * k + 1), kAngleWidth - 1);
      }
    }
    page.setColor(colorOf(o.status() == RowOutcome::Status::Passed ? kGreen : kRed));
    page.setX(verdictX);
    page.printFitted(verdict(o), kRight - verdictX);
    page.setColor(Qt::black);
  }
  if (casePage == casePageCount(r) - 1 && static_cast<int64_t>(last) < r.total) {
    page.moveTo(kMargin, y + 0.5);
    page.print(QStringLiteral("... %1 further cases are not printed; the governing cases are named "
                              "on the first page of cases.")
                   .arg(r.total - static_cast<int64_t>(last)),
               true);
  }
}

}  // namespace orvane::ui::report
