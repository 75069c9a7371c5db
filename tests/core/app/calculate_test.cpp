#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/tables.h"
#include "view/surface.h"

using namespace veltrano;
using veltrano::test::error_of;
using veltrano::test::set_lift;

namespace {

void set_lines(const std::vector<std::string>& lines) { form1.inputdata.assign(lines); }


}  // namespace

TEST(LiftPreparation, ThreeLinesCentredOnThePeak) {
  set_lines({"0", "1", "0"});
  calculate_lobeClick();
  EXPECT_EQ(sample_count, 3);
  EXPECT_EQ((std::vector<double>{lift_input[0], lift_input[1], lift_input[2]}),
            (std::vector<double>{0, 1, 0}));
  EXPECT_EQ((std::vector<double>{slope_input[0], slope_input[1], slope_input[2]}),
            (std::vector<double>{10, -10, 0}));
  EXPECT_EQ((std::vector<double>{lift_table[1799], lift_table[1800], lift_table[1801]}),
            (std::vector<double>{0, 1, 0}));
  EXPECT_EQ((std::vector<double>{slope_table[1799], slope_table[1800], slope_table[1801]}),
            (std::vector<double>{10, -10, 0}));
  EXPECT_EQ(peak_index, 1800);
}

TEST(LiftPreparation, ClockwiseReversesTheSamples) {
  set_lines({"0", "2", "1"});
  form1.clockwiserotation = true;
  calculate_lobeClick();
  EXPECT_EQ((std::vector<double>{lift_input[0], lift_input[1], lift_input[2]}),
            (std::vector<double>{1, 2, 0}));
  EXPECT_EQ((std::vector<double>{slope_input[0], slope_input[1], slope_input[2]}),
            (std::vector<double>{10, -20, 0}));
  EXPECT_EQ((std::vector<double>{lift_table[1799], lift_table[1800], lift_table[1801]}),
            (std::vector<double>{1, 2, 0}));
}

TEST(LiftPreparation, FirstOfEqualPeaksAndLastSampleSlope) {
  set_lines({"0", "3", "3", "0"});
  calculate_lobeClick();
  EXPECT_EQ(lift_table[1800], 3);
  EXPECT_EQ(lift_table[1801], 3);
  EXPECT_EQ(lift_table[1799], 0);

  set_lines({"0", "5"});
  calculate_lobeClick();
  EXPECT_EQ(slope_input[1], -50);
}

TEST(LiftPreparation, CurveOccupiesItsShiftedRange) {
  set_lift(veltrano::test::samples(3600, [](int i) { return i == 1000 ? 9.0 : 1.0; }));
  calculate_lobeClick();
  EXPECT_EQ(lift_table[799], 0);
  EXPECT_EQ(lift_table[800], 1);
  EXPECT_EQ(lift_table[1800], 9);
  EXPECT_EQ(lift_table[4399], 1);
  EXPECT_EQ(lift_table[4400], 0);
}

TEST(LiftPreparation, EmptyMemoIsACamWithoutLift) {
  calculate_lobeClick();
  EXPECT_EQ(sample_count, 0);
  for (int i = 0; i < kTableSize; ++i) ASSERT_EQ(lift_table[i], 0);
  EXPECT_EQ(form1.liftedit, "0.0000");  // the calculator ran
}

TEST(LiftPreparation, RotationFromRotateAndTheClockwiseBox) {
  struct Case {
    int rotate;
    bool clockwise;
    bool generate;
    double expected;
  };
  const Case cases[] = {
      {180, false, false, 0},  {180, true, false, 0},   {150, false, false, 30},
      {150, true, false, -30}, {200, false, false, -20}, {150, false, true, 0},
      {200, true, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rotate);
    form1.rotate.set_value(c.rotate);
    form1.clockwiserotation = c.clockwise;
    generate_mode = c.generate;
    calculate_lobeClick();
    EXPECT_EQ(rotation_deg, c.expected);
    EXPECT_DOUBLE_EQ(rotation_rad, c.expected * pi / 180);
  }
}

TEST(LiftPreparation, BadLineStopsTheRunWithTheConversionError) {
  form1.liftedit = "old";
  form1.attackangleedit = "old";
  set_lines({"1", "abc", "2"});
  EXPECT_EQ(error_of(calculate_lobeClick), "'abc' is not a valid floating point value");
  EXPECT_EQ(form1.liftedit, "");
  EXPECT_EQ(form1.attackangleedit, "");
  EXPECT_EQ(lift_input[0], 1);  // read before the bad line
  EXPECT_EQ(lift_input[2], 0);
  EXPECT_EQ(x_offset, 375);     // view values of this run

  // An empty line in the middle is a sample, and not a number; the empty
  // piece after a final line break is not a line at all.
  form1.inputdata.set_text("1\n\n2\n");
  EXPECT_EQ(form1.inputdata.count(), 3);
  EXPECT_EQ(error_of(calculate_lobeClick), "'' is not a valid floating point value");
  form1.inputdata.set_text("0\r\n1\r\n0\r\n");
  EXPECT_EQ(error_of(calculate_lobeClick), "");
  EXPECT_EQ(sample_count, 3);
}

TEST(LiftPreparation, SystemSeparatorReadsTheLines) {
  system_decimal_separator = ',';
  set_lines({"0", "1,5", "0"});
  calculate_lobeClick();
  EXPECT_EQ(lift_table[1800], 1.5);
  set_lines({"0", "1.5", "0"});
  EXPECT_EQ(error_of(calculate_lobeClick), "'1.5' is not a valid floating point value");
}

TEST(LiftPreparation, CurvesThatCannotBeStoredAreRefused) {
  // More lines than the tables hold: refused before anything is read.
  set_lift(std::vector<double>(5001, 0.0));
  EXPECT_EQ(error_of(calculate_lobeClick),
            "The lift data has 5001 lines; at most 5000 lift values can be used");
  EXPECT_EQ(sample_count, 0);

  // A peak after sample 1800 with lift before it would push samples below
  // index 0.
  std::vector<double> late(3600, 0.0);
  late[0] = 0.5;
  late[1801] = 9;
  set_lift(late);
  EXPECT_EQ(error_of(calculate_lobeClick),
            "The highest lift is at sample 1801 of 3600; centred at 1800, sample 0 (lift 0.5) "
            "falls outside the table. At most 1800 samples may come before the highest lift and "
            "at most 3200 from it on (1 to 3599 fit here)");

  // The same peak with nothing but zeros before it: the zeros are dropped.
  late[0] = 0;
  set_lift(late);
  EXPECT_EQ(error_of(calculate_lobeClick), "");
  EXPECT_EQ(lift_table[1800], 9);

  // Exactly 5000 samples with the peak at 1800: the last one sits at index
  // 4999 and its forward difference takes the entry after the table as 0.
  std::vector<double> full(5000, 1.0);
  full[1800] = 2;
  set_lift(full);
  EXPECT_EQ(error_of(calculate_lobeClick), "");
  EXPECT_EQ(lift_table[4999], 1);
  EXPECT_EQ(slope_table[4999], -10);
}

TEST(LiftPreparation, CurveWithoutPositiveLiftIsLaidInUnshifted) {
  // Whatever an earlier run found, a curve with no sample above 0 is laid in
  // with sample i at index i.
  set_lines({"0", "4", "0"});
  calculate_lobeClick();
  set_lift(veltrano::test::samples(3600, [](int i) { return -0.001 * (i % 7); }));
  calculate_lobeClick();
  EXPECT_EQ(peak_index, 1800);
  EXPECT_EQ(lift_table[6], -0.006);
  EXPECT_EQ(lift_table[3599], -0.001 * (3599 % 7));
}

TEST(LiftPreparation, NonGenerateRunClearsRawTablesButKeepsCorrectedOnes) {
  raw_x[5] = 1;
  raw_angle[7] = 2;
  corrected_x[3] = 4;
  calculate_lobeClick();
  EXPECT_EQ(raw_x[5], 0);
  EXPECT_EQ(raw_angle[7], 0);
  EXPECT_EQ(corrected_x[3], 4);
}

TEST(LiftPreparation, RepaintPaintsBlackOnlyWhenChecked) {
  set_pixel(1, 1, colour::lime);
  form1.repaintchk = false;
  calculate_lobeClick();
  EXPECT_EQ(get_pixel(1, 1), colour::lime);
  form1.repaintchk = true;
  calculate_lobeClick();
  EXPECT_EQ(get_pixel(1, 1), colour::black);
}

TEST(FollowerSample, RotationsOutsideTheTableWrapByWholeTurns) {
  peak_index = 1800;
  struct Case {
    double rotation;
    int expected;
  };
  const Case cases[] = {{0, 1800}, {30, 1500}, {-30, 2100}, {-319, 4990},
                        {370, 1700}, {10, 1700}, {-320, 1400}, {181, 3590},
                        {1e9, 10 * ((180 - 1000000000 % 360 + 360) % 360)},
                        {-1e9, 10 * ((180 + 1000000000) % 360)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rotation);
    rotation_deg = c.rotation;
    EXPECT_EQ(follower_sample_index(), c.expected);
  }
}
