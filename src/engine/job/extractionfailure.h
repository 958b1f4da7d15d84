#ifndef EXTRACTIONFAILURE_H
#define EXTRACTIONFAILURE_H

// Why a stage of an extraction job stopped. The stages report these; the
// job turns them into translated messages in one place.
enum class ExtractionFailure {
    None,
    FormatContextAllocation,
    OpenInput,
    StreamInfo,
    NoVideoStream,
    UnsupportedCodec,
    CodecContextAllocation,
    CodecParameters,
    CodecOpen,
    NamingPattern,
    OutputDirectory,
    FrameOrPacketAllocation,
    ReadFailed,
    ImageFrameAllocation,
    ImageBufferAllocation,
    ScalerFailed,
    SaveFailed,
    StartPastEnd,
    NoFrames,
    // A single frame was asked for where the video has none.
    NothingAtPosition,
};

#endif // EXTRACTIONFAILURE_H
