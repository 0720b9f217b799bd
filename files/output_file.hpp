// Every file a front end writes goes through OutputFile, so that a file is
// written whole or not at all: the bytes go to a temporary file beside the
// target, are synced, and replace it by one rename. A failure at any step
// (a full disk, a bad row, a signal) leaves the old file, or no file.
//
// What can be checked before any work is checked by open(): the folder
// exists and takes a new file, the target is a regular file that is not
// read-only (also for the superuser) or does not exist yet, and it is none
// of the inputs of the run (same device and inode, after links). A link at
// the name is written through: the file it points to is replaced, the link
// stays. The temporary's name is random and created exclusively, so nothing
// planted beside the target is followed. An existing file's mode and owner
// pass on.
//
// A FIFO or a character device (a terminal, /dev/null) at the name is
// written to as a stream when the caller allows it; anything else that is
// not a regular file is refused.
#pragma once

#include <filesystem>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.hpp"

namespace orvane {

class OutputFile {
 public:
  struct Options {
    // The files the run reads: the output may be none of them.
    std::vector<std::filesystem::path> inputs;
    // Whether a FIFO or a character device may take the bytes as a stream.
    bool streamOk = true;
  };

  static Result<OutputFile> open(const std::filesystem::path& path, const Options& options);
  static Result<OutputFile> open(const std::filesystem::path& path) { return open(path, {}); }

  OutputFile(OutputFile&&) noexcept;
  OutputFile& operator=(OutputFile&&) noexcept;
  ~OutputFile();  // removes the temporary unless committed

  // Appends bytes; after the first failure every call returns it again.
  Status write(std::string_view bytes);
  // Syncs the temporary and renames it over the target.
  Status commit();
  // Removes the temporary; the target stays as it was.
  void abort();

  // The name a library that writes by file name (a workbook, a PDF) is given
  // in place of the target; empty for a stream.
  const std::string& temporaryPath() const;
  bool isStream() const;
  // The name as the user gave it, for messages.
  const std::filesystem::path& path() const;

 private:
  struct Impl;
  explicit OutputFile(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// A std::ostream's buffer over an OutputFile: text written through the
// stream lands in the temporary; a failed write sets the stream's badbit and
// leaves the reason in file.write(""), file.commit().
class OutputBuffer final : public std::streambuf {
 public:
  explicit OutputBuffer(OutputFile& file);
  ~OutputBuffer() override = default;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool drain();
  OutputFile& file_;
  std::string buffer_;
};

// Writes `bytes` as the whole new content of `path`.
Status replaceFile(const std::filesystem::path& path, std::string_view bytes);

// Whether two names are one file (device and inode, links followed); false
// when either does not exist.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace orvane
