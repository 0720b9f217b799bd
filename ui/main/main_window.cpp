// The main window's start-up and close: the form, the steps of start-up,
// every control resolved once, what the checks tell the window while they
// run, and the profile windows' host.
#include "ui/main/main_window.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

#include "core/panels.hpp"
#include "ui/cases/case_history.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/cases/cases_window.hpp"
#include "ui/common/field_edit.hpp"
#include "ui/common/message_box.hpp"
#include "ui/common/read_number.hpp"
#include "ui/common/sketches.hpp"
#include "ui/main/result_panel.hpp"
#include "ui/main/settings_store.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui/sheet/sheet_document.hpp"
#include "ui/sheet/sheet_window.hpp"

namespace orvane::ui {

// The form under the menus; lays its frames out whenever its size changes.
class FormArea final : public QWidget {
 public:
  explicit FormArea(std::function<void()> resized) : resized_(std::move(resized)) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    resized_();
  }

 private:
  std::function<void()> resized_;
};

// What the checks tell the window while they run.
class MainWindow::Events final : public CalcEvents {
 public:
  explicit Events(MainWindow& w) : w_(w) {}
  void warning(const std::string& text) override {
    MessageBox::warn(&w_, QString::fromStdString(text));
  }
  void focus(InputId input) override {
    QWidget* c = w_.widgetOf(input);
    if (!c) return;
    c->setFocus();
    // the warning before it may have kept the field's got-focus steps
    if (auto* field = qobject_cast<QLineEdit*>(c); field && w_.editor_->contains(field))
      w_.editor_->settle(field);
  }
  void changed(InputId input) override {
    const InputDef& in = inputDef(input);
    if (QLineEdit* field = w_.fieldOfInput(input))
      field->setText(showNumber(in.get(w_.ps_), in.pattern, w_.decimalFlag_));
  }
  void stiffenerDesignation(const std::string& text, int type) override {
    w_.showDesignation(Member::Stiffener, w_.designation(text));
    w_.ui_.cmdpic_stiff->setIcon(profileIcon(type));
  }
  void ringDesignation(const std::string& text, int type) override {
    w_.showDesignation(Member::RingFrame, w_.designation(text));
    w_.ui_.cmdpic_gird->setIcon(profileIcon(type));
  }

 private:
  MainWindow& w_;
};

MainWindow::MainWindow(const WindowOptions& options, QWidget* parent)
    : QMainWindow(parent),
      events_(std::make_unique<Events>(*this)),
      session_(ps_, *events_, this),
      locale_(options.locale) {
  setObjectName(QStringLiteral("orvane"));
  cases_ = std::make_unique<cases::CaseModel>();
  session_.setRecorder(&trace_);
  QFont f = font();
  f.setPointSizeF(8.0);
  setFont(f);
  // The form scrolls where the screen is too small for it.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("formscroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  // the first field, not the scroll area, has the focus at start-up
  scroll->setFocusPolicy(Qt::NoFocus);
  scroll->setWidgetResizable(true);
  form_ = new FormArea([this] { placeFrames(); });
  form_->setObjectName(QStringLiteral("form"));
  form_->setProperty("orvanePopup", true);
  scroll->setWidget(form_);
  setCentralWidget(scroll);

  // 1. program folder and dialog folder
  const QString programFolder = QCoreApplication::applicationDirPath();
  // a new project's dialogs open in the user's documents
  dialogFolder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (dialogFolder_.isEmpty()) dialogFolder_ = QDir::homePath();
  workFolder_ = QDir::currentPath();
  dataFolder_ =
      options.dataFolder.isEmpty() ? programFolder + QStringLiteral("/data") : options.dataFolder;
  // 2. decimal flag
  decimalFlag_ = decimalFlagFor(locale_);

  buildMenus();
  buildInputFrames();
  buildResultFrames();
  buildStatusLine();
  resolveControls();
  connectHandlers();
  for (ResultPanel* panel : panels_) panel->setDecimalComma(decimalFlag_ != 0);
  cases_->setDecimalComma(decimalFlag_ != 0);

  // 3. geometry from the screen's resolution, within the screen's free
  // area, centred
  fitToScreen();

  // 4. recent files
  if (options.settings) {
    settings_ = options.settings;
  } else {
    ownSettings_ = std::make_unique<QtSettingsStore>();
    settings_ = ownSettings_.get();
  }
  refreshRecentMenu();

  // 5. defaults, 6. data files, 7. window and first calculation, 8. title
  session_.startUp(dataFolder_.toStdString());
  placeFrames();
  setTitle();
  connect(cases_.get(), &cases::CaseModel::tableChanged, this, &MainWindow::noteChange);
  connect(&cases_->history(), &cases::CaseHistory::cleanChanged, this, &MainWindow::noteChange);
  startRecovery(options.recoveryFolder);
  guarding_ = true;
  resetHistory();
  markClean();
}

// Every control the window's code uses, once: the names are the ones the
// build gave, and a control missing here is a fault of the build, not of
// any input.
void MainWindow::resolveControls() {
  auto find = [this](auto*& slot, const char* name) {
    using T = std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>;
    slot = findChild<T*>(QString::fromLatin1(name));
    if (!slot) throw std::logic_error(std::string("the main window has no control ") + name);
  };
  for (size_t i = 0; i < kFieldCount; ++i) find(ui_.fields[i], fieldName(static_cast<FieldId>(i)));
  for (size_t type = 0; type < ui_.cylinder.size(); ++type)
    find(ui_.cylinder[type], ("cylinder" + std::to_string(type)).c_str());
  find(ui_.ringfab[0], "ringfab0");
  find(ui_.ringfab[1], "ringfab1");
  find(ui_.odmom[0], "odmom1");
  find(ui_.odmom[1], "odmom2");
  find(ui_.cmdpic_stiff, "cmdpic_stiff");
  find(ui_.cmdpic_gird, "cmdpic_gird");
  find(ui_.cmd_lrfd, "cmd_lrfd");
  find(ui_.cmd_wsd, "cmd_wsd");
  find(ui_.Command3, "Command3");
  find(ui_.cbofyp, "cbofyp");
  find(ui_.cbofys, "cbofys");
  find(ui_.cbofyg, "cbofyg");
  find(ui_.cbostiff, "cbostiff");
  find(ui_.cboring, "cboring");
  find(ui_.stiffprof, "stiffprof");
  find(ui_.ringprof, "ringprof");
  find(ui_.txt1, "txt1");
  find(ui_.text_ufb, "text_ufb");
  find(ui_.fr10, "fr10");
  find(ui_.fr110, "fr110");
  find(ui_.fr111, "fr111");
  find(ui_.fr112, "fr112");
  find(ui_.fr120, "fr120");
  find(ui_.fr121, "fr121");
  find(ui_.fr123, "fr123");
  find(ui_.fr124, "fr124");
  find(ui_.fr20, "fr20");
  find(ui_.fr30, "fr30");
  find(ui_.fr31, "fr31");
  find(ui_.fr32, "fr32");
  find(ui_.check_ih, "check_ih");
  find(ui_.hring_ch, "hring_ch");
  find(ui_.ring_ch, "ring_ch");
  find(ui_.Outside_ch, "Outside_ch");
  find(ui_.opt_wsd, "opt_wsd");
  find(ui_.opt_lrfd, "opt_lrfd");
  find(ui_.mnustiff, "mnustiff");
  find(ui_.mnuring, "mnuring");

  for (const InputControl& c : inputControls())
    find(inputControls_[static_cast<size_t>(c.input)], c.name);

  // Enter successors, '|'-separated in the field table
  auto chain = [&](QWidget* from, const char* next) {
    QList<QWidget*>& targets = enterNext_[from];
    for (const QString& name : QString::fromLatin1(next).split(QLatin1Char('|'))) {
      QWidget* target = nullptr;
      find(target, name.toLatin1().constData());
      targets << target;
    }
  };
  for (const FieldSpec& f : mainFields()) chain(field(f.id), f.next);
  for (const EnterStep& step : otherEnterSteps()) {
    QWidget* from = nullptr;
    find(from, step.from);
    chain(from, step.next);
  }
}

// The fields go with the window's children, after its own members: their
// last focus-out must not reach the steps of a window half destroyed.
MainWindow::~MainWindow() {
  delete casesWindow_.data();
  delete std::exchange(editor_, nullptr);
}

bool MainWindow::calculate() { return session_.recalculate(); }

void MainWindow::dataFileProblem(const Error& error) {
  MessageBox::warn(this, QString::fromStdString(error.text()));
}

QString MainWindow::designation(const std::string& text) const {
  return QString::fromStdString(decimalFlag_ != 0 ? withDecimalComma(text) : text);
}

void MainWindow::openProfileWindow(Member member, int type) {
  finishFieldEdit();
  showProfileWindow(*this, member, type);
}

void MainWindow::showProfileType(Member member, ProfileType type) {
  QComboBox* list = member == Member::RingFrame ? ui_.cboring : ui_.cbostiff;
  const QSignalBlocker quiet(list);
  list->setCurrentIndex(code(type));
}

void MainWindow::showDesignation(Member member, const QString& text) {
  (member == Member::RingFrame ? ui_.ringprof : ui_.stiffprof)->setText(text);
}

void MainWindow::resizeEvent(QResizeEvent* event) { QMainWindow::resizeEvent(event); }

}  // namespace orvane::ui
