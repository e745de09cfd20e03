// SPDX-License-Identifier: GPL-2.0-or-later
#include "report/stats_writer.h"

#include <cstdio>
#include <utility>

#include "output/output_format.h"

namespace kelvra::cli {
namespace {

using Field = std::pair<std::string, std::string>;

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string hundredths(double value) { return formatted("%.2f", value); }

std::string seconds(const FrameClock& clock, int64_t frame) {
    return formatted("%.6f", clock.start + static_cast<double>(frame - 1) *
                                               static_cast<double>(clock.rate.den) /
                                               static_cast<double>(clock.rate.num));
}

const char* const kChannel[3] = {"_r", "_g", "_b"};

void add_rgb(std::vector<Field>& fields, const std::string& name, const int32_t* v) {
    for (int c = 0; c < 3; ++c) fields.emplace_back(name + kChannel[c], std::to_string(v[c]));
}

void add_rgb(std::vector<Field>& fields, const std::string& name, const double* v, const char* format) {
    for (int c = 0; c < 3; ++c) fields.emplace_back(name + kChannel[c], formatted(format, v[c]));
}

// Names and values in the order of the file's columns; an empty time has no value.
std::vector<Field> fields_of(const FrameRecord& record, int64_t frame,
                             const std::optional<FrameClock>& clock) {
    const FrameReport& r = record.report;
    std::vector<Field> fields = {{"frame", std::to_string(frame)},
                                 {"time", clock ? seconds(*clock, frame) : ""},
                                 {"shot_start", record.shot_start ? "1" : "0"}};
    // What the frame's correction measured.
    if (r.correction == Correction::kBalance) {
        add_rgb(fields, "black", r.balance.black);
        add_rgb(fields, "white", r.balance.white);
        fields.emplace_back("white_spread", std::to_string(r.balance.white_spread));
    } else {
        add_rgb(fields, "end_low", r.start);
        add_rgb(fields, "end_high", r.end);
        add_rgb(fields, "median", r.median);
    }
    add_rgb(fields, "own_low", r.own.v);
    add_rgb(fields, "own_high", r.own.v + 3);
    add_rgb(fields, "applied_low", r.applied.v);
    add_rgb(fields, "applied_high", r.applied.v + 3);
    // How balance followed the light: what the shot's light was taken as,
    // and the points the levels were made from in this frame's light.
    if (r.correction == Correction::kBalance) {
        fields.emplace_back("light_track", std::string("\"") + light_track_name(r.light.track) + "\"");
        fields.emplace_back("light_agreement", hundredths(r.light.agreement));
        add_rgb(fields, "light_gain", r.light.gain, "%.4f");
        add_rgb(fields, "used_black", r.light.used.black, "%.2f");
        add_rgb(fields, "used_white", r.light.used.white, "%.2f");
        fields.emplace_back("used_white_spread", formatted("%.2f", r.light.used.white_spread));
    }
    // Last, where scripts find it.
    fields.emplace_back("cut_score", record.cut_score ? hundredths(*record.cut_score) : "");
    return fields;
}

}  // namespace

bool is_json_path(const std::string& path) { return extension_of(path) == "json"; }

std::string stats_text(const std::vector<FrameRecord>& records, bool json,
                       const std::optional<FrameClock>& clock) {
    std::string text = json ? "[" : "";
    for (size_t i = 0; i < records.size(); ++i) {
        const std::vector<Field> fields = fields_of(records[i], int64_t(i) + 1, clock);
        if (json) {
            text += i ? ",\n{" : "\n{";
            for (size_t f = 0; f < fields.size(); ++f) {
                const std::string& value = fields[f].second;
                text += (f ? ", \"" : "\"") + fields[f].first + "\": " + (value.empty() ? "null" : value);
            }
            text += "}";
            continue;
        }
        if (i == 0) {
            for (size_t f = 0; f < fields.size(); ++f) text += (f ? "," : "") + fields[f].first;
            text += "\n";
        }
        for (size_t f = 0; f < fields.size(); ++f) text += (f ? "," : "") + fields[f].second;
        text += "\n";
    }
    if (json) text += "\n]\n";
    return text;
}

}  // namespace kelvra::cli
