#include "output/equal_steps.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "app/errors.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"

namespace veltrano {

CurveFit sdlcurvefit;

namespace {

constexpr int kFineSamples = 35991;  // ten per raw step, both ends included

struct StepTable {
  double step;
  int window_factor;
  int count;
  double smoothing_factor;
};

StepTable step_table(int mode) {
  switch (mode) {
    case 0: return {1.0, 10, 360, 1};
    case 1: return {0.5, 5, 720, 0.85};
    default: return {0.1, 1, 3600, 150};
  }
}

// Nearest multiple of 0.0001, half-way cases to even (of the scaled value).
double round4(double v) { return std::nearbyint(v * 10000.0) / 10000.0; }

// The window a fine sample falls into: trunc(angle x 10), -1 for none.
int window_code(double angle) {
  const double code = std::trunc(angle * 10);
  return code >= 0 && code < 3600 ? static_cast<int>(code) : -1;
}

// Fills fine_table[j] for j = 0..35990 with the interpolating spline through
// (10 i, raw[i]).
void interpolate_finely(const double* raw, double* fine_table) {
  sdlcurvefit.Init();
  for (int i = 0; i < kSweepSteps; ++i) sdlcurvefit.EnterStatValue(10.0 * i, raw[i]);
  sdlcurvefit.SetSplineSmoothing(0);
  for (int j = 0; j < kFineSamples; ++j) fine_table[j] = sdlcurvefit.SmoothedSpline(j);
}

void smooth(double* table, int n, double s) {
  sdlcurvefit.Init();
  for (int k = 0; k < n; ++k) sdlcurvefit.EnterStatValue(k, table[k]);
  sdlcurvefit.SetSplineSmoothing(s);
  for (int k = 0; k < n; ++k) table[k] = sdlcurvefit.SmoothedSpline(k);
}

// For a step whose window no fine sample reaches: the fine sample whose angle
// lies nearest to the nominal angle around the circle, the first in sweep
// order on a tie. An empty window would otherwise put a point on the cam
// centre, which the grinder would cut into the cam.
class NearestSample {
 public:
  int find(double nominal) {
    if (sorted_.empty()) sort_samples();
    if (sorted_.empty()) return -1;  // no sample with an angle at all
    const double target = std::fmod(nominal, 360.0);
    // First entry at or above the target, and the one before it (wrapping).
    auto above = std::lower_bound(sorted_.begin(), sorted_.end(), std::make_pair(target, -1));
    if (above == sorted_.end()) above = sorted_.begin();
    auto below = above == sorted_.begin() ? sorted_.end() - 1 : above - 1;
    below = first_of_run(below);
    int best = -1;
    double best_distance = 0;
    for (auto it : {above, below}) {
      const double d = circular_distance(it->first, target);
      if (best < 0 || d < best_distance || (d == best_distance && it->second < best)) {
        best = it->second;
        best_distance = d;
      }
    }
    return best;
  }

 private:
  static double circular_distance(double a, double b) {
    const double d = std::fabs(a - b);
    return std::fmin(d, 360 - d);
  }
  // Equal angles sort by sweep order; the first of a run is the earliest.
  std::vector<std::pair<double, int>>::iterator first_of_run(
      std::vector<std::pair<double, int>>::iterator it) {
    while (it != sorted_.begin() && (it - 1)->first == it->first) --it;
    return it;
  }
  void sort_samples() {
    sorted_.reserve(kFineSamples);
    for (int j = 0; j < kFineSamples; ++j) {
      double a = std::fmod(fine_angle[j], 360.0);
      if (a < 0) a += 360;
      if (!(a >= 0 && a < 360)) continue;  // not a number
      sorted_.emplace_back(a, j);
    }
    std::sort(sorted_.begin(), sorted_.end());
  }
  std::vector<std::pair<double, int>> sorted_;
};

}  // namespace

double corrected_angle(double x, double y) {
  double a = round4(std::atan2(y, x) * 180 / pi);
  if (y < 0) a += 360;
  if (x > 0.001 && y > 0) a += 360;
  return round4(a - 90);
}

void generate_equal_steps() {
  // 1. Set-up.
  const bool subtract = form1.subtractbasecircle;
  const int kind = form1.type_select;
  const double base_radius = (kind == 2 || kind == 3 ? ff_basecircle : basecircle) * 0.5;
  const double s0 = form1.smoothres.value();
  // The fine tables are written whole below 35991 before anything reads them,
  // and nothing ever writes beyond; the corrected copies are cleared where
  // the last pass left points and this one leaves none (step 8). So the five
  // tables end as if cleared here, without rewriting 1.6 MB per pass.
  corrected_count = 0;

  // 2. Fine interpolation through the raw points; then the raw tables take the
  // corrected points.
  interpolate_finely(raw_x, fine_x);
  interpolate_finely(raw_y, fine_y);
  for (double* t : {raw_angle, raw_x, raw_y}) std::fill_n(t, kTableSize, 0.0);

  // 3. Polar angle of every fine sample.
  for (int j = 0; j < kFineSamples; ++j) fine_angle[j] = corrected_angle(fine_x[j], fine_y[j]);

  // 4. Equal steps: the first fine sample in sweep order of each window, all
  // found in one pass.
  const StepTable table = step_table(spacing_mode);
  const int n = table.count;
  static int first_in_window[3600];
  std::fill(std::begin(first_in_window), std::end(first_in_window), -1);
  for (int j = 0; j < kFineSamples; ++j) {
    const int code = window_code(fine_angle[j]);
    if (code >= 0 && first_in_window[code] < 0) first_in_window[code] = j;
  }
  NearestSample nearest;
  double nominal = 0;
  for (int k = 0; k < n; ++k, nominal += table.step) {
    int j = first_in_window[k * table.window_factor];
    if (j < 0) j = nearest.find(nominal);
    raw_angle[k] = nominal;
    if (j >= 0) {
      raw_x[k] = fine_x[j];
      raw_y[k] = fine_y[j];
    }
  }

  // 5. Smoothing; the first and last 30 steps keep their picked points.
  const double s = 1e-9 * s0 * table.smoothing_factor;
  double kept_x[60], kept_y[60];
  for (int k = 0; k < 30; ++k) {
    kept_x[k] = raw_x[k];
    kept_y[k] = raw_y[k];
    kept_x[30 + k] = raw_x[n - 30 + k];
    kept_y[30 + k] = raw_y[n - 30 + k];
  }
  smooth(raw_x, n, s);
  smooth(raw_y, n, s);
  for (int k = 0; k < 30; ++k) {
    raw_x[k] = kept_x[k];
    raw_y[k] = kept_y[k];
    raw_x[n - 30 + k] = kept_x[30 + k];
    raw_y[n - 30 + k] = kept_y[30 + k];
  }

  // 6. Listing, all lines at once.
  std::vector<std::string> lines(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    std::string& line = lines[static_cast<std::size_t>(k)];
    if (add_degree_numbers == 1) {
      append_output(line, raw_angle[k], 3);
      line += "   ";
    }
    if (radius_values == 1) {
      double r = std::sqrt(check_overflow(raw_x[k] * raw_x[k] + raw_y[k] * raw_y[k]));
      if (r < base_radius) r = base_radius;
      if (subtract) r -= base_radius;
      append_output(line, r, 8);
    } else {
      append_output(line, raw_x[k], 8);
      line += "   ";
      append_output(line, raw_y[k], 8);
      if (add_z == 1) {
        line += "   ";
        append_output(line, 0.0, 2);
      }
    }
  }
  std::vector<std::string> all = form1.XYequalcoordinates.lines();
  all.insert(all.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
  form1.XYequalcoordinates.assign(std::move(all));

  // 7. and 8. The count, and the corrected points that outlive the next
  // calculation.
  const int count = form1.XYequalcoordinates.count();
  form1.calclines = format_int(count);
  const int copied = std::min(count, kTableSize);
  std::copy_n(raw_x, copied, corrected_x);
  std::copy_n(raw_y, copied, corrected_y);
  static int corrected_extent = kFineTableSize;  // entries that may hold old points
  if (corrected_extent > copied) {
    std::fill(corrected_x + copied, corrected_x + corrected_extent, 0.0);
    std::fill(corrected_y + copied, corrected_y + corrected_extent, 0.0);
  }
  corrected_extent = copied;
  corrected_count = std::min(count, n);
}

}  // namespace veltrano
