// The edit cycle of the main window: the lost-focus steps of its fields
// (read, store through Session::store, show, warn, calculate), the Enter
// chain and the values typed in from outside (a design, a load case's
// settings), driven by the field table. The cycle around them (focus
// colour, selection, focus back after a warning) is the FieldEditor's,
// shared with the profile windows.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "project/input_names.hpp"
#include "ui/common/field_edit.hpp"
#include "ui/common/message_box.hpp"
#include "ui/common/read_number.hpp"
#include "ui/main/field_table.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui {

void MainWindow::setIdle(QLineEdit* field) { FieldEditor::setIdle(field); }

void MainWindow::startFieldEditor() {
  editor_ = new FieldEditor(this, [this](QLineEdit* field) {
    const Left left = lostFocus(field);
    noteChange();
    return left;
  });
  for (size_t i = 0; i < kFieldCount; ++i) {
    const auto id = static_cast<FieldId>(i);
    editor_->add(ui_.fields[i], id != FieldId::iproj && id != FieldId::iident);
  }
}

bool MainWindow::finishFieldEdit() { return editor_->finishEdit(); }

// Where two fields show one input (the cylinder's and the column's length,
// the pressure), the one shown in the current mode.
QLineEdit* MainWindow::fieldOfInput(InputId input) const {
  QLineEdit* first = nullptr;
  for (const FieldSpec& f : mainFields()) {
    if (f.input != input) continue;
    QLineEdit* shown = field(f.id);
    if (shown->isVisibleTo(this)) return shown;
    if (!first) first = shown;
  }
  return first;
}

std::optional<FieldId> MainWindow::fieldIdOf(const QObject* widget) const {
  for (size_t i = 0; i < kFieldCount; ++i)
    if (ui_.fields[i] == widget) return static_cast<FieldId>(i);
  return std::nullopt;
}

QWidget* MainWindow::widgetOf(InputId input) const {
  if (QLineEdit* field = fieldOfInput(input)) return field;
  return inputControls_[static_cast<size_t>(input)];
}

QLineEdit* MainWindow::fieldOfInput(const std::string& name) const {
  const InputDef* in = findInput(name);
  return in ? fieldOfInput(in->id) : nullptr;
}

// NAME=VALUE stored through the session without a run (the window runs it
// at its own point); the problem when it is not accepted.
std::optional<std::string> MainWindow::storeSetting(const std::string& assignment) {
  Assignment a;
  if (auto problem = parseAssignment(assignment, a)) return problem;
  if (auto problem = refusal(ps_, *a.input, a.value, a.text)) return problem;
  session_.store(*a.input, a.value);
  return std::nullopt;
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
    } else if (const auto problem = storeSetting(s)) {
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

// A number the field cannot hold: the field's range warning (or, for a
// field without a range, the single-precision range), the value kept.
QString MainWindow::rangeWarning(const InputDef& in) {
  if (in.checks[0].kind != InputCheck::Kind::None) return QString::fromLatin1(in.checks[0].message);
  return QStringLiteral(" -3.4E+38 <= value <= 3.4E+38 ");
}

// A warning box about an input is titled with what the user reads for it.
QString MainWindow::caption(const InputDef& in) {
  return QString::fromStdString(displayName(in.id));
}

// Reads the field and stores its number through the session: the field
// shows the stored value and the failed test's warning follows. On a
// number out of range or a mismatch warns, keeps the stored value and
// returns none.
std::optional<Stored> MainWindow::readAndStore(const InputDef& in, QLineEdit* field, Left& left) {
  const NumberReading read = readNumber(field->text(), decimalFlag_);
  if (read.status == NumberReading::OutOfRange) {
    field->setText(showNumber(in.get(ps_), in.pattern, decimalFlag_));
    MessageBox::warn(this, rangeWarning(in), caption(in));
    left = Left::FocusBack;
    return std::nullopt;
  }
  if (!read.ok()) {
    MessageBox::warn(this, QStringLiteral("Input string mismatch "), caption(in));
    left = Left::NotTaken;
    return std::nullopt;
  }
  const Stored stored = session_.store(in, read.value);
  field->setText(showNumber(in.get(ps_), in.pattern, decimalFlag_));
  if (stored.failed >= 0)
    MessageBox::warn(this, QString::fromLatin1(stored.warning.c_str()), caption(in));
  return stored;
}

Left MainWindow::leaveNumeric(const InputDef& in, QLineEdit* field) {
  Left left = Left::Taken;
  if (const auto stored = readAndStore(in, field, left)) {
    if (stored->failed >= 0) left = Left::FocusBack;
    if (in.calc == CalcStep::AfterStore) {
      calculate();
    } else if (in.calc == CalcStep::UsageFactor && stored->runs) {
      setIdle(field);
      calculate();
    }
  }
  if (in.calc == CalcStep::AfterReport) calculate();
  if (in.calc != CalcStep::UsageFactor) setIdle(field);
  if (in.calc == CalcStep::Last) calculate();
  return left;
}

Left MainWindow::lostFocus(QLineEdit* field) {
  const std::optional<FieldId> id = fieldIdOf(field);
  if (id == FieldId::iproj || id == FieldId::iident) {
    (id == FieldId::iproj ? ps_.projectName : ps_.ident) = field->text().toStdString();
    setIdle(field);
    return Left::Taken;
  }
  if (id) return leaveNumeric(inputDef(mainFields()[static_cast<size_t>(*id)].input), field);
  return Left::Taken;
}

// Enter in a "reads first" field: read, show and test; only when everything
// passes may the focus move on.
bool MainWindow::readFirst(const InputDef& in, QLineEdit* field) {
  editor_->setBusy(true);
  Left left = Left::Taken;
  const auto stored = readAndStore(in, field, left);
  const bool ok = stored && stored->failed < 0;
  editor_->setBusy(false);
  if (!ok) {
    if (!field->hasFocus()) field->setFocus(Qt::OtherFocusReason);
    editor_->settle(field);
  }
  return ok;
}

void MainWindow::enterPressed(QWidget* control) {
  if (const std::optional<FieldId> id = fieldIdOf(control); id && *id < FieldId::iproj) {
    const FieldSpec& f = mainFields()[static_cast<size_t>(*id)];
    if (f.readsFirst && !readFirst(inputDef(f.input), static_cast<QLineEdit*>(control))) return;
  }
  for (QWidget* target : enterNext_.value(control)) {
    if (target->isVisibleTo(this) && target->isEnabled()) {
      target->setFocus(Qt::TabFocusReason);
      return;
    }
  }
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
    case QEvent::ShortcutOverride: {
      // Ctrl+Z in a field being edited undoes its text first; with nothing
      // of its own to undo or redo it lets Edit > Undo / Redo have the key
      auto* key = static_cast<QKeyEvent*>(event);
      auto* field = qobject_cast<QLineEdit*>(watched);
      if (!field) break;
      if ((key->matches(QKeySequence::Undo) && !field->isUndoAvailable()) ||
          (key->matches(QKeySequence::Redo) && !field->isRedoAvailable())) {
        event->ignore();
        return true;
      }
      break;
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
