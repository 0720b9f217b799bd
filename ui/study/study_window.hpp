// The Design study window `frmstudy` (Analysis > Design study...): how the
// usage factors move with one or two inputs of the current project, and
// the lightest design of a grid of free inputs that passes.
//
// Modeless and owned by the main window, one at a time. The sweep runs
// again in the background whenever the project is calculated or a range
// changes; typing in the main window never waits for it and a result that
// a newer run overtook is dropped. The window computes nothing itself:
// every number comes from the study core (project/study.hpp).
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "project/study.hpp"
#include "ui/study/background.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class QTableWidget;
class QTabWidget;

namespace orvane::ui {

class ChartWidget;
class MainWindow;
namespace study {
class PointsModel;
}

class StudyWindow final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(StudyWindow)

 public:
  explicit StudyWindow(MainWindow& owner);
  ~StudyWindow() override;
  // Shows the owner's study window, made on first use.
  static StudyWindow* open(MainWindow& owner);

  // The last sweep shown; none before the first arrives.
  std::shared_ptr<const SweepResult> sweepResult() const { return sweep_; }
  std::shared_ptr<const OptimiseResult> optimiseResult() const { return optimum_; }
  // Whether a sweep or search is under way whose result is not shown yet.
  bool sweepPending() const { return sweepJobs_.busy() || timer_.isActive(); }
  bool searchPending() const { return searchJobs_.busy(); }

  // The window's sweep limit: a chart of more points says nothing more.
  static constexpr uint64_t kMaxPoints = 100'000;

 private:
  // `name` lists the inputs by what the user reads ("Shell thickness t
  // [mm]"), each item holding the input's `--set` name as its data.
  struct RangeRow {
    QComboBox* name;
    QLineEdit *from, *to, *step;
  };
  static void fillInputs(QComboBox* list, const QString& current,
                         const std::vector<std::string>& names);
  static QString inputOf(const QComboBox* list);

  // study_window.cpp: the sweep tab
  QWidget* buildSweepTab();
  RangeRow addRangeRow(QWidget* parent, int index);
  void presetRange(const RangeRow& row);
  std::optional<StudyRange> readRange(const RangeRow& row, QString& problem) const;
  void scheduleSweep();
  void runSweep();
  void sweepDone(Result<SweepResult>& result, std::optional<double> current);
  void showSweepProblem(const QString& text);
  void exportChart();
  void exportPoints();
  QString text(double value) const;  // a number in the user's format

  // study_optimise.cpp: the optimise tab
  QWidget* buildOptimiseTab();
  void addFreeRow(const QString& name);
  std::optional<OptimiseSpec> readSpec(QString& problem) const;
  // `again`: after a change of the project, with the inputs of the last
  // search (the tab's controls may be half edited).
  void runSearch(bool again);
  void searchDone(Result<OptimiseResult>& result, const OptimiseSpec& search);
  void applyDesign();

  MainWindow& owner_;
  QTabWidget* tabs_ = nullptr;
  // sweep
  RangeRow ranges_[2] = {};
  QCheckBox* second_ = nullptr;
  QLabel* sweepStatus_ = nullptr;
  ChartWidget* chart_ = nullptr;
  QTableView* table_ = nullptr;
  study::PointsModel* points_ = nullptr;
  QTimer timer_;
  std::shared_ptr<const SweepResult> sweep_;
  // optimise
  QTableWidget* free_ = nullptr;
  QComboBox *freeStiff_ = nullptr, *freeRing_ = nullptr;
  QSpinBox* top_ = nullptr;
  QPushButton* search_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* searchStatus_ = nullptr;
  QTableWidget* designs_ = nullptr;
  std::shared_ptr<const OptimiseResult> optimum_;
  std::optional<OptimiseSpec> searched_;  // searched again when the project changes

  // last: its jobs stop and deliver nothing once the window goes
  Background sweepJobs_{this};
  Background searchJobs_{this};
};

}  // namespace orvane::ui
