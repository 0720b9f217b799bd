#include "files/project_file.hpp"

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

#ifdef __unix__
#include <sys/resource.h>

#include <csignal>
#endif

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
    EXPECT_EQ(writeProject(ps, p), std::nullopt);
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
  const std::optional<std::string> saved = writeProject(out, path);
  std::locale::global(user);
  ASSERT_EQ(saved, std::nullopt);
  EXPECT_EQ(out.fileName, path.string());

  const std::string data = slurp(path);
  const Lines lines = crlfLines(data);
  ASSERT_EQ(lines.size(), 59u);
  EXPECT_TRUE(data.ends_with("\r\n"));
  EXPECT_EQ(std::ranges::count(data, '\r'), 59) << "a bare CR";
  EXPECT_EQ(std::ranges::count(data, '\n'), 59) << "a bare LF";
  EXPECT_EQ(lines[0], "170");
  EXPECT_EQ(lines[1], out.projectName);
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
    ProjectState in;
    in.stiff_flag = 0;
    const ReadOutcome r = readProject(in, file);
    ASSERT_EQ(r.status, ReadOutcome::Ok) << r.message;
    EXPECT_EQ(r.line, 0);
    EXPECT_EQ(r.message, "");
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
    const ProjectState before;
    ProjectState ps = before;
    ps.stiff_flag = 0;
    const ReadOutcome r = readProject(ps, path);
    ASSERT_EQ(r.status, ReadOutcome::Ok) << r.message;
    EXPECT_EQ(ps.fileversion, 170);
    EXPECT_EQ(ps.projectName, lines[1]);
    EXPECT_EQ(ps.ident, lines[2]);
    EXPECT_EQ(ps.stiff_flag, 1);
    expectLines(fileOrder(ps), fileValues(lines), kFirst, c.lastLine);
    expectLines(fileOrder(ps), fileOrder(before), c.lastLine + 1, kLast);
  }
}

// mats, an Integer, rounds half to even within 16 bits; s, a Variant
// number, holds more than a single can; E, a Single, is rounded, up to the
// largest single.
TEST_F(ProjectFileTest, EachLineIsReadAsTheKindOfItsMember) {
  const std::tuple<int, const char*, double> cases[] = {
      {5, "2.5", 2},      {5, "3.5", 4},       {5, "-2.5", -2},
      {5, "2.6", 3},      {5, "32767", 32767}, {5, "-32768.4", -32768},
      {29, "1E39", 1e39}, {28, "0.1", 0.1f},   {28, "3.4E38", 3.4e38f}};
  const Lines base = writtenLines(ProjectState{});
  for (const auto& [line, text, value] : cases) {
    SCOPED_TRACE("line " + std::to_string(line) + ": " + text);
    Lines lines = base;
    lines[static_cast<size_t>(line - 1)] = text;
    ProjectState ps;
    const ReadOutcome r = readProject(ps, fileWith(lines));
    ASSERT_EQ(r.status, ReadOutcome::Ok) << r.message;
    EXPECT_EQ(fileOrder(ps)[static_cast<size_t>(line - kFirst)], value);
  }
}

// A stopped read names the file, the line and the problem. The lines before
// it are stored; later values, the file name and stiff_flag (if line 14 was
// not reached) keep what they were.
TEST_F(ProjectFileTest, StoppedReadKeepsWhatWasReadBeforeIt) {
  struct Case {
    std::vector<std::pair<int, std::string>> edits;  // line, new text
    size_t keep;                                     // lines left in the file
    int line;
    std::string what;
    int storedThrough;  // the last line stored
  };
  const std::string ends = "the file ends before this line";
  const std::string webTw = "web thickness does not fit single precision";
  const std::string x45(45, 'x');
  // The last two: tw of a flat bar (5) or trapezoid (8) set is a Single,
  // checked once every line was read.
  const Case cases[] = {{{{30, "abc"}}, 59, 30, "not a number: \"abc\"", 29},
                        {{{30, ""}}, 59, 30, "not a number: \"\"", 29},
                        {{{30, "1,5"}}, 59, 30, "not a number: \"1,5\"", 29},
                        {{{30, x45}}, 59, 30, "not a number: \"" + x45.substr(0, 40) + "...\"", 29},
                        {{{5, "32767.5"}}, 59, 5, "\"32767.5\" does not fit a 16-bit integer", 4},
                        {{{5, "-32769"}}, 59, 5, "\"-32769\" does not fit a 16-bit integer", 4},
                        {{{28, "1E39"}}, 59, 28, "\"1E39\" does not fit single precision", 27},
                        {{}, 45, 46, ends, 45},
                        {{}, 2, 3, ends, 3},
                        {{}, 0, 1, ends, 3},
                        {{{18, "5"}, {43, "1E39"}}, 59, 43, webTw, 59},
                        {{{23, "8"}, {48, "-1E39"}}, 59, 48, webTw, 59}};
  Lines base = writtenLines(distinctState());
  base[13] = "7";
  ProjectState before;
  before.fileName = "earlier.cys";
  before.stiff_flag = 0;
  for (const Case& c : cases) {
    Lines lines = base;
    for (const auto& [line, text] : c.edits) lines[static_cast<size_t>(line - 1)] = text;
    lines.resize(c.keep);
    const fs::path path = fileWith(lines);
    SCOPED_TRACE("line " + std::to_string(c.line) + ": " + c.what);
    ProjectState ps = before;
    const ReadOutcome r = readProject(ps, path);
    EXPECT_EQ(r.status, ReadOutcome::Stopped);
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.message, path.string() + ", line " + std::to_string(c.line) + ": " + c.what);
    EXPECT_EQ(ps.fileName, "earlier.cys");
    EXPECT_EQ(ps.projectName, c.line > 2 ? lines[1] : before.projectName);
    EXPECT_EQ(ps.ident, c.line > 3 ? lines[2] : before.ident);
    EXPECT_EQ(ps.stiff_flag, c.storedThrough >= kFlagLine ? 1 : 0);
    expectLines(fileOrder(ps), fileValues(lines), kFirst, c.storedThrough);
    expectLines(fileOrder(ps), fileOrder(before), c.storedThrough + 1, kLast);
  }
}

// The stiffener's table row is searched again from its dimensions (T 200x90x9x12
// by default); the ring frame's row is taken as stored.
TEST_F(ProjectFileTest, StiffenerTableRowIsFoundAgainFromItsDimensions) {
  ProjectState written;
  written.cbostiff = written.cboring = 2;
  written.stiffRows.t = written.ringRows.t = 7;
  ProjectState ps;
  ps.prof.t.last = 3;
  ps.prof.t.row[2] = {0, 200, 90, 9, 12};
  ASSERT_EQ(readProject(ps, fileWith(writtenLines(written))).status, ReadOutcome::Ok);
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
BuiltUpSets setsAfterReading(int type, const Dims& cur) {
  BuiltUpSets s;
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
    ProjectState ps;
    ASSERT_EQ(readProject(ps, fileWith(writtenLines(written))).status, ReadOutcome::Ok);
    EXPECT_EQ(setValues(ps.stiffBuilt), setValues(setsAfterReading(type, written.st)));
    EXPECT_EQ(setValues(ps.ringBuilt), setValues(setsAfterReading(9 - type, written.rg)));
  }
}

TEST_F(ProjectFileTest, MissingFileFolderOrSaveFolderLeavesTheProjectAlone) {
  ProjectState ps = distinctState();
  ps.fileName = "C:\\old.cys";
  const fs::path nowhere = dir_ / "nowhere.cys";
  const ReadOutcome missing = readProject(ps, nowhere);
  EXPECT_EQ(missing.status, ReadOutcome::NotFound);
  EXPECT_EQ(missing.line, 0);
  EXPECT_EQ(missing.message, "can't find file - " + nowhere.string());

  const ReadOutcome folder = readProject(ps, dir_);
  EXPECT_EQ(folder.status, ReadOutcome::Stopped);
  EXPECT_EQ(folder.line, 0);
  EXPECT_EQ(folder.message, dir_.string() + ": not a file");

  const fs::path inMissingFolder = dir_ / "no such folder" / "p.cys";
  EXPECT_EQ(writeProject(ps, inMissingFolder), "can't save file - " + inMissingFolder.string());
  EXPECT_FALSE(fs::exists(inMissingFolder.parent_path()));

  EXPECT_EQ(ps.fileName, "C:\\old.cys");
  EXPECT_EQ(ps.projectName, distinctState().projectName);
  expectLines(fileOrder(ps), fileOrder(distinctState()), kFirst, kLast);
}

TEST_F(ProjectFileTest, SaveReplacesTheFileWholeOrNotAtAll) {
  const fs::path path = dir_ / "keep.cys";
  spit(path, "old contents that are longer than nothing");
  ProjectState ps;
  ASSERT_EQ(writeProject(ps, path), std::nullopt);
  const std::string previous = slurp(path);
  EXPECT_EQ(crlfLines(previous).size(), 59u);
  EXPECT_EQ(filesInDir(), 1u);  // no file left beside it

#ifdef __unix__
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
  EXPECT_EQ(filesInDir(), 1u);
#endif
}

}  // namespace
}  // namespace orvane
