// The desktop program's command line:
//
//   orvane [FILE.cys] [--screenshot DIR]
//
// FILE is opened as File > Open opens it, so that a project given by the
// file manager (the desktop entry passes %f) shows on start.
#pragma once

#include <QString>
#include <QStringList>

namespace orvane::ui {

struct CommandLine {
  QString project;        // absolute path of FILE, or "" when none was given
  QString screenshotDir;  // "" when --screenshot was not given
  bool screenshot = false;
};

// `args` as QCoreApplication::arguments() gives them, the program first.
// The first argument that is neither an option nor an option's value names
// the project; any later one is ignored.
CommandLine parseCommandLine(const QStringList& args);

}  // namespace orvane::ui
