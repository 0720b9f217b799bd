// A shared test vector opened as the headless check opens it: the fixture
// data files, the project (none: the new-project defaults) and its run; and
// two outcomes of a row compared bit for bit (the column of a refused value
// aside: a study's point has one, a single check not).
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <optional>
#include <string>

#include "core/panels.hpp"
#include "project/row_engine.hpp"
#include "project/session.hpp"

namespace orvane::test {

// `name` is a file of vectors/cases, e.g. "v002.cys".
inline OpenedProject openVector(const std::string& name) {
  const std::filesystem::path vectors = ORVANE_VECTORS;
  auto opened = Session::openHeadless(
      {.dataDir = vectors / "data",
       .file = name.empty() ? std::string() : (vectors / "cases" / name).string()});
  EXPECT_TRUE(opened) << name << ": " << (opened ? "" : opened.error().front());
  return opened ? std::move(opened.value()) : OpenedProject{};
}

inline void expectSame(const RowOutcome& got, const RowOutcome& want, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(got.inputError, want.inputError);
  EXPECT_EQ(got.fault, want.fault);
  EXPECT_EQ(got.localLines, want.localLines);
  EXPECT_EQ(got.localNok, want.localNok);
  for (size_t c = 0; c < kCheckCount; ++c) {
    const CheckValue &g = got.checks[c], &w = want.checks[c];
    const char* name = checkName(static_cast<CheckId>(c));
    EXPECT_EQ(g.shown, w.shown) << name;
    EXPECT_EQ(std::bit_cast<uint64_t>(g.uf), std::bit_cast<uint64_t>(w.uf))
        << name << " " << g.uf << " vs " << w.uf;
    EXPECT_EQ(std::bit_cast<uint64_t>(g.allow), std::bit_cast<uint64_t>(w.allow)) << name;
  }
}

}  // namespace orvane::test
