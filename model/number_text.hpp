// Numbers as the user types them into the window's fields, read without Qt
// and without the C library's locale.
//
// Two readers: the lenient one (decimal point setting) takes the number at
// the start of the text, skips blanks inside it and reads a text that does
// not start with a number as 0; the strict one (decimal comma setting) takes
// a whole text that is one number, blanks around it allowed. Neither throws:
// a number too large for a double is OutOfRange, one too small reads as 0.
#pragma once

#include <string_view>

namespace orvane {

struct NumberReading {
  enum Status { Ok, Mismatch, OutOfRange };
  Status status = Ok;
  double value = 0;  // 0 unless Ok

  bool ok() const { return status == Ok; }
};

// Never Mismatch.
NumberReading readLenientNumber(std::u16string_view text);
// "," and "." both read as the decimal separator.
NumberReading readStrictNumber(std::u16string_view text);
// A field's number: leading spaces dropped, then the lenient reader with ","
// read as "." (decimalComma false) or the strict reader. A value beyond the
// single-precision range is OutOfRange; an Ok value is a single.
NumberReading readFieldNumber(std::u16string_view text, bool decimalComma);

}  // namespace orvane
