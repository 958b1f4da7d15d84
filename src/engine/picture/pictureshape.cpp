#include "pictureshape.h"

#include "orientation.h"

#include <QtGlobal>

#include <climits>
#include <cstdint>

namespace Picture {

namespace {

// a * b / c to the nearest integer, at least 1.
int scaledSide(int a, int b, int c)
{
    const int64_t rounded = (2 * int64_t(a) * b + c) / (2 * int64_t(c));
    return int(qBound<int64_t>(1, rounded, int64_t(INT32_MAX)));
}

} // namespace

QSize fittedSize(QSize shown, int width, int height)
{
    if (shown.isEmpty() || (width <= 0 && height <= 0))
        return shown;
    // Width decides where it is the only side given, or where the box is
    // relatively narrower than the picture.
    const bool byWidth = width > 0
        && (height <= 0 || int64_t(width) * shown.height() <= int64_t(height) * shown.width());
    if (byWidth)
        return QSize(width, scaledSide(shown.height(), width, shown.width()));
    return QSize(scaledSide(shown.width(), height, shown.height()), height);
}

QSize convertedSize(int width, int height, AVRational sampleAspectRatio, bool sideways,
    int requestedWidth, int requestedHeight)
{
    const QSize stored(squarePixelWidth(width, sampleAspectRatio), height);
    const QSize shown = sideways ? stored.transposed() : stored;
    const QSize fitted = fittedSize(shown, requestedWidth, requestedHeight);
    return sideways ? fitted.transposed() : fitted;
}

} // namespace Picture
