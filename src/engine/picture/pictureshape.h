#ifndef PICTURESHAPE_H
#define PICTURESHAPE_H

#include <QSize>

extern "C" {
#include <libavutil/rational.h>
}

namespace Picture {

// Whether frames are deinterlaced before they are converted.
enum class Deinterlace {
    // The frames the decoder or the stream marks as interlaced.
    Auto,
    // Every frame.
    On,
    // None.
    Off,
};

// The limits of a requested side, in pixels.
constexpr int minOutputSide = 1;
constexpr int maxOutputSide = 16384;

// A picture shown at `shown` fitted to a requested width and height (0 for
// a side left free): one side alone keeps the shape with the other side
// rounded to the nearest pixel; both fit the picture inside the box,
// keeping its shape. `shown` itself when neither is given.
QSize fittedSize(QSize shown, int width, int height);

// The size a stored picture of width x height is converted to before it is
// turned upright: square pixels first, then the requested size, which is
// that of the picture as shown, turned sideways where `sideways`.
QSize convertedSize(int width, int height, AVRational sampleAspectRatio, bool sideways,
    int requestedWidth, int requestedHeight);

} // namespace Picture

#endif // PICTURESHAPE_H
