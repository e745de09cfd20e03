// SPDX-License-Identifier: GPL-2.0-or-later
// Times, on the same natural-looking frames: the floor kernel (the memory
// traffic a frame pass cannot avoid), the plain implementation the tests
// check against, the engine's frame pass with the overlay and the border
// off and on, and the same pass with balance's analysis in place of the
// plug-in's. Prints each as a ratio to the floor.
//
//   kelvra_bench [benchmark flags]      run and print the tables
//   kelvra_bench --dump-frames=DIR      write the pictures for other tools
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench_frames.h"
#include "floor_kernel.h"
#include "pass/frame_pass.h"
#include "pass_kinds.h"
#include "plain_filter.h"
#include "ratio_table.h"

namespace {

void bench_floor(benchmark::State& state, FrameSize size) {
    HostBuffer src(bench_picture(size), Layout::Contiguous);
    HostBuffer dst(Image(size.w, size.h), Layout::Contiguous);
    for (auto _ : state) {
        benchmark::DoNotOptimize(floor_pass(src.frame, dst.frame));
        benchmark::ClobberMemory();
    }
}

void bench_plain(benchmark::State& state, FrameSize size) {
    const Image& src = bench_picture(size);
    std::vector<uint32_t> dst(src.px.size());
    kelvra::FilterData fd = fresh_record(size.w, size.h);
    for (auto _ : state) {
        plain::frame_pass(fd, src.px, dst, size.w, size.h);
        benchmark::ClobberMemory();
    }
}

void bench_pass(benchmark::State& state, FrameSize size, PassKind kind) {
    HostBuffer src(bench_picture(size), Layout::Contiguous);
    HostBuffer dst(Image(size.w, size.h), Layout::Contiguous);
    kelvra::FilterData fd = fresh_record(size.w, size.h);
    apply_pass_kind(fd, kind, size.w, size.h);
    for (auto _ : state) {
        kelvra::run_frame_pass(fd, src.frame, dst.frame);
        benchmark::ClobberMemory();
    }
}

void bench_balance(benchmark::State& state, FrameSize size) {
    HostBuffer src(bench_picture(size), Layout::Contiguous);
    HostBuffer dst(Image(size.w, size.h), Layout::Contiguous);
    kelvra::FilterData fd = fresh_record(size.w, size.h);
    kelvra::BalanceSample sample;
    kelvra::LightTracker tracker;
    const kelvra::AnalysisPlan plan{kelvra::Correction::kBalance, false, &sample, &tracker};
    kelvra::ShotLight light;
    kelvra::FrameAnalysis analysis;
    for (auto _ : state) {
        kelvra::analyse_frame(fd, src.frame, analysis, plan);
        kelvra::stretch_frame(analysis, src.frame, dst.frame,
                              kelvra::step_levels(fd, light, analysis, false, nullptr));
        benchmark::ClobberMemory();
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--dump-frames=", 14) == 0) return dump_pictures(argv[i] + 14) ? 0 : 1;
    }
    std::vector<std::string> columns = {"floor", "plain"};
    for (const PassKind& kind : kPassKinds) columns.push_back(kind.name);
    columns.push_back("balance");

    for (const FrameSize& size : bench_sizes()) {
        const std::string s = size_name(size);
        benchmark::RegisterBenchmark(("floor/" + s).c_str(), bench_floor, size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("plain/" + s).c_str(), bench_plain, size)
            ->Unit(benchmark::kMillisecond);
        for (const PassKind& kind : kPassKinds)
            benchmark::RegisterBenchmark((std::string(kind.name) + "/" + s).c_str(), bench_pass, size, kind)
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("balance/" + s).c_str(), bench_balance, size)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioTable table(columns);
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return 0;
}
