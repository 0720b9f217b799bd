// The material table (DNVmat.dat) and the three strength look-ups.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "model/project_state.hpp"
#include "model/result.hpp"

namespace orvane {

// Reads DNVmat.dat into `table`. Records are: name (quoted or bare), then
// fy1, T1, ..., T6, fy7, separated by commas, blanks or line ends. Returns a
// Windows-1252 names are converted to UTF-8. Returns an error naming the
// file, the line and the problem when the file is missing (Unreadable), holds
// a field that is not a number, a record cut short, a field longer than
// kMaxDataField or more than 21 records (Damaged); the rows read before the
// problem are kept (at most 21).
Status loadMaterials(const std::filesystem::path& file, MaterialTable& table);

// Yield strength of row `row` for thickness `th`: fy1 up to T1, fyk for
// T(k-1) < th <= Tk, fy7 otherwise. Throws CalcFault for a row outside 0..20.
float materialStrength(const MaterialTable& table, int row, double th);

// The look-ups store the single value into fyp (plate thickness t), fys
// (stiffener tgov) or fyg (ring frame tgov). A row at or beyond the
// user-defined entry (row >= count) leaves the strength as it is.
void lookupPlate(ProjectState& ps, int row);
void lookupStiffener(ProjectState& ps, int row);
void lookupRing(ProjectState& ps, int row);

// The longest field a data file may hold; a longer one is a damaged file.
inline constexpr std::size_t kMaxDataField = 256;

// Sequential field input shared by the data-file loaders: fields are
// separated by commas, blanks or line ends (LF, CRLF or CR); a text field may
// be quoted and then keeps its commas and blanks. The file is read as the
// fields are asked for, so that what a load holds in memory is bounded by
// the fields it keeps, whatever the file holds.
class DataFileReader {
 public:
  // False when the file cannot be opened.
  bool open(const std::filesystem::path& file);
  // Skips blanks and line ends; true when nothing else is left.
  bool atEnd();
  // The next text field: quoted, or bare up to a comma or line end (trimmed).
  // A field longer than kMaxDataField is cut there and tooLong() is set.
  std::string text();
  // The next number field (up to a comma, blank or line end) in single
  // precision; no value when the field is not a finite number. `field` gets
  // the field's text for the message (cut after kMaxDataField characters).
  std::optional<float> number(std::string& field);
  // The last text field was longer than kMaxDataField.
  bool tooLong() const { return tooLong_; }
  // Line of the next field to be read (of the field just read, until the next
  // call skips its line end).
  int line() const { return line_; }

 private:
  int peek();
  void bump();
  void skipBlanks();
  void endField();
  bool lineEnd();
  std::ifstream in_;
  int line_ = 1;
  bool tooLong_ = false;
};

// Errors of the data-file loaders, each naming the file.
Error cannotOpen(const std::filesystem::path& file);
Error damagedLine(const std::filesystem::path& file, int line, const std::string& problem);

}  // namespace orvane
