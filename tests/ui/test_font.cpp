// The face of the windows: the one the program names, proportional, in the
// main window, its result panels and the profile windows. Run once on the
// machine's fonts and once where "sans-serif" is a monospace face and DejaVu
// is missing (ORVANE_UI_FACE names the face expected there).
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>

#include "ui/common/ui_font.hpp"
#include "ui/main/result_panel.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui_fixture.hpp"

using orvane::ui::test::Harness;

class FontTest : public QObject {
  Q_OBJECT

  static QString expectedFace() {
    const QString face = qEnvironmentVariable("ORVANE_UI_FACE");
    return face.isEmpty() ? QStringLiteral("DejaVu Sans") : face;
  }
  static void verifyFace(const QFont& font, const QByteArray& where) {
    const QFontInfo info(font);
    QVERIFY2(info.family() == expectedFace(), where + " is drawn in " + info.family().toUtf8());
    QVERIFY2(!info.fixedPitch(), where);
    // proportional as drawn, not only as the font file claims
    const QFontMetrics m(font);
    QVERIFY2(m.horizontalAdvance(QStringLiteral("iiiiiiiiii")) * 2 <
                 m.horizontalAdvance(QStringLiteral("MMMMMMMMMM")),
             where);
  }

 private slots:
  void theProgramNamesAProportionalFace() {
    orvane::ui::useUiFont();
    verifyFace(QApplication::font(), "the application font");
    QCOMPARE(QApplication::font().pointSize(), 9);
  }

  void everyWindowKeepsTheFace() {
    Harness h;
    verifyFace(h.window->font(), "the main window");
    for (auto* panel : h.window->findChildren<orvane::ui::ResultPanel*>())
      verifyFace(panel->font(), panel->objectName().toLatin1());
    for (orvane::Member member : {orvane::Member::Stiffener, orvane::Member::RingFrame}) {
      h.window->openProfileWindow(member, 4);
      for (auto* w : h.window->findChildren<orvane::ui::ProfileWindow*>())
        verifyFace(w->font(), w->objectName().toLatin1());
    }
  }
};

QTEST_MAIN(FontTest)
#include "test_font.moc"
