// Load tables: rows of named input values, one load case a row, as a
// spreadsheet exports them (CSV with comma, semicolon or tab separators).
//
// The first line that is not blank is the header: input names and an
// optional `case` column for the case names. The separator is the one of
// the three that the header holds most often outside quotes (comma when it
// holds none). Fields follow RFC 4180: a quoted field may hold separators,
// line breaks and quotes written twice. A UTF-8 byte-order mark, blank
// lines and lines of separators only are skipped; lines end at LF or CRLF.
// With semicolon separators a decimal comma in a value cell reads as a
// point, as European spreadsheets export numbers.
//
// Two ways in: a streaming reader that hands over blocks of raw records for
// the batch to split on its worker threads (memory bounded by the block,
// however long the file), and a whole-table read for the window; one writer
// for the table stored beside a project.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.hpp"

namespace orvane {

// Longest record (a line, or the lines of a record with quoted line breaks)
// in bytes, without its line end.
inline constexpr size_t kMaxLoadRecord = 65536;

struct LoadHeader {
  char separator = ',';
  std::vector<std::string> columns;  // every header name in file order, trimmed
  int caseColumn = -1;               // index of the `case` column, or -1
  int64_t line = 1;                  // the file line of the header

  // The input names: the columns without `case`.
  std::vector<std::string> inputs() const;
};

// A field that a record cannot hold where it stands.
struct FieldError {
  int column = 0;  // 0-based column of the problem in the file's order
  std::string message;
};

// Splits one record (without its line end) into `fields`, in place: quotes
// are removed and doubled quotes undone inside `record`, and with semicolon
// separators a decimal comma in a value cell (not the case cell) becomes a
// point. Unquoted fields lose their surrounding blanks. The record must have
// as many fields as the header has columns. The views point into `record`.
std::optional<FieldError> splitRecord(char* record, size_t size, const LoadHeader& header,
                                      std::vector<std::string_view>& fields);

// One record of a block: its bytes in `RecordBlock::bytes` and the file line
// it starts on.
struct LoadRecord {
  size_t offset = 0, size = 0;
  int64_t line = 0;
};

struct RecordBlock {
  std::string bytes;
  std::vector<LoadRecord> records;

  void clear() {
    bytes.clear();
    records.clear();
  }
  char* data(const LoadRecord& r) { return bytes.data() + r.offset; }
};

class LoadTableReader {
 public:
  // Opens `path` ("-": standard input) and reads its header.
  static Result<LoadTableReader> open(const std::filesystem::path& path);
  // A table held in memory (a paste, a test); `name` names it in errors.
  static Result<LoadTableReader> fromText(std::string text, std::string name);

  LoadTableReader(LoadTableReader&& other) noexcept;
  LoadTableReader& operator=(LoadTableReader&&) = delete;
  LoadTableReader(const LoadTableReader&) = delete;
  ~LoadTableReader();

  const LoadHeader& header() const { return header_; }
  const std::string& name() const { return name_; }
  // Bytes of the file taken into records so far (for a progress estimate).
  uint64_t consumed() const { return read_ - (end_ - pos_); }

  // Appends the next records (blank ones skipped) to `block` until it holds
  // `maxRecords` of them or the file ends; false once there were none left.
  // A record longer than kMaxLoadRecord, a quote left open at the end and a
  // read failure are errors naming the line.
  Result<bool> read(RecordBlock& block, size_t maxRecords);

 private:
  LoadTableReader(int fd, std::string name);
  // QuoteTooLong: a quoted cell runs on past the longest record (a stray
  // quote at the start of a cell in the middle of the table).
  enum class Got { Record, End, TooLong, QuoteTooLong, OpenQuote, Failed };
  Got nextRecord(std::string_view& record, int64_t& line);
  bool fill();
  Status readHeader();
  Error error(int64_t line, const std::string& message) const;

  int fd_ = -1;  // -1: the whole text is in the buffer
  bool ownFd_ = false;
  bool eof_ = false;
  int readErrno_ = 0;
  std::string buf_;
  size_t pos_ = 0, end_ = 0;
  uint64_t read_ = 0;  // bytes read from the file or given as text
  int64_t line_ = 1;   // the line at pos_
  std::string name_;
  LoadHeader header_;
};

// A whole load table, as the window edits it and stores it beside a project.
struct LoadCase {
  std::string name;                 // empty without a case column
  std::vector<std::string> values;  // one text per input, as in the file
  int64_t line = 0;                 // the file line it was read from; 0 when new
};

struct LoadTable {
  std::vector<std::string> inputs;  // the input names, in column order
  bool hasCase = true;              // whether the file has a `case` column
  std::vector<LoadCase> cases;
};

// The next cases of a table read as a stream: at most `maxCases` into
// `cases` (cleared first); false once the table has ended. A damaged
// record is an error naming file, line and column.
Result<bool> readLoadCases(LoadTableReader& reader, std::vector<LoadCase>& cases, size_t maxCases);

// The whole table; any damaged record is an error naming file, line and
// column. Values are not checked here: they are texts, as in the file.
Result<LoadTable> readLoadTable(const std::filesystem::path& path);
Result<LoadTable> parseLoadTable(std::string text, const std::string& name);

// The text of a table: a header line (`case` first when the table has
// it), then one line per case, each ending in LF; fields are quoted as
// appendField does.
std::string loadTableText(const LoadTable& table, char separator = ',');
// Writes the text of a table to `path`, replacing the file safely.
Status writeLoadTable(const std::filesystem::path& path, const LoadTable& table);

// Appends one field to a line of `separator`-separated text, quoted when it
// holds any separator, a quote or a line break, or starts or ends blank.
void appendField(std::string& line, std::string_view field, char separator);

// A cell of a results table (comma-separated), which spreadsheets open: as
// appendField, and a text that begins with =, +, -, @, a tab or a carriage
// return and is not a number gets a leading apostrophe, so that no
// spreadsheet takes it for a formula ("=HYPERLINK(...)" is written
// "'=HYPERLINK(...)"; "-2.5" stays as it is).
void appendResultCell(std::string& line, std::string_view field);

}  // namespace orvane
