// SPDX-License-Identifier: GPL-2.0-or-later
#include "input/file_decoder.h"

#include <cstdio>
#include <cstdlib>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include "input/decoder_messages.h"

namespace kelvra::cli {
namespace {

std::string error_text(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

Tags tags_of(const AVDictionary* dictionary) {
    Tags tags;
    for (const AVDictionaryEntry* e = nullptr; (e = av_dict_get(dictionary, "", e, AV_DICT_IGNORE_SUFFIX));)
        tags.emplace_back(e->key, e->value);
    return tags;
}

}  // namespace

FileDecoder::FileDecoder(int stream_index, int format, int32_t width, int32_t height)
    : stream_(stream_index),
      format_(format),
      width_(width),
      height_(height),
      autoscale_(format, width, height) {}

FileDecoder::~FileDecoder() {
    forget_errors_of(decoder_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&decoder_);
    avformat_close_input(&file_);
}

// Opened as the ffmpeg program opens an input and its decoder, so that the
// same decoder makes the same frames.
std::unique_ptr<FileDecoder> FileDecoder::open(const std::string& path, int stream_index,
                                               const std::string& pix_fmt, int32_t width, int32_t height,
                                               std::string& error) {
    std::unique_ptr<FileDecoder> d(
        new FileDecoder(stream_index, av_get_pix_fmt(pix_fmt.c_str()), width, height));
    const auto fail = [&](const std::string& what, int code) {
        error = "cannot decode \"" + path + "\": " + what + (code < 0 ? ": " + error_text(code) : "");
        return nullptr;
    };
    AVDictionary* options = nullptr;
    av_dict_set(&options, "scan_all_pmts", "1", 0);
    int r = avformat_open_input(&d->file_, ("file:" + path).c_str(), nullptr, &options);
    av_dict_free(&options);
    if (r < 0) return fail("cannot open it", r);
    if ((r = avformat_find_stream_info(d->file_, nullptr)) < 0) return fail("cannot read its streams", r);
    if (stream_index < 0 || unsigned(stream_index) >= d->file_->nb_streams) return fail("no such stream", 0);
    for (unsigned i = 0; i < d->file_->nb_streams; ++i) {
        if (int(i) != stream_index) d->file_->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVStream* stream = d->file_->streams[stream_index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return fail("no decoder for its video", 0);
    d->decoder_ = avcodec_alloc_context3(codec);
    d->packet_ = av_packet_alloc();
    d->frame_ = av_frame_alloc();
    if (!d->decoder_ || !d->packet_ || !d->frame_) return fail("out of memory", 0);
    if ((r = avcodec_parameters_to_context(d->decoder_, stream->codecpar)) < 0) return fail("bad stream", r);
    d->decoder_->pkt_timebase = stream->time_base;
    d->decoder_->framerate = stream->avg_frame_rate;
    av_dict_set(&options, "threads", "1", 0);
    r = avcodec_open2(d->decoder_, codec, &options);
    av_dict_free(&options);
    if (r < 0) return fail("cannot open its decoder", r);
    count_errors_of(d->decoder_);
    return d;
}

void FileDecoder::end_input() {
    avcodec_send_packet(decoder_, nullptr);
    ended_ = true;
}

void FileDecoder::close_packet() {
    if (packet_open_ && (packet_damaged_ || counted_errors() != errors_before_packet_)) ++damaged_packets_;
    packet_open_ = packet_damaged_ = false;
}

void FileDecoder::feed() {
    if (!packet_pending_) {
        close_packet();
        packet_open_ = true;
        errors_before_packet_ = counted_errors();
        for (;;) {
            // A read error ends the input, as it ends the ffmpeg program's.
            if (av_read_frame(file_, packet_) < 0) return end_input();
            if (packet_->stream_index == stream_) break;
            av_packet_unref(packet_);
        }
    }
    const int r = avcodec_send_packet(decoder_, packet_);
    packet_pending_ = r == AVERROR(EAGAIN);
    if (packet_pending_) return;
    // A packet that does not decode is skipped, as ffmpeg skips it.
    ++(r < 0 ? failed_packets_ : decoded_packets_);
    packet_damaged_ |= r < 0;
    av_packet_unref(packet_);
}

std::optional<FileDecoder::Facts> FileDecoder::read_facts(const std::string& path, int stream_index) {
    std::string error;
    const std::unique_ptr<FileDecoder> d = open(path, stream_index, "", 0, 0, error);
    if (!d) return std::nullopt;
    Facts facts;
    facts.file_tags = tags_of(d->file_->metadata);
    facts.video_tags = tags_of(d->file_->streams[stream_index]->metadata);
    facts.chapters = int(d->file_->nb_chapters);
    d->feed();
    if (!d->ended_) d->end_input();
    if (avcodec_receive_frame(d->decoder_, d->frame_) == 0 &&
        d->frame_->best_effort_timestamp != AV_NOPTS_VALUE) {
        const double seconds =
            double(d->frame_->best_effort_timestamp) * av_q2d(d->file_->streams[stream_index]->time_base);
        char text[64];
        std::snprintf(text, sizeof text, "%f", seconds);
        facts.first_frame_time = std::strtod(text, nullptr);
    }
    return facts;
}

// Past the last frame; as the ffmpeg program, fails when more than two
// thirds of the packets did not decode.
ssize_t FileDecoder::finish() {
    const int64_t packets = decoded_packets_ + failed_packets_;
    if (failed_packets_ * 3 <= packets * 2) return 0;
    error_ = std::to_string(failed_packets_) + " of " + std::to_string(packets) + " packets do not decode";
    return -1;
}

bool FileDecoder::next_frame() {
    for (;;) {
        const int r = avcodec_receive_frame(decoder_, frame_);
        if (r == 0) {
            packet_damaged_ |=
                frame_->decode_error_flags != 0 || (frame_->flags & AV_FRAME_FLAG_CORRUPT) != 0;
            return true;
        }
        if (r != AVERROR(EAGAIN) && r != AVERROR_EOF) {
            ++failed_packets_;
            packet_damaged_ = true;
        }
        if (ended_) {
            close_packet();
            return false;
        }
        if (r == AVERROR(EAGAIN)) feed();
    }
}

int64_t FileDecoder::count_damaged_frames(const std::string& path, int stream_index) {
    std::string error;
    const std::unique_ptr<FileDecoder> d = open(path, stream_index, "", 0, 0, error);
    if (!d) return 0;
    while (d->next_frame()) av_frame_unref(d->frame_);
    return d->damaged_packets_;
}

ssize_t FileDecoder::read_frame(void* buf, size_t size) {
    if (!next_frame()) return finish();
    ++frames_;
    int copied = int(size);
    if (frame_->format == format_ && frame_->width == width_ && frame_->height == height_) {
        copied = av_image_copy_to_buffer(static_cast<uint8_t*>(buf), int(size), frame_->data,
                                         frame_->linesize, AVPixelFormat(format_), width_, height_, 1);
    } else {
        const int range = frame_->color_range == AVCOL_RANGE_JPEG   ? 1
                          : frame_->color_range == AVCOL_RANGE_MPEG ? 0
                                                                    : -1;
        const DecodedPicture picture{frame_->data,      frame_->linesize, frame_->format,
                                     frame_->width,     frame_->height,   range,
                                     frame_->colorspace};
        if (!autoscale_.convert(picture, static_cast<uint8_t*>(buf))) copied = AVERROR(EINVAL);
    }
    av_frame_unref(frame_);
    if (copied < 0) {
        error_ = "frame " + std::to_string(frames_) + ": " + error_text(copied);
        return -1;
    }
    return copied;
}

}  // namespace kelvra::cli
