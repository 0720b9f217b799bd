// Building the window: the menus, the frames and the controls inside them,
// each with its control name as objectName (the names tests, the pop-up
// menu and resolveControls() know them by).
#include <array>
#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/codes.hpp"
#include "ui/common/sketches.hpp"
#include "ui/main/main_window.hpp"
#include "ui/main/result_panel.hpp"

namespace orvane::ui {

namespace {

// The rows of a frame, close enough that the form stands whole above the
// result panels on a 1280 x 720 screen: the space under a frame's title and
// above its bottom border, and between its rows.
constexpr int kFrameTop = 0, kFrameBottom = 3, kRowSpacing = 2;

QGroupBox* frame(const char* name, const QString& caption, QWidget* parent) {
  auto* box = new QGroupBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

template <class T>
T* named(T* w, const char* name, bool popup = true) {
  w->setObjectName(QString::fromLatin1(name));
  if (popup) w->setProperty("orvanePopup", true);
  return w;
}

QGridLayout* grid(QWidget* parent) {
  auto* g = new QGridLayout(parent);
  g->setContentsMargins(8, kFrameTop, 8, kFrameBottom);
  g->setHorizontalSpacing(6);
  g->setVerticalSpacing(kRowSpacing);
  return g;
}

QComboBox* list(const char* name, int minimumChars = 12) {
  auto* c = new QComboBox;
  c->setObjectName(QString::fromLatin1(name));
  c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c->setMinimumContentsLength(minimumChars);
  return c;
}

QHBoxLayout* materialRow(QLabel* caption, QComboBox* box) {
  auto* row = new QHBoxLayout;
  row->addWidget(caption);
  row->addWidget(box, 1);
  return row;
}

QPushButton* pictureButton(const char* name, const QIcon& icon) {
  auto* b = named(new QPushButton, name);
  b->setIcon(icon);
  b->setIconSize(QSize(22, 22));
  b->setFixedSize(30, 30);
  return b;
}

// Label numbers of captions that offer the pop-up menu, and of the column
// data's captions, which do not.
constexpr int kPopupLabels[] = {2,  3,  4,  5,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                                18, 19, 20, 21, 23, 24, 25, 26, 27, 29, 44, 45, 46, 74, 84};
constexpr int kFirstColumnLabel = 30;

// A control, menu or action with its control name, and nothing else.
template <class T>
T* withName(T* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

// A menu command with the platform's standard shortcut for it.
QAction* withKey(QAction* a, QKeySequence::StandardKey key) {
  a->setShortcuts(key);
  return a;
}

void markPopup(QWidget* w) { w->setProperty("orvanePopup", true); }

// Fields over which a right click offers the profiles menu.
constexpr const char* kPopupFields[] = {"icolL", "icyll", "icylr",  "ie",    "ifyg", "ifyp",
                                        "ifys",  "igilt", "iident", "il",    "ilt",  "ipp",
                                        "iproj", "is1",   "isigx",  "isigy", "it",   "itau"};

// The menu entries' control names; their texts come from the profile traits.
const char* const kStiffItems[10] = {"mnustiffl", "mnustifflb",  "mnustifft",  "mnustifftb",
                                     "mnustifff", "mnustiffflb", "mnustiffhp", "mnustiffrhs",
                                     "mnustiffu", "mnustiffib"};
const char* const kRingItems[10] = {"mnugirdl", "mnugirdlb", "mnugirdt",  "mnugirdtb",
                                    "mnugirdf", "mnugirdfb", "mnugirdhp", "mnugirdrhs",
                                    "mnugirdu", "mnugirdib"};

}  // namespace

// The stiffener and the ring-frame frame share their rows: the profile list
// with its picture button and designation, two dimension fields, and the
// material list with its yield strength.
struct MemberFrameRows {
  struct Field {
    const char* caption;
    const char* symbol;
    const char* field;
  };
  const char* name;
  const char* title;
  const char* profileCaption;  // object name of the "Profile:" caption, or a numbered label
  const char* list;
  const char* button;
  int icon;
  const char* designation;
  std::array<Field, 2> fields;
  const char* materialList;
  const char* materialSymbol;
  const char* materialField;
};

namespace {

const MemberFrameRows kStiffenerFrame{
    .name = "fr120",
    .title = "Stiffener data  (mm)",
    .profileCaption = "prof",
    .list = "cbostiff",
    .button = "cmdpic_stiff",
    .icon = 0,
    .designation = "stiffprof",
    .fields = {{{"Stiff spacing: ", "s =", "is1"}, {"Lat tors buckl length:", "lt =", "ilt"}}},
    .materialList = "cbofys",
    .materialSymbol = "fys:",
    .materialField = "ifys"};

const MemberFrameRows kRingFrame{
    .name = "fr121",
    .title = "Ringframe data (mm)",
    .profileCaption = nullptr,
    .list = "cboring",
    .button = "cmdpic_gird",
    .icon = 2,
    .designation = "ringprof",
    .fields = {{{"Cylinder length:", "L =", "icyll"}, {"Lat tors buckl length:", "lt =", "igilt"}}},
    .materialList = "cbofyg",
    .materialSymbol = "fyg:",
    .materialField = "ifyg"};

}  // namespace

QLineEdit* MainWindow::addField(const char* name) {
  auto* e = withName(new QLineEdit, name);
  e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  e->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("-0000.000")) + 10);
  e->setAutoFillBackground(true);
  for (const char* p : kPopupFields) {
    if (std::strcmp(p, name) == 0) {
      markPopup(e);
      e->setContextMenuPolicy(Qt::PreventContextMenu);
    }
  }
  e->installEventFilter(this);
  return e;
}

QLabel* MainWindow::addLabel(const QString& caption, QWidget* parent, bool popup) {
  auto* l = new QLabel(caption, parent);
  int number = 0;
  if (popup) {
    const int i = labelCount_++;
    number = i < static_cast<int>(std::size(kPopupLabels)) ? kPopupLabels[i] : 100 + i;
    markPopup(l);
  } else {
    number = kFirstColumnLabel + columnLabelCount_++;
  }
  l->setObjectName(QStringLiteral("Label%1").arg(number));
  return l;
}

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = withName(bar->addMenu(QStringLiteral("&File")), "mnufile");
  connect(withKey(withName(file->addAction(QStringLiteral("&New")), "mnunew"), QKeySequence::New),
          &QAction::triggered, this, &MainWindow::fileNew);
  connect(
      withKey(withName(file->addAction(QStringLiteral("&Open")), "mnuopen"), QKeySequence::Open),
      &QAction::triggered, this, &MainWindow::fileOpen);
  connect(
      withKey(withName(file->addAction(QStringLiteral("&Save")), "mnusave"), QKeySequence::Save),
      &QAction::triggered, this, &MainWindow::fileSave);
  connect(withKey(withName(file->addAction(QStringLiteral("Save &As")), "mnusaveas"),
                  QKeySequence::SaveAs),
          &QAction::triggered, this, &MainWindow::fileSaveAs);
  connect(withName(file->addAction(QStringLiteral("Calculation s&heet...")), "mnusheet"),
          &QAction::triggered, this, &MainWindow::showSheet);
  for (int i = 0; i < RecentMenu::kItems; ++i) {
    QAction* a = i == 0 ? file->addSeparator() : file->addAction(QString());
    a->setObjectName(QStringLiteral("mnurecentfile%1").arg(i));
    a->setVisible(false);
    if (i > 0) connect(a, &QAction::triggered, this, [this, i] { openRecent(i); });
    recentActions_ << a;
  }
  file->addSeparator()->setObjectName(QStringLiteral("spacer"));
  connect(
      withKey(withName(file->addAction(QStringLiteral("&Exit")), "mnuexit"), QKeySequence::Quit),
      &QAction::triggered, this, &QWidget::close);
  buildEditMenu(bar);

  profilesMenu_ = withName(bar->addMenu(QStringLiteral("&Profiles")), "mnuprofiles");
  QMenu* stiff =
      withName(profilesMenu_->addMenu(QStringLiteral("&Longitudinal stiffener")), "mnustiff");
  QMenu* ring = withName(profilesMenu_->addMenu(QStringLiteral("&Ringframe Profile")), "mnuring");
  for (const ProfileTraits& tr : kProfileTraits) {
    const int i = code(tr.type);
    const QString text = QString::fromLatin1(tr.menuText);
    QAction* s = withName(stiff->addAction(text), kStiffItems[i]);
    connect(s, &QAction::triggered, this, [this, i] {
      ps_.cbostiff = static_cast<int16_t>(i);
      ui_.cbostiff->setCurrentIndex(i);
      ui_.cmdpic_stiff->setIcon(profileIcon(i));
      openProfileWindow(Member::Stiffener, i);
    });
    QAction* g = withName(ring->addAction(text), kRingItems[i]);
    connect(g, &QAction::triggered, this, [this, i] {
      ps_.cboring = static_cast<int16_t>(i);
      ui_.cboring->setCurrentIndex(i);
      ui_.cmdpic_gird->setIcon(profileIcon(i));
      openProfileWindow(Member::RingFrame, i);
    });
  }

  withKey(withName(bar->addAction(QStringLiteral("Print")), "mnuprint"), QKeySequence::Print);

  QMenu* analysis = withName(bar->addMenu(QStringLiteral("&Analysis")), "mnuanalysis");
  connect(withName(analysis->addAction(QStringLiteral("&Load cases...")), "mnuloadcases"),
          &QAction::triggered, this, &MainWindow::openLoadCases);
  withName(analysis->addAction(QStringLiteral("Design &study...")), "mnustudy");

  QMenu* help = withName(bar->addMenu(QStringLiteral("&Help")), "mnuhelp");
  withKey(withName(help->addAction(QStringLiteral("&Contents")), "mnuhelpcont"),
          QKeySequence::HelpContents);
  withName(help->addAction(QStringLiteral("&Index")), "mnuindex");
  withName(help->addAction(QStringLiteral("&Search for Help On . . . ")), "mnuhelpsearch");
  withName(help->addAction(QStringLiteral("Theory Manual")), "mnuTheory");
  help->addSeparator()->setObjectName(QStringLiteral("line"));
  withName(help->addAction(QStringLiteral("&About Orvane")), "mnuabout");
}

QGridLayout* MainWindow::addMemberFrame(const MemberFrameRows& m, QWidget* parent) {
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  QGroupBox* box = named(frame(m.name, QString::fromLatin1(m.title), parent), m.name);
  // The profile row stands above the grid of the fields, so that a long
  // designation widens the frame instead of the columns of the fields.
  auto* rows = new QVBoxLayout(box);
  rows->setContentsMargins(8, kFrameTop, 8, kFrameBottom);
  rows->setSpacing(kRowSpacing);
  auto* g = new QGridLayout;
  g->setContentsMargins(0, 0, 0, 0);
  g->setHorizontalSpacing(6);
  g->setVerticalSpacing(kRowSpacing);
  const QString profile = QStringLiteral("Profile:");
  auto* profileRow = new QHBoxLayout;
  profileRow->addWidget(m.profileCaption ? named(new QLabel(profile), m.profileCaption)
                                         : addLabel(profile, box));
  profileRow->addStretch(1);
  profileRow->addWidget(list(m.list));
  profileRow->addWidget(pictureButton(m.button, profileIcon(m.icon)));
  profileRow->addWidget(named(new QLabel, m.designation));
  rows->addLayout(profileRow);
  rows->addLayout(g);
  for (int row = 1; const MemberFrameRows::Field& f : m.fields) {
    g->addWidget(addLabel(QString::fromLatin1(f.caption), box), row, 0);
    g->addWidget(addLabel(QString::fromLatin1(f.symbol), box), row, 1, right);
    g->addWidget(addField(f.field), row, 2, Qt::AlignLeft);
    ++row;
  }
  QHBoxLayout* material =
      materialRow(addLabel(QStringLiteral("Material:"), box), list(m.materialList));
  material->addWidget(addLabel(QString::fromLatin1(m.materialSymbol), box));
  g->addLayout(material, 3, 0, 1, 2);
  g->addWidget(addField(m.materialField), 3, 2, Qt::AlignLeft);
  g->addWidget(addLabel(QStringLiteral("MPa"), box), 3, 3);
  g->setColumnStretch(0, 1);
  return g;
}

void MainWindow::buildInputFrames() {
  QWidget* central = form_;
  QGroupBox* fr10 = named(frame("fr10", QStringLiteral("Cylinder  "), central), "fr10");
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

  // General
  QGroupBox* fr110 = named(frame("fr110", QStringLiteral("General"), fr10), "fr110");
  QGridLayout* g = grid(fr110);
  g->addWidget(addLabel(QStringLiteral("Project name:"), fr110), 0, 0);
  QLineEdit* proj = addField("iproj");
  proj->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  proj->setMinimumWidth(0);
  proj->setMaximumWidth(QWIDGETSIZE_MAX);
  g->addWidget(proj, 0, 1);
  g->addWidget(addLabel(QStringLiteral("Identification:"), fr110), 1, 0);
  QLineEdit* ident = addField("iident");
  ident->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  ident->setMinimumWidth(0);
  ident->setMaximumWidth(QWIDGETSIZE_MAX);
  g->addWidget(ident, 1, 1);
  g->setColumnStretch(1, 1);

  // Geometry and plate material
  QGroupBox* fr112 =
      named(frame("fr112", QStringLiteral("Geometry/Plate material (mm, MPa)"), fr10), "fr112");
  g = grid(fr112);
  const char* const geometry[4][3] = {{"Cylinder radius (cL plate)", "r =", "icylr"},
                                      {"Cylinder wall thickness", "t =", "it"},
                                      {"Distance between ring frames", "l =", "il"},
                                      {"Youngs modulus", "E =", "ie"}};
  for (int row = 0; row < 4; ++row) {
    g->addWidget(addLabel(QString::fromLatin1(geometry[row][0]), fr112), row, 0);
    g->addWidget(addLabel(QString::fromLatin1(geometry[row][1]), fr112), row, 1, right);
    g->addWidget(addField(geometry[row][2]), row, 2, 1, 2, Qt::AlignLeft);
  }
  g->addLayout(materialRow(addLabel(QStringLiteral("Material:"), fr112), list("cbofyp", 14)), 4, 0);
  g->addWidget(addLabel(QStringLiteral("fyp:"), fr112), 4, 1, right);
  g->addWidget(addField("ifyp"), 4, 2, 1, 2, Qt::AlignLeft);
  g->setColumnStretch(0, 1);

  // Cylinder type and controls
  QGroupBox* fr111 =
      named(frame("fr111", QStringLiteral("Cylinder type and Controls"), fr10), "fr111");
  g = grid(fr111);
  const char* const types[4][2] = {{"cylinder0", "Cylinder "},
                                   {"cylinder1", "Ring stiffened "},
                                   {"cylinder2", "Stringer stiffened "},
                                   {"cylinder3", "Column buckling"}};
  for (int i = 0; i < 4; ++i)
    g->addWidget(named(new QRadioButton(QString::fromLatin1(types[i][1])), types[i][0], i < 3), i,
                 0);
  g->addWidget(named(new QCheckBox(QStringLiteral("Ringframe control")), "ring_ch"), 0, 1);
  g->addWidget(named(new QCheckBox(QStringLiteral("Heavy Ringframe control")), "hring_ch", false),
               1, 1);
  g->addWidget(named(new QCheckBox(QStringLiteral("Outside stiffening")), "Outside_ch"), 2, 1);
  QGroupBox* fr1111 = named(frame("fr1111", QStringLiteral("LRFD/WSD"), fr111), "fr1111");
  QGridLayout* f = grid(fr1111);
  auto* lrfd = named(new QRadioButton(QStringLiteral("LRFD")), "opt_lrfd");
  lrfd->setToolTip(QStringLiteral(" UFpermissible = 1.0 "));
  f->addWidget(lrfd, 0, 0);
  f->addWidget(named(new QRadioButton(QStringLiteral("WSD")), "opt_wsd"), 0, 1);
  auto* ufbLabel =
      named(new QLabel(QStringLiteral("Allowable Usage Factor UF =")), "text_ufb", false);
  f->addWidget(ufbLabel, 1, 0, 1, 2);
  f->addWidget(addField("iufb"), 1, 2);
  f->addWidget(pictureButton("cmd_lrfd", infoIcon()), 0, 3, 2, 1);
  f->addWidget(pictureButton("cmd_wsd", infoIcon()), 0, 3, 2, 1);
  f->setColumnStretch(1, 1);
  g->addWidget(fr1111, 4, 0, 1, 2);

  addMemberFrame(kStiffenerFrame, fr10);
  QGridLayout* ring = addMemberFrame(kRingFrame, fr10);
  auto* fabRow = new QHBoxLayout;
  auto* welded = named(new QRadioButton(QStringLiteral("Fabricated ring frame")), "ringfab0");
  welded->setToolTip(QStringLiteral(" Welded profile"));
  fabRow->addWidget(welded);
  fabRow->addWidget(named(new QRadioButton(QStringLiteral("Cold-formed ring frame")), "ringfab1"));
  fabRow->addStretch(1);
  fabRow->addWidget(pictureButton("Picture", ringFrameIcon()));
  ring->addLayout(fabRow, 4, 0, 1, 4);

  // Loading
  QGroupBox* fr123 = named(frame("fr123", QStringLiteral("Loading (MPa)"), fr10), "fr123");
  g = grid(fr123);
  g->addWidget(addLabel(QStringLiteral("Sigx ="), fr123), 0, 0, right);
  g->addWidget(addField("isigx"), 0, 1);
  g->addWidget(addLabel(QStringLiteral("Sigy="), fr123), 0, 2, right);
  g->addWidget(addField("isigy"), 0, 3);
  g->addWidget(addLabel(QStringLiteral("Tau ="), fr123), 1, 0, right);
  g->addWidget(addField("itau"), 1, 1);
  g->addWidget(addLabel(QStringLiteral("pd ="), fr123), 1, 2, right);
  g->addWidget(addField("ipp"), 1, 3);
  auto* sign = named(new QPushButton(QStringLiteral("+/-")), "Command3", false);
  sign->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("+/-")) + 16);
  g->addWidget(sign, 1, 4);
  auto* forces = named(new QPushButton(QStringLiteral("Forces...")), "cmdforces", false);
  forces->setToolTip(QStringLiteral(" Sigx and Tau from the section forces N, M1, M2, T, Q1, Q2 "));
  connect(forces, &QPushButton::clicked, this, &MainWindow::openForces);
  g->addWidget(forces, 0, 4);
  g->addWidget(named(new QLabel, "txt1", false), 2, 0, 1, 6);
  g->setColumnStretch(5, 1);

  buildColumnFrame(fr10);
  fr10->lower();
}

void MainWindow::buildColumnFrame(QWidget* fr10) {
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  QGroupBox* fr124 = frame("fr124", QStringLiteral("Column data"), fr10);
  QGridLayout* g = grid(fr124);
  auto row = [&](int r, int c, const char* caption, const char* field, const char* unit) {
    g->addWidget(addLabel(QString::fromLatin1(caption), fr124, false), r, c, right);
    g->addWidget(addField(field), r, c + 1);
    if (unit) g->addWidget(addLabel(QString::fromLatin1(unit), fr124, false), r, c + 2);
  };
  row(0, 0, "Column length L =", "icolL", "mm");
  row(1, 0, "Buckling length factor  k1 =", "ik1", nullptr);
  row(1, 3, "k2 =", "ik2", nullptr);
  row(2, 0, "N =", "inn", "kN");
  row(3, 0, "pd =", "ip", "MPa");
  row(4, 0, "M1a=", "im1a", "kNm");
  row(4, 3, "M1b =", "im1b", "kNm");
  row(5, 0, "M2a =", "im2a", "kNm");
  row(5, 3, "M2b =", "im2b", "kNm");
  QGroupBox* fr12 = frame("fr12", QStringLiteral("Dimensioning moments  for buckling"), fr124);
  QGridLayout* m = grid(fr12);
  m->addWidget(named(new QRadioButton(QStringLiteral("Maximum along the member")), "odmom1", false),
               0, 0);
  auto* reduced = named(new QRadioButton(QStringLiteral("Reduced value")), "odmom2", false);
  reduced->setToolTip(QStringLiteral(" Ref Norsok N-004, Table 6-2, Note 1 "));
  m->addWidget(reduced, 1, 0);
  g->addWidget(fr12, 6, 0, 1, 6);
  g->setColumnStretch(5, 1);
  g->setRowStretch(7, 1);
}

void MainWindow::buildResultFrames() {
  QWidget* central = form_;
  QGroupBox* fr20 = named(frame("fr20", QStringLiteral("Cylinder"), central), "fr20");
  sketch_ = named(new SketchBox(fr20), "pic20");

  const char* const frames[3][2] = {{"fr30", "Results Shell Buckling"},
                                    {"fr31", "Results Stiffener Buckling"},
                                    {"fr32", "Results Panel Ring Buckling"}};
  const char* const boxes[3] = {"pic30", "Pic31", "pic32"};
  for (int i = 0; i < 3; ++i) {
    QGroupBox* f =
        named(frame(frames[i][0], QString::fromLatin1(frames[i][1]), central), frames[i][0]);
    panels_[i] = named(new ResultPanel(QString::fromLatin1(boxes[i]), f), boxes[i]);
  }
  auto* ih =
      named(new QCheckBox(QStringLiteral("Special Calc. of Ih (ref ch 3.5.2.7)"), panels_[2]),
            "check_ih", false);
  ih->setToolTip(
      QStringLiteral(" If the cylinder is effectively supported at the ends, see also definition "
                     "of L "));
  ih->setAutoFillBackground(true);
  ih->setVisible(false);

  auto* test = named(new QLineEdit(central), "Test", false);
  test->setVisible(false);
}

}  // namespace orvane::ui
