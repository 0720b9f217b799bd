// The working of one calculation run, step by step, for the calculation
// sheet: what each check computed, in the order it computed it.
//
// The checks record into a CalcTrace only when ProjectState::recorder points
// to one, and only values they have already computed; the trace never forms
// a number of its own. Every text is a string literal of the check that
// records it, so recording allocates nothing beyond the step list.
//
// Notation of symbols and formulas: UTF-8 with "_" and "^" marking a
// subscript or superscript, either one character or a group in braces
// ("f_{Ea}", "Z_l", "t^3", "x^{0.75}"). In a formula "$0".."$9" stand for the
// step's operands: the sheet prints the operands' symbols in their place on
// the formula line and their values on the line below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace orvane {

// Trivial, so that a step's unused operand slots cost no stores.
struct TraceOperand {
  const char* symbol;
  double value;
};

struct TraceStep {
  // The operands beyond operandCount stay unset (see TraceOperand).
  TraceStep() {}  // NOLINT(modernize-use-equals-default): no zeroing of the operands

  enum class Kind : uint8_t {
    Check,    // a check begins: `symbol` holds its panel title
    Value,    // a computed quantity
    Branch,   // a decision: `formula` holds the condition, `result` 1 when it held
    Verdict,  // a usage factor against its allowable value (operand 0)
    Loop,     // an iteration summarised: operands hold start, steps and end
    Note,     // a remark of the check in words (`formula`)
  };
  Kind kind = Kind::Value;
  const char* id = "";
  const char* symbol = "";
  const char* reference = "";
  const char* formula = "";
  std::array<TraceOperand, 10> operands;
  uint8_t operandCount = 0;
  double result = 0;
  const char* unit = "";
  // Branch: the words for the branch taken and for the other one.
  const char* taken = "";
  const char* otherwise = "";
  // The display pattern of the panels ("0.0", "0.00", "0.000E+0"); empty
  // where the panels do not show the value.
  const char* pattern = "";
};

class CalcTrace {
 public:
  CalcTrace() { steps_.reserve(256); }

  void clear() { steps_.clear(); }
  const std::vector<TraceStep>& steps() const { return steps_; }

  void check(const char* id, const char* title, const char* reference);
  void value(const char* id, const char* symbol, const char* reference, const char* formula,
             std::initializer_list<TraceOperand> operands, double result, const char* unit,
             const char* pattern = "") {
    value(id, symbol, reference, formula, operands.begin(), operands.size(), result, unit, pattern);
  }
  void value(const char* id, const char* symbol, const char* reference, const char* formula,
             const TraceOperand* operands, size_t count, double result, const char* unit,
             const char* pattern = "");
  void branch(const char* id, const char* reference, const char* condition,
              std::initializer_list<TraceOperand> operands, bool held, const char* whenHeld,
              const char* otherwise);
  void verdict(const char* id, const char* symbol, const char* reference, double uf,
               double allowable);
  void loop(const char* id, const char* symbol, const char* reference, const char* what,
            double start, int steps, double end, const char* unit);
  void note(const char* id, const char* reference, const char* text);

 private:
  TraceStep& add(TraceStep::Kind kind, const char* id, const char* reference,
                 const TraceOperand* operands, size_t count);
  std::vector<TraceStep> steps_;
};

}  // namespace orvane
