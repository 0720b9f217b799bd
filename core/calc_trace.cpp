#include "core/calc_trace.hpp"

#include <algorithm>

namespace orvane {

TraceStep& CalcTrace::add(TraceStep::Kind kind, const char* id, const char* reference,
                          const TraceOperand* operands, size_t count) {
  TraceStep& s = steps_.emplace_back();
  s.kind = kind;
  s.id = id;
  s.reference = reference;
  const size_t n = std::min(count, s.operands.size());
  for (size_t i = 0; i < n; ++i) s.operands[i] = operands[i];
  s.operandCount = static_cast<uint8_t>(n);
  return s;
}

void CalcTrace::check(const char* id, const char* title, const char* reference) {
  add(TraceStep::Kind::Check, id, reference, nullptr, 0).symbol = title;
}

void CalcTrace::value(const char* id, const char* symbol, const char* reference,
                      const char* formula, const TraceOperand* operands, size_t count,
                      double result, const char* unit, const char* pattern) {
  TraceStep& s = add(TraceStep::Kind::Value, id, reference, operands, count);
  s.symbol = symbol;
  s.formula = formula;
  s.result = result;
  s.unit = unit;
  s.pattern = pattern;
}

void CalcTrace::branch(const char* id, const char* reference, const char* condition,
                       std::initializer_list<TraceOperand> operands, bool held,
                       const char* whenHeld, const char* otherwise) {
  TraceStep& s = add(TraceStep::Kind::Branch, id, reference, operands.begin(), operands.size());
  s.formula = condition;
  s.result = held ? 1 : 0;
  s.taken = held ? whenHeld : otherwise;
  s.otherwise = held ? otherwise : whenHeld;
}

void CalcTrace::verdict(const char* id, const char* symbol, const char* reference, double uf,
                        double allowable) {
  const TraceOperand allow{"allowable", allowable};
  TraceStep& s = add(TraceStep::Kind::Verdict, id, reference, &allow, 1);
  s.symbol = symbol;
  s.result = uf;
  s.pattern = "0.00";
}

void CalcTrace::loop(const char* id, const char* symbol, const char* reference, const char* what,
                     double start, int steps, double end, const char* unit) {
  const TraceOperand ops[] = {{"start", start}, {"steps", double(steps)}, {"end", end}};
  TraceStep& s = add(TraceStep::Kind::Loop, id, reference, ops, 3);
  s.symbol = symbol;
  s.formula = what;
  s.result = end;
  s.unit = unit;
  s.pattern = "0.000E+0";
}

void CalcTrace::note(const char* id, const char* reference, const char* text) {
  add(TraceStep::Kind::Note, id, reference, nullptr, 0).formula = text;
}

}  // namespace orvane
