// The drawing surface: a 750 x 750 pixel buffer with a pen, and the mapping of
// cam geometry (millimetres, origin at the cam centre, x right, y down) onto it.
//
// Pixels are 0xFFRRGGBB words, row after row, so the window can show the buffer
// as it is. Everything outside the buffer is clipped; nothing is ever written
// beyond it, whatever coordinates a drawing asks for.
#pragma once

#include <cmath>
#include <cstdint>

#include "model/tables.h"

namespace veltrano {

inline constexpr int kSurfaceSize = 750;

using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue) {
  return 0xFF000000u | (static_cast<std::uint32_t>(red) << 16) |
         (static_cast<std::uint32_t>(green) << 8) | static_cast<std::uint32_t>(blue);
}

namespace colour {
inline constexpr Colour black = rgb(0, 0, 0);
inline constexpr Colour red = rgb(255, 0, 0);
inline constexpr Colour white = rgb(255, 255, 255);
inline constexpr Colour yellow = rgb(255, 255, 0);
inline constexpr Colour magenta = rgb(255, 0, 255);
inline constexpr Colour grey = rgb(128, 128, 128);
inline constexpr Colour lime = rgb(0, 255, 0);
inline constexpr Colour green = rgb(0, 128, 0);
inline constexpr Colour blue = rgb(0, 0, 255);
inline constexpr Colour silver = rgb(192, 192, 192);
inline constexpr Colour navy = rgb(0, 0, 128);
inline constexpr Colour dark_green = rgb(0, 127, 0);
}  // namespace colour

// A pixel position. Coordinates that are not numbers map to kNoPixel; a pixel
// with such a coordinate is never drawn and a line to or from it is skipped.
struct Pixel {
  int column;
  int row;
};
inline constexpr int kNoPixel = -2147483647 - 1;

// The surface buffer, row-major, kSurfaceSize * kSurfaceSize words.
extern Colour surface_pixels[kSurfaceSize * kSurfaceSize];

// Increases with every drawing operation, so the window knows when to repaint.
extern unsigned long surface_revision;

Colour get_pixel(int column, int row);  // black outside the surface
void set_pixel(int column, int row, Colour c);
void set_pixel(Pixel p, Colour c);
void set_pen_colour(Colour c);
Colour pen_colour();
void move_to(int column, int row);
void move_to(Pixel p);
// A one-pixel line from the pen position to (column, row) in the pen colour;
// like the classic window toolkits, the end pixel itself is not set. The pen
// moves there.
void line_to(int column, int row);
void line_to(Pixel p);
// Fills the rectangle [left, right) x [top, bottom) with `brush` and outlines
// it with the pen colour.
void fill_rectangle(int left, int top, int right, int bottom, Colour brush);

// Converts a double to a pixel coordinate: truncation toward zero, saturated to
// the 32-bit range; NaN gives kNoPixel.
inline int to_pixel_coordinate(double value) {
  if (std::isnan(value)) return kNoPixel;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483647.0) return -2147483647;
  return static_cast<int>(value);  // truncates toward zero
}

// (trunc(x_offset + zoom * x), trunc(y_offset + zoom * y)) with the view values
// of the last calculation.
inline Pixel cam_to_pixel(double x, double y) {
  return {to_pixel_coordinate(x_offset + zoom * x), to_pixel_coordinate(y_offset + zoom * y)};
}

double deg_to_rad(double degrees);
double rad_to_deg(double radians);

// Points of a circle of radius r (mm) about (cx, cy) in cam coordinates, one
// pixel per `step` degrees: the angle starts at 0 and grows by repeated
// addition while below 360.
void draw_circle_points(double cx, double cy, double r, double step, Colour c);

// Red base circle of radius r (mm) about the cam centre; never turned.
void draw_base_circle(double r, double step);

// Black surface, pen black at the origin (for tests and start-up).
void reset_surface();

}  // namespace veltrano
