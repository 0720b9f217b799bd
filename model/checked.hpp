// Checked arithmetic for the calculation routines.
//
// An arithmetic fault (division by zero, square root or fractional power of a
// negative number, an overflow, a non-finite result, an index outside a fixed
// array) ends the current calculation run: the helpers below throw CalcFault,
// and the values stored before the fault stay in ProjectState.
#pragma once

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace orvane {

class CalcFault : public std::runtime_error {
 public:
  explicit CalcFault(const std::string& what) : std::runtime_error(what) {}
};

namespace checked {

inline constexpr const char* kDivZero = "division by zero";
inline constexpr const char* kNegSqrt = "square root of a negative number";
inline constexpr const char* kNegPow = "fractional power of a negative number";
inline constexpr const char* kOverflow = "overflow";
inline constexpr const char* kIndex = "subscript out of range";

[[noreturn]] inline void fault(const char* what) { throw CalcFault(what); }

// A double result must be finite.
inline double fin(double x) {
  if (!std::isfinite(x)) fault(kOverflow);
  return x;
}
inline float fin(float x) {
  if (!std::isfinite(x)) fault(kOverflow);
  return x;
}

// Store into a Single: round to float; an overflow is a fault.
inline float sgl(double x) {
  if (!std::isfinite(x)) fault(kOverflow);
  const float f = static_cast<float>(x);
  if (!std::isfinite(f)) fault(kOverflow);
  return f;
}

// a / b in the precision of the operands: single when both are single (or
// a single and an integer), double as soon as a double takes part.
template <typename A, typename B>
inline auto dv(A a, B b) {
  using R =
      std::conditional_t<std::is_integral_v<A> && std::is_integral_v<B>, double, decltype(a / b)>;
  if (b == 0) fault(a == 0 ? kOverflow : kDivZero);
  return fin(static_cast<R>(static_cast<R>(a) / static_cast<R>(b)));
}

// Square roots are always taken in double precision.
inline double csqrt(double x) {
  if (x < 0.0) fault(kNegSqrt);
  return fin(std::sqrt(x));
}

// std::pow(x, y) and std::exp(x), bit for bit. The runs of a search over
// one row's points differ in their loads only, so most powers and
// exponentials of a run (those of the geometry) come again and again: small
// tables of this thread's recent results give them back without working
// them out anew.
double power(double x, double y);
double exponential(double x);

// x^y in double precision; a negative base with a fractional power faults.
inline double cpow(double x, double y) {
  if (x < 0.0 && y != std::floor(y)) fault(kNegPow);
  if (x == 0.0 && y < 0.0) fault(kDivZero);
  return fin(power(x, y));
}

inline double cexp(double x) { return fin(exponential(x)); }

// 16-bit integer index into a fixed array of n entries.
inline int index(int i, int n) {
  if (i < 0 || i >= n) fault(kIndex);
  return i;
}

}  // namespace checked
}  // namespace orvane
