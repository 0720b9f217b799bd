#include "ui/profiles/profile_window.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "model/checked.hpp"
#include "project/input_names.hpp"
#include "sections/profile_tables.hpp"
#include "sections/ring_section.hpp"
#include "sections/stiffener_section.hpp"
#include "ui/common/field_edit.hpp"
#include "ui/common/message_box.hpp"
#include "ui/common/placement.hpp"
#include "ui/common/read_number.hpp"
#include "ui/profiles/profile_sketches.hpp"

namespace orvane::ui {

namespace {

template <class T>
T* named(T* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

// Captions of the local-buckling lines: the stiffener's web and flange lines
// (Eq 3.10.6/7, 3.10.9) and the ring frame's four (Eq 3.10.1/2 to 3.10.5).
const char* const kStiffLineNames[3] = {"", "webclass", "flangeclass"};
const char* const kStiffLineCaptions[3] = {"", "Web:", "Flange:"};
const char* const kRingLineCaptions[5] = {"", "Web:", "Slenderness:", "Flange:", "Eccentricity:"};

QString lineName(Member member, int line) {
  return member == Member::RingFrame ? QStringLiteral("ringline%1").arg(line)
                                     : QString::fromLatin1(kStiffLineNames[line]);
}

}  // namespace

// What the section routines report while a window runs them: designations
// go to the main window's labels; warnings only where the caller asks, since
// the calculation driver has already shown them for the checks it ran.
class ProfileWindow::SectionEvents final : public CalcEvents {
 public:
  SectionEvents(ProfileWindow& w, bool report) : w_(w), report_(report) {}
  void warning(const std::string& text) override {
    if (report_) MessageBox::warn(&w_, QString::fromStdString(text));
  }
  void stiffenerDesignation(const std::string& text, int) override {
    w_.host_.showDesignation(Member::Stiffener, QString::fromStdString(text));
  }
  void ringDesignation(const std::string& text, int) override {
    w_.host_.showDesignation(Member::RingFrame, QString::fromStdString(text));
  }

 private:
  ProfileWindow& w_;
  bool report_;
};

ProfileWindow::ProfileWindow(const ProfileForm& form, ProfileHost& host)
    : QDialog(host.hostWindow()), form_(form), host_(host), ps_(host.state()) {
  setObjectName(QString::fromLatin1(form.name));
  setWindowTitle(QString::fromLatin1(form.caption));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  editor_ = new FieldEditor(this, [this](QLineEdit* e) { return fieldCycle(e); });
  build();
}

// The fields go with the window's children, after its own members: their
// last focus-out must not reach the steps of a window half destroyed.
ProfileWindow::~ProfileWindow() { delete std::exchange(editor_, nullptr); }

void ProfileWindow::build() {
  auto* fr21 = frame_ = named(new QGroupBox(QStringLiteral("Profile")), "fr21");
  auto* pic = new ProfileSketch(form_.shape, form_.member);
  pic->setObjectName(QStringLiteral("pic1"));
  pic->setMinimumSize(170, 190);

  auto* values = new QGridLayout;
  values->setColumnMinimumWidth(1, 80);
  int row = 0;
  auto caption = [](const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
  };
  if (form_.isTable()) {
    list_ = named(new QComboBox, "cbo");
    list_->setMinimumContentsLength(14);
    connect(list_, &QComboBox::activated, this, &ProfileWindow::listClicked);
    values->addWidget(list_, row++, 0, 1, 2);
    for (Dim d : form_.shown) {
      auto* l = named(new QLabel, dimField(d).label);
      dimLabels_[static_cast<size_t>(d)] = l;
      values->addWidget(caption(dimField(d).caption), row, 0);
      values->addWidget(l, row++, 1);
    }
  } else {
    for (Dim d : form_.fields) {
      const DimField& f = dimField(d);
      auto* e = named(new QLineEdit, f.name);
      e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      e->setFixedWidth(70);
      e->setAutoFillBackground(true);
      e->installEventFilter(this);
      editor_->add(e);
      fields_[static_cast<size_t>(d)] = e;
      values->addWidget(caption(f.caption), row, 0);
      values->addWidget(e, row, 1);
      values->addWidget(new QLabel(QStringLiteral("mm")), row++, 2);
    }
  }
  values->setRowMinimumHeight(row++, 8);
  const char* const dataNames[4] = {"sta", "stg", "stiy", "stiz"};
  const char* const dataCaptions[4] = {"Ax =", "g =", "Iy =", "Iz ="};
  QLabel** const dataLabels[4] = {&area_, &mass_, &iy_, &iz_};
  for (int i = 0; i < (form_.showsIz ? 4 : 3); ++i) {
    *dataLabels[i] = named(new QLabel, dataNames[i]);
    values->addWidget(caption(dataCaptions[i]), row, 0);
    values->addWidget(*dataLabels[i], row++, 1, 1, 2);
  }
  values->setRowStretch(row, 1);

  auto* inside = new QHBoxLayout(fr21);
  inside->addWidget(pic, 1);
  inside->addSpacing(8);
  inside->addLayout(values);

  auto* top = new QVBoxLayout(this);
  top->addWidget(fr21);
  if (form_.firstLine > 0) {
    auto* local = named(new QGroupBox(QStringLiteral("Local buckling")), "frlocal");
    auto* grid = new QGridLayout(local);
    for (int line = form_.firstLine; line <= form_.lastLine; ++line) {
      auto* c = new QLabel(
          QString::fromLatin1(isRingFrame() ? kRingLineCaptions[line] : kStiffLineCaptions[line]));
      auto* text = new QLabel;
      text->setObjectName(lineName(form_.member, line));
      lines_[static_cast<size_t>(line)] = text;
      grid->addWidget(c, line, 0);
      grid->addWidget(text, line, 1);
    }
    grid->setColumnStretch(1, 1);
    top->addWidget(local);
  }
  auto* buttons = new QHBoxLayout;
  auto* ok = named(new QPushButton(QStringLiteral("OK")), "Command1");
  ok->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &ProfileWindow::okClicked);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  top->addLayout(buttons);
}

Dim ProfileWindow::dimOf(const QLineEdit* e) const {
  for (Dim d : form_.fields)
    if (field(d) == e) return d;
  return form_.fields.front();
}

// Load: centred on the main window; the flat-bar table window takes its
// width from its frame.
void ProfileWindow::load() {
  adjustSize();
  if (form_.fitToFrame) {
    const int frameWidth = frame_->sizeHint().width();
    const int width = static_cast<int>(std::lround(1.06 * frameWidth));
    const int left = static_cast<int>(std::lround(0.02 * width));
    layout()->setContentsMargins(left, layout()->contentsMargins().top(), width - frameWidth - left,
                                 layout()->contentsMargins().bottom());
    setFixedWidth(width);
  }
  placeBeside(this, host_.hostWindow(), host_.keepClear());
}

void ProfileWindow::showEvent(QShowEvent* event) {
  if (!loaded_) {
    loaded_ = true;
    load();
  }
  QDialog::showEvent(event);
}

bool ProfileWindow::event(QEvent* event) {
  // A cycle that showed a message box ends with its own refresh.
  if (event->type() == QEvent::WindowActivate && !editor_->busy() && !closing_) activate();
  return QDialog::event(event);
}

void ProfileWindow::activate() {
  (isRingFrame() ? ps_.cboring : ps_.cbostiff) = code(form_.type);
  host_.showProfileType(form_.member, form_.type);
  host_.calculate();
  if (list_) {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const std::string& item : profileList(ps_.prof.*form_.table, form_.kind))
      list_->addItem(QString::fromStdString(item));
    const TableRows& rows = isRingFrame() ? ps_.ringRows : ps_.stiffRows;
    list_->setCurrentIndex(rows.*form_.row);
  }
  refresh();
}

// The calculation driver computes a section only for the cylinder type and
// checks that use it; the window runs its own type's routine as well so that
// it always shows the profile being edited. A fault leaves the old values.
void ProfileWindow::runSection(bool report) {
  SectionEvents events(*this, report);
  try {
    if (isRingFrame())
      ringSectionProps(ps_, code(form_.type), events);
    else
      stiffenerSection(ps_, code(form_.type), events);
  } catch (const CalcFault&) {
  }
}

void ProfileWindow::refresh() {
  runSection(false);
  const int d = host_.decimalFlag();
  if (form_.isTable()) {
    for (Dim dim : form_.shown)
      dimLabels_[static_cast<size_t>(dim)]->setText(
          showNumber(currentValue(ps_, form_.member, dim), dimField(dim).pattern, d) +
          QStringLiteral(" mm"));
  } else {
    for (Dim dim : form_.fields)
      field(dim)->setText(showNumber(builtValue(ps_, form_, dim), dimField(dim).pattern, d));
  }
  const bool ring = isRingFrame();
  area_->setText(showNumber(ring ? ps_.rg.Ag : ps_.st.As, "##0", d) + QStringLiteral(" mm2"));
  mass_->setText(showNumber(ring ? ps_.rg.massg : ps_.st.mass, "##0.0", d) +
                 QStringLiteral(" kg/m"));
  iy_->setText(showNumber(ring ? ps_.rg.Ixg : ps_.st.Iy, "0.000E+0", d) + QStringLiteral(" mm4"));
  if (form_.showsIz) {
    // The I stiffener's routine computes no Iz and no check needs it: an
    // old value of another profile would mislead.
    iz_->setText(form_.izComputed ? showNumber(ring ? ps_.rg.Izg : ps_.st.Iz, "0.000E+0", d) +
                                        QStringLiteral(" mm4")
                                  : QStringLiteral("not computed"));
  }
  for (int line = form_.firstLine; line <= form_.lastLine && line > 0; ++line) {
    const std::string& text = ring ? ps_.ringLocal[line] : ps_.proportion[line];
    lines_[static_cast<size_t>(line)]->setText(QString::fromStdString(text));
  }
}

// The field cycle: read, store, show and test the field, then CalcDriver
// and the refresh. A number the field cannot hold gets the field's warning
// and leaves the stored value.
Left ProfileWindow::fieldCycle(QLineEdit* e) {
  const Dim d = dimOf(e);
  const InputDef& in = inputDef(*builtInput(form_, d));
  const int flag = host_.decimalFlag();
  const char* pattern = d == Dim::B && form_.wideB ? "##0.0" : dimField(d).pattern;
  Left left = Left::Taken;
  const QString title = QString::fromStdString(displayName(in.id));
  const NumberReading read = readNumber(e->text(), flag);
  if (read.ok()) {
    // stored through the main window's session, with the input's test and
    // clamp, as `--set` stores it
    const Stored stored = host_.store(in.id, read.value);
    e->setText(showNumber(builtValue(ps_, form_, d), pattern, flag));
    if (stored.failed >= 0) {
      MessageBox::warn(this, QString::fromStdString(stored.warning), title);
      left = Left::FocusBack;
    }
    host_.calculate();
    refresh();
  } else if (read.status == NumberReading::OutOfRange) {
    e->setText(showNumber(builtValue(ps_, form_, d), pattern, flag));
    MessageBox::warn(this, QString::fromLatin1(in.checks[0].message), title);
    left = Left::FocusBack;
  } else {
    MessageBox::warn(this, QStringLiteral("Input string mismatch "), title);
    left = Left::NotTaken;
  }
  FieldEditor::setIdle(e);
  return left;
}

// Reads a field once more for OK or closing: stores and shows it with
// `pattern` and returns whether it passed `limit`; a text that is no number
// or out of range keeps the stored value, with its message.
bool ProfileWindow::reread(Dim d, const char* pattern, double limit, const char* message) {
  QLineEdit* e = field(d);
  const int flag = host_.decimalFlag();
  const NumberReading read = readNumber(e->text(), flag);
  if (read.ok()) {
    setBuiltValue(ps_, form_, d, read.value);
    e->setText(showNumber(builtValue(ps_, form_, d), pattern, flag));
    if (builtValue(ps_, form_, d) >= limit) return true;
  } else if (read.status == NumberReading::OutOfRange) {
    e->setText(showNumber(builtValue(ps_, form_, d), pattern, flag));
  } else {
    message = "Input string mismatch ";
  }
  MessageBox::warn(this, QString::fromLatin1(message));
  return false;
}

void ProfileWindow::okClicked() {
  // a value typed without leaving its field counts, warnings included
  editor_->finishEdit(false);
  const bool calc = form_.ok != OkAction::Close;
  if (form_.ok == OkAction::ReadCloseCalc) {
    editor_->setBusy(true);
    for (Dim d : form_.okTests) {
      const DimField& f = dimField(d);
      if (!reread(d, d == Dim::H ? "##0" : "##0.0", f.okLimit, f.okMessage))
        field(d)->setFocus(Qt::OtherFocusReason);
    }
    editor_->setBusy(false);
  }
  // the window is gone (deleted later) once closed: keep what is needed
  ProfileHost& host = host_;
  close();
  if (calc) host.calculate();
}

// Closing reads the height and width once more, warns without clamping and
// never stays open.
void ProfileWindow::unloadCycle() {
  for (Dim d : form_.unloadTests) {
    const InputCheck& test = inputDef(*builtInput(form_, d)).checks[0];
    reread(d, dimField(d).pattern, test.lo, test.message);
  }
}

void ProfileWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    // the focused field's edit first, as leaving it would (X, OK, Escape)
    editor_->finishEdit(false);
    closing_ = true;
    editor_->setBusy(true);
    unloadCycle();
  }
  event->accept();
}

void ProfileWindow::reject() { close(); }

void ProfileWindow::listClicked(int row) {
  if (row < 0) return;
  // through a named reference: GCC 12 writes `(c ? a : b).*member` into a copy
  TableRows& rows = isRingFrame() ? ps_.ringRows : ps_.stiffRows;
  rows.*form_.row = static_cast<int16_t>(row);
  if (form_.sectionFirstOnClick) runSection(true);
  host_.calculate();
  refresh();
}

bool ProfileWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* e = qobject_cast<QLineEdit*>(watched);
  if (!e || !editor_->contains(e) || event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  const auto at = std::find(form_.fields.begin(), form_.fields.end(), dimOf(e));
  const auto next = at + 1 == form_.fields.end() ? form_.fields.begin() : at + 1;
  field(*next)->setFocus(Qt::TabFocusReason);
  return true;
}

namespace {

// The open window of a form: the owner's windows are known by their forms.
ProfileWindow* openWindowOf(QWidget* owner, const ProfileForm* form) {
  if (!owner || !form) return nullptr;
  for (auto* w : owner->findChildren<ProfileWindow*>(Qt::FindDirectChildrenOnly))
    if (&w->form() == form && !w->closing()) return w;
  return nullptr;
}

}  // namespace

ProfileWindow* findProfileWindow(QWidget* owner, const char* name) {
  return openWindowOf(owner, profileForm(name));
}

ProfileWindow* showProfileWindow(ProfileHost& host, Member member, int type) {
  const ProfileForm* form = profileForm(member, type);
  if (!form) return nullptr;
  ProfileWindow* w = openWindowOf(host.hostWindow(), form);
  if (!w) w = new ProfileWindow(*form, host);
  w->show();
  w->raise();
  w->activateWindow();
  return w;
}

void closeProfileWindows(QWidget* owner) {
  if (!owner) return;
  for (auto* w : owner->findChildren<ProfileWindow*>(Qt::FindDirectChildrenOnly))
    if (!w->closing()) w->close();
}

}  // namespace orvane::ui
