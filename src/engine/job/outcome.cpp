#include "outcome.h"

#include <QCoreApplication>
#include <QList>

namespace {

// The messages are the engine's, in its translation context.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(VideoProcessor)
};

struct Entry
{
    Outcome outcome;
    const char *code;
};

constexpr Entry entries[] = {
    {Outcome::Converted, "converted"},
    {Outcome::Stopped, "stopped"},
    {Outcome::BadOption, "bad-option"},
    {Outcome::CannotOpenVideo, "cannot-open-video"},
    {Outcome::NotAVideo, "not-a-video"},
    {Outcome::NoVideoStream, "no-video-stream"},
    {Outcome::UnsupportedCodec, "unsupported-codec"},
    {Outcome::CannotOpenDecoder, "cannot-open-decoder"},
    {Outcome::ReadFailed, "read-failed"},
    {Outcome::StartPastEnd, "start-past-end"},
    {Outcome::NoFrames, "no-frames"},
    {Outcome::NoKeyframeInRange, "no-keyframe-in-range"},
    {Outcome::NothingAtPosition, "no-frame-at-position"},
    {Outcome::CannotMakeFolder, "cannot-make-folder"},
    {Outcome::CannotConvert, "cannot-convert"},
    {Outcome::CannotWrite, "cannot-write"},
    {Outcome::DiskFull, "disk-full"},
    {Outcome::OutOfMemory, "out-of-memory"},
};

} // namespace

const char *outcomeCode(Outcome outcome)
{
    for (const Entry &entry : entries) {
        if (entry.outcome == outcome)
            return entry.code;
    }
    return "unknown";
}

const QList<Outcome> &allOutcomes()
{
    static const QList<Outcome> outcomes = [] {
        QList<Outcome> list;
        for (const Entry &entry : entries)
            list << entry.outcome;
        return list;
    }();
    return outcomes;
}

QString outcomeMessage(Outcome outcome, const QString &detail)
{
    switch (outcome) {
    case Outcome::Converted:
        return QString();
    case Outcome::Stopped:
        return Texts::tr("操作已取消");
    case Outcome::BadOption:
        return detail;
    case Outcome::CannotOpenVideo:
    case Outcome::NotAVideo:
        return Texts::tr("无法打开视频文件");
    case Outcome::NoVideoStream:
        return Texts::tr("未找到视频流");
    case Outcome::UnsupportedCodec:
        return Texts::tr("不支持的编解码器");
    case Outcome::CannotOpenDecoder:
        return Texts::tr("无法打开编解码器");
    case Outcome::ReadFailed:
        return Texts::tr("读取视频数据失败");
    case Outcome::StartPastEnd:
        return Texts::tr("起始时间超出视频长度");
    case Outcome::NoFrames:
        return Texts::tr("视频中没有可提取的帧");
    case Outcome::NoKeyframeInRange:
        return Texts::tr("所选范围内没有关键帧");
    case Outcome::NothingAtPosition:
        return Texts::tr("该位置没有可保存的帧");
    case Outcome::CannotMakeFolder:
        return Texts::tr("无法创建输出目录");
    case Outcome::CannotConvert:
        return Texts::tr("无法创建图像转换上下文");
    case Outcome::CannotWrite:
        return Texts::tr("无法保存图像: %1").arg(detail);
    case Outcome::DiskFull:
        return Texts::tr("磁盘已满，无法保存图像: %1").arg(detail);
    case Outcome::OutOfMemory:
        return Texts::tr("内存不足");
    }
    return QString();
}
