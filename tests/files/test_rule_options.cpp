// The rule options beside the project file: written and read back through
// the session, the .cys bytes untouched, bad lines named by file and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/rule_options.hpp"
#include "project/session.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class RuleOptionsTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orvane-rules-" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ASSERT_TRUE(session_.startUp(ORVANE_SHIPPED_DATA).empty());
  }
  void TearDown() override { fs::remove_all(dir_); }

  ProjectState ps_;
  RecordingEvents ev_;
  Session session_{ps_, ev_};
  fs::path dir_;
};

TEST_F(RuleOptionsTest, SavedBesideAndReadOnOpen) {
  ASSERT_TRUE(session_.save(dir_ / "plain.cys"));
  EXPECT_FALSE(fs::exists(dir_ / "plain.rules"));
  EXPECT_EQ(session_.set("rules=conservative"), std::nullopt);
  EXPECT_EQ(session_.set("ends=closed"), std::nullopt);
  ASSERT_TRUE(session_.save(dir_ / "leg.cys"));
  EXPECT_EQ(slurp(dir_ / "leg.cys"), slurp(dir_ / "plain.cys"));  // the .cys is unchanged
  EXPECT_EQ(slurp(dir_ / "leg.rules"), "rules=conservative\nends=closed\n");

  ProjectState other;
  Session reader(other, ev_);
  ASSERT_TRUE(reader.startUp(ORVANE_SHIPPED_DATA).empty());
  ASSERT_TRUE(reader.open(dir_ / "leg.cys"));
  EXPECT_TRUE(other.conservativeRules);
  EXPECT_TRUE(other.closedEnds);
  ASSERT_TRUE(reader.open(dir_ / "plain.cys"));  // no options file: the defaults
  EXPECT_FALSE(other.conservativeRules);
  EXPECT_FALSE(other.closedEnds);

  // both back at their defaults: the options file goes
  EXPECT_EQ(session_.set("rules=orvane"), std::nullopt);
  EXPECT_EQ(session_.set("ends=open"), std::nullopt);
  ASSERT_TRUE(session_.save(dir_ / "leg.cys"));
  EXPECT_FALSE(fs::exists(dir_ / "leg.rules"));
}

TEST_F(RuleOptionsTest, BadLinesAndValues) {
  ASSERT_TRUE(session_.save(dir_ / "leg.cys"));
  struct Row {
    const char* text;
    int line;
  };
  for (const Row& r : {Row{"rules=strict\n", 1}, Row{"\nends=closed\ncolour=red\n", 3},
                       Row{"rules\n", 1}, Row{"rules=conservative\r\nends=half\r\n", 2}}) {
    std::ofstream(dir_ / "leg.rules", std::ios::binary) << r.text;
    const Result<RuleOptions> read = readRuleOptions(dir_ / "leg.cys");
    ASSERT_FALSE(read) << r.text;
    EXPECT_EQ(read.error().text(),
              (dir_ / "leg.rules").string() + ", line " + std::to_string(r.line) +
                  ": expected rules=orvane, rules=conservative, ends=open or ends=closed");
    // the project is left as it was
    ps_.projectName = "kept";
    EXPECT_FALSE(session_.open(dir_ / "leg.cys"));
    EXPECT_EQ(ps_.projectName, "kept");
  }
  std::ofstream(dir_ / "leg.rules", std::ios::binary) << "ends=closed\r\n\r\n";
  const Result<RuleOptions> read = readRuleOptions(dir_ / "leg.cys");
  ASSERT_TRUE(read);
  EXPECT_FALSE(read.value().conservative);
  EXPECT_TRUE(read.value().closedEnds);

  EXPECT_EQ(session_.set("rules=lenient"),
            std::optional<std::string>("bad value 'lenient' for rules: orvane or conservative"));
  EXPECT_EQ(session_.set("ends=1"),
            std::optional<std::string>("bad value '1' for ends: open or closed"));
}

}  // namespace
}  // namespace orvane
