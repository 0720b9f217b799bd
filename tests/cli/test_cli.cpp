// The headless front end: command line, exit codes, text and JSON output.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_app.hpp"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct CliRun {
  int code;
  std::string out, err;
};

// Runs with the shipped data; a later --data in `args` takes its place.
CliRun cli(std::vector<std::string> args) {
  args.insert(args.begin() + (args.empty() ? 0 : 1), {"--data", ORVANE_SHIPPED_DATA});
  std::ostringstream out, err;
  const int code = orvane::cli::run(args, out, err);
  return {code, out.str(), err.str()};
}

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
  for (const char* t : {"shell", "stiff", "ring"}) {
    for (const char* c : {"label", "value", "unit"}) EXPECT_EQ(j["tables"][t][c].size(), 16u) << c;
  }
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

TEST(CliCheck, ColumnModeFillsShellAndColumnTables) {
  const json j = checkJson({"--set", "cyltype=3", "--set", "wsd=1"});
  const json& shell = j["tables"]["shell"];
  const json& col = j["tables"]["stiff"];
  EXPECT_EQ(shell["label"][0], "Shell Buckling: (Ch 3.4.2)");
  EXPECT_EQ(shell["label"][3], "fEm = ");
  EXPECT_EQ(col["label"][0], "Global Buckling: (Ch 3.8)");
  EXPECT_EQ(col["n"], 14);
  EXPECT_EQ(col["value"][10], "200.0/100.0");
  EXPECT_EQ(col["unit"][10], " kNm (Max value)");
  EXPECT_EQ(col["label"][14], "UF2 =  ");
  EXPECT_EQ(col["unit"][13], " <= 1.15");  // WSD allowable of both usage factors
  EXPECT_EQ(col["unit"][14], " <= 1.15");
  // the column check clears the stored circumferential and shear stresses
  EXPECT_EQ(j["values"]["sigy"], 0.0);
  EXPECT_EQ(j["values"]["tau"], 0.0);
}

TEST(CliCheck, ReducedMomentsUseTheEndStressRatio) {
  const json j = checkJson({"--set", "cyltype=3", "--set", "odmom=1"});
  const std::string m = j["tables"]["stiff"]["value"][10];
  EXPECT_EQ(m.substr(0, 5), "80.0/");  // psi1 = -0.5, Cm1 = 0.4, M1Sd = 0.4*200
  EXPECT_EQ(j["tables"]["stiff"]["unit"][10], " kNm (Reduced value)");
  EXPECT_NEAR(j["values"]["Cm1"].get<double>(), 0.4, 1e-6);
}

TEST(CliCheck, WsdAllowableValues) {
  // defaults have lamdas > 1: UFallow = 1 * 0.8 * 1.15
  const json j = checkJson({"--set", "wsd=1"});
  EXPECT_EQ(j["tables"]["shell"]["unit"][10], " <= 0.92");
  EXPECT_EQ(j["tables"]["stiff"]["unit"][13], " <= 1.15");
  EXPECT_EQ(j["tables"]["stiff"]["value"][11], "1.15");
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
  const std::string usage =
      "usage: orvane-cli check [FILE.cys]... [--set NAME=VALUE]... [--data DIR] [--json]";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, usage},
      {{"frobnicate"}, usage},
      {{"check", "--bogus"}, "orvane-cli: unknown option '--bogus'"},
      {{"new"}, "orvane-cli: new needs -o FILE.cys"},
      {{"new", "-o", "p.cys", "extra"}, "orvane-cli: unexpected argument 'extra'"},
      {{"check", "--set", "zz=1"}, "orvane-cli: unknown name 'zz' in --set"},
      {{"check", "--set", "t=abc"}, "orvane-cli: value of t is not a number: 'abc'"},
      {{"check", "--set", "cyltype=1.5"},
       "orvane-cli: value of cyltype must be a whole number from -32768 to 32767: '1.5'"},
      {{"check", "/nonexistent/x.cys"}, "orvane-cli: can't find file - /nonexistent/x.cys"},
      {{"new", "-o", "/nonexistent/dir/p.cys"},
       "orvane-cli: can't save file - /nonexistent/dir/p.cys"},
      {{"check", "--data", "/nonexistent"},
       "orvane-cli: /nonexistent/DNVmat.dat: cannot open file"}};
  for (const auto& [args, message] : cases) {
    const CliRun r = cli(args);
    EXPECT_EQ(r.code, 2) << message;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), message);
    EXPECT_EQ(r.out, "") << message;
  }
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
