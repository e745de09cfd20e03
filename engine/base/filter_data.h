// SPDX-License-Identifier: GPL-2.0-or-later
// The per-instance record the host allocates (inst_data_size bytes) and hands
// to every callback. Its layout is part of the host contract: one pointer,
// then 56 int32 values.
#pragma once

#include <atomic>
#include <cstdint>

class IVDXFilterPreview;

namespace kelvra {

constexpr int kLevels = 6;   // low R, G, B, high R, G, B
constexpr int kHistory = 5;  // ages 0 (newest) .. 4

struct FilterData {
    IVDXFilterPreview* preview;
    int32_t level;
    int32_t border;
    int32_t disable;
    int32_t saved_level;
    int32_t saved_border;
    int32_t history[kLevels][kHistory];
    int32_t current[kLevels];
    int32_t dialog_closed;
    int32_t show_histogram;
    int32_t soft;
    int32_t freeze;
    int32_t saved_freeze;
    int32_t nup;
    int32_t nleft;
    int32_t nright;
    int32_t ndown;
    int32_t saved_nup;
    int32_t saved_nleft;
    int32_t saved_nright;
    int32_t saved_ndown;
    int32_t frame_height;
    int32_t frame_width;
};

static_assert(sizeof(FilterData) == sizeof(void*) + 56 * sizeof(int32_t));
static_assert(alignof(FilterData) == alignof(void*));

// The dialog, the script handler and the frame pass run on different host
// threads; every access to a shared field goes through these.
inline int32_t load_relaxed(const int32_t& field) {
    return std::atomic_ref<int32_t>(const_cast<int32_t&>(field)).load(std::memory_order_relaxed);
}

inline void store_relaxed(int32_t& field, int32_t value) {
    std::atomic_ref<int32_t>(field).store(value, std::memory_order_relaxed);
}

// What InitProc sets; the preview pointer and the saved copies are zeroed.
void init_filter_data(FilterData& fd, int32_t width, int32_t height);

// The settings one frame is computed from, read once at its start.
struct Settings {
    int32_t level;
    int32_t border;
    int32_t disable;
    int32_t dialog_closed;
    int32_t show_histogram;
    int32_t soft;
    int32_t freeze;
    int32_t nup;
    int32_t nleft;
    int32_t nright;
    int32_t ndown;
};

Settings snapshot_settings(const FilterData& fd);

}  // namespace kelvra
