#include "model/number_text.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "model/number_chars.hpp"

namespace orvane {

namespace {

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Unicode white space, as the window trims it.
bool isSpace(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// A number spelled [sign] digits [. digits] [e [sign] digits] in ASCII, as
// collected by the readers. chars::read reads it exactly as strtod does in
// the C locale, but reports a range error instead of throwing.
NumberReading convert(const std::string& spelled) {
  const char* first = spelled.data();
  const char* last = first + spelled.size();
  if (first != last && *first == '+') ++first;
  double v = 0;
  const auto [end, ec] = chars::read(first, last, v);
  if (ec == std::errc()) return {NumberReading::Ok, v};
  if (ec != std::errc::result_out_of_range) return {NumberReading::Mismatch, 0};
  // Too large or too small: the decimal exponent of the first significant
  // digit tells which (a range error needs it beyond about 300 either way).
  const char* p = first;
  if (p != last && *p == '-') ++p;
  const char* mantissaEnd = p;
  while (mantissaEnd != last && *mantissaEnd != 'e' && *mantissaEnd != 'E') ++mantissaEnd;
  const std::string_view mantissa(p, static_cast<size_t>(mantissaEnd - p));
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t significant = mantissa.find_first_not_of("0.");
  if (significant == std::string_view::npos) return {NumberReading::Ok, 0};
  long long position = significant < point ? static_cast<long long>(point - significant) - 1
                                           : -static_cast<long long>(significant - point);
  p = mantissaEnd;
  long long exponent = 0;
  if (p != last) {
    ++p;
    const bool negative = p != last && *p == '-';
    if (p != last && (*p == '-' || *p == '+')) ++p;
    for (; p != last; ++p)
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (*p - '0');
    if (negative) exponent = -exponent;
  }
  if (position + exponent > 0) return {NumberReading::OutOfRange, 0};
  return {NumberReading::Ok, 0};
}

// A whole text that is one number, blanks around it allowed, with `point`
// or `comma` (or both) read as the decimal separator.
NumberReading readWhole(std::u16string_view text, bool point, bool comma) {
  size_t i = 0, n = text.size();
  while (i < n && isSpace(text[i])) ++i;
  while (n > i && isSpace(text[n - 1])) --n;
  std::string spelled;
  auto digits = [&] {
    const size_t from = i;
    for (; i < n && isAsciiDigit(text[i]); ++i) spelled += static_cast<char>(text[i]);
    return i > from;
  };
  if (i < n && (text[i] == u'+' || text[i] == u'-')) spelled += static_cast<char>(text[i++]);
  bool mantissa = digits();
  if (i < n && ((point && text[i] == u'.') || (comma && text[i] == u','))) {
    spelled += '.';
    ++i;
    mantissa = digits() || mantissa;
  }
  if (!mantissa) return {NumberReading::Mismatch, 0};
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    spelled += 'e';
    ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) spelled += static_cast<char>(text[i++]);
    if (!digits()) return {NumberReading::Mismatch, 0};
  }
  if (i != n) return {NumberReading::Mismatch, 0};
  return convert(spelled);
}

}  // namespace

NumberReading readStrictNumber(std::u16string_view text) { return readWhole(text, true, true); }

NumberReading readFieldNumber(std::u16string_view text, bool decimalComma) {
  NumberReading r = readWhole(text, !decimalComma, decimalComma);
  if (r.ok() && std::fabs(r.value) > std::numeric_limits<float>::max())
    return {NumberReading::OutOfRange, 0};
  if (r.ok()) r.value = static_cast<float>(r.value);
  return r;
}

}  // namespace orvane
