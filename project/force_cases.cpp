#include "project/force_cases.hpp"

#include <string_view>

#include "project/row_runner.hpp"

namespace orvane::cases {

namespace {

constexpr uint64_t kChunkRows = 64;  // a row of forces is about 130 runs

}  // namespace

std::vector<std::string> forcePresetColumns() {
  std::vector<std::string> columns(kForceNames.begin(), kForceNames.end());
  columns.emplace_back("sigy");
  columns.emplace_back("pd");
  return columns;
}

bool isLoadColumn(std::string_view name) {
  return isForceName(name) || name == "sigx" || name == "sigy" || name == "tau" || name == "pd";
}

ForceOutcome runForceCase(const ForceEngine& engine, const CaseRow& row, RowScratch& scratch) {
  std::vector<std::string_view> texts(row.values.begin(), row.values.end());
  texts.resize(engine.columnCount());  // a short row: its missing cells empty
  return engine.run(texts, scratch);
}

std::vector<ForceOutcome> runForceCases(const ForceEngine& engine, const CaseTable& table,
                                        const std::function<bool()>& cancelled) {
  return runEachRow<ForceOutcome>(
      table.rows, kChunkRows, cancelled,
      [&](const CaseRow& row, RowScratch& scratch) { return runForceCase(engine, row, scratch); });
}

}  // namespace orvane::cases
