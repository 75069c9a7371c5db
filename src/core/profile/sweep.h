// What every calculator's contour sweep shares: plotting and recording a
// contour point, and the end of the sweep.
#pragma once

namespace veltrano {

// A rocker ratio of 0 divides every lift by zero. A lift of 0 would only give
// 0/0 (no error, no point), so a curve without lift would end without a word
// and with "nan" in the result fields: the division by zero is raised where
// the first lift is divided, whatever the lift.
void check_rocker_ratio();

// sweep_index = 0, and no point counted as missing yet.
void begin_sweep();

// Draws the contour point white and, in a generate pass, records it. A point
// that is not a number (0/0 upstream) is skipped and counted; an infinite one
// is an overflow.
void contour_point(double x, double y);

// In a generate pass, a sweep with skipped points is refused with a message.
void check_sweep_complete();

// spacing_mode from "X - Y coords / Radius degree steps", then the equal-step
// pass when this is a generate pass and raw spacing is not chosen.
void start_equal_steps();

// The raw line count into "Lines calculated".
void show_raw_line_count();

// End of a sweep as the flat tappet, roller and knife edge have it: the raw
// line count, then spacing_mode and the equal-step pass where one is due.
void finish_sweep();

}  // namespace veltrano
