#ifndef REPEATDETECTOR_H
#define REPEATDETECTOR_H

#include "lumareducer.h"

#include <cstdint>
#include <vector>

struct AVFrame;

// Tells whether a frame shows the same picture as the one remembered, the
// way a person would for slides and screen recordings filmed or encoded
// with noise. Both are reduced to the mean luma of blocks of 8 to 16 pixels:
// averaging over a block leaves a small fraction of the noise, while a line
// of text or a small box moves the blocks it covers by far more. A frame
// differs when enough blocks (a thousandth of the picture, at least one)
// moved by more than the sensitivity's threshold, after a slight change of
// the whole picture's brightness (a camera's exposure) is taken out.
class RepeatDetector
{
public:
    // Sensitivity 1 to 100: the higher, the smaller a change that counts.
    explicit RepeatDetector(int sensitivity);

    // How far, in 8-bit luma, a block's mean must move to count as changed.
    static double thresholdFor(int sensitivity);
    // The side of the blocks, in pixels, for a picture of this size.
    static int blockSide(int width, int height);

    // The share of the blocks, 0 to 1, that changed from the remembered
    // picture; 1 where none is remembered or the sizes differ. The frame is
    // kept as the candidate for remember(). -1 where it cannot be measured.
    double difference(const AVFrame *frame);
    // Whether a difference shows the same picture.
    bool isRepeat(double difference) const;
    // The last frame handed to difference() becomes the remembered one.
    void remember();

    // The share of blocks of two reduced pictures of the same size that
    // differ by more than threshold, the picture-wide shift in brightness
    // (up to maxShift levels) taken out.
    static double changedShare(
        const std::vector<uint8_t> &before, const std::vector<uint8_t> &after, double threshold);
    // Fewest changed blocks that make another picture.
    static int changedBlocksNeeded(int blocks);

    static constexpr int maxShift = 24;

private:
    const double threshold;
    LumaReducer reducer;
    std::vector<uint8_t> remembered;
    std::vector<uint8_t> candidate;
    int rememberedWidth = 0;
    int rememberedHeight = 0;
    int candidateWidth = 0;
    int candidateHeight = 0;
};

#endif // REPEATDETECTOR_H
