// The headless front end: command line, exit codes, text and JSON output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_app.hpp"
#include "cli_run.hpp"
#include "files/input_text.hpp"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using orvane::test::cli;
using orvane::test::CliRun;

json checkJson(std::vector<std::string> args) {
  args.insert(args.begin(), "check");
  args.push_back("--json");
  const CliRun r = cli(args);
  EXPECT_NE(r.code, 2) << r.err;
  return json::parse(r.out);
}

TEST(CliJson, DefaultsWithTheDocumentedKeys) {
  const json j = checkJson({});
  for (const char* k : {"fault", "warnings", "tables", "proportion", "ringlocal", "values"})
    EXPECT_TRUE(j.contains(k)) << k;
  for (const char* t : {"shell", "stiff", "ring"})
    for (const char* c : {"label", "value", "unit"}) EXPECT_EQ(j["tables"][t][c].size(), 16u) << c;
  EXPECT_EQ(j["proportion"].size(), 3u);
  EXPECT_EQ(j["ringlocal"].size(), 5u);
  for (const char* v :
       {"Zl",   "leo",     "SigaSd",       "SighSd", "SighTSd",   "SigmSd", "Siga0Sd", "SigjSd",
        "fEa",  "fEh",     "lamdas",       "fks",    "SigjFks",   "gm",     "beta",    "UFallow",
        "UF",   "UFstiff", "UFallowStiff", "UFarea", "UFinertia", "fT",     "se",      "Isef",
        "fTg",  "Ag",      "As",           "fyp",    "fys",       "fyg",    "ltgi",    "sigx",
        "sigy", "tau",     "pd",           "l"})
    EXPECT_TRUE(j["values"].contains(v)) << v;
  EXPECT_TRUE(j["fault"].is_null());
  // the defaults: a stringer stiffened cylinder
  EXPECT_EQ(j["tables"]["shell"]["label"][0], "Shell Buckling: (Ch 3.3.2)");
  EXPECT_EQ(j["tables"]["stiff"]["label"][0], "Stiffener Buckling: (Ch 3.6.3)");
  EXPECT_EQ(j["tables"]["ring"]["value"][4], "375.7");  // le = 1.56*sqrt(r*t)/(1+12t/r)
  EXPECT_DOUBLE_EQ(j["values"]["pd"].get<double>(), double(-0.3f));
}

TEST(CliCheck, ReducedMomentsUseTheEndStressRatio) {
  const json j = checkJson({"--set", "odmom=1", "--set", "cyltype=3"});
  const std::string m = j["tables"]["stiff"]["value"][10];
  EXPECT_EQ(m.substr(0, 5), "80.0/");  // psi1 = -0.5, Cm1 = 0.4, M1Sd = 0.4*200
  EXPECT_EQ(j["tables"]["stiff"]["unit"][10], " kNm (Reduced value)");
  EXPECT_NEAR(j["values"]["Cm1"].get<double>(), 0.4, 1e-6);
}

TEST(CliExitCodes, VerdictsAndFaults) {
  EXPECT_EQ(cli({"check"}).code, 1);  // the defaults fail the stiffener and ring checks
  EXPECT_EQ(cli({"check", "--set", "cyltype=0", "--set", "t=40"}).code, 0);
  // all design stresses zero: division by zero in the shell check
  const CliRun fault = cli(
      {"check", "--json", "--set", "sigx=0", "--set", "sigy=0", "--set", "tau=0", "--set", "pd=0"});
  EXPECT_EQ(fault.code, 3);
  const json j = json::parse(fault.out);
  ASSERT_TRUE(j["fault"].is_string());
  EXPECT_NE(j["fault"].get<std::string>().find("division by zero"), std::string::npos);
  // the tables still hold the start-up run's lines
  EXPECT_EQ(j["tables"]["shell"]["value"][4], "-50.0");
}

// Bad command lines, values, files and data: code 2 and the first line said.
TEST(CliExitCodes, BadInputSaysWhatIsWrong) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "orvane-cli: A subcommand is required"},
      {{"frobnicate"},
       "orvane-cli: unknown command 'frobnicate'; the commands are check, new, batch, sheet, "
       "sweep and optimize"},
      {{"check", "--bogus"}, "orvane-cli: The following argument was not expected: --bogus"},
      {{"check", "--set"}, "orvane-cli: --set: 1 required NAME=VALUE missing"},
      {{"new"}, "orvane-cli: --output is required"},
      {{"new", "-o", ""}, "orvane-cli: new needs a file name after -o"},
      {{"new", "-o", "p.cys", "extra"},
       "orvane-cli: The following argument was not expected: extra"},
      {{"check", ""},
       "orvane-cli: an empty file name; name a project file or none for the defaults"},
      {{"check", "--set", "zz=1"}, "orvane-cli: unknown name 'zz' in --set"},
      {{"check", "--set", "t=abc"}, "orvane-cli: value of t is not a number: 'abc'"},
      {{"check", "--set", "t=1e999"}, "orvane-cli: value of t is out of range: '1e999'"},
      {{"check", "--set", "t=-1.5E+400"}, "orvane-cli: value of t is out of range: '-1.5E+400'"},
      {{"check", "--set", "t=1e39"}, "orvane-cli: value of t is out of range: '1e39'"},
      {{"check", "--set", "cyltype=1e999"},
       "orvane-cli: value of cyltype is out of range: '1e999'"},
      {{"check", "--set", "t=1e"}, "orvane-cli: value of t is not a number: '1e'"},
      {{"check", "--set", std::string("t=1\x01")},
       "orvane-cli: value of t is not a number: '1\\x01'"},
      {{"check", "--set", "cyltype=1.5"},
       "orvane-cli: value of cyltype must be a whole number from -32768 to 32767: '1.5'"},
      {{"check", "/nonexistent/x.cys"}, "orvane-cli: can't find file - /nonexistent/x.cys"},
      {{"new", "-o", "/nonexistent/dir/p.cys"},
       "orvane-cli: can't save file - /nonexistent/dir/p.cys"},
      {{"check", "--data", "/nonexistent"},
       "orvane-cli: /nonexistent/DNVmat.dat: cannot open file"},
      // numbers of the command line said plainly
      {{"batch", "p.cys", "l.csv", "--jobs", "-1"},
       "orvane-cli: --jobs: a whole number from 1 to 256 is expected, got '-1'"},
      {{"sweep", "--vary", "t=1:2:1", "--jobs", "abc"},
       "orvane-cli: --jobs: a whole number from 1 to 256 is expected, got 'abc'"},
      {{"optimize", "--free", "t=1:2:1", "--jobs", "1000000"},
       "orvane-cli: --jobs: a whole number from 1 to 256 is expected, got '1000000'"},
      {{"optimize", "--free", "t=1:2:1", "--apply", "0"},
       "orvane-cli: --apply: a whole number from 1 to 10000 is expected, got '0'"}};
  for (const auto& [args, message] : cases) {
    const CliRun r = cli(args);
    EXPECT_EQ(r.code, 2) << message;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), message);
    EXPECT_EQ(r.out, "") << message;
  }
}

TEST(CliCommandLine, HelpAndVersionExitZero) {
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{"--help"}, {"Usage: orvane-cli [OPTIONS] SUBCOMMAND", "check", "new", "Exit status:"}},
      {{"check", "--help"}, {"Usage: orvane-cli check [OPTIONS] [FILE...]", "--set", "--json"}},
      {{"new", "--help"}, {"-o,--output", "REQUIRED"}},
      {{"--version"}, {"orvane-cli 1.7"}}};
  for (const auto& [args, parts] : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(orvane::cli::run(args, out, err), 0) << args[0];
    EXPECT_EQ(err.str(), "") << args[0];
    for (const std::string& part : parts)
      EXPECT_NE(out.str().find(part), std::string::npos) << part << " in\n" << out.str();
  }
  // the documented option spellings still work
  EXPECT_EQ(cli({"check", "--set=cyltype=0", "--set", "t=40"}).code, 0);
}

// Project files in another encoding are named as such; the message holds
// no NUL and no invisible byte-order mark.
TEST(CliExitCodes, OtherEncodingsSaidPlainly) {
  const fs::path dir = fs::temp_directory_path() / "orvane_cli_encoding";
  fs::create_directories(dir);
  const std::string ascii = "170\r\nProject\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : ascii) utf16 += std::string{c, '\0'};
  const std::pair<std::string, std::string> cases[] = {
      {"utf16.cys", utf16},
      {"utf16be.cys", "\xFE\xFF" + std::string("\0001\0007\0000", 6)},
      {"nul.cys", std::string("17\0\r\n", 5)}};
  const std::string utf16Text =
      ", line 1: version: the file is UTF-16 text; a project file holds Windows-1252 text\n";
  const std::string expected[] = {utf16Text, utf16Text,
                                  ", line 1: version: not a number: \"17\\x00\"\n"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const fs::path file = dir / cases[i].first;
    std::ofstream(file, std::ios::binary) << cases[i].second;
    for (const char* format : {"--json", "--set=t=20"}) {
      const CliRun r = cli({"check", file.string(), format});
      EXPECT_EQ(r.code, 2) << file;
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.err, "orvane-cli: " + file.string() + expected[i]);
      EXPECT_EQ(r.err.find('\0'), std::string::npos);
      EXPECT_EQ(r.err.find("\xEF\xBB\xBF"), std::string::npos);
    }
  }
  fs::remove_all(dir);
}

// Bytes a message quotes from the command line or a file are shown, never
// passed through raw.
TEST(CliText, PrintableShowsEveryByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain 170", "plain 170"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\xEF\xBB\xBF"
       "170",
       "<U+FEFF>170"},
      {"tab\there\r\n", "tab\\x09here\\x0D\\x0A"},
      {"\x7F", "\\x7F"},
      {"\xC3\x86r\xC3\xB8", "\xC3\x86r\xC3\xB8"},  // letters stay
      // bytes that are not UTF-8 (a Windows-1252 file name), a cut sequence,
      // an overlong form
      {"pi\xE8r.cys", "pi\\xE8r.cys"},
      {"\xC3", "\\xC3"},
      {"\xC0\xAF", "\\xC0\\xAF"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(orvane::printable(in), out);
}

// A local-buckling line that fails makes the check fail, and the text names
// it; lines the current profile type does not write are not judged.
TEST(CliExitCodes, LocalBucklingNokFailsTheCheck) {
  // A ring-stiffened cylinder whose usage factors are all within their
  // allowable values; only the flat bar's proportion differs.
  const std::vector<std::string> ring = {
      "check", "--set",         "cyltype=1", "--set", "t=40",  "--set",   "cboring=5",
      "--set", "ring_fb_h=300", "--set",     "pd=0",  "--set", "sigx=-20"};
  struct Case {
    std::string tw;
    int code;
    const char* line;
    const char* summary;
  };
  const Case cases[] = {
      {"30", 0, "h <= 310 (Eq 3.10.1) ==> OK", "All usage factors within their allowable values"},
      {"25", 1, "h <= 258 (Eq 3.10.1) ==> NOK", "1 local-buckling line(s) NOK"}};
  for (const Case& c : cases) {
    std::vector<std::string> args = ring;
    args.insert(args.end(), {"--set", "ring_fb_tw=" + c.tw});
    const CliRun text = cli(args);
    EXPECT_EQ(text.code, c.code) << text.err;
    EXPECT_NE(
        text.out.find("Local buckling, ring frame (Ch 3.10):\n  " + std::string(c.line) + "\n"),
        std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find(std::string("\n") + c.summary + "\n"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("usage factor(s) above"), std::string::npos);
    if (c.code == 1) {
      EXPECT_EQ(text.out.find("All usage factors"), std::string::npos);
    }

    args.push_back("--json");
    const CliRun j = cli(args);
    EXPECT_EQ(j.code, c.code);
    const json local = json::parse(j.out)["local_buckling"];
    EXPECT_EQ(local["ring"], json::array({c.line}));  // a flat bar writes one line
    EXPECT_EQ(local["stiffener"], json::array());     // no stringers
  }

  // Stringers: the flat bar's web line, and no stale flange line.
  const CliRun stiff = cli({"check", "--json", "--set", "cbostiff=5", "--set", "stiff_fb_h=400"});
  const json j = json::parse(stiff.out);
  ASSERT_EQ(j["local_buckling"]["stiffener"].size(), 1u);
  EXPECT_NE(j["local_buckling"]["stiffener"][0].get<std::string>().find("(Eq 3.10.6) ==> NOK"),
            std::string::npos);
  EXPECT_EQ(j["local_buckling"]["ring"].size(), 4u);  // the default T ring frame
  EXPECT_EQ(stiff.code, 1);
  // Column mode has no profiles to judge.
  EXPECT_EQ(json::parse(cli({"check", "--json", "--set", "cyltype=3"}).out)["local_buckling"],
            (json{{"stiffener", json::array()}, {"ring", json::array()}}));
}

TEST(CliText, PanelsWithVerdictsAndSummary) {
  const CliRun r = cli({"check"});
  for (const char* part : {"Shell Buckling: (Ch 3.3.2)", "UF = SigjSd/fksd = ", "NOT OK",
                           "usage factor(s) above the allowable value"})
    EXPECT_NE(r.out.find(part), std::string::npos) << part;
  const CliRun col = cli({"check", "--set", "cyltype=3"});
  EXPECT_NE(col.out.find("Global Buckling: (Ch 3.8)"), std::string::npos);
  EXPECT_EQ(col.out.find("Panel Ring Buckling"), std::string::npos);
}

TEST(CliNew, WrittenProjectReproducesTheResults) {
  const fs::path dir = fs::temp_directory_path() / "orvane_cli_new";
  fs::create_directories(dir);
  const std::string file = (dir / "p.cys").string();
  const std::vector<std::string> sets = {"--set", "cyltype=1", "--set", "t=18.5",
                                         "--set", "pd=-0.45",  "--set", "cboring=5"};
  std::vector<std::string> args = {"new", "-o", file};
  args.insert(args.end(), sets.begin(), sets.end());
  ASSERT_EQ(cli(args).code, 0);
  const json fromFile = checkJson({file});
  const json fromSets = checkJson(sets);
  EXPECT_EQ(fromFile["tables"], fromSets["tables"]);
  EXPECT_EQ(fromFile["ringlocal"], fromSets["ringlocal"]);
  EXPECT_EQ(fromFile["values"]["t"], 18.5);
  EXPECT_EQ(fromFile["file"], file);  // each object names its project
  EXPECT_TRUE(fromSets["file"].is_null());

  // a file name that is not UTF-8 still works and is shown with \xNN
  const std::string latin = (dir / "pi\xE8r.cys").string();
  fs::copy_file(file, latin, fs::copy_options::overwrite_existing);
  const CliRun named = cli({"check", latin, "--json"});
  ASSERT_EQ(named.code, cli({"check", file}).code) << named.err;
  EXPECT_EQ(json::parse(named.out)["file"], (dir / "pi\\xE8r.cys").string());

  // several files: one JSON line each, exit code the worst of them
  const CliRun both = cli({"check", file, file, "--json"});
  std::istringstream lines(both.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) count += json::accept(line) ? 1 : 0;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(both.code, cli({"check", file}).code);
  fs::remove_all(dir);
}

}  // namespace
