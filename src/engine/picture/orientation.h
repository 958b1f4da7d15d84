#ifndef ORIENTATION_H
#define ORIENTATION_H

#include <QTransform>

#include <cstdint>

extern "C" {
#include <libavutil/rational.h>
}

namespace Picture {

// A display matrix's counter-clockwise rotation in degrees, as the number of
// clockwise quarter turns (0 to 3) that shows the picture upright. Angles in
// between go to the nearest quarter turn; a NaN angle means none.
int clockwiseQuarterTurns(double counterClockwiseDegrees);

// What a player does to a picture with this display matrix (nine 16.16 /
// 2.30 fixed-point values, nullptr for none): mirror it where the matrix
// mirrors, then turn it by the nearest quarter turn. Identity without a
// matrix or for a degenerate one.
QTransform displayTransform(const int32_t *matrix);

// Whether a display transform turns the picture by a quarter turn either
// way, so that its width is shown as its height.
bool turnsSideways(const QTransform &transform);

// The width at which a picture stored `width` pixels wide with this sample
// aspect ratio shows square pixels, rounded to the nearest pixel; the height
// stays. `width` itself for square, unknown (0/x) or absurd ratios.
int squarePixelWidth(int width, AVRational sampleAspectRatio);

} // namespace Picture

#endif // ORIENTATION_H
