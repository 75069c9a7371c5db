// The one error type of the program. Whatever leaves a handler is shown to the
// user by the error display with this text (plus a full stop when missing).
#pragma once

#include <cmath>
#include <stdexcept>
#include <string>

namespace veltrano {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kOverflow = "Floating point overflow";

[[noreturn]] void throw_division_by_zero();
[[noreturn]] void throw_overflow();

// Throws the overflow error when a value computed from finite input became
// infinite.
inline double check_overflow(double value) {
  if (std::isinf(value)) throw_overflow();
  return value;
}

// Quotient with the floating-point faults of the program made explicit: a
// finite non-zero number over zero is a division-by-zero error, 0/0 is NaN, a
// finite quotient that does not fit a double is an overflow.
inline double divide(double numerator, double denominator) {
  if (denominator == 0.0 && numerator != 0.0 && !std::isnan(numerator))
    throw_division_by_zero();
  return check_overflow(numerator / denominator);
}

// The text the error display shows: the message, followed by a full stop
// unless it already ends in one.
std::string error_display_text(const std::string& message);

}  // namespace veltrano
