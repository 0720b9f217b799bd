#include "sections/materials.hpp"

#include <cmath>
#include <fstream>
#include <iterator>

#include "model/checked.hpp"
#include "model/number_chars.hpp"
#include "model/text_encoding.hpp"

namespace orvane {

namespace {

constexpr int kFields = 14;  // name and fy1, T1, ..., T6, fy7

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool DataFileReader::open(const std::filesystem::path& file) {
  // A folder opens as a stream on some systems but reads as empty.
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) return false;
  in_.close();
  in_.clear();
  in_.open(file, std::ios::binary);
  line_ = 1;
  tooLong_ = false;
  return in_.is_open();
}

int DataFileReader::peek() {
  using Traits = std::streambuf::traits_type;
  const auto c = in_.rdbuf()->sgetc();
  return Traits::eq_int_type(c, Traits::eof())
             ? -1
             : static_cast<unsigned char>(Traits::to_char_type(c));
}

void DataFileReader::bump() { in_.rdbuf()->sbumpc(); }

bool DataFileReader::lineEnd() {
  const int c = peek();
  return c == '\n' || c == '\r';
}

void DataFileReader::skipBlanks() {
  while (peek() >= 0 && isBlank(static_cast<char>(peek()))) bump();
}

bool DataFileReader::atEnd() {
  for (;;) {
    skipBlanks();
    if (!lineEnd()) break;
    // CRLF is one line end, as is a lone CR or LF.
    const bool cr = peek() == '\r';
    bump();
    if (cr && peek() == '\n') bump();
    ++line_;
  }
  return peek() < 0;
}

// A field ends at a comma, which belongs to it; a line end is left for the
// next field to skip, so that line() still names the field's own line.
void DataFileReader::endField() {
  skipBlanks();
  if (peek() == ',') bump();
}

std::string DataFileReader::text() {
  atEnd();
  tooLong_ = false;
  std::string out;
  const auto keep = [&](char c) {
    if (out.size() < kMaxDataField) {
      out += c;
    } else {
      tooLong_ = true;
    }
  };
  if (peek() == '"') {
    bump();
    while (peek() >= 0 && peek() != '"' && !lineEnd()) {
      keep(static_cast<char>(peek()));
      bump();
    }
    if (peek() == '"') bump();
    // Anything between the closing quote and the separator is not part of it.
    while (peek() >= 0 && peek() != ',' && !lineEnd()) bump();
  } else {
    while (peek() >= 0 && peek() != ',' && !lineEnd()) {
      keep(static_cast<char>(peek()));
      bump();
    }
    while (!out.empty() && isBlank(out.back())) out.pop_back();
  }
  endField();
  return out;
}

std::optional<float> DataFileReader::number(std::string& field) {
  atEnd();
  field.clear();
  bool cut = false;
  while (peek() >= 0 && peek() != ',' && !isBlank(static_cast<char>(peek())) && !lineEnd()) {
    if (field.size() < kMaxDataField) {
      field += static_cast<char>(peek());
    } else {
      cut = true;
    }
    bump();
  }
  endField();
  if (cut) {
    field += "...";
    return std::nullopt;
  }

  // Read straight into single precision: the tables hold singles, and a
  // detour through double could round twice.
  const char* first = field.data();
  const char* last = first + field.size();
  if (first != last && *first == '+') ++first;
  float value = 0;
  const auto [end, ec] = chars::read(first, last, value);
  if (first == last || ec != std::errc() || end != last || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

Error cannotOpen(const std::filesystem::path& file) {
  return Error{ErrorKind::Unreadable, file.string(), 0, "cannot open file"};
}

Error damagedLine(const std::filesystem::path& file, int line, const std::string& problem) {
  return Error{ErrorKind::Damaged, file.string(), line, problem};
}

Status loadMaterials(const std::filesystem::path& file, MaterialTable& table) {
  table = MaterialTable{};
  DataFileReader in;
  if (!in.open(file)) return cannotOpen(file);

  std::optional<Error> problem;
  int rows = 0;
  while (!in.atEnd()) {
    if (rows == MaterialTable::kRows) {
      problem = damagedLine(file, in.line(),
                            "the file holds more than 21 materials; the rest was ignored");
      break;
    }
    const int recordLine = in.line();
    const std::string name = fileTextToUtf8(in.text());
    if (in.tooLong()) {
      problem = damagedLine(
          file, recordLine,
          "a material name is longer than " + std::to_string(kMaxDataField) + " characters");
      break;
    }
    std::array<float, 13> values{};
    int fields = 1;
    for (float& v : values) {
      if (in.atEnd()) break;
      std::string field;
      const std::optional<float> x = in.number(field);
      if (!x) {
        problem = damagedLine(file, in.line(), "'" + fileTextToUtf8(field) + "' is not a number");
        break;
      }
      v = *x;
      ++fields;
    }
    if (problem) break;
    if (fields < kFields) {
      problem = damagedLine(
          file, recordLine,
          "material '" + name + "' has only " + std::to_string(fields) + " of its 14 fields");
      break;
    }
    table.name[rows] = name;
    table.data[rows] = values;
    ++rows;
  }
  table.count = static_cast<int16_t>(rows - 1);
  if (problem) return *problem;
  return Done{};
}

float materialStrength(const MaterialTable& table, int row, double th) {
  const std::array<float, 13>& d = table.data[checked::index(row, MaterialTable::kRows)];
  if (th <= d[1]) return d[0];
  // Band k runs from T(k-1) to Tk; both limits are tested, so limits out of
  // order in the file let the thickness fall through to fy7.
  for (int k = 2; k <= 6; ++k) {
    const float lower = d[2 * k - 3];
    const float upper = d[2 * k - 1];
    if (lower < th && th <= upper) return d[2 * k - 2];
  }
  return d[12];
}

void lookupPlate(ProjectState& ps, int row) {
  if (row >= ps.mat.count) return;
  ps.fyp = materialStrength(ps.mat, row, ps.t);
}

void lookupStiffener(ProjectState& ps, int row) {
  if (row >= ps.mat.count) return;
  ps.fys = materialStrength(ps.mat, row, ps.st.tgov);
}

void lookupRing(ProjectState& ps, int row) {
  if (row >= ps.mat.count) return;
  ps.fyg = materialStrength(ps.mat, row, ps.rg.tgov);
}

}  // namespace orvane
