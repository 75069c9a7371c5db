#include "app/handlers.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "output/raw_recorder.h"
#include "view/surface.h"

namespace veltrano {

void FormCreate() { output_decimal_separator = ','; }

void rotateChange() {
  if (form1.autoupdate) calculate_lobeClick();
}

void deg10stepClick() { form1.rotate.increment = form1.deg10step ? 10 : 1; }

void type_selectClick() {
  const int item = form1.type_select;
  form1.X_move.set_value(item == 2 || item == 3 ? 200 : 375);
}

void dividersignClick() { output_decimal_separator = form1.dividersign == 0 ? ',' : '.'; }

void cleardataClick() { form1.inputdata.clear(); }

void convert_inch_buttonClick() {
  std::fill_n(lift_input, kTableSize, 0.0);
  read_lift_lines();  // a line that is not a number leaves the memo unchanged
  for (int i = 0; i < sample_count; ++i) lift_input[i] = check_overflow(lift_input[i] * 25.4);
  std::vector<std::string> lines(static_cast<std::size_t>(sample_count));
  for (int i = 0; i < sample_count; ++i)
    lines[static_cast<std::size_t>(i)] = format_general(lift_input[i]);
  form1.inputdata.assign(std::move(lines));
}

void XYclearClick() {
  form1.XYcoordinates.clear();
  form1.XYequalcoordinates.clear();
  form1.calclines.clear();
}

namespace {
void clear_run_flags() { generate_mode = add_degree_numbers = add_z = radius_values = 0; }
}  // namespace

void genXYcoordClick() {
  XYclearClick();
  generate_mode = 1;
  add_degree_numbers = form1.adddegreenumbers ? 1 : 0;
  add_z = form1.addZcoord ? 1 : 0;
  radius_values = form1.radiuscalc ? 1 : 0;
  reset_first_angle();
  try {
    calculate_lobeClick();
  } catch (...) {
    clear_run_flags();
    throw;
  }
  clear_run_flags();
}

bool read_file_bytes(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    bytes = std::move(data);
    return true;
  } catch (const std::exception&) {
    return false;  // a read error the stream reports by throwing
  }
}

void load_lift_file(const std::string& path) {
  std::string bytes;
  if (!read_file_bytes(path, bytes)) throw Error("Cannot open file " + path);
  form1.inputdata.set_text(latin1_to_utf8(bytes));
}

std::string latin1_to_utf8(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

std::string utf8_to_latin1(const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (i + length > text.size()) length = 1;
    if (length == 1) {
      bytes += c < 0x80 ? static_cast<char>(c) : '?';
    } else {
      unsigned code = c & (0x7Fu >> length);
      for (std::size_t k = 1; k < length; ++k)
        code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
      bytes += code < 0x100 ? static_cast<char>(code) : '?';
    }
    i += length;
  }
  return bytes;
}

void reset_all() {
  reset_numbers();
  reset_tables();
  reset_follower_params();
  reset_controls();
  reset_surface();
  reset_first_angle();
}

}  // namespace veltrano
