#include "files/input_text.hpp"

#include <array>
#include <cstdio>

namespace orvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string hexByte(unsigned char c) {
  std::array<char, 5> buf{};
  std::snprintf(buf.data(), buf.size(), "\\x%02X", c);
  return buf.data();
}

// The length of the valid UTF-8 sequence at the start of `s`, 0 when there
// is none (a stray byte, an overlong form, a surrogate, past U+10FFFF).
size_t utf8Length(std::string_view s) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  size_t n = 0;
  char32_t cp = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  for (size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
  if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
  return n;
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (text.substr(i, 3) == kUtf8Bom) {
      out += "<U+FEFF>";
      i += 2;
    } else if (c < 0x20 || c == 0x7F) {
      out += hexByte(c);
    } else if (c >= 0x80) {
      // text that is not UTF-8 (a file name of another encoding) as \xNN
      const size_t n = utf8Length(text.substr(i));
      if (n == 0) {
        out += hexByte(c);
      } else {
        out += text.substr(i, n);
        i += n - 1;
      }
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace orvane
