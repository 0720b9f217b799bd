#include "project/set_values.hpp"

#include <cmath>
#include <functional>
#include <map>
#include <string_view>
#include <type_traits>

#include "model/format.hpp"

namespace orvane {

using NumberSetter = std::function<void(ProjectState&, float)>;
using IntSetter = std::function<void(ProjectState&, int16_t)>;
using Getter = std::function<double(const ProjectState&)>;

struct Setting {
  NumberSetter number;  // exactly one of the two is set
  IntSetter integer;
  Getter get;
};

namespace {

// An input from where it lives: `at` is a generic lambda that returns the
// field's address, so that one description serves the store and the read.
template <typename Access>
Setting numberAt(Access at) {
  return Setting{[at](ProjectState& ps, float v) {
                   auto& field = *at(ps);
                   field = static_cast<std::remove_reference_t<decltype(field)>>(v);
                 },
                 {},
                 [at](const ProjectState& ps) { return static_cast<double>(*at(ps)); }};
}
template <typename Access>
Setting integerAt(Access at) {
  return Setting{{},
                 [at](ProjectState& ps, int16_t v) { *at(ps) = v; },
                 [at](const ProjectState& ps) { return static_cast<double>(*at(ps)); }};
}

const std::map<std::string, Setting>& settings() {
  static const std::map<std::string, Setting> table = [] {
    std::map<std::string, Setting> t;
    auto n = [&](const std::string& name, auto at) { t[name] = numberAt(at); };
    auto i = [&](const std::string& name, auto at) { t[name] = integerAt(at); };
    n("r", [](auto& ps) { return &ps.r; });
    n("t", [](auto& ps) { return &ps.t; });
    n("s", [](auto& ps) { return &ps.s; });
    n("l", [](auto& ps) { return &ps.l; });
    n("L", [](auto& ps) { return &ps.L; });
    n("ltst", [](auto& ps) { return &ps.ltst; });
    n("ltgi", [](auto& ps) { return &ps.ltgi; });
    n("E", [](auto& ps) { return &ps.E; });
    n("fyp", [](auto& ps) { return &ps.fyp; });
    n("fys", [](auto& ps) { return &ps.fys; });
    n("fyg", [](auto& ps) { return &ps.fyg; });
    n("sigx", [](auto& ps) { return &ps.sigx; });
    n("sigy", [](auto& ps) { return &ps.sigy; });
    n("tau", [](auto& ps) { return &ps.tau; });
    n("pd", [](auto& ps) { return &ps.pd; });
    n("N", [](auto& ps) { return &ps.N; });
    n("M1a", [](auto& ps) { return &ps.M1a; });
    n("M1b", [](auto& ps) { return &ps.M1b; });
    n("M2a", [](auto& ps) { return &ps.M2a; });
    n("M2b", [](auto& ps) { return &ps.M2b; });
    n("k1", [](auto& ps) { return &ps.k1; });
    n("k2", [](auto& ps) { return &ps.k2; });
    n("ufb", [](auto& ps) { return &ps.ufb; });
    i("cyltype", [](auto& ps) { return &ps.cyltype; });
    i("wsd", [](auto& ps) { return &ps.wsd; });
    i("odmom", [](auto& ps) { return &ps.odmom; });
    i("matp", [](auto& ps) { return &ps.matp; });
    i("mats", [](auto& ps) { return &ps.mats; });
    i("matg", [](auto& ps) { return &ps.matg; });
    i("ring_ch", [](auto& ps) { return &ps.ring_ch; });
    i("hring_ch", [](auto& ps) { return &ps.hring_ch; });
    i("Outside_ch", [](auto& ps) { return &ps.Outside_ch; });
    i("ringfab", [](auto& ps) { return &ps.ringfab; });
    i("check_ih", [](auto& ps) { return &ps.check_ih; });
    i("cbostiff", [](auto& ps) { return &ps.cbostiff; });
    i("cboring", [](auto& ps) { return &ps.cboring; });

    // table rows of the stiffener and of the ring frame
    const std::pair<const char*, int16_t TableRows::*> rows[] = {{"bulb", &TableRows::bulb},
                                                                 {"l", &TableRows::l},
                                                                 {"t", &TableRows::t},
                                                                 {"flat", &TableRows::flat}};
    for (const auto& row : rows) {
      const auto m = row.second;
      const std::string name = row.first;
      i("stiff_row_" + name, [m](auto& ps) { return &(ps.stiffRows.*m); });
      i("ring_row_" + name, [m](auto& ps) { return &(ps.ringRows.*m); });
    }

    // current dimensions of the profiles in use
    n("st_h", [](auto& ps) { return &ps.st.h; });
    n("st_b", [](auto& ps) { return &ps.st.b; });
    n("st_tw", [](auto& ps) { return &ps.st.tw; });
    n("st_tf", [](auto& ps) { return &ps.st.tf; });
    n("st_a", [](auto& ps) { return &ps.st.a; });
    n("rg_h", [](auto& ps) { return &ps.rg.h; });
    n("rg_b", [](auto& ps) { return &ps.rg.b; });
    n("rg_tw", [](auto& ps) { return &ps.rg.tw; });
    n("rg_tf", [](auto& ps) { return &ps.rg.tf; });
    n("rg_a", [](auto& ps) { return &ps.rg.a; });

    // built-up sets: stiff_lb_h, ring_trap_a, ...
    for (const auto& member : {std::pair<std::string, BuiltUpSets ProjectNumbers::*>{
                                   "stiff_", &ProjectState::stiffBuilt},
                               {"ring_", &ProjectState::ringBuilt}}) {
      const std::string& prefix = member.first;
      const auto sets = member.second;
      const std::pair<const char*, BuiltUpFlanged BuiltUpSets::*> flanged[] = {
          {"lb", &BuiltUpSets::lb}, {"tb", &BuiltUpSets::tb}, {"ib", &BuiltUpSets::ib}};
      for (const auto& [kind, flangedSet] : flanged) {
        const std::string k = prefix + kind + "_";
        const auto f = flangedSet;
        n(k + "h", [=](auto& ps) { return &(ps.*sets.*f).h; });
        n(k + "b", [=](auto& ps) { return &(ps.*sets.*f).b; });
        n(k + "tw", [=](auto& ps) { return &(ps.*sets.*f).tw; });
        n(k + "tf", [=](auto& ps) { return &(ps.*sets.*f).tf; });
      }
      n(prefix + "fb_h", [=](auto& ps) { return &(ps.*sets).fb.h; });
      n(prefix + "fb_tw", [=](auto& ps) { return &(ps.*sets).fb.tw; });
      n(prefix + "rhs_h", [=](auto& ps) { return &(ps.*sets).rhs.h; });
      n(prefix + "rhs_b", [=](auto& ps) { return &(ps.*sets).rhs.b; });
      n(prefix + "rhs_tw", [=](auto& ps) { return &(ps.*sets).rhs.tw; });
      n(prefix + "trap_h", [=](auto& ps) { return &(ps.*sets).trap.h; });
      n(prefix + "trap_b", [=](auto& ps) { return &(ps.*sets).trap.b; });
      n(prefix + "trap_a", [=](auto& ps) { return &(ps.*sets).trap.a; });
      n(prefix + "trap_tw", [=](auto& ps) { return &(ps.*sets).trap.tw; });
    }
    return t;
  }();
  return table;
}

// Text in the number grammar of the project files: [sign] digits with an
// optional point, [E [sign] digits]. Such a text that gives no number lies
// beyond the range of a double.
bool numberShaped(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  size_t i = 0, digits = 0;
  const auto digit = [&] { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  for (; digit(); ++i) ++digits;
  if (i < text.size() && text[i] == '.') ++i;
  for (; digit(); ++i) ++digits;
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digit()) return false;
    while (digit()) ++i;
  }
  return i == text.size();
}

}  // namespace

std::optional<InputSetter> InputSetter::find(std::string_view name) {
  const auto it = settings().find(std::string(name));
  if (it == settings().end()) return std::nullopt;
  return InputSetter(&it->first, &it->second);
}

bool InputSetter::integer() const { return !setting_->number; }

double InputSetter::value(const ProjectState& ps) const { return setting_->get(ps); }

std::optional<std::string> InputSetter::store(ProjectState& ps, std::string_view text) const {
  const auto value = parseFileNumber(text);
  if (!value && numberShaped(text))
    return "value of " + name() + " is out of range: '" + std::string(text) + "'";
  if (!value) return "value of " + name() + " is not a number: '" + std::string(text) + "'";
  return storeValue(ps, *value, text);
}

std::optional<std::string> InputSetter::store(ProjectState& ps, double value) const {
  // the text only names the value in a message
  return storeValue(ps, value, shortestText(value));
}

std::optional<std::string> InputSetter::storeValue(ProjectState& ps, double value,
                                                   std::string_view text) const {
  if (setting_->number) {
    const float f = static_cast<float>(value);
    if (!std::isfinite(f))
      return "value of " + name() + " is out of range: '" + std::string(text) + "'";
    setting_->number(ps, f);
  } else {
    if (value != std::floor(value) || value < -32768 || value > 32767)
      return "value of " + name() + " must be a whole number from -32768 to 32767: '" +
             std::string(text) + "'";
    setting_->integer(ps, static_cast<int16_t>(value));
  }
  return std::nullopt;
}

std::vector<std::string> inputNames() {
  std::vector<std::string> names;
  for (const auto& entry : settings()) names.push_back(entry.first);
  return names;
}

std::optional<std::string> applySetting(ProjectState& ps, const std::string& assignment) {
  const auto eq = assignment.find('=');
  if (eq == std::string::npos || eq == 0)
    return "--set expects NAME=VALUE, got '" + assignment + "'";
  const std::string name = assignment.substr(0, eq);
  const auto setter = InputSetter::find(name);
  if (!setter) return "unknown name '" + name + "' in --set";
  return setter->store(ps, std::string_view(assignment).substr(eq + 1));
}

}  // namespace orvane
