// Section forces as the loads of a row: the axial force, moments, torque
// and shear forces of a thin-walled tube turned into the axial and shear
// stress at a point of the circumference, and the point of each check
// where its usage factor is largest.
//
// Units as the column mode's: N, Q1, Q2 in kN, M1, M2, T in kNm, r and t in
// mm, stresses in MPa; compression negative. At the angle θ:
//   σx(θ) = 1000·N/(2π·r·te) + 10⁶·(M1·sin θ − M2·cos θ)/(π·r²·te)
//   τ(θ)  = 10⁶·T/(2π·r²·t) + 1000·(Q1·cos θ + Q2·sin θ)/(π·r·t)
// with te = t + As/s for a stringer-stiffened cylinder (As the stiffener's
// area without plate, s the spacing) and te = t otherwise.
//
// The stresses are computed in double and stored as a typed value is
// stored (sigx and tau through the input table), so every point a row
// reports is the row's other values followed by `--set sigx=... --set
// tau=...` with the printed texts: the row engine computes every point.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/panels.hpp"
#include "model/project_state.hpp"
#include "model/result.hpp"
#include "project/opened_project.hpp"
#include "project/row_engine.hpp"

namespace orvane {

// The load-table columns of section forces, in this order.
inline constexpr std::array<std::string_view, 6> kForceNames{"N", "M1", "M2", "T", "Q1", "Q2"};

// Whether `name` is one of them.
bool isForceName(std::string_view name);

struct SectionForces {
  double N = 0, M1 = 0, M2 = 0, T = 0, Q1 = 0, Q2 = 0;
  double& operator[](size_t i);
};

// The walls the forces act on (mm): te carries the axial force and the
// moments, t the torque and the shear forces.
struct TubeWall {
  double r = 0, t = 0, te = 0;
};
TubeWall tubeWall(const ProjectState& ps);

struct PointStresses {
  double sigx = 0, tau = 0;
};
// The stresses at `theta` (radians), in double.
PointStresses stressesAt(const SectionForces& f, const TubeWall& w, double theta);

// Where a check's usage factor is largest: the angle in degrees (0 to
// 360) and the stresses as stored there (single values, in double).
struct GoverningPoint {
  double theta = 0, sigx = 0, tau = 0;
};
using GoverningPoints = std::array<GoverningPoint, kCheckCount>;

// A row of forces: each check's value is that of its governing point.
struct ForceOutcome {
  RowOutcome outcome;
  GoverningPoints points{};
  int evaluations = 0;  // runs of the row engine the row took
};

// How a table loads its rows. A shell mode (cylinder types 0 to 2) takes
// section forces when a column is one of M1 M2 T Q1 Q2, or N without sigx
// and tau (N beside sigx, tau or cyltype stays the column mode's input, as
// before);
// force columns beside sigx or tau, a cylinder-type column beside force
// columns and M1 M2 T Q1 Q2 in the column mode are refused, naming the
// columns.
enum class LoadKind { Stresses, Forces };
Result<LoadKind> loadKind(const ProjectState& base, const std::vector<std::string>& columns);

class ForceEngine {
 public:
  // `columns`: the table's input columns (the case column aside), of a
  // table loadKind finds to hold forces. Any other column is an input name.
  static Result<ForceEngine> create(const OpenedProject& base,
                                    const std::vector<std::string>& columns);

  const std::vector<CheckId>& checks() const { return engine_.checks(); }
  // The table's input columns it was made for.
  size_t columnCount() const { return force_.size(); }

  // One row of texts, one per column. An empty force cell is 0; an empty
  // other cell keeps the project's value. A force that is no number is an
  // input error of its column.
  ForceOutcome run(std::span<const std::string_view> values, RowScratch& scratch) const;
  // The same with numbers (a study's points), each read as its shortest
  // text, which reads back to the same number.
  ForceOutcome run(std::span<const double> values, RowScratch& scratch) const;

  // The row's other cells and its forces; the stresses at `theta` (radians)
  // stored after them: one run of the row engine.
  RowOutcome at(std::span<const std::string_view> others, const SectionForces& f, const TubeWall& w,
                double theta, RowScratch& scratch) const;
  // The wall after the row's other cells (their input error or fault, if
  // any; no rule notes), which `scratch` keeps for the points of the row.
  TubeWall wall(std::span<const std::string_view> others, RowScratch& scratch,
                RowOutcome& probe) const;
  // The stresses of a point as stored (single values).
  static PointStresses stored(const PointStresses& p);

  // Splits a row into its other cells and its forces; false with the input
  // error in `bad` when a force is no number.
  bool split(std::span<const std::string_view> values, std::vector<std::string_view>& others,
             SectionForces& f, RowOutcome& bad) const;

 private:
  explicit ForceEngine(RowEngine engine) : engine_(std::move(engine)) {}

  RowEngine engine_;          // the other columns, then sigx and tau
  std::vector<int> force_;    // per column: the force's index, or -1
  std::vector<int> otherOf_;  // per column of the engine: the table's column
};

// The angle in degrees of a row's point (0 <= theta < 360).
double degreesOf(double theta);

}  // namespace orvane
