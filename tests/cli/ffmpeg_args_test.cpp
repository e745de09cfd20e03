// SPDX-License-Identifier: GPL-2.0-or-later
// What kelvra tells ffprobe and ffmpeg: the probe report read back, the
// output pixel format, the colour conversion and tags, and the streams copied.
#include "output/ffmpeg_args.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "input/probe.h"
#include "output/output_format.h"

using namespace kelvra::cli;

namespace {

const char* const kReport = R"([STREAM]
index=0
codec_type=video
width=1920
height=1080
pix_fmt=yuvj420p
r_frame_rate=N/A
avg_frame_rate=0/0
DISPOSITION:attached_pic=1
[/STREAM]
[STREAM]
index=1
codec_type=audio
start_time=0.000000
DISPOSITION:attached_pic=0
[/STREAM]
[STREAM]
index=2
codec_type=video
width=64
height=48
pix_fmt=yuv420p
color_range=tv
color_space=bt470bg
color_transfer=unknown
color_primaries=bt709
field_order=tt
sample_aspect_ratio=16:15
r_frame_rate=30000/1001
avg_frame_rate=30000/1001
start_time=0.250000
nb_frames=12
DISPOSITION:attached_pic=0
[SIDE_DATA]
rotation=-90
[/SIDE_DATA]
[/STREAM]
[FORMAT]
format_name=matroska,webm
start_time=0.050000
[/FORMAT]
)";

bool has_sequence(const std::vector<std::string>& args, const std::vector<std::string>& seq) {
    return std::search(args.begin(), args.end(), seq.begin(), seq.end()) != args.end();
}

TEST(ProbeReport, PicksTheFirstVideoThatIsNotCoverArt) {
    const MediaInfo m = parse_probe_report(kReport);
    EXPECT_EQ(m.stream_count, 3);
    EXPECT_EQ(m.video_index, 2);
    EXPECT_EQ(m.width, 48) << "a quarter turn swaps the decoded size";
    EXPECT_EQ(m.height, 64);
    EXPECT_EQ(m.frame_rate.text(), "30000/1001");
    EXPECT_EQ(m.frame_count, 12);
    EXPECT_EQ(m.sample_aspect_ratio, "16:15");
    EXPECT_EQ(m.field_order, "tt");
    EXPECT_EQ(m.colour.matrix, "bt470bg");
    EXPECT_EQ(m.colour.transfer, "");
    EXPECT_DOUBLE_EQ(m.video_delay, 0.2);
    EXPECT_FALSE(m.image_format);
}

TEST(ProbeReport, ImageDemuxersAndMissingVideo) {
    EXPECT_TRUE(parse_probe_report("[FORMAT]\nformat_name=png_pipe\n[/FORMAT]\n").image_format);
    EXPECT_TRUE(parse_probe_report("[FORMAT]\nformat_name=image2\n[/FORMAT]\n").image_format);
    EXPECT_FALSE(
        parse_probe_report("[FORMAT]\nformat_name=mov,mp4,m4a,3gp,3g2,mj2\n[/FORMAT]\n").image_format);
    EXPECT_EQ(parse_probe_report("[STREAM]\nindex=0\ncodec_type=audio\n[/STREAM]\n").video_index, -1);
}

TEST(ProbeReport, AProgramsStreamsAreNotCountedTwice) {
    const std::string stream = "[STREAM]\nindex=0\ncodec_type=video\nwidth=64\nheight=48\n[/STREAM]\n";
    const MediaInfo m = parse_probe_report("[PROGRAM]\n" + stream + "[/PROGRAM]\n" + stream);
    EXPECT_EQ(m.stream_count, 1);
    EXPECT_EQ(m.width, 64);
}

MediaInfo clip(const std::string& pix_fmt, int w = 64, int h = 48) {
    MediaInfo m;
    m.pix_fmt = pix_fmt;
    m.width = w;
    m.height = h;
    return m;
}

TEST(OutputFormat, PlayersGet420ForLossyVideo) {
    for (const auto& [out, codec] : std::vector<std::pair<std::string, std::string>>{
             {"o.mp4", ""}, {"o.MKV", ""}, {"o.webm", ""}, {"o.mkv", "libx265"}, {"o.nut", "libx264"}}) {
        const OutputFormat f = choose_output_format(clip("yuv444p"), out, codec, "");
        EXPECT_EQ(f.pix_fmt, "yuv420p") << out << " " << codec;
        EXPECT_TRUE(f.yuv);
    }
    const OutputFormat odd = choose_output_format(clip("yuv420p", 63, 48), "o.mp4", "", "");
    EXPECT_EQ(odd.pix_fmt, "yuv444p");
    EXPECT_EQ(odd.warnings.size(), 1u);
}

TEST(OutputFormat, LosslessAndImagesKeepRgbAndAlpha) {
    const OutputFormat ffv1 = choose_output_format(clip("yuv420p"), "o.mkv", "ffv1", "");
    EXPECT_EQ(ffv1.pix_fmt, "");
    EXPECT_FALSE(ffv1.yuv);
    EXPECT_EQ(ffv1.pipe_format, "bgr0");
    const OutputFormat png = choose_output_format(clip("rgba"), "o.png", "", "");
    EXPECT_TRUE(png.single_image);
    EXPECT_EQ(png.pipe_format, "bgra");
    EXPECT_TRUE(choose_output_format(clip("rgba"), "o.mp4", "", "").drops_alpha);
    EXPECT_FALSE(png.drops_alpha);
}

TEST(OutputFormat, AnAskedPixelFormatWins) {
    const OutputFormat f = choose_output_format(clip("yuv420p"), "o.mp4", "", "yuv444p10le");
    EXPECT_EQ(f.pix_fmt, "");
    EXPECT_TRUE(f.yuv);
    EXPECT_FALSE(choose_output_format(clip("yuv420p"), "o.mkv", "libx264rgb", "bgr24").yuv);
    EXPECT_EQ(passthrough_pix_fmt({"-preset", "slow", "-pix_fmt:v", "yuv422p"}), "yuv422p");
}

TEST(Timing, ExactRateOrResampledVariableRate) {
    MediaInfo m;
    m.frame_rate = {30000, 1001};
    m.average_rate = {2997, 100};
    EXPECT_FALSE(choose_timing(m).resample);
    EXPECT_EQ(choose_timing(m).rate.text(), "30000/1001");
    m.frame_rate = {50, 1};  // field rate of interlaced video, or a variable rate
    m.average_rate = {25, 1};
    EXPECT_TRUE(choose_timing(m).resample);
    EXPECT_EQ(choose_timing(m).rate.text(), "25/1");
    EXPECT_EQ(choose_timing(MediaInfo{}).rate.text(), "25/1");
}

TEST(DecoderArgs, PlanarYuvAsDecodedOthersConvertedWithTheInputsMatrixAndRange) {
    MediaInfo m = parse_probe_report(kReport);
    const auto yuv =
        decoder_args("ffmpeg", m, choose_timing(m), "-odd name.mkv", false, decoder_pipe_format(m));
    EXPECT_TRUE(has_sequence(
        yuv, {"-threads", "1", "-i", "file:-odd name.mkv", "-map", "0:2", "-fps_mode", "passthrough"}));
    EXPECT_EQ(std::count(yuv.begin(), yuv.end(), "-vf"), 0);
    EXPECT_TRUE(has_sequence(yuv, {"-f", "rawvideo", "-pix_fmt", "yuv420p", "pipe:1"}));
    m.pix_fmt = "nv12";
    const auto a =
        decoder_args("ffmpeg", m, choose_timing(m), "-odd name.mkv", false, decoder_pipe_format(m));
    EXPECT_TRUE(has_sequence(
        a, {"-vf", "scale=flags=bicubic+accurate_rnd+full_chroma_int:in_color_matrix=bt470:in_range=tv"}));
    EXPECT_TRUE(has_sequence(a, {"-f", "rawvideo", "-pix_fmt", "bgra", "pipe:1"}));
    const auto rgb = decoder_args("ffmpeg", clip("gbrp"), Timing{{25, 1}, false}, "x", true, "bgra");
    EXPECT_EQ(std::count(rgb.begin(), rgb.end(), "-vf"), 0);
    EXPECT_TRUE(has_sequence(rgb, {"-frames:v", "1"}));
}

TEST(EncoderArgs, KeepTimingTagsAndEveryOtherStream) {
    const MediaInfo m = parse_probe_report(kReport);
    const OutputFormat f = choose_output_format(m, "o.mp4", "", "");
    const EncodeRequest req{"in.mkv", "dir/.kelvra-1-o.mp4", "libx264", 20, {"-preset", "fast"}, true};
    const auto a = encoder_args("ffmpeg", m, choose_timing(m), f, req);
    EXPECT_TRUE(has_sequence(a, {"-f", "rawvideo", "-pix_fmt", "yuv420p", "-video_size", "48x64",
                                 "-framerate", "30000/1001", "-i", "pipe:0", "-i", "file:in.mkv"}));
    EXPECT_TRUE(has_sequence(a, {"-map",
                                 "0:v:0",
                                 "-map_metadata",
                                 "1",
                                 "-map_chapters",
                                 "1",
                                 "-map_metadata:s:0",
                                 "1:s:2",
                                 "-map",
                                 "1:0",
                                 "-c:1",
                                 "copy",
                                 "-map_metadata:s:1",
                                 "1:s:0",
                                 "-map",
                                 "1:1",
                                 "-c:2",
                                 "copy",
                                 "-map_metadata:s:2",
                                 "1:s:1"}));
    EXPECT_TRUE(has_sequence(a, {"-c:0", "libx264", "-crf:0", "20", "-pix_fmt:0", "yuv420p"}));
    EXPECT_TRUE(
        has_sequence(a, {"-filter:0", "settb=1/90000,setpts=PTS+0.200000/TB,setfield=tff,setsar=16/15",
                         "-enc_time_base:0", "1/90000"}));
    // Options that filter the video get the RGB frames, converted as before.
    const OutputFormat rgb_pipe =
        choose_output_format(m, "o.mp4", "", "", passthrough_filters({"-vf:0", "hue"}));
    const auto b = encoder_args("ffmpeg", m, choose_timing(m), rgb_pipe, req);
    EXPECT_TRUE(has_sequence(b, {"-f", "rawvideo", "-pix_fmt", "bgr0"}));
    EXPECT_TRUE(has_sequence(
        b,
        {"-filter:0",
         "settb=1/90000,setpts=PTS+0.200000/TB,"
         "scale=flags=bicubic+accurate_rnd+full_chroma_int:out_range=tv:out_color_matrix=bt470,setfield=tff,"
         "setsar=16/15"}));
    EXPECT_TRUE(
        has_sequence(a, {"-colorspace:0", "bt470bg", "-color_range:0", "tv", "-color_primaries:0", "bt709"}));
    EXPECT_EQ(std::count(a.begin(), a.end(), "-color_trc:0"), 0) << "unknown stays untagged";
    EXPECT_TRUE(has_sequence(a, {"-field_order:0", "tt"}));
    EXPECT_TRUE(has_sequence(a, {"-preset", "fast", "file:dir/.kelvra-1-o.mp4"}));
    EXPECT_EQ(a.back(), "file:dir/.kelvra-1-o.mp4");
}

TEST(EncoderArgs, AFileWithOnlyTagsToCopyIsNoSecondInput) {
    MediaInfo m = clip("yuv420p");
    m.stream_count = 1;
    m.tags_known = true;
    m.file_tags = {{"title", "A = B\nC"}};
    m.video_tags = {{"language", "fra"}};
    const OutputFormat f = choose_output_format(m, "o.mkv", "", "");
    const EncodeRequest req{"in.mkv", "t.mkv", "", std::nullopt, {}, true};
    const auto inputs = [&](const MediaInfo& info, const EncodeRequest& r) {
        const auto a = encoder_args("ffmpeg", info, Timing{{25, 1}, false}, f, r);
        return std::count(a.begin(), a.end(), "-i");
    };
    const auto a = encoder_args("ffmpeg", m, Timing{{25, 1}, false}, f, req);
    EXPECT_EQ(std::count(a.begin(), a.end(), "-i"), 1);
    EXPECT_TRUE(has_sequence(a, {"-metadata", "title=A = B\nC", "-metadata:s:0", "language=fra"}));
    // Anything options cannot carry brings the file back as an input.
    MediaInfo more = m;
    more.chapters = 1;
    EXPECT_EQ(inputs(more, req), 2);
    more = m;
    more.video_tags.push_back({"comment", ""});
    EXPECT_EQ(inputs(more, req), 2) << "an empty value would delete the tag";
    more = m;
    more.stream_count = 2;
    EXPECT_EQ(inputs(more, req), 2);
    EncodeRequest passing = req;
    passing.passthrough = {"-map", "1:a"};
    EXPECT_EQ(inputs(m, passing), 2) << "options may name the second input";
}

TEST(EncoderArgs, RgbInputBecomesBt709AndImagesAreOnePicture) {
    const MediaInfo png = clip("rgba");
    const auto video =
        encoder_args("ffmpeg", png, Timing{{25, 1}, false}, choose_output_format(png, "o.mp4", "", ""),
                     EncodeRequest{"in.png", "t.mp4", "", std::nullopt, {}, false});
    EXPECT_TRUE(has_sequence(video, {"-colorspace:0", "bt709", "-color_range:0", "tv"}));
    EXPECT_EQ(std::count(video.begin(), video.end(), "file:in.png"), 0);
    const auto image =
        encoder_args("ffmpeg", png, Timing{{25, 1}, false}, choose_output_format(png, "o.png", "", ""),
                     EncodeRequest{"in.png", "t.png", "", std::nullopt, {}, false});
    EXPECT_TRUE(has_sequence(image, {"-frames:0", "1", "-f", "image2", "-update", "1", "file:t.png"}));
    EXPECT_EQ(std::count(image.begin(), image.end(), "-colorspace:0"), 0);
}

}  // namespace
