#include <gtest/gtest.h>

#include <cmath>

#include "fixtures.h"
#include "model/tables.h"
#include "view/surface.h"

using namespace veltrano;
using veltrano::test::count_pixels;

namespace {

void default_view() {
  zoom = 10;
  x_offset = 375;
  y_offset = 400;
}

}  // namespace

TEST(CamToPixel, TruncatesTowardZeroAfterAddingTheOffset) {
  default_view();
  Pixel p = cam_to_pixel(0, 0);
  EXPECT_EQ(p.column, 375);
  EXPECT_EQ(p.row, 400);
  p = cam_to_pixel(1.25, -0.35);
  EXPECT_EQ(p.column, 387);
  EXPECT_EQ(p.row, 396);
  zoom = 1;
  x_offset = 0;
  EXPECT_EQ(cam_to_pixel(-0.5, 0).column, 0);  // not -1
}

TEST(CamToPixel, SaturatesHugeViewsAndMarksNaN) {
  zoom = 100000;
  x_offset = 1e9;
  y_offset = -1e9;
  Pixel p = cam_to_pixel(1e5, -1e5);
  EXPECT_EQ(p.column, 2147483647);
  EXPECT_EQ(p.row, -2147483647);
  EXPECT_EQ(cam_to_pixel(std::nan(""), 0).column, kNoPixel);
}

TEST(AngleConversion, DegreesAndRadians) {
  EXPECT_DOUBLE_EQ(deg_to_rad(180), pi);
  EXPECT_DOUBLE_EQ(rad_to_deg(pi), 180);
}

TEST(BaseCircle, PixelCountsAndRadius) {
  default_view();
  draw_base_circle(14, 0.1);
  // 3600 angles; a few land on the same pixel, none off the 140-pixel circle.
  int red = 0;
  for (int row = 0; row < kSurfaceSize; ++row)
    for (int column = 0; column < kSurfaceSize; ++column)
      if (get_pixel(column, row) == colour::red) {
        ++red;
        EXPECT_NEAR(std::hypot(column - 375, row - 400), 140, 1.5);
      }
  EXPECT_GT(red, 700);
}

TEST(BaseCircle, StepCountsByRepeatedAddition) {
  // Count set_pixel calls through a view where every point lands on its own
  // pixel column: radius 0 puts all on one pixel, so count via revision.
  default_view();
  const unsigned long before = surface_revision;
  draw_base_circle(14, 0.1);
  EXPECT_EQ(surface_revision - before, 3600u);
  const unsigned long mid = surface_revision;
  draw_base_circle(14, 0.2);
  EXPECT_EQ(surface_revision - mid, 1801u);
}

TEST(Lines, EndPixelIsNotSetAndClippingIsExact) {
  set_pen_colour(colour::yellow);
  move_to(10, 10);
  line_to(10, 40);
  EXPECT_EQ(count_pixels(colour::yellow), 30);
  EXPECT_EQ(get_pixel(10, 39), colour::yellow);
  EXPECT_EQ(get_pixel(10, 40), colour::black);

  // A line between points far off the surface draws the same pixels inside
  // as the one between points just beyond its edges.
  reset_surface();
  set_pen_colour(colour::lime);
  move_to(-2000000000, -1000000000);
  line_to(2000000000, 1000000000);
  const int far = count_pixels(colour::lime);
  EXPECT_EQ(get_pixel(0, 0), colour::lime);
  EXPECT_EQ(get_pixel(749, 375), colour::lime);  // y = 374.5 rounds up
  EXPECT_EQ(far, 750);

  // Nothing is drawn to or from a point that is not a number.
  reset_surface();
  move_to(5, 5);
  line_to(kNoPixel, 5);
  line_to(100, 5);
  EXPECT_EQ(count_pixels(colour::lime), 0);
}

TEST(Fill, InteriorWithBrushOutlineWithPen) {
  set_pen_colour(colour::navy);
  fill_rectangle(0, 0, kSurfaceSize, kSurfaceSize, colour::black);
  EXPECT_EQ(get_pixel(0, 0), colour::navy);
  EXPECT_EQ(get_pixel(749, 749), colour::navy);
  EXPECT_EQ(get_pixel(1, 1), colour::black);
  EXPECT_EQ(count_pixels(colour::navy), 4 * 749);
}
