#include "model/tables.h"

#include <algorithm>

namespace veltrano {

double lift_input[kTableSize];
double slope_input[kTableSize];
double lift_table[kTableSize];
double slope_table[kTableSize];
double reverse_scratch[kTableSize];
double raw_angle[kTableSize];
double raw_x[kTableSize];
double raw_y[kTableSize];
double fine_angle[kFineTableSize];
double fine_x[kFineTableSize];
double fine_y[kFineTableSize];
double corrected_x[kFineTableSize];
double corrected_y[kFineTableSize];
int corrected_count = 0;

int sample_count = 0;
int peak_index = 0;
int sweep_index = 0;
int zoom = 0;
double x_offset = 0;
double y_offset = 0;
double rotation_deg = 0;
double rotation_rad = 0;
double follower_offset = 0;
int spacing_mode = 0;
int generate_mode = 0;
int add_degree_numbers = 0;
int add_z = 0;
int radius_values = 0;

void reset_tables() {
  for (double* t : {lift_input, slope_input, lift_table, slope_table, reverse_scratch, raw_angle,
                    raw_x, raw_y})
    std::fill_n(t, kTableSize, 0.0);
  for (double* t : {fine_angle, fine_x, fine_y, corrected_x, corrected_y})
    std::fill_n(t, kFineTableSize, 0.0);
  corrected_count = 0;
  sample_count = peak_index = sweep_index = zoom = spacing_mode = 0;
  x_offset = y_offset = rotation_deg = rotation_rad = follower_offset = 0;
  generate_mode = add_degree_numbers = add_z = radius_values = 0;
}

}  // namespace veltrano
