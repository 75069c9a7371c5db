// Number text, read and written without any locale: std::from_chars and
// std::to_chars do the work and the decimal separator is put in by hand.
//
// Two separators are in play. Numbers the user types or loads (lift lines, spin
// edits) and the texts of the inch conversion and the radius finder use the
// system's regional separator. Numbers written through format strings (result
// fields, coordinate lists) use the "Divider" choice.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// The operating system's regional decimal separator; the window sets it from
// the system locale at start.
extern char system_decimal_separator;
// The separator of formatted output, chosen under "Divider".
extern char output_decimal_separator;

void reset_numbers();

// A lift number: optional blanks, optional sign, digits with at most one
// decimal separator `sep`, optional exponent (E or e, optional sign, digits),
// optional blanks. Tabs, thousands separators, units, "nan", "inf" and numbers
// beyond the range of a double are not numbers.
std::optional<double> parse_float(std::string_view text, char sep);

// Optional blanks, optional sign, digits, optional blanks, within 32 bits.
std::optional<int> parse_int(std::string_view text);

// parse_float with the system separator, or the conversion error
// "'<text>' is not a valid floating point value".
double str_to_float(const std::string& text);

// "%.<decimals>f" with the decimal separator `sep`.
std::string format_fixed(double value, int decimals, char sep);
// "%.<decimals>f" under the "Divider" choice.
std::string format_output(double value, int decimals);
// The same, appended to `line` (thousands of list numbers per generate pass).
void append_output(std::string& line, double value, int decimals);

// Significant-digit text: `digits` significant digits at most, trailing zeros
// dropped, plain notation while the decimal exponent e of 0.d1d2... x 10^e lies
// in [-3, max_exponent], otherwise d1.d2...E<e-1>. Half-way cases round up in
// magnitude.
std::string format_significant(double value, int digits, int max_exponent, char sep);

// The general format of the inch conversion and the radius finder: 15
// significant digits, plain up to 15 integer digits, system separator.
std::string format_general(double value);

// A whole number as decimal text.
std::string format_int(long long value);

}  // namespace veltrano
