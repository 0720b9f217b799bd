#include "model/format.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
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
using F = FormatCase;

// A text the program wrote and the text it should be.
struct Written {
  std::string text;
  const char* expected;
};
using W = Written;

TEST(Format, WritesEachPatternFromTheFifteenDigitText) {
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kTiny = std::numeric_limits<double>::denorm_min();
  const FormatCase cases[] = {
      // Every pattern the program displays.
      F{0, "0", "0"}, F{2.5, "0", "3"}, F{1234.56, "0.0", "1234.6"}, F{2.675, "0.00", "2.68"},
      F{0.04, "#0.0", "0.0"}, F{355.25, "##0.0", "355.3"}, F{0.0625, "##0.000", "0.063"},
      F{12.0, "#0.000", "12.000"}, F{5, "#00", "05"}, F{7, "#000", "007"}, F{200, "00", "200"},
      F{3, "#", "3"}, F{0.5, "##.00", ".50"}, F{12345, "###", "12345"}, F{0.999, "#0.00", "1.00"},
      F{99.5, "##0", "100"}, F{2.0e8, "0.000E+0", "2.000E+8"}, F{0.000123456, "0.00E+0", "1.23E-4"},
      // Halves round away from zero, also where the binary value lies just
      // below and only the 15-digit text ends in 5; below it stays below.
      F{1.005, "0.00", "1.01"}, F{0.125, "0.00", "0.13"}, F{-2.5, "0", "-3"}, F{0.5, "#", "1"},
      F{0.12499999999999, "0.00", "0.12"},
      // Carries through nines; rounding to nothing.
      F{999.95, "0.0", "1000.0"}, F{0.0005, "0.000", "0.001"}, F{0.0004, "0.000", "0.000"},
      F{0.4, "#", ""}, F{1e-300, "0.00", "0.00"},
      // A single shows its own binary value, not its short text.
      F{double(11512341.0f), "0.0", "11512341.0"}, F{double(0.445f), "0.00", "0.44"},
      F{0.445, "0.00", "0.45"}, F{double(0.1f), "0.000000000", "0.100000001"},
      // Digits beyond the fifteenth are zeros.
      F{123456789012345678.0, "0", "123456789012346000"},
      F{0.1, "0.000000000000000000", "0.100000000000000000"},
      // Required and optional digits.
      F{12.5, "#000.0", "012.5"}, F{0.25, "#.00", ".25"}, F{1.5, "0.0#", "1.5"},
      F{1.0, "0.##", "1"}, F{1.205, "0.##", "1.21"},
      // The sign goes before the padding; what rounds to zero has none.
      F{-5, "#00", "-05"}, F{-0.5, "##.00", "-.50"}, F{-0.05, "0.0", "-0.1"},
      F{-0.04, "0.0", "0.0"}, F{-0.0, "0.0", "0.0"}, F{-0.0, "0.000E+0", "0.000E+0"},
      // Exponents: one mantissa digit unless more are required, carries raise
      // the exponent, the letter, sign and digit count follow the pattern.
      F{1, "0.000E+0", "1.000E+0"}, F{-12345, "0.000E+0", "-1.235E+4"},
      F{1.2345e-10, "0.00E+0", "1.23E-10"}, F{9.9996e3, "0.000E+0", "1.000E+4"},
      F{9.9995e-3, "0.000E+0", "1.000E-2"}, F{9.9994e3, "0.000E+0", "9.999E+3"},
      F{kMax, "0.000E+0", "1.798E+308"}, F{kTiny, "0.00E+0", "4.94E-324"},
      F{1234.0, "0.0E-0", "1.2E3"}, F{0.01, "0.0E-0", "1.0E-2"}, F{1234.0, "0.0E+00", "1.2E+03"},
      F{1234.0, "0.0e+0", "1.2e+3"}, F{1234.0, "00.0E+0", "12.3E+2"}};
  for (const FormatCase& c : cases) {
    EXPECT_EQ(format(c.value, c.pattern), c.expected)
        << ::testing::PrintToString(c.value) << " with \"" << c.pattern << '"';
  }
  for (const char* pattern : {"0,0", "0.0E+", "0.0.0"}) {
    EXPECT_THROW(format(1, pattern), std::invalid_argument) << pattern;
  }
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

TEST(GeneralAndFileNumber, WriteTheirNotation) {
  const Written cases[] = {
      // General numbers: a single keeps seven digits, a double fifteen.
      W{generalNumber(200.0f), "200"}, W{generalNumber(9.5f), "9.5"}, W{generalNumber(0.1f), "0.1"},
      W{generalNumber(-2.5f), "-2.5"}, W{generalNumber(0.0f), "0"}, W{generalNumber(-0.0f), "0"},
      W{generalNumber(123456789.0f), "123456800"}, W{generalNumber(1.0f / 3.0f), "0.3333333"},
      W{generalNumber(1234567.5f), "1234568"},  // the eighth digit rounds half away
      W{generalNumber(0.1), "0.1"}, W{generalNumber(2.0 / 3.0), "0.666666666666667"},
      W{generalNumber(999999999999999.0), "999999999999999"},
      // The exponent only for very large or small values.
      W{generalNumber(1e15), "1E+15"}, W{generalNumber(0.00001), "0.00001"},
      W{generalNumber(0.000001), "1E-06"}, W{generalNumber(-1.5e-7f), "-1.5E-07"},
      // The file notation: the shortest text that reads back.
      W{fileNumber(3000.0), "3000"}, W{fileNumber(-0.3f), "-0.3"}, W{fileNumber(0.1f), "0.1"},
      W{fileNumber(double(0.1f)), "0.10000000149011612"}, W{fileNumber(1e20), "1E+20"},
      W{fileNumber(1e-7), "1E-07"}, W{fileNumber(-0.0), "0"}, W{fileNumber(-32768), "-32768"}};
  for (const Written& c : cases) EXPECT_EQ(c.text, c.expected);
}

// Random bit patterns and ordinary values read back exactly from their text,
// which is never longer than the shortest form needs.
template <typename T, typename Bits>
void expectReadsBack(std::initializer_list<T> fixed, std::size_t longest) {
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<T> ordinary(-1e6, 1e6);
  std::vector<T> values(fixed);
  for (int i = 0; i < 20000; ++i) {
    const T value = i % 2 ? std::bit_cast<T>(static_cast<Bits>(random())) : ordinary(random);
    if (std::isfinite(value)) values.push_back(value);
  }
  for (T value : values) {
    const std::string text = fileNumber(value);
    const std::optional<double> back = parseFileNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    ASSERT_EQ(static_cast<T>(*back), value) << text;
    ASSERT_LE(text.size(), longest) << text;  // digits, sign, point, exponent
  }
}

TEST(FileNumber, DoublesAndSinglesReadBackExactly) {
  expectReadsBack<double, std::uint64_t>(
      {1e20, 1e-7, 0.1, 1.0 / 3.0, std::numeric_limits<double>::max(),
       std::numeric_limits<double>::denorm_min(), -2.5e-300},
      24);
  expectReadsBack<float, std::uint32_t>(
      {-0.3f, 1e-7f, 1e20f, 0.1f, 355.5f, std::numeric_limits<float>::max()}, 15);
}

struct Parsed {
  const char* text;
  std::optional<double> expected;
};

TEST(ParseFileNumber, ReadsTheNumberFormsOnly) {
  const Parsed cases[] = {
      Parsed{"  -2.25\t", -2.25}, Parsed{"+7", 7.0}, Parsed{".5", 0.5}, Parsed{"-.5", -0.5},
      Parsed{"5.", 5.0}, Parsed{"1E+20", 1e20}, Parsed{"1e-7", 1e-7}, Parsed{"2.5E3", 2500.0},
      Parsed{"-.5e1", -5.0}, Parsed{"007", 7.0},
      // Below the smallest double reads as zero; above the largest is no number.
      Parsed{"1e-400", 0.0}, Parsed{"0.000001e-320", 0.0}, Parsed{"1e400", std::nullopt},
      Parsed{"12345e305", std::nullopt}};
  for (const Parsed& c : cases) EXPECT_EQ(parseFileNumber(c.text), c.expected) << c.text;
  EXPECT_TRUE(std::signbit(parseFileNumber("-0").value()));
  for (const char* text : {"",    "   ",  "abc", "1.5x", "1,5",   "--1",   "+-1",  ".",
                           "-",   "+",    "E5",  "1E",   "1E+",   "1e-",   "inf",  "-inf",
                           "nan", "0x10", "1 2", "1..2", "1.2.3", "1E5.5", "1 E5", "\"1\""}) {
    EXPECT_EQ(parseFileNumber(text), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace orvane
