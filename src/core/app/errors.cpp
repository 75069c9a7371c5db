#include "app/errors.h"

#include <cmath>

namespace veltrano {

double divide(double numerator, double denominator) {
  if (denominator == 0.0 && numerator != 0.0 && !std::isnan(numerator))
    throw Error(kDivisionByZero);
  return check_overflow(numerator / denominator);
}

double check_overflow(double value) {
  if (std::isinf(value)) throw Error(kOverflow);
  return value;
}

std::string error_display_text(const std::string& message) {
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

}  // namespace veltrano
