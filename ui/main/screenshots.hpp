// Pictures of the window in each cylinder type, for the documentation and
// for looking at the layout without a screen.
#pragma once

#include <QString>

namespace orvane::ui {

class MainWindow;

// Writes mode0.png .. mode3.png into `folder`; the window is left in the
// last mode. Then cases.png, study.png and sheet.png of the Load cases, the
// Design study and the calculation sheet windows, and screen.png: the
// screen's free area with every window where it opened. Returns false when a file could not be
// written.
bool saveModeScreenshots(MainWindow& window, const QString& folder);

}  // namespace orvane::ui
