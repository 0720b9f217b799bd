// Load tables: any bytes give a table or an error naming a line, and a
// table that reads writes back to a text that reads as the same table
// (rows whose cells are all empty are blank lines and drop out).
#include <cstdint>
#include <string>

#include "files/load_table.hpp"

namespace {

bool emptyRow(const orvane::LoadCase& c) {
  if (!c.name.empty()) return false;
  for (const std::string& v : c.values)
    if (!v.empty()) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto table = orvane::parseLoadTable(text, "fuzz.csv");
  if (!table) {
    if (table.error().text().empty()) __builtin_trap();
    return 0;
  }
  const orvane::LoadTable& t = table.value();
  for (const orvane::LoadCase& c : t.cases)
    if (c.values.size() != t.inputs.size() || c.line < 1) __builtin_trap();
  for (const char separator : {',', ';', '\t'}) {
    const std::string written = orvane::loadTableText(t, separator);
    const auto back = orvane::parseLoadTable(written, "back.csv");
    if (!back || back.value().inputs != t.inputs || back.value().hasCase != t.hasCase)
      __builtin_trap();
    // a one-column table reads back with comma separators
    const char found =
        orvane::LoadTableReader::fromText(written, "back.csv").value().header().separator;
    size_t k = 0;
    for (const orvane::LoadCase& c : t.cases) {
      if (emptyRow(c)) continue;
      if (k >= back.value().cases.size()) __builtin_trap();
      const orvane::LoadCase& b = back.value().cases[k++];
      if (b.name != c.name) __builtin_trap();
      // a semicolon table reads decimal commas as points
      for (size_t i = 0; i < c.values.size(); ++i) {
        std::string v = c.values[i];
        if (found == ';')
          for (char& ch : v) ch = ch == ',' ? '.' : ch;
        if (b.values[i] != v) __builtin_trap();
      }
    }
    if (k != back.value().cases.size()) __builtin_trap();
  }
  return 0;
}
