#ifndef STREAMLENGTH_H
#define STREAMLENGTH_H

#include <cstdint>

class MediaInput;

namespace StreamLength {

// The length of the input's video stream, found by reading all its packets
// (not decoding them): up to the end of the latest packet's time, or the
// number of packets times the frame period where the packets have no times.
// Reads the input to its end, so it is for an input of its own.
// AV_NOPTS_VALUE where the stream has no packet.
int64_t measureUs(MediaInput &input);

} // namespace StreamLength

#endif // STREAMLENGTH_H
