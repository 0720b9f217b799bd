#include "files/project_file.hpp"

#include "model/text_encoding.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <locale>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const fs::path kFixtures = fs::path(ORVANE_TEST_DATA) / "files";
constexpr int kFirst = 4, kFlagLine = 14, kLast = 59;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& p, const std::string& data) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << data;
}

Lines crlfLines(const std::string& data) {
  Lines lines;
  for (size_t start = 0; start < data.size();) {
    const size_t end = std::min(data.find("\r\n", start), data.size());
    lines.push_back(data.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string joined(const Lines& lines, const std::string& end = "\r\n") {
  std::string out;
  for (const auto& l : lines) out += l + end;
  return out;
}

// "" for a success, else the whole message.
std::string problem(const Status& s) { return s ? std::string() : s.error().text(); }

// A failure of `kind` with the whole message `text`.
void expectFailure(const Status& s, ErrorKind kind, const std::string& text) {
  ASSERT_FALSE(s);
  EXPECT_EQ(s.error().kind, kind);
  EXPECT_EQ(s.error().text(), text);
}

mode_t modeOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0);
  return st.st_mode & 07777;
}

// The members of lines 4 to 59 in file order, widened to double. Line 14,
// stiff_flag, is left out (NaN): a read always makes it 1.
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

// What lines 4 to 59 of a file hold, in the form of fileOrder: a line whose
// member is a Single holds the single value of its text. Line 14 and lines
// the file lacks are NaN.
std::vector<double> fileValues(const Lines& lines) {
  constexpr int kSingles[] = {28, 32, 34, 37, 38, 39, 44, 49, 56, 58};
  std::vector<double> out;
  for (int line = kFirst; line <= kLast; ++line) {
    double v = std::nan("");
    if (line != kFlagLine && line <= static_cast<int>(lines.size())) {
      v = std::strtod(lines[static_cast<size_t>(line - 1)].c_str(), nullptr);
      if (std::ranges::find(kSingles, line) != std::end(kSingles)) v = static_cast<float>(v);
    }
    out.push_back(v);
  }
  return out;
}

// Compares lines `from`..`to` (skipping 14) of two lists in file order.
void expectLines(const std::vector<double>& got, const std::vector<double>& want, int from,
                 int to) {
  for (int line = from; line <= to; ++line) {
    if (line == kFlagLine) continue;
    const auto i = static_cast<size_t>(line - kFirst);
    EXPECT_EQ(got[i], want[i]) << "line " << line;
  }
}

// The reading side's data: full material and profile tables, so that every
// row a test writes lies within the loaded ones.
ProjectState loaded(ProjectState p = {}) {
  p.mat.count = 20;
  p.prof.bulb.last = 60;
  p.prof.l.last = p.prof.t.last = p.prof.flat.last = 40;
  return p;
}

// Every stored value different from its default and, where its domain
// leaves room, from every other one, so that two swapped lines cannot pass
// for each other.
ProjectState distinctState() {
  ProjectState p = loaded();
  p.projectName = "Jacket \"A\", leg 2, \u00e6\u00f8\u00e5 \u20ac";  // all in Windows-1252
  p.ident = "rev. 3, \"final\"";
  int16_t i = 3;
  for (int16_t* m : {&p.matp, &p.mats, &p.matg, &p.stiffRows.bulb, &p.stiffRows.l, &p.stiffRows.t,
                     &p.stiffRows.flat, &p.ringRows.bulb, &p.ringRows.l, &p.ringRows.t,
                     &p.ringRows.flat, &p.spare_flag}) {
    *m = i++;
  }
  p.cyltype = 1;
  p.wsd = p.Outside_ch = p.check_ih = p.ringfab = p.hring_ch = p.odmom = 1;
  p.ring_ch = 0;
  p.stiff_flag = 1;  // always 1 after a read
  p.cbostiff = 2;    // a table type without a matching row: no built-up copy
  p.cboring = 4;
  double d = 101.125;
  for (double* m : {&p.fyp,   &p.fys,  &p.fyg,  &p.ufb,  &p.s,     &p.l,    &p.ltst, &p.L,
                    &p.sigx,  &p.st.h, &p.st.b, &p.st.a, &p.st.tw, &p.rg.h, &p.rg.b, &p.rg.a,
                    &p.rg.tw, &p.N,    &p.M1a,  &p.M2a,  &p.M1b,   &p.k1}) {
    *m = d;
    d = -d * 1.7 + 0.1;  // fractions that need all 17 digits, and thousands
  }
  p.t = 36.62275710105895;
  float f = 0.1f;
  for (float* m : {&p.E, &p.ltgi, &p.r, &p.sigy, &p.tau, &p.st.tf, &p.rg.tf, &p.M2b, &p.k2}) {
    *m = f;
    f = f * -3.3f + 7.0f;
  }
  p.pd = -0.7f;
  return p;
}

// A user locale with a decimal comma and a point between thousands.
struct CommaNumbers : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

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
  Lines writtenLines(ProjectState ps) {
    const fs::path p = dir_ / "source.cys";
    EXPECT_EQ(problem(writeProject(ps, p)), "");
    return crlfLines(slurp(p));
  }
  fs::path fileWith(const Lines& lines) {
    spit(dir_ / "edit.cys", joined(lines));
    return dir_ / "edit.cys";
  }
  size_t filesInDir() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST_F(ProjectFileTest, WritesCrlfLinesInTableOrderAndReadsThemBackExactly) {
  ProjectState out = distinctState();
  const fs::path path = dir_ / "round.cys";
  const std::locale user =
      std::locale::global(std::locale(std::locale::classic(), new CommaNumbers));
  const Status saved = writeProject(out, path);
  std::locale::global(user);
  ASSERT_EQ(problem(saved), "");
  EXPECT_EQ(out.fileName, path.string());

  const std::string data = slurp(path);
  const Lines lines = crlfLines(data);
  ASSERT_EQ(lines.size(), 59u);
  EXPECT_EQ(std::ranges::count(data, '\r'), 59) << "a bare CR";
  EXPECT_EQ(std::ranges::count(data, '\n'), 59) << "a bare LF";
  EXPECT_EQ(lines[0], "170");
  EXPECT_EQ(lines[1], "Jacket \"A\", leg 2, \xe6\xf8\xe5 \x80");
  EXPECT_EQ(lines[2], out.ident);
  EXPECT_EQ(lines[13], "1");
  // strtod reads the point only: a comma or a grouping point would show here
  expectLines(fileValues(lines), fileOrder(out), kFirst, kLast);

  // Read back as written, and with LF or CR line ends and no end after the last line.
  for (const std::string end : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(end == "\n" ? "LF" : end == "\r" ? "CR" : "CRLF");
    fs::path file = path;
    if (end != "\r\n") {
      file = dir_ / "ends.cys";
      const std::string ends = joined(lines, end);
      spit(file, ends.substr(0, ends.size() - 1));
    }
    ProjectState in = loaded();
    in.stiff_flag = 0;
    ASSERT_EQ(problem(readProject(in, file)), "");
    EXPECT_EQ(in.fileName, file.string());
    EXPECT_EQ(in.projectName, out.projectName);
    EXPECT_EQ(in.ident, out.ident);
    EXPECT_EQ(in.stiff_flag, 1);
    expectLines(fileOrder(in), fileOrder(out), kFirst, kLast);
  }
}

// The version on line 1, not the length of the file, decides how many lines
// are read; the values of later lines stay as they were.
TEST_F(ProjectFileTest, VersionDecidesTheLastLineRead) {
  struct Case {
    const char* file;  // a stored file, or "" for a written one of `version`
    int version;
    int lastLine;
  };
  const Lines written = writtenLines(distinctState());
  for (const Case& c :
       {Case{"v001.cys", 170, 59}, Case{"v050.cys", 120, 50}, Case{"v009.cys", 100, 49},
        Case{"", 105, 49}, Case{"", 106, 50}, Case{"", 130, 50}, Case{"", 131, 59}}) {
    SCOPED_TRACE(std::string(c.file) + " version " + std::to_string(c.version));
    Lines lines = written;
    fs::path path;
    if (*c.file) {  // read as stored, the file ending after its last line
      path = kFixtures / c.file;
      lines = crlfLines(slurp(path));
      ASSERT_EQ(lines.size(), static_cast<size_t>(c.lastLine));
      ASSERT_EQ(lines[0], std::to_string(c.version));
    } else {
      lines[0] = std::to_string(c.version);
      lines[13] = "7";
      path = fileWith(lines);
    }
    const ProjectState before = loaded();
    ProjectState ps = before;
    ps.stiff_flag = 0;
    ASSERT_EQ(problem(readProject(ps, path)), "");
    EXPECT_EQ(ps.fileversion, 170);
    EXPECT_EQ(ps.projectName, fileTextToUtf8(lines[1]));
    EXPECT_EQ(ps.ident, fileTextToUtf8(lines[2]));
    EXPECT_EQ(ps.stiff_flag, 1);
    expectLines(fileOrder(ps), fileValues(lines), kFirst, c.lastLine);
    expectLines(fileOrder(ps), fileOrder(before), c.lastLine + 1, kLast);
  }
}

// The spare flag, an Integer, rounds half to even within 16 bits; s, a Variant
// number, holds more than a single can; E, a Single, is rounded, up to the
// largest single.
TEST_F(ProjectFileTest, EachLineIsReadAsTheKindOfItsMember) {
  const std::tuple<int, const char*, double> cases[] = {
      {51, "2.5", 2},     {51, "3.5", 4},       {51, "-2.5", -2},
      {51, "2.6", 3},     {51, "32767", 32767}, {51, "-32768.4", -32768},
      {29, "1E39", 1e39}, {28, "0.1", 0.1f},    {28, "3.4E38", 3.4e38f}};
  const Lines base = writtenLines(ProjectState{});
  for (const auto& [line, text, value] : cases) {
    SCOPED_TRACE("line " + std::to_string(line) + ": " + text);
    Lines lines = base;
    lines[static_cast<size_t>(line - 1)] = text;
    ProjectState ps = loaded();
    ASSERT_EQ(problem(readProject(ps, fileWith(lines))), "");
    EXPECT_EQ(fileOrder(ps)[static_cast<size_t>(line - kFirst)], value);
  }
}

// The data the domain tests read against: five materials (row 4 the
// user-defined one), eight bulb flats and six rows in the other tables.
ProjectState smallTables(ProjectState p) {
  p.mat.count = 4;
  p.prof.bulb.last = 7;
  p.prof.l.last = p.prof.t.last = p.prof.flat.last = 5;
  return p;
}

std::vector<double> setValues(const BuiltUpSets& s);

// Everything a read may change, to see that a failed one changed nothing.
std::vector<std::string> whole(const ProjectState& p) {
  std::vector<std::string> out = {p.fileName, p.projectName, p.ident, std::to_string(p.stiff_flag)};
  for (const double v : fileOrder(p)) out.push_back(std::to_string(v));
  for (const BuiltUpSets* s : {&p.stiffBuilt, &p.ringBuilt})
    for (const double v : setValues(*s)) out.push_back(std::to_string(v));
  return out;
}

// A damaged or out-of-domain file changes nothing: the message names the
// file, the line, the field and the problem or the allowed range.
TEST_F(ProjectFileTest, DamagedOrOutOfDomainFileLeavesTheProjectAsItWas) {
  struct Case {
    int line;  // the line named, which takes `text`
    std::string text;
    ErrorKind kind;
    std::string what;                    // after "<file>, line N: "
    std::pair<int, std::string> also{};  // a second edit
    size_t keep = 59;                    // lines left in the file
  };
  const auto D = ErrorKind::Damaged, R = ErrorKind::OutOfDomain;
  const std::string x45(45, 'x');
  const std::string web =
      ": does not fit single precision, as the web of a built-up flat bar, RHS or trapezoid must";
  const auto rows = [](const std::string& member, const std::string& table, int v, int last) {
    return member + " row in the " + table + " table: " + std::to_string(v) +
           " is outside the rows of the loaded " + table + " table 0 to " + std::to_string(last);
  };
  const Case cases[] = {
      // what is not a value of its kind
      {30, "abc", D, "l: not a number: \"abc\""},
      {30, "", D, "l: not a number: \"\""},
      {30, "1,5", D, "l: not a number: \"1,5\""},
      {30, x45, D, "l: not a number: \"" + x45.substr(0, 40) + "...\""},
      {30, "1e999", D, "l: \"1e999\" is out of range"},
      {30, " 1e999\t ", D, "l: \" 1e999\\x09 \" is out of range"},
      {30, std::string("1\0002", 3), D, "l: not a number: \"1\\x002\""},
      {51, "32767.5", D, "spare flag: \"32767.5\" does not fit a 16-bit integer"},
      {51, "-32769", D, "spare flag: \"-32769\" does not fit a 16-bit integer"},
      {28, "1E39", D, "E: \"1E39\" does not fit single precision"},
      {1, "\xEF\xBB\xBFx", D, "version: not a number: \"x\""},
      {1, std::string("\xFF\xFE") + "1", D,
       "version: the file is UTF-16 text; a project file holds Windows-1252 text"},
      {2, std::string("a\0b", 3), D, "project name: holds the control character \"\\x00\""},
      {3, std::string(1025, 'n'), D, "identification: the line is longer than 1024 characters"},
      {46, "", D, "ring-frame b: the file ends before this line", {}, 45},
      {3, "", D, "identification: the file ends before this line", {}, 2},
      {1, "", D, "version: the file ends before this line", {}, 0},
      {43, "1E39", D, "stiffener tw" + web, {18, "5"}},
      {48, "-1E39", D, "ring-frame tw" + web, {23, "8"}},
      // codes and rows outside their domains
      {4, "-1", R, "plate material (matp): -1 is outside the loaded materials 0 to 4"},
      {5, "5", R, "stiffener material (mats): 5 is outside the loaded materials 0 to 4"},
      {6, "21", R, "ring-frame material (matg): 21 is outside the loaded materials 0 to 4"},
      {10, "5", R, "design format (wsd): 5 is outside 0 to 1"},
      {12, "4", R, "cylinder type (cyltype): 4 is outside 0 to 3"},
      {12, "-1", R, "cylinder type (cyltype): -1 is outside 0 to 3"},
      {13, "2", R, "outside stiffening (Outside_ch): 2 is outside 0 to 1"},
      {15, "-1", R, "ring-frame check (ring_ch): -1 is outside 0 to 1"},
      {16, "2", R, "check_ih: 2 is outside 0 to 1"},
      {17, "2", R, "ring-frame fabrication (ringfab): 2 is outside 0 to 1"},
      {18, "10", R, "stiffener type (cbostiff): 10 is outside 0 to 9"},
      {19, "8", R, rows("stiffener", "bulb-flat", 8, 7)},
      {20, "6", R, rows("stiffener", "L", 6, 5)},
      {21, "-1", R, rows("stiffener", "T", -1, 5)},
      {22, "41", R, rows("stiffener", "flat-bar", 41, 5)},
      {23, "-1", R, "ring-frame type (cboring): -1 is outside 0 to 9"},
      {24, "61", R, rows("ring-frame", "bulb-flat", 61, 7)},
      {25, "6", R, rows("ring-frame", "L", 6, 5)},
      {26, "6", R, rows("ring-frame", "T", 6, 5)},
      {27, "6", R, rows("ring-frame", "flat-bar", 6, 5)},
      {50, "2", R, "heavy ring-frame check (hring_ch): 2 is outside 0 to 1"},
      {59, "-1", R, "reduced moments (odmom): -1 is outside 0 to 1"},
      // the first problem in file order is the one named
      {12, "9", R, "cylinder type (cyltype): 9 is outside 0 to 3", {40, "x"}}};
  ProjectState written = smallTables(distinctState());
  written.matp = written.mats = written.matg = 1;
  written.stiffRows = {7, 5, 5, 5};
  written.ringRows = {2, 3, 4, 0};
  Lines base = writtenLines(written);
  base[13] = "7";
  const auto earlier = [] {
    ProjectState p = smallTables({});
    p.fileName = "earlier.cys";
    p.stiff_flag = 0;
    return p;
  };
  ProjectState unedited = earlier();
  ASSERT_EQ(problem(readProject(unedited, fileWith(base))), "") << "the unedited file reads";
  const ProjectState before = earlier();
  for (const Case& c : cases) {
    Lines lines = base;
    if (c.also.first) lines[static_cast<size_t>(c.also.first - 1)] = c.also.second;
    lines[static_cast<size_t>(c.line - 1)] = c.text;
    lines.resize(c.keep);
    const fs::path path = fileWith(lines);
    SCOPED_TRACE("line " + std::to_string(c.line) + ": " + c.what);
    ProjectState ps = before;
    const Status r = readProject(ps, path);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().kind, c.kind);
    EXPECT_EQ(r.error().line, c.line);
    EXPECT_EQ(r.error().file, path.string());
    EXPECT_EQ(r.error().text(), path.string() + ", line " + std::to_string(c.line) + ": " + c.what);
    EXPECT_EQ(whole(ps), whole(before));
  }
}

// The highest value of each domain and 0 read; with no table loaded the
// rows may only be 0.
TEST_F(ProjectFileTest, DomainLimitsThemselvesRead) {
  const std::tuple<int, int16_t ProjectNumbers::*, int> limits[] = {
      {4, &ProjectState::matp, 4},     {10, &ProjectState::wsd, 1},
      {12, &ProjectState::cyltype, 3}, {18, &ProjectState::cbostiff, 9},
      {23, &ProjectState::cboring, 9}, {59, &ProjectState::odmom, 1}};
  const Lines base = writtenLines(ProjectState{});
  for (const auto& [line, member, hi] : limits) {
    for (const int v : {0, hi}) {
      SCOPED_TRACE("line " + std::to_string(line) + " = " + std::to_string(v));
      Lines lines = base;
      lines[static_cast<size_t>(line - 1)] = std::to_string(v);
      ProjectState ps = smallTables({});
      ASSERT_EQ(problem(readProject(ps, fileWith(lines))), "");
      EXPECT_EQ(ps.*member, v);
    }
  }
  Lines lines = base;
  lines[3] = lines[4] = lines[5] = "0";  // material rows
  lines[19] = "7";                       // stiffener row in the L table
  ProjectState empty;
  const fs::path path = fileWith(lines);
  EXPECT_EQ(problem(readProject(empty, path)),
            path.string() +
                ", line 20: stiffener row in the L table: 7 is outside the rows of the loaded L "
                "table 0 to 0");
  lines[19] = "0";
  EXPECT_EQ(problem(readProject(empty, fileWith(lines))), "");
}

// The stiffener's table row is searched again from its dimensions (T 200x90x9x12
// by default); the ring frame's row is taken as stored.
TEST_F(ProjectFileTest, StiffenerTableRowIsFoundAgainFromItsDimensions) {
  ProjectState written;
  written.cbostiff = written.cboring = 2;
  written.stiffRows.t = written.ringRows.t = 7;
  ProjectState ps = loaded();
  ps.prof.t.row[2] = {0, 200, 90, 9, 12};
  ASSERT_EQ(problem(readProject(ps, fileWith(writtenLines(written)))), "");
  EXPECT_EQ(ps.stiffRows.t, 2);
  EXPECT_EQ(ps.ringRows.t, 7);
}

// The sets of all built-up types as a list, to compare them whole.
std::vector<double> setValues(const BuiltUpSets& s) {
  std::vector<double> out;
  for (const BuiltUpFlanged& f : {s.lb, s.tb, s.ib}) out.insert(out.end(), {f.h, f.b, f.tw, f.tf});
  out.insert(out.end(), {s.fb.h, s.fb.tw, s.rhs.h, s.rhs.b, s.rhs.tw});
  out.insert(out.end(), {s.trap.h, s.trap.b, s.trap.a, s.trap.tw});
  return out;
}

// The built-up set of the profile type in use takes the current dimensions,
// tw as a Single in the flat bar, RHS and trapezoid sets; every other set
// keeps its own.
template <class Dims>
BuiltUpSets setsAfterReading(int type, const Dims& cur, BuiltUpSets s) {
  const BuiltUpFlanged flanged{cur.h, cur.b, cur.tw, cur.tf};
  const auto tw = static_cast<float>(cur.tw);
  if (type == 1) s.lb = flanged;
  if (type == 3) s.tb = flanged;
  if (type == 9) s.ib = flanged;
  if (type == 5) s.fb = {cur.h, tw};
  if (type == 7) s.rhs = {cur.h, cur.b, tw};
  if (type == 8) s.trap = {cur.h, cur.b, cur.a, tw};
  return s;
}

TEST_F(ProjectFileTest, CurrentDimensionsGoToTheBuiltUpSetOfTheirType) {
  ProjectState written;
  written.st.h = 250.5, written.st.b = 80.25, written.st.a = 33.5, written.st.tw = 9.3;
  written.st.tf = 14.5f;
  written.rg.h = 310.5, written.rg.b = 120.75, written.rg.a = 44.5, written.rg.tw = 11.1;
  written.rg.tf = 16.5f;
  for (int type = 0; type <= 9; ++type) {
    written.cbostiff = static_cast<int16_t>(type);
    written.cboring = static_cast<int16_t>(9 - type);
    SCOPED_TRACE("stiffener type " + std::to_string(type));
    ProjectState ps = loaded();
    ASSERT_EQ(problem(readProject(ps, fileWith(writtenLines(written)))), "");
    EXPECT_EQ(setValues(ps.stiffBuilt),
              setValues(setsAfterReading(type, written.st, stiffenerBuiltUpDefaults())));
    EXPECT_EQ(setValues(ps.ringBuilt),
              setValues(setsAfterReading(9 - type, written.rg, ringFrameBuiltUpDefaults())));
  }
}

TEST_F(ProjectFileTest, MissingFileFolderOrSaveFolderLeavesTheProjectAlone) {
  ProjectState ps = distinctState();
  ps.fileName = "C:\\old.cys";
  const ProjectState before = ps;
  const fs::path nowhere = dir_ / "nowhere.cys";
  expectFailure(readProject(ps, nowhere), ErrorKind::NotFound,
                "can't find file - " + nowhere.string());
  expectFailure(readProject(ps, dir_), ErrorKind::Unreadable, dir_.string() + ": not a file");
  const fs::path inMissingFolder = dir_ / "no such folder" / "p.cys";
  expectFailure(writeProject(ps, inMissingFolder), ErrorKind::FolderMissing,
                "can't save file - " + inMissingFolder.string());
  EXPECT_FALSE(fs::exists(inMissingFolder.parent_path()));
  EXPECT_EQ(whole(ps), whole(before));
}

TEST_F(ProjectFileTest, SaveReplacesTheFileWholeOrNotAtAll) {
  const fs::path path = dir_ / "keep.cys";
  spit(path, "old contents that are longer than nothing");
  ProjectState ps;
  ASSERT_EQ(problem(writeProject(ps, path)), "");
  const std::string previous = slurp(path);
  EXPECT_EQ(crlfLines(previous).size(), 59u);
  EXPECT_EQ(filesInDir(), 1u);  // no file left beside it

  // A file-size limit below the new file's size makes the write fail as a
  // full disk would.
  ps.projectName.assign(1000, 'x');
  ps.fileName = "before";
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 512;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const Status failed = writeProject(ps, path);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  expectFailure(failed, ErrorKind::WriteFailed, path.string() + ": writing failed: File too large");
  EXPECT_EQ(slurp(path), previous);
  EXPECT_EQ(ps.fileName, "before");
  EXPECT_EQ(filesInDir(), 1u);
}

// The saved file keeps the mode and owner of the one it replaces; a new
// file gets the usual mode of the user's new files.
TEST_F(ProjectFileTest, SaveKeepsModeAndOwner) {
  const fs::path path = dir_ / "mode.cys";
  ProjectState ps;
  for (const mode_t mode : {0600, 0640, 0664, 0200}) {
    SCOPED_TRACE(mode);
    spit(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_EQ(problem(writeProject(ps, path)), "");
    EXPECT_EQ(modeOf(path), mode);
    EXPECT_EQ(crlfLines(slurp(path)).size(), 59u);
  }
  fs::remove(path);
  const mode_t mask = ::umask(027);
  ASSERT_EQ(problem(writeProject(ps, path)), "");
  ::umask(mask);
  EXPECT_EQ(modeOf(path), 0640u);

  if (::geteuid() != 0) GTEST_SKIP() << "giving a file away needs the superuser";
  ASSERT_EQ(::chown(path.c_str(), 1234, 5678), 0);
  ASSERT_EQ(problem(writeProject(ps, path)), "");
  struct stat owned {};
  ASSERT_EQ(::stat(path.c_str(), &owned), 0);
  EXPECT_EQ(owned.st_uid, 1234u);
  EXPECT_EQ(owned.st_gid, 5678u);
}

// What stands at the path decides where the text goes: a read-only file and
// a folder are refused untouched, a link is written through to its file and
// stays a link, and a link planted where a fixed temporary name would be is
// never followed.
TEST_F(ProjectFileTest, SaveRespectsWhatStandsAtThePath) {
  ProjectState ps;
  ps.fileName = "before";
  const auto expectRefused = [&](const fs::path& path, ErrorKind kind, const std::string& what) {
    const size_t files = filesInDir();
    expectFailure(writeProject(ps, path), kind, path.string() + ": " + what);
    EXPECT_EQ(ps.fileName, "before");
    EXPECT_EQ(filesInDir(), files) << "a temporary file was left";
  };

  // read-only: refused by its mode bits, also for the superuser
  const fs::path locked = dir_ / "locked.cys";
  spit(locked, "locked");
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  expectRefused(locked, ErrorKind::ReadOnly, "the file is read-only; it was not replaced");
  EXPECT_EQ(slurp(locked), "locked");
  fs::remove(locked);

  const fs::path folder = dir_ / "folder.cys";
  fs::create_directory(folder);
  expectRefused(folder, ErrorKind::Unreadable, "not a file");
  fs::remove(folder);

  // a relative link into another folder, through a second link
  const fs::path other = dir_ / "other";
  fs::create_directory(other);
  spit(other / "real.cys", "old");
  ASSERT_EQ(::chmod((other / "real.cys").c_str(), 0600), 0);
  fs::create_symlink("other/real.cys", dir_ / "hop.cys");
  fs::create_symlink(dir_ / "hop.cys", dir_ / "link.cys");
  ASSERT_EQ(problem(writeProject(ps, dir_ / "link.cys")), "");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.cys"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "hop.cys"));
  EXPECT_EQ(crlfLines(slurp(other / "real.cys")).size(), 59u);
  EXPECT_EQ(fs::status(other / "real.cys").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ps.fileName, (dir_ / "link.cys").string());
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(other), {})), 1u);

  // links planted at the names an earlier release wrote through
  const fs::path victim = other / "victim";
  spit(victim, "victim");
  fs::create_symlink(victim, dir_ / "p.cys.saving");
  fs::create_symlink(victim, dir_ / "p.cys.tmp");
  ASSERT_EQ(problem(writeProject(ps, dir_ / "p.cys")), "");
  EXPECT_EQ(slurp(victim), "victim");
  EXPECT_FALSE(fs::is_symlink(dir_ / "p.cys"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "p.cys.saving"));
}

// A text the file cannot hold is refused before anything is written, naming
// the field and the character.
TEST_F(ProjectFileTest, SaveRefusesTextAProjectFileCannotHold) {
  struct Case {
    std::string name, ident, what;
  };
  const std::string tail = ", which a project file cannot hold";
  const std::string cp = ", which a project file (Windows-1252 text) cannot hold";
  const Case cases[] = {
      {"Leg \u5b57", "Test", "the project name holds \"\u5b57\" (U+5B57)" + cp},
      {"Leg", "rev \u0151", "the identification holds \"\u0151\" (U+0151)" + cp},
      {"Leg \xff", "Test", "the project name holds bytes that are not UTF-8 text"},
      {"Leg\nA", "Test", "the project name holds a line break" + tail},
      {"Leg", "a\rb", "the identification holds a line break" + tail},
      {"Leg\x01", "Test", "the project name holds a control character" + tail},
      {std::string(1025, 'x'), "Test",
       "the project name is longer than the 1024 characters a project file line may hold"}};
  const fs::path path = dir_ / "text.cys";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProjectState ps;
    ps.projectName = c.name;
    ps.ident = c.ident;
    expectFailure(writeProject(ps, path), ErrorKind::Unencodable, path.string() + ": " + c.what);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(filesInDir(), 0u);
  }
}

// Names are Windows-1252 in the file and UTF-8 in the program; a file that
// an earlier release wrote in UTF-8 reads as it was meant.
TEST_F(ProjectFileTest, NamesAreWindows1252InTheFile) {
  ProjectState ps = loaded();
  ps.projectName = "\u00c6r\u00f8 \u00d8st \u20ac\u2019";
  ps.ident = "plain";
  const fs::path path = dir_ / "names.cys";
  ASSERT_EQ(problem(writeProject(ps, path)), "");
  Lines lines = crlfLines(slurp(path));
  EXPECT_EQ(lines[1], "\xc6r\xf8 \xd8st \x80\x92");
  ProjectState back = loaded();
  ASSERT_EQ(problem(readProject(back, path)), "");
  EXPECT_EQ(back.projectName, ps.projectName);

  lines[1] = "\u00c6r\u00f8 \u00d8st";  // UTF-8 bytes, as earlier releases wrote them
  lines[2] = "\x81\x8d";                // unassigned bytes survive a round trip
  ASSERT_EQ(problem(readProject(back, fileWith(lines))), "");
  EXPECT_EQ(back.projectName, "\u00c6r\u00f8 \u00d8st");
  EXPECT_EQ(back.ident, "\u0081\u008d");
  ASSERT_EQ(problem(writeProject(back, path)), "");
  EXPECT_EQ(crlfLines(slurp(path))[2], "\x81\x8d");
}

// A file holds only the lines its version needs: whatever follows them is
// never read, however long, and a line longer than a line may be is a
// damaged file however long it is.
TEST_F(ProjectFileTest, ReadsOnlyWhatTheFormatNeeds) {
  Lines lines = writtenLines(ProjectState{});
  const fs::path path = fileWith(lines);
  {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    const std::string chunk(1 << 20, '\n');
    for (int i = 0; i < 64; ++i) out << chunk;
  }
  ProjectState ps = loaded();
  ps.cyltype = 0;
  ASSERT_EQ(problem(readProject(ps, path)), "");
  EXPECT_EQ(ps.cyltype, 2);

  lines[1] = std::string(8 << 20, 'n');
  const fs::path huge = fileWith(lines);
  ProjectState kept = loaded();
  EXPECT_EQ(problem(readProject(kept, huge)),
            huge.string() + ", line 2: project name: the line is longer than 1024 characters");
  EXPECT_EQ(kept.projectName, "Project");
}

}  // namespace
}  // namespace orvane
