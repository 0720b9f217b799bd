// orvane-cli batch: every row equals the single check with the same --set
// values, read back as numbers from the CSV and the JSON output; bad rows
// and files; exit codes; slices that concatenate; JSON Lines; the workbook.
// (The ways spreadsheets export a table: files/test_load_table.cpp.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "cli_run.hpp"
#include "files/load_table.hpp"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::string kData = std::string(ORVANE_VECTORS) + "/data";
const fs::path kCases = fs::path(ORVANE_VECTORS) / "cases";

using orvane::test::CliRun;

CliRun cli(std::vector<std::string> args) {
  args.insert(args.end(), {"--data", kData});
  return orvane::test::cli(args);
}

class Batch : public ::testing::Test {
 protected:
  fs::path dir =
      fs::temp_directory_path() / ("orvane-batch-" + std::to_string(::getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  std::string write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
  }
  // The defaults of one cylinder type as a project file.
  std::string project(int cyltype) {
    const std::string file = (dir / ("type" + std::to_string(cyltype) + ".cys")).string();
    const CliRun made = cli({"new", "-o", file, "--set", "cyltype=" + std::to_string(cyltype)});
    EXPECT_EQ(made.code, 0) << made.err;
    return file;
  }
};

// Where `check --json` keeps the usage factor and allowable value of each
// check the batch writes.
const std::map<std::string, std::pair<const char*, const char*>> kCheckValues = {
    {"shell", {"UF", "UFallow"}},     {"stiffener", {"UFstiff", "UFallowStiff"}},
    {"column1", {"UF1", "UFallow"}},  {"column2", {"UF2", "UFallow"}},
    {"ring_area", {"UFarea", "ufb"}}, {"ring_inertia", {"UFinertia", "ufb"}},
};

double number(const std::string& text) {
  size_t used = 0;
  const double v = std::stod(text, &used);
  EXPECT_EQ(used, text.size()) << text;
  return v;
}

// Rows of a CSV output by column name.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& text) {
  const auto table = orvane::parseLoadTable(text, "out.csv");
  EXPECT_TRUE(table) << table.error();
  std::vector<std::map<std::string, std::string>> rows;
  for (const auto& c : table.value().cases) {
    std::map<std::string, std::string> row{{"case", c.name}};
    for (size_t i = 0; i < c.values.size(); ++i) row[table.value().inputs[i]] = c.values[i];
    rows.push_back(row);
  }
  return rows;
}

std::vector<json> jsonLines(const std::string& text) {
  std::vector<json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
  return lines;
}

// Every row, computed in one batch, against `check PROJECT --set ...` for
// the same values: the same usage factors and allowable values to the bit,
// the same fault, the same verdict; the CSV output holds the same numbers
// as the JSON output.
TEST_F(Batch, RowsEqualSingleChecks) {
  const std::vector<std::string> names = {"sigx", "sigy", "tau", "pd", "N", "M1a", "t", "l"};
  const std::vector<std::vector<std::string>> rows = {
      {"", "", "", "", "", "", "", ""},  // the project as opened
      {"50", "20", "10", "0.1", "", "", "", ""},
      {"250", "80", "60", "0.5", "-3000", "500", "", ""},
      {"-120.5", "-33.3", "12", "-0.25", "", "", "14", ""},
      {"30", "10", "5", "", "", "", "0", ""},  // a fault
      {"10", "", "", "", "", "", "", "9000"},
      {"1e-3", "", "0", "", "", "", "30", "1500"},
  };
  std::string loads = "case";
  for (const auto& n : names) loads += "," + n;
  loads += "\n";
  for (size_t r = 0; r < rows.size(); ++r) {
    loads += "case " + std::to_string(r);
    for (const auto& v : rows[r]) loads += "," + v;
    loads += "\n";
  }
  const std::string loadsFile = write("loads.csv", loads);
  std::vector<std::string> projects = {project(0), project(1), project(2), project(3)};
  for (const char* v : {"v004.cys", "v009.cys", "v050.cys"}) projects.push_back(kCases / v);

  for (const std::string& p : projects) {
    SCOPED_TRACE(p);
    const CliRun js = cli({"batch", p, loadsFile, "--json", "--jobs", "2"});
    const CliRun csv = cli({"batch", p, loadsFile});
    ASSERT_NE(js.code, 2) << js.err;
    const auto lines = jsonLines(js.out);
    const auto csvOut = csvRows(csv.out);
    ASSERT_EQ(lines.size(), rows.size() + 1);
    ASSERT_EQ(csvOut.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
      SCOPED_TRACE("row " + std::to_string(r + 1));
      std::vector<std::string> args = {"check", p, "--json"};
      for (size_t i = 0; i < names.size(); ++i)
        if (!rows[r][i].empty()) args.insert(args.end(), {"--set", names[i] + "=" + rows[r][i]});
      const CliRun single = cli(args);
      const json want = json::parse(single.out);
      const json& got = lines[r];
      EXPECT_EQ(got["row"], r + 1);
      EXPECT_EQ(got["case"], "case " + std::to_string(r));
      EXPECT_EQ(got["fault"], want["fault"]);
      const std::string status = got["status"];
      EXPECT_EQ(status, single.code == 0 ? "passed" : single.code == 1 ? "failed" : "faulted");
      int shown = 0;
      for (const auto& [check, keys] : kCheckValues) {
        if (!got.contains(check) || got[check].is_null()) continue;
        ++shown;
        const double uf = want["values"][keys.first], allow = want["values"][keys.second];
        EXPECT_EQ(got[check]["uf"].get<double>(), uf) << check;
        EXPECT_EQ(got[check]["allow"].get<double>(), allow) << check;
        EXPECT_EQ(got[check]["ok"], uf <= allow) << check;
        EXPECT_EQ(number(csvOut[r].at(check + "_uf")), uf) << check;
        EXPECT_EQ(number(csvOut[r].at(check + "_allow")), allow) << check;
        EXPECT_EQ(csvOut[r].at(check + "_verdict"), uf <= allow ? "OK" : "NOT OK");
      }
      EXPECT_EQ(shown == 0, want["fault"].is_string());
      EXPECT_EQ(csvOut[r].at("fault"), want["fault"].is_null() ? "" : want["fault"]);
    }
  }
}

// A table of section forces: CSV and JSON give each check its governing
// point, and `check` with the row's other values and the point's printed
// stresses shows the same usage factor; the refused tables name their
// columns.
TEST_F(Batch, SectionForcesGiveEachCheckItsPoint) {
  const std::string loads = write("forces.csv",
                                  "case,pd,N,M1,M2,T,Q1\n"
                                  "bending,-0.2,-8000,20000,15000,9000,\n"
                                  "shear,,2000,,,30000,6000\n"
                                  "bad,,12x,,,,\n");
  for (const int type : {1, 2}) {
    const std::string p = project(type);
    const CliRun js = cli({"batch", p, loads, "--json", "--jobs", "2"});
    const CliRun csv = cli({"batch", p, loads});
    EXPECT_EQ(js.code, 2) << js.err;  // the bad row
    EXPECT_NE(csv.err.find(":4:N: value of N is not a number"), std::string::npos) << csv.err;
    const auto lines = jsonLines(js.out);
    const auto csvOut = csvRows(csv.out);
    ASSERT_EQ(lines.size(), 4u);
    ASSERT_EQ(csvOut.size(), 3u);
    EXPECT_EQ(lines[2]["status"], "input error");
    for (size_t r = 0; r < 2; ++r) {
      int shown = 0;
      for (const auto& [check, keys] : kCheckValues) {
        if (!lines[r].contains(check) || lines[r][check].is_null()) continue;
        const json& got = lines[r][check];
        ++shown;
        SCOPED_TRACE(check + " row " + std::to_string(r + 1));
        EXPECT_EQ(number(csvOut[r].at(check + "_theta")), got["theta"].get<double>());
        std::vector<std::string> args = {"check", p, "--json"};
        if (r == 0) args.insert(args.end(), {"--set", "pd=-0.2"});
        args.insert(args.end(), {"--set", "sigx=" + csvOut[r].at(check + "_sigx"), "--set",
                                 "tau=" + csvOut[r].at(check + "_tau")});
        EXPECT_EQ(number(csvOut[r].at(check + "_sigx")), got["sigx"].get<double>());
        const json want = json::parse(cli(args).out);
        EXPECT_EQ(got["uf"].get<double>(), want["values"][keys.first].get<double>());
        EXPECT_EQ(number(csvOut[r].at(check + "_uf")), got["uf"].get<double>());
      }
      EXPECT_GE(shown, 1);
    }
    // the workbook has the same points: shell_theta, _sigx and _tau of the
    // first row in the columns L to N, after the inputs and shell_uf,
    // shell_allow and shell_verdict
    const fs::path book = dir / "forces.xlsx";
    EXPECT_EQ(cli({"batch", p, loads, "-o", book.string()}).code, 2);
    if (::access("/usr/bin/unzip", X_OK) != 0) continue;
    std::string sheet;
    if (FILE* f = ::popen(
            ("/usr/bin/unzip -p '" + book.string() + "' xl/worksheets/sheet1.xml").c_str(), "r")) {
      char buf[4096];
      for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) sheet.append(buf, n);
      ::pclose(f);
    }
    for (const auto& [cell, column] : {std::pair{"L1", "shell_theta"}, {"N1", "shell_tau"}})
      EXPECT_NE(sheet.find(column), std::string::npos) << cell;
    for (const auto& [cell, column] :
         {std::pair{"L2", "shell_theta"}, {"M2", "shell_sigx"}, {"N2", "shell_tau"}}) {
      const auto at = sheet.find("<c r=\"" + std::string(cell) + "\"");
      ASSERT_NE(at, std::string::npos) << cell;
      const auto v = sheet.find("<v>", at) + 3;
      const double want = number(csvOut[0].at(column));
      EXPECT_NEAR(number(sheet.substr(v, sheet.find("</v>", v) - v)), want, 1e-14 * std::fabs(want))
          << cell;
    }
  }
  const std::string refused[][2] = {
      {"N,M1,sigx\n1,2,3\n", "columns N, M1 and sigx"},
      {"M1,cyltype\n1,2\n", "columns M1 and cyltype"},
  };
  for (const auto& [table, names] : refused) {
    const CliRun r = cli({"batch", project(2), write("refused.csv", table)});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(names), std::string::npos) << r.err;
  }
  const CliRun column = cli({"batch", project(3), write("column.csv", "N,T\n1,2\n")});
  EXPECT_EQ(column.code, 2);
  EXPECT_NE(column.err.find("column T: section forces are loads of the shell modes"),
            std::string::npos)
      << column.err;
}

// A bad value stops its row only: it is named on stderr as FILE:LINE:COLUMN
// and in the row's fault cell; the rows around it run.
TEST_F(Batch, BadRowsAreReportedAndTheOthersRun) {
  const std::string p = project(1);
  const std::string file = write("bad.csv",
                                 "case,sigx,cyltype,tau\n"
                                 "fine,10,,5\n"
                                 "text,ten,,5\n"
                                 "\n"
                                 "huge,1e400,,5\n"
                                 "single range,1e39,,5\n"
                                 "half,10,1.5,5\n"
                                 "short,10\n"
                                 "stray quote,1\"0,,5\n"
                                 "fine too,20,,6\n");
  const CliRun r = cli({"batch", p, file});
  EXPECT_EQ(r.code, 2);
  // case, where stderr names the problem, the problem
  const std::tuple<std::string, std::string, std::string> want[] = {
      {"fine", "", ""},
      {"text", "3:sigx", "value of sigx is not a number: 'ten'"},
      {"huge", "5:sigx", "value of sigx is out of range: '1e400'"},
      {"single range", "6:sigx", "value of sigx is out of range: '1e39'"},
      {"half", "7:cyltype", "value of cyltype must be a whole number from -32768 to 32767: '1.5'"},
      {"short", "8:cyltype", "the row has 2 cells, the header 4 columns"},
      {"stray quote", "9:sigx", "a quote inside an unquoted cell"},
      {"fine too", "", ""}};
  std::string said;
  for (const auto& [name, where, problem] : want)
    if (!where.empty()) said += file + ":" + where + ": " + problem + "\n";
  EXPECT_EQ(r.err.substr(0, r.err.find("orvane-cli:")), said);
  const auto rows = csvRows(r.out);
  ASSERT_EQ(rows.size(), std::size(want));
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& [name, where, problem] = want[i];
    EXPECT_EQ(rows[i].at("row"), std::to_string(i + 1));
    EXPECT_EQ(rows[i].at("case"), name);
    EXPECT_EQ(rows[i].at("fault"), problem.empty() ? "" : "input error: " + problem);
    EXPECT_EQ(rows[i].at("shell_uf").empty(), !problem.empty()) << name;
  }
  EXPECT_NE(r.err.find("8 rows: 0 passed, 2 failed, 0 faulted, 6 input errors"), std::string::npos)
      << r.err;
}

// Nothing is written when the command line, a file or a column name is
// bad: exit 2 with the problem named.
TEST_F(Batch, BadFilesAndColumnsStopBeforeAnyOutput) {
  const std::string p = project(0);
  const std::string good = write("good.csv", "sigx\n1\n");
  const std::string unknown = write("unknown.csv", "\ncase;sigx;Sigy\n1;2;3\n");
  const std::string out = (dir / "out.csv").string();
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"batch", p, unknown, "-o", out},
       "orvane-cli: " + unknown +
           ", line 2: column 3 'Sigy' is not an input name (the names "
           "are those of --set)\n"},
      {{"batch", p, (dir / "none.csv").string()},
       "orvane-cli: can't find file - " + (dir / "none.csv").string() + "\n"},
      {{"batch", (dir / "none.cys").string(), good},
       "orvane-cli: can't find file - " + (dir / "none.cys").string() + "\n"},
      {{"batch", p, write("empty.csv", "")},
       "orvane-cli: " + (dir / "empty.csv").string() + ": no header line: the file is empty\n"},
      {{"batch", p, good, "--rows", "5:2"},
       "orvane-cli: --rows expects FROM:TO with 1 <= FROM <= TO (FROM: or :TO), got '5:2'\n"},
      {{"batch", p, good, "--rows", "0:2"},
       "orvane-cli: --rows expects FROM:TO with 1 <= FROM <= TO (FROM: or :TO), got '0:2'\n"},
      {{"batch", p, good, "--rows", "7"},
       "orvane-cli: --rows expects FROM:TO with 1 <= FROM <= TO (FROM: or :TO), got '7'\n"},
      {{"batch", p, good, "--json", "-o", (dir / "r.XLSX").string()},
       "orvane-cli: --json writes JSON Lines, not a workbook; name a file without .xlsx\n"},
      {{"batch", p, good, "--set", "nosuch=1"}, "orvane-cli: unknown name 'nosuch' in --set\n"},
      {{"batch", p, good, "-o", (dir / "no" / "out.csv").string()},
       "orvane-cli: can't save file - " + (dir / "no" / "out.csv").string() + "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliRun r = cli(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.message);
  }
  EXPECT_FALSE(fs::exists(out));
  EXPECT_FALSE(fs::exists(dir / "r.XLSX"));
  EXPECT_EQ(cli({"batch", p}).code, 2);  // no load table
}

// The exit status is that of the worst row: an input error (2) outranks a
// fault (3), which outranks a usage factor above its allowable value (1).
TEST_F(Batch, ExitCodeOfTheWorstRow) {
  const std::string p = project(0);
  const struct {
    const char* rows;
    int code;
  } cases[] = {
      {"10,,0,0,0\n20,,0,0,0\n", 0},
      {"10,,0,0,0\n400,,0,0,0\n", 1},
      {"10,,0,0,0\n400,,0,0,0\n10,0,0,0,0\n", 3},     // t 0: a fault
      {"x,,0,0,0\n400,,0,0,0\n10,0,0,0,0\n", 2},      // ... and an input error
      {"10,,0,0,0\n10,1e40,0,0,0\n400,,0,0,0\n", 2},  // out of range
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    const CliRun r =
        cli({"batch", p, write("loads.csv", std::string("sigx,t,sigy,tau,pd\n") + c.rows)});
    EXPECT_EQ(r.code, c.code) << r.err;
  }
}

// --rows slices of any size concatenate to the whole output, the header
// written once; --jobs changes nothing of the output.
TEST_F(Batch, RowSlicesConcatenateToTheWhole) {
  const std::string p = project(2);
  std::string loads = "case;sigx;sigy;tau;pd\n";
  for (int i = 1; i <= 9000; ++i) {
    loads += "LC" + std::to_string(i) + ";" + std::to_string(i % 300 - 50) + ",5;" +
             std::to_string(i % 90 - 20) + ";" + std::to_string(i % 60) + ";0," +
             std::to_string(i % 5) + "\n";
    if (i % 1000 == 0) loads += "\n";
  }
  const std::string file = write("loads.csv", loads);
  const CliRun whole = cli({"batch", p, file, "--jobs", "1"});
  ASSERT_NE(whole.code, 2) << whole.err;
  EXPECT_EQ(cli({"batch", p, file, "--jobs", "3"}).out, whole.out);
  const std::vector<std::vector<std::string>> splits = {
      {":1", "2:4096", "4097:4097", "4098:"},
      {"1:3000", "3001:6000", "6001:9000", "9001:"},
      {":8999", "9000:9000"},
  };
  for (const auto& split : splits) {
    SCOPED_TRACE(split.front());
    std::string joined;
    for (const std::string& s : split) {
      const CliRun part = cli({"batch", p, file, "--rows", s, "--jobs", "2"});
      EXPECT_EQ(part.code == 2, whole.code == 2);
      joined += part.out;
    }
    EXPECT_EQ(joined, whole.out);
  }
  const std::string header = whole.out.substr(0, whole.out.find('\n') + 1);
  EXPECT_EQ(cli({"batch", p, file, "--rows", "5:5", "--header"}).out.substr(0, header.size()),
            header);
  EXPECT_EQ(cli({"batch", p, file, "--rows", "1:1", "--no-header"}).out.find("row,"),
            std::string::npos);
}

// JSON Lines: every line an object; the last the summary, whose governing
// case of each check is the first row with the largest usage factor and
// whose counts are those of the rows.
TEST_F(Batch, JsonLinesEndInTheSummary) {
  const std::string p = project(2);
  std::string loads = "case,sigx,tau\n";
  for (int i = 0; i < 5000; ++i)
    loads += "c" + std::to_string(i) + "," + std::to_string((i * 37) % 400 - 100) + "," +
             std::to_string(i % 70) + "\n";
  loads += "last,250,60\nfault,x,1\n";
  const CliRun r = cli({"batch", p, write("l.csv", loads), "--json"});
  EXPECT_EQ(r.code, 2);
  const auto lines = jsonLines(r.out);
  ASSERT_EQ(lines.size(), 5003u);
  const json summary = lines.back().at("summary");
  std::map<std::string, std::pair<double, int64_t>> best;
  std::map<std::string, int64_t> notOk, counts;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    const json& row = lines[i];
    EXPECT_FALSE(row.contains("summary"));
    ++counts[row["status"].get<std::string>()];
    for (const auto& [check, keys] : kCheckValues) {
      if (!row.contains(check) || row[check].is_null()) continue;
      const double uf = row[check]["uf"];
      if (!best.count(check) || uf > best[check].first) best[check] = {uf, row["row"]};
      notOk[check] += row[check]["ok"] ? 0 : 1;
    }
  }
  EXPECT_EQ(summary["rows"], 5002);
  EXPECT_EQ(summary["passed"], counts["passed"]);
  EXPECT_EQ(summary["failed"], counts["failed"]);
  EXPECT_EQ(summary["faulted"], counts["faulted"]);
  EXPECT_EQ(summary["input_errors"], 1);
  EXPECT_EQ(summary["exit"], 2);
  ASSERT_EQ(best.size(), 4u);
  for (const auto& [check, b] : best) {
    SCOPED_TRACE(check);
    EXPECT_EQ(summary["checks"][check]["uf"], b.first);
    EXPECT_EQ(summary["checks"][check]["row"], b.second);
    EXPECT_EQ(summary["checks"][check]["case"], lines[b.second - 1]["case"]);
    EXPECT_EQ(summary["checks"][check]["not_ok"], notOk[check]);
  }
  EXPECT_EQ(lines[5001]["inputs"]["sigx"], "x");
  EXPECT_EQ(lines[5000]["inputs"]["sigx"], 250);
}

// The workbook: a zip with the results and the summary sheet.
TEST_F(Batch, WorkbookWithResultsAndSummary) {
  const std::string p = project(0);
  const fs::path book = dir / "results.xlsx";
  const CliRun r = cli(
      {"batch", p,
       write("l.csv",
             "case,sigx,sigy,tau,pd\na,10,0,0,0\nb,400,0,0,0\nc,x,0,0,0\nstorm 0\xB0,20,0,0,0\n"),
       "-o", book.string()});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out, "");
  std::ifstream in(book, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("PK\x03\x04", 4));
  for (const char* part :
       {"xl/workbook.xml", "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml", "xl/styles.xml"})
    EXPECT_NE(bytes.find(part), std::string::npos) << part;
  if (::access("/usr/bin/unzip", X_OK) != 0) GTEST_SKIP() << "no unzip to read the sheets";
  const auto unzip = [&](const std::string& part) {
    const std::string cmd = "/usr/bin/unzip -p '" + book.string() + "' " + part;
    std::string text;
    if (FILE* f = ::popen(cmd.c_str(), "r")) {
      char buf[4096];
      for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
      ::pclose(f);
    }
    return text;
  };
  const std::string workbook = unzip("xl/workbook.xml");
  EXPECT_NE(workbook.find("name=\"Results\""), std::string::npos);
  EXPECT_NE(workbook.find("name=\"Summary\""), std::string::npos);
  const std::string results = unzip("xl/worksheets/sheet1.xml");
  EXPECT_NE(results.find("<pane xSplit=\"2\" ySplit=\"1\""), std::string::npos) << "frozen";
  // shell_uf (G) within its allowable (a, row 2) and above it (b, row 3)
  const auto style = [&](const std::string& cell) {
    const std::string open = "<c r=\"" + cell + "\" s=\"";
    const auto at = results.find(open);
    if (at == std::string::npos) return std::string();
    const auto from = at + open.size();
    return results.substr(from, results.find('"', from) - from);
  };
  EXPECT_NE(style("G2"), "");
  EXPECT_NE(style("G3"), "");
  EXPECT_NE(style("G2"), style("G3"));
  // a Windows-1252 case name is UTF-8 text in the sheet
  EXPECT_NE(results.find("storm 0\xC2\xB0"), std::string::npos);
}

// A table longer than a sheet holds is refused before any row runs, and no
// workbook is left; the old file stays.
TEST_F(Batch, WorkbookRowLimitIsCheckedFirst) {
  const std::string p = project(0);
  std::string text = "sigx\n";
  text.reserve(2 * 1'048'577 + 8);
  for (int i = 0; i < 1'048'576; ++i) text += "1\n";
  const std::string loads = write("long.csv", text);
  const std::string book = write("old.xlsx", "old");
  const CliRun r = cli({"batch", p, loads, "-o", book});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "orvane-cli: " + book + ": " + loads +
                       " holds more than the 1048575 result rows a sheet holds; write CSV or split "
                       "the table with --rows\n");
  std::ifstream in(book);
  std::string kept;
  std::getline(in, kept);
  EXPECT_EQ(kept, "old");
}

// Case names a spreadsheet would run as formulas are neutralised; numbers
// stay numbers; a table in Windows-1252 is read as that, said once.
TEST_F(Batch, CellsThatSpreadsheetsTrust) {
  const std::string p = project(1);
  const std::string loads =
      write("formulas.csv",
            "case,sigx\n\"=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",1\n@SUM(A1),2\n"
            "+cmd,3\n-5,4\n\"\tTAB\",5\nstorm 0\xB0,6\nstorm 90\xB0,7\n");
  const CliRun r = cli({"batch", p, loads});
  ASSERT_LE(r.code, 1) << r.err;
  std::vector<std::string> cases;
  std::istringstream lines(r.out);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) {
    const size_t a = line.find(',') + 1;
    size_t b = a;
    for (bool quoted = false; b < line.size() && (quoted || line[b] != ','); ++b)
      if (line[b] == '"') quoted = !quoted;
    cases.push_back(line.substr(a, b - a));
  }
  const std::vector<std::string> expected = {"\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"",
                                             "'@SUM(A1)",
                                             "'+cmd",
                                             "-5",
                                             "\"'\tTAB\"",
                                             "storm 0\xC2\xB0",
                                             "storm 90\xC2\xB0"};
  EXPECT_EQ(cases, expected);
  const std::string note = " is not UTF-8 text; its case names are read as Windows-1252\n";
  ASSERT_NE(r.err.find(note), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(note), r.err.rfind(note));  // once
}

}  // namespace
