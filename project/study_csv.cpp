#include "project/study_csv.hpp"

#include "project/batch_rows.hpp"

#include <charconv>
#include <ostream>

namespace orvane {

namespace {

std::string number(double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v).ptr;
  return std::string(text, end);
}

}  // namespace

std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void writeSweepHeader(std::ostream& csv, const SweepResult& r) {
  for (const StudyRange& range : r.ranges) csv << range.name << ",";
  for (CheckId c : r.checks) {
    const std::string n = checkName(c);
    csv << n << "_uf," << n << "_allow," << n << "_verdict,";
  }
  std::string alt;
  appendAltHeader(alt, r.checks);
  csv << "local_nok,status,fault" << alt << "\n";
}

void writeSweepRow(std::ostream& csv, const SweepResult& r, const SweepPoint& p) {
  for (size_t i = 0; i < r.ranges.size(); ++i) csv << number(p.values[i]) << ",";
  for (CheckId c : r.checks) {
    const CheckValue& v = p.outcome[c];
    if (v.shown)
      csv << number(v.uf) << "," << number(v.allow) << "," << (v.exceeded() ? "NOK," : "OK,");
    else
      csv << ",,,";
  }
  const std::string fault = p.outcome.fault.empty() ? p.outcome.inputError : p.outcome.fault;
  std::string alt;
  appendAltRow(alt, r.checks, p.outcome.checks);
  csv << p.outcome.localNok << "," << statusName(p.outcome.status()) << "," << csvCell(fault) << alt
      << "\n";
}

}  // namespace orvane
