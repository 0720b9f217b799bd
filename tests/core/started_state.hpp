// A project as the program holds it after start-up: defaults, the shipped
// data files, one calculation run.
#pragma once

#include <gtest/gtest.h>

#include "core/calc_driver.hpp"
#include "project/session.hpp"

namespace orvane::test {

inline ProjectState startedState() {
  ProjectState ps;
  RecordingEvents ev;
  Session session(ps, ev);
  EXPECT_TRUE(session.startUp(ORVANE_SHIPPED_DATA).empty());
  EXPECT_FALSE(session.fault());
  return ps;
}

// Selects the user-defined material row for all three parts with the given
// yield strength, so that no look-up changes it.
inline void userMaterial(ProjectState& ps, double fy) {
  ps.matp = ps.mats = ps.matg = ps.mat.count;
  ps.fyp = ps.fys = ps.fyg = fy;
}

// Runs the checks as the program does after every change.
inline void calc(ProjectState& ps) {
  RecordingEvents ev;
  calcDriver(ps, ev);
}

}  // namespace orvane::test
