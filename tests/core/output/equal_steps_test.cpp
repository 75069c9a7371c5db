#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/handlers.h"
#include "app/numbers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "output/equal_steps.h"

using namespace veltrano;

namespace {

void generate(int follower, int spacing) {
  form1.type_select = follower;
  form1.XYspacing = spacing;
  genXYcoordClick();
}

// The window search as a plain search per step: the first fine sample in
// sweep order whose window code is k x m, or -1.
int first_sample_in_window(int code) {
  for (int j = 0; j < 35991; ++j)
    if (std::trunc(fine_angle[j] * 10) == code) return j;
  return -1;
}

}  // namespace

TEST(CorrectedAngle, MeasuredFromStraightDownWithItsBoundaryCases) {
  struct Case {
    double x, y, angle;
  };
  const Case cases[] = {
      {0, 14, 0},             // straight down
      {-14, 0, 90},           // left
      {0, -14, 180},          // up
      {14, 1e-9, 270},        // right, just below the axis
      {14, 0, -90},           // exactly on +x: no window
      {10, 10, 315},
      {-10, 10, 45},
      {0.001, 14, -0.0041},   // x up to 0.001 counts as the left half
      {0.0005, 14, -0.002},   // a hair below 0, rounded to four decimals
      {-10, -10, 135},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    EXPECT_NEAR(corrected_angle(c.x, c.y), c.angle, 1e-9);
  }
}

TEST(EqualSteps, LineCountsAndTheDegreeColumn) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.adddegreenumbers = true;
  struct Case {
    int follower, spacing, lines;
    const char* second_angle;
    const char* calclines;
  };
  const Case cases[] = {
      {0, 0, 360, "1,000   ", "360"},  {0, 1, 720, "0,500   ", "720"},
      {0, 2, 3600, "0,100   ", "3600"}, {1, 0, 360, "1,000   ", "360"},
      {4, 1, 720, "0,500   ", "720"},  {2, 0, 360, "1,000   ", "3600"},  // raw count stays
  };
  FormCreate();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.follower) + "/" + std::to_string(c.spacing));
    generate(c.follower, c.spacing);
    ASSERT_EQ(form1.XYequalcoordinates.count(), c.lines);
    EXPECT_EQ(form1.XYequalcoordinates[0].substr(0, 8), "0,000   ");
    EXPECT_EQ(form1.XYequalcoordinates[1].substr(0, 8), c.second_angle);
    EXPECT_EQ(form1.calclines, c.calclines);
    EXPECT_EQ(corrected_count, c.lines);
  }
  // Raw spacing makes no corrected list at all.
  generate(0, 3);
  EXPECT_EQ(form1.XYequalcoordinates.count(), 0);
  EXPECT_EQ(form1.calclines, "3600");
}

TEST(EqualSteps, OnePassPicksTheFirstSampleOfEveryWindow) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.smoothres.set_value(0);  // the second fits interpolate
  form1.radiuscalc = false;
  for (int follower : {0, 1, 2}) {
    for (int spacing : {0, 2}) {
      SCOPED_TRACE(std::to_string(follower) + "/" + std::to_string(spacing));
      generate(follower, spacing);
      const int m = spacing == 0 ? 10 : 1;
      const int n = spacing == 0 ? 360 : 3600;
      for (int k = 0; k < n; ++k) {
        const int j = first_sample_in_window(k * m);
        ASSERT_GE(j, 0) << k;
        // With smoothing 0 the corrected point is its picked fine sample,
        // up to the rounding of a spline through its own knots.
        ASSERT_NEAR(corrected_x[k], fine_x[j], 1e-12) << k;
        ASSERT_NEAR(corrected_y[k], fine_y[j], 1e-12) << k;
      }
    }
  }
}

TEST(EqualSteps, FineSamplesPassThroughTheRawPoints) {
  test::set_lift(test::cycloidal_lift(8, 240));
  generate(0, 3);
  std::vector<double> rx(raw_x, raw_x + 3600), ry(raw_y, raw_y + 3600);
  generate(0, 0);
  for (int i = 0; i < 3600; i += 7) {
    ASSERT_NEAR(fine_x[10 * i], rx[i], 1e-12);
    ASSERT_NEAR(fine_y[10 * i], ry[i], 1e-12);
  }
}

TEST(EqualSteps, FirstAndLastThirtyAreNeverSmoothed) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.smoothres.set_value(1e6);  // very heavy smoothing
  generate(0, 0);
  for (int k : {0, 29, 330, 359}) {
    const int j = first_sample_in_window(k * 10);
    EXPECT_EQ(corrected_x[k], fine_x[j]) << k;
    EXPECT_EQ(corrected_y[k], fine_y[j]) << k;
  }
  const int j = first_sample_in_window(1800);
  EXPECT_GT(std::hypot(corrected_x[180] - fine_x[j], corrected_y[180] - fine_y[j]), 1e-4);
}

TEST(EqualSteps, RadiusLinesWithTheBaseCircleFloor) {
  FormCreate();
  form1.dividersign = 1;
  dividersignClick();
  test::set_lift(test::cycloidal_lift(8, 240));
  generate(4, 0);
  // Knife edge: the nose at 180 degrees is R + 8 from the centre.
  // The default smoothing moves points by a few micrometres.
  EXPECT_NEAR(std::stod(form1.XYequalcoordinates[180]), 8, 5e-3);
  for (const std::string& line : form1.XYequalcoordinates.lines())
    ASSERT_GE(std::stod(line), 0.0) << line;
  EXPECT_EQ(form1.XYequalcoordinates[0], "0.00000000");

  form1.subtractbasecircle = false;
  generate(4, 0);
  EXPECT_EQ(form1.XYequalcoordinates[0], "14.00000000");
  // The finger kinds take their own base circle.
  ff_basecircle = 30;
  generate(2, 0);
  for (const std::string& line : form1.XYequalcoordinates.lines())
    ASSERT_GE(std::stod(line), 15.0) << line;
  // X/Y lines with Z.
  form1.radiuscalc = false;
  form1.addZcoord = true;
  generate(0, 0);
  const std::string& line = form1.XYequalcoordinates[90];
  EXPECT_EQ(std::count(line.begin(), line.end(), ' '), 6);
  EXPECT_EQ(line.substr(line.size() - 7), "   0.00");
}

// A base circle of 3e154 mm: the squares of the coordinates overflow, the
// radius does not, and no line may read "inf".
TEST(EqualSteps, RadiusOfAHugeCamIsTheOverflowError) {
  // The radius is the root of x^2 + y^2; beyond about 1e154 mm the squares
  // leave the range of a double: the overflow error, never "inf" in a list.
  test::set_lift({0, 1, 0});
  basecircle = 3e154;
  form1.subtractbasecircle = false;
  EXPECT_EQ(test::error_of([] { generate(4, 0); }), "Floating point overflow");
  EXPECT_EQ(generate_mode, 0);
  // As X/Y lines the same cam is listed.
  form1.radiuscalc = false;
  generate(4, 0);
  ASSERT_EQ(form1.XYequalcoordinates.count(), 360);
}

TEST(EqualSteps, EmptyWindowsTakeTheNearestSampleNeverTheCentre) {
  // A dial-gauge table: a few micrometres of noise, rounded to 0.001 mm. Its
  // nominal peak lies at 170 degrees, so the noisy highest reading stays
  // before sample 1800.
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0, 0.003);
  std::vector<double> lift = test::cycloidal_lift(8, 240, 170);
  for (double& v : lift) v = std::round((v + noise(random)) * 1000) / 1000;
  test::set_lift(lift);
  form1.radiuscalc = false;
  for (int spacing : {0, 2}) {
    generate(0, spacing);
    int empty = 0;
    const int n = spacing == 0 ? 360 : 3600;
    for (int k = 0; k < n; ++k) {
      empty += first_sample_in_window(k * (spacing == 0 ? 10 : 1)) < 0;
      ASSERT_GT(std::hypot(corrected_x[k], corrected_y[k]), 13.5) << k;
    }
    if (spacing == 2) {
      EXPECT_GT(empty, 0);  // the case this guards
    }
  }

  // A full-turn eccentric lift under a roller leaves step 0 empty.
  test::set_lift(test::samples(3600, [](int i) { return 3 * (1 - std::cos(i * 0.1 * pi / 180)); }));
  generate(1, 0);
  ASSERT_LT(first_sample_in_window(0), 0);
  // Nearest to 0 degrees around the circle: a sample just below the +y axis.
  EXPECT_GT(std::hypot(corrected_x[0], corrected_y[0]), 13.9);
  EXPECT_NEAR(std::atan2(corrected_x[0], corrected_y[0]) * 180 / pi, 0, 0.1);
}
