// Pictures of the window in each cylinder type, for the documentation and
// for looking at the layout without a screen.
#pragma once

#include <QString>

namespace orvane::ui {

class MainWindow;

// Writes mode0.png .. mode3.png into `folder`; the window is left in the
// last mode. Returns false when a file could not be written.
bool saveModeScreenshots(MainWindow& window, const QString& folder);

}  // namespace orvane::ui
