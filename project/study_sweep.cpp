// Sweeps: the grid points as rows of one engine, on several threads, and
// the crossings of a one-input sweep by bisection on the calling thread.
#include <algorithm>
#include <cmath>

#include "model/format.hpp"
#include "project/row_runner.hpp"
#include "project/set_values.hpp"
#include "project/study.hpp"
#include "project/study_rows.hpp"

namespace orvane {

namespace {

Error studyError(const std::string& text) { return Error{ErrorKind::Damaged, "", 0, text}; }

}  // namespace

Result<FixedSettings> fixedSettings(const ProjectState& base, const std::vector<std::string>& fixed,
                                    const std::vector<std::string>& varied) {
  FixedSettings out;
  ProjectState probe = base;
  for (const std::string& s : fixed) {
    const auto eq = s.find('=');
    std::string name = s.substr(0, eq);
    if (eq != std::string::npos && isForceName(name) && !InputSetter::find(name)) {
      // a section force: a number, stored by nothing but the row's scan
      const auto value = parseFileNumber(std::string_view(s).substr(eq + 1));
      if (!value || !std::isfinite(*value))
        return studyError("value of " + name + " is not a number: '" + s.substr(eq + 1) + "'");
    } else if (auto problem = applySetting(probe, s)) {
      return studyError(*problem);
    }
    if (std::find(varied.begin(), varied.end(), name) != varied.end())
      return studyError(name + " is both set and varied");
    // a number: accepted by applySetting or read as a force above
    out.values.push_back(parseFileNumber(std::string_view(s).substr(eq + 1)).value_or(0));
    out.names.push_back(std::move(name));
  }
  return out;
}

namespace {

// The check's verdict at a point where it is known: shown, no fault.
std::optional<bool> exceededAt(const RowOutcome& o, CheckId c) {
  if (!o.fault.empty() || !o.inputError.empty() || !o[c].shown) return std::nullopt;
  return o[c].exceeded();
}

// Bisects [lo, hi] of the varied input between two grid points whose
// verdicts on `check` differ, down to `tolerance` (whole numbers for an
// integer input); a run in between that faults or hides the check ends it
// early with the bracket it has. `runAt` runs the row of `values`.
template <typename Run>
Crossing bisect(Run&& runAt, std::vector<double>& values, CheckId check, const SweepPoint& a,
                const SweepPoint& b, double tolerance, bool integer) {
  double lo = a.values[0], hi = b.values[0];
  CheckValue atLo = a.outcome[check], atHi = b.outcome[check];
  const bool loExceeded = atLo.exceeded();
  for (;;) {
    double mid = lo + (hi - lo) / 2;
    if (integer) {
      if (hi - lo <= 1) break;
      mid = std::floor(mid);
    } else if (hi - lo <= tolerance || mid <= lo || mid >= hi) {
      break;
    }
    values.back() = mid;
    const RowOutcome o = runAt(values);
    const std::optional<bool> e = exceededAt(o, check);
    if (!e) break;
    if (*e == loExceeded) {
      lo = mid;
      atLo = o[check];
    } else {
      hi = mid;
      atHi = o[check];
    }
  }
  Crossing c;
  c.check = check;
  c.direction = loExceeded ? Crossing::Direction::Falling : Crossing::Direction::Rising;
  c.value = loExceeded ? hi : lo;
  c.exceeded = loExceeded ? lo : hi;
  c.atPassing = loExceeded ? atHi : atLo;
  c.atExceeded = loExceeded ? atLo : atHi;
  return c;
}

}  // namespace

Result<SweepResult> sweepStream(const OpenedProject& base, const std::vector<StudyRange>& ranges,
                                const std::vector<std::string>& fixed, int jobs,
                                const SweepSink& point, const StudyProgress& progress,
                                StopToken stop) {
  if (ranges.empty() || ranges.size() > 2) return studyError("a sweep varies one or two inputs");
  if (auto problem = checkRanges(ranges)) return studyError(*problem);
  std::vector<std::string> names;
  for (const StudyRange& r : ranges) names.push_back(r.name);
  auto fixedValues = fixedSettings(base.state, fixed, names);
  if (!fixedValues) return fixedValues.error();
  std::vector<std::string> columns = fixedValues.value().names;
  columns.insert(columns.end(), names.begin(), names.end());
  // a table of section forces scans the circumference at each point
  const auto kind = loadKind(base.state, columns);
  if (!kind) return studyError(kind.error().message);
  std::optional<RowEngine> rowEngine;
  std::optional<ForceEngine> forceEngine;
  if (kind.value() == LoadKind::Forces) {
    auto engine = ForceEngine::create(base, columns);
    if (!engine) return engine.error();
    forceEngine.emplace(std::move(engine.value()));
  } else {
    auto engine = RowEngine::create(base, columns);
    if (!engine) return engine.error();
    rowEngine.emplace(std::move(engine.value()));
  }
  const auto runPoint = [&](const std::vector<double>& values, RowScratch& scratch,
                            SweepPoint* at) {
    if (rowEngine) return rowEngine->run(values, scratch);
    ForceOutcome o = forceEngine->run(values, scratch);
    if (at) at->points = o.points;
    return std::move(o.outcome);
  };

  SweepResult result;
  result.ranges = ranges;
  result.checks = rowEngine ? rowEngine->checks() : forceEngine->checks();
  result.forces = forceEngine.has_value();
  const uint64_t inner = ranges.size() == 2 ? ranges[1].count() : 1;
  const uint64_t total = ranges[0].count() * inner;
  const size_t fixedCount = fixedValues.value().values.size();
  const uint64_t chunkSize = rowChunk(total, jobs, 8);

  // the crossings of a one-input sweep, found on this thread between
  // consecutive points as they arrive
  const bool findCrossings = ranges.size() == 1;
  const auto varied = InputSetter::find(ranges[0].name);
  const bool integer = varied && varied->integer();
  const double tolerance = 1e-6 * ranges[0].step;
  RowScratch own;
  std::vector<double> probe = fixedValues.value().values;
  probe.push_back(0);
  std::optional<SweepPoint> previous;
  uint64_t done = 0;

  runRows<std::vector<SweepPoint>>(
      jobs, total, chunkSize, [&] { return !stop.stop_requested(); },
      [&](uint64_t first, uint64_t count, std::vector<SweepPoint>& points, RowScratch& scratch) {
        points.resize(count);
        std::vector<double> values = fixedValues.value().values;
        values.resize(fixedCount + ranges.size());
        for (uint64_t k = 0; k < count; ++k) {
          const uint64_t at = first + k;
          SweepPoint& p = points[k];
          p.values = {ranges[0].value(at / inner), inner > 1 ? ranges[1].value(at % inner) : 0};
          for (size_t r = 0; r < ranges.size(); ++r) values[fixedCount + r] = p.values[r];
          p.outcome = runPoint(values, scratch, &p);
        }
      },
      [&](uint64_t first, uint64_t count, std::vector<SweepPoint>& points) {
        for (uint64_t k = 0; k < count; ++k) {
          const SweepPoint& p = points[k];
          if (findCrossings && previous) {
            for (CheckId check : result.checks) {
              const auto a = exceededAt(previous->outcome, check);
              const auto b = exceededAt(p.outcome, check);
              if (!a || !b || *a == *b) continue;
              Crossing x =
                  bisect([&](const std::vector<double>& v) { return runPoint(v, own, nullptr); },
                         probe, check, *previous, p, tolerance, integer);
              x.point = static_cast<size_t>(first + k - 1);
              result.crossings.push_back(x);
            }
          }
          if (findCrossings) previous = p;
          if (point) point(result, p);
        }
        done += count;
        if (progress) progress(done, total);
      });
  result.stopped = done < total;
  return result;
}

Result<SweepResult> sweep(const OpenedProject& base, const std::vector<StudyRange>& ranges,
                          const std::vector<std::string>& fixed, int jobs,
                          const StudyProgress& progress, StopToken stop) {
  std::vector<SweepPoint> points;
  auto result = sweepStream(
      base, ranges, fixed, jobs,
      [&](const SweepResult&, const SweepPoint& p) { points.push_back(p); }, progress, stop);
  if (result) result.value().points = std::move(points);
  return result;
}

}  // namespace orvane
