// The input table: every input of a project described once, and the one way
// a value is stored. The window's fields, `--set`, load-table rows, sweeps,
// the optimiser, Apply and entering a load case all store through here, so
// that the same input gives the same project on every road.
//
// An entry holds the input's `--set` name, where it lives in the state and
// its kind (a number is stored as the single-precision value the window's
// reader returns, whatever the member's kind; lists, options and flags store
// integers), the values it may hold, the tests the window runs when its
// field is left (with their warnings), the display pattern, the project-file
// line and the rules that go with choosing it.
//
// Deliberate differences between typing into the window and the headless
// roads, all of them here and nowhere else:
//  - Text: the window reads the user's number format (a whole number with
//    the user's separator, nothing else); `--set` and load
//    tables read the project-file grammar (decimal point, exponent; a load
//    table with semicolons also a decimal comma).
//  - A value that is no number, lies beyond the single-precision range, or
//    an integer the input cannot hold: the window warns and keeps the old
//    value (its lists offer only what they hold); `--set` refuses it (exit
//    2), a row reports an input error and does not run.
//  - A failed test: the window stores the value, warns in a message box and
//    sends the focus back to the field (every test alike); the headless
//    roads store the value the same way (clamps included) and report the
//    warning (`check` on standard error); rows keep it silently.
//  - Steps: every typed value, button or list choice is one step (stored,
//    then one calculation run unless the input's rule says otherwise, then
//    the rules that follow a run); each `--set` is such a step, and so is
//    each cell of a load-table row or a study's point, in column order (only
//    consecutive loads outside the column mode share one run: InputDef::load).
//    Apply and entering a load case store the values without a field first,
//    then type each field's value as the user would.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/project_lines.hpp"
#include "model/input_id.hpp"
#include "model/project_state.hpp"

namespace orvane {

// A test the window runs on a stored value when its field is left.
struct InputCheck {
  enum class Kind : uint8_t {
    None,
    AtLeast,        // value >= lo
    Between,        // lo <= value <= hi
    AtMostR,        // s <= r
    AtLeastSpan,    // L >= l (not in column mode, whose L is the column's)
    ShownAtLeast,   // the value as shown with the pattern, read back, >= lo
    RingLengthCap,  // ltgi <= pi*sqrt(r*h); a longer one is cut back
    BelowClamps,    // value >= lo, else lo is stored (built-up tw, tf, ...)
  };
  Kind kind = Kind::None;
  double lo = 0, hi = 0;
  const char* message = "";  // warned about; the focus then returns to the field
};

// When the window runs the calculation after its field is left.
enum class CalcStep : uint8_t {
  AfterStore,   // after the tests (skipped after a type mismatch)
  AfterReport,  // after the mismatch report, before the background is reset
  Last,         // after everything, even after a type mismatch
  UsageFactor,  // only when the test passed
};

// What choosing a value does beyond storing it.
enum class InputRule : uint8_t {
  None,
  ColumnLength,       // cyltype: after the run the column takes l = L
  LrfdUsageFactor,    // wsd: LRFD sets ufb = 1.0
  RingControl,        // ring_ch: off clears hring_ch
  HeavyRingControl,   // hring_ch: only with ring_ch on
  PlateMaterial,      // matp, mats, matg: a material row looks up its strength
  StiffenerMaterial,  //   (the user-defined row keeps the typed strength);
  RingMaterial,       //   a look-up that faults stores the row and runs nothing
  StiffenerType,      // cbostiff, cboring: after the run the chosen type's
  RingType,           //   section is computed, as its profile window shows it
};

enum class InputKind : uint8_t { Number, Integer };

struct InputDef {
  InputId id;
  std::string_view name;  // `--set` name and load-table column
  InputKind kind;
  double (*get)(const ProjectState&);
  // Number: stores float(value) in the member's kind; Integer: int16_t.
  void (*set)(ProjectState&, double);
  void (*setExact)(ProjectState&, double);  // a clamp's limit, not rounded
  const char* pattern;                      // display pattern of its field; null without a field
  std::array<InputCheck, 2> checks;         // the second runs only when the first passed
  bool singleBounds;                        // test bounds compared as singles
  CalcStep calc;
  Domain domain;  // integers: the values it may hold
  int fileLine;   // line of the project file; 0: not saved
  InputRule rule;
  // A load (sigx, sigy, tau, pd, N, M1a ... M2b). Outside the column mode a
  // run keeps nothing of a load for the next run: every value it derives
  // from one is derived again before it is read, and no check's running
  // depends on one. So a row's consecutive loads need only the run of the
  // last. The column check clears sigy and tau, so there each load runs.
  bool load = false;
};

// The whole table, in the order of InputId.
std::span<const InputDef> inputTable();
const InputDef& inputDef(InputId id);
// The input called `name` (case-sensitive); none when there is no such input.
const InputDef* findInput(std::string_view name);

// A value read from text in the project-file grammar: the number, or why it
// is none (not a number, out of range), naming the input.
struct InputValue {
  double value = 0;
  std::optional<std::string> problem;
};
InputValue readInputText(const InputDef& in, std::string_view text);

// What storing one value did.
struct Stored {
  std::optional<std::string> refused;  // not stored, and why
  int failed = -1;                     // index of the test that failed
  std::string warning;                 // its warning, as the window shows it
  bool runs = true;                    // a calculation run follows
};

// Stores `value` as the window stores a typed or chosen value: kind and
// allowed values, the field's tests (a clamp included) and the rules that
// come before the run. `refused` leaves the state as it was.
// `text`, when given, is how a refusal names the value.
Stored storeInput(ProjectState& ps, const InputDef& in, double value, std::string_view text = {});

// The input's rules that follow the calculation run of its step; `texts`
// as the run's (a profile's lines and designation are left as they are
// without).
void afterRun(ProjectState& ps, const InputDef& in, bool texts = true);

// Only the number and integer checks of `value` (no tests, no rules): the
// problem, or none when storeInput would store it.
std::optional<std::string> refusal(const ProjectState& ps, const InputDef& in, double value,
                                   std::string_view text = {});

// "NAME=VALUE" split into the input and its value, or the problem.
struct Assignment {
  const InputDef* input = nullptr;
  double value = 0;
  std::string_view text;  // the value's text
};
std::optional<std::string> parseAssignment(std::string_view text, Assignment& out);

}  // namespace orvane
