// WriteProject: the text of a project file and its safe replacement of the
// file on disk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

#include "files/file_replace.hpp"
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

std::string systemMessage(const char* step, int err) {
  return std::string(step) + ": " + std::strerror(err);
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

// The file a path finally names, following symbolic links (relative ones
// from the folder of the link), so that a save replaces that file and keeps
// the link.
Result<fs::path> linkTarget(const fs::path& path) {
  constexpr int kMaxLinks = 40;
  fs::path p = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code ec;
    if (!fs::is_symlink(p, ec)) return p;
    const fs::path to = fs::read_symlink(p, ec);
    if (ec) return failure(ErrorKind::WriteFailed, path, "the link cannot be read");
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  return failure(ErrorKind::WriteFailed, path, "too many symbolic links");
}

// The temporary file: created, written and synced, and removed again unless
// it was renamed over the target.
class TempFile {
 public:
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }

  // O_EXCL with a random name in `folder`: nothing planted beside the
  // target can be followed or reused.
  int create(const fs::path& folder, const std::string& base) {
    std::string templ = (folder / ("." + base + ".XXXXXX")).string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    fd_ = ::mkostemp(buf.data(), O_CLOEXEC);
    if (fd_ < 0) return errno;
    name_ = buf.data();
    return 0;
  }

  int write(std::string_view data) {
    while (!data.empty()) {
      const ssize_t n = ::write(fd_, data.data(), data.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n < 0 ? errno : EIO;
      data.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
  }

  int fd() const { return fd_; }
  const std::string& name() const { return name_; }

  int close() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r == 0 ? 0 : errno;
  }
  void renamed() { name_.clear(); }

 private:
  int fd_ = -1;
  std::string name_;
};

int syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int r = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return r;
}

}  // namespace

namespace {

// The replacement, with the new bytes made once the target is known to be
// writable in principle (its folder exists), so that a missing folder is
// reported before any problem of the text.
template <typename MakeBytes>
Status replaceWith(const fs::path& path, MakeBytes&& makeBytes) {
  const Result<fs::path> resolved = linkTarget(path);
  if (!resolved) return resolved.error();
  const fs::path& target = resolved.value();
  const fs::path folder = target.parent_path();
  std::error_code ec;
  if (!folder.empty() && !fs::is_directory(folder, ec)) {
    return failure(ErrorKind::FolderMissing, path, {});
  }
  const Result<std::string> text = makeBytes();
  if (!text) return text.error();
  const std::string_view bytes = text.value();

  // An existing file passes its mode and owner on. Its write bits decide
  // whether it may be replaced: the superuser's open would ignore them.
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  mode_t mode = 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) return failure(ErrorKind::Unreadable, path, "not a file");
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) {
      return failure(ErrorKind::ReadOnly, path, "the file is read-only; it was not replaced");
    }
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  TempFile temp;
  if (const int err = temp.create(folder, target.filename().string())) {
    return failure(ErrorKind::WriteFailed, path,
                   systemMessage("cannot create a file beside it", err));
  }
  if (::fchmod(temp.fd(), mode) != 0) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot set its mode", errno));
  }
  if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
      ::fchown(temp.fd(), old.st_uid, old.st_gid) != 0) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot keep its owner", errno));
  }
  if (const int err = temp.write(bytes)) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("writing failed", err));
  }
  if (::fsync(temp.fd()) != 0) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("writing failed", errno));
  }
  if (const int err = temp.close()) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("writing failed", err));
  }
  if (const int err = syncFolder(folder)) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot sync the folder", err));
  }
  if (::rename(temp.name().c_str(), target.c_str()) != 0) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot replace the file", errno));
  }
  temp.renamed();
  if (const int err = syncFolder(folder)) {
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot sync the folder", err));
  }
  return Done{};
}

}  // namespace

Status replaceFile(const fs::path& path, std::string_view bytes) {
  return replaceWith(path, [&]() -> Result<std::string> { return std::string(bytes); });
}

Status writeProject(ProjectState& ps, const fs::path& path) {
  const Status written = replaceWith(path, [&] { return projectText(ps, path); });
  if (!written) return written;
  ps.fileName = path.string();
  return Done{};
}

}  // namespace orvane
