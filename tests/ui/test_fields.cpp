// Typing into the main window's fields and leaving them: stored value,
// shown text, warnings, where the focus ends and whether the calculation ran.
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "ui_fixture.hpp"

using orvane::ui::test::Harness;

class FieldTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  void startsOnTheNewProjectDefaults() {
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File"));
    QVERIFY(h->messages.texts.isEmpty());
    QCOMPARE(h->window->calculationRuns(), 1);
    QCOMPARE(h->field("it")->text(), QStringLiteral("20.0"));
    QCOMPARE(h->field("ie")->text(), QStringLiteral("2.10E+5"));
    QCOMPARE(h->field("ipp")->text(), QStringLiteral("-0.300"));
    QCOMPARE(h->field("iufb")->text(), QStringLiteral("1.00"));
  }

  void leavingStoresShowsAndCalculates() {
    const int runs = h->window->calculationRuns();
    h->type("it", QStringLiteral("12.34"));
    QVERIFY(h->focusColour("it"));
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, static_cast<double>(12.34f));
    QCOMPARE(h->field("it")->text(), QStringLiteral("12.3"));
    QVERIFY(h->messages.texts.isEmpty());
    QCOMPARE(h->window->calculationRuns(), runs + 1);
    QVERIFY(!h->focusColour("it"));
    QCOMPARE(h->focused(), QStringLiteral("il"));
    // leaving again re-reads the shown text
    h->leaveTo("it");
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, static_cast<double>(12.3f));
  }

  void boundsAreInclusive() {
    const char* const cases[][2] = {{"it", "0.1"},   {"ik1", "0.2"},  {"ik2", "0.2"},
                                    {"iufb", "0.5"}, {"iufb", "1.5"}, {"il", "50"}};
    h->window->state().cyltype = 3;
    h->window->refreshWindow();
    for (const auto& c : cases) {
      h->type(c[0], QString::fromLatin1(c[1]));
      h->leaveTo("icylr");
      QVERIFY2(h->messages.texts.isEmpty(), c[0]);
    }
  }

  void pointSettingReadsLeniently() {
    h->type("it", QStringLiteral("12,5"));
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, 12.5);
    QCOMPARE(h->field("it")->text(), QStringLiteral("12.5"));
    h->type("it", QStringLiteral("7 mm"));
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, 7.0);

    h->type("it", QStringLiteral("abc"));
    const int runs = h->window->calculationRuns();
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, 0.0);
    QCOMPARE(h->field("it")->text(), QStringLiteral("0.0"));
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 0.1 <= t ")});
    QCOMPARE(h->focused(), QStringLiteral("it"));
    QVERIFY(h->focusColour("it"));
    QCOMPARE(h->window->calculationRuns(), runs + 1);
  }

  void commaSettingReadsStrictly() {
    h.reset();
    h = std::make_unique<Harness>(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(h->window->decimalFlag() != 0);
    QCOMPARE(h->field("it")->text(), QStringLiteral("20,0"));
    h->type("it", QStringLiteral("12.5"));
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, 12.5);
    QCOMPARE(h->field("it")->text(), QStringLiteral("12,5"));
    h->type("it", QStringLiteral("12,5"));
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, 12.5);

    h->type("it", QStringLiteral("abc"));
    const int runs = h->window->calculationRuns();
    h->leaveTo("il");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("Input string mismatch ")});
    QCOMPARE(h->window->state().t, 12.5);
    QCOMPARE(h->field("it")->text(), QStringLiteral("abc"));
    QCOMPARE(h->focused(), QStringLiteral("it"));
    QCOMPARE(h->window->calculationRuns(), runs);
  }

  void sigxCalculatesEvenAfterMismatch() {
    h.reset();
    h = std::make_unique<Harness>(QLocale(QLocale::German, QLocale::Germany));
    const int runs = h->window->calculationRuns();
    h->type("isigx", QStringLiteral("x"));
    h->leaveTo("isigy");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("Input string mismatch ")});
    QCOMPARE(h->window->state().sigx, -100.0);
    QCOMPARE(h->window->calculationRuns(), runs + 1);
  }

  void youngsModulusIsTestedAsShown() {
    h->type("ie", QStringLiteral("999.6"));
    h->leaveTo("il");
    QVERIFY(h->messages.texts.isEmpty());
    QCOMPARE(h->field("ie")->text(), QStringLiteral("1.00E+3"));
    QCOMPARE(h->window->state().E, 999.6f);
    h->type("ie", QStringLiteral("999.4"));
    h->leaveTo("il");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 1000 <= E-modulus ")});
    QCOMPARE(h->field("ie")->text(), QStringLiteral("9.99E+2"));
    QCOMPARE(h->window->state().E, 999.4f);
    QCOMPARE(h->focused(), QStringLiteral("ie"));
  }

  void ringFrameLengthIsCutBack() {
    auto& ps = h->window->state();
    ps.cyltype = 1;
    ps.cboring = 3;  // built up, so that the calculation keeps h 200, tf 12
    ps.ringBuilt.tb = {200, 90, 9, 12};
    ps.rg.h = 200;
    ps.rg.tf = 12;
    h->window->refreshWindow();
    h->type("igilt", QStringLiteral("3000"));
    h->leaveTo("icyll");
    QCOMPARE(h->messages.texts.value(0), QStringLiteral(" lt<=pi*Sqr(r*h), ref ch B.5.9 "));
    QCOMPARE(h->field("igilt")->text(), QStringLiteral("2486"));
    QVERIFY(std::abs(ps.ltgi - 2485.83f) < 0.01f);
    QCOMPARE(h->focused(), QStringLiteral("igilt"));
  }

  void usageFactorOutOfRangeSkipsTheCalculation() {
    const int runs = h->window->calculationRuns();
    h->type("iufb", QStringLiteral("1.6"));
    h->leaveTo("icylr");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 0.5 < UF < 1.5 ")});
    QCOMPARE(h->window->calculationRuns(), runs);
    QCOMPARE(h->window->state().ufb, static_cast<double>(1.6f));
    QCOMPARE(h->focused(), QStringLiteral("iufb"));
    QVERIFY(h->focusColour("iufb"));
    // the next calculation, started by another input, uses it
    h->get<QPushButton>("Command3")->click();
    QCOMPARE(h->window->calculationRuns(), runs + 1);
    const auto& shell = h->window->state().shellTable;
    QVERIFY(QString::fromStdString(shell.unit[shell.n]).contains(QStringLiteral("1.60")));
  }

  void spanWarningLeavesTheFocusWhereTheUserWent() {
    const int runs = h->window->calculationRuns();
    h->type("il", QStringLiteral("40"));
    h->leaveTo("it");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" l >= 50 ")});
    QCOMPARE(h->focused(), QStringLiteral("it"));
    QVERIFY(h->focusColour("it"));
    QCOMPARE(h->window->calculationRuns(), runs + 1);
  }

  void stiffenerSpacingTestsInTwoStages() {
    h->type("is1", QStringLiteral("5"));
    h->leaveTo("ilt");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 10 <= s   ")});
    QCOMPARE(h->focused(), QStringLiteral("is1"));
    h->messages.texts.clear();
    h->type("is1", QStringLiteral("4000"));
    h->leaveTo("ilt");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" s  <= r  ")});
    QCOMPARE(h->focused(), QStringLiteral("ilt"));
    // on Enter the same warning keeps the focus
    h->messages.texts.clear();
    h->type("is1", QStringLiteral("4000"));
    h->enter();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" s  <= r  ")});
    QCOMPARE(h->focused(), QStringLiteral("is1"));
  }

  void cylinderLengthTestsInTwoStages() {
    h->type("icyll", QStringLiteral("40"));
    h->leaveTo("igilt");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" L >= 50  ")});
    QCOMPARE(h->focused(), QStringLiteral("icyll"));
    h->messages.texts.clear();
    h->type("icyll", QStringLiteral("2000"));
    h->leaveTo("igilt");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" L >= l  ")});
    QCOMPARE(h->focused(), QStringLiteral("icyll"));
    QCOMPARE(h->window->state().L, 2000.0);
  }

  void enterReadsFirstAndKeepsTheFocusOnAWarning() {
    h->window->state().cyltype = 3;
    h->window->refreshWindow();
    h->type("ik1", QStringLiteral("0.1"));
    h->enter();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" k1 >= 0.2  ")});
    QCOMPARE(h->window->state().k1, static_cast<double>(0.1f));
    QCOMPARE(h->focused(), QStringLiteral("ik1"));
    h->messages.texts.clear();
    h->field("ik1")->clear();  // the text stays unselected after the warning
    h->type("ik1", QStringLiteral("0.7"));
    h->enter();
    QVERIFY(h->messages.texts.isEmpty());
    QCOMPARE(h->focused(), QStringLiteral("ik2"));
    QCOMPARE(h->field("ik1")->text(), QStringLiteral("0.70"));
  }

  void enterChainFollowsTheMode_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("chain");
    const QString head = QStringLiteral("iproj iident iufb icylr il it ie cbofyp ");
    const QString loads = QStringLiteral("isigx isigy itau ipp iproj");
    QTest::newRow("cylinder") << 0 << (head + loads).split(' ');
    QTest::newRow("ring stiffened")
        << 1 << (head + QStringLiteral("icyll igilt cboring cbofyg ") + loads).split(' ');
    QTest::newRow("stringer stiffened")
        << 2
        << (head + QStringLiteral("is1 ilt cbostiff cbofys icyll igilt cboring cbofyg ") + loads)
               .split(' ');
    QTest::newRow("column")
        << 3
        << (head + QStringLiteral("icolL ik1 ik2 inn ip im1a im1b im2a im2b iproj")).split(' ');
  }
  void enterChainFollowsTheMode() {
    QFETCH(int, type);
    QFETCH(QStringList, chain);
    h->window->state().cyltype = static_cast<int16_t>(type);
    h->window->refreshWindow();
    h->get("iproj")->setFocus(Qt::TabFocusReason);
    QStringList walked{h->focused()};
    for (int i = 1; i < chain.size(); ++i) {
      h->enter();
      walked << h->focused();
    }
    QCOMPARE(walked, chain);
    QVERIFY(h->messages.texts.isEmpty());
  }

  void userDefinedMaterialEnablesTheStrengthField() {
    auto* list = h->get<QComboBox>("cbofyp");
    const int user = list->count() - 1;
    list->setCurrentIndex(user);
    emit list->activated(user);
    QVERIFY(h->field("ifyp")->isEnabled());
    h->get("iproj")->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 7; ++i) h->enter();
    QCOMPARE(h->focused(), QStringLiteral("cbofyp"));
    h->enter();
    QCOMPARE(h->focused(), QStringLiteral("ifyp"));
    h->type("ifyp", QStringLiteral("2000"));
    h->leaveTo("it");
    QVERIFY(h->messages.texts.isEmpty());
    h->type("ifyp", QStringLiteral("2001"));
    h->leaveTo("it");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 50 <= fyp <= 2000 ")});
  }

  // A message box opened while a field is left must not start the cycle of
  // the field that gets the focus meanwhile.
  void aWarningDoesNotStartAnotherFieldsCycle() {
    const int runs = h->window->calculationRuns();
    h->messages.onShow = [this](const QString&) { h->get("il")->setFocus(Qt::MouseFocusReason); };
    h->type("it", QStringLiteral("0.05"));
    h->leaveTo("ie");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 0.1 <= t ")});
    QCOMPARE(h->window->calculationRuns(), runs + 1);
    QCOMPARE(h->focused(), QStringLiteral("it"));
    QVERIFY(!h->focusColour("il"));
    QVERIFY(!h->focusColour("ie"));
  }

 private:
  std::unique_ptr<Harness> h;
};

QTEST_MAIN(FieldTest)
#include "test_fields.moc"
