// The window's status line: a stopped calculation in red, and notices of
// what a mode change did to the inputs. Hidden while it has nothing to say,
// so that it takes no room from the form.
#include <QLabel>
#include <QStatusBar>

#include "ui/cases/case_model.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui {

void MainWindow::buildStatusLine() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusline"));
  bar->setSizeGripEnabled(false);
  auto* fault = faultLabel_ = new QLabel(bar);
  fault->setObjectName(QStringLiteral("calcfault"));
  QPalette red = fault->palette();
  red.setColor(QPalette::WindowText, QColor(128, 0, 0));
  fault->setPalette(red);
  QFont bold = fault->font();
  bold.setBold(true);
  fault->setFont(bold);
  auto* note = noteLabel_ = new QLabel(bar);
  note->setObjectName(QStringLiteral("statusnote"));
  bar->addWidget(fault);
  bar->addWidget(note, 1);
  updateStatusLine();
}

void MainWindow::setFaultLine(const QString& text) {
  if (text == faultLine_) return;
  faultLine_ = text;
  updateStatusLine();
}

void MainWindow::showNotice(const QString& text) {
  notice_ = text;
  updateStatusLine();
}

void MainWindow::updateStatusLine() {
  faultLabel_->setText(faultLine_);
  faultLabel_->setVisible(!faultLine_.isEmpty());
  noteLabel_->setText(notice_);
  noteLabel_->setVisible(!notice_.isEmpty());
  statusBar()->setVisible(!faultLine_.isEmpty() || !notice_.isEmpty());
}

ReportOptions MainWindow::reportOptions() const {
  ReportOptions options = defaultReportOptions();
  options.decimalComma = decimalFlag_ != 0;
  if (!faultLine_.isEmpty()) {
    options.calculationStopped = faultLine_;
    options.lastComplete = lastComplete_;
  }
  if (cases_->readOnly())
    options.cases = cases_->reportOfFile();  // over every row of the long file
  else if (!cases_->table().empty())
    options.cases = std::make_shared<const cases::CaseReport>(
        cases::caseReport(OpenedProject{.state = ps_, .fault = session_.fault()}, cases_->table()));
  return options;
}

}  // namespace orvane::ui
