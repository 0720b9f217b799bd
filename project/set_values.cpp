#include "project/set_values.hpp"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <string_view>

#include "model/format.hpp"

namespace orvane {

using NumberSetter = std::function<void(ProjectState&, float)>;
using IntSetter = std::function<void(ProjectState&, int16_t)>;

struct Setting {
  NumberSetter number;  // exactly one of the two is set
  IntSetter integer;
};

namespace {

template <typename T>
NumberSetter num(T ProjectNumbers::*m) {
  return [m](ProjectState& ps, float v) { ps.*m = static_cast<T>(v); };
}
IntSetter flag(int16_t ProjectNumbers::*m) {
  return [m](ProjectState& ps, int16_t v) { ps.*m = v; };
}

const std::map<std::string, Setting>& settings() {
  static const std::map<std::string, Setting> table = [] {
    std::map<std::string, Setting> t;
    auto n = [&](const char* name, NumberSetter f) { t[name] = Setting{std::move(f), {}}; };
    auto i = [&](const char* name, IntSetter f) { t[name] = Setting{{}, std::move(f)}; };
    n("r", num(&ProjectState::r));
    n("t", num(&ProjectState::t));
    n("s", num(&ProjectState::s));
    n("l", num(&ProjectState::l));
    n("L", num(&ProjectState::L));
    n("ltst", num(&ProjectState::ltst));
    n("ltgi", num(&ProjectState::ltgi));
    n("E", num(&ProjectState::E));
    n("fyp", num(&ProjectState::fyp));
    n("fys", num(&ProjectState::fys));
    n("fyg", num(&ProjectState::fyg));
    n("sigx", num(&ProjectState::sigx));
    n("sigy", num(&ProjectState::sigy));
    n("tau", num(&ProjectState::tau));
    n("pd", num(&ProjectState::pd));
    n("N", num(&ProjectState::N));
    n("M1a", num(&ProjectState::M1a));
    n("M1b", num(&ProjectState::M1b));
    n("M2a", num(&ProjectState::M2a));
    n("M2b", num(&ProjectState::M2b));
    n("k1", num(&ProjectState::k1));
    n("k2", num(&ProjectState::k2));
    n("ufb", num(&ProjectState::ufb));
    i("cyltype", flag(&ProjectState::cyltype));
    i("wsd", flag(&ProjectState::wsd));
    i("odmom", flag(&ProjectState::odmom));
    i("matp", flag(&ProjectState::matp));
    i("mats", flag(&ProjectState::mats));
    i("matg", flag(&ProjectState::matg));
    i("ring_ch", flag(&ProjectState::ring_ch));
    i("hring_ch", flag(&ProjectState::hring_ch));
    i("Outside_ch", flag(&ProjectState::Outside_ch));
    i("ringfab", flag(&ProjectState::ringfab));
    i("check_ih", flag(&ProjectState::check_ih));
    i("cbostiff", flag(&ProjectState::cbostiff));
    i("cboring", flag(&ProjectState::cboring));

    // table rows of the stiffener and of the ring frame
    const std::pair<const char*, int16_t TableRows::*> rows[] = {{"bulb", &TableRows::bulb},
                                                                 {"l", &TableRows::l},
                                                                 {"t", &TableRows::t},
                                                                 {"flat", &TableRows::flat}};
    for (const auto& row : rows) {
      const auto m = row.second;
      const std::string name = row.first;
      i(("stiff_row_" + name).c_str(), [m](ProjectState& ps, int16_t v) { ps.stiffRows.*m = v; });
      i(("ring_row_" + name).c_str(), [m](ProjectState& ps, int16_t v) { ps.ringRows.*m = v; });
    }

    // current dimensions of the profiles in use
    n("st_h", [](ProjectState& ps, float v) { ps.st.h = v; });
    n("st_b", [](ProjectState& ps, float v) { ps.st.b = v; });
    n("st_tw", [](ProjectState& ps, float v) { ps.st.tw = v; });
    n("st_tf", [](ProjectState& ps, float v) { ps.st.tf = v; });
    n("st_a", [](ProjectState& ps, float v) { ps.st.a = v; });
    n("rg_h", [](ProjectState& ps, float v) { ps.rg.h = v; });
    n("rg_b", [](ProjectState& ps, float v) { ps.rg.b = v; });
    n("rg_tw", [](ProjectState& ps, float v) { ps.rg.tw = v; });
    n("rg_tf", [](ProjectState& ps, float v) { ps.rg.tf = v; });
    n("rg_a", [](ProjectState& ps, float v) { ps.rg.a = v; });

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
        n((k + "h").c_str(), [=](ProjectState& ps, float v) { (ps.*sets.*f).h = v; });
        n((k + "b").c_str(), [=](ProjectState& ps, float v) { (ps.*sets.*f).b = v; });
        n((k + "tw").c_str(), [=](ProjectState& ps, float v) { (ps.*sets.*f).tw = v; });
        n((k + "tf").c_str(), [=](ProjectState& ps, float v) { (ps.*sets.*f).tf = v; });
      }
      n((prefix + "fb_h").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).fb.h = v; });
      n((prefix + "fb_tw").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).fb.tw = v; });
      n((prefix + "rhs_h").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).rhs.h = v; });
      n((prefix + "rhs_b").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).rhs.b = v; });
      n((prefix + "rhs_tw").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).rhs.tw = v; });
      n((prefix + "trap_h").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).trap.h = v; });
      n((prefix + "trap_b").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).trap.b = v; });
      n((prefix + "trap_a").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).trap.a = v; });
      n((prefix + "trap_tw").c_str(), [=](ProjectState& ps, float v) { (ps.*sets).trap.tw = v; });
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

std::optional<std::string> InputSetter::store(ProjectState& ps, std::string_view text) const {
  const auto value = parseFileNumber(text);
  if (!value && numberShaped(text))
    return "value of " + name() + " is out of range: '" + std::string(text) + "'";
  if (!value) return "value of " + name() + " is not a number: '" + std::string(text) + "'";
  return storeValue(ps, *value, text);
}

std::optional<std::string> InputSetter::store(ProjectState& ps, double value) const {
  // the text only names the value in a message
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return storeValue(ps, value, std::string_view(text, static_cast<size_t>(end - text)));
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
