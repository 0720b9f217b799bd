// The row engine against the single check: for every shared vector and a
// spread of rows (loads, geometry, mode switches, empty and bad cells), a
// row's outcome is that of opening the project, storing the same values
// and recalculating, bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "core/calc_trace.hpp"
#include "core/panels.hpp"
#include "opened_vector.hpp"
#include "project/ordered_parallel.hpp"
#include "project/row_engine.hpp"
#include "project/session.hpp"

namespace fs = std::filesystem;
using namespace orvane;

namespace {

const fs::path kVectors = ORVANE_VECTORS;

OpenedProject open(const fs::path& file) { return test::openVector(file.filename().string()); }

// What `check FILE --set ...` computes: the opened project, the values
// stored through the session, one run with all texts.
RowOutcome singleCheck(const OpenedProject& opened, const std::vector<std::string>& columns,
                       const std::vector<std::string>& row, size_t& textNok) {
  ProjectState ps = opened.state;
  RecordingEvents ev;
  Session session(ps, ev);
  bool any = false;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (row[i].empty()) continue;
    any = true;
    if (auto e = session.set(columns[i] + "=" + row[i])) {
      RowOutcome bad;
      bad.inputError = *e;
      bad.inputColumn = static_cast<int>(i);
      return bad;
    }
  }
  std::optional<std::string> fault = opened.fault;
  if (any) {
    session.recalculate();
    fault = session.fault();
  }
  textNok = fault ? 0
                  : failingProfileLines(ps, Member::Stiffener).size() +
                        failingProfileLines(ps, Member::RingFrame).size();
  return outcomeOf(ps, fault);
}

// The same outcome, down to the column of a refused value.
void expectSame(const RowOutcome& got, const RowOutcome& want, const std::string& where) {
  EXPECT_EQ(got.inputColumn, want.inputColumn) << where;
  test::expectSame(got, want, where);
}

// Random rows around the project's own values; now and then an empty cell,
// a mode switch or a value that is not accepted.
std::vector<std::string> randomRow(std::mt19937& rng, const std::vector<std::string>& columns) {
  std::uniform_real_distribution<double> load(-400, 400), scale(0.5, 1.6);
  std::uniform_int_distribution<int> pick(0, 39);
  std::vector<std::string> row;
  for (const std::string& c : columns) {
    const int p = pick(rng);
    if (p == 0) {
      row.emplace_back();
    } else if (p == 1) {
      row.emplace_back(c == "cyltype" ? "1.5" : "abc");
    } else if (c == "cyltype") {
      row.push_back(std::to_string(pick(rng) % 4));
    } else if (c == "ring_ch") {
      row.push_back(std::to_string(pick(rng) % 2));
    } else if (c == "t" || c == "l" || c == "s") {
      const double base = c == "t" ? 20 : c == "l" ? 3000 : 600;
      row.push_back(std::to_string(base * scale(rng)));
    } else {
      row.push_back(std::to_string(load(rng)));
    }
  }
  return row;
}

std::vector<std::string_view> views(const std::vector<std::string>& row) {
  return {row.begin(), row.end()};
}

TEST(RowEngine, EveryRowEqualsItsSingleCheckForEveryVector) {
  const std::vector<std::string> columns = {"sigx", "sigy", "tau", "pd", "N", "M1a",     "M1b",
                                            "M2a",  "M2b",  "t",   "l",  "s", "cyltype", "ring_ch"};
  std::mt19937 rng(20261206);
  int rows = 0, faulted = 0, failed = 0, nok = 0;
  for (const auto& entry : fs::directory_iterator(kVectors / "cases")) {
    const OpenedProject opened = open(entry.path());
    auto engine = RowEngine::create(opened, columns);
    ASSERT_TRUE(engine);
    RowScratch work;
    for (int r = 0; r < 40; ++r) {
      const auto row = randomRow(rng, columns);
      size_t textNok = 0;
      const RowOutcome want = singleCheck(opened, columns, row, textNok);
      const RowOutcome got = engine.value().run(views(row), work);
      expectSame(got, want, entry.path().filename().string() + " row " + std::to_string(r));
      EXPECT_EQ(static_cast<size_t>(got.localNok), textNok) << "flags and NOK lines differ";
      ++rows;
      faulted += got.status() == RowOutcome::Status::Faulted;
      failed += got.status() == RowOutcome::Status::Failed;
      nok += got.localNok > 0;
    }
  }
  // the spread reaches every kind of outcome
  EXPECT_GT(faulted, 0);
  EXPECT_GT(failed, 0);
  EXPECT_GT(nok, 0);
  EXPECT_EQ(rows, 56 * 40);
}

TEST(RowEngine, NumbersAreStoredAsTypedTexts) {
  const OpenedProject opened = open(kVectors / "cases" / "v000.cys");
  auto engine = RowEngine::create(opened, {"sigx", "t", "cyltype"});
  ASSERT_TRUE(engine);
  RowScratch work;
  const std::vector<double> values = {-123.456, 17.3, 2};
  const std::vector<std::string> texts = {"-123.456", "17.3", "2"};
  expectSame(engine.value().run(std::span<const double>(values), work),
             engine.value().run(views(texts), work), "numbers vs texts");
  const std::vector<double> half = {-100, 20, 2.5};
  const RowOutcome bad = engine.value().run(std::span<const double>(half), work);
  EXPECT_EQ(bad.status(), RowOutcome::Status::InputError);
  EXPECT_EQ(bad.inputColumn, 2);
}

TEST(RowEngine, RowsDoNotInheritFromEachOther) {
  // a row that cuts the ring frame's buckling length or faults leaves
  // nothing for the next row: each one equals itself run first
  const OpenedProject opened = open(kVectors / "cases" / "v002.cys");
  const std::vector<std::string> columns = {"ltgi", "t", "l"};
  auto engine = RowEngine::create(opened, columns);
  ASSERT_TRUE(engine);
  const std::vector<std::vector<std::string>> rows = {
      {"100000", "20", "3000"}, {"", "0", ""}, {"600", "25", "1500"}, {"", "", "3000"}};
  std::vector<RowOutcome> alone;
  for (const auto& row : rows) {
    RowScratch fresh;
    alone.push_back(engine.value().run(views(row), fresh));
  }
  RowScratch shared;
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 0; i < rows.size(); ++i)
      expectSame(engine.value().run(views(rows[i]), shared), alone[i], "row " + std::to_string(i));
}

TEST(RowEngine, RowsLeaveTheTextsAndDataOfTheBaseAlone) {
  // the rows put back only the numbers: everything else must stay as the
  // base project has it, whatever the rows did
  for (const char* name : {"v002.cys", "v010.cys", "v031.cys"}) {
    const OpenedProject opened = open(kVectors / "cases" / name);
    auto engine = RowEngine::create(opened, {"cyltype", "ring_ch", "t", "sigx"});
    ASSERT_TRUE(engine);
    RowScratch scratch;
    std::mt19937 rng(7);
    for (int r = 0; r < 50; ++r) {
      const auto row = randomRow(rng, {"cyltype", "ring_ch", "t", "sigx"});
      (void)engine.value().run(views(row), scratch);
    }
    const ProjectState& after = scratch.state();
    EXPECT_EQ(after.fileName, opened.state.fileName);
    EXPECT_EQ(after.mat.name, opened.state.mat.name);
    EXPECT_EQ(after.mat.data, opened.state.mat.data);
    EXPECT_EQ(after.prof.l.row, opened.state.prof.l.row);
    EXPECT_EQ(after.prof.bulb.row, opened.state.prof.bulb.row);
    EXPECT_EQ(after.shellTable.value, opened.state.shellTable.value);
    EXPECT_EQ(after.stiffTable.value, opened.state.stiffTable.value);
    EXPECT_EQ(after.ringTable.label, opened.state.ringTable.label);
    EXPECT_EQ(after.proportion, opened.state.proportion);
    EXPECT_EQ(after.ringLocal, opened.state.ringLocal);
  }
}

TEST(RowEngine, UnknownColumnIsNamed) {
  ProjectState ps;
  const auto engine = RowEngine::create({.state = ps}, {"sigx", "sigz"});
  ASSERT_FALSE(engine);
  EXPECT_NE(engine.error().text().find("'sigz'"), std::string::npos);
}

TEST(RowEngine, ChecksFollowTheMode) {
  ProjectState ps;
  const auto checksFor = [&](int cyltype, int ring, std::vector<std::string> columns) {
    ps.cyltype = static_cast<int16_t>(cyltype);
    ps.ring_ch = static_cast<int16_t>(ring);
    return RowEngine::create({.state = ps}, columns).value().checks().size();
  };
  EXPECT_EQ(checksFor(0, 1, {"sigx"}), 1u);
  EXPECT_EQ(checksFor(1, 1, {"sigx"}), 3u);
  EXPECT_EQ(checksFor(1, 0, {"sigx"}), 1u);
  EXPECT_EQ(checksFor(2, 1, {"sigx"}), 4u);
  EXPECT_EQ(checksFor(3, 1, {"N"}), 3u);
  EXPECT_EQ(checksFor(0, 0, {"cyltype"}), 6u);
}

struct Chunk {
  int first = 0;
  std::vector<int> squares;
};

TEST(OrderedParallel, ChunksComeBackInOrderWhateverTheThreads) {
  for (const int jobs : {1, 2, 5}) {
    int next = 0;
    std::vector<int> seen;
    runOrdered<Chunk>(
        jobs,
        [&](Chunk& c) {
          if (next >= 997) return false;
          c.first = next;
          c.squares.assign(static_cast<size_t>(std::min(7, 997 - next)), 0);
          next += 7;
          return true;
        },
        [](Chunk& c) {
          // uneven work so that chunks finish out of order
          if (c.first % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(50));
          for (size_t i = 0; i < c.squares.size(); ++i) {
            const int v = c.first + static_cast<int>(i);
            c.squares[i] = v * v;
          }
        },
        [&](Chunk& c) { seen.insert(seen.end(), c.squares.begin(), c.squares.end()); });
    ASSERT_EQ(seen.size(), 997u) << jobs;
    for (size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], static_cast<int>(i * i)) << jobs;
  }
}

TEST(OrderedParallel, AFailureInWorkEndsTheStreamAndReachesTheCaller) {
  std::atomic<int> produced = 0;
  EXPECT_THROW(runOrdered<Chunk>(
                   2,
                   [&](Chunk& c) {
                     c.first = produced++;
                     return produced < 100000;
                   },
                   [](Chunk& c) {
                     if (c.first == 10) throw std::runtime_error("disk full");
                   },
                   [](Chunk&) {}),
               std::runtime_error);
  EXPECT_LT(produced.load(), 100000);
}

}  // namespace
