// Number text of the program: display patterns, general numbers and the
// locale-independent notation of the project files. All of it is
// locale-independent; the window applies the user's decimal separator.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Formats `value` with a display pattern: "0", "0.0", "0.00", "#0.0",
// "##0.0", "##0.000", "#0.000", "#00", "#000", "00", "#", "##.00", "###",
// "#0.00", "##0", "0.000E+0", "0.00E+0".
// `0` is a required digit, `#` an optional one; "E+0" writes the exponent
// with its sign and without leading zeros. The exact binary value is first
// written with 15 significant digits, then rounded half away from zero to the
// pattern's digits. A value that rounds to zero prints without "-".
std::string format(double value, std::string_view pattern);

// General number-to-text conversion without a pattern, as used for the
// designations of table rows: 200 -> "200", 9.5 -> "9.5". A single value is
// written with at most 7 significant digits, a double with at most 15.
std::string generalNumber(float value);
std::string generalNumber(double value);

// Project-file notation: decimal point, leading minus, no thousands
// separators, exponent only for very large or small values. Integers without
// a point; a double with the shortest text that reads back to the same
// double; a single with the fewest digits that read back to the same single.
std::string fileNumber(double value);
std::string fileNumber(float value);
std::string fileNumber(int value);

// The shortest text that reads back as the same double, as std::to_chars
// writes it ("0.1", "-0", "1e-07", "inf"): the numbers of result rows, so
// that a row typed back as NAME=VALUE gives the same results.
std::string shortestText(double value);
void appendShortest(std::string& out, double value);

// Reads a project-file number line: optional sign, digits, a point with or
// without a leading zero, an optional exponent E+-n. Anything else (an empty
// line, other text) gives no value.
std::optional<double> parseFileNumber(std::string_view text);

}  // namespace orvane
