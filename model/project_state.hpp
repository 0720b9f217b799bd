// The one open project: every input, flag, derived value and result table.
//
// The calculation routines read and write this struct directly, as the
// program always has; no routine keeps state of its own between runs, and
// values a run does not recompute keep what an earlier run left.
//
// Kinds are behaviour: a Single is a `float` (rounded on every store), a
// Variant number is a `double` (carrying the single value where it came from
// a single source), an Integer is an `int16_t`.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/input_id.hpp"

namespace orvane {

class CalcTrace;

// A printed result table: title in label[0], lines 1..n, verdict on line n.
// Never cleared; entries above n keep whatever an earlier check wrote.
struct ResultTable {
  int16_t n = 0;
  std::array<std::string, 16> label{};
  std::array<std::string, 16> value{};
  std::array<std::string, 16> unit{};
};

// DNVmat.dat: name and thirteen singles fy1, T1, ..., T6, fy7 per row.
struct MaterialTable {
  static constexpr int kRows = 21;
  int16_t count = -1;  // index of the last row read
  std::array<std::string, kRows> name{};
  std::array<std::array<float, 13>, kRows> data{};  // fy1,T1,fy2,T2,...,T6,fy7
};

// One profile table; column 0 unused, as in the data files' layout.
struct ProfileTable {
  int16_t last = -1;  // index of the last row read
  int columns = 0;    // values per row: 4 (L, T), 2 (flat bar), 5 (bulb flat)
  int maxRows = 41;   // 41, or 61 for bulb flats
  std::array<std::array<float, 6>, 61> row{};
};

enum class ProfileKind : int { BulbFlat = 0, L = 1, T = 2, FlatBar = 3 };

struct ProfileTables {
  ProfileTable bulb{-1, 5, 61, {}};
  ProfileTable l{-1, 4, 41, {}};
  ProfileTable t{-1, 4, 41, {}};
  ProfileTable flat{-1, 2, 41, {}};
};

// Selected table rows, in file order: bulb flat, L, T, flat bar.
struct TableRows {
  int16_t bulb = 0;
  int16_t l = 0;
  int16_t t = 0;
  int16_t flat = 0;
};

// Built-up dimension sets (mm). The last dimension of each set is a Single.
struct BuiltUpFlanged {  // L, T and I built up
  double h = 200, b = 90, tw = 9;
  float tf = 12;
};
struct BuiltUpFlat {
  double h = 100;
  float tw = 10;
};
struct BuiltUpRhs {
  double h = 200, b = 90;
  float tw = 9;
};
struct BuiltUpTrapezoid {
  double h = 200, b = 90, a = 50;
  float tw = 9;
};

struct BuiltUpSets {
  BuiltUpFlanged lb, tb, ib;
  BuiltUpFlat fb;
  BuiltUpRhs rhs;
  BuiltUpTrapezoid trap;
};

// The new-project built-up sets: the stiffener's are the member defaults
// above; the ring frame's flat bar is 200 x 9.
inline BuiltUpSets stiffenerBuiltUpDefaults() { return BuiltUpSets{}; }
inline BuiltUpSets ringFrameBuiltUpDefaults() {
  BuiltUpSets sets;
  sets.fb = BuiltUpFlat{200, 9};
  return sets;
}

// The current stiffener section and its properties (StiffenerSection,
// EffectiveSection). c and r of a bulb flat live in the a and Ro slots.
struct StiffenerProfile {
  double h = 200, b = 90, tw = 9;
  float tf = 12;
  double a = 1, Ro = 10, Ri = 10;
  float tgov = 12;
  double hw = 0, bo = 0;
  float ef = 0;
  double Aw = 0;
  float Af = 0;
  double As = 0, mass = 0, zc = 0, Iy = 0, Iz = 0;
  // effective section with plate flange se
  double Ae = 0, zp = 0, zt = 0, Ise = 0, ie = 0;
};

// The current ring frame section and its properties (RingSectionProps).
struct RingProfile {
  double h = 200, b = 90, tw = 9;
  float tf = 12;
  double a = 1, Ro = 10;
  float tgov = 12;
  double Ag = 0, massg = 0, Awg = 0;
  float Afg = 0;
  double zcg = 0, Ixg = 0;
  float Izg = 0;
};

// Intermediate values of the checks that are printed or traced but are not
// read by other checks; kept so that a headless run can report them.
struct CheckTrace {
  // stiffener check
  float gamS = 0;
  double fEa_s = 0, fEtau_s = 0, fEh_s = 0;
  float lamdas_s = 0, fksd_s = 0;
  double C = 0, betaT = 0;
  float fET = 0;
  // ring frame torsion
  double Cg = 0, betaTg = 0;
  float fETg = 0;
  // column check
  double Do = 0;
  float Di = 0, A = 0;
  double I = 0, i = 0;
  float W = 0;
  double sM1a = 0;
  float sM1b = 0;
  double sM2a = 0;
  float sM2b = 0;
  double psi1 = 0;
  float psi2 = 0;
  double Cm1 = 0;
  float Cm2 = 0;
  double M1Sd = 0;
  float M2Sd = 0;
  double fak = 0;
  float fakd = 0;
  double lamda1 = 0;
  float lamda2 = 0;
  double fkcd1 = 0;
  float fkcd2 = 0;
  double fE1 = 0;
  float fE2 = 0;
  double UF1 = 0;
  float UF2 = 0;
  // shell check: the strengths and the allowable value its line prints,
  // which the rule notes read after the run
  double fEm = 0, fEtau = 0, UFallowShell = 0;
  // special Ih calculation: the general Ih its loop started from
  double IhGeneral = 0;
};

// The numbers of the project: inputs, options, profile dimensions, derived
// values and verdict flags. Nothing here owns memory, so that a batch row
// can put them back to the base project's with one plain copy.
struct ProjectNumbers {
  int16_t fileversion = 170;

  // geometry and material inputs
  float r = 3333;
  double t = 20, s = 600, l = 3000, L = 6000, ltst = 3000;
  float ltgi = 600;
  float E = 210000;
  double fyp = 0, fys = 0, fyg = 0;
  int16_t matp = 2, mats = 2, matg = 2;

  // loads
  double sigx = -100;
  float sigy = -10, tau = 40, pd = -0.3f;
  double N = -1000, M1a = -200, M1b = 100, M2a = -100;
  float M2b = 100;
  double k1 = 1.0;
  float k2 = 1.0;
  double ufb = 1;

  // options and modes
  int16_t cyltype = 2;
  int16_t ring_ch = 1, hring_ch = 0, Outside_ch = 0, ringfab = 0;
  int16_t wsd = 0, check_ih = 0, odmom = 0;
  int16_t stiff_flag = 1, spare_flag = 0;

  // rule options, kept beside the project file (NAME.rules), not in it
  bool conservativeRules = false;  // judge by the larger usage factor of each rule note
  bool closedEnds = false;         // the ends carry the end-cap axial stress p_d*r/(2t)

  // profiles
  int16_t cbostiff = 0, cboring = 2;
  TableRows stiffRows{}, ringRows{};
  StiffenerProfile st{};
  RingProfile rg{};
  BuiltUpSets stiffBuilt = stiffenerBuiltUpDefaults();
  BuiltUpSets ringBuilt = ringFrameBuiltUpDefaults();

  // derived values (design basis and shell check)
  double Zl = 0, spanel = 0, leo = 0;
  double SigaSd = 0, SighSd = 0, SighTSd = 0;
  float SigmSd = 0;
  double Siga0Sd = 0, SigjSd = 0, fEa = 0;
  float fEh = 0, lamdas = 0, fks = 0;
  double SigjFks = 0, gm = 1.15;  // program start: 1.15 and 1.0
  float beta = 1.0f;
  double UFallow = 0, UF = 0;

  // stiffener check
  float fT = 0, se = 0, Isef = 0;
  double UFstiff = 0, UFallowStiff = 0;

  // ring frame checks
  double Areq = 0, le = 0, Aeff = 0, zcs = 0, r0 = 0;
  float rf = 0;
  double ztRing = 0, Iring = 0;
  float fTg = 0, SigRSd = 0;
  double delta0 = 0, Ix = 0, Ixh = 0, Ih = 0, IR = 0, Ihr = 0;
  double UFarea = 0;
  float UFinertia = 0, UFspecial = 0;

  CheckTrace trace{};

  // verdicts of the local-buckling lines (true: OK), written with the lines
  // and also in a run without texts
  std::array<bool, 3> proportionOk{true, true, true};
  std::array<bool, 5> ringLocalOk{true, true, true, true, true};
};

// The project: its numbers, its names, the data files and the texts of the
// last run. A run without texts writes nothing outside ProjectNumbers but
// the tables' line counts.
struct ProjectState : ProjectNumbers {
  // project identity
  std::string fileName = "New File";
  std::string projectName = "Project";
  std::string ident = "Test";

  // data files
  MaterialTable mat{};
  ProfileTables prof{};

  // result tables and local-buckling lines
  ResultTable shellTable{}, stiffTable{}, ringTable{};
  std::array<std::string, 3> proportion{};
  std::array<std::string, 5> ringLocal{};
};

// Everything the checks tell the user while they run (the two warnings that
// repeat input rules) and the focus moves they ask for. The desktop program
// shows these in message boxes; the headless front end records them.
class CalcEvents {
 public:
  virtual ~CalcEvents() = default;
  virtual void warning(const std::string& text) = 0;
  // The field of an input should take the focus.
  virtual void focus(InputId input) { (void)input; }
  // The calculation changed the value of an input (the ring frame's
  // buckling length cut back): its field shows the new value.
  virtual void changed(InputId input) { (void)input; }
  // A section routine wrote the designation of the stiffener (`stiffprof`)
  // or the ring frame (`ringprof`); `type` selects the button sketch.
  virtual void stiffenerDesignation(const std::string& text, int type) {
    (void)text;
    (void)type;
  }
  virtual void ringDesignation(const std::string& text, int type) {
    (void)text;
    (void)type;
  }
};

// Records warnings in order; used by the headless front end and by tests.
class RecordingEvents final : public CalcEvents {
 public:
  void warning(const std::string& text) override { warnings.push_back(text); }
  void focus(InputId input) override { focused.push_back(input); }
  std::vector<std::string> warnings;
  std::vector<InputId> focused;
};

// New-project defaults: every input and flag back to its default value.
// Material strengths, ring-frame table rows, derived values, result tables and
// the loaded data are left as they are.
void assignDefaults(ProjectState& ps);

// What refreshing the main window does to the state itself: ufb is held as a
// single value from then on.
void refreshValues(ProjectState& ps);

}  // namespace orvane
