// Rule notes: where a rule of this program gives a lower usage factor, or a
// kinder verdict, than another current reading of DNV-RP-C202, the other
// number beside it. The notes are worked out from a finished run and never
// write into the numbers the panels show; with the project option
// "conservative rules" every verdict takes the stricter of the two.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/panels.hpp"
#include "model/project_state.hpp"

namespace orvane {

enum class RuleNoteId : uint8_t {
  StiffenerGammaM,       // stiffener check: γ_M by the slenderness
  HydrostaticPressure,   // shell check: f_Eh with ψ = 2, end-cap axial stress
  ColumnShellAllowable,  // column mode, WSD: the shell verdict against its own line
  ColumnWorstEnd,        // column mode: bending stress of the worse end
  HeavyRingInertia,      // heavy ring frame: I_hr compared with I
  SpecialIhYield,        // special I_h: f_T not above the yield strength
};

struct RuleNote {
  RuleNoteId id{};
  CheckId check{};                 // the usage factor the note stands under
  const char* key = "";            // short name for files: "stiffener_gamma_m", ...
  const char* chapter = "";        // as the panel titles cite it
  std::string rule;                // what this program applies
  std::string alternative;         // the other reading
  std::string values;              // the values of the other reading
  std::string mark;                // the one line drawn under the usage factor
  double uf = 0, allow = 0;        // this program's usage factor and allowable value
  double ufAlt = 0, allowAlt = 0;  // the other reading's
  // true: the note explains the verdict as judged already (column mode, WSD)
  bool explanatory = false;
  bool exceeded() const { return uf > allow; }
  bool exceededAlt() const { return ufAlt > allowAlt; }
};

// The alternatives, each from the values of the finished run in `ps`; empty
// when the note does not apply or would change neither usage factor nor
// verdict. None of them throws: an alternative that meets an arithmetic
// fault gives no note.
std::optional<RuleNote> stiffenerGammaNote(const ProjectState& ps);
std::optional<RuleNote> hydrostaticNote(const ProjectState& ps);
std::optional<RuleNote> columnShellAllowableNote(const ProjectState& ps);
std::optional<RuleNote> columnWorstEndNote(const ProjectState& ps);
std::optional<RuleNote> heavyRingNote(const ProjectState& ps);
std::optional<RuleNote> specialIhNote(const ProjectState& ps);

// Every note of the run, in panel order (shell, stiffener or column, ring).
// Empty after a run that did not complete (no panel to stand under).
std::vector<RuleNote> ruleNotes(const ProjectState& ps);

// γ_M of the LRFD shell check by the slenderness: 1.15 below 0.5,
// 0.85 + 0.60·λ̄ up to 1.0, 1.45 above.
double gammaMBySlenderness(float lamdas);
// β of the WSD format by the slenderness: 1.0, 1.2 − 0.4·λ̄, 0.8.
float betaBySlenderness(float lamdas);

// The shell check's usage factor and allowable value with another axial
// stress σ_a,Sd, bending stress σ_m,Sd and f_Eh, all other values as the
// run of an unstiffened cylinder (Ch 3.4.2) left them. Throws CalcFault.
struct ShellUsage {
  double uf = 0, allow = 0;
  float lamdas = 0;
};
ShellUsage shellUsageWith(const ProjectNumbers& ps, double SigaSd, float SigmSd, float fEh);

// f_Eh of Table 3-2 with the hydrostatic-pressure row (ψ = 2, ξ = 1.04·√Z_l,
// ρ = 0.6), with the long-cylinder value 0.25·E·(t/r)^2 where the run takes
// it. Throws CalcFault.
float hydrostaticFEh(const ProjectNumbers& ps);

// The end-cap axial stress of a closed cylinder, p_d·r/(2t).
double endCapStress(const ProjectNumbers& ps);

// The bending stress of the worse end for the shell check of a column:
// −max over the two ends of √(σ_M1² + σ_M2²).
float worstEndBending(const CheckTrace& c);

// Which rules judged the design, for the report header and the sheet.
const char* rulesJudging(const ProjectState& ps);

}  // namespace orvane
