#include "app/errors.h"

#include <cmath>

namespace veltrano {

void throw_division_by_zero() { throw Error(kDivisionByZero); }

void throw_overflow() { throw Error(kOverflow); }

std::string error_display_text(const std::string& message) {
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

}  // namespace veltrano
