// Flat-faced tappet driven through a rocker: the contour is the envelope of
// the tappet face, whose foot lies at base radius plus cam lift and which the
// cam touches at the lift speed (mm per radian) from the tappet axis.
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

void calculate_flat_tappet() {
  const double R = basecircle * 0.5;
  draw_base_circle(R, 0.1);

  check_rocker_ratio();
  begin_sweep();
  for (double a = 90; a < 450 && sweep_index < kSweepSteps; a += 0.1, ++sweep_index) {
    const double t = a * pi / 180;
    const int i = sweep_index;
    const double s = divide(lift_table[i], rockerratio);
    const double r = check_overflow(R + s);
    const double v = divide(divide(slope_table[i], rockerratio), pi / 180);
    const double phi = t + rotation_rad;
    const double x = r * std::cos(phi) - v * std::sin(phi);
    const double y = r * std::sin(phi) + v * std::cos(phi);
    contour_point(x, y);
  }
  finish_sweep();

  const int k10 = follower_sample_index();
  const double s = divide(lift_table[k10], rockerratio);
  const double r = check_overflow(R + s);

  set_pen_colour(colour::yellow);
  const double xL = x_offset + zoom * (-flatfollower * 0.5);
  const double xR = x_offset + zoom * (flatfollower * 0.5);
  const double yF = y_offset + zoom * (-r);
  move_to(to_pixel_coordinate(xL), 0);
  line_to(to_pixel_coordinate(xL), to_pixel_coordinate(yF));
  line_to(to_pixel_coordinate(xR), to_pixel_coordinate(yF));
  line_to(to_pixel_coordinate(xR), 0);
  set_pen_colour(colour::black);

  form1.liftedit = format_output(s, 4);

  const double v = divide(divide(slope_table[k10], rockerratio), pi / 180);
  const double xM = x_offset + zoom * v;
  set_pen_colour(colour::magenta);
  move_to(to_pixel_coordinate(xM), to_pixel_coordinate(yF - 15));
  line_to(to_pixel_coordinate(xM), to_pixel_coordinate(yF + 15));
  set_pen_colour(colour::black);

  form1.flatdistedit = format_output(v, 4);
  form1.flatdistdiamedit = format_output(v * 2, 4);
}

}  // namespace veltrano
