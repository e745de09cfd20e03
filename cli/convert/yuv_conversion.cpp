// SPDX-License-Identifier: GPL-2.0-or-later
#include "convert/yuv_conversion.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace kelvra::cli {
namespace {

constexpr int kFlags = SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT;

// The coefficient table the scale filter picks: the matrix named in its
// options when there is one, otherwise the frame's own, with BT.601 for
// anything it has no table for (RGB, YCgCo, the newer matrices).
int coefficient_index(const std::string& named, int frame_space) {
    if (named == "bt709") return AVCOL_SPC_BT709;
    if (named == "fcc") return AVCOL_SPC_FCC;
    if (named == "smpte240m") return AVCOL_SPC_SMPTE240M;
    if (named == "bt470" || named == "smpte170m") return AVCOL_SPC_BT470BG;
    if (named == "bt2020") return AVCOL_SPC_BT2020_NCL;
    const int cs = frame_space;
    return cs < 1 || cs > 10 || cs == AVCOL_SPC_YCGCO ? AVCOL_SPC_BT470BG : cs;
}

// ffprobe's name of a matrix as libavutil numbers it.
int space_number(const std::string& name) {
    return name.empty() ? AVCOL_SPC_UNSPECIFIED : av_color_space_from_name(name.c_str());
}

// -1 leaves the range to the context, as an untagged frame does.
int range_value(const std::string& range) { return range == "pc" ? 1 : range == "tv" ? 0 : -1; }

struct Side {
    AVPixelFormat format;
    int range;  // 1 full, 0 limited, -1 unsaid
    int32_t width, height;
};

// The scale filter's set-up: options, then MPEG-2 chroma siting for
// yuv420p, then the colour details it applies before each frame. `src_table`
// and `dst_table` index libswscale's coefficient tables. Without
// `range_options` the ranges come only with the colour details, as when the
// filter was given none.
SwsContext* make_context(Side src, Side dst, int src_table, int dst_table, int flags = kFlags,
                         bool range_options = true) {
    SwsContext* s = sws_alloc_context();
    if (!s) return nullptr;
    av_opt_set_int(s, "srcw", src.width, 0);
    av_opt_set_int(s, "srch", src.height, 0);
    av_opt_set_int(s, "src_format", src.format, 0);
    av_opt_set_int(s, "dstw", dst.width, 0);
    av_opt_set_int(s, "dsth", dst.height, 0);
    av_opt_set_int(s, "dst_format", dst.format, 0);
    av_opt_set_int(s, "sws_flags", flags, 0);
    if (range_options && src.range >= 0) av_opt_set_int(s, "src_range", src.range, 0);
    if (range_options && dst.range >= 0) av_opt_set_int(s, "dst_range", dst.range, 0);
    if (src.format == AV_PIX_FMT_YUV420P) av_opt_set_int(s, "src_v_chr_pos", 128, 0);
    if (dst.format == AV_PIX_FMT_YUV420P) av_opt_set_int(s, "dst_v_chr_pos", 128, 0);
    if (sws_init_context(s, nullptr, nullptr) < 0) {
        sws_freeContext(s);
        return nullptr;
    }
    int *inv_table, *table, src_full, dst_full, brightness, contrast, saturation;
    sws_getColorspaceDetails(s, &inv_table, &src_full, &table, &dst_full, &brightness, &contrast,
                             &saturation);
    if (src.range >= 0) src_full = src.range;
    if (dst.range >= 0) dst_full = dst.range;
    sws_setColorspaceDetails(s, sws_getCoefficients(src_table), src_full, sws_getCoefficients(dst_table),
                             dst_full, brightness, contrast, saturation);
    return s;
}

struct Planes {
    uint8_t* data[4] = {};
    int linesize[4] = {};
};

Planes planes_of(const uint8_t* raw, AVPixelFormat format, int32_t width, int32_t height) {
    Planes p;
    av_image_fill_arrays(p.data, p.linesize, raw, format, width, height, 1);
    return p;
}

}  // namespace

bool is_planar_yuv8(const std::string& pix_fmt) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(av_get_pix_fmt(pix_fmt.c_str()));
    if (!d || d->nb_components != 3) return false;
    const uint64_t excluded = AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_ALPHA | AV_PIX_FMT_FLAG_PAL |
                              AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_BE;
    if (!(d->flags & AV_PIX_FMT_FLAG_PLANAR) || (d->flags & excluded)) return false;
    for (int i = 0; i < 3; ++i) {
        if (d->comp[i].depth != 8 || d->comp[i].plane != i) return false;
    }
    return sws_isSupportedInput(av_get_pix_fmt(pix_fmt.c_str())) > 0;
}

size_t raw_frame_bytes(const std::string& pix_fmt, int32_t width, int32_t height) {
    const int n = av_image_get_buffer_size(av_get_pix_fmt(pix_fmt.c_str()), width, height, 1);
    return n > 0 ? size_t(n) : 0;
}

YuvToBgra::YuvToBgra(const std::string& pix_fmt, int32_t width, int32_t height, const ColourTags& colour)
    : format_(av_get_pix_fmt(pix_fmt.c_str())),
      width_(width),
      height_(height),
      frame_bytes_(raw_frame_bytes(pix_fmt, width, height)),
      gbr_(size_t(width) * size_t(height) * 3) {
    const int table = coefficient_index(swscale_matrix(colour.matrix), space_number(colour.matrix));
    sws_ = make_context({AVPixelFormat(format_), range_value(colour.range), width, height},
                        {AV_PIX_FMT_GBRP, -1, width, height}, table, table);
}

YuvToBgra::~YuvToBgra() { sws_freeContext(sws_); }

void YuvToBgra::convert(const uint8_t* raw, uint32_t* bgra) {
    const Planes in = planes_of(raw, AVPixelFormat(format_), width_, height_);
    const size_t n = size_t(width_) * size_t(height_);
    uint8_t* g = gbr_.data();
    uint8_t* b = g + n;
    uint8_t* r = b + n;
    uint8_t* const out[4] = {g, b, r, nullptr};
    const int out_lines[4] = {width_, width_, width_, 0};
    sws_scale(sws_, in.data, in.linesize, 0, height_, out, out_lines);
    for (size_t i = 0; i < n; ++i) bgra[i] = 0xFF000000u | uint32_t(r[i]) << 16 | uint32_t(g[i]) << 8 | b[i];
}

BgraToYuv::BgraToYuv(const std::string& pix_fmt, int32_t width, int32_t height, const std::string& matrix,
                     bool full_range)
    : format_(av_get_pix_fmt(pix_fmt.c_str())),
      width_(width),
      height_(height),
      frame_bytes_(raw_frame_bytes(pix_fmt, width, height)) {
    // The RGB frames' matrix is unspecified; with no matrix named, the scale
    // filter took that one's table for the output too.
    const std::string named = swscale_matrix(matrix);
    const int table = named.empty() ? AVCOL_SPC_UNSPECIFIED : coefficient_index(named, AVCOL_SPC_UNSPECIFIED);
    sws_ = make_context({AV_PIX_FMT_BGR0, -1, width, height},
                        {AVPixelFormat(format_), full_range, width, height}, AVCOL_SPC_UNSPECIFIED, table);
}

BgraToYuv::~BgraToYuv() { sws_freeContext(sws_); }

void BgraToYuv::convert(const uint32_t* bgra, uint8_t* raw) {
    const uint8_t* const in[4] = {reinterpret_cast<const uint8_t*>(bgra), nullptr, nullptr, nullptr};
    const int in_lines[4] = {width_ * 4, 0, 0, 0};
    const Planes out = planes_of(raw, AVPixelFormat(format_), width_, height_);
    sws_scale(sws_, in, in_lines, 0, height_, out.data, out.linesize);
}

Autoscale::Autoscale(int pix_fmt, int32_t width, int32_t height)
    : format_(pix_fmt), width_(width), height_(height) {}

Autoscale::~Autoscale() { sws_freeContext(sws_); }

bool Autoscale::convert(const DecodedPicture& in, uint8_t* raw) {
    if (!sws_ || in.format != from_.format || in.width != from_.width || in.height != from_.height ||
        in.full_range != from_.full_range || in.matrix != from_.matrix) {
        sws_freeContext(sws_);
        from_ = in;
        const int table = coefficient_index("", in.matrix);
        sws_ = make_context({AVPixelFormat(in.format), in.full_range, in.width, in.height},
                            {AVPixelFormat(format_), -1, width_, height_}, table, table, SWS_BICUBIC, false);
        if (!sws_) return false;
    }
    const Planes out = planes_of(raw, AVPixelFormat(format_), width_, height_);
    sws_scale(sws_, in.data, in.linesize, 0, in.height, out.data, out.linesize);
    return true;
}

}  // namespace kelvra::cli
