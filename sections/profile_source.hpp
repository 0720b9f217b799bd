// Where a stiffener's or a ring frame's dimensions come from: a row of a
// profile table or the built-up set of its type. Both section routines share
// this, and the designation that the window and the report show.
#pragma once

#include <string>

#include "model/codes.hpp"
#include "model/format.hpp"
#include "model/project_state.hpp"
#include "sections/profile_tables.hpp"

namespace orvane {

// Copies the dimensions of profile type `type` into `p` (a StiffenerProfile
// or a RingProfile): a row of the family's table or its built-up set. Flat
// bars set h and tw only, bulb flats h, tw and c, r in the a and Ro slots;
// the bulb flat's table area is returned (0 for the other types).
template <typename Profile>
double takeDimensions(Profile& p, ProfileType type, const TableRows& rows, const BuiltUpSets& bu,
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
  const bool fromTable = traits(type).fromTable;
  switch (traits(type).family) {
    case ProfileFamily::L:
      if (fromTable)
        tableRow(tab.l, rows.l);
      else
        flanged(bu.lb);
      break;
    case ProfileFamily::T:
      if (fromTable)
        tableRow(tab.t, rows.t);
      else
        flanged(bu.tb);
      break;
    case ProfileFamily::FlatBar:
      if (fromTable) {
        p.h = tableValue(tab.flat, rows.flat, 1);
        p.tw = tableValue(tab.flat, rows.flat, 2);
      } else {
        p.h = bu.fb.h;
        p.tw = bu.fb.tw;
      }
      break;
    case ProfileFamily::BulbFlat:
      p.h = tableValue(tab.bulb, rows.bulb, 1);
      p.tw = tableValue(tab.bulb, rows.bulb, 2);
      p.a = tableValue(tab.bulb, rows.bulb, 3);   // c
      p.Ro = tableValue(tab.bulb, rows.bulb, 4);  // r
      return tableValue(tab.bulb, rows.bulb, 5);
    case ProfileFamily::Rhs:
      p.h = bu.rhs.h;
      p.b = bu.rhs.b;
      p.tw = bu.rhs.tw;
      break;
    case ProfileFamily::Trapezoid:
      p.h = bu.trap.h;
      p.b = bu.trap.b;
      p.a = bu.trap.a;
      p.tw = bu.trap.tw;
      break;
    case ProfileFamily::I:
      flanged(bu.ib);
      break;
  }
  return 0;
}

// Designation of a profile of stored type `type`, e.g. "L200x90x9.0x12.0",
// "Fb200x9.0", "BF 200x10.0", "RHS200x90x9.0"; empty outside the types.
inline std::string profileDesignation(int type, double h, double b, double tw, float tf) {
  const std::optional<ProfileType> t = profileType(type);
  if (!t) return {};
  const ProfileTraits& tr = traits(*t);
  std::string d = tr.prefix + format(h, "00") + "x";
  // flat bars and bulb flats: height and thickness only
  if (tr.family == ProfileFamily::FlatBar || tr.family == ProfileFamily::BulbFlat)
    return d + format(tw, "0.0");
  d += format(b, "00") + "x" + format(tw, "0.0");
  if (tr.closed) return d;
  return d + "x" + format(tf, "#0.0");
}

}  // namespace orvane
