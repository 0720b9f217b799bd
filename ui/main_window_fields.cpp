// The edit cycle of the fields and the Enter chain, driven by the field
// table. A field's cycle may open a message box and move the focus; while it
// runs, the focus events it causes start no other field's cycle.
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <cmath>
#include <cstring>

#include "ui/field_table.hpp"
#include "ui/main_window.hpp"
#include "ui/message_box.hpp"
#include "ui/read_number.hpp"

namespace orvane::ui {

namespace {

const QColor kFocusColor(255, 255, 192);  // &HC0FFFF
const QColor kIdleColor(255, 255, 255);

void setBackground(QLineEdit* field, const QColor& c) {
  QPalette p = field->palette();
  p.setColor(QPalette::Base, c);
  field->setPalette(p);
}

bool isTextField(const QString& name) {
  return name == QLatin1String("iproj") || name == QLatin1String("iident");
}

bool atLeast(double v, double lo, bool single) {
  return single ? static_cast<float>(v) >= static_cast<float>(lo) : v >= lo;
}

}  // namespace

void MainWindow::setIdle(QLineEdit* field) { setBackground(field, kIdleColor); }

void MainWindow::gotFocus(QLineEdit* field) {
  setBackground(field, kFocusColor);
  if (isTextField(field->objectName())) return;
  field->selectAll();
  // a click places the cursor after the focus arrived; select again after it
  QTimer::singleShot(0, field, [field] {
    if (field->hasFocus()) field->selectAll();
  });
}

// Runs the field's tests in order (the second only when the first passed),
// warns about the first that fails and returns its index, or -1.
int MainWindow::firstFailure(const FieldSpec& desc, QLineEdit* field) {
  const double v = desc.get(ps_);
  const bool single = desc.singlePrecision;
  for (int i = 0; i < 2; ++i) {
    const FieldCheck& c = desc.checks[i];
    bool ok = true;
    switch (c.kind) {
      case FieldCheck::None:
        break;
      case FieldCheck::AtLeast:
        ok = atLeast(v, c.lo, single);
        break;
      case FieldCheck::Between:
        ok = atLeast(v, c.lo, single) && atLeast(c.hi, v, single);
        break;
      case FieldCheck::AtMostR:
        ok = v <= ps_.r;
        break;
      case FieldCheck::AtLeastSpan:
        ok = v >= ps_.l;
        break;
      case FieldCheck::ShownAtLeast:
        ok = readStrict(field->text()) >= c.lo;
        break;
      case FieldCheck::RingLengthCap: {
        const float pis = 3.141593f;
        const float h = static_cast<float>(ps_.rg.h - ps_.rg.tf);
        const double limit = pis * std::sqrt(static_cast<double>(ps_.r) * h);
        ok = !(static_cast<float>(limit) < ps_.ltgi);
        if (!ok) {
          MessageBox::warn(this, QString::fromLatin1(c.message));
          ps_.ltgi = static_cast<float>(limit - 1);
          field->setText(showNumber(ps_.ltgi, "#00", decimalFlag_));
          return i;
        }
        break;
      }
    }
    if (!ok) {
      MessageBox::warn(this, QString::fromLatin1(c.message));
      return i;
    }
  }
  return -1;
}

bool MainWindow::leaveNumeric(const FieldSpec& desc, QLineEdit* field) {
  bool focusBack = false;
  try {
    desc.set(ps_, readNumber(field->text(), decimalFlag_));
    field->setText(showNumber(desc.get(ps_), desc.pattern, decimalFlag_));
    const int failed = firstFailure(desc, field);
    if (failed >= 0) focusBack = desc.checks[failed].focusBackOnLeave;
    if (desc.calc == CalcStep::AfterStore) {
      calculate();
    } else if (desc.calc == CalcStep::UsageFactor && failed < 0) {
      setIdle(field);
      calculate();
    }
  } catch (const InputMismatch&) {
    MessageBox::warn(this, QStringLiteral("Input string mismatch "));
    focusBack = true;
  } catch (const InputOverflow&) {
    // reported by nothing, as any fault other than a mismatch
  }
  if (desc.calc == CalcStep::AfterReport) calculate();
  if (desc.calc != CalcStep::UsageFactor) setIdle(field);
  if (desc.calc == CalcStep::Last) calculate();
  return focusBack;
}

void MainWindow::lostFocus(QLineEdit* field) {
  busy_ = true;
  bool back = false;
  const QString name = field->objectName();
  if (isTextField(name)) {
    (name == QLatin1String("iproj") ? ps_.projectName : ps_.ident) = field->text().toStdString();
    setIdle(field);
  } else if (const FieldSpec* desc = findField(name.toLatin1().constData())) {
    back = leaveNumeric(*desc, field);
  }
  if (back) field->setFocus(Qt::OtherFocusReason);
  busy_ = false;
  if (back) {
    gotFocus(field);
    return;
  }
  // The field the user went to may have lost its got-focus steps to a
  // message box of this cycle.
  auto* now = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  if (now && now != field && fields_.contains(now->objectName())) gotFocus(now);
}

// Enter in a "reads first" field: read, show and test; only when everything
// passes may the focus move on.
bool MainWindow::readFirst(const FieldSpec& desc, QLineEdit* field) {
  busy_ = true;
  bool ok = false;
  try {
    desc.set(ps_, readNumber(field->text(), decimalFlag_));
    field->setText(showNumber(desc.get(ps_), desc.pattern, decimalFlag_));
    ok = firstFailure(desc, field) < 0;
  } catch (const InputMismatch&) {
    MessageBox::warn(this, QStringLiteral("Input string mismatch "));
  } catch (const InputOverflow&) {
  }
  busy_ = false;
  if (!ok && !field->hasFocus()) field->setFocus(Qt::OtherFocusReason);
  return ok;
}

QWidget* MainWindow::enterTarget(const char* next) const {
  const QStringList choices = QString::fromLatin1(next).split(QLatin1Char('|'));
  for (const QString& name : choices) {
    QWidget* w = findChild<QWidget*>(name);
    if (w && w->isVisibleTo(this) && w->isEnabled()) return w;
  }
  return nullptr;
}

void MainWindow::enterPressed(QWidget* control) {
  const QByteArray name = control->objectName().toLatin1();
  const char* next = nullptr;
  if (const FieldSpec* desc = findField(name.constData())) {
    if (desc->readsFirst && !readFirst(*desc, static_cast<QLineEdit*>(control))) return;
    next = desc->next;
  } else {
    for (const EnterStep& step : otherEnterSteps())
      if (std::strcmp(step.from, name.constData()) == 0) next = step.next;
  }
  if (!next) return;
  if (QWidget* target = enterTarget(next)) target->setFocus(Qt::TabFocusReason);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      auto* field = qobject_cast<QLineEdit*>(watched);
      if (!field || busy_ || !fields_.contains(field->objectName())) break;
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // switching windows or opening a menu is not leaving the field
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
      if (event->type() == QEvent::FocusIn)
        gotFocus(field);
      else
        lostFocus(field);
      break;
    }
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key != Qt::Key_Return && key != Qt::Key_Enter) break;
      auto* w = qobject_cast<QWidget*>(watched);
      const bool chained = qobject_cast<QComboBox*>(watched) || qobject_cast<QLineEdit*>(watched);
      if (!w || !chained || w->objectName().isEmpty()) break;
      if (!busy_) enterPressed(w);
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (rightClick(watched, event)) return true;
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace orvane::ui
