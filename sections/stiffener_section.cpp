// Stiffener (stringer) section: working dimensions, material, proportion
// lines of DNV-RP-C202 Eq 3.10.6, 3.10.7 and 3.10.9, designation and the
// properties of the bare profile and of profile plus effective plate.
#include "sections/stiffener_section.hpp"

#include "model/design_basis.hpp"
#include "sections/materials.hpp"
#include "sections/profile_source.hpp"

namespace orvane {

using namespace checked;

namespace {

constexpr std::array<const char*, 10> kStiffenerTexts = profileListTexts(Member::Stiffener);

std::string verdict(bool ok, const char* eq) {
  return std::string(" (Eq ") + eq + (ok ? ") ==> OK" : ") ==> NOK");
}

// Working web height hw, outstand bo and flange eccentricity ef of each
// family; returns the governing thickness.

float flangedWeb(StiffenerProfile& p, ProfileFamily family) {
  const float tgov = p.tf < p.tw ? sgl(p.tw) : p.tf;
  p.hw = family == ProfileFamily::I ? p.h - fin(2 * p.tf) : p.h - p.tf;
  p.bo = family == ProfileFamily::L ? p.b - p.tw : (p.b - p.tw) / 2;
  p.ef = family == ProfileFamily::L ? sgl(p.b / 2 - p.tw / 2) : 0.0f;
  return tgov;
}

float flatBarWeb(StiffenerProfile& p) {
  const float tgov = sgl(p.tw);
  p.hw = p.h;
  p.bo = 0;
  p.ef = 0;
  return tgov;
}

// The bulb flat is replaced by an angle of the same area.
float bulbFlatWeb(StiffenerProfile& p, double bulbArea) {
  const float tgov = sgl(p.tw);
  p.b = (p.a + p.tw) - 0.45 * p.Ro;
  p.tf = sgl(dv(bulbArea - p.h * p.tw, p.b - p.tw));
  p.hw = p.h - p.tf;
  p.bo = p.b - p.tw;
  p.ef = sgl(p.b / 2 - p.tw / 2);
  return tgov;
}

float rhsWeb(StiffenerProfile& p) {
  p.tf = sgl(p.tw);
  const float tgov = sgl(p.tw);
  p.hw = p.h - 2 * p.tw;
  p.bo = p.b - 2 * p.tw;
  return tgov;
}

float trapezoidWeb(StiffenerProfile& p) {
  p.tf = sgl(p.tw);
  const float tgov = sgl(p.tw);
  p.hw = p.h - p.tf;
  p.bo = p.b - 2 * p.tw;
  return tgov;
}

float webOf(StiffenerProfile& p, ProfileFamily family, double bulbArea) {
  switch (family) {
    case ProfileFamily::L:
    case ProfileFamily::T:
    case ProfileFamily::I:
      return flangedWeb(p, family);
    case ProfileFamily::FlatBar:
      return flatBarWeb(p);
    case ProfileFamily::BulbFlat:
      return bulbFlatWeb(p, bulbArea);
    case ProfileFamily::Rhs:
      return rhsWeb(p);
    case ProfileFamily::Trapezoid:
      return trapezoidWeb(p);
  }
  return 0;
}

// The working dimensions the section properties read.
struct Dims {
  double h, b, tw, hw;
  float tf;
};

// Angle, tee and the bulb flat's equivalent angle: web plus one flange.
void angleProps(StiffenerProfile& p, const Dims& d) {
  const double h = d.h, b = d.b, tw = d.tw, hw = d.hw;
  const float tf = d.tf;
  p.Aw = tw * hw;
  p.Af = sgl(tf * b);
  p.As = p.Aw + p.Af;
  p.zc = dv(b * tf * (h - tf / 2) + tw * sq(hw) / 2, p.As);
  p.Iy = (b * checked::power(tf, 3.0) + tw * checked::power(hw, 3.0)) / 12 +
         b * tf * sq(h - tf / 2 - p.zc) + hw * tw * sq(hw / 2 - p.zc);
  p.Iz = p.Af * sq(b) / 12 + dv(sq(p.ef) * p.Af, 1 + dv(double(p.Af), p.Aw));
}

void flatBarProps(StiffenerProfile& p, const Dims& d) {
  const double tw = d.tw, hw = d.hw;
  p.Aw = tw * hw;
  p.Af = 0;
  p.As = p.Aw;
  p.zc = hw / 2;
  p.Iy = tw * checked::power(hw, 3.0) / 12;
  p.Iz = hw * checked::power(tw, 3.0) / 12;
}

void rhsProps(StiffenerProfile& p, const Dims& d) {
  const double h = d.h, b = d.b, tw = d.tw;
  p.As = h * b - (h - 2 * tw) * (b - 2 * tw);
  p.zc = h / 2;
  p.Iy = (b * checked::power(h, 3.0) - (b - 2 * tw) * checked::power(h - 2 * tw, 3.0)) / 12;
}

void trapezoidProps(StiffenerProfile& p, const Dims& d) {
  const double h = d.h, b = d.b, tw = d.tw, hw = d.hw;
  const float tf = d.tf;
  const double cosA = std::cos(std::atan(dv(p.a, h)));
  p.As = b * tw + dv(2 * hw * tw, cosA);
  p.zc = dv(b * tf * (h - tf / 2) + dv(tw * sq(hw), cosA), p.As);
  p.Iy = (b * checked::power(tf, 3.0) + dv(2 * tw, cosA) * checked::power(hw, 3.0)) / 12 +
         b * tf * sq(h - tf / 2 - p.zc) + dv(2 * hw * tw, cosA) * sq(hw / 2 - p.zc);
}

void iProps(StiffenerProfile& p, const Dims& d) {
  const double h = d.h, b = d.b, tw = d.tw, hw = d.hw;
  const float tf = d.tf;
  p.Aw = tw * hw;
  p.Af = sgl(tf * b);
  p.As = p.Aw + fin(2 * p.Af);
  p.zc = h / 2;
  p.Iy = (2 * b * checked::power(tf, 3.0) + tw * checked::power(hw, 3.0)) / 12 +
         b * tf * sq(h - tf / 2 - p.zc) + hw * tw * sq(hw / 2 + tf - p.zc) +
         b * tf * sq(tf / 2 - p.zc);
}

void sectionProps(StiffenerProfile& p, ProfileFamily family, const Dims& d) {
  switch (family) {
    case ProfileFamily::L:
    case ProfileFamily::T:
    case ProfileFamily::BulbFlat:
      angleProps(p, d);
      break;
    case ProfileFamily::FlatBar:
      flatBarProps(p, d);
      break;
    case ProfileFamily::Rhs:
      rhsProps(p, d);
      break;
    case ProfileFamily::Trapezoid:
      trapezoidProps(p, d);
      break;
    case ProfileFamily::I:
      iProps(p, d);
      break;
  }
}

}  // namespace

const char* const* const kStiffenerTypes = kStiffenerTexts.data();

std::string stiffenerDesignation(const ProjectState& ps, int type) {
  return profileDesignation(type, ps.st.h, ps.st.b, ps.st.tw, ps.st.tf);
}

void stiffenerSection(ProjectState& ps, int type, CalcEvents& ev, bool texts) {
  StiffenerProfile& p = ps.st;
  const std::optional<ProfileType> t = profileType(type);
  if (!t) return;
  const ProfileTraits& tr = traits(*t);

  // 1. dimensions of the chosen type and the derived web height and outstand
  const double bulbArea = takeDimensions(p, *t, ps.stiffRows, ps.stiffBuilt, ps.prof);
  const float tgov = webOf(p, tr.family, bulbArea);

  // 2. material for the governing thickness
  p.tgov = tgov;
  lookupStiffener(ps, ps.mats);

  // 3. proportion lines; the bulb flat's web is checked as that of its
  // equivalent angle, its flange outstand is not
  const double root = csqrt(dv(double(ps.E), ps.fys));
  auto& ok = ps.proportionOk;  // the verdicts also as flags, for runs without texts
  if (tr.flanged || tr.family == ProfileFamily::BulbFlat) {
    const float web = sgl(1.35 * p.tw * root);
    ok[1] = p.hw <= web;
    if (texts) ps.proportion[1] = "h <= " + format(web, "0") + verdict(ok[1], "3.10.7");
  }
  if (tr.flanged) {
    const double flange = 0.4 * p.tf * root;
    ok[2] = p.bo <= flange;
    if (texts) ps.proportion[2] = "bf <= " + format(flange, "0") + verdict(ok[2], "3.10.9");
  }
  if (tr.family == ProfileFamily::FlatBar) {
    const float web = sgl(0.4 * p.tw * root);
    ok[1] = p.hw <= web;
    if (texts) ps.proportion[1] = "h <= " + format(web, "0") + verdict(ok[1], "3.10.6");
  }

  // 4., 5. sketch on the profile button and designation
  if (texts) ev.stiffenerDesignation(stiffenerDesignation(ps, type), type);

  // 6. section properties
  sectionProps(p, tr.family, Dims{p.h, p.b, p.tw, p.hw, p.tf});
  p.mass = p.As * 7850 / 1000000;
  fin(p.Iy);
  fin(p.Iz);
}
void effectiveSection(ProjectState& ps) {
  StiffenerProfile& p = ps.st;
  const double t = ps.t;
  p.Ae = fin(p.As + ps.se * t);
  p.zp = dv(p.As * (p.zc + t / 2), p.Ae);
  p.zt = (p.h + t / 2) - p.zp;
  p.Ise = fin(ps.se * checked::power(t, 3.0) / 12 + p.Iy + p.As * sq(p.zc + t / 2 - p.zp) +
              ps.se * t * sq(p.zp));
  p.ie = csqrt(dv(p.Ise, p.Ae));
}

}  // namespace orvane
