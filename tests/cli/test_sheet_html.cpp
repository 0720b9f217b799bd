// The HTML calculation sheet of every cylinder type in both design formats:
// well formed, in the order the program runs its checks, with each check's
// verdict in the panels' colours and no working row without its reference.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli_run.hpp"
#include "core/sheet_markup.hpp"

namespace {

using orvane::test::CliRun;

CliRun sheet(std::vector<std::string> args) {
  args.insert(args.begin(), "sheet");
  return orvane::test::cli(args);
}

// The first problem of the tag structure, empty when every element is
// closed in order (void elements br and meta excepted).
std::string tagProblem(const std::string& html) {
  std::vector<std::string> open;
  const std::regex tag("<(/?)([a-zA-Z0-9]+)[^>]*>");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), tag); it != std::sregex_iterator();
       ++it) {
    const std::string name = (*it)[2];
    if (name == "br" || name == "meta") continue;
    if ((*it)[1].length() == 0) {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      return "</" + name + "> closes <" + (open.empty() ? "nothing" : open.back()) + ">";
    } else {
      open.pop_back();
    }
  }
  return open.empty() ? "" : "<" + open.back() + "> left open";
}

struct Mode {
  int cyltype, wsd;
  std::vector<std::string> titles;  // the checks, in run order
};

class SheetMode : public ::testing::TestWithParam<Mode> {};

TEST_P(SheetMode, RendersEveryCheckInOrder) {
  const Mode m = GetParam();
  const CliRun s = sheet({"--set", "hring_ch=1", "--set", "wsd=" + std::to_string(m.wsd), "--set",
                          "cyltype=" + std::to_string(m.cyltype)});
  ASSERT_NE(s.code, 2) << s.err;
  EXPECT_EQ(tagProblem(s.out), "");
  size_t at = 0;
  for (const std::string& t : m.titles) {
    const size_t found = s.out.find("<h2>" + t + "</h2>", at);
    ASSERT_NE(found, std::string::npos) << t;
    at = found;
  }
  EXPECT_NE(s.out.find(m.wsd ? ">WSD</td>" : ">LRFD</td>"), std::string::npos);
  EXPECT_NE(s.out.find("<h2>Method notes</h2>"), std::string::npos);
  // a verdict in green or red on every check that has one
  const std::regex verdict("color:#(008000|800000); font-weight:bold;\">UF");
  EXPECT_GE(std::distance(std::sregex_iterator(s.out.begin(), s.out.end(), verdict),
                          std::sregex_iterator()),
            m.cyltype == 3   ? 5
            : m.cyltype == 2 ? 4
                             : 3);
  // every working row ends in a reference cell that is not empty
  const std::regex row("<tr class=\"row\">.*?<font color=\"#505050\">([^<]*)</font></td></tr>");
  int rows = 0;
  for (auto it = std::sregex_iterator(s.out.begin(), s.out.end(), row);
       it != std::sregex_iterator(); ++it, ++rows)
    EXPECT_FALSE((*it)[1].str().empty()) << (*it)[0];
  EXPECT_GT(rows, 30);
}

// Each cylinder type under LRFD and WSD with its checks in run order; the
// heavy ring frame's is looked for on the LRFD unstiffened cylinder.
std::vector<Mode> modes() {
  const std::string shell = "Shell Buckling: (Ch 3.4.2)", ring = "Panel Ring Buckling: (Ch 3.5.2)",
                    column = "Global Buckling: (Ch 3.8)";
  const std::vector<std::string> checks[] = {
      {shell, ring},
      {shell, ring},
      {"Shell Buckling: (Ch 3.3.2)", "Stiffener Buckling: (Ch 3.6.3)", ring},
      {column + ", section and bending stress", shell, column, ring}};
  std::vector<Mode> out;
  for (int type = 0; type < 4; ++type) {
    for (int wsd : {0, 1}) {
      Mode m{type, wsd, {"Design stresses"}};
      m.titles.insert(m.titles.end(), checks[type].begin(), checks[type].end());
      if (type == 0 && wsd == 0) m.titles.push_back("Heavy ring frame");
      out.push_back(m);
    }
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(Modes, SheetMode, ::testing::ValuesIn(modes()), [](const auto& m) {
  return "cyl" + std::to_string(m.param.cyltype) + (m.param.wsd ? "_WSD" : "_LRFD");
});

TEST(SheetCommand, JsonHoldsTheStepsAndTheValues) {
  const CliRun s = sheet({"--json"});
  ASSERT_NE(s.code, 2) << s.err;
  const nlohmann::json j = nlohmann::json::parse(s.out);
  ASSERT_TRUE(j["steps"].is_array());
  const nlohmann::json* uf = nullptr;
  for (const auto& step : j["steps"]) {
    for (const char* k : {"id", "kind", "symbol", "reference", "formula", "operands", "result"})
      EXPECT_TRUE(step.contains(k)) << k;
    if (step["id"] == "shell.UF") uf = &step;
  }
  ASSERT_TRUE(uf);
  EXPECT_EQ((*uf)["result"], j["values"]["UF"]);
  EXPECT_EQ((*uf)["pattern"], "0.00");
}

TEST(SheetCommand, BadInputEndsWithAMessage) {
  const CliRun many = sheet({"a.cys", "b.cys"});
  EXPECT_EQ(many.code, 2);
  const CliRun missing = sheet({"no-such.cys"});
  EXPECT_EQ(missing.code, 2);
  EXPECT_EQ(missing.err, "orvane-cli: can't find file - no-such.cys\n");
  const CliRun badSet = sheet({"--set", "t=abc"});
  EXPECT_EQ(badSet.code, 2);
  const CliRun unwritable = sheet({"-o", "/no/such/folder/sheet.html"});
  EXPECT_EQ(unwritable.code, 2);
  EXPECT_EQ(unwritable.err, "orvane-cli: can't save file - /no/such/folder/sheet.html\n");
}

// Section forces: the sheet converts them at the point a sweep of the same
// forces finds for each check, and works the run of one of those points.
TEST(SheetCommand, SectionForcesAtEachChecksGoverningPoint) {
  const CliRun s =
      sheet({"--set", "pd=-0.2", "--forces", "N=-8000,M1=20000,M2=15000,T=9000,Q1=2000"});
  ASSERT_NE(s.code, 2) << s.err;
  EXPECT_EQ(tagProblem(s.out), "");
  const CliRun swept = orvane::test::cli({"sweep", "--vary", "N=-8000:-8000:1", "--set", "pd=-0.2",
                                          "--set", "M1=20000", "--set", "M2=15000", "--set",
                                          "T=9000", "--set", "Q1=2000", "--json"});
  ASSERT_EQ(swept.code, 0) << swept.err;
  const nlohmann::json point = nlohmann::json::parse(swept.out.substr(0, swept.out.find('\n')));
  const std::regex stored("stored ([-0-9.e]+)");
  std::vector<double> sheetValues;
  for (auto it = std::sregex_iterator(s.out.begin(), s.out.end(), stored);
       it != std::sregex_iterator(); ++it)
    sheetValues.push_back(std::stod((*it)[1]));
  std::vector<double> sweepValues;
  for (const char* check : {"shell", "stiffener", "ring_area", "ring_inertia"})
    for (const char* v : {"sigx", "tau"}) sweepValues.push_back(point["checks"][check][v]);
  EXPECT_EQ(sheetValues, sweepValues);
  EXPECT_NE(s.out.find("(the working below is that of this point)"), std::string::npos);

  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"--forces", "X=2"}, "NAME among N M1 M2 T Q1 Q2"},
      {{"--forces", "M1=1", "--json"}, "not --json"},
      {{"--set", "cyltype=3", "--forces", "M1=1"}, "section forces are loads of the shell modes"},
  };
  for (const auto& [args, says] : refused) {
    const CliRun r = sheet(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
  }
}

TEST(SheetMarkup, SubscriptsSuperscriptsAndNumbers) {
  const struct {
    const char* in;
    const char* html;
  } marks[] = {
      {"f_{Ea}", "f<sub>Ea</sub>"},
      {"Z_l^2", "Z<sub>l</sub><sup>2</sup>"},
      {"f_{kcd1} < 1 & ok", "f<sub>kcd1</sub> &lt; 1 &amp; ok"},
      {"τ_{Sd}", "τ<sub>Sd</sub>"},
      {"x^{−0.5}", "x<sup>−0.5</sup>"},
      {"λ̄_s", "λ̄<sub>s</sub>"},
  };
  for (const auto& m : marks) EXPECT_EQ(orvane::markupHtml(m.in), m.html) << m.in;
  const struct {
    double v;
    const char* text;
  } numbers[] = {{3333, "3333"},
                 {0.70214, "0.7021"},
                 {123.45, "123.5"},
                 {-12.5, "−12.5"},
                 {0, "0"},
                 {210000, "2.1·10^{5}"},
                 {1.0456e8, "1.046·10^{8}"},
                 {0.000412, "4.12·10^{−4}"},
                 {1.15, "1.15"}};
  for (const auto& n : numbers) EXPECT_EQ(orvane::sigDigits(n.v), n.text) << n.v;

  // the numbers line keeps negative values and powers of ten as one factor
  orvane::TraceStep step;
  step.formula = "$0/$1·$2 + $3";
  step.operands[0] = {"M_{1a}", -200};
  step.operands[1] = {"W", 6.98e8};
  step.operands[2] = {"k", 1e6};
  step.operands[3] = {"x", 0.5};
  step.operandCount = 4;
  EXPECT_EQ(orvane::fillFormula(step, false), "M_{1a}/W·k + x");
  EXPECT_EQ(orvane::fillFormula(step, true), "(−200)/(6.98·10^{8})·(1·10^{6}) + 0.5");
  step.operandCount = 3;  // a placeholder without its operand is left out
  EXPECT_EQ(orvane::fillFormula(step, true), "(−200)/(6.98·10^{8})·(1·10^{6}) + ");
}

}  // namespace
