// Shared working tables and run state of a calculation.
//
// The calculation chain passes nothing as arguments: lift preparation, the
// calculators and the coordinate output meet in these fixed-size tables and
// scalars, which exist once for the process and are 0 at start. No table ever
// grows; every index used must lie inside its table.
#pragma once

#include <cstddef>

namespace veltrano {

inline constexpr int kTableSize = 5000;      // lift, slope and raw point tables
inline constexpr int kFineTableSize = 40000; // equal-step tables
inline constexpr int kSweepSteps = 3600;     // one contour point per 0.1 degree
inline constexpr int kPeakIndex = 1800;      // where centring puts the highest lift

// pi as every angle conversion of the program uses it.
inline constexpr double pi = 3.141592653589793;

// Lift tables: index = sample number (0.1 degree each).
extern double lift_input[kTableSize];
extern double slope_input[kTableSize];
extern double lift_table[kTableSize];
extern double slope_table[kTableSize];
// Scratch space of the clockwise reversal; nobody else reads it.
extern double reverse_scratch[kTableSize];

// Raw contact points of a generate pass, slot = sweep step; the equal-step
// generator reuses them for its output.
extern double raw_angle[kTableSize];
extern double raw_x[kTableSize];
extern double raw_y[kTableSize];

// Equal-step tables: rebuilt by each equal-step pass, untouched by a plain
// calculation.
extern double fine_angle[kFineTableSize];
extern double fine_x[kFineTableSize];
extern double fine_y[kFineTableSize];
extern double corrected_x[kFineTableSize];
extern double corrected_y[kFineTableSize];
// How many corrected points the last equal-step pass left in corrected_x/y.
extern int corrected_count;

extern int sample_count;
extern int peak_index;
extern int sweep_index;
extern int zoom;
extern double x_offset;
extern double y_offset;
extern double rotation_deg;
extern double rotation_rad;
extern double follower_offset;
extern int spacing_mode;

// Run flags: 1 only while a generate pass runs.
extern int generate_mode;
extern int add_degree_numbers;
extern int add_z;
extern int radius_values;

// Back to the state at process start (for tests).
void reset_tables();

}  // namespace veltrano
