// The summary of a table of load cases, which the window, the report, the
// workbook and batch share: the largest usage factor of a row that ran to
// the end governs, the first of equal ones, and a NaN never. The name of
// the cases file beside a project.
#include <gtest/gtest.h>

#include <limits>

#include "project/load_cases.hpp"

namespace {

using namespace orvane;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFault = -1;  // a row stopped by a fault

TEST(CaseSummary, TheLargestFiniteUsageFactorOfACompletedRowGoverns) {
  struct Case {
    std::vector<double> shell;  // the shell usage factor of each row (allowable 1)
    int governing;
    int passed, failed, faulted;
  } const cases[] = {
      {{0.5, 0.7, 0.6}, 1, 3, 0, 0}, {{0.7, 0.7}, 0, 2, 0, 0}, {{kNaN, 0.5}, 1, 2, 0, 0},
      {{0.5, kNaN}, 0, 2, 0, 0},     {{kNaN}, -1, 1, 0, 0},    {{0.4, kFault, 1.2}, 2, 1, 1, 1},
      {{kFault}, -1, 0, 0, 1},
  };
  for (const Case& c : cases) {
    cases::CaseTable table{{"sigx"}, {}};
    std::vector<RowOutcome> outcomes;
    for (const double uf : c.shell) {
      table.rows.push_back({"", {""}});
      RowOutcome& o = outcomes.emplace_back();
      if (uf == kFault)
        o.fault = "stopped";
      else
        o.checks[static_cast<size_t>(CheckId::Shell)] = CheckValue{true, uf, 1.0};
    }
    const cases::CaseSummary s = cases::summarize(table, outcomes);
    const int at = c.governing;
    EXPECT_EQ(s.governing[static_cast<size_t>(CheckId::Shell)], at)
        << testing::PrintToString(c.shell);
    EXPECT_EQ(s.checks[static_cast<size_t>(CheckId::Shell)].row, at + 1);
    EXPECT_EQ(s.passed, c.passed);
    EXPECT_EQ(s.failed, c.failed);
    EXPECT_EQ(s.faulted, c.faulted);
  }
}

// The project's .cys, in any case, gives way to .loads.csv; any other name
// keeps what it has, a dot in a folder's name included.
TEST(CasesFile, NamedAfterTheProject) {
  for (const char* project : {"/p/leg", "/p.v2/leg", "C:\\p.v2\\leg.txt"}) {
    const std::string stem = project;
    for (const char* ext : {"", ".cys", ".CYS"})
      EXPECT_EQ(cases::loadCasesPath(stem + ext), stem + ".loads.csv") << stem << ext;
  }
}

}  // namespace
