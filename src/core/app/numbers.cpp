#include "app/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "app/errors.h"

namespace veltrano {

char system_decimal_separator = '.';
char output_decimal_separator = '.';

void reset_numbers() {
  system_decimal_separator = '.';
  output_decimal_separator = '.';
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Skips the blanks at both ends; tabs are not blanks here.
std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// For a number that does not fit a double: whether it is too small (rather
// than too large), from the place of its first significant digit.
// `normal` is [-]digits[.digits][e[+-]digits].
bool below_the_smallest_double(const std::string& normal) {
  long long place = 0;  // decimal exponent of the first significant digit, plus 1
  bool point = false, significant = false;
  std::size_t i = normal[0] == '-' ? 1 : 0;
  for (; i < normal.size() && normal[i] != 'e'; ++i) {
    if (normal[i] == '.') {
      point = true;
    } else if (!significant && normal[i] == '0') {
      if (point) --place;
    } else {
      significant = true;
      if (!point) ++place;
    }
  }
  long long exponent = 0;
  if (i < normal.size()) {
    bool negative = false;
    for (++i; i < normal.size(); ++i) {
      if (normal[i] == '-') negative = true;
      if (is_digit(normal[i]) && exponent < 100000) exponent = exponent * 10 + (normal[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return place + exponent <= 0;
}

}  // namespace

std::optional<double> parse_float(std::string_view text, char sep) {
  text = trim_blanks(text);
  // Rebuild the number in the form std::from_chars reads: no '+', a '.'.
  std::string normal;
  normal.reserve(text.size());
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') normal += '-';
    ++i;
  }
  int mantissa_digits = 0;
  bool seen_separator = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (is_digit(c)) {
      normal += c;
      ++mantissa_digits;
    } else if (c == sep && !seen_separator) {
      normal += '.';
      seen_separator = true;
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    int exponent_digits = 0;
    for (; i < text.size() && is_digit(text[i]); ++i, ++exponent_digits) normal += text[i];
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec == std::errc::result_out_of_range && end == normal.data() + normal.size() &&
      below_the_smallest_double(normal))
    return normal[0] == '-' ? -0.0 : 0.0;  // "1e-400" is 0 to every digit we have
  if (ec != std::errc() || end != normal.data() + normal.size()) return std::nullopt;
  return value;
}

std::optional<int> parse_int(std::string_view text) {
  text = trim_blanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL || value < -2147483648LL) return std::nullopt;
  return static_cast<int>(value);
}

double str_to_float(const std::string& text) {
  if (auto value = parse_float(text, system_decimal_separator)) return *value;
  throw Error("'" + text + "' is not a valid floating point value");
}

namespace {

__extension__ typedef unsigned __int128 uint128;

// "%.<decimals>f" by exact integer arithmetic, for the numbers the lists are
// made of: thousands of them per generate pass. The value is m x 2^e with an
// integer m, so |value| x 10^decimals = m x 10^decimals / 2^-e is rounded
// exactly, half-way to even, as the general formatter rounds. Gives up (false)
// where it would need more than 64 bits for the digits.
bool append_fixed_fast(double value, int decimals, char sep, std::string& text) {
  if (!std::isfinite(value) || decimals < 0 || decimals > 9) return false;
  int exponent;
  const double fraction = std::frexp(std::fabs(value), &exponent);
  const std::uint64_t mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int shift = 53 - exponent;  // |value| = mantissa / 2^shift
  if (shift <= 0) return false;     // 2^53 and beyond
  std::uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const uint128 product = static_cast<uint128>(mantissa) * scale;
  uint128 quotient = 0;
  if (shift < 128) {
    quotient = product >> shift;
    const uint128 remainder = product - (quotient << shift);
    const uint128 half = static_cast<uint128>(1) << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1))) ++quotient;
  }
  if (quotient >> 64) return false;
  std::uint64_t digits_value = static_cast<std::uint64_t>(quotient);
  char digits[32];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + digits_value % 10);
    digits_value /= 10;
  } while (digits_value != 0);
  while (n <= decimals) digits[n++] = '0';
  char out[40];
  int length = 0;
  if (std::signbit(value)) out[length++] = '-';
  for (int i = n - 1; i >= 0; --i) {
    out[length++] = digits[i];
    if (i == decimals && decimals > 0) out[length++] = sep;
  }
  text.append(out, static_cast<std::size_t>(length));
  return true;
}

}  // namespace

std::string format_fixed(double value, int decimals, char sep) {
  std::string fast;
  if (append_fixed_fast(value, decimals, sep, fast)) return fast;
  // Wide enough for the largest double in fixed notation with the decimals
  // the program shows.
  std::array<char, 400> buffer;
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, decimals);
  std::string text;
  if (result.ec == std::errc()) {
    text.assign(buffer.data(), result.ptr);
  } else {
    // Many decimals on a large value: 309 integer digits, sign and point,
    // and the decimals (6 when fewer than 0 are asked for, as in printf).
    text.resize(312 + static_cast<std::size_t>(std::max(decimals, 6)));
    result = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed,
                           decimals);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
  }
  for (char& c : text)
    if (c == '.') c = sep;
  return text;
}

void append_output(std::string& line, double value, int decimals) {
  if (!append_fixed_fast(value, decimals, output_decimal_separator, line))
    line += format_output(value, decimals);
}

std::string format_output(double value, int decimals) {
  return format_fixed(value, decimals, output_decimal_separator);
}

namespace {

// The digits of `magnitude` as to_chars writes it in scientific notation with
// `precision` digits after the first (or the fewest that read back, for
// precision -1), and the exponent e of 0.d1d2... x 10^e.
std::pair<std::string, int> scientific_digits(double magnitude, int precision) {
  // A double has at most 767 significant digits; the everyday call asks for
  // 17 at most and keeps to a small buffer.
  char small[64];
  std::string large;
  char* first = small;
  char* last = small + sizeof small;
  if (precision > 40) {
    large.resize(static_cast<std::size_t>(precision) + 16);
    first = large.data();
    last = first + large.size();
  }
  const auto result =
      precision < 0 ? std::to_chars(first, last, magnitude, std::chars_format::scientific)
                    : std::to_chars(first, last, magnitude, std::chars_format::scientific, precision);
  std::string digits;
  const char* p = first;
  for (; p != result.ptr && *p != 'e'; ++p)
    if (is_digit(*p)) digits += *p;
  int exponent = 0;
  if (p != result.ptr) std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
  return {digits, exponent + 1};
}

// All significant digits of |value|, exactly: a double has at most 767.
std::string exact_digits(double magnitude) { return scientific_digits(magnitude, 1000).first; }

// The digits of |value| rounded to `digits` significant digits, half-way cases
// up in magnitude, with the exponent e of 0.d1d2... x 10^e. Trailing zeros are
// dropped.
std::pair<std::string, int> significant_digits(double magnitude, int digits) {
  auto [mantissa, exponent] = scientific_digits(magnitude, digits - 1);

  // to_chars rounds an exact tie to even; we want it rounded up. A tie needs an
  // exact decimal expansion of digits + 1 digits ending in 5, so only then is
  // the exact expansion consulted.
  const auto [short_digits, short_exponent] = scientific_digits(magnitude, -1);
  if (static_cast<int>(short_digits.size()) == digits + 1 && short_digits.back() == '5') {
    const std::string exact = exact_digits(magnitude);
    bool tie =
        exact[static_cast<std::size_t>(digits)] == '5' &&
        exact.find_first_not_of('0', static_cast<std::size_t>(digits) + 1) == std::string::npos;
    if (tie) {
      mantissa = exact.substr(0, static_cast<std::size_t>(digits));
      exponent = short_exponent;
      // Add one unit in the last place, carrying.
      int k = digits - 1;
      while (k >= 0 && mantissa[static_cast<std::size_t>(k)] == '9')
        mantissa[static_cast<std::size_t>(k--)] = '0';
      if (k >= 0) {
        ++mantissa[static_cast<std::size_t>(k)];
      } else {
        mantissa.insert(mantissa.begin(), '1');
        mantissa.pop_back();
        ++exponent;
      }
    }
  }
  // Rounded up, a value near the largest double can pass it (1.797...E308 to
  // 15 digits is 1.79769313486232E308), and no reader takes that text back.
  // There the digits are cut instead.
  constexpr double kLargest = std::numeric_limits<double>::max();
  if (exponent > std::numeric_limits<double>::max_exponent10 &&
      mantissa > exact_digits(kLargest).substr(0, mantissa.size()))
    mantissa = exact_digits(magnitude).substr(0, mantissa.size());
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  return {mantissa, exponent};
}

}  // namespace

std::string format_significant(double value, int digits, int max_exponent, char sep) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  if (value == 0) return "0";
  auto [d, e] = significant_digits(std::fabs(value), digits);
  const int p = static_cast<int>(d.size());
  std::string text = value < 0 ? "-" : "";
  if (e >= -3 && e <= max_exponent) {
    if (e <= 0) {
      text += '0';
      text += sep;
      text.append(static_cast<std::size_t>(-e), '0');
      text += d;
    } else if (p <= e) {
      text += d;
      text.append(static_cast<std::size_t>(e - p), '0');
    } else {
      text += d.substr(0, static_cast<std::size_t>(e));
      text += sep;
      text += d.substr(static_cast<std::size_t>(e));
    }
  } else {
    text += d[0];
    if (p > 1) {
      text += sep;
      text += d.substr(1);
    }
    text += 'E';
    text += std::to_string(e - 1);
  }
  return text;
}

std::string format_general(double value) {
  return format_significant(value, 15, 15, system_decimal_separator);
}

std::string format_int(long long value) { return std::to_string(value); }

}  // namespace veltrano
