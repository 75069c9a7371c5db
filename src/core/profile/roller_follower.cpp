#include "app/errors.h"
#include "profile/calculators.h"

namespace veltrano {

void calculate_roller_follower() {
  throw Error("The roller follower cannot be calculated in this version yet");
}

}  // namespace veltrano
