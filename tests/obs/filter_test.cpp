// SPDX-License-Identifier: GPL-2.0-or-later
// kelvra-obs in Debian's OBS (libobs, its OpenGL renderer and its media
// source), headless under Xvfb: the filter on media sources playing clips
// with casts gives, picture for picture and within one level, what
// `kelvra --raw` and the frei0r plug-in give on the same frames, also when
// a setting changes while it plays, when the source changes size, when the
// filter is removed and added again, and on two sources at once.
#include <dlfcn.h>
#include <frei0r.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "helpers.h"
#include "obs_host.h"

namespace {

// Frames a second of the clips: slow enough that OBS's media source, which
// skips a frame it is late for, shows every one on a loaded machine.
constexpr int kRate = 2;

// Three shots of six frames, each moving and with a cast of its own,
// lossless.
std::string make_clip(const ScratchDir& dir, const std::string& name, const std::string& size) {
    const std::string shots[3] = {
        "testsrc2=size=" + size + ":rate=" + std::to_string(kRate) +
            ",colorlevels=romin=0.1:romax=0.8:bomin=0.2",
        "mandelbrot=size=" + size + ":rate=" + std::to_string(kRate) + ",colorlevels=gomin=0.15:bomax=0.7",
        "testsrc=size=" + size + ":rate=" + std::to_string(kRate) + ",colorlevels=romax=0.75:bomin=0.1"};
    std::string graph;
    for (int i = 0; i < 3; ++i)
        graph += shots[i] + ",format=rgb24,trim=end_frame=6[s" + std::to_string(i) + "];";
    const std::string file = dir.path(name);
    ffmpeg({"-f", "lavfi", "-i", graph + "[s0][s1][s2]concat=n=3", "-c:v", "ffv1", "-pix_fmt", "bgr0",
            "file:" + file});
    return file;
}

using Pictures = std::vector<std::vector<uint32_t>>;

Pictures through_tool(const Video& clip, std::vector<std::string> options) {
    std::string raw;
    for (const std::vector<uint32_t>& f : clip.frames)
        raw.append(reinterpret_cast<const char*>(f.data()), f.size() * 4);
    options.insert(options.begin(),
                   {"--raw", std::to_string(clip.w) + "x" + std::to_string(clip.h), "-", "-"});
    const RunResult r = run_kelvra(options, raw);
    EXPECT_EQ(r.status, 0) << r.err;
    Pictures out(clip.frames.size(), std::vector<uint32_t>(clip.frames[0].size()));
    for (size_t f = 0; f < out.size() && (f + 1) * out[f].size() * 4 <= r.out.size(); ++f)
        std::copy_n(r.out.data() + f * out[f].size() * 4, out[f].size() * 4,
                    reinterpret_cast<char*>(out[f].data()));
    return out;
}

// frei0r parameters by index, as f0r_set_param_value takes them.
using Parameters = std::vector<std::pair<int, double>>;
constexpr int kStrength = 0, kSoft = 1, kHistogram = 7, kSceneCuts = 8, kSensitivity = 9,
              kPluginCorrection = 10;

// The frei0r plug-in, loaded as a host loads it; `later` is set from frame
// `change` on.
Pictures through_frei0r(const Video& clip, const Parameters& first, size_t change = 0,
                        const Parameters& later = {}) {
    void* module = dlopen(KELVRA_FREI0R, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(module, nullptr) << dlerror();
    const auto get = [&](const char* name) { return dlsym(module, name); };
    reinterpret_cast<int (*)()>(get("f0r_init"))();
    f0r_instance_t instance =
        reinterpret_cast<f0r_instance_t (*)(unsigned, unsigned)>(get("f0r_construct"))(clip.w, clip.h);
    const auto set = reinterpret_cast<void (*)(f0r_instance_t, f0r_param_t, int)>(get("f0r_set_param_value"));
    const auto update =
        reinterpret_cast<void (*)(f0r_instance_t, double, const uint32_t*, uint32_t*)>(get("f0r_update"));
    Pictures out;
    for (size_t f = 0; f < clip.frames.size(); ++f) {
        for (auto [index, value] : f == 0 ? first : f == change ? later : Parameters{})
            set(instance, &value, index);
        out.emplace_back(clip.frames[f].size());
        update(instance, double(f) / kRate, clip.frames[f].data(), out.back().data());
    }
    reinterpret_cast<void (*)(f0r_instance_t)>(get("f0r_destruct"))(instance);
    dlclose(module);
    return out;
}

// The largest difference of a channel between the pictures, or -1 when
// their numbers or sizes differ.
int largest_difference(const Pictures& got, const Pictures& want) {
    if (got.size() != want.size()) return -1;
    int largest = 0;
    for (size_t f = 0; f < got.size(); ++f) {
        if (got[f].size() != want[f].size()) return -1;
        for (size_t i = 0; i < got[f].size(); ++i)
            for (int shift : {0, 8, 16})
                largest = std::max(
                    largest, std::abs(int((got[f][i] >> shift) & 0xFF) - int((want[f][i] >> shift) & 0xFF)));
    }
    return largest;
}

obs_data_t* settings_of(const std::vector<std::pair<const char*, long long>>& values) {
    obs_data_t* s = obs_data_create();
    for (const auto& [name, value] : values) {
        if (std::string(name) == "soft" || std::string(name) == "scene_cuts" ||
            std::string(name) == "histogram")
            obs_data_set_bool(s, name, value != 0);
        else
            obs_data_set_int(s, name, value);
    }
    return s;
}

const std::vector<std::pair<const char*, long long>> kEverySetting = {{"correction", 0},   {"strength", 50},
                                                                      {"soft", 1},         {"scene_cuts", 1},
                                                                      {"sensitivity", 70}, {"histogram", 1}};
const Parameters kEveryParameter = {{kPluginCorrection, 1}, {kStrength, 0.1},    {kSoft, 1},
                                    {kSceneCuts, 1},        {kSensitivity, 0.7}, {kHistogram, 1}};

// libobs once for the program, as OBS runs it.
class ObsRun : public ::testing::Environment {
public:
    void SetUp() override { why_not = start_obs(); }
    void TearDown() override { stop_obs(); }
    static inline std::string why_not;
};
::testing::Environment* const obs_run = ::testing::AddGlobalTestEnvironment(new ObsRun);

class ObsFilter : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ObsRun::why_not.empty()) FAIL() << ObsRun::why_not;
    }
    ScratchDir dir;
};

TEST_F(ObsFilter, OnAMediaSourceItGivesTheToolsFramesWithEachCorrection) {
    const std::string file = make_clip(dir, "clip.mkv", "64x48");
    const Video clip = decode(file);
    for (const auto& [settings, options] :
         std::vector<std::pair<std::vector<std::pair<const char*, long long>>, std::vector<std::string>>>{
             {{}, {}}, {kEverySetting, {"--level", "50", "--soft", "--scene-cuts=70", "--histogram"}}}) {
        obs_source_t* source = media_source("clip", file);
        obs_data_t* s = settings_of(settings);
        obs_source_t* filter = add_filter(source, s);
        ASSERT_NE(filter, nullptr);
        const Pictures got = play({source})[0];
        EXPECT_EQ(largest_difference(got, through_tool(clip, options)), 0)
            << got.size() << " pictures for " << clip.frames.size() << " frames, options " << options.size();
        obs_data_release(s);
        obs_source_release(filter);
        obs_source_release(source);
    }
}

TEST_F(ObsFilter, ASettingChangedWhileItPlaysTakesEffectFromAFrameOn) {
    const std::string file = make_clip(dir, "clip.mkv", "64x48");
    const Video clip = decode(file);
    obs_source_t* source = media_source("clip", file);
    obs_source_t* filter = add_filter(source);
    obs_data_t* changed = settings_of(kEverySetting);
    const Pictures got = play(
        {source}, [&] { obs_source_update(filter, changed); }, 8)[0];
    // Which frame the change reaches first depends on the render's timing.
    size_t from = 0;
    for (size_t change = 1; change < clip.frames.size() && !from; ++change)
        if (largest_difference(got, through_frei0r(clip, {}, change, kEveryParameter)) == 0) from = change;
    EXPECT_GE(from, 7u) << got.size() << " pictures";
    EXPECT_LE(from, 10u);
    obs_data_release(changed);
    obs_source_release(filter);
    obs_source_release(source);
}

TEST_F(ObsFilter, ResizedOrRemovedAndAddedAgainItStartsAfresh) {
    const std::string small = make_clip(dir, "small.mkv", "64x48"),
                      large = make_clip(dir, "large.mkv", "96x72");
    const Video large_clip = decode(large);
    const Pictures fresh = through_frei0r(large_clip, {});
    obs_source_t* source = media_source("clip", small);
    obs_source_t* filter = add_filter(source);
    play({source});
    // A media source that is not shown restarts when its settings are set.
    obs_data_t* s = obs_data_create();
    obs_data_set_string(s, "local_file", large.c_str());
    obs_source_update(source, s);
    Pictures resized = play({source})[0];
    // The small clip's last picture, until the large one's first comes.
    if (!resized.empty() && resized[0].size() != fresh[0].size()) resized.erase(resized.begin());
    EXPECT_EQ(largest_difference(resized, fresh), 0) << "resized: " << resized.size() << " pictures";

    obs_source_filter_remove(source, filter);
    obs_source_release(filter);
    EXPECT_EQ(render(source), large_clip.frames.back()) << "removed";
    filter = add_filter(source);
    obs_source_update(source, s);
    obs_data_release(s);
    // The new filter's first frame is the one the source still shows.
    Video shown = large_clip;
    shown.frames.insert(shown.frames.begin(), large_clip.frames.back());
    const Pictures again = play({source})[0];
    EXPECT_EQ(largest_difference(again, through_frei0r(shown, {})), 0)
        << "added again: " << again.size() << " pictures";
    obs_source_release(filter);
    obs_source_release(source);
}

TEST_F(ObsFilter, TwoSourcesEachWithAFilterAreCorrectedEachOnItsOwn) {
    const std::string a = make_clip(dir, "a.mkv", "64x48"), b = make_clip(dir, "b.mkv", "80x60");
    obs_source_t* sources[2] = {media_source("a", a), media_source("b", b)};
    obs_data_t* s = settings_of(kEverySetting);
    obs_source_t* filters[2] = {add_filter(sources[0]), add_filter(sources[1], s)};
    const auto got = play({sources[0], sources[1]});
    EXPECT_EQ(largest_difference(got[0], through_frei0r(decode(a), {})), 0) << "defaults";
    EXPECT_EQ(largest_difference(got[1], through_frei0r(decode(b), kEveryParameter)), 0) << "every setting";
    obs_data_release(s);
    for (int i = 0; i < 2; ++i) {
        obs_source_release(filters[i]);
        obs_source_release(sources[i]);
    }
}

}  // namespace
