// Tools on the corrected points of the last equal-step pass: plotting them
// over the drawing, and the local radius of the contour at a chosen point.
#pragma once

namespace veltrano {

// Sets the pixel of every corrected point dark green, unturned, over what is
// drawn.
void drawcorrectedcoordsClick();

// The radius of the circle through the corrected point chosen in
// "Find Cam Radius at:" and its two neighbours (around the closed contour)
// into circleradius; then "Rotate Cam" is set to the chosen value and the lobe
// recalculated.
void findcircleClick();

// Radius of the circle through three points into circleradius. Points on a
// straight line (or coinciding) are a division by zero.
void three_point_circle_radius(double x1, double y1, double x2, double y2, double x3, double y3);

}  // namespace veltrano
