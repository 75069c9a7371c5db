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

// The raw line count into "Lines calculated".
void show_raw_line_count();
// End of a sweep as the flat tappet, roller and knife edge have it: the raw
// line count, then spacing_mode and the equal-step pass where one is due.
void finish_sweep();

}  // namespace veltrano
