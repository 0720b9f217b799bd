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
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "core/panels.hpp"
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
  dialogFolder_ = programFolder;
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
}

// The fields go with the window's children, after its own members: their
// last focus-out must not reach the steps of a window half destroyed.
void MainWindow::resolveControls() {
  auto need = [this](auto*& slot, const char* name) {
    using T = std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>;
    slot = control<T>(name);
    if (!slot) throw std::logic_error(std::string("the main window has no control ") + name);
  };
  need(ui_.cmdpic_stiff, "cmdpic_stiff");
  need(ui_.cmdpic_gird, "cmdpic_gird");
  need(ui_.cmd_lrfd, "cmd_lrfd");
  need(ui_.cmd_wsd, "cmd_wsd");
  need(ui_.Command3, "Command3");
  need(ui_.cbostiff, "cbostiff");
  need(ui_.cboring, "cboring");
  need(ui_.stiffprof, "stiffprof");
  need(ui_.ringprof, "ringprof");
  need(ui_.txt1, "txt1");
  need(ui_.text_ufb, "text_ufb");
  need(ui_.fr10, "fr10");
  need(ui_.fr20, "fr20");
  need(ui_.fr31, "fr31");
  need(ui_.fr120, "fr120");
  need(ui_.fr121, "fr121");
  need(ui_.fr123, "fr123");
  need(ui_.fr124, "fr124");
  need(ui_.check_ih, "check_ih");
  need(ui_.hring_ch, "hring_ch");
  need(ui_.ring_ch, "ring_ch");
  need(ui_.Outside_ch, "Outside_ch");
  need(ui_.opt_wsd, "opt_wsd");
  need(ui_.opt_lrfd, "opt_lrfd");
  need(ui_.mnustiff, "mnustiff");
  need(ui_.mnuring, "mnuring");
}

MainWindow::~MainWindow() {
  delete casesWindow_.data();
  delete std::exchange(editor_, nullptr);
}

bool MainWindow::calculate() { return session_.recalculate(); }

void MainWindow::refreshed() { refreshWindow(); }

void MainWindow::calculated(const std::optional<std::string>& fault) {
  ++calcRuns_;
  lastRunComplete_ = !fault;
  if (!enteringCase_) cases_->setBase(ps_, fault);
  if (sheet_ && sheet_->isVisible()) sheet_->setSheet(sheetHtml(), sheetPageTitle(ps_));
  if (fault) {
    showStrengths();
    setFaultLine(QStringLiteral("Calculation stopped: ") + QString::fromStdString(*fault) +
                 QStringLiteral(" \u2014 the panels show the last complete results"));
  } else {
    ps_.ypos = 0;
    updatePanels();
    showStrengths();
    setFaultLine({});
  }
  emit projectCalculated();
}

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
  auto* list = control<QComboBox>(member == Member::RingFrame ? "cboring" : "cbostiff");
  const QSignalBlocker quiet(list);
  list->setCurrentIndex(code(type));
}

void MainWindow::showDesignation(Member member, const QString& text) {
  control<QLabel>(member == Member::RingFrame ? "ringprof" : "stiffprof")->setText(text);
}

// Closing finishes the edit of the focused field first, as leaving it would.
void MainWindow::closeEvent(QCloseEvent* event) {
  finishFieldEdit();
  QMainWindow::closeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) { QMainWindow::resizeEvent(event); }

}  // namespace orvane::ui
