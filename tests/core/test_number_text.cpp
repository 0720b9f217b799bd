// The readers of the window's number fields: every text gives a value or an
// error; a field takes only a whole number in the user's number format.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "model/number_text.hpp"

namespace {

using orvane::NumberReading;
constexpr auto Ok = NumberReading::Ok, Mismatch = NumberReading::Mismatch,
               Range = NumberReading::OutOfRange;

const std::u16string k320Digits(320, u'9');
const std::u16string kSmall320 = u"0." + std::u16string(330, u'0') + u"1";

// One text read by a field under the decimal point and the decimal comma
// setting (each a status and value), and by the reader that takes either.
struct Read {
  std::u16string text;
  NumberReading::Status point;
  double pointValue;
  NumberReading::Status comma;
  double commaValue;
  NumberReading::Status either;
};

TEST(NumberText, AFieldTakesOnlyAWholeNumberInTheUsersFormat) {
  const float max = std::numeric_limits<float>::max();
  const double v1234 = double{12.34f};
  const Read cases[] = {
      {u"12.34", Ok, v1234, Mismatch, 0, Ok},
      {u"12,34", Mismatch, 0, Ok, v1234, Ok},
      {u"  -12.5\u00A0", Ok, -12.5, Mismatch, 0, Ok},
      {u"+.5e-2", Ok, double{0.005f}, Mismatch, 0, Ok},
      {u"+,5E-2", Mismatch, 0, Ok, double{0.005f}, Ok},
      {u"5", Ok, 5, Ok, 5, Ok},
      {u"00012", Ok, 12, Ok, 12, Ok},
      {u"1e0001", Ok, 10, Ok, 10, Ok},
      // a unit, a second number, garbage after it: nothing is stored
      {u"12 mm", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"12,5 mm", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"1 2", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"1.5e3.2", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"1,500.5", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"3d2", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"1e", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"1e+", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"abc", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"   ", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"-", Mismatch, 0, Mismatch, 0, Mismatch},
      {u".", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"inf", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"nan", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"0x10", Mismatch, 0, Mismatch, 0, Mismatch},
      // only ASCII digits are digits
      {u"2\uFF15", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"\uFF13\uFF10\uFF10", Mismatch, 0, Mismatch, 0, Mismatch},
      {u"\u0661", Mismatch, 0, Mismatch, 0, Mismatch},
      // beyond a single (or a double): out of range; too small: 0
      {u"3.4028234e38", Ok, double{max}, Mismatch, 0, Ok},
      {u"3.4028235e38", Range, 0, Mismatch, 0, Ok},
      {u"-1e39", Range, 0, Range, 0, Ok},
      {u"1e400", Range, 0, Range, 0, Range},
      {u"1e99999999999999999999", Range, 0, Range, 0, Range},
      {k320Digits, Range, 0, Range, 0, Range},
      {u"1e-400", Ok, 0, Ok, 0, Ok},
      {u"1e-99999999999999999999", Ok, 0, Ok, 0, Ok},
      {kSmall320, Ok, 0, Mismatch, 0, Ok},
      {u"0.000001e-320", Ok, 0, Mismatch, 0, Ok},
  };
  for (const Read& c : cases) {
    const std::string shown(c.text.begin(), c.text.end());
    const NumberReading point = orvane::readFieldNumber(c.text, false);
    const NumberReading comma = orvane::readFieldNumber(c.text, true);
    EXPECT_EQ(point.status, c.point) << shown;
    EXPECT_EQ(point.value, c.pointValue) << shown;
    EXPECT_EQ(comma.status, c.comma) << shown;
    EXPECT_EQ(comma.value, c.commaValue) << shown;
    EXPECT_EQ(orvane::readStrictNumber(c.text).status, c.either) << shown;
  }
  // the reader that takes either separator keeps a double
  EXPECT_EQ(orvane::readStrictNumber(u"0.0001e312").value, 1e308);
  EXPECT_EQ(orvane::readStrictNumber(u"1,5").value, 1.5);
}

}  // namespace
