// The calculation: from the lift lines of the memo to the centred lift and
// slope tables, the view and rotation values of the run, and the calculator of
// the selected follower kind.
#pragma once

namespace veltrano {

// One whole calculation, started by "Calculate Cam lobe", by a change of
// "Rotate Cam" with "Auto upd.", by a generate pass and by the radius finder.
void calculate_lobeClick();

// Reads the memo into lift_input (sample_count lines), with the conversion
// error for a line that is not a number. Used by the calculation and the inch
// conversion.
void read_lift_lines();

// The entry of lift_table at a cam angle: 10 x trunc(degrees). An angle that
// would take it outside the table is wrapped by whole turns, so a follower
// always stands on the contour.
int sample_at_degrees(double degrees);

// The entry the flat tappet, roller and knife edge stand on at the current
// rotation: sample_at_degrees(floor(peak_index / 10) - rotation_deg).
int follower_sample_index();

}  // namespace veltrano
