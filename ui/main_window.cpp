#include "ui/main_window.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

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
    if (QWidget* c = w_.control(name.c_str())) c->setFocus();
  }
  void ltgiChanged(float ltgi) override {
    w_.fields_.value(QStringLiteral("igilt"))->setText(showNumber(ltgi, "#00", w_.decimalFlag_));
  }
  void stiffenerDesignation(const std::string& text, int) override {
    w_.control<QLabel>("stiffprof")->setText(QString::fromStdString(text));
  }
  void ringDesignation(const std::string& text, int) override {
    w_.control<QLabel>("ringprof")->setText(QString::fromStdString(text));
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

  // 5. defaults, 6. data files, 7. window and first calculation, 8. title
  session_.startUp(dataFolder_.toStdString());
  placeFrames();
  setTitle();
}

MainWindow::~MainWindow() = default;

CalcEvents& MainWindow::calcEvents() { return *events_; }

bool MainWindow::calculate() { return session_.recalculate(); }

void MainWindow::refreshed() { refreshWindow(); }

void MainWindow::calculated(const std::optional<std::string>& fault) {
  ++calcRuns_;
  if (fault) return;
  ps_.ypos = 0;
  updatePanels();
}

void MainWindow::dataFileProblem(const Error& error) {
  MessageBox::warn(this, QString::fromStdString(error.text()));
}

void MainWindow::openProfileWindow(bool ring, int type) {
  showProfileWindow({this, &ps_, decimalFlag_, [this] { return calculate(); }}, ring, type);
  emit profileWindowRequested(ring, type);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  placeFrames();
}

}  // namespace orvane::ui
