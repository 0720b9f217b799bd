// A project as the program holds it after start-up: defaults, the shipped
// data files, one calculation run.
#pragma once

#include <gtest/gtest.h>

#include "core/calc_driver.hpp"
#include "sections/data_files.hpp"

namespace orvane::test {

inline ProjectState startedState() {
  ProjectState ps;
  assignDefaults(ps);
  EXPECT_TRUE(loadDataFiles(ps, ORVANE_SHIPPED_DATA).empty());
  refreshValues(ps);
  RecordingEvents ev;
  calcDriver(ps, ev);
  return ps;
}

// Selects the user-defined material row for all three parts with the given
// yield strength, so that no look-up changes it.
inline void userMaterial(ProjectState& ps, double fy) {
  ps.matp = ps.mats = ps.matg = ps.mat.count;
  ps.fyp = ps.fys = ps.fyg = fy;
}

}  // namespace orvane::test
