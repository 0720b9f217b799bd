// The picture windows of the main window's buttons: `InfoORVANE` (button
// `Picture`: fabricated and cold-formed ring frames) and `InfoUF` (button
// `cmd_wsd`: the usage factors of the two design formats). A click on a
// picture closes its window.
#pragma once

#include <QDialog>

class QLabel;
class QPaintDevice;
class QPixmap;

namespace orvane::ui {

class InfoWindow final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(InfoWindow)

 public:
  enum class Kind { RingFrames, UsageFactors };
  InfoWindow(Kind kind, QWidget* owner);
  // The one window of its kind, shown modeless.
  static InfoWindow* open(Kind kind, QWidget* owner);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* closer_ = nullptr;  // the first picture: a click on it closes
};

// The pictures, also used by the tests and the icon.
QPixmap ringFramePicture();
QPixmap betaPicture();
QPixmap materialFactorPicture();
void drawProgramMark(QPaintDevice& device);

}  // namespace orvane::ui
