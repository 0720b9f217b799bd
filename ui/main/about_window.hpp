// The about window and the two picture windows of the main window's
// buttons: `about`, `InfoORVANE` (ring-frame fabrication) and `InfoUF`
// (usage factors of the WSD format). A click on a picture or text closes
// them; each opens modeless, owned by the main window, one at a time.
#pragma once

#include <QDialog>

namespace orvane::ui {

class AboutWindow final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(AboutWindow)

 public:
  explicit AboutWindow(QWidget* owner);
  static AboutWindow* open(QWidget* owner);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace orvane::ui
