// The main window `orvane`: every input of a project, the sketch of the
// cylinder type and the three result panels.
//
// The window keeps no mode of its own: ProjectState says everything and
// refreshWindow() shows it. Controls carry their program names as
// objectName so that tests and the report can find them; the window itself
// finds each control once, when it is built, and uses the pointer after.
//
// Its code by responsibility:
//   main_window.cpp           start-up and close, the controls resolved
//   main_window_build.cpp     the menus, frames and controls created
//   main_window_layout.cpp    the frames placed by the geometry rules
//   main_window_fields.cpp    the edit cycle: leave, Enter, store
//   main_window_handlers.cpp  the mode rules: buttons, check boxes, lists
//   main_window_file.cpp      the file commands: New, Open, Save, recent
//   main_window_refresh.cpp   the controls and the result panels redrawn
//   main_window_status.cpp    the status line and what the report takes
//   main_window_cases.cpp     the load cases typed in and kept beside the file
//   main_window_forces.cpp    section forces turned into Sigx and Tau
//   main_window_periphery.cpp the Analysis, Print and Help menus
//   main_window_undo.cpp      Edit > Undo and Redo of the inputs
//   ../sheet/main_window_sheet.cpp  File > Calculation sheet...
#pragma once

#include <QHash>
#include <QList>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "core/calc_trace.hpp"
#include "files/recent_files.hpp"
#include "model/project_state.hpp"
#include "project/session.hpp"
#include "ui/main/field_table.hpp"
#include "ui/profiles/profile_host.hpp"
#include "ui/report/report.hpp"

class QAction;
class QWidget;
class QRadioButton;
class QPushButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QLockFile;
class QTimer;
class QMenuBar;
class QUndoStack;

namespace orvane::cases {
class CaseModel;
class CasesWindow;
}  // namespace orvane::cases

namespace orvane::ui {

class FieldEditor;
class ForcesDialog;
enum class Left;
struct MemberFrameRows;
class ResultPanel;
class SheetWindow;
class SketchBox;

struct WindowOptions {
  // Folder of DNVmat.dat and the profile tables; "" means data/ beside the
  // executable.
  QString dataFolder;
  // The recent-file store; null means the user's settings. Not owned.
  SettingsStore* settings = nullptr;
  // The user's number format, from which the decimal flag is found.
  QLocale locale;
  // Where unsaved work is kept against a crash (MainWindow::
  // defaultRecoveryFolder() for the program); "" keeps none.
  QString recoveryFolder;
};

class MainWindow final : public QMainWindow, public ProfileHost, private ProjectView {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(MainWindow)

 public:
  explicit MainWindow(const WindowOptions& options = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  ProjectState& state() override { return ps_; }
  int decimalFlag() const override { return decimalFlag_; }
  // Calculation runs started (successful or not) since start-up.
  int calculationRuns() const { return calcRuns_; }
  // Whether the last run completed; after a fault the panels keep the
  // results of the last complete run.
  bool lastRunComplete() const { return lastRunComplete_; }

  void refreshWindow();
  // CalcDriver and the panels; a calculation fault leaves the panels as
  // they were and says so in the status line until the next complete run.
  // Returns whether the run completed.
  bool calculate() override;

  // Runs the lost-focus steps of the field being edited, so that what is
  // saved, printed or shown elsewhere is what the field shows. False when
  // its text is not a number (the stored value is not what it shows).
  bool finishFieldEdit();

  // The status line: the fault line of a stopped calculation (red, empty
  // after a complete run) and the last notice (black).
  QString faultLine() const { return faultLine_; }
  QString notice() const { return notice_; }
  void showNotice(const QString& text);
  // The fault of the last calculation run, empty after a complete run.
  const std::optional<std::string>& lastFault() const { return session_.fault(); }

  // Puts a design's NAME=VALUE settings into the window as typed inputs:
  // an input with a field is typed into it and left (its tests, warnings
  // and calculation as when the user types it); others (profile choices)
  // are stored as `--set` stores them and shown, with one calculation run.
  // Returns the settings that were not taken, with their problems.
  QStringList typeInputs(const std::vector<std::string>& settings);

  // What the panels show: the project as the last complete run left it.
  std::shared_ptr<const ProjectState> lastComplete() const { return lastComplete_; }
  // The report as the window prints it: its pictures, number format and,
  // after a stopped calculation, the status line and the panels' results.
  ReportOptions reportOptions() const;

  // New, Open, Open Recent and closing the window first ask Save /
  // Discard / Cancel when the project or its load cases differ from the
  // file (isWindowModified(), the title's mark); Cancel, or a save that
  // fails or is cancelled, leaves everything as it was.
  void fileNew();
  void fileOpen();
  // File > Open without the dialog, as for a project named on the command
  // line: the same reading, closing steps, recent list and title.
  void openFile(const QString& path);
  void fileSave();
  // Save; whether the project and its load cases were written.
  bool saveProject();

  // The user's data folder's place for unsaved work.
  static QString defaultRecoveryFolder();
  // After each change the project and its load cases are kept there, some
  // kRecoveryDelayMs later (a burst of changes is written once); a clean
  // exit, a save or a discard removes them.
  static constexpr int kRecoveryDelayMs = 200;
  // At start-up: the newest work a window left there without saving or
  // discarding it (a crash) is offered; Yes restores it as unsaved work of
  // this window. Offered once either way. Returns whether it was restored.
  bool offerRecovery();
  void fileSaveAs();
  void openRecent(int item);
  QString dialogFolder() const { return dialogFolder_; }

  // File > Calculation sheet...: the sheet of the last run in its own
  // window, renewed after every run while it is open (ui/sheet/).
  void showSheet();
  SheetWindow* sheetWindow() const;
  // Where the result panels are on the screen: the program's other windows
  // open beside them where there is room.
  QRect resultArea() const;
  // The sheet of the last calculation run as HTML.
  QString sheetHtml() const;

  // Opens the profile window of a stiffener or ring-frame type.
  void openProfileWindow(Member member, int type);

  // The project's load cases (ui/main/main_window_cases.cpp): stored beside the
  // project file, run against the project after every calculation run.
  cases::CaseModel& loadCases() { return *cases_; }
  // Analysis > Load cases...: the one window of the cases.
  cases::CasesWindow* openLoadCases();
  // The values of case `row` go into the fields as if typed there, field
  // by field, each with its tests and warnings; a value the field does not
  // take stops there with the focus on that field. Inputs without a field
  // shown are stored as NAME=VALUE does. Returns whether every value was
  // taken.
  bool enterCase(int row);

  // The Loading frame's "Forces...": the dialog of section forces, open
  // beside the window (ui/main/main_window_forces.cpp); on OK its point's
  // stresses are typed into Sigx and Tau and the status line names the
  // angle taken.
  ForcesDialog* openForces();

  // Edit > Undo and Redo (ui/main/main_window_undo.cpp): every step that
  // changed inputs, whatever its road, with each changed input's old and
  // new value; New and Open clear it.
  struct InputChange {
    InputId input;
    double old, now;
  };
  QUndoStack* undoStack() const { return undo_; }
  // The step's values stored back (old, or new when `forward`) through the
  // session, then one calculation run.
  void applyChanges(const std::vector<InputChange>& changes, bool forward);
  void undoStep();
  void redoStep();

 signals:
  // A calculation run ended, complete or not: the project may have changed.
  void projectCalculated();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Events;

  // ProjectView: what the session asks of the window.
  void refreshed() override;
  void calculated(const std::optional<std::string>& fault) override;
  void dataFileProblem(const Error& error) override;

  // main_window.cpp
  // Every control the code below uses, found once by its objectName after
  // the window is built; no code finds a control by name after this.
  void resolveControls();
  // ProfileHost
  QWidget* hostWindow() override { return this; }
  QRect keepClear() const override { return resultArea(); }
  void showProfileType(Member member, ProfileType type) override;
  void showDesignation(Member member, const QString& text) override;
  Stored store(InputId input, double value) override {
    return session_.store(inputDef(input), value);
  }
  // main_window_build.cpp
  void buildMenus();
  void buildInputFrames();
  void buildColumnFrame(QWidget* fr10);
  void buildResultFrames();
  QGridLayout* addMemberFrame(const MemberFrameRows& rows, QWidget* parent);
  QLineEdit* addField(const char* name);
  QLabel* addLabel(const QString& caption, QWidget* parent, bool popup = true);
  // main_window_layout.cpp
  void placeFrames();
  void placeColumnFrame();
  void fitToScreen();
  // The least size at which no control clips or overlaps and every panel
  // shows all its lines; the form scrolls below it.
  int inputWidth(int leftWidth, int inner) const;
  QSize formMinimum(int top, int frameHeight, int leftWidth, int inner);
  int captionHeight() const;  // a frame's title above its panel
  // main_window_refresh.cpp
  void showMode();
  void fillMaterialLists();
  void fillProfileLists();
  void setTitle();
  void updatePanels();
  void showStrengths();
  // A designation from the section routines in the window's number format.
  QString designation(const std::string& text) const;
  // main_window_status.cpp
  void buildStatusLine();
  void setFaultLine(const QString& text);
  void updateStatusLine();
  // main_window_fields.cpp
  void startFieldEditor();
  Left lostFocus(QLineEdit* field);
  Left leaveNumeric(const InputDef& in, QLineEdit* field);
  std::optional<Stored> readAndStore(const InputDef& in, QLineEdit* field, Left& left);
  static QString rangeWarning(const InputDef& in);
  static QString caption(const InputDef& in);
  void enterPressed(QWidget* control);
  bool readFirst(const InputDef& in, QLineEdit* field);
  QLineEdit* fieldOfInput(InputId input) const;
  QLineEdit* fieldOfInput(const std::string& name) const;
  std::optional<std::string> storeSetting(const std::string& assignment);
  void setIdle(QLineEdit* field);
  // main_window_handlers.cpp
  void connectHandlers();
  // A button, check box or list choice: one step through the session
  // (stored with the input's rules, a run, the rules after the run).
  Stored choose(InputId input, int value);
  void materialChosen(InputId input, int index);
  void profileTypeChosen(Member member, int index);
  void cylinderTypeChosen(int type);
  void designFormatChosen(bool wsd);
  void signOfPressure();
  bool rightClick(QObject* watched, QEvent* event);
  // main_window_file.cpp
  void refreshRecentMenu();
  bool readAndOpen(const QString& path);
  bool writeTo(const QString& path);
  void finishOpening(const QString& folder);
  void openPath(const QString& path);
  // main_window_cases.cpp
  void readCasesBeside(const QString& projectPath);
  bool writeCasesBeside(const QString& projectPath);
  // main_window_forces.cpp: a load case's section forces as Sigx and Tau of
  // their governing point, typed into the fields; false when not taken.
  bool typeForces(const std::vector<std::string>& columns, const std::vector<std::string>& values);
  // main_window_guard.cpp
  std::string projectPrint() const;
  bool casesChanged() const;
  void markClean();   // the project and its cases are the file's
  void noteChange();  // the title's mark after a change
  bool keepWork();    // the question; true when the command may go on
  // main_window_undo.cpp
  using InputValues = std::array<double, kInputCount>;
  InputValues inputValues() const;
  void buildEditMenu(QMenuBar* bar);
  void requestStep();  // a step may have ended: compared once back in the event loop
  void recordStep();   // pushes what changed since the last step, if anything
  void resetHistory();
  void endStep();
  // main_window_recovery.cpp
  void startRecovery(const QString& folder);
  void keepRecovery(bool modified);
  void writeRecovery();
  void dropRecovery();
  bool restoreFrom(const QString& folder, const QString& origin, const QString& viewed);

  // The controls, typed, as resolveControls() finds them.
  struct Controls {
    std::array<QLineEdit*, kFieldCount> fields;  // by FieldId
    std::array<QRadioButton*, 4> cylinder;       // by cylinder type
    std::array<QRadioButton*, 2> ringfab, odmom;
    QPushButton *cmdpic_stiff, *cmdpic_gird, *cmd_lrfd, *Command3;
    QWidget *cmd_wsd, *fr110, *fr111, *fr112, *fr120, *fr121, *fr123, *fr124;
    QComboBox *cbofyp, *cbofys, *cbofyg, *cbostiff, *cboring;
    QLabel *stiffprof, *ringprof, *txt1, *text_ufb;
    QGroupBox *fr10, *fr20, *fr30, *fr31, *fr32;
    QCheckBox *check_ih, *hring_ch, *ring_ch, *Outside_ch;
    QRadioButton *opt_wsd, *opt_lrfd;
    QMenu *mnustiff, *mnuring;
  } ui_{};
  // The status line's two labels, made with it.
  QLabel *faultLabel_ = nullptr, *noteLabel_ = nullptr;
  // The list or check box of each input that has one, by InputId.
  std::array<QWidget*, kInputCount> inputControls_{};
  // Where Enter in a field or list goes: the first of these shown and
  // enabled (the field table's successors).
  QHash<const QWidget*, QList<QWidget*>> enterNext_;

  QLineEdit* field(FieldId id) const { return ui_.fields[static_cast<size_t>(id)]; }
  // The field's place in the field table, or none for another widget.
  std::optional<FieldId> fieldIdOf(const QObject* widget) const;
  // The control that shows an input: its field in the current mode, or its
  // list or check box.
  QWidget* widgetOf(InputId input) const;
  template <class T>
  T* controlOf(InputId input) const {
    return qobject_cast<T*>(widgetOf(input));
  }

  ProjectState ps_;
  std::unique_ptr<Events> events_;
  Session session_;
  CalcTrace trace_;  // every run of the session records here
  QPointer<SheetWindow> sheet_;
  std::unique_ptr<SettingsStore> ownSettings_;
  SettingsStore* settings_ = nullptr;
  RecentMenu recent_;
  QLocale locale_;
  int decimalFlag_ = 0;
  QString dataFolder_;
  QString dialogFolder_;
  QString workFolder_;  // the folder the last dialog left, as the process's
  int calcRuns_ = 0;
  bool lastRunComplete_ = false;
  FieldEditor* editor_ = nullptr;
  int labelCount_ = 0;
  int columnLabelCount_ = 0;

  QMenu* profilesMenu_ = nullptr;
  QList<QAction*> recentActions_;
  ResultPanel* panels_[3] = {};
  SketchBox* sketch_ = nullptr;
  QWidget* form_ = nullptr;  // everything below the menus, in a scroll area
  bool placing_ = false;
  int panelNeed_ = 0;  // height the longest panel drawing needs
  std::shared_ptr<const ProjectState> lastComplete_;
  QString faultLine_, notice_;
  std::unique_ptr<cases::CaseModel> cases_;
  QPointer<cases::CasesWindow> casesWindow_;
  QString casesFile_;                   // the load-case file read with the project, if any
  bool enteringCase_ = false;           // the cases wait for the last value of a row
  bool guarding_ = false;               // set once start-up is done
  std::string cleanProject_;            // projectPrint() as the file holds it
  bool cleanCasesEmpty_ = true;         // the file has no load cases
  QString recoveryRoot_, recoveryDir_;  // all windows' folders, this one's
  QTimer* recoveryTimer_ = nullptr;
  std::unique_ptr<QLockFile> recoveryLock_;  // held while this window's work is kept
  QUndoStack* undo_ = nullptr;
  InputValues stepBase_{};  // the inputs as the last step left them
  bool stepPending_ = false, applying_ = false;
};

// Print and Help menus, the picture buttons (ui/main/main_window_periphery.cpp).
void connectPeriphery(MainWindow& w);

}  // namespace orvane::ui
