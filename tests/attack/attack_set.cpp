#include "attack_set.hpp"

#include <cstdint>
#include <fstream>
#include <random>
#include <utility>

#include "files/project_file.hpp"
#include "model/project_state.hpp"

namespace orvane::attack {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The lines of a good file: the new-project defaults as the program writes them.
Lines goodLines(const fs::path& dir) {
  ProjectState ps;
  const fs::path p = dir / "good-source.cys";
  if (!writeProject(ps, p)) return {};
  std::ifstream in(p, std::ios::binary);
  Lines lines;
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  fs::remove(p);
  return lines;
}

class Builder {
 public:
  Builder(fs::path dir, Lines good) : dir_(std::move(dir)), good_(std::move(good)) {}

  // A file of the good lines with some replaced, cut to `keep` lines, joined
  // by `end`, and `tail` repeated `times` after it.
  void add(Expect expect, int line, const std::vector<std::pair<int, std::string>>& edits,
           size_t keep = 59, const std::string& end = "\r\n", const std::string& tail = {},
           size_t times = 0) {
    Lines lines = good_;
    for (const auto& [n, text] : edits) lines.at(static_cast<size_t>(n - 1)) = text;
    lines.resize(std::min(keep, lines.size()));
    std::string body;
    for (const auto& l : lines) body += l + end;
    addRaw(expect, line, body, tail, times);
  }

  void addRaw(Expect expect, int line, const std::string& body, const std::string& tail = {},
              size_t times = 0) {
    const fs::path p = dir_ / ("attack-" + std::to_string(files_.size() + 1) + ".cys");
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << body;
    for (size_t i = 0; i < times; ++i) out << tail;
    files_.push_back({p, expect, line});
  }

  const Lines& good() const { return good_; }
  std::vector<AttackFile> take() { return std::move(files_); }

 private:
  fs::path dir_;
  Lines good_;
  std::vector<AttackFile> files_;
};

std::string utf16(const std::string& ascii, bool bigEndian, bool bom) {
  std::string out;
  if (bom) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) {
    if (bigEndian) out += '\0';
    out += c;
    if (!bigEndian) out += '\0';
  }
  return out;
}

}  // namespace

std::vector<AttackFile> buildAttackSet(const fs::path& dir) {
  fs::create_directories(dir);
  Builder b(dir, goodLines(dir));
  constexpr auto R = Expect::Reads, F = Expect::Faults, X = Expect::Refused;
  const std::string MB(1 << 20, '\n');

  // Not a number where a number stands (57), and the file cut after each
  // line (59).
  for (int line = 1; line <= 59; ++line)
    if (line != 2 && line != 3) b.add(X, line, {{line, "x" + std::to_string(line)}});
  for (int keep = 0; keep < 59; ++keep) b.add(X, keep + 1, {}, static_cast<size_t>(keep));

  // Codes, flags and rows outside their domains (66).
  const std::pair<int, int> domains[] = {{4, 4},  {5, 4},  {6, 4},  {10, 1}, {12, 3}, {13, 1},
                                         {15, 1}, {16, 1}, {17, 1}, {18, 9}, {19, 7}, {20, 5},
                                         {21, 5}, {22, 5}, {23, 9}, {24, 7}, {25, 5}, {26, 5},
                                         {27, 5}, {50, 1}, {59, 1}};
  for (const auto& [line, hi] : domains) {
    // past any loaded table, the shipped ones included
    for (const int v : {-1, hi + 100, 32767}) b.add(X, line, {{line, std::to_string(v)}});
  }
  for (const char* v : {"4", "7", "-32768"}) b.add(X, 12, {{12, v}});

  // Integers beyond 16 bits (6), singles and doubles beyond their range (14).
  for (const int line : {1, 14, 51}) {
    b.add(X, line, {{line, "32768"}});
    b.add(X, line, {{line, "-32769"}});
  }
  for (const int line : {28, 32, 34, 37, 38, 39, 44, 49, 56, 58}) b.add(X, line, {{line, "1e39"}});
  for (const int line : {7, 29, 35, 52}) b.add(X, line, {{line, "1e400"}});

  // Huge lines (3) and megabytes after the last line (3).
  b.add(X, 2, {}, 1, "\r\n", std::string(1 << 20, 'n'), 100);
  b.add(X, 30, {}, 29, "\r\n", std::string(1 << 20, '7'), 10);
  b.add(X, 1, {}, 0, "\r\n", std::string(1 << 20, ' '), 2);
  b.add(R, 0, {}, 59, "\r\n", std::string(1 << 20, '\r'), 100);
  b.add(R, 0, {}, 59, "\r\n", MB, 50);
  b.add(R, 0, {}, 59, "\r\n", std::string(1 << 20, '\0'), 50);

  // Encodings (9).
  std::string whole;
  for (const auto& l : b.good()) whole += l + "\r\n";
  b.addRaw(X, 1, utf16(whole, false, true));
  b.addRaw(X, 1, utf16(whole, true, true));
  b.addRaw(X, 1, utf16(whole, false, false));
  b.addRaw(R, 0, "\xEF\xBB\xBF" + whole);
  b.add(R, 0, {{2, "\xC6r\xF8 \xD8st"}});
  b.add(R, 0, {{2, "\xC3\x86r\xC3\xB8 \xC3\x98st"}});
  b.add(R, 0, {{2, "\xC3\x28\xA0\xA1"}});
  b.add(X, 2, {{2, std::string("a\0b", 3)}});
  b.add(X, 3, {{3, "a\x1b[2Jb"}});

  // Line ends (4).
  b.add(R, 0, {}, 59, "\n");
  b.add(R, 0, {}, 59, "\r");
  b.addRaw(R, 0, whole.substr(0, whole.size() - 2));
  std::string mixed;
  for (size_t i = 0; i < b.good().size(); ++i) mixed += b.good()[i] + (i % 2 ? "\n" : "\r");
  b.addRaw(R, 0, mixed);

  // Number notations that read (6).
  b.add(R, 0, {{30, "+3000"}});
  b.add(R, 0, {{36, "-.5"}});
  b.add(R, 0, {{30, "3000."}});
  b.add(R, 0, {{30, "3E+3"}});
  b.add(R, 0, {{30, " 3000\t"}});
  b.add(R, 0, {{36, "-0"}});

  // NULs (2).
  b.add(X, 30, {{30, std::string("1\0", 2)}});
  b.addRaw(X, 1, std::string(1024, '\0'));

  // Versions (12): the version picks how many lines are read.
  for (const char* v : {"100", "105", "106", "120", "130", "131", "170", "999", "-5", "0"})
    b.add(R, 0, {{1, v}});
  b.add(R, 0, {{1, "100"}}, 49);
  b.add(R, 0, {{1, "120"}}, 50);

  // Arithmetic (6): all stresses zero and an overflowing exponential fault;
  // the others may fault or not, but must not end the program.
  b.add(F, 0, {{36, "0"}, {37, "0"}, {38, "0"}, {39, "0"}});
  b.add(F, 0, {{30, "1E6"}});
  b.add(R, 0, {{28, "0"}});
  b.add(R, 0, {{34, "0"}});
  b.add(R, 0, {{35, "0"}});
  b.add(R, 0, {{35, "1E300"}});

  // Random bytes after a line that is not a version (5).
  std::mt19937 random(252);
  for (int i = 0; i < 5; ++i) {
    std::string bytes = "x";
    for (int k = 0; k < 4096; ++k) bytes += static_cast<char>(random() & 0xFF);
    b.addRaw(X, 1, bytes);
  }
  return b.take();
}

}  // namespace orvane::attack
