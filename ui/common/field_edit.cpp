#include "ui/common/field_edit.hpp"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

namespace orvane::ui {

namespace {

const QColor kFocusColor(255, 255, 192);  // &HC0FFFF
const QColor kIdleColor(255, 255, 255);

void setBackground(QLineEdit* field, const QColor& c) {
  QPalette p = field->palette();
  p.setColor(QPalette::Base, c);
  field->setPalette(p);
}

}  // namespace

FieldEditor::FieldEditor(QWidget* window, LeaveSteps leave)
    : QObject(window), window_(window), leave_(std::move(leave)) {}

void FieldEditor::add(QLineEdit* field, bool selects) {
  fields_.insert(field, selects);
  field->installEventFilter(this);
}

bool FieldEditor::contains(const QObject* field) const { return fields_.contains(field); }

void FieldEditor::setIdle(QLineEdit* field) { setBackground(field, kIdleColor); }

void FieldEditor::gotFocus(QLineEdit* field) {
  editing_ = field;
  if (pending_ == field) pending_ = nullptr;
  setBackground(field, kFocusColor);
  if (!fields_.value(field, true)) return;
  field->selectAll();
  // a click places the cursor after the focus arrived, and the line edit
  // drops its selection once the focus-out that started a cycle ends:
  // select again after both
  QTimer::singleShot(0, field, [field] {
    if (field->hasFocus()) field->selectAll();
  });
}

void FieldEditor::settle(QLineEdit* field) {
  if (!field) return;
  pending_ = field;
  if (field->hasFocus()) gotFocus(field);
}

void FieldEditor::leave(QLineEdit* field) {
  busy_ = true;
  editing_ = nullptr;
  const bool back = leave_(field) != Left::Taken;
  if (back) field->setFocus(Qt::OtherFocusReason);
  busy_ = false;
  // The field now focused (the one left, or where the user went) may have
  // lost its got-focus steps to a message box of this cycle. While the
  // window is not active again, it is the window's focus child.
  auto* now = qobject_cast<QLineEdit*>(window_->focusWidget());
  if (back)
    settle(field);
  else if (now && now != field && contains(now))
    settle(now);
}

bool FieldEditor::finishEdit(bool stay) {
  QLineEdit* field = editing_;
  if (!field || busy_) return true;
  busy_ = true;
  editing_ = nullptr;
  const Left left = leave_(field);
  busy_ = false;
  if (stay && field->hasFocus()) gotFocus(field);
  return left != Left::NotTaken;
}

Left FieldEditor::type(QLineEdit* field, const QString& text) {
  finishEdit();
  busy_ = true;
  field->setText(text);
  const Left left = leave_(field);
  busy_ = false;
  return left;
}

bool FieldEditor::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::FocusIn && type != QEvent::FocusOut) || busy_ || !contains(watched))
    return false;
  auto* field = static_cast<QLineEdit*>(watched);
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  const bool windowOrMenu = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
  if (type == QEvent::FocusIn) {
    // coming back from another window is no new edit, unless none runs yet
    // (start-up) or the steps are owed after a message box
    if (!windowOrMenu || pending_ == field || editing_ != field) gotFocus(field);
  } else if (!windowOrMenu) {
    leave(field);
  }
  return false;
}

}  // namespace orvane::ui
