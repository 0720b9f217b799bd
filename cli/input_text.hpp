// Project files named on a command line are single-byte text. These checks
// catch texts of another encoding before the reader sees them, and make the
// bytes a message quotes from a file visible on a terminal.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::cli {

// A message when the file's first bytes show UTF-16 text, NUL bytes or a
// UTF-8 byte-order mark; nothing for an unreadable file (the reader reports
// that) or single-byte text.
std::optional<std::string> encodingProblem(const std::filesystem::path& path);

// `text` with control characters and NULs as \xNN and a byte-order mark as
// <U+FEFF>, so that nothing in a message is invisible or cuts it short.
std::string printable(std::string_view text);

}  // namespace orvane::cli
