#include "model/checked.hpp"

#include <array>
#include <cstdint>
#include <cstring>

namespace orvane::checked {

namespace {

// A direct-mapped table of this thread's recent powers. Every entry holds
// arguments and the value std::pow gave for them (the start value 1^1 = 1
// is one too), so whatever it returns is what std::pow returns.
struct PowerEntry {
  uint64_t x, y;
  double value;
};
constexpr int kPowerBits = 8;

constexpr uint64_t kOneBits = 0x3FF0000000000000;  // 1.0

uint64_t bitsOf(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

constexpr std::array<PowerEntry, size_t{1} << kPowerBits> startTable() {
  std::array<PowerEntry, size_t{1} << kPowerBits> t{};
  for (PowerEntry& e : t) e = PowerEntry{kOneBits, kOneBits, 1.0};
  return t;
}

constinit thread_local std::array<PowerEntry, size_t{1} << kPowerBits> table = startTable();

}  // namespace

double power(double x, double y) {
  const uint64_t bx = bitsOf(x), by = bitsOf(y);
  PowerEntry& e =
      table[((bx ^ (by * 0xC2B2AE3D27D4EB4Full)) * 0x9E3779B97F4A7C15ull) >> (64 - kPowerBits)];
  if (e.x != bx || e.y != by) e = PowerEntry{bx, by, std::pow(x, y)};
  return e.value;
}

}  // namespace orvane::checked
