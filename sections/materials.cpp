#include "sections/materials.hpp"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>

#include "model/checked.hpp"

namespace orvane {

namespace {

constexpr int kFields = 14;  // name and fy1, T1, ..., T6, fy7

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool DataFileReader::open(const std::filesystem::path& file) {
  // A folder opens as a stream on some systems but reads as empty.
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  pos_ = 0;
  line_ = 1;
  return true;
}

bool DataFileReader::lineEnd() const {
  return pos_ < data_.size() && (data_[pos_] == '\n' || data_[pos_] == '\r');
}

void DataFileReader::skipBlanks() {
  while (pos_ < data_.size() && isBlank(data_[pos_])) ++pos_;
}

bool DataFileReader::atEnd() {
  for (;;) {
    skipBlanks();
    if (!lineEnd()) break;
    // CRLF is one line end, as is a lone CR or LF.
    if (data_[pos_] == '\r' && pos_ + 1 < data_.size() && data_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  }
  return pos_ >= data_.size();
}

// A field ends at a comma, which belongs to it; a line end is left for the
// next field to skip, so that line() still names the field's own line.
void DataFileReader::endField() {
  skipBlanks();
  if (pos_ < data_.size() && data_[pos_] == ',') ++pos_;
}

std::string DataFileReader::text() {
  atEnd();
  std::string out;
  if (pos_ < data_.size() && data_[pos_] == '"') {
    ++pos_;
    while (pos_ < data_.size() && data_[pos_] != '"' && !lineEnd()) out += data_[pos_++];
    if (pos_ < data_.size() && data_[pos_] == '"') ++pos_;
    // Anything between the closing quote and the separator is not part of it.
    while (pos_ < data_.size() && data_[pos_] != ',' && !lineEnd()) ++pos_;
  } else {
    while (pos_ < data_.size() && data_[pos_] != ',' && !lineEnd()) out += data_[pos_++];
    while (!out.empty() && isBlank(out.back())) out.pop_back();
  }
  endField();
  return out;
}

std::optional<float> DataFileReader::number(std::string& field) {
  atEnd();
  const std::size_t start = pos_;
  while (pos_ < data_.size() && data_[pos_] != ',' && !isBlank(data_[pos_]) && !lineEnd()) ++pos_;
  field = data_.substr(start, pos_ - start);
  endField();

  // Read straight into single precision: the tables hold singles, and a
  // detour through double could round twice.
  const char* first = field.data();
  const char* last = first + field.size();
  if (first != last && *first == '+') ++first;
  float value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (first == last || ec != std::errc() || end != last || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string cannotOpenMessage(const std::filesystem::path& file) {
  return file.string() + ": cannot open file";
}

std::string lineMessage(const std::filesystem::path& file, int line, const std::string& problem) {
  return file.string() + ", line " + std::to_string(line) + ": " + problem;
}

std::optional<std::string> loadMaterials(const std::filesystem::path& file, MaterialTable& table) {
  table = MaterialTable{};
  DataFileReader in;
  if (!in.open(file)) return cannotOpenMessage(file);

  std::optional<std::string> problem;
  int rows = 0;
  while (!in.atEnd()) {
    if (rows == MaterialTable::kRows) {
      problem = lineMessage(file, in.line(),
                            "the file holds more than 21 materials; the rest was ignored");
      break;
    }
    const int recordLine = in.line();
    const std::string name = in.text();
    std::array<float, 13> values{};
    int fields = 1;
    for (float& v : values) {
      if (in.atEnd()) break;
      std::string field;
      const std::optional<float> x = in.number(field);
      if (!x) {
        problem = lineMessage(file, in.line(), "'" + field + "' is not a number");
        break;
      }
      v = *x;
      ++fields;
    }
    if (problem) break;
    if (fields < kFields) {
      problem = lineMessage(
          file, recordLine,
          "material '" + name + "' has only " + std::to_string(fields) + " of its 14 fields");
      break;
    }
    table.name[rows] = name;
    table.data[rows] = values;
    ++rows;
  }
  table.count = static_cast<int16_t>(rows - 1);
  return problem;
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
