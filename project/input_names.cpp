#include "project/input_names.hpp"

#include <array>
#include <optional>

#include "project/set_values.hpp"

namespace orvane {

namespace {

using I = InputId;

struct Entry {
  InputId id;
  InputCaption text;
};

// Captions of the inputs that are not dimensions of a built-up set, in
// InputId order; the built-up sets are named from their member, form and
// dimension below.
constexpr Entry kNamed[] = {
    {I::r, {"Shell radius r", "mm"}},
    {I::t, {"Shell thickness t", "mm"}},
    {I::s, {"Stiffener spacing s", "mm"}},
    {I::l, {"Ring frame spacing l", "mm"}},
    {I::L, {"Cylinder length L", "mm"}},
    {I::ltst, {"Stiffener tripping length lt", "mm"}},
    {I::ltgi, {"Ring frame tripping length lt", "mm"}},
    {I::E, {"Young's modulus E", "MPa"}},
    {I::fyp, {"Shell yield strength fyp", "MPa"}},
    {I::fys, {"Stiffener yield strength fys", "MPa"}},
    {I::fyg, {"Ring frame yield strength fyg", "MPa"}},
    {I::sigx, {"Axial stress \xCF\x83x", "MPa"}},
    {I::sigy, {"Circumferential stress \xCF\x83y", "MPa"}},
    {I::tau, {"Shear stress \xCF\x84", "MPa"}},
    {I::pd, {"Lateral pressure pd", "MPa"}},
    {I::N, {"Axial force N", "kN"}},
    {I::M1a, {"Bending moment M1a", "kNm"}},
    {I::M1b, {"Bending moment M1b", "kNm"}},
    {I::M2a, {"Bending moment M2a", "kNm"}},
    {I::M2b, {"Bending moment M2b", "kNm"}},
    {I::k1, {"Buckling length factor k1", ""}},
    {I::k2, {"Buckling length factor k2", ""}},
    {I::ufb, {"Allowable usage factor", ""}},
    {I::cyltype, {"Cylinder type", ""}},
    {I::wsd, {"Design format (0 LRFD, 1 WSD)", ""}},
    {I::odmom, {"Dimensioning moments", ""}},
    {I::matp, {"Shell material", ""}},
    {I::mats, {"Stiffener material", ""}},
    {I::matg, {"Ring frame material", ""}},
    {I::ring_ch, {"Ring frame checked", ""}},
    {I::hring_ch, {"Heavy ring frame checked", ""}},
    {I::Outside_ch, {"Ring frame outside", ""}},
    {I::ringfab, {"Ring frame fabrication", ""}},
    {I::check_ih, {"Special calculation of Ih", ""}},
    {I::cbostiff, {"Stiffener profile type", ""}},
    {I::cboring, {"Ring frame profile type", ""}},
    {I::stiff_row_bulb, {"Stiffener bulb flat profile", ""}},
    {I::stiff_row_l, {"Stiffener L profile", ""}},
    {I::stiff_row_t, {"Stiffener T profile", ""}},
    {I::stiff_row_flat, {"Stiffener flat bar profile", ""}},
    {I::ring_row_bulb, {"Ring frame bulb flat profile", ""}},
    {I::ring_row_l, {"Ring frame L profile", ""}},
    {I::ring_row_t, {"Ring frame T profile", ""}},
    {I::ring_row_flat, {"Ring frame flat bar profile", ""}},
    {I::st_h, {"Stiffener height h", "mm"}},
    {I::st_b, {"Stiffener flange width b", "mm"}},
    {I::st_tw, {"Stiffener web thickness tw", "mm"}},
    {I::st_tf, {"Stiffener flange thickness tf", "mm"}},
    {I::st_a, {"Stiffener dimension a", "mm"}},
    {I::rg_h, {"Ring frame height h", "mm"}},
    {I::rg_b, {"Ring frame flange width b", "mm"}},
    {I::rg_tw, {"Ring frame web thickness tw", "mm"}},
    {I::rg_tf, {"Ring frame flange thickness tf", "mm"}},
    {I::rg_a, {"Ring frame dimension a", "mm"}},
};
constexpr size_t kBuiltUpSet = 21;
static_assert(std::size(kNamed) + 2 * kBuiltUpSet == kInputCount);

constexpr bool inIdOrder() {
  for (size_t i = 0; i < std::size(kNamed); ++i)
    if (static_cast<size_t>(kNamed[i].id) != i) return false;
  return static_cast<size_t>(I::stiff_lb_h) == std::size(kNamed) &&
         static_cast<size_t>(I::ring_lb_h) == std::size(kNamed) + kBuiltUpSet;
}
static_assert(inIdOrder(), "kNamed must list the inputs in InputId order");

// The built-up dimensions of one member, in InputId order (as in the input
// table's builtUp()).
constexpr std::array<std::string_view, kBuiltUpSet> kBuiltUp = {
    "L built-up height h",
    "L built-up flange width b",
    "L built-up web thickness tw",
    "L built-up flange thickness tf",
    "T built-up height h",
    "T built-up flange width b",
    "T built-up web thickness tw",
    "T built-up flange thickness tf",
    "I built-up height h",
    "I built-up flange width b",
    "I built-up web thickness tw",
    "I built-up flange thickness tf",
    "flat bar height h",
    "flat bar thickness tw",
    "RHS height h",
    "RHS width b",
    "RHS wall thickness tw",
    "trapezoid height h",
    "trapezoid width b",
    "trapezoid dimension a",
    "trapezoid thickness tw",
};

struct BuiltUpCaptions {
  std::array<std::string, 2 * kBuiltUpSet> texts;
  BuiltUpCaptions() {
    for (size_t i = 0; i < kBuiltUpSet; ++i) {
      texts[i] = "Stiffener " + std::string(kBuiltUp[i]);
      texts[kBuiltUpSet + i] = "Ring frame " + std::string(kBuiltUp[i]);
    }
  }
};

}  // namespace

InputCaption inputCaption(InputId id) {
  const auto i = static_cast<size_t>(id);
  if (i < std::size(kNamed)) return kNamed[i].text;
  static const BuiltUpCaptions builtUp;
  return {builtUp.texts[i - std::size(kNamed)], "mm"};
}

namespace {

// The section forces a load table may hold beside the inputs (N is an input).
constexpr std::pair<std::string_view, InputCaption> kForces[] = {
    {"M1", {"Bending moment M1", "kNm"}},
    {"M2", {"Bending moment M2", "kNm"}},
    {"T", {"Torque T", "kNm"}},
    {"Q1", {"Shear force Q1", "kN"}},
    {"Q2", {"Shear force Q2", "kN"}}};

std::string withUnit(const InputCaption& c) {
  std::string s(c.caption);
  if (!c.unit.empty()) s.append(" [").append(c.unit).append("]");
  return s;
}

}  // namespace

std::optional<InputCaption> inputCaption(std::string_view name) {
  if (const auto in = InputSetter::find(name)) return inputCaption(in->def().id);
  for (const auto& [force, caption] : kForces)
    if (force == name) return caption;
  return std::nullopt;
}

std::string displayName(InputId id) { return withUnit(inputCaption(id)); }

std::string displayName(std::string_view name) {
  const std::optional<InputCaption> c = inputCaption(name);
  return c ? withUnit(*c) : std::string(name);
}

}  // namespace orvane
