// The smoothing spline of the equal-step generator: Reinsch's spline through
// points entered with strictly increasing x, as a small curve-fit object with
// the four operations the generator uses (Init, EnterStatValue,
// SetSplineSmoothing, SmoothedSpline).
//
// The curve g minimises the integral of g''^2 among all curves with
// sum (g(x_i) - y_i)^2 <= S, where S = s * (residual sum of squares of the
// least-squares line). It is the natural cubic spline with a knot at every x_i:
// s <= 0 gives the interpolating spline, s >= 1 the least-squares line.
//
// For 0 < s < 1 the multiplier mu of the residual term is found by Newton's
// method on F(mu)^(-1/2) - S^(-1/2), F the residual sum at mu, started at
// mu = 0 (the line). Each step costs one LDL^T factorisation of the
// pentadiagonal A + mu R, one refined solve and one solve for the derivative,
// all O(n). F falls monotonically to S; the iteration stops when
// F <= S (1 + 1e-10) (kResidualTolerance), when rounding stops the progress
// (a step that is not positive or below 1e-14 mu; F then lies within its own
// rounding of S), or after 50 steps (kIterationCap; converged() false). A fit
// that ends with F more than 1e-5 S away from S has lost the digits of its
// solves (knots spaced very unevenly) and throws, like a singular system.
// Typical counts: 5 to 13 steps for 360 to 3600 points.
//
// The fit is made lazily by the first evaluation after the points or the
// smoothing changed. Evaluation keeps the last piece as a cursor, so that
// increasing abscissas cost O(1) each; any order works.
//
// Edge cases:
// - n = 0: nothing is valid. n = 1: valid only at x_0, where g = y_0. n = 2:
//   the segment through both points, whatever s.
// - s below 2^-104 (the residual allowed is below its own rounding): the
//   interpolating spline. Likewise for data on a straight line (residual of
//   the line zero, or at the rounding level of y), where it is that line.
// - fit (coefficient of determination) is 1 when all y are equal, since the
//   spline reproduces them and nothing is left to explain; 0 when no point was
//   entered.
//
// Bad input (x not above the previous x, x or y not finite, s NaN) throws
// veltrano::Error at once and leaves the entered points unchanged. A fit whose
// numbers leave the range of a double throws the overflow error.
#pragma once

#include <cstddef>
#include <vector>

namespace veltrano {

class CurveFit {
 public:
  // Relative tolerance on the residual sum: the fit stops once F <= S (1 + tol).
  static constexpr double kResidualTolerance = 1e-10;
  static constexpr int kIterationCap = 50;

  // Forgets every point; the smoothing value stays.
  void Init();
  // Adds (x, y); x must exceed the x entered before it.
  void EnterStatValue(double x, double y);
  // s >= 0; a value below 0 counts as 0, a value above 1 as 1 (both give the
  // line).
  void SetSplineSmoothing(double s);

  // Value at x of the spline through the points entered since Init, refitted
  // first when points or smoothing changed. valid = (x_0 <= x <= x_{n-1});
  // outside, and for NaN, the result is 0 and valid false. fit receives
  // 1 - sum (y_i - g(x_i))^2 / sum (y_i - ybar)^2.
  double SmoothedSpline(double x, double& fit, bool& valid);
  // The same when neither fit nor valid is wanted.
  double SmoothedSpline(double x);

  // What the last fit did (the one made by the last evaluation that needed it).
  std::size_t point_count() const { return x_.size(); }
  double smoothing() const { return smoothing_; }
  // Newton steps taken (0 when the fit needed no iteration).
  int iterations() const { return iterations_; }
  // False only when the iteration cap was reached before the tolerance.
  bool converged() const { return converged_; }
  // The multiplier mu of the residual term (1 / lambda of the penalised form
  // sum r^2 + lambda * integral g''^2): 0 for the line, +infinity for the
  // interpolating spline.
  double multiplier() const { return multiplier_; }
  // sum (y_i - g(x_i))^2 reached (computed as F), the target S = min(s, 1) *
  // RSS_line, and the line's residual sum RSS_line.
  double residual_sum() const { return residual_sum_; }
  double target_residual_sum() const { return target_; }
  double line_residual_sum() const { return line_residual_sum_; }
  // Number of fits computed since construction.
  std::size_t fit_count() const { return fit_count_; }

 private:
  void Refit();
  std::vector<double> Spacing(double x_scale) const;
  void FitInterpolating(double x_scale, double y_scale);
  double FitSmoothing(double x_scale, double y_scale, double rss);
  void SetCoefficients();
  std::size_t Piece(double x);

  // Entered points.
  std::vector<double> x_, y_;
  double smoothing_ = 0;
  bool dirty_ = true;

  // The fitted spline: knot values a, second derivatives M (0 at both ends),
  // and per piece j the cubic a_j + t (b_j + t (c_j + t d_j)) in t = x - x_j.
  // r holds the scaled residuals while fitting.
  std::vector<double> a_, m_, r_, b_, c_, d_;
  std::size_t cursor_ = 0;
  double fit_ = 0;

  int iterations_ = 0;
  bool converged_ = true;
  double multiplier_ = 0;
  double residual_sum_ = 0;
  double target_ = 0;
  double line_residual_sum_ = 0;
  std::size_t fit_count_ = 0;
};

}  // namespace veltrano
