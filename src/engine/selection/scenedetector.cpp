#include "scenedetector.h"

#include <QByteArray>
#include <QtDebug>

#include <atomic>

extern "C" {
#include <libavutil/error.h>
}

namespace {

void warnOnce(const char *what, int result)
{
    static std::atomic_bool warned {false};
    warnOnceAboutFilters(
        warned, "Scene changes cannot be told apart, every frame is taken:", what, result);
}

} // namespace

SceneDetector::SceneDetector(int sensitivity)
    : threshold(thresholdFor(sensitivity))
{
}

double SceneDetector::thresholdFor(int sensitivity)
{
    // 0.4, the value commonly given to the ffmpeg program for cuts, in the
    // middle; from 0.694 to 0.1 over the whole range.
    const int clamped = qBound(1, sensitivity, 100);
    return 0.1 + 0.006 * (100 - clamped);
}

bool SceneDetector::isSceneChange(const AVFrame *frame)
{
    score.reset();
    if (failed)
        return true;
    if (!chain.isFor(frame)) {
        const QByteArray select
            = "select='gt(scene\\," + QByteArray::number(threshold, 'f', 4) + ")'";
        const char *what = nullptr;
        if (const int result = chain.build(frame, select.constData(), &what); result < 0) {
            warnOnce(what, result);
            failed = true;
            return true;
        }
    }
    const int result = chain.filter(frame);
    // The select filter leaves its score in the frame it lets through.
    if (result >= 0) {
        if (const AVDictionaryEntry *entry
            = av_dict_get(chain.output()->metadata, "lavfi.scene_score", nullptr, 0)) {
            bool ok = false;
            const double value = QByteArray(entry->value).toDouble(&ok);
            if (ok)
                score = value;
        }
    }
    av_frame_unref(chain.output());
    if (result == AVERROR(EAGAIN))
        return false;
    if (result < 0) {
        warnOnce("filtering failed:", result);
        failed = true;
        return true;
    }
    return true;
}
