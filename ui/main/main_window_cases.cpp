// The project's load cases in the main window: the Analysis menu's window,
// a case's values typed into the fields, and the load-case file beside the
// project file.
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include "project/member_forces.hpp"
#include "ui/cases/case_model.hpp"
#include "ui/cases/cases_window.hpp"
#include "ui/common/field_edit.hpp"
#include "ui/common/message_box.hpp"
#include "ui/common/placement.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui {

namespace {

std::filesystem::path local(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

cases::CasesWindow* MainWindow::openLoadCases() {
  if (!casesWindow_) {
    cases::CasesWindow::Host host;
    host.enterRow = [this](int row) { enterCase(row); };
    host.folder = [this] { return dialogFolder_; };
    casesWindow_ = new cases::CasesWindow(*cases_, std::move(host), this);
    casesWindow_->setFont(font());
    placeBeside(casesWindow_, this, resultArea());
  }
  casesWindow_->show();
  casesWindow_->raise();
  casesWindow_->activateWindow();
  return casesWindow_;
}

bool MainWindow::enterCase(int row) {
  const cases::CaseTable& table = cases_->table();
  if (row < 0 || row >= static_cast<int>(table.rows.size())) return false;
  if (!finishFieldEdit()) return false;
  // the row's texts: the table may change while the fields are left
  const cases::CaseRow values = table.rows[static_cast<size_t>(row)];
  const std::vector<std::string> columns = table.columns;

  const bool forces = cases_->forces();
  enteringCase_ = true;
  bool taken = true;
  // Inputs without a field first (lists, options, profile dimensions, or a
  // field the mode hides): they may change what the fields are.
  std::vector<std::pair<QLineEdit*, QString>> typed;
  bool stored = false;
  for (size_t i = 0; i < columns.size() && taken; ++i) {
    const std::string& text = values.values[i];
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    if (forces && isForceName(columns[i])) continue;  // typed as Sigx and Tau below
    QLineEdit* field = fieldOfInput(columns[i]);
    if (field && field->isVisibleTo(this) && field->isEnabled()) {
      typed.emplace_back(field, QString::fromStdString(text));
      continue;
    }
    if (auto problem = storeSetting(columns[i] + "=" + text)) {
      MessageBox::warn(this, QString::fromStdString(*problem));
      taken = false;
    }
    stored = true;
  }
  if (stored) refreshWindow();
  editor_->setBusy(true);
  for (const auto& [field, text] : typed) {
    if (!taken) break;
    if (!field->isVisibleTo(this)) continue;  // hidden by a list value of the row
    // a cell is written with a decimal point; the field reads the user's
    // separator, as the user would type it
    QString shown = text.trimmed();
    if (decimalFlag_ != 0) shown.replace(QLatin1Char('.'), QLatin1Char(','));
    field->setText(shown);
    if (lostFocus(field) != Left::Taken) {
      taken = false;
      activateWindow();
      field->setFocus(Qt::OtherFocusReason);
      editor_->setBusy(false);
      editor_->settle(field);
    }
  }
  editor_->setBusy(false);
  if (taken && forces) taken = typeForces(columns, values.values);
  if (stored && typed.empty()) calculate();
  enteringCase_ = false;
  cases_->setBase(ps_, session_.fault());
  return taken;
}

// A damaged load-case file is said, and the project opens without cases.
void MainWindow::readCasesBeside(const QString& projectPath) {
  const QString path = QString::fromStdString(cases::loadCasesPath(projectPath.toStdString()));
  casesFile_.clear();
  if (!QFileInfo::exists(path)) {
    cases_->clear(ps_);
    return;
  }
  // a table too long to edit opens as a view of the file
  const Status opened = cases_->openFile(local(path));
  if (!opened) {
    cases_->clear(ps_);
    MessageBox::warn(this, QStringLiteral("The load cases were not read: ") +
                               QString::fromStdString(opened.error().text()));
    return;
  }
  casesFile_ = path;
}

// Written when the project has cases; a project whose cases were all
// deleted loses the file it was opened with.
bool MainWindow::writeCasesBeside(const QString& projectPath) {
  const QString path = QString::fromStdString(cases::loadCasesPath(projectPath.toStdString()));
  if (cases_->table().empty()) {
    if (path == casesFile_) QFile::remove(path);
    casesFile_.clear();
    return true;
  }
  // the view of a long file holds only its first rows: the file is copied,
  // or already is the one beside the project
  std::error_code same;
  if (cases_->readOnly() && std::filesystem::equivalent(cases_->viewedFile(), local(path), same)) {
    casesFile_ = path;
    return true;
  }
  const Status written = cases_->readOnly() ? cases::copyCases(cases_->viewedFile(), local(path))
                                            : cases::writeCases(local(path), cases_->table());
  if (!written) {
    MessageBox::warn(this, QStringLiteral("The load cases were not saved: ") +
                               QString::fromStdString(written.error().text()));
    return false;
  }
  casesFile_ = path;
  return true;
}

}  // namespace orvane::ui
