// Fuzz target: lift text through the whole chain, as a user drives it from the
// main window: the memo, the controls, the follower settings, then "Calculate
// Cam lobe" or "Generate XY coordinates" (and, after a generate pass, the
// corrected drawing and the radius finder).
//
// Input layout (bytes missing at the end read as 0, the defaults):
//   0      follower kind (mod 5)
//   1      bit 0 generate, 1 clockwise, 2-3 XYspacing, 4 Divider dot,
//          5 degree numbers, 6 Z column, 7 radius values off
//   2      bit 0 base circle kept in radius values, 1 encirclement,
//          2 repaint off, 3 system separator comma, 4 hostile follower
//          geometry, 5 hostile view values, 6 corrected drawing and radius
//          finder after a generate pass, 7 inch conversion first
//   3      "Rotate Cam" (180 + signed byte, or a hostile text)
//   4      "Smoothing" text
//   5-14   follower geometry, one byte per parameter (see kGeometry)
//   15-17  X_move, Y_move, zoomfactor texts
//   18     "Find Cam Radius at:" value
//   rest   the text of the lift memo
//
// A veltrano::Error is a normal outcome. Anything else is a finding: a crash,
// a sanitizer report, another exception, a hang, or a listed number (or a
// corrected point for the DXF file) that is not a number.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "fuzz_support.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"
#include "output/coordinate_files.h"
#include "output/corrected_tools.h"

namespace veltrano::fuzz {
namespace {

// Values a user can type into a length or ratio field: the dialogs check
// nothing, so zero, negative, tiny and huge values all reach the calculators.
constexpr std::array<double, 16> kHostile = {0,    -1,    1e-300, 1e300,  -1e300, 1.7e308,
                                             1e-9, 0.5,   1e6,    -28,    2,      100,
                                             1e15, -1e-9, 4e-320, 3.0e154};

double geometry_value(std::uint8_t b, double normal) {
  if (b < 96) return normal;                     // most runs keep the default
  if (b < 160) return normal * (b - 96) / 32.0;  // 0 to twice the default
  return kHostile[b % kHostile.size()];
}

// Texts an integer spin edit can hold.
constexpr std::array<const char*, 12> kIntegerTexts = {
    "0",   "-1", "2147483647", "-2147483648", "1000000", "-375",
    "abc", "",   " 12 ",       "99999",       "-99999",  "1e3"};

constexpr std::array<const char*, 14> kSmoothingTexts = {
    "25", "0",   "-3",  "1",         "1000000000", "1E300",  "abc",
    "",   "2,5", "0.5", "100000000", "-1e308",     "1e-300", "6666666"};

void set_geometry(Input& in, bool hostile) {
  double* const params[] = {&ff_basecircle,         &ff_rollerdiameter,   &ff_camcenter_hinge,
                            &ff_rollercenter_hinge, &ff_valvepoint_hinge, &basecircle,
                            &rollerdiameter,        &flatfollower,        &rockerratio};
  for (double* p : params) {
    const std::uint8_t b = in.byte();
    if (hostile) *p = geometry_value(b, *p);
  }
  const std::uint8_t b = in.byte();
  if (hostile) form5.follower_offset.text = format_general(geometry_value(b, 0 + (b & 7)));
}

// A listed number: optional '-', digits, at most one separator `sep`, digits.
bool is_plain_number(const std::string& field, char sep) {
  std::size_t i = field.size() && field[0] == '-' ? 1 : 0;
  bool digits = false, separator = false;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == sep && !separator) {
      separator = true;
    } else {
      return false;
    }
  }
  return digits;
}

// Every field of every line a plain number, fields split by three blanks.
void check_list(const TextList& list, const char* name, int fields_min, int fields_max) {
  for (int k = 0; k < list.count(); ++k) {
    const std::string& line = list[k];
    int fields = 0;
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = line.find("   ", start);
      const std::string field = line.substr(start, end == std::string::npos ? end : end - start);
      FUZZ_REQUIRE(is_plain_number(field, output_decimal_separator),
                   std::string(name) + " line " + std::to_string(k) + " is " + quoted(line));
      ++fields;
      if (end == std::string::npos) break;
      start = end + 3;
    }
    FUZZ_REQUIRE(fields >= fields_min && fields <= fields_max,
                 std::string(name) + " line " + std::to_string(k) + " has " +
                     std::to_string(fields) + " fields: " + quoted(line));
  }
}

// A result field is blank, a number, or the NaN of 0/0 (which the program
// lets through where a zero follower setting divides a zero lift).
void check_result_field(const std::string& text, const char* name) {
  if (text.empty() || text == "nan" || text == "-nan") return;
  FUZZ_REQUIRE(is_plain_number(text, output_decimal_separator),
               std::string(name) + " shows " + quoted(text));
}

void check_after_run(bool generate, bool completed) {
  FUZZ_REQUIRE(generate_mode == 0 && add_degree_numbers == 0 && add_z == 0 && radius_values == 0,
               "run flags left set after the pass");
  check_result_field(form1.liftedit, "liftedit");
  check_result_field(form1.flatdistedit, "flatdistedit");
  check_result_field(form1.flatdistdiamedit, "flatdistdiamedit");
  check_result_field(form1.attackangleedit, "attackangleedit");
  FUZZ_REQUIRE(corrected_count >= 0 && corrected_count <= kSweepSteps,
               "corrected_count " + std::to_string(corrected_count));
  if (!generate) return;
  check_list(form1.XYcoordinates, "XYcoordinates", 2, 4);
  check_list(form1.XYequalcoordinates, "XYequalcoordinates", 1, 4);
  if (!completed) return;
  FUZZ_REQUIRE(form1.XYcoordinates.count() == kSweepSteps,
               "raw list has " + std::to_string(form1.XYcoordinates.count()) + " lines");
  const int expected = form1.XYspacing == 3   ? 0
                       : form1.XYspacing == 0 ? 360
                       : form1.XYspacing == 1 ? 720
                                              : 3600;
  FUZZ_REQUIRE(form1.XYequalcoordinates.count() == expected,
               "corrected list has " + std::to_string(form1.XYequalcoordinates.count()) +
                   " lines, spacing " + std::to_string(form1.XYspacing));
  // What the DXF file and the corrected drawing are made of (the DXF text of
  // a finite number is the number_texts target's business).
  for (int k = 0; k < corrected_point_count(); ++k)
    FUZZ_REQUIRE(std::isfinite(corrected_x[k]) && std::isfinite(corrected_y[k]),
                 "corrected point " + std::to_string(k) + " is not finite");
}

void run(Input& in) {
  reset_all();
  FormCreate();

  const int kind = in.byte() % 5;
  const std::uint8_t flags = in.byte();
  const std::uint8_t more = in.byte();
  const std::uint8_t rotate = in.byte();
  const std::uint8_t smoothing = in.byte();

  const bool generate = flags & 1;
  form1.type_select = kind;
  type_selectClick();
  form1.clockwiserotation = flags & 2;
  form1.XYspacing = (flags >> 2) & 3;
  form1.dividersign = (flags & 16) ? 1 : 0;
  dividersignClick();
  form1.adddegreenumbers = flags & 32;
  form1.addZcoord = flags & 64;
  form1.radiuscalc = !(flags & 128);
  form1.subtractbasecircle = !(more & 1);
  form1.drawencirclement = more & 2;
  form1.repaintchk = !(more & 4);
  if (more & 8) system_decimal_separator = ',';
  const bool hostile_view = more & 32;

  form1.rotate.text = rotate < 200 ? std::to_string(180 + static_cast<std::int8_t>(rotate))
                                   : kIntegerTexts[rotate % kIntegerTexts.size()];
  form1.smoothres.text = smoothing < 128 ? kSmoothingTexts[smoothing % kSmoothingTexts.size()]
                                         : std::to_string(smoothing - 128);
  set_geometry(in, more & 16);
  for (SpinEdit* spin : {&form1.X_move, &form1.Y_move, &form1.zoomfactor}) {
    const std::uint8_t b = in.byte();
    if (hostile_view) spin->text = kIntegerTexts[b % kIntegerTexts.size()];
  }
  form1.findcirclespin.text = std::to_string(static_cast<int>(in.byte()) * 15 - 100);

  form1.inputdata.set_text(in.rest());

  bool completed = false;
  std::string outcome;
  try {
    if (more & 128) convert_inch_buttonClick();
    if (generate)
      genXYcoordClick();
    else
      calculate_lobeClick();
    completed = true;
    outcome = "done: " + std::to_string(form1.XYcoordinates.count()) + " raw and " +
              std::to_string(form1.XYequalcoordinates.count()) + " corrected lines, lift " +
              form1.liftedit;
  } catch (const Error& e) {
    outcome = std::string("error: ") + e.what();
  }
  // Set VELTRANO_FUZZ_VERBOSE to see what each input came to.
  if (std::getenv("VELTRANO_FUZZ_VERBOSE")) std::fprintf(stderr, "%s\n", outcome.c_str());
  check_after_run(generate, completed);

  if (generate && completed && (more & 64)) {
    drawcorrectedcoordsClick();
    try {
      findcircleClick();
    } catch (const Error&) {
    }
    check_after_run(false, false);
    if (!form1.circleradius.empty())
      FUZZ_REQUIRE(parse_float(form1.circleradius, system_decimal_separator).has_value(),
                   "circleradius shows " + quoted(form1.circleradius));
  }
}

}  // namespace
}  // namespace veltrano::fuzz

VELTRANO_FUZZ_TARGET(run)
