// Ring-frame section: working dimensions, material, local buckling lines of
// DNV-RP-C202 Eq 3.10.1 to 3.10.5, designation and section properties.
#include "sections/ring_section.hpp"

#include "model/design_basis.hpp"
#include "sections/materials.hpp"
#include "sections/profile_source.hpp"

namespace orvane {

using namespace checked;

namespace {

constexpr std::array<const char*, 10> kRingTexts = profileListTexts(Member::RingFrame);

std::string line(const char* label, double limit, bool ok, const char* eq) {
  return label + format(limit, "0") + " (Eq " + eq + (ok ? ") ==> OK" : ") ==> NOK");
}

// Working web height, outstand and flange eccentricity of a ring frame.
struct Web {
  double hw = 0, bo = 0, ef = 0;
};

// Each family's working web; `tgov` keeps sgl(tw) unless the flange governs.

void flangedWeb(RingProfile& g, ProfileFamily family, Web& w, float& tgov) {
  tgov = g.tf < g.tw ? sgl(g.tw) : g.tf;
  w.hw = family == ProfileFamily::I ? g.h - fin(2 * g.tf) : g.h - g.tf;
  w.bo = family == ProfileFamily::L ? g.b - g.tw : (g.b - g.tw) / 2;
  w.ef = family == ProfileFamily::L ? g.b / 2 - g.tw / 2 : 0.0;
}

void flatBarWeb(RingProfile& g, Web& w) {
  g.tf = 0;
  w.hw = g.h;
}

void bulbFlatWeb(RingProfile& g, double area, Web& w) {
  g.b = g.tw + g.a - 0.45 * g.Ro;
  g.tf = sgl(dv(area - g.h * g.tw, g.b - g.tw));
  w.hw = g.h - g.tf;
  w.bo = g.b - g.tw;
  w.ef = g.b / 2 - g.tw / 2;
}

void rhsWeb(RingProfile& g, Web& w) {
  g.tf = sgl(g.tw);
  w.hw = g.h - 2 * g.tw;
}

void trapezoidWeb(RingProfile& g, Web& w) {
  g.tf = sgl(g.tw);
  w.hw = g.h - g.tw;
}

void webOf(RingProfile& g, ProfileFamily family, double area, Web& w, float& tgov) {
  switch (family) {
    case ProfileFamily::L:
    case ProfileFamily::T:
    case ProfileFamily::I:
      flangedWeb(g, family, w, tgov);
      break;
    case ProfileFamily::FlatBar:
      flatBarWeb(g, w);
      break;
    case ProfileFamily::BulbFlat:
      bulbFlatWeb(g, area, w);
      break;
    case ProfileFamily::Rhs:
      rhsWeb(g, w);
      break;
    case ProfileFamily::Trapezoid:
      trapezoidWeb(g, w);
      break;
  }
}

// The working dimensions the section properties read.
struct Dims {
  double tw, b, h;
  float tf;
  double hw, ef;
};

// Angle, tee and the bulb flat's equivalent angle: web plus one flange.
void angleProps(RingProfile& g, const Dims& d) {
  const double tw = d.tw, b = d.b, h = d.h, hw = d.hw, ef = d.ef;
  const float tf = d.tf;
  g.Awg = hw * tw;
  g.Afg = sgl(b * tf);
  g.Ag = g.Afg + g.Awg;
  g.zcg = dv(tw * sq(hw) / 2 + b * tf * (h - tf / 2), g.Ag);
  g.Ixg = (tw * checked::power(hw, 3.0) + b * checked::power(tf, 3.0)) / 12 +
          tw * hw * sq(hw / 2 - g.zcg) + b * tf * sq(h - tf / 2 - g.zcg);
  g.Izg = sgl(sq(b) * g.Afg / 12 + dv(sq(ef) * g.Afg, 1 + dv(double(g.Afg), g.Awg)));
}

void flatBarProps(RingProfile& g, const Dims& d) {
  const double tw = d.tw, hw = d.hw;
  g.Awg = hw * tw;
  g.Afg = 0;
  g.Ag = g.Awg;
  g.zcg = hw / 2;
  g.Ixg = tw * checked::power(hw, 3.0) / 12;
  g.Izg = sgl(hw * checked::power(tw, 3.0) / 12);
}

void rhsProps(RingProfile& g, const Dims& d) {
  const double tw = d.tw, b = d.b, h = d.h;
  g.Ag = b * h - (b - 2 * tw) * (h - 2 * tw);
  g.zcg = h / 2;
  g.Ixg = (b * checked::power(h, 3.0) - (b - 2 * tw) * checked::power(h - 2 * tw, 3.0)) / 12;
}

void trapezoidProps(RingProfile& g, const Dims& d) {
  const double tw = d.tw, b = d.b, h = d.h, hw = d.hw;
  const double c1 = std::cos(std::atan(dv(g.a, h)));
  g.Ag = dv(2 * hw * tw, c1) + b * tw;
  g.zcg = dv(dv(tw * sq(hw), c1) + b * tw * (h - tw / 2), g.Ag);
  g.Ixg = (dv(2 * tw * checked::power(hw, 3.0), c1) + b * checked::power(tw, 3.0)) / 12 +
          dv(2 * hw * tw, c1) * sq(hw / 2 - g.zcg) + b * tw * sq(h - tw / 2 - g.zcg);
}

void iProps(RingProfile& g, const Dims& d) {
  const double tw = d.tw, b = d.b, h = d.h, hw = d.hw;
  const float tf = d.tf;
  g.Awg = hw * tw;
  g.Afg = sgl(b * tf);
  g.Ag = fin(2 * g.Afg) + g.Awg;
  g.zcg = dv(b * sq(tf) / 2 + b * tf * (h - tf / 2) + tw * hw * (tf + hw / 2), g.Ag);
  g.Ixg = (tw * checked::power(hw, 3.0) + 2 * b * checked::power(tf, 3.0)) / 12 +
          tw * hw * sq(tf + hw / 2 - g.zcg) + b * tf * sq(h - tf / 2 - g.zcg) +
          b * tf * sq(tf / 2 - g.zcg);
  g.Izg = sgl(sq(b) * g.Afg / 12);
}

void sectionProps(RingProfile& g, ProfileFamily family, const Dims& d) {
  switch (family) {
    case ProfileFamily::L:
    case ProfileFamily::T:
    case ProfileFamily::BulbFlat:
      angleProps(g, d);
      break;
    case ProfileFamily::FlatBar:
      flatBarProps(g, d);
      break;
    case ProfileFamily::Rhs:
      rhsProps(g, d);
      break;
    case ProfileFamily::Trapezoid:
      trapezoidProps(g, d);
      break;
    case ProfileFamily::I:
      iProps(g, d);
      break;
  }
}

}  // namespace

const char* const* const kRingTypes = kRingTexts.data();

std::string ringDesignation(const ProjectState& ps, int type) {
  return profileDesignation(type, ps.rg.h, ps.rg.b, ps.rg.tw, ps.rg.tf);
}

void ringSectionProps(ProjectState& ps, int type, CalcEvents& ev, bool texts) {
  RingProfile& g = ps.rg;
  const std::optional<ProfileType> t = profileType(type);
  if (!t) return;
  const ProfileTraits& tr = traits(*t);
  const double area = takeDimensions(g, *t, ps.ringRows, ps.ringBuilt, ps.prof);

  float tgov = sgl(g.tw);
  Web w;
  webOf(g, tr.family, area, w, tgov);
  const double hw = w.hw, bo = w.bo, ef = w.ef;
  g.tgov = tgov;
  lookupRing(ps, ps.matg);

  // local buckling; the bulb flat's web is checked as that of its equivalent
  // angle, its flange outstand and eccentricity are not
  const float E = ps.E;
  const double tw = g.tw, b = g.b, h = g.h;
  const float tf = g.tf;
  const double root = csqrt(dv(double(E), ps.fyg));
  const bool flanged = tr.flanged || tr.family == ProfileFamily::BulbFlat;
  // the verdicts are kept as flags as well, so that a run without texts
  // still knows them
  auto& ok = ps.ringLocalOk;
  if (flanged) {
    const double lim2 = 1.35 * tw * root;
    ok[1] = hw <= lim2;
    if (texts) ps.ringLocal[1] = line("h <= ", lim2, ok[1], "3.10.2");
    const double free = ps.r - ps.t / 2 - h;
    double lim4 = lim2;
    if (free > 0) {
      lim4 = (2.0 / 3.0) * csqrt(dv(E * tw * hw * free, ps.fyg * tf * b * hw));
    } else {
      ev.warning(" r > height of ringframe  ");
      ev.focus(InputId::r);
    }
    ok[2] = dv(hw, tw) <= lim4;
    if (texts) ps.ringLocal[2] = line("h/tw <= ", lim4, ok[2], "3.10.4");
    if (tr.flanged) {
      const double lim3 = 0.4 * tf * root;
      ok[3] = bo <= lim3;
      if (texts) ps.ringLocal[3] = line("bf <= ", lim3, ok[3], "3.10.3");
      const double lim5 = dv((1.0 / 3.0) * tw * hw * free, tf * b * hw);
      ok[4] = dv(ef, tw) <= lim5;
      if (texts) ps.ringLocal[4] = line("ef/tw <= ", lim5, ok[4], "3.10.5");
    }
  } else if (tr.family == ProfileFamily::FlatBar) {
    const double lim1 = 0.4 * tw * root;
    ok[1] = hw <= lim1;
    if (texts) ps.ringLocal[1] = line("h <= ", lim1, ok[1], "3.10.1");
  }

  if (texts) ev.ringDesignation(ringDesignation(ps, type), type);

  // section properties
  sectionProps(g, tr.family, Dims{tw, b, h, tf, hw, ef});
  g.massg = 7850 * g.Ag / 1000000;
  fin(g.Ixg);
}

}  // namespace orvane
