// orvane-cli batch: one project against a table of load cases.
//
//   orvane-cli batch PROJECT.cys LOADS.csv [-o OUT.csv|OUT.xlsx] [--json]
//                    [--jobs N] [--rows FROM:TO] [--set NAME=VALUE]... [--data DIR]
//
// Every row of LOADS.csv starts from the project as `check PROJECT.cys`
// reaches it (with the --set values), stores its values as --set does and
// is checked; the rows are computed in parallel and written in input order.

#include <algorithm>
#include <charconv>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>

#include "cli/commands.hpp"
#include "cli/progress.hpp"
#include "cli/project_open.hpp"
#include "files/input_text.hpp"
#include "files/load_table.hpp"
#include "model/text_encoding.hpp"
#include "project/batch_rows.hpp"
#include "project/batch_xlsx.hpp"
#include "project/member_forces.hpp"
#include "project/ordered_parallel.hpp"
#include "project/row_engine.hpp"
#include "project/session.hpp"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

// Rows of one block: large enough that handing blocks between threads costs
// nothing, small enough that the blocks in flight stay a few megabytes. A
// row of section forces is about 130 runs: its blocks are smaller, so that
// the cores share a table of a few thousand rows evenly.
constexpr size_t kBlockRows = 4096;
constexpr size_t kForceBlockRows = 256;

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
  std::vector<GoverningPoints> points;  // ... of a table of section forces
  std::vector<std::string_view> cells;  // inputs, one stride per row
  std::vector<std::string_view> caseNames;
  std::vector<std::string_view> fields, values;  // working space
  // case names that were not UTF-8, decoded as Windows-1252 (a deque: the
  // views into it stay valid)
  std::deque<std::string> decoded;
};

struct BatchOptions {
  std::string project, loads, output;
  bool json = false;
  int jobs = 0;  // 0: one thread per core
  std::string rows;
  bool header = false, noHeader = false;
};

class BatchRun {
 public:
  BatchRun(const RowEngine* engine, const ForceEngine* forces, LoadTableReader& reader,
           const BatchColumns& columns, const BatchOptions& o, RowRange range)
      : engine_(engine),
        forces_(forces),
        reader_(reader),
        header_(reader.header()),
        columns_(columns),
        o_(o),
        range_(range) {}

  bool produce(Chunk& c);
  void work(Chunk& c, RowScratch& scratch);

  bool keepRows = false;           // for a workbook: keep the rows, format nothing
  std::optional<Error> readError;  // the read that ended the input early
  bool outputFailed = false;       // the output refused a write: read no more

 private:
  void addError(Chunk& c, const LoadRecord& r, int fileColumn, const std::string& message) const;

  const RowEngine* engine_;    // a table of stresses
  const ForceEngine* forces_;  // ... or of section forces
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
  while (!ended_ && !outputFailed) {
    c.block.clear();
    const Result<bool> more = reader_.read(c.block, forces_ ? kForceBlockRows : kBlockRows);
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
  c.points.clear();
  c.cells.clear();
  c.caseNames.clear();
  c.decoded.clear();
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
    GoverningPoints points{};
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
      if (forces_) {
        ForceOutcome forced = forces_->run(c.values, scratch);
        outcome = std::move(forced.outcome);
        points = forced.points;
      } else {
        outcome = engine_->run(c.values, scratch);
      }
      if (!outcome.inputError.empty())
        addError(c, r, fileColumn[static_cast<size_t>(outcome.inputColumn)], outcome.inputError);
    }
    // a table exported by a European spreadsheet may be Windows-1252: its
    // names are written as UTF-8 text
    if (std::any_of(caseName.begin(), caseName.end(),
                    [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; })) {
      std::string text = fileTextToUtf8(caseName);
      if (text != caseName) {
        c.decoded.push_back(std::move(text));
        caseName = c.decoded.back();
      }
    }
    const BatchRow row{c.firstRow + static_cast<int64_t>(k), r.line, caseName, c.values, &outcome,
                       forces_ ? &points : nullptr};
    c.summary.add(row);
    if (keepRows) {
      c.values.resize(inputs);
      c.cells.insert(c.cells.end(), c.values.begin(), c.values.end());
      c.caseNames.push_back(caseName);
      c.outcomes.push_back(std::move(outcome));
      if (forces_) c.points.push_back(points);
    } else if (o_.json) {
      appendJsonRow(c.out, columns_, row);
    } else {
      appendCsvRow(c.out, columns_, row);
    }
  }
}

// The size of a regular file (links followed); none for anything else.
std::optional<uint64_t> regularFileSize(const std::string& name) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(name, ec)) return std::nullopt;
  const uintmax_t size = std::filesystem::file_size(name, ec);
  if (ec) return std::nullopt;
  return static_cast<uint64_t>(size);
}

// The data rows a slice of a table holds, counted as far as `limit`; none
// when the table cannot be read again (the run reports that) or is a stream.
std::optional<int64_t> sliceRows(const std::string& loads, RowRange range, int64_t limit) {
  if (loads == "-" || !regularFileSize(loads)) return std::nullopt;
  auto reader = LoadTableReader::open(loads);
  if (!reader) return std::nullopt;
  RecordBlock block;
  int64_t rows = 0;
  const int64_t last = range.to > 0 ? range.to : INT64_MAX;
  for (;;) {
    block.clear();
    const Result<bool> more = reader.value().read(block, kBlockRows);
    if (!more) return std::nullopt;
    if (!more.value()) break;
    rows += static_cast<int64_t>(block.records.size());
    if (rows >= last || rows - range.from + 1 > limit) break;
  }
  return std::max<int64_t>(0, std::min(rows, last) - range.from + 1);
}

class BatchCommand final : public Command {
 public:
  CLI::App* add(CLI::App& app) override {
    CLI::App* cmd = app.add_subcommand(
        "batch", "check a project against every row of a load table, in parallel");
    cmd->add_option("PROJECT", o_.project, "the project file (.cys)")->required();
    cmd->add_option("LOADS", o_.loads,
                    "the load table: a header of input names (any --set name) and an optional\n"
                    "case column; comma, semicolon or tab separated; - for standard input")
        ->required();
    cmd->add_option(
           "-o,--output", o_.output,
           "write the results to FILE (.xlsx: an Excel workbook) instead of standard output")
        ->type_name("FILE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    cmd->add_flag("--json", o_.json,
                  "JSON Lines: one object per row, the summary as the last line");
    addJobsOption(cmd, o_.jobs);
    cmd->add_option("--rows", o_.rows,
                    "only the data rows FROM to TO (1-based, inclusive, blank lines not\n"
                    "counted); FROM: runs to the end, :TO starts at the first")
        ->type_name("FROM:TO")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    cmd->add_flag("--header", o_.header, "write the CSV header line also for a slice after row 1");
    cmd->add_flag("--no-header", o_.noHeader, "write no CSV header line");
    cmd->footer(
        "Output columns: row, case, the inputs, then for each check of the mode CHECK_uf,\n"
        "CHECK_allow and CHECK_verdict (OK / NOT OK), local_buckling (OK / NOK), fault and\n"
        "for each check CHECK_uf_alt, the usage factor of its rule notes (empty without).\n"
        "A table of section forces (columns among N M1 M2 T Q1 Q2 in kN and kNm, missing\n"
        "ones 0, instead of sigx and tau; shell modes only) is checked all round the\n"
        "circumference: each check's usage factor is its largest, and CHECK_theta (degrees),\n"
        "CHECK_sigx and CHECK_tau after its verdict give the point; check PROJECT with the\n"
        "row's other values and --set sigx=CHECK_sigx --set tau=CHECK_tau reproduces it.\n"
        "Numbers are written as the shortest text that reads back as the same double, so\n"
        "every value is exact. A text cell that begins with =, +, -, @, a tab or a carriage\n"
        "return and is not a number is written with a leading apostrophe, so that no\n"
        "spreadsheet runs it as a formula. The CSV header is written when the rows start at\n"
        "row 1, so that the outputs of consecutive --rows slices concatenate to the whole.\n"
        "A value that is not accepted is reported as FILE:LINE:COLUMN: ... on standard\n"
        "error and as 'input error: ...' in its row; the other rows still run. The summary\n"
        "(governing case of each check and the counts) goes to standard error, to the last\n"
        "JSON line or to the workbook's Summary sheet. -o FILE is written whole or not at\n"
        "all: a failure leaves the old file as it was.\n"
        "Exit status: 2 a bad file, column, output or command line, a damaged line of the\n"
        "table or a row with an input error, else 3 a row stopped on an arithmetic fault,\n"
        "else 1 a usage factor above its allowable value or a local-buckling line NOK, else 0.");
    return cmd;
  }

  Exit run(const Context& c) override;

 private:
  BatchOptions o_;
};

Exit BatchCommand::run(const Context& c) {
  const BatchOptions& o = o_;
  const auto range = parseRows(o.rows);
  if (!range)
    return problem(
        c, prefix(),
        "--rows expects FROM:TO with 1 <= FROM <= TO (FROM: or :TO), got '" + o.rows + "'");
  const bool xlsx = endsWithXlsx(o.output);
  if (xlsx && !kXlsxBuilt) return problem(c, "orvane-cli", kNoXlsx);
  if (xlsx && o.json)
    return problem(c, prefix(),
                   "--json writes JSON Lines, not a workbook; name a file without .xlsx");
  if (o.header && o.noHeader)
    return problem(c, prefix(), "--header and --no-header exclude each other");

  // the project as `check PROJECT --set ...` leaves it
  const auto base =
      Session::openHeadless({.dataDir = c.dataDir, .file = o.project, .sets = c.sets});
  if (!openedWell(c, base)) return Exit::Usage;
  auto opened = LoadTableReader::open(o.loads);
  if (!opened) return problem(c, prefix(), opened.error().text());
  LoadTableReader& reader = opened.value();
  const LoadHeader& header = reader.header();
  const auto kind = loadKind(base.value().state, header.inputs());
  if (!kind) return problem(c, prefix(), printable(reader.name()) + ": " + kind.error().message);
  const bool forces = kind.value() == LoadKind::Forces;
  for (size_t i = 0; i < header.columns.size(); ++i) {
    if (static_cast<int>(i) == header.caseColumn || InputSetter::find(header.columns[i]) ||
        (forces && isForceName(header.columns[i])))
      continue;
    c.err << "orvane-cli: " << printable(reader.name()) << ", line " << header.line << ": column "
          << i + 1 << " '" << printable(header.columns[i])
          << "' is not an input name (the names are those of --set)\n";
    return Exit::Usage;
  }
  std::optional<RowEngine> engine;
  std::optional<ForceEngine> forceEngine;
  if (forces) {
    auto created = ForceEngine::create(base.value(), header.inputs());
    if (!created) return problem(c, prefix(), created.error().message);
    forceEngine.emplace(std::move(created.value()));
  } else {
    auto created = RowEngine::create(base.value(), header.inputs());
    if (!created) return problem(c, prefix(), created.error().message);
    engine.emplace(std::move(created.value()));
  }
  BatchColumns columns{header.inputs(), forces ? forceEngine->checks() : engine->checks(), forces};

  // the output, opened once the input is known to be good and before any row
  std::optional<OutputFile> file;
  if (!o.output.empty()) {
    file = openOutput(c, prefix(), o.output, {o.project, o.loads}, !xlsx);
    if (!file) return Exit::Usage;
  }
  std::unique_ptr<XlsxResults> book;
  if (xlsx) {
    if (const auto rows = sliceRows(o.loads, *range, kMaxXlsxRows); rows && *rows > kMaxXlsxRows)
      return problem(c, prefix(),
                     o.output + ": " + reader.name() + " holds more than the " +
                         std::to_string(kMaxXlsxRows) +
                         " result rows a sheet holds; write CSV or split the table with --rows");
    auto created = XlsxResults::create(file->temporaryPath(), o.output, columns);
    if (!created) return problem(c, prefix(), created.error().text());
    book = std::move(created.value());
  }
  std::optional<OutputBuffer> buffer;
  std::optional<std::ostream> fileStream;
  std::ostream* sink = &c.out;
  if (file && !xlsx) {
    buffer.emplace(*file);
    fileStream.emplace(&*buffer);
    sink = &*fileStream;
  }
  const bool header1 = !o.json && !xlsx && !o.noHeader && (o.header || range->from == 1);
  if (header1) *sink << csvHeader(columns);

  const uint64_t size = o.loads != "-" ? regularFileSize(o.loads).value_or(0) : 0;
  const uint64_t total = range->to > 0 ? static_cast<uint64_t>(range->to - range->from + 1) : 0;
  Progress progress(c.err, c.terminal, "rows");
  BatchRun run(engine ? &*engine : nullptr, forceEngine ? &*forceEngine : nullptr, reader, columns,
               o, *range);
  run.keepRows = xlsx;
  BatchSummary summary;
  std::optional<Error> writeError;
  bool saidEncoding = false;
  try {
    runOrdered<Chunk, RowScratch>(
        o.jobs, [&](Chunk& k) { return run.produce(k); },
        [&](Chunk& k, RowScratch& scratch) { run.work(k, scratch); },
        [&](Chunk& k) {
          c.err << k.errors;
          if (!k.decoded.empty() && !saidEncoding) {
            c.err << "orvane-cli: " << printable(reader.name())
                  << " is not UTF-8 text; its case names are read as Windows-1252\n";
            saidEncoding = true;
          }
          if (book && !writeError) {
            const size_t stride = columns.inputs.size();
            for (size_t i = 0; i < k.outcomes.size() && !writeError; ++i) {
              const BatchRow row{
                  k.firstRow + static_cast<int64_t>(i),
                  k.block.records[i].line,
                  k.caseNames[i],
                  std::span<const std::string_view>(k.cells).subspan(i * stride, stride),
                  &k.outcomes[i],
                  k.points.empty() ? nullptr : &k.points[i]};
              if (Status added = book->addRow(row); !added) writeError = added.error();
            }
          } else {
            sink->write(k.out.data(), static_cast<std::streamsize>(k.out.size()));
          }
          run.outputFailed = writeError || !*sink;
          summary.merge(k.summary);
          progress.update(
              static_cast<uint64_t>(summary.rows), total,
              size > 0 ? static_cast<double>(reader.consumed()) / static_cast<double>(size) : -1);
        });
  } catch (...) {
    progress.finish();
    throw;  // reported by the caller; the output file is removed on the way
  }
  progress.finish();
  if (run.readError) return problem(c, prefix(), run.readError->text());
  if (o.json) *sink << summaryJson(summary, columns);
  if (book && !writeError) {
    if (Status done = book->finish(summary); !done) writeError = done.error();
    book.reset();
  }
  sink->flush();
  if (file && !writeError && !*sink) {
    // the reason is that of the file's first failed write
    if (Status w = file->write({}); !w) writeError = w.error();
  }
  if (writeError) return problem(c, prefix(), writeError->text());
  // standard output is said by the caller, once
  if (!*sink)
    return file ? problem(c, prefix(), "can't write the results - " + o.output) : Exit::Usage;
  if (file && !commitOutput(c, prefix(), *file)) return Exit::Usage;
  if (!o.json) c.err << summaryText(summary, columns);
  return static_cast<Exit>(summary.exitCode());
}

}  // namespace

std::unique_ptr<Command> makeBatchCommand() { return std::make_unique<BatchCommand>(); }

}  // namespace orvane::cli
