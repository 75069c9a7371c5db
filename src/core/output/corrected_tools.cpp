#include "output/corrected_tools.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/tables.h"
#include "output/coordinate_files.h"
#include "view/surface.h"

namespace veltrano {

void drawcorrectedcoordsClick() {
  // The points come from the corrected copies, which survive the calculations
  // that clear the raw tables; a list extended by hand has no points behind
  // its extra lines, so the drawing stops at the last point there is.
  const int count = corrected_point_count();
  for (int k = 0; k < count; ++k)
    set_pixel(cam_to_pixel(corrected_x[k], corrected_y[k]), colour::dark_green);
}

void three_point_circle_radius(double x1, double y1, double x2, double y2, double x3, double y3) {
  // The formula squares the coordinates, which for a cam far beyond any real
  // size (or far below) leaves the range of a double and gave NaN. Divided by
  // a power of two near the largest coordinate, every step below rounds as
  // it did unscaled, so an ordinary cam gets the same digits as before.
  const double largest = std::max(
      {std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2), std::fabs(x3), std::fabs(y3)});
  const double scale = largest > 0 ? std::ldexp(1.0, std::ilogb(largest)) : 1;
  for (double* v : {&x1, &y1, &x2, &y2, &x3, &y3}) *v /= scale;
  const double x12 = x1 - x2, x13 = x1 - x3, y12 = y1 - y2, y13 = y1 - y3;
  const double y31 = y3 - y1, y21 = y2 - y1, x31 = x3 - x1, x21 = x2 - x1;
  const double sx13 = x1 * x1 - x3 * x3, sy13 = y1 * y1 - y3 * y3;
  const double sx21 = x2 * x2 - x1 * x1, sy21 = y2 * y2 - y1 * y1;
  const double f_denominator = 2 * (y31 * x12 - y21 * x13);
  const double g_denominator = 2 * (x31 * y12 - x21 * y13);
  // Collinear or coinciding points have no circle, whatever the numerators.
  if (f_denominator == 0 || g_denominator == 0) throw_division_by_zero();
  const double f = check_overflow((sx13 * x12 + sy13 * x12 + sx21 * x13 + sy21 * x13) / f_denominator);
  const double g = check_overflow((sx13 * y12 + sy13 * y12 + sx21 * y13 + sy21 * y13) / g_denominator);
  const double c = -x1 * x1 - y1 * y1 - 2 * g * x1 - 2 * f * y1;
  // r^2 is a difference of squares: below the rounding of the coordinates it
  // can come out a hair under 0, where the radius is 0 to that precision.
  const double r_squared = std::max(check_overflow(g * g + f * f - c), 0.0);
  const double r = check_overflow(std::sqrt(r_squared) * scale);
  form1.circleradius = format_general(r);
}

void findcircleClick() {
  const double value = std::trunc(form1.findcirclespin.value());
  const int n = corrected_count;
  // Before any equal-step pass every corrected point is 0: no circle.
  if (n == 0) throw_division_by_zero();
  if (!(value >= 0 && value < n))
    throw Error("There is no corrected point " + format_general(value) +
                ": the corrected list has points 0 to " + std::to_string(n - 1));
  const int a = static_cast<int>(value);
  // The contour is closed: the neighbours wrap around.
  const int before = (a + n - 1) % n, after = (a + 1) % n;
  three_point_circle_radius(corrected_x[before], corrected_y[before], corrected_x[a],
                            corrected_y[a], corrected_x[after], corrected_y[after]);
  const std::string old_text = form1.rotate.text;
  form1.rotate.set_value(a);
  if (form1.rotate.text != old_text) rotateChange();
  calculate_lobeClick();
}

}  // namespace veltrano
