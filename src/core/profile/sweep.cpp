#include <cmath>
#include <string>

#include "app/errors.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "output/equal_steps.h"
#include "output/raw_recorder.h"
#include "profile/calculators.h"
#include "profile/sweep.h"
#include "view/surface.h"

namespace veltrano {

namespace {
int points_not_numbers = 0;
int first_point_not_number = -1;
}  // namespace

void check_rocker_ratio() {
  if (rockerratio == 0) throw_division_by_zero();
}

void begin_sweep() {
  sweep_index = 0;
  points_not_numbers = 0;
  first_point_not_number = -1;
}

void contour_point(double x, double y) {
  check_overflow(x);
  check_overflow(y);
  if (std::isnan(x) || std::isnan(y)) {
    // 0/0 somewhere upstream: such a point is neither drawn nor recorded.
    if (points_not_numbers++ == 0) first_point_not_number = sweep_index;
    return;
  }
  set_pixel(cam_to_pixel(x, y), colour::white);
  if (generate_mode == 1) record_raw_point(x, y);
}

void check_sweep_complete() {
  // A generate pass with holes in its contour would hand the spline fits and
  // the files points that were never computed.
  if (generate_mode == 1 && points_not_numbers > 0)
    throw Error(std::to_string(points_not_numbers) +
                " contour points are not numbers (the first at step " +
                std::to_string(first_point_not_number) +
                "); check the follower settings. No coordinates were generated");
}

void show_raw_line_count() { form1.calclines = format_int(form1.XYcoordinates.count()); }

namespace {
void equal_steps_where_due() {
  spacing_mode = form1.XYspacing;
  if (generate_mode == 1 && spacing_mode != 3) generate_equal_steps();
}
}  // namespace

void start_equal_steps() {
  check_sweep_complete();
  equal_steps_where_due();
}

void finish_sweep() {
  check_sweep_complete();
  show_raw_line_count();
  equal_steps_where_due();
}

}  // namespace veltrano
