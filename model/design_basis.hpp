// Design basis shared by the checks: Poisson's ratio and pi as the program
// has always used them, and the elastic buckling strength of DNV-RP-C202.
#pragma once

#include <cmath>

#include "model/checked.hpp"
#include "model/format.hpp"
#include "model/project_state.hpp"

namespace orvane {

// pi as the single-precision value of 3.141593 (shell, stiffener, column and
// length checks) and of 3.1415927 (ring-frame torsion, special Ih).
inline const float kPIs = 3.141593f;
inline const float kPIr = 3.1415927f;

// 1 - nu^2 with nu = 0.3, formed in double precision (0.91).
inline const double kNu2 = 1.0 - std::pow(0.3, 2.0);

// Square of a value in double precision (also of a single argument).
inline double sq(double x) { return checked::fin(std::pow(x, 2.0)); }

// Writes one line of a result table (into the strings' existing storage: the
// tables are rewritten on every run).
inline void setLine(ResultTable& tab, int i, std::string_view label, std::string value,
                    std::string_view unit) {
  tab.label[i].assign(label);
  tab.value[i] = std::move(value);
  tab.unit[i].assign(unit);
}

}  // namespace orvane
