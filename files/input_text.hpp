// Messages quote bytes from files and command lines; these are made
// visible on a terminal, so that nothing in a message is invisible or cuts
// it short.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// `text` with control characters, NULs and bytes that are not UTF-8 (a file
// name in another encoding) as \xNN and a byte-order mark as <U+FEFF>, so
// that nothing in a message is invisible, cuts it short or breaks a JSON
// text that quotes it.
std::string printable(std::string_view text);

}  // namespace orvane
