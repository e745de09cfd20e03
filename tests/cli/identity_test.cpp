// SPDX-License-Identifier: GPL-2.0-or-later
// Through the lossless path the tool gives exactly the engine's frame pass:
// frame by frame for a clip, five passes for a still image, the same frames
// for a --config line as for the equivalent flags, and the same for raw pipes.
#include <gtest/gtest.h>

#include <tuple>

#include "helpers.h"

using kelvra::cli::CorrectionSettings;

namespace {

struct IdentityCase {
    const char* name;
    std::vector<std::string> flags;
    CorrectionSettings settings;
    bool warm = false;
    int freeze_from = -1;
};

void PrintTo(const IdentityCase& c, std::ostream* os) { *os << c.name; }

class LosslessIdentity : public testing::TestWithParam<IdentityCase> {};

TEST_P(LosslessIdentity, EveryFrameIsTheEnginesFramePass) {
    const IdentityCase& c = GetParam();
    ScratchDir dir;
    make_cast_clip(dir.path("in.mkv"));
    const std::string before = read_file(dir.path("in.mkv"));
    std::vector<std::string> args = {dir.path("in.mkv"), dir.path("out.mkv"), "--codec", "ffv1"};
    args.insert(args.end(), c.flags.begin(), c.flags.end());
    const RunResult r = run_kelvra(args);
    ASSERT_EQ(r.status, 0) << r.err;

    const Video in = decode(dir.path("in.mkv")), out = decode(dir.path("out.mkv"));
    ASSERT_EQ(in.frames.size(), 12u);
    ASSERT_EQ(out.frames.size(), in.frames.size());
    const auto expected = reference(in, c.settings, c.warm, c.freeze_from);
    for (size_t i = 0; i < out.frames.size(); ++i)
        EXPECT_EQ(rgb(out.frames[i]), expected[i]) << "frame " << i + 1;
    EXPECT_EQ(read_file(dir.path("in.mkv")), before) << "the input was modified";
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LosslessIdentity,
    testing::Values(IdentityCase{"Defaults", {}, {}},
                    // UP 20 cuts the top of the picture, where it differs from the bottom.
                    IdentityCase{"BorderSoftLevel",
                                 {"--border", "20,3,9,2", "--soft", "--level", "80"},
                                 with([](auto& s) {
                                     s.border = 1, s.nup = 20, s.nleft = 3, s.nright = 9, s.ndown = 2;
                                     s.soft = 1, s.level = 80, s.correction = kelvra::Correction::kPlugin;
                                 })},
                    IdentityCase{"BorderBalance", {"--border", "20,3,9,2"}, with([](auto& s) {
                                     s.border = 1, s.nup = 20, s.nleft = 3, s.nright = 9, s.ndown = 2;
                                 })},
                    IdentityCase{"Histogram", {"--histogram"}, with([](auto& s) { s.show_histogram = 1; })},
                    IdentityCase{"Disable", {"--disable"}, with([](auto& s) { s.disable = 1; })},
                    IdentityCase{"WarmStart", {"--warm-start"}, {}, true},
                    // Frames 1..3 analysed, Freeze on from the fourth (index 3).
                    IdentityCase{"FreezeAfterThree", {"--freeze-after", "3"}, {}, false, 3}),
    [](const testing::TestParamInfo<IdentityCase>& info) { return info.param.name; });

TEST(StillImage, GetsFivePassesAndKeepsItsAlpha) {
    ScratchDir dir;
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=40x30,format=rgb24,colorlevels=gomax=0.7", "-f", "lavfi",
            "-i", "gradients=size=40x30:seed=1", "-filter_complex",
            "[1]format=gray[a];[0][a]alphamerge,format=rgba", "-frames:v", "1", "-update", "1",
            "file:" + dir.path("in.png")});
    const RunResult r = run_kelvra({dir.path("in.png"), dir.path("out.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    const Video in = decode(dir.path("in.png")), out = decode(dir.path("out.png"));
    ASSERT_EQ(out.frames.size(), 1u);
    EXPECT_EQ(rgb(out.frames[0]), reference(in, {}, true)[0]);
    bool some_transparency = false;
    for (size_t i = 0; i < in.frames[0].size(); ++i) {
        ASSERT_EQ(out.frames[0][i] >> 24, in.frames[0][i] >> 24) << "alpha at pixel " << i;
        some_transparency |= (in.frames[0][i] >> 24) != 0xFF;
    }
    EXPECT_TRUE(some_transparency);
}

// An output without alpha (a lossy video, a JPEG) warns of the alpha it
// drops only where some pixel was not opaque, in 8 and in 16 bits; an
// opaque GIF's frames are composed over one another, transparent pixels and
// all.
TEST(StillImage, DroppingAnOpaqueAlphaGoesUnsaid) {
    ScratchDir dir;
    const std::string picture = "testsrc2=size=32x24:rate=10,format=";
    for (const auto& [name, filter, translucent] : std::vector<std::tuple<std::string, std::string, bool>>{
             {"opaque.png", picture + "rgba", false},
             {"half.png", picture + "rgba,colorchannelmixer=aa=0.5", true},
             {"opaque16.png", picture + "rgba64le", false},
             {"half16.png", picture + "rgba64le,colorchannelmixer=aa=0.5", true},
             {"opaque.gif", picture + "rgb24", false}}) {
        ffmpeg({"-f", "lavfi", "-i", filter, "-frames:v", name == "opaque.gif" ? "8" : "1",
                "file:" + dir.path(name)});
        for (const std::string out : {".mp4", ".jpg"}) {
            if (name == "opaque.gif" && out == ".jpg") continue;  // a video into one picture
            const RunResult r = run_kelvra({dir.path(name), dir.path(name + out)});
            ASSERT_EQ(r.status, 0) << name << out << ": " << r.err;
            EXPECT_EQ(r.err.find("the input's alpha, not opaque everywhere, is dropped") != std::string::npos,
                      translucent)
                << name << out << ": " << r.err;
        }
    }
}

TEST(ConfigLine, GivesTheSameFramesAsTheFlags) {
    ScratchDir dir;
    make_cast_clip(dir.path("in.mkv"));
    const std::vector<std::vector<std::string>> runs = {
        {"--config", "VirtualDub.video.filters.instance[0].Config(60,1,1,3,4,5,6);"},
        {"--level", "60", "--soft", "--border", "3,4,5,6"},
        {"--config", "Config(25,0,0,1,1,1,1)", "--level", "60", "--soft", "--border", "3,4,5,6"},
        {}};
    std::vector<Video> outs;
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string out = dir.path("out" + std::to_string(i) + ".mkv");
        std::vector<std::string> args = {dir.path("in.mkv"), out, "--codec", "ffv1"};
        args.insert(args.end(), runs[i].begin(), runs[i].end());
        const RunResult r = run_kelvra(args);
        ASSERT_EQ(r.status, 0) << r.err;
        outs.push_back(decode(out));
    }
    EXPECT_EQ(outs[0].frames, outs[1].frames);
    EXPECT_EQ(outs[0].frames, outs[2].frames);
    EXPECT_NE(outs[0].frames, outs[3].frames) << "the settings made no difference";
}

TEST(RawPipe, CorrectsBgraFramesFromStandardInput) {
    ScratchDir dir;
    make_cast_clip(dir.path("in.mkv"), 6);
    const Video in = decode(dir.path("in.mkv"));
    std::string raw;
    for (const auto& f : in.frames) raw.append(reinterpret_cast<const char*>(f.data()), f.size() * 4);

    const RunResult r = run_kelvra({"--raw", "64x48", "-", "-", "--level", "40"}, raw);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.size(), raw.size());
    const auto expected =
        reference(in, with([](auto& s) { s.level = 40, s.correction = kelvra::Correction::kPlugin; }), false);
    for (size_t i = 0; i < expected.size(); ++i) {
        std::vector<uint32_t> got(in.frames[i].size());
        std::copy_n(r.out.data() + i * got.size() * 4, got.size() * 4, reinterpret_cast<char*>(got.data()));
        EXPECT_EQ(rgb(got), expected[i]) << "frame " << i + 1;
        EXPECT_EQ(got[0] >> 24, in.frames[i][0] >> 24) << "alpha passes through";
    }
}

TEST(RawPipe, RejectsAFrameCutShort) {
    const RunResult r = run_kelvra({"--raw", "4x4", "-", "-"}, std::string(64 + 10, '\x40'));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("inside frame 2 (10 of 64 bytes)"), std::string::npos) << r.err;
}

}  // namespace
