// Roller follower on a straight axis that may stand beside the cam centre by
// the follower offset. The roller centre rides at height D0 + lift; the contact
// point leans from straight below the roller centre by the pressure angle.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "profile/calculators.h"
#include "profile/roller_follower.h"
#include "profile/sweep.h"
#include "view/surface.h"

namespace veltrano {

namespace {

// Working lists of one run, filled by the first pass and read by the second.
double contact_distance[kSweepSteps];
double normal_lean[kSweepSteps];
double centre_height[kSweepSteps];    // Y_i
double centre_distance[kSweepSteps];  // Rp_i

double deg(double radians) { return rad_to_deg(radians); }
double rad(double degrees) { return deg_to_rad(degrees); }

// asin of a ratio that can exceed 1 only by rounding (|e| <= Rp always).
double asin_clamped(double v) { return std::asin(std::clamp(v, -1.0, 1.0)); }

}  // namespace

Colour contact_line_colour(double pressure_angle) {
  return pressure_angle < -30 || pressure_angle > 30 ? colour::red : colour::lime;
}

void calculate_roller_follower() {
  const double R = basecircle * 0.5;
  const double rr = rollerdiameter * 0.5;
  const double e = follower_offset;
  // Without a positive reach no offset is small enough, and the message below
  // would read "between --4 and -4".
  if (!(R + rr > 0))
    throw Error("The base circle radius plus the roller radius (" + format_general(R + rr) +
                " mm) must be greater than 0");
  // The roller cannot touch the base circle from an axis this far out.
  if (!(std::fabs(e) < R + rr))
    throw Error("The follower offset " + format_general(e) +
                " mm is too large: it must lie strictly between -" + format_general(R + rr) +
                " and " + format_general(R + rr) +
                " mm (base circle radius plus roller radius)");

  draw_base_circle(R, 0.2);

  set_pen_colour(colour::grey);
  move_to(to_pixel_coordinate(x_offset), 0);
  line_to(to_pixel_coordinate(x_offset), kSurfaceSize);
  set_pen_colour(colour::black);

  const double D0 = std::sqrt((R + rr) * (R + rr) - e * e);
  const int k10 = follower_sample_index();
  check_rocker_ratio();
  const double s = divide(lift_table[k10], rockerratio);
  form1.liftedit = format_output(s, 4);

  // The roller, always drawn at the top whatever the rotation.
  const double Y = check_overflow(D0 + s);
  draw_circle_points(e, -Y, rr, 0.2, colour::yellow);
  move_to(cam_to_pixel(e, -Y));
  const double w = divide(divide(slope_table[k10], rockerratio), pi / 180);
  const double Rp = std::sqrt(check_overflow(Y * Y + e * e));
  const double delta = asin_clamped(divide(e, Rp));
  const double beta = divide(w, Rp);
  const double P = deg(delta) - deg(beta);
  set_pen_colour(contact_line_colour(P));
  line_to(cam_to_pixel(e - rr * std::sin(rad(P)), -Y + rr * std::cos(rad(P))));
  set_pen_colour(colour::black);
  form1.attackangleedit = format_output(P, 4);

  // First pass: distance of each contact point from the cam centre and the
  // lean of its normal.
  for (sweep_index = 0; sweep_index < kSweepSteps; ++sweep_index) {
    const int i = sweep_index;
    const double s_i = divide(lift_table[i], rockerratio);
    const double w_i = divide(divide(slope_table[i], rockerratio), pi / 180);
    const double Y_i = check_overflow(D0 + s_i);
    const double Rp_i = std::sqrt(check_overflow(Y_i * Y_i + e * e));
    const double delta_i = asin_clamped(divide(e, Rp_i));
    const double beta_i = divide(w_i, Rp_i);
    const double P_i = delta_i - beta_i;
    const double cx = e - rr * std::sin(P_i);
    const double cy = -Y_i + rr * std::cos(P_i);
    contact_distance[i] = std::sqrt(check_overflow(cx * cx + cy * cy));
    normal_lean[i] = beta_i;
    centre_height[i] = Y_i;
    centre_distance[i] = Rp_i;
  }

  // Second pass: the contact points carried into the turning cam. The cam
  // stands turned by phi for sample i; the roller centre lies at polar angle
  // phi - 90 + delta, the contact point psi short of it.
  begin_sweep();
  double phi = 180;
  for (int i = 0; i < kSweepSteps; ++i, phi -= 0.1, ++sweep_index) {
    const double Y_i = centre_height[i];
    const double Rp_i = centre_distance[i];
    const double delta_deg = deg(std::atan(divide(e, Y_i)));
    const double b = normal_lean[i];
    const double psi = deg(std::atan(divide(rr * std::sin(b), Rp_i - rr * std::cos(b))));
    const double theta = rad(phi - psi - (90 - delta_deg));
    contour_point(contact_distance[i] * std::cos(theta + rotation_rad),
                  contact_distance[i] * std::sin(theta + rotation_rad));
  }
  finish_sweep();
}

}  // namespace veltrano
