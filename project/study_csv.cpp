#include "project/study_csv.hpp"

#include "project/batch_rows.hpp"

#include <ostream>

#include "files/load_table.hpp"
#include "model/format.hpp"

namespace orvane {

namespace {

std::string number(double v) { return shortestText(v); }

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
    if (r.forces) csv << n << "_theta," << n << "_sigx," << n << "_tau,";
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
      csv << number(v.uf) << "," << number(v.allow) << "," << verdictWord(v.exceeded()) << ",";
    else
      csv << ",,,";
    if (!r.forces) continue;
    // the governing point, as batch writes it
    const GoverningPoint& g = p.points[static_cast<size_t>(c)];
    if (v.shown && p.outcome.fault.empty() && p.outcome.inputError.empty())
      csv << number(g.theta) << "," << number(g.sigx) << "," << number(g.tau) << ",";
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
