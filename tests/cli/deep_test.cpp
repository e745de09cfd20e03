// SPDX-License-Identifier: GPL-2.0-or-later
// Deep inputs end to end: the levels are the 8-bit pass's on the reduction
// round(v * 255 / 65535) of the decoded input, computed here on its own;
// every 16-bit output sample is clamp(trunc((v - 257 low) * 255 / (high -
// low))); the reduced output stays within ceil(g / 2) + 1 of the 8-bit
// pass's; alpha passes unchanged; each encoder gets its deepest format; and
// the shot options keep the formula across a cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "base/top_down.h"
#include "helpers.h"
#include "levels/corrector.h"
#include "overlay/overlay.h"

using kelvra::cli::CorrectionSettings;

namespace {

// Planar green, blue, red (and alpha) frames, as ffmpeg's gbrp16le / gbrap16le.
struct DeepVideo {
    int w = 0, h = 0, planes = 3;
    std::vector<std::vector<uint16_t>> frames;
    uint16_t at(size_t frame, int plane, size_t i) const { return frames[frame][size_t(plane) * w * h + i]; }
};

constexpr int kRed = 2, kGreen = 0, kBlue = 1, kAlpha = 3;

std::string deep_format(int planes) { return planes == 4 ? "gbrap16le" : "gbrp16le"; }

DeepVideo decode_deep(const std::string& file, int planes, const std::string& filter = "null") {
    DeepVideo v;
    v.w = std::atoi(probe_entry(file, "v:0", "width").c_str());
    v.h = std::atoi(probe_entry(file, "v:0", "height").c_str());
    v.planes = planes;
    const RunResult r =
        run_program({"ffmpeg", "-nostdin", "-v", "error", "-i", "file:" + file, "-map", "0:v:0", "-vf",
                     filter, "-f", "rawvideo", "-pix_fmt", deep_format(planes), "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    const size_t samples = size_t(v.w) * v.h * planes;
    for (size_t at = 0; at + 2 * samples <= r.out.size(); at += 2 * samples) {
        std::vector<uint16_t> f(samples);
        std::memcpy(f.data(), r.out.data() + at, 2 * samples);
        v.frames.push_back(std::move(f));
    }
    return v;
}

// Smooth ramps with a cast and noise, a little brighter every frame so the
// levels move; alpha a ramp of its own.
std::string deep_frames(int w, int h, int count, int planes) {
    std::mt19937 rng(13);
    std::string raw;
    for (int f = 0; f < count; ++f) {
        std::vector<uint16_t> s(size_t(w) * h * planes);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const size_t i = size_t(y) * w + x;
                const int base = 6000 + 500 * f + 26000 * x / w + 19000 * y / h;
                const int noise = int(rng() % 900);
                s[size_t(kRed) * w * h + i] = uint16_t(std::min(65535, base + 9000 + noise));
                s[size_t(kGreen) * w * h + i] = uint16_t(std::min(65535, base + 2500 + noise / 2));
                s[size_t(kBlue) * w * h + i] = uint16_t(std::min(65535, base / 2 + 300 + noise));
                if (planes == 4) s[size_t(kAlpha) * w * h + i] = uint16_t(x * 997 + y * 31 + f);
            }
        }
        raw.append(reinterpret_cast<const char*>(s.data()), s.size() * 2);
    }
    return raw;
}

// Encodes raw planar frames losslessly: FFV1, or PNG for a .png name.
void encode_deep(const std::string& file, int w, int h, int planes, const std::string& pix_fmt,
                 const std::string& raw) {
    const bool png = file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0;
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt"};
    argv.insert(argv.end(), {deep_format(planes), "-video_size", std::to_string(w) + "x" + std::to_string(h),
                             "-framerate", "25", "-i", "-", "-c:v", png ? "png" : "ffv1", "-pix_fmt", pix_fmt,
                             "file:" + file});
    const RunResult r = run_program(argv, raw);
    ASSERT_EQ(r.status, 0) << r.err;
}

void make_deep_clip(const std::string& file, int w, int h, int count, int planes,
                    const std::string& pix_fmt) {
    encode_deep(file, w, h, planes, pix_fmt, deep_frames(w, h, count, planes));
}

uint32_t reduce(uint16_t v) { return uint32_t(std::lround(v * 255.0 / 65535.0)); }

Video reduced(const DeepVideo& d) {
    Video v;
    v.w = d.w, v.h = d.h;
    for (size_t f = 0; f < d.frames.size(); ++f) {
        std::vector<uint32_t> px(size_t(d.w) * d.h);
        for (size_t i = 0; i < px.size(); ++i)
            px[i] =
                reduce(d.at(f, kRed, i)) << 16 | reduce(d.at(f, kGreen, i)) << 8 | reduce(d.at(f, kBlue, i));
        v.frames.push_back(std::move(px));
    }
    return v;
}

int32_t stretched(int32_t v, int32_t low, int32_t high) {
    if (high == low) return 0;
    const long double t = std::trunc((v - 257.0L * low) * 255.0L / ((long double)high - low));
    return t < 0 ? 0 : t > 65535 ? 65535 : int32_t(t);
}

struct DeepCase {
    const char* name;
    std::string input_pix_fmt;  // of the lossless input clip
    int planes;
    std::vector<std::string> flags;
    CorrectionSettings settings;
    bool warm = false;
    int freeze_from = -1;
    std::string decode_filter = "null";  // YUV input: to RGB as kelvra decodes it
};

void PrintTo(const DeepCase& c, std::ostream* os) { *os << c.name; }

class DeepIdentity : public testing::TestWithParam<DeepCase> {};

TEST_P(DeepIdentity, LevelsFromTheReductionAndEverySampleByTheFormula) {
    const DeepCase& c = GetParam();
    ScratchDir dir;
    make_deep_clip(dir.path("in.mkv"), 48, 32, 8, c.planes, c.input_pix_fmt);
    std::vector<std::string> args = {dir.path("in.mkv"), dir.path("out.mkv"), "--codec", "ffv1"};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const RunResult r = run_kelvra(args);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(probe_entry(dir.path("out.mkv"), "v:0", "pix_fmt"), deep_format(c.planes));

    const DeepVideo in = decode_deep(dir.path("in.mkv"), c.planes, c.decode_filter);
    const DeepVideo out = decode_deep(dir.path("out.mkv"), c.planes);
    ASSERT_EQ(in.frames.size(), 8u);
    ASSERT_EQ(out.frames.size(), in.frames.size());
    std::vector<kelvra::Levels> levels;
    const auto eight = reference(reduced(in), c.settings, c.warm, c.freeze_from, &levels);
    int worst = 0;
    const int planes[3] = {kRed, kGreen, kBlue};
    for (size_t f = 0; f < in.frames.size(); ++f) {
        for (int c3 = 0; c3 < 3; ++c3) {
            const int32_t low = levels[f].v[c3], high = levels[f].v[c3 + 3];
            const int bound = int(std::ceil(std::fabs(255.0 / (high - low)) / 2)) + 1;
            for (size_t i = 0; i < size_t(in.w) * in.h; ++i) {
                const uint16_t v = in.at(f, planes[c3], i), got = out.at(f, planes[c3], i);
                ASSERT_EQ(got, stretched(v, low, high))
                    << "frame " << f + 1 << ", channel " << c3 << ", " << i;
                const int diff = std::abs(int(reduce(got)) - int(eight[f][i] >> (16 - 8 * c3) & 0xFF));
                ASSERT_LE(diff, bound) << "frame " << f + 1 << ", channel " << c3 << ", " << i;
                worst = std::max(worst, diff);
            }
        }
        if (c.planes == 4) {
            for (size_t i = 0; i < size_t(in.w) * in.h; ++i)
                ASSERT_EQ(out.at(f, kAlpha, i), in.at(f, kAlpha, i));
        }
    }
    RecordProperty("worst_reduced_difference", worst);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DeepIdentity,
    testing::Values(DeepCase{"RgbWithAlpha", "gbrap16le", 4, {}, {}},
                    DeepCase{"BorderSoftLevel",
                             "gbrp16le",
                             3,
                             {"--border", "9,3,5,2", "--soft", "--level", "80"},
                             with([](auto& s) {
                                 s.border = 1, s.nup = 9, s.nleft = 3, s.nright = 5, s.ndown = 2, s.soft = 1,
                                 s.level = 80, s.correction = kelvra::Correction::kPlugin;
                             })},
                    DeepCase{"Disable", "gbrp16le", 3, {"--disable"}, with([](auto& s) { s.disable = 1; })},
                    // Shallower inputs: a 16-bit output keeps the samples as kelvra wrote them.
                    DeepCase{"WarmStartFreeze12Bit",
                             "gbrp12le",
                             3,
                             {"--warm-start", "--freeze-after", "3", "--ffmpeg", "-pix_fmt", "gbrp16le"},
                             {},
                             true,
                             3},
                    DeepCase{"Yuv10Bit",
                             "yuv444p10le",
                             3,
                             {"--ffmpeg", "-pix_fmt", "gbrp16le"},
                             {},
                             false,
                             -1,
                             "scale=flags=bicubic+accurate_rnd+full_chroma_int"}),
    [](const testing::TestParamInfo<DeepCase>& info) { return info.param.name; });

struct FormatCase {
    const char* name;
    std::string input, input_pix_fmt, output;
    std::vector<std::string> flags;
    std::string pix_fmt;  // of the output
    std::string warning;  // part of the one warning line; empty: no warning
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class DeepOutput : public testing::TestWithParam<FormatCase> {};

TEST_P(DeepOutput, TheEncoderGetsItsDeepestFormatAndDroppedBitsAreNamed) {
    const FormatCase& c = GetParam();
    ScratchDir dir;
    const bool image = c.input == "in.png";
    const int planes = c.input_pix_fmt == "rgba64be" ? 4 : 3;
    // libx265 corrupts its heap below 64x64.
    encode_deep(dir.path(c.input), 64, 64, planes, c.input_pix_fmt,
                deep_frames(64, 64, image ? 1 : 3, planes));
    std::vector<std::string> args = {dir.path(c.input), dir.path(c.output)};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const RunResult r = run_kelvra(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(probe_entry(dir.path(c.output), "v:0", "pix_fmt"), c.pix_fmt);
    if (c.warning.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find("kelvra: warning: " + c.warning), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, DeepOutput,
    testing::Values(
        FormatCase{"H264StaysEightBit",
                   "in.mkv",
                   "yuv420p10le",
                   "out.mkv",
                   {},
                   "yuv420p",
                   "libx264 keeps 8 of the input's 10 bits per channel; --codec libx265"},
        FormatCase{
            "H265KeepsTen", "in.mkv", "yuv420p10le", "out.mkv", {"--codec", "libx265"}, "yuv420p10le", ""},
        FormatCase{"H265KeepsTwelveOfSixteen",
                   "in.mkv",
                   "gbrp16le",
                   "out.mkv",
                   {"--codec", "libx265"},
                   "yuv420p12le",
                   "libx265 keeps 12 of the input's 16 bits per channel"},
        FormatCase{"Vp9InWebm", "in.mkv", "gbrp12le", "out.webm", {}, "yuv420p12le", ""},
        FormatCase{"Ffv1KeepsTwelve", "in.mkv", "gbrp12le", "out.mkv", {"--codec", "ffv1"}, "gbrp12le", ""},
        FormatCase{
            "Ffv1KeepsSixteen", "in.mkv", "yuv444p16le", "out.mkv", {"--codec", "ffv1"}, "gbrp16le", ""},
        FormatCase{"PngWithAlpha", "in.png", "rgba64be", "out.png", {}, "rgba64be", ""},
        FormatCase{"JpegIsEightBit",
                   "in.png",
                   "rgb48be",
                   "out.jpg",
                   {},
                   "yuvj444p",
                   "mjpeg keeps 8 of the input's 16 bits per channel; a .png or .tif output keeps 16"},
        FormatCase{"ExplicitPixFmtWins",
                   "in.mkv",
                   "gbrp16le",
                   "out.mkv",
                   {"--ffmpeg", "-pix_fmt", "yuv444p10le"},
                   "yuv444p10le",
                   ""}),
    [](const testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

}  // namespace

namespace {

std::vector<std::set<uint32_t>> distinct_values(const std::vector<uint32_t>& r,
                                                const std::vector<uint32_t>& g,
                                                const std::vector<uint32_t>& b) {
    return {{r.begin(), r.end()}, {g.begin(), g.end()}, {b.begin(), b.end()}};
}

std::vector<uint32_t> plane(const DeepVideo& v, size_t frame, int p) {
    const size_t n = size_t(v.w) * v.h;
    return {v.frames[frame].begin() + p * n, v.frames[frame].begin() + (p + 1) * n};
}

}  // namespace

// A 16-bit picture with 16384 values per channel and a blue cast, against
// its 8-bit reduction corrected by the 8-bit path.
TEST(DeepPrecision, KeepsSixteenTimesTheDistinctValuesOfThe8BitPath) {
    ScratchDir dir;
    const int w = 128, h = 128;
    const size_t n = size_t(w) * h;
    std::vector<uint16_t> deep(3 * n);
    std::string eight(4 * n, '\0');
    for (size_t i = 0; i < n; ++i) {
        const uint16_t r = uint16_t(9000 + 2 * i), g = uint16_t(7000 + 2 * i), b = uint16_t(3000 + i);
        deep[kRed * n + i] = r, deep[kGreen * n + i] = g, deep[kBlue * n + i] = b;
        const uint32_t px = reduce(r) << 16 | reduce(g) << 8 | reduce(b);
        std::memcpy(&eight[4 * i], &px, 4);
    }
    encode_deep(dir.path("in.png"), w, h, 3, "rgb48be",
                std::string(reinterpret_cast<const char*>(deep.data()), deep.size() * 2));
    std::ofstream(dir.path("in8.raw"), std::ios::binary) << eight;
    ffmpeg({"-f", "rawvideo", "-pix_fmt", "bgra", "-video_size", "128x128", "-i",
            "file:" + dir.path("in8.raw"), "-pix_fmt", "rgb24", "file:" + dir.path("in8.png")});
    ASSERT_EQ(run_kelvra({dir.path("in.png"), dir.path("out.png")}).status, 0);
    ASSERT_EQ(run_kelvra({dir.path("in8.png"), dir.path("out8.png")}).status, 0);

    const DeepVideo in = decode_deep(dir.path("in.png"), 3), out = decode_deep(dir.path("out.png"), 3);
    const Video out8 = decode(dir.path("out8.png"));
    ASSERT_EQ(out.frames.size(), 1u);
    ASSERT_EQ(out8.frames.size(), 1u);
    std::vector<uint32_t> r8, g8, b8;
    for (uint32_t p : out8.frames[0])
        r8.push_back(p >> 16 & 0xFF), g8.push_back(p >> 8 & 0xFF), b8.push_back(p & 0xFF);
    const auto before = distinct_values(plane(in, 0, kRed), plane(in, 0, kGreen), plane(in, 0, kBlue));
    const auto after = distinct_values(plane(out, 0, kRed), plane(out, 0, kGreen), plane(out, 0, kBlue));
    const auto after8 = distinct_values(r8, g8, b8);
    const char* names[3] = {"red", "green", "blue"};
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(before[c].size(), 4096u) << names[c];
        EXPECT_GE(after[c].size(), 16 * after8[c].size()) << names[c];
        RecordProperty(std::string(names[c]) + "_distinct", std::to_string(before[c].size()) + " in, " +
                                                                std::to_string(after[c].size()) + " deep, " +
                                                                std::to_string(after8[c].size()) + " 8-bit");
    }
}

// The overlay at depth changes only pixels it paints, in the 8-bit colours
// times 257; the compare picture is 8-bit: the reductions of the input and of
// the corrected frame with its overlay.
TEST(DeepOverlay, DrawnAtDepthAndComparedIn8Bits) {
    ScratchDir dir;
    const int w = 320, h = 120;
    make_deep_clip(dir.path("in.mkv"), w, h, 3, 3, "gbrp16le");
    const std::string in = dir.path("in.mkv");
    ASSERT_EQ(run_kelvra({in, dir.path("plain.mkv"), "--codec", "ffv1"}).status, 0);
    const RunResult r = run_kelvra({in, dir.path("drawn.mkv"), "--codec", "ffv1", "--histogram", "--compare",
                                    dir.path("compare.png"), "--compare-frame", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    const DeepVideo source = decode_deep(in, 3), plain = decode_deep(dir.path("plain.mkv"), 3),
                    drawn = decode_deep(dir.path("drawn.mkv"), 3);
    ASSERT_EQ(drawn.frames.size(), 3u);
    const std::set<uint16_t> colours = {0xFFFF, 0x6464};
    size_t painted = 0;
    for (size_t f = 0; f < drawn.frames.size(); ++f) {
        for (size_t i = 0; i < size_t(w) * h; ++i) {
            bool same = true, overlay_colour = true;
            for (int p : {kRed, kGreen, kBlue}) {
                same = same && drawn.at(f, p, i) == plain.at(f, p, i);
                overlay_colour = overlay_colour && colours.count(drawn.at(f, p, i));
            }
            ASSERT_TRUE(same || overlay_colour) << "frame " << f + 1 << ", pixel " << i;
            painted += !same;
        }
    }
    EXPECT_GT(painted, 3 * 1326u) << "the grid alone has 1326 pixels a frame";

    EXPECT_EQ(probe_entry(dir.path("compare.png"), "v:0", "pix_fmt"), "rgb24");
    const Video compare = decode(dir.path("compare.png"));
    ASSERT_EQ(compare.frames.size(), 1u);
    ASSERT_EQ(compare.w, 2 * w);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x, left = size_t(y) * 2 * w + x;
            const auto reduced_pixel = [&](const DeepVideo& v) {
                return reduce(v.at(1, kRed, i)) << 16 | reduce(v.at(1, kGreen, i)) << 8 |
                       reduce(v.at(1, kBlue, i));
            };
            ASSERT_EQ(compare.frames[0][left] & 0xFFFFFF, reduced_pixel(source)) << x << "," << y;
            ASSERT_EQ(compare.frames[0][left + w] & 0xFFFFFF, reduced_pixel(drawn)) << x << "," << y;
        }
    }
}

namespace {

// Two shots of six frames: the ramps of deep_frames, then the same ramps with
// red and blue swapped, so the cast turns from red to blue at frame 7.
std::string two_deep_shots(int w, int h) {
    const std::string first = deep_frames(w, h, 6, 3);
    std::string second = first;
    const size_t plane = size_t(w) * h * 2, frame = 3 * plane;
    for (size_t at = 0; at < second.size(); at += frame) {
        std::swap_ranges(second.begin() + at + kRed * plane, second.begin() + at + (kRed + 1) * plane,
                         second.begin() + at + kBlue * plane);
    }
    return first + second;
}

// The plug-in's overlay for a picture whose reduction has these counts, drawn
// on black: zero where it paints nothing.
std::vector<uint32_t> overlay_paint(const kelvra::ChannelCounts& counts, int w, int h) {
    std::vector<uint32_t> paint(size_t(w) * h, 0);
    kelvra::draw_overlay(kelvra::top_down_view(paint.data(), w, h), counts);
    return paint;
}

// Every sample of `out` is the formula on the input with its frame's levels;
// with `overlay` the reduction's overlay, in its colours times 257, is
// painted over that.
void check_stretch(const DeepVideo& in, const DeepVideo& out, const std::vector<kelvra::Levels>& levels,
                   bool overlay) {
    const int planes[3] = {kRed, kGreen, kBlue};
    const size_t n = size_t(in.w) * in.h;
    ASSERT_EQ(out.frames.size(), in.frames.size());
    ASSERT_EQ(levels.size(), in.frames.size());
    for (size_t f = 0; f < in.frames.size(); ++f) {
        std::vector<std::vector<int32_t>> want(3, std::vector<int32_t>(n));
        kelvra::ChannelCounts counts{};
        int32_t* const bins[3] = {counts.r, counts.g, counts.b};
        for (int c = 0; c < 3; ++c) {
            for (size_t i = 0; i < n; ++i) {
                want[c][i] = stretched(in.at(f, planes[c], i), levels[f].v[c], levels[f].v[c + 3]);
                ++bins[c][reduce(uint16_t(want[c][i]))];
            }
        }
        const std::vector<uint32_t> paint =
            overlay ? overlay_paint(counts, in.w, in.h) : std::vector<uint32_t>(n, 0);
        for (size_t i = 0; i < n; ++i) {
            for (int c = 0; c < 3; ++c) {
                const int32_t expected =
                    paint[i] ? int32_t(paint[i] >> (16 - 8 * c) & 0xFF) * 257 : want[c][i];
                ASSERT_EQ(out.at(f, planes[c], i), expected)
                    << "frame " << f + 1 << ", channel " << c << ", sample " << i;
            }
        }
    }
}

// The shot options on a deep clip: --scene-cuts restarts at the cut as a
// fresh warm-started pass over the reduction would, --steady holds one set
// of levels per shot (with the overlay at depth), and every sample is the
// formula on the levels --stats reports.
TEST(DeepShots, SceneCutsAndSteadyStretchEverySampleWithTheReportedLevels) {
    ScratchDir dir;
    const int w = 160, h = 90;
    const std::string in_path = dir.path("in.mkv");
    encode_deep(in_path, w, h, 3, "gbrp16le", two_deep_shots(w, h));
    const RunResult cuts = run_kelvra(
        {in_path, dir.path("cuts.mkv"), "--codec", "ffv1", "--scene-cuts", "--stats", dir.path("cuts.csv")});
    ASSERT_EQ(cuts.status, 0) << cuts.err;
    const RunResult steady = run_kelvra({in_path, dir.path("steady.mkv"), "--codec", "ffv1", "--steady",
                                         "--histogram", "--stats", dir.path("steady.json")});
    ASSERT_EQ(steady.status, 0) << steady.err;

    const DeepVideo in = decode_deep(in_path, 3);
    ASSERT_EQ(in.frames.size(), 12u);
    const std::vector<size_t> starts = {0, 6};

    const auto cut_stats = read_stats(dir.path("cuts.csv"));
    ASSERT_EQ(cut_stats.size(), in.frames.size());
    ASSERT_EQ(shot_starts(cut_stats), starts);
    const std::vector<kelvra::Levels> cut_levels = applied_levels(cut_stats);
    check_stretch(in, decode_deep(dir.path("cuts.mkv"), 3), cut_levels, false);
    std::vector<kelvra::Levels> want;
    reference_by_shots(reduced(in), starts, &want);
    for (size_t f = 0; f < in.frames.size(); ++f) {
        EXPECT_TRUE(std::equal(want[f].v, want[f].v + 6, cut_levels[f].v)) << "frame " << f + 1;
    }

    const auto steady_stats = read_stats(dir.path("steady.json"));
    ASSERT_EQ(steady_stats.size(), in.frames.size());
    ASSERT_EQ(shot_starts(steady_stats), starts);
    const std::vector<kelvra::Levels> steady_levels = applied_levels(steady_stats);
    check_stretch(in, decode_deep(dir.path("steady.mkv"), 3), steady_levels, true);
    for (size_t f = 0; f < steady_levels.size(); ++f) {
        const kelvra::Levels& first = steady_levels[f < starts[1] ? 0 : starts[1]];
        EXPECT_TRUE(std::equal(first.v, first.v + 6, steady_levels[f].v)) << "frame " << f + 1;
    }
    EXPECT_FALSE(std::equal(steady_levels[0].v, steady_levels[0].v + 6, steady_levels[starts[1]].v));
}

}  // namespace
