#include "project/member_forces.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "model/codes.hpp"
#include "model/format.hpp"
#include "model/number_chars.hpp"
#include "project/inputs.hpp"

namespace orvane {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// The grid of the scan, and how closely the worst angle of each check is
// found around its worst grid angle (radians).
constexpr int kGrid = 72;
constexpr double kStep = kTwoPi / kGrid;
constexpr double kTolerance = 1e-6;

int forceIndex(std::string_view name) {
  for (size_t i = 0; i < kForceNames.size(); ++i)
    if (kForceNames[i] == name) return static_cast<int>(i);
  return -1;
}

std::string listed(const std::vector<std::string>& names) {
  std::string t;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) t += i + 1 == names.size() ? " and " : ", ";
    t += names[i];
  }
  return t;
}

double normalised(double theta) {
  double a = std::fmod(theta, kTwoPi);
  if (a < 0) a += kTwoPi;
  return a >= kTwoPi ? 0.0 : a;
}

// A usage factor to maximise: a NaN never governs.
double rank(const CheckValue& v) {
  return v.shown && !std::isnan(v.uf) ? v.uf : -std::numeric_limits<double>::infinity();
}
double ufOf(const RowOutcome& o, CheckId c) { return rank(o[c]); }

// Brent's search for the least value of `f` in [a, b] (x inside, f(x) =
// fx known, and f at both ends): parabolic steps where they fit, the
// first through the three known points, golden sections where they do
// not, until x is within kTolerance of both ends of its bracket.
template <typename F>
void refineMaximum(F&& f, double a, double x, double fx, double b) {
  constexpr double kGolden = 0.3819660112501051;
  const double tol1 = kTolerance / 2, tol2 = 2 * tol1;
  double w = a, v = b, fw = f(a), fv = f(b), d = 0, e = b - a;
  for (int iteration = 0; iteration < 100; ++iteration) {
    const double xm = (a + b) / 2;
    if (std::fabs(x - xm) <= tol2 - (b - a) / 2) return;
    bool golden = true;
    if (std::fabs(e) > tol1) {
      const double r = (x - w) * (fx - fv);
      double q = (x - v) * (fx - fw);
      double p = (x - v) * q - (x - w) * r;
      q = 2 * (q - r);
      if (q > 0) p = -p;
      q = std::fabs(q);
      const double last = e;
      e = d;
      if (std::isfinite(p) && std::isfinite(q) && std::fabs(p) < std::fabs(q * last / 2) &&
          p > q * (a - x) && p < q * (b - x)) {
        d = p / q;
        const double u = x + d;
        if (u - a < tol2 || b - u < tol2) d = std::copysign(tol1, xm - x);
        golden = false;
      }
    }
    if (golden) {
      e = x >= xm ? a - x : b - x;
      d = kGolden * e;
    }
    const double u = std::fabs(d) >= tol1 ? x + d : x + std::copysign(tol1, d);
    const double fu = f(u);
    if (fu <= fx) {
      (u >= x ? a : b) = x;
      v = w;
      fv = fw;
      w = x;
      fw = fx;
      x = u;
      fx = fu;
    } else {
      (u < x ? a : b) = u;
      if (fu <= fw || w == x) {
        v = w;
        fv = fw;
        w = u;
        fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u;
        fv = fu;
      }
    }
  }
}

// The stresses of a point as stored, as one key.
uint64_t keyOf(const PointStresses& p) {
  return uint64_t{chars::bitCast<uint32_t>(static_cast<float>(p.sigx))} << 32 |
         chars::bitCast<uint32_t>(static_cast<float>(p.tau));
}

// The usage factors of a point to rank, one per check.
using Ranks = std::array<double, kCheckCount>;
using Last = RunOptions::Last;

// The run that works out check `c` and stops: a search on that check
// needs no more.
Last lastFor(CheckId c) {
  switch (c) {
    case CheckId::Shell:
      return Last::Shell;
    case CheckId::Stiffener:
      return Last::Stiffener;
    default:
      return Last::Every;
  }
}
// Whether a run that ended after `last` holds check `c`'s value.
bool holds(Last last, CheckId c) { return last == Last::Every || lastFor(c) <= last; }

// A point's usage factors: those of the checks its run held.
struct PointRanks {
  Ranks ranks;
  Last last = Last::Every;
};

// The points of a row run so far, found by their stored stresses: an open
// table of their indices (a search asks for a point far more often than
// it runs one).
class PointSet {
 public:
  PointSet() : slots_(512, -1) {
    keys_.reserve(192);
    ranks_.reserve(192);
  }

  PointRanks* find(uint64_t key) {
    for (size_t i = slot(key);; i = (i + 1) & (slots_.size() - 1)) {
      const int at = slots_[i];
      if (at < 0) return nullptr;
      if (keys_[static_cast<size_t>(at)] == key) return &ranks_[static_cast<size_t>(at)];
    }
  }
  void add(uint64_t key, const PointRanks& ranks) {
    if (2 * (keys_.size() + 1) > slots_.size()) {
      slots_.assign(2 * slots_.size(), -1);
      for (size_t k = 0; k < keys_.size(); ++k) place(keys_[k], static_cast<int>(k));
    }
    place(key, static_cast<int>(keys_.size()));
    keys_.push_back(key);
    ranks_.push_back(ranks);
  }

 private:
  size_t slot(uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 40) & (slots_.size() - 1);
  }
  void place(uint64_t key, int at) {
    size_t i = slot(key);
    while (slots_[i] >= 0) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = at;
  }

  std::vector<int> slots_;
  std::vector<uint64_t> keys_;
  std::vector<PointRanks> ranks_;
};

}  // namespace

bool isForceName(std::string_view name) { return forceIndex(name) >= 0; }

double& SectionForces::operator[](size_t i) {
  switch (i) {
    case 0:
      return N;
    case 1:
      return M1;
    case 2:
      return M2;
    case 3:
      return T;
    case 4:
      return Q1;
    default:
      return Q2;
  }
}

TubeWall tubeWall(const ProjectState& ps) {
  TubeWall w{ps.r, ps.t, ps.t};
  if (ps.cyltype == code(CylinderType::StringerStiffened)) w.te = ps.t + ps.st.As / ps.s;
  return w;
}

PointStresses stressesAt(const SectionForces& f, const TubeWall& w, double theta) {
  const double s = std::sin(theta), c = std::cos(theta);
  PointStresses p;
  p.sigx =
      1000 * f.N / (2 * kPi * w.r * w.te) + 1e6 * (f.M1 * s - f.M2 * c) / (kPi * w.r * w.r * w.te);
  p.tau =
      1e6 * f.T / (2 * kPi * w.r * w.r * w.t) + 1000 * (f.Q1 * c + f.Q2 * s) / (kPi * w.r * w.t);
  return p;
}

double degreesOf(double theta) {
  const double d = normalised(theta) * (180 / kPi) + 0.0;  // never -0
  return d >= 360 ? 0.0 : d;
}

Result<LoadKind> loadKind(const ProjectState& base, const std::vector<std::string>& columns) {
  std::vector<std::string> forces, stresses, moment, types;
  bool n = false;
  for (const std::string& c : columns) {
    const int f = forceIndex(c);
    if (f == 0) n = true;
    if (f > 0) moment.push_back(c);
    if (f >= 0) forces.push_back(c);
    if (c == "sigx" || c == "tau") stresses.push_back(c);
    if (c == "cyltype") types.push_back(c);
  }
  const auto refuse = [](std::string text) { return Error{ErrorKind::Damaged, "", 0, text}; };
  if (base.cyltype == code(CylinderType::Column)) {
    if (moment.empty()) return LoadKind::Stresses;
    return refuse("column" + std::string(moment.size() > 1 ? "s " : " ") + listed(moment) +
                  ": section forces are loads of the shell modes; the column mode takes N, M1a, "
                  "M1b, M2a and M2b");
  }
  // N beside the stresses or a cylinder type (which may choose the column
  // mode) is the column mode's input, kept as before
  if (moment.empty() && (!n || !stresses.empty() || !types.empty())) return LoadKind::Stresses;
  if (!stresses.empty() || !types.empty()) {
    std::vector<std::string> named = forces;
    named.insert(named.end(), stresses.begin(), stresses.end());
    named.insert(named.end(), types.begin(), types.end());
    return refuse("columns " + listed(named) +
                  (stresses.empty()
                       ? ": a table of section forces keeps the project's cylinder type"
                       : ": a load table holds section forces (N M1 M2 T Q1 Q2) or the stresses "
                         "sigx and tau, not both"));
  }
  return LoadKind::Forces;
}

Result<ForceEngine> ForceEngine::create(const OpenedProject& base,
                                        const std::vector<std::string>& columns) {
  std::vector<std::string> names;
  std::vector<int> force, otherOf;
  for (size_t i = 0; i < columns.size(); ++i) {
    const int f = forceIndex(columns[i]);
    force.push_back(f);
    if (f >= 0) continue;
    names.push_back(columns[i]);
    otherOf.push_back(static_cast<int>(i));
  }
  names.emplace_back("sigx");
  names.emplace_back("tau");
  auto engine = RowEngine::create(base, names);
  if (!engine) return engine.error();
  ForceEngine e(std::move(engine.value()));
  e.force_ = std::move(force);
  e.otherOf_ = std::move(otherOf);
  return e;
}

bool ForceEngine::split(std::span<const std::string_view> values,
                        std::vector<std::string_view>& others, SectionForces& f,
                        RowOutcome& bad) const {
  others.clear();
  f = SectionForces{};
  for (size_t i = 0; i < force_.size(); ++i) {
    const std::string_view text = i < values.size() ? values[i] : std::string_view();
    if (force_[i] < 0) {
      others.push_back(text);
      continue;
    }
    if (text.find_first_not_of(" \t") == std::string_view::npos) continue;  // 0
    const auto value = parseFileNumber(text);
    if (!value || !std::isfinite(*value)) {
      bad = RowOutcome{};
      bad.inputError = "value of " + std::string(kForceNames[static_cast<size_t>(force_[i])]) +
                       (value ? " is out of range: '" : " is not a number: '") + std::string(text) +
                       "'";
      bad.inputColumn = static_cast<int>(i);
      return false;
    }
    f[static_cast<size_t>(force_[i])] = *value;
  }
  return true;
}

TubeWall ForceEngine::wall(std::span<const std::string_view> others, RowScratch& scratch,
                           RowOutcome& probe) const {
  probe = engine_.runKeepingStart(others, scratch);
  return tubeWall(scratch.state());
}

RowOutcome ForceEngine::at(std::span<const std::string_view> others, const SectionForces& f,
                           const TubeWall& w, double theta, RowScratch& scratch) const {
  const PointStresses p = stressesAt(f, w, theta);
  const double stresses[2] = {p.sigx, p.tau};
  return engine_.run(others, stresses, scratch);
}

PointStresses ForceEngine::stored(const PointStresses& p) {
  return {static_cast<double>(static_cast<float>(p.sigx)),
          static_cast<double>(static_cast<float>(p.tau))};
}

ForceOutcome ForceEngine::run(std::span<const double> values, RowScratch& scratch) const {
  std::vector<std::string> texts;
  texts.reserve(values.size());
  for (const double v : values) texts.push_back(shortestText(v));
  const std::vector<std::string_view> views(texts.begin(), texts.end());
  return run(views, scratch);
}

ForceOutcome ForceEngine::run(std::span<const std::string_view> values, RowScratch& scratch) const {
  ForceOutcome out;
  std::vector<std::string_view> others;
  SectionForces f;
  if (!split(values, others, f, out.outcome)) return out;
  const auto tableColumn = [&](int engineColumn) {
    if (engineColumn >= 0 && static_cast<size_t>(engineColumn) < otherOf_.size())
      return otherOf_[static_cast<size_t>(engineColumn)];
    // sigx or tau: the first force column
    const auto first = std::find_if(force_.begin(), force_.end(), [](int i) { return i >= 0; });
    return static_cast<int>(first - force_.begin());
  };
  RowOutcome probe;
  const TubeWall w = wall(others, scratch, probe);
  out.evaluations = 1;
  if (!probe.inputError.empty()) {
    out.outcome = std::move(probe);
    out.outcome.inputColumn = tableColumn(out.outcome.inputColumn);
    return out;
  }
  if (!(w.r > 0 && w.t > 0 && w.te > 0 && std::isfinite(w.te))) {
    // no wall to carry the forces: the run's fault, else the forces' error
    if (probe.fault.empty()) {
      probe = RowOutcome{};
      probe.inputError = "section forces need a wall: r, t and s above 0";
      probe.inputColumn = tableColumn(-1);
    }
    out.outcome = std::move(probe);
    return out;
  }

  // each point: the stresses entered after the row's other cells, which
  // the probe entered (and accepted) and kept
  const std::vector<CheckId>& checks = engine_.checks();
  struct Best {
    bool any = false;
    CheckValue value;
    double theta = 0;
    double lo = 0, hi = 0;  // the range of its usage factor on the grid
  };
  std::array<Best, kCheckCount> best{};
  RowOutcome& result = out.outcome;
  bool stopped = false;
  PointSet points;
  Ranks none;  // a stopped row's
  none.fill(-std::numeric_limits<double>::infinity());
  // A fault or a stress a single cannot hold at a point ends the row.
  const auto stop = [&](RowOutcome o, double theta) {
    stopped = true;
    result = std::move(o);
    const std::string where = " (at theta = " + shortestText(degreesOf(theta)) + " degrees)";
    if (!result.inputError.empty()) {
      result.inputError += where;
      result.inputColumn = tableColumn(result.inputColumn);
    } else if (result.fault != probe.fault) {
      result.fault += where;  // not a fault of the row's other values
    }
  };
  // One point, run up to `last`: every check it holds takes it when it is
  // its worst so far.
  const auto evaluate = [&](double theta, Last last = Last::Every) {
    if (stopped) return none;
    theta = normalised(theta);
    // a point whose stresses are stored as those of an earlier point is
    // that point (near a peak the single values stop changing)
    const PointStresses p = stressesAt(f, w, theta);
    const uint64_t key = keyOf(p);
    PointRanks* seen = points.find(key);
    if (seen && seen->last >= last) return seen->ranks;
    ++out.evaluations;
    const double stresses[2] = {p.sigx, p.tau};
    RowOutcome o = engine_.runFromStart(stresses, scratch, last);
    if (!o.inputError.empty() || !o.fault.empty()) {
      stop(std::move(o), theta);
      return none;
    }
    if (last == Last::Every) {
      result.localLines = std::max(result.localLines, o.localLines);
      result.localNok = std::max(result.localNok, o.localNok);
    }
    PointRanks ranks{none, last};
    for (const CheckId c : checks) {
      if (!holds(last, c)) continue;
      ranks.ranks[static_cast<size_t>(c)] = ufOf(o, c);
      Best& b = best[static_cast<size_t>(c)];
      if (!o[c].shown) continue;
      if (!b.any || ufOf(o, c) > rank(b.value)) {
        b.any = true;
        b.value = o[c];
        b.theta = theta;
      }
    }
    if (seen)
      *seen = ranks;
    else
      points.add(key, ranks);
    return ranks.ranks;
  };

  // the most compressive axial stress, the largest shear stresses and
  // both sides of each angle where the axial stress changes sign (the
  // checks take a compressive σx otherwise than a tensile one, so a usage
  // factor may jump there)
  const double a = 1000 * f.N / (2 * kPi * w.r * w.te);
  const double bx = 1e6 * f.M1 / (kPi * w.r * w.r * w.te),
               cx = -1e6 * f.M2 / (kPi * w.r * w.r * w.te);
  const double phi = std::atan2(bx, cx),
               amplitude = std::hypot(bx, cx);  // σx = a + amplitude·cos(θ − φ)
  evaluate(phi + kPi);
  const double peak = std::atan2(f.Q2, f.Q1);  // τ ~ cos(θ − peak)
  evaluate(peak);
  evaluate(peak + kPi);
  if (amplitude > std::fabs(a)) {
    const double half = std::acos(-a / amplitude);
    for (const double root : {phi - half, phi + half})
      for (const double side : {-kTolerance, 0.0, kTolerance}) evaluate(root + side);
  }
  for (int k = 0; k < kGrid && !stopped; ++k) {
    const Ranks o = evaluate(k * kStep);
    for (const CheckId c : checks) {
      Best& b = best[static_cast<size_t>(c)];
      const double uf = o[static_cast<size_t>(c)];
      if (k == 0 || uf < b.lo) b.lo = uf;
      if (k == 0 || uf > b.hi) b.hi = uf;
    }
  }
  // refinement around each check's worst point, to kTolerance: a
  // bracketed search on its usage factor, with runs that end after the
  // check (a check that is the same all round needs none)
  for (const CheckId c : checks) {
    const Best& b = best[static_cast<size_t>(c)];
    if (stopped || !b.any || b.lo == b.hi) continue;
    const double centre = b.theta;
    refineMaximum(
        [&](double theta) {
          return stopped ? 0.0 : -evaluate(theta, lastFor(c))[static_cast<size_t>(c)];
        },
        centre - kStep, centre, -rank(b.value), centre + kStep);
  }
  if (stopped) return out;
  // each governing point run again in full, for its rule notes (a point a
  // search ran only up to its check may fault in a later one: that ends
  // the row as it would have there)
  std::array<CheckValue, kCheckCount> governing{};
  std::vector<uint64_t> runKeys;
  std::vector<RowOutcome> runs;
  for (const CheckId c : checks) {
    const Best& b = best[static_cast<size_t>(c)];
    const size_t i = static_cast<size_t>(c);
    if (!b.any) continue;
    const uint64_t key = keyOf(stressesAt(f, w, b.theta));
    auto seen = std::find(runKeys.begin(), runKeys.end(), key);
    if (seen == runKeys.end()) {
      ++out.evaluations;
      RowOutcome full = at(others, f, w, b.theta, scratch);
      if (!full.inputError.empty() || !full.fault.empty()) {
        stop(std::move(full), b.theta);
        return out;
      }
      runKeys.push_back(key);
      runs.push_back(std::move(full));
      seen = runKeys.end() - 1;
    }
    governing[i] = runs[static_cast<size_t>(seen - runKeys.begin())][c];
    const PointStresses p = stored(stressesAt(f, w, b.theta));
    out.points[i] = GoverningPoint{degreesOf(b.theta), p.sigx, p.tau};
  }
  result.checks = governing;
  return out;
}

}  // namespace orvane
