// The main window's small handlers. The window calls them through its one
// wrapper, which keeps the widgets and the control state in step.
#pragma once

#include <string>

namespace veltrano {

// Decimal comma for formatted output, as "Comma" under "Divider".
void FormCreate();
// Runs the calculation when "Auto upd." is checked.
void rotateChange();
// The step of "Rotate Cam": 10 with "10 D. step" checked, else 1.
void deg10stepClick();
// X offset 375 for the flat, roller and knife-edge followers, 200 for the
// finger followers; nothing is calculated.
void type_selectClick();
// Comma for item 0, point otherwise, for formatted output from now on.
void dividersignClick();
void cleardataClick();
// Multiplies every lift line by 25.4, in place.
void convert_inch_buttonClick();
void XYclearClick();
// The generate pass: lists cleared, run flags set for one calculation.
void genXYcoordClick();

// Replaces the memo by the lines of an 8-bit text file, or throws
// "Cannot open file <path>" and leaves the memo as it was.
void load_lift_file(const std::string& path);

// Reads a whole file as bytes; false when it cannot be opened or read.
bool read_file_bytes(const std::string& path, std::string& bytes);

// 8-bit (Latin-1) text to UTF-8 and back; characters beyond Latin-1 become '?'.
std::string latin1_to_utf8(const std::string& bytes);
std::string utf8_to_latin1(const std::string& text);

// Every control, table, parameter and the surface back at the start state.
void reset_all();

}  // namespace veltrano
