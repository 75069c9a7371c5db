#include "output/raw_recorder.h"

#include <cmath>
#include <string>

#include "app/numbers.h"
#include "model/controls.h"
#include "model/tables.h"

namespace veltrano {

double first_angle = 0;
int first_angle_set = 0;

void reset_first_angle() {
  first_angle = 0;
  first_angle_set = 0;
}

void record_raw_point(double x, double y) {
  double a = std::atan2(y, x) * 180 / pi;
  if (first_angle_set == 0) {
    first_angle_set = 1;
    first_angle = a;
  }
  a -= first_angle;
  raw_angle[sweep_index] = a;
  raw_x[sweep_index] = x;
  raw_y[sweep_index] = y;
  std::string line;
  if (add_degree_numbers == 1) {
    append_output(line, a, 3);
    line += "   ";
  }
  append_output(line, x, 8);
  line += "   ";
  append_output(line, y, 8);
  if (add_z == 1) {
    line += "   ";
    append_output(line, 0.0, 2);
  }
  form1.XYcoordinates.append(std::move(line));
}

}  // namespace veltrano
