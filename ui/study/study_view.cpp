#include "ui/study/study_view.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <sstream>

#include "project/input_names.hpp"
#include "project/inputs.hpp"
#include "project/study_csv.hpp"
#include "sections/profile_tables.hpp"

namespace orvane::ui::study {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The value axis and the colour scale reach this many allowable values.
constexpr double kAxisLimit = 4;

bool completed(const RowOutcome& o) {
  const auto s = o.status();
  return s == RowOutcome::Status::Passed || s == RowOutcome::Status::Failed;
}

// The varied input as the user reads it, with its unit.
QString name(const StudyRange& r) {
  const InputDef* in = findInput(r.name);
  return QString::fromStdString(in ? displayName(in->id) : r.name);
}

// The allowable values of the checks, if each check's value is the same at
// every completed point: check -> allowable.
std::optional<std::map<CheckId, double>> constantAllowables(const SweepResult& r) {
  std::map<CheckId, double> allow;
  for (const SweepPoint& p : r.points) {
    if (!completed(p.outcome)) continue;
    for (CheckId c : r.checks) {
      const CheckValue& v = p.outcome[c];
      if (!v.shown) continue;
      const auto [it, fresh] = allow.emplace(c, v.allow);
      if (!fresh && it->second != v.allow) return std::nullopt;
    }
  }
  return allow;
}

// The stiffener check does not run where s/t > 3*sqrt(r/t) (the cylinder is
// calculated as unstiffened): each stretch of completed points without it
// is a band that says so, instead of a silent gap in its line.
void addNotRun(chart::Chart& c, const SweepResult& r) {
  std::optional<chart::Band> band;
  const auto close = [&] {
    if (band) c.bands.push_back(*band);
    band.reset();
  };
  for (const SweepPoint& p : r.points) {
    if (!completed(p.outcome)) continue;
    if (p.outcome[CheckId::Stiffener].shown) {
      close();
      continue;
    }
    const double x = p.values[0];
    if (!band)
      band = chart::Band{x, x, QStringLiteral("Stiffener not run: s/t > 3\u00B7\u221A(r/t)")};
    band->to = x;
  }
  close();
}

}  // namespace

void nameTableRows(chart::Chart& c, const SweepResult& r, const ProfileTables& tables) {
  for (size_t axis = 0; axis < std::min<size_t>(2, r.ranges.size()); ++axis) {
    const InputDef* in = findInput(r.ranges[axis].name);
    if (!in || in->kind != InputKind::Integer) continue;
    const ProfileTable* table = nullptr;
    ProfileKind kind{};
    switch (in->domain) {
      case Domain::BulbRow:
        table = &tables.bulb, kind = ProfileKind::BulbFlat;
        break;
      case Domain::LRow:
        table = &tables.l, kind = ProfileKind::L;
        break;
      case Domain::TRow:
        table = &tables.t, kind = ProfileKind::T;
        break;
      case Domain::FlatRow:
        table = &tables.flat, kind = ProfileKind::FlatBar;
        break;
      default:
        break;
    }
    if (!table) continue;
    const std::vector<std::string> names = profileList(*table, kind);
    auto& out = axis == 0 ? c.xNames : c.yNames;
    for (size_t row = 0; row < names.size(); ++row)
      out[static_cast<double>(row)] = QString::fromStdString(names[row]);
  }
}

QString checkTitle(CheckId check) { return QString::fromLatin1(checkCaption(check)); }

QColor checkColour(CheckId check) {
  static const QColor colours[kCheckCount] = {QColor(0, 90, 200),  QColor(230, 120, 0),
                                              QColor(0, 150, 70),  QColor(140, 60, 170),
                                              QColor(200, 40, 40), QColor(100, 100, 100)};
  return colours[static_cast<size_t>(check) % kCheckCount];
}

QString verdictText(const RowOutcome& outcome) {
  return QString::fromLatin1(statusWord(outcome.status()));
}

std::optional<CheckId> governingCheck(const RowOutcome& outcome) {
  if (!completed(outcome)) return std::nullopt;
  std::optional<CheckId> best;
  double ratio = -std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < outcome.checks.size(); ++i) {
    const CheckValue& v = outcome.checks[i];
    if (!v.shown || v.allow == 0) continue;
    if (v.uf / v.allow > ratio) {
      ratio = v.uf / v.allow;
      best = static_cast<CheckId>(i);
    }
  }
  return best;
}

QString crossingText(const Crossing& c, const StudyRange& range) {
  // three digits finer than the grid: the crossing is known to 1e-6 step
  const int decimals = chart::decimalsOf(range.step) + 3;
  const QChar sign = c.direction == Crossing::Direction::Falling ? QChar(0x2265) : QChar(0x2264);
  // the input's symbol and unit keep the label short beside its mark
  const InputDef* in = findInput(range.name);
  const std::string_view u = in ? inputCaption(in->id).unit : std::string_view();
  const QString unit = QString::fromUtf8(u.data(), static_cast<qsizetype>(u.size()));
  return QStringLiteral("%1: %2 %3 %4%5")
      .arg(checkTitle(c.check), QString::fromStdString(range.name), sign,
           QString::number(c.value, 'f', decimals),
           unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

chart::Chart sweepChart(const SweepResult& r, std::optional<double> current) {
  chart::Chart c;
  if (r.ranges.empty()) return c;
  const StudyRange& range = r.ranges[0];
  c.title = QStringLiteral("Usage factors against %1").arg(name(range));
  c.xLabel = name(range);
  c.yLabel = QStringLiteral("usage factor");
  c.yFromZero = true;
  const auto allow = constantAllowables(r);
  for (CheckId check : r.checks) {
    chart::Series s{checkTitle(check), checkColour(check), {}};
    chart::Series limit{
        QStringLiteral("allowable, %1").arg(checkTitle(check)), checkColour(check), {}, true};
    bool shown = false;
    for (const SweepPoint& p : r.points) {
      const CheckValue& v = p.outcome[check];
      const bool ok = completed(p.outcome) && v.shown;
      shown = shown || ok;
      s.points.emplace_back(p.values[0], ok ? v.uf : kNaN);
      limit.points.emplace_back(p.values[0], ok ? v.allow : kNaN);
    }
    // (a sweep of the cylinder type lists every check, wanted or not)
    if (check == CheckId::Stiffener && range.name != "cyltype") addNotRun(c, r);
    if (!shown) continue;
    c.series.push_back(std::move(s));
    if (!allow) c.series.push_back(std::move(limit));
  }
  if (allow) {
    // one line per allowable value, naming its checks when they differ
    std::map<double, QStringList> lines;
    for (const auto& [check, value] : *allow) lines[value] << checkTitle(check);
    for (const auto& [value, checks] : lines) {
      QString label = QStringLiteral("allowable %1").arg(value, 0, 'f', 2);
      if (lines.size() > 1) label += QStringLiteral(" (%1)").arg(checks.join(QStringLiteral(", ")));
      c.refLines.push_back({value, label, QColor(128, 0, 0)});
    }
  }
  // a usage factor far above its allowable value would flatten the rest:
  // the axis ends at four times the largest allowable value
  double most = 0;
  for (const chart::RefLine& l : c.refLines) most = std::max(most, l.y);
  for (const chart::Series& s : c.series)
    if (s.dashed)
      for (const QPointF& p : s.points)
        if (std::isfinite(p.y())) most = std::max(most, p.y());
  if (most > 0) c.yLimit = kAxisLimit * most;
  for (const Crossing& x : r.crossings)
    c.markers.push_back({chart::Marker::Point, QPointF(x.value, x.atPassing.allow),
                         crossingText(x, range), checkColour(x.check).darker(130)});
  if (current)
    c.markers.push_back({chart::Marker::Vertical, QPointF(*current, 0),
                         QStringLiteral("current %1 = %2").arg(name(range)).arg(*current),
                         QColor(60, 60, 60)});
  return c;
}

chart::Chart mapChart(const SweepResult& r) {
  chart::Chart c;
  if (r.ranges.size() < 2) return c;
  const size_t nx = r.ranges[0].count(), ny = r.ranges[1].count();
  if (r.points.size() != nx * ny) return c;
  const auto allow = constantAllowables(r);
  // one allowable value for every check: the map shows usage factors
  // against it, else uf / allowable against 1
  bool ratio = !allow || allow->empty();
  double level = 1;
  if (!ratio) {
    level = allow->begin()->second;
    for (const auto& entry : *allow) ratio = ratio || entry.second != level;
    if (ratio) level = 1;
  }
  c.title = QStringLiteral("Governing usage factor over %1 and %2")
                .arg(name(r.ranges[0]), name(r.ranges[1]));
  c.xLabel = name(r.ranges[0]);
  c.yLabel = name(r.ranges[1]);
  c.valueLabel = ratio ? QStringLiteral("uf / allowable") : QStringLiteral("usage factor");
  chart::Grid g;
  g.level = level;
  if (g.level > 0) g.limit = kAxisLimit * g.level;
  for (size_t i = 0; i < nx; ++i) g.xs.push_back(r.points[i * ny].values[0]);
  for (size_t j = 0; j < ny; ++j) g.ys.push_back(r.points[j].values[1]);
  g.values.resize(nx * ny, kNaN);
  g.passing.resize(nx * ny, 0);
  for (size_t i = 0; i < nx; ++i) {
    for (size_t j = 0; j < ny; ++j) {
      const RowOutcome& o = r.points[i * ny + j].outcome;
      const size_t at = j * nx + i;
      g.passing[at] = o.status() == RowOutcome::Status::Passed ? 1 : 0;
      if (const auto gov = governingCheck(o)) {
        const CheckValue& v = o[*gov];
        g.values[at] = ratio ? v.uf / v.allow : v.uf;
      }
    }
  }
  c.map = std::move(g);
  return c;
}

std::string sweepCsv(const SweepResult& r) {
  std::ostringstream out;
  writeSweepHeader(out, r);
  for (const SweepPoint& p : r.points) writeSweepRow(out, r, p);
  return out.str();
}

// ------------------------------------------------------------ PointsModel

namespace {

// Columns per check: usage factor and allowable value, and for section
// forces the governing angle.
size_t perCheck(const SweepResult& r) { return r.forces ? 3 : 2; }

}  // namespace

void PointsModel::setResult(std::shared_ptr<const SweepResult> result) {
  beginResetModel();
  result_ = std::move(result);
  endResetModel();
}

int PointsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !result_ ? 0 : static_cast<int>(result_->points.size());
}

int PointsModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid() || !result_) return 0;
  return static_cast<int>(result_->ranges.size() + perCheck(*result_) * result_->checks.size() + 2);
}

QVariant PointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || !result_) return {};
  if (orientation == Qt::Vertical) return section + 1;
  const auto s = static_cast<size_t>(section);
  const size_t nr = result_->ranges.size(), nc = result_->checks.size();
  const size_t per = perCheck(*result_);
  if (s < nr) return name(result_->ranges[s]);
  if (s < nr + per * nc) {
    const CheckId c = result_->checks[(s - nr) / per];
    const char* const part[] = {"uf", "allow", "\u03b8 (deg)"};
    return QStringLiteral("%1 %2").arg(checkTitle(c), QString::fromUtf8(part[(s - nr) % per]));
  }
  return s == nr + per * nc ? QStringLiteral("governing") : QStringLiteral("verdict");
}

QVariant PointsModel::data(const QModelIndex& index, int role) const {
  if (!result_ || !index.isValid() ||
      (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole &&
       role != Qt::ForegroundRole))
    return {};
  const SweepPoint& p = result_->points[static_cast<size_t>(index.row())];
  const auto s = static_cast<size_t>(index.column());
  const size_t nr = result_->ranges.size(), nc = result_->checks.size();
  const size_t per = perCheck(*result_);
  if (role == Qt::ForegroundRole) {
    if (s != nr + per * nc + 1) return {};
    return p.outcome.status() == RowOutcome::Status::Passed ? QColor(0, 128, 0) : QColor(128, 0, 0);
  }
  if (role == Qt::ToolTipRole) {
    if (!p.outcome.fault.empty()) return QString::fromStdString(p.outcome.fault);
    if (!p.outcome.inputError.empty()) return QString::fromStdString(p.outcome.inputError);
    return {};
  }
  if (s < nr) return p.values[s];
  if (s < nr + per * nc) {
    const CheckId c = result_->checks[(s - nr) / per];
    const CheckValue& v = p.outcome[c];
    if (!v.shown || !completed(p.outcome)) return {};
    const size_t part = (s - nr) % per;
    const double x = part == 0   ? v.uf
                     : part == 1 ? v.allow
                                 : p.points[static_cast<size_t>(c)].theta;
    if (role == Qt::EditRole) return x;
    return QString::number(x, 'f', part == 2 ? 2 : 4);
  }
  if (s == nr + per * nc) {
    const auto g = governingCheck(p.outcome);
    return g ? checkTitle(*g) : QString();
  }
  return verdictText(p.outcome);
}

}  // namespace orvane::ui::study
