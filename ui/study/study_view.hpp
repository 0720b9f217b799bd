// What the design-study window shows of the core's results: the chart of a
// sweep, the table of its points, the CSV file of them. Nothing here
// computes a check; every number is one the sweep returned.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "project/study.hpp"
#include "ui/study/chart.hpp"

namespace orvane::ui::study {

// "Shell", "Stiffener", ... as the legend and the table name the checks.
QString checkTitle(CheckId check);
QColor checkColour(CheckId check);

// "OK", "NOT OK", "fault", "input error" (statusWord).
QString verdictText(const RowOutcome& outcome);

// The shown check with the largest uf / allowable; none when no check is
// shown or the row did not complete.
std::optional<CheckId> governingCheck(const RowOutcome& outcome);

// A crossing as its label says it: "Shell: t >= 17.302 mm".
QString crossingText(const Crossing& crossing, const StudyRange& range);

// One varied input: every check's usage factor against it, the allowable
// values as horizontal lines (as dashed series where they change along the
// input), the crossings and the project's current value (if given).
chart::Chart sweepChart(const SweepResult& result, std::optional<double> current);

// Two varied inputs: the governing usage factor over the grid, the passing
// points shaded and the contour at the allowable value. Where the checks'
// allowable values differ, the map shows uf / allowable against 1.
chart::Chart mapChart(const SweepResult& result);

// A varied profile-table row is read by its designation ("L200x90x9x12")
// on the chart's axis, not by its index in the table.
void nameTableRows(chart::Chart& chart, const SweepResult& result, const ProfileTables& tables);

// The points as CSV, as `orvane-cli sweep -o` writes them.
std::string sweepCsv(const SweepResult& result);

// The points of a sweep as a table: the varied inputs, each check's usage
// factor and allowable value, the governing check and the verdict. The
// display shows four decimals; Qt::EditRole gives the exact number.
class PointsModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void setResult(std::shared_ptr<const SweepResult> result);
  const SweepResult* result() const { return result_.get(); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::shared_ptr<const SweepResult> result_;
};

}  // namespace orvane::ui::study
