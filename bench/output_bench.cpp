// Speed of the DXF file of 3600 corrected points: the text alone, and saved
// through a temporary file and rename.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "app/handlers.h"
#include "model/controls.h"
#include "model/tables.h"
#include "output/coordinate_files.h"

namespace {

void fill_corrected_points() {
  veltrano::reset_all();
  for (int k = 0; k < 3600; ++k) {
    const double a = k * 0.1 * 3.141592653589793 / 180;
    veltrano::corrected_x[k] = (14 + 3 * std::sin(a)) * std::sin(a);
    veltrano::corrected_y[k] = (14 + 3 * std::sin(a)) * std::cos(a);
  }
}

void BM_DxfText(benchmark::State& state) {
  fill_corrected_points();
  for (auto _ : state) benchmark::DoNotOptimize(veltrano::dxf_file_bytes(3600));
}
BENCHMARK(BM_DxfText)->Unit(benchmark::kMicrosecond);

void BM_DxfSave(benchmark::State& state) {
  fill_corrected_points();
  const std::string path =
      (std::filesystem::temp_directory_path() / "veltrano-bench.dxf").string();
  for (auto _ : state) veltrano::save_file(path, veltrano::dxf_file_bytes(3600));
  std::filesystem::remove(path);
}
BENCHMARK(BM_DxfSave)->Unit(benchmark::kMicrosecond);

}  // namespace
