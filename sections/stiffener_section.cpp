// Stiffener (stringer) section: working dimensions, material, proportion
// lines of DNV-RP-C202 Eq 3.10.6, 3.10.7 and 3.10.9, designation and the
// properties of the bare profile and of profile plus effective plate.
#include "sections/stiffener_section.hpp"

#include "model/design_basis.hpp"
#include "sections/materials.hpp"
#include "sections/profile_source.hpp"

namespace orvane {

using namespace checked;

const char* const kStiffenerTypes[10] = {
    "L-table",          "L-built up", "T-table", "T-built up",     "Flatbar-table",
    "Flatbar-built up", "Bulb Flat",  "RHS",     "Trapez-profile", "I-built up"};

namespace {

std::string verdict(bool ok, const char* eq) {
  return std::string(" (Eq ") + eq + (ok ? ") ==> OK" : ") ==> NOK");
}

}  // namespace

std::string stiffenerDesignation(const ProjectState& ps, int type) {
  return profileDesignation(type, ps.st.h, ps.st.b, ps.st.tw, ps.st.tf);
}

void stiffenerSection(ProjectState& ps, int type, CalcEvents& ev) {
  StiffenerProfile& p = ps.st;
  float tgov = 0;
  double bulbArea = 0;

  // 1. dimensions of the chosen type and the derived web height and outstand
  if (type < 0 || type > 9) return;
  bulbArea = takeDimensions(p, type, ps.stiffRows, ps.stiffBuilt, ps.prof);

  switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 9:
      tgov = p.tf < p.tw ? sgl(p.tw) : p.tf;
      p.hw = type == 9 ? p.h - fin(2 * p.tf) : p.h - p.tf;
      p.bo = (type == 0 || type == 1) ? p.b - p.tw : (p.b - p.tw) / 2;
      p.ef = (type == 0 || type == 1) ? sgl(p.b / 2 - p.tw / 2) : 0.0f;
      break;
    case 4:
    case 5:
      tgov = sgl(p.tw);
      p.hw = p.h;
      p.bo = 0;
      p.ef = 0;
      break;
    case 6:
      // the bulb flat is replaced by an angle of the same area
      tgov = sgl(p.tw);
      p.b = (p.a + p.tw) - 0.45 * p.Ro;
      p.tf = sgl(dv(bulbArea - p.h * p.tw, p.b - p.tw));
      p.hw = p.h - p.tf;
      p.bo = p.b - p.tw;
      p.ef = sgl(p.b / 2 - p.tw / 2);
      break;
    case 7:
      p.tf = sgl(p.tw);
      tgov = sgl(p.tw);
      p.hw = p.h - 2 * p.tw;
      p.bo = p.b - 2 * p.tw;
      break;
    case 8:
      p.tf = sgl(p.tw);
      tgov = sgl(p.tw);
      p.hw = p.h - p.tf;
      p.bo = p.b - 2 * p.tw;
      break;
  }

  // 2. material for the governing thickness
  p.tgov = tgov;
  lookupStiffener(ps, ps.mats);

  // 3. proportion lines
  const double root = csqrt(dv(double(ps.E), ps.fys));
  const bool text = ps.tableText;
  if (text && (type <= 3 || type == 6 || type == 9)) {
    const float web = sgl(1.35 * p.tw * root);
    ps.proportion[1] = "h <= " + format(web, "0") + verdict(p.hw <= web, "3.10.7");
  }
  if (text && (type <= 3 || type == 9)) {
    const double flange = 0.4 * p.tf * root;
    ps.proportion[2] = "bf <= " + format(flange, "0") + verdict(p.bo <= flange, "3.10.9");
  }
  if (text && (type == 4 || type == 5)) {
    const float web = sgl(0.4 * p.tw * root);
    ps.proportion[1] = "h <= " + format(web, "0") + verdict(p.hw <= web, "3.10.6");
  }

  // 4., 5. sketch on the profile button and designation
  if (text) ev.stiffenerDesignation(stiffenerDesignation(ps, type), type);

  // 6. section properties
  const double h = p.h, b = p.b, tw = p.tw, hw = p.hw;
  const float tf = p.tf;
  switch (type) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 6:
      p.Aw = tw * hw;
      p.Af = sgl(tf * b);
      p.As = p.Aw + p.Af;
      p.zc = dv(b * tf * (h - tf / 2) + tw * sq(hw) / 2, p.As);
      p.Iy = (b * std::pow(tf, 3.0) + tw * std::pow(hw, 3.0)) / 12 +
             b * tf * sq(h - tf / 2 - p.zc) + hw * tw * sq(hw / 2 - p.zc);
      p.Iz = p.Af * sq(b) / 12 + dv(sq(p.ef) * p.Af, 1 + dv(double(p.Af), p.Aw));
      break;
    case 4:
    case 5:
      p.Aw = tw * hw;
      p.Af = 0;
      p.As = p.Aw;
      p.zc = hw / 2;
      p.Iy = tw * std::pow(hw, 3.0) / 12;
      p.Iz = hw * std::pow(tw, 3.0) / 12;
      break;
    case 7:
      p.As = h * b - (h - 2 * tw) * (b - 2 * tw);
      p.zc = h / 2;
      p.Iy = (b * std::pow(h, 3.0) - (b - 2 * tw) * std::pow(h - 2 * tw, 3.0)) / 12;
      break;
    case 8: {
      const double cosA = std::cos(std::atan(dv(p.a, h)));
      p.As = b * tw + dv(2 * hw * tw, cosA);
      p.zc = dv(b * tf * (h - tf / 2) + dv(tw * sq(hw), cosA), p.As);
      p.Iy = (b * std::pow(tf, 3.0) + dv(2 * tw, cosA) * std::pow(hw, 3.0)) / 12 +
             b * tf * sq(h - tf / 2 - p.zc) + dv(2 * hw * tw, cosA) * sq(hw / 2 - p.zc);
      break;
    }
    case 9:
      p.Aw = tw * hw;
      p.Af = sgl(tf * b);
      p.As = p.Aw + fin(2 * p.Af);
      p.zc = h / 2;
      p.Iy = (2 * b * std::pow(tf, 3.0) + tw * std::pow(hw, 3.0)) / 12 +
             b * tf * sq(h - tf / 2 - p.zc) + hw * tw * sq(hw / 2 + tf - p.zc) +
             b * tf * sq(tf / 2 - p.zc);
      break;
  }
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
  p.Ise = fin(ps.se * std::pow(t, 3.0) / 12 + p.Iy + p.As * sq(p.zc + t / 2 - p.zp) +
              ps.se * t * sq(p.zp));
  p.ie = csqrt(dv(p.Ise, p.Ae));
}

}  // namespace orvane
