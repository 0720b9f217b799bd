// Shared test vectors: every project in vectors/cases, checked headless with
// the fixture data files, must reproduce vectors/expected to the character
// (numbers in "values" to a relative 1e-9).
// Regenerate nothing here: the expected files are the reference.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_app.hpp"
#include "cli_run.hpp"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const fs::path kVectors = ORVANE_VECTORS;

using orvane::test::vectorNames;

class Vector : public ::testing::TestWithParam<std::string> {};

TEST_P(Vector, MatchesExpectedOutput) {
  const std::string name = GetParam();
  std::ifstream in(kVectors / "expected" / (name + ".json"));
  ASSERT_TRUE(in) << name;
  const json expected = json::parse(in);

  std::ostringstream out, err;
  const std::string file = (kVectors / "cases" / (name + ".cys")).string();
  const int code =
      orvane::cli::run({"check", file, "--json", "--data", (kVectors / "data").string()}, out, err);
  ASSERT_NE(code, 2) << err.str();
  const json got = json::parse(out.str());

  EXPECT_EQ(expected["fault"].is_null(), got["fault"].is_null())
      << "expected fault " << expected["fault"] << ", got " << got["fault"];
  EXPECT_EQ(got["fault"].is_null() ? code != 3 : code == 3, true);
  EXPECT_EQ(expected["warnings"], got["warnings"]);
  for (const char* t : {"shell", "stiff", "ring"})
    for (const char* k : {"n", "label", "value", "unit"})
      EXPECT_EQ(expected["tables"][t][k], got["tables"][t][k]) << t << "." << k;
  EXPECT_EQ(expected["proportion"], got["proportion"]);
  EXPECT_EQ(expected["ringlocal"], got["ringlocal"]);

  int compared = 0;
  for (const auto& [key, value] : expected["values"].items()) {
    if (!got["values"].contains(key)) continue;
    const double e = value.get<double>(), g = got["values"][key].get<double>();
    const double tol = std::max(1e-9, 1e-9 * std::fabs(e));
    EXPECT_NEAR(g, e, tol) << key;
    ++compared;
  }
  EXPECT_GE(compared, 100) << "too few values compared";
}

INSTANTIATE_TEST_SUITE_P(Shared, Vector, ::testing::ValuesIn(vectorNames()),
                         [](const auto& vector) { return vector.param; });

}  // namespace
