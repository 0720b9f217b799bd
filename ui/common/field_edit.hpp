// The edit cycle of the text fields, shared by the main window and the
// profile windows.
//
// Got focus: the focus colour and, for number fields, the whole text
// selected so that typing replaces it. Lost focus: the window's own steps
// (read, store, show, test, calculate), which may warn and send the focus
// back; the field that then has the focus gets its got-focus steps again,
// also when the focus only arrives once a message box has closed and the
// window is active again. While a cycle runs, the focus moves it causes
// start no other cycle. Switching windows or opening a menu is not leaving
// a field.
#pragma once

#include <QHash>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <functional>

namespace orvane::ui {

// How a field's lost-focus steps ended.
enum class Left {
  Taken,      // the text was read and stored (tests passed or warned)
  FocusBack,  // as Taken, but a failed test sends the focus back
  NotTaken,   // the text is not a number: the value is kept, focus back
};

class FieldEditor final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(FieldEditor)

 public:
  using LeaveSteps = std::function<Left(QLineEdit*)>;

  FieldEditor(QWidget* window, LeaveSteps leave);

  // Puts a field under the cycle; a text field (selects false) only takes
  // the focus colour.
  void add(QLineEdit* field, bool selects = true);
  bool contains(const QObject* field) const;

  // A cycle of the window's own (Enter reading a field) runs: no field's
  // cycle starts meanwhile.
  bool busy() const { return busy_; }
  void setBusy(bool on) { busy_ = on; }

  // The field being edited (got focus, not yet left), if any.
  // Runs the lost-focus steps of the field being edited now, as leaving it
  // would, before an action that uses the stored values. The focus stays;
  // with `stay` the field shows the focus state again afterwards. False when
  // the text could not be taken.
  bool finishEdit(bool stay = true);

  // Types `text` into `field` from outside (a design of the study window)
  // and runs its lost-focus steps as leaving it would; the focus stays
  // where it is. The field being edited is finished first.
  Left type(QLineEdit* field, const QString& text);

  void gotFocus(QLineEdit* field);
  static void setIdle(QLineEdit* field);
  // After a cycle that may have shown a message box: the got-focus steps of
  // `field` run now if it has the focus, else once the focus arrives.
  void settle(QLineEdit* field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void leave(QLineEdit* field);

  QWidget* window_;
  LeaveSteps leave_;
  QHash<const QObject*, bool> fields_;  // field -> selects its text
  QPointer<QLineEdit> editing_;
  QPointer<QLineEdit> pending_;  // got-focus steps owed once the focus arrives
  bool busy_ = false;
};

}  // namespace orvane::ui
