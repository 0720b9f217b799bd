#include "project/batch_rows.hpp"

#include <charconv>
#include <cmath>

#include "files/input_text.hpp"
#include "files/load_table.hpp"
#include "model/format.hpp"
#include "model/text_encoding.hpp"

namespace orvane {

namespace {

void appendInt(std::string& out, int64_t value) {
  char buf[24];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  out.append(buf, static_cast<size_t>(end - buf));
}

// A JSON string; bytes that are not UTF-8 become U+FFFD.
void appendJsonString(std::string& out, std::string_view s) {
  static const char* const kHex = "0123456789abcdef";
  out += '"';
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      const size_t n = utf8Length(s, i);
      if (n == 0) {
        out += "\\ufffd";
        ++i;
      } else {
        out.append(s.substr(i, n));
        i += n;
      }
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  out += '"';
}

// A number in JSON; JSON has no infinity or NaN.
void appendJsonNumber(std::string& out, double value) {
  if (std::isfinite(value))
    appendShortest(out, value);
  else
    out += "null";
}

}  // namespace

void appendAltHeader(std::string& out, const std::vector<CheckId>& checks) {
  for (const CheckId c : checks) {
    out += ',';
    out += checkName(c);
    out += "_uf_alt";
  }
}

void appendAltRow(std::string& out, const std::vector<CheckId>& checks,
                  const std::array<CheckValue, kCheckCount>& values) {
  for (const CheckId id : checks) {
    const CheckValue& c = values[static_cast<size_t>(id)];
    out += ',';
    if (c.shown && c.hasAlt) appendShortest(out, c.ufAlt);
  }
}

std::string csvHeader(const BatchColumns& columns) {
  std::string h = "row,case";
  for (const std::string& name : columns.inputs) {
    h += ',';
    appendField(h, name, ',');
  }
  for (const CheckId c : columns.checks) {
    const std::string name = checkName(c);
    h += "," + name + "_uf," + name + "_allow," + name + "_verdict";
    if (columns.forces) h += "," + name + "_theta," + name + "_sigx," + name + "_tau";
  }
  h += ",local_buckling,fault";
  appendAltHeader(h, columns.checks);
  return h + "\n";
}

void appendCsvRow(std::string& out, const BatchColumns& columns, const BatchRow& row) {
  const RowOutcome& o = *row.outcome;
  appendInt(out, row.row);
  out += ',';
  appendResultCell(out, row.caseName);
  for (size_t i = 0; i < columns.inputs.size(); ++i) {
    out += ',';
    if (i < row.inputs.size()) appendResultCell(out, row.inputs[i]);
  }
  for (const CheckId id : columns.checks) {
    const CheckValue& c = o[id];
    out += ',';
    if (c.shown) appendShortest(out, c.uf);
    out += ',';
    if (c.shown) appendShortest(out, c.allow);
    out += ',';
    out += verdictText(c);
    if (!columns.forces) continue;
    const bool point = c.shown && row.points && o.fault.empty() && o.inputError.empty();
    const GoverningPoint* p = point ? &(*row.points)[static_cast<size_t>(id)] : nullptr;
    for (const double* v :
         {p ? &p->theta : nullptr, p ? &p->sigx : nullptr, p ? &p->tau : nullptr}) {
      out += ',';
      if (v) appendShortest(out, *v);
    }
  }
  out += ',';
  out += localText(o);
  out += ',';
  if (!o.inputError.empty() || !o.fault.empty()) appendResultCell(out, faultText(o));
  appendAltRow(out, columns.checks, o.checks);
  out += '\n';
}

void appendJsonRow(std::string& out, const BatchColumns& columns, const BatchRow& row) {
  const RowOutcome& o = *row.outcome;
  out += "{\"row\":";
  appendInt(out, row.row);
  out += ",\"line\":";
  appendInt(out, row.line);
  out += ",\"case\":";
  appendJsonString(out, row.caseName);
  out += ",\"inputs\":{";
  for (size_t i = 0; i < columns.inputs.size(); ++i) {
    if (i > 0) out += ',';
    appendJsonString(out, columns.inputs[i]);
    out += ':';
    const std::string_view text = i < row.inputs.size() ? row.inputs[i] : std::string_view();
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
      out += "null";
    } else if (const auto value = parseFileNumber(text)) {
      appendJsonNumber(out, *value);
    } else {
      appendJsonString(out, text);
    }
  }
  out += '}';
  for (const CheckId id : columns.checks) {
    const CheckValue& c = o[id];
    out += ",\"";
    out += checkName(id);
    out += "\":";
    if (!c.shown) {
      out += "null";
      continue;
    }
    out += "{\"uf\":";
    appendJsonNumber(out, c.uf);
    out += ",\"allow\":";
    appendJsonNumber(out, c.allow);
    if (c.hasAlt) {
      out += ",\"uf_alt\":";
      appendJsonNumber(out, c.ufAlt);
    }
    if (columns.forces && row.points) {
      const GoverningPoint& p = (*row.points)[static_cast<size_t>(id)];
      out += ",\"theta\":";
      appendJsonNumber(out, p.theta);
      out += ",\"sigx\":";
      appendJsonNumber(out, p.sigx);
      out += ",\"tau\":";
      appendJsonNumber(out, p.tau);
    }
    out += c.exceeded() ? ",\"ok\":false}" : ",\"ok\":true}";
  }
  out += ",\"local_buckling\":";
  if (o.localLines == 0)
    out += "null";
  else
    appendJsonString(out, localText(o));
  out += ",\"fault\":";
  if (o.inputError.empty() && o.fault.empty())
    out += "null";
  else
    appendJsonString(out, faultText(o));
  out += ",\"status\":\"";
  out += statusName(o.status());
  out += "\"}\n";
}

void BatchSummary::add(const BatchRow& row) {
  const RowOutcome& o = *row.outcome;
  ++rows;
  switch (o.status()) {
    case RowOutcome::Status::Passed:
      ++passed;
      break;
    case RowOutcome::Status::Failed:
      ++failed;
      break;
    case RowOutcome::Status::Faulted:
      ++faulted;
      return;
    case RowOutcome::Status::InputError:
      ++inputErrors;
      return;
  }
  for (size_t i = 0; i < checks.size(); ++i) {
    const CheckValue& c = o.checks[i];
    if (!c.shown) continue;
    CheckSummary& s = checks[i];
    if (c.exceeded())
      ++s.failed;
    else
      ++s.passed;
    // the first of equal usage factors governs
    if (std::isnan(c.uf)) continue;
    if (!s.any || c.uf > s.uf) {
      s.any = true;
      s.uf = c.uf;
      s.allow = c.allow;
      s.row = row.row;
      s.caseName.assign(row.caseName);
    }
  }
}

void BatchSummary::merge(const BatchSummary& later) {
  rows += later.rows;
  passed += later.passed;
  failed += later.failed;
  faulted += later.faulted;
  inputErrors += later.inputErrors;
  for (size_t i = 0; i < checks.size(); ++i) {
    CheckSummary& s = checks[i];
    const CheckSummary& l = later.checks[i];
    s.passed += l.passed;
    s.failed += l.failed;
    if (l.any && (!s.any || l.uf > s.uf)) {
      s.any = true;
      s.uf = l.uf;
      s.allow = l.allow;
      s.row = l.row;
      s.caseName = l.caseName;
    }
  }
}

int BatchSummary::exitCode() const {
  if (inputErrors > 0) return 2;
  if (faulted > 0) return 3;
  return failed > 0 ? 1 : 0;
}

std::string summaryText(const BatchSummary& s, const BatchColumns& columns) {
  std::string t = "orvane-cli: ";
  appendInt(t, s.rows);
  t += " rows: ";
  appendInt(t, s.passed);
  t += " passed, ";
  appendInt(t, s.failed);
  t += " failed, ";
  appendInt(t, s.faulted);
  t += " faulted, ";
  appendInt(t, s.inputErrors);
  t += s.inputErrors == 1 ? " input error\n" : " input errors\n";
  for (const CheckId id : columns.checks) {
    const CheckSummary& c = s.checks[static_cast<size_t>(id)];
    t += "  ";
    t += checkName(id);
    if (!c.any) {
      t += ": no usage factor\n";
      continue;
    }
    t += ": governing row ";
    appendInt(t, c.row);
    if (!c.caseName.empty()) t += " (case " + printable(c.caseName) + ")";
    t += ", UF ";
    appendShortest(t, c.uf);
    t += c.uf > c.allow ? " > " : " <= ";
    appendShortest(t, c.allow);
    t += "; ";
    appendInt(t, c.passed);
    t += ' ';
    t += verdictWord(false);
    t += ", ";
    appendInt(t, c.failed);
    t += ' ';
    t += verdictWord(true);
    t += '\n';
  }
  return t;
}

std::string summaryJson(const BatchSummary& s, const BatchColumns& columns) {
  std::string j = "{\"summary\":{\"rows\":";
  appendInt(j, s.rows);
  j += ",\"passed\":";
  appendInt(j, s.passed);
  j += ",\"failed\":";
  appendInt(j, s.failed);
  j += ",\"faulted\":";
  appendInt(j, s.faulted);
  j += ",\"input_errors\":";
  appendInt(j, s.inputErrors);
  j += ",\"exit\":";
  appendInt(j, s.exitCode());
  j += ",\"checks\":{";
  bool first = true;
  for (const CheckId id : columns.checks) {
    const CheckSummary& c = s.checks[static_cast<size_t>(id)];
    if (!first) j += ',';
    first = false;
    j += '"';
    j += checkName(id);
    j += "\":";
    if (!c.any) {
      j += "null";
      continue;
    }
    j += "{\"row\":";
    appendInt(j, c.row);
    j += ",\"case\":";
    appendJsonString(j, c.caseName);
    j += ",\"uf\":";
    appendJsonNumber(j, c.uf);
    j += ",\"allow\":";
    appendJsonNumber(j, c.allow);
    j += ",\"ok\":";
    appendInt(j, c.passed);
    j += ",\"not_ok\":";
    appendInt(j, c.failed);
    j += '}';
  }
  j += "}}}\n";
  return j;
}

}  // namespace orvane
