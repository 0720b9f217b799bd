// The method notes of the calculation sheet: what this program does where
// editions of DNV-RP-C202 and other programs are known to differ.
#include "core/calc_sheet.hpp"
#include "model/codes.hpp"

namespace orvane {

std::vector<std::string> methodNotes(const ProjectState& ps) {
  const bool column = ps.cyltype == code(CylinderType::Column);
  const bool stringers = ps.cyltype == code(CylinderType::StringerStiffened);
  const bool rings = ps.ring_ch == 1 || ps.hring_ch == 1;
  std::vector<std::string> notes;
  notes.push_back(
      "Poisson's ratio ν = 0.3 throughout, written as 1 − ν^2 = 0.91; π is taken as the "
      "single-precision value 3.141593.");
  notes.push_back(
      "Material factor of the shell check: under LRFD γ_M = 1.15 for λ̄_s < 0.5, "
      "0.85 + 0.60·λ̄_s for 0.5 ≤ λ̄_s ≤ 1.0 and 1.45 above; under WSD γ_M = 1.15 and the "
      "allowable usage factor is n_0·β·γ_M with β = 1.0, 1.2 − 0.4·λ̄_s or 0.8 in the same "
      "ranges.");
  notes.push_back(
      "Elastic buckling strength f_{Eh} under lateral pressure: ψ = 4, ξ = 1.04·√Z_l, ρ = 0.6 "
      "(the circumferential-compression coefficients; the reduced hydrostatic-pressure ψ is not "
      "used). For l/r > 2.25·√(r/t) f_{Eh} = 0.25·E·(t/r)^2 replaces it, and for "
      "l/r > 3.85·√(r/t) f_{Eτ} = 0.25·E·(t/r)^{1.5}.");
  notes.push_back(
      "Effective shell length l_{eo} = min(l, 1.56·√(r·t)); it enters α = A_R/(l_{eo}·t) of the "
      "ring-stiffened cylinder's circumferential stress and the ring frame's torsional restraint "
      "C. The effective width acting with a ring frame is l_e = 1.56·√(r·t)/(1 + 12·t/r), at "
      "most l.");
  if (stringers) {
    notes.push_back(
        "The shell of a stringer-stiffened cylinder is checked as a curved panel (Ch 3.3.2) when "
        "l/s ≥ 1 and as an unstiffened cylinder (Ch 3.4.2) when the ring frames are closer than "
        "the stringers.");
    notes.push_back(
        "Stiffener check (Ch 3.6.3): the material factor is γ_M = 1.15 for every slenderness in "
        "both design formats (β = 1.0 under WSD), not the shell check's slenderness-dependent "
        "value. The torsional buckling strength f_T takes the place of the yield strength in "
        "λ̄_s and f_{ks}, and f_T is capped at the plate's yield strength f_{yp}. Rule note: "
        "γ_M by the stiffener's slenderness as in the shell check (LRFD: 1.15, "
        "0.85 + 0.60·λ̄_s, 1.45; WSD: β = 1.0, 1.2 − 0.4·λ̄_s, 0.8); shown for λ̄_s > 0.5.");
    notes.push_back(
        "Effective plate width of the stringer: s_e = s for σ_x ≥ 0, otherwise "
        "s·f_{ks}·|σ_x|/σ_{j,Sd}/f_T with the shell check's f_{ks} and σ_{j,Sd}. The "
        "stiffener check then overwrites σ_{a,Sd}, σ_{j,Sd}, f_{ks}, γ_M and Z_l with its own "
        "values; later checks of the run read these.");
    notes.push_back(
        "Closed stringer sections (RHS, trapezoid) and the built-up I stringer are taken without "
        "torsional buckling: f_T = f_y of the stringer.");
  }
  if (column) {
    notes.push_back(
        "Column check (Ch 3.8): the local buckling strength f_{ak} and the column buckling "
        "strengths f_{kcd} are divided by the γ_M of the shell check run with the column's "
        "bending stress (LRFD: slenderness dependent; WSD: 1.15). Under WSD the allowable usage "
        "factor of the column check is n_0·1.0·1.15; the shell panel's usage factor is judged "
        "(OK/NOT OK, summary, exit code, governing case) against the allowable value its line "
        "prints, the shell check's own n_0·β·γ_M, while the panel colours it against "
        "n_0·1.0·1.15. A rule note says so where the two verdicts differ.");
    notes.push_back(
        "Bending stress for the shell check of a column: σ_{m,Sd} = −max(σ_{m1}, σ_{m2}, "
        "(|σ_{m1}| + |σ_{m2}|)/√2) of the mean end stresses; the inputs σ_y and τ are cleared "
        "in column mode. Reduced dimensioning moments use C_m = 0.6 + 0.4·ψ per axis "
        "(Norsok N-004 Table 6-2). Rule note: the shell check with the bending stress of the "
        "worse end, at each end √(σ_{M1}^2 + σ_{M2}^2) and the larger of the two ends; shown "
        "where it gives a higher shell usage factor (end stresses of opposite sign, or both "
        "negative).");
  }
  if (rings) {
    notes.push_back(
        "Ring frames (Ch 3.5.2): the torsional buckling strength f_T of the ring frame is "
        "reduced to 0.9·f_T for a cold-formed frame, capped at the plate's yield strength f_{yp}, "
        "and raised to 2.001·|σ_{R,Sd}| where 2·|σ_{R,Sd}| exceeds it, so that I_h stays finite.");
    notes.push_back(
        "The area requirement and the moment-of-inertia requirement are compared with the "
        "allowable usage factor UF as entered, in both design formats. α = A_R/(l_{eo}·t) for a "
        "ring-stiffened cylinder and A_R/(l·t) otherwise; α_s = A_s/(s·t), 0 for a "
        "ring-stiffened cylinder.");
    notes.push_back(
        "Special calculation of I_h (Ch 3.5.2.7), when chosen: I_h is reduced by the factor 0.99 "
        "from the general value until |p_d/p_{cap}| ≥ 1 or I_h ≤ 100000 mm^4, with the γ_M the "
        "run holds at that point. The heavy ring-frame requirement I_{hr} is stated, not "
        "compared. Rule notes, with ring-frame control on: with the heavy ring-frame "
        "requirement, I_{hr}/I as a usage factor against UF, shown where it exceeds the "
        "inertia usage factor; with the special I_h calculation and f_T raised above the ring "
        "frame's yield strength, the special loop again with f_T = f_y.");
  }
  notes.push_back(
      "Rule notes (unstiffened and ring-stiffened cylinders, p_d < 0, Ch 3.4.2): f_{Eh} also "
      "with the hydrostatic-pressure row of Table 3-2, ψ = 2, ξ = 1.04·√Z_l, ρ = 0.6, and with "
      "the project option \"ends closed\" the end-cap axial stress p_d·r/(2t) added to σ_x "
      "(the circumferential stress of the run is kept). Every rule note is worked out after the "
      "run from its values and changes no printed figure; it is shown where it gives a higher "
      "usage factor in the printed digits, or another verdict. With the project option "
      "\"judge by the more conservative rules\" every verdict, colour, exit code, governing "
      "case and optimiser result takes the stricter of the two readings.");
  return notes;
}

}  // namespace orvane
