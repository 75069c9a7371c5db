#include "app/errors.h"
#include "profile/calculators.h"

namespace veltrano {

void calculate_finger_follower() {
  throw Error("The finger followers cannot be calculated in this version yet");
}

}  // namespace veltrano
