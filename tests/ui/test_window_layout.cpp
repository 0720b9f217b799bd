// The main window's geometry: it fits the screen's free area, the form
// scrolls below its least size, and at every size and in every mode no
// control clips or covers another and every panel line stays inside its
// panel. Relations only, measured with the fonts in use, no pixel numbers.
//
// CTest runs this program on a 1920 x 1080, a 1366 x 768 and an 800 x 600
// screen at scale factors 1, 1.5 and 2 (QT_SCALE_FACTOR).
#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "model/codes.hpp"
#include "ui/cases/cases_window.hpp"
#include "ui/main/help_window.hpp"
#include "ui/main/result_panel.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui/sheet/sheet_window.hpp"
#include "ui/study/study_window.hpp"
#include "ui_fixture.hpp"

using orvane::ui::ResultPanel;
using orvane::ui::test::Harness;

class LayoutTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;

  QWidget* form() const { return h->get("form"); }

  // The window's own controls under the form (not the inner parts of a
  // control), shown at the moment.
  QList<QWidget*> controls() const {
    QList<QWidget*> list;
    for (QWidget* w : form()->findChildren<QWidget*>()) {
      QWidget* parent = w->parentWidget();
      const bool own = parent == form() || qobject_cast<QGroupBox*>(parent) ||
                       qobject_cast<ResultPanel*>(parent);
      if (own && w->isVisibleTo(form())) list << w;
    }
    return list;
  }

  static QString where(const QWidget* w) {
    return w->objectName() + QLatin1Char('/') + w->metaObject()->className();
  }

  // Every text of a label, button or frame title fits its control.
  static void verifyTextFits(QWidget* w, const QString& at) {
    const QFontMetrics fm(w->font());
    QString text;
    int room = w->width();
    if (auto* l = qobject_cast<QLabel*>(w)) {
      text = l->text();
      room = l->contentsRect().width();
      const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
      QVERIFY2(fm.lineSpacing() * (lines - 1) + fm.height() <= l->contentsRect().height(),
               qPrintable(at + where(w)));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      if (b->text().isEmpty()) return;
      // a push button's text with its margins; a check or option button's
      // text beside its indicator
      const int need = qobject_cast<QPushButton*>(w) ? fm.horizontalAdvance(b->text()) + 8
                                                     : b->sizeHint().width();
      QVERIFY2(need <= b->width(), qPrintable(at + where(w)));
      return;
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
      text = g->title();
    }
    for (const QString& line : text.split(QLatin1Char('\n')))
      QVERIFY2(fm.horizontalAdvance(line) <= room,
               qPrintable(at + where(w) + QStringLiteral(": ") + line));
  }

  void verifyLayout(const QString& at) {
    QApplication::processEvents();
    const QList<QWidget*> shown = controls();
    QVERIFY(shown.size() > 20);
    for (QWidget* w : shown) {
      // inside its parent, so nothing is cut off by the parent's edge
      QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(at + where(w)));
      verifyTextFits(w, at);
      // no two siblings overlap
      for (QWidget* other : shown) {
        if (other == w || other->parentWidget() != w->parentWidget()) continue;
        QVERIFY2(!w->geometry().intersects(other->geometry()),
                 qPrintable(at + where(w) + QStringLiteral(" covers ") + where(other)));
      }
    }
    // every line of every shown panel, the verdicts last, inside the panel
    // and below its frame's title, and clear of the special-Ih check box
    for (const char* name : {"pic30", "Pic31", "pic32"}) {
      auto* panel = h->get<ResultPanel>(name);
      if (!panel->isVisibleTo(form())) continue;
      QVERIFY2(panel->hasDrawing(), name);
      QVERIFY(panel->y() >= QFontMetrics(panel->parentWidget()->font()).height());
      QWidget* ih = h->get("check_ih");
      for (const QRectF& r : panel->textRects()) {
        if (r.width() <= 0) continue;  // an empty text
        QVERIFY2(QRectF(panel->rect()).contains(r),
                 qPrintable(at + QLatin1String(name) +
                            QStringLiteral(" %1,%2 %3x%4 in %5x%6")
                                .arg(r.x())
                                .arg(r.y())
                                .arg(r.width())
                                .arg(r.height())
                                .arg(panel->width())
                                .arg(panel->height())));
        if (ih->parentWidget() == panel && ih->isVisibleTo(form()))
          QVERIFY2(!r.intersects(QRectF(ih->geometry())), qPrintable(at + QLatin1String(name)));
      }
    }
    // below its least size the form scrolls to every part of it
    auto* scroll = h->get<QScrollArea>("formscroll");
    QVERIFY(form()->width() >= form()->minimumWidth());
    QVERIFY(form()->height() >= form()->minimumHeight());
    QCOMPARE(scroll->verticalScrollBar()->maximum(),
             std::max(0, form()->height() - scroll->viewport()->height()));
    QCOMPARE(scroll->horizontalScrollBar()->maximum(),
             std::max(0, form()->width() - scroll->viewport()->width()));
  }

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  // Every line of every shown panel, its usage factors last, is in sight
  // in the form's view without scrolling.
  void verifyPanelsInSight(const QString& at) {
    QApplication::processEvents();
    QWidget* view = h->get<QScrollArea>("formscroll")->viewport();
    for (const char* name : {"pic30", "Pic31", "pic32"}) {
      auto* panel = h->get<ResultPanel>(name);
      if (!panel->isVisibleTo(form())) continue;
      for (const QRectF& r : panel->textRects()) {
        const QRectF seen = r.translated(panel->mapTo(view, QPoint(0, 0)));
        QVERIFY2(r.width() <= 0 || QRectF(view->rect()).contains(seen),
                 qPrintable(at + QLatin1String(name) +
                            QStringLiteral(" line at %1 in a view of %2")
                                .arg(seen.bottom())
                                .arg(view->height())));
      }
    }
  }

  void windowFitsTheScreensFreeArea() {
    const QScreen* screen = h->window->screen();
    const QRect free = screen->availableGeometry();
    QVERIFY2(free.contains(h->window->frameGeometry()),
             qPrintable(QStringLiteral("%1x%2 on %3x%4")
                            .arg(h->window->frameGeometry().width())
                            .arg(h->window->frameGeometry().height())
                            .arg(free.width())
                            .arg(free.height())));
    // as large as the screen allows, up to 1024 x 768 at 96 dots per inch
    QVERIFY(h->window->width() >= std::min(1024, free.width() - 16));
    QVERIFY(h->window->height() >= std::min(768, free.height() - 40));
    QVERIFY(h->window->minimumWidth() > 0 && h->window->minimumWidth() <= free.width());
    QVERIFY(h->window->minimumHeight() > 0 && h->window->minimumHeight() <= free.height());
    verifyLayout(QStringLiteral("as started: "));
    // a screen of 1280 x 720 or more (1366 x 768, 1920 x 1080 at 150 %)
    // shows the panels whole in every mode, with the status line's notice
    // of the column mode
    if (free.width() < 1280 || free.height() < 720) return;
    for (int mode : {2, 0, 1, 3}) {
      h->get<QAbstractButton>(qPrintable(QStringLiteral("cylinder%1").arg(mode)))->click();
      verifyPanelsInSight(QStringLiteral("mode %1: ").arg(mode));
      if (QTest::currentTestFailed()) return;
    }
  }

  void nothingClipsOrOverlapsInAnyModeAtAnySize_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("size");
    for (int mode = 0; mode < 4; ++mode)
      for (QSize size : {QSize(1024, 768), QSize(800, 600), QSize(640, 480), QSize(1600, 1000)})
        QTest::addRow("mode %d at %dx%d", mode, size.width(), size.height()) << mode << size;
  }
  void nothingClipsOrOverlapsInAnyModeAtAnySize() {
    QFETCH(int, mode);
    QFETCH(QSize, size);
    h->get<QAbstractButton>(qPrintable(QStringLiteral("cylinder%1").arg(mode)))->click();
    h->window->resize(size);
    verifyLayout(QStringLiteral("mode %1: ").arg(mode));
  }

  void aLongDesignationNeitherClipsCaptionsNorShiftsFields() {
    auto& ps = h->window->state();
    // a field's place in its frame
    const auto fieldX = [&](const char* name) { return h->get(name)->x(); };
    const int before[2] = {fieldX("is1"), fieldX("icyll")};
    ps.cbostiff = ps.cboring = 3;  // T built up, as typed in its window
    ps.stiffBuilt.tb = {200, 90, 9, 12};
    ps.ringBuilt.tb = {200, 90, 9, 12};
    h->window->calculate();
    h->window->refreshWindow();
    QApplication::processEvents();
    QCOMPARE(h->get<QLabel>("stiffprof")->text(), QStringLiteral("T200x90x9.0x12.0"));
    QCOMPARE(h->get<QLabel>("ringprof")->text(), QStringLiteral("T200x90x9.0x12.0"));
    QCOMPARE(fieldX("is1"), before[0]);
    QCOMPARE(fieldX("icyll"), before[1]);
    verifyLayout(QStringLiteral("long designations: "));
  }

  // The other windows open whole on the main window's screen, beside the
  // result panels where the screen has room for that, and every button of
  // theirs is inside them.
  void otherWindowsOpenOnTheScreenBesideThePanels_data() {
    QTest::addColumn<QString>("which");
    for (const char* w : {"cases", "study", "sheet", "help", "profile"}) QTest::newRow(w) << w;
  }
  void otherWindowsOpenOnTheScreenBesideThePanels() {
    QFETCH(QString, which);
    QWidget* w = nullptr;
    if (which == QLatin1String("cases")) w = h->window->openLoadCases();
    if (which == QLatin1String("study")) w = orvane::ui::StudyWindow::open(*h->window);
    if (which == QLatin1String("sheet")) {
      h->window->showSheet();
      w = h->window->sheetWindow();
    }
    if (which == QLatin1String("help"))
      w = orvane::ui::HelpWindow::open(orvane::ui::HelpWindow::Page::Contents, h->window.get());
    if (which == QLatin1String("profile"))
      w = orvane::ui::showProfileWindow(*h->window, orvane::Member::Stiffener, 3);
    QVERIFY(w);
    QApplication::processEvents();
    const QRect free = h->window->screen()->availableGeometry();
    const QRect frame = w->frameGeometry();
    const QString at = QStringLiteral("%1 at %2,%3 %4x%5 on %6x%7: ")
                           .arg(which)
                           .arg(frame.x())
                           .arg(frame.y())
                           .arg(frame.width())
                           .arg(frame.height())
                           .arg(free.width())
                           .arg(free.height());
    // a window whose least size is larger than the screen (400 x 300 at
    // 200 %) keeps its title bar on it
    const QSize least =
        w->minimumSizeHint().expandedTo(w->minimumSize()) + frame.size() - w->size();
    if (least.width() <= free.width() && least.height() <= free.height())
      QVERIFY2(free.contains(frame), qPrintable(at));
    else
      QVERIFY2(free.contains(frame.topLeft()) && frame.top() >= free.top(), qPrintable(at));
    // over the panels only when no side of them has room for the window at
    // its least size
    const QRect panels = h->window->resultArea();
    const bool sideways = free.right() - panels.right() >= least.width() ||
                          panels.left() - free.left() >= least.width();
    const bool upright = panels.top() - free.top() >= least.height() ||
                         free.bottom() - panels.bottom() >= least.height();
    const bool room =
        (sideways && free.height() >= least.height()) || (upright && free.width() >= least.width());
    QVERIFY2(!room || !frame.intersects(panels),
             qPrintable(at + QStringLiteral("over the panels")));
    for (QPushButton* b : w->findChildren<QPushButton*>()) {
      if (!b->isVisibleTo(w)) continue;
      const QRect in(b->mapTo(w, QPoint(0, 0)), b->size());
      QVERIFY2(w->rect().contains(in), qPrintable(at + b->objectName() + b->text()));
    }
    w->close();
  }

  void panelsGrowWithAProfileNoteAndKeepTheirVerdicts() {
    // a ring frame failing all four lines adds five lines under its panel
    auto& ps = h->window->state();
    ps.cboring = 3;
    ps.ringBuilt.tb = {1200, 900, 1, 1};
    QVERIFY(h->window->calculate());
    h->window->refreshWindow();
    verifyLayout(QStringLiteral("ring profile note: "));
  }
};

QTEST_MAIN(LayoutTest)
#include "test_window_layout.moc"
