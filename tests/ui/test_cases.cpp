// The "Load cases" window: pasting blocks from a spreadsheet, columns, the
// outcomes against single checks, the governing marks, a double click that
// types a row into the main window, the file beside the project and the
// report's pages of cases.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_app.hpp"
#include "core/panels.hpp"
#include "project/force_cases.hpp"
#include "project/input_names.hpp"
#include "project/session.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/cases/cases_window.hpp"
#include "ui/common/file_dialog.hpp"
#include "ui/report/report.hpp"
#include "ui/report/report_command.hpp"
#include "ui_fixture.hpp"

using namespace orvane;
using orvane::cases::CaseModel;
using orvane::cases::CasesWindow;
using orvane::ui::FileDialog;
using orvane::ui::test::Harness;
using orvane::ui::test::pdfPages;
using orvane::ui::test::pdfText;

namespace {

const QString kMarker = QStringLiteral("\u25C4");

// The loads of a few cases of a cylinder and of a column, as a spreadsheet
// copies them.
const QString kCylinderBlock = QStringLiteral(
    "storm 1\t-120\t-30\t15\t-0.1\n"
    "storm 2\t-180.5\t-45\t25\t0.05\n"
    "operating\t-60\t-10\t5\t-0.2\n"
    "transport\t-210\t-55\t40\t-0.3\n");
const QString kColumnBlock = QStringLiteral(
    "axial\t-2000\t100\t-100\t50\t-50\t-0.1\n"
    "bending\t-500\t800\t-600\t300\t200\t0\n"
    "pressure\t-1000\t0\t0\t0\t0\t-0.4\n");

// Section forces of a stringer-stiffened leg, with a header line.
const QString kForceBlock = QStringLiteral(
    "case\tN\tM1\tM2\tT\tQ1\tQ2\tpd\n"
    "storm\t-6000\t2500\t-1800\t900\t300\t\t-0.1\n"
    "torsion\t-1000\t\t\t6000\t\t400\t\n"
    "lift\t2500\t-4000\t1000\t\t-500\t250\t-0.2\n");

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The usage factors a single check of `ps` with these values shows: the
// project copied, the values stored as NAME=VALUE, one calculation run.
VerdictList singleCheck(ProjectState ps, const std::vector<std::string>& columns,
                        const QStringList& values, std::optional<std::string>* fault = nullptr) {
  RecordingEvents ev;
  Session session(ps, ev);
  bool set = false;
  for (size_t i = 0; i < columns.size(); ++i) {
    const QString& value = values[static_cast<int>(i)];
    if (value.isEmpty()) continue;
    [&] { QVERIFY(!session.set(columns[i] + "=" + value.toStdString())); }();
    set = true;
  }
  // without a value the check shows the project as it is, without a run
  if (!set) return shownVerdicts(ps);
  session.recalculate();
  if (fault) *fault = session.fault();
  return shownVerdicts(ps);
}

}  // namespace

class CasesTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;
  QTemporaryDir dir;

  ProjectState& ps() { return h->window->state(); }
  CaseModel& model() { return h->window->loadCases(); }
  QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QString cell(int row, int column) { return model().data(model().index(row, column)).toString(); }
  int columnOf(const char* name) {
    if (std::string(name) == "case") return 0;
    const std::vector<std::string>& columns = model().table().columns;
    const auto it = std::find(columns.begin(), columns.end(), std::string(name));
    return it == columns.end() ? -1 : 1 + static_cast<int>(it - columns.begin());
  }
  void setMode(int type) {
    ps().cyltype = static_cast<int16_t>(type);
    h->window->refreshWindow();
    h->window->calculate();
  }
  // Ctrl+V in the table with `text` on the clipboard and (row, column) current.
  void paste(CasesWindow* w, int row, int column, const QString& text) {
    QApplication::clipboard()->setText(text);
    w->view()->setCurrentIndex(model().index(row, column));
    QTest::keyClick(w->view(), Qt::Key_V, Qt::ControlModifier);
  }
  void doubleClick(CasesWindow* w, int row) {
    QTableView* v = w->view();
    const QRect r = v->visualRect(model().index(row, 0));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, r.center());
  }
  QStringList rowValues(int row) {
    QStringList values;
    for (int c = 1; c <= model().inputColumns(); ++c) values << cell(row, c);
    return values;
  }

 private slots:
  void init() {
    h = std::make_unique<Harness>();
    QVERIFY(dir.isValid());
  }
  void cleanup() { h.reset(); }

  void theAnalysisMenuOpensTheOneWindow() {
    QAction* entry = h->get<QAction>("mnuloadcases");
    QCOMPARE(entry->text(), QStringLiteral("&Load cases..."));
    entry->trigger();
    auto* w = h->window->findChild<CasesWindow*>(QStringLiteral("loadcases"));
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Load cases"));
    entry->trigger();
    QCOMPARE(h->window->findChildren<CasesWindow*>().size(), 1);
    // between Profiles and Help in the menu bar
    QStringList bar;
    for (QAction* a : h->window->menuBar()->actions())
      bar << (a->menu() ? a->menu()->objectName() : a->objectName());
    QVERIFY(bar.indexOf(QStringLiteral("mnuanalysis")) >
            bar.indexOf(QStringLiteral("mnuprofiles")));
    QCOMPARE(bar.indexOf(QStringLiteral("mnuanalysis")) + 1,
             bar.indexOf(QStringLiteral("mnuhelp")));
  }

  // The columns follow the mode until the table has rows.
  void presetColumnsFollowTheMode() {
    CasesWindow* w = h->window->openLoadCases();
    const auto headers = [&] {
      QStringList names;
      for (const std::string& c : model().table().columns) names << QString::fromStdString(c);
      return names;
    };
    QCOMPARE(headers(), QStringList({"sigx", "sigy", "tau", "pd"}));
    setMode(3);
    QCOMPARE(headers(), QStringList({"N", "M1a", "M1b", "M2a", "M2b", "pd"}));
    QCOMPARE(model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("case"));
    // headed with what the user reads, the unit with it
    QCOMPARE(model().headerData(1, Qt::Horizontal).toString(),
             QString::fromStdString(orvane::displayName(orvane::InputId::N)));
    paste(w, 0, 0, kColumnBlock);
    setMode(0);
    QCOMPARE(headers(), QStringList({"N", "M1a", "M1b", "M2a", "M2b", "pd"}));
  }

  void pasteFillsAndExtendsTheTable_data() {
    QTest::addColumn<QString>("before");  // pasted at the top first
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("cells");  // "row:column=text"
    QTest::newRow("four rows into an empty table")
        << QString() << 0 << 0 << kCylinderBlock << 4 << QStringList{"sigx", "sigy", "tau", "pd"}
        << QStringList{"0:case=storm 1",   "0:sigx=-120", "1:sigx=-180.5",
                       "3:case=transport", "3:pd=-0.3",   "2:tau=5"};
    QTest::newRow("decimal commas and CRLF line ends")
        << QString() << 0 << 0 << "a\t-100,5\t-20\t1,25\t-0,1\r\nb\t-90\t-21\t2\t0\r\n\r\n"
        << 2 << QStringList{"sigx", "sigy", "tau", "pd"}
        << QStringList{"0:sigx=-100.5", "0:tau=1.25", "0:pd=-0.1", "1:case=b", "1:pd=0"};
    QTest::newRow("below and right of the first cell, wider than the table")
        << kCylinderBlock << 3 << 2 << "-1\t2\t-0.5\t99\n-3\t4\t-0.6\t98\n"
        << 5 << QStringList{"sigx", "sigy", "tau", "pd"}
        << QStringList{"3:case=transport", "3:sigx=-210", "3:sigy=-1", "3:tau=2",  "3:pd=-0.5",
                       "4:case=",          "4:sigx=",     "4:sigy=-3", "4:pd=-0.6"};
    QTest::newRow("a header line puts the columns under their names")
        << kCylinderBlock << 4 << 0 << "t\tcase\tsigx\nx\tnew 1\t-75\n12.5\tnew 2\t-80\n"
        << 6 << QStringList{"sigx", "sigy", "tau", "pd", "t"}
        << QStringList{"4:case=new 1", "4:sigx=-75", "4:t=x",      "5:t=12.5",
                       "5:sigy=",      "0:t=",       "0:sigx=-120"};
  }
  void pasteFillsAndExtendsTheTable() {
    QFETCH(QString, before);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, block);
    QFETCH(int, rows);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, cells);
    CasesWindow* w = h->window->openLoadCases();
    if (!before.isEmpty()) paste(w, 0, 0, before);
    paste(w, row, column, block);
    QCOMPARE(model().rowCount(), rows);
    std::vector<std::string> names;
    for (const QString& c : columns) names.push_back(c.toStdString());
    QCOMPARE(model().table().columns, names);
    for (const QString& c : cells) {
      const auto m = QRegularExpression(QStringLiteral("^(\\d+):(\\w+)=(.*)$")).match(c);
      QVERIFY2(m.hasMatch(), qPrintable(c));
      const int col = columnOf(m.captured(2).toLatin1().constData());
      QVERIFY2(col >= 0, qPrintable(c));
      QCOMPARE(cell(m.captured(1).toInt(), col), m.captured(3));
    }
    // every row has run: a verdict for each
    for (int r = 0; r < rows; ++r) QVERIFY(!cell(r, model().verdictColumn()).isEmpty());
  }

  void addColumnFromTheListAndDeleteRows() {
    CasesWindow* w = h->window->openLoadCases();
    paste(w, 0, 0, kCylinderBlock);
    auto* list = w->findChild<QComboBox*>(QStringLiteral("cboaddcol"));
    list->setCurrentText(QStringLiteral("t"));
    QCOMPARE(list->currentText(), QStringLiteral("t"));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdaddcol")), Qt::LeftButton);
    QCOMPARE(model().inputColumns(), 5);
    QCOMPARE(model().table().columns.back(), std::string("t"));
    QCOMPARE(cell(1, 1), QStringLiteral("-180.5"));  // the rows keep their values
    // a second time, and an unknown name, add nothing
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdaddcol")), Qt::LeftButton);
    QVERIFY(!model().addColumn("thickness"));
    QCOMPARE(model().inputColumns(), 5);
    // the new column takes part: a thinner wall is a larger usage factor
    const double before =
        model()
            .data(model().index(0, model().checkColumn(CheckId::Shell)), CaseModel::UsageFactorRole)
            .toDouble();
    QVERIFY(model().setData(model().index(0, 5), QStringLiteral("10")));
    const double thinner =
        model()
            .data(model().index(0, model().checkColumn(CheckId::Shell)), CaseModel::UsageFactorRole)
            .toDouble();
    QVERIFY2(thinner > before, qPrintable(QStringLiteral("%1 %2").arg(thinner).arg(before)));

    // rows 1 and 2 selected and deleted; row 4 becomes row 2
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdaddrow")), Qt::LeftButton);
    QCOMPARE(model().rowCount(), 5);
    QCOMPARE(cell(4, 0), QString());
    w->view()->selectionModel()->clearSelection();
    w->view()->selectionModel()->select(model().index(1, 0), QItemSelectionModel::Select);
    w->view()->selectionModel()->select(model().index(2, 3), QItemSelectionModel::Select);
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmddelrows")), Qt::LeftButton);
    QCOMPARE(model().rowCount(), 3);
    QCOMPARE(cell(1, 0), QStringLiteral("transport"));
    QVERIFY(model().summaryText().contains(QStringLiteral("3 passed")) ||
            model().summaryText().contains(QStringLiteral("failed")));
    QCOMPARE(model().summary().passed + model().summary().failed, 3);
  }

  // Ctrl+Z in the window puts the table back as it was, every cell's text
  // and every outcome, and Ctrl+Y makes the step again.
  void stepsUndoneAndRedone_data() {
    QTest::addColumn<QString>("step");
    for (const char* step : {"delete", "import", "paste", "cell", "add row"})
      QTest::newRow(step) << QString::fromLatin1(step);
  }
  void stepsUndoneAndRedone() {
    QFETCH(QString, step);
    CasesWindow* w = h->window->openLoadCases();
    paste(w, 0, 0, kCylinderBlock);
    auto shown = [&] {
      QCoreApplication::processEvents();
      [&] { QTRY_VERIFY(!model().computing()); }();
      QStringList texts{QString::fromStdString(model().table().columns.front())};
      for (int r = 0; r < model().rowCount(); ++r)
        for (int c = 0; c < model().columnCount(); ++c) texts << cell(r, c);
      return texts;
    };
    const QStringList before = shown();
    if (step == QLatin1String("delete")) {
      w->view()->selectionModel()->clearSelection();
      w->view()->selectionModel()->select(model().index(1, 0), QItemSelectionModel::Select);
      w->view()->selectionModel()->select(model().index(2, 0), QItemSelectionModel::Select);
      QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmddelrows")), Qt::LeftButton);
    } else if (step == QLatin1String("import")) {
      QFile in(file("other.csv"));
      QVERIFY(in.open(QIODevice::WriteOnly));
      in.write("case,t,sigx\nthin,9,-100\n");
      in.close();
      FileDialog::setNextFileNames({file("other.csv")});
      QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdimport")), Qt::LeftButton);
    } else if (step == QLatin1String("paste")) {
      paste(w, 2, 1, QStringLiteral("-90\t-20\n-95\t-25\n-99\t-1\n"));
    } else if (step == QLatin1String("cell")) {
      QVERIFY(model().setData(model().index(0, 1), QStringLiteral("-300")));
    } else {
      QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdaddrow")), Qt::LeftButton);
    }
    const QStringList after = shown();
    QVERIFY(after != before);
    QApplication::setActiveWindow(w);  // the keys are the window's
    QTest::keySequence(w, QKeySequence::Undo);
    QCOMPARE(shown(), before);
    QTest::keySequence(w, QKeySequence::Redo);
    QCOMPARE(shown(), after);
  }

  // The table changes while outcomes of an earlier table are shown or still
  // on their way: rows with input errors, one deleted by its header, then a
  // short table imported, pasted or rows added. The outcomes and the
  // summary always describe the rows shown.
  void changesWhileOutcomesOfAnotherTableAreShown_data() {
    QTest::addColumn<int>("rows");  // of the project's table; more than kRowsAtOnce runs away
    QTest::addColumn<QString>("then");
    for (const int rows : {6, CaseModel::kRowsAtOnce + 50})
      for (const char* then : {"import", "paste", "add", "delete", "type"})
        QTest::addRow("%d rows, %s", rows, then) << rows << QString::fromLatin1(then);
  }
  void changesWhileOutcomesOfAnotherTableAreShown() {
    QFETCH(int, rows);
    QFETCH(QString, then);
    QString block = QStringLiteral("case\tsigx\tsigy\ttau\tpd\n");
    for (int i = 0; i < rows; ++i)
      block += QStringLiteral("c%1\t%2\t%3\t%4\t0\n")
                   .arg(i)
                   .arg(i == 1 ? QStringLiteral("abc") : QString::number(-50 - i % 200))
                   .arg(i == 2 ? QStringLiteral("1e400") : QStringLiteral("-20"))
                   .arg(i % 30);
    model().paste(block, 0, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!model().computing(), 60000);
    FileDialog::setNextFileNames({file("errors.cys")});
    h->window->fileSave();
    h->window->fileNew();
    h->window->openFile(file("errors.cys"));
    QCOMPARE(model().rowCount(), rows);

    CasesWindow* w = h->window->openLoadCases();
    QFile in(file("two.csv"));
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write("case;sigx;sigy\r\na;-120,5;-10\r\nb;-60;-3,25\r\n");
    in.close();
    for (int round = 0; round < 2; ++round) {  // the second while the first run may be out
      QTest::mouseClick(w->view()->verticalHeader()->viewport(), Qt::LeftButton, {},
                        QPoint(4, w->view()->rowViewportPosition(0) + 3));
      QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmddelrows")), Qt::LeftButton);
      if (then == QLatin1String("import")) {
        FileDialog::setNextFileNames({file("two.csv")});
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdimport")), Qt::LeftButton);
      } else if (then == QLatin1String("paste")) {
        paste(w, 0, 0, QStringLiteral("case\tsigx\na\t-120,5\nb\t-60\n"));
      } else if (then == QLatin1String("add")) {
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdaddrow")), Qt::LeftButton);
      } else if (then == QLatin1String("type")) {
        QVERIFY(model().setData(model().index(0, 1), QStringLiteral("-75")));
      }
      QCOMPARE(model().outcomes().size(), model().table().rows.size());
      for (const int g : model().summary().governing) QVERIFY(g < model().rowCount());
      QVERIFY(!model().summaryText().isEmpty());
      QApplication::processEvents();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!model().computing(), 60000);
    QCOMPARE(model().outcomes().size(), model().table().rows.size());
    const cases::CaseSummary whole = cases::summarize(model().table(), model().outcomes());
    QCOMPARE(model().summary().governing, whole.governing);
    QCOMPARE(model().summary().passed, whole.passed);
  }

  // Each usage factor is the number a single check with the row's values
  // gives, in every mode; red exactly above its allowable value.
  void outcomesEqualSingleChecks_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("ringControl");
    QTest::addColumn<QString>("block");
    QTest::newRow("unstiffened") << 0 << 0 << kCylinderBlock;
    QTest::newRow("ring-stiffened, ring checks") << 1 << 1 << kCylinderBlock;
    QTest::newRow("stringer-stiffened") << 2 << 1 << kCylinderBlock;
    QTest::newRow("stringer-stiffened, no ring checks") << 2 << 0 << kCylinderBlock;
    QTest::newRow("column") << 3 << 0 << kColumnBlock;
  }
  void outcomesEqualSingleChecks() {
    QFETCH(int, type);
    QFETCH(int, ringControl);
    QFETCH(QString, block);
    ps().ring_ch = static_cast<int16_t>(ringControl);
    setMode(type);
    CasesWindow* w = h->window->openLoadCases();
    paste(w, 0, 0, block + QStringLiteral("empty row\n") + QStringLiteral("bad\tx\n"));
    const int rows = model().rowCount();
    QVERIFY(rows >= 4);
    int compared = 0;
    for (int r = 0; r < rows - 1; ++r) {
      std::optional<std::string> fault;
      const VerdictList single = singleCheck(ps(), model().table().columns, rowValues(r), &fault);
      QVERIFY(single.size() > 0);
      QCOMPARE(model().checks().size(), single.size());
      for (const Verdict& v : single) {
        const QModelIndex i = model().index(r, model().checkColumn(v.check));
        QVERIFY(i.isValid());
        if (fault) {
          QVERIFY(model().data(i, CaseModel::UsageFactorRole).isNull());
          continue;
        }
        QCOMPARE(model().data(i, CaseModel::UsageFactorRole).toDouble(), v.uf);
        const auto color = model().data(i, Qt::ForegroundRole).value<QBrush>().color();
        const Rgb want = paletteColor(v.exceeded() ? kRed : kGreen);
        QCOMPARE(color, QColor(want.r, want.g, want.b));
        ++compared;
      }
    }
    QVERIFY(compared >= 4);
    // the row of a value that is not a number says so and did not run
    QVERIFY(cell(rows - 1, model().verdictColumn()).startsWith(QStringLiteral("input error: ")));
    // ... and its bad cell is marked, with the reason
    const QModelIndex bad = model().index(rows - 1, 1);
    QVERIFY(model().data(bad, Qt::BackgroundRole).canConvert<QBrush>());
    QVERIFY(model().data(bad, Qt::ToolTipRole).toString().contains(QStringLiteral("'x'")));
    QVERIFY(model().data(model().index(0, 1), Qt::BackgroundRole).isNull());
    QVERIFY(model()
                .data(model().index(rows - 1, model().checkColumn(CheckId::Shell)),
                      CaseModel::UsageFactorRole)
                .isNull());
    QCOMPARE(model().summary().inputErrors, 1);
  }

  void theGoverningRowsAreMarkedAndNamed() {
    ps().ring_ch = 1;
    setMode(2);
    CasesWindow* w = h->window->openLoadCases();
    w->resize(900, 300);
    paste(w, 0, 0, kCylinderBlock);
    int marked = 0;
    for (const CheckId check : model().checks()) {
      const int column = model().checkColumn(check);
      int top = -1;
      double most = -1;
      for (int r = 0; r < model().rowCount(); ++r) {
        const double uf =
            model().data(model().index(r, column), CaseModel::UsageFactorRole).toDouble();
        if (uf > most) most = uf, top = r;
      }
      for (int r = 0; r < model().rowCount(); ++r) {
        const QModelIndex i = model().index(r, column);
        const bool governing = r == top;
        QCOMPARE(model().data(i, CaseModel::GoverningRole).toBool(), governing);
        QCOMPARE(model().data(i, Qt::FontRole).value<QFont>().bold(), governing);
        QCOMPARE(model().data(i).toString().endsWith(kMarker), governing);
      }
      const QString named =
          QStringLiteral("%1 %2 (%3)")
              .arg(QString::fromLatin1(checkCaption(check)), model().number(most), cell(top, 0));
      QVERIFY2(model().summaryText().contains(named), qPrintable(model().summaryText()));
      ++marked;
    }
    QCOMPARE(marked, 4);
    const auto* summary = w->findChild<QLabel*>(QStringLiteral("casesummary"));
    QCOMPARE(summary->text(), model().summaryText());
    QVERIFY(summary->text().contains(QStringLiteral("%1 passed, %2 failed, 0 faulted")
                                         .arg(model().summary().passed)
                                         .arg(model().summary().failed)));
    // what the window shows: the usage factors in the panels' green and red
    QTest::qWait(50);
    const QImage shot = w->grab().toImage();
    shot.save(QDir::temp().filePath(QStringLiteral("orvane-load-cases.png")));
    bool green = false, red = false;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        const QColor c = shot.pixelColor(x, y);
        green = green || (c.red() < 60 && c.green() > 100 && c.blue() < 60);
        red = red || (c.red() > 100 && c.green() < 40 && c.blue() < 40);
      }
    QVERIFY(green);
    QVERIFY(red);
  }

  // A double click types the row's values into the fields: the fields,
  // the stored values and the panels are those of typing them by hand.
  void doubleClickEntersTheRowAsIfTyped_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("comma");  // the user's numbers have a decimal comma
    QTest::newRow("cylinder") << 0 << kCylinderBlock << 1
                              << QStringList{"isigx", "isigy", "itau", "ipp"} << false;
    QTest::newRow("cylinder, decimal comma")
        << 0 << kCylinderBlock << 1 << QStringList{"isigx", "isigy", "itau", "ipp"} << true;
    QTest::newRow("stringer-stiffened")
        << 2 << kCylinderBlock << 3 << QStringList{"isigx", "isigy", "itau", "ipp"} << false;
    QTest::newRow("column") << 3 << kColumnBlock << 1
                            << QStringList{"inn", "im1a", "im1b", "im2a", "im2b", "ip"} << false;
  }
  void doubleClickEntersTheRowAsIfTyped() {
    QFETCH(int, type);
    QFETCH(QString, block);
    QFETCH(int, row);
    QFETCH(QStringList, fields);
    QFETCH(bool, comma);
    const QLocale locale = comma ? QLocale(QLocale::German) : QLocale::c();
    h.reset();
    h = std::make_unique<Harness>(locale);
    setMode(type);
    CasesWindow* w = h->window->openLoadCases();
    paste(w, 0, 0, comma ? QString(block).replace(u'.', u',') : block);
    const QStringList values = rowValues(row);
    QVERIFY(!values.join(QString()).contains(u','));  // read with a decimal point
    const double caseUF = model()
                              .data(model().index(row, model().checkColumn(CheckId::Shell)),
                                    CaseModel::UsageFactorRole)
                              .toDouble();
    const int runs = h->window->calculationRuns();
    doubleClick(w, row);
    QCOMPARE(h->window->calculationRuns(), runs + static_cast<int>(fields.size()));
    QVERIFY(h->messages.texts.isEmpty());
    QStringList shown;
    for (const QString& f : fields) shown << h->field(f.toLatin1().constData())->text();
    const ProjectState clicked = ps();
    QCOMPARE(clicked.UF, caseUF);  // the panels show the case

    // the same values typed by hand into a new window
    h.reset();
    h = std::make_unique<Harness>(locale);
    setMode(type);
    for (int i = 0; i < fields.size(); ++i) {
      h->type(fields[i].toLatin1().constData(),
              comma ? QString(values[i]).replace(u'.', u',') : values[i]);
      h->leaveTo(i + 1 < fields.size() ? fields[i + 1].toLatin1().constData() : "iproj");
    }
    QVERIFY(h->messages.texts.isEmpty());
    for (int i = 0; i < fields.size(); ++i)
      QCOMPARE(h->field(fields[i].toLatin1().constData())->text(), shown[i]);
    QCOMPARE(ps().sigx, clicked.sigx);
    QCOMPARE(ps().sigy, clicked.sigy);
    QCOMPARE(ps().tau, clicked.tau);
    QCOMPARE(ps().pd, clicked.pd);
    QCOMPARE(ps().N, clicked.N);
    QCOMPARE(ps().M1a, clicked.M1a);
    QCOMPARE(ps().M2b, clicked.M2b);
    QCOMPARE(ps().UF, clicked.UF);
    QCOMPARE(ps().UFallow, clicked.UFallow);
    for (int i = 0; i < 16; ++i) {
      QCOMPARE(ps().shellTable.value[i], clicked.shellTable.value[i]);
      QCOMPARE(ps().stiffTable.value[i], clicked.stiffTable.value[i]);
    }
  }

  // A value a field refuses stops the row there with its warning and the
  // focus in the field, as typing it would; the values after it stay.
  void doubleClickStopsAtARefusedValue_data() {
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<double>("sigx");  // entered before
    QTest::addColumn<double>("tau");   // before the refused value, or after it: not entered
    QTest::newRow("beyond a single") << "case\tsigx\tsigy\ttau\nb\t-95\t-1e39\t12\n"
                                     << " -3.4E+38 <= value <= 3.4E+38 "
                                     << "isigy" << -95.0 << 0.0;
    QTest::newRow("below the least wall") << "case\tsigx\ttau\tt\nc\t-96\t12\t0.05\n"
                                          << " 0.1 <= t "
                                          << "it" << -96.0 << 12.0;
  }
  void doubleClickStopsAtARefusedValue() {
    QFETCH(QString, block);
    QFETCH(QString, warning);
    QFETCH(QString, focus);
    QFETCH(double, sigx);
    QFETCH(double, tau);
    ps().tau = 0;
    h->window->refreshWindow();
    CasesWindow* w = h->window->openLoadCases();
    paste(w, 0, 0, block);
    doubleClick(w, 0);
    QCOMPARE(h->messages.texts, QStringList{warning});
    QCOMPARE(static_cast<double>(ps().sigx), sigx);
    QCOMPARE(static_cast<double>(ps().tau), tau);
    QTRY_COMPARE(h->window->focusWidget() ? h->window->focusWidget()->objectName() : QString(),
                 focus);
  }

  void casesAreStoredBesideTheProject() {
    CasesWindow* w = h->window->openLoadCases();
    paste(w, 0, 0,
          QStringLiteral("case\tsigx\tsigy\ttau\tpd\tt\n") + kCylinderBlock +
              QStringLiteral("\"quoted\", name\t-1\t\t\t\t11\n"));
    const cases::CaseTable typed = model().table();
    FileDialog::setNextFileNames({file("leg.cys")});
    h->window->fileSave();
    QVERIFY(QFile::exists(file("leg.cys")));
    QVERIFY(QFile::exists(file("leg.loads.csv")));
    QVERIFY(contents(file("leg.loads.csv")).startsWith("case,sigx,sigy,tau,pd,t\n"));
    const QByteArray project = contents(file("leg.cys"));

    h->window->fileNew();
    QCOMPARE(model().rowCount(), 0);
    h->window->openFile(file("leg.cys"));
    QVERIFY(h->messages.texts.isEmpty());
    QCOMPARE(model().table().columns, typed.columns);
    QCOMPARE(model().rowCount(), static_cast<int>(typed.rows.size()));
    for (size_t r = 0; r < typed.rows.size(); ++r) {
      QCOMPARE(model().table().rows[r].name, typed.rows[r].name);
      QCOMPARE(model().table().rows[r].values, typed.rows[r].values);
    }
    QCOMPARE(cell(4, 0), QStringLiteral("\"quoted\", name"));

    // all cases deleted: the project file is the same, the cases file goes
    model().removeRows(0, model().rowCount());
    h->window->fileSave();
    QCOMPARE(contents(file("leg.cys")), project);
    QVERIFY(!QFile::exists(file("leg.loads.csv")));
  }

  // Import reads a spreadsheet's export (semicolons, decimal commas, BOM);
  // Export writes the table as the file beside a project holds it; a file
  // that cannot be read is said and the table stays.
  void importAndExport() {
    CasesWindow* w = h->window->openLoadCases();
    QFile in(file("european.csv"));
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write(
        "\xEF\xBB\xBF"
        "case;sigx;tau\r\n\"storm; north\";-120,5;12\r\noperating;-60;3,25\r\n");
    in.close();
    FileDialog::setNextFileNames({file("european.csv")});
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdimport")), Qt::LeftButton);
    QCOMPARE(model().table().columns, (std::vector<std::string>{"sigx", "tau"}));
    QCOMPARE(model().rowCount(), 2);
    QCOMPARE(cell(0, 0), QStringLiteral("storm; north"));
    QCOMPARE(cell(0, 1), QStringLiteral("-120.5"));
    QCOMPARE(cell(1, 2), QStringLiteral("3.25"));
    QVERIFY(!cell(1, model().checkColumn(CheckId::Shell)).isEmpty());

    FileDialog::setNextFileNames({file("out")});
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdexport")), Qt::LeftButton);
    // a name holding any separator is quoted, so that no reader splits it
    QCOMPARE(contents(file("out.csv")),
             QByteArray("case,sigx,tau\n\"storm; north\",-120.5,12\noperating,-60,3.25\n"));

    // a workbook holds the outcomes as well: the batch's results and summary
    FileDialog::setNextFileNames({file("out.xlsx")});
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdexport")), Qt::LeftButton);
    const QByteArray book = contents(file("out.xlsx"));
    QVERIFY(book.startsWith(QByteArray("PK\x03\x04", 4)));
    if (QFile::exists(QStringLiteral("/usr/bin/unzip"))) {
      const auto part = [&](const char* name) {
        QProcess unzip;
        unzip.start(QStringLiteral("/usr/bin/unzip"),
                    {QStringLiteral("-p"), file("out.xlsx"), QString::fromLatin1(name)});
        unzip.waitForFinished();
        return unzip.readAllStandardOutput();
      };
      const QByteArray results = part("xl/worksheets/sheet1.xml");
      QVERIFY(results.contains("storm; north"));
      QVERIFY(results.contains("shell_uf"));
      QVERIFY(part("xl/worksheets/sheet2.xml").contains("governing row"));
    }

    QFile bad(file("bad.csv"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("case,sigx,depth\na,1,2\n");
    bad.close();
    FileDialog::setNextFileNames({file("bad.csv")});
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdimport")), Qt::LeftButton);
    QCOMPARE(h->messages.texts,
             QStringList{file("bad.csv") + QStringLiteral(", line 1: unknown input name 'depth'")});
    QCOMPARE(model().rowCount(), 2);
  }

  // Export writes the type chosen in the dialog; a name typed without a
  // suffix gets that type's, a name with one keeps it.
  void exportWritesTheChosenType_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("CSV, bare name") << "out" << 0 << "out.csv";
    QTest::newRow("workbook, bare name") << "out" << 1 << "out.xlsx";
    QTest::newRow("workbook chosen, .csv typed") << "out.csv" << 1 << "out.csv";
    QTest::newRow("CSV chosen, .xlsx typed") << "out.xlsx" << 0 << "out.xlsx";
  }
  void exportWritesTheChosenType() {
    QFETCH(QString, name);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QTemporaryDir own;
    CasesWindow* w = h->window->openLoadCases();
    paste(w, 0, 0, kCylinderBlock);
    FileDialog::setNextFileNames({own.filePath(name)});
    FileDialog::setNextFilters({filter});
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdexport")), Qt::LeftButton);
    QCOMPARE(QDir(own.path()).entryList(QDir::Files), QStringList{written});
    const QByteArray bytes = contents(own.filePath(written));
    const bool workbook = written.endsWith(QLatin1String(".xlsx"));
    QCOMPARE(bytes.startsWith(QByteArray("PK\x03\x04", 4)), workbook);
    if (!workbook) QCOMPARE(bytes.toStdString(), cases::casesText(model().table()));
  }

  void aDamagedCasesFileIsSaidAndTheProjectOpens_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown column") << QByteArray("case,sigx,bogus\na,1,2\n")
                                    << "damaged.loads.csv, line 1: unknown input name 'bogus'";
    QTest::newRow("open quote") << QByteArray("case,sigx\n\"a,1\n")
                                << "damaged.loads.csv, line 2: ";
  }
  void aDamagedCasesFileIsSaidAndTheProjectOpens() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    h->field("iproj")->setText(QStringLiteral("Damaged cases"));
    FileDialog::setNextFileNames({file("damaged.cys")});
    h->window->fileSave();
    QFile f(file("damaged.loads.csv"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    h->window->fileNew();
    h->window->openFile(file("damaged.cys"));
    QCOMPARE(h->messages.texts.size(), 1);
    QVERIFY2(h->messages.texts[0].startsWith(QStringLiteral("The load cases were not read: ")),
             qPrintable(h->messages.texts[0]));
    QVERIFY2(h->messages.texts[0].contains(message), qPrintable(h->messages.texts[0]));
    QCOMPARE(ps().projectName, std::string("Damaged cases"));
    QCOMPARE(QString::fromStdString(ps().fileName), file("damaged.cys"));
    QCOMPARE(model().rowCount(), 0);
  }

  // The report prints the cases on the pages after the first, from the
  // window and from the report command alike.
  void theReportHasAPageOfCases() {
    CasesWindow* w = h->window->openLoadCases();
    QCOMPARE(ui::reportPageCount(h->window->reportOptions()), 1);
    paste(w, 0, 0, kCylinderBlock);
    const ui::ReportOptions options = h->window->reportOptions();
    QCOMPARE(ui::reportPageCount(options), 2);
    const QString pdf = file("cases.pdf");
    QCOMPARE(ui::writeReportPdf(ps(), pdf, options), QString());
    QCOMPARE(pdfPages(pdf), 2);
    QVERIFY(pdfText(pdf, 1).contains(QStringLiteral("1/2")));
    const QString page = pdfText(pdf, 2);
    const int governing = model().summary().governing[0];
    QVERIFY(governing >= 0);
    for (const QString& s :
         {QStringLiteral("2/2"), QStringLiteral("Load cases:"),
          QStringLiteral("Shell: governing UF = %1")
              .arg(model().number(
                  model()
                      .data(model().index(governing, model().checkColumn(CheckId::Shell)),
                            CaseModel::UsageFactorRole)
                      .toDouble())),
          QStringLiteral("in case ") + cell(governing, 0), QStringLiteral("storm 2"),
          QStringLiteral("transport"), QStringLiteral("-180.5"), kMarker})
      QVERIFY2(page.contains(s), qPrintable(s + QStringLiteral("\n") + page));
    // the checks' captions title their columns, whole, in up to two lines
    for (const char* titles : {"Ring frame +Ring frame", "sigx.+Shell +Stiffener +area +inertia"})
      QVERIFY2(page.contains(QRegularExpression(QString::fromLatin1(titles))), qPrintable(page));
    QVERIFY2(!page.contains(QChar(0x2026)), qPrintable(page));

    // the command finds the cases beside the project
    FileDialog::setNextFileNames({file("pier.cys")});
    h->window->fileSave();
    QString out, err;
    QTextStream o(&out), e(&err);
    const int code =
        ui::runReportCommand({file("pier.cys"), QStringLiteral("-o"), file("pier.pdf"),
                              QStringLiteral("--data"), QStringLiteral(ORVANE_SHIPPED_DATA)},
                             o, e);
    e.flush();
    QCOMPARE(code, 0);
    QCOMPARE(err, QString());
    QCOMPARE(pdfPages(file("pier.pdf")), 2);
    QVERIFY(pdfText(file("pier.pdf"), 2).contains(QStringLiteral("operating")));
  }

  // A long table runs on the worker: the window's thread goes on, a newer
  // project makes the older run's outcomes go unused, and the outcomes that
  // arrive are those of the project as it is now.
  void longTablesRunAwayFromTheWindow() {
    QString block;
    const int rows = CaseModel::kRowsAtOnce * 3;
    for (int i = 0; i < rows; ++i)
      block += QStringLiteral("c%1\t%2\t-20\t%3\t0\n").arg(i).arg(-50 - i % 150).arg(i % 30);
    QCOMPARE(model().paste(block, 0, 0), rows);
    QCOMPARE(model().rowCount(), rows);
    QVERIFY(model().computing());
    QVERIFY(model().summaryText().startsWith(QStringLiteral("Checking ")));
    // a thinner wall while the rows run
    h->type("it", QStringLiteral("11"));
    h->leaveTo("iproj");
    QCOMPARE(ps().t, 11.0f);
    QTRY_VERIFY_WITH_TIMEOUT(!model().computing(), 60000);
    for (const int r : {0, 1, rows / 2, rows - 1}) {
      const VerdictList single = singleCheck(ps(), model().table().columns, rowValues(r));
      QCOMPARE(model()
                   .data(model().index(r, model().checkColumn(CheckId::Shell)),
                         CaseModel::UsageFactorRole)
                   .toDouble(),
               single[0].uf);
    }
    QCOMPARE(model().summary().passed + model().summary().failed, rows);
  }

  // A file longer than the window edits opens as a read-only view: its
  // first rows with their outcomes and a summary over every row, the one a
  // run of the whole table gives, in the words of an edited table; the file
  // is never cut to the rows shown.
  void aLongFileOpensAsAReadOnlyView() {
    QByteArray text = "case,sigx,sigy,tau,pd\n";
    for (int i = 1; i <= 300; ++i)
      text += i == 240   ? QByteArray("worst,-260,-60,50,-0.3\n")
              : i == 120 ? QByteArray("bad,x,0,0,0\n")
                         : QStringLiteral("c%1,%2,-20,%3,0\n")
                               .arg(i)
                               .arg(-50 - i % 150)
                               .arg(i % 30)
                               .toLatin1();
    FileDialog::setNextFileNames({file("long.cys")});
    h->window->fileSave();
    QFile f(file("long.loads.csv"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    model().setRowLimit(50);
    h->window->fileNew();
    h->window->openFile(file("long.cys"));
    QVERIFY(h->messages.texts.isEmpty());
    CasesWindow* w = h->window->openLoadCases();
    QVERIFY(model().readOnly());
    QCOMPARE(model().rowCount(), 50);
    QTRY_VERIFY_WITH_TIMEOUT(model().fileReport() != nullptr, 60000);

    auto whole = cases::readCases(file("long.loads.csv").toStdString());
    QVERIFY(whole);
    const cases::CaseReport all = cases::caseReport({.state = ps()}, whole.value());
    QVERIFY(all.summary.governing[0] >= 50);  // a row the view does not show
    QCOMPARE(all.summary.inputErrors, 1);
    for (const cases::CaseReport* got :
         {model().fileReport().get(), h->window->reportOptions().cases.get()}) {
      QVERIFY(got);
      QCOMPARE(got->total, 300);
      QCOMPARE(got->summary.passed, all.summary.passed);
      QCOMPARE(got->summary.failed, all.summary.failed);
      QCOMPARE(got->summary.faulted, all.summary.faulted);
      QCOMPARE(got->summary.inputErrors, all.summary.inputErrors);
      for (size_t c = 0; c < kCheckCount; ++c) {
        QCOMPARE(got->summary.governing[c], all.summary.governing[c]);
        QCOMPARE(got->governingName[c], all.governingName[c]);
        QCOMPARE(got->governingValue[c].uf, all.governingValue[c].uf);
      }
    }
    for (int r = 0; r < 50; ++r)
      for (const CheckId check : model().checks()) {
        const QVariant uf =
            model().data(model().index(r, model().checkColumn(check)), CaseModel::UsageFactorRole);
        const CheckValue& want = all.outcomes[static_cast<size_t>(r)][check];
        QCOMPARE(uf.isNull(), !want.shown);
        if (want.shown) QCOMPARE(uf.toDouble(), want.uf);
      }

    // nothing edits it
    const QModelIndex first = model().index(0, 1);
    QVERIFY(!(model().flags(first) & Qt::ItemIsEditable));
    QVERIFY(!model().setData(first, QStringLiteral("1")));
    QCOMPARE(model().paste(QStringLiteral("x\t1\n"), 0, 0), 0);
    QVERIFY(!model().insertRows(0, 1));
    QVERIFY(!model().removeRows(0, 1));
    QVERIFY(!model().addColumn("t"));
    for (const char* name : {"cmdaddrow", "cmddelrows", "cmdaddcol", "cboaddcol"})
      QVERIFY2(!w->findChild<QWidget*>(QString::fromLatin1(name))->isEnabled(), name);
    const auto* note = w->findChild<QLabel*>(QStringLiteral("casesview"));
    QVERIFY(note->isVisible());
    for (const char* said :
         {"long.loads.csv has 300 rows", "up to 50 rows", "the first 50 rows", "over every row"})
      QVERIFY2(note->text().contains(QString::fromLatin1(said)), qPrintable(note->text()));
    const QString summary = w->findChild<QLabel*>(QStringLiteral("casesummary"))->text();
    QCOMPARE(summary, model().summaryText());
    QVERIFY2(summary.contains(QStringLiteral("(worst)")), qPrintable(summary));
    QTest::qWait(50);
    QVERIFY(w->grab().save(QDir::temp().filePath(QStringLiteral("orvane-load-cases-view.png"))));

    // saved, saved under another name, exported: every row
    h->window->fileSave();
    QCOMPARE(contents(file("long.loads.csv")), text);
    FileDialog::setNextFileNames({file("copy.cys")});
    h->window->fileSaveAs();
    FileDialog::setNextFileNames({file("long.csv")});
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdexport")), Qt::LeftButton);
    for (const char* name : {"copy.loads.csv", "long.csv"}) {
      QCOMPARE(contents(file(name)).toStdString(), cases::casesText(whole.value()));
    }
    FileDialog::setNextFileNames({file("long.xlsx")});
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdexport")), Qt::LeftButton);
    QCOMPARE(h->messages.texts.size(), 1);
    QVERIFY(h->messages.texts[0].contains(QStringLiteral("too large for a workbook")));
    QVERIFY(!QFile::exists(file("long.xlsx")));

    // the same table edited here says the same
    model().setRowLimit(CaseModel::kMostEditedRows);
    QVERIFY(model().openFile(file("long.loads.csv").toStdString()));
    QVERIFY(!model().readOnly());
    QCOMPARE(model().rowCount(), 300);
    QTRY_VERIFY(!model().computing());
    QCOMPARE(model().summaryText(), summary);
    w->close();
    h->window->fileNew();
    QCOMPARE(contents(file("long.loads.csv")), text);
  }
  // A table of section forces: "Forces" sets its columns, each check shows
  // the usage factor and angle `orvane-cli batch` gives the row and its
  // governing case is marked, the file beside the project keeps the force
  // columns, a double click types the row's governing point; forces beside
  // stresses are refused, and the column mode has no forces.
  void forceTablesShowTheBatchPoints() {
    setMode(2);
    CasesWindow* w = h->window->openLoadCases();
    auto* loads = w->findChild<QComboBox*>(QStringLiteral("cboloads"));
    QVERIFY(loads->isEnabled());
    emit loads->activated(1);
    QCOMPARE(model().table().columns, cases::forcePresetColumns());
    paste(w, 0, 0, kForceBlock);
    QVERIFY(model().forces());
    QCOMPARE(loads->currentIndex(), 1);
    FileDialog::setNextFileNames({file("leg.cys")});
    h->window->fileSave();
    std::ostringstream out, err;
    const int code =
        cli::run({"batch", file("leg.cys").toStdString(), file("leg.loads.csv").toStdString(),
                  "--json", "--data", ORVANE_SHIPPED_DATA},
                 out, err);
    QVERIFY2(code == 0 || code == 1, err.str().c_str());
    std::istringstream lines(out.str());
    std::vector<nlohmann::json> batch;
    for (std::string line; std::getline(lines, line);) batch.push_back(nlohmann::json::parse(line));
    QCOMPARE(static_cast<int>(batch.size()), model().rowCount() + 1);  // and the summary
    for (const CheckId c : model().checks()) {
      const int column = model().checkColumn(c);
      int governing = -1;
      double most = -1;
      for (int r = 0; r < model().rowCount(); ++r) {
        const auto& want = batch[static_cast<size_t>(r)][checkName(c)];
        const QModelIndex i = model().index(r, column);
        QCOMPARE(model().data(i, CaseModel::UsageFactorRole).toDouble(), want["uf"].get<double>());
        QCOMPARE(model().data(i, CaseModel::ThetaRole).toDouble(), want["theta"].get<double>());
        QVERIFY(cell(r, column).contains(QStringLiteral(" @ ")));
        if (want["uf"].get<double>() > most) {
          most = want["uf"].get<double>();
          governing = r;
        }
      }
      QVERIFY(model().data(model().index(governing, column), CaseModel::GoverningRole).toBool());
    }
    auto reread = cases::readCases(file("leg.loads.csv").toStdString());
    QVERIFY(reread);
    QCOMPARE(reread.value().columns, model().table().columns);
    for (int r = 0; r < model().rowCount(); ++r)
      QCOMPARE(reread.value().rows[static_cast<size_t>(r)].values,
               model().table().rows[static_cast<size_t>(r)].values);

    // the row's governing point (largest ratio to its allowable value)
    // goes into the fields
    std::string gov;
    QString caption;
    double ratio = -1;
    for (const CheckId c : model().checks()) {
      const auto& v = batch[0][checkName(c)];
      if (v["uf"].get<double>() / v["allow"].get<double>() > ratio) {
        ratio = v["uf"].get<double>() / v["allow"].get<double>();
        gov = checkName(c);
        caption = QString::fromLatin1(checkCaption(c));
      }
    }
    doubleClick(w, 0);
    QVERIFY(h->messages.texts.isEmpty());
    QCOMPARE(static_cast<double>(ps().sigx), batch[0][gov]["sigx"].get<double>());
    QCOMPARE(static_cast<double>(ps().tau), batch[0][gov]["tau"].get<double>());
    QVERIFY2(h->window->notice().endsWith(caption + QLatin1Char(')')),
             qPrintable(h->window->notice()));

    // the stresses cannot take the place of forces that hold values
    emit loads->activated(0);
    QCOMPARE(h->messages.texts.size(), 1);
    QCOMPARE(model().table().columns, cases::forcePresetColumns());
    paste(w, 3, 0, QStringLiteral("case\tsigx\nmixed\t-50\n"));
    QVERIFY(!model().forces());
    QVERIFY2(model().summaryText().contains(QStringLiteral("not both")),
             qPrintable(model().summaryText()));
    QVERIFY(cell(0, model().verdictColumn()).isEmpty());
    model().removeRows(0, model().rowCount());
    // an axial force alone in a table of stresses makes it one of forces
    emit loads->activated(0);
    QCOMPARE(model().table().columns, cases::presetColumns(ps()));
    paste(w, 0, 0, QStringLiteral("case\tN\npure\t-3000\n"));
    QVERIFY(model().forces());
    QCOMPARE(loads->currentIndex(), 1);
    model().removeRows(0, model().rowCount());
    setMode(3);
    QVERIFY(!loads->isEnabled());
  }

  // The report's table of section forces prints every input and every
  // result whole: wide forces, a long case name and a fault's full text,
  // on as many pages as it counted before printing.
  void theReportPrintsSectionForcesWhole() {
    setMode(2);
    CasesWindow* w = h->window->openLoadCases();
    emit w->findChild<QComboBox*>(QStringLiteral("cboloads"))->activated(1);
    paste(w, 0, 0,
          QStringLiteral("case\tN\tM1\tM2\tT\tQ1\tQ2\tsigy\tpd\n"
                         "storm 0\t-30000\t12345.6\t15000\t9000\t2000\t0\t-10\t-0.2\n"
                         "operating\t-6000\t12000\t-8000\t3000\t1000\t500\t-5\t-0.1\n"
                         "long name of the transport case on the barge\t-9000\t25000\t5000\t0\t0"
                         "\t0\t0\t0\n"));
    QVERIFY(model().forces());
    QCOMPARE(model().rowCount(), 3);
    const QString fault = cell(2, model().verdictColumn());
    QVERIFY2(fault.startsWith(QStringLiteral("fault: ")), qPrintable(fault));
    const ui::ReportOptions options = h->window->reportOptions();
    const QString pdf = file("forces.pdf");
    QCOMPARE(ui::writeReportPdf(ps(), pdf, options), QString());
    QCOMPARE(pdfPages(pdf), ui::reportPageCount(options));
    const QString page = pdfText(pdf, 2);
    QVERIFY2(!page.contains(QChar(0x2026)), qPrintable(page));
    QStringList whole{QStringLiteral("sigy"), fault.mid(7)};
    for (int r = 0; r < model().rowCount(); ++r) {
      for (int c = 0; c < model().verdictColumn(); ++c) {
        // an input as typed, a usage factor as printed
        const QVariant uf = model().data(model().index(r, c), CaseModel::UsageFactorRole);
        whole << (uf.isValid() ? model().number(uf.toDouble()) : cell(r, c));
      }
    }
    // a text broken over lines is found with the breaks taken out
    QString flat = page;
    flat.remove(QRegularExpression(QStringLiteral("\\s")));
    for (QString s : whole)
      QVERIFY2(flat.contains(s.remove(QRegularExpression(QStringLiteral("\\s")))),
               qPrintable(s + QStringLiteral("\n") + page));
  }
};

QTEST_MAIN(CasesTest)
#include "test_cases.moc"
