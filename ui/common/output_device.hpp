// Files the windows and orvane-report write (PDF, PNG, SVG, CSV) go through
// the one output writer (files/output_file.hpp): whole or not at all, mode
// and owner kept, a read-only or non-regular target refused, never an input.
#pragma once

#include <QIODevice>
#include <QString>
#include <filesystem>
#include <functional>
#include <vector>

namespace orvane::ui {

// Opens `path` through OutputFile, lets `write` fill a device over the
// temporary and commits it. Returns the problem as the user is shown it,
// empty when the file was written. `write` returns false when it could not
// paint or write.
QString writeOutput(const QString& path, const std::function<bool(QIODevice&)>& write,
                    const std::vector<std::filesystem::path>& inputs = {});

}  // namespace orvane::ui
