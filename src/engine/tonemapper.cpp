#include "tonemapper.h"

#include <QByteArray>
#include <QtDebug>

#include <atomic>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

namespace {

// Linear light at a nominal peak of 100 cd/m², BT.709 primaries, Hable's
// curve without desaturation, then BT.709 transfer and matrix. The last
// format keeps 16 bits for the 16-bit depth; swscale takes it from there.
constexpr char toneMapChain[] = "zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,"
                                "tonemap=tonemap=hable:desat=0,"
                                "zscale=t=bt709:m=bt709:r=tv,format=yuv444p16le";

void warnOnce(const char *what, int result)
{
    static std::atomic_bool warned {false};
    if (warned.exchange(true))
        return;
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(result, reason, sizeof(reason));
    qWarning() << "HDR frames are converted without tone mapping:" << what << reason;
}

} // namespace

bool ToneMapper::isHdr(const AVFrame *frame)
{
    return frame->color_trc == AVCOL_TRC_SMPTE2084 || frame->color_trc == AVCOL_TRC_ARIB_STD_B67;
}

const AVFrame *ToneMapper::map(const AVFrame *frame)
{
    if (frame->width != width || frame->height != height || frame->format != format) {
        width = frame->width;
        height = frame->height;
        format = frame->format;
        if (!build(frame))
            graph.reset();
    }
    if (!graph)
        return nullptr;

    int result = av_frame_ref(input.get(), frame);
    if (result < 0) {
        warnOnce("the frame could not be referenced:", result);
        return nullptr;
    }
    // The filters look at no timing, but the source wants increasing stamps.
    input->pts = nextPts++;
    result = av_buffersrc_add_frame(source, input.get());
    av_frame_unref(input.get());
    if (result >= 0) {
        av_frame_unref(output.get());
        result = av_buffersink_get_frame(sink, output.get());
    }
    if (result < 0) {
        warnOnce("filtering failed:", result);
        // A graph that failed once is not trusted with later frames.
        graph.reset();
        return nullptr;
    }
    return output.get();
}

bool ToneMapper::build(const AVFrame *frame)
{
    graph.reset(avfilter_graph_alloc());
    if (!input)
        input.reset(av_frame_alloc());
    if (!output)
        output.reset(av_frame_alloc());
    if (!graph || !input || !output) {
        warnOnce("out of memory", AVERROR(ENOMEM));
        return false;
    }
    const AVRational aspect
        = frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio : AVRational {1, 1};
    const QByteArray sourceArguments = QByteArray("video_size=") + QByteArray::number(frame->width)
        + 'x' + QByteArray::number(frame->height) + ":pix_fmt=" + QByteArray::number(frame->format)
        + ":time_base=1/1:pixel_aspect=" + QByteArray::number(aspect.num) + '/'
        + QByteArray::number(aspect.den);
    source = avfilter_graph_alloc_filter(graph.get(), avfilter_get_by_name("buffer"), "source");
    if (!source) {
        warnOnce("no buffer source", AVERROR_FILTER_NOT_FOUND);
        return false;
    }
    // Newer sources also declare the colour space and range of their frames;
    // older ones have no such options and pass the frames' tags on anyway.
    av_opt_set_int(source, "colorspace", frame->colorspace, AV_OPT_SEARCH_CHILDREN);
    av_opt_set_int(source, "range", frame->color_range, AV_OPT_SEARCH_CHILDREN);
    int result = avfilter_init_str(source, sourceArguments.constData());
    if (result < 0) {
        warnOnce("the buffer source refused the frame:", result);
        return false;
    }
    result = avfilter_graph_create_filter(
        &sink, avfilter_get_by_name("buffersink"), "sink", nullptr, nullptr, graph.get());
    if (result < 0) {
        warnOnce("no buffer sink:", result);
        return false;
    }

    // The open ends of the chain, named from the chain's point of view: its
    // input is the source's output and its output the sink's input.
    FFmpeg::FilterInOutPtr chainInput(avfilter_inout_alloc());
    FFmpeg::FilterInOutPtr chainOutput(avfilter_inout_alloc());
    if (!chainInput || !chainOutput) {
        warnOnce("out of memory", AVERROR(ENOMEM));
        return false;
    }
    chainInput->name = av_strdup("in");
    chainInput->filter_ctx = source;
    chainOutput->name = av_strdup("out");
    chainOutput->filter_ctx = sink;
    AVFilterInOut *inputs = chainOutput.release();
    AVFilterInOut *outputs = chainInput.release();
    result = avfilter_graph_parse_ptr(graph.get(), toneMapChain, &inputs, &outputs, nullptr);
    chainOutput.reset(inputs);
    chainInput.reset(outputs);
    if (result < 0) {
        warnOnce("the tone-mapping filters are missing (zscale needs libzimg):", result);
        return false;
    }
    result = avfilter_graph_config(graph.get(), nullptr);
    if (result < 0) {
        warnOnce("the filter graph could not be configured:", result);
        return false;
    }
    return true;
}
