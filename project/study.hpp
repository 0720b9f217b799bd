// Design studies over one opened project: how the usage factors move when
// one or two inputs run over a grid (sweep), and the lightest design of a
// grid of free inputs that passes every check (optimise).
//
// Every point and every candidate is a row of a RowEngine: the base project
// with the point's values stored as if typed, one calculation run without
// texts. Its numbers are those of `orvane-cli check FILE --set ...` with the
// same values, bit for bit; nothing here computes a check of its own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/codes.hpp"
#include "model/project_state.hpp"
#include "model/result.hpp"
#include "model/stop_token.hpp"
#include "project/member_forces.hpp"
#include "project/opened_project.hpp"
#include "project/row_engine.hpp"

namespace orvane {

// Every error of a study is a Result error whose `message` says what is
// wrong, ready to show (its `file` is empty).

// More points or candidates than this are refused: a study is meant to
// finish while one waits for it.
inline constexpr uint64_t kMaxStudyPoints = 10'000'000;

// NAME=FROM:TO:STEP: the values FROM, FROM+STEP, ... up to TO (TO itself
// when it lies on the grid, within a billionth of a step). NAME is an input
// or, for a sweep, a section force (member_forces.hpp).
struct StudyRange {
  std::string name;
  double from = 0, to = 0, step = 0;

  uint64_t count() const;
  // The i-th value, rounded to 12 significant digits so that 0.1 steps give
  // the numbers one would type (and print back to the same double).
  double value(uint64_t i) const;
};

// Reads NAME=FROM:TO:STEP; the error says what is wrong with it (shape, a
// number, FROM > TO, STEP <= 0, too many points, an unknown name, a
// fraction for an integer input).
Result<StudyRange> parseRange(std::string_view text);

// The ranges of one study together: known names, none twice, at most
// kMaxStudyPoints points in all. Returns the problem.
std::optional<std::string> checkRanges(const std::vector<StudyRange>& ranges);

// The names a sweep may vary: the input names (set_values.hpp), then the
// section forces that are no input (M1 M2 T Q1 Q2).
std::vector<std::string> sweepNames();

// The value an input holds in `ps` (the window's current value on a chart);
// 0 for a section force that is no input (M1 ... Q2); none for an unknown
// name.
std::optional<double> inputValue(const ProjectState& ps, std::string_view name);

// Called now and then from the calling thread: points (candidates) done of
// the total.
using StudyProgress = std::function<void(uint64_t done, uint64_t total)>;

// ---------------------------------------------------------------- sweep

struct SweepPoint {
  std::array<double, 2> values{};  // one per range; the second is 0 for one range
  RowOutcome outcome;
  GoverningPoints points{};  // a sweep of section forces: each check's point
};

// Where a check's usage factor crosses its allowable value between two grid
// points of a one-input sweep, found by bisection. Only where both points
// show the check and ran without a fault; a usage factor that crosses and
// crosses back between two grid points shows no crossing there.
struct Crossing {
  enum class Direction : uint8_t {
    Rising,   // passes below `value`, exceeded above (uf grows with the input)
    Falling,  // exceeded below, passes from `value` on
  };
  CheckId check{};
  Direction direction{};
  double value = 0;     // the passing end of the final bracket
  double exceeded = 0;  // its other end: |exceeded - value| <= 1e-6 step, or the
                        // nearest value the input stores differently
  size_t point = 0;     // the crossing lies between points[point] and [point + 1]
  CheckValue atPassing, atExceeded;
};

struct SweepResult {
  std::vector<StudyRange> ranges;
  std::vector<CheckId> checks;  // the checks the rows can show (RowEngine::checks)
  // The rows hold section forces (loadKind): each point scans the
  // circumference and each check's value is that of its governing point.
  bool forces = false;
  // Row-major: with two ranges, points[i * ranges[1].count() + j] holds
  // ranges[0].value(i), ranges[1].value(j).
  std::vector<SweepPoint> points;
  std::vector<Crossing> crossings;  // one-input sweeps only, by point then check
  bool stopped = false;             // the stop token ended the sweep early
};

// Sweeps one or two ranges over `base` (the project as opened); `fixed` are NAME=VALUE settings
// stored in every row before the varied values. `jobs` threads (0: one per core).
Result<SweepResult> sweep(const OpenedProject& base, const std::vector<StudyRange>& ranges,
                          const std::vector<std::string>& fixed = {}, int jobs = 0,
                          const StudyProgress& progress = {}, StopToken stop = {});

// The same, handing each point to `point` in grid order instead of keeping
// them (a CSV of ten million rows), with the result so far (ranges, checks,
// the crossings up to the point); the result's `points` stays empty.
using SweepSink = std::function<void(const SweepResult& sofar, const SweepPoint& point)>;
Result<SweepResult> sweepStream(const OpenedProject& base, const std::vector<StudyRange>& ranges,
                                const std::vector<std::string>& fixed, int jobs,
                                const SweepSink& point, const StudyProgress& progress = {},
                                StopToken stop = {});

// ------------------------------------------------------------- optimise

// A free profile choice: any row of the named tables for the stiffener or
// the ring frame. Written stiffener=TABLE or ring=TABLE, TABLE one of bulb,
// l, t, flat or all.
struct ProfileFreedom {
  Member member = Member::Stiffener;
  std::vector<ProfileType> tables;  // table types only: BulbFlat, LTable, TTable, FlatBarTable
};
Result<ProfileFreedom> parseProfileFreedom(std::string_view text);

// One `--free` argument: a grid NAME=FROM:TO:STEP or a profile choice.
Result<std::variant<StudyRange, ProfileFreedom>> parseFree(std::string_view text);

struct OptimiseSpec {
  std::vector<StudyRange> grids;
  std::vector<ProfileFreedom> profiles;
  std::vector<std::string> fixed;  // NAME=VALUE stored in every candidate first
  size_t top = 10;                 // how many passing designs to keep
};

// Steel mass per metre of cylinder (kg/m, 7850 kg/m3): the shell 2 pi r t;
// for a stringer-stiffened cylinder the stiffeners As 2 pi r / s; for a ring-
// or stringer-stiffened cylinder the ring frames Ag 2 pi rc / l, rc the
// radius of the ring frame's centroid (r - t/2 - zcg inside, r + t/2 + zcg
// outside). As, Ag and zcg are those of the section routines for the
// state's profiles; none when a section routine faults.
std::optional<double> steelMass(const ProjectState& ps);

struct Design {
  uint64_t candidate = 0;      // the candidate's index in the search grid
  std::vector<double> values;  // one per OptimiseResult::columns
  double mass = 0;             // kg/m
  CheckId governing{};         // the shown check with the largest uf / allow
  double uf = 0, allow = 0;
  std::string stiffener, ring;  // profile designations where free
  RowOutcome outcome;
};

struct OptimiseResult {
  // The inputs a design sets: the grid names, then per free profile
  // cbostiff / cboring and the table-row inputs (stiff_row_bulb, ...).
  std::vector<std::string> columns;
  std::vector<CheckId> checks;
  std::vector<Design> designs;  // the lightest passing ones, lightest first
  uint64_t candidates = 0;      // size of the search grid
  uint64_t evaluated = 0;       // candidates run before the search could stop
  bool stopped = false;         // the stop token ended the search early
};

// Searches the grid exhaustively in ascending order of mass (ties by
// candidate index) and stops once `top` designs pass: every candidate not
// run is at least as heavy as the last design kept. No other pruning.
Result<OptimiseResult> optimise(const OpenedProject& base, const OptimiseSpec& search, int jobs = 0,
                                const StudyProgress& progress = {}, StopToken stop = {});

// A design as NAME=VALUE settings (the fixed ones first), to store through
// Session::set or to type into the window; of the table-row inputs only
// that of the table the design uses.
std::vector<std::string> designSettings(const OptimiseSpec& search, const OptimiseResult& result,
                                        const Design& design);

}  // namespace orvane
