// Small helpers shared by the core tests.
#pragma once

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/errors.h"
#include "app/numbers.h"
#include "model/controls.h"
#include "view/surface.h"

namespace veltrano::test {

// Puts numbers into the lift memo, written with a point.
inline void set_lift(const std::vector<double>& values) {
  std::vector<std::string> lines;
  lines.reserve(values.size());
  for (double v : values) lines.push_back(format_fixed(v, 10, '.'));
  form1.inputdata.assign(lines);
}

// n samples of f(sample index).
inline std::vector<double> samples(int n, const std::function<double(int)>& f) {
  std::vector<double> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = f(i);
  return v;
}

// A cycloidal lift of `height` mm over `duration` degrees centred on
// `centre` degrees, on 3600 samples: zero slope and acceleration at both ends.
inline std::vector<double> cycloidal_lift(double height = 10, double duration = 140,
                                          double centre = 180) {
  return samples(3600, [=](int i) {
    const double start = centre - duration / 2;
    const double u = (i * 0.1 - start) / duration;
    if (u <= 0 || u >= 1) return 0.0;
    const double two_pi = 2 * 3.141592653589793;
    return u <= 0.5 ? height * (2 * u - std::sin(2 * two_pi * u) / two_pi)
                    : height * (2 - 2 * u + std::sin(2 * two_pi * u) / two_pi);
  });
}

// The message of the program's error that `f` throws, or "" when it runs
// through.
inline std::string error_of(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

// How many pixels of the surface have colour c.
inline int count_pixels(Colour c) {
  int n = 0;
  for (Colour p : surface_pixels) n += p == c;
  return n;
}

// A whole file's bytes ("" when it cannot be read).
inline std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace veltrano::test
