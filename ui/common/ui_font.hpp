// The face every window is drawn in. A minimal system may answer a request
// for "sans-serif" with a monospace face, so the programs name their face
// instead of taking the system's default.
#pragma once

#include <QFont>

namespace orvane::ui {

// DejaVu Sans (the package depends on fonts-dejavu-core), or Liberation Sans
// where DejaVu is missing; 9 points.
QFont uiFont();

// Makes uiFont() the application font; call once after QApplication is built.
void useUiFont();

}  // namespace orvane::ui
