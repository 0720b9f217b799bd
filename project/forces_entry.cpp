#include "project/forces_entry.hpp"

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>

#include "model/format.hpp"

namespace orvane {

namespace {

Error refused(std::string text) { return Error{ErrorKind::Damaged, "", 0, std::move(text)}; }

// The ratio a check is ranked by; a NaN or a check without an allowable
// value never governs.
double ratioOf(const CheckValue& v) {
  if (!v.shown || !(v.allow > 0) || std::isnan(v.uf))
    return -std::numeric_limits<double>::infinity();
  return v.uf / v.allow;
}

}  // namespace

Result<ForcesEntry> enterForces(const OpenedProject& base, const SectionForces& forces,
                                std::optional<double> degrees) {
  std::vector<std::string> columns(kForceNames.begin(), kForceNames.end());
  auto engine = ForceEngine::create(base, columns);
  if (!engine) return engine.error();
  const ForceEngine& e = engine.value();
  // the forces as a row of the table: texts that read back exactly
  SectionForces f = forces;
  std::vector<std::string> texts;
  for (size_t i = 0; i < kForceNames.size(); ++i) texts.push_back(shortestText(f[i]));
  const std::vector<std::string_view> row(texts.begin(), texts.end());
  RowScratch scratch;

  ForcesEntry entry;
  if (!degrees) {
    ForceOutcome run = e.run(row, scratch);
    entry.outcome = std::move(run.outcome);
    entry.points = run.points;
  } else {
    entry.fixed = true;
    RowOutcome probe;
    const TubeWall w = e.wall({}, scratch, probe);
    if (!probe.inputError.empty()) return refused(probe.inputError);
    if (!(w.r > 0 && w.t > 0 && w.te > 0 && std::isfinite(w.te)))
      return refused(probe.fault.empty() ? "section forces need a wall: r, t and s above 0"
                                         : probe.fault);
    const double theta = *degrees * (std::numbers::pi / 180);
    entry.outcome = e.at({}, f, w, theta, scratch);
    // the stresses as the run stored them
    const ProjectState& ps = scratch.state();
    entry.chosen = GoverningPoint{degreesOf(theta), ps.sigx, static_cast<double>(ps.tau)};
    entry.points.fill(entry.chosen);
  }
  const RowOutcome& o = entry.outcome;
  if (!o.inputError.empty()) return refused(o.inputError);
  if (!o.fault.empty()) return refused(o.fault);
  double worst = -std::numeric_limits<double>::infinity();
  for (const CheckId c : e.checks()) {
    if (!o[c].shown) continue;
    entry.checks.push_back(c);
    const double r = ratioOf(o[c]);
    if (!entry.fixed && (!entry.governing || r > worst)) {
      entry.governing = c;
      worst = r;
    }
  }
  if (entry.governing) entry.chosen = entry.points[static_cast<size_t>(*entry.governing)];
  return entry;
}

}  // namespace orvane
