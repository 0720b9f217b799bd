// The rows of a batch run as text (CSV, JSON Lines) and the summary that
// names the governing case of each check.
//
// Numbers are written as the shortest text that reads back as the same
// double (std::to_chars), so that every value in a row is exact. The
// formatting runs on the worker threads; the summary of a block of rows
// merges into the run's in input order.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/panels.hpp"
#include "project/member_forces.hpp"
#include "project/row_engine.hpp"

namespace orvane {

// What the output rows hold besides the values: the input names in column
// order and the checks the mode can show; with section forces, the
// governing point of each check.
struct BatchColumns {
  std::vector<std::string> inputs;
  std::vector<CheckId> checks;
  bool forces = false;
};

// One row as a worker sees it: its data row number (1-based), the file line
// it was read from, its case name (empty without a case column) and input
// texts (empty views for a row that could not be split).
struct BatchRow {
  int64_t row = 0, line = 0;
  std::string_view caseName;
  std::span<const std::string_view> inputs;
  const RowOutcome* outcome = nullptr;
  const GoverningPoints* points = nullptr;  // a row of section forces
};

// CSV: `row,case,INPUTS...,CHECK_uf,CHECK_allow,CHECK_verdict...,local_buckling,fault`;
// a table of section forces has CHECK_theta,CHECK_sigx,CHECK_tau after each
// CHECK_verdict: the governing point (degrees) and the stresses stored there.
// The rule-note columns that follow the others of a row: `CHECK_uf_alt`
// for each check, the highest usage factor of its rule notes (empty without
// a note); core/rule_notes.hpp.
void appendAltHeader(std::string& out, const std::vector<CheckId>& checks);
void appendAltRow(std::string& out, const std::vector<CheckId>& checks,
                  const std::array<CheckValue, kCheckCount>& values);

std::string csvHeader(const BatchColumns& columns);
void appendCsvRow(std::string& out, const BatchColumns& columns, const BatchRow& row);
// One JSON object per line: row, line, case, inputs (numbers, null when
// empty, the text when it is not a number), one object per check (null when
// not shown; `uf_alt` in it with a rule note; theta, sigx and tau with
// section forces), local_buckling, fault, status.
void appendJsonRow(std::string& out, const BatchColumns& columns, const BatchRow& row);

// The largest usage factor of one check and the counts of its verdicts.
struct CheckSummary {
  bool any = false;
  double uf = 0, allow = 0;
  int64_t row = 0;
  std::string caseName;
  int64_t passed = 0, failed = 0;
};

struct BatchSummary {
  int64_t rows = 0, passed = 0, failed = 0, faulted = 0, inputErrors = 0;
  std::array<CheckSummary, kCheckCount> checks{};

  void add(const BatchRow& row);
  // Adds the summary of the rows that follow these.
  void merge(const BatchSummary& later);
  // 2 a row with an input error, else 3 a row faulted, else 1 a usage
  // factor above its allowable or a local-buckling line NOK, else 0.
  int exitCode() const;
};

// The summary as lines of text (for stderr) and as the last JSON line.
std::string summaryText(const BatchSummary& s, const BatchColumns& columns);
std::string summaryJson(const BatchSummary& s, const BatchColumns& columns);

}  // namespace orvane
