// Building the window: menus, frames and controls, and placing the frames
// by the window-geometry rules.
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

// Label numbers of captions that offer the pop-up menu, and of the column
// data's captions, which do not.
constexpr int kPopupLabels[] = {2,  3,  4,  5,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                                18, 19, 20, 21, 23, 24, 25, 26, 27, 29, 44, 45, 46, 74, 84};
constexpr int kFirstColumnLabel = 30;

template <class T>
T* named(T* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

void markPopup(QWidget* w) { w->setProperty("orvanePopup", true); }

// Fields over which a right click offers the profiles menu.
constexpr const char* kPopupFields[] = {"icolL", "icyll", "icylr",  "ie",    "ifyg", "ifyp",
                                        "ifys",  "igilt", "iident", "il",    "ilt",  "ipp",
                                        "iproj", "is1",   "isigx",  "isigy", "it",   "itau"};

// The menu entries' control names; their texts come from the profile traits.
const char* const kStiffItems[10] = {"mnustiffl", "mnustifflb",  "mnustifft",  "mnustifftb",
                                     "mnustifff", "mnustiffflb", "mnustiffhp", "mnustiffrhs",
                                     "mnustiffu", "mnustiffib"};
const char* const kRingItems[10] = {"mnugirdl", "mnugirdlb", "mnugirdt",  "mnugirdtb",
                                    "mnugirdf", "mnugirdfb", "mnugirdhp", "mnugirdrhs",
                                    "mnugirdu", "mnugirdib"};

}  // namespace

QLineEdit* MainWindow::addField(const char* name) {
  auto* e = named(new QLineEdit, name);
  e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  e->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("-0000.000")) + 10);
  e->setAutoFillBackground(true);
  for (const char* p : kPopupFields) {
    if (std::strcmp(p, name) == 0) {
      markPopup(e);
      e->setContextMenuPolicy(Qt::PreventContextMenu);
    }
  }
  e->installEventFilter(this);
  fields_.insert(e->objectName(), e);
  return e;
}

QLabel* MainWindow::addLabel(const QString& caption, QWidget* parent, bool popup) {
  auto* l = new QLabel(caption, parent);
  int number = 0;
  if (popup) {
    const int i = labelCount_++;
    number = i < static_cast<int>(std::size(kPopupLabels)) ? kPopupLabels[i] : 100 + i;
    markPopup(l);
  } else {
    number = kFirstColumnLabel + columnLabelCount_++;
  }
  l->setObjectName(QStringLiteral("Label%1").arg(number));
  return l;
}

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = named(bar->addMenu(QStringLiteral("&File")), "mnufile");
  connect(named(file->addAction(QStringLiteral("&New")), "mnunew"), &QAction::triggered, this,
          &MainWindow::fileNew);
  connect(named(file->addAction(QStringLiteral("&Open")), "mnuopen"), &QAction::triggered, this,
          &MainWindow::fileOpen);
  connect(named(file->addAction(QStringLiteral("&Save")), "mnusave"), &QAction::triggered, this,
          &MainWindow::fileSave);
  connect(named(file->addAction(QStringLiteral("Save &As")), "mnusaveas"), &QAction::triggered,
          this, &MainWindow::fileSaveAs);
  connect(named(file->addAction(QStringLiteral("Calculation s&heet...")), "mnusheet"),
          &QAction::triggered, this, &MainWindow::showSheet);
  for (int i = 0; i < RecentMenu::kItems; ++i) {
    QAction* a = i == 0 ? file->addSeparator() : file->addAction(QString());
    a->setObjectName(QStringLiteral("mnurecentfile%1").arg(i));
    a->setVisible(false);
    if (i > 0) connect(a, &QAction::triggered, this, [this, i] { openRecent(i); });
    recentActions_ << a;
  }
  file->addSeparator()->setObjectName(QStringLiteral("spacer"));
  connect(named(file->addAction(QStringLiteral("&Exit")), "mnuexit"), &QAction::triggered, this,
          &QWidget::close);

  profilesMenu_ = named(bar->addMenu(QStringLiteral("&Profiles")), "mnuprofiles");
  QMenu* stiff =
      named(profilesMenu_->addMenu(QStringLiteral("&Longitudinal stiffener")), "mnustiff");
  QMenu* ring = named(profilesMenu_->addMenu(QStringLiteral("&Ringframe Profile")), "mnuring");
  for (const ProfileTraits& tr : kProfileTraits) {
    const int i = code(tr.type);
    const QString text = QString::fromLatin1(tr.menuText);
    QAction* s = named(stiff->addAction(text), kStiffItems[i]);
    connect(s, &QAction::triggered, this, [this, i] {
      ps_.cbostiff = static_cast<int16_t>(i);
      ui_.cbostiff->setCurrentIndex(i);
      ui_.cmdpic_stiff->setIcon(profileIcon(i));
      openProfileWindow(Member::Stiffener, i);
    });
    QAction* g = named(ring->addAction(text), kRingItems[i]);
    connect(g, &QAction::triggered, this, [this, i] {
      ps_.cboring = static_cast<int16_t>(i);
      ui_.cboring->setCurrentIndex(i);
      ui_.cmdpic_gird->setIcon(profileIcon(i));
      openProfileWindow(Member::RingFrame, i);
    });
  }

  named(bar->addAction(QStringLiteral("Print")), "mnuprint");

  QMenu* analysis = named(bar->addMenu(QStringLiteral("&Analysis")), "mnuanalysis");
  connect(named(analysis->addAction(QStringLiteral("&Load cases...")), "mnuloadcases"),
          &QAction::triggered, this, &MainWindow::openLoadCases);
  named(analysis->addAction(QStringLiteral("Design &study...")), "mnustudy");

  QMenu* help = named(bar->addMenu(QStringLiteral("&Help")), "mnuhelp");
  named(help->addAction(QStringLiteral("&Contents")), "mnuhelpcont");
  named(help->addAction(QStringLiteral("&Index")), "mnuindex");
  named(help->addAction(QStringLiteral("&Search for Help On . . . ")), "mnuhelpsearch");
  named(help->addAction(QStringLiteral("Theory Manual")), "mnuTheory");
  help->addSeparator()->setObjectName(QStringLiteral("line"));
  named(help->addAction(QStringLiteral("&About Orvane")), "mnuabout");
}

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
  for (const char* n : {"fr120", "fr121", "fr123", "fr124"})
    if (!control(n)->isHidden())
      rightNeed = std::max(rightNeed, control(n)->minimumSizeHint().width());
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
  const char* const left[] = {"fr110", "fr112", "fr111"};
  const char* const right[] = {"fr120", "fr121", "fr123"};
  const int inner = style()->pixelMetric(QStyle::PM_LayoutLeftMargin) + 2;
  const int titleHeight = fontMetrics().height() + inner;
  const int gap = static_cast<int>(0.005 * H0);
  int leftWidth = 0, leftHeight = 0, rightHeight = 0;
  for (const char* n : left) {
    leftWidth = std::max(leftWidth, control(n)->sizeHint().width());
    leftHeight += control(n)->sizeHint().height() + gap;
  }
  for (const char* n : right) rightHeight += control(n)->sizeHint().height() + gap;
  rightHeight = std::max(rightHeight, ui_.fr124->sizeHint().height() + gap);
  const int frameHeight = titleHeight + std::max(leftHeight, rightHeight) + inner;

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
  for (const char* n : left) {
    QWidget* f = control(n);
    f->setGeometry(inner, y, leftWidth, f->sizeHint().height());
    y += f->height() + gap;
  }
  y = titleHeight;
  for (const char* n : right) {
    QWidget* f = control(n);
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
  const char* const names[3] = {"fr30", "fr31", "fr32"};
  for (int i = 0; i < 3; ++i) {
    QWidget* f = control(names[i]);
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
