// The summary of a table of load cases, which the window, the report, the
// workbook and batch share: the largest usage factor of a row that ran to
// the end governs, the first of equal ones, and a NaN never. The name of
// the cases file beside a project. A long file read as a stream: counted,
// copied whole or not at all, its run stopped when asked.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

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

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CasesFile, ReadAsAStream) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("orvane-cases-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto write = [&](const char* name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return dir / name;
  };
  const auto good = write("good.csv", "sigx;case\n-1,5;a\n\n-2;\"b; c\"\n-3;d\n");
  const auto bad = write("bad.csv", "case,sigx\na,1\nb,2\nc,3,4\n");
  const auto target = write("target.csv", "old\n");

  for (const int64_t most : {0, 2, 3, 10}) {
    const auto counted = cases::countCases(good, most);
    ASSERT_TRUE(counted);
    EXPECT_EQ(counted.value() > most, most < 3) << most;
    if (most >= 3) {
      EXPECT_EQ(counted.value(), 3);
    }
  }
  // the text writeCases gives, and a damaged row leaves the target as it was
  ASSERT_TRUE(cases::copyCases(good, target));
  EXPECT_EQ(readAll(target), "case,sigx\na,-1.5\n\"b; c\",-2\nd,-3\n");
  const Status damaged = cases::copyCases(bad, target);
  ASSERT_FALSE(damaged);
  EXPECT_EQ(damaged.error().line, 4);
  EXPECT_EQ(readAll(target), "case,sigx\na,-1.5\n\"b; c\",-2\nd,-3\n");
  EXPECT_FALSE(cases::copyCases(good, good));
  EXPECT_EQ(readAll(good), "sigx;case\n-1,5;a\n\n-2;\"b; c\"\n-3;d\n");

  // a run asked to stop covers no more rows
  int asked = 0;
  const auto stopped =
      cases::caseReportOfFile(OpenedProject{}, good, 1, [&](int64_t rows, uint64_t) {
        EXPECT_EQ(rows, 0);
        return ++asked < 2;
      });
  ASSERT_TRUE(stopped);
  EXPECT_EQ(stopped.value().total, 0);
  EXPECT_EQ(stopped.value().summary.rows, 0);
  EXPECT_EQ(asked, 2);
  std::filesystem::remove_all(dir);
}

}  // namespace
