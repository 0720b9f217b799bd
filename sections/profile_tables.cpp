#include "sections/profile_tables.hpp"

#include <algorithm>

#include "model/checked.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"
#include "model/text_encoding.hpp"
#include "sections/materials.hpp"

namespace orvane {

namespace {

using Row = std::array<float, 6>;

const char* prefix(ProfileKind kind) {
  switch (kind) {
    case ProfileKind::BulbFlat:
      return "BF ";
    case ProfileKind::L:
      return "L";
    case ProfileKind::T:
      return "T";
    case ProfileKind::FlatBar:
      return "Fb";
  }
  return "";
}

// Every loaded row that matches overwrites the selection, so the last equal
// row wins; the loaded rows never pass the table's end.
template <typename Match>
void findLastRow(const ProfileTable& table, int16_t& selected, Match match) {
  for (int i = 0; i <= table.last; ++i) {
    if (match(table.row.at(i))) selected = static_cast<int16_t>(i);
  }
}

}  // namespace

Status loadProfileTable(const std::filesystem::path& file, ProfileTable& table) {
  table.row = {};
  table.last = -1;
  DataFileReader in;
  if (!in.open(file)) return cannotOpen(file);

  std::optional<Error> problem;
  int rows = 0;
  // The end of the file is tested only before a row: trailing blanks and line
  // ends end the table, a row cut short does not count.
  while (!in.atEnd()) {
    if (rows == table.maxRows) {
      problem = damagedLine(file, in.line(),
                            "the file holds more than " + std::to_string(table.maxRows) +
                                " rows; the rest was ignored");
      break;
    }
    const int rowLine = in.line();
    Row values{};
    int read = 0;
    while (read < table.columns && !in.atEnd()) {
      std::string field;
      const std::optional<float> x = in.number(field);
      if (!x) {
        problem = damagedLine(file, in.line(), "'" + fileTextToUtf8(field) + "' is not a number");
        break;
      }
      values.at(read + 1) = *x;
      ++read;
    }
    if (problem) break;
    if (read < table.columns) {
      problem = damagedLine(file, rowLine,
                            "the last row has only " + std::to_string(read) + " of its " +
                                std::to_string(table.columns) + " values; it was ignored");
      break;
    }
    table.row.at(rows) = values;
    ++rows;
  }
  table.last = static_cast<int16_t>(rows - 1);
  if (problem) return *problem;
  return Done{};
}

std::vector<std::string> profileList(const ProfileTable& table, ProfileKind kind) {
  const bool flanged = kind == ProfileKind::L || kind == ProfileKind::T;
  const int columns = flanged ? 4 : 2;  // h x b x tw x tf, or h x tw
  std::vector<std::string> items;
  for (int i = 0; i <= table.last; ++i) {
    const Row& r = table.row.at(i);
    std::string item = prefix(kind) + generalNumber(r[1]);
    for (int c = 2; c <= columns; ++c) item += "x" + generalNumber(r[c]);
    items.push_back(std::move(item));
  }
  return items;
}

void findStiffenerRow(ProjectState& ps) {
  const StiffenerProfile& st = ps.st;
  const std::optional<ProfileType> type = profileType(ps.cbostiff);
  if (!type || !traits(*type).fromTable) return;
  switch (traits(*type).family) {
    case ProfileFamily::L:  // the flange thickness is not part of the key
      findLastRow(ps.prof.l, ps.stiffRows.l,
                  [&](const Row& r) { return st.h == r[1] && st.b == r[2] && st.tw == r[3]; });
      break;
    case ProfileFamily::T:
      findLastRow(ps.prof.t, ps.stiffRows.t, [&](const Row& r) {
        return st.h == r[1] && st.b == r[2] && st.tw == r[3] && st.tf == r[4];
      });
      break;
    case ProfileFamily::FlatBar:
      findLastRow(ps.prof.flat, ps.stiffRows.flat,
                  [&](const Row& r) { return st.h == r[1] && st.tw == r[2]; });
      break;
    case ProfileFamily::BulbFlat:
      findLastRow(ps.prof.bulb, ps.stiffRows.bulb,
                  [&](const Row& r) { return st.h == r[1] && st.tw == r[2]; });
      break;
    default:
      break;
  }
}

float tableValue(const ProfileTable& table, int row, int column) {
  const int rows = std::min(table.maxRows, static_cast<int>(table.row.size()));
  const Row& r = table.row[checked::index(row, rows)];
  return r[checked::index(column, static_cast<int>(r.size()))];
}

}  // namespace orvane
