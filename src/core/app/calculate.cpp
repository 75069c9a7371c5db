#include "app/calculate.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/tables.h"
#include "profile/calculators.h"
#include "view/surface.h"

namespace veltrano {

void read_lift_lines() {
  const TextList& memo = form1.inputdata;
  if (memo.count() > kTableSize)
    throw Error("The lift data has " + std::to_string(memo.count()) +
                " lines; at most " + std::to_string(kTableSize) + " lift values can be used");
  sample_count = memo.count();
  // "Auto upd." recalculates on every turn of "Rotate Cam" with the same
  // memo: its numbers are read once per content and separator. A memo that
  // fails to read is read again each time, so the error and the samples read
  // before it are always those of this run.
  static std::vector<double> values;
  static unsigned long values_revision = 0;
  static char values_separator = 0;
  static bool values_valid = false;
  if (values_valid && values_revision == memo.revision() &&
      values_separator == system_decimal_separator) {
    std::copy(values.begin(), values.end(), lift_input);
    return;
  }
  values_valid = false;
  for (int i = 0; i < sample_count; ++i) lift_input[i] = str_to_float(memo[i]);
  values.assign(lift_input, lift_input + sample_count);
  values_revision = memo.revision();
  values_separator = system_decimal_separator;
  values_valid = true;
}

namespace {

// The first sample strictly greater than the running maximum that starts at 0;
// -1 when no sample is above 0.
int first_peak(const double* table, int begin, int end) {
  double highest = 0;
  int index = -1;
  for (int i = begin; i < end; ++i) {
    if (table[i] > highest) {
      highest = table[i];
      index = i;
    }
  }
  return index;
}

// Lays the curve into lift_table and slope_table with sample p at index 1800.
// Samples that would fall outside the tables are dropped when they are all 0
// (lift tables often end in a long base-circle section); otherwise the curve
// cannot be centred and is refused, since any other choice would change the
// cam.
void centre_curve(int p) {
  const int n = sample_count;
  const int shift = kPeakIndex - p;
  for (int i = 0; i < n; ++i) {
    const int target = shift + i;
    if (target >= 0 && target < kTableSize) continue;
    if (lift_input[i] != 0.0)
      throw Error("The highest lift is at sample " + std::to_string(p) + " of " +
                  std::to_string(n) + "; centred at 1800, sample " + std::to_string(i) +
                  " (lift " + format_general(lift_input[i]) +
                  ") falls outside the table. At most 1800 samples may come before the "
                  "highest lift and at most 3200 from it on (" +
                  std::to_string(std::max(0, -shift)) + " to " +
                  std::to_string(std::min(n - 1, kTableSize - 1 - shift)) + " fit here)");
  }
  const int first = std::max(0, -shift);
  const int last = std::min(n, kTableSize - shift);
  for (int i = first; i < last; ++i) {
    lift_table[shift + i] = lift_input[i];
    slope_table[shift + i] = slope_input[i];
  }
}

}  // namespace

int sample_at_degrees(double degrees) {
  double k = std::trunc(degrees);
  if (!(k * 10 >= 0 && k * 10 < kTableSize)) {
    k = std::fmod(k, 360.0);
    if (k < 0) k += 360;
  }
  return static_cast<int>(k) * 10;
}

int follower_sample_index() {
  return sample_at_degrees(std::floor(peak_index / 10) - rotation_deg);
}

void calculate_lobeClick() {
  // 1. Clear the tables.
  for (double* t : {lift_input, slope_input, lift_table, slope_table, raw_angle, raw_x, raw_y})
    std::fill_n(t, kTableSize, 0.0);
  // 2. Blank the result fields.
  form1.liftedit.clear();
  form1.flatdistedit.clear();
  form1.flatdistdiamedit.clear();
  form1.attackangleedit.clear();
  // 3. Background.
  if (form1.repaintchk) fill_rectangle(0, 0, kSurfaceSize, kSurfaceSize, colour::black);
  // 4. View values.
  x_offset = form1.X_move.value();
  y_offset = form1.Y_move.value();
  zoom = to_pixel_coordinate(form1.zoomfactor.value());
  // 5. The roller offset lives in the roller dialog's field.
  follower_offset = form5.follower_offset.value();
  // 6. Rotation.
  rotation_deg = form1.rotate.value() - 180;
  if (!form1.clockwiserotation) rotation_deg = -rotation_deg;
  if (generate_mode == 1) rotation_deg = 0;
  rotation_rad = deg_to_rad(rotation_deg);
  // 7. Read the lift lines.
  read_lift_lines();
  const int n = sample_count;
  // 8. Reverse for a clockwise cam.
  if (form1.clockwiserotation) {
    std::copy_n(lift_input, n, reverse_scratch);
    for (int i = 0; i < n; ++i) lift_input[i] = reverse_scratch[n - 1 - i];
  }
  // 9. Slopes and first peak. With 5000 samples the entry after the last one
  // lies beyond the table and counts as 0, as for any shorter curve.
  for (int i = 0; i < n; ++i) {
    const double next = i + 1 < kTableSize ? lift_input[i + 1] : 0.0;
    slope_input[i] = check_overflow((next - lift_input[i]) * 10);
  }
  // A curve with no sample above 0 has no peak. It is laid in unshifted
  // (sample i at index i), which is where a 3600-sample table of a full turn
  // belongs; a result then never depends on what an earlier run left behind.
  const int p = first_peak(lift_input, 0, n);
  peak_index = p >= 0 ? p : kPeakIndex;
  // 10. Centre.
  centre_curve(peak_index);
  // 11. Second peak search: 1800 whenever a sample is above 0.
  const int centred = first_peak(lift_table, 0, kTableSize);
  if (centred >= 0) peak_index = centred;
  // 12. Dispatch.
  switch (form1.type_select) {
    case 0: calculate_flat_tappet(); break;
    case 1: calculate_roller_follower(); break;
    case 2:
    case 3: calculate_finger_follower(); break;
    case 4: calculate_knife_edge(); break;
    default: break;
  }
}

}  // namespace veltrano
