#include "ui/main_window.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <utility>

#include "core/calc_driver.hpp"
#include "core/checked.hpp"
#include "sections/materials.hpp"
#include "sections/profile_tables.hpp"
#include "ui/field_edit.hpp"
#include "ui/message_box.hpp"
#include "ui/profile_window.hpp"
#include "ui/read_number.hpp"
#include "ui/settings_store.hpp"

namespace orvane::ui {

// What the checks tell the window while they run.
class MainWindow::Events final : public CalcEvents {
 public:
  explicit Events(MainWindow& w) : w_(w) {}
  void warning(const std::string& text) override {
    MessageBox::warn(&w_, QString::fromStdString(text));
  }
  void focus(const std::string& name) override {
    QWidget* c = w_.control(name.c_str());
    if (!c) return;
    c->setFocus();
    // the warning before it may have kept the field's got-focus steps
    if (auto* field = qobject_cast<QLineEdit*>(c); field && w_.editor_->contains(field))
      w_.editor_->settle(field);
  }
  void ltgiChanged(float ltgi) override {
    w_.fields_.value(QStringLiteral("igilt"))->setText(showNumber(ltgi, "#00", w_.decimalFlag_));
  }
  void stiffenerDesignation(const std::string& text, int) override {
    w_.showDesignation(false, QString::fromStdString(text));
  }
  void ringDesignation(const std::string& text, int) override {
    w_.showDesignation(true, QString::fromStdString(text));
  }

 private:
  MainWindow& w_;
};

MainWindow::MainWindow(const WindowOptions& options, QWidget* parent)
    : QMainWindow(parent), events_(std::make_unique<Events>(*this)), locale_(options.locale) {
  setObjectName(QStringLiteral("orvane"));
  QFont f = font();
  f.setPointSizeF(8.0);
  setFont(f);
  setCentralWidget(new QWidget(this));
  centralWidget()->setProperty("orvanePopup", true);

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
  connectHandlers();

  // 3. geometry from the screen's resolution, centred
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
  const double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
  resize(static_cast<int>(1024 * dpiX / 96), static_cast<int>(768 * dpiY / 96));
  if (screen) move(screen->availableGeometry().center() - rect().center());

  // 4. recent files
  if (options.settings) {
    settings_ = options.settings;
  } else {
    ownSettings_ = std::make_unique<QtSettingsStore>();
    settings_ = ownSettings_.get();
  }
  refreshRecentMenu();

  // 5. defaults, 6. data files
  assignDefaults(ps_);
  const QDir data(dataFolder_);
  auto report = [this](const std::optional<std::string>& problem) {
    if (problem) MessageBox::warn(this, QString::fromStdString(*problem));
  };
  report(loadMaterials(data.filePath(QStringLiteral("DNVmat.dat")).toStdString(), ps_.mat));
  report(loadProfileTable(data.filePath(QStringLiteral("lprof.dat")).toStdString(), ps_.prof.l));
  report(loadProfileTable(data.filePath(QStringLiteral("tprof.dat")).toStdString(), ps_.prof.t));
  report(loadProfileTable(data.filePath(QStringLiteral("fprof.dat")).toStdString(), ps_.prof.flat));
  report(
      loadProfileTable(data.filePath(QStringLiteral("bfprof.dat")).toStdString(), ps_.prof.bulb));

  // 7. window and first calculation, 8. title
  refreshWindow();
  placeFrames();
  calculate();
  setTitle();
}

// The fields go with the window's children, after its own members: their
// last focus-out must not reach the steps of a window half destroyed.
MainWindow::~MainWindow() { delete std::exchange(editor_, nullptr); }

CalcEvents& MainWindow::calcEvents() { return *events_; }

bool MainWindow::calculate() {
  ++calcRuns_;
  lastRunComplete_ = false;
  try {
    calcDriver(ps_, *events_);
  } catch (const CalcFault&) {
    return false;
  }
  lastRunComplete_ = true;
  ps_.ypos = 0;
  updatePanels();
  return true;
}

void MainWindow::openProfileWindow(bool ring, int type) {
  finishFieldEdit();
  showProfileWindow(*this, ring, type);
  emit profileWindowRequested(ring, type);
}

void MainWindow::showProfileType(bool ring, int type) {
  auto* list = control<QComboBox>(ring ? "cboring" : "cbostiff");
  const QSignalBlocker quiet(list);
  list->setCurrentIndex(type);
}

void MainWindow::showDesignation(bool ring, const QString& text) {
  control<QLabel>(ring ? "ringprof" : "stiffprof")->setText(text);
}

// Closing finishes the edit of the focused field first, as leaving it would.
void MainWindow::closeEvent(QCloseEvent* event) {
  finishFieldEdit();
  QMainWindow::closeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  placeFrames();
}

}  // namespace orvane::ui
