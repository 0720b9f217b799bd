// What a profile window needs from the window that owns it, and nothing
// more: the project, the number format, the calculation, and the two places
// of the owner that show the current profile (the type list and the
// designation label).
#pragma once

#include <QRect>
#include <QString>

#include "model/codes.hpp"
#include "model/project_state.hpp"
#include "project/inputs.hpp"

class QWidget;

namespace orvane::ui {

class ProfileHost {
 public:
  // The window the profile windows belong to and open beside.
  virtual QWidget* hostWindow() = 0;
  // What a profile window should not cover where there is room (the result
  // panels), in global coordinates.
  virtual QRect keepClear() const = 0;
  virtual ProjectState& state() = 0;
  virtual int decimalFlag() const = 0;
  // CalcDriver, guarded, followed by the result panels.
  virtual bool calculate() = 0;
  // A value of an input stored as the main window stores one (its test and
  // clamp, no run).
  virtual Stored store(InputId input, double value) = 0;
  // The owner's type list shows `type` (no handler runs).
  virtual void showProfileType(Member member, ProfileType type) = 0;
  // The owner's designation label of the stiffener or the ring frame.
  virtual void showDesignation(Member member, const QString& text) = 0;

 protected:
  ~ProfileHost() = default;
};

}  // namespace orvane::ui
