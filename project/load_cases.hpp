// The load cases of a project: named rows of input values, the outcome of
// each row as the row engine gives it, and what the window, the report and
// the load-case file say about them (the governing case of each check, the
// counts of passed, failed and faulted cases).
//
// Plain data without Qt: the table is the project's, the numbers are the
// row engine's; nothing here computes a result of its own.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/panels.hpp"
#include "files/load_table.hpp"
#include "model/project_state.hpp"
#include "model/result.hpp"
#include "project/batch_rows.hpp"
#include "project/member_forces.hpp"
#include "project/opened_project.hpp"
#include "project/row_engine.hpp"

namespace orvane::cases {

struct CaseRow {
  std::string name;
  std::vector<std::string> values;  // one per input column; "" keeps the project's value
};

struct CaseTable {
  std::vector<std::string> columns;  // input names, as --set knows them
  std::vector<CaseRow> rows;
  bool empty() const { return rows.empty(); }
};

// The input columns a new table starts with: the loads of the mode.
std::vector<std::string> presetColumns(const ProjectState& ps);

// The summary of a batch over the cases (how the rows ended, the
// governing case of each check: its largest usage factor among the rows
// that ran to the end; a NaN usage factor never governs), with the
// governing case of each check as an index into the table, -1 when no
// row has one.
struct CaseSummary : BatchSummary {
  std::array<int, kCheckCount> governing{};
  CaseSummary() { governing.fill(-1); }
};
CaseSummary summarize(const CaseTable& table, const std::vector<RowOutcome>& outcomes);

// Every row of `table` through `engine`, in order, on all cores when there
// are many. `cancelled` is asked between chunks of rows; once it says yes
// the rows not yet run are left out (the result is then shorter).
std::vector<RowOutcome> runCases(const RowEngine& engine, const CaseTable& table,
                                 const std::function<bool()>& cancelled = {});

// One row through the engine.
RowOutcome runCase(const RowEngine& engine, const CaseRow& row, RowScratch& scratch);

// What the printed report shows of the cases: the rows it prints with
// their outcomes, and the summary over every row, for the checks of the
// project's mode.
struct CaseReport {
  CaseTable table;  // every row, or the first ones of a file read as a stream
  std::vector<CheckId> checks;
  std::vector<RowOutcome> outcomes;  // one per row of `table`
  CaseSummary summary;               // over all `total` rows
  int64_t total = 0;
  // The governing case of each check (summary.governing): its name and
  // value, kept also when its row is not among those of `table`.
  std::array<std::string, kCheckCount> governingName{};
  std::array<CheckValue, kCheckCount> governingValue{};
  // A table of section forces (loadKind): each check's governing point
  // round the circumference, per row of `table` and of each governing case.
  bool forces = false;
  std::vector<GoverningPoints> points;
  GoverningPoints governingPoint{};
  std::string problem;  // an unknown column: the cases could not run
};
CaseReport caseReport(const OpenedProject& base, const CaseTable& table);
// The same for a load-table file read as a stream: every row runs, the
// first `keepRows` are kept; memory stays flat for any size of table. A
// damaged file is an error as readCases gives it. `goOn(rows, bytes)`, when
// given, is asked between chunks of rows with the rows run and the bytes of
// the file read so far; once it says no the run stops and its report covers
// only the rows before.
Result<CaseReport> caseReportOfFile(
    const OpenedProject& base, const std::filesystem::path& path, size_t keepRows,
    const std::function<bool(int64_t rows, uint64_t bytes)>& goOn = {});

// The load-case file that goes with a project file: "NAME.loads.csv" for
// "NAME.cys" (any other name gets ".loads.csv" added).
std::string loadCasesPath(const std::string& projectPath);

// A load table file as the window's table: every column must be an input
// name or a section force, N M1 M2 T Q1 Q2 (an unknown one is an error
// naming file and column); a file without a `case` column gets empty names.
Result<CaseTable> readCases(const std::filesystem::path& path);
// The first `mostRows` rows of such a file, read as a stream; `more` tells
// whether the file has rows after them (those are not read, nor checked).
Result<CaseTable> readFirstCases(const std::filesystem::path& path, size_t mostRows, bool& more);
// The rows of a load table file, counted without keeping them (their cells
// are not checked here); the count stops soon after it passes `most`.
Result<int64_t> countCases(const std::filesystem::path& path, int64_t most);
Result<CaseTable> casesOf(LoadTable table, const std::string& name);
// The table as a load table file with a `case` column.
Status writeCases(const std::filesystem::path& path, const CaseTable& table);
// A load table file of any length copied as writeCases writes it, row by
// row (memory stays flat); `to` is replaced whole or not at all, and may
// not be `from`. A damaged row is an error and `to` stays as it was.
Status copyCases(const std::filesystem::path& from, const std::filesystem::path& to);
// The cases and their outcomes as the Excel workbook `orvane-cli batch`
// writes: a results sheet (usage factors red above their allowable value,
// green within) and a summary sheet with the governing case of each check.
Status writeCasesWorkbook(const std::filesystem::path& path, const CaseTable& table,
                          const std::vector<CheckId>& checks,
                          const std::vector<RowOutcome>& outcomes);
std::string casesText(const CaseTable& table);

}  // namespace orvane::cases
