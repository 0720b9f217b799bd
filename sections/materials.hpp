// The material table (DNVmat.dat) and the three strength look-ups.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "model/project_state.hpp"

namespace orvane {

// Reads DNVmat.dat into `table`. Records are: name (quoted or bare), then
// fy1, T1, ..., T6, fy7, separated by commas, blanks or line ends. Returns a
// message naming the file, the line and the problem when the file is
// missing, unreadable or holds more than 21 records; the rows read before
// the problem are kept (at most 21).
std::optional<std::string> loadMaterials(const std::filesystem::path& file, MaterialTable& table);

// Yield strength of row `row` for thickness `th`: fy1 up to T1, fyk for
// T(k-1) < th <= Tk, fy7 otherwise. Throws CalcFault for a row outside 0..20.
float materialStrength(const MaterialTable& table, int row, double th);

// The look-ups store the single value into fyp (plate thickness t), fys
// (stiffener tgov) or fyg (ring frame tgov). A row at or beyond the
// user-defined entry (row >= count) leaves the strength as it is.
void lookupPlate(ProjectState& ps, int row);
void lookupStiffener(ProjectState& ps, int row);
void lookupRing(ProjectState& ps, int row);

// Sequential field input shared by the data-file loaders: fields are
// separated by commas, blanks or line ends (LF, CRLF or CR); a text field may
// be quoted and then keeps its commas and blanks.
class DataFileReader {
 public:
  // Reads the whole file; false when it cannot be opened.
  bool open(const std::filesystem::path& file);
  // Skips blanks and line ends; true when nothing else is left.
  bool atEnd();
  // The next text field: quoted, or bare up to a comma or line end (trimmed).
  std::string text();
  // The next number field (up to a comma, blank or line end) in single
  // precision; no value when the field is not a finite number. `field` gets
  // the field's text for the message.
  std::optional<float> number(std::string& field);
  // Line of the next field to be read (of the field just read, until the next
  // call skips its line end).
  int line() const { return line_; }

 private:
  void skipBlanks();
  void endField();
  bool lineEnd() const;
  std::string data_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// Messages of the data-file loaders, each naming the file.
std::string cannotOpenMessage(const std::filesystem::path& file);
std::string lineMessage(const std::filesystem::path& file, int line, const std::string& problem);

}  // namespace orvane
