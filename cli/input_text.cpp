#include "cli/input_text.hpp"

#include <array>
#include <cstdio>
#include <fstream>

namespace orvane::cli {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string hexByte(unsigned char c) {
  std::array<char, 5> buf{};
  std::snprintf(buf.data(), buf.size(), "\\x%02X", c);
  return buf.data();
}

}  // namespace

std::optional<std::string> encodingProblem(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // The first line of a project holds its version: a few bytes tell.
  std::array<char, 512> head{};
  in.read(head.data(), head.size());
  const std::string_view bytes(head.data(), static_cast<size_t>(in.gcount()));
  const std::string name = printable(path.string());
  const std::string expected = "; a project file is single-byte text (Windows-1252)";
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
    return name + ": UTF-16 text" + expected;
  if (bytes.find('\0') != std::string_view::npos)
    return name + ": NUL bytes in the text (UTF-16 or not text)" + expected;
  if (bytes.substr(0, 3) == kUtf8Bom)
    return name + ": starts with a UTF-8 byte-order mark" + expected;
  return std::nullopt;
}

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
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace orvane::cli
