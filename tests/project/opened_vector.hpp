// A shared test vector opened as the headless check opens it: the fixture
// data files, the project (none: the new-project defaults) and its run.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "project/session.hpp"

namespace orvane::test {

struct Opened {
  ProjectState ps;
  std::optional<std::string> fault;  // of the opening run
};

// `name` is a file of vectors/cases, e.g. "v002.cys".
inline Opened openVector(const std::string& name) {
  const std::filesystem::path vectors = ORVANE_VECTORS;
  Opened o;
  RecordingEvents ev;
  Session session(o.ps, ev);
  const auto problems = session.openHeadless(
      vectors / "data", name.empty() ? std::string() : (vectors / "cases" / name).string());
  EXPECT_TRUE(problems.empty()) << name << ": " << (problems.empty() ? "" : problems.front());
  o.fault = session.fault();
  return o;
}

}  // namespace orvane::test
