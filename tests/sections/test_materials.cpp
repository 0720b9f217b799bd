#include "sections/materials.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/checked.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(ORVANE_TEST_DATA) / "data";
const fs::path kShipped = ORVANE_SHIPPED_DATA;

// fy1..fy7 = 401..407 with the usual limits 16, 40, 63, 80, 100, 150.
MaterialTable bandTable() {
  MaterialTable m;
  m.count = 2;
  m.name = {"Banded", "Out of order", "User defined"};
  m.data[0] = {401, 16, 402, 40, 403, 63, 404, 80, 405, 100, 406, 150, 407};
  m.data[1] = {301, 16, 302, 40, 303, 63, 304, 80, 305, 100, 306, 50, 307};
  m.data[2] = {999, 16, 999, 40, 999, 63, 999, 80, 999, 100, 999, 150, 999};
  return m;
}

TEST(MaterialStrength, EachBandIncludesItsUpperLimit) {
  const MaterialTable m = bandTable();
  EXPECT_EQ(materialStrength(m, 0, 16.0), 401.0f);
  EXPECT_EQ(materialStrength(m, 0, 16.1), 402.0f);
  EXPECT_EQ(materialStrength(m, 0, 40.0), 402.0f);
  EXPECT_EQ(materialStrength(m, 0, 40.5), 403.0f);
  EXPECT_EQ(materialStrength(m, 0, 63.0), 403.0f);
  EXPECT_EQ(materialStrength(m, 0, 80.0), 404.0f);
  EXPECT_EQ(materialStrength(m, 0, 100.0), 405.0f);
  EXPECT_EQ(materialStrength(m, 0, 150.0), 406.0f);
  EXPECT_EQ(materialStrength(m, 0, 150.01), 407.0f);
  EXPECT_EQ(materialStrength(m, 0, 0.0), 401.0f);
  EXPECT_EQ(materialStrength(m, 0, -5.0), 401.0f);
}

TEST(MaterialStrength, LimitsOutOfOrderAreTestedBandByBand) {
  const MaterialTable m = bandTable();
  // T6 = 50 lies below T5 = 100: a thickness above T6 still finds its band
  // from T4 to T5, and only one above every limit takes fy7.
  EXPECT_EQ(materialStrength(m, 1, 90.0), 305.0f);
  EXPECT_EQ(materialStrength(m, 1, 100.5), 307.0f);
  EXPECT_EQ(materialStrength(m, 1, 55.0), 303.0f);
}

TEST(MaterialStrength, RowOutsideTheFixedTableIsACalcFault) {
  const MaterialTable m = bandTable();
  EXPECT_THROW(materialStrength(m, -1, 10.0), CalcFault);
  EXPECT_THROW(materialStrength(m, MaterialTable::kRows, 10.0), CalcFault);
  // Rows inside the array but beyond the loaded rows read as zeros.
  EXPECT_EQ(materialStrength(m, 20, 10.0), 0.0f);
}

TEST(MaterialLookup, PlateComparesTheDoubleThicknessWithTheSingleLimit) {
  ProjectState ps;
  ps.mat = bandTable();
  ps.mat.data[0][1] = 16.1f;  // 16.10000038...
  ps.t = 16.1;                // below the single limit
  lookupPlate(ps, 0);
  EXPECT_EQ(ps.fyp, 401.0);
  // Rounds to the single limit, but as a double lies above it.
  ps.t = 16.1000005;
  ASSERT_EQ(static_cast<float>(ps.t), 16.1f);
  lookupPlate(ps, 0);
  EXPECT_EQ(ps.fyp, 402.0);
}

TEST(MaterialLookup, StrengthIsStoredAsTheSingleValue) {
  ProjectState ps;
  ps.mat = bandTable();
  ps.mat.data[0][0] = 355.3f;
  ps.t = 10;
  lookupPlate(ps, 0);
  EXPECT_EQ(ps.fyp, static_cast<double>(355.3f));
  EXPECT_NE(ps.fyp, 355.3);
}

TEST(MaterialLookup, ProfilesUseTheirGoverningThickness) {
  ProjectState ps;
  ps.mat = bandTable();
  ps.st.tw = 9;
  ps.st.tgov = 41;
  ps.rg.tw = 9;
  ps.rg.tgov = 70;
  ps.t = 10;
  lookupStiffener(ps, 0);
  lookupRing(ps, 0);
  EXPECT_EQ(ps.fys, 403.0);
  EXPECT_EQ(ps.fyg, 404.0);
  EXPECT_EQ(ps.fyp, 0.0);  // untouched
}

TEST(MaterialLookup, UserDefinedEntryKeepsTheTypedStrength) {
  ProjectState ps;
  ps.mat = bandTable();
  ps.fyp = ps.fys = ps.fyg = 333.5;
  lookupPlate(ps, 2);
  lookupStiffener(ps, 2);
  lookupRing(ps, 5);
  EXPECT_EQ(ps.fyp, 333.5);
  EXPECT_EQ(ps.fys, 333.5);
  EXPECT_EQ(ps.fyg, 333.5);
  // Negative rows are below count and fault.
  EXPECT_THROW(lookupPlate(ps, -1), CalcFault);
  EXPECT_EQ(ps.fyp, 333.5);
}

TEST(MaterialLookup, EmptyTableNeverChangesAStrength) {
  ProjectState ps;
  ps.fyp = 250;
  ASSERT_EQ(ps.mat.count, -1);
  lookupPlate(ps, 0);
  lookupPlate(ps, -1);
  EXPECT_EQ(ps.fyp, 250.0);
}

TEST(LoadMaterials, ShippedFileLoadsCompletely) {
  MaterialTable m;
  EXPECT_EQ(loadMaterials(kShipped / "DNVmat.dat", m), std::nullopt);
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
  EXPECT_EQ(loadMaterials(kFixtures / "materials_layout.dat", m), std::nullopt);
  ASSERT_EQ(m.count, 2);
  EXPECT_EQ(m.name[0], "NV-36 (AH36, DH36)");
  EXPECT_EQ(m.name[1], "S355 bare name");
  EXPECT_EQ(m.name[2], "User defined");
  EXPECT_EQ(m.data[1][0], 355.0f);
  EXPECT_EQ(m.data[1][5], 63.0f);
  EXPECT_EQ(m.data[1][6], 325.0f);
  EXPECT_EQ(m.data[1][12], 285.0f);
  EXPECT_EQ(m.data[0][11], 150.0f);
}

TEST(LoadMaterials, ReloadReplacesEarlierRows) {
  MaterialTable m;
  ASSERT_EQ(loadMaterials(kShipped / "DNVmat.dat", m), std::nullopt);
  ASSERT_EQ(loadMaterials(kFixtures / "empty.dat", m), std::nullopt);
  EXPECT_EQ(m.count, -1);
  EXPECT_EQ(m.name[0], "");
  EXPECT_EQ(m.data[0][0], 0.0f);
}

TEST(LoadMaterialsFailure, MissingFileNamesTheFile) {
  MaterialTable m;
  const fs::path file = kFixtures / "no_such_file.dat";
  EXPECT_EQ(loadMaterials(file, m), file.string() + ": cannot open file");
  EXPECT_EQ(m.count, -1);
  const fs::path folder = kFixtures;
  EXPECT_EQ(loadMaterials(folder, m), folder.string() + ": cannot open file");
}

TEST(LoadMaterialsFailure, BadNumberNamesTheLineAndKeepsEarlierRows) {
  MaterialTable m;
  const fs::path file = kFixtures / "materials_bad_number.dat";
  EXPECT_EQ(loadMaterials(file, m), file.string() + ", line 3: '4OO' is not a number");
  EXPECT_EQ(m.count, 1);
  EXPECT_EQ(m.name[1], "High strength");
  EXPECT_EQ(m.name[2], "");
  EXPECT_EQ(m.data[2][0], 0.0f);
}

TEST(LoadMaterialsFailure, RecordCutShortAtTheEnd) {
  MaterialTable m;
  const fs::path file = kFixtures / "materials_short.dat";
  EXPECT_EQ(loadMaterials(file, m),
            file.string() + ", line 2: material 'Short' has only 7 of its 14 fields");
  EXPECT_EQ(m.count, 0);
  EXPECT_EQ(m.data[1][0], 0.0f);
}

TEST(LoadMaterialsFailure, MoreThan21RecordsKeepsTheFirst21) {
  const fs::path file = fs::path(testing::TempDir()) / "materials_22.dat";
  {
    std::ofstream out(file);
    for (int i = 1; i <= 22; ++i) {
      out << "\"Steel " << i << "\"," << 200 + i << ",16,1,40,1,63,1,80,1,100,1,150,1\n";
    }
  }
  MaterialTable m;
  EXPECT_EQ(
      loadMaterials(file, m),
      file.string() + ", line 22: the file holds more than 21 materials; the rest was ignored");
  EXPECT_EQ(m.count, 20);
  EXPECT_EQ(m.name[20], "Steel 21");
  EXPECT_EQ(m.data[20][0], 221.0f);
  fs::remove(file);
}

TEST(DataFileReader, NumbersMustBeWholeFiniteFields) {
  const fs::path file = fs::path(testing::TempDir()) / "numbers.dat";
  {
    std::ofstream out(file, std::ios::binary);
    out << "+1.5 .25,-3e2\r7,,1e40 nan 12x";
  }
  DataFileReader in;
  ASSERT_TRUE(in.open(file));
  std::string field;
  EXPECT_EQ(in.number(field), 1.5f);
  EXPECT_EQ(in.number(field), 0.25f);
  EXPECT_EQ(in.number(field), -300.0f);
  EXPECT_EQ(in.line(), 1);
  EXPECT_EQ(in.number(field), 7.0f);
  EXPECT_EQ(in.line(), 2);
  EXPECT_EQ(in.number(field), std::nullopt);  // empty field between commas
  EXPECT_EQ(field, "");
  EXPECT_EQ(in.number(field), std::nullopt);
  EXPECT_EQ(field, "1e40");
  EXPECT_EQ(in.number(field), std::nullopt);
  EXPECT_EQ(in.number(field), std::nullopt);
  EXPECT_EQ(field, "12x");
  EXPECT_TRUE(in.atEnd());
  fs::remove(file);
}

}  // namespace
}  // namespace orvane
