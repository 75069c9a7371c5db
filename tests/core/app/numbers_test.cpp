#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <charconv>
#include <optional>
#include <random>
#include <string>

#include "app/errors.h"
#include "app/numbers.h"

using namespace veltrano;

TEST(ParseFloat, GrammarOfALiftLine) {
  struct Case {
    const char* text;
    char sep;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {"0", '.', 0.0},
      {"  12.5  ", '.', 12.5},
      {"+3", '.', 3.0},
      {"-0.25", '.', -0.25},
      {".5", '.', 0.5},
      {"5.", '.', 5.0},
      {"1e3", '.', 1000.0},
      {"2.5E-2", '.', 0.025},
      {"1,5", ',', 1.5},
      {"1,5", '.', std::nullopt},       // the other separator
      {"1.5", ',', std::nullopt},
      {"1.2.3", '.', std::nullopt},     // at most one separator
      {"1,000.5", '.', std::nullopt},   // thousands separator
      {"\t1", '.', std::nullopt},       // tabs are not blanks
      {"1\t", '.', std::nullopt},
      {"12mm", '.', std::nullopt},      // units
      {"", '.', std::nullopt},
      {"   ", '.', std::nullopt},
      {".", '.', std::nullopt},
      {"-", '.', std::nullopt},
      {"1e", '.', std::nullopt},
      {"1e+", '.', std::nullopt},
      {"nan", '.', std::nullopt},
      {"inf", '.', std::nullopt},
      {"0x10", '.', std::nullopt},
      {"1e400", '.', std::nullopt},     // beyond a double
      {"1 2", '.', std::nullopt},
      {"--1", '.', std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_float(c.text, c.sep), c.expected);
  }
}

TEST(ParseInt, SignDigitsAnd32Bits) {
  EXPECT_EQ(parse_int(" 180 "), 180);
  EXPECT_EQ(parse_int("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(parse_int("2147483647"), 2147483647);
  EXPECT_EQ(parse_int("2147483648"), std::nullopt);
  EXPECT_EQ(parse_int("99999999999999999999"), std::nullopt);
  EXPECT_EQ(parse_int("1.0"), std::nullopt);
  EXPECT_EQ(parse_int("1e3"), std::nullopt);
  EXPECT_EQ(parse_int(""), std::nullopt);
}

TEST(StrToFloat, ConversionErrorNamesTheText) {
  system_decimal_separator = ',';
  EXPECT_DOUBLE_EQ(str_to_float("2,5"), 2.5);
  try {
    str_to_float("abc");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
}

TEST(FormatFixed, PrintfRoundingWithEitherSeparator) {
  EXPECT_EQ(format_fixed(12.34564, 4, '.'), "12.3456");
  EXPECT_EQ(format_fixed(12.34564, 4, ','), "12,3456");
  EXPECT_EQ(format_fixed(-0.5, 8, '.'), "-0.50000000");
  EXPECT_EQ(format_fixed(0.0, 2, ','), "0,00");
  EXPECT_EQ(format_fixed(2.5, 0, '.'), "2");  // exact tie: to even, as printf
  EXPECT_EQ(format_fixed(1e300, 1, '.').size(), 303u);
  // More than a fixed buffer holds: 1e308 is a whole number of 309 digits.
  const std::string long_text = format_fixed(-1e308, 100, ',');
  ASSERT_EQ(long_text.size(), 1u + 309u + 1u + 100u);
  EXPECT_EQ(long_text.substr(0, 2), "-1");
  EXPECT_EQ(long_text.substr(310), "," + std::string(100, '0'));
  EXPECT_EQ(parse_float(long_text, ','), -1e308);
  output_decimal_separator = ',';
  EXPECT_EQ(format_output(2.5, 3), "2,500");
}

TEST(FormatSignificant, DxfNumberExamples) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {14, "14"},
      {-0.5, "-0.5"},
      {12.3456789, "12.345679"},
      {0.00012345, "0.00012345"},
      {0.00001, "1E-5"},
      {123456789, "1.2345679E8"},
      {-0.000012, "-1.2E-5"},
      {0.0, "0"},
      {-0.0, "0"},
      {99999999, "99999999"},
      {999999995, "1E9"},       // carries into a new digit
      {123456785, "1.2345679E8"},  // exact tie rounds up, not to even
      {1234567.25, "1234567.3"},
      {0.0001, "0.0001"},
      {1e8, "1E8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(format_significant(c.value, 8, 8, '.'), c.text);
  }
}

TEST(FormatGeneral, FifteenDigitsSystemSeparator) {
  system_decimal_separator = ',';
  EXPECT_EQ(format_general(2.54), "2,54");
  EXPECT_EQ(format_general(25.4), "25,4");
  EXPECT_EQ(format_general(0), "0");
  EXPECT_EQ(format_general(1e-7), "1E-7");
  EXPECT_EQ(format_general(1e20), "1E20");
  EXPECT_EQ(format_general(123456789012345.0), "123456789012345");
  EXPECT_EQ(format_general(1234567890123456.0), "1,23456789012346E15");
  EXPECT_EQ(format_general(0.1 * 25.4), "2,54");
  EXPECT_EQ(format_general(-0.00025), "-0,00025");
}

// Rounded up to 15 digits, the largest double (1.7976931348623157E308) would
// pass itself and the text would not read back (the inch conversion writes
// its results this way into the memo).
TEST(FormatGeneral, NearTheLargestDoubleTheDigitsAreCut) {
  const double largest = std::numeric_limits<double>::max();
  EXPECT_EQ(format_general(largest), "1.79769313486231E308");
  EXPECT_EQ(format_general(-largest), "-1.79769313486231E308");
  EXPECT_EQ(format_significant(largest, 17, 15, '.'), "1.7976931348623157E308");
  EXPECT_EQ(format_significant(largest, 8, 8, '.'), "1.7976931E308");  // rounds down anyway
  EXPECT_EQ(format_general(1.5e308), "1.5E308");
  EXPECT_EQ(parse_float(format_general(largest), '.'), 1.79769313486231e308);
}

TEST(Divide, FaultsAreExplicit) {
  EXPECT_THROW(divide(1, 0), Error);
  EXPECT_THROW(divide(-1, 0.0), Error);
  EXPECT_TRUE(std::isnan(divide(0, 0)));
  EXPECT_THROW(divide(1e300, 1e-300), Error);
  try {
    divide(2, 0);
  } catch (const Error& e) {
    EXPECT_EQ(error_display_text(e.what()), "Floating point division by zero.");
  }
  EXPECT_EQ(error_display_text("Ends."), "Ends.");
}

TEST(FormatFixed, AgreesWithTheGeneralFormatterEverywhere) {
  // The fast path for list numbers against std::to_chars, an independent
  // exact formatter, on random bit patterns and on values near ties.
  std::mt19937_64 random(42);
  auto reference = [](double v, int decimals) {
    char buffer[400];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    return std::string(buffer, r.ptr);
  };
  std::uniform_real_distribution<double> exponent(-12, 17);
  for (int i = 0; i < 200000; ++i) {
    double v = std::pow(10.0, exponent(random)) * ((random() & 1) ? -1 : 1);
    if (i % 4 == 1) v = std::nearbyint(v * 1000) / 1000 + 0.0005;  // near half-way
    if (i % 4 == 2) v = std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 80));
    const int decimals = static_cast<int>(random() % 10);
    ASSERT_EQ(format_fixed(v, decimals, '.'), reference(v, decimals)) << v << " " << decimals;
  }
  for (double v : {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 1e-320, 9007199254740991.0,
                   9007199254740992.0, 1e17, -1e-5}) {
    for (int decimals : {0, 2, 3, 4, 8}) EXPECT_EQ(format_fixed(v, decimals, '.'), reference(v, decimals)) << v;
  }
}
