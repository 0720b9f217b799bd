// The window redrawn from the project: after a calculation run the result
// panels (or, after a fault, the fault line over the last complete results),
// and refreshWindow(), which writes every control from ProjectState and
// shows the frames of the cylinder type. Nothing here runs a control's own
// handling: the values are set without the user signals the handlers
// listen to.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "core/calc_driver.hpp"
#include "core/panels.hpp"
#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/common/read_number.hpp"
#include "ui/common/sketches.hpp"
#include "ui/main/main_window.hpp"
#include "ui/main/result_panel.hpp"
#include "ui/sheet/sheet_document.hpp"
#include "ui/sheet/sheet_window.hpp"

namespace orvane::ui {

void MainWindow::refreshed() {
  refreshWindow();
  noteChange();
}

void MainWindow::calculated(const std::optional<std::string>& fault) {
  ++calcRuns_;
  lastRunComplete_ = !fault;
  if (!enteringCase_) cases_->setBase(ps_, fault);
  if (sheet_ && sheet_->isVisible()) sheet_->setSheet(sheetHtml(), sheetPageTitle(ps_));
  if (fault) {
    showStrengths();
    setFaultLine(QStringLiteral("Calculation stopped: ") + QString::fromStdString(*fault) +
                 QStringLiteral(" \u2014 the panels show the last complete results"));
  } else {
    updatePanels();
    showStrengths();
    setFaultLine({});
  }
  requestStep();
  emit projectCalculated();
}

void MainWindow::refreshWindow() {
  const int d = decimalFlag_;
  using F = FieldId;
  auto show = [&](FieldId id, double v, const char* pattern) {
    field(id)->setText(showNumber(v, pattern, d));
  };

  field(F::iproj)->setText(QString::fromStdString(ps_.projectName));
  field(F::iident)->setText(QString::fromStdString(ps_.ident));

  showMode();

  show(F::icolL, ps_.L, "#00");
  show(F::ik1, ps_.k1, "0.00");
  show(F::ik2, ps_.k2, "0.00");
  show(F::inn, ps_.N, "#0.0");
  show(F::im1a, ps_.M1a, "#0.0");
  show(F::im1b, ps_.M1b, "#0.0");
  show(F::im2a, ps_.M2a, "#0.0");
  show(F::im2b, ps_.M2b, "#0.0");
  show(F::ip, ps_.pd, "##0.000");

  refreshValues(ps_);
  const bool wsd = ps_.wsd != 0;
  (wsd ? ui_.opt_wsd : ui_.opt_lrfd)->setChecked(true);
  ui_.text_ufb->setText(wsd ? QStringLiteral("Basic Usage Factor, n0 =")
                            : QStringLiteral("Allowable Usage Factor UF ="));
  ui_.cmd_lrfd->setVisible(!wsd);
  ui_.cmd_wsd->setVisible(wsd);
  show(F::iufb, ps_.ufb, "#0.00");

  fillMaterialLists();
  show(F::ie, ps_.E, "0.00E+0");
  fillProfileLists();

  ui_.ringfab[ps_.ringfab == 0 ? 0 : 1]->setChecked(ps_.ringfab == 0 || ps_.ringfab == 1);

  show(F::is1, ps_.s, "#00");
  show(F::ilt, ps_.ltst, "#00");
  show(F::icylr, ps_.r, "#00");
  show(F::icyll, ps_.L, "#00");
  show(F::igilt, ps_.ltgi, "#00");
  show(F::il, ps_.l, "#00");
  show(F::it, ps_.t, "#0.0");
  show(F::isigx, ps_.sigx, "##0.0");
  show(F::isigy, ps_.sigy, "##0.0");
  show(F::itau, ps_.tau, "##0.0");
  show(F::ipp, ps_.pd, "##0.000");

  ui_.txt1->setText(
      QStringLiteral("Note 1: Negative sigx / sigy = compression \n"
                     "Note 2: Positive pd = inside pressure "));
  placeFrames();  // the frames shown and their texts decide the room needed
}

void MainWindow::showMode() {
  const int type = ps_.cyltype;
  const bool stiffened = type == 1 || type == 2;
  if (type != 3) showNotice({});  // the column-mode notice no longer applies
  if (type >= 0 && type <= 3) ui_.cylinder[static_cast<size_t>(type)]->setChecked(true);
  sketch_->setSketch(cylinderSketch(ps_));

  ui_.fr120->setVisible(type == 2);
  ui_.fr121->setVisible(stiffened);
  ui_.fr123->setVisible(type != 3);
  ui_.fr124->setVisible(type == 3);
  for (QCheckBox* box : {ui_.Outside_ch, ui_.ring_ch, ui_.hring_ch}) box->setVisible(stiffened);
  const ShownPanels shown = shownPanels(ps_);
  panels_[1]->setVisible(shown.stiffener || shown.column);
  if (stiffened) ui_.fr31->setTitle(QStringLiteral("Results Stiffener Buckling"));
  if (type == 3) ui_.fr31->setTitle(QStringLiteral("Results Global Buckling"));
  panels_[2]->setVisible(shown.ring);

  profilesMenu_->menuAction()->setVisible(stiffened);
  ui_.mnuring->menuAction()->setVisible(stiffened);
  ui_.mnustiff->menuAction()->setVisible(type == 2);

  if (stiffened) {
    ui_.Outside_ch->setChecked(ps_.Outside_ch != 0);
    ui_.ring_ch->setChecked(ps_.ring_ch == 1);
    ui_.hring_ch->setChecked(ps_.ring_ch != 0 && ps_.hring_ch == 1);
    // heavy ring-frame control is part of ring-frame control
    ui_.hring_ch->setEnabled(ps_.ring_ch == 1);
  }
  if (type == 2) ui_.check_ih->setChecked(ps_.check_ih == 1);
  if (type == 3) {
    ui_.odmom[ps_.odmom == 0 ? 0 : 1]->setChecked(true);
    placeColumnFrame();
  }
}

void MainWindow::fillMaterialLists() {
  QStringList names;
  for (int i = 0; i <= ps_.mat.count && i < MaterialTable::kRows; ++i)
    names << QString::fromStdString(ps_.mat.name[i]);
  struct List {
    QComboBox* box;
    FieldId field;
    int16_t index;
    double value;
  } const lists[] = {{ui_.cbofyp, FieldId::ifyp, ps_.matp, ps_.fyp},
                     {ui_.cbofys, FieldId::ifys, ps_.mats, ps_.fys},
                     {ui_.cbofyg, FieldId::ifyg, ps_.matg, ps_.fyg}};
  for (const List& l : lists) {
    QComboBox* box = l.box;
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(l.index < names.size() ? l.index : -1);
    QLineEdit* strength = field(l.field);
    strength->setText(showNumber(l.value, "#000", decimalFlag_));
    strength->setEnabled(l.index == ps_.mat.count);
  }
}

void MainWindow::fillProfileLists() {
  auto fill = [](QComboBox* box, const char* const* texts, int index) {
    box->clear();
    for (int i = 0; i < 10; ++i) box->addItem(QString::fromLatin1(texts[i]));
    box->setCurrentIndex(index >= 0 && index < 10 ? index : -1);
  };
  fill(ui_.cbostiff, kStiffenerTypes, ps_.cbostiff);
  if (ps_.cbostiff >= 0 && ps_.cbostiff <= 8)
    ui_.stiffprof->setText(designation(stiffenerDesignation(ps_, ps_.cbostiff)));
  fill(ui_.cboring, kRingTypes, ps_.cboring);
  if (ps_.cboring >= 0 && ps_.cboring <= 8)
    ui_.ringprof->setText(designation(ringDesignation(ps_, ps_.cboring)));
  ui_.cmdpic_stiff->setIcon(profileIcon(ps_.cbostiff));
  ui_.cmdpic_gird->setIcon(profileIcon(ps_.cboring));
}

void MainWindow::setTitle() {
  setWindowTitle(QStringLiteral("Orvane DNV: ") + QString::fromStdString(ps_.fileName) +
                 QStringLiteral("[*]"));
}

void MainWindow::updatePanels() {
  // Each panel keeps its own copy of what it shows, so that a later failed
  // run leaves the drawing as it was.
  auto snap = std::make_shared<const ProjectState>(ps_);
  for (int i = 0; i < 3; ++i)
    panels_[i]->setDrawing([snap, i](DrawTarget& t) { drawResultPanel(t, *snap, i); });
  ui_.check_ih->setVisible(ringRemarkShown(*snap));
  lastComplete_ = std::move(snap);
  placeFrames();  // the panels may need more room
}

// The yield-strength fields of the tabled materials show the strength the
// calculation looked up (it follows the thickness); a user-defined one
// shows what the user typed.
void MainWindow::showStrengths() {
  struct Strength {
    FieldId field;
    int16_t row;
    double value;
  } const strengths[] = {{FieldId::ifyp, ps_.matp, ps_.fyp},
                         {FieldId::ifys, ps_.mats, ps_.fys},
                         {FieldId::ifyg, ps_.matg, ps_.fyg}};
  for (const Strength& s : strengths) {
    if (s.row == ps_.mat.count) continue;
    field(s.field)->setText(showPlain(s.value, decimalFlag_));
  }
}

}  // namespace orvane::ui
