// The profile windows: one class that builds and runs any of the twenty
// windows from its description (ui/profile_forms.hpp).
//
// A window only edits ProjectState and shows the section the routines of
// the sections module compute. It is modeless and owned by the main window;
// it is destroyed when closed and its values live on in ProjectState, so a
// reopened window shows them again.
#pragma once

#include <QDialog>
#include <functional>

#include "model/project_state.hpp"
#include "ui/profile_forms.hpp"

class QComboBox;
class QLabel;
class QLineEdit;

namespace orvane::ui {

// What a profile window needs from the window that owns it. The lists
// `cbostiff`/`cboring` and the labels `stiffprof`/`ringprof` are found among
// the owner's children by name.
struct ProfileHost {
  QWidget* owner = nullptr;
  ProjectState* state = nullptr;
  int decimalFlag = 0;
  // CalcDriver, guarded, followed by the result panels.
  std::function<bool()> calculate;
};

class ProfileWindow final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ProfileWindow)

 public:
  ProfileWindow(const ProfileForm& form, ProfileHost host);
  ~ProfileWindow() override;

  const ProfileForm& form() const { return form_; }
  bool closing() const { return closing_; }

  // Makes the window's type current, calculates and shows the section; runs
  // whenever the window becomes the active one.
  void activate();
  // Shows the stored dimensions and the section the routines compute for
  // this window's type.
  void refresh();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class SectionEvents;

  void build();
  void load();
  QLineEdit* field(Dim d) const;
  QLabel* label(const char* name) const;
  void gotFocus(QLineEdit* e);
  void fieldCycle(QLineEdit* e, Dim d);
  void okClicked();
  void unloadCycle();
  void listClicked(int row);
  void runSection(bool report);
  void setMainListIndex();

  const ProfileForm& form_;
  ProfileHost host_;
  ProjectState& ps_;
  QComboBox* list_ = nullptr;
  bool busy_ = false;  // a cycle runs: the focus moves it causes start none
  bool loaded_ = false;
  bool closing_ = false;
};

// Opens the window of a stiffener (ring = false) or ring-frame type 0..9,
// or brings the open one to the front; one window per name. Null for a type
// outside 0..9.
ProfileWindow* showProfileWindow(const ProfileHost& host, bool ring, int type);

// The open profile window of that name, if any.
ProfileWindow* findProfileWindow(QWidget* owner, const char* name);

// Closes every open profile window of `owner` (each runs its close cycle).
void closeProfileWindows(QWidget* owner);

}  // namespace orvane::ui
