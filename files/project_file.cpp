#include "files/project_file.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>

#include "files/project_lines.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"
#include "model/text_encoding.hpp"
#include "sections/materials.hpp"
#include "sections/profile_tables.hpp"
#include "sections/stiffener_section.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

constexpr int kStiffFlagLine = 14;
constexpr int kLastOldLine = 49;    // files up to version 105
constexpr int kHeavyRingLine = 50;  // files of version 106 to 130
constexpr int kStiffTwLine = 43;
constexpr int kRingTwLine = 48;

// Lines end at CRLF, LF or CR; a last line without an end still counts.
// Reads straight from the stream, one line at a time, never more than
// kMaxProjectLine bytes of a line.
class LineReader {
 public:
  explicit LineReader(std::streambuf& buf) : buf_(buf) {}
  enum Got { Line, End, TooLong };

  Got next(std::string& line) {
    using Traits = std::streambuf::traits_type;
    line.clear();
    if (Traits::eq_int_type(buf_.sgetc(), Traits::eof())) return End;
    for (;;) {
      const auto c = buf_.sbumpc();
      if (Traits::eq_int_type(c, Traits::eof()) || c == '\n') return Line;
      if (c == '\r') {
        if (buf_.sgetc() == '\n') buf_.sbumpc();
        return Line;
      }
      if (line.size() == kMaxProjectLine) return TooLong;
      line += Traits::to_char_type(c);
    }
  }

 private:
  std::streambuf& buf_;
};

// Text of a line as a message may show it: at most 40 characters, control
// characters spelt as \xNN, valid UTF-8 whatever the file held.
std::string quoted(std::string_view bytes) {
  constexpr size_t kShown = 40;
  std::string shown;
  for (const char c : bytes.substr(0, kShown)) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      static const char* const kHex = "0123456789ABCDEF";
      shown += {'\\', 'x', kHex[b >> 4], kHex[b & 15]};
    } else {
      shown += c;
    }
  }
  std::string q = "\"" + fileTextToUtf8(shown);
  if (bytes.size() > kShown) q += "...";
  return q + "\"";
}

// The number grammar of a line (sign, digits with at most one point, an
// optional exponent), whatever the size: a line that has it but gives no
// number is out of range rather than not a number.
bool numberShaped(std::string_view s) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  size_t digits = 0;
  bool point = false;
  for (; i < s.size() && (digit(s[i]) || (s[i] == '.' && !point)); ++i) {
    if (s[i] == '.') {
      point = true;
    } else {
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    const size_t start = i;
    while (i < s.size() && digit(s[i])) ++i;
    if (i == start) return false;
  }
  return i == s.size();
}

std::optional<std::string> controlCharacter(std::string_view bytes) {
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && c != '\t') || b == 0x7F) return quoted(std::string_view(&c, 1));
  }
  return std::nullopt;
}

// The highest value a domain allows and how a message names the range.
struct Range {
  int hi;
  const char* what;
};

Range rangeOf(Domain d, const ProjectState& ps) {
  const auto loaded = [](int last) { return std::max(last, 0); };
  switch (d) {
    case Domain::Flag:
      return {1, ""};
    case Domain::CylinderType:
      return {code(CylinderType::Column), ""};
    case Domain::ProfileType:
      return {code(ProfileType::IBuiltUp), ""};
    case Domain::MaterialRow:
      return {loaded(ps.mat.count), "the loaded materials "};
    case Domain::BulbRow:
      return {loaded(ps.prof.bulb.last), "the rows of the loaded bulb-flat table "};
    case Domain::LRow:
      return {loaded(ps.prof.l.last), "the rows of the loaded L table "};
    case Domain::TRow:
      return {loaded(ps.prof.t.last), "the rows of the loaded T table "};
    case Domain::FlatRow:
      return {loaded(ps.prof.flat.last), "the rows of the loaded flat-bar table "};
    case Domain::Any:
      break;
  }
  return {32767, ""};
}

}  // namespace

int domainLimit(Domain domain, const ProjectState& ps) { return rangeOf(domain, ps).hi; }

namespace {

class ProjectReader {
 public:
  ProjectReader(std::streambuf& buf, std::string file, ProjectState& into)
      : lines_(buf), file_(std::move(file)), ps_(into) {}

  Status run() {
    if (auto e = readVersion()) return *e;
    for (int line : {2, 3}) {
      const Result<std::string> got = text(line);
      if (!got) return got.error();
      (line == 2 ? ps_.projectName : ps_.ident) = got.value();
    }
    const auto fields = valueLines(ps_);
    const int last = version_ >= 131   ? kLastProjectLine
                     : version_ >= 106 ? kHeavyRingLine
                                       : kLastOldLine;
    for (int line = kFirstValueLine; line <= last; ++line) {
      if (auto e = value(line, fields[static_cast<size_t>(line - kFirstValueLine)])) return *e;
      if (line == kStiffFlagLine) ps_.stiff_flag = 1;
    }
    if (auto e = builtUpProblem()) return *e;
    return Done{};
  }

 private:
  Error damaged(int line, const std::string& what, ErrorKind kind = ErrorKind::Damaged) const {
    return Error{kind, file_, line, std::string(projectLineName(line)) + ": " + what};
  }

  // The raw bytes of the next line, which is `line`.
  Result<std::string> raw(int line) {
    std::string s;
    switch (lines_.next(s)) {
      case LineReader::End:
        return damaged(line, "the file ends before this line");
      case LineReader::TooLong:
        return damaged(
            line, "the line is longer than " + std::to_string(kMaxProjectLine) + " characters");
      case LineReader::Line:
        break;
    }
    return s;
  }

  std::optional<Error> readVersion() {
    Result<std::string> got = raw(1);
    if (!got) return got.error();
    std::string_view s = got.value();
    if (s.starts_with("\xFF\xFE") || s.starts_with("\xFE\xFF")) {
      return damaged(1, "the file is UTF-16 text; a project file holds Windows-1252 text");
    }
    if (s.starts_with("\xEF\xBB\xBF")) s.remove_prefix(3);  // a UTF-8 byte-order mark
    const Result<int16_t> v = integer(1, s);
    if (!v) return v.error();
    version_ = v.value();
    return std::nullopt;
  }

  Result<std::string> text(int line) {
    Result<std::string> got = raw(line);
    if (!got) return got;
    if (auto c = controlCharacter(got.value())) {
      return damaged(line, "holds the control character " + *c);
    }
    return fileTextToUtf8(got.value());
  }

  Result<double> number(int line, std::string_view s) const {
    const std::optional<double> v = parseFileNumber(s);
    if (!v && numberShaped(s)) return damaged(line, quoted(s) + " is out of range");
    if (!v) return damaged(line, "not a number: " + quoted(s));
    if (!std::isfinite(*v)) return damaged(line, quoted(s) + " is out of range");
    return *v;
  }

  // Integers round half to even, as the 16-bit conversion always has.
  Result<int16_t> integer(int line, std::string_view s) const {
    const Result<double> n = number(line, s);
    if (!n) return n.error();
    const double r = std::nearbyint(n.value());
    if (r < -32768.0 || r > 32767.0) {
      return damaged(line, quoted(s) + " does not fit a 16-bit integer");
    }
    return static_cast<int16_t>(r);
  }

  Result<float> single(int line, std::string_view s) const {
    const Result<double> n = number(line, s);
    if (!n) return n.error();
    const auto f = static_cast<float>(n.value());
    if (!std::isfinite(f)) return damaged(line, quoted(s) + " does not fit single precision");
    return f;
  }

  std::optional<Error> inDomain(int line, int value) const {
    const Domain d = projectLineDomain(line);
    if (d == Domain::Any) return std::nullopt;
    const Range range = rangeOf(d, ps_);
    if (value >= 0 && value <= range.hi) return std::nullopt;
    return damaged(
        line,
        std::to_string(value) + " is outside " + range.what + "0 to " + std::to_string(range.hi),
        ErrorKind::OutOfDomain);
  }

  std::optional<Error> value(int line, FieldRef field) {
    const Result<std::string> got = raw(line);
    if (!got) return got.error();
    const std::string_view s = got.value();
    return std::visit(
        [&](auto* member) -> std::optional<Error> {
          using T = std::remove_pointer_t<decltype(member)>;
          if constexpr (std::is_same_v<T, int16_t>) {
            const Result<int16_t> v = integer(line, s);
            if (!v) return v.error();
            if (auto e = inDomain(line, v.value())) return e;
            *member = v.value();
          } else if constexpr (std::is_same_v<T, float>) {
            const Result<float> v = single(line, s);
            if (!v) return v.error();
            *member = v.value();
          } else {
            const Result<double> v = number(line, s);
            if (!v) return v.error();
            *member = v.value();
          }
          return std::nullopt;
        },
        field);
  }

  // tw of the flat bar, RHS and trapezoid sets is a Single: a web too thick
  // for it would fault in the copy after the file was taken as read.
  std::optional<Error> builtUpProblem() const {
    const auto check = [&](int type, double tw, int line) -> std::optional<Error> {
      const ProfileTraits* tr = traitsOf(type);
      const bool singleWeb = tr && !tr->fromTable && !tr->flanged;
      if (singleWeb && !std::isfinite(static_cast<float>(tw))) {
        return damaged(line,
                       "does not fit single precision, as the web of a built-up flat "
                       "bar, RHS or trapezoid must");
      }
      return std::nullopt;
    };
    if (auto e = check(ps_.cbostiff, ps_.st.tw, kStiffTwLine)) return e;
    return check(ps_.cboring, ps_.rg.tw, kRingTwLine);
  }

  LineReader lines_;
  std::string file_;
  ProjectState& ps_;
  int version_ = 0;
};

// The built-up set of the profile type takes over the current dimensions,
// so that the profile window of that type opens with what the file held.
// tw of the flat bar, RHS and trapezoid sets is a Single.
template <class Dims>
void copyToBuiltUp(int type, const Dims& cur, BuiltUpSets& set) {
  const auto flanged = [&](BuiltUpFlanged& f) {
    f.h = cur.h;
    f.b = cur.b;
    f.tw = cur.tw;
    f.tf = cur.tf;
  };
  const ProfileTraits* tr = traitsOf(type);
  if (!tr || tr->fromTable) return;  // table profiles keep their dimensions in the tables
  switch (tr->family) {
    case ProfileFamily::L:
      flanged(set.lb);
      break;
    case ProfileFamily::T:
      flanged(set.tb);
      break;
    case ProfileFamily::FlatBar:
      set.fb.h = cur.h;
      set.fb.tw = static_cast<float>(cur.tw);
      break;
    case ProfileFamily::Rhs:
      set.rhs.h = cur.h;
      set.rhs.b = cur.b;
      set.rhs.tw = static_cast<float>(cur.tw);
      break;
    case ProfileFamily::Trapezoid:
      set.trap.h = cur.h;
      set.trap.b = cur.b;
      set.trap.a = cur.a;
      set.trap.tw = static_cast<float>(cur.tw);
      break;
    case ProfileFamily::I:
      flanged(set.ib);
      break;
    case ProfileFamily::BulbFlat:
      break;
  }
}

}  // namespace

Status readProject(ProjectState& ps, const fs::path& path) {
  const std::string file = path.string();
  std::error_code ec;
  if (!fs::exists(path, ec)) return Error{ErrorKind::NotFound, file, 0, {}};
  if (!fs::is_regular_file(path, ec)) return Error{ErrorKind::Unreadable, file, 0, "not a file"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{ErrorKind::Unreadable, file, 0, "the file cannot be opened"};

  ProjectState next = ps;
  const Status read = ProjectReader(*in.rdbuf(), file, next).run();
  if (!read) return read;
  if (in.bad()) return Error{ErrorKind::Unreadable, file, 0, "the file cannot be read"};

  next.fileName = file;
  findStiffenerRow(next);
  copyToBuiltUp(next.cbostiff, next.st, next.stiffBuilt);
  copyToBuiltUp(next.cboring, next.rg, next.ringBuilt);
  ps = std::move(next);
  return Done{};
}

void openingSteps(ProjectState& ps, CalcEvents& ev) {
  lookupPlate(ps, ps.matp);
  stiffenerSection(ps, ps.cbostiff, ev);
  lookupStiffener(ps, ps.mats);
}

}  // namespace orvane
