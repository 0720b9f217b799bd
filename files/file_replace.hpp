// Safe replacement of a file on disk: the new bytes go to a temporary file
// beside it, synced, then renamed over it, so that a failure at any step
// leaves the old file as it was. An existing file's mode and owner pass on;
// a symbolic link stays and its target is replaced.
#pragma once

#include <filesystem>
#include <string_view>

#include "model/result.hpp"

namespace orvane {

Status replaceFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace orvane
