// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/settings_edit.h"

#include "dialog/dialog_rules.h"

namespace kelvra {
namespace {

struct SavedPair {
    int32_t FilterData::*field;
    int32_t FilterData::*copy;
};

// Cancel restores these seven in this order; Disable, Soft and the overlay
// switch have no copies and keep what the user last set.
constexpr SavedPair kSaved[] = {
    {&FilterData::level, &FilterData::saved_level},   {&FilterData::border, &FilterData::saved_border},
    {&FilterData::freeze, &FilterData::saved_freeze}, {&FilterData::nup, &FilterData::saved_nup},
    {&FilterData::nleft, &FilterData::saved_nleft},   {&FilterData::nright, &FilterData::saved_nright},
    {&FilterData::ndown, &FilterData::saved_ndown},
};

struct OffsetPair {
    int32_t FilterData::*moved;
    int32_t FilterData::*opposite;
    int32_t FilterData::*dimension;
};

OffsetPair pair_of(Offset which) {
    switch (which) {
        case Offset::Up:
            return {&FilterData::nup, &FilterData::ndown, &FilterData::frame_height};
        case Offset::Down:
            return {&FilterData::ndown, &FilterData::nup, &FilterData::frame_height};
        case Offset::Left:
            return {&FilterData::nleft, &FilterData::nright, &FilterData::frame_width};
        case Offset::Right:
            break;
    }
    return {&FilterData::nright, &FilterData::nleft, &FilterData::frame_width};
}

constexpr int32_t FilterData::*kScriptOrder[kScriptValues] = {
    &FilterData::level, &FilterData::soft,   &FilterData::border, &FilterData::nup,
    &FilterData::nleft, &FilterData::nright, &FilterData::ndown,
};

}  // namespace

void begin_dialog(FilterData& fd) {
    store_relaxed(fd.dialog_closed, 0);
    for (const SavedPair& p : kSaved) store_relaxed(fd.*p.copy, load_relaxed(fd.*p.field));
}

void accept_dialog(FilterData& fd) { store_relaxed(fd.dialog_closed, 1); }

void cancel_dialog(FilterData& fd) {
    for (const SavedPair& p : kSaved) store_relaxed(fd.*p.field, load_relaxed(fd.*p.copy));
    store_relaxed(fd.dialog_closed, 1);
}

int32_t move_offset(FilterData& fd, Offset which, int32_t position) {
    const OffsetPair p = pair_of(which);
    store_relaxed(fd.*p.moved, position);
    const int32_t before = load_relaxed(fd.*p.opposite);
    const int32_t after = coupled_opposite(position, before, load_relaxed(fd.*p.dimension));
    if (after != before) store_relaxed(fd.*p.opposite, after);
    return after;
}

void set_flag(int32_t& field, bool checked) { store_relaxed(field, checked ? 1 : 0); }

void apply_config(FilterData& fd, const int32_t (&values)[kScriptValues]) {
    for (int i = 0; i < kScriptValues; ++i) store_relaxed(fd.*kScriptOrder[i], values[i]);
}

void config_values(const FilterData& fd, int32_t (&values)[kScriptValues]) {
    for (int i = 0; i < kScriptValues; ++i) values[i] = load_relaxed(fd.*kScriptOrder[i]);
}

}  // namespace kelvra
