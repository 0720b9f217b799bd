#include "model/text_encoding.hpp"

#include <array>
#include <cstdio>

namespace orvane {
namespace {

// Code points of the bytes 0x80 to 0x9F; the unassigned five map to
// themselves.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 character at `i`; its length in `len`, or no value for
// a byte that does not start a valid, shortest-form character.
std::optional<char32_t> decodeUtf8(std::string_view s, size_t i, size_t& len) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char first = b(i);
  if (first < 0x80) {
    len = 1;
    return first;
  }
  char32_t c = 0;
  char32_t min = 0;
  if ((first & 0xE0) == 0xC0) {
    len = 2, c = first & 0x1F, min = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    len = 3, c = first & 0x0F, min = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    len = 4, c = first & 0x07, min = 0x10000;
  } else {
    return std::nullopt;
  }
  if (i + len > s.size()) return std::nullopt;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (b(i + k) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  return c;
}

// Valid UTF-8 that holds at least one character beyond ASCII.
bool isMultibyteUtf8(std::string_view s) {
  bool multibyte = false;
  for (size_t i = 0; i < s.size();) {
    size_t len = 1;
    if (!decodeUtf8(s, i, len)) return false;
    multibyte = multibyte || len > 1;
    i += len;
  }
  return multibyte;
}

std::optional<unsigned char> windows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (size_t k = 0; k < kHigh.size(); ++k) {
    if (kHigh[k] == c) return static_cast<unsigned char>(0x80 + k);
  }
  return std::nullopt;
}

}  // namespace

std::string fileTextToUtf8(std::string_view bytes) {
  if (isMultibyteUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto byte = static_cast<unsigned char>(ch);
    appendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char32_t{byte});
  }
  return out;
}

std::optional<Unencodable> utf8ToWindows1252(std::string_view utf8, std::string& out) {
  out.clear();
  for (size_t i = 0; i < utf8.size();) {
    size_t len = 1;
    const std::optional<char32_t> c = decodeUtf8(utf8, i, len);
    if (!c) return Unencodable{std::string(1, utf8[i]), 0};
    const std::optional<unsigned char> byte = windows1252Byte(*c);
    if (!byte) return Unencodable{std::string(utf8.substr(i, len)), *c};
    out += static_cast<char>(*byte);
    i += len;
  }
  return std::nullopt;
}

std::string codePointName(char32_t c) {
  std::array<char, 16> buf{};
  std::snprintf(buf.data(), buf.size(), "U+%04X", static_cast<unsigned>(c));
  return buf.data();
}

size_t utf8Length(std::string_view s, size_t i) {
  size_t len = 0;
  return decodeUtf8(s, i, len) ? len : 0;
}

}  // namespace orvane
