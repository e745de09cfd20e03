// SPDX-License-Identifier: GPL-2.0-or-later
// Times what the cut detector adds to a frame, on the benchmark's
// natural-looking frames: the thumbnail and the detector's step (three
// thumbnail and three histogram distances, the recent changes' median),
// beside the frame pass they accompany.
//
//   kelvra_cut_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <string>

#include "bench_frames.h"
#include "pass/frame_pass.h"
#include "time/shots.h"
#include "time/thumbnail.h"

namespace {

void bench_thumbnail(benchmark::State& state, FrameSize size) {
    const Image& picture = bench_picture(size);
    kelvra::Thumbnail thumbnail;
    for (auto _ : state) {
        kelvra::make_thumbnail(picture.px.data(), size.w, size.h, thumbnail);
        benchmark::DoNotOptimize(thumbnail);
    }
}

// The thumbnail and the detector's step, on frames that alternate between the
// picture and its mirror image, so every distance has work to do.
void bench_detector(benchmark::State& state, FrameSize size) {
    const Image& picture = bench_picture(size);
    Image mirror(size.w, size.h);
    for (size_t i = 0; i < picture.px.size(); ++i) mirror.px[i] = picture.px[picture.px.size() - 1 - i];
    kelvra::ShotFinder finder({kelvra::kDefaultSensitivity, {}, {}});
    kelvra::FrameReport report{};
    kelvra::Thumbnail thumbnail;
    bool odd = false;
    for (auto _ : state) {
        kelvra::make_thumbnail((odd ? mirror : picture).px.data(), size.w, size.h, thumbnail);
        benchmark::DoNotOptimize(finder.next(report, thumbnail));
        odd = !odd;
    }
}

void bench_pass(benchmark::State& state, FrameSize size) {
    HostBuffer src(bench_picture(size), Layout::Contiguous);
    HostBuffer dst(Image(size.w, size.h), Layout::Contiguous);
    kelvra::FilterData fd = fresh_record(size.w, size.h);
    for (auto _ : state) {
        kelvra::run_frame_pass(fd, src.frame, dst.frame);
        benchmark::ClobberMemory();
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const FrameSize& size : bench_sizes()) {
        const std::string s = size_name(size);
        benchmark::RegisterBenchmark(("pass/" + s).c_str(), bench_pass, size)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("thumbnail/" + s).c_str(), bench_thumbnail, size)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("detector/" + s).c_str(), bench_detector, size)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
