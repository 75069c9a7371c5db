#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "view/surface.h"

using namespace veltrano;
using veltrano::test::error_of;
using veltrano::test::count_pixels;

namespace {

// A generate pass with raw spacing: the raw tables keep the recorded points.
void generate_raw() {
  form1.XYspacing = 3;
  genXYcoordClick();
}


}  // namespace

TEST(FlatTappet, RecordsEverySampleAtItsEnvelopePoint) {
  test::set_lift(test::cycloidal_lift());
  generate_raw();
  EXPECT_EQ(form1.XYcoordinates.count(), 3600);
  EXPECT_EQ(form1.calclines, "3600");
  const double R = 14;
  const double deg = pi / 180;
  // Sample 0 straight down, the peak straight up.
  EXPECT_NEAR(raw_x[0], -slope_table[0] / deg, 1e-12);
  EXPECT_NEAR(raw_y[0], R + lift_table[0], 1e-12);
  EXPECT_NEAR(raw_x[1800], slope_table[1800] / deg, 1e-9);
  EXPECT_NEAR(raw_y[1800], -(R + lift_table[1800]), 1e-12);
  EXPECT_EQ(raw_x[3600], 0);
  EXPECT_EQ(generate_mode, 0);
}

TEST(FlatTappet, EccentricCircleGivesACircle) {
  // Lift of an eccentric disc under a flat face: e (1 - cos t). The cam must
  // be the disc itself, radius R + e about a point e from the cam centre.
  const double e = 4;
  test::set_lift(test::samples(3600, [&](int i) { return e * (1 - std::cos(i * 0.1 * pi / 180)); }));
  generate_raw();
  const double R = 14;
  double worst = 0;
  for (int i = 0; i < 3600; ++i)
    worst = std::fmax(worst, std::fabs(std::hypot(raw_x[i], raw_y[i] + e) - (R + e)));
  EXPECT_LT(worst, 1e-3) << worst;
}

TEST(FlatTappet, ResultFieldsTappetAndMarker) {
  FormCreate();
  test::set_lift(test::cycloidal_lift(10));
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, "10,0000");
  // The forward difference at the peak is zero or slightly negative.
  const double v = slope_table[1800] / (pi / 180);
  EXPECT_LE(v, 0);
  EXPECT_EQ(form1.flatdistedit, format_output(v, 4));
  EXPECT_EQ(form1.flatdistdiamedit, format_output(2 * v, 4));
  EXPECT_EQ(form1.attackangleedit, "");
  // Tappet face 30 mm wide at 10 px/mm, resting on r = 24 mm above the centre.
  EXPECT_EQ(get_pixel(225, 0), colour::yellow);
  EXPECT_EQ(get_pixel(225, 159), colour::yellow);
  EXPECT_EQ(get_pixel(300, 160), colour::yellow);
  EXPECT_EQ(get_pixel(525, 10), colour::yellow);
  EXPECT_EQ(count_pixels(colour::magenta), 30);

  // Turned by 30 degrees the tappet stands on sample 1500, on the opening
  // flank: a positive contact radius.
  form1.rotate.set_value(150);
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, format_output(lift_table[1500], 4));
  EXPECT_GT(slope_table[1500], 0);
  EXPECT_EQ(form1.flatdistedit, format_output(slope_table[1500] / (pi / 180), 4));
}

TEST(FlatTappet, RockerRatioScalesTheCamLift) {
  test::set_lift(test::cycloidal_lift(10));
  rockerratio = 2;
  generate_raw();
  EXPECT_NEAR(raw_y[1800], -(14 + 5), 1e-12);
  EXPECT_EQ(form1.liftedit, "5.0000");
}

TEST(FlatTappet, ZeroRockerRatioIsADivisionByZeroAfterTheBaseCircle) {
  test::set_lift(test::cycloidal_lift(10));
  rockerratio = 0;
  EXPECT_EQ(error_of(calculate_lobeClick), "Floating point division by zero");
  EXPECT_GT(count_pixels(colour::red), 700);  // the base circle stays
  EXPECT_EQ(count_pixels(colour::yellow), 0);
  // A curve without lift divides only 0 by 0, which is no error by itself;
  // the rocker ratio of 0 is the division by zero all the same, and no "nan"
  // reaches a result field.
  for (int kind : {0, 1, 4}) {
    form1.type_select = kind;
    form1.inputdata.clear();
    EXPECT_EQ(error_of(calculate_lobeClick), "Floating point division by zero") << kind;
    EXPECT_EQ(form1.liftedit, "") << kind;
    EXPECT_EQ(error_of(generate_raw), "Floating point division by zero") << kind;
    EXPECT_EQ(form1.XYcoordinates.count(), 0);
  }
}

TEST(FlatTappet, HugeLiftIsAnOverflow) {
  test::set_lift({0, 1e300, 0});
  rockerratio = 1e-10;
  EXPECT_EQ(error_of(calculate_lobeClick), "Floating point overflow");
}

TEST(KnifeEdge, EveryPointOnItsOwnRadius) {
  form1.type_select = 4;
  test::set_lift(test::cycloidal_lift(8));
  generate_raw();
  ASSERT_EQ(form1.XYcoordinates.count(), 3600);
  for (int i = 0; i < 3600; ++i) {
    const double a = (90 + 0.1 * i) * pi / 180;
    ASSERT_NEAR(std::hypot(raw_x[i], raw_y[i]), 14 + lift_table[i], 1e-12) << i;
    ASSERT_NEAR(std::atan2(raw_y[i], raw_x[i]), std::remainder(a, 2 * pi), 1e-9) << i;
  }
  EXPECT_NEAR(raw_x[0], 0, 1e-12);
  EXPECT_NEAR(raw_y[0], 14, 1e-12);
  EXPECT_NEAR(raw_y[1800], -22, 1e-12);
}

TEST(KnifeEdge, FollowerLineAndLiftField) {
  form1.type_select = 4;
  test::set_lift(test::cycloidal_lift(8));
  rockerratio = 2;
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, "4.0000");
  // From row 5 down to the tip at 18 mm above the centre (row 220).
  EXPECT_EQ(get_pixel(375, 4), colour::black);
  EXPECT_EQ(get_pixel(375, 5), colour::yellow);
  EXPECT_EQ(get_pixel(375, 219), colour::yellow);
  EXPECT_EQ(form1.flatdistedit, "");
  form1.rotate.set_value(150);
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, format_output(lift_table[1500] / 2, 4));
}
