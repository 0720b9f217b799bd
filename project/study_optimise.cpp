// The lightest passing design of a grid: every candidate's steel mass first
// (from the section routines, which do not depend on the run), then the
// candidates run as rows in ascending order of mass until enough pass.
#include <algorithm>
#include <atomic>
#include <numbers>
#include <set>

#include "model/checked.hpp"
#include "model/format.hpp"
#include "project/row_runner.hpp"
#include "project/set_values.hpp"
#include "project/study.hpp"
#include "project/study_rows.hpp"
#include "sections/profile_tables.hpp"
#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"

namespace orvane {

namespace {

constexpr double kSteelDensity = 7850;  // kg/m3

Error studyError(const std::string& text) { return Error{ErrorKind::Damaged, "", 0, text}; }

struct TableInfo {
  ProfileType type;
  const char* name;  // in --free and in stiff_row_NAME / ring_row_NAME
  ProfileTable ProfileTables::*table;
  ProfileKind kind;
};
constexpr TableInfo kTables[] = {
    {ProfileType::BulbFlat, "bulb", &ProfileTables::bulb, ProfileKind::BulbFlat},
    {ProfileType::LTable, "l", &ProfileTables::l, ProfileKind::L},
    {ProfileType::TTable, "t", &ProfileTables::t, ProfileKind::T},
    {ProfileType::FlatBarTable, "flat", &ProfileTables::flat, ProfileKind::FlatBar},
};
const TableInfo& tableInfo(ProfileType t) {
  for (const TableInfo& i : kTables)
    if (i.type == t) return i;
  return kTables[0];
}

const char* memberName(Member m) { return m == Member::Stiffener ? "stiffener" : "ring"; }
std::string typeInput(Member m) { return m == Member::Stiffener ? "cbostiff" : "cboring"; }
std::string rowInput(Member m, ProfileType t) {
  return std::string(m == Member::Stiffener ? "stiff_row_" : "ring_row_") + tableInfo(t).name;
}

// The parts of the steel mass that come from the section routines.
struct Sections {
  bool valid = false;
  bool stiffeners = false, rings = false, outside = false;
  double As = 0, Ag = 0, zcg = 0;
};

class Quiet final : public CalcEvents {
 public:
  void warning(const std::string&) override {}
};

// Runs the section routines of the profiles `work` uses (its numbers change).
Sections sectionsOf(ProjectState& work) {
  Sections s;
  const auto type = cylinderType(work.cyltype);
  s.stiffeners = type == CylinderType::StringerStiffened;
  s.rings = type == CylinderType::RingStiffened || type == CylinderType::StringerStiffened;
  s.outside = work.Outside_ch != 0;
  Quiet quiet;
  try {
    if (s.stiffeners) stiffenerSection(work, work.cbostiff, quiet, false);
    if (s.rings) ringSectionProps(work, work.cboring, quiet, false);
  } catch (const CalcFault&) {
    return s;
  }
  s.As = work.st.As;
  s.Ag = work.rg.Ag;
  s.zcg = work.rg.zcg;
  s.valid = true;
  return s;
}

double massOf(const Sections& s, double r, double t, double spacing, double l) {
  const double twoPi = 2 * std::numbers::pi;
  double area = twoPi * r * t;  // mm2 of steel per mm of length
  if (s.stiffeners) area += s.As * twoPi * r / spacing;
  if (s.rings) {
    const double rc = s.outside ? r + t / 2 + s.zcg : r - t / 2 - s.zcg;
    area += s.Ag * twoPi * rc / l;
  }
  return kSteelDensity * area * 1e-6;  // kg per metre
}

// One free dimension of the search: a grid or a profile choice.
struct Dimension {
  uint64_t count = 0;
  bool geometry = false;  // r, t, s or l: enters the mass by formula only
  int geometrySlot = -1;  // 0 r, 1 t, 2 s, 3 l
  size_t column = 0;      // its first column
  const StudyRange* grid = nullptr;
  std::vector<double> stored;  // grid: the values as the input stores them
  struct Choice {
    int16_t type, row;
    size_t slot;  // which of the member's row columns
    std::string designation;
  };
  Member member{};
  std::vector<Choice> choices;
  std::vector<double> rowBase;  // the member's row columns' base values
};

// Writes dimension `d`'s value number `k` into the row values.
void put(const Dimension& d, uint64_t k, std::vector<double>& values) {
  if (d.grid) {
    values[d.column] = d.grid->value(k);
    return;
  }
  const Dimension::Choice& c = d.choices[k];
  values[d.column] = c.type;
  for (size_t j = 0; j < d.rowBase.size(); ++j)
    values[d.column + 1 + j] = j == c.slot ? c.row : d.rowBase[j];
}

}  // namespace

Result<ProfileFreedom> parseProfileFreedom(std::string_view text) {
  const std::string whole(text);
  const auto bad = [&] {
    return studyError(
        "a profile choice is written stiffener=TABLE or ring=TABLE, TABLE one of "
        "bulb, l, t, flat or all (or several joined by commas), got '" +
        whole + "'");
  };
  const auto eq = text.find('=');
  if (eq == std::string_view::npos) return bad();
  ProfileFreedom f;
  const std::string_view member = text.substr(0, eq);
  if (member == "stiffener")
    f.member = Member::Stiffener;
  else if (member == "ring")
    f.member = Member::RingFrame;
  else
    return bad();
  std::string_view rest = text.substr(eq + 1);
  for (;;) {
    const auto comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    bool found = false;
    for (const TableInfo& t : kTables) {
      if (name == "all" || name == t.name) {
        found = true;
        if (std::find(f.tables.begin(), f.tables.end(), t.type) == f.tables.end())
          f.tables.push_back(t.type);
      }
    }
    if (!found) return bad();
    if (comma == std::string_view::npos) break;
    rest = rest.substr(comma + 1);
  }
  return f;
}

Result<std::variant<StudyRange, ProfileFreedom>> parseFree(std::string_view text) {
  const std::string_view name = text.substr(0, text.find('='));
  if (name == "stiffener" || name == "ring") {
    auto f = parseProfileFreedom(text);
    if (!f) return f.error();
    return std::variant<StudyRange, ProfileFreedom>(f.value());
  }
  auto r = parseRange(text);
  if (!r) return r.error();
  return std::variant<StudyRange, ProfileFreedom>(r.value());
}

std::optional<double> steelMass(const ProjectState& ps) {
  ProjectState work = ps;
  const Sections s = sectionsOf(work);
  if (!s.valid) return std::nullopt;
  return massOf(s, ps.r, ps.t, ps.s, ps.l);
}

Result<OptimiseResult> optimise(const OpenedProject& base, const OptimiseSpec& search, int jobs,
                                const StudyProgress& progress, StopToken stop) {
  if (search.top < 1) return studyError("--top must be at least 1");
  if (search.grids.empty() && search.profiles.empty()) return studyError("nothing is free");
  if (auto problem = checkRanges(search.grids)) return studyError(*problem);

  // the columns: grids, then per free profile its type and its table rows
  OptimiseResult result;
  std::vector<Dimension> dims;
  std::set<Member> members;
  for (const StudyRange& g : search.grids) {
    Dimension d;
    d.grid = &g;
    d.count = g.count();
    const char* const geometry[] = {"r", "t", "s", "l"};
    for (int k = 0; k < 4; ++k)
      if (g.name == geometry[k]) d.geometrySlot = k;
    d.geometry = d.geometrySlot >= 0;
    d.column = result.columns.size();
    result.columns.push_back(g.name);
    dims.push_back(std::move(d));
  }
  for (const ProfileFreedom& f : search.profiles) {
    if (!members.insert(f.member).second)
      return studyError(std::string("the ") + memberName(f.member) + " is free twice");
    Dimension d;
    d.member = f.member;
    d.column = result.columns.size();
    result.columns.push_back(typeInput(f.member));
    for (size_t slot = 0; slot < f.tables.size(); ++slot) {
      const TableInfo& info = tableInfo(f.tables[slot]);
      const ProfileTable& table = base.state.prof.*info.table;
      const std::vector<std::string> names = profileList(table, info.kind);
      for (size_t row = 0; row < names.size(); ++row)
        d.choices.push_back({code(info.type), static_cast<int16_t>(row), slot, names[row]});
      const std::string rowName = rowInput(f.member, info.type);
      d.rowBase.push_back(0);  // filled from the probe below
      result.columns.push_back(rowName);
    }
    if (d.choices.empty())
      return studyError(std::string("the ") + memberName(f.member) +
                        " is free, but its profile tables have no rows");
    d.count = d.choices.size();
    dims.push_back(std::move(d));
  }
  {
    std::set<std::string> seen;
    for (const std::string& c : result.columns)
      if (!seen.insert(c).second) return studyError(c + " is free twice");
  }

  auto fixedValues = fixedSettings(base.state, search.fixed, result.columns);
  if (!fixedValues) return fixedValues.error();
  const FixedSettings& fixed = fixedValues.value();
  std::vector<std::string> columns = fixed.names;
  columns.insert(columns.end(), result.columns.begin(), result.columns.end());
  for (Dimension& d : dims) d.column += fixed.names.size();

  // the project with the fixed values: base values of the free inputs
  ProjectState probe = base.state;
  for (const std::string& s : search.fixed) (void)applySetting(probe, s);
  const bool cyltypeFree = std::any_of(search.grids.begin(), search.grids.end(),
                                       [](auto& g) { return g.name == "cyltype"; });
  for (Dimension& d : dims) {
    if (d.grid) continue;
    for (size_t j = 0; j < d.rowBase.size(); ++j)
      d.rowBase[j] = InputSetter::find(columns[d.column + 1 + j])->value(probe);
    const auto type = cylinderType(probe.cyltype);
    if (cyltypeFree) continue;
    if (d.member == Member::Stiffener && type != CylinderType::StringerStiffened)
      return studyError(
          "the stiffener is free, but only a stringer-stiffened cylinder "
          "(cyltype=2) has stiffeners");
    if (d.member == Member::RingFrame && type != CylinderType::RingStiffened &&
        type != CylinderType::StringerStiffened)
      return studyError(
          "the ring frame is free, but only a ring- or stringer-stiffened "
          "cylinder (cyltype=1 or 2) has ring frames");
  }
  double product = 1;
  for (const Dimension& d : dims) product *= static_cast<double>(d.count);
  if (product > static_cast<double>(kMaxStudyPoints))
    return studyError("the search has " + std::to_string(static_cast<uint64_t>(product)) +
                      " candidates, more than " + std::to_string(kMaxStudyPoints));
  const uint64_t total = static_cast<uint64_t>(product);
  result.candidates = total;

  auto engine = RowEngine::create(base, columns);
  if (!engine) return engine.error();
  const RowEngine& rows = engine.value();
  result.checks = rows.checks();

  // strides: the last dimension runs fastest
  std::vector<uint64_t> stride(dims.size(), 1);
  for (size_t k = dims.size(); k-- > 1;) stride[k - 1] = stride[k] * dims[k].count;
  const auto digit = [&](uint64_t candidate, size_t k) {
    return (candidate / stride[k]) % dims[k].count;
  };

  // the geometry values as stored, and the sections of every combination
  // of the other dimensions
  double geometryBase[4] = {probe.r, probe.t, probe.s, probe.l};
  uint64_t sectionCount = 1;
  std::vector<uint64_t> sectionStride(dims.size(), 0);
  for (size_t k = dims.size(); k-- > 0;) {
    Dimension& d = dims[k];
    if (d.geometry) {
      ProjectState scratch = probe;
      const InputSetter setter = *InputSetter::find(d.grid->name);
      for (uint64_t i = 0; i < d.count; ++i) {
        (void)setter.store(scratch, d.grid->value(i));
        d.stored.push_back(setter.value(scratch));
      }
    } else {
      sectionStride[k] = sectionCount;
      sectionCount *= d.count;
    }
  }
  std::vector<Sections> sections(sectionCount);
  {
    std::vector<double> values(columns.size());
    std::copy(fixed.values.begin(), fixed.values.end(), values.begin());
    ProjectState work = probe;
    for (uint64_t sc = 0; sc < sectionCount; ++sc) {
      static_cast<ProjectNumbers&>(work) = probe;
      for (size_t k = 0; k < dims.size(); ++k) {
        if (dims[k].geometry) continue;
        put(dims[k], (sc / sectionStride[k]) % dims[k].count, values);
        for (size_t c = dims[k].column; c < dims[k].column + 1 + dims[k].rowBase.size(); ++c)
          (void)InputSetter::find(columns[c])->store(work, values[c]);
      }
      sections[sc] = sectionsOf(work);
    }
  }

  // every candidate's mass, then the order of the search
  std::vector<std::pair<double, uint64_t>> order;
  order.reserve(total);
  for (uint64_t c = 0; c < total; ++c) {
    double g[4] = {geometryBase[0], geometryBase[1], geometryBase[2], geometryBase[3]};
    uint64_t sc = 0;
    for (size_t k = 0; k < dims.size(); ++k) {
      const uint64_t i = digit(c, k);
      if (dims[k].geometry)
        g[dims[k].geometrySlot] = dims[k].stored[i];
      else
        sc += i * sectionStride[k];
    }
    if (!sections[sc].valid) continue;
    order.emplace_back(massOf(sections[sc], g[0], g[1], g[2], g[3]), c);
  }
  std::sort(order.begin(), order.end());

  std::atomic<uint64_t> evaluated{0};
  size_t done = 0;
  bool enough = false;
  runRows<std::vector<Design>>(
      jobs, order.size(), rowChunk(order.size(), jobs, 16),
      [&] { return !enough && !stop.stop_requested(); },
      [&](uint64_t first, uint64_t count, std::vector<Design>& passed, RowScratch& scratch) {
        passed.clear();
        std::vector<double> values(columns.size());
        std::copy(fixed.values.begin(), fixed.values.end(), values.begin());
        for (size_t p = first; p < first + count; ++p) {
          const uint64_t candidate = order[p].second;
          for (size_t k = 0; k < dims.size(); ++k) put(dims[k], digit(candidate, k), values);
          RowOutcome o = rows.run(values, scratch);
          if (o.status() != RowOutcome::Status::Passed) continue;
          Design d;
          d.candidate = candidate;
          d.values.assign(values.begin() + static_cast<std::ptrdiff_t>(fixed.values.size()),
                          values.end());
          d.mass = order[p].first;
          double worst = -1;
          for (CheckId check : rows.checks()) {
            const CheckValue& v = o[check];
            if (!v.shown) continue;
            const double ratio = v.allow > 0 ? v.uf / v.allow : v.uf;
            if (ratio > worst) {
              worst = ratio;
              d.governing = check;
              d.uf = v.uf;
              d.allow = v.allow;
            }
          }
          for (size_t k = 0; k < dims.size(); ++k) {
            if (dims[k].grid) continue;
            const std::string& name = dims[k].choices[digit(candidate, k)].designation;
            (dims[k].member == Member::Stiffener ? d.stiffener : d.ring) = name;
          }
          d.outcome = std::move(o);
          passed.push_back(std::move(d));
        }
        evaluated += count;
      },
      [&](uint64_t, uint64_t count, std::vector<Design>& passed) {
        for (Design& d : passed) {
          if (result.designs.size() >= search.top) break;
          result.designs.push_back(std::move(d));
        }
        enough = result.designs.size() >= search.top;
        done += count;
        if (progress) progress(done, order.size());
      });
  result.evaluated = evaluated;
  result.stopped = !enough && done < order.size();
  return result;
}

std::vector<std::string> designSettings(const OptimiseSpec& search, const OptimiseResult& result,
                                        const Design& design) {
  std::vector<std::string> out = search.fixed;
  const auto valueOf = [&](const std::string& name) -> std::optional<double> {
    for (size_t i = 0; i < result.columns.size() && i < design.values.size(); ++i)
      if (result.columns[i] == name) return design.values[i];
    return std::nullopt;
  };
  for (size_t i = 0; i < result.columns.size() && i < design.values.size(); ++i) {
    // the rows of the tables the design does not use keep their values
    bool otherTable = false;
    for (const Member m : {Member::Stiffener, Member::RingFrame}) {
      const auto type = valueOf(typeInput(m));
      for (const TableInfo& t : kTables)
        if (type && result.columns[i] == rowInput(m, t.type)) otherTable = *type != code(t.type);
    }
    if (otherTable) continue;
    out.push_back(result.columns[i] + "=" + shortestText(design.values[i]));
  }
  return out;
}

}  // namespace orvane
