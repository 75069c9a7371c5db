#include "view/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <vector>

#include "model/tables.h"

namespace veltrano {

Colour surface_pixels[kSurfaceSize * kSurfaceSize];
unsigned long surface_revision = 0;

namespace {
Colour pen = colour::black;
Pixel pen_position{0, 0};

// Painting the whole surface one colour rewrites 2.25 MB, more than the rest
// of a calculation costs. So the surface remembers which 16 x 16 tiles were
// drawn on since it was last filled whole, and filling it again with the same
// colour repaints only those.
constexpr int kTile = 16;
constexpr int kTiles = (kSurfaceSize + kTile - 1) / kTile;
bool tile_drawn[kTiles * kTiles];
Colour fill_colour = colour::black;  // every tile not drawn on has this colour

bool inside(long long column, long long row) {
  return column >= 0 && column < kSurfaceSize && row >= 0 && row < kSurfaceSize;
}

void plot(long long column, long long row, Colour c) {
  if (inside(column, row)) {
    surface_pixels[row * kSurfaceSize + column] = c;
    tile_drawn[(row / kTile) * kTiles + column / kTile] = true;
  }
}

void fill_span(int left, int top, int right, int bottom, Colour brush) {
  for (int row = top; row < bottom; ++row)
    std::fill(surface_pixels + row * kSurfaceSize + left, surface_pixels + row * kSurfaceSize + right,
              brush);
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
  if (l == 0 && t == 0 && r == kSurfaceSize && b == kSurfaceSize) {
    for (int ty = 0; ty < kTiles; ++ty) {
      for (int tx = 0; tx < kTiles; ++tx) {
        bool& drawn = tile_drawn[ty * kTiles + tx];
        if (drawn || brush != fill_colour)
          fill_span(tx * kTile, ty * kTile, std::min((tx + 1) * kTile, kSurfaceSize),
                    std::min((ty + 1) * kTile, kSurfaceSize), brush);
        drawn = false;
      }
    }
    fill_colour = brush;
  } else if (l < r && t < b) {
    fill_span(l, t, r, b, brush);
    for (int ty = t / kTile; ty <= (b - 1) / kTile; ++ty)
      for (int tx = l / kTile; tx <= (r - 1) / kTile; ++tx) tile_drawn[ty * kTiles + tx] = true;
  }
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

double deg_to_rad(double degrees) { return degrees * pi / 180; }
double rad_to_deg(double radians) { return radians * 180 / pi; }

namespace {

struct Direction {
  double cos, sin;
};

// cos and sin of every angle of a circle drawn at `step` degrees. A
// calculation draws thousands of circle points at the same few steps, so
// they are worked out once per step, to the same values.
const std::vector<Direction>& circle_directions(double step) {
  static std::vector<std::pair<double, std::vector<Direction>>> known;
  for (const auto& [known_step, directions] : known)
    if (known_step == step) return directions;
  std::vector<Direction> directions;
  for (double a = 0; a < 360; a += step) {
    const double t = deg_to_rad(a);
    directions.push_back({std::cos(t), std::sin(t)});
  }
  known.emplace_back(step, std::move(directions));
  return known.back().second;
}

}  // namespace

void draw_circle_points(double cx, double cy, double r, double step, Colour c) {
  for (const Direction& d : circle_directions(step))
    set_pixel(cam_to_pixel(cx + r * d.cos, cy + r * d.sin), c);
}

void draw_base_circle(double r, double step) {
  for (const Direction& d : circle_directions(step))
    set_pixel(cam_to_pixel(r * d.cos, r * d.sin), colour::red);
}

void reset_surface() {
  std::fill(std::begin(surface_pixels), std::end(surface_pixels), colour::black);
  std::fill(std::begin(tile_drawn), std::end(tile_drawn), false);
  fill_colour = colour::black;
  pen = colour::black;
  pen_position = {0, 0};
  ++surface_revision;
}

namespace {
// The surface starts black, like the panel it lies on.
[[maybe_unused]] const bool surface_starts_black = (reset_surface(), true);
}  // namespace

}  // namespace veltrano
