#include "core/format.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvane {
namespace {

struct FormatCase {
  double value;
  const char* pattern;
  const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.value << " with \"" << c.pattern << "\"";
}

class FormatPatterns : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatPatterns, WritesExpectedText) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(format(c.value, c.pattern), c.expected);
}

// Every pattern the program displays, with values that exercise its digits.
INSTANTIATE_TEST_SUITE_P(
    AllDisplayPatterns, FormatPatterns,
    ::testing::Values(FormatCase{0, "0", "0"}, FormatCase{2.5, "0", "3"},
                      FormatCase{1234.56, "0.0", "1234.6"}, FormatCase{2.675, "0.00", "2.68"},
                      FormatCase{0.04, "#0.0", "0.0"}, FormatCase{355.25, "##0.0", "355.3"},
                      FormatCase{0.0625, "##0.000", "0.063"}, FormatCase{12.0, "#0.000", "12.000"},
                      FormatCase{5, "#00", "05"}, FormatCase{7, "#000", "007"},
                      FormatCase{200, "00", "200"}, FormatCase{0, "#", ""}, FormatCase{3, "#", "3"},
                      FormatCase{0.5, "##.00", ".50"}, FormatCase{12345, "###", "12345"},
                      FormatCase{0.999, "#0.00", "1.00"}, FormatCase{99.5, "##0", "100"},
                      FormatCase{2.0e8, "0.000E+0", "2.000E+8"},
                      FormatCase{0.000123456, "0.00E+0", "1.23E-4"}));

TEST(FormatRounding, RoundsTheFifteenDigitTextHalfAwayFromZero) {
  // The binary values lie just below the halves; their 15-digit texts end in 5.
  EXPECT_EQ(format(2.675, "0.00"), "2.68");
  EXPECT_EQ(format(1.005, "0.00"), "1.01");
  EXPECT_EQ(format(0.125, "0.00"), "0.13");
  EXPECT_EQ(format(-0.125, "0.00"), "-0.13");
  EXPECT_EQ(format(0.5, "0"), "1");
  EXPECT_EQ(format(1.5, "0"), "2");
  EXPECT_EQ(format(-2.5, "0"), "-3");
  EXPECT_EQ(format(0.5, "#"), "1");
  // Below the half at the 15th digit stays below.
  EXPECT_EQ(format(0.12499999999999, "0.00"), "0.12");
}

TEST(FormatRounding, CarriesThroughNines) {
  EXPECT_EQ(format(9.96, "0.0"), "10.0");
  EXPECT_EQ(format(999.95, "0.0"), "1000.0");
  EXPECT_EQ(format(0.0005, "0.000"), "0.001");
  EXPECT_EQ(format(0.0004, "0.000"), "0.000");
  EXPECT_EQ(format(0.00051, "#.000"), ".001");
}

TEST(FormatRounding, SingleInputsShowTheirBinaryValue) {
  EXPECT_EQ(format(static_cast<double>(11512341.0f), "0.0"), "11512341.0");
  EXPECT_EQ(format(static_cast<double>(0.445f), "0.00"), "0.44");
  EXPECT_EQ(format(0.445, "0.00"), "0.45");
  EXPECT_EQ(format(static_cast<double>(0.1f), "0.000000000"), "0.100000001");
  EXPECT_EQ(format(static_cast<double>(355.0f), "##0.0"), "355.0");
}

TEST(FormatRounding, KeepsOnlyFifteenSignificantDigits) {
  EXPECT_EQ(format(123456789012345678.0, "0"), "123456789012346000");
  EXPECT_EQ(format(1e20, "0"), "100000000000000000000");
  EXPECT_EQ(format(0.1, "0.000000000000000000"), "0.100000000000000000");
  EXPECT_EQ(format(1e-300, "0.00"), "0.00");
}

// The 15 significant digits every display starts from must be exactly those
// of the library's correctly rounded conversion (ties to even), over the whole
// range, including the fast integer path's boundaries and its ties.
TEST(FormatRounding, FifteenDigitsAgreeWithTheReferenceConversion) {
  const auto reference = [](double v) {
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string text(buf, res.ptr);
    const auto e = text.find('e');
    const int exp = std::stoi(text.substr(e + 1));
    return text.substr(0, e) + (exp < 0 ? "E-" : "E+") + std::to_string(std::abs(exp));
  };
  std::vector<double> values = {1000000000000005.0,
                                1000000000000015.0,
                                999999999999999.5,
                                999999999999999.4,
                                99999999999999.95,
                                1e15,
                                1e-13,
                                9.99999999999999e-14,
                                0.1,
                                2.675,
                                1.0 / 3.0,
                                123456789012345.5,
                                123456789012346.5,
                                std::numeric_limits<double>::min(),
                                5e-324,
                                1.7976931348623157e308};
  std::mt19937_64 gen(20261205);
  std::uniform_int_distribution<std::uint64_t> mantissa(0, (std::uint64_t{1} << 52) - 1);
  std::uniform_int_distribution<int> exponent(1023 - 60, 1023 + 60);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t bits = (static_cast<std::uint64_t>(exponent(gen)) << 52) | mantissa(gen);
    values.push_back(std::bit_cast<double>(bits));
  }
  // Short decimals and values with 16 significant digits ending in 5 (ties).
  std::uniform_int_distribution<std::int64_t> digits16(1000000000000000, 9007199254740991);
  for (int i = 0; i < 20000; ++i) {
    const auto n = digits16(gen);
    values.push_back(static_cast<double>(n - n % 10 + 5));
    values.push_back(static_cast<double>(n % 100000) / 1000.0);
    values.push_back(static_cast<double>(static_cast<float>(n % 1000000) / 7.0f));
  }
  int mismatches = 0;
  for (double v : values) {
    for (double signedValue : {v, -v}) {
      const std::string expected = (signedValue < 0 ? "-" : "") + reference(v);
      const std::string got = format(signedValue, "0.00000000000000E+0");
      if (got != expected && ++mismatches <= 10) {
        ADD_FAILURE() << std::hexfloat << v << std::defaultfloat << ": " << got << " vs "
                      << expected;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(FormatDigits, OptionalAndRequiredIntegerDigits) {
  EXPECT_EQ(format(0.4, "#"), "");
  EXPECT_EQ(format(0.25, "#.00"), ".25");
  EXPECT_EQ(format(0.25, "0.00"), "0.25");
  EXPECT_EQ(format(12.5, "#000.0"), "012.5");
  EXPECT_EQ(format(123456.0, "#00"), "123456");
  EXPECT_EQ(format(1234567.0, "0.0"), "1234567.0");  // no thousands separators
}

TEST(FormatDigits, OptionalDecimalsDropTrailingZeros) {
  EXPECT_EQ(format(1.5, "0.0#"), "1.5");
  EXPECT_EQ(format(1.25, "0.0#"), "1.25");
  EXPECT_EQ(format(1.0, "0.##"), "1");
  EXPECT_EQ(format(1.205, "0.##"), "1.21");
}

TEST(FormatSign, NegativeValuesAndNegativeZero) {
  EXPECT_EQ(format(-5, "#00"), "-05");
  EXPECT_EQ(format(-1234.56, "0.0"), "-1234.6");
  EXPECT_EQ(format(-0.0, "0.0"), "0.0");
  EXPECT_EQ(format(-0.04, "0.0"), "0.0");
  EXPECT_EQ(format(-0.05, "0.0"), "-0.1");
  EXPECT_EQ(format(-0.4, "#"), "");
  EXPECT_EQ(format(-0.0, "0.000E+0"), "0.000E+0");
  EXPECT_EQ(format(-0.5, "##.00"), "-.50");
}

TEST(FormatExponent, MantissaHasOneIntegerDigit) {
  EXPECT_EQ(format(0, "0.000E+0"), "0.000E+0");
  EXPECT_EQ(format(1, "0.000E+0"), "1.000E+0");
  EXPECT_EQ(format(123456789.0, "0.000E+0"), "1.235E+8");
  EXPECT_EQ(format(-12345, "0.000E+0"), "-1.235E+4");
  EXPECT_EQ(format(0.001234, "0.000E+0"), "1.234E-3");
  EXPECT_EQ(format(1.2345e-10, "0.00E+0"), "1.23E-10");
  EXPECT_EQ(format(static_cast<double>(2.0e7f), "0.000E+0"), "2.000E+7");
}

TEST(FormatExponent, CarryRaisesTheExponent) {
  EXPECT_EQ(format(9.9996e3, "0.000E+0"), "1.000E+4");
  EXPECT_EQ(format(9.9995e-3, "0.000E+0"), "1.000E-2");
  EXPECT_EQ(format(9.9994e3, "0.000E+0"), "9.999E+3");
  EXPECT_EQ(format(-9.996, "0.00E+0"), "-1.00E+1");
}

TEST(FormatExponent, HugeTinyAndOtherExponentForms) {
  EXPECT_EQ(format(std::numeric_limits<double>::max(), "0.000E+0"), "1.798E+308");
  EXPECT_EQ(format(std::numeric_limits<double>::denorm_min(), "0.00E+0"), "4.94E-324");
  EXPECT_EQ(format(static_cast<double>(std::numeric_limits<float>::max()), "0.000E+0"),
            "3.403E+38");
  EXPECT_EQ(format(1234.0, "0.0E-0"), "1.2E3");
  EXPECT_EQ(format(0.01, "0.0E-0"), "1.0E-2");
  EXPECT_EQ(format(1234.0, "0.0E+00"), "1.2E+03");
  EXPECT_EQ(format(1234.0, "0.0e+0"), "1.2e+3");
  EXPECT_EQ(format(1234.0, "00.0E+0"), "12.3E+2");  // required digits widen the mantissa
}

TEST(FormatPattern, RejectsUnknownPatterns) {
  EXPECT_THROW(format(1, "0,0"), std::invalid_argument);
  EXPECT_THROW(format(1, "0.0E+"), std::invalid_argument);
  EXPECT_THROW(format(1, "0.0.0"), std::invalid_argument);
}

TEST(GeneralNumber, SingleKeepsSevenDigits) {
  EXPECT_EQ(generalNumber(200.0f), "200");
  EXPECT_EQ(generalNumber(9.5f), "9.5");
  EXPECT_EQ(generalNumber(11.5f), "11.5");
  EXPECT_EQ(generalNumber(0.1f), "0.1");
  EXPECT_EQ(generalNumber(0.5f), "0.5");
  EXPECT_EQ(generalNumber(-2.5f), "-2.5");
  EXPECT_EQ(generalNumber(0.0f), "0");
  EXPECT_EQ(generalNumber(-0.0f), "0");
  EXPECT_EQ(generalNumber(123456789.0f), "123456800");
  EXPECT_EQ(generalNumber(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(generalNumber(1234567.5f), "1234568");  // eighth digit rounds half away
  EXPECT_EQ(generalNumber(9999999.0f), "9999999");
}

TEST(GeneralNumber, DoubleKeepsFifteenDigits) {
  EXPECT_EQ(generalNumber(200.0), "200");
  EXPECT_EQ(generalNumber(0.1), "0.1");
  EXPECT_EQ(generalNumber(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(generalNumber(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(generalNumber(999999999999999.0), "999999999999999");
  EXPECT_EQ(generalNumber(-12.25), "-12.25");
}

TEST(GeneralNumber, ExponentOnlyForVeryLargeOrSmall) {
  EXPECT_EQ(generalNumber(1e15), "1E+15");
  EXPECT_EQ(generalNumber(1.5e16f), "1.5E+16");
  EXPECT_EQ(generalNumber(0.00001), "0.00001");
  EXPECT_EQ(generalNumber(0.000001), "1E-06");
  EXPECT_EQ(generalNumber(-1.5e-7f), "-1.5E-07");
}

TEST(FileNumber, WritesTheFileNotation) {
  EXPECT_EQ(fileNumber(3000.0), "3000");
  EXPECT_EQ(fileNumber(0.5), "0.5");
  EXPECT_EQ(fileNumber(-0.3f), "-0.3");
  EXPECT_EQ(fileNumber(0.1f), "0.1");
  EXPECT_EQ(fileNumber(static_cast<double>(0.1f)), "0.10000000149011612");
  EXPECT_EQ(fileNumber(1e20), "1E+20");
  EXPECT_EQ(fileNumber(1e-7), "1E-07");
  EXPECT_EQ(fileNumber(-0.0), "0");
  EXPECT_EQ(fileNumber(0), "0");
  EXPECT_EQ(fileNumber(-32768), "-32768");
  EXPECT_EQ(fileNumber(355), "355");
}

TEST(FileNumber, DoublesReadBackExactly) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> ordinary(-1e6, 1e6);
  for (int i = 0; i < 20000; ++i) {
    double value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) continue;
    if (i % 2 == 0) value = ordinary(random);
    const std::string text = fileNumber(value);
    const auto back = parseFileNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    ASSERT_EQ(*back, value) << text;
  }
  for (double value : {1e20, 1e-7, 0.1, 1.0 / 3.0, std::numeric_limits<double>::max(),
                       std::numeric_limits<double>::denorm_min(), -2.5e-300}) {
    EXPECT_EQ(parseFileNumber(fileNumber(value)), value) << fileNumber(value);
  }
}

TEST(FileNumber, SinglesReadBackExactly) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> ordinary(-1e4f, 1e4f);
  for (int i = 0; i < 20000; ++i) {
    float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(value)) continue;
    if (i % 2 == 0) value = ordinary(random);
    const std::string text = fileNumber(value);
    const auto back = parseFileNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    ASSERT_EQ(static_cast<float>(*back), value) << text;
    ASSERT_LE(text.size(), 15u) << text;  // at most 9 digits, sign, point, exponent
  }
  for (float value : {-0.3f, 1e-7f, 1e20f, 0.1f, 355.5f, std::numeric_limits<float>::max()}) {
    EXPECT_EQ(static_cast<float>(parseFileNumber(fileNumber(value)).value()), value);
  }
}

TEST(ParseFileNumber, AcceptsTheNumberForms) {
  EXPECT_EQ(parseFileNumber("1.5"), 1.5);
  EXPECT_EQ(parseFileNumber("  -2.25\t"), -2.25);
  EXPECT_EQ(parseFileNumber("+7"), 7.0);
  EXPECT_EQ(parseFileNumber(".5"), 0.5);
  EXPECT_EQ(parseFileNumber("-.5"), -0.5);
  EXPECT_EQ(parseFileNumber("5."), 5.0);
  EXPECT_EQ(parseFileNumber("1E+20"), 1e20);
  EXPECT_EQ(parseFileNumber("1e-7"), 1e-7);
  EXPECT_EQ(parseFileNumber("2.5E3"), 2500.0);
  EXPECT_EQ(parseFileNumber("-.5e1"), -5.0);
  EXPECT_EQ(parseFileNumber("007"), 7.0);
  EXPECT_EQ(parseFileNumber("0"), 0.0);
  EXPECT_TRUE(std::signbit(parseFileNumber("-0").value()));
  // Below the smallest double reads as zero; above the largest is no number.
  EXPECT_EQ(parseFileNumber("1e-400"), 0.0);
  EXPECT_EQ(parseFileNumber("0.000001e-320"), 0.0);
  EXPECT_EQ(parseFileNumber("1e400"), std::nullopt);
  EXPECT_EQ(parseFileNumber("12345e305"), std::nullopt);
}

TEST(ParseFileNumber, RejectsOtherText) {
  for (const char* text : {"",    "   ",  "abc", "1.5x", "1,5",   "--1",   "+-1",  ".",
                           "-",   "+",    "E5",  "1E",   "1E+",   "1e-",   "inf",  "-inf",
                           "nan", "0x10", "1 2", "1..2", "1.2.3", "1E5.5", "1 E5", "\"1\""}) {
    EXPECT_EQ(parseFileNumber(text), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace orvane
