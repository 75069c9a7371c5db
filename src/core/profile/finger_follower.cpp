// Finger follower: a lever swinging about a fixed hinge H = (C, 0), carrying a
// roller at distance P from the hinge and pressing on the valve at distance V.
// A valve lift is the chord through which the valve point moves; from it
// follow the swing of the lever, the roller centre and, from three successive
// roller centres, the normal of the roller-centre path and the contact point.
// Both finger kinds run this same calculation.
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
#include "profile/finger_follower.h"
#include "profile/sweep.h"
#include "view/surface.h"

namespace veltrano {

namespace {

double deg(double radians) { return rad_to_deg(radians); }
double rad(double degrees) { return deg_to_rad(degrees); }
double cos_deg(double degrees) { return std::cos(rad(degrees)); }
double sin_deg(double degrees) { return std::sin(rad(degrees)); }

// Arccosine, in degrees, of a ratio that stays within [-1, 1] in exact
// arithmetic; rounding may push it a hair beyond, which is clamped. NaN stays
// NaN.
double acos_deg(double ratio) {
  if (std::isnan(ratio)) return ratio;
  return deg(std::acos(std::clamp(ratio, -1.0, 1.0)));
}

}  // namespace

Finger read_finger() {
  return {ff_basecircle * 0.5, ff_rollerdiameter * 0.5, ff_camcenter_hinge,
          ff_rollercenter_hinge, ff_valvepoint_hinge, 0};
}

void solve_gamma0(Finger& f) {
  const double ratio =
      divide(check_overflow(f.P * f.P + f.C * f.C - (f.R + f.r) * (f.R + f.r)),
             check_overflow(2 * f.P * f.C));
  if (!std::isnan(ratio) &&
      !(std::fabs(f.P - f.C) <= f.R + f.r && f.R + f.r <= f.P + f.C))
    throw Error("The finger follower cannot touch the base circle: base circle radius plus "
                "roller radius (" + format_general(f.R + f.r) +
                " mm) must lie between the difference (" + format_general(std::fabs(f.P - f.C)) +
                " mm) and the sum (" + format_general(f.P + f.C) +
                " mm) of the roller centre and cam centre distances to the hinge");
  f.gamma0 = acos_deg(ratio);
}

Position solve_position(const Finger& f, double L, int sample) {
  Position p;
  const double ratio =
      divide(check_overflow(f.V * f.V + f.V * f.V - L * L), check_overflow(2 * f.V * f.V));
  if (!std::isnan(ratio) && !(std::fabs(L) <= 2 * std::fabs(f.V)))
    throw Error("The lift " + format_general(L) + " mm at sample " + std::to_string(sample) +
                " is more than twice the distance from the valve point to the hinge (" +
                format_general(2 * std::fabs(f.V)) + " mm): the finger cannot reach it");
  p.psi = acos_deg(ratio);
  p.gamma = f.gamma0 + p.psi;
  // Never below 0 but by rounding (it is (P - C)^2 at the least); NaN stays.
  const double D2 = check_overflow(f.P * f.P + f.C * f.C - 2 * f.P * f.C * cos_deg(p.gamma));
  p.D = std::sqrt(D2 < 0 ? 0.0 : D2);
  p.Q = acos_deg(divide(f.P * f.P + p.D * p.D - f.C * f.C, 2 * f.P * p.D));
  p.theta = (180 - p.Q) - p.gamma;
  return p;
}

double contact_angle_deg(double x, double y) {
  // At x = 0 the arctangent is taken at its limit from the side of positive
  // x, where the contact points lie: +-90 degrees by the sign of y, and 0 for
  // the cam centre itself.
  if (x == 0) return y > 0 ? 90 : y < 0 ? -90 : 0;
  return deg(std::atan(y / x));
}

namespace {

// Working lists of one run: the finger solved once per lift sample (each
// contour step uses three successive ones), and the contact points of the
// first pass.
Position solved[kSweepSteps + 2];
double contact_angle[4000];
double contact_radius[4000];

void draw_encirclement() {
  Finger f = read_finger();
  draw_base_circle(f.R, 0.1);
  solve_gamma0(f);
  for (double a = 0; a < 360; a += 1) {
    const int index = static_cast<int>(std::trunc(10 * a));
    const Position p = solve_position(f, lift_table[index], index);
    const double mx = -p.D * cos_deg(p.theta + a);
    const double my = p.D * sin_deg(p.theta + a);
    draw_circle_points(mx, my, f.r, 1, colour::grey);
  }
}

}  // namespace

void calculate_finger_follower() {
  Finger f = read_finger();

  // 1. Lift at the displayed "Rotate Cam" value (a whole number, so trunc(10 v)
  // is 10 trunc(v)); a value beyond the table is wrapped by whole turns, like
  // the rotation of the other followers.
  const int display_index = sample_at_degrees(form1.rotate.value());
  const double display_lift = lift_table[display_index];
  form1.liftedit = format_output(display_lift, 4);

  // 2. Base circle.
  draw_base_circle(f.R, 0.1);

  // 3. The finger at the displayed lift.
  solve_gamma0(f);
  const Pixel hinge = cam_to_pixel(f.C, 0);
  const Pixel valve_at_rest = cam_to_pixel(f.C + f.V, 0);
  move_to(to_pixel_coordinate(x_offset), to_pixel_coordinate(y_offset));
  set_pen_colour(colour::green);
  line_to(hinge);
  set_pen_colour(colour::lime);
  line_to(valve_at_rest);
  move_to(hinge);
  const Position d = solve_position(f, display_lift, display_index);
  set_pen_colour(colour::lime);
  line_to(cam_to_pixel(f.C + f.V * cos_deg(d.psi), f.V * sin_deg(d.psi)));
  set_pen_colour(colour::red);
  line_to(valve_at_rest);
  move_to(hinge);
  const double qx = d.D * cos_deg(d.theta), qy = -d.D * sin_deg(d.theta);
  set_pen_colour(colour::blue);
  line_to(cam_to_pixel(qx, qy));
  set_pen_colour(colour::silver);
  line_to(cam_to_pixel(0, 0));
  move_to(cam_to_pixel(qx, qy));
  const double lever = deg(std::atan2(qy, qx - f.C));
  set_pen_colour(colour::navy);
  line_to(cam_to_pixel(qx + f.r * cos_deg(lever + 270), qy + f.r * sin_deg(lever + 270)));
  draw_circle_points(qx, qy, f.r, 0.1, colour::yellow);

  // 4. First pass: the contact point of step i from samples i, i+1, i+2,
  // whose roller centres lie 0.1 degree of cam rotation apart. Both the
  // position and the contact point depend on their lifts only, and runs of
  // equal lifts (the base circle above all) are common: an unchanged input
  // takes the previous result.
  for (int i = 0; i < kSweepSteps + 2; ++i)
    solved[i] = i > 0 && lift_table[i] == lift_table[i - 1] ? solved[i - 1]
                                                             : solve_position(f, lift_table[i], i);
  const double cos01 = cos_deg(0.1), cos02 = cos_deg(0.2);
  for (sweep_index = 0; sweep_index < kSweepSteps; ++sweep_index) {
    const int i = sweep_index;
    if (i > 0 && lift_table[i] == lift_table[i - 1] && lift_table[i + 1] == lift_table[i] &&
        lift_table[i + 2] == lift_table[i + 1]) {
      contact_angle[i] = contact_angle[i - 1];
      contact_radius[i] = contact_radius[i - 1];
      continue;
    }
    const double D0 = solved[i].D, D1 = solved[i + 1].D, D2 = solved[i + 2].D;
    const double theta1 = solved[i + 1].theta;
    const double s01 = std::sqrt(D0 * D0 + D1 * D1 - 2 * D0 * D1 * cos01);
    const double s02 = std::sqrt(D0 * D0 + D2 * D2 - 2 * D0 * D2 * cos02);
    const double a = acos_deg(divide(D0 * D0 + s01 * s01 - D1 * D1, 2 * D0 * s01));
    const double b = acos_deg(divide(D1 * D1 + s01 * s01 - D0 * D0, 2 * D1 * s01));
    const double c = acos_deg(divide(D0 * D0 + s02 * s02 - D2 * D2, 2 * D0 * s02));
    const double delta = (90 - (a - c)) - b;
    const double beta = (90 - theta1) - delta;
    const double x = D1 * cos_deg(theta1) - f.r * sin_deg(beta);
    const double y = -D1 * sin_deg(theta1) + f.r * cos_deg(beta);
    contact_angle[i] = contact_angle_deg(x, y);
    contact_radius[i] = std::sqrt(x * x + y * y);
  }

  // 5. Second pass: each direction found in the fixed finger frame carried
  // into the turning cam by adding the cam angle.
  begin_sweep();
  double A = 180;
  for (int i = 0; i < kSweepSteps; ++i, A += 0.1, ++sweep_index) {
    const double Phi = rad(A + contact_angle[i]) + rotation_rad;
    contour_point(std::cos(Phi) * contact_radius[i], std::sin(Phi) * contact_radius[i]);
  }

  // 6. The raw count is shown after the equal-step pass, so it stays.
  start_equal_steps();
  show_raw_line_count();

  // 7. Encirclement.
  if (form1.drawencirclement) draw_encirclement();
}

}  // namespace veltrano
