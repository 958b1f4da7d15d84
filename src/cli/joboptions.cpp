#include "joboptions.h"

#include "imageformats.h"
#include "imagenaming.h"
#include "timefield.h"

#include <QCommandLineParser>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <iterator>

using Picture::BitDepth;

namespace {

const QString defaultText = QStringLiteral("0");

struct DepthName
{
    int bits;
    BitDepth depth;
};

constexpr DepthName depthNames[] = {
    {8, BitDepth::Gray8},
    {16, BitDepth::Rgb16},
    {24, BitDepth::Rgb24},
    {32, BitDepth::Rgba32},
};

int bitsOf(BitDepth depth)
{
    for (const DepthName &name : depthNames) {
        if (name.depth == depth)
            return name.bits;
    }
    return 24;
}

QString dashed(const QCommandLineOption &option)
{
    return QStringLiteral("--") + option.names().constLast();
}

QString defaultFormat()
{
    // The window's list starts at its first entry.
    const QStringList formats = JobOptions::formats();
    return formats.isEmpty() ? ExtractionJob().format : formats.constFirst();
}

} // namespace

JobOptions::JobOptions(DepthStyle depthStyle)
    : depthStyle(depthStyle)
    , format(QStringLiteral("format"),
          tr("图片格式：%1（默认 %2）").arg(formats().join(QStringLiteral(", ")), defaultFormat()),
          QStringLiteral("F"), defaultFormat())
    , quality(QStringLiteral("quality"),
          tr("图片质量，%1-%2（默认 %3）")
              .arg(minQuality)
              .arg(maxQuality)
              .arg(ExtractionJob().quality),
          QStringLiteral("Q"), QString::number(ExtractionJob().quality))
    , depth(QStringLiteral("depth"),
          depthStyle == DepthStyle::Bits
              ? tr("位深：8、16、24 或 32（默认 %1）").arg(bitsOf(ExtractionJob().bitDepth))
              : tr("位深序号：0 = 8 位，1 = 16 位，2 = 24 位，3 = 32 位（默认 %1）")
                    .arg(int(ExtractionJob().bitDepth)),
          QStringLiteral("D"),
          QString::number(depthStyle == DepthStyle::Bits ? bitsOf(ExtractionJob().bitDepth)
                                                         : int(ExtractionJob().bitDepth)))
    , rate(QStringLiteral("rate"),
          tr("每秒视频取 N 帧，%1-%2（默认 %3）")
              .arg(FrameSelection::minFrameRate)
              .arg(FrameSelection::maxFrameRate)
              .arg(FrameSelection().frameRate),
          QStringLiteral("N"), QString::number(FrameSelection().frameRate))
    , every(QStringLiteral("every"),
          tr("每隔 S 秒取一帧，%1-%2（窗口默认 %3）")
              .arg(FrameSelection::minEverySeconds)
              .arg(FrameSelection::maxEverySeconds)
              .arg(FrameSelection().everySeconds),
          QStringLiteral("S"))
    , keyframes(QStringLiteral("keyframes"), tr("只取关键帧"))
    , scenes(QStringLiteral("scenes"),
          tr("每个场景取一帧，灵敏度 N 为 %1-%2（窗口默认 %3）")
              .arg(FrameSelection::minSceneSensitivity)
              .arg(FrameSelection::maxSceneSensitivity)
              .arg(FrameSelection().sceneSensitivity),
          QStringLiteral("N"))
    , start(QStringLiteral("start"), tr("范围的起点，秒数或 时:分:秒.毫秒（默认 0）"),
          QStringLiteral("T"), defaultText)
    , end(QStringLiteral("end"), tr("范围的终点，秒数或 时:分:秒.毫秒，须晚于起点（默认视频结尾）"),
          QStringLiteral("T"))
    , pattern(QStringLiteral("pattern"),
          tr("文件名格式，“%1”处为六位图片编号（默认 %2）")
              .arg(QStringLiteral("%1"), ExtractionJob().namingPattern),
          QStringLiteral("P"), ExtractionJob().namingPattern)
    , timeNames(QStringLiteral("time-names"), tr("在文件名的编号后加上该帧的时间（默认不加）"))
    , index(QStringLiteral("index"),
          tr("在图片旁写下图片清单 index.csv 或 index.json：文件名、编号、帧号、时间、"
             "是否关键帧、尺寸、得分（默认不写）"),
          QStringLiteral("csv|json"))
    , noMetadata(QStringLiteral("no-metadata"),
          tr("不把视频的拍摄时间、地点和设备写入图片的 EXIF（默认写入 JPG、PNG、WebP、TIFF）"))
    , sheet(QStringLiteral("sheet"), tr("在图片旁画一张缩略图总览 contact-sheet.jpg（默认不画）"))
    , writerOption(QStringLiteral("writers"),
          tr("写图片的线程数，%1-%2，0 为按核心数自动选择（默认 0）").arg(0).arg(maxWriters),
          QStringLiteral("N"), defaultText)
{
}

QStringList JobOptions::formats()
{
    return ImageFormats::buildFormatList(QImageWriter::supportedImageFormats());
}

void JobOptions::addTo(QCommandLineParser &parser) const
{
    parser.addOptions({format, quality, depth, rate, every, keyframes, scenes, start, end, pattern,
        timeNames, index, noMetadata, sheet, writerOption});
}

bool JobOptions::fail(const QString &message)
{
    error = message;
    return false;
}

bool JobOptions::readNumber(const QCommandLineParser &parser, const QCommandLineOption &option,
    int low, int high, int &value)
{
    const QString text = parser.value(option);
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok)
        return fail(tr("%1 的值“%2”不是整数").arg(dashed(option), text));
    if (number < low || number > high) {
        return fail(
            tr("%1 的值 %2 超出范围 %3-%4").arg(dashed(option)).arg(number).arg(low).arg(high));
    }
    value = number;
    return true;
}

bool JobOptions::readSeconds(
    const QCommandLineParser &parser, const QCommandLineOption &option, double &value)
{
    const QString text = parser.value(option);
    bool ok = false;
    // Plain seconds may carry any number of decimals; the clock form is the window's.
    double seconds = text.toDouble(&ok);
    if (!ok) {
        const std::optional<qint64> milliseconds = parseTimeField(text);
        ok = milliseconds.has_value();
        seconds = ok ? *milliseconds / 1000.0 : 0;
    }
    if (!ok || !std::isfinite(seconds) || seconds < 0)
        return fail(tr("%1 的值“%2”不是时间，请写秒数或 时:分:秒.毫秒").arg(dashed(option), text));
    value = seconds;
    return true;
}

bool JobOptions::readSelection(const QCommandLineParser &parser)
{
    using Mode = FrameSelection::Mode;
    FrameSelection &selection = parsedJob.selection;

    QList<const QCommandLineOption *> modes;
    for (const QCommandLineOption *option : {&rate, &every, &keyframes, &scenes}) {
        if (parser.isSet(*option))
            modes << option;
    }
    if (modes.size() > 1) {
        return fail(tr("%1 和 %2 不能同时使用").arg(dashed(*modes.at(0)), dashed(*modes.at(1))));
    }

    if (!readNumber(parser, rate, FrameSelection::minFrameRate, FrameSelection::maxFrameRate,
            selection.frameRate)) {
        return false;
    }
    if (parser.isSet(every)) {
        selection.mode = Mode::EverySeconds;
        const QString text = parser.value(every);
        bool ok = false;
        const double seconds = text.toDouble(&ok);
        if (!ok)
            return fail(tr("%1 的值“%2”不是数字").arg(dashed(every), text));
        if (!(seconds >= FrameSelection::minEverySeconds
                && seconds <= FrameSelection::maxEverySeconds)) {
            return fail(tr("%1 的值 %2 超出范围 %3-%4")
                            .arg(dashed(every), text)
                            .arg(FrameSelection::minEverySeconds)
                            .arg(FrameSelection::maxEverySeconds));
        }
        selection.everySeconds = seconds;
    } else if (parser.isSet(keyframes)) {
        selection.mode = Mode::Keyframes;
    } else if (parser.isSet(scenes)) {
        selection.mode = Mode::SceneChanges;
        if (!readNumber(parser, scenes, FrameSelection::minSceneSensitivity,
                FrameSelection::maxSceneSensitivity, selection.sceneSensitivity)) {
            return false;
        }
    }

    if (!readSeconds(parser, start, selection.startSeconds))
        return false;
    if (parser.isSet(end)) {
        if (!readSeconds(parser, end, selection.endSeconds))
            return false;
        if (selection.endSeconds <= selection.startSeconds)
            return fail(tr("%1 必须晚于 %2").arg(dashed(end), dashed(start)));
    }
    return true;
}

bool JobOptions::read(const QCommandLineParser &parser)
{
    parsedJob = ExtractionJob();
    error.clear();

    const QString formatText = parser.value(format);
    const QStringList offered = formats();
    const auto known = std::find_if(offered.cbegin(), offered.cend(),
        [&](const QString &name) { return name.compare(formatText, Qt::CaseInsensitive) == 0; });
    if (known == offered.cend()) {
        return fail(tr("%1 的值“%2”无效，可选：%3")
                        .arg(dashed(format), formatText, offered.join(QStringLiteral(", "))));
    }
    parsedJob.format = *known;

    if (!readNumber(parser, quality, minQuality, maxQuality, parsedJob.quality))
        return false;

    const QString depthText = parser.value(depth);
    bool ok = false;
    const int depthNumber = depthText.toInt(&ok);
    if (depthStyle == DepthStyle::Index) {
        if (!ok)
            return fail(tr("%1 的值“%2”不是整数").arg(dashed(depth), depthText));
        parsedJob.bitDepth = Picture::bitDepthFromIndex(depthNumber);
    } else {
        const auto named = std::find_if(std::cbegin(depthNames), std::cend(depthNames),
            [&](const DepthName &name) { return ok && name.bits == depthNumber; });
        if (named == std::cend(depthNames)) {
            return fail(tr("%1 的值“%2”无效，可选：%3")
                            .arg(dashed(depth), depthText, QStringLiteral("8, 16, 24, 32")));
        }
        parsedJob.bitDepth = named->depth;
    }

    const QString patternText = parser.value(pattern);
    if (!patternText.contains(QLatin1String("%1")))
        return fail(
            tr("%1 的值“%2”必须含有“%3”").arg(dashed(pattern), patternText, QStringLiteral("%1")));
    if (!ImageNaming::isSafeNamingPattern(patternText))
        return fail(tr("%1 的值“%2”会把图片写到输出目录之外").arg(dashed(pattern), patternText));
    parsedJob.namingPattern = patternText;
    parsedJob.timeInNames = parser.isSet(timeNames);
    if (parser.isSet(index)) {
        const QString indexText = parser.value(index).toLower();
        if (indexText == QLatin1String("csv"))
            parsedJob.index = IndexFormat::Csv;
        else if (indexText == QLatin1String("json"))
            parsedJob.index = IndexFormat::Json;
        else
            return fail(tr("%1 的值“%2”无效，可选：%3")
                            .arg(dashed(index), parser.value(index), QStringLiteral("csv, json")));
    }
    parsedJob.captureMetadata = !parser.isSet(noMetadata);
    parsedJob.contactSheet = parser.isSet(sheet);

    if (!readSelection(parser))
        return false;
    return readNumber(parser, writerOption, 0, maxWriters, writers);
}
