#include "filterchain.h"

#include <QByteArray>
#include <QtDebug>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

void warnOnceAboutFilters(
    std::atomic_bool &warned, const char *consequence, const char *what, int result)
{
    if (warned.exchange(true))
        return;
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(result, reason, sizeof(reason));
    qWarning() << consequence << what << reason;
}

int FilterChain::build(const AVFrame *frame, const char *chain, const char **what, int threads)
{
    width = frame->width;
    height = frame->height;
    format = frame->format;
    graph.reset(avfilter_graph_alloc());
    if (!input)
        input.reset(av_frame_alloc());
    if (!out)
        out.reset(av_frame_alloc());
    nextPts = 0;
    *what = "out of memory";
    if (!graph || !input || !out)
        return AVERROR(ENOMEM);
    graph->nb_threads = threads;
    const AVRational aspect
        = frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio : AVRational {1, 1};
    const QByteArray sourceArguments = QByteArray("video_size=") + QByteArray::number(frame->width)
        + 'x' + QByteArray::number(frame->height) + ":pix_fmt=" + QByteArray::number(frame->format)
        + ":time_base=1/1:pixel_aspect=" + QByteArray::number(aspect.num) + '/'
        + QByteArray::number(aspect.den);
    source = avfilter_graph_alloc_filter(graph.get(), avfilter_get_by_name("buffer"), "source");
    *what = "no buffer source";
    if (!source)
        return AVERROR_FILTER_NOT_FOUND;
    // Newer sources also declare the colour space and range of their frames;
    // older ones have no such options and pass the frames' tags on anyway.
    av_opt_set_int(source, "colorspace", frame->colorspace, AV_OPT_SEARCH_CHILDREN);
    av_opt_set_int(source, "range", frame->color_range, AV_OPT_SEARCH_CHILDREN);
    *what = "the buffer source refused the frame:";
    int result = avfilter_init_str(source, sourceArguments.constData());
    if (result < 0)
        return result;
    *what = "no buffer sink:";
    result = avfilter_graph_create_filter(
        &sink, avfilter_get_by_name("buffersink"), "sink", nullptr, nullptr, graph.get());
    if (result < 0)
        return result;

    // The open ends of the chain, named from the chain's point of view: its
    // input is the source's output and its output the sink's input.
    FFmpeg::FilterInOutPtr chainInput(avfilter_inout_alloc());
    FFmpeg::FilterInOutPtr chainOutput(avfilter_inout_alloc());
    *what = "out of memory";
    if (!chainInput || !chainOutput)
        return AVERROR(ENOMEM);
    chainInput->name = av_strdup("in");
    chainInput->filter_ctx = source;
    chainOutput->name = av_strdup("out");
    chainOutput->filter_ctx = sink;
    AVFilterInOut *inputs = chainOutput.release();
    AVFilterInOut *outputs = chainInput.release();
    result = avfilter_graph_parse_ptr(graph.get(), chain, &inputs, &outputs, nullptr);
    chainOutput.reset(inputs);
    chainInput.reset(outputs);
    *what = "the filters are missing:";
    if (result < 0)
        return result;
    *what = "the filter graph could not be configured:";
    return avfilter_graph_config(graph.get(), nullptr);
}

bool FilterChain::isFor(const AVFrame *frame) const
{
    return frame->width == width && frame->height == height && frame->format == format;
}

int FilterChain::filterLast(const AVFrame *frame)
{
    // Whatever happens, this graph is spent.
    format = -1;
    return push(frame, true);
}

int FilterChain::filter(const AVFrame *frame)
{
    return push(frame, false);
}

int FilterChain::push(const AVFrame *frame, bool last)
{
    int result = av_frame_ref(input.get(), frame);
    if (result < 0)
        return result;
    // The source wants increasing stamps; the filters used here look at no
    // other timing.
    input->pts = nextPts++;
    result = av_buffersrc_add_frame(source, input.get());
    av_frame_unref(input.get());
    if (result >= 0 && last)
        result = av_buffersrc_add_frame(source, nullptr);
    if (result < 0)
        return result;
    av_frame_unref(out.get());
    return av_buffersink_get_frame(sink, out.get());
}
