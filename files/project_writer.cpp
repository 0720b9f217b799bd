// WriteProject: the text of a project file and its safe replacement of the
// file on disk.
#include <string_view>
#include <type_traits>

#include "files/output_file.hpp"
#include "files/project_file.hpp"
#include "files/project_lines.hpp"
#include "model/format.hpp"
#include "model/text_encoding.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

Error failure(ErrorKind kind, const fs::path& path, const std::string& what) {
  return Error{kind, path.string(), 0, what};
}

// A text line in Windows-1252; it must be text a reader takes back as it was.
Result<std::string> encodedLine(int line, const std::string& utf8, const fs::path& path) {
  const std::string name(projectLineName(line));
  std::string bytes;
  if (const auto bad = utf8ToWindows1252(utf8, bytes)) {
    const std::string what = bad->codePoint == 0
                                 ? " holds bytes that are not UTF-8 text"
                                 : " holds \"" + bad->character + "\" (" +
                                       codePointName(bad->codePoint) +
                                       "), which a project file (Windows-1252 text) cannot hold";
    return failure(ErrorKind::Unencodable, path, "the " + name + what);
  }
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\r' || c == '\n') {
      return failure(ErrorKind::Unencodable, path,
                     "the " + name + " holds a line break, which a project file cannot hold");
    }
    if ((b < 0x20 && c != '\t') || b == 0x7F) {
      return failure(
          ErrorKind::Unencodable, path,
          "the " + name + " holds a control character, which a project file cannot hold");
    }
  }
  if (bytes.size() > kMaxProjectLine) {
    return failure(ErrorKind::Unencodable, path,
                   "the " + name + " is longer than the " + std::to_string(kMaxProjectLine) +
                       " characters a project file line may hold");
  }
  return bytes;
}

Result<std::string> projectText(ProjectState& ps, const fs::path& path) {
  constexpr std::string_view kEnd = "\r\n";
  std::string out;
  out.reserve(4096);
  const auto line = [&](std::string_view text) {
    out += text;
    out += kEnd;
  };
  line(fileNumber(kProjectFileVersion));
  for (const int n : {2, 3}) {
    const Result<std::string> text = encodedLine(n, n == 2 ? ps.projectName : ps.ident, path);
    if (!text) return text.error();
    line(text.value());
  }
  for (const FieldRef& field : valueLines(ps)) {
    std::visit(
        [&](auto* member) {
          using T = std::remove_pointer_t<decltype(member)>;
          if constexpr (std::is_same_v<T, int16_t>) {
            line(fileNumber(static_cast<int>(*member)));
          } else {
            line(fileNumber(*member));
          }
        },
        field);
  }
  return out;
}

// The replacement, with the new bytes made once the target is known to be
// writable (its folder exists, it is not read-only), so that such a
// problem is reported before any problem of the text.
template <typename MakeBytes>
Status replaceWith(const fs::path& path, MakeBytes&& makeBytes) {
  Result<OutputFile> file = OutputFile::open(path, {.inputs = {}, .streamOk = false});
  if (!file) return file.error();
  const Result<std::string> text = makeBytes();
  if (!text) return text.error();
  if (Status w = file.value().write(text.value()); !w) return w;
  return file.value().commit();
}

}  // namespace

Result<std::string> projectFileText(ProjectState ps, const fs::path& path) {
  return projectText(ps, path);
}

Status writeProject(ProjectState& ps, const fs::path& path) {
  const Status written = replaceWith(path, [&] { return projectText(ps, path); });
  if (!written) return written;
  ps.fileName = path.string();
  return Done{};
}

}  // namespace orvane
