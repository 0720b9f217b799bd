#include "model/format.hpp"

#include "model/number_chars.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace orvane {
namespace {

constexpr std::array<std::uint64_t, 16> kPow10 = [] {
  std::array<std::uint64_t, 16> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// A finite value as decimal digits: value = 0 if `n` is 0, otherwise the
// n-digit integer `mant` read as d0.d1d2... * 10^exp with d0 != 0. At most 15
// digits are ever held. Rounding works on `mant`; spell() writes the digits
// that at() reads.
struct Decimal {
  std::uint64_t mant = 0;
  int n = 0;
  int exp = 0;
  bool negative = false;
  std::array<char, 16> digits{};

  void spell() {
    std::uint64_t m = mant;
    for (int i = n - 1; i >= 0; --i) {
      digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + m % 10);
      m /= 10;
    }
  }
  // Digit k of the (conceptually zero-padded) digit string.
  char at(int k) const { return k >= 0 && k < n ? digits[static_cast<std::size_t>(k)] : '0'; }
};

// Fast exact path of decimal15 for 1E-13 <= |value| < 1E+15 (k = 14 - decimal
// order in 0..27): value = m 2^e with a 53-bit m, so value 10^k = m 5^k 2^(k+e)
// is an exact 116-bit integer shifted by k + e. Its integer part is the
// 15-digit head; the bits shifted out decide the rounding, half to even as
// the reference conversion does. Returns false where the path does not apply.
bool decimal15Fast(double magnitude, Decimal& d) {
  static constexpr std::array<std::uint64_t, 28> kPow5 = [] {
    std::array<std::uint64_t, 28> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
    return p;
  }();
  __extension__ using u128 = unsigned __int128;
  const auto bits = chars::bitCast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);
  if (biased == 0) return false;  // subnormal
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int e2 = biased - 1023;  // magnitude in [2^e2, 2^(e2+1))
  // floor(e2 log10 2): the decimal order or one below it.
  int order = static_cast<int>((static_cast<std::int64_t>(e2) * 78913) >> 18);
  for (int attempt = 0; attempt < 2; ++attempt, ++order) {
    const int k = 14 - order;
    if (k < 0 || k >= static_cast<int>(kPow5.size())) return false;
    const u128 scaled = static_cast<u128>(m) * kPow5[static_cast<std::size_t>(k)];
    const int shift = 52 - e2 - k;  // value 10^k = scaled / 2^shift
    // Below 1E+15 at least three bits are shifted out; 120 keeps the masks in range.
    if (shift <= 0 || shift >= 120) return false;
    std::uint64_t head = static_cast<std::uint64_t>(scaled >> shift);
    const u128 rest = scaled & ((u128{1} << shift) - 1);
    const u128 half = u128{1} << (shift - 1);
    const bool up = rest > half || (rest == half && (head & 1) != 0);
    if (head >= 1000000000000000ULL) continue;    // the order was one too low
    if (head < 100000000000000ULL) return false;  // (cannot happen: the order is never too high)
    head += up ? 1 : 0;
    d.exp = order;
    if (head == 1000000000000000ULL) {
      head /= 10;
      ++d.exp;
    }
    d.mant = head;
    d.n = 15;
    return true;
  }
  return false;
}

// The exact binary value with 15 significant digits, correctly rounded. All
// display rounding starts from this text, never from the binary value, so
// that 2.675 (2.67499999...) still shows as 2.68.
Decimal decimal15(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0.0) return d;
  if (decimal15Fast(std::fabs(value), d)) return d;
  char buf[40];
  const char* const end = chars::scientific(buf, buf + sizeof buf, std::fabs(value), 14);
  // buf holds "d.dddddddddddddde[+-]x..."
  d.mant = static_cast<std::uint64_t>(buf[0] - '0');
  for (int i = 2; i < 16; ++i) d.mant = d.mant * 10 + static_cast<std::uint64_t>(buf[i] - '0');
  d.n = 15;
  std::from_chars(buf + (buf[17] == '+' ? 18 : 17), end, d.exp);
  return d;
}

// Keeps the first `keep` digits, rounding half away from zero. A carry out of
// the leading digit raises the exponent; the digit count then stays `keep`
// (or becomes 1 when nothing was kept).
void roundTo(Decimal& d, int keep) {
  if (keep >= d.n) return;
  if (keep < 0) {
    d.n = 0;
    d.mant = 0;
    return;
  }
  // Only the first digit dropped decides: the text is rounded, not the value.
  const auto dropped = static_cast<std::size_t>(d.n - keep);
  const bool up = d.mant % kPow10[dropped] >= 5 * kPow10[dropped - 1];
  d.mant /= kPow10[dropped];
  d.n = keep;
  if (!up) return;
  if (++d.mant == kPow10[static_cast<std::size_t>(keep)]) {
    d.mant = keep > 0 ? kPow10[static_cast<std::size_t>(keep - 1)] : 1;
    d.n = keep > 0 ? keep : 1;
    ++d.exp;
  }
}

struct Pattern {
  int intRequired = 0;  // '0' digits before the point
  bool point = false;
  std::string_view decimals;  // '0' (required) and '#' (optional) after the point
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
    const std::size_t start = ++i;
    while (i < text.size() && (text[i] == '#' || text[i] == '0')) ++i;
    p.decimals = text.substr(start, i - start);
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

// Appends the decimals: digit `first` + j of `d` for each decimal j of the
// pattern. Optional ('#') decimals drop their trailing zeros; the point goes
// with the last decimal.
void appendFraction(std::string& out, const Decimal& d, int first, const Pattern& p) {
  const std::size_t pointAt = out.size();
  out += '.';
  const int dec = static_cast<int>(p.decimals.size());
  for (int j = 0; j < dec; ++j) out += d.at(first + j);
  std::size_t kept = static_cast<std::size_t>(dec);
  while (kept > 0 && out.back() == '0' && p.decimals[kept - 1] == '#') {
    out.pop_back();
    --kept;
  }
  if (kept == 0) out.resize(pointAt);
}

// Both formats round `d` in place.
std::string formatFixed(Decimal& d, const Pattern& p) {
  const int dec = static_cast<int>(p.decimals.size());
  roundTo(d, d.exp + 1 + dec);
  d.spell();
  std::string out;
  if (d.n == 0) {
    // Rounded to zero: no sign, only the required digits.
    out.assign(static_cast<std::size_t>(p.intRequired), '0');
    d.exp = -1;
  } else {
    // A value that survives the rounding has digits down to the last decimal.
    if (d.negative) out += '-';
    const int whole = std::max(d.exp + 1, 0);
    out.append(static_cast<std::size_t>(std::max(p.intRequired - whole, 0)), '0');
    for (int k = 0; k < whole; ++k) out += d.at(k);
  }
  appendFraction(out, d, d.exp + 1, p);
  return out;
}

std::string formatExponent(Decimal& d, const Pattern& p) {
  const int intDigits = p.intRequired > 0 ? p.intRequired : 1;
  const int keep = intDigits + static_cast<int>(p.decimals.size());
  roundTo(d, keep);
  d.spell();
  const bool zero = d.n == 0;
  const int exp = zero ? 0 : d.exp - (intDigits - 1);
  std::string out;
  if (d.negative && !zero) out += '-';
  for (int k = 0; k < intDigits; ++k) out += d.at(k);
  appendFraction(out, d, intDigits, p);
  out += p.expLetter;
  if (exp < 0) {
    out += '-';
  } else if (p.expPlus) {
    out += '+';
  }
  char buf[12];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::abs(exp));
  const auto len = static_cast<int>(res.ptr - buf);
  out.append(static_cast<std::size_t>(std::max(p.expDigits - len, 0)), '0');
  out.append(buf, res.ptr);
  return out;
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
  while (d.n > 0 && d.mant % 10 == 0) {
    d.mant /= 10;
    --d.n;
  }
  if (d.n == 0) return "0";
  d.spell();
  std::string text = d.negative ? "-" : "";
  const std::string_view digits(d.digits.data(), static_cast<std::size_t>(d.n));
  if (d.exp >= 15 || d.exp < -5) {
    text += digits.substr(0, 1);
    if (d.n > 1) (text += '.') += digits.substr(1);
    const std::string e = std::to_string(std::abs(d.exp));
    return text + (d.exp < 0 ? "E-" : "E+") + (e.size() < 2 ? "0" : "") + e;
  }
  if (d.exp < 0) return (text + "0." + std::string(-d.exp - 1, '0')).append(digits);
  const int intLen = d.exp + 1;
  for (int k = 0; k < intLen; ++k) text += d.at(k);
  if (d.n > intLen) (text += '.') += digits.substr(static_cast<std::size_t>(intLen));
  return text;
}

template <typename T>
std::string shortest(T value) {
  if (value == 0) return "0";  // also -0: the file has no negative zero
  char buf[64];
  std::string text(buf, chars::shortest(buf, buf + sizeof buf, value));
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
  Decimal d = decimal15(value);
  return p.exponent ? formatExponent(d, p) : formatFixed(d, p);
}

std::string generalNumber(float value) { return general(value, 7); }
std::string generalNumber(double value) { return general(value, 15); }

std::string fileNumber(double value) { return shortest(value); }
std::string fileNumber(float value) { return shortest(value); }
std::string fileNumber(int value) { return std::to_string(value); }

void appendShortest(std::string& out, double value) { chars::appendShortest(out, value); }

std::string shortestText(double value) {
  std::string text;
  appendShortest(text, value);
  return text;
}

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
  const auto result = chars::read(first, text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small for a double reads as zero; too large is no number.
    if (!seenNonzero || order + exponent < 0) return negative ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace orvane
