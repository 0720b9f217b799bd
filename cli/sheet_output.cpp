#include "cli/sheet_output.hpp"

#include <chrono>
#include <ctime>

namespace orvane::cli {

std::string sheetDate() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
#ifdef _WIN32
  gmtime_s(&tm, &now);
#else
  gmtime_r(&now, &tm);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &tm);
  return text;
}

namespace {

const char* kindName(TraceStep::Kind kind) {
  switch (kind) {
    case TraceStep::Kind::Check:
      return "check";
    case TraceStep::Kind::Value:
      return "value";
    case TraceStep::Kind::Branch:
      return "branch";
    case TraceStep::Kind::Verdict:
      return "verdict";
    case TraceStep::Kind::Loop:
      return "loop";
    case TraceStep::Kind::Note:
      return "note";
  }
  return "value";
}

}  // namespace

nlohmann::json stepJson(const TraceStep& s) {
  nlohmann::json j;
  j["id"] = s.id;
  j["kind"] = kindName(s.kind);
  j["symbol"] = s.symbol;
  j["reference"] = s.reference;
  j["formula"] = s.formula;
  nlohmann::json ops = nlohmann::json::array();
  for (size_t i = 0; i < s.operandCount; ++i)
    ops.push_back({{"symbol", s.operands[i].symbol}, {"value", s.operands[i].value}});
  j["operands"] = ops;
  j["result"] = s.result;
  j["unit"] = s.unit;
  if (s.kind == TraceStep::Kind::Branch) {
    j["held"] = s.result != 0;
    j["taken"] = s.taken;
    j["otherwise"] = s.otherwise;
  }
  if (*s.pattern) j["pattern"] = s.pattern;
  return j;
}

nlohmann::json sheetJson(const ProjectState& ps, const CalcTrace& trace,
                         const CheckOutcome& outcome) {
  const nlohmann::json result = resultJson(ps, outcome);
  nlohmann::json j;
  j["file"] = result["file"];
  j["fault"] = result["fault"];
  j["warnings"] = result["warnings"];
  nlohmann::json steps = nlohmann::json::array();
  for (const TraceStep& s : trace.steps()) steps.push_back(stepJson(s));
  j["steps"] = std::move(steps);
  j["values"] = result["values"];
  return j;
}

}  // namespace orvane::cli
