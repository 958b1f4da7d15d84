#include "repeatdetector.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/frame.h>
}

RepeatDetector::RepeatDetector(int sensitivity)
    : threshold(thresholdFor(sensitivity))
{
}

double RepeatDetector::thresholdFor(int sensitivity)
{
    // 16 levels in the middle: several times what noise leaves in a block's
    // mean, a fraction of what a line of text moves it by.
    const int clamped = qBound(1, sensitivity, 100);
    return 2 + 0.28 * (100 - clamped);
}

int RepeatDetector::blockSide(int width, int height)
{
    return qBound(8, qMin(width, height) / 45, 16);
}

int RepeatDetector::changedBlocksNeeded(int blocks)
{
    return qMax(1, blocks / 1000);
}

double RepeatDetector::changedShare(
    const std::vector<uint8_t> &before, const std::vector<uint8_t> &after, double threshold)
{
    if (before.size() != after.size() || before.empty())
        return 1;
    std::vector<int> differences(before.size());
    for (size_t i = 0; i < before.size(); ++i)
        differences[i] = int(after[i]) - int(before[i]);
    // The median difference is how far the whole picture moved; a slight
    // move is the camera's, a large one a new picture.
    std::vector<int> sorted = differences;
    const auto middle = sorted.begin() + sorted.size() / 2;
    std::nth_element(sorted.begin(), middle, sorted.end());
    const int shift = std::abs(*middle) <= maxShift ? *middle : 0;
    const auto changed = std::count_if(differences.cbegin(), differences.cend(),
        [&](int difference) { return std::abs(difference - shift) > threshold; });
    return double(changed) / differences.size();
}

double RepeatDetector::difference(const AVFrame *frame)
{
    const int side = blockSide(frame->width, frame->height);
    candidateWidth = qMax(1, (frame->width + side / 2) / side);
    candidateHeight = qMax(1, (frame->height + side / 2) / side);
    candidate = reducer.reduce(frame, candidateWidth, candidateHeight);
    if (candidate.empty())
        return -1;
    if (remembered.empty() || candidateWidth != rememberedWidth
        || candidateHeight != rememberedHeight) {
        return 1;
    }
    return changedShare(remembered, candidate, threshold);
}

bool RepeatDetector::isRepeat(double difference) const
{
    if (difference < 0 || remembered.empty())
        return false;
    const int blocks = rememberedWidth * rememberedHeight;
    return difference * blocks < changedBlocksNeeded(blocks) - 0.5;
}

void RepeatDetector::remember()
{
    remembered.swap(candidate);
    rememberedWidth = candidateWidth;
    rememberedHeight = candidateHeight;
    candidate.clear();
}
