// Typing into the main window's fields and leaving them: stored value,
// shown text, warnings, where the focus ends and whether the calculation ran.
#include <QComboBox>
#include <QTest>

#include "project/input_names.hpp"
#include "ui/main/field_table.hpp"
#include "ui_fixture.hpp"

using orvane::ui::test::Harness;

constexpr const char* kMismatch = "Input string mismatch ";

// A field typed into and left for another control, or Enter pressed in it,
// and what follows.
struct Leaving {
  bool comma;  // the user's number format has a decimal comma
  const char *field, *typed;
  const char* to;       // null: Enter
  const char* warning;  // "": none
  const char *focus, *text;
  double stored;
  int calculations;
  int type = 2;  // cylinder type
};
Q_DECLARE_METATYPE(Leaving)

class FieldTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;

  int runs() const { return h->window->calculationRuns(); }
  void setMode(int type) {
    h->window->state().cyltype = static_cast<int16_t>(type);
    h->window->refreshWindow();
  }
  static void row(const char* name, const Leaving& c) { QTest::newRow(name) << c; }
  static QStringList warned(const char* text) {
    return *text ? QStringList{QString::fromLatin1(text)} : QStringList{};
  }

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  void startsOnTheNewProjectDefaults() {
    QCOMPARE(h->window->windowTitle(), QStringLiteral("Orvane DNV: New File[*]"));
    QVERIFY(h->messages.texts.isEmpty());
    QCOMPARE(runs(), 1);
  }

  void leavingRereadsTheShownTextAndDropsTheFocusColour() {
    h->type("it", QStringLiteral("12.34"));
    QVERIFY(h->focusColour("it"));
    h->leaveTo("il");
    QVERIFY(!h->focusColour("it"));
    QCOMPARE(h->window->state().t, double{12.34f});
    h->leaveTo("it");
    h->leaveTo("il");
    QCOMPARE(h->window->state().t, double{12.3f});
  }

  void leavingReadsAndTests_data() {
    QTest::addColumn<Leaving>("c");
    // only a whole number with the user's separator is taken; any other
    // text keeps the stored value, the focus back and nothing calculated
    row("point: point", {false, "it", " 12.5 ", "il", "", "il", "12.5", 12.5, 1});
    row("comma: comma", {true, "it", "12,5", "il", "", "il", "12,5", 12.5, 1});
    for (const bool comma : {false, true}) {
      for (const char* typed : {"abc", " ", "12,5 mm", "12.5 mm", "2\uFF15", "1,500.5", "1e"}) {
        const QByteArray name = (comma ? "comma: " : "point: ") + QByteArray(typed);
        row(name.constData(), {comma, "it", typed, "il", kMismatch, "it", typed, 20, 0});
      }
    }
    row("point: comma", {false, "it", "12,5", "il", kMismatch, "it", "12,5", 20, 0});
    row("comma: point", {true, "it", "12.5", "il", kMismatch, "it", "12.5", 20, 0});
    // (l calculates after its report, with the value kept)
    row("fullwidth 300",
        {false, "il", "\uFF13\uFF10\uFF10", "it", kMismatch, "il", "\uFF13\uFF10\uFF10", 3000, 1});
    // sigx calculates even after a mismatch
    row("comma: sigx", {true, "isigx", "x", "isigy", kMismatch, "isigx", "x", -100, 1});
    // bounds are inclusive
    row("l 50", {false, "il", "50", "it", "", "it", "50", 50, 1});
    row("UF 0.5", {false, "iufb", "0.5", "icylr", "", "icylr", "0.50", 0.5, 1});
    row("UF 1.5", {false, "iufb", "1.5", "icylr", "", "icylr", "1.50", 1.5, 1});
    // E is tested as shown
    row("E 999.6", {false, "ie", "999.6", "il", "", "il", "1.00E+3", double{999.6f}, 1});
    row("E 999.4",
        {false, "ie", "999.4", "il", " 1000 <= E-modulus ", "ie", "9.99E+2", double{999.4f}, 1});
    // every failed test sends the focus back to the field
    row("l 40", {false, "il", "40", "it", " l >= 50 ", "il", "40", 40, 1});
    row("s 5", {false, "is1", "5", "ilt", " 10 <= s   ", "is1", "05", 5, 1});
    row("s > r", {false, "is1", "4000", "ilt", " s  <= r  ", "is1", "4000", 4000, 1});
    row("L 40", {false, "icyll", "40", "igilt", " L >= 50  ", "icyll", "40", 40, 1});
    row("L < l", {false, "icyll", "2000", "igilt", " L >= l  ", "icyll", "2000", 2000, 1});
    // an out-of-range usage factor is kept but not calculated with now
    row("UF 1.6",
        {false, "iufb", "1.6", "icylr", " 0.5 < UF < 1.5 ", "iufb", "1.60", double{1.6f}, 0});
    // Enter reads and tests first, and moves on only when all passed
    row("Enter: s > r", {false, "is1", "4000", nullptr, " s  <= r  ", "is1", "4000", 4000, 0});
    row("Enter: k1 0.1",
        {false, "ik1", "0.1", nullptr, " k1 >= 0.2  ", "ik1", "0.10", double{0.1f}, 0, 3});
    row("Enter: k1 0.7", {false, "ik1", "0.7", nullptr, "", "ik2", "0.70", double{0.7f}, 1, 3});
    // a number the field cannot hold: its range warning, the old value kept
    // and shown, the focus back; one too small to hold reads as 0
    static const std::string digits320(320, '9');
    row("beyond a double", {false, "it", "1e400", "il", " 0.1 <= t ", "it", "20.0", 20, 0});
    row("below a double", {false, "it", "1e-400", "il", " 0.1 <= t ", "it", "0.0", 0, 1});
    row("320 digits", {false, "il", digits320.c_str(), "it", " l >= 50 ", "il", "3000", 3000, 1});
    row("beyond a single", {false, "it", "1e39", "il", " 0.1 <= t ", "it", "20.0", 20, 0});
    row("sigx beyond a single", {false, "isigx", "-1e39", "isigy", " -3.4E+38 <= value <= 3.4E+38 ",
                                 "isigx", "-100.0", -100, 1});
    row("comma: beyond a double", {true, "it", "1e400", "il", " 0.1 <= t ", "it", "20,0", 20, 0});
    row("Enter: beyond a single",
        {false, "is1", "1e39", nullptr, " 10 <= s   ", "is1", "600", 600, 0});
  }
  void leavingReadsAndTests() {
    QFETCH(Leaving, c);
    if (c.comma) {
      h.reset();
      h = std::make_unique<Harness>(QLocale(QLocale::German, QLocale::Germany));
      QCOMPARE(h->field("it")->text(), QStringLiteral("20,0"));
    }
    if (c.type != 2) setMode(c.type);
    const int before = runs();
    h->type(c.field, QString::fromUtf8(c.typed));
    if (c.to)
      h->leaveTo(c.to);
    else
      h->enter();
    QCOMPARE(h->messages.texts, warned(c.warning));
    const orvane::InputId input = orvane::ui::findField(c.field)->input;
    // the box is titled with the field's caption, e.g. "Shell thickness t [mm]"
    for (const QString& title : h->messages.titles)
      QCOMPARE(title, QString::fromStdString(orvane::displayName(input)));
    QCOMPARE(h->field(c.field)->text(), QString::fromUtf8(c.text));
    QCOMPARE(orvane::inputDef(input).get(h->window->state()), c.stored);
    QCOMPARE(h->focused(), QString::fromLatin1(c.focus));
    QVERIFY(h->focusColour(c.focus));
    QCOMPARE(runs() - before, c.calculations);
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

  void enterChainFollowsTheMode_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("chain");
    const QString head = QStringLiteral("iproj iident iufb icylr il it ie cbofyp ");
    const QString loads = QStringLiteral("isigx isigy itau ipp iproj");
    QTest::newRow("cylinder") << 0 << head + loads;
    QTest::newRow("ring stiffened") << 1 << head + "icyll igilt cboring cbofyg " + loads;
    QTest::newRow("stringer stiffened")
        << 2 << head + "is1 ilt cbostiff cbofys icyll igilt cboring cbofyg " + loads;
    QTest::newRow("column") << 3 << head + "icolL ik1 ik2 inn ip im1a im1b im2a im2b iproj";
  }
  void enterChainFollowsTheMode() {
    QFETCH(int, type);
    QFETCH(QString, chain);
    setMode(type);
    h->get("iproj")->setFocus(Qt::TabFocusReason);
    QStringList walked{h->focused()};
    while (walked.size() < chain.count(' ') + 1) {
      h->enter();
      walked << h->focused();
    }
    QCOMPARE(walked.join(' '), chain);
    QVERIFY(h->messages.texts.isEmpty());
  }

  void userDefinedMaterialEnablesTheStrengthField() {
    auto* list = h->get<QComboBox>("cbofyp");
    const int user = list->count() - 1;
    list->setCurrentIndex(user);
    emit list->activated(user);
    QVERIFY(h->field("ifyp")->isEnabled());
    list->setFocus(Qt::TabFocusReason);
    h->enter();
    QCOMPARE(h->focused(), QStringLiteral("ifyp"));
    h->type("ifyp", QStringLiteral("2001"));
    h->leaveTo("it");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 50 <= fyp <= 2000 ")});
  }

  // A message box opened while a field is left must not start the cycle of
  // the field that gets the focus meanwhile.
  void aWarningDoesNotStartAnotherFieldsCycle() {
    const int before = runs();
    h->messages.onShow = [this](const QString&) { h->get("il")->setFocus(Qt::MouseFocusReason); };
    h->type("it", QStringLiteral("0.05"));
    h->leaveTo("ie");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" 0.1 <= t ")});
    QCOMPARE(runs(), before + 1);
    QCOMPARE(h->focused(), QStringLiteral("it"));
    QVERIFY(!h->focusColour("il"));
    QVERIFY(!h->focusColour("ie"));
  }
};

QTEST_MAIN(FieldTest)
#include "test_fields.moc"
