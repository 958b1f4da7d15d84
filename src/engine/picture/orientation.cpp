#include "orientation.h"

#include <QtMath>

#include <cmath>

namespace Picture {

int clockwiseQuarterTurns(double counterClockwiseDegrees)
{
    if (!std::isfinite(counterClockwiseDegrees))
        return 0;
    const long turns = std::lround(-counterClockwiseDegrees / 90.0);
    return int(((turns % 4) + 4) % 4);
}

QTransform displayTransform(const int32_t *matrix)
{
    if (!matrix)
        return QTransform();
    // The matrix maps row vectors, (x' y') = (x y) [a b; c d], in the same
    // downward-y picture coordinates as QTransform.
    constexpr double unit = 1 << 16;
    double a = matrix[0] / unit;
    double b = matrix[1] / unit;
    const double c = matrix[3] / unit;
    const double d = matrix[4] / unit;
    const double determinant = a * d - b * c;
    if (!std::isfinite(determinant) || determinant == 0.0)
        return QTransform();

    QTransform transform;
    if (determinant < 0) {
        // Mirroring the source's horizontal axis first leaves a rotation.
        transform = QTransform::fromScale(-1, 1);
        a = -a;
        b = -b;
    }
    const double clockwiseDegrees = qRadiansToDegrees(std::atan2(b, a));
    const int turns = clockwiseQuarterTurns(-clockwiseDegrees);
    if (turns != 0)
        transform *= QTransform().rotate(90.0 * turns);
    return transform;
}

bool turnsSideways(const QTransform &transform)
{
    // displayTransform makes only mirrors and quarter turns.
    return qAbs(transform.m11()) < 0.5;
}

int squarePixelWidth(int width, AVRational sampleAspectRatio)
{
    if (sampleAspectRatio.num <= 0 || sampleAspectRatio.den <= 0
        || sampleAspectRatio.num == sampleAspectRatio.den) {
        return width;
    }
    const double ratio = av_q2d(sampleAspectRatio);
    const double stretched = std::round(width * ratio);
    // No real format stores pixels 16 times wider or narrower than they are
    // shown: such a ratio is damage, and would ask for a huge picture.
    if (ratio > 16 || ratio < 1.0 / 16 || stretched < 1 || stretched > 32768)
        return width;
    return int(stretched);
}

} // namespace Picture
