// How a float spin edit shows a value: fixed notation with its decimals, the
// system separator, and exact half-way values rounded away from zero.

#include <gtest/gtest.h>

#include <string>

#include "app/numbers.h"
#include "model/controls.h"

namespace veltrano {
namespace {

struct Shown {
  double value;
  int decimals;
  const char* text;
};

class SpinEditShows : public ::testing::TestWithParam<Shown> {};

TEST_P(SpinEditShows, ValueInFixedNotation) {
  const Shown& c = GetParam();
  EXPECT_EQ(float_spin(c.value, c.decimals, 1).text, c.text);
}

// Ties are exact binary values; the near-ties are not ties at all: 1.005 is
// stored as 1.00499999..., 28.35 as 28.3500000000000014...
INSTANTIATE_TEST_SUITE_P(Rounding, SpinEditShows,
                         ::testing::Values(Shown{28.25, 1, "28.3"}, Shown{-28.25, 1, "-28.3"},
                                           Shown{0.125, 2, "0.13"}, Shown{0.375, 2, "0.38"},
                                           Shown{2.5, 0, "3"}, Shown{1.005, 2, "1.00"},
                                           Shown{1.045, 2, "1.04"}, Shown{28.35, 1, "28.4"},
                                           Shown{28.24, 1, "28.2"}, Shown{0, 2, "0.00"}));

TEST(SpinEdit, ShowsTheSystemSeparatorAndReadsItBack) {
  system_decimal_separator = ',';
  SpinEdit field = float_spin(0, 1, 0.5);
  field.set_value(28.25);
  EXPECT_EQ(field.text, "28,3");
  EXPECT_EQ(field.value(), 28.3);
  field.text = "28.25";  // the other separator is no number: the lower bound
  EXPECT_EQ(field.value(), 0);
}

}  // namespace
}  // namespace veltrano
