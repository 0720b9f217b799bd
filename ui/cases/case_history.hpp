// Undo and redo of the load cases table: a typed cell, rows added, deleted,
// pasted or imported, a column added. Whatever changed the table, the
// change is compared once back in the event loop with the table the last
// step left: the rows that differ (and the columns, if they changed) are
// one command. Undo puts the old rows back exactly (the text of every cell)
// and runs them again; redo the same with the new ones.
//
// The project's New and Open start a new history (reset()); so does a
// file too long to edit here, shown read-only. A change of an empty
// table's load columns (a mode's preset) is no step.
#pragma once

#include <QObject>

#include "project/load_cases.hpp"

class QUndoStack;

namespace orvane::cases {

class CaseModel;

class CaseHistory final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(CaseHistory)

 public:
  explicit CaseHistory(CaseModel& model);
  ~CaseHistory() override;

  QUndoStack* stack() const { return stack_; }
  // The change under way recorded, then the last step undone or redone.
  void undo();
  void redo();
  // The table as it is now starts a history of its own.
  void reset();

  // Whether the table is the one last marked clean (saved or opened): no
  // change waits to be recorded and the steps since were undone. Undoing
  // back to it, or redoing past it, changes the answer (cleanChanged).
  bool isClean() const;
  // The table as it is now is the clean one; a change under way is
  // recorded first.
  void setClean();
  // No table of the history is the clean one (restored unsaved work).
  void resetClean();

  // The rows [first, first + from.size()) become `to`; the columns become
  // `columns`. Used by the commands.
  void put(size_t first, const std::vector<CaseRow>& from, const std::vector<CaseRow>& to,
           const std::vector<std::string>& columns);

 signals:
  // isClean() may have changed.
  void cleanChanged();

 private:
  void request();
  void record();

  CaseModel& model_;
  QUndoStack* stack_;
  CaseTable base_;  // the table as the last step left it
  bool pending_ = false, applying_ = false;
};

}  // namespace orvane::cases
