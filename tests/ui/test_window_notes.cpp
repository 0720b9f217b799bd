// What the main window says beside its results: the note of a failing
// profile check, the status line of a stopped calculation and of column
// mode, the yield strengths in use, and the number format of panels and
// report.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "ui/common/read_number.hpp"
#include "ui/common/sketches.hpp"
#include "ui/main/result_panel.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui/report/report.hpp"
#include "ui_fixture.hpp"

using orvane::ui::ResultPanel;
using orvane::ui::test::Harness;
using orvane::ui::test::Printed;
using orvane::ui::test::TextRecorder;

namespace {

const QString kStopped = QStringLiteral("Calculation stopped: ");
const QString kLastComplete = QStringLiteral(" \u2014 the panels show the last complete results");
const QString kColumnNotice =
    QStringLiteral("Column mode: Sigx, Sigy and Tau now come from N and M; l = L");

QString reportText(orvane::ui::MainWindow& w) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
  if (!orvane::ui::writeReportPdf(w.state(), pdf, w.reportOptions()).isEmpty()) return {};
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

}  // namespace

class NotesTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;

  std::vector<Printed> panel(const char* name) {
    TextRecorder r;
    h->get<ResultPanel>(name)->replay(r);
    return r.items;
  }
  static const Printed* find(const std::vector<Printed>& items, const std::string& text) {
    for (const Printed& p : items)
      if (p.text == text) return &p;
    return nullptr;
  }
  QStringList panelTexts(const char* name) {
    QStringList texts;
    for (const Printed& p : panel(name)) texts << QString::fromStdString(p.text);
    return texts;
  }
  bool statusShown() { return h->window->statusBar()->isVisibleTo(h->window.get()); }

 private slots:
  void init() { h = std::make_unique<Harness>(); }
  void cleanup() { h.reset(); }

  void profileNoteAppearsAndGoesWithTheFailingLine_data() {
    QTest::addColumn<bool>("ring");
    QTest::addRow("stiffener") << false;
    QTest::addRow("ring frame") << true;
  }
  void profileNoteAppearsAndGoesWithTheFailingLine() {
    QFETCH(bool, ring);
    auto& ps = h->window->state();
    const char* name = ring ? "pic32" : "Pic31";
    const std::string heading =
        ring ? "Ringframe profile: local buckling NOK" : "Stiffener profile: local buckling NOK";
    const QStringList passing = panelTexts(name);
    QVERIFY(!passing.contains(QString::fromStdString(heading)));
    // a web of 0.1 mm in a built-up T fails the web line (Eq 3.10.7 / 3.10.2)
    (ring ? ps.cboring : ps.cbostiff) = 3;
    (ring ? ps.ringBuilt : ps.stiffBuilt).tb.tw = 0.1;
    QVERIFY(h->window->calculate());
    const std::string& line = ring ? ps.ringLocal[1] : ps.proportion[1];
    QVERIFY2(line.find("==> NOK") != std::string::npos, line.c_str());
    const auto drawn = panel(name);
    const Printed* title = find(drawn, heading);
    const Printed* text = find(drawn, line);
    QVERIFY(title && text);
    QVERIFY(title->bold && title->color == orvane::kRed && text->color == orvane::kRed);
    QVERIFY(text->y > title->y);
    // the other member's panel says nothing
    QVERIFY(!panelTexts(ring ? "Pic31" : "pic32").join(' ').contains(QStringLiteral("profile:")));
    // the report's panel area carries the same note
    const QString report = reportText(*h->window);
    QVERIFY2(report.contains(QString::fromStdString(heading)), qPrintable(report));
    QVERIFY(report.contains(QString::fromStdString(line)));
    // a web that passes takes the note away again
    (ring ? ps.ringBuilt : ps.stiffBuilt).tb.tw = 9;
    QVERIFY(h->window->calculate());
    QVERIFY(!panelTexts(name).contains(QString::fromStdString(heading)));
    QVERIFY(!reportText(*h->window).contains(QString::fromStdString(heading)));
  }

  // A rule note stands below everything its panel drew before; the
  // Analysis menu's conservative rules turn the verdict it reads red.
  void ruleNotesAndTheConservativeRules() {
    auto& ps = h->window->state();
    const auto stiffener = panel("Pic31");
    const Printed* note = find(stiffener, "* Rule note: gm = 1.45: UF = 1.68");
    QVERIFY(note);
    for (const Printed& p : stiffener)
      if (&p != note) QVERIFY2(p.y < note->y, p.text.c_str());
    QVERIFY(reportText(*h->window).contains(QStringLiteral("* Rule note: gm = 1.45: UF = 1.68")));

    // unstiffened, pd = -0.6 alone, UF allowed 0.75: 0.68 OK, 0.79 with psi = 2
    ps.cyltype = 0;
    ps.r = 3000, ps.t = 25, ps.l = 2000, ps.L = 20000;
    ps.sigx = 0, ps.sigy = 0, ps.tau = 0, ps.pd = -0.6f, ps.ufb = 0.75;
    QVERIFY(h->window->calculate());
    const Printed* uf = find(panel("pic30"), "0.68");
    QVERIFY(uf && uf->color == orvane::kGreen);
    QVERIFY(find(panel("pic30"), "* Rule note: fEh(psi=2): UF = 0.79"));
    auto* strict = h->window->findChild<QAction*>(QStringLiteral("mnurulesconservative"));
    QVERIFY(strict && strict->isCheckable() && !strict->isChecked());
    strict->trigger();
    QVERIFY(ps.conservativeRules);
    uf = find(panel("pic30"), "0.68");
    QVERIFY(uf && uf->color == orvane::kRed);
    QVERIFY(
        reportText(*h->window).contains(QStringLiteral("judged by the more conservative rules")));
    h->window->fileNew();  // the option belongs to the project
    QVERIFY(!ps.conservativeRules && !strict->isChecked());
  }

  void aStoppedCalculationIsSaidInRedUntilTheNextCompleteRun() {
    auto& ps = h->window->state();
    QVERIFY(!statusShown());
    const QStringList before = panelTexts("pic30");
    const double sigx = ps.sigx;
    ps.sigx = ps.sigy = ps.tau = ps.pd = 0;
    QVERIFY(!h->window->calculate());
    const QString line = h->window->faultLine();
    QVERIFY2(line.startsWith(kStopped) && line.endsWith(kLastComplete), qPrintable(line));
    QVERIFY(line.size() > kStopped.size() + kLastComplete.size());  // names the fault
    auto* label = h->get<QLabel>("calcfault");
    QCOMPARE(label->text(), line);
    QVERIFY(statusShown() && label->isVisibleTo(h->window.get()));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QCOMPARE(panelTexts("pic30"), before);
    // the report says the same and prints the panels' results, not the
    // half-finished run's
    const QString report = reportText(*h->window);
    QVERIFY2(report.contains(line.simplified()), qPrintable(report));
    const auto& shown = h->window->lastComplete()->shellTable;
    QVERIFY(report.contains(
        QString::fromStdString(shown.label[shown.n] + shown.value[shown.n]).simplified()));
    // the next complete run clears it
    ps.sigx = sigx;
    QVERIFY(h->window->calculate());
    QVERIFY(h->window->faultLine().isEmpty());
    QVERIFY(!statusShown());
    QVERIFY(!reportText(*h->window).contains(kStopped.trimmed()));
  }

  void columnModeSaysOnceWhichInputsItReplaces() {
    QVERIFY(h->window->notice().isEmpty());
    h->get<QAbstractButton>("cylinder3")->click();
    QCOMPARE(h->window->notice(), kColumnNotice);
    QCOMPARE(h->get<QLabel>("statusnote")->text(), kColumnNotice);
    QVERIFY(statusShown());
    h->get<QAbstractButton>("cylinder2")->click();
    QVERIFY(h->window->notice().isEmpty());
    QVERIFY(!statusShown());
    // other modes say nothing
    for (const char* mode : {"cylinder0", "cylinder1", "cylinder2"}) {
      h->get<QAbstractButton>(mode)->click();
      QVERIFY(h->window->notice().isEmpty());
    }
  }

  void yieldStrengthFieldsShowTheStrengthInUse() {
    auto& ps = h->window->state();
    // from start-up on, not "000"
    const char* const fields[3] = {"ifyp", "ifys", "ifyg"};
    const double values[3] = {ps.fyp, ps.fys, ps.fyg};
    for (int i = 0; i < 3; ++i) {
      QVERIFY(values[i] >= 50);
      QCOMPARE(h->field(fields[i])->text(), orvane::ui::showPlain(values[i], 0));
    }
    // a thicker plate looks a lower strength up: the field follows
    h->type("it", QStringLiteral("60"));
    h->leaveTo("ie");
    QCOMPARE(h->field("ifyp")->text(), orvane::ui::showPlain(ps.fyp, 0));
    // the user-defined entry keeps the strength in use; tabbing through the
    // field stores it again without a warning
    const double fyp = ps.fyp;
    auto* list = h->get<QComboBox>("cbofyp");
    emit list->activated(ps.mat.count);
    QVERIFY(h->field("ifyp")->isEnabled());
    h->field("ifyp")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    h->leaveTo("is1");
    QCOMPARE(ps.fyp, fyp);
    QVERIFY2(h->messages.texts.isEmpty(), qPrintable(h->messages.texts.join('|')));
  }

  void heavyRingControlNeedsRingControl() {
    auto& ps = h->window->state();
    auto* heavy = h->get<QCheckBox>("hring_ch");
    QVERIFY(heavy->isEnabled());
    h->get<QAbstractButton>("ring_ch")->click();
    QCOMPARE(ps.ring_ch, int16_t{0});
    QVERIFY(!heavy->isEnabled());
    heavy->click();
    QCOMPARE(ps.hring_ch, int16_t{0});
    QVERIFY(!heavy->isChecked());
    h->get<QAbstractButton>("ring_ch")->click();
    QVERIFY(heavy->isEnabled());
  }

  void profilesMenuSetsThePictureButton() {
    const auto image = [](const QIcon& icon) { return icon.pixmap(22, 22).toImage(); };
    for (const auto& [action, button, type] :
         {std::tuple{"mnustifftb", "cmdpic_stiff", 3}, {"mnugirdrhs", "cmdpic_gird", 7}}) {
      QVERIFY(image(h->get<QPushButton>(button)->icon()) != image(orvane::ui::profileIcon(type)));
      h->window->findChild<QAction*>(QString::fromLatin1(action))->trigger();
      QCOMPARE(image(h->get<QPushButton>(button)->icon()), image(orvane::ui::profileIcon(type)));
    }
  }
};

// Under a decimal-comma number format.
class DecimalCommaTest : public QObject {
  Q_OBJECT

 private slots:
  void panelsDesignationsAndReportUseTheFieldsSeparator() {
    Harness h(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(h.window->decimalFlag() != 0);
    QCOMPARE(h.field("it")->text(), QStringLiteral("20,0"));
    QCOMPARE(h.get<QLabel>("stiffprof")->text(), QStringLiteral("L90x75x9,0x9,0"));
    const QString report = reportText(*h.window);
    const auto& shell = h.window->state().shellTable;
    const QString verdict = QString::fromStdString(shell.value[shell.n]);
    QVERIFY(verdict.contains('.'));
    QVERIFY2(report.contains(QString(verdict).replace('.', ',')), qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("(Ch 3.3.2)")));  // references keep their points
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  NotesTest notes;
  DecimalCommaTest comma;
  return QTest::qExec(&notes, argc, argv) | QTest::qExec(&comma, argc, argv);
}

#include "test_window_notes.moc"
