// Undo and redo of the main window's inputs. Whatever road a step takes (a
// field, a button, a list, a profile window, Apply, a load case entered, the
// Forces... dialog), it ends in a calculation run or a field left; the
// window then compares every input of the input table with the values of
// the last step and pushes one command holding each input that changed, old
// and new. The comparison waits for the event loop, so that a step's rules
// after its run (the column's l = L, a profile's section) and a handler's
// several runs (Apply, a load case) make one step.
//
// Undo stores the old values back through the session, as choosing and
// typing them would, with the calculation runs of those roads (one, or one
// more when a chosen mode or list comes first); redo the same with the new
// values.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>
#include <bit>
#include <cstdint>

#include "project/input_names.hpp"
#include "ui/cases/case_history.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/main/main_window.hpp"
#include "ui/profiles/profile_window.hpp"

namespace orvane::ui {

namespace {

bool same(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

QString caption(InputId input) {
  const std::string_view text = inputCaption(input).caption;
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a step changed, named by its inputs' captions.
QString stepName(const std::vector<MainWindow::InputChange>& changes) {
  QString name = caption(changes[0].input);
  if (changes.size() == 2)
    name += QStringLiteral(" and ") + caption(changes[1].input);
  else if (changes.size() > 2)
    name += QStringLiteral(" and %1 more").arg(changes.size() - 1);
  return name;
}

class InputStep final : public QUndoCommand {
 public:
  InputStep(MainWindow& w, std::vector<MainWindow::InputChange> changes)
      : QUndoCommand(stepName(changes)), w_(w), changes_(std::move(changes)) {}
  void undo() override { w_.applyChanges(changes_, false); }
  void redo() override {
    // pushed after the step was made: the first redo has nothing to do
    if (std::exchange(pushed_, true)) w_.applyChanges(changes_, true);
  }

 private:
  MainWindow& w_;
  std::vector<MainWindow::InputChange> changes_;
  bool pushed_ = false;
};

}  // namespace

MainWindow::InputValues MainWindow::inputValues() const {
  InputValues values{};
  for (const InputDef& in : inputTable()) values[static_cast<size_t>(in.id)] = in.get(ps_);
  return values;
}

void MainWindow::buildEditMenu(QMenuBar* bar) {
  undo_ = new QUndoStack(this);
  QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
  edit->setObjectName(QStringLiteral("mnuedit"));
  QAction* undo = undo_->createUndoAction(edit, QStringLiteral("&Undo"));
  undo->setObjectName(QStringLiteral("mnuundo"));
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = undo_->createRedoAction(edit, QStringLiteral("&Redo"));
  redo->setObjectName(QStringLiteral("mnuredo"));
  redo->setShortcuts(QKeySequence::Redo);
  // the menu's actions only show the stack's state: the window makes the
  // step first (a field's edit finished, a pending step recorded)
  for (QAction* a : {undo, redo}) {
    a->disconnect(undo_);
    edit->addAction(a);
  }
  connect(undo, &QAction::triggered, this, &MainWindow::undoStep);
  connect(redo, &QAction::triggered, this, &MainWindow::redoStep);
}

// The step under way ends first: the field being edited is left and the
// profile windows close (their closing stores what they show), so that
// what is undone is the last step as the window shows it.
void MainWindow::endStep() {
  finishFieldEdit();
  closeProfileWindows(this);
  requestStep();
  recordStep();
}

void MainWindow::undoStep() {
  endStep();
  undo_->undo();
}

void MainWindow::redoStep() {
  endStep();
  undo_->redo();
}

void MainWindow::requestStep() {
  if (stepPending_ || applying_) return;
  stepPending_ = true;
  QMetaObject::invokeMethod(
      this, [this] { recordStep(); }, Qt::QueuedConnection);
}

void MainWindow::recordStep() {
  if (!stepPending_ || !undo_) return;
  // a message box of the step is still open: the step is not over
  if (QApplication::activeModalWidget()) {
    QTimer::singleShot(100, this, [this] { recordStep(); });
    return;
  }
  stepPending_ = false;
  const InputValues now = inputValues();
  std::vector<InputChange> changes;
  for (size_t i = 0; i < kInputCount; ++i)
    if (!same(now[i], stepBase_[i]))
      changes.push_back({static_cast<InputId>(i), stepBase_[i], now[i]});
  stepBase_ = now;
  if (changes.empty()) return;
  undo_->push(new InputStep(*this, std::move(changes)));
  noteChange();  // the title's mark and the recovery file, whatever the road
}

void MainWindow::resetHistory() {
  stepPending_ = false;
  stepBase_ = inputValues();
  if (undo_) undo_->clear();
  cases_->history().reset();
}

// Stores the step's values as the step made them: first the inputs chosen
// with a rule (a mode, an option, a list) with their run and the rules after
// it, as their buttons do; then every value still not in place (the typed
// ones, or all of them when the step chose nothing) with one run. So a
// value a rule sets (LRFD's ufb, the column's l = L, a material's fy) is
// set by that rule, and the panels show the run the step showed.
void MainWindow::applyChanges(const std::vector<InputChange>& changes, bool forward) {
  applying_ = true;
  auto storeAll = [&](bool chosen) {
    bool stored = false;
    // in table order; a rule of one input may have changed another of the
    // step (ring_ch off clears hring_ch), so a value the first pass did not
    // leave in place is stored again
    for (int pass = 0; pass < 3; ++pass) {
      bool again = false;
      for (const InputChange& c : changes) {
        const double value = forward ? c.now : c.old;
        const InputDef& in = inputDef(c.input);
        if ((chosen && in.rule == InputRule::None) || same(in.get(ps_), value)) continue;
        session_.store(in, value);
        again = stored = true;
      }
      if (!again) break;
    }
    return stored;
  };
  if (storeAll(true)) calculate();
  if (storeAll(false)) calculate();
  refreshWindow();
  stepBase_ = inputValues();
  stepPending_ = false;
  applying_ = false;
  noteChange();
}

}  // namespace orvane::ui
