// The first stage of coordinate output: every contour point of a generate pass
// is filed in the raw point tables with its polar angle and listed as one line
// of the raw coordinate list.
#pragma once

namespace veltrano {

// Polar angle of the first point of the current generate pass; every raw angle
// is measured from it.
extern double first_angle;
extern int first_angle_set;

// Files (x, y) under slot sweep_index and appends its line to XYcoordinates.
void record_raw_point(double x, double y);

// Starts the angle column afresh; called at the start of every generate pass,
// so the same pass on the same data always lists the same angles.
void reset_first_angle();

}  // namespace veltrano
