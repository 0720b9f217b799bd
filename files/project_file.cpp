#include "files/project_file.hpp"

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <variant>
#include <vector>

#include "model/format.hpp"
#include "sections/materials.hpp"
#include "sections/profile_tables.hpp"
#include "sections/stiffener_section.hpp"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// Lines 4 to 59 in file order. The kind of each line is the kind of the
// member it lands in: int16_t Integer, double Variant number, float Single.
using FieldRef = std::variant<int16_t*, double*, float*>;
constexpr int kFirstValueLine = 4;
constexpr int kStiffFlagLine = 14;
constexpr int kLastOldLine = 49;    // files up to version 105
constexpr int kHeavyRingLine = 50;  // files of version 106 to 130
constexpr int kLastLine = 59;       // files of version 131 and later
constexpr int kStiffTwLine = 43;
constexpr int kRingTwLine = 48;

std::array<FieldRef, kLastLine - kFirstValueLine + 1> valueLines(ProjectState& ps) {
  // clang-format off
  return {&ps.matp, &ps.mats, &ps.matg, &ps.fyp, &ps.fys, &ps.fyg,                 // 4-9
          &ps.wsd, &ps.ufb, &ps.cyltype, &ps.Outside_ch, &ps.stiff_flag,           // 10-14
          &ps.ring_ch, &ps.check_ih, &ps.ringfab, &ps.cbostiff,                    // 15-18
          &ps.stiffRows.bulb, &ps.stiffRows.l, &ps.stiffRows.t, &ps.stiffRows.flat, // 19-22
          &ps.cboring,                                                             // 23
          &ps.ringRows.bulb, &ps.ringRows.l, &ps.ringRows.t, &ps.ringRows.flat,    // 24-27
          &ps.E, &ps.s, &ps.l, &ps.ltst, &ps.ltgi, &ps.L, &ps.r, &ps.t,            // 28-35
          &ps.sigx, &ps.sigy, &ps.tau, &ps.pd,                                     // 36-39
          &ps.st.h, &ps.st.b, &ps.st.a, &ps.st.tw, &ps.st.tf,                      // 40-44
          &ps.rg.h, &ps.rg.b, &ps.rg.a, &ps.rg.tw, &ps.rg.tf,                      // 45-49
          &ps.hring_ch, &ps.spare_flag,                                            // 50-51
          &ps.N, &ps.M1a, &ps.M2a, &ps.M1b, &ps.M2b, &ps.k1, &ps.k2,               // 52-58
          &ps.odmom};                                                              // 59
  // clang-format on
}

// ---- reading ---------------------------------------------------------------

// Lines end at CRLF, LF or CR; a last line without an end still counts.
std::vector<std::string_view> splitLines(std::string_view data) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < data.size()) {
    const size_t end = data.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(data.substr(start));
      break;
    }
    lines.push_back(data.substr(start, end - start));
    start = end + 1;
    if (data[end] == '\r' && start < data.size() && data[start] == '\n') ++start;
  }
  return lines;
}

// A problem on one line; the reader turns it into the outcome's message.
struct LineProblem {
  int line;
  std::string what;
};

std::string quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  std::string q = "\"";
  q += text.substr(0, kShown);
  if (text.size() > kShown) q += "...";
  return q + "\"";
}

class LineSource {
 public:
  explicit LineSource(std::string_view data) : lines_(splitLines(data)) {}

  std::variant<std::string_view, LineProblem> text(int line) const {
    if (line > static_cast<int>(lines_.size())) {
      return LineProblem{line, "the file ends before this line"};
    }
    return lines_[static_cast<size_t>(line - 1)];
  }

  std::variant<double, LineProblem> number(int line) const {
    const auto t = text(line);
    if (const auto* p = std::get_if<LineProblem>(&t)) return *p;
    const std::string_view s = std::get<std::string_view>(t);
    const std::optional<double> v = parseFileNumber(s);
    if (!v) return LineProblem{line, "not a number: " + quoted(s)};
    if (!std::isfinite(*v)) return LineProblem{line, quoted(s) + " is out of range"};
    return *v;
  }

  // Integers round half to even, as the 16-bit conversion always has.
  std::variant<int16_t, LineProblem> integer(int line) const {
    const auto n = number(line);
    if (const auto* p = std::get_if<LineProblem>(&n)) return *p;
    const double r = std::nearbyint(std::get<double>(n));
    if (r < -32768.0 || r > 32767.0) {
      return LineProblem{
          line, quoted(std::get<std::string_view>(text(line))) + " does not fit a 16-bit integer"};
    }
    return static_cast<int16_t>(r);
  }

  std::variant<float, LineProblem> single(int line) const {
    const auto n = number(line);
    if (const auto* p = std::get_if<LineProblem>(&n)) return *p;
    const float f = static_cast<float>(std::get<double>(n));
    if (!std::isfinite(f)) {
      return LineProblem{
          line, quoted(std::get<std::string_view>(text(line))) + " does not fit single precision"};
    }
    return f;
  }

 private:
  std::vector<std::string_view> lines_;
};

// Reads one line into its member; the member is untouched on a problem.
template <class T>
std::optional<LineProblem> store(const std::variant<T, LineProblem>& got, T& into) {
  if (const auto* p = std::get_if<LineProblem>(&got)) return *p;
  into = std::get<T>(got);
  return std::nullopt;
}

std::optional<LineProblem> readValueLine(const LineSource& src, int line, FieldRef field) {
  return std::visit(
      [&](auto* member) -> std::optional<LineProblem> {
        using T = std::remove_pointer_t<decltype(member)>;
        if constexpr (std::is_same_v<T, int16_t>) {
          return store(src.integer(line), *member);
        } else if constexpr (std::is_same_v<T, float>) {
          return store(src.single(line), *member);
        } else {
          return store(src.number(line), *member);
        }
      },
      field);
}

int lastLineOf(int version) {
  if (version >= 131) return kLastLine;
  if (version >= 106) return kHeavyRingLine;
  return kLastOldLine;
}

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
  switch (type) {
    case 1:
      flanged(set.lb);
      break;
    case 3:
      flanged(set.tb);
      break;
    case 5:
      set.fb.h = cur.h;
      set.fb.tw = static_cast<float>(cur.tw);
      break;
    case 7:
      set.rhs.h = cur.h;
      set.rhs.b = cur.b;
      set.rhs.tw = static_cast<float>(cur.tw);
      break;
    case 8:
      set.trap.h = cur.h;
      set.trap.b = cur.b;
      set.trap.a = cur.a;
      set.trap.tw = static_cast<float>(cur.tw);
      break;
    case 9:
      flanged(set.ib);
      break;
    default:  // table profiles keep their dimensions in the tables
      break;
  }
}

bool twGoesToSingle(int type) { return type == 5 || type == 7 || type == 8; }

// A tw too large for the Single of its built-up set would fault in the copy
// after the file was already taken as read; reject the file at that line.
std::optional<LineProblem> builtUpProblem(const ProjectState& ps) {
  const auto check = [](int type, double tw, int line) -> std::optional<LineProblem> {
    if (twGoesToSingle(type) && !std::isfinite(static_cast<float>(tw))) {
      return LineProblem{line, "web thickness does not fit single precision"};
    }
    return std::nullopt;
  };
  if (auto p = check(ps.cbostiff, ps.st.tw, kStiffTwLine)) return p;
  return check(ps.cboring, ps.rg.tw, kRingTwLine);
}

ReadOutcome stopped(const fs::path& path, const LineProblem& p) {
  return {ReadOutcome::Stopped, p.line,
          path.string() + ", line " + std::to_string(p.line) + ": " + p.what};
}

// ---- writing ---------------------------------------------------------------

std::string projectText(ProjectState& ps) {
  constexpr std::string_view kEnd = "\r\n";
  std::string out;
  out.reserve(1024);
  const auto line = [&](std::string_view text) {
    out += text;
    out += kEnd;
  };
  line(fileNumber(kProjectFileVersion));
  line(ps.projectName);
  line(ps.ident);
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

}  // namespace

std::optional<std::string> writeProject(ProjectState& ps, const fs::path& path) {
  std::error_code ec;
  const fs::path folder = path.parent_path();
  if (!folder.empty() && !fs::is_directory(folder, ec)) {
    return "can't save file - " + path.string();
  }
  const std::string text = projectText(ps);

  fs::path temp = path;
  temp += ".saving";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return path.string() + ": cannot create " + temp.filename().string();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      fs::remove(temp, ec);
      return path.string() + ": writing failed";
    }
  }
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return path.string() + ": " + ec.message();
  }
  ps.fileName = path.string();
  return std::nullopt;
}

ReadOutcome readProject(ProjectState& ps, const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    return {ReadOutcome::NotFound, 0, "can't find file - " + path.string()};
  }
  if (!fs::is_regular_file(path, ec)) {
    return {ReadOutcome::Stopped, 0, path.string() + ": not a file"};
  }
  std::ifstream in(path, std::ios::binary);
  std::string data;
  if (in) data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    return {ReadOutcome::Stopped, 0, path.string() + ": cannot read the file"};
  }
  const LineSource src(data);

  // The version decides the layout only; fileversion keeps the version this
  // program writes.
  int16_t version = 0;
  if (auto p = store(src.integer(1), version)) return stopped(path, *p);
  for (int line : {2, 3}) {
    const auto got = src.text(line);
    if (const auto* p = std::get_if<LineProblem>(&got)) return stopped(path, *p);
    (line == 2 ? ps.projectName : ps.ident) = std::string(std::get<std::string_view>(got));
  }
  const auto fields = valueLines(ps);
  const int last = lastLineOf(version);
  for (int line = kFirstValueLine; line <= last; ++line) {
    if (auto p = readValueLine(src, line, fields[static_cast<size_t>(line - kFirstValueLine)])) {
      return stopped(path, *p);
    }
    if (line == kStiffFlagLine) ps.stiff_flag = 1;
  }
  if (auto p = builtUpProblem(ps)) return stopped(path, *p);

  ps.fileName = path.string();
  findStiffenerRow(ps);
  copyToBuiltUp(ps.cbostiff, ps.st, ps.stiffBuilt);
  copyToBuiltUp(ps.cboring, ps.rg, ps.ringBuilt);
  return {};
}

void openingSteps(ProjectState& ps, CalcEvents& ev) {
  lookupPlate(ps, ps.matp);
  stiffenerSection(ps, ps.cbostiff, ev);
  lookupStiffener(ps, ps.mats);
}

}  // namespace orvane
