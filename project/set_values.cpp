#include "project/set_values.hpp"

#include <algorithm>

namespace orvane {

std::optional<InputSetter> InputSetter::find(std::string_view name) {
  const InputDef* def = findInput(name);
  if (!def) return std::nullopt;
  return InputSetter(def);
}

std::optional<std::string> InputSetter::store(ProjectState& ps, std::string_view text) const {
  const InputValue v = readInputText(*def_, text);
  if (v.problem) return v.problem;
  return storeInput(ps, *def_, v.value, text).refused;
}

std::optional<std::string> InputSetter::store(ProjectState& ps, double value) const {
  return storeInput(ps, *def_, value).refused;
}

std::vector<std::string> inputNames() {
  std::vector<std::string> names;
  for (const InputDef& d : inputTable()) names.emplace_back(d.name);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> applySetting(ProjectState& ps, const std::string& assignment) {
  Assignment a;
  if (auto problem = parseAssignment(assignment, a)) return problem;
  return storeInput(ps, *a.input, a.value, a.text).refused;
}

}  // namespace orvane
