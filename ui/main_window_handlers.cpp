// Lists, option buttons, check boxes, buttons and the right-click menu.
// Every handler that calculates goes through calculate(), which survives a
// calculation fault with the panels as they were.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "model/checked.hpp"
#include "model/codes.hpp"
#include "sections/materials.hpp"
#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"
#include "ui/main_window.hpp"
#include "ui/message_box.hpp"
#include "ui/read_number.hpp"
#include "ui/sketches.hpp"

namespace orvane::ui {

void MainWindow::connectHandlers() {
  const char* const materials[3] = {"cbofyp", "cbofys", "cbofyg"};
  for (int i = 0; i < 3; ++i)
    connect(control<QComboBox>(materials[i]), &QComboBox::activated, this,
            [this, i](int index) { materialChosen(i, index); });
  connect(ui_.cbostiff, &QComboBox::activated, this,
          [this](int index) { profileTypeChosen(Member::Stiffener, index); });
  connect(ui_.cboring, &QComboBox::activated, this,
          [this](int index) { profileTypeChosen(Member::RingFrame, index); });

  for (int type = 0; type < 4; ++type)
    connect(control<QRadioButton>(QStringLiteral("cylinder%1").arg(type).toLatin1().constData()),
            &QRadioButton::clicked, this, [this, type] { cylinderTypeChosen(type); });

  // flag check boxes: set the flag, calculate, and refresh where the mode shows it
  auto flag = [this](const char* name, int16_t ProjectNumbers::*member, bool refresh) {
    connect(control<QCheckBox>(name), &QCheckBox::clicked, this, [this, member, refresh](bool on) {
      ps_.*member = on ? 1 : 0;
      if (member == &ProjectState::ring_ch && !on) ps_.hring_ch = 0;
      // heavy ring-frame control only with ring-frame control
      if (member == &ProjectState::hring_ch && ps_.ring_ch != 1) ps_.hring_ch = 0;
      calculate();
      if (refresh) refreshWindow();
    });
  };
  flag("ring_ch", &ProjectState::ring_ch, true);
  flag("hring_ch", &ProjectState::hring_ch, true);
  flag("Outside_ch", &ProjectState::Outside_ch, true);
  flag("check_ih", &ProjectState::check_ih, false);

  auto option = [this](const char* name, int16_t ProjectNumbers::*member, int16_t value) {
    connect(control<QRadioButton>(name), &QRadioButton::clicked, this, [this, member, value] {
      ps_.*member = value;
      calculate();
    });
  };
  option("ringfab0", &ProjectState::ringfab, 0);
  option("ringfab1", &ProjectState::ringfab, 1);
  option("odmom1", &ProjectState::odmom, 0);
  option("odmom2", &ProjectState::odmom, 1);

  connect(ui_.opt_lrfd, &QRadioButton::clicked, this, [this] { designFormatChosen(false); });
  connect(ui_.opt_wsd, &QRadioButton::clicked, this, [this] { designFormatChosen(true); });
  connect(ui_.cmd_lrfd, &QPushButton::clicked, this, [this] {
    MessageBox::warn(
        this, QStringLiteral(
                  " For ALS condition, Allowable Usage Factor is recommended to be UF = 1.15 "));
  });
  connect(ui_.Command3, &QPushButton::clicked, this, &MainWindow::signOfPressure);
  connect(ui_.cmdpic_stiff, &QPushButton::clicked, this,
          [this] { openProfileWindow(Member::Stiffener, ps_.cbostiff); });
  connect(ui_.cmdpic_gird, &QPushButton::clicked, this, [this] {
    openProfileWindow(Member::RingFrame, ps_.cboring);
    ui_.ringprof->setText(designation(ringDesignation(ps_, ps_.cboring)));
    placeFrames();
  });

  startFieldEditor();
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  connectPeriphery(*this);
}

void MainWindow::materialChosen(int which, int index) {
  int16_t* const rows[3] = {&ps_.matp, &ps_.mats, &ps_.matg};
  double* const strengths[3] = {&ps_.fyp, &ps_.fys, &ps_.fyg};
  const char* const fields[3] = {"ifyp", "ifys", "ifyg"};
  QLineEdit* field = fields_.value(QString::fromLatin1(fields[which]));
  *rows[which] = static_cast<int16_t>(index);
  if (index == ps_.mat.count) {
    field->setEnabled(true);
  } else {
    try {
      if (which == 0) lookupPlate(ps_, index);
      if (which == 1) lookupStiffener(ps_, index);
      if (which == 2) lookupRing(ps_, index);
    } catch (const CalcFault&) {
      return;
    }
    field->setEnabled(false);
    field->setText(showPlain(*strengths[which], decimalFlag_));
  }
  calculate();
}

void MainWindow::profileTypeChosen(Member member, int index) {
  const bool ring = member == Member::RingFrame;
  (ring ? ps_.cboring : ps_.cbostiff) = static_cast<int16_t>(index);
  if (!profileType(index)) return;
  openProfileWindow(member, index);
  const std::string text = ring ? ringDesignation(ps_, index) : stiffenerDesignation(ps_, index);
  control<QLabel>(ring ? "ringprof" : "stiffprof")->setText(designation(text));
  control<QPushButton>(ring ? "cmdpic_gird" : "cmdpic_stiff")->setIcon(profileIcon(index));
  placeFrames();  // a longer designation may need a wider frame
}

void MainWindow::cylinderTypeChosen(int type) {
  const int16_t column = code(CylinderType::Column);
  const bool toColumn = type == column && ps_.cyltype != column;
  ps_.cyltype = static_cast<int16_t>(type);
  calculate();
  // the column takes its length from the cylinder for the next run
  if (type == column) ps_.l = ps_.L;
  refreshWindow();
  if (toColumn)
    showNotice(QStringLiteral("Column mode: Sigx, Sigy and Tau now come from N and M; l = L"));
}

void MainWindow::designFormatChosen(bool wsd) {
  ps_.wsd = wsd ? 1 : 0;
  if (!wsd) ps_.ufb = 1.0;
  ui_.cmd_wsd->setVisible(wsd);
  ui_.cmd_lrfd->setVisible(!wsd);
  calculate();
  refreshWindow();
}

void MainWindow::signOfPressure() {
  ps_.pd = -ps_.pd;
  fields_.value(QStringLiteral("ipp"))->setText(showNumber(ps_.pd, "##0.000", decimalFlag_));
  calculate();
}

bool MainWindow::rightClick(QObject* watched, QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || mouse->button() != Qt::RightButton) return false;
  const bool offers = w == this || w->property("orvanePopup").toBool();
  // unnamed inner parts of a control pass the click on to the control
  if (!offers && w->objectName().isEmpty()) return false;
  if (offers && ps_.cyltype != code(CylinderType::Unstiffened))
    profilesMenu_->popup(mouse->globalPosition().toPoint());
  return true;
}

}  // namespace orvane::ui
