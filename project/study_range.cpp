// The grids of a study: NAME=FROM:TO:STEP read, checked and counted.
#include <cmath>
#include <set>

#include "model/format.hpp"
#include "model/number_chars.hpp"
#include "project/member_forces.hpp"
#include "project/set_values.hpp"
#include "project/study.hpp"

namespace orvane {

namespace {

// Far more than any study may have; counts above it are "too many" alike.
constexpr double kCountCeiling = 1e15;

// Whole numbers in full (25000000, not 2.5e+07), others as the shortest
// text that reads back the same.
std::string shortest(double v) {
  if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<int64_t>(v));
  return shortestText(v);
}

Error rangeError(const std::string& text) { return Error{ErrorKind::Damaged, "", 0, text}; }

}  // namespace

uint64_t StudyRange::count() const {
  if (!(step > 0) || !(to >= from)) return 0;
  // TO counts when it lies within a billionth of a step of the grid
  const double steps = std::floor((to - from) / step + 1e-9);
  if (!(steps < kCountCeiling)) return static_cast<uint64_t>(kCountCeiling);
  return static_cast<uint64_t>(steps) + 1;
}

double StudyRange::value(uint64_t i) const {
  const double exact = from + static_cast<double>(i) * step;
  char text[32];
  const char* const end = chars::general(text, text + sizeof text, exact, 12);
  double rounded = exact;
  chars::read(text, end, rounded);
  return rounded;
}

Result<StudyRange> parseRange(std::string_view text) {
  const std::string whole(text);
  const auto eq = text.find('=');
  if (eq == std::string_view::npos || eq == 0)
    return rangeError("a range is written NAME=FROM:TO:STEP, got '" + whole + "'");
  StudyRange range;
  range.name = std::string(text.substr(0, eq));
  const auto setter = InputSetter::find(range.name);
  if (!setter && !isForceName(range.name))
    return rangeError("unknown input name '" + range.name + "' in '" + whole + "'");

  std::string_view rest = text.substr(eq + 1);
  const char* const parts[] = {"FROM", "TO", "STEP"};
  double* const fields[] = {&range.from, &range.to, &range.step};
  for (int i = 0; i < 3; ++i) {
    const auto colon = rest.find(':');
    const bool last = i == 2;
    if (last != (colon == std::string_view::npos))
      return rangeError("a range is written NAME=FROM:TO:STEP, got '" + whole + "'");
    const std::string_view field = last ? rest : rest.substr(0, colon);
    const auto value = parseFileNumber(field);
    if (!value || !std::isfinite(*value))
      return rangeError(std::string(parts[i]) + " of " + range.name + " is not a number: '" +
                        std::string(field) + "'");
    *fields[i] = *value;
    if (!last) rest = rest.substr(colon + 1);
  }

  const std::string of = "range of " + range.name + ": ";
  if (range.from > range.to)
    return rangeError(of + "FROM " + shortest(range.from) + " is greater than TO " +
                      shortest(range.to));
  if (!(range.step > 0))
    return rangeError(of + "STEP must be greater than 0, got " + shortest(range.step));
  const double magnitude = std::max(std::fabs(range.from), std::fabs(range.to));
  if (range.step < magnitude * 1e-10)
    return rangeError(of + "STEP " + shortest(range.step) + " is too small for values near " +
                      shortest(magnitude));
  if (setter && setter->integer()) {
    if (range.from != std::floor(range.from) || range.step != std::floor(range.step))
      return rangeError(of + range.name + " takes whole numbers, so FROM and STEP must be whole");
    const double lastValue = range.value(range.count() - 1);
    if (range.from < -32768 || lastValue > 32767)
      return rangeError(of + range.name + " takes whole numbers from -32768 to 32767");
  }
  if (range.count() > kMaxStudyPoints)
    return rangeError(of + shortest(static_cast<double>(range.count())) + " points, more than " +
                      std::to_string(kMaxStudyPoints));
  return range;
}

std::optional<std::string> checkRanges(const std::vector<StudyRange>& ranges) {
  std::set<std::string> names;
  double points = 1;
  for (const StudyRange& r : ranges) {
    if (!InputSetter::find(r.name) && !isForceName(r.name))
      return "unknown input name '" + r.name + "'";
    if (!names.insert(r.name).second) return r.name + " is varied twice";
    if (r.count() == 0) return "range of " + r.name + " has no points";
    points *= static_cast<double>(r.count());
  }
  if (points > static_cast<double>(kMaxStudyPoints))
    return "the study has " + shortest(points) + " points, more than " +
           std::to_string(kMaxStudyPoints);
  return std::nullopt;
}

std::vector<std::string> sweepNames() {
  std::vector<std::string> names = inputNames();
  for (const std::string_view f : kForceNames)
    if (!InputSetter::find(f)) names.emplace_back(f);
  return names;
}

std::optional<double> inputValue(const ProjectState& ps, std::string_view name) {
  const auto setter = InputSetter::find(name);
  if (!setter) return isForceName(name) ? std::optional<double>(0.0) : std::nullopt;
  return setter->value(ps);
}

}  // namespace orvane
