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
// For 0 < s < 1 the multiplier mu of the residual term solves F(mu) = S, F the
// residual sum at mu, which falls strictly from RSS_line at mu = 0 towards 0.
// Each try of a mu costs one LDL^T factorisation of the pentadiagonal
// A + mu R with the solve for it, and a forward pass for F'(mu), all O(n)
// (the elimination runs from both ends at once, see TwistedFactor). The tries
// are kept in a bracket:
// - phi(mu) = F(mu)^(-1/2) is increasing and concave, so the zero of its
//   tangent at any tried mu (a Newton step) lies below the root;
// - F(mu) < c / mu^2, c = lim mu^2 F (from the interpolating spline), so
//   mu = sqrt(c / S) lies above it; so does every tried mu with F < S.
// The next mu is the zero of a model of log F against log mu: once two tries
// enclose the root, the cubic through them (values and slopes); before, the
// parabola with the value and slope of the last try, bent by the change of
// slope since the try before (the slope of log F grows with log mu). Over
// wide ranges of mu, F falls like a fixed power of mu, often far below 2
// (about mu^-0.25 for the picked points of the generator), where Newton steps
// on phi creep up by a small factor each; the log-log model lands near the
// root instead. A model zero below the bracket is replaced by its lower end
// (the Newton step), one above it by the geometric middle. The first try is
// the upper bound when s < 0.1 (light smoothing, where it is nearly the root)
// and the Newton step from mu = 0 otherwise. The iteration stops when
// |F / S - 1| <= 1e-10 (kResidualTolerance), when rounding stops the progress
// (the next mu within 1e-14 of the last one; F then lies within its own
// rounding of S), or after 50 tries (kIterationCap; converged() false).
// Typical counts: 2 to 8 tries for 360 to 3600 points.
//
// For small mu, A + mu R is close to A, whose condition grows like n^4. There
// (a bound of the condition above 1e5) F is refined by one step with the
// residual in extended precision, once it lies within 1e-4 of S; the earlier
// tries only steer (their tangents give no bound). A fit that ends with F more
// than 1e-5 S away from S has lost the digits of its solves (knots spaced very
// unevenly) and throws, like a singular system.
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

#include <cmath>
#include <cstddef>
#include <vector>

namespace veltrano {

class CurveFit {
 public:
  // Relative tolerance on the residual sum: the fit stops once |F / S - 1| <= tol.
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
  // Values of mu tried (0 when the fit needed no iteration).
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
  // One piece of the fitted spline: a + t (b + t (c + t d)) for t = x - x0,
  // x0 <= x < x1.
  struct Piece {
    double x0, x1, a, b, c, d;
  };

  // L D L^T of a symmetric positive definite band matrix B with two
  // off-diagonals, eliminated from both ends at once towards the two middle
  // rows, which are solved together. The two eliminations are independent
  // recurrences, so they run side by side in half the time of one.
  class TwistedFactor {
   public:
    // B has the diagonal b0 + mu r0 and the off-diagonals b1 + mu r1 and b2
    // (each padded to m entries). z, if given, is eliminated on the way (the
    // first half of a solve; Finish does the rest).
    void Factor(const std::vector<double>& b0, const std::vector<double>& r0,
                const std::vector<double>& b1, const std::vector<double>& r1,
                const std::vector<double>& b2, double mu, std::vector<double>* z);
    // z <- B^-1 z.
    void Solve(std::vector<double>& z) const;
    // z <- B^-1 z after Factor eliminated z.
    void Finish(std::vector<double>& z) const;
    // z^T B^-1 z; z is left eliminated.
    double InverseForm(std::vector<double>& z) const;

   private:
    void Eliminate(std::vector<double>& z) const;

    std::size_t top_ = 0, bottom_ = 0;  // rows eliminated from either end
    // Per row: multipliers to the next row and the one after towards the
    // middle, and the reciprocal pivot.
    std::vector<double> l1_, l2_, inv_d_;
    double i00_ = 0, i01_ = 0, i11_ = 0;  // inverse of the middle 2 x 2 block
  };

  double Evaluate(double x, double& fit, bool& valid);
  void Reject(double x, double y) const;
  void Refit();
  void PrepareBands(double x_scale);
  void FactorCurvature();
  void FitInterpolating(double x_scale, double y_scale);
  double FitSmoothing(double x_scale, double y_scale, double rss);
  double LimitResidualSum();
  double Residuals(double mu, bool refine_near, double target);
  double PhiSlope(double mu);
  void SetCoefficients(double x_unit);
  std::size_t FindPiece(double x);

  // Entered points.
  std::vector<double> x_, y_;
  double smoothing_ = 0;
  bool dirty_ = true;

  // The knot spacing in scaled units (h, e = 1/h) and the band matrices built
  // from it for the m = n - 2 interior knots: R (r0, r1, the curvature
  // integral) and A = Q^T Q (a0, a1, a2), each band padded with zeros to m
  // entries. They depend on x only, so they are kept while the same x values
  // come again (the generator fits x and y coordinates over the same x).
  std::vector<double> band_x_;
  double band_scale_ = 0;
  std::vector<double> h_, e_, r0_, r1_, a0_, a1_, a2_, zeros_;
  // Below this mu a solve is refined (see FitSmoothing).
  double refine_below_ = 0;
  // R, factored when r_factored_.
  TwistedFactor curvature_;
  bool r_factored_ = false;
  // A + mu R of the last try, and the vectors of the solves.
  TwistedFactor band_;
  std::vector<double> rhs_, u_, work_;

  // The fitted spline: knot values a, second derivatives M (0 at both ends);
  // r holds the scaled residuals while fitting.
  std::vector<double> a_, m_, r_;
  std::vector<Piece> pieces_;
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

// The common calls inline: a point after the last one, and an evaluation in
// the piece of the previous one or the next (sorted evaluation).
inline void CurveFit::EnterStatValue(double x, double y) {
  if (std::isfinite(x) && std::isfinite(y) && (x_.empty() || x > x_.back())) {
    x_.push_back(x);
    y_.push_back(y);
    dirty_ = true;
    return;
  }
  Reject(x, y);
}

inline double CurveFit::SmoothedSpline(double x, double& fit, bool& valid) {
  const std::size_t j = cursor_, pieces = pieces_.size();
  if (!dirty_ && j < pieces) {
    const Piece* p = &pieces_[j];
    // The cursor moves (a store the next call waits for) only when x left
    // its piece.
    if (!(x < p->x1) && j + 1 < pieces && x < p[1].x1) {
      ++p;
      cursor_ = j + 1;
    }
    if (x >= p->x0 && x < p->x1) {
      const double t = x - p->x0;
      const double g = p->a + t * (p->b + t * (p->c + t * p->d));
      if (std::isfinite(g)) {
        fit = fit_;
        valid = true;
        return g;
      }
    }
  }
  return Evaluate(x, fit, valid);
}

inline double CurveFit::SmoothedSpline(double x) {
  double fit = 0;
  bool valid = false;
  return SmoothedSpline(x, fit, valid);
}

}  // namespace veltrano
