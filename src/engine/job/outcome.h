#ifndef OUTCOME_H
#define OUTCOME_H

#include <QString>

// How a job, or one of its stages, ended: one value of a closed set. Scripts
// read its code, people its message, made at the edge in their language.
enum class Outcome {
    Converted,
    Stopped,
    BadOption,
    // The file is missing or cannot be read.
    CannotOpenVideo,
    // The file is read, but no demuxer takes it as one local video.
    NotAVideo,
    NoVideoStream,
    UnsupportedCodec,
    CannotOpenDecoder,
    ReadFailed,
    StartPastEnd,
    NoFrames,
    // Keyframes only, and the range holds none.
    NoKeyframeInRange,
    // A single frame was asked for where the video has none.
    NothingAtPosition,
    CannotMakeFolder,
    CannotConvert,
    CannotWrite,
    DiskFull,
    OutOfMemory,
};

// A stable ASCII name, the same in every language: "cannot-open-video".
// Converted has "converted", though scripts are given none for it.
const char *outcomeCode(Outcome outcome);

// Every outcome, in declaration order.
const QList<Outcome> &allOutcomes();

// The message the user reads, translated; empty for Converted. `detail` is
// the bad option's description for BadOption and the image's path for the
// write failures; other outcomes ignore it.
QString outcomeMessage(Outcome outcome, const QString &detail = QString());

#endif // OUTCOME_H
