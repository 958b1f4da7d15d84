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
    // The output folder holds images of the job's naming and format, and
    // the job was not told to overwrite them.
    ImagesExist,
    // Another job, of this process or another, writes into the folder.
    FolderInUse,
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
// the bad option's description for BadOption, the image's path for the
// write failures and the folder for ImagesExist and FolderInUse; other
// outcomes ignore it. `count` is the number of images for ImagesExist.
QString outcomeMessage(Outcome outcome, const QString &detail = QString(), int count = 0);

#endif // OUTCOME_H
