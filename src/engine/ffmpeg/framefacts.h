#ifndef FRAMEFACTS_H
#define FRAMEFACTS_H

// What travels with each frame the source hands out, in its metadata
// dictionary, as FFmpeg's own filters pass their scores on.

#include <QByteArray>

#include <optional>

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/frame.h>
}

namespace FrameFacts {

// The frame's number in the stream in decoding order, from 1.
inline constexpr char frameNumber[] = "oskivo.frame";
// The score that chose the frame, where the selection has one.
inline constexpr char score[] = "oskivo.score";

// Numbers go in and out in the C locale, whatever the program's.
inline void setNumber(AVFrame *frame, const char *key, double value)
{
    av_dict_set(&frame->metadata, key, QByteArray::number(value, 'g', 17).constData(), 0);
}

inline std::optional<double> number(const AVFrame *frame, const char *key)
{
    const AVDictionaryEntry *entry = av_dict_get(frame->metadata, key, nullptr, 0);
    if (!entry || !entry->value)
        return std::nullopt;
    bool ok = false;
    const double value = QByteArray(entry->value).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

inline bool isKeyframe(const AVFrame *frame)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
    return frame->flags & AV_FRAME_FLAG_KEY;
#else
    return frame->key_frame;
#endif
}

} // namespace FrameFacts

#endif // FRAMEFACTS_H
