// What users paste, type and choose at their worst: every input answers with
// a clear message or a sound result, and nothing is written outside a table.
// (The sanitizer build runs this too, which is what catches a stray write.)
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "view/surface.h"

using namespace veltrano;
using veltrano::test::error_of;

namespace {

// A lift memo with `line` among plain lift values.
void memo_with(const std::string& line) {
  std::vector<std::string> lines{"0", "1", line, "1", "0"};
  form1.inputdata.assign(lines);
}

// Every number a generate pass left behind is finite and every list line
// reads back as numbers.
void expect_sound_output() {
  for (int i = 0; i < kTableSize; ++i) {
    ASSERT_TRUE(std::isfinite(raw_x[i]) && std::isfinite(raw_y[i])) << i;
  }
  for (int k = 0; k < corrected_count; ++k) {
    ASSERT_TRUE(std::isfinite(corrected_x[k]) && std::isfinite(corrected_y[k])) << k;
  }
  for (const std::string& line : form1.XYequalcoordinates.lines())
    ASSERT_EQ(line.find_first_of("nai"), std::string::npos) << line;  // no nan, no inf
}

}  // namespace

TEST(HostileInput, LinesThatAreNotNumbers) {
  struct Case {
    const char* line;
    char system_separator;
  };
  const Case cases[] = {{"nan", '.'},   {"inf", '.'},     {"-inf", '.'},   {"1e400", '.'},
                        {"0x10", '.'},  {"1,5", '.'},     {"1.5", ','},    {"1\t", '.'},
                        {"\t1", '.'},   {"1,000.5", '.'}, {"1.000,5", ','}, {"3mm", '.'},
                        {"3 mm", '.'},  {"", '.'},        {"\xc2\xb5", '.'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    reset_all();
    system_decimal_separator = c.system_separator;
    memo_with(c.line);
    for (auto handler : {calculate_lobeClick, genXYcoordClick, convert_inch_buttonClick})
      EXPECT_EQ(error_of(handler), "'" + std::string(c.line) + "' is not a valid floating point value");
    EXPECT_EQ(form1.inputdata[2], c.line);  // the inch conversion changed nothing
    EXPECT_EQ(generate_mode, 0);
  }
}

TEST(HostileInput, NumbersBelowTheSmallestDoubleReadAsZero) {
  for (const char* line : {"1e-400", "-1e-400", "0.0000000001e-399", "1e-99999999999999"}) {
    SCOPED_TRACE(line);
    memo_with(line);
    EXPECT_EQ(error_of(calculate_lobeClick), "");
    EXPECT_EQ(lift_input[2], 0);
  }
}

TEST(HostileInput, TableSizesAndPeakPositions) {
  // 5000 lines fit when the peak is early enough; 5001 never do.
  std::vector<double> lift(5000, 0.0);
  lift[1800] = 5;
  test::set_lift(lift);
  EXPECT_EQ(error_of(genXYcoordClick), "");
  lift.push_back(0);
  test::set_lift(lift);
  EXPECT_EQ(error_of(genXYcoordClick),
            "The lift data has 5001 lines; at most 5000 lift values can be used");
  // A peak at 1801 with lift before it cannot be centred.
  std::vector<double> late = test::cycloidal_lift(8, 240, 180.1);
  late[0] = 0.001;
  test::set_lift(late);
  EXPECT_NE(error_of(calculate_lobeClick).find("highest lift is at sample 1801"), std::string::npos);
}

TEST(HostileInput, OddLiftsGiveSoundResultsOrTheOverflowError) {
  struct Case {
    const char* name;
    std::vector<double> lift;
    bool radius_values;
    const char* message;  // "" for a sound result
  };
  const Case cases[] = {
      {"negative lifts", test::samples(3600, [](int i) { return -0.5 + 0.0001 * (i % 3); }), true, ""},
      {"dip below the base circle", test::samples(3600, [](int i) { return i == 1800 ? 3.0 : -1.0; }), true, ""},
      {"lift of 1e300 as radius", {0, 1e300, 0}, true, "Floating point overflow"},
      {"lift of 1e300 as X/Y", {0, 1e300, 0}, false, ""},  // the roller's Y^2 overflows
      {"lift of 1e308", {0, 1e308, 0}, true, "Floating point overflow"},
  };
  for (const Case& c : cases) {
    for (int kind : {0, 1, 4}) {
      SCOPED_TRACE(std::string(c.name) + " / follower " + std::to_string(kind));
      reset_all();
      form1.type_select = kind;
      form1.radiuscalc = c.radius_values;
      test::set_lift(c.lift);
      const bool roller_squares_it = kind == 1 && std::string(c.name) == "lift of 1e300 as X/Y";
      const std::string message = roller_squares_it ? "Floating point overflow" : c.message;
      EXPECT_EQ(error_of(genXYcoordClick), message);
      if (message.empty()) expect_sound_output();
    }
  }
}

TEST(HostileInput, FollowerSettings) {
  struct Case {
    const char* name;
    int kind;
    std::function<void()> set;
    const char* message;  // a part of it; "" for a sound result
  };
  const Case cases[] = {
      {"zero base circle, flat", 0, [] { basecircle = 0; }, ""},
      {"negative base circle, knife", 4, [] { basecircle = -10; }, ""},
      // The contact point of a zero lift falls on the cam centre, where its
      // direction is 0/0.
      {"zero base circle, roller", 1, [] { basecircle = 0; }, "not numbers"},
      {"rocker ratio 0", 0, [] { rockerratio = 0; }, "Floating point division by zero"},
      {"rocker ratio 0, roller", 1, [] { rockerratio = 0; }, "Floating point division by zero"},
      {"rocker ratio -1", 0, [] { rockerratio = -1; }, ""},
      {"roller offset too large", 1, [] { form5.follower_offset.set_value(24); }, "too large"},
      {"roller offset negative and too large", 1, [] { form5.follower_offset.set_value(-1e9); }, "too large"},
      {"roller offset just inside", 1, [] { form5.follower_offset.set_value(23.99); }, ""},
      {"finger hinge too far", 2, [] { ff_camcenter_hinge = 200; }, "cannot touch the base circle"},
      {"finger lengths negative", 3, [] { ff_rollercenter_hinge = -20; }, "cannot touch the base circle"},
      {"finger base circle 0", 2, [] { ff_basecircle = 0; ff_rollerdiameter = 0; }, "cannot touch the base circle"},
      {"finger valve distance 0", 2, [] { ff_valvepoint_hinge = 0; }, "Floating point division by zero"},
      {"finger valve distance too short", 2, [] { ff_valvepoint_hinge = 2; }, "more than twice"},
      {"finger hinge distance 0", 3, [] { ff_camcenter_hinge = 0; }, "Floating point division by zero"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_all();
    form1.type_select = c.kind;
    c.set();
    test::set_lift(test::cycloidal_lift(8, 240));
    const std::string message = error_of(genXYcoordClick);
    if (*c.message) {
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
    } else {
      EXPECT_EQ(message, "");
      expect_sound_output();
    }
    EXPECT_EQ(generate_mode + add_z + add_degree_numbers + radius_values, 0);
  }
}

TEST(HostileInput, ViewAndSpinEditExtremes) {
  test::set_lift(test::cycloidal_lift(8, 240));
  for (int kind : {0, 1, 2, 4}) {
    for (const char* rotate : {"1000000000", "-1000000000", "2147483647", "-2147483648",
                               "99999999999", "abc"}) {
      SCOPED_TRACE(std::to_string(kind) + " rotate " + rotate);
      form1.type_select = kind;
      form1.rotate.text = rotate;
      EXPECT_EQ(error_of(calculate_lobeClick), "");
      EXPECT_FALSE(form1.liftedit.empty());
    }
  }
  form1.rotate.text = "180";
  for (const char* zoom : {"100000", "0", "-5", "2147483647"}) {
    for (const char* offset : {"1000000000", "-1000000000", "0"}) {
      SCOPED_TRACE(std::string(zoom) + " / " + offset);
      form1.zoomfactor.text = zoom;
      form1.X_move.text = offset;
      form1.Y_move.text = offset;
      for (int kind : {0, 1, 2, 4}) {
        form1.type_select = kind;
        form1.drawencirclement = true;
        EXPECT_EQ(error_of(calculate_lobeClick), "");
      }
    }
  }
}

TEST(HostileInput, SmoothingExtremes) {
  test::set_lift(test::cycloidal_lift(8, 240));
  form1.radiuscalc = false;
  for (const char* smoothing : {"-25", "0", "1e12", "1e300", "abc"}) {
    for (int spacing : {0, 1, 2}) {
      SCOPED_TRACE(std::string(smoothing) + " / " + std::to_string(spacing));
      form1.smoothres.text = smoothing;
      form1.XYspacing = spacing;
      EXPECT_EQ(error_of(genXYcoordClick), "");
      expect_sound_output();
    }
  }
}
