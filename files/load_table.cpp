#include "files/load_table.hpp"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

#include "files/input_text.hpp"
#include "files/output_file.hpp"
#include "model/number_chars.hpp"

namespace orvane {

namespace {

// Bytes read from the file at a time; a whole record always fits.
constexpr size_t kReadSize = 1 << 20;
static_assert(kReadSize > 2 * kMaxLoadRecord);

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool isCaseName(std::string_view name) {
  if (name.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i)
    if ((name[i] | 0x20) != "case"[i]) return false;
  return true;
}

// A record of blanks and separators only: an empty spreadsheet row.
bool blankRecord(std::string_view record) {
  return std::all_of(record.begin(), record.end(), [](char c) {
    return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '\r';
  });
}

// The separator the header uses most outside quotes; comma when none.
char detectSeparator(std::string_view header) {
  size_t comma = 0, semicolon = 0, tab = 0;
  bool quoted = false;
  for (const char c : header) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    comma += c == ',';
    semicolon += c == ';';
    tab += c == '\t';
  }
  if (tab > 0 && tab >= semicolon && tab >= comma) return '\t';
  if (semicolon > 0 && semicolon >= comma) return ';';
  return ',';
}

std::string columnLabel(const LoadHeader& header, int column) {
  std::string label = "column " + std::to_string(column + 1);
  if (column >= 0 && static_cast<size_t>(column) < header.columns.size())
    label += " (" + printable(header.columns[static_cast<size_t>(column)]) + ")";
  return label;
}

}  // namespace

std::vector<std::string> LoadHeader::inputs() const {
  std::vector<std::string> names;
  for (size_t i = 0; i < columns.size(); ++i)
    if (static_cast<int>(i) != caseColumn) names.push_back(columns[i]);
  return names;
}

namespace {

// `expected`: the number of fields, or -1 for any; `caseColumn`: the cell
// that keeps its commas.
std::optional<FieldError> splitFields(char* record, size_t size, char sep, int expected,
                                      int caseColumn, std::vector<std::string_view>& fields) {
  fields.clear();
  const bool decimalComma = sep == ';';
  // most records hold no quote at all: their cells end at the next separator
  const bool anyQuote = std::memchr(record, '"', size) != nullptr;
  size_t i = 0;
  for (;;) {
    const int column = static_cast<int>(fields.size());
    if (column == expected)
      return FieldError{column, "the row has more cells than the header's " +
                                    std::to_string(expected) + " columns"};
    while (i < size && record[i] == ' ') ++i;
    size_t start = i, end = i;
    if (i < size && record[i] == '"') {
      // quoted: copy down over the quotes, a doubled quote is one quote
      size_t out = ++i;
      start = out;
      bool closed = false;
      while (i < size) {
        if (record[i] == '"') {
          if (i + 1 < size && record[i + 1] == '"') {
            record[out++] = '"';
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        record[out++] = record[i++];
      }
      if (!closed) return FieldError{column, "a quoted cell is not closed"};
      end = out;
      while (i < size && record[i] == ' ') ++i;
      if (i < size && record[i] != sep)
        return FieldError{column, "text after the closing quote of a cell"};
    } else if (!anyQuote) {
      const void* next = std::memchr(record + i, sep, size - i);
      i = next ? static_cast<size_t>(static_cast<const char*>(next) - record) : size;
      end = i;
      while (end > start && blank(record[end - 1])) --end;
      while (start < end && blank(record[start])) ++start;
    } else {
      while (i < size && record[i] != sep) {
        if (record[i] == '"') return FieldError{column, "a quote inside an unquoted cell"};
        ++i;
      }
      end = i;
      while (end > start && blank(record[end - 1])) --end;
      while (start < end && blank(record[start])) ++start;
    }
    if (decimalComma && expected >= 0 && column != caseColumn)
      std::replace(record + start, record + end, ',', '.');
    fields.emplace_back(record + start, end - start);
    if (i >= size) break;
    ++i;  // the separator
  }
  if (expected >= 0 && fields.size() < static_cast<size_t>(expected))
    return FieldError{static_cast<int>(fields.size()),
                      "the row has " + std::to_string(fields.size()) + " cells, the header " +
                          std::to_string(expected) + " columns"};
  return std::nullopt;
}

}  // namespace

std::optional<FieldError> splitRecord(char* record, size_t size, const LoadHeader& header,
                                      std::vector<std::string_view>& fields) {
  return splitFields(record, size, header.separator, static_cast<int>(header.columns.size()),
                     header.caseColumn, fields);
}

LoadTableReader::LoadTableReader(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}

LoadTableReader::LoadTableReader(LoadTableReader&& o) noexcept
    : fd_(std::exchange(o.fd_, -1)),
      ownFd_(std::exchange(o.ownFd_, false)),
      eof_(o.eof_),
      readErrno_(o.readErrno_),
      buf_(std::move(o.buf_)),
      pos_(o.pos_),
      end_(o.end_),
      read_(o.read_),
      line_(o.line_),
      name_(std::move(o.name_)),
      header_(std::move(o.header_)) {}

LoadTableReader::~LoadTableReader() {
  if (ownFd_ && fd_ >= 0) ::close(fd_);
}

Error LoadTableReader::error(int64_t line, const std::string& message) const {
  return Error{ErrorKind::Damaged, name_, static_cast<int>(line), message};
}

namespace {

// The table's bytes as they are: on Windows too no CR LF is turned into LF
// here (the reader takes both line ends), and no descriptor is inherited.
int openForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
#else
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
#endif
}

}  // namespace

Result<LoadTableReader> LoadTableReader::open(const std::filesystem::path& path) {
  const std::string name = path.string();
  int fd = 0;
  if (name != "-") {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
      return Error{ErrorKind::Unreadable, name, 0, "not a file"};
    fd = openForReading(path);
    if (fd < 0) {
      if (errno == ENOENT) return Error{ErrorKind::NotFound, name, 0, {}};
      return Error{ErrorKind::Unreadable, name, 0, std::strerror(errno)};
    }
  }
  LoadTableReader reader(fd, name == "-" ? "<stdin>" : name);
  reader.ownFd_ = name != "-";
  reader.buf_.resize(kReadSize);
  if (Status header = reader.readHeader(); !header) return header.error();
  return reader;
}

Result<LoadTableReader> LoadTableReader::fromText(std::string text, std::string name) {
  LoadTableReader reader(-1, std::move(name));
  reader.end_ = text.size();
  reader.read_ = text.size();
  reader.buf_ = std::move(text);
  reader.eof_ = true;
  if (Status header = reader.readHeader(); !header) return header.error();
  return reader;
}

bool LoadTableReader::fill() {
  if (eof_ || fd_ < 0) return false;
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  for (;;) {
    const ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) readErrno_ = errno;
    if (n <= 0) {
      eof_ = true;
      return false;
    }
    end_ += static_cast<size_t>(n);
    read_ += static_cast<uint64_t>(n);
    return true;
  }
}

LoadTableReader::Got LoadTableReader::nextRecord(std::string_view& record, int64_t& line) {
  for (;;) {
    // A record ends at the first line end outside quotes. The scan starts
    // over after a refill; records are short, refills rare.
    const char* const base = buf_.data() + pos_;
    const size_t avail = end_ - pos_;
    size_t i = 0, lines = 0;
    bool quoted = false, found = false;
    for (;;) {
      const void* nl = std::memchr(base + i, '\n', avail - i);
      const size_t stop = nl ? static_cast<size_t>(static_cast<const char*>(nl) - base) : avail;
      // Only a quote that opens a cell starts quoted text; a stray one is
      // left for the cell's split to refuse, so that it cannot swallow the
      // lines after it.
      if (std::memchr(base + i, '"', stop - i) != nullptr) {
        bool cellStart = i == 0 || !quoted;
        for (size_t k = i; k < stop; ++k) {
          const char c = base[k];
          if (quoted) {
            if (c != '"') continue;
            if (k + 1 < stop && base[k + 1] == '"')
              ++k;
            else
              quoted = false;
          } else if (header_.columns.empty() ? (c == ',' || c == ';' || c == '\t')
                                             : c == header_.separator) {
            cellStart = true;
          } else if (c == '"' && cellStart) {
            quoted = true;
            cellStart = false;
          } else if (c != ' ') {
            cellStart = false;
          }
        }
      }
      if (!nl) break;
      i = stop + 1;
      ++lines;
      if (!quoted) {
        found = true;
        break;
      }
    }
    line = line_;
    if (!found) {
      if (avail > kMaxLoadRecord + 1) return quoted ? Got::QuoteTooLong : Got::TooLong;
      if (fill()) continue;
      if (readErrno_ != 0) return Got::Failed;
      if (avail == 0) return Got::End;
      if (quoted) return Got::OpenQuote;
      i = avail;
      ++lines;
    }
    size_t size = found ? i - 1 : i;
    if (size > 0 && base[size - 1] == '\r') --size;
    if (size > kMaxLoadRecord) return lines > 1 ? Got::QuoteTooLong : Got::TooLong;
    record = std::string_view(base, size);
    line_ += static_cast<int64_t>(lines);
    pos_ += i;
    return Got::Record;
  }
}

Status LoadTableReader::readHeader() {
  std::string_view record;
  int64_t line = 0;
  for (;;) {
    const Got got = nextRecord(record, line);
    if (got == Got::End) return error(0, "no header line: the file is empty");
    if (got == Got::TooLong)
      return error(line, "the line is longer than " + std::to_string(kMaxLoadRecord) + " bytes");
    if (got == Got::OpenQuote || got == Got::QuoteTooLong)
      return error(line, "a quoted name is not closed");
    if (got == Got::Failed)
      return Error{ErrorKind::Unreadable, name_, 0, std::strerror(readErrno_)};
    if (line == 1 && record.substr(0, 3) == "\xEF\xBB\xBF") record.remove_prefix(3);
    if (!blankRecord(record)) break;
  }
  header_.line = line;
  header_.separator = detectSeparator(record);
  // the names go through the same field rules, without the decimal comma
  std::string text(record);
  std::vector<std::string_view> fields;
  if (auto bad = splitFields(text.data(), text.size(), header_.separator, -1, -1, fields))
    return error(line, "column " + std::to_string(bad->column + 1) + ": " + bad->message);
  std::set<std::string, std::less<>> seen;
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string name(trimmed(fields[i]));
    if (name.empty()) return error(line, "column " + std::to_string(i + 1) + " has no name");
    if (!seen.insert(name).second)
      return error(
          line, "column " + std::to_string(i + 1) + ": '" + printable(name) + "' is named twice");
    if (isCaseName(name)) {
      if (header_.caseColumn >= 0)
        return error(line, "column " + std::to_string(i + 1) + ": a second case column");
      header_.caseColumn = static_cast<int>(i);
    }
    header_.columns.push_back(name);
  }
  return Done{};
}

Result<bool> LoadTableReader::read(RecordBlock& block, size_t maxRecords) {
  size_t got = 0;
  while (got < maxRecords) {
    std::string_view record;
    int64_t line = 0;
    switch (nextRecord(record, line)) {
      case Got::End:
        return got > 0;
      case Got::TooLong:
        return error(line, "the line is longer than " + std::to_string(kMaxLoadRecord) + " bytes");
      case Got::QuoteTooLong:
        return error(line, "a quote opens a cell that is not closed within " +
                               std::to_string(kMaxLoadRecord) +
                               " bytes (a stray quote at the start of a cell?)");
      case Got::OpenQuote:
        return error(line, "a quoted cell is not closed at the end of the file");
      case Got::Failed:
        return error(line, std::strerror(readErrno_));
      case Got::Record:
        break;
    }
    if (blankRecord(record)) continue;
    block.records.push_back(LoadRecord{block.bytes.size(), record.size(), line});
    block.bytes.append(record);
    ++got;
  }
  return true;
}

Result<bool> readLoadCases(LoadTableReader& reader, std::vector<LoadCase>& cases, size_t maxCases) {
  const LoadHeader& header = reader.header();
  cases.clear();
  RecordBlock block;
  std::vector<std::string_view> fields;
  const Result<bool> more = reader.read(block, maxCases);
  if (!more) return more.error();
  for (const LoadRecord& r : block.records) {
    if (auto bad = splitRecord(block.data(r), r.size, header, fields))
      return Error{ErrorKind::Damaged, reader.name(), static_cast<int>(r.line),
                   columnLabel(header, bad->column) + ": " + bad->message};
    LoadCase c;
    c.line = r.line;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (static_cast<int>(i) == header.caseColumn)
        c.name = fields[i];
      else
        c.values.emplace_back(fields[i]);
    }
    cases.push_back(std::move(c));
  }
  return more.value();
}

namespace {

Result<LoadTable> parseTable(Result<LoadTableReader> opened) {
  if (!opened) return opened.error();
  LoadTableReader& reader = opened.value();
  const LoadHeader& header = reader.header();
  LoadTable table;
  table.inputs = header.inputs();
  table.hasCase = header.caseColumn >= 0;
  std::vector<LoadCase> cases;
  for (;;) {
    const Result<bool> more = readLoadCases(reader, cases, 4096);
    if (!more) return more.error();
    if (!more.value()) break;
    for (LoadCase& c : cases) table.cases.push_back(std::move(c));
  }
  return table;
}

}  // namespace

Result<LoadTable> readLoadTable(const std::filesystem::path& path) {
  return parseTable(LoadTableReader::open(path));
}

Result<LoadTable> parseLoadTable(std::string text, const std::string& name) {
  return parseTable(LoadTableReader::fromText(std::move(text), name));
}

void appendField(std::string& line, std::string_view field, char separator) {
  // Any of the three separators is quoted, not only the one in use: the
  // header of a one-column table names no separator, and a name holding
  // one would change the separator the header shows. A leading byte-order
  // mark is quoted so that it stays part of the first name.
  (void)separator;
  bool quote =
      !field.empty() && (blank(field.front()) || blank(field.back()) || field.front() == '\xEF');
  for (size_t i = 0; i < field.size() && !quote; ++i) {
    const char c = field[i];
    quote = c == ',' || c == ';' || c == '\t' || c == '"' || c == '\n' || c == '\r';
  }
  if (!quote) {
    line.append(field);
    return;
  }
  line += '"';
  for (const char c : field) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

namespace {

// A number as a spreadsheet reads one: a sign, digits with a decimal point
// or comma, an exponent.
bool numberText(std::string_view s) {
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s.front())) || s.front() == '.' ||
                     s.front() == ','))
    return false;
  std::string text(s);
  for (char& c : text)
    if (c == ',') c = '.';
  double v = 0;
  const auto [end, ec] = chars::read(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

void appendResultCell(std::string& line, std::string_view field) {
  const bool formula =
      !field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos;
  if (!formula || numberText(field)) {
    appendField(line, field, ',');
    return;
  }
  appendField(line, "'" + std::string(field), ',');
}

std::string loadTableText(const LoadTable& table, char separator) {
  std::string text;
  const auto row = [&](const std::string* name, const std::vector<std::string>& values) {
    bool first = true;
    if (name) {
      appendField(text, *name, separator);
      first = false;
    }
    for (const std::string& v : values) {
      if (!first) text += separator;
      appendField(text, v, separator);
      first = false;
    }
    text += '\n';
  };
  const std::string caseName = "case";
  row(table.hasCase ? &caseName : nullptr, table.inputs);
  for (const LoadCase& c : table.cases) row(table.hasCase ? &c.name : nullptr, c.values);
  return text;
}

Status writeLoadTable(const std::filesystem::path& path, const LoadTable& table) {
  return replaceFile(path, loadTableText(table));
}

}  // namespace orvane
