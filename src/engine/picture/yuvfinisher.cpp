#include "yuvfinisher.h"

#include <atomic>

namespace {

// The colorspace filter's name of a swscale matrix constant.
const char *matrixName(int matrix)
{
    switch (matrix) {
    case SWS_CS_ITU709:
        return "bt709";
    case SWS_CS_FCC:
        return "fcc";
    case SWS_CS_SMPTE240M:
        return "smpte240m";
    case SWS_CS_BT2020:
        return "bt2020ncl";
    default:
        return "bt470bg";
    }
}

// The quarter turns clockwise that follow the mirror, if any.
int quarterTurns(const QTransform &orientation)
{
    const QTransform turn
        = orientation.determinant() < 0 ? QTransform::fromScale(-1, 1) * orientation : orientation;
    if (turn.m11() > 0.5)
        return 0;
    if (turn.m12() > 0.5)
        return 1;
    if (turn.m11() < -0.5)
        return 2;
    return 3;
}

QByteArray chainFor(const AVFrame *frame, QSize picture, int matrix, bool fullRange,
    bool wantFullRange, const QTransform &orientation)
{
    QByteArray chain;
    const auto add = [&chain](const QByteArray &filter) {
        if (!chain.isEmpty())
            chain += ',';
        chain += filter;
    };
    if (YuvFinisher::convertsColour(matrix, fullRange, wantFullRange)) {
        // Equal primaries and transfer on both sides leave the YUV-to-YUV
        // matrix alone: the colours stay what they were, read with BT.601.
        add(QByteArray("colorspace=fast=1:iprimaries=bt709:itrc=bt709:primaries=bt709:trc=bt709")
            + ":ispace=" + matrixName(matrix) + ":irange=" + (fullRange ? "pc" : "tv")
            + ":space=bt470bg:range=" + (wantFullRange ? "pc" : "tv") + ":format=yuv420p");
    }
    if (picture != QSize(frame->width, frame->height)) {
        add("crop=" + QByteArray::number(picture.width()) + ':'
            + QByteArray::number(picture.height()) + ":0:0:exact=1");
    }
    // A player mirrors first, then turns.
    if (orientation.determinant() < 0)
        add("hflip");
    static const char *const turns[] = {"", "transpose=clock", "hflip,vflip", "transpose=cclock"};
    if (const int turn = quarterTurns(orientation); turn != 0)
        add(turns[turn]);
    add("format=yuv420p");
    return chain;
}

void warnOnce(const char *what, int result)
{
    static std::atomic_bool warned {false};
    warnOnceAboutFilters(
        warned, "JPEG and WebP images go through RGB instead of YUV:", what, result);
}

} // namespace

bool YuvFinisher::isNeeded(
    int matrix, bool fullRange, bool wantFullRange, const QTransform &orientation)
{
    return convertsColour(matrix, fullRange, wantFullRange) || !orientation.isIdentity();
}

bool YuvFinisher::convertsColour(int matrix, bool fullRange, bool wantFullRange)
{
    return matrix != SWS_CS_ITU601 || fullRange != wantFullRange;
}

const AVFrame *YuvFinisher::finish(const AVFrame *frame, QSize picture, int matrix, bool fullRange,
    bool wantFullRange, const QTransform &orientation)
{
    const QByteArray wanted
        = chainFor(frame, picture, matrix, fullRange, wantFullRange, orientation);
    if (!chain.isFor(frame) || wanted != description) {
        description = wanted;
        const char *what = nullptr;
        // One thread: the job already runs one writer per core.
        if (const int result = chain.build(frame, description.constData(), &what, 1); result < 0) {
            warnOnce(what, result);
            chain.reset();
            return nullptr;
        }
    }
    if (!chain.isBuilt())
        return nullptr;
    if (const int result = chain.filter(frame); result < 0) {
        warnOnce("filtering failed:", result);
        chain.reset();
        description.clear();
        return nullptr;
    }
    return chain.output();
}
