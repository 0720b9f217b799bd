// The main window's modes, option buttons, buttons, lists, pop-up menu and
// result panels.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "ui/result_panel.hpp"
#include "ui_fixture.hpp"

using orvane::ui::ResultPanel;
using orvane::ui::test::Harness;
using orvane::ui::test::TextRecorder;

namespace {

bool hasColour(const QImage& image, const QColor& c) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == c) return true;
  return false;
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  void startsStringerStiffened() {
    QVERIFY(h->get<QRadioButton>("cylinder2")->isChecked());
    for (const char* shown : {"fr120", "fr121", "fr123", "Pic31", "pic32", "hring_ch"})
      QVERIFY2(h->get(shown)->isVisible(), shown);
    QVERIFY(!h->get("fr124")->isVisible());
    QVERIFY(!h->get("Test")->isVisible());
    QCOMPARE(h->get<QGroupBox>("fr31")->title(), QStringLiteral("Results Stiffener Buckling"));
    QVERIFY(h->get<QMenu>("mnuprofiles")->menuAction()->isVisible());
    QVERIFY(h->get<QMenu>("mnustiff")->menuAction()->isVisible());
    QVERIFY(h->get<QMenu>("mnuring")->menuAction()->isVisible());
    QCOMPARE(h->get<QComboBox>("cbostiff")->itemText(9), QStringLiteral("I-built up"));
    QCOMPARE(h->get<QComboBox>("cboring")->itemText(9), QStringLiteral("I-profile"));
  }

  void modeSwitchesShowTheirFrames() {
    h->get<QRadioButton>("cylinder3")->click();
    QVERIFY(h->get("fr124")->isVisible());
    QVERIFY(!h->get("fr123")->isVisible());
    QVERIFY(!h->get("fr121")->isVisible());
    QCOMPARE(h->get<QGroupBox>("fr31")->title(), QStringLiteral("Results Global Buckling"));
    QVERIFY(!h->get<QMenu>("mnuprofiles")->menuAction()->isVisible());
    QCOMPARE(h->get("fr124")->x(), h->get("fr123")->x());
    QCOMPARE(h->window->state().l, h->window->state().L);

    h->get<QRadioButton>("cylinder2")->click();
    QCOMPARE(h->get<QGroupBox>("fr31")->title(), QStringLiteral("Results Stiffener Buckling"));

    h->get<QRadioButton>("cylinder0")->click();
    QVERIFY(!h->get("hring_ch")->isVisible());
    QVERIFY(!h->get("Pic31")->isVisible());
    QVERIFY(!h->get("pic32")->isVisible());
    h->get<QRadioButton>("cylinder1")->click();
    QVERIFY(h->get("hring_ch")->isVisible());
    QVERIFY(!h->get("fr120")->isVisible());
    QVERIFY(!h->get<QMenu>("mnustiff")->menuAction()->isVisible());
    QVERIFY(h->get<QMenu>("mnuring")->menuAction()->isVisible());
  }

  void columnModeDrawsWithThePreviousSpan() {
    auto& ps = h->window->state();
    ps.l = 2500;
    const int runs = h->window->calculationRuns();
    h->get<QRadioButton>("cylinder3")->click();
    QCOMPARE(h->window->calculationRuns(), runs + 1);
    QCOMPARE(ps.l, ps.L);
    QCOMPARE(h->field("il")->text(), QStringLiteral("6000"));
  }

  void clearingRingControlHidesTheRingResults() {
    auto& ps = h->window->state();
    ps.hring_ch = 1;
    h->window->refreshWindow();
    QVERIFY(h->get<QCheckBox>("hring_ch")->isChecked());
    h->get<QCheckBox>("ring_ch")->click();
    QCOMPARE(ps.ring_ch, int16_t{0});
    QCOMPARE(ps.hring_ch, int16_t{0});
    QVERIFY(!h->get("pic32")->isVisible());
    QVERIFY(!h->get<QCheckBox>("hring_ch")->isChecked());
    // a flag set elsewhere shows cleared while ring control is off
    ps.hring_ch = 1;
    h->window->refreshWindow();
    QVERIFY(!h->get<QCheckBox>("hring_ch")->isChecked());
  }

  void pressureSignTwiceGivesItBack() {
    const int runs = h->window->calculationRuns();
    auto* sign = h->get<QPushButton>("Command3");
    sign->click();
    QCOMPARE(h->window->state().pd, 0.3f);
    QCOMPARE(h->field("ipp")->text(), QStringLiteral("0.300"));
    sign->click();
    QCOMPARE(h->window->state().pd, -0.3f);
    QCOMPARE(h->field("ipp")->text(), QStringLiteral("-0.300"));
    QCOMPARE(h->window->calculationRuns(), runs + 2);
  }

  void lrfdResetsTheUsageFactorAndWsdKeepsIt() {
    auto& ps = h->window->state();
    h->get<QRadioButton>("opt_wsd")->click();
    QCOMPARE(ps.wsd, int16_t{1});
    QCOMPARE(h->get<QLabel>("text_ufb")->text(), QStringLiteral("Basic Usage Factor, n0 ="));
    QVERIFY(h->get("cmd_wsd")->isVisible());
    QVERIFY(!h->get("cmd_lrfd")->isVisible());
    ps.ufb = 1.15;
    h->get<QRadioButton>("opt_wsd")->click();
    QCOMPARE(ps.ufb, static_cast<double>(1.15f));
    h->get<QRadioButton>("opt_lrfd")->click();
    QCOMPARE(ps.ufb, 1.0);
    QCOMPARE(h->field("iufb")->text(), QStringLiteral("1.00"));
    QCOMPARE(h->get<QLabel>("text_ufb")->text(), QStringLiteral("Allowable Usage Factor UF ="));
    QVERIFY(h->get("cmd_lrfd")->isVisible());
    h->get<QPushButton>("cmd_lrfd")->click();
    QCOMPARE(h->messages.texts,
             QStringList{QStringLiteral(
                 " For ALS condition, Allowable Usage Factor is recommended to be UF = 1.15 ")});
  }

  void refreshShowsLrfdForAFileWithWsdOff() {
    auto& ps = h->window->state();
    h->get<QRadioButton>("opt_wsd")->click();
    ps.wsd = 0;
    ps.ufb = 0.9;
    h->window->refreshWindow();
    QVERIFY(h->get<QRadioButton>("opt_lrfd")->isChecked());
    QCOMPARE(h->field("iufb")->text(), QStringLiteral("0.90"));
    QCOMPARE(ps.ufb, static_cast<double>(0.9f));
  }

  void profileTypeOpensItsWindowAndWritesTheDesignation() {
    auto& ps = h->window->state();
    ps.st.h = 200;
    ps.st.b = 90;
    ps.st.tw = 9;
    ps.st.tf = 12;
    QSignalSpy opened(h->window.get(), &orvane::ui::MainWindow::profileWindowRequested);
    const int runs = h->window->calculationRuns();
    auto* list = h->get<QComboBox>("cbostiff");
    list->setCurrentIndex(3);
    emit list->activated(3);
    QCOMPARE(ps.cbostiff, int16_t{3});
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toBool(), false);
    QCOMPARE(opened.at(0).at(1).toInt(), 3);
    QCOMPARE(h->get<QLabel>("stiffprof")->text(), QStringLiteral("T200x90x9.0x12.0"));
    QCOMPARE(h->window->calculationRuns(), runs);

    // the menu item opens the same window without writing the caption
    h->get<QLabel>("ringprof")->setText(QStringLiteral("unchanged"));
    h->window->findChild<QAction*>(QStringLiteral("mnugirdib"))->trigger();
    QCOMPARE(ps.cboring, int16_t{9});
    QCOMPARE(opened.count(), 2);
    QCOMPARE(opened.at(1).at(0).toBool(), true);
    QCOMPARE(h->get<QLabel>("ringprof")->text(), QStringLiteral("unchanged"));
  }

  void rightClickOffersProfilesExceptForThePlainCylinder() {
    auto* menu = h->get<QMenu>("mnuprofiles");
    QTest::mouseRelease(h->get("Label3"), Qt::RightButton);
    QVERIFY(menu->isVisible());
    menu->hide();
    // the column data offer no menu, nor does a left click
    QTest::mouseRelease(h->get("ik1"), Qt::RightButton);
    QVERIFY(!menu->isVisible());
    QTest::mouseRelease(h->get("it"), Qt::LeftButton);
    QVERIFY(!menu->isVisible());
    h->get<QRadioButton>("cylinder0")->click();
    QTest::mouseRelease(h->get("Label3"), Qt::RightButton);
    QVERIFY(!menu->isVisible());
  }

  void panelsShowTheTablesWithVerdictColours() {
    const auto& ps = h->window->state();
    TextRecorder shell;
    h->get<ResultPanel>("pic30")->replay(shell);
    const auto& t = ps.shellTable;
    QVERIFY(shell.find(t.label[0]) != nullptr);
    const orvane::ui::test::Printed* verdict = shell.find(t.value[t.n]);
    QVERIFY(verdict && verdict->bold);
    QCOMPARE(verdict->color, ps.UF > ps.UFallow ? orvane::kRed : orvane::kGreen);

    // on screen the colours are the palette's RGB values
    const bool stiffRed = ps.UFstiff > ps.UFallowStiff;
    const QImage stiff = h->get<ResultPanel>("Pic31")->grab().toImage();
    QCOMPARE(hasColour(stiff, QColor(128, 0, 0)), stiffRed);
    QCOMPARE(hasColour(stiff, QColor(0, 128, 0)), !stiffRed);
    QCOMPARE(h->get("check_ih")->isVisible(), ps.pd < 0);
  }

  void aCalculationFaultLeavesThePanels() {
    TextRecorder before;
    h->get<ResultPanel>("pic30")->replay(before);
    auto& ps = h->window->state();
    ps.sigx = 0;
    ps.sigy = 0;
    ps.tau = 0;
    ps.pd = 0;
    QVERIFY(!h->window->calculate());
    TextRecorder after;
    h->get<ResultPanel>("pic30")->replay(after);
    QCOMPARE(after.items.size(), before.items.size());
    for (size_t i = 0; i < after.items.size(); ++i)
      QCOMPARE(after.items[i].text, before.items[i].text);
    // an option button survives the same fault
    h->get<QRadioButton>("ringfab1")->click();
    QCOMPARE(ps.ringfab, int16_t{1});
  }

 private:
  std::unique_ptr<Harness> h;
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
