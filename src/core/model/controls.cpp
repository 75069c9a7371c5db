#include "model/controls.h"

#include <cmath>
#include <limits>

#include "app/numbers.h"

namespace veltrano {

MainWindowControls form1;
FingerADialogControls form2;
FingerBDialogControls form3;
FlatDialogControls form4;
RollerDialogControls form5;

namespace {

// Fixed notation as the spin edits show it: a value exactly half-way between
// two shown values goes away from zero (28.25 with one decimal shows 28.3),
// where the shortest-digits formatter would round to even.
std::string format_spin_fixed(double v, int decimals, char sep) {
  const double scale = std::pow(10.0, decimals);
  const double scaled = v * scale;
  // The product is exact when the fused remainder is 0; only then can the
  // value itself lie half-way.
  const bool exact = std::isfinite(scaled) && std::fma(v, scale, -scaled) == 0;
  if (exact && std::fabs(scaled - std::trunc(scaled)) == 0.5)
    v = (std::trunc(scaled) + std::copysign(1.0, v)) / scale;
  return format_fixed(v, decimals, sep);
}

}  // namespace

double SpinEdit::value() const {
  if (is_float) {
    if (auto v = parse_float(text, system_decimal_separator)) return *v;
  } else {
    if (auto v = parse_int(text)) return *v;
  }
  return min_value;
}

double SpinEdit::clamp(double v) const {
  if (!bounded()) return v;
  if (v < min_value) return min_value;
  if (v > max_value) return max_value;
  return v;
}

std::string SpinEdit::format(double v) const {
  v = clamp(v);
  if (is_float) return format_spin_fixed(v, decimals, system_decimal_separator);
  // Integer fields hold 32-bit values.
  if (std::isnan(v)) v = 0;
  v = std::round(v);
  v = std::fmax(std::fmin(v, std::numeric_limits<int>::max()), std::numeric_limits<int>::min());
  return format_int(static_cast<long long>(v));
}

void SpinEdit::set_value(double v) { text = format(v); }

void SpinEdit::step(int direction) { set_value(value() + direction * increment); }

SpinEdit integer_spin(int value, double increment, double min_value, double max_value) {
  SpinEdit s;
  s.is_float = false;
  s.increment = increment;
  s.min_value = min_value;
  s.max_value = max_value;
  s.set_value(value);
  return s;
}

SpinEdit float_spin(double value, int decimals, double increment) {
  SpinEdit s;
  s.is_float = true;
  s.decimals = decimals;
  s.increment = increment;
  s.set_value(value);
  return s;
}

namespace {
// One counter for all lists: a revision is never reused, not even by a list
// made anew, so a revision names one content for good.
unsigned long next_revision() {
  static unsigned long counter = 0;
  return ++counter;
}
}  // namespace

void TextList::clear() {
  lines_.clear();
  revision_ = next_revision();
}

void TextList::append(std::string line) {
  lines_.push_back(std::move(line));
  revision_ = next_revision();
}

void TextList::set_line(int i, std::string line) {
  lines_[static_cast<std::size_t>(i)] = std::move(line);
  revision_ = next_revision();
}

void TextList::assign(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  revision_ = next_revision();
}

void TextList::set_text(const std::string& text) { assign(split_lines(text)); }

std::string TextList::text(const std::string& separator) const {
  std::string out;
  std::size_t size = 0;
  for (const auto& line : lines_) size += line.size() + separator.size();
  out.reserve(size);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i) out += separator;
    out += lines_[i];
  }
  return out;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text, start, i - start);
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text, start, text.size() - start);
  return lines;
}

void reset_controls() {
  form1 = MainWindowControls{};
  form2 = FingerADialogControls{};
  form3 = FingerBDialogControls{};
  form4 = FlatDialogControls{};
  form5 = RollerDialogControls{};
}

}  // namespace veltrano
