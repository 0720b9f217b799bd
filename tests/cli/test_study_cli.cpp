// orvane-cli sweep and optimize: exit codes, messages, the CSV and JSON a
// study writes, and a design written as a project file.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_app.hpp"
#include "cli_run.hpp"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using orvane::test::cli;
using orvane::test::CliRun;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string cell; std::getline(in, cell, ',');) out.push_back(cell);
  if (!line.empty() && line.back() == ',') out.emplace_back();
  return out;
}

fs::path temp(const std::string& name) {
  return fs::temp_directory_path() / ("orvane_study_" + std::to_string(::getpid()) + "_" + name);
}

TEST(StudyCli, ExitCodesAndMessages) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;  // a line of standard error, empty: none
  };
  // (the ranges' own errors: project/test_study.cpp; one says each command
  // passes them on)
  const Case cases[] = {
      {{"sweep", "--vary", "t=10:20:1"}, 0, ""},
      {{"sweep", "--vary", "t=20:10:1"},
       2,
       "orvane-cli sweep: range of t: FROM 20 is greater than TO 10"},
      {{"sweep", "--vary", "t=1:2:1", "--vary", "s=1:2:1", "--vary", "l=1:2:1"},
       2,
       "orvane-cli sweep: --vary names one or two inputs"},
      {{"sweep", "--vary", "t=1:2:1", "--set", "t=4"},
       2,
       "orvane-cli sweep: t is both set and varied"},
      {{"sweep", "--vary", "t=1:2:1", "missing.cys"},
       2,
       "orvane-cli: can't find file - missing.cys"},
      {{"sweep"}, 2, ""},
      {{"optimize", "--free", "t=5:6:1"}, 1, ""},
      {{"optimize", "--free", "t=16:26:1", "--free", "ring=t"}, 0, ""},
      {{"optimize", "--free", "stiffener=wood"},
       2,
       "orvane-cli optimize: a profile choice is written stiffener=TABLE or ring=TABLE, TABLE one "
       "of bulb, l, t, flat or all (or several joined by commas), got 'stiffener=wood'"},
      {{"optimize", "--free", "t=10:30:1", "--apply", "1"},
       2,
       "orvane-cli optimize: --apply needs the project file to write after -o"},
      {{"optimize", "--free", "t=16:26:1", "--free", "ring=t", "--apply", "9999", "-o", "x.cys"},
       2,
       ""},
      {{"optimize", "--free", "t=10:30:1", "--top", "0"}, 2, ""},
  };
  for (const auto& c : cases) {
    const CliRun r = cli(c.args);
    std::string joined;
    for (const auto& a : c.args) joined += a + " ";
    EXPECT_EQ(r.code, c.code) << joined << r.err;
    if (*c.message) {
      EXPECT_EQ(lines(r.err).at(0), c.message) << joined;
    }
    if (c.code != 2) {
      EXPECT_EQ(r.err.find("orvane-cli"), std::string::npos) << joined << r.err;
    }
  }
}

TEST(StudyCli, SweepRowsAreChecksWithTheSameValues) {
  const CliRun r = cli({"sweep", "--vary", "t=12:24:3", "--set", "pd=-0.2"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto rows = lines(r.out);
  ASSERT_EQ(rows.size(), 6u);  // header and five points
  const auto header = cells(rows[0]);
  EXPECT_EQ(header.front(), "t");
  // the rule-note columns follow the fault, one per check
  EXPECT_EQ(header.back(), "ring_inertia_uf_alt");
  const auto column = [&](const char* name) {
    return static_cast<size_t>(std::find(header.begin(), header.end(), name) - header.begin());
  };
  const size_t uf = column("shell_uf"), alt = column("stiffener_uf_alt");
  ASSERT_LT(alt, header.size());
  EXPECT_EQ(header[column("fault") + 1], "shell_uf_alt");
  for (size_t i = 1; i < rows.size(); ++i) {
    const auto row = cells(rows[i]);
    ASSERT_EQ(row.size(), header.size());
    // the same values through check: the same usage factor, to the digit
    const CliRun check = cli({"check", "--set", "pd=-0.2", "--set", "t=" + row[0], "--json"});
    const json j = json::parse(check.out);
    EXPECT_EQ(row[uf], json(j["values"]["UF"].get<double>()).dump()) << rows[i];
    std::string noteAlt;
    for (const json& n : j["rule_notes"])
      if (n["check"] == "stiffener") noteAlt = n["uf_alt"].dump();
    EXPECT_EQ(row[alt], noteAlt) << rows[i];
  }
  // the shell's crossing on standard error, as "t >=" (it passes above)
  EXPECT_NE(r.err.find("shell: passes for t >= "), std::string::npos) << r.err;
}

TEST(StudyCli, SweepJsonAndCsvFile) {
  const fs::path csv = temp("sweep.csv");
  const CliRun r = cli({"sweep", "--vary", "t=10:30:0.5", "--vary", "pd=-0.4:-0.1:0.1", "-o",
                        csv.string(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  // JSON Lines: a line per point, then the ranges, checks and crossings
  const auto objects = lines(r.out);
  ASSERT_EQ(objects.size(), 41u * 4u + 1);
  EXPECT_EQ(json::parse(objects[5])["values"], json({10.5, -0.3}));
  const json j = json::parse(objects.back());
  EXPECT_EQ(j["ranges"][1]["count"], 4);
  EXPECT_TRUE(j["crossings"].empty());  // two inputs: the window draws the contour
  std::ifstream in(csv);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(lines(text.str()).size(), 41u * 4u + 1);
  fs::remove(csv);

  const CliRun one = cli({"sweep", "--vary", "t=10:30:1", "--json"});
  const json k = json::parse(lines(one.out).back());
  ASSERT_FALSE(k["crossings"].empty());
  for (const json& x : k["crossings"]) {
    EXPECT_EQ(x["passing"]["verdict"], "OK");
    EXPECT_EQ(x["exceeded_at"]["verdict"], "NOT OK");
  }
}

TEST(StudyCli, OptimizeWritesTheChosenDesign) {
  const fs::path csv = temp("designs.csv"), project = temp("design.cys");
  const std::vector<std::string> search = {"optimize", "--free",        "t=14:26:1",
                                           "--free",   "s=400:800:100", "--free",
                                           "ring=t,l", "--top",         "3"};
  auto args = search;
  args.insert(args.end(), {"-o", csv.string()});
  const CliRun listed = cli(args);
  ASSERT_EQ(listed.code, 0) << listed.err;
  EXPECT_EQ(lines(listed.out).size(), 4u) << listed.out;
  std::ifstream in(csv);
  std::stringstream text;
  text << in.rdbuf();
  const auto rows = lines(text.str());
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].rfind("rank,mass_kg_per_m,governing,uf,allow,t,s,cboring", 0), 0u) << rows[0];

  args = search;
  args.insert(args.end(), {"--apply", "2", "-o", project.string()});
  const CliRun applied = cli(args);
  ASSERT_EQ(applied.code, 0) << applied.err;
  // the written project passes as it stands, with the second design's t
  const CliRun check = cli({"check", project.string(), "--json"});
  EXPECT_EQ(check.code, 0) << check.out;
  EXPECT_EQ(std::stod(cells(rows[2])[5]), json::parse(check.out)["values"]["t"].get<double>());
  fs::remove(csv);
  fs::remove(project);
}

}  // namespace
