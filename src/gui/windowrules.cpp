#include "windowrules.h"

#include <QTime>

#include <algorithm>

QString formatClockTime(qint64 milliseconds)
{
    const qint64 secondsOfDay = (milliseconds / 1000) % (24 * 60 * 60);
    return QTime(0, 0).addSecs(int(secondsOfDay)).toString(QStringLiteral("hh:mm:ss"));
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
