// The codes a project stores as 16-bit integers (cylinder type, profile
// type) as types, with what each profile type is. Storage in ProjectState
// and in the project files stays int16_t; code converts at the point of use.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace orvane {

enum class CylinderType : int16_t {
  Unstiffened = 0,        // Ch 3.4.2
  RingStiffened = 1,      // Ch 3.3.2 with ring frames
  StringerStiffened = 2,  // Ch 3.3.2 and the stiffener check Ch 3.6.3
  Column = 3,             // Ch 3.4.2 and the column check Ch 3.8
};

// The stiffener or the ring frame: the two members that carry a profile.
enum class Member { Stiffener, RingFrame };

// The position in the profile lists `cbostiff` and `cboring`.
enum class ProfileType : int16_t {
  LTable = 0,
  LBuiltUp = 1,
  TTable = 2,
  TBuiltUp = 3,
  FlatBarTable = 4,
  FlatBarBuiltUp = 5,
  BulbFlat = 6,
  Rhs = 7,
  Trapezoid = 8,
  IBuiltUp = 9,
};

enum class ProfileFamily { L, T, FlatBar, BulbFlat, Rhs, Trapezoid, I };

struct ProfileTraits {
  ProfileType type;
  ProfileFamily family;
  bool fromTable;                      // a row of a profile table (else built up from plates)
  bool flanged;                        // a web with a flange of thickness tf (L, T, I)
  bool closed;                         // a closed section welded to the shell (RHS, trapezoid)
  const char* listText;                // the entry of `cbostiff` and `cboring`
  const char* menuText;                // the entry of the Profiles menu
  const char* prefix;                  // designation prefix, e.g. "L200x90x9.0x12.0"
  const char* windowSuffix;            // profile window `stiff`/`gird` + suffix
  const char* ringListText = nullptr;  // the entry of `cboring` where it differs
};

// type, family, fromTable, flanged, closed, list, menu, prefix, window suffix
// (, ring-frame list text)
inline constexpr std::array<ProfileTraits, 10> kProfileTraits{{
    {ProfileType::LTable, ProfileFamily::L, true, true, false, "L-table", "&L-table", "L", "l"},
    {ProfileType::LBuiltUp, ProfileFamily::L, false, true, false, "L-built up", "L built-up", "L",
     "lb"},
    {ProfileType::TTable, ProfileFamily::T, true, true, false, "T-table", "&T-table", "T", "t"},
    {ProfileType::TBuiltUp, ProfileFamily::T, false, true, false, "T-built up", "T built-up", "T",
     "tb"},
    {ProfileType::FlatBarTable, ProfileFamily::FlatBar, true, false, false, "Flatbar-table",
     "Flatbar table", "Fb", "f"},
    {ProfileType::FlatBarBuiltUp, ProfileFamily::FlatBar, false, false, false, "Flatbar-built up",
     "Flatbar built-up", "Fb", "fb"},
    {ProfileType::BulbFlat, ProfileFamily::BulbFlat, true, false, false, "Bulb Flat", "Bulb Flat",
     "BF ", "hp"},
    {ProfileType::Rhs, ProfileFamily::Rhs, false, false, true, "RHS", "RHS", "RHS", "rhs"},
    {ProfileType::Trapezoid, ProfileFamily::Trapezoid, false, false, true, "Trapez-profile",
     "Trapez-profile", "U", "usp"},
    {ProfileType::IBuiltUp, ProfileFamily::I, false, true, false, "I-built up", "I built-up", "I",
     "ib", "I-profile"},
}};

// The profile type of a stored code; none outside 0..9.
constexpr std::optional<ProfileType> profileType(int code) {
  if (code < 0 || code > 9) return std::nullopt;
  return static_cast<ProfileType>(code);
}

constexpr const ProfileTraits& traits(ProfileType t) {
  return kProfileTraits[static_cast<std::size_t>(t)];
}

// The traits of a stored code; none outside 0..9.
constexpr const ProfileTraits* traitsOf(int code) {
  const std::optional<ProfileType> t = profileType(code);
  return t ? &traits(*t) : nullptr;
}

// Whether a stored code is a type of one of `families`; false outside 0..9.
constexpr bool inFamily(int code, std::initializer_list<ProfileFamily> families) {
  const ProfileTraits* r = traitsOf(code);
  if (!r) return false;
  for (ProfileFamily f : families)
    if (r->family == f) return true;
  return false;
}

// The entry of `cbostiff` (stiffener) or `cboring` (ring frame).
constexpr const char* listText(Member m, ProfileType t) {
  const ProfileTraits& r = traits(t);
  return m == Member::RingFrame && r.ringListText ? r.ringListText : r.listText;
}

// The ten entries of a member's profile list, in type order.
constexpr std::array<const char*, 10> profileListTexts(Member m) {
  std::array<const char*, 10> texts{};
  for (std::size_t i = 0; i < texts.size(); ++i)
    texts[i] = listText(m, static_cast<ProfileType>(i));
  return texts;
}

constexpr int16_t code(ProfileType t) { return static_cast<int16_t>(t); }
constexpr int16_t code(CylinderType t) { return static_cast<int16_t>(t); }

// The cylinder type of a stored code; none outside 0..3.
constexpr std::optional<CylinderType> cylinderType(int code) {
  if (code < 0 || code > 3) return std::nullopt;
  return static_cast<CylinderType>(code);
}

// Each row stands at its type's position.
constexpr bool rowsInTypeOrder() {
  for (std::size_t i = 0; i < kProfileTraits.size(); ++i)
    if (static_cast<std::size_t>(kProfileTraits[i].type) != i) return false;
  return true;
}
static_assert(rowsInTypeOrder());

}  // namespace orvane
