// SPDX-License-Identifier: GPL-2.0-or-later
// Decodes the corrected stream of a file in this process with libavformat
// and libavcodec, for inputs whose frames the tool takes as they are
// decoded: the frames an ffmpeg decoder process would send through a pipe
// with `-threads 1 -fps_mode passthrough -f rawvideo -pix_fmt` the stream's
// own format, without that process, its start-up and the pipe.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "convert/yuv_conversion.h"
#include "input/frame_source.h"
#include "input/media_info.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

namespace kelvra::cli {

class FileDecoder : public FrameSource {
public:
    // Null, with `error` set, when the file or its decoder cannot be opened.
    static std::unique_ptr<FileDecoder> open(const std::string& path, int stream_index,
                                             const std::string& pix_fmt, int32_t width, int32_t height,
                                             std::string& error);
    ~FileDecoder() override;
    FileDecoder(const FileDecoder&) = delete;
    FileDecoder& operator=(const FileDecoder&) = delete;

    // What the tool reads from the file before it starts: when the stream's
    // first frame is shown, in seconds, as ffprobe reports it for the first
    // packet alone (to the microsecond; none when that packet gives no frame
    // or the frame no time), and the tags and chapters ffmpeg copies from it.
    struct Facts {
        std::optional<double> first_frame_time;
        Tags file_tags, video_tags;
        int chapters = 0;
    };
    static std::optional<Facts> read_facts(const std::string& path, int stream_index);

    ssize_t read_frame(void* buf, size_t size) override;
    std::string error() const override { return error_; }

    // Frames that had decode errors so far: packets (one a frame) that did
    // not decode, or whose decoding reported an error or gave a frame marked
    // damaged (most decoders conceal the damage and give the frame).
    int64_t damaged_frames() const { return damaged_packets_; }
    // The same for a whole stream, decoded here for nothing else: for files
    // an ffmpeg process decoded. 0 when the file cannot be opened.
    static int64_t count_damaged_frames(const std::string& path, int stream_index);

private:
    FileDecoder(int stream_index, int format, int32_t width, int32_t height);
    // Hands the decoder the next packet of the stream, or the end.
    void feed();
    void end_input();
    // The next frame into `frame_`; false at the end.
    bool next_frame();
    ssize_t finish();
    // Done with the packet last read: counted when it went wrong.
    void close_packet();

    AVFormatContext* file_ = nullptr;
    AVCodecContext* decoder_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_;
    int format_;  // as libavutil numbers it
    int32_t width_, height_;
    Autoscale autoscale_;          // for frames that differ from those
    bool packet_pending_ = false;  // the decoder was full when it came
    bool ended_ = false;           // the end has been sent
    int64_t frames_ = 0;
    int64_t decoded_packets_ = 0, failed_packets_ = 0;
    bool packet_open_ = false, packet_damaged_ = false;
    int64_t errors_before_packet_ = 0;
    int64_t damaged_packets_ = 0;
    std::string error_;
};

}  // namespace kelvra::cli
