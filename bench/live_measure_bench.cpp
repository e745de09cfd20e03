// SPDX-License-Identifier: GPL-2.0-or-later
// What the OBS filter's analysis costs on the CPU a frame at 1920x1080: the
// live correction measuring the packed copy of balance's lattice, 480x270
// pixels, with each correction and with scene cuts. Two pictures alternate
// so every frame is news to the run's light.
//
//   kelvra_live_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include "bench_frames.h"
#include "time/live_corrector.h"

namespace {

void bench_measure(benchmark::State& state, kelvra::Correction correction, bool cuts) {
    const Image& picture = bench_picture({1920, 1080});
    kelvra::LiveSettings settings;
    settings.correction = correction;
    if (cuts) settings.sensitivity = 75;
    const kelvra::Lattice lattice = kelvra::balance_lattice(settings, 1920, 1080);
    std::vector<uint32_t> copies[2];
    for (int c = 0; c < 2; ++c)
        for (int j = 0; j < lattice.rows; ++j)
            for (int i = 0; i < lattice.columns; ++i)
                copies[c].push_back(picture.px[size_t(lattice.top + j * lattice.step) * 1920 + lattice.left +
                                               i * lattice.step + c]);
    kelvra::LiveCorrector corrector(lattice.columns, lattice.rows);
    double time = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(corrector.measure(settings, time, copies[int(time) % 2].data()));
        time += 1;
    }
}

BENCHMARK_CAPTURE(bench_measure, balance, kelvra::Correction::kBalance, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(bench_measure, balance_scene_cuts, kelvra::Correction::kBalance, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(bench_measure, plugin, kelvra::Correction::kPlugin, false)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
