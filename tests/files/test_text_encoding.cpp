#include "model/text_encoding.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace orvane {
namespace {

// Every byte a project file may hold as text comes back as the same byte.
TEST(TextEncoding, EveryWindows1252ByteRoundTrips) {
  for (int b = 0x20; b <= 0xFF; ++b) {
    if (b == 0x7F) continue;
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = fileTextToUtf8(byte);
    EXPECT_EQ(utf8.size() > 1, b >= 0x80) << b;
    std::string back;
    EXPECT_EQ(utf8ToWindows1252(utf8, back), std::nullopt) << b;
    EXPECT_EQ(back, byte) << b;
  }
}

TEST(TextEncoding, MapsTheCodePageAndNamesWhatItCannotHold) {
  // file bytes, the program's text
  const std::tuple<std::string, std::string> read[] = {
      {"\xC6r\xF8 \xD8st", "\u00c6r\u00f8 \u00d8st"},
      {"\x80\x8A\x9F", "\u20ac\u0160\u0178"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008d\u008f\u0090\u009d"},
      {"\u00c6r\u00f8", "\u00c6r\u00f8"},  // already UTF-8, as earlier releases wrote it
      {"\xC3\x28", "\u00c3("},             // not UTF-8: the code page
      {"plain", "plain"}};
  for (const auto& [bytes, text] : read) EXPECT_EQ(fileTextToUtf8(bytes), text) << text;

  // text, the character named, its code point (0 for a byte that is not UTF-8)
  const std::tuple<std::string, std::string, char32_t> refused[] = {
      {"a\u5b57b", "\u5b57", 0x5B57},
      {"\u0151", "\u0151", 0x151},
      {"x\U0001F600", "\U0001F600", 0x1F600},
      {"a\xFF", "\xFF", 0},
      {"\xE2\x82", "\xE2", 0},
      {"\xC0\x80", "\xC0", 0}};  // an overlong NUL
  for (const auto& [text, character, code] : refused) {
    std::string out;
    const auto bad = utf8ToWindows1252(text, out);
    ASSERT_TRUE(bad.has_value()) << text;
    EXPECT_EQ(bad->character, character);
    EXPECT_EQ(bad->codePoint, code);
  }
  // the length of the character at the start: each form (a Cyrillic lead
  // byte has its fifth bit set) and each fault (stray, cut, overlong,
  // surrogate, past U+10FFFF)
  const std::tuple<std::string, size_t> lengths[] = {
      {"a", 1},    {"\u0414", 2},   {"\u20ac", 3},       {"\U0001F600", 4},      {"\x94", 0},
      {"\xD0", 0}, {"\xC1\xBF", 0}, {"\xED\xA0\x80", 0}, {"\xF4\x90\x80\x80", 0}};
  for (const auto& [text, n] : lengths) EXPECT_EQ(utf8Length(text, 0), n) << text;
  EXPECT_EQ(codePointName(0x5B57), "U+5B57");
  EXPECT_EQ(codePointName(0xE6), "U+00E6");
}

}  // namespace
}  // namespace orvane
