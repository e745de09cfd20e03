// SPDX-License-Identifier: GPL-2.0-or-later
// Times the engine's share of a deep frame at 1920x1080 beside the 8-bit
// frame pass on the same picture: the reduction to 8 bits, the stretch of
// the 16-bit samples (its tables kept, and rebuilt for new levels), the
// overlay at depth, and the whole per-frame work of a deep input
// (reduction, 8-bit pass, stretch).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench_frames.h"
#include "overlay/deep_overlay.h"
#include "pass/frame_pass.h"
#include "stretch/deep_frame.h"
#include "stretch/deep_stretch.h"

namespace {

constexpr FrameSize kSize{1920, 1080};
const kelvra::Levels kLevels[2] = {{{14, 22, 9, 236, 241, 230}}, {{15, 22, 9, 236, 240, 230}}};

// The 8-bit picture at depth, with low bits of its own so no sample is a
// multiple of 257.
struct DeepPicture {
    std::vector<uint16_t> planes;
    kelvra::DeepFrame frame;

    DeepPicture() : planes(3 * size_t(kSize.w) * kSize.h) {
        const Image& src = bench_picture(kSize);
        const size_t n = src.px.size();
        for (size_t i = 0; i < n; ++i) {
            for (int c = 0; c < 3; ++c) {
                const int32_t byte = int32_t(src.px[i] >> (16 - 8 * c) & 0xFF);
                const int32_t low_bits = int32_t((i * 2654435761u + c * 40503u) >> 7 & 0xFF) - 128;
                planes[size_t(c) * n + i] = uint16_t(std::clamp(257 * byte + low_bits, 0, 65535));
            }
        }
        frame = {planes.data(), planes.data() + n, planes.data() + 2 * n, kSize.w, kSize.h};
    }
};

kelvra::Frame view(std::vector<uint32_t>& px) {
    return {px.data(), kSize.w, kSize.h, ptrdiff_t{kSize.w} * 4};
}

void bench_pass8(benchmark::State& state) {
    std::vector<uint32_t> src = bench_picture(kSize).px, dst(src.size());
    kelvra::FilterData fd = fresh_record(kSize.w, kSize.h);
    for (auto _ : state) {
        kelvra::run_frame_pass(fd, view(src), view(dst));
        benchmark::ClobberMemory();
    }
}

void bench_reduce(benchmark::State& state) {
    DeepPicture deep;
    std::vector<uint32_t> px(size_t(kSize.w) * kSize.h);
    for (auto _ : state) {
        kelvra::reduce_to_pixels(deep.frame, px.data());
        benchmark::ClobberMemory();
    }
}

void bench_stretch(benchmark::State& state, bool new_levels) {
    DeepPicture deep;
    kelvra::DeepStretch stretch;
    int frame = 0;
    for (auto _ : state) {
        stretch.apply(kLevels[new_levels ? frame++ & 1 : 0], deep.frame);
        benchmark::ClobberMemory();
    }
}

void bench_overlay(benchmark::State& state) {
    DeepPicture deep;
    kelvra::DeepOverlay overlay(kSize.w, kSize.h);
    for (auto _ : state) {
        overlay.draw(deep.frame, kelvra::count_reduced(deep.frame));
        benchmark::ClobberMemory();
    }
}

// What the tool does per deep frame, less the pipes.
void bench_deep_frame(benchmark::State& state) {
    DeepPicture deep;
    const std::vector<uint16_t> source = deep.planes;
    std::vector<uint32_t> reduced(size_t(kSize.w) * kSize.h), corrected(reduced.size());
    kelvra::FilterData fd = fresh_record(kSize.w, kSize.h);
    kelvra::DeepStretch stretch;
    kelvra::FrameReport report;
    for (auto _ : state) {
        state.PauseTiming();
        deep.planes = source;
        state.ResumeTiming();
        kelvra::reduce_to_pixels(deep.frame, reduced.data());
        kelvra::run_frame_pass(fd, view(reduced), view(corrected), &report);
        stretch.apply(report.applied, deep.frame);
        benchmark::ClobberMemory();
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("8-bit pass", bench_pass8)->Unit(ms);
    benchmark::RegisterBenchmark("deep reduce", bench_reduce)->Unit(ms);
    benchmark::RegisterBenchmark("deep stretch", bench_stretch, false)->Unit(ms);
    benchmark::RegisterBenchmark("deep stretch, new levels", bench_stretch, true)->Unit(ms);
    benchmark::RegisterBenchmark("deep overlay", bench_overlay)->Unit(ms);
    benchmark::RegisterBenchmark("deep frame", bench_deep_frame)->Unit(ms);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
