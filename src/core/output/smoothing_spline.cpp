#include "output/smoothing_spline.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "app/errors.h"
#include "app/numbers.h"

namespace veltrano {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();
// Below this smoothing value the residual allowed is smaller than the rounding
// of the residuals themselves.
constexpr double kTinySmoothing = kEps * kEps;
// A Newton step below this fraction of mu is rounding, not progress.
constexpr double kStagnation = 1e-14;
// What the iteration leaves to rounding is far below this; a fit that misses
// S by more has lost the digits of its solves and is refused.
constexpr double kAcceptedMiss = 1e-5;
constexpr const char* kSingular =
    "Smoothing spline: the equations of the fit are numerically singular "
    "(x spacing too uneven, or too many points for this smoothing)";
// Forward steps the evaluation cursor takes before it searches.
constexpr int kCursorWalk = 8;

double sq(double v) { return v * v; }

std::string text(double v) { return format_significant(v, 17, 15, '.'); }

// A power of two near |v| (1 for 0): dividing by it is exact, and it brings
// the numbers of the solve near 1 whatever the units of x and y.
double power_of_two_near(double v) {
  if (v == 0) return 1;
  int e = 0;
  std::frexp(v, &e);
  return std::ldexp(1.0, e - 1);
}

double dot(const std::vector<double>& p, const std::vector<double>& q) {
  double sum = 0;
  for (std::size_t i = 0; i < p.size(); ++i) sum += p[i] * q[i];
  return sum;
}

// B = L D L^T of a symmetric positive definite band matrix given by its
// diagonal b0 and off-diagonals b1, b2 (b2 empty: tridiagonal). No pivoting:
// a pivot that is not positive means the system is numerically singular.
class BandFactor {
 public:
  void Factor(const std::vector<double>& b0, const std::vector<double>& b1,
              const std::vector<double>& b2) {
    const std::size_t m = b0.size();
    d_.assign(m, 0);
    inverse_d_.assign(m, 0);
    l1_.assign(m, 0);
    l2_.assign(m, 0);
    for (std::size_t k = 0; k < m; ++k) {
      double dk = b0[k];
      if (k >= 1) dk -= sq(l1_[k - 1]) * d_[k - 1];
      if (k >= 2) dk -= sq(l2_[k - 2]) * d_[k - 2];
      if (!(dk > 0) || !std::isfinite(dk))
        throw Error(kSingular);
      d_[k] = dk;
      inverse_d_[k] = 1 / dk;
      if (k + 1 < m) {
        double v = b1[k];
        if (k >= 1) v -= l1_[k - 1] * l2_[k - 1] * d_[k - 1];
        l1_[k] = v * inverse_d_[k];
      }
      if (k + 2 < m && !b2.empty()) l2_[k] = b2[k] * inverse_d_[k];
    }
  }

  // z <- B^-1 z.
  void Solve(std::vector<double>& z) const {
    const std::size_t m = d_.size();
    for (std::size_t k = 1; k < m; ++k) {
      z[k] -= l1_[k - 1] * z[k - 1];
      if (k >= 2) z[k] -= l2_[k - 2] * z[k - 2];
    }
    for (std::size_t k = 0; k < m; ++k) z[k] *= inverse_d_[k];
    for (std::size_t k = m - 1; k-- > 0;) {
      z[k] -= l1_[k] * z[k + 1];
      if (k + 2 < m) z[k] -= l2_[k] * z[k + 2];
    }
  }

 private:
  std::vector<double> d_, inverse_d_, l1_, l2_;
};

// The knot spacing of one fit in scaled units and the banded matrices built
// from it, for the m = n - 2 interior knots (row p is knot p + 1):
// Q (n x m) with column p holding 1/h_p, -(1/h_p + 1/h_(p+1)), 1/h_(p+1);
// R (tridiagonal, the curvature integral) and A = Q^T Q (pentadiagonal).
struct Bands {
  std::vector<double> h, e;          // spacing and its reciprocal, n - 1 each
  std::vector<double> r0, r1;        // R
  std::vector<double> a0, a1, a2;    // A

  explicit Bands(std::vector<double> spacing) : h(std::move(spacing)) {
    const std::size_t pieces = h.size();
    e.resize(pieces);
    for (std::size_t k = 0; k < pieces; ++k) e[k] = 1 / h[k];
    const std::size_t m = pieces - 1;
    r0.resize(m);
    r1.resize(m - 1);
    for (std::size_t p = 0; p < m; ++p) {
      r0[p] = (h[p] + h[p + 1]) / 3;
      if (p + 1 < m) r1[p] = h[p + 1] / 6;
    }
  }

  void BuildA() {
    const std::size_t m = r0.size();
    a0.resize(m);
    a1.resize(m - 1);
    a2.resize(m >= 2 ? m - 2 : 0);
    for (std::size_t p = 0; p < m; ++p) {
      const double el = e[p], ec = e[p + 1];
      a0[p] = sq(el) + sq(el + ec) + sq(ec);
      if (p + 1 < m) a1[p] = -ec * (el + 2 * ec + e[p + 2]);
      if (p + 2 < m) a2[p] = ec * e[p + 2];
    }
  }

  // Q^T y: the jumps of the slope of the polygon through y.
  std::vector<double> QtY(const std::vector<double>& y) const {
    std::vector<double> c(r0.size());
    for (std::size_t p = 0; p < c.size(); ++p)
      c[p] = (y[p + 2] - y[p + 1]) * e[p + 1] - (y[p + 1] - y[p]) * e[p];
    return c;
  }

  // r = Q u, u given at the interior knots (0 at both ends).
  std::vector<double> Qu(const std::vector<double>& u) const {
    const std::size_t n = h.size() + 1;
    std::vector<double> r(n);
    double previous = 0;  // (u_(i+1) - u_i) / h_i of the piece before knot i
    for (std::size_t i = 0; i + 1 < n; ++i) {
      const double left = i == 0 ? 0 : u[i - 1];
      const double right = i + 1 == n - 1 ? 0 : u[i];
      const double slope = (right - left) * e[i];
      r[i] = slope - previous;
      previous = slope;
    }
    r[n - 1] = -previous;
    return r;
  }

  // c - (A + mu R) u, accumulated in long double.
  void Residual(const std::vector<double>& c, const std::vector<double>& u, double mu,
                std::vector<double>& out) const {
    const std::size_t m = r0.size();
    for (std::size_t p = 0; p < m; ++p) {
      long double band = static_cast<long double>(a0[p]) * u[p] +
                         static_cast<long double>(mu) * r0[p] * u[p];
      if (p >= 1)
        band += (static_cast<long double>(a1[p - 1]) + static_cast<long double>(mu) * r1[p - 1]) *
                u[p - 1];
      if (p + 1 < m)
        band += (static_cast<long double>(a1[p]) + static_cast<long double>(mu) * r1[p]) * u[p + 1];
      if (p >= 2) band += static_cast<long double>(a2[p - 2]) * u[p - 2];
      if (p + 2 < m) band += static_cast<long double>(a2[p]) * u[p + 2];
      out[p] = static_cast<double>(c[p] - band);
    }
  }

  // R u.
  std::vector<double> Ru(const std::vector<double>& u) const {
    const std::size_t m = r0.size();
    std::vector<double> v(m);
    for (std::size_t p = 0; p < m; ++p) {
      v[p] = r0[p] * u[p];
      if (p >= 1) v[p] += r1[p - 1] * u[p - 1];
      if (p + 1 < m) v[p] += r1[p] * u[p + 1];
    }
    return v;
  }
};

}  // namespace

void CurveFit::Init() {
  x_.clear();
  y_.clear();
  dirty_ = true;
}

void CurveFit::EnterStatValue(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y))
    throw Error("Smoothing spline: point " + format_int(static_cast<long long>(x_.size())) +
                " is not a pair of finite numbers (x = " + text(x) + ", y = " + text(y) + ")");
  if (!x_.empty() && !(x > x_.back()))
    throw Error("Smoothing spline: x values must increase strictly, but point " +
                format_int(static_cast<long long>(x_.size())) + " has x = " + text(x) +
                " after x = " + text(x_.back()));
  x_.push_back(x);
  y_.push_back(y);
  dirty_ = true;
}

void CurveFit::SetSplineSmoothing(double s) {
  if (std::isnan(s)) throw Error("Smoothing spline: the smoothing value is not a number");
  s = std::clamp(s, 0.0, 1.0);
  if (s != smoothing_) dirty_ = true;
  smoothing_ = s;
}

double CurveFit::SmoothedSpline(double x) {
  double fit = 0;
  bool valid = false;
  return SmoothedSpline(x, fit, valid);
}

double CurveFit::SmoothedSpline(double x, double& fit, bool& valid) {
  if (dirty_) Refit();
  fit = fit_;
  const std::size_t n = x_.size();
  valid = n > 0 && x >= x_.front() && x <= x_.back();
  if (!valid) return 0;
  if (x == x_.back()) return a_.back();
  const std::size_t j = Piece(x);
  const double t = x - x_[j];
  const double g = a_[j] + t * (b_[j] + t * (c_[j] + t * d_[j]));
  if (!std::isfinite(g)) throw Error(kOverflow);
  return g;
}

// The piece j with x_j <= x < x_(j+1), for x_0 <= x < x_(n-1): a few steps
// forward from the last piece (sorted evaluation), a binary search otherwise.
std::size_t CurveFit::Piece(double x) {
  const std::size_t last = x_.size() - 2;
  std::size_t j = std::min(cursor_, last);
  if (x >= x_[j]) {
    for (int walk = 0; walk < kCursorWalk && j < last && x >= x_[j + 1]; ++walk) ++j;
    if (j == last || x < x_[j + 1]) return cursor_ = j;
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
  a_ = y_;
  m_.assign(n, 0);
  r_.assign(n, 0);
  if (n == 0) {
    fit_ = 0;
    multiplier_ = residual_sum_ = target_ = line_residual_sum_ = 0;
    b_.clear();
    c_.clear();
    d_.clear();
    dirty_ = false;
    return;
  }

  // Centre on the means (taken relative to the first point, so that equal
  // values have exactly that mean) and scale by powers of two.
  double x_sum = 0, y_sum = 0, y_max = 0;
  for (std::size_t i = 0; i < n; ++i) {
    x_sum += x_[i] - x_[0];
    y_sum += y_[i] - y_[0];
    y_max = std::max(y_max, std::abs(y_[i]));
  }
  // x about its mean, as offsets from the first point: far from the origin
  // the mean itself would round by a unit of x, and the slope would carry that
  // into every value of the line.
  const double x_mean_offset = x_sum / static_cast<double>(n);
  const auto x_centred = [&](std::size_t i) { return (x_[i] - x_[0]) - x_mean_offset; };
  const double y_bar = y_[0] + y_sum / static_cast<double>(n);
  double y_spread = 0;
  for (double y : y_) y_spread = std::max(y_spread, std::abs(y - y_bar));
  const double span = check_overflow(x_.back() - x_.front());
  const double x_scale = power_of_two_near(n > 1 ? span / static_cast<double>(n - 1) : 0);
  const double y_scale = power_of_two_near(check_overflow(y_spread));

  // Least-squares line on the centred values, its residuals as sums of squares
  // (not Syy - b Sxy, which loses the digits that S is made of).
  double sxx = 0, sxy = 0, sst = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double xc = x_centred(i) / x_scale, yc = (y_[i] - y_bar) / y_scale;
    sxx += xc * xc;
    sxy += xc * yc;
    sst += yc * yc;
  }
  const double slope = sxx > 0 ? sxy / sxx : 0;  // in scaled units
  double rss = 0;
  for (std::size_t i = 0; i < n; ++i) {
    r_[i] = (y_[i] - y_bar) / y_scale - slope * x_centred(i) / x_scale;
    rss += sq(r_[i]);
  }
  line_residual_sum_ = rss * sq(y_scale);
  target_ = smoothing_ * line_residual_sum_;
  // Residuals at the level of the rounding of y: the data lie on the line.
  const bool on_line =
      rss <= static_cast<double>(n) * sq(4 * kEps * y_max / y_scale);

  double sse = 0;  // scaled residual sum of the spline
  if (smoothing_ >= 1) {
    // The line itself: its values straight from the fit, no band solve. In
    // scaled units first, so that a slope below the range of a double (tiny
    // y over huge x) still gives the line.
    for (std::size_t i = 0; i < n; ++i)
      a_[i] = y_bar + slope * (x_centred(i) / x_scale) * y_scale;
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
  SetCoefficients();
  dirty_ = false;
}

// The scaled spacing of the knots.
std::vector<double> CurveFit::Spacing(double x_scale) const {
  std::vector<double> h(x_.size() - 1);
  for (std::size_t k = 0; k < h.size(); ++k) h[k] = (x_[k + 1] - x_[k]) / x_scale;
  return h;
}

// Natural interpolating spline: a = y and R M = Q^T y, with the line's
// residuals in place of y (Q^T removes a line; fewer digits cancel).
void CurveFit::FitInterpolating(double x_scale, double y_scale) {
  const std::size_t n = x_.size();
  a_ = y_;
  multiplier_ = std::numeric_limits<double>::infinity();
  residual_sum_ = 0;
  if (n <= 2) return;
  Bands bands(Spacing(x_scale));
  std::vector<double> moments = bands.QtY(r_);
  BandFactor factor;
  factor.Factor(bands.r0, bands.r1, {});
  factor.Solve(moments);
  const double to_real = y_scale / sq(x_scale);
  for (std::size_t p = 0; p < moments.size(); ++p) m_[p + 1] = moments[p] * to_real;
  std::fill(r_.begin(), r_.end(), 0.0);
}

// 0 < S < RSS_line: Newton on phi(mu) = F^(-1/2) - S^(-1/2), which is
// increasing and concave, from mu = 0 (the line) upwards, so F falls
// monotonically to S. r_ holds the scaled residuals of the line on entry and
// those of the spline on exit. Returns the scaled residual sum.
double CurveFit::FitSmoothing(double x_scale, double y_scale, double rss) {
  const std::size_t n = x_.size();
  Bands bands(Spacing(x_scale));
  bands.BuildA();
  const std::size_t m = n - 2;
  const double target = smoothing_ * rss;  // scaled S
  const std::vector<double> rhs = bands.QtY(r_);

  // At mu = 0, Q u = residuals of the line. Integrating twice gives u without
  // touching A, whose condition grows like n^4.
  std::vector<double> u(m);
  {
    double slope = 0, value = 0;
    for (std::size_t i = 0; i < m; ++i) {
      slope += r_[i];
      value += bands.h[i] * slope;
      u[i] = value;
    }
  }
  double mu = 0, f = rss;
  BandFactor factor;
  std::vector<double> b0(m), b1(m - 1), correction(m);
  for (;;) {
    if (f <= target * (1 + kResidualTolerance)) break;
    if (iterations_ == kIterationCap) {
      converged_ = false;
      break;
    }
    // phi'(mu) F^(3/2) = u.v - mu v.w with v = R u, B w = v.
    const std::vector<double> v = bands.Ru(u);
    double slope = dot(u, v);
    if (mu > 0) {
      std::vector<double> w = v;
      factor.Solve(w);
      slope -= mu * dot(v, w);
    }
    const double step = f * (std::sqrt(f / target) - 1) / slope;
    if (!(step > kStagnation * mu) || !std::isfinite(step)) break;
    mu += step;
    ++iterations_;
    for (std::size_t p = 0; p < m; ++p) b0[p] = bands.a0[p] + mu * bands.r0[p];
    for (std::size_t p = 0; p + 1 < m; ++p) b1[p] = bands.a1[p] + mu * bands.r1[p];
    factor.Factor(b0, b1, bands.a2);
    u = rhs;
    factor.Solve(u);
    // One step of refinement with the residual in extended precision. For
    // small mu, B is nearly A, whose condition grows like n^4; without it F
    // carries errors up to 1e-7 relative there, and the last steps wander.
    bands.Residual(rhs, u, mu, correction);
    factor.Solve(correction);
    for (std::size_t p = 0; p < m; ++p) u[p] += correction[p];
    r_ = bands.Qu(u);
    f = dot(r_, r_);
  }
  // Knots spaced so unevenly that the solves lose their digits stop the
  // iteration far from S, on either side, and nothing else would show it.
  if (!(std::fabs(f - target) <= kAcceptedMiss * target)) throw Error(kSingular);

  const double to_real = mu * y_scale / sq(x_scale);
  for (std::size_t p = 0; p < m; ++p) m_[p + 1] = u[p] * to_real;
  for (std::size_t i = 0; i < n; ++i) a_[i] = y_[i] - r_[i] * y_scale;
  multiplier_ = mu / (sq(x_scale) * x_scale);
  residual_sum_ = f * sq(y_scale);
  return f;
}

void CurveFit::SetCoefficients() {
  const std::size_t pieces = x_.size() < 2 ? 0 : x_.size() - 1;
  b_.resize(pieces);
  c_.resize(pieces);
  d_.resize(pieces);
  bool finite = std::isfinite(fit_);
  for (std::size_t j = 0; j < pieces; ++j) {
    const double h = x_[j + 1] - x_[j];
    b_[j] = (a_[j + 1] - a_[j]) / h - h * (2 * m_[j] + m_[j + 1]) / 6;
    c_[j] = m_[j] / 2;
    d_[j] = (m_[j + 1] - m_[j]) / (6 * h);
    finite = finite && std::isfinite(a_[j]) && std::isfinite(b_[j]) && std::isfinite(c_[j]) &&
             std::isfinite(d_[j]);
  }
  if (!finite || !std::isfinite(a_.back())) throw Error(kOverflow);
}

}  // namespace veltrano
