#include "model/checked.hpp"

#include <array>
#include <cstdint>
#include <cstring>

namespace orvane::checked {

namespace {

// Direct-mapped tables of this thread's recent results of a function of
// the C library. Every entry holds arguments and the value the function
// gave for them (the start entries too: 1^1 = 1 and e^0 = 1), so whatever
// a table returns is what the function returns.
struct Entry {
  uint64_t x, y;
  double value;
};
template <int Bits>
using Table = std::array<Entry, size_t{1} << Bits>;

template <int Bits>
constexpr Table<Bits> filled(const Entry& start) {
  Table<Bits> t{};
  for (Entry& e : t) e = start;
  return t;
}

constexpr uint64_t kOneBits = 0x3FF0000000000000;  // 1.0

constinit thread_local Table<8> powers = filled<8>({kOneBits, kOneBits, 1.0});
constinit thread_local Table<4> exponentials = filled<4>({0, 0, 1.0});

uint64_t bitsOf(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

template <int Bits>
Entry& entryOf(Table<Bits>& table, uint64_t x, uint64_t y) {
  return table[((x ^ (y * 0xC2B2AE3D27D4EB4Full)) * 0x9E3779B97F4A7C15ull) >> (64 - Bits)];
}

// The work of a value not in its table, out of line so that a value found
// there costs a few instructions.
[[gnu::noinline]] double newPower(Entry& e, double x, double y) {
  e = Entry{bitsOf(x), bitsOf(y), std::pow(x, y)};
  return e.value;
}
[[gnu::noinline]] double newExponential(Entry& e, double x) {
  e = Entry{bitsOf(x), 0, std::exp(x)};
  return e.value;
}

}  // namespace

double power(double x, double y) {
  const uint64_t bx = bitsOf(x), by = bitsOf(y);
  Entry& e = entryOf<8>(powers, bx, by);
  return e.x == bx && e.y == by ? e.value : newPower(e, x, y);
}

double exponential(double x) {
  const uint64_t bx = bitsOf(x);
  Entry& e = entryOf<4>(exponentials, bx, 0);
  return e.x == bx && e.y == 0 ? e.value : newExponential(e, x);
}

}  // namespace orvane::checked
