// SPDX-License-Identifier: GPL-2.0-or-later
// What a video user keeps: every other stream, the timing, the tags, the
// picture's orientation; and what the correction shows: a cast pulled back,
// the compare picture, the progress bar on a terminal only.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "helpers.h"

namespace {

std::string md5_of_stream(const std::string& file, const std::string& stream) {
    const RunResult r = run_program({"ffmpeg", "-nostdin", "-v", "error", "-i", "file:" + file, "-map",
                                     "0:" + stream, "-c", "copy", "-f", "md5", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

std::string probe(const std::vector<std::string>& args, const std::string& file) {
    std::vector<std::string> argv = {"ffprobe", "-v", "error"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.insert(argv.end(), {"-of", "compact", "file:" + file});
    return run_program(argv).out;
}

// 12 frames at 30000/1001 with a cast, interlaced top field first, 16:15
// pixels, BT.709 tags, two audio streams, subtitles, a chapter and a title.
void make_rich_clip(const ScratchDir& dir, const std::string& file) {
    std::ofstream(dir.path("s.srt")) << "1\n00:00:00,000 --> 00:00:00,300\nhello\n";
    std::ofstream(dir.path("meta.txt"))
        << ";FFMETADATA1\ntitle=Kelvra test\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=200\ntitle=One\n";
    std::vector<std::string> args = {"-i", "file:" + dir.path("s.srt"), "-i", "file:" + dir.path("meta.txt")};
    for (const char* source :
         {"testsrc2=size=64x48:rate=30000/1001,colorlevels=romax=0.8:bomin=0.2,setsar=16/15",
          "sine=frequency=440", "sine=frequency=660"}) {
        args.insert(args.end(), {"-f", "lavfi", "-i", source});
    }
    std::istringstream words(
        "-map 2:v -map 3:a -map 4:a -map 0:s -map_metadata 1 -map_chapters 1 -t 0.4 -c:v libx264 -pix_fmt "
        "yuv420p "
        "-colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv -field_order tt "
        "-flags:v +ildct+ilme -c:a:0 aac -c:a:1 flac -c:s srt -metadata:s:a:0 language=fra");
    for (std::string word; words >> word;) args.push_back(word);
    args.push_back("file:" + file);
    ffmpeg(args);
}

TEST(VideoFile, KeepsEveryOtherStreamTheTimingAndTheTags) {
    ScratchDir dir;
    make_rich_clip(dir, dir.path("in.mkv"));
    const std::string in = dir.path("in.mkv");
    // One pass, and the two passes of --steady.
    for (const bool steady : {false, true}) {
        SCOPED_TRACE(steady ? "--steady" : "one pass");
        const std::string out = dir.path(steady ? "steady.mkv" : "out.mkv");
        std::vector<std::string> args = {in, out};
        if (steady) args.insert(args.end(), {"--steady", "--stats", dir.path("s.csv")});
        const RunResult r = run_kelvra(args);
        ASSERT_EQ(r.status, 0) << r.err;

        const std::vector<std::string> streams = {
            "-show_entries",
            "stream=index,codec_type,codec_name,r_frame_rate,sample_aspect_ratio,field_order,color_space,"
            "color_range,color_primaries,color_transfer:stream_tags=language:format_tags=title"};
        EXPECT_EQ(probe(streams, out), probe(streams, in));
        EXPECT_NE(probe(streams, out).find("r_frame_rate=30000/1001"), std::string::npos);
        EXPECT_EQ(probe({"-show_chapters"}, out), probe({"-show_chapters"}, in));
        constexpr const char* kEmptyMd5 = "d41d8cd98f00b204e9800998ecf8427e";
        for (const char* s : {"a:0", "a:1", "s:0"}) {
            EXPECT_EQ(md5_of_stream(in, s).find(kEmptyMd5), std::string::npos) << s << " has no packets";
            EXPECT_EQ(md5_of_stream(out, s), md5_of_stream(in, s)) << s;
        }
        const std::vector<std::string> times = {"-select_streams", "v:0", "-show_entries", "packet=pts"};
        EXPECT_EQ(probe(times, out), probe(times, in));
        EXPECT_EQ(decode(out).frames.size(), 12u);
    }
    // The statistics time frames as the video's own timestamps do.
    const std::string stats = read_file(dir.path("s.csv"));
    const std::string first_pts =
        probe({"-select_streams", "v:0", "-show_entries", "frame=pts_time", "-read_intervals", "%+#1"}, in);
    const double start = std::stod(first_pts.substr(first_pts.find('=') + 1));
    const size_t third = stats.find("\n3,");
    ASSERT_NE(third, std::string::npos) << stats;
    EXPECT_NEAR(std::stod(stats.substr(third + 3)), start + 2 * 1001 / 30000.0, 1e-6) << stats;
}

TEST(VideoFile, ACastComesOutWithTheChannelMeansPulledTogether) {
    ScratchDir dir;
    // Grey content: without the cast the three channel means would be equal. A
    // fixed seed: by default the source draws new gradients every run, and some
    // are nearly a step between two tones, whose medians fall on either side of
    // the step depending on the channel and pull the channels apart.
    ffmpeg({"-f", "lavfi", "-i",
            "gradients=size=96x64:rate=25:nb_colors=2:c0=0x181818:c1=0xe8e8e8:seed=0,format=rgb24,"
            "colorlevels=romin=0.08:romax=0.80:gomin=0.10:gomax=0.88:bomin=0.18:bomax=0.97",
            "-frames:v", "10", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-metadata", "title=Cast",
            "-metadata:s:v", "language=fra", "file:" + dir.path("cast.mp4")});
    const RunResult r = run_kelvra({dir.path("cast.mp4"), dir.path("out.mp4")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(probe_entry(dir.path("out.mp4"), "v:0", "pix_fmt"), "yuv420p");
    // A video alone: its tags reach the encoder as options.
    const std::vector<std::string> tags = {"-show_entries", "format_tags=title:stream_tags=language"};
    EXPECT_EQ(probe(tags, dir.path("out.mp4")), probe(tags, dir.path("cast.mp4")));
    EXPECT_NE(probe(tags, dir.path("out.mp4")).find("fra"), std::string::npos);

    auto spread = [](const std::vector<uint32_t>& frame) {
        double sum[3] = {0, 0, 0};
        for (uint32_t p : frame) sum[0] += (p >> 16) & 255, sum[1] += (p >> 8) & 255, sum[2] += p & 255;
        return (std::max({sum[0], sum[1], sum[2]}) - std::min({sum[0], sum[1], sum[2]})) /
               double(frame.size());
    };
    const Video before = decode(dir.path("cast.mp4")), after = decode(dir.path("out.mp4"));
    ASSERT_EQ(after.frames.size(), before.frames.size());
    const double was = spread(before.frames.back()), is = spread(after.frames.back());
    EXPECT_GT(was, 15.0) << "the clip has no cast to pull";
    EXPECT_LT(is, was * 0.8) << "spread of the channel means: before " << was << ", after " << is;
}

TEST(VideoFile, ARotatedClipComesOutUpright) {
    ScratchDir dir;
    make_cast_clip(dir.path("flat.mkv"), 3);
    ffmpeg({"-i", "file:" + dir.path("flat.mkv"), "-c:v", "libx264", "-pix_fmt", "yuv420p",
            "file:" + dir.path("flat.mp4")});
    ffmpeg({"-i", "file:" + dir.path("flat.mp4"), "-c", "copy", "-metadata:s:v", "rotate=90",
            "file:" + dir.path("turned.mp4")});
    const RunResult r = run_kelvra({dir.path("turned.mp4"), dir.path("out.mp4")});
    ASSERT_EQ(r.status, 0) << r.err;
    const Video in = decode(dir.path("turned.mp4")), out = decode(dir.path("out.mp4"));
    EXPECT_EQ(probe_entry(dir.path("out.mp4"), "v:0", "width"), "48");
    EXPECT_EQ(probe_entry(dir.path("out.mp4"), "v:0", "height"), "64");
    EXPECT_EQ(out.frames.size(), in.frames.size());
}

TEST(ComparePicture, ShowsTheFrameAsTheInputAndTheOutputHaveIt) {
    ScratchDir dir;
    make_cast_clip(dir.path("in.mkv"));
    const std::string c3 = dir.path("c3.png"), drawn3 = dir.path("drawn3.png"), mid = dir.path("mid.png");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"out.mkv", "--compare", c3, "--compare-frame", "3"},
          {"drawn.mkv", "--histogram", "--compare", drawn3, "--compare-frame", "3"},
          {"o2.mkv", "--compare", mid}}) {
        std::vector<std::string> all = {dir.path("in.mkv"), dir.path(args[0]), "--codec", "ffv1"};
        all.insert(all.end(), args.begin() + 1, args.end());
        const RunResult r = run_kelvra(all);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const Video in = decode(dir.path("in.mkv")), out = decode(dir.path("out.mkv"));
    const Video drawn = decode(dir.path("drawn.mkv"));
    const Video plain_pic = decode(c3), drawn_pic = decode(drawn3), mid_pic = decode(mid);
    const int w = in.w, h = in.h;
    ASSERT_EQ(plain_pic.w, 2 * w);
    ASSERT_EQ(plain_pic.h, h);
    ASSERT_NE(out.frames[2], drawn.frames[2]) << "--histogram drew nothing";
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t at = size_t(y) * 2 * w, px = size_t(y) * w + x;
            ASSERT_EQ(plain_pic.frames[0][at + x] & 0xFFFFFF, in.frames[2][px] & 0xFFFFFF);
            // The plain corrected frame, or with --histogram the frame with its histograms.
            ASSERT_EQ(plain_pic.frames[0][at + w + x] & 0xFFFFFF, out.frames[2][px] & 0xFFFFFF)
                << x << "," << y;
            ASSERT_EQ(drawn_pic.frames[0][at + w + x] & 0xFFFFFF, drawn.frames[2][px] & 0xFFFFFF)
                << x << "," << y;
            // Twelve frames: the middle one is the sixth.
            ASSERT_EQ(mid_pic.frames[0][at + x] & 0xFFFFFF, in.frames[5][px] & 0xFFFFFF);
        }
    }
}

TEST(ProgressBar, OnlyOnATerminal) {
    ScratchDir dir;
    make_cast_clip(dir.path("in.mkv"), 4);
    ffmpeg({"-i", "file:" + dir.path("in.mkv"), "-c:v", "libx264", "file:" + dir.path("in.mp4")});
    const RunResult piped = run_kelvra({dir.path("in.mp4"), dir.path("a.mp4")});
    ASSERT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    // script(1) gives kelvra a terminal; the scratch paths need no quoting.
    auto on_terminal = [&](const std::string& args) {
        const RunResult r =
            run_program({"script", "-qec", std::string(KELVRA_EXE) + " " + args, "/dev/null"});
        EXPECT_EQ(r.status, 0) << r.out;
        return r.out;
    };
    const std::string known = on_terminal(dir.path("in.mp4") + " " + dir.path("b.mp4"));
    EXPECT_NE(known.find("[########################] 4/4 frames"), std::string::npos) << known;
    EXPECT_NE(known.find(" fps  ETA "), std::string::npos) << known;
    // Matroska does not say how many frames it holds.
    const std::string unknown = on_terminal(dir.path("in.mkv") + " " + dir.path("c.mkv"));
    EXPECT_NE(unknown.find("\r4 frames  "), std::string::npos) << unknown;
    EXPECT_EQ(unknown.find("ETA"), std::string::npos) << unknown;
    EXPECT_EQ(on_terminal(dir.path("in.mp4") + " " + dir.path("d.mp4") + " --quiet"), "");
}

}  // namespace
