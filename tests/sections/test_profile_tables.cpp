#include "sections/profile_tables.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

#include "core/checked.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(ORVANE_TEST_DATA) / "data";
const fs::path kShipped = ORVANE_SHIPPED_DATA;

ProfileTable emptyLike(const ProfileTable& shape) { return {-1, shape.columns, shape.maxRows, {}}; }

TEST(LoadProfileTable, ShippedTablesFillTheirTables) {
  ProfileTables p;
  EXPECT_EQ(loadProfileTable(kShipped / "bfprof.dat", p.bulb), std::nullopt);
  EXPECT_EQ(loadProfileTable(kShipped / "lprof.dat", p.l), std::nullopt);
  EXPECT_EQ(loadProfileTable(kShipped / "tprof.dat", p.t), std::nullopt);
  EXPECT_EQ(loadProfileTable(kShipped / "fprof.dat", p.flat), std::nullopt);
  EXPECT_EQ(p.bulb.last, 60);
  EXPECT_EQ(p.l.last, 40);
  EXPECT_EQ(p.t.last, 40);
  EXPECT_EQ(p.flat.last, 40);
  for (const ProfileTable* t : {&p.bulb, &p.l, &p.t, &p.flat}) {
    for (int i = 0; i <= t->last; ++i) {
      for (int c = 1; c <= t->columns; ++c) EXPECT_GT(t->row[i][c], 0.0f) << i << "," << c;
    }
  }
}

// A project file finds its stiffener row again by these keys; a duplicate
// would silently select the later row.
TEST(LoadProfileTable, ShippedRowsHaveUniqueSearchKeys) {
  ProfileTables p;
  ASSERT_EQ(loadProfileTable(kShipped / "bfprof.dat", p.bulb), std::nullopt);
  ASSERT_EQ(loadProfileTable(kShipped / "lprof.dat", p.l), std::nullopt);
  ASSERT_EQ(loadProfileTable(kShipped / "tprof.dat", p.t), std::nullopt);
  ASSERT_EQ(loadProfileTable(kShipped / "fprof.dat", p.flat), std::nullopt);
  using Key = std::tuple<float, float, float, float>;
  auto unique = [](const ProfileTable& t, auto key) {
    std::set<Key> seen;
    for (int i = 0; i <= t.last; ++i) seen.insert(key(t.row[i]));
    return static_cast<int>(seen.size()) == t.last + 1;
  };
  EXPECT_TRUE(unique(p.bulb, [](const auto& r) { return Key{r[1], r[2], 0, 0}; }));
  EXPECT_TRUE(unique(p.l, [](const auto& r) { return Key{r[1], r[2], r[3], 0}; }));
  EXPECT_TRUE(unique(p.t, [](const auto& r) { return Key{r[1], r[2], r[3], r[4]}; }));
  EXPECT_TRUE(unique(p.flat, [](const auto& r) { return Key{r[1], r[2], 0, 0}; }));
}

TEST(LoadProfileTable, TrailingLineEndsAndBlanksEndTheFile) {
  ProfileTable with = emptyLike(ProfileTables{}.flat);
  ProfileTable without = with;
  EXPECT_EQ(loadProfileTable(kFixtures / "fprof_trailing.dat", with), std::nullopt);
  EXPECT_EQ(loadProfileTable(kFixtures / "fprof_no_trailing.dat", without), std::nullopt);
  EXPECT_EQ(with.last, 2);
  EXPECT_EQ(without.last, 2);
  EXPECT_EQ(with.row, without.row);
  // Blank- and line-separated values, a row split over two lines.
  EXPECT_EQ(with.row[1][1], 120.0f);
  EXPECT_EQ(with.row[1][2], 10.0f);
  EXPECT_EQ(with.row[2][1], 150.0f);
  EXPECT_EQ(with.row[2][2], 12.0f);
}

TEST(LoadProfileTable, EmptyFileGivesNoRows) {
  ProfileTable t = ProfileTables{}.l;
  t.last = 7;
  t.row[0][1] = 99;
  EXPECT_EQ(loadProfileTable(kFixtures / "empty.dat", t), std::nullopt);
  EXPECT_EQ(t.last, -1);
  EXPECT_EQ(t.row[0][1], 0.0f);
  EXPECT_TRUE(profileList(t, ProfileKind::L).empty());
}

TEST(LoadProfileTableFailure, MissingFileNamesTheFile) {
  ProfileTable t = ProfileTables{}.t;
  const fs::path file = kFixtures / "no_such_table.dat";
  EXPECT_EQ(loadProfileTable(file, t), file.string() + ": cannot open file");
  EXPECT_EQ(t.last, -1);
}

TEST(LoadProfileTableFailure, PartialLastRowIsNotCounted) {
  ProfileTable t = ProfileTables{}.flat;
  const fs::path file = kFixtures / "fprof_partial.dat";
  EXPECT_EQ(loadProfileTable(file, t),
            file.string() + ", line 4: the last row has only 1 of its 2 values; it was ignored");
  EXPECT_EQ(t.last, 2);
  EXPECT_EQ(tableValue(t, 3, 1), 0.0f);
}

TEST(LoadProfileTableFailure, BadNumberKeepsTheCompleteRows) {
  ProfileTable t = ProfileTables{}.flat;
  const fs::path file = kFixtures / "fprof_bad_number.dat";
  EXPECT_EQ(loadProfileTable(file, t), file.string() + ", line 3: 'l2' is not a number");
  EXPECT_EQ(t.last, 1);
  EXPECT_EQ(tableValue(t, 2, 1), 0.0f);
}

TEST(LoadProfileTableFailure, MoreRowsThanTheTableHoldsKeepsAFullTable) {
  const fs::path file = fs::path(testing::TempDir()) / "fprof_42.dat";
  {
    std::ofstream out(file);
    for (int i = 1; i <= 42; ++i) out << 10 * i << ",5\n";
  }
  ProfileTable t = ProfileTables{}.flat;
  EXPECT_EQ(loadProfileTable(file, t),
            file.string() + ", line 42: the file holds more than 41 rows; the rest was ignored");
  EXPECT_EQ(t.last, 40);
  EXPECT_EQ(t.row[40][1], 410.0f);
  EXPECT_EQ(t.row[41][1], 0.0f);
  fs::remove(file);
}

TEST(ProfileList, DesignationsUseTheGeneralNumberText) {
  ProfileTables p;
  p.bulb.last = 0;
  p.bulb.row[0] = {0, 200, 10, 28, 8, 2560};
  p.l.last = 1;
  p.l.row[0] = {0, 200, 90, 9, 14};
  p.l.row[1] = {0, 400, 100, 11.5f, 16};
  p.t.last = 0;
  p.t.row[0] = {0, 100, 100, 5.6f, 8.5f};
  p.flat.last = 0;
  p.flat.row[0] = {0, 200, 9, 77, 77};
  EXPECT_EQ(profileList(p.bulb, ProfileKind::BulbFlat), std::vector<std::string>{"BF 200x10"});
  EXPECT_EQ(profileList(p.l, ProfileKind::L),
            (std::vector<std::string>{"L200x90x9x14", "L400x100x11.5x16"}));
  EXPECT_EQ(profileList(p.t, ProfileKind::T), std::vector<std::string>{"T100x100x5.6x8.5"});
  EXPECT_EQ(profileList(p.flat, ProfileKind::FlatBar), std::vector<std::string>{"Fb200x9"});
}

class FindStiffenerRow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(loadProfileTable(kFixtures / "lprof_twins.dat", ps.prof.l), std::nullopt);
    ps.prof.t.last = 1;
    ps.prof.t.row[0] = {0, 200, 90, 9, 12.3f};
    ps.prof.t.row[1] = {0, 200, 90, 9, 14};
    ps.prof.flat.last = 1;
    ps.prof.flat.row[0] = {0, 200, 9};
    ps.prof.flat.row[1] = {0, 150, 9};
    ps.prof.bulb.last = 0;
    ps.prof.bulb.row[0] = {0, 200, 10, 28, 8, 2560};
    ps.stiffRows = {5, 5, 5, 5};
  }
  void stiffener(int type, double h, double b, double tw, float tf) {
    ps.cbostiff = static_cast<int16_t>(type);
    ps.st.h = h;
    ps.st.b = b;
    ps.st.tw = tw;
    ps.st.tf = tf;
  }
  ProjectState ps;
};

TEST_F(FindStiffenerRow, LTableIgnoresTheFlangeAndTakesTheLastMatch) {
  stiffener(0, 200, 90, 9, 12);
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.l, 1);
  stiffener(0, 200, 90, 10, 14);
  ps.stiffRows.l = 0;
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.l, 0);
  EXPECT_EQ(ps.stiffRows.t, 5);
}

TEST_F(FindStiffenerRow, TTableComparesAllFourDimensions) {
  stiffener(2, 200, 90, 9, 12.3f);
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.t, 0);
  stiffener(2, 200, 90, 9, 14);
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.t, 1);
  stiffener(2, 200, 90, 9, 13);
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.t, 1);
  // A double dimension that is not exactly the single table value differs.
  stiffener(2, 200, 90, 9.000001, 12.3f);
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.t, 1);
}

TEST_F(FindStiffenerRow, FlatBarAndBulbFlatCompareHeightAndWeb) {
  stiffener(4, 150, 90, 9, 99);
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.flat, 1);
  stiffener(6, 200, 1, 10, 1);
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.bulb, 0);
  EXPECT_EQ(ps.stiffRows.l, 5);
}

TEST_F(FindStiffenerRow, RowsBeyondTheLoadedOnesAndOtherTypesAreNotSearched) {
  stiffener(4, 0, 0, 0, 0);  // the zero rows past the end would match
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.flat, 5);
  stiffener(1, 200, 90, 9, 14);  // built-up L
  findStiffenerRow(ps);
  EXPECT_EQ(ps.stiffRows.l, 5);
}

TEST(TableValue, RowsOfTheFixedArrayOnly) {
  ProfileTables p;
  p.l.last = 0;
  p.l.row[0] = {0, 200, 90, 9, 14};
  EXPECT_EQ(tableValue(p.l, 0, 4), 14.0f);
  EXPECT_EQ(tableValue(p.l, 40, 1), 0.0f);
  EXPECT_THROW(tableValue(p.l, 41, 1), CalcFault);
  EXPECT_THROW(tableValue(p.l, -1, 1), CalcFault);
  EXPECT_THROW(tableValue(p.l, 0, 6), CalcFault);
  EXPECT_EQ(tableValue(p.bulb, 60, 5), 0.0f);
  EXPECT_THROW(tableValue(p.bulb, 61, 1), CalcFault);
}

}  // namespace
}  // namespace orvane
