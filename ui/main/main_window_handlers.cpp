// The mode rules: what choosing in a list, an option button, a check box or
// a button of the main window does (stored through the session with the
// input's rules, a run, the window refreshed where the mode shows it), and
// the right-click menu. Every handler that calculates goes through
// calculate(), which survives a calculation fault with the panels as they
// were.
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
#include "ui/common/message_box.hpp"
#include "ui/common/read_number.hpp"
#include "ui/common/sketches.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui {

void MainWindow::connectHandlers() {
  for (const InputId material : {InputId::matp, InputId::mats, InputId::matg})
    connect(controlOf<QComboBox>(material), &QComboBox::activated, this,
            [this, material](int index) { materialChosen(material, index); });
  connect(ui_.cbostiff, &QComboBox::activated, this,
          [this](int index) { profileTypeChosen(Member::Stiffener, index); });
  connect(ui_.cboring, &QComboBox::activated, this,
          [this](int index) { profileTypeChosen(Member::RingFrame, index); });

  for (int type = 0; type < 4; ++type)
    connect(ui_.cylinder[static_cast<size_t>(type)], &QRadioButton::clicked, this,
            [this, type] { cylinderTypeChosen(type); });

  // flag check boxes: one step each, and a refresh where the mode shows it
  for (const InputId flag :
       {InputId::ring_ch, InputId::hring_ch, InputId::Outside_ch, InputId::check_ih}) {
    connect(controlOf<QCheckBox>(flag), &QCheckBox::clicked, this, [this, flag](bool on) {
      choose(flag, on ? 1 : 0);
      if (flag != InputId::check_ih) refreshWindow();
    });
  }

  const std::pair<QRadioButton*, std::pair<InputId, int>> options[] = {
      {ui_.ringfab[0], {InputId::ringfab, 0}},
      {ui_.ringfab[1], {InputId::ringfab, 1}},
      {ui_.odmom[0], {InputId::odmom, 0}},
      {ui_.odmom[1], {InputId::odmom, 1}},
  };
  for (const auto& [button, choice] : options)
    connect(button, &QRadioButton::clicked, this,
            [this, choice = choice] { choose(choice.first, choice.second); });

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

Stored MainWindow::choose(InputId input, int value) {
  const Stored stored = session_.store(inputDef(input), value);
  if (!stored.refused && stored.runs) calculate();
  return stored;
}

// A material row looks up its strength; the user-defined row (the last)
// lets the strength be typed.
void MainWindow::materialChosen(InputId input, int index) {
  const InputId strength = input == InputId::matp   ? InputId::fyp
                           : input == InputId::mats ? InputId::fys
                                                    : InputId::fyg;
  QLineEdit* field = fieldOfInput(strength);
  const Stored stored = choose(input, index);
  if (index == ps_.mat.count) {
    field->setEnabled(true);
    return;
  }
  if (!stored.runs) return;  // the look-up stopped on a fault
  field->setEnabled(false);
  field->setText(showPlain(inputDef(strength).get(ps_), decimalFlag_));
}

void MainWindow::profileTypeChosen(Member member, int index) {
  const bool ring = member == Member::RingFrame;
  // the profile window's activation runs the calculation and its section
  session_.store(inputDef(ring ? InputId::cboring : InputId::cbostiff), index);
  if (!profileType(index)) return;
  openProfileWindow(member, index);
  const std::string text = ring ? ringDesignation(ps_, index) : stiffenerDesignation(ps_, index);
  (ring ? ui_.ringprof : ui_.stiffprof)->setText(designation(text));
  (ring ? ui_.cmdpic_gird : ui_.cmdpic_stiff)->setIcon(profileIcon(index));
  placeFrames();  // a longer designation may need a wider frame
}

void MainWindow::cylinderTypeChosen(int type) {
  const int16_t column = code(CylinderType::Column);
  const bool toColumn = type == column && ps_.cyltype != column;
  choose(InputId::cyltype, type);  // the column takes l = L after the run
  refreshWindow();
  if (toColumn)
    showNotice(QStringLiteral("Column mode: Sigx, Sigy and Tau now come from N and M; l = L"));
}

void MainWindow::designFormatChosen(bool wsd) {
  const Stored stored = session_.store(inputDef(InputId::wsd), wsd ? 1 : 0);  // LRFD: ufb = 1.0
  ui_.cmd_wsd->setVisible(wsd);
  ui_.cmd_lrfd->setVisible(!wsd);
  if (stored.runs) calculate();
  refreshWindow();
}

void MainWindow::signOfPressure() {
  const InputDef& pd = inputDef(InputId::pd);
  session_.store(pd, -pd.get(ps_));
  fieldOfInput(InputId::pd)->setText(showNumber(pd.get(ps_), pd.pattern, decimalFlag_));
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
