// The lines of a project file: where each value lands, what it is called in
// a message and which values it may hold. Shared by the reader and the writer.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <variant>

#include "model/project_state.hpp"

namespace orvane {

inline constexpr int kFirstValueLine = 4;
inline constexpr int kLastProjectLine = 59;

// The kind of each line is the kind of the member it lands in: int16_t
// Integer, double Variant number, float Single.
using FieldRef = std::variant<int16_t*, double*, float*>;

// Lines 4 to 59 in file order.
inline std::array<FieldRef, kLastProjectLine - kFirstValueLine + 1> valueLines(ProjectState& ps) {
  // clang-format off
  return {&ps.matp, &ps.mats, &ps.matg, &ps.fyp, &ps.fys, &ps.fyg,                 // 4-9
          &ps.wsd, &ps.ufb, &ps.cyltype, &ps.Outside_ch, &ps.stiff_flag,           // 10-14
          &ps.ring_ch, &ps.check_ih, &ps.ringfab, &ps.cbostiff,                    // 15-18
          &ps.stiffRows.bulb, &ps.stiffRows.l, &ps.stiffRows.t, &ps.stiffRows.flat, // 19-22
          &ps.cboring,                                                             // 23
          &ps.ringRows.bulb, &ps.ringRows.l, &ps.ringRows.t, &ps.ringRows.flat,    // 24-27
          &ps.E, &ps.s, &ps.l, &ps.ltst, &ps.ltgi, &ps.L, &ps.r, &ps.t,            // 28-35
          &ps.sigx, &ps.sigy, &ps.tau, &ps.pd,                                     // 36-39
          &ps.st.h, &ps.st.b, &ps.st.a, &ps.st.tw, &ps.st.tf,                      // 40-44
          &ps.rg.h, &ps.rg.b, &ps.rg.a, &ps.rg.tw, &ps.rg.tf,                      // 45-49
          &ps.hring_ch, &ps.spare_flag,                                            // 50-51
          &ps.N, &ps.M1a, &ps.M2a, &ps.M1b, &ps.M2b, &ps.k1, &ps.k2,               // 52-58
          &ps.odmom};                                                              // 59
  // clang-format on
}

// What an Integer line may hold. Numbers need only be finite (and fit their
// kind); the window accepts any of them with its range warning.
enum class Domain {
  Any,           // version, stiff_flag (always made 1), the spare flag
  Flag,          // 0 or 1
  CylinderType,  // 0 to 3
  ProfileType,   // cbostiff, cboring: 0 to 9
  MaterialRow,   // 0 to the user-defined entry (the last loaded material)
  BulbRow,       // 0 to the last loaded row of the table
  LRow,
  TRow,
  FlatRow,
};

// The highest value an Integer of `domain` may hold in `ps` (the lowest is
// 0; Any: 32767).
int domainLimit(Domain domain, const ProjectState& ps);

struct ProjectLine {
  std::string_view name;
  Domain domain = Domain::Any;
};

// Lines 1 to 59; entry 0 is unused.
inline constexpr std::array<ProjectLine, kLastProjectLine + 1> kProjectLines = {{
    {"", Domain::Any},
    {"version", Domain::Any},
    {"project name", Domain::Any},
    {"identification", Domain::Any},
    {"plate material (matp)", Domain::MaterialRow},
    {"stiffener material (mats)", Domain::MaterialRow},
    {"ring-frame material (matg)", Domain::MaterialRow},
    {"fyp", Domain::Any},
    {"fys", Domain::Any},
    {"fyg", Domain::Any},
    {"design format (wsd)", Domain::Flag},
    {"ufb", Domain::Any},
    {"cylinder type (cyltype)", Domain::CylinderType},
    {"outside stiffening (Outside_ch)", Domain::Flag},
    {"stiff_flag", Domain::Any},
    {"ring-frame check (ring_ch)", Domain::Flag},
    {"check_ih", Domain::Flag},
    {"ring-frame fabrication (ringfab)", Domain::Flag},
    {"stiffener type (cbostiff)", Domain::ProfileType},
    {"stiffener row in the bulb-flat table", Domain::BulbRow},
    {"stiffener row in the L table", Domain::LRow},
    {"stiffener row in the T table", Domain::TRow},
    {"stiffener row in the flat-bar table", Domain::FlatRow},
    {"ring-frame type (cboring)", Domain::ProfileType},
    {"ring-frame row in the bulb-flat table", Domain::BulbRow},
    {"ring-frame row in the L table", Domain::LRow},
    {"ring-frame row in the T table", Domain::TRow},
    {"ring-frame row in the flat-bar table", Domain::FlatRow},
    {"E", Domain::Any},
    {"s", Domain::Any},
    {"l", Domain::Any},
    {"ltst", Domain::Any},
    {"ltgi", Domain::Any},
    {"L", Domain::Any},
    {"r", Domain::Any},
    {"t", Domain::Any},
    {"sigx", Domain::Any},
    {"sigy", Domain::Any},
    {"tau", Domain::Any},
    {"pd", Domain::Any},
    {"stiffener h", Domain::Any},
    {"stiffener b", Domain::Any},
    {"stiffener a", Domain::Any},
    {"stiffener tw", Domain::Any},
    {"stiffener tf", Domain::Any},
    {"ring-frame h", Domain::Any},
    {"ring-frame b", Domain::Any},
    {"ring-frame a", Domain::Any},
    {"ring-frame tw", Domain::Any},
    {"ring-frame tf", Domain::Any},
    {"heavy ring-frame check (hring_ch)", Domain::Flag},
    {"spare flag", Domain::Any},
    {"N", Domain::Any},
    {"M1a", Domain::Any},
    {"M2a", Domain::Any},
    {"M1b", Domain::Any},
    {"M2b", Domain::Any},
    {"k1", Domain::Any},
    {"k2", Domain::Any},
    {"reduced moments (odmom)", Domain::Flag},
}};

inline std::string_view projectLineName(int line) {
  return kProjectLines.at(static_cast<size_t>(line)).name;
}
inline Domain projectLineDomain(int line) {
  return kProjectLines.at(static_cast<size_t>(line)).domain;
}

}  // namespace orvane
