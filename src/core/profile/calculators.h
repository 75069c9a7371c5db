// One calculator per follower kind. Each reads the centred lift tables, the
// run values and the follower parameters, draws base circle, contour and
// follower, fills its result fields and, in a generate pass, records every
// contour point and starts the equal-step generator.
#pragma once

namespace veltrano {

void calculate_flat_tappet();
void calculate_roller_follower();
void calculate_finger_follower();  // both finger kinds
void calculate_knife_edge();

}  // namespace veltrano
