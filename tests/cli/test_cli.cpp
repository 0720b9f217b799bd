// The headless front end: command line, exit codes, text and JSON output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

CliRun cli(std::vector<std::string> args) {
  args.push_back("--data");
  args.push_back(ORVANE_SHIPPED_DATA);
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

TEST(CliJson, HoldsTheDocumentedKeys) {
  const json j = checkJson({});
  for (const char* k : {"fault", "warnings", "tables", "proportion", "ringlocal", "values"})
    EXPECT_TRUE(j.contains(k)) << k;
  for (const char* t : {"shell", "stiff", "ring"}) {
    EXPECT_EQ(j["tables"][t]["label"].size(), 16u);
    EXPECT_EQ(j["tables"][t]["value"].size(), 16u);
    EXPECT_EQ(j["tables"][t]["unit"].size(), 16u);
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
}

TEST(CliCheck, DefaultsShowTheStringerStiffenedCylinder) {
  const json j = checkJson({});
  EXPECT_EQ(j["tables"]["shell"]["label"][0], "Shell Buckling: (Ch 3.3.2)");
  EXPECT_EQ(j["tables"]["stiff"]["label"][0], "Stiffener Buckling: (Ch 3.6.3)");
  EXPECT_EQ(j["tables"]["ring"]["value"][4], "375.7");  // le = 1.56*sqrt(r*t)/(1+12t/r)
  EXPECT_DOUBLE_EQ(j["values"]["pd"].get<double>(), double(-0.3f));
}

TEST(CliCheck, ColumnModeFillsShellAndColumnTables) {
  const json j = checkJson({"--set", "cyltype=3"});
  const json& shell = j["tables"]["shell"];
  const json& col = j["tables"]["stiff"];
  EXPECT_EQ(shell["label"][0], "Shell Buckling: (Ch 3.4.2)");
  EXPECT_EQ(shell["label"][3], "fEm = ");
  EXPECT_EQ(col["label"][0], "Global Buckling: (Ch 3.8)");
  EXPECT_EQ(col["n"], 14);
  EXPECT_EQ(col["value"][10], "200.0/100.0");
  EXPECT_EQ(col["unit"][10], " kNm (Max value)");
  EXPECT_EQ(col["label"][14], "UF2 =  ");
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
  const json shell = checkJson({"--set", "wsd=1"});
  EXPECT_EQ(shell["tables"]["shell"]["unit"][10], " <= 0.92");
  EXPECT_EQ(shell["tables"]["stiff"]["unit"][13], " <= 1.15");
  EXPECT_EQ(shell["tables"]["stiff"]["value"][11], "1.15");
  const json col = checkJson({"--set", "wsd=1", "--set", "cyltype=3"});
  EXPECT_EQ(col["tables"]["stiff"]["unit"][13], " <= 1.15");
  EXPECT_EQ(col["tables"]["stiff"]["unit"][14], " <= 1.15");
}

TEST(CliExitCodes, VerdictsFaultsAndBadInput) {
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

  EXPECT_EQ(cli({}).code, 2);
  EXPECT_EQ(cli({"frobnicate"}).code, 2);
  EXPECT_EQ(cli({"check", "--bogus"}).code, 2);
  const CliRun unknown = cli({"check", "--set", "zz=1"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.err.find("unknown name 'zz'"), std::string::npos);
  const CliRun notNumber = cli({"check", "--set", "t=abc"});
  EXPECT_EQ(notNumber.code, 2);
  EXPECT_NE(notNumber.err.find("not a number"), std::string::npos);
  EXPECT_EQ(cli({"check", "--set", "cyltype=1.5"}).code, 2);
  const CliRun missing = cli({"check", "/nonexistent/x.cys"});
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("can't find file - /nonexistent/x.cys"), std::string::npos);
  std::ostringstream out, err;
  EXPECT_EQ(orvane::cli::run({"check", "--data", "/nonexistent"}, out, err), 2);
  EXPECT_NE(err.str().find("DNVmat.dat"), std::string::npos);
}

TEST(CliText, PanelsWithVerdictsAndSummary) {
  const CliRun r = cli({"check"});
  EXPECT_NE(r.out.find("Shell Buckling: (Ch 3.3.2)"), std::string::npos);
  EXPECT_NE(r.out.find("UF = SigjSd/fksd = "), std::string::npos);
  EXPECT_NE(r.out.find("NOT OK"), std::string::npos);
  EXPECT_NE(r.out.find("usage factor(s) above the allowable value"), std::string::npos);
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
  std::vector<std::string> direct = sets;
  const json fromSets = checkJson(direct);
  EXPECT_EQ(fromFile["tables"], fromSets["tables"]);
  EXPECT_EQ(fromFile["ringlocal"], fromSets["ringlocal"]);
  EXPECT_EQ(fromFile["values"]["t"], 18.5);

  // several files: one JSON line each, exit code the worst of them
  std::ostringstream out, err;
  const int code =
      orvane::cli::run({"check", file, file, "--json", "--data", ORVANE_SHIPPED_DATA}, out, err);
  std::istringstream lines(out.str());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) count += json::accept(line) ? 1 : 0;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(code, cli({"check", file}).code);
  EXPECT_EQ(cli({"new", "-o", "/nonexistent/dir/p.cys"}).code, 2);
  fs::remove_all(dir);
}

}  // namespace
