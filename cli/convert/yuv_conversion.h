// SPDX-License-Identifier: GPL-2.0-or-later
// The colour conversions around the engine, done in this process with
// libswscale so that frames cross the pipes as 8-bit planar YUV (1.5 to 3
// bytes a pixel) instead of BGRA (4). Each context is set up as ffmpeg's
// scale filter sets up its own for the options the tool gave the ffmpeg
// processes before (flags, chroma positions, matrix, range), so the bytes
// are the ones those processes produced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "colour/colour_tags.h"
#include "convert/frame_memory.h"

struct SwsContext;

namespace kelvra::cli {

// 8-bit planar YUV without alpha (yuv420p, yuvj422p, yuv444p, ...): frames
// the tool can take from the decoder as they are decoded.
bool is_planar_yuv8(const std::string& pix_fmt);

// Bytes of one raw frame of this format as ffmpeg's rawvideo writes it.
size_t raw_frame_bytes(const std::string& pix_fmt, int32_t width, int32_t height);

// Decoded YUV to top-down BGRA (alpha 255), with the input's own matrix and
// range: the decoder's former `scale` to bgra. It goes through planar RGB,
// which gives the same bytes for less work.
class YuvToBgra {
public:
    YuvToBgra(const std::string& pix_fmt, int32_t width, int32_t height, const ColourTags& colour);
    ~YuvToBgra();
    YuvToBgra(const YuvToBgra&) = delete;
    YuvToBgra& operator=(const YuvToBgra&) = delete;

    bool ok() const { return sws_ != nullptr; }
    size_t frame_bytes() const { return frame_bytes_; }
    void convert(const uint8_t* raw, uint32_t* bgra);

private:
    SwsContext* sws_ = nullptr;
    int format_;  // the YUV side, as libavutil numbers it
    int32_t width_, height_;
    size_t frame_bytes_;
    FrameBuffer<uint8_t> gbr_;  // three planes, G, B, R
};

// Corrected BGRA (alpha ignored) to the encoder's YUV with the given matrix
// (ffprobe's name, may be empty) and range: the encoder's former `scale`.
class BgraToYuv {
public:
    BgraToYuv(const std::string& pix_fmt, int32_t width, int32_t height, const std::string& matrix,
              bool full_range);
    ~BgraToYuv();
    BgraToYuv(const BgraToYuv&) = delete;
    BgraToYuv& operator=(const BgraToYuv&) = delete;

    bool ok() const { return sws_ != nullptr; }
    size_t frame_bytes() const { return frame_bytes_; }
    void convert(const uint32_t* bgra, uint8_t* raw);

private:
    SwsContext* sws_ = nullptr;
    int format_;  // the YUV side, as libavutil numbers it
    int32_t width_, height_;
    size_t frame_bytes_;
};

// A decoded picture as libavcodec gives it; numbers as libavutil has them.
struct DecodedPicture {
    const uint8_t* const* data;
    const int* linesize;
    int format;
    int32_t width, height;
    int full_range;  // 1 full, 0 limited, -1 unsaid
    int matrix;      // the colour space
};

// Frames of another size or format than a stream's first, brought to those,
// as the ffmpeg program does when a stream changes on the way (its scale
// filter with the default flags).
class Autoscale {
public:
    Autoscale(int pix_fmt, int32_t width, int32_t height);
    ~Autoscale();
    Autoscale(const Autoscale&) = delete;
    Autoscale& operator=(const Autoscale&) = delete;

    // False when no conversion can be set up.
    bool convert(const DecodedPicture& in, uint8_t* raw);

private:
    SwsContext* sws_ = nullptr;
    DecodedPicture from_{};  // what `sws_` converts from
    int format_;
    int32_t width_, height_;
};

}  // namespace kelvra::cli
