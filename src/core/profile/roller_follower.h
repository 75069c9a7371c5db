// Roller follower details that the drawing shows.
#pragma once

#include "view/surface.h"

namespace veltrano {

// The contact line is lime while the pressure angle (degrees) lies within
// plus or minus 30 inclusive, red beyond.
Colour contact_line_colour(double pressure_angle);

}  // namespace veltrano
