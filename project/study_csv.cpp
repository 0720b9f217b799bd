#include "project/study_csv.hpp"

#include <charconv>
#include <ostream>

#include "files/load_table.hpp"

namespace orvane {

namespace {

std::string number(double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v).ptr;
  return std::string(text, end);
}

}  // namespace

std::string csvCell(const std::string& text) {
  std::string cell;
  appendResultCell(cell, text);
  return cell;
}

void writeSweepHeader(std::ostream& csv, const SweepResult& r) {
  for (const StudyRange& range : r.ranges) csv << range.name << ",";
  for (CheckId c : r.checks) {
    const std::string n = checkName(c);
    csv << n << "_uf," << n << "_allow," << n << "_verdict,";
  }
  csv << "local_nok,status,fault\n";
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
  csv << p.outcome.localNok << "," << statusName(p.outcome.status()) << "," << csvCell(fault)
      << "\n";
}

}  // namespace orvane
