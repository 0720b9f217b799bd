#include "sections/profile_tables.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "model/checked.hpp"
#include "sections/materials.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// "" for a complete load, else the whole message.
std::string problem(const Status& s) { return s ? std::string() : s.error().text(); }
using Designations = std::vector<std::string>;

const fs::path kFixtures = fs::path(ORVANE_TEST_DATA) / "data";
const fs::path kShipped = ORVANE_SHIPPED_DATA;

// Each shipped table fills its table with positive values, and its rows
// differ in the dimensions a project file finds its stiffener row by (a
// duplicate would silently select the later row).
TEST(LoadProfileTable, ShippedTablesFillTheirTablesWithUniqueRows) {
  ProfileTables p;
  // file, table, last row, key columns (h, b, tw, tf; h and tw for the bars)
  const std::tuple<const char*, ProfileTable*, int, int> tables[] = {
      {"bfprof.dat", &p.bulb, 60, 2},
      {"lprof.dat", &p.l, 40, 3},
      {"tprof.dat", &p.t, 40, 4},
      {"fprof.dat", &p.flat, 40, 2},
  };
  for (const auto& [name, t, last, keyColumns] : tables) {
    SCOPED_TRACE(name);
    EXPECT_EQ(problem(loadProfileTable(kShipped / name, *t)), "");
    EXPECT_EQ(t->last, last);
    std::set<std::vector<float>> keys;
    for (int i = 0; i <= t->last; ++i) {
      for (int c = 1; c <= t->columns; ++c) EXPECT_GT(t->row[i][c], 0.0f) << i << "," << c;
      keys.insert({t->row[i].begin() + 1, t->row[i].begin() + 1 + keyColumns});
    }
    EXPECT_EQ(static_cast<int>(keys.size()), t->last + 1);
  }
}

// Values are separated by commas, blanks or line ends, and a row may run over
// two lines; trailing blanks and line ends end the file. Every load starts
// from an empty table. One that fails names the file, the line and the
// problem and keeps the complete rows before it, nothing of the row that
// failed.
TEST(LoadProfileTable, KeepsTheCompleteRowsBeforeAnyProblem) {
  const fs::path file42 = fs::path(testing::TempDir()) / "fprof_42.dat";
  {
    std::ofstream out(file42);
    for (int i = 1; i <= 42; ++i) out << 10 * i << ",5\n";
  }
  // 64 MB of blanks and line ends after the rows end the table; a number
  // field longer than a field may be is not read whole
  const fs::path trailing = fs::path(testing::TempDir()) / "fprof_trailing_mb.dat";
  const fs::path longField = fs::path(testing::TempDir()) / "fprof_long_field.dat";
  {
    std::ofstream out(trailing, std::ios::binary);
    out << "100,10\n150,12\n";
    const std::string chunk(1 << 20, '\n');
    for (int i = 0; i < 32; ++i) out << chunk << std::string(1 << 20, ' ');
    std::ofstream(longField, std::ios::binary) << "100,10\n" << std::string(300, '7') << ",5\n";
  }
  struct Case {
    fs::path file;
    std::string problem;  // after the file name; "" for none
    int last;
    float h, tw;  // of the last row (row 0 when none)
  };
  const Case cases[] = {
      {kFixtures / "fprof_trailing.dat", "", 2, 150, 12},
      {kFixtures / "fprof_no_trailing.dat", "", 2, 150, 12},
      {kFixtures / "empty.dat", "", -1, 0, 0},
      {kFixtures / "no_such_table.dat", ": cannot open file", -1, 0, 0},
      {kFixtures / "fprof_partial.dat",
       ", line 4: the last row has only 1 of its 2 values; it was ignored", 2, 150, 12},
      {kFixtures / "fprof_bad_number.dat", ", line 3: 'l2' is not a number", 1, 120, 10},
      {file42, ", line 42: the file holds more than 41 rows; the rest was ignored", 40, 410, 5},
      {trailing, "", 1, 150, 12},
      {longField, ", line 2: '" + std::string(256, '7') + "...' is not a number", 0, 100, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.filename().string());
    ProfileTable t = ProfileTables{}.flat;
    t.last = 7;
    t.row.fill({0, 99, 99});
    EXPECT_EQ(problem(loadProfileTable(c.file, t)),
              c.problem.empty() ? "" : c.file.string() + c.problem);
    ASSERT_EQ(t.last, c.last);
    const auto& lastRow = t.row[static_cast<size_t>(std::max(c.last, 0))];
    EXPECT_EQ(lastRow[1], c.h);
    EXPECT_EQ(lastRow[2], c.tw);
    EXPECT_EQ(t.row[static_cast<size_t>(c.last + 1)][1], 0.0f);  // nothing of the next row
    EXPECT_EQ(profileList(t, ProfileKind::FlatBar).size(), static_cast<size_t>(c.last + 1));
  }
  fs::remove(file42);
  fs::remove(trailing);
  fs::remove(longField);
}

// Peak resident memory of this process in kilobytes.
long peakKilobytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// A data file is read as its fields are asked for: 64 MB after the last
// row cost no memory of their own, for either loader.
TEST(LoadDataFiles, MemoryDoesNotGrowWithWhatFollowsTheData) {
  const fs::path file = fs::path(testing::TempDir()) / "trailing_64mb.dat";
  const std::string chunk(1 << 20, '\n');
  for (const bool materials : {false, true}) {
    {
      std::ofstream out(file, std::ios::binary);
      out << (materials ? "\"Steel\",235,16,1,40,1,63,1,80,1,100,1,150,1\r\n" : "100,10\n");
      for (int i = 0; i < 64; ++i) out << chunk;
    }
    const long before = peakKilobytes();
    MaterialTable m;
    ProfileTable t = ProfileTables{}.flat;
    EXPECT_EQ(problem(materials ? loadMaterials(file, m) : loadProfileTable(file, t)), "");
    EXPECT_EQ(materials ? m.count : t.last, 0);
    EXPECT_LT(peakKilobytes() - before, 8 * 1024) << (materials ? "DNVmat.dat" : "fprof.dat");
  }
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
  EXPECT_EQ(profileList(p.bulb, ProfileKind::BulbFlat), Designations{"BF 200x10"});
  EXPECT_EQ(profileList(p.l, ProfileKind::L), (Designations{"L200x90x9x14", "L400x100x11.5x16"}));
  EXPECT_EQ(profileList(p.t, ProfileKind::T), Designations{"T100x100x5.6x8.5"});
  EXPECT_EQ(profileList(p.flat, ProfileKind::FlatBar), Designations{"Fb200x9"});
}

// The row of the stiffener's table type is searched by its key dimensions;
// the last equal row wins, no equal row keeps the row, and the rows of the
// other types are never touched.
TEST(FindStiffenerRow, LastRowEqualInTheKeyDimensions) {
  struct Case {
    const char* what;
    int type;
    double h, b, tw;
    float tf;
    std::array<int, 4> rows;  // bulb, L, T, flat
  };
  const Case cases[] = {
      {"L: the flange is not part of the key", 0, 200, 90, 9, 12, {5, 1, 5, 5}},
      {"L: no equal row", 0, 200, 90, 10, 14, {5, 5, 5, 5}},
      {"T: all four dimensions", 2, 200, 90, 9, 12.3f, {5, 5, 0, 5}},
      {"T: the other flange", 2, 200, 90, 9, 14, {5, 5, 1, 5}},
      {"T: no equal flange", 2, 200, 90, 9, 13, {5, 5, 5, 5}},
      {"T: a double that is not the single", 2, 200, 90, 9.000001, 12.3f, {5, 5, 5, 5}},
      {"flat bar: height and web", 4, 150, 90, 9, 99, {5, 5, 5, 1}},
      {"bulb flat: height and web", 6, 200, 1, 10, 1, {0, 5, 5, 5}},
      {"flat bar: zero rows past the end", 4, 0, 0, 0, 0, {5, 5, 5, 5}},
      {"built-up L: no table", 1, 200, 90, 9, 14, {5, 5, 5, 5}}};
  ProjectState ps;
  ASSERT_EQ(problem(loadProfileTable(kFixtures / "lprof_twins.dat", ps.prof.l)), "");
  ps.prof.t.last = 1;
  ps.prof.t.row[0] = {0, 200, 90, 9, 12.3f};
  ps.prof.t.row[1] = {0, 200, 90, 9, 14};
  ps.prof.flat.last = 1;
  ps.prof.flat.row[0] = {0, 200, 9};
  ps.prof.flat.row[1] = {0, 150, 9};
  ps.prof.bulb.last = 0;
  ps.prof.bulb.row[0] = {0, 200, 10, 28, 8, 2560};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ps.stiffRows = {5, 5, 5, 5};
    ps.cbostiff = static_cast<int16_t>(c.type);
    ps.st.h = c.h, ps.st.b = c.b, ps.st.tw = c.tw, ps.st.tf = c.tf;
    findStiffenerRow(ps);
    const TableRows& r = ps.stiffRows;
    EXPECT_EQ((std::array<int, 4>{r.bulb, r.l, r.t, r.flat}), c.rows);
  }
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
