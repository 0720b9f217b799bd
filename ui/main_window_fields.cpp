// The main window's lost-focus steps of its fields and the Enter chain,
// driven by the field table; the cycle around them (focus colour, selection,
// focus back after a warning) is the FieldEditor's, shared with the profile
// windows.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <cmath>
#include <cstring>

#include "ui/field_edit.hpp"
#include "ui/field_table.hpp"
#include "ui/main_window.hpp"
#include "ui/message_box.hpp"
#include "ui/read_number.hpp"

namespace orvane::ui {

namespace {

// The fields of the named inputs; where two fields show one input (the
// cylinder's and the column's length, the pressure), the one shown in the
// current mode takes it.
struct InputField {
  const char* input;
  const char* fields[2];
};
const InputField kInputFields[] = {
    {"r", {"icylr"}},          {"t", {"it"}},       {"l", {"il"}},         {"E", {"ie"}},
    {"fyp", {"ifyp"}},         {"s", {"is1"}},      {"ltst", {"ilt"}},     {"fys", {"ifys"}},
    {"L", {"icyll", "icolL"}}, {"ltgi", {"igilt"}}, {"fyg", {"ifyg"}},     {"sigx", {"isigx"}},
    {"sigy", {"isigy"}},       {"tau", {"itau"}},   {"pd", {"ipp", "ip"}}, {"k1", {"ik1"}},
    {"k2", {"ik2"}},           {"N", {"inn"}},      {"M1a", {"im1a"}},     {"M1b", {"im1b"}},
    {"M2a", {"im2a"}},         {"M2b", {"im2b"}},   {"ufb", {"iufb"}},
};

bool isTextField(const QString& name) {
  return name == QLatin1String("iproj") || name == QLatin1String("iident");
}

bool atLeast(double v, double lo, bool single) {
  return single ? static_cast<float>(v) >= static_cast<float>(lo) : v >= lo;
}

}  // namespace

void MainWindow::setIdle(QLineEdit* field) { FieldEditor::setIdle(field); }

void MainWindow::startFieldEditor() {
  editor_ = new FieldEditor(this, [this](QLineEdit* field) { return lostFocus(field); });
  for (QLineEdit* field : std::as_const(fields_))
    editor_->add(field, !isTextField(field->objectName()));
}

bool MainWindow::finishFieldEdit() { return editor_->finishEdit(); }

QLineEdit* MainWindow::fieldOfInput(const std::string& name) const {
  for (const InputField& f : kInputFields) {
    if (name != f.input) continue;
    QLineEdit* first = fields_.value(QString::fromLatin1(f.fields[0]));
    if (f.fields[1] && !first->isVisibleTo(this))
      return fields_.value(QString::fromLatin1(f.fields[1]));
    return first;
  }
  return nullptr;
}

QStringList MainWindow::typeInputs(const std::vector<std::string>& settings) {
  QStringList refused;
  std::vector<std::pair<QLineEdit*, QString>> typed;
  bool stored = false;
  // the settings without a field first, so that the typed values are
  // tested and calculated with the design's profiles
  for (const std::string& s : settings) {
    const size_t eq = s.find('=');
    QLineEdit* field = eq == std::string::npos ? nullptr : fieldOfInput(s.substr(0, eq));
    if (field) {
      QString text = QString::fromStdString(s.substr(eq + 1));
      if (decimalFlag_ != 0) text.replace(QLatin1Char('.'), QLatin1Char(','));
      typed.emplace_back(field, text);
    } else if (const auto problem = session_.set(s)) {
      refused << QString::fromStdString(s + ": " + *problem);
    } else {
      stored = true;
    }
  }
  if (stored) refreshWindow();
  for (const auto& [field, text] : typed)
    if (editor_->type(field, text) == Left::NotTaken)
      refused << field->objectName() + QLatin1Char('=') + text;
  if (stored && typed.empty()) calculate();
  return refused;
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
      case FieldCheck::ShownAtLeast: {
        const NumberReading shown = readStrict(field->text());
        ok = shown.ok() && shown.value >= c.lo;
        break;
      }
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

// A number the field cannot hold: the field's range warning (or, for a
// field without a range, the single-precision range), the value kept.
QString MainWindow::rangeWarning(const FieldSpec& desc) {
  if (desc.checks[0].kind != FieldCheck::None) return QString::fromLatin1(desc.checks[0].message);
  return QStringLiteral(" -3.4E+38 <= value <= 3.4E+38 ");
}

// Reads the field; on a number out of range or a mismatch warns, keeps the
// stored value and returns false.
bool MainWindow::readAndStore(const FieldSpec& desc, QLineEdit* field, Left& left) {
  const NumberReading read = readNumber(field->text(), decimalFlag_);
  if (read.status == NumberReading::OutOfRange) {
    field->setText(showNumber(desc.get(ps_), desc.pattern, decimalFlag_));
    MessageBox::warn(this, rangeWarning(desc));
    left = Left::FocusBack;
    return false;
  }
  if (!read.ok()) {
    MessageBox::warn(this, QStringLiteral("Input string mismatch "));
    left = Left::NotTaken;
    return false;
  }
  desc.set(ps_, static_cast<float>(read.value));
  field->setText(showNumber(desc.get(ps_), desc.pattern, decimalFlag_));
  return true;
}

Left MainWindow::leaveNumeric(const FieldSpec& desc, QLineEdit* field) {
  Left left = Left::Taken;
  if (readAndStore(desc, field, left)) {
    const int failed = firstFailure(desc, field);
    if (failed >= 0 && desc.checks[failed].focusBackOnLeave) left = Left::FocusBack;
    if (desc.calc == CalcStep::AfterStore) {
      calculate();
    } else if (desc.calc == CalcStep::UsageFactor && failed < 0) {
      setIdle(field);
      calculate();
    }
  }
  if (desc.calc == CalcStep::AfterReport) calculate();
  if (desc.calc != CalcStep::UsageFactor) setIdle(field);
  if (desc.calc == CalcStep::Last) calculate();
  return left;
}

Left MainWindow::lostFocus(QLineEdit* field) {
  const QString name = field->objectName();
  if (isTextField(name)) {
    (name == QLatin1String("iproj") ? ps_.projectName : ps_.ident) = field->text().toStdString();
    setIdle(field);
    return Left::Taken;
  }
  if (const FieldSpec* desc = findField(name.toLatin1().constData()))
    return leaveNumeric(*desc, field);
  return Left::Taken;
}

// Enter in a "reads first" field: read, show and test; only when everything
// passes may the focus move on.
bool MainWindow::readFirst(const FieldSpec& desc, QLineEdit* field) {
  editor_->setBusy(true);
  Left left = Left::Taken;
  const bool ok = readAndStore(desc, field, left) && firstFailure(desc, field) < 0;
  editor_->setBusy(false);
  if (!ok) {
    if (!field->hasFocus()) field->setFocus(Qt::OtherFocusReason);
    editor_->settle(field);
  }
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
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key != Qt::Key_Return && key != Qt::Key_Enter) break;
      auto* w = qobject_cast<QWidget*>(watched);
      const bool chained = qobject_cast<QComboBox*>(watched) || qobject_cast<QLineEdit*>(watched);
      if (!w || !chained || w->objectName().isEmpty()) break;
      if (!editor_->busy()) enterPressed(w);
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
