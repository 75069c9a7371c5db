// How a float spin edit shows a value: fixed notation with its decimals, the
// system separator, and exact half-way values rounded away from zero.

#include <gtest/gtest.h>

#include <string>

#include "app/numbers.h"
#include "model/controls.h"

namespace veltrano {
namespace {

TEST(SpinEdit, ShowsValuesInFixedNotationHalfWayAwayFromZero) {
  struct Shown {
    double value;
    int decimals;
    const char* text;
  };
  // Ties are exact binary values; the near-ties are not ties at all: 1.005 is
  // stored as 1.00499999..., 28.35 as 28.3500000000000014...
  const Shown cases[] = {{28.25, 1, "28.3"}, {-28.25, 1, "-28.3"}, {0.125, 2, "0.13"},
                         {0.375, 2, "0.38"}, {2.5, 0, "3"},        {1.005, 2, "1.00"},
                         {1.045, 2, "1.04"}, {28.35, 1, "28.4"},   {28.24, 1, "28.2"},
                         {0, 2, "0.00"}};
  for (const Shown& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(float_spin(c.value, c.decimals, 1).text, c.text);
  }
}

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
