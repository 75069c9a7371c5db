// Fuzz target: the number texts. Any double (the input's bits) goes through
// the DXF rule (8 significant digits, always a dot), the general format (15
// significant digits, system separator) and fixed notation; each text must
// read back to the value within its rounding and use only the separator it
// was asked for.
//
// Input layout: 8 bytes the double, 1 byte the system separator and the
// decimals of fixed notation; repeated while input lasts.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/numbers.h"
#include "fuzz_support.h"
#include "output/coordinate_files.h"

namespace veltrano::fuzz {
namespace {

// Characters a number text may hold besides its one separator.
void check_characters(const std::string& text, char sep, const std::string& where) {
  int separators = 0;
  for (char c : text) {
    if (c == sep) {
      ++separators;
      continue;
    }
    FUZZ_REQUIRE((c >= '0' && c <= '9') || c == '-' || c == 'E', where + " gave " + quoted(text));
  }
  FUZZ_REQUIRE(separators <= 1, where + " gave " + quoted(text));
}

// A text with `digits` significant digits reads back within half a unit in
// its last place: at most 5 x 10^-digits of the value (plus the rounding of
// the read), and never closer than the spacing of subnormal doubles allows.
void check_significant(double v, const std::string& text, int digits, char sep,
                       const std::string& where) {
  if (std::isnan(v)) {
    FUZZ_REQUIRE(text == "NaN", where + " gave " + quoted(text));
    return;
  }
  if (std::isinf(v)) {
    FUZZ_REQUIRE(text == (v < 0 ? "-Inf" : "Inf"), where + " gave " + quoted(text));
    return;
  }
  check_characters(text, sep, where);
  FUZZ_REQUIRE(text.size() <= static_cast<std::size_t>(digits) + 8,
               where + " is too long: " + quoted(text));
  const std::optional<double> back = parse_float(text, sep);
  // A value that rounds up beyond the largest double cannot be read back;
  // none can with 8 or 15 digits, since the largest double is 1.797...e308.
  FUZZ_REQUIRE(back.has_value() || std::fabs(v) < DBL_MIN,
               where + " gave unreadable " + quoted(text));
  if (!back) return;  // subnormal: the reader refuses numbers below DBL_MIN
  FUZZ_REQUIRE(std::signbit(*back) == std::signbit(v) || v == 0,
               where + " changed the sign: " + quoted(text));
  // Half a unit of the last digit shown, plus the rounding of the read.
  const double tolerance =
      std::fabs(v) * (5 * std::pow(10.0, -digits) + DBL_EPSILON) + 2 * DBL_TRUE_MIN;
  FUZZ_REQUIRE(std::fabs(*back - v) <= tolerance,
               where + " gave " + quoted(text) + ", which reads as " + exact(*back));
}

void check_fixed(double v, int decimals, char sep) {
  const std::string text = format_fixed(v, decimals, sep);
  const std::string where =
      "format_fixed(" + exact(v) + ", " + std::to_string(decimals) + ", '" + sep + "')";
  if (!std::isfinite(v)) return;  // the program never formats those in a list
  check_characters(text, sep, where);
  FUZZ_REQUIRE(text.find('E') == std::string::npos, where + " gave " + quoted(text));
  const std::size_t at = text.find(sep);
  FUZZ_REQUIRE(decimals == 0 ? at == std::string::npos
                             : at != std::string::npos &&
                                   text.size() - at - 1 == static_cast<std::size_t>(decimals),
               where + " gave " + quoted(text));
  const std::optional<double> back = parse_float(text, sep);
  FUZZ_REQUIRE(back.has_value() || std::fabs(v) < DBL_MIN,
               where + " gave unreadable " + quoted(text));
  if (!back) return;
  const double tolerance = 0.5 * std::pow(10.0, -decimals) * (1 + 1e-12) + std::fabs(v) * 1e-15;
  FUZZ_REQUIRE(std::fabs(*back - v) <= tolerance,
               where + " gave " + quoted(text) + ", which reads as " + exact(*back));
}

void check_one(double v, std::uint8_t choice) {
  system_decimal_separator = (choice & 1) ? ',' : '.';
  const std::string dxf = dxf_number(v);
  check_significant(v, dxf, 8, '.', "dxf_number(" + exact(v) + ")");
  const std::string general = format_general(v);
  check_significant(v, general, 15, system_decimal_separator,
                    "format_general(" + exact(v) + ") with '" + system_decimal_separator + "'");
  check_fixed(v, choice >> 1, (choice & 1) ? '.' : ',');
}

void run(Input& in) {
  do {
    const double v = in.bits_double();
    check_one(v, in.byte());
  } while (!in.empty());
  reset_numbers();
}

}  // namespace
}  // namespace veltrano::fuzz

VELTRANO_FUZZ_TARGET(run)
