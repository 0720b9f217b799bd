// Where a stiffener's or a ring frame's dimensions come from: a row of a
// profile table or the built-up set of its type. Both section routines share
// this, and the designation that the window and the report show.
#pragma once

#include <string>

#include "model/format.hpp"
#include "model/project_state.hpp"
#include "sections/profile_tables.hpp"

namespace orvane {

// Copies the dimensions of profile type `type` (0 to 9) into `p` (a
// StiffenerProfile or a RingProfile). Flat bars set h and tw only, bulb
// flats h, tw and c, r in the a and Ro slots; the bulb flat's table area is
// returned (0 for the other types).
template <typename Profile>
double takeDimensions(Profile& p, int type, const TableRows& rows, const BuiltUpSets& bu,
                      const ProfileTables& tab) {
  auto flanged = [&](const BuiltUpFlanged& s) {
    p.h = s.h;
    p.b = s.b;
    p.tw = s.tw;
    p.tf = s.tf;
  };
  auto tableRow = [&](const ProfileTable& t, int row) {
    p.h = tableValue(t, row, 1);
    p.b = tableValue(t, row, 2);
    p.tw = tableValue(t, row, 3);
    p.tf = tableValue(t, row, 4);
  };
  switch (type) {
    case 0:
      tableRow(tab.l, rows.l);
      break;
    case 1:
      flanged(bu.lb);
      break;
    case 2:
      tableRow(tab.t, rows.t);
      break;
    case 3:
      flanged(bu.tb);
      break;
    case 4:
      p.h = tableValue(tab.flat, rows.flat, 1);
      p.tw = tableValue(tab.flat, rows.flat, 2);
      break;
    case 5:
      p.h = bu.fb.h;
      p.tw = bu.fb.tw;
      break;
    case 6:
      p.h = tableValue(tab.bulb, rows.bulb, 1);
      p.tw = tableValue(tab.bulb, rows.bulb, 2);
      p.a = tableValue(tab.bulb, rows.bulb, 3);   // c
      p.Ro = tableValue(tab.bulb, rows.bulb, 4);  // r
      return tableValue(tab.bulb, rows.bulb, 5);
    case 7:
      p.h = bu.rhs.h;
      p.b = bu.rhs.b;
      p.tw = bu.rhs.tw;
      break;
    case 8:
      p.h = bu.trap.h;
      p.b = bu.trap.b;
      p.a = bu.trap.a;
      p.tw = bu.trap.tw;
      break;
    case 9:
      flanged(bu.ib);
      break;
  }
  return 0;
}

// Designation of a profile of type `type`, e.g. "L200x90x9.0x12.0",
// "Fb200x9.0", "BF 200x10.0", "RHS200x90x9.0".
inline std::string profileDesignation(int type, double h, double b, double tw, float tf) {
  static const char* const prefix[10] = {"L", "L", "T", "T", "Fb", "Fb", "BF ", "RHS", "U", "I"};
  if (type < 0 || type > 9) return {};
  std::string d = prefix[type] + format(h, "00") + "x";
  if (type >= 4 && type <= 6) return d + format(tw, "0.0");
  d += format(b, "00") + "x" + format(tw, "0.0");
  if (type == 7 || type == 8) return d;
  return d + "x" + format(tf, "#0.0");
}

}  // namespace orvane
