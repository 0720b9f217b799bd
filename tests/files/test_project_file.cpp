#include "files/project_file.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <locale>
#include <string>
#include <vector>

#ifdef __unix__
#include <sys/resource.h>

#include <csignal>
#endif

namespace orvane {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(ORVANE_TEST_DATA) / "files";

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& p, const std::string& data) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << data;
}

std::vector<std::string> crlfLines(const std::string& data) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < data.size()) {
    const size_t end = data.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(data.substr(start));
      break;
    }
    lines.push_back(data.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string joinCrlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// The members of lines 4 to 59 in file order, widened to double. Line 14,
// stiff_flag, is left out (NaN): a read always makes it 1.
constexpr int kFirst = 4, kLast = 59;
std::vector<double> fileOrder(const ProjectState& p) {
  const double skip = std::nan("");
  // clang-format off
  return {
      double(p.matp), double(p.mats), double(p.matg), p.fyp, p.fys, p.fyg,            // 4-9
      double(p.wsd), p.ufb, double(p.cyltype), double(p.Outside_ch), skip,            // 10-14
      double(p.ring_ch), double(p.check_ih), double(p.ringfab), double(p.cbostiff),   // 15-18
      double(p.stiffRows.bulb), double(p.stiffRows.l), double(p.stiffRows.t),         // 19-21
      double(p.stiffRows.flat), double(p.cboring), double(p.ringRows.bulb),           // 22-24
      double(p.ringRows.l), double(p.ringRows.t), double(p.ringRows.flat),            // 25-27
      p.E, p.s, p.l, p.ltst, p.ltgi, p.L, p.r, p.t, p.sigx, p.sigy, p.tau, p.pd,      // 28-39
      p.st.h, p.st.b, p.st.a, p.st.tw, p.st.tf, p.rg.h, p.rg.b, p.rg.a, p.rg.tw,      // 40-48
      p.rg.tf, double(p.hring_ch), double(p.spare_flag), p.N, p.M1a, p.M2a, p.M1b,    // 49-55
      p.M2b, p.k1, p.k2, double(p.odmom)};                                            // 56-59
  // clang-format on
}

// Compares the members of lines `from`..`to` (skipping 14) of two states.
void expectLines(const ProjectState& got, const ProjectState& want, int from, int to,
                 const std::string& note = "") {
  const std::vector<double> g = fileOrder(got), w = fileOrder(want);
  for (int line = from; line <= to; ++line) {
    if (line == 14) continue;
    const auto i = static_cast<size_t>(line - kFirst);
    EXPECT_EQ(g[i], w[i]) << note << " line " << line;
  }
}

// Lines whose member is a Single: they hold the single value of their text.
bool singleLine(int line) {
  for (int l : {28, 32, 34, 37, 38, 39, 44, 49, 56, 58}) {
    if (l == line) return true;
  }
  return false;
}

double fileValue(const std::string& text, int line) {
  const double d = std::strtod(text.c_str(), nullptr);
  return singleLine(line) ? double(float(d)) : d;
}

// Every stored value different from its default and from every other one,
// so that two swapped lines cannot pass for each other.
ProjectState distinctState() {
  ProjectState p;
  p.projectName = "Jacket \"A\", leg 2, \xe6\xf8\xe5";  // Windows-1252 bytes kept as they are
  p.ident = "rev. 3, \"final\"";
  int16_t i = 3;
  for (int16_t* m : {&p.matp,        &p.mats,           &p.matg,           &p.wsd,
                     &p.cyltype,     &p.Outside_ch,     &p.ring_ch,        &p.check_ih,
                     &p.ringfab,     &p.cbostiff,       &p.stiffRows.bulb, &p.stiffRows.l,
                     &p.stiffRows.t, &p.stiffRows.flat, &p.cboring,        &p.ringRows.bulb,
                     &p.ringRows.l,  &p.ringRows.t,     &p.ringRows.flat,  &p.hring_ch,
                     &p.spare_flag,  &p.odmom}) {
    *m = i++;
  }
  p.stiff_flag = 1;  // always 1 after a read
  p.cbostiff = 2;    // a table type without a matching row: no built-up copy
  p.cboring = 4;
  double d = 101.125;
  for (double* m : {&p.fyp,   &p.fys,  &p.fyg,  &p.ufb,  &p.s,     &p.l,    &p.ltst, &p.L,
                    &p.sigx,  &p.st.h, &p.st.b, &p.st.a, &p.st.tw, &p.rg.h, &p.rg.b, &p.rg.a,
                    &p.rg.tw, &p.N,    &p.M1a,  &p.M2a,  &p.M1b,   &p.k1}) {
    *m = d;
    d = -d * 1.7 + 0.1;  // fractions that need all 17 digits
  }
  p.t = 36.62275710105895;
  float f = 0.1f;
  for (float* m : {&p.E, &p.ltgi, &p.r, &p.sigy, &p.tau, &p.st.tf, &p.rg.tf, &p.M2b, &p.k2}) {
    *m = f;
    f = f * -3.3f + 7.0f;
  }
  p.pd = -0.3f;
  return p;
}

class ProjectFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("orvane-files-" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A written project file whose lines a test then edits.
  std::vector<std::string> writtenLines(ProjectState ps) {
    const fs::path p = dir_ / "source.cys";
    EXPECT_EQ(writeProject(ps, p), std::nullopt);
    return crlfLines(slurp(p));
  }
  fs::path fileWith(const std::vector<std::string>& lines, const std::string& name = "edit.cys") {
    spit(dir_ / name, joinCrlf(lines));
    return dir_ / name;
  }

  fs::path dir_;
};

TEST_F(ProjectFileTest, RoundTripKeepsEveryValueExactly) {
  ProjectState out = distinctState();
  const fs::path path = dir_ / "round.cys";
  ASSERT_EQ(writeProject(out, path), std::nullopt);
  EXPECT_EQ(out.fileName, path.string());

  ProjectState in;
  const ReadOutcome r = readProject(in, path);
  ASSERT_EQ(r.status, ReadOutcome::Ok) << r.message;
  EXPECT_EQ(in.fileName, path.string());
  EXPECT_EQ(in.projectName, out.projectName);
  EXPECT_EQ(in.ident, out.ident);
  EXPECT_EQ(in.fileversion, 170);
  expectLines(in, out, kFirst, kLast);
  EXPECT_EQ(in.stiff_flag, 1);
  EXPECT_EQ(in.t, 36.62275710105895);
  EXPECT_EQ(in.pd, -0.3f);
}

TEST_F(ProjectFileTest, WritesFiftyNineCrlfLinesInTableOrder) {
  ProjectState ps = distinctState();
  ASSERT_EQ(writeProject(ps, dir_ / "p.cys"), std::nullopt);
  const std::string data = slurp(dir_ / "p.cys");
  ASSERT_GE(data.size(), 2u);
  EXPECT_EQ(data.substr(data.size() - 2), "\r\n");
  // no bare LF or CR anywhere
  for (size_t k = 0; k < data.size(); ++k) {
    if (data[k] == '\n') {
      ASSERT_TRUE(k > 0 && data[k - 1] == '\r') << "byte " << k;
    } else if (data[k] == '\r') {
      ASSERT_TRUE(k + 1 < data.size() && data[k + 1] == '\n') << "byte " << k;
    }
  }
  const std::vector<std::string> lines = crlfLines(data);
  ASSERT_EQ(lines.size(), 59u);
  EXPECT_EQ(lines[0], "170");
  EXPECT_EQ(lines[1], ps.projectName);
  EXPECT_EQ(lines[2], ps.ident);
  EXPECT_EQ(lines[13], "1");
  const std::vector<double> values = fileOrder(ps);
  for (int line = kFirst; line <= kLast; ++line) {
    if (line == 14) continue;
    const std::string& text = lines[static_cast<size_t>(line - 1)];
    EXPECT_EQ(fileValue(text, line), values[static_cast<size_t>(line - kFirst)])
        << "line " << line << ": " << text;
  }
}

TEST_F(ProjectFileTest, NumbersUseThePointWhateverTheLocale) {
  struct Comma : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  const std::locale before = std::locale::global(std::locale(std::locale::classic(), new Comma));
  ProjectState ps;
  ps.N = -12345.5;
  const std::vector<std::string> lines = writtenLines(ps);
  std::locale::global(before);
  ASSERT_EQ(lines.size(), 59u);
  EXPECT_EQ(std::strtof(lines[38].c_str(), nullptr), -0.3f) << lines[38];
  EXPECT_EQ(lines[38].find(','), std::string::npos);
  EXPECT_EQ(lines[51].find(','), std::string::npos) << lines[51];
  EXPECT_EQ(std::strtod(lines[51].c_str(), nullptr), -12345.5);
}

TEST_F(ProjectFileTest, ReadsAStoredProjectLineByLine) {
  const fs::path path = kFixtures / "v001.cys";
  const std::vector<std::string> lines = crlfLines(slurp(path));
  ASSERT_EQ(lines.size(), 59u);
  ProjectState ps;
  ps.stiff_flag = 0;
  const ReadOutcome r = readProject(ps, path);
  ASSERT_EQ(r.status, ReadOutcome::Ok) << r.message;
  EXPECT_EQ(ps.projectName, lines[1]);
  EXPECT_EQ(ps.ident, lines[2]);
  EXPECT_EQ(ps.stiff_flag, 1);
  const std::vector<double> values = fileOrder(ps);
  for (int line = kFirst; line <= kLast; ++line) {
    if (line == 14) continue;
    EXPECT_EQ(values[static_cast<size_t>(line - kFirst)],
              fileValue(lines[static_cast<size_t>(line - 1)], line))
        << "line " << line;
  }
}

TEST_F(ProjectFileTest, AcceptsLfAndCrLineEnds) {
  const std::vector<std::string> lines = writtenLines(distinctState());
  for (const char* end : {"\n", "\r"}) {
    std::string data;
    for (const auto& l : lines) data += l + end;
    data.pop_back();  // and a last line without an end
    spit(dir_ / "ends.cys", data);
    ProjectState ps;
    const ReadOutcome r = readProject(ps, dir_ / "ends.cys");
    ASSERT_EQ(r.status, ReadOutcome::Ok) << r.message;
    EXPECT_EQ(ps.projectName, lines[1]);
    EXPECT_EQ(ps.odmom, distinctState().odmom);
  }
}

TEST_F(ProjectFileTest, StiffFlagIsOneAfterLineFourteen) {
  std::vector<std::string> lines = writtenLines(ProjectState{});
  lines[13] = "7";
  ProjectState ps;
  ps.stiff_flag = 0;
  ASSERT_EQ(readProject(ps, fileWith(lines)).status, ReadOutcome::Ok);
  EXPECT_EQ(ps.stiff_flag, 1);

  // a read that stops before line 14 never gets there
  lines[9] = "x";
  ps.stiff_flag = 0;
  EXPECT_EQ(readProject(ps, fileWith(lines)).line, 10);
  EXPECT_EQ(ps.stiff_flag, 0);
}

// Files of older versions hold fewer lines; the version, not the length of
// the file, decides how many are read.
struct VersionCase {
  int version;
  int lastLine;
};

class ProjectFileVersionTest : public ProjectFileTest,
                               public testing::WithParamInterface<VersionCase> {};

TEST_P(ProjectFileVersionTest, OlderVersionsKeepTheLaterValues) {
  const VersionCase c = GetParam();
  std::vector<std::string> lines = writtenLines(distinctState());
  lines[0] = std::to_string(c.version);
  const ProjectState before;
  ProjectState ps = before;
  const ReadOutcome r = readProject(ps, fileWith(lines));
  ASSERT_EQ(r.status, ReadOutcome::Ok) << r.message;
  EXPECT_EQ(ps.fileversion, 170);
  expectLines(ps, distinctState(), kFirst, c.lastLine);
  expectLines(ps, before, c.lastLine + 1, kLast);
}

INSTANTIATE_TEST_SUITE_P(Versions, ProjectFileVersionTest,
                         testing::Values(VersionCase{100, 49}, VersionCase{105, 49},
                                         VersionCase{106, 50}, VersionCase{120, 50},
                                         VersionCase{130, 50}, VersionCase{131, 59},
                                         VersionCase{170, 59}));

TEST_F(ProjectFileTest, ReadsShortFilesOfOldVersions) {
  for (const char* name : {"v050.cys", "v009.cys"}) {
    const std::vector<std::string> lines = crlfLines(slurp(kFixtures / name));
    ProjectState ps;
    ps.N = 777;
    ps.odmom = 1;
    ps.hring_ch = 5;
    const ReadOutcome r = readProject(ps, kFixtures / name);
    ASSERT_EQ(r.status, ReadOutcome::Ok) << name << ": " << r.message;
    EXPECT_EQ(ps.N, 777) << name;
    EXPECT_EQ(ps.odmom, 1) << name;
    EXPECT_EQ(ps.rg.h, std::strtod(lines[44].c_str(), nullptr)) << name;
    if (lines.size() == 50) {
      EXPECT_EQ(ps.hring_ch, std::atoi(lines[49].c_str())) << name;
    } else {
      EXPECT_EQ(ps.hring_ch, 5) << name;
    }
  }
}

TEST_F(ProjectFileTest, BadNumberStopsAndKeepsWhatWasRead) {
  const ProjectState written = distinctState();
  const ProjectState before;
  for (const char* bad : {"abc", "", "1,5", "12 mm", "--1", "1E", "0x10"}) {
    std::vector<std::string> lines = writtenLines(written);
    lines[29] = bad;  // line 30, `l`
    ProjectState ps = before;
    ps.fileName = "earlier.cys";
    const fs::path path = fileWith(lines);
    const ReadOutcome r = readProject(ps, path);
    EXPECT_EQ(r.status, ReadOutcome::Stopped) << bad;
    EXPECT_EQ(r.line, 30) << bad;
    EXPECT_EQ(r.message.rfind(path.string() + ", line 30: ", 0), 0u) << r.message;
    EXPECT_EQ(ps.fileName, "earlier.cys");
    EXPECT_EQ(ps.projectName, written.projectName);
    expectLines(ps, written, kFirst, 29, bad);
    expectLines(ps, before, 30, kLast, bad);
  }
}

TEST_F(ProjectFileTest, NumberLinesAcceptSignsPointsAndExponents) {
  struct Case {
    const char* text;
    double value;
  };
  for (const Case& c : {Case{".5", 0.5}, Case{"-.25", -0.25}, Case{"0.5", 0.5},
                        Case{"1.5E+3", 1500}, Case{"2E-3", 0.002}, Case{"+7", 7}}) {
    std::vector<std::string> lines = writtenLines(ProjectState{});
    lines[28] = c.text;  // `s`
    ProjectState ps;
    const ReadOutcome r = readProject(ps, fileWith(lines));
    ASSERT_EQ(r.status, ReadOutcome::Ok) << c.text << ": " << r.message;
    EXPECT_EQ(ps.s, c.value) << c.text;
  }
}

TEST_F(ProjectFileTest, IntegerLinesRoundHalfToEvenWithinSixteenBits) {
  struct Case {
    const char* text;
    int value;  // -99999: the read stops
  };
  for (const Case& c : {Case{"2.5", 2}, Case{"3.5", 4}, Case{"-2.5", -2}, Case{"2.6", 3},
                        Case{"32767", 32767}, Case{"-32768.4", -32768}, Case{"32767.5", -99999},
                        Case{"40000", -99999}, Case{"-32769", -99999}, Case{"1E10", -99999}}) {
    std::vector<std::string> lines = writtenLines(ProjectState{});
    lines[4] = c.text;  // mats
    ProjectState ps;
    const ReadOutcome r = readProject(ps, fileWith(lines));
    if (c.value == -99999) {
      EXPECT_EQ(r.status, ReadOutcome::Stopped) << c.text;
      EXPECT_EQ(r.line, 5) << c.text;
      EXPECT_EQ(ps.mats, ProjectState{}.mats) << c.text;
    } else {
      ASSERT_EQ(r.status, ReadOutcome::Ok) << c.text << ": " << r.message;
      EXPECT_EQ(ps.mats, c.value) << c.text;
    }
  }
}

TEST_F(ProjectFileTest, SingleLinesMustFitSinglePrecision) {
  std::vector<std::string> lines = writtenLines(distinctState());
  lines[27] = "3.4E38";  // E
  ProjectState ps;
  ASSERT_EQ(readProject(ps, fileWith(lines)).status, ReadOutcome::Ok);
  EXPECT_EQ(ps.E, 3.4e38f);

  lines[27] = "1E39";
  ps = ProjectState{};
  const ReadOutcome r = readProject(ps, fileWith(lines));
  EXPECT_EQ(r.status, ReadOutcome::Stopped);
  EXPECT_EQ(r.line, 28);
  EXPECT_EQ(ps.E, ProjectState{}.E);
  EXPECT_EQ(ps.ringRows.flat, distinctState().ringRows.flat);  // line 27

  // a double line takes what a single line refuses
  lines[27] = "210000";
  lines[28] = "1E39";
  ASSERT_EQ(readProject(ps, fileWith(lines)).status, ReadOutcome::Ok);
  EXPECT_EQ(ps.s, 1e39);
}

TEST_F(ProjectFileTest, StiffenerTableRowIsFoundAgainFromItsDimensions) {
  ProjectState written;
  written.cbostiff = 2;  // T table
  written.st.h = 200, written.st.b = 90, written.st.tw = 9, written.st.tf = 12;
  written.stiffRows.t = 7;
  written.cboring = 2;
  written.rg.h = 200, written.rg.b = 90, written.rg.tw = 9, written.rg.tf = 12;
  written.ringRows.t = 7;
  const std::vector<std::string> lines = writtenLines(written);

  ProjectState ps;
  ps.prof.t.last = 3;
  ps.prof.t.row[1] = {0, 200, 90, 9, 12};
  ps.prof.t.row[2] = {0, 200, 90, 9, 11};
  ps.prof.t.row[3] = {0, 200, 90, 9, 12};
  ASSERT_EQ(readProject(ps, fileWith(lines)).status, ReadOutcome::Ok);
  EXPECT_EQ(ps.stiffRows.t, 3);  // the last equal row
  EXPECT_EQ(ps.ringRows.t, 7);   // the ring frame's row is taken as stored

  ps.prof.t.row[1][4] = 13;
  ps.prof.t.row[3][4] = 13;
  ASSERT_EQ(readProject(ps, fileWith(lines)).status, ReadOutcome::Ok);
  EXPECT_EQ(ps.stiffRows.t, 7);
}

// The built-up set of the profile type in use takes the stored dimensions;
// every other set keeps its own.
class BuiltUpCopyTest : public ProjectFileTest, public testing::WithParamInterface<int> {};

TEST_P(BuiltUpCopyTest, CurrentDimensionsGoToTheSetOfTheirType) {
  const int type = GetParam();
  ProjectState written;
  written.cbostiff = static_cast<int16_t>(type);
  written.cboring = static_cast<int16_t>(type);
  written.st.h = 250.5, written.st.b = 80.25, written.st.a = 33.5, written.st.tw = 9.3;
  written.st.tf = 14.5f;
  written.rg.h = 310.5, written.rg.b = 120.75, written.rg.a = 44.5, written.rg.tw = 11.1;
  written.rg.tf = 16.5f;
  ProjectState ps;
  ASSERT_EQ(readProject(ps, fileWith(writtenLines(written))).status, ReadOutcome::Ok);

  const auto check = [&](const BuiltUpSets& got, const auto& cur, const char* what) {
    SCOPED_TRACE(std::string(what) + " type " + std::to_string(type));
    const BuiltUpSets def;
    const auto flanged = [&](const BuiltUpFlanged& f, const BuiltUpFlanged& d, bool hit) {
      EXPECT_EQ(f.h, hit ? cur.h : d.h);
      EXPECT_EQ(f.b, hit ? cur.b : d.b);
      EXPECT_EQ(f.tw, hit ? cur.tw : d.tw);
      EXPECT_EQ(f.tf, hit ? cur.tf : d.tf);
    };
    flanged(got.lb, def.lb, type == 1);
    flanged(got.tb, def.tb, type == 3);
    flanged(got.ib, def.ib, type == 9);
    const float tw = static_cast<float>(cur.tw);
    EXPECT_EQ(got.fb.h, type == 5 ? cur.h : def.fb.h);
    EXPECT_EQ(got.fb.tw, type == 5 ? tw : def.fb.tw);
    EXPECT_EQ(got.rhs.h, type == 7 ? cur.h : def.rhs.h);
    EXPECT_EQ(got.rhs.b, type == 7 ? cur.b : def.rhs.b);
    EXPECT_EQ(got.rhs.tw, type == 7 ? tw : def.rhs.tw);
    EXPECT_EQ(got.trap.h, type == 8 ? cur.h : def.trap.h);
    EXPECT_EQ(got.trap.b, type == 8 ? cur.b : def.trap.b);
    EXPECT_EQ(got.trap.a, type == 8 ? cur.a : def.trap.a);
    EXPECT_EQ(got.trap.tw, type == 8 ? tw : def.trap.tw);
  };
  check(ps.stiffBuilt, written.st, "stiffener");
  check(ps.ringBuilt, written.rg, "ring frame");
}

INSTANTIATE_TEST_SUITE_P(ProfileTypes, BuiltUpCopyTest,
                         testing::Values(0, 1, 2, 3, 4, 5, 6, 7, 8, 9));

TEST_F(ProjectFileTest, TooShortFileStopsAtTheMissingLine) {
  std::vector<std::string> lines = writtenLines(distinctState());
  lines.resize(45);
  ProjectState ps;
  const ReadOutcome r = readProject(ps, fileWith(lines));
  EXPECT_EQ(r.status, ReadOutcome::Stopped);
  EXPECT_EQ(r.line, 46);
  EXPECT_EQ(ps.rg.h, distinctState().rg.h);  // line 45
  EXPECT_EQ(ps.rg.b, ProjectState{}.rg.b);
  EXPECT_EQ(ps.fileName, "New File");

  for (size_t n : {0u, 1u, 2u}) {
    spit(dir_ / "short.cys", joinCrlf({lines.begin(), lines.begin() + static_cast<long>(n)}));
    EXPECT_EQ(readProject(ps, dir_ / "short.cys").line, static_cast<int>(n) + 1);
  }
}

TEST_F(ProjectFileTest, MissingFileLeavesTheProjectAlone) {
  ProjectState ps = distinctState();
  ps.fileName = "C:\\old.cys";
  const fs::path path = dir_ / "nowhere.cys";
  const ReadOutcome r = readProject(ps, path);
  EXPECT_EQ(r.status, ReadOutcome::NotFound);
  EXPECT_EQ(r.message, "can't find file - " + path.string());
  EXPECT_EQ(ps.fileName, "C:\\old.cys");
  EXPECT_EQ(ps.projectName, distinctState().projectName);
}

TEST_F(ProjectFileTest, SaveIntoAMissingFolderSaysSo) {
  ProjectState ps;
  const fs::path path = dir_ / "no such folder" / "p.cys";
  EXPECT_EQ(writeProject(ps, path), "can't save file - " + path.string());
  EXPECT_EQ(ps.fileName, "New File");
  EXPECT_FALSE(fs::exists(path.parent_path()));
}

TEST_F(ProjectFileTest, SaveReplacesAnExistingFileAndLeavesNoLeftovers) {
  const fs::path path = dir_ / "p.cys";
  spit(path, "old contents that are longer than nothing");
  ProjectState ps;
  ASSERT_EQ(writeProject(ps, path), std::nullopt);
  EXPECT_EQ(crlfLines(slurp(path)).size(), 59u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

#ifdef __unix__
TEST_F(ProjectFileTest, FailedSaveKeepsThePreviousFile) {
  const fs::path path = dir_ / "keep.cys";
  ProjectState ps;
  ASSERT_EQ(writeProject(ps, path), std::nullopt);
  const std::string previous = slurp(path);

  // A file-size limit below the new file's size makes the write fail as a
  // full disk would.
  ps.projectName.assign(64 * 1024, 'x');
  ps.fileName = "before";
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 16 * 1024;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::optional<std::string> msg = writeProject(ps, path);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  ASSERT_TRUE(msg.has_value());
  EXPECT_NE(msg->find(path.string()), std::string::npos) << *msg;
  EXPECT_EQ(slurp(path), previous);
  EXPECT_EQ(ps.fileName, "before");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}
#endif

}  // namespace
}  // namespace orvane
