// The report's pages of load cases: the governing case of each check, the
// counts, and the table of cases with each usage factor in the panels'
// colours, the governing ones bold and marked.
#include <QColor>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

#include "core/panels.hpp"
#include "model/format.hpp"
#include "project/input_names.hpp"
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
// A case name wider than this is set narrower.
constexpr double kWidestName = 40;
// More number columns than these do not stand whole beside each other: the
// inputs and the results become two tables.
constexpr size_t kMostInOneRow = 8;
// The fault of a row stands under it in lines of at most this many
// characters (broken after blanks and slashes), at most kMostFaultLines;
// counted by characters, the pages are known before printing.
constexpr qsizetype kFaultChars = 90;
constexpr int kMostFaultLines = 3;
// the gap beside the widest text of a column
constexpr double kGap = 2;
const QString kMarker = QStringLiteral(" \u25C4");

QString checkTitle(CheckId check) { return QString::fromLatin1(checkCaption(check)); }

// Lines of the column titles: each check's caption in up to two lines, and
// for section forces a line naming the usage-factor and angle columns.
int titleLines(const cases::CaseReport& r) { return r.forces ? 3 : 2; }

// The inputs in a table of their own above the results.
bool twoTables(const cases::CaseReport& r) {
  return r.forces || r.table.columns.size() + r.checks.size() > kMostInOneRow;
}

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

// The lines of a page that its rows share: with two tables each row takes
// a line in both, and the inputs' units, titles, rule and a blank line go
// before the results.
double roomOn(const cases::CaseReport& r, int casePage) {
  return kLastLine - kFirstLine - linesAbove(r, casePage) - titleLines(r) - 0.5 -
         (twoTables(r) ? 3.5 : 0);
}

// The fault or the input error of a row in the lines printed under it.
QStringList faultLines(const cases::CaseReport& r, size_t row) {
  if (row >= r.outcomes.size()) return {};
  const RowOutcome& o = r.outcomes[row];
  const RowOutcome::Status s = o.status();
  const std::string& text = s == RowOutcome::Status::Faulted      ? o.fault
                            : s == RowOutcome::Status::InputError ? o.inputError
                                                                  : std::string();
  if (text.empty()) return {};
  const QString all = qs(text);
  QStringList lines;
  qsizetype start = 0;
  while (start < all.size() && lines.size() < kMostFaultLines - 1) {
    if (all.size() - start <= kFaultChars) break;
    qsizetype cut = start + kFaultChars;
    for (qsizetype i = cut - 1; i > start; --i) {
      if (all[i] == u' ' || all[i] == u'/') {
        cut = i + 1;
        break;
      }
    }
    lines << all.mid(start, cut - start).trimmed();
    start = cut;
  }
  if (start < all.size()) lines << all.mid(start).trimmed();
  return lines;
}

double rowLines(const cases::CaseReport& r, size_t row) {
  return (twoTables(r) ? 2 : 1) + static_cast<double>(faultLines(r, row).size());
}

// The first row of each page of cases and, last, the row after them.
std::vector<size_t> pageBreaks(const cases::CaseReport& r) {
  std::vector<size_t> breaks{0};
  const size_t rows = r.table.rows.size();
  size_t row = 0;
  for (int p = 0; p < kMostPages && row < rows; ++p) {
    const double room = roomOn(r, p);
    double used = 0;
    while (row < rows && (used == 0 || used + rowLines(r, row) <= room)) used += rowLines(r, row++);
    breaks.push_back(row);
  }
  return breaks;
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

// The governing angle of a check round the circumference (section forces).
QString angle(double theta, bool decimalComma) {
  QString s = qs(format(theta, "0.0"));
  if (decimalComma) s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s;
}

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
  return static_cast<int>(pageBreaks(r).size()) - 1;
}

namespace {

// Where the columns of the table(s) of cases stand: the right edge and
// width of each input, each check's usage factor (and with section forces
// its angle), and the verdict's left edge.
struct Columns {
  double name = kNameWidth;
  std::vector<double> inputEdge, inputWidth;
  std::vector<double> ufEdge, ufWidth, angleEdge, angleWidth, span;
  std::vector<QStringList> captions;
  double marker = 2;  // room right of a usage factor for the marker
  double verdictX = 0;
};

double widestOf(const ReportPage& page, const QString& title, const std::vector<QString>& texts) {
  double widest = page.textWidth(title);
  for (const QString& t : texts) widest = std::max(widest, page.textWidth(t));
  return widest;
}

// The columns of one table of inputs and results, as the report printed
// them before, with a wider case column where the verdicts leave room.
Columns oneTable(ReportPage& page, const cases::CaseReport& r, size_t first, size_t last) {
  Columns c;
  const size_t inputs = r.table.columns.size();
  const size_t numbers = inputs + r.checks.size();
  const double room = kRight - kMargin - kNameWidth - kVerdictWidth;
  const double width = std::min(kWidest, room / static_cast<double>(std::max<size_t>(numbers, 1)));
  page.setBold(true);
  double checksWidth = 0;
  for (const CheckId check : r.checks) {
    c.captions.push_back(captionLines(page, checkTitle(check), width - 1));
    c.span.push_back(std::max(width, widestLine(page, c.captions.back()) + 2));
    checksWidth += c.span.back();
  }
  const double verdictWord = page.textWidth(QStringLiteral("input error"));
  page.setBold(false);
  std::vector<QString> names;
  for (size_t row = first; row < last; ++row) names.push_back(caseName(r, row));
  c.name = std::clamp(widestOf(page, QStringLiteral("case"), names) + kGap, kNameWidth,
                      kNameWidth + kVerdictWidth - verdictWord - kGap);
  const double inputWidth =
      std::min(width, (room - checksWidth) / static_cast<double>(std::max<size_t>(inputs, 1)));
  double x = kMargin + c.name - 1;
  for (size_t i = 0; i < inputs; ++i) {
    c.inputWidth.push_back(inputWidth);
    c.inputEdge.push_back(x += inputWidth);
  }
  for (const double span : c.span) {
    c.ufWidth.push_back(span);
    c.ufEdge.push_back(x += span);
  }
  c.verdictX = numbers > 0 ? x + 2 : kMargin + c.name + 1;
  return c;
}

// The columns of a table of inputs over a table of results: each as wide
// as its widest text (the numbers as printed), the case names alike in
// both.
Columns twoTableColumns(ReportPage& page, const cases::CaseReport& r, size_t first, size_t last,
                        bool decimalComma) {
  Columns c;
  const size_t inputs = r.table.columns.size();
  std::vector<QString> texts;
  for (size_t row = first; row < last; ++row) texts.push_back(caseName(r, row));
  c.name = std::min(widestOf(page, QStringLiteral("case"), texts) + kGap, kWidestName);

  // results: usage factor (bold where governing), marker, angle
  page.setBold(true);
  c.marker = std::max(c.marker, page.textWidth(kMarker));
  const double verdictWord = page.textWidth(QStringLiteral("input error"));
  double results = 0;
  for (const CheckId check : r.checks) {
    texts.clear();
    std::vector<QString> angles;
    for (size_t row = first; row < last && row < r.outcomes.size(); ++row) {
      const CheckValue& v = r.outcomes[row][check];
      if (!v.shown) continue;
      texts.push_back(number(v.uf, decimalComma));
      if (r.forces && row < r.points.size())
        angles.push_back(angle(r.points[row][static_cast<size_t>(check)].theta, decimalComma));
    }
    const double uf = widestOf(page, QStringLiteral("UF"), texts) + c.marker + kGap + 1;
    const double theta = r.forces ? widestOf(page, QStringLiteral("\u03b8"), angles) + kGap : 0;
    c.captions.push_back(captionLines(page, checkTitle(check), std::max(uf + theta, 10.0) - 1));
    const double span = std::max(uf + theta, widestLine(page, c.captions.back()) + kGap);
    c.ufWidth.push_back(span - theta);
    c.angleWidth.push_back(theta);
    c.span.push_back(span);
    results += span;
  }
  std::vector<double> widths;
  double inputsWidth = 0;
  for (size_t i = 0; i < inputs; ++i) {
    texts.clear();
    for (size_t row = first; row < last; ++row) {
      const std::vector<std::string>& values = r.table.rows[row].values;
      if (i < values.size()) texts.push_back(qs(values[i]));
    }
    page.setBold(true);
    const double title = page.textWidth(qs(r.table.columns[i]));
    page.setBold(false);
    widths.push_back(std::max(title, widestOf(page, QString(), texts)) + kGap + 1);
    inputsWidth += widths.back();
  }
  // a case column as wide as the page leaves beside either table
  const double body = kRight - kMargin;
  c.name = std::max(std::min({c.name, body - inputsWidth, body - results - verdictWord - 3}),
                    kNameWidth);
  // inputs that do not stand whole beside each other are set narrower
  const double scale = std::min(1.0, (body - c.name) / std::max(inputsWidth, 1.0));
  double x = kMargin + c.name - 1;
  for (const double w : widths) {
    c.inputWidth.push_back(w * scale);
    c.inputEdge.push_back(x += w * scale);
  }
  x = kMargin + c.name - 1;
  for (size_t k = 0; k < r.checks.size(); ++k) {
    c.ufEdge.push_back(x += c.ufWidth[k]);
    c.angleEdge.push_back(x += c.angleWidth[k]);
  }
  c.verdictX = r.checks.empty() ? kMargin + c.name + 1 : x + 2;
  page.setBold(false);
  return c;
}

// the right edge of check `k`'s columns
double checkEdge(const cases::CaseReport& r, const Columns& c, size_t k) {
  return r.forces ? c.angleEdge[k] : c.ufEdge[k];
}

// The title line of the inputs at `y`, their units on the line above.
void printInputTitles(ReportPage& page, const cases::CaseReport& r, const Columns& c, bool alone,
                      double y) {
  for (size_t i = 0; i < c.inputEdge.size(); ++i) {
    const std::optional<InputCaption> caption = inputCaption(r.table.columns[i]);
    if (!caption || caption->unit.empty()) continue;
    page.moveTo(kMargin, y - 1);
    page.printRightAligned(QStringLiteral("[%1]").arg(qs(std::string(caption->unit))),
                           c.inputEdge[i], c.inputWidth[i] - 1);
  }
  page.moveTo(kMargin, y);
  page.printFitted(QStringLiteral("case"), c.name - 1);
  for (size_t i = 0; i < c.inputEdge.size(); ++i)
    page.printRightAligned(qs(r.table.columns[i]), c.inputEdge[i], c.inputWidth[i] - 1);
  if (alone) page.line(kMargin, y + 1.1, kRight, y + 1.1);
}

// The checks' captions over their columns, ending on line `titleY`, and
// the verdict's title.
void printResultTitles(ReportPage& page, const cases::CaseReport& r, const Columns& c,
                       double titleY) {
  for (size_t k = 0; k < r.checks.size(); ++k) {
    const double right = checkEdge(r, c, k);
    const QStringList& lines = c.captions[k];
    double lineY = (r.forces ? titleY - 1 : titleY) - static_cast<double>(lines.size() - 1);
    for (const QString& line : lines) {
      page.setY(lineY++);
      page.printRightAligned(line, right, c.span[k] - 1);
    }
    if (r.forces) {
      page.setY(titleY);
      page.printRightAligned(QStringLiteral("UF"), c.ufEdge[k] - c.marker, c.ufWidth[k] - 1);
      page.printRightAligned(QStringLiteral("\u03b8"), c.angleEdge[k], c.angleWidth[k] - 1);
    }
  }
  page.moveTo(c.verdictX, titleY);
  page.printFitted(QStringLiteral("verdict"), kRight - c.verdictX);
  page.line(kMargin, titleY + 1.1, kRight, titleY + 1.1);
}

void printInputs(ReportPage& page, const cases::CaseReport& r, const Columns& c, size_t row,
                 double y) {
  const cases::CaseRow& cr = r.table.rows[row];
  page.moveTo(kMargin, y);
  page.printFitted(caseName(r, row), c.name - 1);
  for (size_t i = 0; i < c.inputEdge.size(); ++i)
    page.printRightAligned(qs(i < cr.values.size() ? cr.values[i] : std::string()), c.inputEdge[i],
                           c.inputWidth[i] - 1);
}

// The results of a row at `y`, its fault in the lines under it; returns
// the line after them.
double printResults(ReportPage& page, const cases::CaseReport& r, const Columns& c, size_t row,
                    double y, bool decimalComma) {
  const RowOutcome& o = r.outcomes[row];
  for (size_t k = 0; k < r.checks.size(); ++k) {
    const CheckId check = r.checks[k];
    const CheckValue& v = o[check];
    if (!v.shown) continue;
    const bool governing = r.summary.governing[static_cast<size_t>(check)] == static_cast<int>(row);
    page.setY(y);
    page.setBold(governing);
    page.setColor(colorOf(v.exceeded() ? kRed : kGreen));
    page.printRightAligned(number(v.uf, decimalComma), c.ufEdge[k] - c.marker,
                           c.ufWidth[k] - c.marker - 1);
    if (governing) page.print(kMarker);
    page.setBold(false);
    if (r.forces && o.fault.empty() && o.inputError.empty()) {
      page.setColor(Qt::black);
      page.printRightAligned(angle(r.points[row][static_cast<size_t>(check)].theta, decimalComma),
                             c.angleEdge[k], c.angleWidth[k] - 1);
    }
  }
  page.setColor(colorOf(o.status() == RowOutcome::Status::Passed ? kGreen : kRed));
  page.moveTo(c.verdictX, y);
  page.printFitted(qs(statusWord(o.status())), kRight - c.verdictX);
  // the fault across the body under the row
  for (const QString& line : faultLines(r, row)) {
    page.moveTo(kMargin + 2, y += 1);
    page.printFitted(line, kRight - kMargin - 2);
  }
  page.setColor(Qt::black);
  return y + 1;
}

}  // namespace

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
  const std::vector<size_t> breaks = pageBreaks(r);
  if (casePage < 0 || static_cast<size_t>(casePage) + 1 >= breaks.size()) return;
  const size_t first = breaks[static_cast<size_t>(casePage)];
  const size_t last = breaks[static_cast<size_t>(casePage) + 1];
  // the columns are those of every printed row, the same on each page
  const bool two = twoTables(r);
  const Columns c = two ? twoTableColumns(page, r, 0, breaks.back(), decimalComma)
                        : oneTable(page, r, 0, breaks.back());

  double y = top + linesAbove(r, casePage);
  if (two) {
    page.setBold(true);
    printInputTitles(page, r, c, true, y + 1);
    page.setBold(false);
    y += 2.5;
    for (size_t row = first; row < last; ++row, y += 1) printInputs(page, r, c, row, y);
    y += 1;
  }
  // column titles: the other titles beside the captions' last lines
  const double titleY = y + titleLines(r) - 1;
  page.setBold(true);
  if (two) {
    page.moveTo(kMargin, titleY);
    page.printFitted(QStringLiteral("case"), c.name - 1);
  } else {
    printInputTitles(page, r, c, false, titleY);
  }
  printResultTitles(page, r, c, titleY);
  page.setBold(false);
  y = titleY + 1.5;
  for (size_t row = first; row < last; ++row) {
    if (two) {
      page.moveTo(kMargin, y);
      page.printFitted(caseName(r, row), c.name - 1);
    } else {
      printInputs(page, r, c, row, y);
    }
    y = printResults(page, r, c, row, y, decimalComma);
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
