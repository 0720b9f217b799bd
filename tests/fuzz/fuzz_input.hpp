// The loaders read files: a fuzz input is written to a scratch file first.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::fuzz {

inline std::filesystem::path scratchFile(const uint8_t* data, size_t size, const char* name) {
  static const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orvane_fuzz_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto path = dir / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace orvane::fuzz
