#include "files/input_text.hpp"

#include <array>
#include <cstdio>

#include "model/text_encoding.hpp"

namespace orvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string hexByte(unsigned char c) {
  std::array<char, 5> buf{};
  std::snprintf(buf.data(), buf.size(), "\\x%02X", c);
  return buf.data();
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
      const size_t n = utf8Length(text, i);
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
