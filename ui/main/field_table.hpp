// Which widget of the main window shows which input, and where Enter goes.
//
// The input itself (its pattern, tests, warnings, when the calculation
// runs and the rules of choosing it) is described once, below the window,
// in project/inputs.hpp; this table is the layout part only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/input_id.hpp"

namespace orvane::ui {

// The main window's text fields: the number fields in the order of the
// table below, then the two text fields, which show no input.
// clang-format off
enum class FieldId : uint8_t {
  icylr, it, il, ie, ifyp, is1, ilt, ifys, icyll, igilt, ifyg, isigx, isigy, itau, ipp,
  icolL, ik1, ik2, inn, ip, im1a, im1b, im2a, im2b, iufb,
  iproj, iident,
};
// clang-format on
inline constexpr size_t kFieldCount = static_cast<size_t>(FieldId::iident) + 1;

struct FieldSpec {
  const char* name;  // the line edit's objectName
  FieldId id;
  InputId input;
  bool readsFirst;  // Enter reads and tests before moving on
  // Enter successors, '|'-separated: the first one shown and enabled.
  const char* next;
};

const FieldSpec* findField(const char* name);
// The number fields of the main window, in the table's order (by FieldId).
std::span<const FieldSpec> mainFields();
// The objectName of a field, number or text.
const char* fieldName(FieldId field);

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
