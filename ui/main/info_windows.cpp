#include "ui/main/info_windows.hpp"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QVBoxLayout>
#include <functional>

namespace orvane::ui {

namespace {

const QColor kBlue(0, 85, 152);
const QColor kSteel(150, 160, 175);
const QColor kWeld(200, 60, 40);

// A ring frame on its strip of shell plate, flange up, centred at x.
void ringSection(QPainter& p, double x, double base, bool welded) {
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(215, 215, 215));
  p.drawRect(QRectF(x - 90, base, 180, 14));  // shell plate
  p.setBrush(kSteel);
  if (welded) {
    p.drawRect(QRectF(x - 5, base - 120, 10, 120));  // web
    p.drawRect(QRectF(x - 45, base - 134, 90, 14));  // flange
    p.setBrush(kWeld);
    p.setPen(Qt::NoPen);
    for (double side : {-1.0, 1.0}) {
      for (double y : {base, base - 120.0}) {
        const double dy = y == base ? -7 : 7;
        QPolygonF fillet{{x + side * 5, y}, {x + side * 12, y}, {x + side * 5, y + dy}};
        p.drawPolygon(fillet);
      }
    }
  } else {
    // one plate bent twice: web and flange with inner radii
    QPainterPath path;
    path.moveTo(x - 5, base);
    path.lineTo(x - 5, base - 110);
    path.arcTo(QRectF(x - 5, base - 134, 48, 48), 180, -90);
    path.lineTo(x + 45, base - 134);
    path.lineTo(x + 45, base - 124);
    path.lineTo(x + 19, base - 124);
    path.arcTo(QRectF(x + 5, base - 124, 28, 28), 90, 90);
    path.lineTo(x + 5, base);
    path.closeSubpath();
    p.drawPath(path);
  }
}

QPixmap canvas(int w, int h) {
  QPixmap pm(w, h);
  pm.fill(Qt::white);
  return pm;
}

// A factor against the reduced slenderness of the shell, 0 to 1.5.
QPixmap curvePicture(const QString& title, const QString& axis, double lo, double hi,
                     const std::function<double(double)>& curve, const QString& note) {
  QPixmap pm = canvas(420, 300);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF plot(60, 50, 330, 180);
  auto at = [&](double lam, double v) {
    return QPointF(plot.left() + lam / 1.5 * plot.width(),
                   plot.bottom() - (v - lo) / (hi - lo) * plot.height());
  };
  p.setPen(Qt::black);
  QFont f = p.font();
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRectF(0, 8, 420, 24), Qt::AlignCenter, title);
  f.setBold(false);
  p.setFont(f);
  p.drawLine(plot.bottomLeft(), plot.bottomRight());
  p.drawLine(plot.bottomLeft(), plot.topLeft());
  for (double lam : {0.0, 0.5, 1.0, 1.5}) {
    const QPointF q = at(lam, lo);
    p.drawLine(q, q + QPointF(0, 4));
    p.drawText(QRectF(q.x() - 20, q.y() + 6, 40, 16), Qt::AlignCenter, QString::number(lam));
  }
  for (double v = lo; v <= hi + 1e-9; v += (hi - lo) / 4) {
    const QPointF q = at(0, v);
    p.drawText(QRectF(q.x() - 50, q.y() - 8, 44, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(v, 'f', 2));
  }
  p.drawText(QRectF(plot.left(), plot.bottom() + 22, plot.width(), 16), Qt::AlignCenter,
             QStringLiteral("reduced shell slenderness \u03bb"));
  p.drawText(QRectF(4, plot.top() - 30, 200, 16), Qt::AlignLeft, axis);
  QPainterPath path;
  path.moveTo(at(0, curve(0)));
  for (int i = 1; i <= 150; ++i) path.lineTo(at(i / 100.0, curve(i / 100.0)));
  p.setPen(QPen(kBlue, 2.5));
  p.drawPath(path);
  p.setPen(Qt::black);
  p.drawText(QRectF(10, 262, 400, 34), Qt::AlignCenter | Qt::TextWordWrap, note);
  return pm;
}

QLabel* picture(const char* name, const QPixmap& pm, QObject* filter) {
  auto* l = new QLabel;
  l->setObjectName(QString::fromLatin1(name));
  l->setPixmap(pm);
  l->installEventFilter(filter);
  return l;
}

QPointer<InfoWindow> theWindows[2];

}  // namespace

void drawProgramMark(QPaintDevice& device) {
  QPainter p(&device);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = std::min(device.width(), device.height());
  p.scale(s / 100.0, s / 100.0);
  p.setPen(QPen(kBlue, 7));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(50, 50), 38, 38);
  p.setPen(QPen(kBlue, 5, Qt::SolidLine, Qt::FlatCap));
  for (int k = 0; k < 8; ++k) {
    p.save();
    p.translate(50, 50);
    p.rotate(45.0 * k);
    p.drawLine(QPointF(0, -34), QPointF(0, -22));
    p.restore();
  }
  p.setPen(Qt::NoPen);
  p.setBrush(kSteel);
  p.drawEllipse(QPointF(50, 50), 9, 9);
}

QPixmap ringFramePicture() {
  QPixmap pm = canvas(520, 280);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  ringSection(p, 130, 190, true);
  ringSection(p, 390, 190, false);
  QFont f = p.font();
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRectF(20, 8, 220, 20), Qt::AlignCenter, QStringLiteral("Fabricated ring frame"));
  p.drawText(QRectF(280, 8, 220, 20), Qt::AlignCenter, QStringLiteral("Cold-formed ring frame"));
  f.setBold(false);
  p.setFont(f);
  p.drawText(QRectF(20, 212, 220, 64), Qt::AlignHCenter | Qt::TextWordWrap,
             QStringLiteral("Web and flange welded from plates (welds in red). Tripping "
                            "strength fTg as computed."));
  p.drawText(QRectF(280, 212, 220, 64), Qt::AlignHCenter | Qt::TextWordWrap,
             QStringLiteral("Bent from one plate. Residual stresses of forming: the tripping "
                            "strength fTg is taken as 0.9 of the computed value."));
  return pm;
}

QPixmap betaPicture() {
  return curvePicture(
      QStringLiteral("WSD: allowable usage factor = n0 \u00b7 \u03b2 \u00b7 \u03b3M"),
      QStringLiteral("\u03b2"), 0.7, 1.1,
      [](double lam) { return lam < 0.5    ? 1.0
                              : lam <= 1.0 ? 1.2 - 0.4 * lam
                                           : 0.8; },
      QStringLiteral("n0: basic usage factor of the load condition; \u03b3M = 1.15 in WSD. "
                     "Slender shells get a lower allowable usage factor."));
}

QPixmap materialFactorPicture() {
  return curvePicture(
      QStringLiteral("LRFD: material factor \u03b3M of the shell checks"),
      QStringLiteral("\u03b3M"), 1.0, 1.6,
      [](double lam) { return lam < 0.5    ? 1.15
                              : lam <= 1.0 ? 0.85 + 0.6 * lam
                                           : 1.45; },
      QStringLiteral("LRFD: usage factor = \u03c3j,Sd / (fks / \u03b3M) against the allowable "
                     "usage factor UF (normally 1.0). DNV-RP-C202 Ch 3.1."));
}

InfoWindow::InfoWindow(Kind kind, QWidget* owner) : QDialog(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QHBoxLayout(this);
  if (kind == Kind::RingFrames) {
    setObjectName(QStringLiteral("InfoORVANE"));
    setWindowTitle(QStringLiteral("Ring frame fabrication"));
    closer_ = picture("Picture1", ringFramePicture(), this);
    layout->addWidget(closer_);
  } else {
    setObjectName(QStringLiteral("InfoUF"));
    setWindowTitle(QStringLiteral("Usage factors"));
    closer_ = picture("Picture1", betaPicture(), this);
    layout->addWidget(closer_);
    layout->addWidget(picture("Picture2", materialFactorPicture(), this));
  }
}

InfoWindow* InfoWindow::open(Kind kind, QWidget* owner) {
  QPointer<InfoWindow>& w = theWindows[static_cast<int>(kind)];
  if (!w) w = new InfoWindow(kind, owner);
  w->show();
  w->raise();
  return w;
}

bool InfoWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && watched == closer_) {
    close();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orvane::ui
