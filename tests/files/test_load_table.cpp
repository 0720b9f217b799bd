// Load tables as spreadsheets export them: the separators, the byte-order
// mark, decimal commas, quoted case names, and the records a reader must
// refuse with the file, line and column named.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/load_table.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

struct Parsed {
  const char* what;
  std::string text;
  char separator;
  std::vector<std::string> inputs;
  bool hasCase;
  std::vector<std::string> names;                // of the cases, in order
  std::vector<std::vector<std::string>> values;  // of the cases
  std::vector<int64_t> lines;                    // file lines of the cases
};

TEST(LoadTable, ReadsWhatSpreadsheetsExport) {
  const Parsed cases[] = {
      {"comma, case column first",
       "case,sigx,sigy\nstorm,10,20\noperating,1.5,-2e3\n",
       ',',
       {"sigx", "sigy"},
       true,
       {"storm", "operating"},
       {{"10", "20"}, {"1.5", "-2e3"}},
       {2, 3}},
      {"semicolon with decimal commas; the case names keep their comma and CRLF",
       "sigx;case;tau\r\n1,5;\"storm, 0°\";-0,25\r\n1e2;\"two\r\nlines\";0,5\r\n",
       ';',
       {"sigx", "tau"},
       true,
       {"storm, 0°", "two\r\nlines"},
       {{"1.5", "-0.25"}, {"1e2", "0.5"}},
       {2, 3}},
      {"tab, no case column, blanks around cells",
       "sigx\tsigy \n 1 \t 2\n",
       '\t',
       {"sigx", "sigy"},
       false,
       {""},
       {{"1", "2"}},
       {2}},
      {"a comma stays a comma with comma separators (it splits)",
       "sigx,sigy\n1,5\n",
       ',',
       {"sigx", "sigy"},
       false,
       {""},
       {{"1", "5"}},
       {2}},
      {"byte-order mark, blank lines and separator-only lines skipped",
       "\xEF\xBB\xBF\n\nCase;sigx\n\n;;\n  \nA;1\n\n",
       ';',
       {"sigx"},
       true,
       {"A"},
       {{"1"}},
       {7}},
      {"quoted names with separators, doubled quotes and a line break",
       "case,pd\n\"a,b\",1\n\"say \"\"hi\"\"\",2\n\"two\nlines\",3\nlast,4",
       ',',
       {"pd"},
       true,
       {"a,b", "say \"hi\"", "two\nlines", "last"},
       {{"1"}, {"2"}, {"3"}, {"4"}},
       {2, 3, 4, 6}},
      {"empty cells stay empty (the project's value)",
       "case,sigx,tau\nx,,3\ny,4,\n",
       ',',
       {"sigx", "tau"},
       true,
       {"x", "y"},
       {{"", "3"}, {"4", ""}},
       {2, 3}},
      {"a header alone: no cases", "sigx,sigy\r\n", ',', {"sigx", "sigy"}, false, {}, {}, {}},
      {"a single column has no separator to find",
       "t\n0.01\n",
       ',',
       {"t"},
       false,
       {""},
       {{"0.01"}},
       {2}},
  };
  for (const Parsed& c : cases) {
    SCOPED_TRACE(c.what);
    const auto reader = LoadTableReader::fromText(c.text, "loads.csv");
    ASSERT_TRUE(reader) << reader.error();
    EXPECT_EQ(reader.value().header().separator, c.separator);
    const auto table = parseLoadTable(c.text, "loads.csv");
    ASSERT_TRUE(table) << table.error();
    EXPECT_EQ(table.value().inputs, c.inputs);
    EXPECT_EQ(table.value().hasCase, c.hasCase);
    ASSERT_EQ(table.value().cases.size(), c.values.size());
    for (size_t i = 0; i < c.values.size(); ++i) {
      EXPECT_EQ(table.value().cases[i].name, c.names[i]);
      EXPECT_EQ(table.value().cases[i].values, c.values[i]);
      EXPECT_EQ(table.value().cases[i].line, c.lines[i]);
    }
  }
}

TEST(LoadTable, RefusesDamagedRecordsNamingLineAndColumn) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "loads.csv: no header line: the file is empty"},
      {"\n\n \n", "loads.csv: no header line: the file is empty"},
      {"sigx,,tau\n", "loads.csv, line 1: column 2 has no name"},
      {"sigx,tau,sigx\n", "loads.csv, line 1: column 3: 'sigx' is named twice"},
      {"case,sigx,CASE\n", "loads.csv, line 1: column 3: a second case column"},
      {"\"sigx\nx", "loads.csv, line 1: a quoted name is not closed"},
      {"sigx,tau\n1,2,3\n",
       "loads.csv, line 2: column 3: the row has more cells than the header's 2 columns"},
      {"sigx,tau\n\n1\n",
       "loads.csv, line 3: column 2 (tau): the row has 1 cells, the header 2 columns"},
      {"case,tau\n\"a\"b,1\n",
       "loads.csv, line 2: column 1 (case): text after the closing quote of a cell"},
      {"case,tau\na\"b,1\n", "loads.csv, line 2: column 1 (case): a quote inside an unquoted cell"},
      {"case,tau\nx,1\n\"open,2\n",
       "loads.csv, line 3: a quoted cell is not closed at the end of the file"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    const auto table = parseLoadTable(text, "loads.csv");
    ASSERT_FALSE(table);
    EXPECT_EQ(table.error().text(), message);
  }
}

struct TempDir {
  fs::path path = fs::temp_directory_path() / ("orvane-loads-" + std::to_string(::getpid()));
  TempDir() { fs::create_directories(path); }
  ~TempDir() { fs::remove_all(path); }
};

// Records that straddle the reader's block boundaries, read in blocks of
// any size, come out whole and in order with their lines.
TEST(LoadTable, StreamsLongFilesInBlocks) {
  TempDir dir;
  const fs::path file = dir.path / "long.csv";
  constexpr int kRows = 150000;  // several read blocks of the reader
  {
    std::ofstream out(file, std::ios::binary);
    out << "case;sigx;tau\r\n";
    for (int i = 0; i < kRows; ++i) {
      out << "\"row;" << i << "\";" << i << ",5;-" << i << "\r\n";
      if (i % 1000 == 0) out << "\r\n";  // blank lines move the line numbers
    }
  }
  auto reader = LoadTableReader::open(file);
  ASSERT_TRUE(reader) << reader.error();
  RecordBlock block;
  std::vector<std::string_view> fields;
  int row = 0;
  int64_t line = 2;
  for (const size_t blockSize : {1u, 7u, 4096u, 100000u}) {
    for (int turn = 0; turn < 3; ++turn) {
      block.clear();
      const auto more = reader.value().read(block, blockSize);
      ASSERT_TRUE(more) << more.error();
      for (const LoadRecord& r : block.records) {
        ASSERT_FALSE(splitRecord(block.data(r), r.size, reader.value().header(), fields));
        ASSERT_EQ(fields[0], "row;" + std::to_string(row));
        ASSERT_EQ(fields[1], std::to_string(row) + ".5");
        ASSERT_EQ(fields[2], "-" + std::to_string(row));
        ASSERT_EQ(r.line, line);
        line += row % 1000 == 0 ? 2 : 1;
        ++row;
      }
    }
  }
  block.clear();
  while (true) {
    const auto more = reader.value().read(block, 50000);
    ASSERT_TRUE(more);
    if (!more.value()) break;
  }
  EXPECT_EQ(row + static_cast<int>(block.records.size()), kRows);
}

TEST(LoadTable, BoundsTheLengthOfARecord) {
  TempDir dir;
  const fs::path file = dir.path / "wide.csv";
  {
    std::ofstream out(file, std::ios::binary);
    out << "case,sigx\nfine,1\n" << std::string(kMaxLoadRecord - 2, 'x') << ",1\n";
    out << std::string(kMaxLoadRecord, 'y') << ",2\nnever,3\n";
  }
  auto reader = LoadTableReader::open(file);
  ASSERT_TRUE(reader);
  RecordBlock block;
  const auto more = reader.value().read(block, 10);
  ASSERT_FALSE(more);
  EXPECT_EQ(more.error().text(), file.string() + ", line 4: the line is longer than 65536 bytes");
  EXPECT_EQ(block.records.size(), 2u);  // the longest allowed line was read
}

// A stray quote at the start of a cell runs the cell on over the lines
// below: said as what it likely is, not as a long line.
TEST(LoadTable, StrayQuoteIsSaidAsOne) {
  std::string text = "case,sigx\nfine,1\n\"stray,2\n";
  for (int i = 0; i < 10000; ++i) text += "row" + std::to_string(i) + ",1\n";
  auto reader = LoadTableReader::fromText(text, "t.csv");
  ASSERT_TRUE(reader);
  RecordBlock block;
  const auto more = reader.value().read(block, 100000);
  ASSERT_FALSE(more);
  EXPECT_EQ(more.error().text(),
            "t.csv, line 3: a quote opens a cell that is not closed within 65536 bytes (a stray "
            "quote at the start of a cell?)");
}

TEST(LoadTable, OpeningNamesTheFile) {
  TempDir dir;
  const auto missing = LoadTableReader::open(dir.path / "none.csv");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().text(), "can't find file - " + (dir.path / "none.csv").string());
  const auto folder = readLoadTable(dir.path);
  ASSERT_FALSE(folder);
  EXPECT_EQ(folder.error().text(), dir.path.string() + ": not a file");
}

// What the window stores beside a project reads back as it was, whatever
// the names hold.
TEST(LoadTable, WrittenTablesReadBack) {
  TempDir dir;
  LoadTable table;
  table.inputs = {"sigx", "tau", "pd"};
  table.cases = {{"storm, 0°", {"1.5", "", "-2e-3"}, 0},
                 {"say \"hi\"", {"1", "2", "3"}, 0},
                 {" padded ", {"4", "5", "6"}, 0},
                 {"two\r\nlines", {"7", "8", "9"}, 0},
                 {"", {"0", "0", "0"}, 0}};
  const std::string text = loadTableText(table);
  EXPECT_EQ(text.substr(0, text.find('\n')), "case,sigx,tau,pd");
  EXPECT_NE(text.find("\"storm, 0°\",1.5,,-2e-3\n"), std::string::npos);
  const fs::path file = dir.path / "p.loads.csv";
  ASSERT_TRUE(writeLoadTable(file, table));
  const auto back = readLoadTable(file);
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(back.value().inputs, table.inputs);
  ASSERT_EQ(back.value().cases.size(), table.cases.size());
  for (size_t i = 0; i < table.cases.size(); ++i) {
    EXPECT_EQ(back.value().cases[i].name, table.cases[i].name);
    EXPECT_EQ(back.value().cases[i].values, table.cases[i].values);
  }

  table.hasCase = false;
  table.cases = {{"", {"1", "2", "3"}, 0}};
  EXPECT_EQ(loadTableText(table, ';'), "sigx;tau;pd\n1;2;3\n");
  EXPECT_FALSE(writeLoadTable(dir.path / "no" / "such.csv", table));
}

}  // namespace
}  // namespace orvane
