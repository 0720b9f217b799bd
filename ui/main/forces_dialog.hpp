// The Loading frame's "Forces..." dialog: the section forces of a member
// (N, M1, M2, T, Q1, Q2) and where around the circumference to take the
// stresses: each check's governing point, or a fixed angle. It lists every
// shown check's point as the project layer finds it (project/forces_entry)
// and, on OK, leaves the point to enter; the main window types its stresses
// into the Sigx and Tau fields.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "model/result.hpp"
#include "project/forces_entry.hpp"
#include "project/opened_project.hpp"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace orvane::ui {

// A stored stress as a field takes it: the shortest text that reads back
// as the stored single value, in the window's number format.
QString stressText(double stored, int decimalFlag);
// "theta = 123.4 deg (governing point, stiffener)", "... (fixed angle)".
QString forcePointText(const ForcesEntry& entry, int decimalFlag);

class ForcesDialog final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ForcesDialog)

 public:
  // `base`: the project as the window holds it; `decimalFlag`: the
  // window's number format (its fields' reading).
  ForcesDialog(OpenedProject base, int decimalFlag, QWidget* parent);

  // The point of the forces as shown: none while a field is no number or
  // the run ends in a fault or an input error.
  const std::optional<ForcesEntry>& entry() const { return entry_; }
  // The stresses as the fields take them: the shortest texts that read
  // back as the stored single values, in the window's number format.
  QString sigxText() const;
  QString tauText() const;
  // "theta = 123.4 deg (governing point, stiffener)"
  QString pointText() const;

 private:
  void update();
  QString number(double value, const char* pattern) const;

  OpenedProject base_;
  int decimalFlag_ = 0;
  std::array<QLineEdit*, 6> forces_{};
  QLineEdit* theta_ = nullptr;
  QRadioButton *governing_ = nullptr, *fixed_ = nullptr;
  QTableWidget* points_ = nullptr;
  QLabel* result_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::optional<ForcesEntry> entry_;
};

}  // namespace orvane::ui
