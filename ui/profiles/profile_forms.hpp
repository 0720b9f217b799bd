// The twenty profile windows, each described once as data.
//
// A description names the window, its caption and type index, the profile
// table (table windows) or the built-up dimension fields in Enter order
// (built-up windows), what the refresh shows, and what OK and closing do.
// ProfileWindow builds and runs every window from its description alone.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "model/codes.hpp"
#include "model/project_state.hpp"
#include "project/inputs.hpp"
#include "ui/profiles/profile_sketches.hpp"

namespace orvane::ui {

// A dimension of a profile as the windows name it.
enum class Dim { H, B, A, Tw, Tf, C, R };

// The built-up dimension set a built-up window edits.
enum class BuiltSet { None, L, T, I, Flat, Rhs, Trapezoid };

// What OK does after its own checks.
enum class OkAction {
  ReadCloseCalc,  // re-read and test the fields with the OK limits, close, CalcDriver
  CloseCalc,      // close, CalcDriver
  Close,          // close only
};

// A built-up field: its control, caption, pattern and the test of OK. The
// test of the field and unload cycles, with its clamp, is the input's own
// (project/inputs.hpp, builtInput()).
struct DimField {
  Dim dim;
  const char* name;     // built-up field: isth, istb, ista, isttw, isttf
  const char* label;    // table-window label: sth, stb, sttw, sttf, stc, strr
  const char* caption;  // "h =", ...
  const char* pattern;  // written back on leaving the field and by the refresh
  double okLimit;       // OK cycle of the stiffener built-up windows
  const char* okMessage;
};

const DimField& dimField(Dim d);

struct ProfileForm {
  const char* name;
  const char* caption;
  Member member;
  ProfileType type;
  ProfileShape shape;
  // table windows
  ProfileTable ProfileTables::*table = nullptr;  // null for built-up windows
  ProfileKind kind = ProfileKind::L;
  int16_t TableRows::*row = nullptr;
  bool sectionFirstOnClick = false;  // the list click runs the section routine before CalcDriver
  // built-up windows
  BuiltSet set = BuiltSet::None;
  std::span<const Dim> fields{};   // Enter order
  std::span<const Dim> okTests{};  // fields re-read and tested by OK
  std::span<const Dim> unloadTests{};
  bool wideB = false;  // the field cycle writes b with "##0.0"
  // what the refresh shows
  std::span<const Dim> shown{};  // dimension labels of table windows
  bool showsIz;
  bool izComputed;          // false: the routine leaves Iz alone for this type
  int firstLine, lastLine;  // proportion / ring local lines shown; 0 = none
  OkAction ok;
  bool fitToFrame = false;  // width from the frame fr21 (the flat-bar table window)

  bool isTable() const { return table != nullptr; }
};
// The form of a stored type code; null outside 0..9.
const ProfileForm* profileForm(Member member, int type);
const ProfileForm* profileForm(const char* name);

// The built-up value a field edits, and storing into it (tf and the single
// dimensions of a set are rounded to single precision on the way in).
// The input a built-up window's field edits; none for a dimension the set
// does not have.
std::optional<InputId> builtInput(const ProfileForm& form, Dim d);
double builtValue(const ProjectState& ps, const ProfileForm& form, Dim d);
void setBuiltValue(ProjectState& ps, const ProfileForm& form, Dim d, double v);

// The current profile's dimension as the section routine left it.
double currentValue(const ProjectState& ps, Member member, Dim d);

}  // namespace orvane::ui
