#include "ui/main/about_window.hpp"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "ui/main/info_windows.hpp"

namespace orvane::ui {

namespace {

const QColor kBlue(0, 85, 152);

// The program's mark: a ring-stiffened shell seen end-on, as in its icon.
QPixmap logo(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  drawProgramMark(pm);
  return pm;
}

// A strip of the stiffened shell with its buckling mode.
QPixmap banner(int w, int h) {
  QPixmap pm(w, h);
  pm.fill(Qt::white);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kBlue, 2));
  QPainterPath wave;
  wave.moveTo(0, h / 2.0);
  for (int x = 0; x <= w; x += 2)
    wave.lineTo(x, h / 2.0 + h * 0.18 * std::sin(x * 6.2832 / (w / 4.0)));
  p.drawPath(wave);
  p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
  p.drawLine(0, h / 2, w, h / 2);
  p.setPen(QPen(Qt::black, 3));
  for (int k = 0; k <= 4; ++k) p.drawLine(k * w / 4, h / 2 - h / 3, k * w / 4, h / 2 + h / 3);
  return pm;
}

QPointer<AboutWindow> theWindow;

}  // namespace

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("about"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About ") + QStringLiteral("Orvane DNV"));

  auto* picture5 = new QLabel;
  picture5->setObjectName(QStringLiteral("Picture5"));
  picture5->setPixmap(logo(96));
  auto* ab1 = new QLabel(QStringLiteral("Orvane DNV"));
  ab1->setObjectName(QStringLiteral("ab1"));
  QFont big = ab1->font();
  big.setPointSizeF(big.pointSizeF() * 2);
  big.setBold(true);
  ab1->setFont(big);
  QPalette pal = ab1->palette();
  pal.setColor(QPalette::WindowText, kBlue);
  ab1->setPalette(pal);
  auto* ab2 = new QLabel(QStringLiteral("Cylinder shell buckling based on DNV-RP-C202"));
  ab2->setObjectName(QStringLiteral("ab2"));
  auto* ab3 = new QLabel(QStringLiteral("Version 1.7"));
  ab3->setObjectName(QStringLiteral("ab3"));
  auto* picture1 = new QLabel;
  picture1->setObjectName(QStringLiteral("Picture1"));
  picture1->setPixmap(banner(420, 60));

  auto* texts = new QVBoxLayout;
  texts->addWidget(ab1);
  texts->addWidget(ab2);
  texts->addWidget(ab3);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(picture5);
  top->addSpacing(16);
  top->addLayout(texts);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(picture1);
  for (QWidget* w : {static_cast<QWidget*>(ab1), static_cast<QWidget*>(ab2),
                     static_cast<QWidget*>(ab3), static_cast<QWidget*>(picture5)})
    w->installEventFilter(this);

  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
  }
}

AboutWindow* AboutWindow::open(QWidget* owner) {
  if (!theWindow) theWindow = new AboutWindow(owner);
  theWindow->show();
  theWindow->raise();
  return theWindow;
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    close();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orvane::ui
