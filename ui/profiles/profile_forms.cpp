#include "ui/profiles/profile_forms.hpp"

#include <cstring>

namespace orvane::ui {

namespace {

// The OK limits are the ones a welded profile needs; the field cycle's own
// test (keeping the sections computable) is the input's, in the input table.
const DimField kDims[] = {
    {Dim::H, "isth", "sth", "h =", "##0", 5, " H >= 5 "},
    {Dim::B, "istb", "stb", "b =", "##0", 5, " B >= 5 "},
    {Dim::A, "ista", "", "a =", "##0", 0, " a >= 0 "},
    {Dim::Tw, "isttw", "sttw", "tw =", "##0.0", 1, " tw >= 1 "},
    {Dim::Tf, "isttf", "sttf", "tf =", "##0.0", 1, " tf >= 1 "},
    {Dim::C, "", "stc", "c =", "##0.0", 0, ""},
    {Dim::R, "", "strr", "r =", "##0.0", 0, ""},
};

using D = Dim;
constexpr Dim kHbtt[] = {D::H, D::B, D::Tw, D::Tf};
constexpr Dim kHbt[] = {D::H, D::B, D::Tw};
constexpr Dim kHbat[] = {D::H, D::B, D::A, D::Tw};
constexpr Dim kHba[] = {D::H, D::B, D::A};
constexpr Dim kHb[] = {D::H, D::B};
constexpr Dim kHt[] = {D::H, D::Tw};
constexpr Dim kH[] = {D::H};
constexpr Dim kBulb[] = {D::H, D::Tw, D::C, D::R, D::B, D::Tf};

constexpr std::span<const Dim> none{};

using PT = ProfileTables;
using TR = TableRows;
using S = ProfileShape;
using K = ProfileKind;
using O = OkAction;
using B = BuiltSet;
using M = Member;
using P = ProfileType;

// A table window of either family (fields not named keep their defaults).
constexpr ProfileForm table(const char* name, const char* caption, M member, P type, S shape,
                            ProfileTable PT::*tab, K kind, int16_t TR::*row,
                            std::span<const Dim> shown, bool iz, int first, int last, O ok) {
  return {.name = name,
          .caption = caption,
          .member = member,
          .type = type,
          .shape = shape,
          .table = tab,
          .kind = kind,
          .row = row,
          .shown = shown,
          .showsIz = iz,
          .izComputed = iz,
          .firstLine = first,
          .lastLine = last,
          .ok = ok};
}

// A built-up window; ring frames clamp h and b, stiffeners re-read on OK.
constexpr ProfileForm built(const char* name, const char* caption, M member, P type, S shape, B set,
                            std::span<const Dim> fields, std::span<const Dim> unload, bool iz,
                            int first, int last, O ok) {
  const bool ring = member == Member::RingFrame;
  return {.name = name,
          .caption = caption,
          .member = member,
          .type = type,
          .shape = shape,
          .set = set,
          .fields = fields,
          .okTests = ring ? none : fields,
          .unloadTests = unload,
          .showsIz = iz,
          .izComputed = iz,
          .firstLine = first,
          .lastLine = last,
          .ok = ok};
}

constexpr ProfileForm withIzNotComputed(ProfileForm f) {
  f.izComputed = false;
  return f;
}
constexpr ProfileForm withOkTests(ProfileForm f, std::span<const Dim> tests) {
  f.okTests = tests;
  return f;
}
constexpr ProfileForm withWideB(ProfileForm f) {
  f.wideB = true;
  return f;
}
constexpr ProfileForm withSectionFirst(ProfileForm f) {
  f.sectionFirstOnClick = true;
  return f;
}
constexpr ProfileForm fittedToFrame(ProfileForm f) {
  f.fitToFrame = true;
  return f;
}

const ProfileForm kForms[] = {
    // stiffeners
    table("stiffl", "Stiffener:  L-table", M::Stiffener, P::LTable, S::L, &PT::l, K::L, &TR::l,
          kHbtt, true, 1, 2, O::CloseCalc),
    withWideB(built("stifflb", "Stiffener: L-built-up", M::Stiffener, P::LBuiltUp, S::LBuilt, B::L,
                    kHbtt, kHb, true, 1, 2, O::ReadCloseCalc)),
    withSectionFirst(table("stifft", "Stiffener: T-table", M::Stiffener, P::TTable, S::T, &PT::t,
                           K::T, &TR::t, kHbtt, true, 1, 2, O::CloseCalc)),
    built("stifftb", "Stiffener: T-built-up", M::Stiffener, P::TBuiltUp, S::T, B::T, kHbtt, kHb,
          true, 1, 2, O::ReadCloseCalc),
    fittedToFrame(table("stifff", "Stiffener:  Flatbar-table", M::Stiffener, P::FlatBarTable,
                        S::Flat, &PT::flat, K::FlatBar, &TR::flat, kHt, false, 1, 1, O::CloseCalc)),
    built("stifffb", "Stiffener: Flatbar-built-up", M::Stiffener, P::FlatBarBuiltUp, S::Flat,
          B::Flat, kHt, kH, false, 1, 1, O::ReadCloseCalc),
    table("stiffhp", "Stiffener: Bulb Flat", M::Stiffener, P::BulbFlat, S::Bulb, &PT::bulb,
          K::BulbFlat, &TR::bulb, kBulb, true, 1, 1, O::CloseCalc),
    built("stiffrhs", "Stiffener:  RHS", M::Stiffener, P::Rhs, S::Rhs, B::Rhs, kHbt, kHb, false, 0,
          0, O::ReadCloseCalc),
    withOkTests(built("stiffusp", "Stiffener: Trapez-profile", M::Stiffener, P::Trapezoid,
                      S::Trapezoid, B::Trapezoid, kHbat, kHb, false, 0, 0, O::ReadCloseCalc),
                kHbt),
    withIzNotComputed(built("stiffib", "Stiffener: I-built-up", M::Stiffener, P::IBuiltUp, S::I,
                            B::I, kHbtt, kHb, true, 1, 2, O::ReadCloseCalc)),
    // ring frames
    table("girdl", "Ringframe:  L-table", M::RingFrame, P::LTable, S::L, &PT::l, K::L, &TR::l,
          kHbtt, true, 2, 4, O::Close),
    withWideB(built("girdlb", "Ringframe: L-built-up", M::RingFrame, P::LBuiltUp, S::LBuilt, B::L,
                    kHbtt, kHb, true, 1, 4, O::Close)),
    table("girdt", "Ringframe: T-table", M::RingFrame, P::TTable, S::T, &PT::t, K::T, &TR::t, kHbtt,
          true, 2, 4, O::CloseCalc),
    built("girdtb", "Ringframe: T-built-up", M::RingFrame, P::TBuiltUp, S::T, B::T, kHbtt, kHb,
          true, 1, 4, O::Close),
    table("girdf", "Ringframe: Flatbar-table", M::RingFrame, P::FlatBarTable, S::Flat, &PT::flat,
          K::FlatBar, &TR::flat, kHt, false, 1, 1, O::CloseCalc),
    built("girdfb", "Ringframe: Flatbar-built-up", M::RingFrame, P::FlatBarBuiltUp, S::Flat,
          B::Flat, kHt, kH, false, 1, 1, O::CloseCalc),
    table("girdhp", "Ringframe: Bulb Flat", M::RingFrame, P::BulbFlat, S::Bulb, &PT::bulb,
          K::BulbFlat, &TR::bulb, kBulb, true, 2, 2, O::CloseCalc),
    built("girdrhs", "Ringframe: RHS", M::RingFrame, P::Rhs, S::Rhs, B::Rhs, kHbt, kHb, false, 0, 0,
          O::CloseCalc),
    built("girdusp", "Ringframe: Trapez-profile", M::RingFrame, P::Trapezoid, S::Trapezoid,
          B::Trapezoid, kHbat, kHba, false, 0, 0, O::CloseCalc),
    built("girdib", "Ringframe: I-built-up", M::RingFrame, P::IBuiltUp, S::I, B::I, kHbtt, kHb,
          true, 1, 4, O::Close),
};

}  // namespace

const DimField& dimField(Dim d) { return kDims[static_cast<int>(d)]; }

const ProfileForm* profileForm(Member member, int type) {
  if (!profileType(type)) return nullptr;
  return &kForms[(member == Member::RingFrame ? 10 : 0) + type];
}

const ProfileForm* profileForm(const char* name) {
  for (const ProfileForm& f : kForms)
    if (std::strcmp(f.name, name) == 0) return &f;
  return nullptr;
}

std::optional<InputId> builtInput(const ProfileForm& form, Dim d) {
  // the order of each member's sets in InputId: lb, tb, ib (h b tw tf), fb
  // (h tw), rhs (h b tw), trap (h b a tw)
  const auto flangedAt = [d](int first) {
    return d == Dim::H    ? first
           : d == Dim::B  ? first + 1
           : d == Dim::Tw ? first + 2
           : d == Dim::Tf ? first + 3
                          : -1;
  };
  int offset = -1;
  switch (form.set) {
    case BuiltSet::L:
      offset = flangedAt(0);
      break;
    case BuiltSet::T:
      offset = flangedAt(4);
      break;
    case BuiltSet::I:
      offset = flangedAt(8);
      break;
    case BuiltSet::Flat:
      offset = d == Dim::H ? 12 : d == Dim::Tw ? 13 : -1;
      break;
    case BuiltSet::Rhs:
      offset = d == Dim::H ? 14 : d == Dim::B ? 15 : d == Dim::Tw ? 16 : -1;
      break;
    case BuiltSet::Trapezoid:
      offset = d == Dim::H ? 17 : d == Dim::B ? 18 : d == Dim::A ? 19 : d == Dim::Tw ? 20 : -1;
      break;
    case BuiltSet::None:
      break;
  }
  if (offset < 0) return std::nullopt;
  const InputId first = form.member == Member::RingFrame ? InputId::ring_lb_h : InputId::stiff_lb_h;
  return static_cast<InputId>(static_cast<int>(first) + offset);
}

double builtValue(const ProjectState& ps, const ProfileForm& form, Dim d) {
  const auto input = builtInput(form, d);
  return input ? inputDef(*input).get(ps) : 0;
}

void setBuiltValue(ProjectState& ps, const ProfileForm& form, Dim d, double v) {
  if (const auto input = builtInput(form, d)) inputDef(*input).setExact(ps, v);
}

double currentValue(const ProjectState& ps, Member member, Dim d) {
  auto pick = [d](const auto& p) -> double {
    switch (d) {
      case Dim::H:
        return p.h;
      case Dim::B:
        return p.b;
      case Dim::A:
      case Dim::C:
        return p.a;  // a bulb flat's c shares the trapezoid's slot
      case Dim::Tw:
        return p.tw;
      case Dim::Tf:
        return p.tf;
      case Dim::R:
        return p.Ro;  // and its r the RHS corner radius's
    }
    return 0;
  };
  return member == Member::RingFrame ? pick(ps.rg) : pick(ps.st);
}

}  // namespace orvane::ui
