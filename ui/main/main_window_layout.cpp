// Placing the window: its size on the screen, the least size of the form
// and the frames placed by the window-geometry rules whenever the form's
// size or what it shows changes.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <cmath>
#include <cstring>

#include "model/codes.hpp"
#include "ui/common/sketches.hpp"
#include "ui/main/main_window.hpp"
#include "ui/main/result_panel.hpp"

namespace orvane::ui {

namespace {

// The sketch's frame is never narrower than this.
constexpr int kLeastSketch = 120;

}  // namespace

void MainWindow::fitToScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
  const double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
  QSize size(static_cast<int>(1024 * dpiX / 96), static_cast<int>(768 * dpiY / 96));
  if (!screen) {
    resize(size);
    return;
  }
  // The title bar and frame of the window manager take their share of the
  // free area; before the window is shown their size is not known yet.
  const QRect free = screen->availableGeometry();
  const QMargins decoration = frameGeometry().size() == size ? QMargins() : QMargins(8, 32, 8, 8);
  const QSize room = free.size().shrunkBy(decoration);
  size = size.boundedTo(room);
  // A small window still shows the menus and a useful part of the form;
  // the form scrolls inside it.
  setMinimumSize(QSize(480, 360).boundedTo(room));
  resize(size);
  move(free.center() - QPoint(size.width() / 2, size.height() / 2) -
       QPoint(decoration.left() - decoration.right(), decoration.top() - decoration.bottom()) / 2);
}

// Width of fr10 without the 0.01 W between its columns: both columns and
// the margins, the right column as wide as its widest shown frame needs.
int MainWindow::inputWidth(int leftWidth, int inner) const {
  int rightNeed = 0;
  for (const QWidget* f : {ui_.fr120, ui_.fr121, ui_.fr123, ui_.fr124})
    if (!f->isHidden()) rightNeed = std::max(rightNeed, f->minimumSizeHint().width());
  return 2 * inner + leftWidth + rightNeed + 2;
}

int MainWindow::captionHeight() const { return fontMetrics().height() + 2; }

QSize MainWindow::formMinimum(int top, int frameHeight, int leftWidth, int inner) {
  // fr10 holds both columns with 0.01 W between them; the sketch's frame
  // gives up width for it down to kLeastSketch
  double width = (inputWidth(leftWidth, inner) + kLeastSketch) / 0.95;
  // the panels are 0.97 of their frames, fr30 0.3 W and the others 0.32 W
  int need = 0;
  const double share[3] = {0.3, 0.315, 0.315};
  for (int i = 0; i < 3; ++i) {
    if (panels_[i]->isHidden()) continue;
    const QSize content = panels_[i]->contentSize() + QSize(2, 0);
    width = std::max(width, content.width() / 0.97 / share[i]);
    need = std::max(need, content.height());
  }
  // the check box of the special Ih stands in the ring panel's bottom right
  // corner, below the texts it would cover
  const QWidget* ih = ui_.check_ih;
  if (!panels_[2]->isHidden() && !ih->isHidden()) {
    const QSize box = ih->sizeHint();
    const double boxLeft = 0.97 * share[2] * width - box.width() - 4;
    for (const QRectF& r : panels_[2]->textRects())
      if (r.right() > boxLeft)
        need = std::max(need, static_cast<int>(std::ceil(r.bottom())) + box.height() + 4);
  }
  // the panels stand below their frames' titles and may take the frames'
  // height down to the bottom border where their lines need it
  panelNeed_ = need;
  const int resultHeight = std::max(need + captionHeight() + 1,
                                    static_cast<int>(std::ceil((need + 1) / (1 - 0.8 * 0.08))));
  const int height = top + frameHeight + resultHeight + top + 2;
  return {static_cast<int>(std::ceil(width)), height};
}

void MainWindow::placeFrames() {
  auto* fr10 = ui_.fr10;
  auto* fr20 = ui_.fr20;
  if (!fr10 || !fr20 || !form_ || placing_) return;
  placing_ = true;
  const int H0 = form_->height();
  const double m = 0.01;
  const int top = static_cast<int>(0.006 * H0);

  // Inside fr10: the left column (fr110, fr112, fr111) and the right column
  // (fr120, fr121, fr123) share their widths; fr124 takes the right width.
  QWidget* const left[] = {ui_.fr110, ui_.fr112, ui_.fr111};
  QWidget* const right[] = {ui_.fr120, ui_.fr121, ui_.fr123};
  const int inner = style()->pixelMetric(QStyle::PM_LayoutLeftMargin) + 2;
  // the frames stand right below fr10's title and above its bottom border
  const QMargins border = fr10->contentsMargins();
  const int titleHeight = border.top();
  const int gap = static_cast<int>(0.005 * H0);
  int leftWidth = 0, leftHeight = 0, rightHeight = 0;
  for (const QWidget* f : left) {
    leftWidth = std::max(leftWidth, f->sizeHint().width());
    leftHeight += f->sizeHint().height() + gap;
  }
  for (const QWidget* f : right) rightHeight += f->sizeHint().height() + gap;
  rightHeight = std::max(rightHeight, ui_.fr124->sizeHint().height() + gap);
  const int frameHeight = titleHeight + std::max(leftHeight, rightHeight) + border.bottom();

  // Below its least size the form keeps that size and scrolls.
  const QSize least = formMinimum(top, frameHeight, leftWidth, inner);
  if (form_->minimumSize() != least) form_->setMinimumSize(least);
  const int W = std::max(form_->width(), least.width());
  const int H = std::max(H0, least.height());

  const int fr20Width =
      std::min(static_cast<int>(0.2 * W),
               static_cast<int>(W - 4 * m * W - 0.01 * W) - inputWidth(leftWidth, inner));
  fr20->setGeometry(static_cast<int>(W - fr20Width - 2 * m * W), top, fr20Width, frameHeight);
  const int fr10Width = static_cast<int>(W - fr20Width - 4 * m * W);
  fr10->setGeometry(static_cast<int>(m * W), top, fr10Width, frameHeight);

  const int rightX = inner + leftWidth + static_cast<int>(0.01 * W);
  const int rightWidth = fr10Width - rightX - inner;
  int y = titleHeight;
  for (QWidget* f : left) {
    f->setGeometry(inner, y, leftWidth, f->sizeHint().height());
    y += f->height() + gap;
  }
  y = titleHeight;
  for (QWidget* f : right) {
    f->setGeometry(rightX, y, rightWidth, f->sizeHint().height());
    y += f->height() + gap;
  }
  // fr124 is as tall as the column rule lets it be without leaving fr10
  QWidget* fr124 = ui_.fr124;
  const int h124 = std::max(fr124->sizeHint().height(),
                            static_cast<int>((top + frameHeight - titleHeight) / 1.06));
  fr124->setGeometry(rightX, titleHeight, rightWidth, h124);
  placeColumnFrame();

  // the sketch: centred, its top at 0.8 of the free height
  const QSize s(static_cast<int>(fr20Width * 0.9), static_cast<int>(frameHeight * 0.88));
  sketch_->setGeometry((fr20Width - s.width()) / 2,
                       static_cast<int>(0.8 * (frameHeight - s.height())), s.width(), s.height());

  // the result frames side by side under fr10
  const int resultTop = fr10->y() + fr10->height();
  const int resultHeight = H - resultTop - top;
  const int x0 = fr10->x();
  const int w30 = static_cast<int>(0.3 * W);
  const int between = static_cast<int>(0.015 * W);
  const int rightEdge = fr20->x() + fr20->width();
  const int w31 = (rightEdge - x0 - w30 - 2 * between) / 2;
  const int xs[3] = {x0, x0 + w30 + between, x0 + w30 + 2 * between + w31};
  const int ws[3] = {w30, w31, rightEdge - xs[2]};
  QWidget* const frames[3] = {ui_.fr30, ui_.fr31, ui_.fr32};
  for (int i = 0; i < 3; ++i) {
    QWidget* f = frames[i];
    f->setGeometry(xs[i], resultTop, ws[i], resultHeight);
    // the panel never covers its frame's title
    const int pw = static_cast<int>(0.97 * ws[i]);
    const int spread = static_cast<int>(0.92 * resultHeight);
    const int py = std::max(static_cast<int>(0.8 * (resultHeight - spread)), captionHeight());
    const int ph = std::min(std::max(spread, panelNeed_), resultHeight - py - 1);
    panels_[i]->setGeometry((ws[i] - pw) / 2, py, pw, ph);
  }
  QWidget* ih = ui_.check_ih;
  ih->adjustSize();
  ih->move(panels_[2]->width() - ih->width() - 4, panels_[2]->height() - ih->height() - 3);
  ih->raise();
  placing_ = false;
}

QRect MainWindow::resultArea() const {
  QRect area;
  for (const QWidget* f : {ui_.fr30, ui_.fr31, ui_.fr32}) {
    if (f->isHidden()) continue;
    area |= QRect(f->mapToGlobal(QPoint(0, 0)), f->size());
  }
  return area;
}

// In column mode fr124 stands where fr123 stands, its bottom just above the
// bottom of fr10.
void MainWindow::placeColumnFrame() {
  QWidget* fr10 = ui_.fr10;
  QWidget* fr123 = ui_.fr123;
  QWidget* fr124 = ui_.fr124;
  if (ps_.cyltype != code(CylinderType::Column)) return;
  fr124->move(fr123->x(), static_cast<int>(fr10->y() + fr10->height() - 1.06 * fr124->height()));
}

}  // namespace orvane::ui
