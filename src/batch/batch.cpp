#include "batch.h"

#include <charconv>
#include <locale>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "output/coordinate_files.h"
#include "png_image.h"

namespace veltrano {

namespace {

constexpr const char* kUsage =
    R"(Usage: veltrano-batch [options] LIFTFILE

Turns a valve-lift table (one lift in mm per line, one line per 0.1 degree of
cam rotation) into the cam contour for the chosen follower, with the same
numbers and files as the window's "Generate XY coordinates" and its saves.

  --follower flat|roller|finger-a|finger-b|knife   follower kind (default flat)
  --base MM --face MM --roller MM --rocker R --offset MM
                        flat / roller / knife geometry (defaults 28, 30, 20, 1, 0)
  --ff-base MM --ff-roller MM --ff-cam-hinge MM --ff-roller-hinge MM --ff-valve-hinge MM
                        finger geometry (defaults 28, 44, 32, 20, 22)
  --clockwise           "Clock wise rotating Cam"
  --step 1|0.5|0.1|raw  "X - Y coords / Radius degree steps" (default 1)
  --smoothing N         "Smoothing" (default 25)
  --xy                  X/Y lines instead of radius values
  --keep-base-circle    radius values without subtracting the base circle radius
  --degrees             "Add Degree numbers"
  --z                   "Add 0.0 Z coordinate "
  --divider comma|dot   decimal separator of the written numbers (default comma)
  --decimal-point .|,   separator of the lift file (default: the system's)
  --raw FILE --corrected FILE --dxf FILE
                        exact output paths; nothing is written unless named
  --picture FILE.png [--rotate DEG] [--zoom N] [--x-move PX] [--y-move PX] [--encirclement]
                        the 750 x 750 drawing of a calculation at that rotation
  --report              print the result fields of the last calculation
  --help, --version

Command-line numbers use a decimal point. Exit status: 0 done, 1 an error of
the calculation or the files, 2 a usage error. A failed run writes no file.
)";

struct Usage : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Options that take a value, and flags.
const char* const kValueOptions[] = {
    "--follower", "--base", "--face", "--roller", "--rocker", "--offset", "--ff-base",
    "--ff-roller", "--ff-cam-hinge", "--ff-roller-hinge", "--ff-valve-hinge", "--step",
    "--smoothing", "--divider", "--decimal-point", "--raw", "--corrected", "--dxf", "--picture",
    "--rotate", "--zoom", "--x-move", "--y-move"};
const char* const kFlags[] = {"--clockwise", "--xy", "--keep-base-circle", "--degrees", "--z",
                              "--encirclement", "--report", "--help", "--version"};

bool is_one_of(const std::string& name, const auto& names) {
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

struct Options {
  std::map<std::string, std::string> values;
  std::map<std::string, bool> flags;
  std::string lift_file;

  bool has(const std::string& name) const { return values.count(name) != 0; }
  bool flag(const std::string& name) const { return flags.count(name) != 0; }
};

Options parse(const std::vector<std::string>& args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      std::string value;
      const std::size_t eq = arg.find('=');
      const bool inline_value = eq != std::string::npos;
      if (inline_value) {
        value = arg.substr(eq + 1);
        arg.resize(eq);
      }
      if (is_one_of(arg, kFlags)) {
        if (inline_value) throw Usage(arg + " takes no value");
        o.flags[arg] = true;
      } else if (is_one_of(arg, kValueOptions)) {
        if (!inline_value) {
          if (i + 1 >= args.size()) throw Usage(arg + " needs a value");
          value = args[++i];
        }
        o.values[arg] = value;
      } else {
        throw Usage("unknown option " + arg);
      }
    } else {
      if (!o.lift_file.empty()) throw Usage("more than one lift file: " + arg);
      o.lift_file = arg;
    }
  }
  return o;
}

double number(const Options& o, const std::string& name) {
  const std::string& text = o.values.at(name);
  if (auto v = parse_float(text, '.')) return *v;
  throw Usage(name + " needs a number, not '" + text + "'");
}

int whole_number(const Options& o, const std::string& name) {
  const std::string& text = o.values.at(name);
  if (auto v = parse_int(text)) return *v;
  throw Usage(name + " needs a whole number, not '" + text + "'");
}

// The text of a float field into which this value was typed: the shortest
// plain digits that read back as the same double, with the system separator.
std::string typed(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  for (char& c : text)
    if (c == '.') c = system_decimal_separator;
  return text;
}

int choice(const Options& o, const std::string& name, std::initializer_list<const char*> items) {
  const std::string& text = o.values.at(name);
  int index = 0;
  for (const char* item : items) {
    if (text == item) return index;
    ++index;
  }
  std::string list;
  for (const char* item : items) list += (list.empty() ? "" : "|") + std::string(item);
  throw Usage(name + " takes " + list + ", not '" + text + "'");
}

// The controls and parameters as the window would hold them for these options.
void apply(const Options& o) {
  if (o.has("--follower")) {
    form1.type_select = choice(o, "--follower", {"flat", "roller", "finger-a", "finger-b", "knife"});
    type_selectClick();  // the X offset of the drawing follows the kind, as in the window
  }
  const std::pair<const char*, double*> lengths[] = {
      {"--base", &basecircle},           {"--face", &flatfollower},
      {"--roller", &rollerdiameter},     {"--rocker", &rockerratio},
      {"--ff-base", &ff_basecircle},     {"--ff-roller", &ff_rollerdiameter},
      {"--ff-cam-hinge", &ff_camcenter_hinge}, {"--ff-roller-hinge", &ff_rollercenter_hinge},
      {"--ff-valve-hinge", &ff_valvepoint_hinge}};
  for (const auto& [name, parameter] : lengths)
    if (o.has(name)) *parameter = number(o, name);
  if (o.has("--offset")) form5.follower_offset.text = typed(number(o, "--offset"));
  if (o.has("--smoothing")) form1.smoothres.text = typed(number(o, "--smoothing"));
  if (o.has("--step")) form1.XYspacing = choice(o, "--step", {"1", "0.5", "0.1", "raw"});
  if (o.has("--divider")) {
    form1.dividersign = choice(o, "--divider", {"comma", "dot"});
    dividersignClick();
  }
  form1.clockwiserotation = o.flag("--clockwise");
  form1.radiuscalc = !o.flag("--xy");
  form1.subtractbasecircle = !o.flag("--keep-base-circle");
  form1.adddegreenumbers = o.flag("--degrees");
  form1.addZcoord = o.flag("--z");
  form1.drawencirclement = o.flag("--encirclement");
  const std::pair<const char*, SpinEdit*> view[] = {{"--rotate", &form1.rotate},
                                                    {"--zoom", &form1.zoomfactor},
                                                    {"--x-move", &form1.X_move},
                                                    {"--y-move", &form1.Y_move}};
  for (const auto& [name, field] : view)
    if (o.has(name)) field->text = format_int(whole_number(o, name));
}

void report(std::ostream& out) {
  out << "Lift: " << form1.liftedit << "\n"
      << "Flat Tappet contact radius: " << form1.flatdistedit << "\n"
      << "Flat Tappet contact diameter: " << form1.flatdistdiamedit << "\n"
      << "Roller Follower pressure angle: " << form1.attackangleedit << "\n"
      << "Lines calculated: " << form1.calclines << "\n";
}

}  // namespace

char system_separator_from_environment() {
  try {
    const std::locale system("");
    return std::use_facet<std::numpunct<char>>(system).decimal_point();
  } catch (const std::exception&) {
    return '.';
  }
}

int run_batch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  try {
    o = parse(args);
    if (o.flag("--help")) {
      out << kUsage;
      return 0;
    }
    if (o.flag("--version")) {
      out << "veltrano-batch " << VELTRANO_VERSION << "\n";
      return 0;
    }
    if (o.lift_file.empty()) throw Usage("no lift file given");
    reset_all();
    system_decimal_separator = system_separator_from_environment();
    if (o.has("--decimal-point")) {
      const std::string& sep = o.values.at("--decimal-point");
      if (sep != "." && sep != ",") throw Usage("--decimal-point takes . or ,, not '" + sep + "'");
      system_decimal_separator = sep[0];
    }
    reset_controls();  // field texts with this separator
    FormCreate();
    apply(o);
  } catch (const Usage& e) {
    err << "veltrano-batch: " << e.what() << " (see --help)\n";
    return 2;
  }

  try {
    load_lift_file(o.lift_file);
    const bool coordinates = o.has("--raw") || o.has("--corrected") || o.has("--dxf");
    const bool picture = o.has("--picture");
    FileSet files;
    if (coordinates || !picture) {
      genXYcoordClick();
      if (o.has("--raw")) files.add(o.values.at("--raw"), list_file_bytes(form1.XYcoordinates));
      if (o.has("--corrected"))
        files.add(o.values.at("--corrected"), list_file_bytes(form1.XYequalcoordinates));
      if (o.has("--dxf"))
        files.add(o.values.at("--dxf"), dxf_file_bytes(corrected_point_count()));
    }
    if (picture) {
      calculate_lobeClick();
      files.add(o.values.at("--picture"), surface_png_bytes());
    }
    files.write();
    if (o.flag("--report")) report(out);
  } catch (const std::exception& e) {
    err << error_display_text(e.what()) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace veltrano
