#include "cli/batch_command.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "files/input_text.hpp"
#include "files/load_table.hpp"
#include "project/batch_rows.hpp"
#include "project/batch_xlsx.hpp"
#include "project/ordered_parallel.hpp"
#include "project/row_engine.hpp"
#include "project/session.hpp"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kUsage = 2;
// Rows of one block: large enough that handing blocks between threads costs
// nothing, small enough that the blocks in flight stay a few megabytes.
constexpr size_t kBlockRows = 4096;

// FROM:TO, FROM: or :TO, 1-based and inclusive; TO 0 means the last row.
struct RowRange {
  int64_t from = 1, to = 0;
};

std::optional<RowRange> parseRows(const std::string& text) {
  RowRange r;
  if (text.empty()) return r;
  const auto colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const auto number = [](std::string_view s, int64_t& v) {
    if (s.empty()) return true;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && v >= 1;
  };
  const std::string_view t = text;
  if (!number(t.substr(0, colon), r.from) || !number(t.substr(colon + 1), r.to))
    return std::nullopt;
  if (r.to != 0 && r.to < r.from) return std::nullopt;
  return r;
}

bool endsWithXlsx(const std::string& name) {
  if (name.size() < 5) return false;
  std::string ext = name.substr(name.size() - 5);
  for (char& c : ext) c = static_cast<char>(c | 0x20);
  return ext == ".xlsx";
}

struct Chunk {
  RecordBlock block;
  int64_t firstRow = 0;
  std::string out, errors;
  BatchSummary summary;
  // the rows themselves, kept for a workbook only
  std::vector<RowOutcome> outcomes;
  std::vector<std::string_view> cells;  // inputs, one stride per row
  std::vector<std::string_view> caseNames;
  std::vector<std::string_view> fields, values;  // working space
};

// One line redrawn in place on a terminal: rows done, rows/s, time left.
class Progress {
 public:
  Progress(bool enabled, uint64_t totalBytes, int64_t totalRows)
      : enabled_(enabled), totalBytes_(totalBytes), totalRows_(totalRows) {}

  void update(int64_t rows, uint64_t bytes) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    if (elapsed < 1.0 || now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    double done = -1;
    if (totalRows_ > 0)
      done = static_cast<double>(rows) / static_cast<double>(totalRows_);
    else if (totalBytes_ > 0)
      done = static_cast<double>(bytes) / static_cast<double>(totalBytes_);
    char line[160];
    int n = std::snprintf(line, sizeof line, "\r%lld rows  %.0f rows/s",
                          static_cast<long long>(rows), static_cast<double>(rows) / elapsed);
    if (done > 0 && done <= 1) {
      const long left = static_cast<long>(elapsed / done - elapsed + 0.5);
      n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n),
                         "  %3.0f%%  %ld:%02ld left", done * 100, left / 60, left % 60);
    }
    std::fputs(line, stderr);
    std::fputs("\033[K", stderr);
    std::fflush(stderr);
    drawn_ = true;
  }
  void finish() {
    if (drawn_) std::fputs("\r\033[K", stderr);
  }

 private:
  bool enabled_;
  uint64_t totalBytes_;
  int64_t totalRows_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), last_ = start_;
};

// The project as `check PROJECT --set ...` leaves it, with the fault of that run.
struct Base {
  ProjectState ps;
  std::optional<std::string> fault;
};

bool openBase(Base& base, const BatchOptions& o, const std::vector<std::string>& sets,
              const fs::path& dataDir, std::ostream& err) {
  RecordingEvents ev;
  Session session(base.ps, ev);
  const auto problems = session.openHeadless(dataDir, o.project, sets);
  for (const std::string& p : problems) err << "orvane-cli: " << printable(p) << "\n";
  if (!problems.empty()) return false;
  base.fault = session.fault();
  return true;
}

class BatchRun {
 public:
  BatchRun(const RowEngine& engine, LoadTableReader& reader, const BatchColumns& columns,
           const BatchOptions& o, RowRange range)
      : engine_(engine),
        reader_(reader),
        header_(reader.header()),
        columns_(columns),
        o_(o),
        range_(range) {}

  bool produce(Chunk& c);
  void work(Chunk& c, RowScratch& scratch);

  bool keepRows = false;           // for a workbook: keep the rows, format nothing
  std::optional<Error> readError;  // the read that ended the input early

 private:
  void addError(Chunk& c, const LoadRecord& r, int fileColumn, const std::string& message) const;

  const RowEngine& engine_;
  LoadTableReader& reader_;
  const LoadHeader& header_;
  const BatchColumns& columns_;
  const BatchOptions& o_;
  RowRange range_;
  int64_t nextRow_ = 1;
  bool ended_ = false;
};

bool BatchRun::produce(Chunk& c) {
  auto& records = c.block.records;
  while (!ended_) {
    c.block.clear();
    const Result<bool> more = reader_.read(c.block, kBlockRows);
    if (!more) {
      readError = more.error();
      return false;
    }
    if (!more.value()) return false;
    int64_t first = nextRow_;
    nextRow_ += static_cast<int64_t>(records.size());
    if (range_.from > first) {
      const auto drop =
          std::min<int64_t>(static_cast<int64_t>(records.size()), range_.from - first);
      records.erase(records.begin(), records.begin() + drop);
      first += drop;
    }
    if (range_.to != 0 && nextRow_ > range_.to) {
      ended_ = true;
      records.resize(static_cast<size_t>(std::max<int64_t>(0, range_.to - first + 1)));
    }
    if (records.empty()) continue;
    c.firstRow = first;
    return true;
  }
  return false;
}

void BatchRun::addError(Chunk& c, const LoadRecord& r, int fileColumn,
                        const std::string& message) const {
  c.errors += printable(reader_.name());
  c.errors += ':';
  c.errors += std::to_string(r.line);
  c.errors += ':';
  if (fileColumn >= 0 && static_cast<size_t>(fileColumn) < header_.columns.size())
    c.errors += printable(header_.columns[static_cast<size_t>(fileColumn)]);
  else
    c.errors += std::to_string(fileColumn + 1);
  c.errors += ": " + printable(message) + "\n";
}

void BatchRun::work(Chunk& c, RowScratch& scratch) {
  c.out.clear();
  c.errors.clear();
  c.summary = BatchSummary{};
  c.outcomes.clear();
  c.cells.clear();
  c.caseNames.clear();
  const size_t inputs = columns_.inputs.size();
  const int caseColumn = header_.caseColumn;
  // the file column of each input
  std::vector<int> fileColumn;
  for (size_t i = 0; i < header_.columns.size(); ++i)
    if (static_cast<int>(i) != caseColumn) fileColumn.push_back(static_cast<int>(i));

  for (size_t k = 0; k < c.block.records.size(); ++k) {
    const LoadRecord& r = c.block.records[k];
    c.values.clear();
    std::string_view caseName;
    RowOutcome outcome;
    if (auto bad = splitRecord(c.block.data(r), r.size, header_, c.fields)) {
      if (caseColumn >= 0 && static_cast<size_t>(caseColumn) < c.fields.size() &&
          bad->column > caseColumn)
        caseName = c.fields[static_cast<size_t>(caseColumn)];
      outcome.inputError = bad->message;
      outcome.inputColumn = bad->column;
      addError(c, r, bad->column, bad->message);
    } else {
      for (size_t i = 0; i < c.fields.size(); ++i) {
        if (static_cast<int>(i) == caseColumn)
          caseName = c.fields[i];
        else
          c.values.push_back(c.fields[i]);
      }
      outcome = engine_.run(c.values, scratch);
      if (!outcome.inputError.empty())
        addError(c, r, fileColumn[static_cast<size_t>(outcome.inputColumn)], outcome.inputError);
    }
    const BatchRow row{c.firstRow + static_cast<int64_t>(k), r.line, caseName, c.values, &outcome};
    c.summary.add(row);
    if (keepRows) {
      c.values.resize(inputs);
      c.cells.insert(c.cells.end(), c.values.begin(), c.values.end());
      c.caseNames.push_back(caseName);
      c.outcomes.push_back(std::move(outcome));
    } else if (o_.json) {
      appendJsonRow(c.out, columns_, row);
    } else {
      appendCsvRow(c.out, columns_, row);
    }
  }
}

}  // namespace

CLI::App* addBatchCommand(CLI::App& app, BatchOptions& o) {
  CLI::App* cmd =
      app.add_subcommand("batch", "check a project against every row of a load table, in parallel");
  cmd->add_option("PROJECT", o.project, "the project file (.cys)")->required();
  cmd->add_option("LOADS", o.loads,
                  "the load table: a header of input names (any --set name) and an optional\n"
                  "case column; comma, semicolon or tab separated; - for standard input")
      ->required();
  cmd->add_option("-o,--output", o.output,
                  "write the results to FILE (.xlsx: an Excel workbook) instead of standard output")
      ->type_name("FILE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  cmd->add_flag("--json", o.json, "JSON Lines: one object per row, the summary as the last line");
  cmd->add_option("--jobs", o.jobs, "worker threads (default: one per core)")
      ->type_name("N")
      ->check(CLI::NonNegativeNumber)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  cmd->add_option("--rows", o.rows,
                  "only the data rows FROM to TO (1-based, inclusive, blank lines not\n"
                  "counted); FROM: runs to the end, :TO starts at the first")
      ->type_name("FROM:TO")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  cmd->add_flag("--header", o.header, "write the CSV header line also for a slice after row 1");
  cmd->add_flag("--no-header", o.noHeader, "write no CSV header line");
  cmd->footer(
      "Output columns: row, case, the inputs, then for each check of the mode CHECK_uf,\n"
      "CHECK_allow and CHECK_verdict (OK / NOT OK), local_buckling (OK / NOK), fault and\n"
      "for each check CHECK_uf_alt, the usage factor of its rule notes (empty without).\n"
      "Numbers are written as the shortest text that reads back as the same double, so\n"
      "every value is exact. The CSV header is written when the rows start at row 1, so\n"
      "that the outputs of consecutive --rows slices concatenate to the whole.\n"
      "A value that is not accepted is reported as FILE:LINE:COLUMN: ... on standard\n"
      "error and as 'input error: ...' in its row; the other rows still run. The summary\n"
      "(governing case of each check and the counts) goes to standard error, to the last\n"
      "JSON line or to the workbook's Summary sheet.\n"
      "Exit status: 2 a bad file, column or command line (before any output) or a row\n"
      "with an input error, else 3 a row stopped on an arithmetic fault, else 1 a usage\n"
      "factor above its allowable value or a local-buckling line NOK, else 0.");
  return cmd;
}

int runBatch(const BatchOptions& o, const std::vector<std::string>& sets, const fs::path& dataDir,
             std::ostream& out, std::ostream& err) {
  const auto range = parseRows(o.rows);
  if (!range) {
    err << "orvane-cli: --rows expects FROM:TO with 1 <= FROM <= TO (FROM: or :TO), got '"
        << printable(o.rows) << "'\n";
    return kUsage;
  }
  const bool xlsx = endsWithXlsx(o.output);
  if (xlsx && o.json) {
    err << "orvane-cli: --json writes JSON Lines, not a workbook; name a file without .xlsx\n";
    return kUsage;
  }
  if (o.header && o.noHeader) {
    err << "orvane-cli: --header and --no-header exclude each other\n";
    return kUsage;
  }

  Base base;
  if (!openBase(base, o, sets, dataDir, err)) return kUsage;
  auto opened = LoadTableReader::open(o.loads);
  if (!opened) {
    err << "orvane-cli: " << printable(opened.error().text()) << "\n";
    return kUsage;
  }
  LoadTableReader& reader = opened.value();
  const LoadHeader& header = reader.header();
  for (size_t i = 0; i < header.columns.size(); ++i) {
    if (static_cast<int>(i) == header.caseColumn || InputSetter::find(header.columns[i])) continue;
    err << "orvane-cli: " << printable(reader.name()) << ", line " << header.line << ": column "
        << i + 1 << " '" << printable(header.columns[i])
        << "' is not an input name (the names are those of --set)\n";
    return kUsage;
  }
  auto engine = RowEngine::create(base.ps, base.fault, header.inputs());
  if (!engine) {
    err << "orvane-cli: " << printable(engine.error().message) << "\n";
    return kUsage;
  }
  BatchColumns columns{header.inputs(), engine.value().checks()};

  // the output, opened once the input is known to be good
  std::unique_ptr<XlsxResults> book;
  std::ofstream file;
  std::ostream* sink = &out;
  if (xlsx) {
    auto created = XlsxResults::create(o.output, columns);
    if (!created) {
      err << "orvane-cli: " << printable(created.error().text()) << "\n";
      return kUsage;
    }
    book = std::move(created.value());
  } else if (!o.output.empty()) {
    file.open(o.output, std::ios::binary | std::ios::trunc);
    if (!file) {
      err << "orvane-cli: can't save file - " << printable(o.output) << "\n";
      return kUsage;
    }
    sink = &file;
  }
  const bool header1 = !o.json && !xlsx && !o.noHeader && (o.header || range->from == 1);
  if (header1) *sink << csvHeader(columns);

  struct stat st {};
  const uint64_t size = o.loads != "-" && ::stat(o.loads.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                            ? static_cast<uint64_t>(st.st_size)
                            : 0;
  Progress progress(&err == &std::cerr && ::isatty(STDERR_FILENO) == 1, size,
                    range->to > 0 ? range->to - range->from + 1 : 0);
  BatchRun run(engine.value(), reader, columns, o, *range);
  run.keepRows = xlsx;
  BatchSummary summary;
  std::optional<Error> writeError;
  try {
    runOrdered<Chunk, RowScratch>(
        o.jobs, [&](Chunk& c) { return run.produce(c); },
        [&](Chunk& c, RowScratch& scratch) { run.work(c, scratch); },
        [&](Chunk& c) {
          err << c.errors;
          if (book && !writeError) {
            const size_t stride = columns.inputs.size();
            for (size_t k = 0; k < c.outcomes.size() && !writeError; ++k) {
              const BatchRow row{
                  c.firstRow + static_cast<int64_t>(k), c.block.records[k].line, c.caseNames[k],
                  std::span<const std::string_view>(c.cells).subspan(k * stride, stride),
                  &c.outcomes[k]};
              if (Status added = book->addRow(row); !added) writeError = added.error();
            }
          } else {
            sink->write(c.out.data(), static_cast<std::streamsize>(c.out.size()));
          }
          summary.merge(c.summary);
          progress.update(summary.rows, reader.consumed());
        });
  } catch (const std::exception& e) {
    progress.finish();
    err << "orvane-cli: " << e.what() << "\n";
    return kUsage;
  }
  progress.finish();
  if (run.readError) {
    err << "orvane-cli: " << printable(run.readError->text()) << "\n";
    return kUsage;
  }
  if (o.json) *sink << summaryJson(summary, columns);
  if (book && !writeError) {
    if (Status done = book->finish(summary); !done) writeError = done.error();
  }
  sink->flush();
  if (writeError || !*sink) {
    err << "orvane-cli: "
        << printable(writeError
                         ? writeError->text()
                         : "can't write the results - " +
                               (o.output.empty() ? std::string("standard output") : o.output))
        << "\n";
    return kUsage;
  }
  if (!o.json) err << summaryText(summary, columns);
  return summary.exitCode();
}

}  // namespace orvane::cli
