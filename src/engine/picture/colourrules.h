#ifndef COLOURRULES_H
#define COLOURRULES_H

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace Picture {

// The swscale colour-space constant (SWS_CS_*) for a frame's matrix tag.
// Untagged frames follow the common practice: BT.601 below 720 lines,
// BT.709 from 720 lines up.
int swsColorspace(AVColorSpace colorspace, int height);

// Whether a YUV frame's samples use the full 0-255 range: tagged so, or in
// one of the "yuvj" formats that imply it. Anything else is limited range.
bool isFullRange(AVColorRange range, AVPixelFormat format);

} // namespace Picture

#endif // COLOURRULES_H
