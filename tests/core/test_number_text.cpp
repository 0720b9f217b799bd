// The readers of the window's number fields: every text gives a value or an
// error; the strict reader accepts what the user's number format writes.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "model/number_text.hpp"

namespace {

using orvane::NumberReading;
constexpr auto Ok = NumberReading::Ok, Mismatch = NumberReading::Mismatch,
               Range = NumberReading::OutOfRange;

struct Read {
  std::u16string text;
  NumberReading::Status lenient;
  double lenientValue;
  NumberReading::Status strict;
  double strictValue;
};

const std::u16string k320Digits(320, u'9');
const std::u16string kSmall320 = u"0." + std::u16string(330, u'0') + u"1";

TEST(NumberText, LenientAndStrictReadersSideBySide) {
  const Read cases[] = {
      {u"12.5", Ok, 12.5, Ok, 12.5},
      {u"  -12.5  ", Ok, -12.5, Ok, -12.5},
      {u"+.5e-2", Ok, 0.005, Ok, 0.005},
      {u"5.", Ok, 5, Ok, 5},
      {u"00012", Ok, 12, Ok, 12},
      {u"1e0001", Ok, 10, Ok, 10},
      // the lenient reader takes the leading number, blanks inside it skipped
      {u"12 mm", Ok, 12, Mismatch, 0},
      {u"1 2.5 e 1", Ok, 125, Mismatch, 0},
      {u"1.5e3.2", Ok, 1500, Mismatch, 0},
      {u"3d2", Ok, 300, Mismatch, 0},
      {u"1e", Ok, 1, Mismatch, 0},
      {u"1e+", Ok, 1, Mismatch, 0},
      {u"abc", Ok, 0, Mismatch, 0},
      {u"", Ok, 0, Mismatch, 0},
      {u"-", Ok, 0, Mismatch, 0},
      {u".", Ok, 0, Mismatch, 0},
      {u"inf", Ok, 0, Mismatch, 0},
      {u"nan", Ok, 0, Mismatch, 0},
      {u"0x10", Ok, 0, Mismatch, 0},
      // the strict reader takes either separator, the lenient one only "."
      {u"12,5", Ok, 12, Ok, 12.5},
      // only ASCII digits are digits
      {u"\uFF12", Ok, 0, Mismatch, 0},
      {u"1\uFF12", Ok, 1, Mismatch, 0},
      {u"\u0661", Ok, 0, Mismatch, 0},
      // beyond a double: out of range; too small for one: 0
      {u"1e400", Range, 0, Range, 0},
      {u"-1e400", Range, 0, Range, 0},
      {u"1e99999999999999999999", Range, 0, Range, 0},
      {k320Digits, Range, 0, Range, 0},
      {u"1e-400", Ok, 0, Ok, 0},
      {u"1e-99999999999999999999", Ok, 0, Ok, 0},
      {kSmall320, Ok, 0, Ok, 0},
      {u"0.000001e-320", Ok, 0, Ok, 0},
      {u"0.0001e312", Ok, 1e308, Ok, 1e308},
      // beyond a single is still a double
      {u"1e39", Ok, 1e39, Ok, 1e39},
  };
  for (const Read& c : cases) {
    const std::string shown(c.text.begin(), c.text.end());
    const NumberReading lenient = orvane::readLenientNumber(c.text);
    const NumberReading strict = orvane::readStrictNumber(c.text);
    EXPECT_EQ(lenient.status, c.lenient) << shown;
    EXPECT_EQ(lenient.value, c.lenientValue) << shown;
    EXPECT_EQ(strict.status, c.strict) << shown;
    EXPECT_EQ(strict.value, c.strictValue) << shown;
  }
}

// A field holds a single: beyond its range is out of range, and what is
// read is rounded to it; the comma setting reads strictly.
TEST(NumberText, FieldReaderKeepsToSinglePrecision) {
  const float max = std::numeric_limits<float>::max();
  struct Field {
    std::u16string text;
    bool comma;
    NumberReading::Status status;
    double value;
  } cases[] = {
      {u"12.34", false, Ok, double{12.34f}},
      {u"  12,34", false, Ok, double{12.34f}},
      {u"12,34", true, Ok, double{12.34f}},
      {u"12.34 mm", true, Mismatch, 0},
      {u"1e39", false, Range, 0},
      {u"-1e39", true, Range, 0},
      {u"3.4028234e38", false, Ok, double{max}},
      {u"3.4028235e38", false, Range, 0},  // above the largest single
      {u"1e-50", false, Ok, 0},
      {u"1e400", false, Range, 0},
  };
  for (const Field& c : cases) {
    const NumberReading r = orvane::readFieldNumber(c.text, c.comma);
    const std::string shown(c.text.begin(), c.text.end());
    EXPECT_EQ(r.status, c.status) << shown;
    EXPECT_EQ(r.value, c.value) << shown;
  }
}

}  // namespace
