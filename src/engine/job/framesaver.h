#ifndef FRAMESAVER_H
#define FRAMESAVER_H

#include "extractionjob.h"
#include "outcome.h"

#include <QString>

// Where saveFrame wrote the frame, or why it did not.
struct SavedFrame
{
    QString filePath;
    Outcome outcome = Outcome::Converted;
    // The outcome's message; empty when the frame was written.
    QString error;
};

// Writes the frame a player shows at positionMs, milliseconds from the
// stream's start (the clock of FrameSelection's range): the last frame whose
// time, in whole milliseconds, is at or before it. At the job's size, with
// the job's format, quality, bit depth, orientation, deinterlacing and HDR
// handling, into job.outputPath, made where it is missing, as
// job.namingPattern with every "%1" replaced by the frame's time: "frame_%1" gives
// "frame_00-01-23.456.png". A file is never written over: a taken name gets
// " (2)", " (3)"... The job's selection and timeInNames play no part.
// Blocks until done; may be called on any thread.
SavedFrame saveFrame(const ExtractionJob &job, qint64 positionMs);

#endif // FRAMESAVER_H
