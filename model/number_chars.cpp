#include "model/number_chars.hpp"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace orvane::chars {
namespace {

char* nonFinite(char* first, char* last, double value) {
  const char* text =
      std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
  const std::size_t n = std::min(std::strlen(text), static_cast<std::size_t>(last - first));
  std::memcpy(first, text, n);
  return first + n;
}

template <typename... Args>
char* formatInto(char* first, char* last, fmt::format_string<Args...> pattern, Args&&... args) {
  return fmt::format_to_n(first, static_cast<std::size_t>(last - first), pattern,
                          std::forward<Args>(args)...)
      .out;
}

// The shortest digits fmt finds ("{}" writes them, in fixed or exponent
// form) laid out as std::to_chars does.
template <typename T>
char* layoutShortest(char* first, char* last, T value) {
  if (!std::isfinite(value)) return nonFinite(first, last, value);
  char raw[48];
  const char* const rawEnd = fmt::format_to_n(raw, sizeof raw, "{}", value).out;
  // The digits of the mantissa, where its point stands and the exponent.
  char all[48];
  int count = 0;
  int pointAt = -1;
  const char* p = raw;
  const bool negative = *p == '-';
  if (negative) ++p;
  for (; p != rawEnd && *p != 'e'; ++p) {
    if (*p == '.')
      pointAt = count;
    else
      all[count++] = *p;
  }
  if (pointAt < 0) pointAt = count;
  int exp10 = 0;
  if (p != rawEnd) {
    ++p;
    const bool expNegative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    for (; p != rawEnd; ++p) exp10 = exp10 * 10 + (*p - '0');
    if (expNegative) exp10 = -exp10;
  }
  int lead = 0;
  while (lead < count && all[lead] == '0') ++lead;
  while (count > lead && all[count - 1] == '0') --count;
  const char* const digits = all + lead;
  const int n = count - lead;
  char* out = first;
  const auto put = [&](char c) {
    if (out != last) *out++ = c;
  };
  if (negative) put('-');
  if (n == 0) {  // zero
    put('0');
    return out;
  }
  // The decimal exponent of the first significant digit.
  const int order = pointAt - lead - 1 + exp10;
  // Lengths without the sign: scientific d[.ddd]e+XX, fixed as %f would.
  const int expLen = std::abs(order) >= 100 ? 3 : 2;
  const int sciLen = n + (n > 1 ? 1 : 0) + 2 + expLen;
  int fixLen = 0;
  if (order >= 0)
    fixLen = std::max(n, order + 1) + (n > order + 1 ? 1 : 0);
  else
    fixLen = 2 + (-order - 1) + n;
  if (fixLen <= sciLen) {
    if (order + 1 > n) {
      // An integer wider than its shortest digits: std::to_chars writes its
      // exact digits there ("21246887766504624128", not "...624000").
      if (negative) --out;
      return formatInto(out, last, "{:.0f}", static_cast<double>(value));
    }
    if (order >= 0) {
      for (int k = 0; k <= order; ++k) put(digits[k]);
      if (n > order + 1) {
        put('.');
        for (int k = order + 1; k < n; ++k) put(digits[k]);
      }
    } else {
      put('0');
      put('.');
      for (int k = 0; k < -order - 1; ++k) put('0');
      for (int k = 0; k < n; ++k) put(digits[k]);
    }
    return out;
  }
  put(digits[0]);
  if (n > 1) {
    put('.');
    for (int k = 1; k < n; ++k) put(digits[k]);
  }
  put('e');
  put(order < 0 ? '-' : '+');
  const int e = std::abs(order);
  if (e >= 100) put(static_cast<char>('0' + e / 100));
  put(static_cast<char>('0' + e / 10 % 10));
  put(static_cast<char>('0' + e % 10));
  return out;
}

template <typename T>
ReadResult readNumber(const char* first, const char* last, T& value) {
  // fast_float would take a '+'; std::from_chars does not.
  if (first != last && *first == '+') return {first, std::errc::invalid_argument};
  T v{};
  const auto r = fast_float::from_chars(first, last, v, fast_float::chars_format::general);
  if (r.ec != std::errc()) return {first, r.ec};
  // fast_float gives infinity or zero for a value out of the type's range.
  const char* p = first;
  if (p != r.ptr && *p == '-') ++p;
  const bool word = p != r.ptr && (*p == 'i' || *p == 'I' || *p == 'n' || *p == 'N');
  if (!word && std::isinf(v)) return {r.ptr, std::errc::result_out_of_range};
  if (!word && v == 0) {
    for (; p != r.ptr && *p != 'e' && *p != 'E'; ++p) {
      if (*p >= '1' && *p <= '9') return {r.ptr, std::errc::result_out_of_range};
    }
  }
  value = v;
  return {r.ptr, std::errc()};
}

}  // namespace

char* shortest(char* first, char* last, double value) { return layoutShortest(first, last, value); }
char* shortest(char* first, char* last, float value) { return layoutShortest(first, last, value); }

void appendShortest(std::string& out, double value) {
  char buf[32];
  out.append(buf, shortest(buf, buf + sizeof buf, value));
}

char* scientific(char* first, char* last, double value, int precision) {
  if (!std::isfinite(value)) return nonFinite(first, last, value);
  return formatInto(first, last, "{:.{}e}", value, precision);
}

char* fixed(char* first, char* last, double value, int precision) {
  if (!std::isfinite(value)) return nonFinite(first, last, value);
  return formatInto(first, last, "{:.{}f}", value, precision);
}

char* general(char* first, char* last, double value, int precision) {
  if (!std::isfinite(value)) return nonFinite(first, last, value);
  return formatInto(first, last, "{:.{}g}", value, precision);
}

ReadResult read(const char* first, const char* last, double& value) {
  return readNumber(first, last, value);
}
ReadResult read(const char* first, const char* last, float& value) {
  return readNumber(first, last, value);
}

}  // namespace orvane::chars
