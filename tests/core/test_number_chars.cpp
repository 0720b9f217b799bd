// The portable number path (fmt, fast_float) against libstdc++'s
// std::to_chars / std::from_chars, which it stands in for on every build.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "model/number_chars.hpp"

namespace orvane {
namespace {

template <typename T>
std::string stdShortest(T v) {
  char buf[400];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}
template <typename T>
std::string ownShortest(T v) {
  char buf[400];
  return std::string(buf, chars::shortest(buf, buf + sizeof buf, v));
}

// Every precision form, std::to_chars against chars::.
void expectPrecisionForms(double v, int precision) {
  char a[400], b[400];
  const auto compare = [&](std::chars_format f, char* (*own)(char*, char*, double, int)) {
    const std::string want(a, std::to_chars(a, a + sizeof a, v, f, precision).ptr);
    ASSERT_EQ(std::string(b, own(b, b + sizeof b, v, precision)), want)
        << v << " precision " << precision;
  };
  compare(std::chars_format::scientific, chars::scientific);
  compare(std::chars_format::general, chars::general);
  if (std::fabs(v) < 1e30) compare(std::chars_format::fixed, chars::fixed);
}

template <typename T>
void expectSameReading(const std::string& text) {
  T want = 7, got = 7;
  const char* end = text.data() + text.size();
  const auto a = std::from_chars(text.data(), end, want);
  const auto b = chars::read(text.data(), end, got);
  ASSERT_EQ(b.ec, a.ec) << text;
  ASSERT_EQ(b.ptr, a.ptr) << text;
  ASSERT_EQ(chars::bitCast<std::uint64_t>(static_cast<double>(got)),
            chars::bitCast<std::uint64_t>(static_cast<double>(want)))
      << text;
}

template <typename T>
void expectSameShortest(T v) {
  const std::string text = stdShortest(v);
  ASSERT_EQ(ownShortest(v), text);
  expectSameReading<T>(text);
}

TEST(NumberChars, EdgeValuesWriteAndReadAsTheStandardLibrary) {
  const double lowest = std::numeric_limits<double>::denorm_min();
  for (double v : {0.0,
                   -0.0,
                   0.1,
                   1e-5,
                   1e-4,
                   1e15,
                   1e16,
                   1e17,
                   1e21,
                   1e22,
                   1e23,
                   123456.0,
                   100.0,
                   9007199254740993.0,
                   1.2345678901234567e20,
                   2.2250738585072014e-308,
                   lowest,
                   std::numeric_limits<double>::max(),
                   -1e100,
                   2.675,
                   std::numeric_limits<double>::infinity(),
                   -std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    expectSameShortest(v);
    expectSameShortest(static_cast<float>(v));
    for (int p = 0; p < 18; ++p) expectPrecisionForms(v, p);
  }
  for (const char* text :
       {"1e400",    "-1e400",   "1e-400", "0e999", "0.0000e-999", "inf",          "-inf",  "nan",
        "infinity", "nan(123)", "+1",     "1e",    "1.",          "-.5",          ".5",    "1e+5",
        "1x",       "",         "-",      "e5",    "0x10",        "1e-46",        "1e39",  "4e-324",
        "2e-324",   "1.5e-45",  "7e-46",  " 1",    "1,5",         "00012.500e-1", "1e-310"}) {
    expectSameReading<double>(text);
    expectSameReading<float>(text);
  }
}

TEST(NumberChars, RandomValuesWriteAndReadAsTheStandardLibrary) {
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 1000000; ++i) {
    const std::uint64_t bits = random();
    expectSameShortest(chars::bitCast<double>(bits));
    expectSameShortest(chars::bitCast<float>(static_cast<std::uint32_t>(bits)));
    // values of a project's size: a few digits, moderate exponents
    const double plain = std::ldexp(static_cast<double>(random() % 100000000) / 1e4,
                                    static_cast<int>(random() % 200) - 100);
    expectSameShortest(plain);
    expectPrecisionForms(plain, static_cast<int>(random() % 18));
    if (i % 8 == 0)
      expectPrecisionForms(chars::bitCast<double>(bits), static_cast<int>(random() % 18));
  }
}

}  // namespace
}  // namespace orvane
