#include "windowrules.h"

#include <QDir>
#include <QFileInfo>
#include <QTime>

#include <algorithm>
#include <cmath>

QString formatClockTime(qint64 milliseconds)
{
    const qint64 secondsOfDay = (milliseconds / 1000) % (24 * 60 * 60);
    return QTime(0, 0).addSecs(int(secondsOfDay)).toString(QStringLiteral("hh:mm:ss"));
}

QString formatFrameTime(qint64 milliseconds)
{
    const qint64 ofDay = std::max<qint64>(milliseconds, 0) % (qint64(24) * 60 * 60 * 1000);
    return QTime(0, 0).addMSecs(int(ofDay)).toString(QStringLiteral("hh:mm:ss.zzz"));
}

QSizeF previewShape(const QSizeF &nativeSize, const QSize &storedSize, const QSize &squarePixelSize)
{
    if (storedSize.isEmpty() || squarePixelSize.isEmpty() || nativeSize.isEmpty())
        return nativeSize;
    // Aspects as logarithms, so that a picture turned a quarter has the
    // opposite one. The player's picture is the stored or the square-pixel
    // one, turned or not: whichever is nearest.
    const auto aspect = [](double width, double height) {
        return std::log(width / height);
    };
    const double shown = aspect(nativeSize.width(), nativeSize.height());
    const double stored = aspect(storedSize.width(), storedSize.height());
    const double square = aspect(squarePixelSize.width(), squarePixelSize.height());
    const double asStored = std::min(std::abs(shown - stored), std::abs(shown - square));
    const double turned = std::min(std::abs(shown + stored), std::abs(shown + square));
    return QSizeF(turned < asStored ? squarePixelSize.transposed() : squarePixelSize);
}

const QList<PlayerStepKey> &playerStepKeys()
{
    static const QList<PlayerStepKey> keys {
        {QKeySequence(Qt::Key_Left), {-1, false}},
        {QKeySequence(Qt::Key_Right), {1, false}},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), {-1, true}},
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), {1, true}},
    };
    return keys;
}

std::optional<QRect> fitVideoRect(const QSizeF &nativeSize, const QSize &viewSize)
{
    const int nw = qRound(nativeSize.width());
    const int nh = qRound(nativeSize.height());
    if (nw <= 0 || nh <= 0)
        return std::nullopt;

    const int vw = viewSize.width();
    const int vh = viewSize.height();
    const double scale = std::min(double(vw) / nw, double(vh) / nh);
    const int w = int(scale * nw);
    const int h = int(scale * nh);
    return QRect((vw - w) / 2, (vh - h) / 2, w, h);
}

ControlStates controlStatesFor(bool processing, bool hasPlayer, bool mediaLoaded, qint64 position)
{
    return {!processing, !processing && mediaLoaded,
        hasPlayer && !processing && mediaLoaded && position > 0};
}

bool formatHoldsDepth(const QString &format, Picture::BitDepth depth)
{
    const auto is = [&format](const char *name) {
        return format.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    switch (depth) {
    case Picture::BitDepth::Rgb16:
        return is("PNG") || is("TIFF");
    case Picture::BitDepth::Rgba32:
        return is("PNG") || is("TIFF") || is("WebP") || is("TGA");
    case Picture::BitDepth::Gray8:
    case Picture::BitDepth::Rgb24:
        break;
    }
    return true;
}

QString namePatternForIndex(int index, const QString &current)
{
    switch (index) {
    case 0:
        return QStringLiteral("frame_%1");
    case 1:
        return QStringLiteral("image_%1");
    case 2:
        return QStringLiteral("video_%1");
    default:
        return current;
    }
}

const QStringList &videoFileSuffixes()
{
    // Those of every type the desktop entry claims, the common ones first.
    static const QStringList suffixes {QStringLiteral("mp4"), QStringLiteral("avi"),
        QStringLiteral("mov"), QStringLiteral("mkv"), QStringLiteral("flv"), QStringLiteral("wmv"),
        QStringLiteral("mpeg"), QStringLiteral("mpg"), QStringLiteral("webm"), QStringLiteral("ts"),
        QStringLiteral("mts"), QStringLiteral("m2ts"), QStringLiteral("mxf"), QStringLiteral("3gp"),
        QStringLiteral("ogv"), QStringLiteral("m4v"), QStringLiteral("ogg"), QStringLiteral("asf"),
        QStringLiteral("dv"), QStringLiteral("mjpeg"), QStringLiteral("mjpg"),
        QStringLiteral("vob"), QStringLiteral("m2t"), QStringLiteral("3gpp")};
    return suffixes;
}

QString videoFieldText(const QStringList &paths)
{
    if (paths.size() <= 1)
        return paths.value(0);
    return QStringLiteral("%1 (+%2)").arg(paths.first()).arg(paths.size() - 1);
}

QStringList droppedVideoPaths(const QList<QUrl> &urls)
{
    QStringList nameFilters;
    for (const QString &suffix : videoFileSuffixes())
        nameFilters << QStringLiteral("*.") + suffix;

    QStringList paths;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo info(url.toLocalFile());
        if (info.isFile()) {
            paths << info.absoluteFilePath();
        } else if (info.isDir()) {
            const QDir folder(info.absoluteFilePath());
            for (const QString &name : folder.entryList(
                     nameFilters, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase))
                paths << folder.filePath(name);
        }
    }
    return paths;
}

void TimeLeft::add(qint64 elapsedMs, double done)
{
    samples.push_back({elapsedMs, done});
    // The oldest kept is the last one a whole window back.
    while (samples.size() > 2 && samples[1].elapsedMs <= elapsedMs - windowMs)
        samples.pop_front();
}

std::optional<qint64> TimeLeft::ms() const
{
    const Sample &last = samples.back();
    const Sample &first = samples.front();
    if (last.elapsedMs < 2000 || last.done <= 0)
        return std::nullopt;
    const double gained = last.done - first.done;
    const qint64 took = last.elapsedMs - first.elapsedMs;
    if (gained <= 0 || took <= 0)
        return std::nullopt;
    return qint64(took * (1 - std::min(last.done, 1.0)) / gained);
}

double batchDone(int videoIndex, int videoCount, int frame, int totalFrames)
{
    if (videoCount <= 0)
        return 0;
    const double video = totalFrames > 0 ? std::clamp(double(frame) / totalFrames, 0.0, 1.0) : 0;
    return (videoIndex + video) / videoCount;
}

QString formatTimeLeft(qint64 milliseconds)
{
    const qint64 seconds = (std::max<qint64>(milliseconds, 0) + 999) / 1000;
    if (seconds < 3600)
        return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
