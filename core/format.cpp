#include "core/format.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace orvane {
namespace {

// A finite value as decimal digits: value = 0 if `digits` is empty, otherwise
// d0.d1d2... * 10^exp with d0 != '0'.
struct Decimal {
  std::string digits;
  int exp = 0;
  bool negative = false;
};

// The exact binary value with 15 significant digits, correctly rounded. All
// display rounding starts from this text, never from the binary value, so
// that 2.675 (2.67499999...) still shows as 2.68.
Decimal decimal15(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0.0) return d;
  char buf[40];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
  const auto e = text.find('e');
  d.digits.reserve(15);
  d.digits.push_back(text[0]);
  d.digits.append(text.substr(2, e - 2));
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), d.exp);
  return d;
}

// Keeps the first `keep` digits, rounding half away from zero. A carry out of
// the leading digit raises the exponent; the digit count then stays `keep`
// (or becomes 1 when nothing was kept).
void roundTo(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (!up) return;
  int i = keep - 1;
  while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
  if (i >= 0) {
    ++d.digits[i];
  } else {
    d.digits = "1" + std::string(keep > 0 ? keep - 1 : 0, '0');
    ++d.exp;
  }
}

struct Pattern {
  int intRequired = 0;  // '0' digits before the point
  bool point = false;
  std::string decimals;  // '0' (required) and '#' (optional) after the point
  bool exponent = false;
  char expLetter = 'E';
  bool expPlus = false;  // "E+" writes '+' for positive exponents, "E-" does not
  int expDigits = 1;
};

Pattern parsePattern(std::string_view text) {
  Pattern p;
  std::size_t i = 0;
  for (; i < text.size() && (text[i] == '#' || text[i] == '0'); ++i) {
    if (text[i] == '0') ++p.intRequired;
  }
  if (i < text.size() && text[i] == '.') {
    p.point = true;
    for (++i; i < text.size() && (text[i] == '#' || text[i] == '0'); ++i) p.decimals += text[i];
  }
  if (i + 1 < text.size() && (text[i] == 'E' || text[i] == 'e') &&
      (text[i + 1] == '+' || text[i + 1] == '-')) {
    p.exponent = true;
    p.expLetter = text[i];
    p.expPlus = text[i + 1] == '+';
    i += 2;
    const std::size_t start = i;
    while (i < text.size() && text[i] == '0') ++i;
    p.expDigits = static_cast<int>(i - start);
    if (p.expDigits == 0) i = start - 2;  // "E+" without digits is not an exponent
  }
  if (i != text.size()) throw std::invalid_argument("unsupported number pattern");
  return p;
}

// Optional ('#') decimals drop their trailing zeros; the point goes with the
// last decimal.
std::string fraction(std::string frac, const Pattern& p) {
  while (!frac.empty() && frac.back() == '0' && p.decimals[frac.size() - 1] == '#') frac.pop_back();
  return frac.empty() ? std::string() : "." + frac;
}

std::string formatFixed(Decimal d, const Pattern& p) {
  const int dec = static_cast<int>(p.decimals.size());
  roundTo(d, d.exp + 1 + dec);
  // The rounded value times 10^dec as an integer without leading zeros.
  std::string scaled = d.digits;
  if (!scaled.empty()) scaled.resize(d.exp + 1 + dec, '0');
  const int intLen = static_cast<int>(scaled.size()) - dec;
  std::string whole = intLen > 0 ? scaled.substr(0, intLen) : std::string();
  std::string frac = intLen > 0 ? scaled.substr(intLen) : scaled;
  frac.insert(0, dec - frac.size(), '0');
  if (static_cast<int>(whole.size()) < p.intRequired) {
    whole.insert(0, p.intRequired - whole.size(), '0');
  }
  const bool minus = d.negative && !scaled.empty();
  return (minus ? "-" : "") + whole + fraction(frac, p);
}

std::string formatExponent(Decimal d, const Pattern& p) {
  const int intDigits = p.intRequired > 0 ? p.intRequired : 1;
  const int keep = intDigits + static_cast<int>(p.decimals.size());
  roundTo(d, keep);
  const bool zero = d.digits.empty();
  std::string digits = d.digits;
  digits.resize(keep, '0');
  const int exp = zero ? 0 : d.exp - (intDigits - 1);
  std::string expText = std::to_string(std::abs(exp));
  if (static_cast<int>(expText.size()) < p.expDigits) {
    expText.insert(0, p.expDigits - expText.size(), '0');
  }
  const char* sign = exp < 0 ? "-" : (p.expPlus ? "+" : "");
  return (d.negative && !zero ? "-" : "") + digits.substr(0, intDigits) +
         fraction(digits.substr(intDigits), p) + p.expLetter + sign + expText;
}

std::string nonFinite(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Inf" : "Inf";
}

// Values below 1 keep their leading zero ("0.5"): the designations read
// better that way and nothing parses them back. The exponent form starts where
// 15 integer digits no longer suffice and below 1E-05.
std::string general(double value, int significant) {
  if (!std::isfinite(value)) return nonFinite(value);
  Decimal d = decimal15(value);
  roundTo(d, significant);
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) return "0";
  std::string text = d.negative ? "-" : "";
  if (d.exp >= 15 || d.exp < -5) {
    text += d.digits.substr(0, 1);
    if (d.digits.size() > 1) text += "." + d.digits.substr(1);
    const std::string e = std::to_string(std::abs(d.exp));
    return text + (d.exp < 0 ? "E-" : "E+") + (e.size() < 2 ? "0" : "") + e;
  }
  if (d.exp < 0) return text + "0." + std::string(-d.exp - 1, '0') + d.digits;
  const std::size_t intLen = d.exp + 1;
  if (d.digits.size() <= intLen)
    return text + d.digits + std::string(intLen - d.digits.size(), '0');
  return text + d.digits.substr(0, intLen) + "." + d.digits.substr(intLen);
}

template <typename T>
std::string shortest(T value) {
  if (value == 0) return "0";  // also -0: the file has no negative zero
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  std::string text(buf, result.ptr);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string format(double value, std::string_view pattern) {
  const Pattern p = parsePattern(pattern);
  if (!std::isfinite(value)) return nonFinite(value);
  const Decimal d = decimal15(value);
  return p.exponent ? formatExponent(d, p) : formatFixed(d, p);
}

std::string generalNumber(float value) { return general(value, 7); }
std::string generalNumber(double value) { return general(value, 15); }

std::string fileNumber(double value) { return shortest(value); }
std::string fileNumber(float value) { return shortest(value); }
std::string fileNumber(int value) { return std::to_string(value); }

std::optional<double> parseFileNumber(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);

  // from_chars accepts "inf", "nan" and no '+', so the grammar is checked here.
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  const std::size_t numberStart = i;
  std::size_t mantissaDigits = 0;
  bool seenNonzero = false;
  bool afterPoint = false;
  int intDigits = 0;
  int leadingFracZeros = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    if (!isDigit(c)) break;
    ++mantissaDigits;
    if (!afterPoint) {
      if (seenNonzero || c != '0') ++intDigits;
    } else if (!seenNonzero && c == '0' && intDigits == 0) {
      ++leadingFracZeros;
    }
    if (c != '0') seenNonzero = true;
  }
  if (mantissaDigits == 0) return std::nullopt;
  // Decimal order of the first nonzero digit, before the exponent.
  const int order = intDigits > 0 ? intDigits - 1 : -(leadingFracZeros + 1);
  long exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool expNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
    const std::size_t expStart = i;
    for (; i < text.size() && isDigit(text[i]); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == expStart) return std::nullopt;
    if (expNegative) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;

  double value = 0.0;
  const char* first = text.data() + numberStart;
  const auto result = std::from_chars(first, text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small for a double reads as zero; too large is no number.
    if (!seenNonzero || order + exponent < 0) return negative ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace orvane
