// The profile windows: opening from the lists, the buttons and the menu,
// the field, OK and close cycles of the built-up windows, the list of the
// table windows, and what the main window shows afterwards.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <tuple>

#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"
#include "ui/common/read_number.hpp"
#include "ui/profiles/profile_sketches.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui_fixture.hpp"

using orvane::Member;
using orvane::ProjectState;
using orvane::ui::Dim;
using orvane::ui::ProfileWindow;
using orvane::ui::test::Harness;

constexpr const char* kH5 = " H >= 5 ";

// A built-up field typed into and left for another control, and what follows.
struct FieldCycle {
  Member member;
  int type;
  const char* field;
  Dim dim;
  const char *typed, *to, *warning;  // warning "": none
  const char* text;                  // shown afterwards
  double stored;
  const char* focus;
  bool comma = false;  // the user's number format has a decimal comma
};
Q_DECLARE_METATYPE(FieldCycle)
Q_DECLARE_METATYPE(Dim)

class ProfileWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;

  ProjectState& ps() { return h->window->state(); }
  int runs() { return h->window->calculationRuns(); }
  ProfileWindow* open(Member member, int type) {
    h->window->openProfileWindow(member, type);
    ProfileWindow* w =
        orvane::ui::findProfileWindow(h->window.get(), orvane::ui::profileForm(member, type)->name);
    // the offscreen platform does not activate windows by itself
    if (w && QApplication::activeWindow() != w) QApplication::setActiveWindow(w);
    return w;
  }
  bool isOpen(const char* name) { return orvane::ui::findProfileWindow(h->window.get(), name); }
  template <class T = QWidget>
  static T* in(ProfileWindow* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c) qFatal("no control %s", name);
    return c;
  }
  QString label(ProfileWindow* w, const char* name) { return in<QLabel>(w, name)->text(); }
  // Lets Qt delete a closed window.
  static bool gone(const QPointer<ProfileWindow>& w) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return w.isNull();
  }
  QString shown(double v, const char* pattern, const char* unit) {
    return orvane::ui::showNumber(v, pattern, h->window->decimalFlag()) + unit;
  }
  static QStringList warned(const char* text) {
    return *text ? QStringList{QString::fromLatin1(text)} : QStringList{};
  }
  // Types into a field of the window and leaves it for another control.
  static void type(ProfileWindow* w, const char* field, const char* text, const char* to) {
    in(w, field)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(in(w, field), QString::fromLatin1(text));  // replaces the selection
    in(w, to)->setFocus(Qt::TabFocusReason);
  }

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  void everyTypeOpensItsOwnWindowAndBecomesCurrent() {
    for (Member member : {Member::Stiffener, Member::RingFrame}) {
      const bool ring = member == Member::RingFrame;
      for (int type = 9; type >= 0; --type) {
        const auto* form = orvane::ui::profileForm(member, type);
        QPointer<ProfileWindow> w = open(member, type);
        QVERIFY(w);
        QCOMPARE(w->objectName(), QString::fromLatin1(form->name));
        // the window of each type as the codes name it
        const orvane::ProfileTraits& tr = orvane::traits(*orvane::profileType(type));
        QCOMPARE(form->type, tr.type);
        QCOMPARE(form->isTable(), tr.fromTable);
        QCOMPARE(w->objectName(), QString::fromLatin1(ring ? "gird" : "stiff") +
                                      QString::fromLatin1(tr.windowSuffix));
        QCOMPARE(w->windowTitle(), QString::fromLatin1(form->caption));
        QCOMPARE(ring ? ps().cboring : ps().cbostiff, type);
        QCOMPARE(h->get<QComboBox>(ring ? "cboring" : "cbostiff")->currentIndex(), type);
        QCOMPARE(in(w, "pic1")->accessibleName(),
                 orvane::ui::sketchControlName(form->shape, member));
        // a table window offers the list, a built-up one the fields
        QCOMPARE(w->findChild<QComboBox*>("cbo") != nullptr, form->isTable());
        QCOMPARE(w->findChild<QLineEdit*>("isth") == nullptr, form->isTable());
        QVERIFY(!w->isModal());
        QCOMPARE(w->parentWidget(), h->window.get());
        w->close();
        QVERIFY(gone(w));
      }
    }
    QVERIFY(h->messages.texts.isEmpty());
  }

  void reopeningFindsTheOneWindowOnTheScreen() {
    ProfileWindow* w = open(Member::Stiffener, 4);
    QCOMPARE(open(Member::Stiffener, 4), w);
    QCOMPARE(h->window->findChildren<ProfileWindow*>().size(), 1);
    // where it opens: see the layout test
    QVERIFY(h->window->screen()->availableGeometry().contains(w->frameGeometry()));
    // the flat-bar table window takes its width from its frame: a narrow
    // margin either side, the frame no narrower than it needs, its contents
    // inside it and apart from the sketch, whatever the font's widths
    auto* frame = in(w, "fr21");
    const QRect f = frame->geometry();
    QVERIFY(f.left() > 0 && f.right() < w->width() - 1);
    QVERIFY(w->width() - f.width() <= 0.1 * w->width());
    QVERIFY(f.width() >= frame->minimumSizeHint().width());
    const QRect sketch = in(w, "pic1")->geometry();
    QVERIFY(frame->rect().contains(sketch));
    for (QWidget* c : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const QByteArray name = c->objectName().toLatin1();
      QVERIFY2(frame->rect().contains(c->geometry()), name);
      QVERIFY2(c == in(w, "pic1") || !c->geometry().intersects(sketch), name);
    }
  }

  void listButtonAndMenuOpenTheWindowOfTheType() {
    const int before = runs();
    emit h->get<QComboBox>("cbostiff")->activated(3);
    QVERIFY(isOpen("stifftb"));
    QCOMPARE(ps().cbostiff, 3);
    QCOMPARE(h->get<QLabel>("stiffprof")->text(),
             QString::fromStdString(orvane::stiffenerDesignation(ps(), 3)));
    QCOMPARE(runs(), before);  // opening alone does not calculate
    // the button writes the designation as well, the menu item does not
    ps().cboring = 7;
    h->get<QPushButton>("cmdpic_gird")->click();
    QVERIFY(isOpen("girdrhs"));
    QCOMPARE(h->get<QLabel>("ringprof")->text(),
             QString::fromStdString(orvane::ringDesignation(ps(), 7)));
    h->get<QLabel>("ringprof")->setText(QStringLiteral("unchanged"));
    h->window->findChild<QAction*>(QStringLiteral("mnugirdib"))->trigger();
    QVERIFY(isOpen("girdib"));
    QCOMPARE(ps().cboring, 9);
    QCOMPARE(h->get<QLabel>("ringprof")->text(), QStringLiteral("unchanged"));
  }

  void fieldCycle_data() {
    QTest::addColumn<FieldCycle>("c");
    auto row = [](const char* name, const FieldCycle& c) { QTest::newRow(name) << c; };
    row("stiffener: short height kept",
        {Member::Stiffener, 3, "isth", Dim::H, "3", "istb", kH5, "3", 3, "isth"});
    row("ring frame: short height clamped",
        {Member::RingFrame, 3, "isth", Dim::H, "3", "istb", kH5, "5", 5, "isth"});
    row("thin web clamped in every window", {Member::Stiffener, 1, "isttw", Dim::Tw, "0.05",
                                             "isttf", " tw >= 0.1 ", "0.1", 0.1, "isttw"});
    row("width of five", {Member::RingFrame, 3, "istb", Dim::B, "5", "isttw", "", "5", 5, "isttw"});
    // a number the field cannot hold: its warning, the old value kept and shown
    row("stiffener: height beyond a double",
        {Member::Stiffener, 3, "isth", Dim::H, "1e400", "istb", kH5, "200", 200, "isth"});
    row("ring frame: web beyond a single", {Member::RingFrame, 1, "isttw", Dim::Tw, "-1e39",
                                            "isttf", " tw >= 0.1 ", "9.0", 9, "isttw"});
    row("mismatch under a decimal comma", {Member::Stiffener, 5, "isth", Dim::H, "abc", "isttw",
                                           "Input string mismatch ", "abc", 100, "isth", true});
  }
  void fieldCycle() {
    QFETCH(FieldCycle, c);
    if (c.comma) {
      h.reset();
      h = std::make_unique<Harness>(QLocale(QLocale::German));
    }
    ProfileWindow* w = open(c.member, c.type);
    type(w, c.field, c.typed, c.to);
    QCOMPARE(h->messages.texts, warned(c.warning));
    auto* e = in<QLineEdit>(w, c.field);
    QCOMPARE(e->text(), QString::fromLatin1(c.text));
    QCOMPARE(orvane::ui::builtValue(ps(), w->form(), c.dim), c.stored);
    QCOMPARE(h->focused(), QString::fromLatin1(c.focus));
    // the focus colour goes with the focus
    const QColor focusColour(255, 255, 192), idle(Qt::white);
    QCOMPARE(e->palette().color(QPalette::Base), e->hasFocus() ? focusColour : idle);
    QCOMPARE(in<QLineEdit>(w, c.to)->palette().color(QPalette::Base),
             e->hasFocus() ? idle : focusColour);
  }

  void okTestsAndCalculatesAsTheWindowSays() {
    // family, type, field set before (or none) and its text, warning, calculations
    using Ok = std::tuple<Member, int, const char*, const char*, const char*, int>;
    const Ok cases[] = {// the stiffener built-up windows test the fields again, with the OK limits
                        {Member::Stiffener, 1, "isttw", "0.1", " tw >= 1 ", 1},
                        {Member::Stiffener, 3, "istb", "5", "", 1},
                        {Member::Stiffener, 0, nullptr, nullptr, "", 1},
                        // of the ring frames only some calculate
                        {Member::RingFrame, 0, nullptr, nullptr, "", 0},
                        {Member::RingFrame, 1, nullptr, nullptr, "", 0},
                        {Member::RingFrame, 2, nullptr, nullptr, "", 1},
                        {Member::RingFrame, 5, nullptr, nullptr, "", 1},
                        {Member::RingFrame, 9, nullptr, nullptr, "", 0}};
    for (auto [member, type, field, text, warning, calculations] : cases) {
      QPointer<ProfileWindow> w = open(member, type);
      const QByteArray name = w->objectName().toLatin1();
      in(w, "Command1")->setFocus(Qt::MouseFocusReason);  // as a click on OK
      if (field) in<QLineEdit>(w, field)->setText(QString::fromLatin1(text));
      h->messages.texts.clear();
      const int before = runs();
      in<QPushButton>(w, "Command1")->click();
      QVERIFY2(gone(w), name);
      QCOMPARE(h->messages.texts, warned(warning));
      QVERIFY2(runs() - before == calculations, name);
    }
  }

  void enterWalksTheFieldsInACircle() {
    ProfileWindow* w = open(Member::Stiffener, 8);
    in(w, "isth")->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 5; ++i) {
      order << h->focused();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(order, (QStringList{"isth", "istb", "ista", "isttw", "isth"}));
    QVERIFY(h->messages.texts.isEmpty());
  }

  void closingTestsWithoutClampAndReopeningShowsTheValues() {
    QPointer<ProfileWindow> w = open(Member::RingFrame, 8);
    in(w, "Command1")->setFocus(Qt::MouseFocusReason);  // no field is being edited
    in<QLineEdit>(w, "ista")->setText(QStringLiteral("-2"));
    in<QLineEdit>(w, "isth")->setText(QStringLiteral("4"));
    const int before = runs();
    w->close();
    QVERIFY(gone(w));
    QCOMPARE(h->messages.texts, (QStringList{kH5, " a >= 0 "}));
    QCOMPARE(ps().ringBuilt.trap.h, 4.0);
    QCOMPARE(ps().ringBuilt.trap.a, -2.0);
    QCOMPARE(runs(), before);
    w = open(Member::RingFrame, 8);
    QCOMPARE(in<QLineEdit>(w, "isth")->text(), QStringLiteral("4"));
    QCOMPARE(in<QLineEdit>(w, "ista")->text(), QStringLiteral("-2"));
  }

  // X, OK and Escape close alike: the value being typed is read first, as
  // leaving its field would (warnings and clamps included), then the close
  // steps run (the unload cycle tests h and b again).
  void closingKeepsTheValueBeingTyped_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("field");
    QTest::addColumn<Dim>("dim");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<double>("stored");
    const QString thin = QStringLiteral(" tw >= 0.1 "), okThin = QStringLiteral(" tw >= 1 ");
    for (const char* how : {"X", "OK", "Escape"}) {
      const bool ok = QLatin1String(how) == QLatin1String("OK");
      auto row = [how](const char* what) {
        return &QTest::newRow(qPrintable(how + QString(": ") + what));
      };
      *row("web") << how << "isttw" << Dim::Tw << "7.5" << QStringList{} << 7.5;
      *row("thin web") << how << "isttw" << Dim::Tw << "0.05"
                       << (ok ? QStringList{thin, okThin} : QStringList{thin})
                       << (ok ? double{0.1f} : 0.1);  // OK reads the field again
      // the second (and third) message is the OK and unload cycles' own
      *row("short height") << how << "isth" << Dim::H << "4"
                           << QStringList(ok ? 3 : 2, QString::fromLatin1(kH5)) << 4.0;
    }
  }
  void closingKeepsTheValueBeingTyped() {
    QFETCH(QString, how);
    QFETCH(QString, field);
    QFETCH(Dim, dim);
    QFETCH(QString, typed);
    QFETCH(QStringList, warnings);
    QFETCH(double, stored);
    QPointer<ProfileWindow> w = open(Member::Stiffener, 3);
    const QByteArray name = field.toLatin1();
    in(w, name.constData())->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(in(w, name.constData()), typed);  // replaces the selection
    if (how == "X") w->close();
    if (how == "OK") in<QPushButton>(w, "Command1")->click();  // by the keyboard: no focus moves
    if (how == "Escape") QTest::keyClick(in(w, name.constData()), Qt::Key_Escape);
    QVERIFY(gone(w));
    QCOMPARE(h->messages.texts, warnings);
    QCOMPARE(orvane::ui::builtValue(ps(), *orvane::ui::profileForm(Member::Stiffener, 3), dim),
             stored);
  }

  void builtUpEditUpdatesSectionAndLines() {
    ProfileWindow* w = open(Member::Stiffener, 3);
    const int before = runs();
    type(w, "isth", "300", "istb");
    QCOMPARE(runs(), before + 1);
    QCOMPARE(ps().st.h, 300.0);
    QCOMPARE(label(w, "sta"), shown(ps().st.As, "##0", " mm2"));
    QCOMPARE(label(w, "stiy"), shown(ps().st.Iy, "0.000E+0", " mm4"));
    QVERIFY(label(w, "webclass").startsWith("h <= "));
    QCOMPARE(label(w, "webclass"), QString::fromStdString(ps().proportion[1]));
    QCOMPARE(label(w, "flangeclass"), QString::fromStdString(ps().proportion[2]));
    QCOMPARE(h->get<QLabel>("stiffprof")->text(), QStringLiteral("T300x90x9.0x12.0"));
  }

  void tableListClickSelectsTheRowAndShowsIt() {
    ProfileWindow* w = open(Member::Stiffener, 0);
    auto* list = in<QComboBox>(w, "cbo");
    QCOMPARE(list->count(), ps().prof.l.last + 1);
    QCOMPARE(list->currentIndex(), ps().stiffRows.l);
    const int before = runs();
    emit list->activated(5);
    QCOMPARE(ps().stiffRows.l, 5);
    QCOMPARE(runs(), before + 1);
    const auto& row = ps().prof.l.row[5];
    QCOMPARE(ps().st.h, static_cast<double>(row[1]));
    QCOMPARE(label(w, "sth"), shown(row[1], "##0", " mm"));
    QCOMPARE(label(w, "stg"), shown(ps().st.mass, "##0.0", " kg/m"));
    QCOMPARE(label(w, "stiz"), shown(ps().st.Iz, "0.000E+0", " mm4"));
    QCOMPARE(h->get<QLabel>("stiffprof")->text(),
             QString::fromStdString(orvane::stiffenerDesignation(ps(), 0)));
    // the bulb flat shows its equivalent angle's c and only the web line
    w = open(Member::Stiffener, 6);
    emit in<QComboBox>(w, "cbo")->activated(2);
    QCOMPARE(label(w, "stc"), shown(ps().prof.bulb.row[2][3], "##0.0", " mm"));
    QVERIFY(label(w, "webclass").contains("(Eq 3.10.7)"));
    QVERIFY(!w->findChild<QLabel*>(QStringLiteral("flangeclass")));
  }

  void ringTableShowsItsLocalLinesAndTheMainPanelsFollow() {
    ProfileWindow* w = open(Member::RingFrame, 2);
    auto* list = in<QComboBox>(w, "cbo");
    const int before = runs();
    const double ag = ps().rg.Ag;
    emit list->activated(list->count() - 1);
    QCOMPARE(ps().ringRows.t, list->count() - 1);
    QCOMPARE(runs(), before + 1);
    QVERIFY(ps().rg.Ag != ag);
    QCOMPARE(label(w, "sta"), shown(ps().rg.Ag, "##0", " mm2"));
    for (int line = 2; line <= 4; ++line)
      QCOMPARE(label(w, qPrintable(QStringLiteral("ringline%1").arg(line))),
               QString::fromStdString(ps().ringLocal[line]));
    QVERIFY(!w->findChild<QLabel*>(QStringLiteral("ringline1")));
    QCOMPARE(h->get<QLabel>("ringprof")->text(),
             QString::fromStdString(orvane::ringDesignation(ps(), 2)));
  }

  void sketchesDrawEveryShapeDifferently() {
    QList<QImage> seen;
    for (int i = 0; i < 16; ++i) {  // eight shapes, stiffeners then ring frames
      QImage img(120, 120, QImage::Format_RGB32);
      img.fill(Qt::white);
      QPainter p(&img);
      orvane::ui::drawProfileSketch(p, img.rect(), static_cast<orvane::ui::ProfileShape>(i % 8),
                                    i >= 8 ? Member::RingFrame : Member::Stiffener);
      p.end();
      QVERIFY(!seen.contains(img));
      seen << img;
    }
  }
};

QTEST_MAIN(ProfileWindowTest)
#include "test_profile_windows.moc"
