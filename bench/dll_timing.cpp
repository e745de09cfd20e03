// SPDX-License-Identifier: GPL-2.0-or-later
// Times kelvra.vdf's RunProc the way the editor calls it, on the benchmark's
// frames and settings, from the test host's folder. Run the 64-bit and the
// 32-bit build one after the other (scripts/bench.sh --dll) to compare them.
// Prints one line per case: "<kind>/<W>x<H> <ms per frame>", the median of
// several timed batches.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_frames.h"
#include "host_bitmap.h"
#include "pass_kinds.h"
#include "plugin_host.h"

namespace {

constexpr int kBatches = 9;
constexpr double kBatchSeconds = 0.05;

double seconds_now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

// Milliseconds per frame: the median over batches of about kBatchSeconds.
double time_frames(Instance& inst) {
    for (int warm_up = 0; warm_up < 5; ++warm_up) inst.run();
    const double start = seconds_now();
    inst.run();
    const int frames = std::max(1, int(kBatchSeconds / std::max(seconds_now() - start, 1e-6)));
    std::vector<double> per_frame;
    for (int batch = 0; batch < kBatches; ++batch) {
        const double t0 = seconds_now();
        for (int i = 0; i < frames; ++i) inst.run();
        per_frame.push_back((seconds_now() - t0) * 1e3 / frames);
    }
    std::sort(per_frame.begin(), per_frame.end());
    return per_frame[kBatches / 2];
}

}  // namespace

int main() {
    for (const FrameSize& size : bench_sizes()) {
        HostBitmap src(bench_picture(size)), dst(size.w, size.h, RowLayout::Contiguous);
        for (const PassKind& kind : kPassKinds) {
            Instance inst;
            inst.src = src.bitmap;
            inst.dst = dst.bitmap;
            inst.init();
            inst.start();
            apply_pass_kind(inst.record(), kind, size.w, size.h);
            std::printf("%s/%s %.4f\n", kind.name, size_name(size).c_str(), time_frames(inst));
            std::fflush(stdout);
        }
    }
    return 0;
}
