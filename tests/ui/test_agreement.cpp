// Random edits through the window's own controls and the same steps as
// `check --set` takes them: after every step both roads hold the same inputs,
// usage factors, panel texts, local-buckling lines and fault.
//
//   export QT_QPA_PLATFORM=offscreen ORVANE_AGREE_SEQUENCES=5000 ORVANE_AGREE_SEED=3
//   bin/test_ui_agreement
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <random>

#include "project/session.hpp"
#include "ui/main/field_table.hpp"
#include "ui/profiles/profile_window.hpp"
#include "ui_fixture.hpp"

using namespace orvane;
using orvane::ui::test::Harness;

namespace {

int envOr(const char* name, int fallback) {
  const QByteArray v = qgetenv(name);
  return v.isEmpty() ? fallback : v.toInt();
}

// Everything a step may change that the user sees or that a later run reads;
// what differs first, as "WHAT: window ..., headless ...".
std::string difference(const ProjectState& w, const std::optional<std::string>& wFault,
                       const ProjectState& s, const std::optional<std::string>& sFault) {
  const auto text = [](double v) { return QString::number(v, 'g', 17).toStdString(); };
  const auto differ = [](const std::string& what, const std::string& a, const std::string& b) {
    return what + ": window '" + a + "', headless '" + b + "'";
  };
  if (wFault != sFault) return differ("fault", wFault.value_or(""), sFault.value_or(""));
  for (const InputDef& in : inputTable())
    if (in.get(w) != in.get(s))
      return differ(std::string(in.name), text(in.get(w)), text(in.get(s)));
  const auto ws = shownVerdicts(w), ss = shownVerdicts(s);
  for (size_t i = 0; i < std::max(ws.size(), ss.size()); ++i)
    if (i >= ws.size() || i >= ss.size() || ws[i].check != ss[i].check || ws[i].uf != ss[i].uf ||
        ws[i].allow != ss[i].allow)
      return "usage factor " + std::to_string(i) + " or the shown checks";
  const ResultTable* wt[3] = {&w.shellTable, &w.stiffTable, &w.ringTable};
  const ResultTable* st[3] = {&s.shellTable, &s.stiffTable, &s.ringTable};
  for (int t = 0; t < 3; ++t)
    for (int i = 0; i <= wt[t]->n; ++i)
      if (wt[t]->n != st[t]->n ||
          wt[t]->value[i] + wt[t]->unit[i] != st[t]->value[i] + st[t]->unit[i])
        return differ("panel " + std::to_string(t) + " line " + std::to_string(i),
                      wt[t]->value[i] + wt[t]->unit[i], st[t]->value[i] + st[t]->unit[i]);
  if (w.proportion != s.proportion || w.ringLocal != s.ringLocal) return "local-buckling lines";
  return {};
}

class AgreementTest final : public QObject {
  Q_OBJECT

  std::unique_ptr<Harness> h;
  std::mt19937 rng;
  QByteArray last_;  // the field the last step left

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  template <class T>
  T* shown(const char* name) {
    T* w = h->get<T>(name);
    return w->isVisibleTo(h->window.get()) && w->isEnabled() ? w : nullptr;
  }

  // A typed value: mostly near the field's present value, sometimes one its
  // tests warn about.
  QString typedText(const InputDef& in) {
    const double now = in.get(h->window->state());
    const double scale = std::uniform_real_distribution<double>(0.3, 1.8)(rng);
    double v = pick(8) == 0 ? std::uniform_real_distribution<double>(-50, 50)(rng) : now * scale;
    if (in.id == InputId::r || in.id == InputId::t) v = std::abs(v);
    return QString::number(v, 'f', pick(3));
  }

  // Leaves `field` with `text` in it, as Tab does; the step NAME=TEXT.
  std::string leave(const orvane::ui::FieldSpec& f, const QString& text) {
    QLineEdit* field = h->field(f.name);
    QApplication::setActiveWindow(h->window.get());
    if (QApplication::focusWidget() != field) {
      field->setFocus(Qt::TabFocusReason);
      QApplication::processEvents();
      if (QApplication::focusWidget() != field) return std::string("no focus in ") + f.name;
    }
    field->setText(text);
    h->leaveTo("iproj");
    QApplication::processEvents();
    last_ = f.name;
    return std::string(inputDef(f.input).name) + "=" + text.toStdString();
  }

  // Makes one random step in the window; returns it as NAME=VALUE.
  std::string step() {
    orvane::ui::MainWindow& w = *h->window;
    // A field that has the focus is left first, as the user's next move
    // does: one the calculation sent the focus to is left as it shows, one a
    // warning sent it back to is corrected (its new-project value).
    if (QWidget* now = QApplication::focusWidget()) {
      const QByteArray name = now->objectName().toLatin1();
      if (const auto* f = orvane::ui::findField(name.constData())) {
        QString text = h->field(f->name)->text();
        if (name == last_) {
          ProjectState fresh;
          assignDefaults(fresh);
          text = QString::number(inputDef(f->input).get(fresh), 'g', 9);
        }
        return leave(*f, text);
      }
    }
    last_.clear();
    for (;;) {
      switch (pick(10)) {
        case 0:
        case 1:
        case 2:
        case 3: {  // a typed value, left with Tab
          const auto fields = orvane::ui::mainFields();
          const auto& f = fields[static_cast<size_t>(pick(static_cast<int>(fields.size())))];
          if (!shown<QLineEdit>(f.name)) continue;
          return leave(f, typedText(inputDef(f.input)));
        }
        case 4: {
          const int type = pick(4);
          h->get<QRadioButton>(("cylinder" + std::to_string(type)).c_str())->click();
          return "cyltype=" + std::to_string(type);
        }
        case 5: {
          const bool wsd = pick(2) == 1;
          h->get<QRadioButton>(wsd ? "opt_wsd" : "opt_lrfd")->click();
          return std::string("wsd=") + (wsd ? "1" : "0");
        }
        case 6: {
          const char* flags[] = {"ring_ch", "hring_ch", "Outside_ch", "check_ih"};
          const char* name = flags[pick(4)];
          auto* box = shown<QCheckBox>(name);
          if (!box) continue;
          const bool on = !box->isChecked();
          box->click();
          return std::string(name) + "=" + (on ? "1" : "0");
        }
        case 7: {
          const char* options[][2] = {{"ringfab0", "ringfab=0"},
                                      {"ringfab1", "ringfab=1"},
                                      {"odmom1", "odmom=0"},
                                      {"odmom2", "odmom=1"}};
          const auto& o = options[pick(4)];
          auto* button = shown<QRadioButton>(o[0]);
          if (!button) continue;
          button->click();
          return o[1];
        }
        case 8: {
          const char* lists[][2] = {{"cbofyp", "matp"}, {"cbofys", "mats"}, {"cbofyg", "matg"}};
          const auto& l = lists[pick(3)];
          auto* box = shown<QComboBox>(l[0]);
          if (!box) continue;
          const int index = pick(box->count());
          box->setCurrentIndex(index);
          emit box->activated(index);
          return std::string(l[1]) + "=" + std::to_string(index);
        }
        default: {  // a profile type: its window opens, shows the section, closes
          const char* lists[] = {"cbostiff", "cboring"};
          const char* name = lists[pick(2)];
          auto* box = shown<QComboBox>(name);
          if (!box) continue;
          const int index = pick(box->count());
          box->setCurrentIndex(index);
          emit box->activated(index);
          for (auto* p : w.findChildren<orvane::ui::ProfileWindow*>()) {
            QApplication::setActiveWindow(p);
            QApplication::processEvents();
            p->close();
          }
          QApplication::setActiveWindow(&w);
          QApplication::processEvents();
          return std::string(name) + "=" + std::to_string(index);
        }
      }
    }
  }

 private slots:
  void init() {
    h = std::make_unique<Harness>();
    QApplication::processEvents();
  }
  void cleanup() { h.reset(); }

  void everyStepGivesTheSameProjectOnBothRoads() {
    const int sequences = envOr("ORVANE_AGREE_SEQUENCES", 200);
    const int steps = envOr("ORVANE_AGREE_STEPS", 10);
    const unsigned seed = static_cast<unsigned>(envOr("ORVANE_AGREE_SEED", 21));
    rng.seed(seed);
    ProjectState ps;
    RecordingEvents events;
    Session headless(ps, events);
    QVERIFY(headless.startUp(ORVANE_SHIPPED_DATA).empty());
    for (int q = 0; q < sequences; ++q) {
      h->window->fileNew();
      headless.newProject();
      QString done;
      for (int k = 0; k < steps; ++k) {
        const std::string assignment = step();
        QVERIFY2(assignment.find('=') != std::string::npos, assignment.c_str());
        done += QString::fromStdString(" --set " + assignment);
        const auto refused = headless.set(assignment);
        QVERIFY2(!refused, refused ? refused->c_str() : "");
        const std::string diff =
            difference(h->window->state(), h->window->lastFault(), ps, headless.fault());
        QVERIFY2(diff.empty(), qPrintable(QStringLiteral("seed %1, sequence %2:%3\n%4")
                                              .arg(seed)
                                              .arg(q)
                                              .arg(done, QString::fromStdString(diff))));
      }
    }
  }
};

}  // namespace

QTEST_MAIN(AgreementTest)
#include "test_agreement.moc"
