// Knife-edge (point) follower on the axis through the cam centre: the contour
// is the lift curve laid around the base circle, each sample on its own radius.
#include <cmath>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "profile/calculators.h"
#include "profile/sweep.h"
#include "view/surface.h"

namespace veltrano {

void calculate_knife_edge() {
  const double R = basecircle * 0.5;
  draw_base_circle(R, 0.1);

  check_rocker_ratio();
  begin_sweep();
  for (double a = 90; a < 450 && sweep_index < kSweepSteps; a += 0.1, ++sweep_index) {
    const double t = a * pi / 180;
    const double s = divide(lift_table[sweep_index], rockerratio);
    const double r = check_overflow(R + s);
    const double phi = t + rotation_rad;
    contour_point(r * std::cos(phi), r * std::sin(phi));
  }
  finish_sweep();

  const int k10 = follower_sample_index();
  const double s = divide(lift_table[k10], rockerratio);
  const double r = check_overflow(R + s);

  set_pen_colour(colour::yellow);
  move_to(to_pixel_coordinate(x_offset), 5);
  line_to(to_pixel_coordinate(x_offset), to_pixel_coordinate(y_offset + zoom * (-r)));
  set_pen_colour(colour::black);

  form1.liftedit = format_output(s, 4);
}

}  // namespace veltrano
