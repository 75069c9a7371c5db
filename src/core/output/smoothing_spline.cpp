#include "output/smoothing_spline.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "app/errors.h"
#include "app/numbers.h"

namespace veltrano {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();
// Below this smoothing value the residual allowed is smaller than the rounding
// of the residuals themselves.
constexpr double kTinySmoothing = kEps * kEps;
// A step below this fraction of mu is rounding, not progress.
constexpr double kStagnation = 1e-14;
// What the search leaves to rounding is far below this; a fit that misses S
// by more has lost the digits of its solves and is refused.
constexpr double kAcceptedMiss = 1e-5;
// Forward steps the evaluation cursor takes before it searches.
constexpr int kCursorWalk = 8;
// Below this smoothing value the first try is the upper bound of mu.
constexpr double kLightSmoothing = 0.1;
// A solve is refined when the condition of A + mu R may exceed this (its
// rounding then reaches about 1e-17 times it in F) ...
constexpr double kRefineCondition = 1e5;
// ... and F is this close to S.
constexpr double kRefineNear = 1e-4;
// The smallest power of two used as a scale: its reciprocal is finite.
constexpr double kSmallestScale = 0x1p-1000;

double sq(double v) { return v * v; }

// f(i, 0) and f(i + 1, 1) for i = 0, 2, 4, ... below n: two interleaved
// halves, so that two sums can grow side by side.
template <class F>
void for_pairs(std::size_t n, F f) {
  std::size_t i = 0;
  for (; i + 1 < n; i += 2) {
    f(i, 0);
    f(i + 1, 1);
  }
  if (i < n) f(i, 0);
}

std::string text(double v) { return format_significant(v, 17, 15, '.'); }

// A power of two near |v| (1 for 0): dividing by it is exact, and it brings
// the numbers of the solve near 1 whatever the units of x and y.
double power_of_two_near(double v) {
  if (v == 0) return 1;
  int e = 0;
  std::frexp(v, &e);
  return std::max(std::ldexp(1.0, e - 1), kSmallestScale);
}

// r = Q u, the jumps of the slope of the polygon through (0, u, 0) with
// reciprocal spacing e; returns r.r.
double second_differences(const std::vector<double>& u, const std::vector<double>& e,
                          std::vector<double>& r) {
  const std::size_t n = u.size() + 2;
  r.resize(n);
  double slope[2] = {0, 0}, sum[2] = {0, 0};  // slope of the piece before, by half
  for_pairs(n - 1, [&](std::size_t i, int half) {
    const double left = i == 0 ? 0 : u[i - 1];
    const double right = i + 1 == n - 1 ? 0 : u[i];
    const double here = (right - left) * e[i];
    r[i] = here - slope[1 - half];
    sum[half] += sq(r[i]);
    slope[half] = here;
  });
  r[n - 1] = -slope[(n - 2) % 2];
  return sum[0] + sum[1] + sq(r[n - 1]);
}

// v = R u for R with diagonal r0 and off-diagonal r1 (padded); returns u.v.
double curvature_product(const std::vector<double>& r0, const std::vector<double>& r1,
                         const std::vector<double>& u, std::vector<double>& v) {
  const std::size_t m = u.size();
  v.resize(m);
  double sum[2] = {0, 0};
  for_pairs(m, [&](std::size_t k, int half) {
    double value = r0[k] * u[k];
    if (k >= 1) value += r1[k - 1] * u[k - 1];
    if (k + 1 < m) value += r1[k] * u[k + 1];
    v[k] = value;
    sum[half] += u[k] * value;
  });
  return sum[0] + sum[1];
}

[[noreturn]] void singular() {
  throw Error(
      "Smoothing spline: the equations of the fit are numerically singular "
      "(x spacing too uneven, or too many points for this smoothing)");
}

// log F against log mu at a try of mu: the point with its slope.
struct Try {
  double log_mu = 0, log_f = 0, slope = 0;
  bool set = false;
};

// The zero of the cubic through (t0, f0) and (t1, f1) with slopes g0, g1,
// between t0 and t1, where f0 > 0 > f1.
double hermite_zero(const Try& lo, const Try& hi, double log_target) {
  const double dt = hi.log_mu - lo.log_mu;
  const double f0 = lo.log_f - log_target, f1 = hi.log_f - log_target;
  const double g0 = lo.slope * dt, g1 = hi.slope * dt;
  auto cubic = [&](double s) {
    const double s2 = s * s, s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * f0 + (s3 - 2 * s2 + s) * g0 + (3 * s2 - 2 * s3) * f1 +
           (s3 - s2) * g1;
  };
  double a = 0, b = 1;
  for (int k = 0; k < 60; ++k) {
    const double c = 0.5 * (a + b);
    (cubic(c) > 0 ? a : b) = c;
  }
  return lo.log_mu + 0.5 * (a + b) * dt;
}

// Without a bracket: the zero nearest to `here` of the parabola with the value
// and slope of `here` and, when there was an earlier try, the change of slope
// since it (log F bends: its slope often grows with log mu by a lot).
double model_zero(const Try& here, const Try& earlier, double log_target) {
  const double slope = here.slope, value = here.log_f - log_target;
  const double bend =
      earlier.set ? (here.slope - earlier.slope) / (here.log_mu - earlier.log_mu) : 0;
  // value + slope d + bend d^2 / 2 = 0, slope < 0; the root nearest to d = 0.
  const double discriminant = slope * slope - 2 * bend * value;
  const double step = discriminant >= 0 && std::isfinite(bend)
                          ? -2 * value / (slope - std::sqrt(discriminant))
                          : -value / slope;
  return here.log_mu + step;
}

}  // namespace

namespace {

// One of the two eliminations of a TwistedFactor: what the rows it passed
// last leave for the rows ahead of it.
struct FactorSweep {
  double g1 = 0, g2 = 0;  // reciprocal pivots of the last row and the one before
  double v1 = 0;          // first off-diagonal of the last row, as reduced
  double s1 = 0, s2 = 0;  // second off-diagonals from those rows onwards

  // The next row: diagonal, off-diagonals to the row after it and the one
  // after that. Returns 1/D and the row's multipliers.
  double Row(double diagonal, double off1, double off2, double& l1, double& l2) {
    const double d = diagonal - NextPivot();
    if (!(d > 0) || !std::isfinite(d)) singular();
    const double g = 1 / d;
    const double v = off1 - Coupling();
    l1 = v * g;
    l2 = off2 * g;
    g2 = g1;
    g1 = g;
    v1 = v;
    s2 = s1;
    s1 = off2;
    return g;
  }
  // What the passed rows take from the pivot of the next row, from that of
  // the row after, and from the coupling of the two.
  double NextPivot() const { return v1 * v1 * g1 + s2 * s2 * g2; }
  double AfterNextPivot() const { return s1 * s1 * g1; }
  double Coupling() const { return v1 * s1 * g1; }
};

// The forward pass of one elimination over a right-hand side.
struct ForwardSweep {
  double l1 = 0, l2 = 0, l2_before = 0;  // multipliers of the last row (and before)
  double z1 = 0, z2 = 0;                 // eliminated values of those rows

  double Row(double value, double row_l1, double row_l2) {
    const double e = value - Next();
    z2 = z1;
    z1 = e;
    l2_before = l2;
    l2 = row_l2;
    l1 = row_l1;
    return e;
  }
  double Next() const { return l1 * z1 + l2_before * z2; }
  double AfterNext() const { return l2 * z1; }
};

// The back substitution of one elimination, outwards from the middle.
struct BackSweep {
  double x1 = 0, x2 = 0;  // the last two unknowns found, nearest first

  double Row(double scaled, double l1, double l2) {
    const double x = scaled - l1 * x1 - l2 * x2;
    x2 = x1;
    x1 = x;
    return x;
  }
};

}  // namespace

void CurveFit::TwistedFactor::Factor(const std::vector<double>& b0, const std::vector<double>& r0,
                                     const std::vector<double>& b1, const std::vector<double>& r1,
                                     const std::vector<double>& b2, double mu,
                                     std::vector<double>* z) {
  const std::size_t m = b0.size();
  l1_.assign(m, 0);
  l2_.assign(m, 0);
  inv_d_.resize(m);
  if (m == 1) {
    const double d = b0[0] + mu * r0[0];
    if (!(d > 0) || !std::isfinite(d)) singular();
    top_ = bottom_ = 0;
    i00_ = inv_d_[0] = 1 / d;
    i01_ = i11_ = 0;
    return;
  }
  // Rows 0 .. t - 1 from the top, m - 1 down to t + 2 from the bottom.
  top_ = (m - 2) / 2;
  bottom_ = m - 2 - top_;
  FactorSweep top, bottom;
  ForwardSweep top_z, bottom_z;
  for (std::size_t i = 0; i < bottom_; ++i) {
    if (i < top_) {
      const std::size_t k = i;
      inv_d_[k] = top.Row(b0[k] + mu * r0[k], b1[k] + mu * r1[k], b2[k], l1_[k], l2_[k]);
      if (z) (*z)[k] = top_z.Row((*z)[k], l1_[k], l2_[k]);
    }
    const std::size_t k = m - 1 - i;
    inv_d_[k] =
        bottom.Row(b0[k] + mu * r0[k], b1[k - 1] + mu * r1[k - 1], b2[k - 2], l1_[k], l2_[k]);
    if (z) (*z)[k] = bottom_z.Row((*z)[k], l1_[k], l2_[k]);
  }
  // The middle rows t, t + 1 with what both eliminations left of them.
  const std::size_t t = top_;
  const double s00 = b0[t] + mu * r0[t] - top.NextPivot() - bottom.AfterNextPivot();
  const double s01 = b1[t] + mu * r1[t] - top.Coupling() - bottom.Coupling();
  const double s11 = b0[t + 1] + mu * r0[t + 1] - top.AfterNextPivot() - bottom.NextPivot();
  const double det = s00 * s11 - s01 * s01;
  if (!(s00 > 0) || !(det > 0) || !std::isfinite(det)) singular();
  i00_ = s11 / det;
  i01_ = -s01 / det;
  i11_ = s00 / det;
  if (z) {
    (*z)[t] -= top_z.Next() + bottom_z.AfterNext();
    (*z)[t + 1] -= top_z.AfterNext() + bottom_z.Next();
  }
}

// The forward passes from both ends; the two middle rows receive what is left
// for them.
void CurveFit::TwistedFactor::Eliminate(std::vector<double>& z) const {
  const std::size_t m = inv_d_.size(), t = top_;
  if (m == 1) return;
  ForwardSweep top, bottom;
  for (std::size_t i = 0; i < bottom_; ++i) {
    if (i < top_) z[i] = top.Row(z[i], l1_[i], l2_[i]);
    const std::size_t k = m - 1 - i;
    z[k] = bottom.Row(z[k], l1_[k], l2_[k]);
  }
  z[t] -= top.Next() + bottom.AfterNext();
  z[t + 1] -= top.AfterNext() + bottom.Next();
}

void CurveFit::TwistedFactor::Finish(std::vector<double>& z) const {
  const std::size_t m = inv_d_.size(), t = top_;
  if (m == 1) {
    z[0] *= i00_;
    return;
  }
  const double first = z[t], second = z[t + 1];
  BackSweep top, bottom;
  top.x1 = bottom.x2 = z[t] = i00_ * first + i01_ * second;
  top.x2 = bottom.x1 = z[t + 1] = i01_ * first + i11_ * second;
  for (std::size_t i = 0; i < bottom_; ++i) {
    if (i < top_) {
      const std::size_t k = t - 1 - i;
      z[k] = top.Row(z[k] * inv_d_[k], l1_[k], l2_[k]);
    }
    const std::size_t k = t + 2 + i;
    z[k] = bottom.Row(z[k] * inv_d_[k], l1_[k], l2_[k]);
  }
}

void CurveFit::TwistedFactor::Solve(std::vector<double>& z) const {
  Eliminate(z);
  Finish(z);
}

double CurveFit::TwistedFactor::InverseForm(std::vector<double>& z) const {
  Eliminate(z);
  const std::size_t m = inv_d_.size(), t = top_;
  if (m == 1) return i00_ * z[0] * z[0];
  double sum = 0;
  for (std::size_t k = 0; k < m; ++k)
    if (k < t || k > t + 1) sum += z[k] * z[k] * inv_d_[k];
  const double first = z[t], second = z[t + 1];
  return sum + i00_ * first * first + 2 * i01_ * first * second + i11_ * second * second;
}

void CurveFit::Init() {
  x_.clear();
  y_.clear();
  dirty_ = true;
}

void CurveFit::Reject(double x, double y) const {
  if (!std::isfinite(x) || !std::isfinite(y))
    throw Error("Smoothing spline: point " + format_int(static_cast<long long>(x_.size())) +
                " is not a pair of finite numbers (x = " + text(x) + ", y = " + text(y) + ")");
  throw Error("Smoothing spline: x values must increase strictly, but point " +
              format_int(static_cast<long long>(x_.size())) + " has x = " + text(x) +
              " after x = " + text(x_.back()));
}

void CurveFit::SetSplineSmoothing(double s) {
  if (std::isnan(s)) throw Error("Smoothing spline: the smoothing value is not a number");
  s = std::clamp(s, 0.0, 1.0);
  if (s != smoothing_) dirty_ = true;
  smoothing_ = s;
}

double CurveFit::Evaluate(double x, double& fit, bool& valid) {
  if (dirty_) Refit();
  fit = fit_;
  const std::size_t n = x_.size();
  valid = n > 0 && x >= x_.front() && x <= x_.back();
  if (!valid) return 0;
  if (x == x_.back()) return a_.back();
  const Piece& p = pieces_[FindPiece(x)];
  const double t = x - p.x0;
  const double g = p.a + t * (p.b + t * (p.c + t * p.d));
  if (!std::isfinite(g)) throw Error(kOverflow);
  return g;
}

// The piece j with x_j <= x < x_(j+1), for x_0 <= x < x_(n-1): a few steps
// forward from the last piece (sorted evaluation), a binary search otherwise.
std::size_t CurveFit::FindPiece(double x) {
  const std::size_t last = pieces_.size() - 1;
  std::size_t j = std::min(cursor_, last);
  if (x >= pieces_[j].x0) {
    for (int walk = 0; walk < kCursorWalk && j < last && x >= pieces_[j].x1; ++walk) ++j;
    if (j == last || x < pieces_[j].x1) return cursor_ = j;
  }
  const auto end = x_.begin() + static_cast<std::ptrdiff_t>(last + 1);
  cursor_ = static_cast<std::size_t>(std::upper_bound(x_.begin(), end, x) - x_.begin()) - 1;
  return cursor_;
}

// Leaves dirty_ set when it throws, so that no evaluation uses a broken fit.
void CurveFit::Refit() {
  ++fit_count_;
  cursor_ = 0;
  iterations_ = 0;
  converged_ = true;
  const std::size_t n = x_.size();
  a_.assign(y_.begin(), y_.end());
  m_.assign(n, 0);
  r_.resize(n);
  if (n == 0) {
    fit_ = 0;
    multiplier_ = residual_sum_ = target_ = line_residual_sum_ = 0;
    pieces_.clear();
    dirty_ = false;
    return;
  }

  // Centre on the means (taken relative to the first point, so that equal
  // values have exactly that mean) and scale by powers of two. The sums run
  // in two interleaved halves: independent additions overlap.
  double x_sum[2] = {0, 0}, y_sum[2] = {0, 0};
  double y_low[2] = {y_[0], y_[0]}, y_high[2] = {y_[0], y_[0]};
  for_pairs(n, [&](std::size_t i, int half) {
    x_sum[half] += x_[i] - x_[0];
    y_sum[half] += y_[i] - y_[0];
    y_low[half] = std::min(y_low[half], y_[i]);
    y_high[half] = std::max(y_high[half], y_[i]);
  });
  // x about its mean as offsets from the first point: far from the origin the
  // mean itself would round by a unit of x, and the slope would carry that
  // into every value of the line.
  const double x_mean_offset = (x_sum[0] + x_sum[1]) / static_cast<double>(n);
  const auto x_centred = [&](std::size_t i) { return (x_[i] - x_[0]) - x_mean_offset; };
  const double y_bar = y_[0] + (y_sum[0] + y_sum[1]) / static_cast<double>(n);
  const double y_min = std::min(y_low[0], y_low[1]), y_top = std::max(y_high[0], y_high[1]);
  const double y_max = std::max(std::abs(y_min), std::abs(y_top));
  // max |y - y_bar|: the subtraction is monotone in y.
  const double y_spread = std::max(y_top - y_bar, y_bar - y_min);
  const double span = check_overflow(x_.back() - x_.front());
  const double x_scale = power_of_two_near(n > 1 ? span / static_cast<double>(n - 1) : 0);
  const double y_scale = power_of_two_near(check_overflow(y_spread));
  const double x_unit = 1 / x_scale, y_unit = 1 / y_scale;  // exact

  // Least-squares line on the centred values, its residuals as sums of squares
  // (not Syy - b Sxy, which loses the digits that S is made of).
  double sxx[2] = {0, 0}, sxy[2] = {0, 0}, syy[2] = {0, 0};
  for_pairs(n, [&](std::size_t i, int half) {
    const double xc = x_centred(i) * x_unit, yc = (y_[i] - y_bar) * y_unit;
    sxx[half] += xc * xc;
    sxy[half] += xc * yc;
    syy[half] += yc * yc;
  });
  const double sst = syy[0] + syy[1];
  const double slope = sxx[0] + sxx[1] > 0 ? (sxy[0] + sxy[1]) / (sxx[0] + sxx[1]) : 0;
  double squares[2] = {0, 0};
  for_pairs(n, [&](std::size_t i, int half) {
    r_[i] = (y_[i] - y_bar) * y_unit - slope * (x_centred(i) * x_unit);
    squares[half] += sq(r_[i]);
  });
  const double rss = squares[0] + squares[1];
  line_residual_sum_ = rss * sq(y_scale);
  target_ = smoothing_ * line_residual_sum_;
  // Residuals at the level of the rounding of y: the data lie on the line.
  const bool on_line = rss <= static_cast<double>(n) * sq(4 * kEps * y_max * y_unit);

  double sse = 0;  // scaled residual sum of the spline
  if (smoothing_ >= 1) {
    // The line itself: its values straight from the fit, no band solve. In
    // scaled units first, so that a slope below the range of a double (tiny
    // y over huge x) still gives the line.
    for (std::size_t i = 0; i < n; ++i) a_[i] = y_bar + slope * (x_centred(i) * x_unit) * y_scale;
    multiplier_ = 0;
    sse = rss;
    residual_sum_ = line_residual_sum_;
  } else if (n <= 2 || on_line || smoothing_ < kTinySmoothing) {
    FitInterpolating(x_scale, y_scale);
    sse = 0;
  } else {
    sse = FitSmoothing(x_scale, y_scale, rss);
  }
  fit_ = sst > 0 ? 1 - sse / sst : 1;
  const bool banded = n > 2 && smoothing_ < 1;  // the paths that prepared the bands
  SetCoefficients(banded ? x_unit : 0);
  dirty_ = false;
}

// The spacing and band matrices of the knots, unless those of the last fit
// were made from the same x.
void CurveFit::PrepareBands(double x_scale) {
  if (band_scale_ == x_scale && band_x_ == x_) return;
  band_x_ = x_;
  band_scale_ = x_scale;
  r_factored_ = false;
  const std::size_t n = x_.size(), m = n - 2;
  const double x_unit = 1 / x_scale;
  h_.resize(n - 1);
  e_.resize(n - 1);
  for (std::size_t k = 0; k + 1 < n; ++k) {
    h_[k] = (x_[k + 1] - x_[k]) * x_unit;
    e_[k] = 1 / h_[k];
  }
  r0_.resize(m);
  r1_.resize(m);
  a0_.resize(m);
  a1_.resize(m);
  a2_.resize(m);
  zeros_.assign(m, 0);
  for (std::size_t p = 0; p < m; ++p) {
    const double el = e_[p], ec = e_[p + 1];
    r0_[p] = (h_[p] + h_[p + 1]) / 3;
    a0_[p] = sq(el) + sq(el + ec) + sq(ec);
    const bool inner = p + 1 < m;
    r1_[p] = inner ? h_[p + 1] / 6 : 0;
    a1_[p] = inner ? -ec * (el + 2 * ec + e_[p + 2]) : 0;
    a2_[p] = p + 2 < m ? ec * e_[p + 2] : 0;
  }
  // Below refine_below_ a solve may need refinement: a bound of the condition
  // of A + mu R is (|A| + mu |R|) / (mu lambda_min(R)), with the norms as
  // largest row sums and lambda_min(R) from Gershgorin's discs.
  double a_norm = 0, r_norm = 0, r_floor = std::numeric_limits<double>::infinity();
  for (std::size_t p = 0; p < m; ++p) {
    const double r_left = p >= 1 ? r1_[p - 1] : 0, a1_left = p >= 1 ? a1_[p - 1] : 0;
    const double a2_left = p >= 2 ? a2_[p - 2] : 0;
    a_norm = std::max(a_norm, a0_[p] + std::abs(a1_left) + std::abs(a1_[p]) + a2_left + a2_[p]);
    r_norm = std::max(r_norm, r0_[p] + r_left + r1_[p]);
    r_floor = std::min(r_floor, r0_[p] - r_left - r1_[p]);
  }
  const double margin = kRefineCondition * r_floor - r_norm;
  refine_below_ = margin > 0 ? a_norm / margin : std::numeric_limits<double>::infinity();
}

void CurveFit::FactorCurvature() {
  if (r_factored_) return;
  curvature_.Factor(r0_, r0_, r1_, r1_, zeros_, 0, nullptr);
  r_factored_ = true;
}

// Natural interpolating spline: a = y and R M = Q^T y, with the line's
// residuals in place of y (Q^T removes a line; fewer digits cancel).
void CurveFit::FitInterpolating(double x_scale, double y_scale) {
  const std::size_t n = x_.size();
  multiplier_ = std::numeric_limits<double>::infinity();
  residual_sum_ = 0;
  if (n <= 2) return;
  PrepareBands(x_scale);
  FactorCurvature();
  const std::size_t m = n - 2;
  rhs_.resize(m);
  for (std::size_t p = 0; p < m; ++p)
    rhs_[p] = (r_[p + 2] - r_[p + 1]) * e_[p + 1] - (r_[p + 1] - r_[p]) * e_[p];
  curvature_.Solve(rhs_);
  const double to_real = y_scale / sq(x_scale);
  for (std::size_t p = 0; p < m; ++p) m_[p + 1] = rhs_[p] * to_real;
  std::fill(r_.begin(), r_.end(), 0.0);
}

// c = lim mu^2 F(mu) = |Q M|^2 for the moments M = R^-1 Q^T y of the
// interpolating spline (u tends to M / mu). Uses u_ as scratch.
double CurveFit::LimitResidualSum() {
  FactorCurvature();
  u_ = rhs_;
  curvature_.Solve(u_);
  return second_differences(u_, e_, work_);
}

// Solves (A + mu R) u = Q^T y, keeps the factors, sets r = Q u and returns
// F = r.r. When the condition of the matrix may spoil F and the first F lies
// within kRefineNear of the target, one step of refinement follows with the
// residual accumulated in long double.
double CurveFit::Residuals(double mu, bool refine_near, double target) {
  const std::size_t m = rhs_.size();
  u_ = rhs_;
  band_.Factor(a0_, r0_, a1_, r1_, a2_, mu, &u_);
  band_.Finish(u_);

  double f = second_differences(u_, e_, r_);
  if (!refine_near || !(std::abs(f / target - 1) < kRefineNear)) return f;

  // rhs - (A + mu R) u in long double, solved for the correction.
  work_.resize(m);
  const long double mu_l = mu;
  long double b1_before = 0;  // the first off-diagonal of the row before
  for (std::size_t k = 0; k < m; ++k) {
    const long double b1 = a1_[k] + mu_l * r1_[k];
    long double band = (a0_[k] + mu_l * r0_[k]) * u_[k];
    if (k >= 1) band += b1_before * u_[k - 1];
    if (k + 1 < m) band += b1 * u_[k + 1];
    if (k >= 2) band += static_cast<long double>(a2_[k - 2]) * u_[k - 2];
    if (k + 2 < m) band += static_cast<long double>(a2_[k]) * u_[k + 2];
    work_[k] = static_cast<double>(rhs_[k] - band);
    b1_before = b1;
  }
  band_.Solve(work_);
  for (std::size_t k = 0; k < m; ++k) u_[k] += work_[k];
  return second_differences(u_, e_, r_);
}

// u.v - mu v.w with v = R u and (A + mu R) w = v, for the factors and u of the
// last solve: phi'(mu) F^(3/2), and -F'(mu) / 2. v.w = |L^-1 v|^2 over D, so
// only the forward pass is needed.
double CurveFit::PhiSlope(double mu) {
  const double uv = curvature_product(r0_, r1_, u_, work_);
  return uv - mu * band_.InverseForm(work_);
}

// 0 < S < RSS_line: the root of F(mu) = S, see the header. r_ holds the scaled
// residuals of the line on entry and those of the spline on exit. Returns the
// scaled residual sum.
double CurveFit::FitSmoothing(double x_scale, double y_scale, double rss) {
  const std::size_t n = x_.size(), m = n - 2;
  PrepareBands(x_scale);
  const double target = smoothing_ * rss;  // scaled S
  const double log_target = std::log(target);
  rhs_.resize(m);
  for (std::size_t p = 0; p < m; ++p)
    rhs_[p] = (r_[p + 2] - r_[p + 1]) * e_[p + 1] - (r_[p + 1] - r_[p]) * e_[p];

  // Lower bound: the Newton step on phi from mu = 0. There Q u = residuals of
  // the line; integrating twice gives u without touching A.
  double lower = 0;
  {
    double slope = 0, value = 0;
    u_.resize(m);
    for (std::size_t i = 0; i < m; ++i) {
      slope += r_[i];
      value += h_[i] * slope;
      u_[i] = value;
    }
    const double uv = curvature_product(r0_, r1_, u_, work_);
    lower = rss * (std::sqrt(rss / target) - 1) / uv;
  }
  // Upper bound: F(mu) < c / mu^2.
  double upper = std::sqrt(LimitResidualSum() / target);
  if (!(upper > lower) || !std::isfinite(upper)) upper = std::numeric_limits<double>::infinity();
  if (!(lower > 0) || !std::isfinite(lower)) singular();

  double mu = smoothing_ < kLightSmoothing && std::isfinite(upper) ? upper : lower;
  double f = rss;
  Try below, above;  // the nearest tries on either side of the root
  Try last;
  for (;;) {
    // Where A + mu R is badly conditioned, F is good enough for a bound only
    // once refined.
    const bool ill_conditioned = mu < refine_below_;
    f = Residuals(mu, ill_conditioned, target);
    const bool accurate = !ill_conditioned || std::abs(f / target - 1) < kRefineNear;
    ++iterations_;
    if (!std::isfinite(f)) throw Error(kOverflow);
    if (std::abs(f / target - 1) <= kResidualTolerance) break;
    if (iterations_ == kIterationCap) {
      converged_ = false;
      break;
    }
    const double phi_slope = PhiSlope(mu);
    if (!(phi_slope > 0)) break;  // rounding has taken over
    // The tangent of phi crosses zero below the root, from either side (when F
    // is accurate enough to tell).
    const double tangent_zero = mu + f * (std::sqrt(f / target) - 1) / phi_slope;
    if (accurate && tangent_zero > lower && tangent_zero < upper) lower = tangent_zero;
    const Try here{std::log(mu), std::log(f), -2 * mu * phi_slope / f, true};
    if (f > target) {
      lower = std::max(lower, mu);
      below = here;
    } else {
      upper = std::min(upper, mu);
      above = here;
    }
    double next = below.set && above.set ? hermite_zero(below, above, log_target)
                                         : model_zero(here, last, log_target);
    last = here;
    next = std::exp(next);
    if (!(next > lower)) {
      next = lower;
    } else if (!(next < upper)) {
      next = std::isfinite(upper) ? std::sqrt(lower * upper) : 16 * mu;
    }
    if (!(std::abs(next - mu) > kStagnation * mu)) break;
    mu = next;
  }

  // Knots spaced so unevenly that the solves lose their digits stop the
  // search far from S, on either side, and nothing else would show it.
  if (!(std::fabs(f - target) <= kAcceptedMiss * target)) singular();

  const double to_real = mu * y_scale / sq(x_scale);
  for (std::size_t p = 0; p < m; ++p) m_[p + 1] = u_[p] * to_real;
  for (std::size_t i = 0; i < n; ++i) a_[i] = y_[i] - r_[i] * y_scale;
  multiplier_ = mu / (sq(x_scale) * x_scale);
  residual_sum_ = f * sq(y_scale);
  return f;
}

// x_unit: the reciprocal of the x scale when the spacing of the band matrices
// belongs to these x (their e = 1/h then gives 1/(x_(j+1) - x_j) exactly), 0
// otherwise.
void CurveFit::SetCoefficients(double x_unit) {
  const std::size_t pieces = x_.size() < 2 ? 0 : x_.size() - 1;
  pieces_.resize(pieces);
  constexpr double kSixth = 1.0 / 6;
  // Stays 0 while every number is finite; an infinity or NaN makes it NaN.
  double probe = fit_ * 0 + a_.back() * 0;
  for (std::size_t j = 0; j < pieces; ++j) {
    const double h = x_[j + 1] - x_[j];
    const double e = x_unit > 0 ? e_[j] * x_unit : 1 / h;
    Piece& p = pieces_[j];
    p.x0 = x_[j];
    p.x1 = x_[j + 1];
    p.a = a_[j];
    p.b = (a_[j + 1] - a_[j]) * e - h * (2 * m_[j] + m_[j + 1]) * kSixth;
    p.c = m_[j] / 2;
    p.d = (m_[j + 1] - m_[j]) * e * kSixth;
    probe += p.a * 0 + p.b * 0 + p.c * 0 + p.d * 0;
  }
  if (probe != 0) throw Error(kOverflow);
}

}  // namespace veltrano
