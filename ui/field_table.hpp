// The numeric fields of the main window, described once.
//
// Each entry names the field, the ProjectState value it edits, the display
// pattern, its tests with their warnings and focus rules, whether Enter reads
// the field before moving on, when the calculation runs, and where Enter goes.
// One generic handler in the window works from this table.
#pragma once

#include <array>
#include <span>

#include "model/project_state.hpp"

namespace orvane::ui {

struct FieldCheck {
  enum Kind {
    None,
    AtLeast,        // value >= lo
    Between,        // lo <= value <= hi
    AtMostR,        // s <= r
    AtLeastSpan,    // L >= l
    ShownAtLeast,   // the shown text, read back, >= lo
    RingLengthCap,  // ltgi <= pi*sqrt(r*h); cut back when longer
  };
  Kind kind = None;
  double lo = 0, hi = 0;
  const char* message = "";
  bool focusBackOnLeave = true;
};

// When the calculation runs on leaving the field.
enum class CalcStep {
  AfterStore,   // after the tests (skipped after a type mismatch)
  AfterReport,  // after the mismatch report, before the background is reset
  Last,         // after everything, even after a type mismatch
  UsageFactor,  // only when the test passed; the background stays on failure
};

struct FieldSpec {
  const char* name;
  const char* pattern;
  double (*get)(const ProjectState&);
  void (*set)(ProjectState&, float);
  // The second test runs only when the first passed.
  std::array<FieldCheck, 2> checks;
  bool singlePrecision;  // bounds compared as singles
  bool readsFirst;       // Enter reads and tests before moving on
  CalcStep calc;
  // Enter successors, '|'-separated: the first one shown and enabled.
  const char* next;
};

const FieldSpec* findField(const char* name);

// Enter successors of the lists and the two text fields.
struct EnterStep {
  const char* from;
  const char* next;
};
std::span<const EnterStep> otherEnterSteps();

}  // namespace orvane::ui
