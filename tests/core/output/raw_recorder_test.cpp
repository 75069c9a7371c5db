#include <gtest/gtest.h>

#include <string>

#include "app/handlers.h"
#include "app/numbers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/tables.h"
#include "output/raw_recorder.h"

using namespace veltrano;

TEST(RawRecorder, LineShapesAndSeparators) {
  struct Case {
    int degrees, z;
    char sep;
    const char* line;
  };
  const Case cases[] = {
      {0, 0, '.', "-0.50000000   14.25000000"},
      {1, 0, '.', "2.500   -0.50000000   14.25000000"},
      {0, 1, '.', "-0.50000000   14.25000000   0.00"},
      {1, 1, '.', "2.500   -0.50000000   14.25000000   0.00"},
      {1, 1, ',', "2,500   -0,50000000   14,25000000   0,00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    form1.XYcoordinates.clear();
    output_decimal_separator = c.sep;
    add_degree_numbers = c.degrees;
    add_z = c.z;
    // First point fixes the zero of the angle column; the second lies 2.5
    // degrees further round.
    const double a0 = std::atan2(14.25, -0.5) - 2.5 * pi / 180;
    reset_first_angle();
    sweep_index = 0;
    record_raw_point(std::cos(a0), std::sin(a0));
    sweep_index = 1;
    record_raw_point(-0.5, 14.25);
    ASSERT_EQ(form1.XYcoordinates.count(), 2);
    EXPECT_EQ(form1.XYcoordinates[1], c.line);
    EXPECT_EQ(raw_x[1], -0.5);
    EXPECT_EQ(raw_y[1], 14.25);
    EXPECT_NEAR(raw_angle[1], 2.5, 1e-12);
  }
}

TEST(RawRecorder, AnglesAreNotWrappedAndSlotsAreOverwritten) {
  sweep_index = 0;
  record_raw_point(0, 1);   // polar angle 90: the zero of the column
  sweep_index = 1;
  record_raw_point(-1, 0);  // 180
  sweep_index = 2;
  record_raw_point(0, -1);  // -90
  EXPECT_DOUBLE_EQ(raw_angle[0], 0);
  EXPECT_DOUBLE_EQ(raw_angle[1], 90);
  EXPECT_DOUBLE_EQ(raw_angle[2], -180);
  sweep_index = 1;
  record_raw_point(1, 0);
  EXPECT_EQ(raw_x[1], 1);
  EXPECT_EQ(form1.XYcoordinates.count(), 4);
}

TEST(RawRecorder, EveryGeneratePassStartsTheAngleColumnAtZero) {
  FormCreate();
  form1.adddegreenumbers = true;
  form1.XYspacing = 3;
  test::set_lift(test::cycloidal_lift());
  genXYcoordClick();
  const std::string first_flat = form1.XYcoordinates[0];
  EXPECT_EQ(first_flat.substr(0, 8), "0,000   ");
  // A knife edge starts its sweep elsewhere; its first line still reads 0.
  form1.type_select = 4;
  genXYcoordClick();
  EXPECT_EQ(form1.XYcoordinates[0].substr(0, 8), "0,000   ");
  form1.type_select = 0;
  genXYcoordClick();
  EXPECT_EQ(form1.XYcoordinates[0], first_flat);
}
