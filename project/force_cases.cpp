#include "project/force_cases.hpp"

#include <iterator>
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
  std::vector<ForceOutcome> out;
  out.reserve(table.rows.size());
  runRows<std::vector<ForceOutcome>>(
      0, table.rows.size(), kChunkRows, [&] { return !cancelled || !cancelled(); },
      [&](uint64_t first, uint64_t count, std::vector<ForceOutcome>& outcomes,
          RowScratch& scratch) {
        outcomes.clear();
        for (uint64_t i = first; i < first + count; ++i)
          outcomes.push_back(runForceCase(engine, table.rows[i], scratch));
      },
      [&](uint64_t, uint64_t, std::vector<ForceOutcome>& outcomes) {
        std::move(outcomes.begin(), outcomes.end(), std::back_inserter(out));
      });
  return out;
}

}  // namespace orvane::cases
