// The profile-data routines of the report, one per profile family and
// member, and the designations printed above them.
#include <QStringList>
#include <algorithm>

#include "model/codes.hpp"
#include "model/format.hpp"
#include "ui/report/report.hpp"
#include "ui/report/report_body.hpp"

namespace orvane::ui {

namespace report {

namespace {

// What a profile-data routine prints, taken from the stiffener's or the
// ring frame's section properties.
struct SectionData {
  double h, b, tw, tf, area, mass, iy, iz, c, r, a;
  const std::string* local;  // local-buckling lines, 1-based
  int localCount;
  bool izComputed = true;
};

QString f(double v, const char* pattern) { return qs(format(v, pattern)); }

void row(ReportPage& page, double xoff, const char* label, const QString& value, const char* unit) {
  page.moveTo(xoff + kSymbol, page.y());
  page.print(QString::fromLatin1(label));
  page.setX(xoff + kEquals);
  page.print(QStringLiteral("="));
  page.printRightAligned(value, xoff + kValueEdge, kValueEdge - kEquals - 1.5);
  page.print(QStringLiteral(" ") + QString::fromLatin1(unit), true);
}

void underlined(ReportPage& page, double x, const char* text) {
  page.moveTo(x, page.y());
  page.setUnderline(true);
  page.print(QString::fromLatin1(text), true);
  page.setUnderline(false);
}

void localLines(ReportPage& page, double xoff, const SectionData& d, int count) {
  if (count == 0) return;
  underlined(page, xoff + kSymbol, "Local buckling:");
  // up to the next profile section, or the right edge of the body
  const double width = std::min(xoff + kRingOffset + kMargin, kRight) - (xoff + kSymbol) - 0.5;
  for (int i = 1; i <= count && i <= d.localCount; ++i) {
    page.setX(xoff + kSymbol);
    page.printFitted(qs(d.local[i]), width, true);
  }
}

void massAndArea(ReportPage& page, double xoff, const SectionData& d) {
  row(page, xoff, "A", f(d.area, "#00"), "mm2");
  row(page, xoff, "g", f(d.mass, "#0.0"), "kg/m");
  row(page, xoff, "Iy", f(d.iy, "0.000E+0"), "mm4");
}

void flanged(ReportPage& page, double xoff, const SectionData& d) {
  underlined(page, xoff + kSymbol, "Profile data:");
  row(page, xoff, "H", f(d.h, "#00"), "mm");
  row(page, xoff, "B", f(d.b, "#00"), "mm");
  row(page, xoff, "tw", f(d.tw, "#0.0"), "mm");
  row(page, xoff, "tf", f(d.tf, "#0.0"), "mm");
  massAndArea(page, xoff, d);
  // The I stiffener's routine computes no Iz: an old value of another
  // profile would mislead, so the report says so as the profile window does.
  if (d.izComputed) {
    row(page, xoff, "Iz", f(d.iz, "0.000E+0"), "mm4");
  } else {
    page.moveTo(xoff + kSymbol, page.y());
    page.print(QStringLiteral("Iz"));
    page.setX(xoff + kEquals);
    page.print(QStringLiteral("= "));
    page.printFitted(QStringLiteral("not computed"), kRingOffset + kMargin - kEquals - 2, true);
  }
  localLines(page, xoff, d, 4);
}

void flatBar(ReportPage& page, double xoff, const SectionData& d) {
  underlined(page, xoff + kSymbol, "Profile data:");
  row(page, xoff, "H", f(d.h, "#00"), "mm");
  row(page, xoff, "tw", f(d.tw, "#0.0"), "mm");
  massAndArea(page, xoff, d);
  localLines(page, xoff, d, 1);
}

void bulbFlat(ReportPage& page, double xoff, const SectionData& d) {
  underlined(page, xoff + kSymbol, "Profile data:");
  row(page, xoff, "H", f(d.h, "#00"), "mm");
  row(page, xoff, "tw", f(d.tw, "#0.0"), "mm");
  row(page, xoff, "c", f(d.c, "#0.0"), "mm");
  row(page, xoff, "r", f(d.r, "#0.0"), "mm");
  row(page, xoff, "B", f(d.b, "#0.0"), "mm");
  row(page, xoff, "tf", f(d.tf, "#0.0"), "mm");
  massAndArea(page, xoff, d);
  localLines(page, xoff, d, 2);
}

// RHS and trapezoid: closed sections without proportion rules.
void boxSection(ReportPage& page, double xoff, const SectionData& d, bool trapezoid) {
  underlined(page, xoff + kSymbol, "Profile data:");
  row(page, xoff, "H", f(d.h, "#00"), "mm");
  row(page, xoff, "B", f(d.b, "#00"), "mm");
  if (trapezoid) row(page, xoff, "a", f(d.a, "#00"), "mm");
  row(page, xoff, "tw", f(d.tw, "#0.0"), "mm");
  massAndArea(page, xoff, d);
}

SectionData stiffenerData(const ProjectState& ps) {
  const StiffenerProfile& p = ps.st;
  // The stiffener routines have the two proportion lines of Eq 3.10.6 to
  // 3.10.9; a bulb flat has the web line only.
  const int lines = inFamily(ps.cbostiff, {ProfileFamily::BulbFlat}) ? 1 : 2;
  return {p.h,   p.b,
          p.tw,  p.tf,
          p.As,  p.mass,
          p.Iy,  p.Iz,
          p.a,   p.Ro,
          p.a,   ps.proportion.data(),
          lines, !inFamily(ps.cbostiff, {ProfileFamily::I})};
}

SectionData ringData(const ProjectState& ps) {
  const RingProfile& g = ps.rg;
  return {g.h, g.b, g.tw, g.tf, g.Ag, g.massg, g.Ixg, g.Izg, g.a, g.Ro, g.a, ps.ringLocal.data(),
          4};
}

void stiffenerFlanged(ReportPage& p, const ProjectState& ps, double x) {
  flanged(p, x, stiffenerData(ps));
}
void stiffenerFlatBar(ReportPage& p, const ProjectState& ps, double x) {
  flatBar(p, x, stiffenerData(ps));
}
void stiffenerBulbFlat(ReportPage& p, const ProjectState& ps, double x) {
  bulbFlat(p, x, stiffenerData(ps));
}
void stiffenerBox(ReportPage& p, const ProjectState& ps, double x) {
  boxSection(p, x, stiffenerData(ps), inFamily(ps.cbostiff, {ProfileFamily::Trapezoid}));
}
void ringFlanged(ReportPage& p, const ProjectState& ps, double x) { flanged(p, x, ringData(ps)); }
void ringFlatBar(ReportPage& p, const ProjectState& ps, double x) { flatBar(p, x, ringData(ps)); }
void ringBulbFlat(ReportPage& p, const ProjectState& ps, double x) { bulbFlat(p, x, ringData(ps)); }
void ringBox(ReportPage& p, const ProjectState& ps, double x) {
  boxSection(p, x, ringData(ps), inFamily(ps.cboring, {ProfileFamily::Trapezoid}));
}

}  // namespace

void printProfileData(ReportPage& page, const ProjectState& ps, Member member, double xoff) {
  const bool ring = member == Member::RingFrame;
  const ProfileTraits* tr = traitsOf(ring ? ps.cboring : ps.cbostiff);
  if (!tr) return;
  using Routine = void (*)(ReportPage&, const ProjectState&, double);
  Routine routine = nullptr;
  switch (tr->family) {
    case ProfileFamily::L:
    case ProfileFamily::T:
    case ProfileFamily::I:
      routine = ring ? ringFlanged : stiffenerFlanged;
      break;
    case ProfileFamily::FlatBar:
      routine = ring ? ringFlatBar : stiffenerFlatBar;
      break;
    case ProfileFamily::BulbFlat:
      routine = ring ? ringBulbFlat : stiffenerBulbFlat;
      break;
    case ProfileFamily::Rhs:
    case ProfileFamily::Trapezoid:
      routine = ring ? ringBox : stiffenerBox;
      break;
  }
  routine(page, ps, xoff);
}

}  // namespace report

QString reportDesignation(const ProjectState& ps, Member member) {
  const bool ring = member == Member::RingFrame;
  const int type = ring ? ps.cboring : ps.cbostiff;
  double h = ps.st.h, b = ps.st.b, tw = ps.st.tw, tf = ps.st.tf;
  if (ring) {
    h = ps.rg.h;
    b = ps.rg.b;
    tw = ps.rg.tw;
    tf = ps.rg.tf;
  }
  // the report's own words: " Trapez " where the designation has "U"
  static const char* const kWord[10] = {" L",  " L",   " T",   " T",       " Fb",
                                        " Fb", " BF ", " RHS", " Trapez ", " I"};
  const std::optional<ProfileType> t = profileType(type);
  if (!t) return {};
  const ProfileTraits& tr = traits(*t);
  const bool heightAndThickness =
      tr.family == ProfileFamily::FlatBar || tr.family == ProfileFamily::BulbFlat;
  QStringList parts{report::qs(format(h, "00"))};
  if (!heightAndThickness) parts << report::qs(format(b, "00"));
  parts << report::qs(format(tw, "0.0"));
  if (tr.flanged) parts << report::qs(format(tf, "#0.0"));
  QString d = QString::fromLatin1(kWord[type]) + parts.join(QLatin1Char('x'));
  if (*t == ProfileType::LBuiltUp) d += QStringLiteral(" (built-up)");  // the L only, as printed
  return d;
}

}  // namespace orvane::ui
