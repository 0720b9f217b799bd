// Where a window of the program opens: fully on the screen of the window it
// belongs to and, where the screen has room, beside what it should not cover
// (the main window's result panels) rather than over it.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace orvane::ui {

// The window manager's frame around a top-level window; before the window
// is first shown its size is not known, and a usual frame is assumed.
QMargins frameMargins(const QWidget* window);

// Sizes `window` (a top-level window not shown yet, at its preferred size,
// framed as `owner` is) to fit the free area of `owner`'s screen and moves it beside `owner`, or
// else beside `keepClear` (global coordinates), or else centred on `owner`.
// It never leaves the free area of the screen.
void placeBeside(QWidget* window, const QWidget* owner, const QRect& keepClear = {});

}  // namespace orvane::ui
