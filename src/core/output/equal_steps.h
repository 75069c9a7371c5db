// Equal-step coordinates: the raw contour points of a generate pass resampled
// to equal angular steps of 1, 0.5 or 0.1 degree, smoothed, and listed as X/Y
// lines or radius values. The corrected points stay in the raw tables and in
// corrected_x / corrected_y for drawing, the DXF file and the radius finder.
#pragma once

#include "output/smoothing_spline.h"

namespace veltrano {

// The main window's curve-fit component.
extern CurveFit sdlcurvefit;

void generate_equal_steps();

// Polar angle in degrees of a cam point measured from +y (straight down on
// the surface) in the sense of growing polar angles, rounded to four
// decimals: 0 to below 360, with the boundary cases of the rule (a point just
// right of the +y axis gets a hair below 0; one on the +x axis gets -90).
double corrected_angle(double x, double y);

}  // namespace veltrano
