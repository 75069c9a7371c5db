#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "profile/finger_follower.h"
#include "profile/roller_follower.h"
#include "view/surface.h"

using namespace veltrano;
using veltrano::test::error_of;

namespace {

void generate_raw(int follower) {
  form1.type_select = follower;
  form1.XYspacing = 3;
  genXYcoordClick();
}

double polar_deg(int i) { return std::atan2(raw_y[i], raw_x[i]) * 180 / pi; }

}  // namespace

TEST(FingerPosition, DefaultLengthsByHand) {
  Finger f = read_finger();
  solve_gamma0(f);
  EXPECT_NEAR(f.gamma0, 84.2608, 5e-5);  // acos(0.1)
  Position p = solve_position(f, 0, 0);
  EXPECT_NEAR(p.D, 36, 1e-12);
  EXPECT_NEAR(p.Q, 62.1819, 5e-5);
  EXPECT_NEAR(p.theta, 33.5573, 5e-5);
  EXPECT_NEAR(p.D * std::cos(p.theta * pi / 180), 30.0000, 5e-5);
  EXPECT_NEAR(-p.D * std::sin(p.theta * pi / 180), -19.8997, 5e-5);
  p = solve_position(f, 10, 0);
  EXPECT_NEAR(p.psi, 26.2731, 5e-5);
  EXPECT_NEAR(p.gamma, 110.5339, 5e-5);
  EXPECT_NEAR(p.D, 43.2779, 5e-5);
  EXPECT_NEAR(p.Q, 43.8227, 5e-5);
  EXPECT_NEAR(p.theta, 25.6434, 5e-5);
}

TEST(FingerPosition, ContactAngleAtXZeroIsTheLimitFromPositiveX) {
  EXPECT_DOUBLE_EQ(contact_angle_deg(1, 1), 45);
  EXPECT_DOUBLE_EQ(contact_angle_deg(-1, 1), -45);  // one-argument arctangent
  EXPECT_DOUBLE_EQ(contact_angle_deg(0, 3), 90);
  EXPECT_DOUBLE_EQ(contact_angle_deg(0, -3), -90);
  EXPECT_DOUBLE_EQ(contact_angle_deg(0, 0), 0);
  EXPECT_NEAR(contact_angle_deg(1e-300, 3), 90, 1e-12);
}

TEST(FingerFollower, BaseCircleStepsLieOnTheBaseCircle) {
  // Three zero samples in a row put the contact on the base circle at -theta0.
  test::set_lift(test::cycloidal_lift(8, 240));
  generate_raw(2);
  ASSERT_EQ(form1.XYcoordinates.count(), 3600);
  EXPECT_EQ(form1.calclines, "3600");
  for (int i : {0, 100, 250, 3200, 3500}) {
    SCOPED_TRACE(i);
    ASSERT_EQ(lift_table[i + 2], 0);
    EXPECT_NEAR(std::hypot(raw_x[i], raw_y[i]), 14, 1e-9);
    EXPECT_NEAR(std::remainder(polar_deg(i) - (146.4427 + 0.1 * i), 360), 0, 5e-5);
  }
}

TEST(FingerFollower, BothKindsAreOneCalculation) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.rotate.set_value(200);
  form1.drawencirclement = true;
  // The same pen in force at the start of both (the finger leaves it navy,
  // and the background is outlined with it).
  generate_raw(2);
  generate_raw(2);
  const std::vector<std::string> lines_a = form1.XYcoordinates.lines();
  const std::string lift_a = form1.liftedit;
  std::vector<Colour> picture_a(std::begin(surface_pixels), std::end(surface_pixels));
  generate_raw(3);
  EXPECT_EQ(form1.XYcoordinates.lines(), lines_a);
  EXPECT_EQ(form1.liftedit, lift_a);
  EXPECT_TRUE(std::equal(picture_a.begin(), picture_a.end(), std::begin(surface_pixels)));
}

TEST(FingerFollower, DisplayLiftFollowsRotateAndThePenStaysNavy) {
  FormCreate();
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.type_select = 2;
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, "8,0000");
  EXPECT_EQ(pen_colour(), colour::navy);
  form1.rotate.set_value(190);
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, format_output(lift_table[1900], 4));
  // Beyond the table the value wraps by whole turns: 550 is 190.
  form1.rotate.set_value(550);
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, format_output(lift_table[1900], 4));
  form1.rotate.set_value(-170);
  calculate_lobeClick();
  EXPECT_EQ(form1.liftedit, format_output(lift_table[1900], 4));
  EXPECT_EQ(form1.flatdistedit, "");
  EXPECT_EQ(form1.attackangleedit, "");
}

TEST(FingerFollower, EncirclementDrawsThreeHundredSixtyCircles) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.type_select = 2;
  unsigned long before = surface_revision;
  calculate_lobeClick();
  const unsigned long plain = surface_revision - before;
  int grey = 0;
  for (Colour c : surface_pixels) grey += c == colour::grey;
  EXPECT_EQ(grey, 0);
  form1.drawencirclement = true;
  before = surface_revision;
  calculate_lobeClick();
  // Base circle again (3600 pixels) and 360 circles of 360 pixels.
  EXPECT_EQ(surface_revision - before - plain, 3600u + 360u * 360u);
}

TEST(FingerFollower, ImpossibleGeometryIsRefusedWithItsReason) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.type_select = 2;
  ff_camcenter_hinge = 100;  // the roller cannot reach the base circle
  EXPECT_NE(error_of(calculate_lobeClick).find("cannot touch the base circle"), std::string::npos);
  reset_follower_params();
  ff_valvepoint_hinge = 3;  // 8 mm of lift needs at least 4 mm
  const std::string message = error_of(calculate_lobeClick);
  EXPECT_NE(message.find("more than twice"), std::string::npos) << message;
  EXPECT_NE(message.find("at sample 1800"), std::string::npos) << message;
}

TEST(FingerFollower, ZeroDistancesDivideByZeroAfterTheBaseCircle) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.type_select = 2;
  ff_rollercenter_hinge = 0;
  EXPECT_EQ(error_of(calculate_lobeClick), "Floating point division by zero");
  int red = 0, green = 0;
  for (Colour c : surface_pixels) red += c == colour::red, green += c == colour::green;
  EXPECT_GT(red, 700);
  EXPECT_EQ(green, 0);
  EXPECT_EQ(form1.liftedit, "8.0000");

  // A zero valve distance fails at the first lift, after the first lines.
  reset_follower_params();
  ff_valvepoint_hinge = 0;
  EXPECT_EQ(error_of(calculate_lobeClick), "Floating point division by zero");
  green = 0;
  for (Colour c : surface_pixels) green += c == colour::green;
  EXPECT_GT(green, 0);

  // Without lift it divides 0 by 0 only: nothing is drawn of the contour and
  // a generate pass refuses to list points that are not numbers.
  form1.inputdata.clear();
  EXPECT_EQ(error_of(calculate_lobeClick), "");
  EXPECT_NE(error_of([] { generate_raw(2); }).find("not numbers"), std::string::npos);
  EXPECT_EQ(form1.XYcoordinates.count(), 0);
}

TEST(RollerFollower, ZeroLiftLiesOnTheBaseCircleForAnyOffset) {
  test::set_lift(test::cycloidal_lift(8, 240));
  for (double offset : {0.0, 7.0, -12.0}) {
    SCOPED_TRACE(offset);
    form5.follower_offset.set_value(offset);
    generate_raw(1);
    for (int i : {0, 300, 3400})
      EXPECT_NEAR(std::hypot(raw_x[i], raw_y[i]), 14, 1e-9);
  }
}

TEST(RollerFollower, SweepRunsAnticlockwiseFromBelow) {
  test::set_lift(test::cycloidal_lift(8, 240));
  generate_raw(1);
  EXPECT_NEAR(raw_x[0], 0, 1e-9);
  EXPECT_NEAR(raw_y[0], 14, 1e-9);  // below the centre
  EXPECT_NEAR(raw_x[500], 14 * std::cos(40 * pi / 180), 1e-9);  // right of it, going up
  EXPECT_NEAR(raw_y[500], 14 * std::sin(40 * pi / 180), 1e-9);
  EXPECT_NEAR(raw_y[1800], -22, 1e-9);  // the peak on top
  EXPECT_EQ(form1.XYcoordinates.count(), 3600);
  EXPECT_EQ(form1.calclines, "3600");
}

TEST(RollerFollower, PressureAngleFieldAndLineColour) {
  EXPECT_EQ(contact_line_colour(30), colour::lime);
  EXPECT_EQ(contact_line_colour(-30), colour::lime);
  EXPECT_EQ(contact_line_colour(std::nextafter(30.0, 31.0)), colour::red);
  EXPECT_EQ(contact_line_colour(std::nextafter(-30.0, -31.0)), colour::red);

  test::set_lift(test::cycloidal_lift(8, 240));
  form1.type_select = 1;
  calculate_lobeClick();
  // At the peak, without offset, the angle is -deg(w / Rp) with w <= 0.
  const double w = slope_table[1800] / (pi / 180);
  EXPECT_EQ(form1.attackangleedit, format_output(-(w / 32) * 180 / pi, 4));
  EXPECT_EQ(form1.liftedit, "8.0000");
  EXPECT_EQ(form1.flatdistedit, "");
  // The line from the roller centre (row 80) points down to the contact.
  EXPECT_EQ(get_pixel(375, 81), colour::lime);

  // An offset of 12 mm leans the roller by asin(12/24) = 30 degrees at zero
  // slope; turned onto the base circle the line is lime up to there, red
  // beyond.
  form1.rotate.set_value(0);
  form5.follower_offset.set_value(12);
  calculate_lobeClick();
  const std::string angle = form1.attackangleedit;
  EXPECT_NEAR(std::stod(angle), 30, 1e-4);
  form5.follower_offset.set_value(12.5);
  calculate_lobeClick();
  int red_line = 0;
  for (int row = 0; row < 400; ++row)
    for (int col = 375; col < 750; ++col) red_line += get_pixel(col, row) == colour::red;
  EXPECT_GT(red_line, 0);
}

TEST(RollerFollower, OffsetBeyondTheRollerReachIsRefusedBeforeDrawing) {
  test::set_lift({0, 1, 0});
  form1.type_select = 1;
  form5.follower_offset.set_value(-24);
  const std::string message = error_of(calculate_lobeClick);
  EXPECT_NE(message.find("-24"), std::string::npos) << message;
  EXPECT_NE(message.find("24 mm"), std::string::npos) << message;
  for (Colour c : surface_pixels) ASSERT_EQ(c, colour::black);

  // A base circle and roller without reach: no offset helps, and the message
  // says so instead of naming the range "--4 to -4".
  form5.follower_offset.set_value(0);
  basecircle = -28;
  rollerdiameter = 20;
  EXPECT_EQ(error_of(calculate_lobeClick),
            "The base circle radius plus the roller radius (-4 mm) must be greater than 0");
}

TEST(RollerFollower, ZeroRockerRatioIsADivisionByZero) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.type_select = 1;
  rockerratio = 0;
  EXPECT_EQ(error_of(calculate_lobeClick), "Floating point division by zero");
}
