// Text at the boundary of the project files: the files hold Windows-1252,
// the program holds UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Text of a file line as UTF-8. A line that is already valid UTF-8 with at
// least one multi-byte character (files written by releases that stored the
// program's own UTF-8) is taken as it stands; any other line is decoded as
// Windows-1252. The five bytes Windows-1252 leaves unassigned (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the code points of the same number, as the
// system's own conversion does, so that they survive a save.
std::string fileTextToUtf8(std::string_view bytes);

// One character that Windows-1252 cannot hold (or a byte that is not UTF-8).
struct Unencodable {
  std::string character;   // the character's UTF-8 bytes, or the stray byte
  char32_t codePoint = 0;  // 0 for a byte that is not UTF-8
};

// UTF-8 text as Windows-1252 bytes into `out`; the first character that has no
// Windows-1252 byte when there is one (`out` then holds the bytes before it).
std::optional<Unencodable> utf8ToWindows1252(std::string_view utf8, std::string& out);

// The length of the valid UTF-8 character that starts at `s[i]` (1 for
// ASCII), 0 when none does: a stray byte, a cut sequence, an overlong form,
// a surrogate or a code point past U+10FFFF.
size_t utf8Length(std::string_view s, size_t i);

// "U+00E6" style name of a code point.
std::string codePointName(char32_t c);

}  // namespace orvane
