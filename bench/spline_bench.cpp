// Speed of the smoothing spline in the two uses of the equal-step generator:
// the fine interpolation (3600 points, smoothing 0, 35 991 sorted evaluations)
// and the smoothing of the picked points (360, 720 or 3600 points, one value
// per point). The values go into a table, as in the generator (a running sum
// would chain the calls and time the additions).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "output/smoothing_spline.h"

namespace {

// A cam-like coordinate: a base circle radius with a lobe, plus a little
// noise of the size of the contact-point rounding.
std::vector<double> contour(int n) {
  std::vector<double> y;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / n;
    const double lobe = std::max(0.0, std::cos(2 * std::numbers::pi * (t - 0.5)));
    const double noise = 1e-4 * std::sin(977.0 * i) * std::sin(131.0 * i);
    y.push_back((14 + 8 * lobe * lobe) * std::sin(2 * std::numbers::pi * t) + noise);
  }
  return y;
}

void BM_FineInterpolation(benchmark::State& state) {
  const std::vector<double> y = contour(3600);
  veltrano::CurveFit fit;
  std::vector<double> fine(35991);
  for (auto _ : state) {
    fit.Init();
    for (int i = 0; i < 3600; ++i) fit.EnterStatValue(10.0 * i, y[i]);
    fit.SetSplineSmoothing(0);
    for (int j = 0; j <= 35990; ++j) fine[j] = fit.SmoothedSpline(j);
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(fine.data());
}
BENCHMARK(BM_FineInterpolation)->Unit(benchmark::kMicrosecond);

// Arguments: points, smoothing factor f times 100 (s = 1e-9 x 25 x f).
void BM_Smoothing(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const double s = 1e-9 * 25 * static_cast<double>(state.range(1)) / 100;
  const std::vector<double> y = contour(n);
  veltrano::CurveFit fit;
  std::vector<double> smoothed(n);
  for (auto _ : state) {
    fit.Init();
    for (int k = 0; k < n; ++k) fit.EnterStatValue(k, y[k]);
    fit.SetSplineSmoothing(s);
    for (int k = 0; k < n; ++k) smoothed[k] = fit.SmoothedSpline(k);
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(smoothed.data());
  state.counters["iterations"] = fit.iterations();
  state.counters["F/S-1"] = fit.residual_sum() / fit.target_residual_sum() - 1;
}
BENCHMARK(BM_Smoothing)
    ->ArgNames({"n", "f%"})
    ->Args({360, 100})
    ->Args({720, 85})
    ->Args({3600, 15000})
    ->Args({360, 15000})
    ->Args({3600, 100})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
