// OutputFile: the one way a file is written (see output_file.hpp).
#include "files/output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <random>
#include <system_error>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <optional>

namespace orvane {
namespace {

namespace fs = std::filesystem;

Error failure(ErrorKind kind, const fs::path& path, const std::string& what) {
  return Error{kind, path.string(), 0, what};
}

std::string systemMessage(const char* step, int err) {
  return std::string(step) + ": " + std::strerror(err);
}

// The file a path finally names, following symbolic links (relative ones
// from the folder of the link), so that the file is replaced and the link
// kept.
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

#ifdef _WIN32
// Windows: the rename itself is written through (MOVEFILE_WRITE_THROUGH);
// a folder cannot be opened to be synced.
int syncFolder(const fs::path&) { return 0; }

// The C library's descriptors over wide names, the bytes as they are (no
// LF -> CR LF): a file written here is the file Linux writes.
int fsyncFd(int fd) { return ::_commit(fd); }

std::string lastErrorMessage(const char* step) {
  return std::string(step) + ": " +
         std::system_category().message(static_cast<int>(::GetLastError()));
}
#else
int fsyncFd(int fd) { return ::fsync(fd); }

int syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int r = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return r;
}

#endif

int writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
#ifdef _WIN32
    constexpr size_t kMostBytes = 1 << 30;  // _write takes an unsigned int
    const int n =
        ::_write(fd, data.data(), static_cast<unsigned>(std::min(data.size(), kMostBytes)));
#else
    const ssize_t n = ::write(fd, data.data(), data.size());
#endif
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

#ifndef _WIN32
// A FIFO or a character device, opened to take a stream. A FIFO nobody
// reads is refused rather than waited for.
Result<int> openStream(const fs::path& path, const fs::path& target, bool fifo) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (fifo ? O_NONBLOCK : 0));
  if (fd < 0) {
    if (errno == ENXIO)
      return failure(ErrorKind::WriteFailed, path, "a FIFO that no program reads; nothing written");
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot open it", errno));
  }
  if (fifo) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}
#endif

// The temporaries being written, for a signal that ends the program
// (Ctrl+C, kill, a closed terminal): they are removed before it ends, so
// that nothing but the old file stays. Plain arrays and atomics: a signal
// handler may touch nothing else.
constexpr size_t kLiveSlots = 32;
constexpr size_t kNameBytes = 4096;
std::array<std::atomic<bool>, kLiveSlots> liveUsed{};
std::array<std::atomic<bool>, kLiveSlots> liveClaimed{};
std::array<std::array<fs::path::value_type, kNameBytes>, kLiveSlots> liveNames{};
std::once_flag handlersInstalled;

extern "C" void removeTemporaries(int signal) {
  for (size_t i = 0; i < kLiveSlots; ++i)
#ifdef _WIN32
    if (liveUsed[i].load()) ::_wunlink(liveNames[i].data());
#else
    if (liveUsed[i].load()) ::unlink(liveNames[i].data());
#endif
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

#ifdef _WIN32
// Ctrl+C and Ctrl+Break in a console window; the C library's signal() is
// all Windows has.
void installHandlers() {
  for (const int sig : {SIGINT, SIGTERM, SIGBREAK}) {
    // a program that handles the signal itself keeps its handler
    const auto old = ::signal(sig, removeTemporaries);
    if (old != SIG_DFL && old != SIG_ERR) ::signal(sig, old);
  }
}
#else
void installHandlers() {
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    // a program that handles the signal itself keeps its handler
    if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) {
      struct sigaction act {};
      act.sa_handler = removeTemporaries;
      sigemptyset(&act.sa_mask);
      ::sigaction(sig, &act, nullptr);
    }
  }
}
#endif

// The slot the name was put in; kLiveSlots when there was none free (the
// temporary is then only removed by the program itself).
size_t registerLive(const fs::path::string_type& name) {
  std::call_once(handlersInstalled, installHandlers);
  if (name.size() >= kNameBytes) return kLiveSlots;
  for (size_t i = 0; i < kLiveSlots; ++i) {
    bool expected = false;
    // claim the slot, write the name, then mark it live
    if (liveUsed[i].load() || !liveClaimed[i].compare_exchange_strong(expected, true)) continue;
    std::memcpy(liveNames[i].data(), name.c_str(), (name.size() + 1) * sizeof(name[0]));
    liveUsed[i].store(true);
    return i;
  }
  return kLiveSlots;
}

void unregisterLive(size_t slot) {
  if (slot >= kLiveSlots) return;
  liveUsed[slot].store(false);
  liveClaimed[slot].store(false);
}

}  // namespace

#ifdef _WIN32
namespace {

// The volume and the file's index: what device and inode are on Linux.
bool fileIdentity(const fs::path& p, BY_HANDLE_FILE_INFORMATION& info) {
  const HANDLE h =
      ::CreateFileW(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
  ::CloseHandle(h);
  return ok;
}

}  // namespace

bool sameFile(const fs::path& a, const fs::path& b) {
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  return fileIdentity(a, ia) && fileIdentity(b, ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}
#else
bool sameFile(const fs::path& a, const fs::path& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}
#endif

struct OutputFile::Impl {
  fs::path path;    // as given
  fs::path folder;  // of the file finally named
  fs::path target;
  std::string temp;  // the temporary; empty for a stream and once renamed
  fs::path tempPath;
  int fd = -1;
  bool stream = false;
  size_t slot = kLiveSlots;  // of the temporary's name for a signal
  std::optional<Error> failed;

  ~Impl() { discard(); }
  void discard() {
    if (fd >= 0) ::close(fd);
    fd = -1;
#ifdef _WIN32
    if (!temp.empty()) ::_wunlink(tempPath.c_str());
#else
    if (!temp.empty()) ::unlink(temp.c_str());
#endif
    forget();
  }
  // The temporary is gone or renamed: a signal has nothing more to remove.
  void forget() {
    temp.clear();
    unregisterLive(slot);
    slot = kLiveSlots;
  }
  Error fail(const char* step, int err) {
    if (!failed) failed = failure(ErrorKind::WriteFailed, path, systemMessage(step, err));
    return *failed;
  }
};

OutputFile::OutputFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
OutputFile::OutputFile(OutputFile&&) noexcept = default;
OutputFile& OutputFile::operator=(OutputFile&&) noexcept = default;
OutputFile::~OutputFile() = default;

Result<OutputFile> OutputFile::open(const fs::path& path, const Options& options) {
  const Result<fs::path> resolved = linkTarget(path);
  if (!resolved) return resolved.error();
  auto impl = std::make_unique<Impl>();
  impl->path = path;
  impl->target = resolved.value();
  impl->folder = impl->target.parent_path();
  std::error_code ec;
  if (!impl->folder.empty() && !fs::is_directory(impl->folder, ec))
    return failure(ErrorKind::FolderMissing, path, {});
  for (const fs::path& input : options.inputs) {
    if (!input.empty() && input != "-" && sameFile(impl->target, input))
      return failure(ErrorKind::WriteFailed, path,
                     "it is also the input " + input.string() +
                         "; the results would destroy what they are made from, so nothing was "
                         "written (name another file)");
  }

#ifdef _WIN32
  // Windows: no FIFO, no mode or owner to pass on (the new file takes the
  // folder's permissions); a read-only file is refused.
  struct _stat64 old {};
  const bool exists = ::_wstat64(impl->target.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) return failure(ErrorKind::Unreadable, path, "not a file");
    if (!S_ISREG(old.st_mode))
      return failure(ErrorKind::Unreadable, path,
                     "not a regular file (a device); it was not replaced");
    if ((old.st_mode & _S_IWRITE) == 0 || ::_waccess(impl->target.c_str(), 2) != 0)
      return failure(ErrorKind::ReadOnly, path, "the file is read-only; it was not replaced");
  }
  // _O_EXCL with a random name in the folder, as mkostemp does on Linux.
  std::random_device rng;
  const std::wstring letters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100 && impl->fd < 0; ++attempt) {
    std::wstring name = L"." + impl->target.filename().wstring() + L".";
    for (int i = 0; i < 6; ++i) name += letters[rng() % letters.size()];
    const fs::path temp = impl->folder / name;
    impl->fd = ::_wopen(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                        _S_IREAD | _S_IWRITE);
    if (impl->fd >= 0)
      impl->tempPath = temp;
    else if (errno != EEXIST)
      break;
  }
  if (impl->fd < 0)
    return failure(ErrorKind::WriteFailed, path,
                   systemMessage("cannot create a file beside it", errno));
  impl->temp = impl->tempPath.string();
  impl->slot = registerLive(impl->tempPath.native());
  return OutputFile(std::move(impl));
#else
  // An existing file passes its mode and owner on. Its write bits decide
  // whether it may be replaced: the superuser's open would ignore them.
  struct stat old {};
  const bool exists = ::stat(impl->target.c_str(), &old) == 0;
  mode_t mode = 0;
  if (exists) {
    const bool fifo = S_ISFIFO(old.st_mode);
    if ((fifo || S_ISCHR(old.st_mode)) && options.streamOk) {
      const Result<int> fd = openStream(path, impl->target, fifo);
      if (!fd) return fd.error();
      impl->fd = fd.value();
      impl->stream = true;
      return OutputFile(std::move(impl));
    }
    if (S_ISDIR(old.st_mode)) return failure(ErrorKind::Unreadable, path, "not a file");
    if (!S_ISREG(old.st_mode))
      return failure(ErrorKind::Unreadable, path,
                     "not a regular file (a device, a FIFO or a socket); it was not replaced");
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        ::access(impl->target.c_str(), W_OK) != 0)
      return failure(ErrorKind::ReadOnly, path, "the file is read-only; it was not replaced");
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  // O_EXCL with a random name in the folder: nothing planted beside the
  // target can be followed or reused.
  const std::string templ =
      (impl->folder / ("." + impl->target.filename().string() + ".XXXXXX")).string();
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  impl->fd = ::mkostemp(buf.data(), O_CLOEXEC);
  if (impl->fd < 0)
    return failure(ErrorKind::WriteFailed, path,
                   systemMessage("cannot create a file beside it", errno));
  impl->temp = buf.data();
  impl->tempPath = impl->temp;
  impl->slot = registerLive(impl->temp);
  if (::fchmod(impl->fd, mode) != 0)
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot set its mode", errno));
  if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
      ::fchown(impl->fd, old.st_uid, old.st_gid) != 0)
    return failure(ErrorKind::WriteFailed, path, systemMessage("cannot keep its owner", errno));
  return OutputFile(std::move(impl));
#endif
}

Status OutputFile::write(std::string_view bytes) {
  Impl& f = *impl_;
  if (f.failed) return *f.failed;
  if (f.fd < 0) return f.fail("writing failed", EBADF);
  if (const int err = writeAll(f.fd, bytes)) return f.fail("writing failed", err);
  return Done{};
}

Status OutputFile::commit() {
  Impl& f = *impl_;
  if (f.failed || f.fd < 0) {
    const Error e = f.failed ? *f.failed : f.fail("writing failed", EBADF);
    f.discard();
    return e;
  }
  if (f.stream) {
    const int r = ::close(f.fd);
    f.fd = -1;
    if (r != 0) return f.fail("writing failed", errno);
    return Done{};
  }
  const auto step = [&](const char* what, int err) {
    const Error e = f.fail(what, err);
    f.discard();
    return e;
  };
  if (fsyncFd(f.fd) != 0) return step("writing failed", errno);
  const int closed = ::close(f.fd);
  f.fd = -1;
  if (closed != 0) return step("writing failed", errno);
  if (const int err = syncFolder(f.folder)) return step("cannot sync the folder", err);
#ifdef _WIN32
  if (!::MoveFileExW(f.tempPath.c_str(), f.target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    // the system's own words for why (a file another program holds open)
    const Error why =
        failure(ErrorKind::WriteFailed, f.path, lastErrorMessage("cannot replace the file"));
    if (!f.failed) f.failed = why;
    f.discard();
    return *f.failed;
  }
#else
  if (::rename(f.temp.c_str(), f.target.c_str()) != 0)
    return step("cannot replace the file", errno);
#endif
  f.forget();
  if (const int err = syncFolder(f.folder)) return f.fail("cannot sync the folder", err);
  return Done{};
}

void OutputFile::abort() { impl_->discard(); }

const std::string& OutputFile::temporaryPath() const { return impl_->temp; }
bool OutputFile::isStream() const { return impl_->stream; }
const fs::path& OutputFile::path() const { return impl_->path; }

OutputBuffer::OutputBuffer(OutputFile& file) : file_(file) { buffer_.reserve(1 << 16); }

bool OutputBuffer::drain() {
  if (buffer_.empty()) return true;
  const bool ok = file_.write(buffer_).ok();
  buffer_.clear();
  return ok;
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return drain() ? 0 : traits_type::eof();
  buffer_ += traits_type::to_char_type(c);
  if (buffer_.size() >= (1 << 16) && !drain()) return traits_type::eof();
  return c;
}

std::streamsize OutputBuffer::xsputn(const char* s, std::streamsize n) {
  buffer_.append(s, static_cast<size_t>(n));
  if (buffer_.size() >= (1 << 16) && !drain()) return 0;
  return n;
}

int OutputBuffer::sync() { return drain() ? 0 : -1; }

Status replaceFile(const fs::path& path, std::string_view bytes) {
  Result<OutputFile> file = OutputFile::open(path);
  if (!file) return file.error();
  if (Status w = file.value().write(bytes); !w) return w;
  return file.value().commit();
}

}  // namespace orvane
