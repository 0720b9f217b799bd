// Number <-> text conversions at the bottom of every number text of the
// program, in one place so that every build (Linux, Windows, the browser
// module) writes and reads the same characters. They write and read exactly
// as std::to_chars / std::from_chars do, with fmt (formatting) and fast_float
// (correctly rounded reading), which every C++ library offers.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <system_error>
#include <type_traits>

namespace orvane::chars {

// Each writer writes into [first, last) and returns the end of the text; a
// buffer of 32 characters holds every shortest text, fixed() needs room for
// the integer digits of `value` plus `precision`.

// The shortest text that reads back as the same value, laid out as
// std::to_chars(first, last, value): fixed or scientific, whichever is
// shorter (fixed on a tie), "1e-07", "1e+16", "-0", "inf", "-nan".
char* shortest(char* first, char* last, double value);
char* shortest(char* first, char* last, float value);
void appendShortest(std::string& out, double value);

// std::chars_format::scientific / fixed / general with a precision, as
// printf's %.*e, %.*f and %.*g in the C locale.
char* scientific(char* first, char* last, double value, int precision);
char* fixed(char* first, char* last, double value, int precision);
char* general(char* first, char* last, double value, int precision);

// Reads a number as std::from_chars(first, last, value) with
// std::chars_format::general: no leading '+', "inf"/"nan" accepted; a value
// too large or too small for the type is std::errc::result_out_of_range and
// leaves `value` untouched, as does std::errc::invalid_argument.
struct ReadResult {
  const char* ptr;
  std::errc ec;
};
ReadResult read(const char* first, const char* last, double& value);
ReadResult read(const char* first, const char* last, float& value);

// The bits of one value as another type of the same size.
template <typename To, typename From>
To bitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<From> &&
                std::is_trivially_copyable_v<To>);
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

}  // namespace orvane::chars
