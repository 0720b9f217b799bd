// A monkey at the keyboard and the mouse: from a fixed seed, random text
// (hostile numbers among it) into every field of the main window and of the
// open profile, Load cases and Design study windows, Tab, Enter and Escape,
// clicks on every control and menu entry, cells of the load-case table typed
// over, rows selected by their header, blocks pasted, Ctrl+Z and Ctrl+Y, mode changes, windows
// opened and closed, projects and load tables opened and saved. Nothing may end the program or hang
// it; at the end the project is saved and its headless check must show what the window shows.
//
//   export QT_QPA_PLATFORM=offscreen QTEST_FUNCTION_TIMEOUT=3600000
//   ORVANE_MONKEY_EVENTS=100000 ORVANE_MONKEY_SEED=7 bin/test_ui_monkey
//
// (Qt Test ends a test function after five minutes unless told otherwise.)
//
// On a failure, a crash or a hang the seed and the last events are printed;
// the same seed replays the same events however busy the machine (a modal
// dialog is answered at a fixed point, not by a timer); only what the Design
// study and Load cases windows compute on threads of their own may arrive a
// step earlier or later. ORVANE_MONKEY_TRACE=FILE writes every event, so
// that two runs can be compared.
#include <unistd.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <thread>

#include "cli/cli_app.hpp"
#include "project/inputs.hpp"
#include "ui/cases/cases_window.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/common/read_number.hpp"
#include "ui/main/field_table.hpp"
#include "ui/main/result_panel.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui/study/study_window.hpp"
#include "ui_fixture.hpp"

using orvane::ProjectState;
using orvane::ui::FileDialog;
using orvane::ui::MainWindow;
using orvane::ui::ProfileWindow;
using orvane::ui::ResultPanel;
using orvane::ui::test::Harness;
using orvane::ui::test::TextRecorder;

namespace {

// The last events, for the report of a failure, a crash or a hang. Plain
// storage, so that a signal handler can still print it.
class EventLog {
 public:
  static constexpr int kKept = 60;
  static constexpr int kWidth = 200;
  void add(long index, const QString& what) {
    const QByteArray text = QStringLiteral("#%1 %2").arg(index).arg(what).toUtf8();
    if (trace_) std::fprintf(trace_, "%s\n", text.constData());
    char* slot = lines_[next_ % kKept];
    const int n = static_cast<int>(std::min<qsizetype>(text.size(), kWidth - 2));
    std::memcpy(slot, text.constData(), static_cast<size_t>(n));
    slot[n] = '\n';
    slot[n + 1] = '\0';
    ++next_;
  }
  // Writes the header and the kept lines to stderr; async-signal-safe.
  void dump(const char* why) const {
    auto put = [](const char* s) {
      if (::write(2, s, std::strlen(s)) < 0) return;
    };
    put("\nmonkey: ");
    put(why);
    put("\n");
    put(header_);
    const long first = next_ > kKept ? next_ - kKept : 0;
    for (long i = first; i < next_; ++i) put(lines_[i % kKept]);
  }
  void setHeader(const QString& text) {
    const QByteArray b = text.toUtf8();
    std::snprintf(header_, sizeof header_, "%s\n", b.constData());
  }

 private:
  // every event, line by line, where ORVANE_MONKEY_TRACE names a file
  FILE* trace_ = [] {
    const char* path = std::getenv("ORVANE_MONKEY_TRACE");
    FILE* f = path ? std::fopen(path, "w") : nullptr;
    if (f) std::setvbuf(f, nullptr, _IOLBF, 0);
    return f;
  }();
  char lines_[kKept][kWidth] = {};
  char header_[kWidth] = {};
  long next_ = 0;
};

EventLog gLog;
QtMessageHandler previousHandler = nullptr;
std::atomic<long> gProgress{0};

extern "C" void onFatalSignal(int sig) {
  gLog.dump(sig == SIGSEGV ? "crash (SIGSEGV)" : sig == SIGFPE ? "crash (SIGFPE)" : "abort");
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// Texts a user might type, the hostile ones first.
const char* const kNasty[] = {"1e400",
                              "-1e400",
                              "1e-400",
                              "1e39",
                              "-1e39",
                              "3.5e38",
                              "1e38",
                              "\xef\xbc\x92",                // fullwidth 2
                              "\xef\xbc\x91\xef\xbc\x92.5",  // fullwidth 12.5
                              "\xd9\xa3",                    // Arabic-Indic 3
                              "abc",
                              "",
                              " ",
                              "   ",
                              ",",
                              "12,5",
                              "1,2,3",
                              "-",
                              "--5",
                              "- 3",
                              "+",
                              ".",
                              "-.5",
                              "1e",
                              "1e+",
                              "e5",
                              "1d5",
                              "nan",
                              "inf",
                              "-inf",
                              "0",
                              "-0",
                              "0.1",
                              "0.0999",
                              " 7 mm",
                              "1 2 3",
                              "9999999999",
                              "-99999",
                              "1.5",
                              "1.6",
                              "0.2",
                              "50",
                              "49",
                              "2000",
                              "2001"};

QString longNumber() {
  QString s = QStringLiteral("1");
  s += QString(319, QLatin1Char('7'));  // 320 digits
  return s;
}

struct Options {
  long events = 2000;
  unsigned seed = 20261206;
};

Options optionsFromEnvironment() {
  Options o;
  if (const char* e = std::getenv("ORVANE_MONKEY_EVENTS")) o.events = std::atol(e);
  if (const char* s = std::getenv("ORVANE_MONKEY_SEED"))
    o.seed = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
  return o;
}

// The program's controls a user can reach. Qt's own parts of a widget
// (`qt_` names: a scroll area's bar containers) are left out: whether a bar
// shows follows a layout that may come a moment later (the sheet's), and
// the monkey's choices must not depend on the moment.
template <class T>
QList<T*> usable(QWidget* root) {
  QList<T*> out;
  for (T* w : root->findChildren<T*>())
    if (w->isVisible() && w->isEnabled() && !w->objectName().isEmpty() &&
        !w->objectName().startsWith(QLatin1String("qt_")))
      out << w;
  return out;
}

// Types as a keyboard would, also the characters QTest has no key for.
void typeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(w, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// The menu entries a user can reach: visible items of visible menus. The
// rule options are left alone: their verdict colours come from values the
// headless panels below are not rebuilt from (test_window_notes.cpp).
void reachableActions(const QList<QAction*>& actions, QList<QAction*>& out) {
  for (QAction* a : actions) {
    if (!a->isVisible() || a->isSeparator()) continue;
    if (a->objectName() == QLatin1String("mnurulesconservative") ||
        a->objectName() == QLatin1String("mnuendsclosed"))
      continue;
    if (QMenu* m = a->menu())
      reachableActions(m->actions(), out);
    else if (a->isEnabled())
      out << a;
  }
}

}  // namespace

// Opens the theory manual nowhere: the monkey clicks it too.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  int opened = 0;
 public slots:
  void open(const QUrl&) { ++opened; }
};

// Answers every modal dialog with Cancel as soon as it shows, in its own
// loop (exec) or before the next step (open): the answer is posted ahead of
// everything else waiting, so that it comes at the same point of every run
// however busy the machine is, and no step finds a dialog still up.
class ModalCloser final : public QObject {
 public:
  ModalCloser() { qApp->installEventFilter(this); }
  ~ModalCloser() override { qApp->removeEventFilter(this); }
  Q_DISABLE_COPY_MOVE(ModalCloser)
  QStringList closed;

  // What is still up at the end of a step: closed as well.
  void closeLeftOver() {
    for (int guard = 0; guard < 5; ++guard) {
      QWidget* m = QApplication::activeModalWidget();
      if (!m) break;
      close(m);
      QApplication::processEvents();
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->isWindow() && w->isModal())
        QCoreApplication::postEvent(this, new Answer(w), Qt::HighEventPriority);
    }
    return false;
  }
  void customEvent(QEvent* event) override {
    if (event->type() != Answer::kType) return;
    QWidget* w = static_cast<Answer*>(event)->dialog;
    if (w && w->isVisible()) close(w);
  }

 private:
  struct Answer final : QEvent {
    static inline const auto kType = static_cast<QEvent::Type>(QEvent::registerEventType());
    explicit Answer(QWidget* w) : QEvent(kType), dialog(w) {}
    QPointer<QWidget> dialog;
  };
  void close(QWidget* w) {
    closed << QString::fromLatin1(w->metaObject()->className());
    if (auto* d = qobject_cast<QDialog*>(w))
      d->reject();
    else
      w->close();
  }
};

// A step that does not come back within a minute is a hang: the last
// events are printed and the test ends.
class Watchdog {
 public:
  Watchdog()
      : thread_([this] {
          long seen = -1;
          auto since = std::chrono::steady_clock::now();
          while (!done_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const long now = gProgress.load();
            if (now != seen) {
              seen = now;
              since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since > std::chrono::seconds(60)) {
              gLog.dump("hang: no event finished for 60 s");
              std::_Exit(4);
            }
          }
        }) {}
  ~Watchdog() {
    done_ = true;
    thread_.join();
  }
  Q_DISABLE_COPY_MOVE(Watchdog)

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

class Monkey {
 public:
  Monkey(Harness& h, const QTemporaryDir& dir, ModalCloser& closer, unsigned seed)
      : h_(h), dir_(dir), closer_(closer), rng_(seed) {
    // files the Open dialog may offer: damaged ones besides the saved ones
    write("empty.cys", "");
    write("short.cys", "170\r\nname\r\nid\r\n1\r\n");
    write("letters.cys", "170\r\nname\r\nid\r\nx\r\n");
    write("huge.cys", "170\r\nname\r\nid\r\n1e400\r\n1\r\n1\r\n");
    write("binary.cys", QByteArray("\0\xff\xfe\x01\r\n", 6));
    // load tables Import may be given
    write("loads.csv", "case;sigx;sigy\r\na;-120,5;-10\r\nb;-60;-3,25\r\n");
    write("errors.csv", "case,sigx,sigy,tau\na,abc,1e400,1\nb,-50,-20,3\nc,,,\n");
    write("bad.csv", "case,sigx,depth\na,1,2\n");
  }

  void step(long i) {
    index_ = i;
    FileDialog::setNextFileNames({fileChoice()});
    const int kind = pick(100);
    if (kind < 36)
      typeIntoField();
    else if (kind < 40)
      undoOrRedo();
    else if (kind < 48)
      pressKey();
    else if (kind < 64)
      clickControl();
    else if (kind < 69)
      chooseInList();
    else if (kind < 80)
      triggerMenu();
    else if (kind < 84)
      rightClick();
    else if (kind < 88)
      editCaseTable();
    else if (kind < 92)
      pasteBlock();
    else if (kind < 96)
      switchWindow();
    else
      closeWindow();
    settle();
  }

  // Closes what a step may leave open: pop-up menus and list pop-ups.
  void settle() {
    for (int guard = 0; guard < 5; ++guard) {
      QWidget* popup = QApplication::activePopupWidget();
      if (!popup) break;
      popup->close();
    }
    QApplication::processEvents();
    closer_.closeLeftOver();
    if (!h_.window->isVisible()) {
      // File > Exit ended the program; the run goes on with the window shown again
      h_.window->show();
      QApplication::setActiveWindow(h_.window.get());
    }
  }

  QString fileChoice() {
    const int k = pick(20);
    if (k < 10) return dir_.filePath(QStringLiteral("p%1.cys").arg(pick(4)));
    if (k < 12) return QString();  // Cancel
    if (k < 13) return dir_.filePath(QStringLiteral("no/such/folder/x.cys"));
    if (k < 14) return dir_.filePath(QStringLiteral("missing.cys"));
    if (k < 16) {
      const char* tables[] = {"loads.csv", "errors.csv", "bad.csv"};
      return dir_.filePath(QString::fromLatin1(tables[pick(3)]));
    }
    const char* damaged[] = {"empty.cys", "short.cys",  "letters.cys",
                             "huge.cys",  "binary.cys", "p0"};
    return dir_.filePath(QString::fromLatin1(damaged[pick(6)]));
  }

 private:
  int pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  bool chance(int percent) { return pick(100) < percent; }
  void log(const QString& what) { gLog.add(index_, what); }

  void write(const char* name, const QByteArray& content) {
    QFile f(dir_.filePath(QLatin1String(name)));
    if (f.open(QIODevice::WriteOnly)) f.write(content);
  }

  QString randomText() {
    const int k = pick(10);
    if (k < 4) return QString::fromUtf8(kNasty[pick(static_cast<int>(std::size(kNasty)))]);
    if (k == 4) return longNumber();
    if (k == 5) {
      // random characters from a small alphabet of troublemakers
      const QString alphabet = QStringLiteral("0123456789.,-+eE xX\xff12\u00e6");
      QString s;
      for (int n = pick(8); n > 0; --n) s += alphabet[pick(static_cast<int>(alphabet.size()))];
      return s;
    }
    // a plausible number, mostly in the ranges the fields take
    const double scale[] = {1, 10, 100, 1000, 10000, 0.1};
    double v = (rng_() % 100000) / 100000.0 * scale[pick(6)];
    if (chance(15)) v = -v;
    return QString::number(v, 'f', pick(4));
  }

  // The main window and the open profile, Load cases and Design study windows.
  QList<QWidget*> windows() const {
    QList<QWidget*> out{h_.window.get()};
    for (ProfileWindow* w : h_.window->findChildren<ProfileWindow*>())
      if (w->isVisible() && !w->closing()) out << w;
    for (QWidget* w : h_.window->findChildren<orvane::cases::CasesWindow*>())
      if (w->isVisible()) out << w;
    for (QWidget* w : h_.window->findChildren<orvane::ui::StudyWindow*>())
      if (w->isVisible()) out << w;
    return out;
  }
  orvane::cases::CasesWindow* casesWindow() const {
    auto* w = h_.window->findChild<orvane::cases::CasesWindow*>();
    return w && w->isVisible() ? w : nullptr;
  }

  // A cell of the load-case table typed over, or a row selected by its
  // header (as before Delete rows).
  void editCaseTable() {
    orvane::cases::CasesWindow* w = casesWindow();
    if (!w) return;
    activate(w);
    QTableView* v = w->view();
    QAbstractItemModel* m = v->model();
    if (m->rowCount() == 0 || m->columnCount() == 0) return;
    const int row = pick(m->rowCount()), column = pick(m->columnCount());
    v->scrollTo(m->index(row, column));
    if (chance(30)) {
      log(QStringLiteral("select case row %1 by its header").arg(row));
      QTest::mouseClick(v->verticalHeader()->viewport(), Qt::LeftButton, {},
                        QPoint(4, v->rowViewportPosition(row) + 3));
      return;
    }
    const QString text = randomText();
    log(QStringLiteral("type '%1' into case cell %2,%3").arg(text.left(40)).arg(row).arg(column));
    v->setFocus(Qt::OtherFocusReason);
    v->setCurrentIndex(m->index(row, column));
    typeText(v, text);
    QApplication::processEvents();
    if (QWidget* editor = QApplication::focusWidget())
      QTest::keyClick(editor, chance(80) ? Qt::Key_Return : Qt::Key_Escape);
  }

  // Ctrl+Z or Ctrl+Y where the focus is: a field's own text, the main
  // window's steps or the load-case table's.
  void undoOrRedo() {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = activeOrMain();
    const bool undo = chance(65);
    log(QStringLiteral("%1 in %2")
            .arg(undo ? QStringLiteral("Ctrl+Z") : QStringLiteral("Ctrl+Y"), target->objectName()));
    QTest::keySequence(target, undo ? QKeySequence::Undo : QKeySequence::Redo);
  }

  // A block from a spreadsheet, pasted where the focus is (a field, or a
  // cell of the load-case table).
  void pasteBlock() {
    QString block;
    if (chance(30)) block = QStringLiteral("case\tsigx\tt\n");
    for (int r = pick(4); r >= 0; --r) {
      for (int c = pick(5); c >= 0; --c) block += randomText() + QLatin1Char('\t');
      block += QLatin1Char('\n');
    }
    if (chance(20)) block = randomText();
    QApplication::clipboard()->setText(block);
    QWidget* target = QApplication::focusWidget();
    if (orvane::cases::CasesWindow* w = casesWindow(); w && (chance(50) || !target)) {
      activate(w);
      target = w->view();
      target->setFocus(Qt::OtherFocusReason);
    }
    if (!target) target = activeOrMain();
    log(QStringLiteral("paste '%1' into %2").arg(block.left(40), target->objectName()));
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
  }
  QWidget* activeOrMain() const {
    QWidget* a = QApplication::activeWindow();
    return a && windows().contains(a) ? a : h_.window.get();
  }
  void activate(QWidget* w) {
    if (QApplication::activeWindow() != w) QApplication::setActiveWindow(w);
  }
  QWidget* randomWindow() {
    const QList<QWidget*> ws = windows();
    // mostly stay where the user is
    QWidget* w = chance(70) ? activeOrMain() : ws[pick(static_cast<int>(ws.size()))];
    activate(w);
    return w;
  }

  void typeIntoField() {
    QWidget* w = randomWindow();
    const QList<QLineEdit*> fields = usable<QLineEdit>(w);
    if (fields.isEmpty()) return;
    QLineEdit* f = fields[pick(static_cast<int>(fields.size()))];
    const QString text = randomText();
    const bool click = chance(50);
    log(QStringLiteral("type '%1' into %2/%3 (%4)")
            .arg(text.left(40), w->objectName(), f->objectName(),
                 click ? QStringLiteral("click") : QStringLiteral("tab")));
    if (click)
      QTest::mouseClick(f, Qt::LeftButton);
    else
      f->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (!f->isVisible() || !f->hasFocus()) return;    // a warning moved the focus away
    if (chance(20)) QTest::keyClick(f, Qt::Key_End);  // append instead of replacing
    typeText(f, text);
    if (chance(75)) pressKey();
  }

  void pressKey() {
    static const Qt::Key keys[] = {Qt::Key_Tab,    Qt::Key_Tab,      Qt::Key_Tab,   Qt::Key_Backtab,
                                   Qt::Key_Return, Qt::Key_Return,   Qt::Key_Enter, Qt::Key_Escape,
                                   Qt::Key_Escape, Qt::Key_Up,       Qt::Key_Down,  Qt::Key_Space,
                                   Qt::Key_Delete, Qt::Key_Backspace};
    QWidget* target = QApplication::focusWidget();
    if (!target) target = activeOrMain();
    const Qt::Key key = keys[pick(static_cast<int>(std::size(keys)))];
    log(QStringLiteral("key %1 in %2").arg(QKeySequence(key).toString(), target->objectName()));
    QTest::keyClick(target, key);
  }

  void clickControl() {
    QWidget* w = randomWindow();
    QList<QWidget*> controls;
    for (QAbstractButton* b : usable<QAbstractButton>(w)) {
      controls << b;
      // mode changes and the profile buttons count twice
      const QString n = b->objectName();
      if (n.startsWith(QLatin1String("cylinder")) || n.startsWith(QLatin1String("cmdpic")))
        controls << b;
    }
    for (QLabel* l : usable<QLabel>(w)) controls << l;
    for (QGroupBox* g : usable<QGroupBox>(w)) controls << g;
    for (ResultPanel* p : usable<ResultPanel>(w)) controls << p;
    if (controls.isEmpty()) return;
    QWidget* c = controls[pick(static_cast<int>(controls.size()))];
    log(QStringLiteral("click %1/%2").arg(w->objectName(), c->objectName()));
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, c->rect().center());
  }

  void chooseInList() {
    QWidget* w = randomWindow();
    const QList<QComboBox*> lists = usable<QComboBox>(w);
    if (lists.isEmpty()) return;
    QComboBox* c = lists[pick(static_cast<int>(lists.size()))];
    if (chance(50)) {
      static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End,
                                     Qt::Key_PageDown};
      const Qt::Key key = keys[pick(static_cast<int>(std::size(keys)))];
      log(QStringLiteral("list %1/%2 key %3")
              .arg(w->objectName(), c->objectName(), QKeySequence(key).toString()));
      c->setFocus(Qt::TabFocusReason);
      QApplication::processEvents();
      if (c->isVisible()) QTest::keyClick(c, key);
      return;
    }
    // through the pop-up, as with the mouse: one entry, or Escape
    const int row = pick(c->count() + 1);
    log(QStringLiteral("list %1/%2 pick %3").arg(w->objectName(), c->objectName()).arg(row));
    c->showPopup();
    QApplication::processEvents();
    QAbstractItemView* view = c->view();
    if (!view || !view->isVisible()) return;
    if (row == c->count()) {
      QTest::keyClick(view, Qt::Key_Escape);
      return;
    }
    view->setCurrentIndex(view->model()->index(row, c->modelColumn(), view->rootIndex()));
    QTest::keyClick(view, Qt::Key_Return);
  }

  // The main window's menu bar: a click there makes the main window active.
  void triggerMenu() {
    QList<QAction*> actions;
    reachableActions(h_.window->menuBar()->actions(), actions);
    if (actions.isEmpty()) return;
    QAction* a = actions[pick(static_cast<int>(actions.size()))];
    log(QStringLiteral("menu %1 (%2)").arg(a->objectName(), a->text()));
    activate(h_.window.get());
    a->trigger();
  }

  void rightClick() {
    QWidget* w = randomWindow();
    const QList<QWidget*> all = usable<QWidget>(w);
    if (all.isEmpty()) return;
    QWidget* c = all[pick(static_cast<int>(all.size()))];
    log(QStringLiteral("right click %1/%2").arg(w->objectName(), c->objectName()));
    QTest::mouseClick(c, Qt::RightButton, Qt::NoModifier, c->rect().center());
    QApplication::processEvents();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || chance(30)) return;
    QList<QAction*> actions;
    reachableActions(menu->actions(), actions);
    if (actions.isEmpty()) return;
    QAction* a = actions[pick(static_cast<int>(actions.size()))];
    log(QStringLiteral("  pop-up %1").arg(a->objectName()));
    menu->close();
    a->trigger();
  }

  void switchWindow() {
    const QList<QWidget*> ws = windows();
    QWidget* w = ws[pick(static_cast<int>(ws.size()))];
    log(QStringLiteral("activate %1").arg(w->objectName()));
    activate(w);
  }

  void closeWindow() {
    const QList<QWidget*> ws = windows();
    if (ws.size() < 2) return;
    QWidget* w = ws[1 + pick(static_cast<int>(ws.size()) - 1)];
    const bool escape = chance(30);
    log(QStringLiteral("close %1 (%2)")
            .arg(w->objectName(), escape ? QStringLiteral("Escape") : QStringLiteral("X")));
    activate(w);
    if (escape)
      QTest::keyClick(w, Qt::Key_Escape);
    else
      w->close();
  }

  Harness& h_;
  const QTemporaryDir& dir_;
  ModalCloser& closer_;
  std::mt19937 rng_;
  long index_ = 0;
};

class MonkeyTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    std::signal(SIGSEGV, onFatalSignal);
    std::signal(SIGFPE, onFatalSignal);
    std::signal(SIGABRT, onFatalSignal);
    std::set_terminate([] {
      gLog.dump("uncaught exception");
      std::_Exit(3);
    });
    // the offscreen platform's notes on raise() and keyboard grabs, thousands of them
    previousHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
          if (!text.startsWith(QLatin1String("This plugin does not support")))
            previousHandler(type, context, text);
        });
    QApplication::setQuitOnLastWindowClosed(false);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls, "open");
  }
  void cleanupTestCase() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    qInstallMessageHandler(previousHandler);
  }

  void randomEventsKeepWindowAndFileInStep() {
    const Options o = optionsFromEnvironment();
    gLog.setHeader(QStringLiteral("seed %1, %2 events (ORVANE_MONKEY_SEED, ORVANE_MONKEY_EVENTS)")
                       .arg(o.seed)
                       .arg(o.events));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Harness h;
    FileDialog::setNextFileNames({});

    // Every modal dialog outside the two seams is answered with Cancel; a
    // message box may not appear at all (the recorder answers them).
    ModalCloser closer;

    Watchdog watchdog;
    Monkey monkey(h, dir, closer, o.seed);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < o.events; ++i) {
      monkey.step(i);
      gProgress = i + 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    qInfo("monkey: seed %u, %ld events in %.1f s, %lld messages, %lld modal dialogs closed (%s)",
          o.seed, o.events, seconds, static_cast<long long>(h.messages.texts.size()),
          static_cast<long long>(closer.closed.size()),
          qPrintable(QStringList(closer.closed).join(QLatin1Char(',')).left(200)));
    QVERIFY2(!closer.closed.contains(QStringLiteral("QMessageBox")),
             "a message box went past the program's message seam");

    // The project as the monkey left it, saved: its headless check agrees
    // with the window, complete results and a stopped calculation alike.
    // Save refuses a project the monkey may leave (a text that is no number
    // in the field being edited, a name the file cannot hold), with a
    // warning and no file, until the user corrects what the warning names;
    // then Save must work.
    const QString left = dir.filePath(QStringLiteral("left.cys"));
    QStringList corrected;
    for (int tries = 0; tries < 3 && !saveAs(h, left); ++tries) {
      const QString last = h.messages.texts.value(h.messages.texts.size() - 1);
      const QString field = correctRefusal(h, last);
      if (field.isEmpty()) {
        gLog.dump("Save As refused the project");
        QFAIL(qPrintable("Save As wrote no file, for nothing a user could correct: " + last));
      }
      corrected << field;
    }
    if (!corrected.isEmpty())
      qInfo("monkey: Save refused the project; typed again: %s", qPrintable(corrected.join(',')));
    if (!QFile::exists(left)) gLog.dump("Save As refused the project after the corrections");
    QVERIFY2(QFile::exists(left), qPrintable("no file after correcting " + corrected.join(',')));
    compareWithHeadlessCheck(h, left, o.seed);
    if (QTest::currentTestFailed()) return;

    // A user who then types a sound project over it, on whatever history
    // the monkey left: complete results on both sides, and the same ones.
    typeSoundProject(h);
    const QString sound = dir.filePath(QStringLiteral("sound.cys"));
    QVERIFY2(saveAs(h, sound), "Save As wrote no file of the sound project");
    compareWithHeadlessCheck(h, sound, o.seed);
    if (QTest::currentTestFailed()) return;
    QVERIFY2(h.window->lastRunComplete(),
             qPrintable("a sound project ends in a stopped calculation: " + checkText(sound)));
  }

 private:
  // The headless check's text for a file.
  static QString checkText(const QString& path) {
    std::ostringstream out, err;
    orvane::cli::run({"check", path.toStdString(), "--data", ORVANE_SHIPPED_DATA}, out, err);
    QFile f(path);
    const QString lines =
        f.open(QIODevice::ReadOnly)
            ? QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n")).join('|')
            : QString();
    return QString::fromStdString(out.str() + err.str()) + QStringLiteral("file: ") + lines;
  }

  // File > Save As under `path`, from the main window's menu bar; whether
  // the file was written.
  static bool saveAs(Harness& h, const QString& path) {
    QFile::remove(path);
    QApplication::setActiveWindow(h.window.get());
    FileDialog::setNextFileNames({path});
    h.window->findChild<QAction*>(QStringLiteral("mnusaveas"))->trigger();
    QApplication::processEvents();
    FileDialog::setNextFileNames({});
    return QFile::exists(path);
  }

  // What a user does after Save refused the project with `warning`: the
  // field being edited, whose text is no number, gets the value it stands
  // for (as the field shows the stored value), typed without leaving it
  // (Save takes the field being edited); a project name or identification
  // the file cannot hold is typed again in plain letters. The field's name;
  // empty for a refusal of another kind.
  static QString correctRefusal(Harness& h, const QString& warning) {
    QLineEdit* f = nullptr;
    QString text;
    if (warning == QLatin1String("Input string mismatch ")) {
      f = qobject_cast<QLineEdit*>(h.window->focusWidget());
      const orvane::ui::FieldSpec* known =
          f ? orvane::ui::findField(f->objectName().toLatin1().constData()) : nullptr;
      if (!known || known->id >= orvane::ui::FieldId::iproj ||
          orvane::ui::readNumber(f->text(), 0).ok())
        return {};
      const orvane::InputDef& in = orvane::inputDef(known->input);
      text = orvane::ui::showNumber(in.get(h.window->state()), in.pattern, 0);
    } else if (warning.startsWith(QLatin1String("can't save file - "))) {
      if (warning.contains(QLatin1String("the project name ")))
        f = h.field("iproj");
      else if (warning.contains(QLatin1String("the identification ")))
        f = h.field("iident");
      else
        return {};
      text = QStringLiteral("monkey");
    } else {
      return {};
    }
    QApplication::setActiveWindow(h.window.get());
    f->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f, text);
    gLog.add(-1, "typed " + f->text() + " into " + f->objectName());
    return f->objectName();
  }

  // Sound values of the main window's numeric fields.
  static QString soundValue(const QString& field) {
    static const QHash<QString, QString> values{
        {"icylr", "3000"},  {"it", "20"},     {"il", "3000"},     {"ie", "210000"},
        {"is1", "600"},     {"ilt", "1000"},  {"icyll", "12000"}, {"igilt", "1000"},
        {"isigx", "-100"},  {"isigy", "-50"}, {"itau", "10"},     {"ipp", "-0.3"},
        {"iufb", "1.0"},    {"ifyp", "355"},  {"ifys", "355"},    {"ifyg", "355"},
        {"icolL", "12000"}, {"ik1", "1"},     {"ik2", "1"},       {"inn", "1000"},
        {"ip", "-0.3"},     {"im1a", "100"},  {"im1b", "50"},     {"im2a", "80"},
        {"im2b", "40"}};
    return values.value(field);
  }

  // Table profiles and sound numbers through the window's own controls.
  static void typeSoundProject(Harness& h) {
    MainWindow& w = *h.window;
    QApplication::setActiveWindow(&w);
    orvane::ui::closeProfileWindows(&w);
    QApplication::processEvents();
    // Table profiles first, through the menu: a ring frame of no height
    // leaves no valid ltgi and would hold the focus in `igilt`.
    QTest::mouseClick(h.get<QAbstractButton>("cylinder2"), Qt::LeftButton);
    for (const char* menu : {"mnustifft", "mnugirdt"}) {
      w.findChild<QAction*>(QLatin1String(menu))->trigger();
      auto* pw = orvane::ui::findProfileWindow(&w, menu + 3);  // stifft, girdt
      if (!pw) continue;
      QApplication::setActiveWindow(pw);
      auto* list = pw->findChild<QComboBox*>(QStringLiteral("cbo"));
      list->showPopup();
      QApplication::processEvents();
      list->view()->setCurrentIndex(list->model()->index(5, 0));
      QTest::keyClick(list->view(), Qt::Key_Return);
      pw->close();
      QApplication::setActiveWindow(&w);
    }
    // the inputs of the mode that shows the most, then the column's
    typeValues(h, "cylinder2",
               {"icylr", "it", "il", "ie", "is1", "ilt", "icyll", "igilt", "isigx", "isigy", "itau",
                "ipp", "iufb", "ifyp", "ifys", "ifyg"});
    typeValues(h, "cylinder3",
               {"icolL", "ik1", "ik2", "inn", "ip", "im1a", "im1b", "im2a", "im2b"});
    QTest::mouseClick(h.get<QAbstractButton>("cylinder2"), Qt::LeftButton);
  }

  // Types each field's sound value where the mode shows the field, and
  // leaves with Tab. A field that keeps the focus after a warning is
  // corrected first, as a user must.
  static void typeValues(Harness& h, const char* mode, std::initializer_list<const char*> names) {
    QTest::mouseClick(h.get<QAbstractButton>(mode), Qt::LeftButton);
    auto typeInto = [](QLineEdit* f) {
      QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(f, soundValue(f->objectName()));
      QTest::keyClick(f, Qt::Key_Tab);
      QApplication::processEvents();
    };
    for (const char* name : names) {
      QLineEdit* f = h.field(name);
      if (!f->isVisible() || !f->isEnabled()) continue;
      for (int tries = 0; tries < 6 && !f->hasFocus(); ++tries) {
        f->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        auto* holder = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!holder || holder == f || soundValue(holder->objectName()).isEmpty()) continue;
        if (tries < 5) {
          typeInto(holder);
          continue;
        }
        // No value passes: with pi*sqrt(r*h) below 51 every ltgi is warned
        // about and `igilt` keeps the focus. The menu still works: File > New.
        qInfo("monkey: the focus is held in %s (%s); File > New", qPrintable(holder->objectName()),
              qPrintable(h.messages.texts.value(h.messages.texts.size() - 1)));
        h.window->findChild<QAction*>(QStringLiteral("mnunew"))->trigger();
      }
      if (f->hasFocus()) typeInto(f);
    }
  }

  // The window's panels as drawn text, panel by panel; a hidden panel shows
  // nothing. The rule notes' lines go to `notes`, panel by panel.
  static QStringList windowPanels(const Harness& h, QStringList& notes) {
    QStringList out;
    for (const char* name : {"pic30", "Pic31", "pic32"}) {
      auto* panel = h.get<ResultPanel>(name);
      TextRecorder rec;
      if (panel->isVisibleTo(h.window.get())) panel->replay(rec);
      out << drawn(rec);
      QString lines;
      for (const auto& p : rec.items)
        if (isRuleNote(p.text)) lines += QString::fromStdString(p.text) + '\n';
      notes << lines;
    }
    return out;
  }
  static bool isRuleNote(const std::string& text) { return text.starts_with("* Rule note:"); }
  // The notes of the headless check under the panel of their check.
  static QStringList headlessNotes(const nlohmann::json& j) {
    QStringList notes(3);
    for (const auto& n : j["rule_notes"]) {
      const std::string check = n["check"].get<std::string>();
      const int panel = check == "shell" ? 0 : check.starts_with("ring") ? 2 : 1;
      notes[panel] += QString::fromStdString(n["mark"].get<std::string>()) + '\n';
    }
    return notes;
  }
  // The panels' lines without the rule notes (the headless panels below are
  // drawn from the tables alone).
  static QString drawn(const TextRecorder& rec) {
    QString s;
    for (const auto& p : rec.items)
      if (!isRuleNote(p.text))
        s += QStringLiteral("[%1 %2 %3%4]%5\n")
                 .arg(p.x)
                 .arg(p.y)
                 .arg(p.bold ? QStringLiteral("b") : QString())
                 .arg(p.color)
                 .arg(QString::fromStdString(p.text));
    return s;
  }

  // The panels the headless check's results give, drawn by the same routines
  // as the window draws them, for the modes that the saved file holds.
  static QStringList headlessPanels(const nlohmann::json& j, int16_t cyltype, int16_t ring_ch) {
    ProjectState ps;
    ps.cyltype = cyltype;
    ps.ring_ch = ring_ch;
    auto table = [&j](const char* key, orvane::ResultTable& t) {
      const auto& jt = j["tables"][key];
      t.n = jt["n"].get<int16_t>();
      for (size_t i = 0; i < 16; ++i) {
        t.label[i] = jt["label"][i].get<std::string>();
        t.value[i] = jt["value"][i].get<std::string>();
        t.unit[i] = jt["unit"][i].get<std::string>();
      }
    };
    table("shell", ps.shellTable);
    table("stiff", ps.stiffTable);
    table("ring", ps.ringTable);
    const auto& v = j["values"];
    ps.UF = v["UF"].get<double>();
    ps.UFallow = v["UFallow"].get<double>();
    ps.UFstiff = v["UFstiff"].get<double>();
    ps.UFallowStiff = v["UFallowStiff"].get<double>();
    ps.UFarea = v["UFarea"].get<double>();
    ps.UFinertia = v["UFinertia"].get<double>();
    ps.trace.UF1 = v["UF1"].get<double>();
    ps.trace.UF2 = v["UF2"].get<double>();
    ps.ufb = v["ufb"].get<double>();
    ps.pd = v["pd"].get<float>();
    ps.s = v["s"].get<double>();
    ps.t = v["t"].get<double>();
    ps.r = v["r"].get<float>();
    for (size_t i = 0; i < ps.proportion.size(); ++i)
      ps.proportion[i] = j["proportion"][i].get<std::string>();
    for (size_t i = 0; i < ps.ringLocal.size(); ++i)
      ps.ringLocal[i] = j["ringlocal"][i].get<std::string>();

    // the panels each cylinder type shows
    const bool shown[3] = {true, ps.cyltype == 2 || ps.cyltype == 3,
                           (ps.cyltype == 1 || ps.cyltype == 2) && ps.ring_ch == 1};
    QStringList out;
    for (int i = 0; i < 3; ++i) {
      TextRecorder rec;
      if (shown[i]) orvane::ui::drawResultPanel(rec, ps, i);
      out << drawn(rec);
    }
    return out;
  }

  void compareWithHeadlessCheck(const Harness& h, const QString& saved, unsigned seed) {
    std::ostringstream out, err;
    const int code = orvane::cli::run(
        {"check", saved.toStdString(), "--data", ORVANE_SHIPPED_DATA, "--json"}, out, err);
    const QString context = QStringLiteral("seed %1, file %2, exit %3 %4")
                                .arg(seed)
                                .arg(saved)
                                .arg(code)
                                .arg(QString::fromStdString(err.str()));
    QVERIFY2(code == 0 || code == 1 || code == 3, qPrintable(context));
    const nlohmann::json j = nlohmann::json::parse(out.str());
    // the modes as the file holds them: cyltype on line 12, the ring_ch flag on line 15
    QFile f(saved);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(context));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QVERIFY2(lines.size() >= 15, qPrintable(context));
    const auto cyltype = static_cast<int16_t>(lines[11].trimmed().toInt());
    const auto ringCh = static_cast<int16_t>(lines[14].trimmed().toInt());
    if (code == 3) {
      // the window must be showing a stopped calculation too
      QVERIFY2(!h.window->lastRunComplete(),
               qPrintable(QStringLiteral("the saved project faults headless (") +
                          QString::fromStdString(j["fault"].dump()) +
                          "), the window's last calculation completed: " + context));
      return;
    }
    QVERIFY2(
        h.window->lastRunComplete(),
        qPrintable("the window's last calculation stopped, the saved project checks: " + context));
    QStringList shownNotes;
    const QStringList shown = windowPanels(h, shownNotes);
    const QStringList checked = headlessPanels(j, cyltype, ringCh);
    const QStringList checkedNotes = headlessNotes(j);
    for (int i = 0; i < 3; ++i) {
      if (shown[i] == checked[i] && shownNotes[i] == checkedNotes[i]) continue;
      gLog.dump("the window and the saved file differ");
      qWarning("window panel %d:\n%s%s\nheadless check:\n%s%s", i, qPrintable(shown[i]),
               qPrintable(shownNotes[i]), qPrintable(checked[i]), qPrintable(checkedNotes[i]));
      QFAIL(qPrintable(QStringLiteral("panel %1 differs, ").arg(i) + context));
    }
  }

  UrlCatcher urls;
};

QTEST_MAIN(MonkeyTest)
#include "test_monkey.moc"
