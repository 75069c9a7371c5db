// Fuzz target: the smoothing spline (CurveFit) on points with strictly
// increasing x and any y, at any smoothing value. It must either throw
// veltrano::Error or give finite values at the knots that keep the contract,
// checked against sums computed here in extended precision:
//   s <= 0       the values are the y themselves;
//   0 < s < 1    the residual sum meets S = s x RSS_line (when converged);
//   s >= 1       the values lie on the least-squares line.
//
// Input layout: byte 0 the number of points (and a size class), byte 1 the
// kind of spacing, byte 2 the kind of y, byte 3 the smoothing value, then 2
// or 8 bytes per point.
#include "output/smoothing_spline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "app/errors.h"
#include "fuzz_support.h"

namespace veltrano::fuzz {
namespace {

constexpr std::array<double, 16> kSmoothing = {0,
                                               -1,
                                               1,
                                               5,
                                               2.5e-8,
                                               1e-6,
                                               0.5,
                                               0.999,
                                               1e-300,
                                               1e-12,
                                               0.1,
                                               0.9,
                                               std::numeric_limits<double>::quiet_NaN(),
                                               1e300,
                                               3.75e-6,
                                               4.9e-324};

double spacing(Input& in, std::uint8_t kind) {
  switch (kind % 6) {
    case 0:
      return 1;
    case 1:
      return 10;
    case 2:
      return 1 + in.byte() / 16.0;  // mildly uneven
    case 3:
      return std::ldexp(1.0 + in.byte(), in.byte() % 64 - 32);  // wildly uneven
    case 4:
      return 1e-300 * (1 + in.byte());  // tiny
    default:
      return 1e290 * (1 + in.byte());  // huge
  }
}

double ordinate(Input& in, std::uint8_t kind, std::size_t i) {
  switch (kind % 6) {
    case 0:
      return in.byte() / 25.0;  // contour-like numbers
    case 1:
      return std::sin(0.01 * i) * 8 + in.byte() * 1e-4;  // smooth plus noise
    case 2:
      return (in.byte() & 1 ? 1 : -1) * 0.5 + 1e-3 * i * i;  // alternating
    case 3:
      return std::ldexp(in.byte() - 128.0, static_cast<int>(in.byte()) * 8 - 1024);
    case 4:
      return in.bits_double();  // anything at all
    default:
      return 3.0;  // constant
  }
}

// The least-squares line in long double, with x as offsets from the first
// point: y = intercept + slope (d - d_mean), d = x - x_0.
struct Line {
  long double intercept = 0, slope = 0, d_mean = 0, rss = 0, d_max = 0;
  long double at(const std::vector<double>& x, std::size_t i) const {
    return intercept + slope * ((static_cast<long double>(x[i]) - x[0]) - d_mean);
  }
};

Line least_squares(const std::vector<double>& x, const std::vector<double>& y) {
  Line line;
  const std::size_t n = x.size();
  long double sd = 0, sy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const long double d = static_cast<long double>(x[i]) - x[0];
    sd += d;
    sy += y[i];
    line.d_max = std::max(line.d_max, std::fabs(d));
  }
  line.d_mean = sd / static_cast<long double>(n);
  line.intercept = sy / static_cast<long double>(n);
  long double sdd = 0, sdy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const long double dc = (static_cast<long double>(x[i]) - x[0]) - line.d_mean;
    sdd += dc * dc;
    sdy += dc * (y[i] - line.intercept);
  }
  line.slope = sdd > 0 ? sdy / sdd : 0;
  for (std::size_t i = 0; i < n; ++i) {
    const long double r = y[i] - line.at(x, i);
    line.rss += r * r;
  }
  return line;
}

std::string describe(std::size_t n, double s) {
  return std::to_string(n) + " points, s = " + exact(s);
}

void run(Input& in) {
  const std::uint8_t count = in.byte();
  const std::uint8_t spacing_kind = in.byte();
  const std::uint8_t y_kind = in.byte();
  const double s = kSmoothing[in.byte() % kSmoothing.size()];
  // Mostly small fits; now and then the sizes the program uses.
  const std::size_t n = count < 240 ? count % 40 : (count < 250 ? 360 : 720);

  std::vector<double> x, y;
  double xi = spacing_kind & 0x80 ? -1e3 : 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) xi += spacing(in, spacing_kind);
    x.push_back(xi);
    y.push_back(ordinate(in, y_kind, i));
  }

  CurveFit fit;
  std::vector<double> g(n);
  try {
    fit.Init();
    for (std::size_t i = 0; i < n; ++i) fit.EnterStatValue(x[i], y[i]);
    fit.SetSplineSmoothing(s);
    for (std::size_t i = 0; i < n; ++i) g[i] = fit.SmoothedSpline(x[i]);
    // Between the knots too: finite, or the overflow error.
    for (std::size_t i = 0; i + 1 < n; ++i) {
      const double mid = x[i] + (x[i + 1] - x[i]) / 2;
      FUZZ_REQUIRE(std::isfinite(fit.SmoothedSpline(mid)), describe(n, s) + ": value not finite");
    }
  } catch (const Error&) {
    return;
  }
  // Set VELTRANO_FUZZ_VERBOSE to see the points and what the fit did.
  if (std::getenv("VELTRANO_FUZZ_VERBOSE")) {
    for (std::size_t i = 0; i < n; ++i)
      std::fprintf(stderr, "%zu  x %.17g  y %.17g  g %.17g\n", i, x[i], y[i], g[i]);
    std::fprintf(stderr, "s %.17g: %d steps, converged %d, F %.17g, S %.17g, RSS_line %.17g\n", s,
                 fit.iterations(), fit.converged(), fit.residual_sum(), fit.target_residual_sum(),
                 fit.line_residual_sum());
  }
  // The points entered are what the input made; equal x or a non-finite value
  // must have been refused above.
  for (std::size_t i = 0; i < n; ++i) {
    FUZZ_REQUIRE(std::isfinite(x[i]) && std::isfinite(y[i]) && (i == 0 || x[i] > x[i - 1]),
                 describe(n, s) + ": bad point " + std::to_string(i) + " was accepted");
    FUZZ_REQUIRE(std::isfinite(g[i]),
                 describe(n, s) + ": value at knot " + std::to_string(i) + " is " + exact(g[i]));
  }
  if (n == 0) return;

  const double sc = std::clamp(s, 0.0, 1.0);
  if (sc == 0) {
    for (std::size_t i = 0; i < n; ++i)
      FUZZ_REQUIRE(g[i] == y[i], describe(n, s) + ": the interpolant misses knot " +
                                     std::to_string(i) + ": " + exact(g[i]) + " for " +
                                     exact(y[i]));
    return;
  }

  const Line line = least_squares(x, y);
  long double y_max = 0;
  for (double v : y) y_max = std::max(y_max, static_cast<long double>(std::fabs(v)));
  const long double eps = std::numeric_limits<double>::epsilon();

  // What the rounding of the values in double can do: a few units in the
  // last place of each (and of the smallest subnormal, where that is all
  // there is), and of the x offsets times the slope of the line.
  const auto value_rounding = [&](std::size_t i) {
    return 4 * eps * (std::fabs(static_cast<long double>(y[i])) + std::fabs(g[i])) +
           4 * std::numeric_limits<double>::denorm_min() +
           4 * eps * std::fabs(line.slope) * line.d_max;
  };
  // The fit sums n values in double for the mean and the slope of its line;
  // plain summation can be off by n units in the last place of the data. That
  // moves the line by as much, and the line's residual sum (so S) with it.
  const long double summation =
      static_cast<long double>(n) * eps * (y_max + std::fabs(line.slope) * line.d_max);
  const long double rss_line_error =
      2 * std::sqrt(line.rss * static_cast<long double>(n)) * summation +
      static_cast<long double>(n) * summation * summation;

  if (sc >= 1 || n <= 2) {
    // On the least-squares line (for two points, the segment through them),
    // within rounding of the values and of the line's own fit.
    const long double spread = std::sqrt(line.rss / static_cast<long double>(n));
    for (std::size_t i = 0; i < n; ++i) {
      const long double on_line = line.at(x, i);
      const long double tolerance = 1e-8L * spread + 16 * value_rounding(i) + 2 * summation;
      FUZZ_REQUIRE(std::fabs(g[i] - on_line) <= tolerance,
                   describe(n, s) + ": knot " + std::to_string(i) + " at " + exact(g[i]) +
                       ", the line at " + exact(static_cast<double>(on_line)) + " (tolerance " +
                       exact(static_cast<double>(tolerance)) + ")");
    }
    return;
  }

  // 0 < s < 1: the residual sum meets S (the fit refuses to miss it by more
  // than 1e-5), unless the data lie on a line, where the spline interpolates.
  long double rss = 0, rounding = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const long double r = static_cast<long double>(y[i]) - g[i];
    rss += r * r;
    const long double delta = value_rounding(i);
    rounding += 2 * std::fabs(r) * delta + delta * delta;
  }
  const long double target = sc * line.rss;
  const bool on_line = line.rss <= static_cast<long double>(n) * 64 * eps * eps * y_max * y_max;
  if (on_line) return;
  // Below its own rounding (s under 2^-104) S may be met by the interpolant.
  FUZZ_REQUIRE(std::fabs(rss - target) <=
                   2e-5L * target + rounding + sc * rss_line_error + 4 * eps * eps * line.rss,
               describe(n, s) + ": residual sum " + exact(static_cast<double>(rss)) +
                   " for S = " + exact(static_cast<double>(target)) + " after " +
                   std::to_string(fit.iterations()) + " steps");
}

}  // namespace
}  // namespace veltrano::fuzz

VELTRANO_FUZZ_TARGET(run)
