// Ring-frame section: working dimensions, material, local buckling lines of
// DNV-RP-C202 Eq 3.10.1 to 3.10.5, designation and section properties.
#include "sections/ring_section.hpp"

#include "model/design_basis.hpp"
#include "sections/materials.hpp"
#include "sections/profile_source.hpp"

namespace orvane {

using namespace checked;

const char* const kRingTypes[10] = {"L-table",        "L-built up",       "T-table",   "T-built up",
                                    "Flatbar-table",  "Flatbar-built up", "Bulb Flat", "RHS",
                                    "Trapez-profile", "I-profile"};

namespace {

std::string line(const char* label, double limit, bool ok, const char* eq) {
  return label + format(limit, "0") + " (Eq " + eq + (ok ? ") ==> OK" : ") ==> NOK");
}

}  // namespace

std::string ringDesignation(const ProjectState& ps, int type) {
  return profileDesignation(type, ps.rg.h, ps.rg.b, ps.rg.tw, ps.rg.tf);
}

void ringSectionProps(ProjectState& ps, int type, CalcEvents& ev) {
  RingProfile& g = ps.rg;
  double hw = 0, bo = 0, ef = 0, area = 0;

  if (type < 0 || type > 9) return;
  area = takeDimensions(g, type, ps.ringRows, ps.ringBuilt, ps.prof);

  float tgov = sgl(g.tw);
  switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 9:
      tgov = g.tf < g.tw ? sgl(g.tw) : g.tf;
      hw = type == 9 ? g.h - fin(2 * g.tf) : g.h - g.tf;
      bo = (type == 0 || type == 1) ? g.b - g.tw : (g.b - g.tw) / 2;
      ef = (type == 0 || type == 1) ? g.b / 2 - g.tw / 2 : 0.0;
      break;
    case 4:
    case 5:
      g.tf = 0;
      hw = g.h;
      break;
    case 6:
      g.b = g.tw + g.a - 0.45 * g.Ro;
      g.tf = sgl(dv(area - g.h * g.tw, g.b - g.tw));
      hw = g.h - g.tf;
      bo = g.b - g.tw;
      ef = g.b / 2 - g.tw / 2;
      break;
    case 7:
      g.tf = sgl(g.tw);
      hw = g.h - 2 * g.tw;
      break;
    case 8:
      g.tf = sgl(g.tw);
      hw = g.h - g.tw;
      break;
  }
  g.tgov = tgov;
  lookupRing(ps, ps.matg);

  // local buckling
  const float E = ps.E;
  const double tw = g.tw, b = g.b, h = g.h;
  const float tf = g.tf;
  const double root = csqrt(dv(double(E), ps.fyg));
  const bool flanged = type <= 3 || type == 6 || type == 9;
  const bool text = ps.tableText;
  if (flanged) {
    const double lim2 = 1.35 * tw * root;
    if (text) ps.ringLocal[1] = line("h <= ", lim2, hw <= lim2, "3.10.2");
    const double free = ps.r - ps.t / 2 - h;
    double lim4 = lim2;
    if (free > 0) {
      lim4 = (2.0 / 3.0) * csqrt(dv(E * tw * hw * free, ps.fyg * tf * b * hw));
    } else {
      ev.warning(" r > height of ringframe  ");
      ev.focus("icylr");
    }
    if (text) ps.ringLocal[2] = line("h/tw <= ", lim4, dv(hw, tw) <= lim4, "3.10.4");
    if (text && type != 6) {
      const double lim3 = 0.4 * tf * root;
      ps.ringLocal[3] = line("bf <= ", lim3, bo <= lim3, "3.10.3");
      const double lim5 = dv((1.0 / 3.0) * tw * hw * free, tf * b * hw);
      ps.ringLocal[4] = line("ef/tw <= ", lim5, dv(ef, tw) <= lim5, "3.10.5");
    }
  } else if (text && (type == 4 || type == 5)) {
    const double lim1 = 0.4 * tw * root;
    ps.ringLocal[1] = line("h <= ", lim1, hw <= lim1, "3.10.1");
  }

  if (text) ev.ringDesignation(ringDesignation(ps, type), type);

  // section properties
  switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 6:
      g.Awg = hw * tw;
      g.Afg = sgl(b * tf);
      g.Ag = g.Afg + g.Awg;
      g.zcg = dv(tw * sq(hw) / 2 + b * tf * (h - tf / 2), g.Ag);
      g.Ixg = (tw * std::pow(hw, 3.0) + b * std::pow(tf, 3.0)) / 12 + tw * hw * sq(hw / 2 - g.zcg) +
              b * tf * sq(h - tf / 2 - g.zcg);
      g.Izg = sgl(sq(b) * g.Afg / 12 + dv(sq(ef) * g.Afg, 1 + dv(double(g.Afg), g.Awg)));
      break;
    case 4:
    case 5:
      g.Awg = hw * tw;
      g.Afg = 0;
      g.Ag = g.Awg;
      g.zcg = hw / 2;
      g.Ixg = tw * std::pow(hw, 3.0) / 12;
      g.Izg = sgl(hw * std::pow(tw, 3.0) / 12);
      break;
    case 7:
      g.Ag = b * h - (b - 2 * tw) * (h - 2 * tw);
      g.zcg = h / 2;
      g.Ixg = (b * std::pow(h, 3.0) - (b - 2 * tw) * std::pow(h - 2 * tw, 3.0)) / 12;
      break;
    case 8: {
      const double c1 = std::cos(std::atan(dv(g.a, h)));
      g.Ag = dv(2 * hw * tw, c1) + b * tw;
      g.zcg = dv(dv(tw * sq(hw), c1) + b * tw * (h - tw / 2), g.Ag);
      g.Ixg = (dv(2 * tw * std::pow(hw, 3.0), c1) + b * std::pow(tw, 3.0)) / 12 +
              dv(2 * hw * tw, c1) * sq(hw / 2 - g.zcg) + b * tw * sq(h - tw / 2 - g.zcg);
      break;
    }
    case 9:
      g.Awg = hw * tw;
      g.Afg = sgl(b * tf);
      g.Ag = fin(2 * g.Afg) + g.Awg;
      g.zcg = dv(b * sq(tf) / 2 + b * tf * (h - tf / 2) + tw * hw * (tf + hw / 2), g.Ag);
      g.Ixg = (tw * std::pow(hw, 3.0) + 2 * b * std::pow(tf, 3.0)) / 12 +
              tw * hw * sq(tf + hw / 2 - g.zcg) + b * tf * sq(h - tf / 2 - g.zcg) +
              b * tf * sq(tf / 2 - g.zcg);
      g.Izg = sgl(sq(b) * g.Afg / 12);
      break;
  }
  g.massg = 7850 * g.Ag / 1000000;
  fin(g.Ixg);
}

}  // namespace orvane
