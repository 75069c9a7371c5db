// Speed of one calculation per follower kind, drawing included, on a
// 3600-sample lift table at the default view.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "app/calculate.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "model/controls.h"

namespace {

void load_cycloidal_lift() {
  veltrano::reset_all();
  veltrano::FormCreate();
  std::vector<std::string> lines;
  for (int i = 0; i < 3600; ++i) {
    // 10 mm cycloidal lift over 140 degrees of cam around 180.
    const double deg = i * 0.1;
    double lift = 0;
    const double start = 110, duration = 140;
    if (deg > start && deg < start + duration) {
      const double u = (deg - start) / duration;
      lift = u <= 0.5 ? 10 * (2 * u - std::sin(4 * M_PI * u) / (2 * M_PI))
                      : 10 * (2 - 2 * u + std::sin(4 * M_PI * u) / (2 * M_PI));
    }
    lines.push_back(veltrano::format_fixed(lift, 6, '.'));
  }
  veltrano::form1.inputdata.assign(lines);
}

void BM_Calculation(benchmark::State& state) {
  load_cycloidal_lift();
  veltrano::form1.type_select = static_cast<int>(state.range(0));
  for (auto _ : state) veltrano::calculate_lobeClick();
}
BENCHMARK(BM_Calculation)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->ArgName("follower")->Unit(benchmark::kMicrosecond);

// A whole generate pass of the flat tappet: 0 one degree, 1 half a degree,
// 2 a tenth, 3 raw spacing (no equal steps).
void BM_Generate(benchmark::State& state) {
  load_cycloidal_lift();
  veltrano::form1.XYspacing = static_cast<int>(state.range(0));
  for (auto _ : state) veltrano::genXYcoordClick();
}
BENCHMARK(BM_Generate)->DenseRange(0, 3)->ArgName("spacing")->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {
void BM_CalculationNoRepaint(benchmark::State& state) {
  load_cycloidal_lift();
  veltrano::form1.repaintchk = false;
  for (auto _ : state) veltrano::calculate_lobeClick();
}
BENCHMARK(BM_CalculationNoRepaint)->Unit(benchmark::kMicrosecond);
}  // namespace
