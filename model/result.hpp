// One error type for everything that reads or writes a file: the data-file
// loaders, the project reader and the project writer. Callers decide by
// `kind`; `text()` is what the user is shown.
//
// Self-contained and free of Qt, so that any layer can return it.
#pragma once

#include <cassert>
#include <ostream>
#include <string>
#include <utility>
#include <variant>

namespace orvane {

enum class ErrorKind {
  NotFound,       // no such file
  FolderMissing,  // the folder of a file to be written does not exist
  Unreadable,     // not a file, or the system refused to read it
  Damaged,        // a line or field that is not what the format holds there
  OutOfDomain,    // a value read correctly but outside what its field allows
  Unencodable,    // a text holds a character the file cannot hold
  ReadOnly,       // the file to be replaced is write-protected
  WriteFailed,    // the system refused to write, sync or rename
};

struct Error {
  ErrorKind kind = ErrorKind::Damaged;
  std::string file;
  int line = 0;  // 1-based line of the problem; 0 for the file as a whole
  std::string message;

  // "can't find file - FILE", "can't save file - FILE", or
  // "FILE, line N: MESSAGE" ("FILE: MESSAGE" without a line).
  std::string text() const {
    switch (kind) {
      case ErrorKind::NotFound:
        return "can't find file - " + file;
      case ErrorKind::FolderMissing:
        return "can't save file - " + file;
      default:
        break;
    }
    std::string t = file;
    if (line > 0) t += ", line " + std::to_string(line);
    return t + ": " + message;
  }
};

inline std::ostream& operator<<(std::ostream& out, const Error& e) { return out << e.text(); }

// A value or the error that prevented it (an Error unless E says otherwise).
template <class T, class E = Error>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  Result(E error) : v_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& {
    assert(ok());
    return std::get<0>(v_);
  }
  T& value() & {
    assert(ok());
    return std::get<0>(v_);
  }
  const E& error() const {
    assert(!ok());
    return std::get<1>(v_);
  }

 private:
  std::variant<T, E> v_;
};

// Success without a value.
struct Done {};
using Status = Result<Done>;

}  // namespace orvane
