#include "count_kernels.h"

#include <cstring>

#include "channels.h"
#include "x86_arith.h"

namespace kelvra {
namespace {

const uint32_t* row_at(const uint32_t* first, ptrdiff_t pitch, int32_t y) {
    return reinterpret_cast<const uint32_t*>(reinterpret_cast<const char*>(first) + y * pitch);
}

constexpr int kSplit = 4;

struct SplitTables {
    uint32_t r[kSplit][256], g[kSplit][256], b[kSplit][256];
};

inline void add_pixel(SplitTables& t, int lane, uint32_t p) {
    ++t.r[lane][(p >> 16) & 0xFF];
    ++t.g[lane][(p >> 8) & 0xFF];
    ++t.b[lane][p & 0xFF];
}

int32_t sum_lanes(const uint32_t (&lanes)[kSplit][256], int bin) {
    uint32_t sum = 0;
    for (int lane = 0; lane < kSplit; ++lane) sum += lanes[lane][bin];
    return static_cast<int32_t>(sum);
}

}  // namespace

void count_block_c(const uint32_t* first, ptrdiff_t pitch, int32_t width, int32_t height,
                   ChannelCounts& counts) {
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = row_at(first, pitch, y);
        for (int32_t x = 0; x < width; ++x) {
            const int32_t p = static_cast<int32_t>(row[x]);
            counts.r[GetR(p)] = wrap_add(counts.r[GetR(p)], 1);
            counts.g[GetG(p)] = wrap_add(counts.g[GetG(p)], 1);
            counts.b[GetB(p)] = wrap_add(counts.b[GetB(p)], 1);
        }
    }
}

void count_block_split(const uint32_t* first, ptrdiff_t pitch, int32_t width, int32_t height,
                       ChannelCounts& counts) {
    SplitTables t;
    std::memset(&t, 0, sizeof t);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = row_at(first, pitch, y);
        int32_t x = 0;
        for (; x + kSplit <= width; x += kSplit) {
            for (int lane = 0; lane < kSplit; ++lane) add_pixel(t, lane, row[x + lane]);
        }
        for (; x < width; ++x) add_pixel(t, 0, row[x]);
    }
    for (int bin = 0; bin < 256; ++bin) {
        counts.r[bin] = wrap_add(counts.r[bin], sum_lanes(t.r, bin));
        counts.g[bin] = wrap_add(counts.g[bin], sum_lanes(t.g, bin));
        counts.b[bin] = wrap_add(counts.b[bin], sum_lanes(t.b, bin));
    }
}

}  // namespace kelvra
