// Which widget of the main window shows which input, and where Enter goes.
//
// The input itself (its pattern, tests, warnings, when the calculation
// runs and the rules of choosing it) is described once, below the window,
// in project/inputs.hpp; this table is the layout part only.
#pragma once

#include <span>

#include "model/input_id.hpp"

namespace orvane::ui {

struct FieldSpec {
  const char* name;  // the line edit's objectName
  InputId input;
  bool readsFirst;  // Enter reads and tests before moving on
  // Enter successors, '|'-separated: the first one shown and enabled.
  const char* next;
};

const FieldSpec* findField(const char* name);
// The fields of the main window, in the table's order.
std::span<const FieldSpec> mainFields();

// The list, option and check-box controls of the inputs that have one.
struct InputControl {
  InputId input;
  const char* name;  // the control's objectName
};
std::span<const InputControl> inputControls();

// Enter successors of the lists and the two text fields.
struct EnterStep {
  const char* from;
  const char* next;
};
std::span<const EnterStep> otherEnterSteps();

}  // namespace orvane::ui
