#include "ui/cases/case_history.hpp"

#include <QScopeGuard>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <utility>

#include "ui/cases/case_model.hpp"

namespace orvane::cases {

namespace {

std::string cellOf(const CaseRow& row, size_t column) {
  if (column == 0) return row.name;
  return column - 1 < row.values.size() ? row.values[column - 1] : std::string();
}

bool sameRow(const CaseRow& a, const CaseRow& b, size_t columns) {
  for (size_t c = 0; c <= columns; ++c)
    if (cellOf(a, c) != cellOf(b, c)) return false;
  return true;
}

// The rows from `first` on that a step replaced, before and after it.
class TableStep final : public QUndoCommand {
 public:
  TableStep(CaseHistory& history, const QString& text, size_t first, std::vector<CaseRow> before,
            std::vector<CaseRow> after, std::vector<std::string> columnsBefore,
            std::vector<std::string> columnsAfter)
      : QUndoCommand(text),
        history_(history),
        first_(first),
        before_(std::move(before)),
        after_(std::move(after)),
        columnsBefore_(std::move(columnsBefore)),
        columnsAfter_(std::move(columnsAfter)) {}
  void undo() override { history_.put(first_, after_, before_, columnsBefore_); }
  void redo() override {
    // pushed after the step was made: the first redo has nothing to do
    if (std::exchange(pushed_, true)) history_.put(first_, before_, after_, columnsAfter_);
  }

 private:
  CaseHistory& history_;
  size_t first_;
  std::vector<CaseRow> before_, after_;
  std::vector<std::string> columnsBefore_, columnsAfter_;
  bool pushed_ = false;
};

}  // namespace

CaseHistory::CaseHistory(CaseModel& model)
    : QObject(&model), model_(model), stack_(new QUndoStack(this)) {
  connect(&model_, &CaseModel::tableChanged, this, &CaseHistory::request);
  connect(stack_, &QUndoStack::cleanChanged, this, &CaseHistory::cleanChanged);
  base_ = model_.table();
}

CaseHistory::~CaseHistory() = default;

void CaseHistory::request() {
  if (pending_ || applying_) return;
  pending_ = true;
  QMetaObject::invokeMethod(
      this, [this] { record(); }, Qt::QueuedConnection);
}

void CaseHistory::reset() {
  pending_ = false;
  base_ = model_.table();
  stack_->clear();
}

bool CaseHistory::isClean() const { return !pending_ && stack_->isClean(); }

void CaseHistory::setClean() {
  record();
  stack_->setClean();
}

void CaseHistory::resetClean() { stack_->resetClean(); }

void CaseHistory::record() {
  if (!pending_) return;
  // a change that made no step leaves the table as clean as it was
  const QScopeGuard settled([this] { emit cleanChanged(); });
  pending_ = false;
  const CaseTable& now = model_.table();
  if (model_.readOnly()) {
    // a file too long to edit, taken into the table, is no saved one
    reset();
    resetClean();
    return;
  }
  // an empty table's columns follow the project's mode: no step of its own
  if (now.rows.empty() && base_.rows.empty()) {
    base_ = now;
    return;
  }
  const bool sameColumns = now.columns == base_.columns;
  const size_t columns = std::max(now.columns.size(), base_.columns.size());
  size_t first = 0, lastNow = now.rows.size(), lastBase = base_.rows.size();
  if (sameColumns) {
    while (first < lastNow && first < lastBase &&
           sameRow(now.rows[first], base_.rows[first], columns))
      ++first;
    while (lastNow > first && lastBase > first &&
           sameRow(now.rows[lastNow - 1], base_.rows[lastBase - 1], columns))
      --lastNow, --lastBase;
    if (first == lastNow && first == lastBase) return;  // nothing changed
  }
  std::vector<CaseRow> before(base_.rows.begin() + static_cast<ptrdiff_t>(first),
                              base_.rows.begin() + static_cast<ptrdiff_t>(lastBase));
  std::vector<CaseRow> after(now.rows.begin() + static_cast<ptrdiff_t>(first),
                             now.rows.begin() + static_cast<ptrdiff_t>(lastNow));
  const QString text = !sameColumns                    ? QStringLiteral("columns")
                       : before.size() == after.size() ? QStringLiteral("cells")
                       : after.size() > before.size()  ? QStringLiteral("rows added")
                                                       : QStringLiteral("rows deleted");
  stack_->push(new TableStep(*this, text, first, std::move(before), std::move(after), base_.columns,
                             now.columns));
  base_ = now;
}

void CaseHistory::undo() {
  record();
  stack_->undo();
}

void CaseHistory::redo() {
  record();
  stack_->redo();
}

void CaseHistory::put(size_t first, const std::vector<CaseRow>& from,
                      const std::vector<CaseRow>& to, const std::vector<std::string>& columns) {
  applying_ = true;
  const size_t rows = model_.table().rows.size() - from.size() + to.size();
  auto rowsInPlace = [&] {
    const CaseTable& now = model_.table();
    if (now.columns != columns || now.rows.size() != rows) return false;
    for (size_t i = 0; i < to.size(); ++i)
      if (!sameRow(now.rows[first + i], to[i], columns.size())) return false;
    return true;
  };
  if (columns == model_.table().columns && from.size() == to.size()) {
    // the same rows: each changed cell typed back, and its row run again
    for (size_t i = 0; i < to.size(); ++i)
      for (size_t c = 0; c <= columns.size(); ++c) {
        const std::string text = cellOf(to[i], c);
        if (text == cellOf(from[i], c)) continue;
        model_.setData(model_.index(static_cast<int>(first + i), static_cast<int>(c)),
                       QString::fromStdString(text));
      }
  }
  // rows added or removed, columns changed, or a cell the typing would
  // have written otherwise: the table is put back whole and runs again
  if (!rowsInPlace()) {
    CaseTable table = model_.table();
    table.columns = columns;
    const auto at = table.rows.begin() + static_cast<ptrdiff_t>(first);
    table.rows.erase(at,
                     at + static_cast<ptrdiff_t>(std::min(from.size(), table.rows.size() - first)));
    table.rows.insert(table.rows.begin() + static_cast<ptrdiff_t>(first), to.begin(), to.end());
    model_.setTable(std::move(table));
  }
  base_ = model_.table();
  pending_ = false;
  applying_ = false;
}

}  // namespace orvane::cases
