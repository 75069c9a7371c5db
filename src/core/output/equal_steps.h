// Equal-step coordinates: the raw contour points of a generate pass resampled
// to equal angular steps of 1, 0.5 or 0.1 degree, smoothed, and listed as X/Y
// lines or radius values.
#pragma once

namespace veltrano {

void generate_equal_steps();

}  // namespace veltrano
