#include "view/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "model/tables.h"

namespace veltrano {

Colour surface_pixels[kSurfaceSize * kSurfaceSize];
unsigned long surface_revision = 0;

namespace {
Colour pen = colour::black;
Pixel pen_position{0, 0};

bool inside(long long column, long long row) {
  return column >= 0 && column < kSurfaceSize && row >= 0 && row < kSurfaceSize;
}

void plot(long long column, long long row, Colour c) {
  if (inside(column, row))
    surface_pixels[row * kSurfaceSize + column] = c;
}

// Floor of a / b for b > 0, in 128 bits: coordinates span 32 bits each, so
// products of two differences need more than 64.
__extension__ typedef __int128 wide;
wide floor_div(wide a, wide b) {
  wide q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return q;
}
}  // namespace

Colour get_pixel(int column, int row) {
  if (!inside(column, row)) return colour::black;
  return surface_pixels[row * kSurfaceSize + column];
}

void set_pixel(int column, int row, Colour c) {
  if (column == kNoPixel || row == kNoPixel) return;
  plot(column, row, c);
  ++surface_revision;
}

void set_pixel(Pixel p, Colour c) { set_pixel(p.column, p.row, c); }

void set_pen_colour(Colour c) { pen = c; }
Colour pen_colour() { return pen; }

void move_to(int column, int row) { pen_position = {column, row}; }
void move_to(Pixel p) { move_to(p.column, p.row); }

void line_to(int column, int row) {
  const Pixel from = pen_position;
  pen_position = {column, row};
  if (from.column == kNoPixel || from.row == kNoPixel || column == kNoPixel || row == kNoPixel)
    return;
  ++surface_revision;
  // Step along the major axis from the start up to, not including, the end;
  // the minor coordinate is the exact line rounded half up. Only the steps
  // that can land on the surface are visited, so a line between far-away
  // points costs no more than one across the surface.
  const long long x0 = from.column, y0 = from.row, x1 = column, y1 = row;
  const long long dx = x1 - x0, dy = y1 - y0;
  if (dx == 0 && dy == 0) return;
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const long long major_start = x_major ? x0 : y0;
  const long long major_delta = x_major ? dx : dy;
  const long long minor_start = x_major ? y0 : x0;
  const long long minor_delta = x_major ? dy : dx;
  const long long dir = major_delta > 0 ? 1 : -1;
  const long long steps = std::llabs(major_delta);  // end excluded
  // Range of step counts t in [0, steps) whose major coordinate is on the surface.
  long long t_lo, t_hi;
  if (dir > 0) {
    t_lo = std::max(0LL, -major_start);
    t_hi = std::min(steps - 1, kSurfaceSize - 1 - major_start);
  } else {
    t_lo = std::max(0LL, major_start - (kSurfaceSize - 1));
    t_hi = std::min(steps - 1, major_start);
  }
  for (long long t = t_lo; t <= t_hi; ++t) {
    const long long major = major_start + dir * t;
    // minor = minor_start + round(t * minor_delta / steps), half up.
    const wide numerator = static_cast<wide>(2) * t * minor_delta + steps;
    const long long minor =
        minor_start + static_cast<long long>(floor_div(numerator, static_cast<wide>(2) * steps));
    if (x_major)
      plot(major, minor, pen);
    else
      plot(minor, major, pen);
  }
}

void line_to(Pixel p) { line_to(p.column, p.row); }

void fill_rectangle(int left, int top, int right, int bottom, Colour brush) {
  ++surface_revision;
  const int l = std::max(left, 0), t = std::max(top, 0);
  const int r = std::min(right, kSurfaceSize), b = std::min(bottom, kSurfaceSize);
  for (int row = t; row < b; ++row)
    std::fill(surface_pixels + row * kSurfaceSize + l, surface_pixels + row * kSurfaceSize + r,
              brush);
  if (right <= left || bottom <= top) return;
  for (long long column = left; column < right; ++column) {
    plot(column, top, pen);
    plot(column, static_cast<long long>(bottom) - 1, pen);
  }
  for (long long row = top; row < bottom; ++row) {
    plot(left, row, pen);
    plot(static_cast<long long>(right) - 1, row, pen);
  }
}

int to_pixel_coordinate(double value) {
  if (std::isnan(value)) return kNoPixel;
  value = std::trunc(value);
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483647.0) return -2147483647;
  return static_cast<int>(value);
}

Pixel cam_to_pixel(double x, double y) {
  return {to_pixel_coordinate(x_offset + zoom * x), to_pixel_coordinate(y_offset + zoom * y)};
}

double deg_to_rad(double degrees) { return degrees * pi / 180; }
double rad_to_deg(double radians) { return radians * 180 / pi; }

void draw_base_circle(double r, double step) {
  for (double a = 0; a < 360; a += step) {
    const double t = deg_to_rad(a);
    set_pixel(cam_to_pixel(r * std::cos(t), r * std::sin(t)), colour::red);
  }
}

void reset_surface() {
  std::fill(std::begin(surface_pixels), std::end(surface_pixels), colour::black);
  pen = colour::black;
  pen_position = {0, 0};
  ++surface_revision;
}

}  // namespace veltrano
