// The File menu's print command: the printer dialog, then the report once
// per copy, each copy its own document.
#pragma once

#include <functional>

#include "model/project_state.hpp"
#include "ui/report/report.hpp"

class QPrinter;
class QWidget;

namespace orvane::ui {

// Shows the dialog for `printer`; false when the user cancelled.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;
bool runPrintDialog(QPrinter& printer, QWidget* parent);

// Prints `copies` separate documents of the report's pages. A printer that writes files
// gets one file per copy: the chosen name for the first and "-2", "-3", ...
// before the extension for the others. Returns the documents completed;
// a printer error ends printing quietly.
int printCopies(QPrinter& printer, const ProjectState& ps, int copies,
                const ReportOptions& options);

// The whole command; Cancel prints nothing and says nothing.
int printProject(QWidget* parent, const ProjectState& ps,
                 const PrintDialogRunner& runDialog = runPrintDialog,
                 const ReportOptions& options = defaultReportOptions());

}  // namespace orvane::ui
