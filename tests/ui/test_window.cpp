// The main window's modes, option buttons, buttons, pop-up menu and result
// panels.
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ui/main/result_panel.hpp"
#include "ui_fixture.hpp"

using orvane::ui::ResultPanel;
using orvane::ui::test::Harness;
using orvane::ui::test::TextRecorder;

class WindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;

  // A control is shown, or a menu's entry in the menu bar.
  bool shown(const QString& name) const {
    if (auto* menu = h->window->findChild<QMenu*>(name)) return menu->menuAction()->isVisible();
    return h->get(qPrintable(name))->isVisible();
  }
  void click(const QString& button) { h->get<QAbstractButton>(qPrintable(button))->click(); }
  QStringList panelTexts(const char* panel) {
    TextRecorder r;
    h->get<ResultPanel>(panel)->replay(r);
    QStringList texts;
    for (const auto& p : r.items) texts << QString::fromStdString(p.text);
    return texts;
  }

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  void eachModeShowsItsFrames() {
    const QStringList names = QStringLiteral(
                                  "fr120 fr121 fr123 fr124 Outside_ch ring_ch hring_ch Pic31 pic32 "
                                  "mnuprofiles mnuring mnustiff")
                                  .split(' ');
    const QString ring =
        QStringLiteral("fr121 fr123 Outside_ch ring_ch hring_ch pic32 mnuprofiles mnuring");
    const QString visible[4] = {QStringLiteral("fr123"), ring, ring + " fr120 Pic31 mnustiff",
                                QStringLiteral("fr124 Pic31")};
    auto& ps = h->window->state();
    for (int chosen : {-1, 3, 0, 1, 2}) {  // as started, then each mode button
      const int type = chosen < 0 ? 2 : chosen;
      const QString mode = QStringLiteral("cylinder%1").arg(type);
      if (chosen >= 0) {
        ps.l = 2500;
        const int runs = h->window->calculationRuns();
        click(mode);
        QCOMPARE(h->window->calculationRuns(), runs + 1);
        // only the column takes the cylinder length as its span, after the run
        QCOMPARE(ps.l, type == 3 ? ps.L : 2500.0);
      }
      QVERIFY(h->get<QRadioButton>(qPrintable(mode))->isChecked());
      for (const QString& name : names)
        QVERIFY2(shown(name) == visible[type].split(' ').contains(name), qPrintable(mode + name));
      if (type > 0)
        QCOMPARE(h->get<QGroupBox>("fr31")->title(),
                 type == 3 ? QStringLiteral("Results Global Buckling")
                           : QStringLiteral("Results Stiffener Buckling"));
      if (type == 3) QCOMPARE(h->get("fr124")->x(), h->get("fr123")->x());
    }
  }

  void clearingRingControlHidesTheRingResults() {
    auto& ps = h->window->state();
    ps.hring_ch = 1;
    h->window->refreshWindow();
    QVERIFY(h->get<QCheckBox>("hring_ch")->isChecked());
    click("ring_ch");
    QCOMPARE(ps.ring_ch, int16_t{0});
    QCOMPARE(ps.hring_ch, int16_t{0});
    QVERIFY(!shown("pic32"));
    // a flag set elsewhere shows cleared while ring control is off
    ps.hring_ch = 1;
    h->window->refreshWindow();
    QVERIFY(!h->get<QCheckBox>("hring_ch")->isChecked());
  }

  void pressureSignTwiceGivesItBack() {
    const int runs = h->window->calculationRuns();
    for (float pd : {0.3f, -0.3f}) {
      click("Command3");
      QCOMPARE(h->window->state().pd, pd);
      QCOMPARE(h->field("ipp")->text(), QString::number(pd, 'f', 3));
    }
    QCOMPARE(h->window->calculationRuns(), runs + 2);
  }

  void designFormatSetsCaptionInfoButtonAndUsageFactor() {
    auto& ps = h->window->state();
    auto expectFormat = [&](bool wsd, double ufb, const char* text) {
      QCOMPARE(ps.wsd, int16_t{wsd});
      QVERIFY(h->get<QRadioButton>(wsd ? "opt_wsd" : "opt_lrfd")->isChecked());
      QCOMPARE(h->get<QLabel>("text_ufb")->text(),
               wsd ? QStringLiteral("Basic Usage Factor, n0 =")
                   : QStringLiteral("Allowable Usage Factor UF ="));
      QCOMPARE(shown("cmd_wsd"), wsd);
      QCOMPARE(shown("cmd_lrfd"), !wsd);
      QCOMPARE(ps.ufb, ufb);
      QCOMPARE(h->field("iufb")->text(), QString::fromLatin1(text));
    };
    ps.ufb = 1.15;
    click("opt_wsd");
    expectFormat(true, double{1.15f}, "1.15");  // WSD keeps the factor
    click("opt_lrfd");
    expectFormat(false, 1.0, "1.00");  // LRFD resets it
    click("cmd_lrfd");
    QCOMPARE(h->messages.texts,
             QStringList{QStringLiteral(
                 " For ALS condition, Allowable Usage Factor is recommended to be UF = 1.15 ")});
    // a file read with WSD off shows LRFD with the file's factor
    click("opt_wsd");
    ps.wsd = 0;
    ps.ufb = 0.9;
    h->window->refreshWindow();
    expectFormat(false, double{0.9f}, "0.90");
  }

  void rightClickOffersProfilesExceptForThePlainCylinder() {
    auto* menu = h->get<QMenu>("mnuprofiles");
    QTest::mouseRelease(h->get("Label3"), Qt::RightButton);
    QVERIFY(menu->isVisible());
    menu->hide();
    // the column data offer no menu, nor does a left click
    QTest::mouseRelease(h->get("ik1"), Qt::RightButton);
    QTest::mouseRelease(h->get("it"), Qt::LeftButton);
    QVERIFY(!menu->isVisible());
    click("cylinder0");
    QTest::mouseRelease(h->get("Label3"), Qt::RightButton);
    QVERIFY(!menu->isVisible());
  }

  void panelsShowTheTablesInThePaletteColours() {
    const auto& ps = h->window->state();
    QVERIFY(panelTexts("pic30").contains(QString::fromStdString(ps.shellTable.label[0])));
    const bool stiffRed = ps.UFstiff > ps.UFallowStiff;
    const QImage stiff =
        h->get<ResultPanel>("Pic31")->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* px = reinterpret_cast<const QRgb*>(stiff.constBits());
    const QList<QRgb> pixels(px, px + stiff.sizeInBytes() / 4);
    QCOMPARE(pixels.contains(qRgb(128, 0, 0)), stiffRed);
    QCOMPARE(pixels.contains(qRgb(0, 128, 0)), !stiffRed);
    QCOMPARE(shown("check_ih"), ps.pd < 0);
  }

  void aCalculationFaultLeavesThePanels() {
    const QStringList before = panelTexts("pic30");
    auto& ps = h->window->state();
    ps.sigx = ps.sigy = ps.tau = ps.pd = 0;
    QVERIFY(!h->window->calculate());
    QCOMPARE(panelTexts("pic30"), before);
    // an option button survives the same fault
    click("ringfab1");
    QCOMPARE(ps.ringfab, int16_t{1});
  }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
