#ifndef SCENEDETECTOR_H
#define SCENEDETECTOR_H

#include "ffmpegholders.h"
#include "filterchain.h"

#include <optional>

// Tells the frames that start a new shot, by FFmpeg's own scene score (the
// select filter's "scene": 0 for the same picture, 1 for a wholly different
// one) against the frame handed in before.
class SceneDetector
{
public:
    // Sensitivity 1 to 100: the higher, the smaller a change counts as a
    // new shot. 50 finds hard cuts and lets ordinary camera motion pass.
    explicit SceneDetector(int sensitivity);

    static double thresholdFor(int sensitivity);

    // Whether this frame's score against the previous one is above the
    // threshold; false for the first frame and for frames of another size or
    // format than the one before, which start the comparison anew. Where the
    // filter is missing or fails, every frame counts as a new shot, which is
    // logged once.
    bool isSceneChange(const AVFrame *frame);
    // The score of the last frame found a scene change; nothing where the
    // filter gave none.
    std::optional<double> lastScore() const { return score; }

private:
    const double threshold;
    FilterChain chain;
    bool failed = false;
    std::optional<double> score;
};

#endif // SCENEDETECTOR_H
