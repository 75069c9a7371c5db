// The state of the windows' controls that the calculation chain reads and
// writes: spin edit texts, check boxes, selected radio items, result texts and
// the lines of the memo and the coordinate lists. The window keeps its widgets
// in step with these; a test or the batch tool can set them directly.
#pragma once

#include <string>
#include <vector>

namespace veltrano {

// A numeric entry field with arrows. Its text is the truth; its value is the
// text read as a number, or the lower bound when the text cannot be read.
struct SpinEdit {
  bool is_float = false;
  int decimals = 0;        // shown for float values
  double increment = 1;    // one arrow click
  double min_value = 0;    // no bounds when both are 0
  double max_value = 0;
  std::string text;

  bool bounded() const { return !(min_value == 0 && max_value == 0); }
  double value() const;
  double clamp(double value) const;
  // Shows `value` (clamped to the bounds) in the field's notation.
  void set_value(double value);
  // One arrow click up (+1) or down (-1).
  void step(int direction);
  // The text `value` would be shown as.
  std::string format(double value) const;
};

SpinEdit integer_spin(int value, double increment, double min_value = 0, double max_value = 0);
SpinEdit float_spin(double value, int decimals, double increment);

// A list of text lines (memo or list box). The revision changes with every
// change and is never reused (0 is the empty list made at start), so the
// window writes back only what changed and the calculation rereads a memo
// only when it changed.
class TextList {
 public:
  const std::vector<std::string>& lines() const { return lines_; }
  int count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int i) const { return lines_[static_cast<std::size_t>(i)]; }
  unsigned long revision() const { return revision_; }

  void clear();
  void append(std::string line);
  void set_line(int i, std::string line);
  void assign(std::vector<std::string> lines);
  // Replaces the lines by those of `text` (CR LF, LF or CR between lines; a
  // line break at the very end starts no further line).
  void set_text(const std::string& text);
  // The lines joined by `separator`.
  std::string text(const std::string& separator = "\n") const;

 private:
  std::vector<std::string> lines_;
  unsigned long revision_ = 0;
};

// Splits text into lines as a memo does: CR LF, LF and CR end a line, and an
// empty piece after a final line break is not a line.
std::vector<std::string> split_lines(const std::string& text);

// The controls of the main window that the program reads or writes.
struct MainWindowControls {
  TextList inputdata;
  SpinEdit rotate = integer_spin(180, 10);
  bool deg10step = true;
  bool autoupdate = true;
  SpinEdit zoomfactor = integer_spin(10, 1, 1, 100000);
  bool repaintchk = true;
  bool clockwiserotation = false;
  int type_select = 0;  // 0 flat, 1 roller, 2 finger A, 3 finger B, 4 knife edge
  bool drawencirclement = false;
  SpinEdit X_move = integer_spin(375, 100);
  SpinEdit Y_move = integer_spin(400, 100);

  std::string liftedit;
  std::string flatdistedit;
  std::string flatdistdiamedit;
  std::string attackangleedit;
  int XYspacing = 0;   // 0 one degree, 1 half a degree, 2 a tenth, 3 raw
  int dividersign = 0; // 0 comma, 1 dot
  SpinEdit smoothres = float_spin(25, 0, 1);
  bool addZcoord = false;
  bool radiuscalc = true;
  bool adddegreenumbers = false;
  TextList XYcoordinates;
  std::string calclines;
  bool subtractbasecircle = true;
  TextList XYequalcoordinates;
  SpinEdit findcirclespin = integer_spin(180, 1, 1, 359);
  std::string circleradius;
  bool savedxf = false;
};

// Fields of the four follower setup dialogs.
struct FingerADialogControls {  // TForm2
  SpinEdit F2_basecircle = float_spin(0, 1, 0.5);
  SpinEdit F2_camcenter_hinge = float_spin(0, 1, 0.5);
  SpinEdit F2_rollercenter_hinge = float_spin(0, 1, 0.5);
  SpinEdit F2_rollerdiameter = float_spin(0, 1, 0.5);
  SpinEdit F2_valvepoint_hinge = float_spin(0, 1, 0.5);
};
struct FingerBDialogControls {  // TForm3
  SpinEdit F3_rollerdiameter = float_spin(0, 1, 0.5);
  SpinEdit F3_rollercenter_hinge = float_spin(0, 1, 0.5);
  SpinEdit F3_camcenter_hinge = float_spin(0, 1, 0.5);
  SpinEdit F3_basecircle = float_spin(0, 1, 0.5);
  SpinEdit F3_valvepoint_hinge = float_spin(0, 1, 0.5);
};
struct FlatDialogControls {  // TForm4
  SpinEdit F4_rockerratio = float_spin(0, 2, 0.05);
  SpinEdit F4_flatfollower = float_spin(0, 2, 0.5);
  SpinEdit F4_basecircle = float_spin(0, 2, 0.5);
};
struct RollerDialogControls {  // TForm5
  SpinEdit F5_rockerratio = float_spin(0, 2, 0.05);
  SpinEdit follower_offset = float_spin(0, 2, 1);
  SpinEdit F5_rollerdiameter = float_spin(0, 2, 0.5);
  SpinEdit F5_basecircle = float_spin(0, 2, 1);
};

extern MainWindowControls form1;
extern FingerADialogControls form2;
extern FingerBDialogControls form3;
extern FlatDialogControls form4;
extern RollerDialogControls form5;

// Every control back at its default, texts written with the current system
// decimal separator.
void reset_controls();

}  // namespace veltrano
