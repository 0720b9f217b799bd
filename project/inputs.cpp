#include "project/inputs.hpp"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "model/checked.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"
#include "model/number_text.hpp"
#include "sections/materials.hpp"
#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"

namespace orvane {

namespace {

// A member reached through a path of member pointers: &PS::r, or
// &PS::stiffBuilt, &BuiltUpSets::lb, &BuiltUpFlanged::h.
template <auto First, auto... Rest, typename Object>
auto& member(Object& object) {
  if constexpr (sizeof...(Rest) == 0)
    return object.*First;
  else
    return member<Rest...>(object.*First);
}

template <auto... Path>
double get(const ProjectState& ps) {
  return static_cast<double>(member<Path...>(ps));
}
template <auto... Path>
void setNumber(ProjectState& ps, double v) {
  auto& m = member<Path...>(ps);
  m = static_cast<std::remove_reference_t<decltype(m)>>(static_cast<float>(v));
}
// A number as it is (a clamp's limit), not as the window reads one.
template <auto... Path>
void setExact(ProjectState& ps, double v) {
  auto& m = member<Path...>(ps);
  m = static_cast<std::remove_reference_t<decltype(m)>>(v);
}
template <auto... Path>
void setInteger(ProjectState& ps, double v) {
  member<Path...>(ps) = static_cast<int16_t>(v);
}

using I = InputId;
using C = InputCheck::Kind;
using PS = ProjectState;
using BS = BuiltUpSets;
using BF = BuiltUpFlanged;

template <auto... Path>
constexpr InputDef number(InputId id, std::string_view name, int line = 0) {
  return {id,
          name,
          InputKind::Number,
          &get<Path...>,
          &setNumber<Path...>,
          &setExact<Path...>,
          nullptr,
          {},
          false,
          CalcStep::AfterStore,
          Domain::Any,
          line,
          InputRule::None};
}
template <auto... Path>
constexpr InputDef integer(InputId id, std::string_view name, Domain domain, int line,
                           InputRule rule = InputRule::None) {
  return {id,
          name,
          InputKind::Integer,
          &get<Path...>,
          &setInteger<Path...>,
          &setInteger<Path...>,
          nullptr,
          {},
          false,
          CalcStep::AfterStore,
          domain,
          line,
          rule};
}

// A number with a field of the main window.
constexpr InputDef field(InputDef d, const char* pattern, InputCheck first = {},
                         InputCheck second = {}, CalcStep calc = CalcStep::AfterStore) {
  d.pattern = pattern;
  d.checks = {first, second};
  d.calc = calc;
  return d;
}
constexpr InputDef load(InputDef d) {
  d.load = true;
  return d;
}
constexpr InputDef singleBounds(InputDef d) {
  d.singleBounds = true;
  return d;
}
// A dimension of a built-up profile window: too small a value is warned
// about, and where `clamps` replaced by the limit.
constexpr InputDef dim(InputDef d, double limit, const char* message, bool clamps) {
  d.checks[0] = {clamps ? C::BelowClamps : C::AtLeast, limit, 0, message};
  return d;
}

constexpr InputCheck atLeast(double lo, const char* message) {
  return {C::AtLeast, lo, 0, message};
}
constexpr InputCheck between(double lo, double hi, const char* message) {
  return {C::Between, lo, hi, message};
}

// The built-up dimension sets of one member, in InputId order.
template <auto Sets>
constexpr std::array<InputDef, 21> builtUp(InputId first, bool ring) {
  const auto at = [first](int k) { return static_cast<InputId>(static_cast<int>(first) + k); };
  // h and b: ring frames clamp them; tw and tf: clamped for either member
  const auto h = [ring](InputDef d) { return dim(d, 5, " H >= 5 ", ring); };
  const auto b = [ring](InputDef d) { return dim(d, 5, " B >= 5 ", ring); };
  const auto a = [](InputDef d) { return dim(d, 0, " a >= 0 ", false); };
  const auto tw = [](InputDef d) { return dim(d, 0.1, " tw >= 0.1 ", true); };
  const auto tf = [](InputDef d) { return dim(d, 0.1, " tf >= 0.1 ", true); };
  return {{
      h(number<Sets, &BS::lb, &BF::h>(at(0), ring ? "ring_lb_h" : "stiff_lb_h")),
      b(number<Sets, &BS::lb, &BF::b>(at(1), ring ? "ring_lb_b" : "stiff_lb_b")),
      tw(number<Sets, &BS::lb, &BF::tw>(at(2), ring ? "ring_lb_tw" : "stiff_lb_tw")),
      tf(number<Sets, &BS::lb, &BF::tf>(at(3), ring ? "ring_lb_tf" : "stiff_lb_tf")),
      h(number<Sets, &BS::tb, &BF::h>(at(4), ring ? "ring_tb_h" : "stiff_tb_h")),
      b(number<Sets, &BS::tb, &BF::b>(at(5), ring ? "ring_tb_b" : "stiff_tb_b")),
      tw(number<Sets, &BS::tb, &BF::tw>(at(6), ring ? "ring_tb_tw" : "stiff_tb_tw")),
      tf(number<Sets, &BS::tb, &BF::tf>(at(7), ring ? "ring_tb_tf" : "stiff_tb_tf")),
      h(number<Sets, &BS::ib, &BF::h>(at(8), ring ? "ring_ib_h" : "stiff_ib_h")),
      b(number<Sets, &BS::ib, &BF::b>(at(9), ring ? "ring_ib_b" : "stiff_ib_b")),
      tw(number<Sets, &BS::ib, &BF::tw>(at(10), ring ? "ring_ib_tw" : "stiff_ib_tw")),
      tf(number<Sets, &BS::ib, &BF::tf>(at(11), ring ? "ring_ib_tf" : "stiff_ib_tf")),
      h(number<Sets, &BS::fb, &BuiltUpFlat::h>(at(12), ring ? "ring_fb_h" : "stiff_fb_h")),
      tw(number<Sets, &BS::fb, &BuiltUpFlat::tw>(at(13), ring ? "ring_fb_tw" : "stiff_fb_tw")),
      h(number<Sets, &BS::rhs, &BuiltUpRhs::h>(at(14), ring ? "ring_rhs_h" : "stiff_rhs_h")),
      b(number<Sets, &BS::rhs, &BuiltUpRhs::b>(at(15), ring ? "ring_rhs_b" : "stiff_rhs_b")),
      tw(number<Sets, &BS::rhs, &BuiltUpRhs::tw>(at(16), ring ? "ring_rhs_tw" : "stiff_rhs_tw")),
      h(number<Sets, &BS::trap, &BuiltUpTrapezoid::h>(at(17),
                                                      ring ? "ring_trap_h" : "stiff_trap_h")),
      b(number<Sets, &BS::trap, &BuiltUpTrapezoid::b>(at(18),
                                                      ring ? "ring_trap_b" : "stiff_trap_b")),
      a(number<Sets, &BS::trap, &BuiltUpTrapezoid::a>(at(19),
                                                      ring ? "ring_trap_a" : "stiff_trap_a")),
      tw(number<Sets, &BS::trap, &BuiltUpTrapezoid::tw>(at(20),
                                                        ring ? "ring_trap_tw" : "stiff_trap_tw")),
  }};
}

std::array<InputDef, kInputCount> makeTable() {
  const auto afterReport = CalcStep::AfterReport;
  std::array<InputDef, kInputCount> t{};
  const InputDef main[] = {
      // geometry and materials
      field(number<&PS::r>(I::r, "r", 34), "#00"),
      field(number<&PS::t>(I::t, "t", 35), "#0.0", atLeast(0.1, " 0.1 <= t ")),
      field(number<&PS::s>(I::s, "s", 29), "#00", atLeast(10, " 10 <= s   "),
            {C::AtMostR, 0, 0, " s  <= r  "}),
      field(number<&PS::l>(I::l, "l", 30), "#00", atLeast(50, " l >= 50 "), {}, afterReport),
      field(number<&PS::L>(I::L, "L", 33), "#00", atLeast(50, " L >= 50  "),
            {C::AtLeastSpan, 0, 0, " L >= l  "}),
      field(number<&PS::ltst>(I::ltst, "ltst", 31), "#00", atLeast(50, " 50 <= lt ")),
      singleBounds(field(number<&PS::ltgi>(I::ltgi, "ltgi", 32), "#00", atLeast(50, " 50 <= lt "),
                         {C::RingLengthCap, 0, 0, " lt<=pi*Sqr(r*h), ref ch B.5.9 "})),
      field(number<&PS::E>(I::E, "E", 28), "0.00E+0",
            {C::ShownAtLeast, 1000, 0, " 1000 <= E-modulus "}),
      field(number<&PS::fyp>(I::fyp, "fyp", 7), "#00", between(50, 2000, " 50 <= fyp <= 2000 ")),
      field(number<&PS::fys>(I::fys, "fys", 8), "#00", between(50, 2000, " 50 <= fys <= 2000 ")),
      field(number<&PS::fyg>(I::fyg, "fyg", 9), "#00", between(50, 2000, " 50 <= fyg <= 2000 ")),
      // loads and the allowable usage factor
      load(field(number<&PS::sigx>(I::sigx, "sigx", 36), "##0.0", {}, {}, CalcStep::Last)),
      load(field(number<&PS::sigy>(I::sigy, "sigy", 37), "##0.0")),
      load(field(number<&PS::tau>(I::tau, "tau", 38), "##0.0")),
      load(field(number<&PS::pd>(I::pd, "pd", 39), "##0.000")),
      load(field(number<&PS::N>(I::N, "N", 52), "#0.0")),
      load(field(number<&PS::M1a>(I::M1a, "M1a", 53), "#0.0")),
      load(field(number<&PS::M1b>(I::M1b, "M1b", 55), "#0.0")),
      load(field(number<&PS::M2a>(I::M2a, "M2a", 54), "#0.0")),
      load(field(number<&PS::M2b>(I::M2b, "M2b", 56), "#0.0")),
      field(number<&PS::k1>(I::k1, "k1", 57), "#0.00", atLeast(0.2, " k1 >= 0.2  ")),
      singleBounds(field(number<&PS::k2>(I::k2, "k2", 58), "#0.00", atLeast(0.2, " k2 >= 0.2  "))),
      field(number<&PS::ufb>(I::ufb, "ufb", 11), "#0.00", between(0.5, 1.5, " 0.5 < UF < 1.5 "), {},
            CalcStep::UsageFactor),
      // modes, options and lists
      integer<&PS::cyltype>(I::cyltype, "cyltype", Domain::CylinderType, 12,
                            InputRule::ColumnLength),
      integer<&PS::wsd>(I::wsd, "wsd", Domain::Flag, 10, InputRule::LrfdUsageFactor),
      integer<&PS::odmom>(I::odmom, "odmom", Domain::Flag, 59),
      integer<&PS::matp>(I::matp, "matp", Domain::MaterialRow, 4, InputRule::PlateMaterial),
      integer<&PS::mats>(I::mats, "mats", Domain::MaterialRow, 5, InputRule::StiffenerMaterial),
      integer<&PS::matg>(I::matg, "matg", Domain::MaterialRow, 6, InputRule::RingMaterial),
      integer<&PS::ring_ch>(I::ring_ch, "ring_ch", Domain::Flag, 15, InputRule::RingControl),
      integer<&PS::hring_ch>(I::hring_ch, "hring_ch", Domain::Flag, 50,
                             InputRule::HeavyRingControl),
      integer<&PS::Outside_ch>(I::Outside_ch, "Outside_ch", Domain::Flag, 13),
      integer<&PS::ringfab>(I::ringfab, "ringfab", Domain::Flag, 17),
      integer<&PS::check_ih>(I::check_ih, "check_ih", Domain::Flag, 16),
      integer<&PS::cbostiff>(I::cbostiff, "cbostiff", Domain::ProfileType, 18,
                             InputRule::StiffenerType),
      integer<&PS::cboring>(I::cboring, "cboring", Domain::ProfileType, 23, InputRule::RingType),
      // table rows
      integer<&PS::stiffRows, &TableRows::bulb>(I::stiff_row_bulb, "stiff_row_bulb",
                                                Domain::BulbRow, 19),
      integer<&PS::stiffRows, &TableRows::l>(I::stiff_row_l, "stiff_row_l", Domain::LRow, 20),
      integer<&PS::stiffRows, &TableRows::t>(I::stiff_row_t, "stiff_row_t", Domain::TRow, 21),
      integer<&PS::stiffRows, &TableRows::flat>(I::stiff_row_flat, "stiff_row_flat",
                                                Domain::FlatRow, 22),
      integer<&PS::ringRows, &TableRows::bulb>(I::ring_row_bulb, "ring_row_bulb", Domain::BulbRow,
                                               24),
      integer<&PS::ringRows, &TableRows::l>(I::ring_row_l, "ring_row_l", Domain::LRow, 25),
      integer<&PS::ringRows, &TableRows::t>(I::ring_row_t, "ring_row_t", Domain::TRow, 26),
      integer<&PS::ringRows, &TableRows::flat>(I::ring_row_flat, "ring_row_flat", Domain::FlatRow,
                                               27),
      // current dimensions of the profiles in use
      number<&PS::st, &StiffenerProfile::h>(I::st_h, "st_h", 40),
      number<&PS::st, &StiffenerProfile::b>(I::st_b, "st_b", 41),
      number<&PS::st, &StiffenerProfile::tw>(I::st_tw, "st_tw", 43),
      number<&PS::st, &StiffenerProfile::tf>(I::st_tf, "st_tf", 44),
      number<&PS::st, &StiffenerProfile::a>(I::st_a, "st_a", 42),
      number<&PS::rg, &RingProfile::h>(I::rg_h, "rg_h", 45),
      number<&PS::rg, &RingProfile::b>(I::rg_b, "rg_b", 46),
      number<&PS::rg, &RingProfile::tw>(I::rg_tw, "rg_tw", 48),
      number<&PS::rg, &RingProfile::tf>(I::rg_tf, "rg_tf", 49),
      number<&PS::rg, &RingProfile::a>(I::rg_a, "rg_a", 47),
  };
  size_t n = 0;
  for (const InputDef& d : main) t[n++] = d;
  for (const InputDef& d : builtUp<&PS::stiffBuilt>(I::stiff_lb_h, false)) t[n++] = d;
  for (const InputDef& d : builtUp<&PS::ringBuilt>(I::ring_lb_h, true)) t[n++] = d;
  return t;
}

const std::array<InputDef, kInputCount>& table() {
  static const std::array<InputDef, kInputCount> t = makeTable();
  return t;
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

bool atLeast(double v, double lo, bool single) {
  return single ? static_cast<float>(v) >= static_cast<float>(lo) : v >= lo;
}

// The field's ring-length limit pi*sqrt(r*h) with the profile in use.
double ringLengthLimit(const ProjectState& ps) {
  const float pis = 3.141593f;
  const float h = static_cast<float>(ps.rg.h - ps.rg.tf);
  return pis * std::sqrt(static_cast<double>(ps.r) * h);
}

// Runs the input's tests on the stored value in order (the second only when
// the first passed); a cut-back or clamp is stored. Returns the failed test.
int firstFailure(ProjectState& ps, const InputDef& in) {
  const double v = in.get(ps);
  const bool single = in.singleBounds;
  for (int i = 0; i < 2; ++i) {
    const InputCheck& c = in.checks[static_cast<size_t>(i)];
    bool ok = true;
    switch (c.kind) {
      case C::None:
        break;
      case C::AtLeast:
        ok = atLeast(v, c.lo, single);
        break;
      case C::Between:
        ok = atLeast(v, c.lo, single) && atLeast(c.hi, v, single);
        break;
      case C::AtMostR:
        ok = v <= ps.r;
        break;
      case C::AtLeastSpan:
        ok = ps.cyltype == code(CylinderType::Column) || v >= ps.l;
        break;
      case C::ShownAtLeast: {
        const std::string shown = format(v, in.pattern);
        const std::u16string wide(shown.begin(), shown.end());
        const NumberReading back = readStrictNumber(wide);
        ok = back.ok() && back.value >= c.lo;
        break;
      }
      case C::RingLengthCap: {
        const double limit = ringLengthLimit(ps);
        ok = !(static_cast<float>(limit) < ps.ltgi);
        if (!ok) ps.ltgi = static_cast<float>(limit - 1);
        break;
      }
      case C::BelowClamps:
        ok = v >= c.lo;
        if (!ok) in.setExact(ps, c.lo);
        break;
    }
    if (!ok) return i;
  }
  return -1;
}

// The rules that come before the run; false when the step stops without one.
bool beforeRun(ProjectState& ps, const InputDef& in) {
  try {
    switch (in.rule) {
      case InputRule::LrfdUsageFactor:
        if (ps.wsd == 0) ps.ufb = 1.0;
        break;
      case InputRule::RingControl:
        if (ps.ring_ch != 1) ps.hring_ch = 0;
        break;
      case InputRule::HeavyRingControl:
        if (ps.ring_ch != 1) ps.hring_ch = 0;
        break;
      case InputRule::PlateMaterial:
        lookupPlate(ps, ps.matp);
        break;
      case InputRule::StiffenerMaterial:
        lookupStiffener(ps, ps.mats);
        break;
      case InputRule::RingMaterial:
        lookupRing(ps, ps.matg);
        break;
      default:
        break;
    }
  } catch (const CalcFault&) {
    return false;
  }
  return true;
}

}  // namespace

std::span<const InputDef> inputTable() { return table(); }

const InputDef& inputDef(InputId id) { return table()[static_cast<size_t>(id)]; }

const InputDef* findInput(std::string_view name) {
  for (const InputDef& d : table())
    if (d.name == name) return &d;
  return nullptr;
}

InputValue readInputText(const InputDef& in, std::string_view text) {
  InputValue out;
  const auto value = parseFileNumber(text);
  if (value) {
    out.value = *value;
  } else if (numberShaped(text)) {
    out.problem =
        "value of " + std::string(in.name) + " is out of range: '" + std::string(text) + "'";
  } else {
    out.problem =
        "value of " + std::string(in.name) + " is not a number: '" + std::string(text) + "'";
  }
  return out;
}

std::optional<std::string> refusal(const ProjectState& ps, const InputDef& in, double value,
                                   std::string_view text) {
  // the texts are made only for a refusal: rows store millions of values
  const auto say = [&](const std::string& what) {
    return "value of " + std::string(in.name) + what + ": '" +
           (text.empty() ? shortestText(value) : std::string(text)) + "'";
  };
  if (in.kind == InputKind::Number) {
    if (!std::isfinite(static_cast<float>(value))) return say(" is out of range");
    return std::nullopt;
  }
  if (value != std::floor(value) || value < -32768 || value > 32767)
    return say(" must be a whole number from -32768 to 32767");
  if (in.domain == Domain::Any) return std::nullopt;
  const int hi = domainLimit(in.domain, ps);
  if (value < 0 || value > hi)
    return say(" must be a whole number from 0 to " + std::to_string(hi));
  return std::nullopt;
}

Stored storeInput(ProjectState& ps, const InputDef& in, double value, std::string_view text) {
  Stored out;
  if ((out.refused = refusal(ps, in, value, text))) {
    out.runs = false;
    return out;
  }
  in.set(ps, value);
  out.failed = firstFailure(ps, in);
  if (out.failed >= 0) {
    const InputCheck& c = in.checks[static_cast<size_t>(out.failed)];
    out.warning = c.message;
    if (in.calc == CalcStep::UsageFactor) out.runs = false;
  }
  if (!beforeRun(ps, in)) out.runs = false;
  return out;
}

void afterRun(ProjectState& ps, const InputDef& in, bool texts) {
  switch (in.rule) {
    case InputRule::ColumnLength:
      if (ps.cyltype == code(CylinderType::Column)) ps.l = ps.L;
      break;
    case InputRule::StiffenerType:
    case InputRule::RingType: {
      // the profile window's own section, without its warnings; a fault
      // leaves the old values, as the window does
      RecordingEvents quiet;
      try {
        if (in.rule == InputRule::StiffenerType)
          stiffenerSection(ps, ps.cbostiff, quiet, texts);
        else
          ringSectionProps(ps, ps.cboring, quiet, texts);
      } catch (const CalcFault&) {
      }
      break;
    }
    default:
      break;
  }
}

std::optional<std::string> parseAssignment(std::string_view text, Assignment& out) {
  const auto eq = text.find('=');
  if (eq == std::string_view::npos || eq == 0)
    return "--set expects NAME=VALUE, got '" + std::string(text) + "'";
  const std::string_view name = text.substr(0, eq);
  out.input = findInput(name);
  if (!out.input) return "unknown name '" + std::string(name) + "' in --set";
  const InputValue v = readInputText(*out.input, text.substr(eq + 1));
  if (v.problem) return v.problem;
  out.value = v.value;
  out.text = text.substr(eq + 1);
  return std::nullopt;
}

}  // namespace orvane
