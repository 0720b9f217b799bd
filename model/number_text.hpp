// Numbers as the user types them into the window's fields, read without Qt
// and without the C library's locale.
//
// A field's text is read strictly: the whole text (blanks around it
// allowed) must be one number, [sign] ASCII digits with the user's decimal
// separator, [E [sign] digits]; anything else (a unit after it, a fullwidth
// digit, the other separator, an empty text) is a mismatch and stores
// nothing. Neither reader throws: a number too large for a double is
// OutOfRange, one too small reads as 0.
#pragma once

#include <string_view>

namespace orvane {

struct NumberReading {
  enum Status { Ok, Mismatch, OutOfRange };
  Status status = Ok;
  double value = 0;  // 0 unless Ok

  bool ok() const { return status == Ok; }
};

// "," and "." both read as the decimal separator (a shown value read back,
// the study window's ranges).
NumberReading readStrictNumber(std::u16string_view text);
// A field's number with the user's separator only: "," when decimalComma,
// else ".". A value beyond the single-precision range is OutOfRange; an Ok
// value is a single.
NumberReading readFieldNumber(std::u16string_view text, bool decimalComma);

}  // namespace orvane
