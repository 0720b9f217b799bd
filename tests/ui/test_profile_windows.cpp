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
#include <QTest>

#include "sections/profile_tables.hpp"
#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"
#include "ui/profile_sketches.hpp"
#include "ui/profile_window.hpp"
#include "ui/read_number.hpp"
#include "ui_fixture.hpp"

using orvane::ProjectState;
using orvane::ui::ProfileWindow;
using orvane::ui::test::Harness;

class ProfileWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;

  ProjectState& ps() { return h->window->state(); }
  int runs() { return h->window->calculationRuns(); }

  ProfileWindow* open(bool ring, int type) {
    h->window->openProfileWindow(ring, type);
    const char* name = orvane::ui::profileForm(ring, type)->name;
    ProfileWindow* w = orvane::ui::findProfileWindow(h->window.get(), name);
    // the offscreen platform does not activate windows by itself
    if (w && QApplication::activeWindow() != w) QApplication::setActiveWindow(w);
    return w;
  }
  template <class T = QWidget>
  static T* in(ProfileWindow* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c) qFatal("no control %s", name);
    return c;
  }
  // Type into a field of the window and leave it for another control.
  static void type(ProfileWindow* w, const char* field, const QString& text, const char* to) {
    in<QLineEdit>(w, field)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(in<QLineEdit>(w, field), text);
    in(w, to)->setFocus(Qt::TabFocusReason);
  }
  static QString focused() {
    QWidget* f = QApplication::focusWidget();
    return f ? f->objectName() : QString();
  }
  // Closes the window the way the user would and lets Qt delete it.
  static bool closedAndGone(QPointer<ProfileWindow> w) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return w.isNull();
  }
  QString shown(double v, const char* pattern) {
    return orvane::ui::showNumber(v, pattern, h->window->decimalFlag());
  }

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  void everyTypeOpensItsOwnWindowAndBecomesCurrent() {
    for (bool ring : {false, true}) {
      for (int type = 9; type >= 0; --type) {
        const auto* form = orvane::ui::profileForm(ring, type);
        QPointer<ProfileWindow> w = open(ring, type);
        QVERIFY(w);
        QCOMPARE(w->objectName(), QString::fromLatin1(form->name));
        QCOMPARE(w->windowTitle(), QString::fromLatin1(form->caption));
        QCOMPARE(ring ? ps().cboring : ps().cbostiff, type);
        QCOMPARE(h->get<QComboBox>(ring ? "cboring" : "cbostiff")->currentIndex(), type);
        QCOMPARE(in(w, "pic1")->accessibleName(), orvane::ui::sketchControlName(form->shape, ring));
        QVERIFY(!w->isModal());
        QCOMPARE(w->parentWidget(), h->window.get());
        w->close();
        QVERIFY(closedAndGone(w));
      }
    }
    QVERIFY(h->messages.texts.isEmpty());
  }

  void reopeningFindsTheOneWindowCentredOnTheMain() {
    ProfileWindow* w = open(false, 3);
    QCOMPARE(open(false, 3), w);
    QCOMPARE(h->window->findChildren<ProfileWindow*>().size(), 1);
    const QRect m = h->window->geometry();
    QVERIFY(std::abs(w->x() - (m.left() + (m.width() - w->width()) / 2)) <= 1);
    QVERIFY(std::abs(w->y() - (m.top() + m.height() / 2 - w->height() / 2)) <= 1);
  }

  void listButtonAndMenuOpenTheWindowOfTheType() {
    ps().st.h = 200;
    ps().st.b = 90;
    ps().st.tw = 9;
    ps().st.tf = 12;
    auto* list = h->get<QComboBox>("cbostiff");
    emit list->activated(3);
    QVERIFY(orvane::ui::findProfileWindow(h->window.get(), "stifftb"));
    QCOMPARE(h->get<QLabel>("stiffprof")->text(), QStringLiteral("T200x90x9.0x12.0"));

    ps().cboring = 7;
    h->get<QPushButton>("cmdpic_gird")->click();
    QVERIFY(orvane::ui::findProfileWindow(h->window.get(), "girdrhs"));

    h->window->findChild<QAction*>(QStringLiteral("mnustiffhp"))->trigger();
    QVERIFY(orvane::ui::findProfileWindow(h->window.get(), "stiffhp"));
    QCOMPARE(ps().cbostiff, 6);
  }

  void stiffenerFieldKeepsAShortHeightAndWarns() {
    ProfileWindow* w = open(false, 3);
    type(w, "isth", QStringLiteral("3"), "istb");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" H >= 5 ")});
    QCOMPARE(ps().stiffBuilt.tb.h, 3.0);
    QCOMPARE(in<QLineEdit>(w, "isth")->text(), QStringLiteral("3"));
    QCOMPARE(focused(), QStringLiteral("isth"));
  }

  void ringFrameFieldClampsTheHeight() {
    ProfileWindow* w = open(true, 3);
    type(w, "isth", QStringLiteral("3"), "istb");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" H >= 5 ")});
    QCOMPARE(ps().ringBuilt.tb.h, 5.0);
    QCOMPARE(in<QLineEdit>(w, "isth")->text(), QStringLiteral("5"));
    QCOMPARE(focused(), QStringLiteral("isth"));
  }

  void thinWebIsClampedThenRefusedByOk() {
    QPointer<ProfileWindow> w = open(false, 1);
    type(w, "isttw", QStringLiteral("0.05"), "isttf");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" tw >= 0.1 ")});
    QCOMPARE(ps().stiffBuilt.lb.tw, 0.1);
    QCOMPARE(in<QLineEdit>(w, "isttw")->text(), QStringLiteral("0.1"));
    h->messages.texts.clear();
    // leaving 0.1 again passes the field test
    type(w, "isttw", QStringLiteral("0.1"), "isttf");
    QVERIFY(h->messages.texts.isEmpty());
    const int before = runs();
    in<QPushButton>(w, "Command1")->click();
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral(" tw >= 1 ")});
    QVERIFY(closedAndGone(w));
    QCOMPARE(runs(), before + 1);
  }

  void widthOfFiveIsAcceptedByEveryCycle() {
    for (bool ring : {false, true}) {
      QPointer<ProfileWindow> w = open(ring, 3);
      type(w, "istb", QStringLiteral("5"), "isttw");
      in<QPushButton>(w, "Command1")->click();
      QVERIFY(closedAndGone(w));
      QVERIFY2(h->messages.texts.isEmpty(), qPrintable(h->messages.texts.join('|')));
      QCOMPARE((ring ? ps().ringBuilt : ps().stiffBuilt).tb.b, 5.0);
    }
  }

  void enterWalksTheFieldsInACircle() {
    ProfileWindow* w = open(false, 8);
    in(w, "isth")->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 5; ++i) {
      order << focused();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(order, (QStringList{"isth", "istb", "ista", "isttw", "isth"}));
    QVERIFY(h->messages.texts.isEmpty());
  }

  void fieldGetsTheFocusColourAndLosesIt() {
    ProfileWindow* w = open(false, 5);
    auto* e = in<QLineEdit>(w, "isth");
    e->setFocus(Qt::TabFocusReason);
    QCOMPARE(e->palette().color(QPalette::Base), QColor(255, 255, 192));
    QCOMPARE(e->selectedText(), e->text());
    in(w, "isttw")->setFocus(Qt::TabFocusReason);
    QCOMPARE(e->palette().color(QPalette::Base), QColor(Qt::white));
  }

  void builtUpEditUpdatesSectionAndLines() {
    ProfileWindow* w = open(false, 3);
    const int before = runs();
    type(w, "isth", QStringLiteral("300"), "istb");
    QCOMPARE(runs(), before + 1);
    QCOMPARE(ps().st.h, 300.0);
    QCOMPARE(in<QLabel>(w, "sta")->text(), shown(ps().st.As, "##0") + " mm2");
    QCOMPARE(in<QLabel>(w, "stiy")->text(), shown(ps().st.Iy, "0.000E+0") + " mm4");
    QVERIFY(in<QLabel>(w, "webclass")->text().startsWith("h <= "));
    QCOMPARE(in<QLabel>(w, "webclass")->text(), QString::fromStdString(ps().proportion[1]));
    QCOMPARE(in<QLabel>(w, "flangeclass")->text(), QString::fromStdString(ps().proportion[2]));
    QCOMPARE(h->get<QLabel>("stiffprof")->text(), QStringLiteral("T300x90x9.0x12.0"));
  }

  void tableListClickSelectsTheRowAndShowsIt() {
    ProfileWindow* w = open(false, 0);
    auto* list = in<QComboBox>(w, "cbo");
    QCOMPARE(list->count(), ps().prof.l.last + 1);
    QCOMPARE(list->currentIndex(), ps().stiffRows.l);
    const int row = 5;
    const int before = runs();
    list->setCurrentIndex(row);
    emit list->activated(row);
    QCOMPARE(ps().stiffRows.l, row);
    QCOMPARE(runs(), before + 1);
    const auto& t = ps().prof.l.row[row];
    QCOMPARE(in<QLabel>(w, "sth")->text(), shown(t[1], "##0") + " mm");
    QCOMPARE(in<QLabel>(w, "sttf")->text(), shown(t[4], "##0.0") + " mm");
    QCOMPARE(ps().st.h, static_cast<double>(t[1]));
    QCOMPARE(in<QLabel>(w, "stg")->text(), shown(ps().st.mass, "##0.0") + " kg/m");
    QCOMPARE(in<QLabel>(w, "stiz")->text(), shown(ps().st.Iz, "0.000E+0") + " mm4");
    QCOMPARE(in<QLabel>(w, "flangeclass")->text(), QString::fromStdString(ps().proportion[2]));
    QCOMPARE(h->get<QLabel>("stiffprof")->text(),
             QString::fromStdString(orvane::stiffenerDesignation(ps(), 0)));
  }

  void bulbFlatShowsItsEquivalentAngleAndOneLine() {
    ProfileWindow* w = open(false, 6);
    auto* list = in<QComboBox>(w, "cbo");
    emit list->activated(2);
    QCOMPARE(in<QLabel>(w, "stc")->text(), shown(ps().prof.bulb.row[2][3], "##0.0") + " mm");
    QCOMPARE(in<QLabel>(w, "stb")->text(), shown(ps().st.b, "##0") + " mm");
    QVERIFY(in<QLabel>(w, "webclass")->text().contains("(Eq 3.10.7)"));
    QVERIFY(!w->findChild<QLabel*>(QStringLiteral("flangeclass")));
  }

  void ringTableShowsItsLocalLinesAndTheMainPanelsFollow() {
    ProfileWindow* w = open(true, 2);
    auto* list = in<QComboBox>(w, "cbo");
    const int before = runs();
    const double ag = ps().rg.Ag;
    emit list->activated(list->count() - 1);
    QCOMPARE(ps().ringRows.t, list->count() - 1);
    QCOMPARE(runs(), before + 1);
    QVERIFY(ps().rg.Ag != ag);
    QCOMPARE(in<QLabel>(w, "sta")->text(), shown(ps().rg.Ag, "##0") + " mm2");
    for (int line = 2; line <= 4; ++line)
      QCOMPARE(in<QLabel>(w, qPrintable(QStringLiteral("ringline%1").arg(line)))->text(),
               QString::fromStdString(ps().ringLocal[line]));
    QVERIFY(!w->findChild<QLabel*>(QStringLiteral("ringline1")));
    QCOMPARE(h->get<QLabel>("ringprof")->text(),
             QString::fromStdString(orvane::ringDesignation(ps(), 2)));
  }

  void okOfRingWindowsCalculatesOnlyWhereMarked() {
    const std::pair<int, bool> cases[] = {{0, false}, {1, false}, {2, true}, {5, true}, {9, false}};
    for (auto [type, calc] : cases) {
      QPointer<ProfileWindow> w = open(true, type);
      const int before = runs();
      in<QPushButton>(w, "Command1")->click();
      QVERIFY(closedAndGone(w));
      QCOMPARE(runs() - before, calc ? 1 : 0);
    }
  }

  void closingTestsWithoutClampAndReopeningShowsTheValues() {
    QPointer<ProfileWindow> w = open(true, 8);
    in<QLineEdit>(w, "ista")->setText(QStringLiteral("-2"));
    in<QLineEdit>(w, "isth")->setText(QStringLiteral("4"));
    const int before = runs();
    w->close();
    QVERIFY(closedAndGone(w));
    QCOMPARE(h->messages.texts,
             (QStringList{QStringLiteral(" H >= 5 "), QStringLiteral(" a >= 0 ")}));
    QCOMPARE(ps().ringBuilt.trap.h, 4.0);
    QCOMPARE(ps().ringBuilt.trap.a, -2.0);
    QCOMPARE(runs(), before);
    w = open(true, 8);
    QCOMPARE(in<QLineEdit>(w, "isth")->text(), QStringLiteral("4"));
    QCOMPARE(in<QLineEdit>(w, "ista")->text(), QStringLiteral("-2"));
  }

  void mismatchUnderDecimalCommaKeepsTheValue() {
    h.reset();
    h = std::make_unique<Harness>(QLocale(QLocale::German));
    ProfileWindow* w = open(false, 5);
    type(w, "isth", QStringLiteral("abc"), "isttw");
    QCOMPARE(h->messages.texts, QStringList{QStringLiteral("Input string mismatch ")});
    QCOMPARE(ps().stiffBuilt.fb.h, 100.0);
    QCOMPARE(focused(), QStringLiteral("isth"));
  }

  void flatBarTableWindowIsAsWideAsItsFrame() {
    ProfileWindow* w = open(false, 4);
    auto* frame = in(w, "fr21");
    QVERIFY(std::abs(w->width() - 1.06 * frame->width()) <= 2);
    QVERIFY(std::abs(frame->x() - 0.02 * w->width()) <= 1);
  }

  void sketchesDrawEveryShapeDifferently() {
    QList<QImage> seen;
    for (bool ring : {false, true}) {
      for (int s = 0; s < 8; ++s) {
        QImage img(120, 120, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        orvane::ui::drawProfileSketch(p, img.rect(), static_cast<orvane::ui::ProfileShape>(s),
                                      ring);
        p.end();
        QVERIFY(!seen.contains(img));
        seen << img;
      }
    }
    QVERIFY(!orvane::ui::profileButtonIcon(true, 6).isNull());
    QCOMPARE(orvane::ui::iconControlName(false, 8), QStringLiteral("ico_stiff_u"));
  }
};

QTEST_MAIN(ProfileWindowTest)
#include "test_profile_windows.moc"
