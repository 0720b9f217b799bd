#include "project/load_cases.hpp"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "files/output_file.hpp"
#include "model/codes.hpp"
#include "project/batch_xlsx.hpp"
#include "project/force_cases.hpp"
#include "project/row_runner.hpp"
#include "project/set_values.hpp"

namespace orvane::cases {

namespace {

// Rows per chunk: the window is asked whether to go on between chunks.
constexpr uint64_t kChunkRows = 512;
// Rows of a file read, run and let go at a time: 4,096 rows keep a file's
// run to a few MB (its rows, their texts and their outcomes) whatever its
// length, and still give the cores eight chunks to share each time.
constexpr uint64_t kStreamRows = 8 * kChunkRows;

}  // namespace

std::vector<std::string> presetColumns(const ProjectState& ps) {
  if (cylinderType(ps.cyltype) == CylinderType::Column)
    return {"N", "M1a", "M1b", "M2a", "M2b", "pd"};
  return {"sigx", "sigy", "tau", "pd"};
}

namespace {

// Each case as a row of a batch, numbered from 1, until `each` fails.
template <typename Each>
Status forEachRow(const CaseTable& table, const std::vector<RowOutcome>& outcomes, Each&& each) {
  for (size_t i = 0; i < table.rows.size() && i < outcomes.size(); ++i) {
    const CaseRow& r = table.rows[i];
    const std::vector<std::string_view> inputs(r.values.begin(), r.values.end());
    BatchRow row;
    row.row = row.line = static_cast<int64_t>(i + 1);
    row.caseName = r.name;
    row.inputs = inputs;
    row.outcome = &outcomes[i];
    if (const Status done = each(row); !done) return done;
  }
  return Done{};
}

}  // namespace

CaseSummary summarize(const CaseTable& table, const std::vector<RowOutcome>& outcomes) {
  CaseSummary s;
  (void)forEachRow(table, outcomes, [&](const BatchRow& row) -> Status {
    s.add(row);
    return Done{};
  });
  for (size_t c = 0; c < kCheckCount; ++c)
    if (s.checks[c].any) s.governing[c] = static_cast<int>(s.checks[c].row - 1);
  return s;
}

RowOutcome runCase(const RowEngine& engine, const CaseRow& row, RowScratch& scratch) {
  std::vector<std::string_view> texts(row.values.begin(), row.values.end());
  texts.resize(engine.columns().size());
  return engine.run(texts, scratch);
}

std::vector<RowOutcome> runCases(const RowEngine& engine, const CaseTable& table,
                                 const std::function<bool()>& cancelled) {
  return runEachRow<RowOutcome>(
      table.rows, kChunkRows, cancelled,
      [&](const CaseRow& row, RowScratch& scratch) { return runCase(engine, row, scratch); });
}

namespace {

// Row `index` (from 0) into the report's summary, the batch's own, with
// its points for a table of section forces.
void addToReport(CaseReport& report, int64_t index, const std::string& name, const RowOutcome& o,
                 const GoverningPoints* points = nullptr) {
  BatchRow row;
  row.row = row.line = index + 1;
  row.caseName = name;
  row.outcome = &o;
  row.points = points;
  report.summary.add(row);
  if (!points) return;
  for (size_t c = 0; c < kCheckCount; ++c)
    if (report.summary.checks[c].any && report.summary.checks[c].row == row.row)
      report.governingPoint[c] = (*points)[c];
}

// The engine of a report's table: of stresses, or of section forces.
struct ReportEngine {
  std::optional<RowEngine> rows;
  std::optional<ForceEngine> forces;
  std::string problem;
  bool ready() const { return rows || forces; }
  const std::vector<CheckId>& checks() const { return rows ? rows->checks() : forces->checks(); }
};

ReportEngine reportEngine(const OpenedProject& base, const std::vector<std::string>& columns) {
  ReportEngine e;
  const auto kind = loadKind(base.state, columns);
  if (!kind) {
    e.problem = kind.error().message;
  } else if (kind.value() == LoadKind::Forces) {
    auto engine = ForceEngine::create(base, columns);
    if (engine)
      e.forces.emplace(std::move(engine.value()));
    else
      e.problem = engine.error().message;
  } else {
    auto engine = RowEngine::create(base, columns);
    if (engine)
      e.rows.emplace(std::move(engine.value()));
    else
      e.problem = engine.error().message;
  }
  return e;
}

// The rows of `table` through the engine: their outcomes and, for section
// forces, their points.
void runReportRows(const ReportEngine& e, const CaseTable& table,
                   const std::function<bool()>& cancelled, std::vector<RowOutcome>& outcomes,
                   std::vector<GoverningPoints>& points) {
  if (e.rows) {
    outcomes = runCases(*e.rows, table, cancelled);
    points.clear();
    return;
  }
  std::vector<ForceOutcome> rows = cases::runForceCases(*e.forces, table, cancelled);
  outcomes.clear();
  points.clear();
  for (ForceOutcome& o : rows) {
    outcomes.push_back(std::move(o.outcome));
    points.push_back(o.points);
  }
}

// The governing case of each check by index, name and value, kept also
// when its row is not among those the report prints.
void finishReport(CaseReport& report) {
  for (size_t c = 0; c < kCheckCount; ++c) {
    const CheckSummary& s = report.summary.checks[c];
    if (!s.any) continue;
    report.summary.governing[c] = static_cast<int>(s.row - 1);
    report.governingName[c] = s.caseName;
    CheckValue& v = report.governingValue[c];
    v.shown = true;
    v.uf = s.uf;
    v.allow = s.allow;
  }
}

}  // namespace

CaseReport caseReport(const OpenedProject& base, const CaseTable& table) {
  CaseReport report;
  report.table = table;
  report.total = static_cast<int64_t>(table.rows.size());
  const ReportEngine engine = reportEngine(base, table.columns);
  if (!engine.ready()) {
    report.problem = engine.problem;
    return report;
  }
  report.checks = engine.checks();
  report.forces = engine.forces.has_value();
  runReportRows(engine, table, {}, report.outcomes, report.points);
  for (size_t i = 0; i < report.outcomes.size(); ++i)
    addToReport(report, static_cast<int64_t>(i), table.rows[i].name, report.outcomes[i],
                report.forces ? &report.points[i] : nullptr);
  finishReport(report);
  return report;
}

Result<CaseReport> caseReportOfFile(const OpenedProject& base, const std::filesystem::path& path,
                                    size_t keepRows,
                                    const std::function<bool(int64_t rows, uint64_t bytes)>& goOn) {
  auto opened = LoadTableReader::open(path);
  if (!opened) return opened.error();
  LoadTableReader& reader = opened.value();
  CaseReport report;
  // the columns as readCases checks them
  LoadTable header;
  header.inputs = reader.header().inputs();
  auto columns = casesOf(std::move(header), path.string());
  if (!columns) return columns.error();
  report.table.columns = columns.value().columns;
  const ReportEngine engine = reportEngine(base, report.table.columns);
  report.problem = engine.problem;
  if (engine.ready()) report.checks = engine.checks();
  report.forces = engine.forces.has_value();

  std::vector<LoadCase> cases;
  CaseTable block;
  block.columns = report.table.columns;
  bool stopped = false;
  const auto cancelled = [&] {
    stopped = stopped || (goOn && !goOn(report.total, reader.consumed()));
    return stopped;
  };
  while (!cancelled()) {
    const Result<bool> more = readLoadCases(reader, cases, kStreamRows);
    if (!more) return more.error();
    if (!more.value()) break;
    block.rows.clear();
    for (LoadCase& c : cases) {
      c.values.resize(block.columns.size());
      block.rows.push_back(CaseRow{std::move(c.name), std::move(c.values)});
    }
    if (!engine.ready()) {
      for (CaseRow& row : block.rows)
        if (report.table.rows.size() < keepRows) report.table.rows.push_back(std::move(row));
      report.total += static_cast<int64_t>(block.rows.size());
      continue;
    }
    std::vector<RowOutcome> outcomes;
    std::vector<GoverningPoints> points;
    runReportRows(engine, block, cancelled, outcomes, points);
    if (stopped) break;
    for (size_t i = 0; i < outcomes.size(); ++i, ++report.total) {
      addToReport(report, report.total, block.rows[i].name, outcomes[i],
                  report.forces ? &points[i] : nullptr);
      if (report.table.rows.size() < keepRows) {
        report.table.rows.push_back(std::move(block.rows[i]));
        report.outcomes.push_back(std::move(outcomes[i]));
        if (report.forces) report.points.push_back(points[i]);
      }
    }
  }
  finishReport(report);
  return report;
}

std::string loadCasesPath(const std::string& projectPath) {
  std::string stem = projectPath;
  const size_t slash = stem.find_last_of("/\\");
  const size_t dot = stem.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    std::string ext = stem.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    if (ext == ".cys") stem.erase(dot);
  }
  return stem + ".loads.csv";
}

Result<CaseTable> casesOf(LoadTable table, const std::string& name) {
  CaseTable t;
  for (const std::string& column : table.inputs) {
    if (!InputSetter::find(column) && !isForceName(column))
      return Error{ErrorKind::Damaged, name, 1, "unknown input name '" + column + "'"};
    if (std::find(t.columns.begin(), t.columns.end(), column) != t.columns.end())
      return Error{ErrorKind::Damaged, name, 1, "column '" + column + "' appears twice"};
    t.columns.push_back(column);
  }
  t.rows.reserve(table.cases.size());
  for (LoadCase& c : table.cases) {
    c.values.resize(t.columns.size());
    t.rows.push_back(CaseRow{std::move(c.name), std::move(c.values)});
  }
  return t;
}

Result<CaseTable> readCases(const std::filesystem::path& path) {
  auto table = readLoadTable(path);
  if (!table) return table.error();
  return casesOf(std::move(table.value()), path.string());
}

Result<CaseTable> readFirstCases(const std::filesystem::path& path, size_t mostRows, bool& more) {
  more = false;
  auto opened = LoadTableReader::open(path);
  if (!opened) return opened.error();
  LoadTableReader& reader = opened.value();
  LoadTable head;
  head.inputs = reader.header().inputs();
  const Result<bool> read = readLoadCases(reader, head.cases, mostRows);
  if (!read) return read.error();
  std::vector<LoadCase> next;
  const Result<bool> after = readLoadCases(reader, next, 1);
  if (!after) return after.error();
  more = after.value();
  return casesOf(std::move(head), path.string());
}

namespace {

LoadTable loadTableOf(const CaseTable& table) {
  LoadTable t;
  t.inputs = table.columns;
  t.hasCase = true;
  for (const CaseRow& r : table.rows) t.cases.push_back(LoadCase{r.name, r.values, 0});
  return t;
}

}  // namespace

Status writeCasesWorkbook(const std::filesystem::path& path, const CaseTable& table,
                          const std::vector<CheckId>& checks,
                          const std::vector<RowOutcome>& outcomes) {
  const BatchColumns columns{table.columns, checks};
  auto file = OutputFile::open(path, {.inputs = {}, .streamOk = false});
  if (!file) return file.error();
  auto book = XlsxResults::create(file.value().temporaryPath(), path.string(), columns);
  if (!book) return book.error();
  BatchSummary summary;
  const Status added = forEachRow(table, outcomes, [&](const BatchRow& row) {
    summary.add(row);
    return book.value()->addRow(row);
  });
  if (!added) return added;
  if (const Status done = book.value()->finish(summary); !done) return done;
  return file.value().commit();
}

Status writeCases(const std::filesystem::path& path, const CaseTable& table) {
  return writeLoadTable(path, loadTableOf(table));
}

Result<int64_t> countCases(const std::filesystem::path& path, int64_t most) {
  auto opened = LoadTableReader::open(path);
  if (!opened) return opened.error();
  int64_t rows = 0;
  RecordBlock block;
  for (;;) {
    block.clear();
    const Result<bool> more = opened.value().read(block, 4 * kChunkRows);
    if (!more) return more.error();
    if (!more.value()) return rows;
    rows += static_cast<int64_t>(block.records.size());
    if (rows > most) return rows;
  }
}

Status copyCases(const std::filesystem::path& from, const std::filesystem::path& to) {
  auto opened = LoadTableReader::open(from);
  if (!opened) return opened.error();
  LoadTableReader& reader = opened.value();
  LoadTable header;
  header.inputs = reader.header().inputs();
  if (auto columns = casesOf(header, from.string()); !columns) return columns.error();
  auto file = OutputFile::open(to, {.inputs = {from}, .streamOk = false});
  if (!file) return file.error();
  // the text of writeCases, a block of rows at a time
  header.cases.reserve(kStreamRows);
  std::string text = loadTableText(header);
  for (;;) {
    if (const Status written = file.value().write(text); !written) return written;
    const Result<bool> more = readLoadCases(reader, header.cases, kStreamRows);
    if (!more) return more.error();
    if (!more.value()) break;
    for (LoadCase& c : header.cases) c.values.resize(header.inputs.size());
    text = loadTableText(header);
    text.erase(0, text.find('\n') + 1);  // the header line, written once
  }
  return file.value().commit();
}

std::string casesText(const CaseTable& table) { return loadTableText(loadTableOf(table)); }

}  // namespace orvane::cases
