#include "sections/materials.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>

#include "model/checked.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// "" for a complete load, else the whole message.
std::string problem(const Status& s) { return s ? std::string() : s.error().text(); }

const fs::path kFixtures = fs::path(ORVANE_TEST_DATA) / "data";
const fs::path kShipped = ORVANE_SHIPPED_DATA;

// Row 0: fy1..fy7 = 401..407 with the usual limits 16, 40, 63, 80, 100, 150.
// Row 1: T6 = 50 lies below T5 = 100.
MaterialTable bandTable() {
  MaterialTable m;
  m.count = 2;
  m.name = {"Banded", "Out of order", "User defined"};
  m.data[0] = {401, 16, 402, 40, 403, 63, 404, 80, 405, 100, 406, 150, 407};
  m.data[1] = {301, 16, 302, 40, 303, 63, 304, 80, 305, 100, 306, 50, 307};
  m.data[2] = {999, 16, 999, 40, 999, 63, 999, 80, 999, 100, 999, 150, 999};
  return m;
}

// Limits out of order are tested band by band: above T6 = 50 a thickness
// still finds its band from T4 to T5, only one above every limit takes fy7.
// Rows beyond the loaded ones read as zeros.
TEST(MaterialStrength, EachBandIncludesItsUpperLimit) {
  const std::tuple<int, double, float> cases[] = {
      {0, -5, 401}, {0, 16, 401}, {0, 16.1, 402},  {0, 40, 402},  {0, 40.5, 403},
      {0, 63, 403}, {0, 80, 404}, {0, 100, 405},   {0, 150, 406}, {0, 150.01, 407},
      {1, 55, 303}, {1, 90, 305}, {1, 100.5, 307}, {20, 10, 0}};
  const MaterialTable m = bandTable();
  for (const auto& [row, th, fy] : cases) {
    EXPECT_EQ(materialStrength(m, row, th), fy) << "row " << row << ", t " << th;
  }
  EXPECT_THROW(materialStrength(m, -1, 10.0), CalcFault);
  EXPECT_THROW(materialStrength(m, MaterialTable::kRows, 10.0), CalcFault);
}

TEST(MaterialLookup, EachPartUsesItsThicknessUpToTheUserDefinedEntry) {
  ProjectState ps;
  ps.mat = bandTable();
  ps.mat.data[0][0] = 355.3f;
  ps.mat.data[0][1] = 16.1f;  // 16.10000038...
  ps.st.tw = ps.rg.tw = 9;    // not the thickness that counts
  ps.st.tgov = 41;
  ps.rg.tgov = 70;
  lookupStiffener(ps, 0);
  lookupRing(ps, 0);
  EXPECT_EQ(ps.fys, 403.0);
  EXPECT_EQ(ps.fyg, 404.0);
  EXPECT_EQ(ps.fyp, 0.0);  // untouched

  // The double thickness is compared with the single limit: 16.1000005
  // rounds to the single 16.1f but lies above it.
  ps.t = 16.1;
  lookupPlate(ps, 0);
  EXPECT_EQ(ps.fyp, static_cast<double>(355.3f));
  ps.t = 16.1000005;
  ASSERT_EQ(static_cast<float>(ps.t), 16.1f);
  lookupPlate(ps, 0);
  EXPECT_EQ(ps.fyp, 402.0);

  // From the user-defined entry (row count) on, the typed strength stays; a
  // negative row faults, except in an empty table (count -1).
  ps.fyp = ps.fys = ps.fyg = 333.5;
  lookupPlate(ps, 2);
  lookupStiffener(ps, 2);
  lookupRing(ps, 5);
  EXPECT_THROW(lookupPlate(ps, -1), CalcFault);
  EXPECT_EQ(ps.fyp, 333.5);
  EXPECT_EQ(ps.fys, 333.5);
  EXPECT_EQ(ps.fyg, 333.5);
  ps.mat = MaterialTable{};
  EXPECT_NO_THROW(lookupPlate(ps, -1));
  lookupPlate(ps, 0);
  EXPECT_EQ(ps.fyp, 333.5);
}

TEST(LoadMaterials, ShippedFileLoadsCompletely) {
  MaterialTable m;
  EXPECT_EQ(problem(loadMaterials(kShipped / "DNVmat.dat", m)), "");
  ASSERT_GE(m.count, 2);
  EXPECT_LE(m.count, 20);
  EXPECT_EQ(m.name[m.count], "User defined");
  // Row 2 is the new-project default for all three parts: it must be an
  // ordinary material, and a higher-strength one than mild steel.
  EXPECT_GT(materialStrength(m, 2, 20.0), materialStrength(m, 0, 20.0));
  for (int i = 0; i <= m.count; ++i) {
    SCOPED_TRACE(m.name[i]);
    EXPECT_FALSE(m.name[i].empty());
    const auto& d = m.data[i];
    for (int k = 1; k < 6; ++k) {
      EXPECT_LE(d[2 * k - 1], d[2 * k + 1]) << "limits must not decrease";
      EXPECT_GE(d[2 * k - 2], d[2 * k]) << "strength must not grow with thickness";
    }
    EXPECT_GE(d[10], d[12]);
    EXPECT_GT(d[12], 0.0f);
  }
}

TEST(LoadMaterials, ReadsQuotedAndBareNamesAcrossLines) {
  MaterialTable m;
  EXPECT_EQ(problem(loadMaterials(kFixtures / "materials_layout.dat", m)), "");
  ASSERT_EQ(m.count, 2);
  EXPECT_EQ(m.name[0], "NV-36 (AH36, DH36)");
  EXPECT_EQ(m.name[1], "S355 bare name");
  EXPECT_EQ(m.name[2], "User defined");
  EXPECT_EQ(m.data[0][11], 150.0f);
  EXPECT_EQ(m.data[1][5], 63.0f);  // the last field on the name's line
  EXPECT_EQ(m.data[1][6], 325.0f);
  EXPECT_EQ(m.data[1][12], 285.0f);
}

// Every load starts from an empty table. One that fails names the file, the
// line and the problem and keeps the complete records before it, nothing of
// the one that failed.
TEST(LoadMaterials, FailureKeepsTheRecordsBeforeIt) {
  const fs::path file22 = fs::path(testing::TempDir()) / "materials_22.dat";
  {
    std::ofstream out(file22);
    for (int i = 1; i <= 22; ++i) {
      out << "\"Steel " << i << "\"," << 200 + i << ",16,1,40,1,63,1,80,1,100,1,150,1\n";
    }
  }
  // a name longer than a field may be, after one good record whose name is
  // Windows-1252 text
  const fs::path longName = fs::path(testing::TempDir()) / "materials_long.dat";
  {
    std::ofstream out(longName, std::ios::binary);
    out << "\"St\xe5l\",235,16,1,40,1,63,1,80,1,100,1,150,1\r\n"
        << std::string(300, 'n') << ",235,16,1,40,1,63,1,80,1,100,1,150,1\r\n";
  }
  struct Case {
    fs::path file;
    std::string problem;  // after the file name; "" for none
    int count;
    std::string lastName;
  };
  const Case cases[] = {
      {kFixtures / "empty.dat", "", -1, ""},
      {kFixtures / "no_such_file.dat", ": cannot open file", -1, ""},
      {kFixtures, ": cannot open file", -1, ""},
      {kFixtures / "materials_bad_number.dat", ", line 3: '4OO' is not a number", 1,
       "High strength"},
      {kFixtures / "materials_short.dat", ", line 2: material 'Short' has only 7 of its 14 fields",
       0, "Mild steel"},
      {file22, ", line 22: the file holds more than 21 materials; the rest was ignored", 20,
       "Steel 21"},
      {longName, ", line 2: a material name is longer than 256 characters", 0, "St\u00e5l"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.filename().string());
    MaterialTable m;
    ASSERT_EQ(problem(loadMaterials(kShipped / "DNVmat.dat", m)), "");
    EXPECT_EQ(problem(loadMaterials(c.file, m)),
              c.problem.empty() ? "" : c.file.string() + c.problem);
    ASSERT_EQ(m.count, c.count);
    EXPECT_EQ(c.count >= 0 ? m.name[c.count] : "", c.lastName);
    if (c.count + 1 < MaterialTable::kRows) {  // nothing of the next one, nor of earlier loads
      EXPECT_EQ(m.name[c.count + 1], "");
      EXPECT_EQ(m.data[c.count + 1][0], 0.0f);
    }
  }
  fs::remove(file22);
  fs::remove(longName);
}

TEST(DataFileReader, NumbersMustBeWholeFiniteFields) {
  const fs::path file = fs::path(testing::TempDir()) / "numbers.dat";
  {
    std::ofstream out(file, std::ios::binary);
    out << "+1.5 .25,-3e2\r7,,1e40 nan 12x";
  }
  // value, field text, line; a field that ends a line keeps its line until
  // the next field is read
  const std::tuple<std::optional<float>, std::string, int> fields[] = {
      {1.5f, "+1.5", 1},        {0.25f, ".25", 1},       {-300.0f, "-3e2", 1},
      {7.0f, "7", 2},           {std::nullopt, "", 2},   {std::nullopt, "1e40", 2},
      {std::nullopt, "nan", 2}, {std::nullopt, "12x", 2}};
  DataFileReader in;
  ASSERT_TRUE(in.open(file));
  for (const auto& [value, text, line] : fields) {
    std::string field;
    EXPECT_EQ(in.number(field), value) << text;
    EXPECT_EQ(field, text);
    EXPECT_EQ(in.line(), line) << text;
  }
  EXPECT_TRUE(in.atEnd());
  fs::remove(file);
}

}  // namespace
}  // namespace orvane
