// Fuzz target: the number readers. parse_float with either separator and
// parse_int are checked against a grammar and a reference conversion written
// here (the C library's, in the "C" locale the process starts in); the spin
// edit reads, shows and steps fuzzed text.
//
// Input layout: byte 0 the spin edit's kind, decimals and bounds, byte 1 the
// arrow direction and increment, then the text.
#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/numbers.h"
#include "fuzz_support.h"
#include "model/controls.h"

namespace veltrano::fuzz {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// What a lift number looks like: blanks, sign, digits with at most one
// separator and at least one digit, exponent with at least one digit, blanks.
// On a match, `normal` is the text as strtod reads it ('.' separator).
bool lift_grammar(const std::string& text, char sep, std::string& normal, bool& nonzero) {
  std::size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  normal.clear();
  nonzero = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) normal += text[i++];
  int digits = 0;
  bool separator = false;
  for (; i < end; ++i) {
    if (is_digit(text[i])) {
      normal += text[i];
      ++digits;
      nonzero = nonzero || text[i] != '0';
    } else if (text[i] == sep && !separator) {
      normal += '.';
      separator = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    normal += text[i++];
    if (i < end && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    int exponent_digits = 0;
    for (; i < end && is_digit(text[i]); ++i, ++exponent_digits) normal += text[i];
    if (exponent_digits == 0) return false;
  }
  return i == end;
}

void check_parse_float(const std::string& text, char sep) {
  const std::optional<double> got = parse_float(text, sep);
  std::string normal;
  bool nonzero = false;
  const bool matches = lift_grammar(text, sep, normal, nonzero);
  const std::string where = "parse_float(" + quoted(text) + ", '" + sep + "')";
  if (!matches) {
    FUZZ_REQUIRE(!got, where + " accepted text outside the grammar: " + exact(*got));
    return;
  }
  errno = 0;
  const double reference = std::strtod(normal.c_str(), nullptr);
  const bool overflow = std::isinf(reference);
  // Underflow: a non-zero number that rounds to 0 or lands below the normal
  // range, where strtod reports ERANGE.
  const bool underflow = nonzero && (reference == 0 || std::fabs(reference) < DBL_MIN);
  if (got) {
    FUZZ_REQUIRE(std::isfinite(*got), where + " gave " + exact(*got));
    FUZZ_REQUIRE(*got == reference || (reference == 0 && *got == 0),
                 where + " gave " + exact(*got) + ", strtod " + exact(reference));
  } else {
    FUZZ_REQUIRE(overflow || underflow,
                 where + " refused a number in range; strtod gives " + exact(reference));
  }
}

void check_parse_int(const std::string& text) {
  const std::optional<int> got = parse_int(text);
  std::size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool all_digits = i < end;
  for (std::size_t k = i; k < end; ++k) all_digits = all_digits && is_digit(text[k]);
  const std::string where = "parse_int(" + quoted(text) + ")";
  if (!all_digits) {
    FUZZ_REQUIRE(!got, where + " accepted text that is not a whole number");
    return;
  }
  // The value, saturated well above the 32-bit range.
  long long value = 0;
  for (std::size_t k = i; k < end; ++k) value = std::min(value * 10 + (text[k] - '0'), 1LL << 40);
  if (negative) value = -value;
  const bool in_range = value >= INT32_MIN && value <= INT32_MAX;
  FUZZ_REQUIRE(got.has_value() == in_range, where + (in_range ? " refused" : " accepted") +
                                                " a number " + (in_range ? "in" : "out of") +
                                                " the 32-bit range");
  if (got) FUZZ_REQUIRE(*got == value, where + " gave " + std::to_string(*got));
}

void check_spin(const std::string& text, std::uint8_t shape, std::uint8_t arrows) {
  SpinEdit spin = (shape & 1) ? float_spin(0, (shape >> 1) & 7, 0.05) : integer_spin(0, 1);
  if (shape & 16) {
    spin.min_value = 1;
    spin.max_value = (shape & 32) ? 359 : 100000;
  }
  static constexpr double kIncrements[] = {1, 10, 0.5, 0.05, 1e300, 100};
  spin.increment = kIncrements[(arrows >> 1) % 6];
  spin.text = text;
  const double v = spin.value();
  const std::string where = "spin " + quoted(text);
  FUZZ_REQUIRE(std::isfinite(v), where + " reads as " + exact(v));
  const std::optional<double> direct = spin.is_float ? parse_float(text, system_decimal_separator)
                                                     : std::optional<double>(parse_int(text));
  FUZZ_REQUIRE(v == (direct ? *direct : spin.min_value), where + " reads as " + exact(v));

  // Shown again, the value reads back as what was shown: the clamped value,
  // to the decimals shown (whole numbers for an integer field, saturated to 32
  // bits).
  spin.set_value(v);
  const double shown = spin.value();
  const std::optional<double> reread = spin.is_float
                                           ? parse_float(spin.text, system_decimal_separator)
                                           : std::optional<double>(parse_int(spin.text));
  FUZZ_REQUIRE(reread.has_value(), where + " shown as unreadable " + quoted(spin.text));
  const double target = spin.clamp(v);
  const double tolerance =
      spin.is_float ? 0.5 * std::pow(10.0, -spin.decimals) * (1 + 1e-9) + std::fabs(target) * 1e-15
                    : 0.5 + std::fmax(0.0, std::fabs(target) - 2147483647.0);
  FUZZ_REQUIRE(std::fabs(shown - target) <= tolerance,
               where + " shown as " + quoted(spin.text) + " for " + exact(target));
  if (spin.bounded())
    FUZZ_REQUIRE(shown >= spin.min_value && shown <= spin.max_value,
                 where + " shown outside its bounds: " + quoted(spin.text));
  for (char c : spin.text)
    FUZZ_REQUIRE(c != (system_decimal_separator == '.' ? ',' : '.'),
                 where + " shown with the wrong separator: " + quoted(spin.text));

  // One arrow click.
  spin.step((arrows & 1) ? 1 : -1);
  const double stepped = spin.value();
  FUZZ_REQUIRE(std::isfinite(stepped), where + " stepped to " + quoted(spin.text));
  if (spin.bounded())
    FUZZ_REQUIRE(stepped >= spin.min_value && stepped <= spin.max_value,
                 where + " stepped outside its bounds: " + quoted(spin.text));
}

void run(Input& in) {
  const std::uint8_t shape = in.byte();
  const std::uint8_t arrows = in.byte();
  const std::string text = in.rest();
  system_decimal_separator = (shape & 64) ? ',' : '.';
  check_parse_float(text, '.');
  check_parse_float(text, ',');
  check_parse_int(text);
  check_spin(text, shape, arrows);
  reset_numbers();
}

}  // namespace
}  // namespace veltrano::fuzz

VELTRANO_FUZZ_TARGET(run)
