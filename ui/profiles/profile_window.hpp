// The profile windows: one class that builds and runs any of the twenty
// windows from its description (ui/profiles/profile_forms.hpp).
//
// A window only edits ProjectState and shows the section the routines of
// the sections module compute. It is modeless and owned by the main window;
// it is destroyed when closed and its values live on in ProjectState, so a
// reopened window shows them again.
#pragma once

#include <QDialog>
#include <array>

#include "model/project_state.hpp"
#include "ui/profiles/profile_forms.hpp"
#include "ui/profiles/profile_host.hpp"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace orvane::ui {

class FieldEditor;
enum class Left;

class ProfileWindow final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ProfileWindow)

 public:
  ProfileWindow(const ProfileForm& form, ProfileHost& host);
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
  // Escape closes as the title bar's button does, with the unload cycle.
  void reject() override;

 private:
  class SectionEvents;

  void build();
  void load();
  QLineEdit* field(Dim d) const { return fields_[static_cast<size_t>(d)]; }
  Dim dimOf(const QLineEdit* e) const;
  Left fieldCycle(QLineEdit* e);
  bool reread(Dim d, const char* pattern, double limit, const char* message);
  void okClicked();
  void unloadCycle();
  void listClicked(int row);
  void runSection(bool report);

  bool isRingFrame() const { return form_.member == Member::RingFrame; }

  const ProfileForm& form_;
  ProfileHost& host_;
  ProjectState& ps_;
  FieldEditor* editor_ = nullptr;
  // the window's own controls; those its kind lacks stay null
  QComboBox* list_ = nullptr;
  QGroupBox* frame_ = nullptr;          // fr21, the profile's frame
  std::array<QLineEdit*, 7> fields_{};  // by Dim
  std::array<QLabel*, 7> dimLabels_{};  // by Dim
  QLabel *area_ = nullptr, *mass_ = nullptr, *iy_ = nullptr, *iz_ = nullptr;
  std::array<QLabel*, 5> lines_{};  // local-buckling lines by number
  bool loaded_ = false;
  bool closing_ = false;
};

// Opens the window of a stiffener (ring = false) or ring-frame type 0..9,
// or brings the open one to the front; one window per name. Null for a type
// outside 0..9.
ProfileWindow* showProfileWindow(ProfileHost& host, Member member, int type);

// The open profile window of that name, if any.
ProfileWindow* findProfileWindow(QWidget* owner, const char* name);

// Closes every open profile window of `owner` (each runs its close cycle).
void closeProfileWindows(QWidget* owner);

}  // namespace orvane::ui
