#include "joboption.h"

#include "extractionjob.h"
#include "imageformats.h"
#include "imagenaming.h"

#include <QImageWriter>

#include <cmath>
#include <limits>
#include <optional>

namespace {

using Id = JobOption::Id;
using Kind = JobOption::Kind;
using Mode = FrameSelection::Mode;
using Getter = QVariant (*)(const ExtractionJob &);
using Setter = void (*)(ExtractionJob &, const QVariant &);

constexpr double unbounded = std::numeric_limits<double>::infinity();

JobOption make(Id id, const char *name, Kind kind, double minimum, double maximum,
    const QVariant &defaultValue, const char *valueName, const char *label, const char *help,
    Getter get, Setter set)
{
    return {id, name, kind, minimum, maximum, defaultValue, valueName, label, help, nullptr,
        JobOption::noMode, nullptr, get, set};
}

JobOption withMode(JobOption row, Mode mode)
{
    row.mode = int(mode);
    return row;
}

JobOption withNone(JobOption row, const char *noneText)
{
    row.noneText = noneText;
    return row;
}

JobOption withChoices(JobOption row, QList<JobOption::Choice> (*choices)())
{
    row.choices = choices;
    return row;
}

struct DepthName
{
    const char *bits;
    Picture::BitDepth depth;
};

constexpr DepthName depthNames[] = {
    {"8", Picture::BitDepth::Gray8},
    {"16", Picture::BitDepth::Rgb16},
    {"24", Picture::BitDepth::Rgb24},
    {"32", Picture::BitDepth::Rgba32},
};

QList<JobOption::Choice> formatChoices()
{
    QList<JobOption::Choice> choices;
    const QStringList formats
        = ImageFormats::buildFormatList(QImageWriter::supportedImageFormats());
    for (const QString &format : formats)
        choices.append({format, QString()});
    return choices;
}

struct DeinterlaceName
{
    const char *name;
    const char *label;
    Picture::Deinterlace mode;
};

constexpr DeinterlaceName deinterlaceNames[] = {
    {"auto", QT_TRANSLATE_NOOP("JobOption", "自动"), Picture::Deinterlace::Auto},
    {"on", QT_TRANSLATE_NOOP("JobOption", "开"), Picture::Deinterlace::On},
    {"off", QT_TRANSLATE_NOOP("JobOption", "关"), Picture::Deinterlace::Off},
};

QList<JobOption::Choice> deinterlaceChoices()
{
    QList<JobOption::Choice> choices;
    for (const DeinterlaceName &name : deinterlaceNames)
        choices.append({QString::fromLatin1(name.name), JobOption::tr(name.label)});
    return choices;
}

// A requested side: null where it is left free.
QVariant sideValue(const std::optional<int> &side)
{
    return side ? QVariant(*side) : QVariant();
}

std::optional<int> sideFrom(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
}

QList<JobOption::Choice> depthChoices()
{
    QList<JobOption::Choice> choices;
    for (const DepthName &name : depthNames)
        choices.append({QString::fromLatin1(name.bits), QString()});
    return choices;
}

// None first: the window's list shows the default first.
QList<JobOption::Choice> indexChoices()
{
    return {{QStringLiteral("none"), JobOption::tr("不写")},
        {QStringLiteral("csv"), QStringLiteral("CSV")},
        {QStringLiteral("json"), QStringLiteral("JSON")}};
}

std::vector<JobOption> makeTable()
{
    std::vector<JobOption> rows;
    rows.push_back(withChoices(
        make(
            Id::Format, "format", Kind::Choice, 0, 0, QStringLiteral("JPG"), "F",
            QT_TRANSLATE_NOOP("JobOption", "格式"),
            QT_TRANSLATE_NOOP("JobOption", "图片格式，不分大小写"),
            [](const ExtractionJob &job) { return QVariant(job.format); },
            [](ExtractionJob &job, const QVariant &value) { job.format = value.toString(); }),
        formatChoices));
    rows.push_back(make(
        Id::Quality, "quality", Kind::Number, 1, 100, 90, "Q",
        QT_TRANSLATE_NOOP("JobOption", "质量"),
        QT_TRANSLATE_NOOP("JobOption", "图片质量；PNG 把它当作压缩级别"),
        [](const ExtractionJob &job) { return QVariant(job.quality); },
        [](ExtractionJob &job, const QVariant &value) { job.quality = value.toInt(); }));
    rows.push_back(
        withChoices(make(
                        Id::Depth, "depth", Kind::Choice, 0, 0, QStringLiteral("24"), "D",
                        QT_TRANSLATE_NOOP("JobOption", "位深度"),
                        QT_TRANSLATE_NOOP("JobOption", "每像素的位数，8 为灰度，32 带透明通道"),
                        [](const ExtractionJob &job) {
                            for (const DepthName &name : depthNames) {
                                if (name.depth == job.bitDepth)
                                    return QVariant(QString::fromLatin1(name.bits));
                            }
                            return QVariant();
                        },
                        [](ExtractionJob &job, const QVariant &value) {
                            for (const DepthName &name : depthNames) {
                                if (value.toString() == QLatin1String(name.bits))
                                    job.bitDepth = name.depth;
                            }
                        }),
            depthChoices));
    rows.push_back(
        withMode(make(
                     Id::Rate, "rate", Kind::Number, 1, 60, 5, "N",
                     QT_TRANSLATE_NOOP("JobOption", "帧率 (fps)"),
                     QT_TRANSLATE_NOOP("JobOption", "每秒视频取 N 帧"),
                     [](const ExtractionJob &job) { return QVariant(job.selection.frameRate); },
                     [](ExtractionJob &job, const QVariant &value) {
                         job.selection.frameRate = value.toInt();
                     }),
            Mode::FramesPerSecond));
    rows.push_back(
        withMode(make(
                     Id::Every, "every", Kind::Decimal, 0.1, 3600, 10.0, "S",
                     QT_TRANSLATE_NOOP("JobOption", "间隔 (秒)"),
                     QT_TRANSLATE_NOOP("JobOption", "每隔 S 秒取一帧"),
                     [](const ExtractionJob &job) { return QVariant(job.selection.everySeconds); },
                     [](ExtractionJob &job, const QVariant &value) {
                         job.selection.everySeconds = value.toDouble();
                     }),
            Mode::EverySeconds));
    rows.push_back(withMode(make(
                                Id::Keyframes, "keyframes", Kind::Switch, 0, 0, false, "",
                                QT_TRANSLATE_NOOP("JobOption", "仅关键帧"),
                                QT_TRANSLATE_NOOP("JobOption", "只取关键帧，其余的帧不解码"),
                                [](const ExtractionJob &job) {
                                    return QVariant(job.selection.mode == Mode::Keyframes);
                                },
                                [](ExtractionJob &, const QVariant &) {}),
        Mode::Keyframes));
    rows.push_back(withMode(
        make(
            Id::Scenes, "scenes", Kind::Number, 1, 100, 50, "N",
            QT_TRANSLATE_NOOP("JobOption", "灵敏度"),
            QT_TRANSLATE_NOOP(
                "JobOption", "每个场景取一帧，N 为灵敏度，越大越易判为新场景，50 找出硬切换"),
            [](const ExtractionJob &job) { return QVariant(job.selection.sceneSensitivity); },
            [](ExtractionJob &job, const QVariant &value) {
                job.selection.sceneSensitivity = value.toInt();
            }),
        Mode::SceneChanges));
    rows.push_back(withMode(
        make(
            Id::Count, "count", Kind::Number, 1, 100000, 10, "N",
            QT_TRANSLATE_NOOP("JobOption", "图片数量"),
            QT_TRANSLATE_NOOP(
                "JobOption", "在范围内均匀取 N 帧：把范围分成 N 等份，取每份中点处或其后的第一帧"),
            [](const ExtractionJob &job) { return QVariant(job.selection.count); },
            [](ExtractionJob &job, const QVariant &value) { job.selection.count = value.toInt(); }),
        Mode::Count));
    rows.push_back(make(
        Id::Sharpest, "sharpest", Kind::Switch, 0, 0, false, "",
        QT_TRANSLATE_NOOP("JobOption", "取最清晰的帧"),
        QT_TRANSLATE_NOOP(
            "JobOption", "按间隔或按数量取帧时，取每一段中最清晰的帧，而不是段首的帧"),
        [](const ExtractionJob &job) { return QVariant(job.selection.sharpest); },
        [](ExtractionJob &job, const QVariant &value) {
            job.selection.sharpest = value.toBool();
        }));
    rows.push_back(make(
        Id::Distinct, "distinct", Kind::Switch, 0, 0, false, "",
        QT_TRANSLATE_NOOP("JobOption", "跳过重复的帧"),
        QT_TRANSLATE_NOOP(
            "JobOption", "跳过与上一张图片看起来相同的帧（如同一张幻灯片），画面噪点不算变化"),
        [](const ExtractionJob &job) { return QVariant(job.selection.distinct); },
        [](ExtractionJob &job, const QVariant &value) {
            job.selection.distinct = value.toBool();
        }));
    rows.push_back(make(
        Id::DistinctSensitivity, "distinct-sensitivity", Kind::Number, 1, 100, 50, "N",
        QT_TRANSLATE_NOOP("JobOption", "重复判断灵敏度"),
        QT_TRANSLATE_NOOP("JobOption", "跳过重复的帧时的灵敏度，越大，越小的变化也算作新画面"),
        [](const ExtractionJob &job) { return QVariant(job.selection.distinctSensitivity); },
        [](ExtractionJob &job, const QVariant &value) {
            job.selection.distinctSensitivity = value.toInt();
        }));
    rows.push_back(make(
        Id::SkipBlack, "skip-black", Kind::Switch, 0, 0, false, "",
        QT_TRANSLATE_NOOP("JobOption", "跳过黑帧"),
        QT_TRANSLATE_NOOP(
            "JobOption", "跳过几乎全黑的帧；按间隔或按数量取帧时，由同一段中下一个不黑的帧代替"),
        [](const ExtractionJob &job) { return QVariant(job.selection.skipBlack); },
        [](ExtractionJob &job, const QVariant &value) {
            job.selection.skipBlack = value.toBool();
        }));
    rows.push_back(make(
        Id::Start, "start", Kind::Seconds, 0, unbounded, 0.0, "T",
        QT_TRANSLATE_NOOP("JobOption", "起始时间"),
        QT_TRANSLATE_NOOP("JobOption", "范围的起点，秒数或 时:分:秒.毫秒"),
        [](const ExtractionJob &job) { return QVariant(job.selection.startSeconds); },
        [](ExtractionJob &job, const QVariant &value) {
            job.selection.startSeconds = value.toDouble();
        }));
    rows.push_back(withNone(
        make(
            Id::End, "end", Kind::Seconds, 0, unbounded, QVariant(), "T",
            QT_TRANSLATE_NOOP("JobOption", "结束时间"),
            QT_TRANSLATE_NOOP("JobOption", "范围的终点，秒数或 时:分:秒.毫秒，须晚于起点"),
            [](const ExtractionJob &job) {
                return job.selection.hasEnd() ? QVariant(job.selection.endSeconds) : QVariant();
            },
            [](ExtractionJob &job, const QVariant &value) {
                job.selection.endSeconds = value.isNull() ? -1 : value.toDouble();
            }),
        QT_TRANSLATE_NOOP("JobOption", "视频结尾")));
    rows.push_back(make(
        Id::Pattern, "pattern", Kind::Text, 0, 0, QStringLiteral("frame_%1"), "P",
        QT_TRANSLATE_NOOP("JobOption", "命名模式"),
        QT_TRANSLATE_NOOP("JobOption", "文件名格式，“%1”处为六位图片编号，不能离开输出目录"),
        [](const ExtractionJob &job) { return QVariant(job.namingPattern); },
        [](ExtractionJob &job, const QVariant &value) { job.namingPattern = value.toString(); }));
    rows.push_back(make(
        Id::TimeNames, "time-names", Kind::Switch, 0, 0, false, "",
        QT_TRANSLATE_NOOP("JobOption", "文件名包含时间"),
        QT_TRANSLATE_NOOP("JobOption", "在文件名的编号后加上该帧的时间"),
        [](const ExtractionJob &job) { return QVariant(job.timeInNames); },
        [](ExtractionJob &job, const QVariant &value) { job.timeInNames = value.toBool(); }));
    rows.push_back(withNone(
        make(
            Id::Width, "width", Kind::Number, Picture::minOutputSide, Picture::maxOutputSide,
            QVariant(), "W", QT_TRANSLATE_NOOP("JobOption", "宽度 (像素)"),
            QT_TRANSLATE_NOOP("JobOption",
                "图片宽度，按画面显示的样子（方形像素、转正后）；只给宽度时高度按比例；"
                "宽高都给时图片按比例放进这个框内"),
            [](const ExtractionJob &job) { return sideValue(job.width); },
            [](ExtractionJob &job, const QVariant &value) { job.width = sideFrom(value); }),
        QT_TRANSLATE_NOOP("JobOption", "原始尺寸")));
    rows.push_back(withNone(
        make(
            Id::Height, "height", Kind::Number, Picture::minOutputSide, Picture::maxOutputSide,
            QVariant(), "H", QT_TRANSLATE_NOOP("JobOption", "高度 (像素)"),
            QT_TRANSLATE_NOOP("JobOption", "图片高度，按画面显示的样子；只给高度时宽度按比例"),
            [](const ExtractionJob &job) { return sideValue(job.height); },
            [](ExtractionJob &job, const QVariant &value) { job.height = sideFrom(value); }),
        QT_TRANSLATE_NOOP("JobOption", "原始尺寸")));
    rows.push_back(withChoices(
        make(
            Id::Deinterlace, "deinterlace", Kind::Choice, 0, 0, QStringLiteral("auto"), "MODE",
            QT_TRANSLATE_NOOP("JobOption", "去隔行"),
            QT_TRANSLATE_NOOP("JobOption",
                "隔行扫描的帧先去隔行再保存：auto 只处理解码器或视频标为隔行的帧，"
                "on 处理每一帧，off 不处理"),
            [](const ExtractionJob &job) {
                for (const DeinterlaceName &name : deinterlaceNames) {
                    if (name.mode == job.deinterlace)
                        return QVariant(QString::fromLatin1(name.name));
                }
                return QVariant();
            },
            [](ExtractionJob &job, const QVariant &value) {
                for (const DeinterlaceName &name : deinterlaceNames) {
                    if (value.toString().compare(QLatin1String(name.name), Qt::CaseInsensitive)
                        == 0) {
                        job.deinterlace = name.mode;
                    }
                }
            }),
        deinterlaceChoices));
    rows.push_back(
        withChoices(make(
                        Id::Index, "index", Kind::Choice, 0, 0, QStringLiteral("none"), "FORM",
                        QT_TRANSLATE_NOOP("JobOption", "图片清单"),
                        QT_TRANSLATE_NOOP("JobOption",
                            "在图片旁写下图片清单 index.csv 或 index.json，列出文件名、编号、帧号、"
                            "时间、是否关键帧、尺寸和得分"),
                        [](const ExtractionJob &job) {
                            switch (job.index) {
                            case IndexFormat::None:
                                break;
                            case IndexFormat::Csv:
                                return QVariant(QStringLiteral("csv"));
                            case IndexFormat::Json:
                                return QVariant(QStringLiteral("json"));
                            }
                            return QVariant(QStringLiteral("none"));
                        },
                        [](ExtractionJob &job, const QVariant &value) {
                            const QString name = value.toString().toLower();
                            job.index = name == QLatin1String("csv") ? IndexFormat::Csv
                                : name == QLatin1String("json")      ? IndexFormat::Json
                                                                     : IndexFormat::None;
                        }),
            indexChoices));
    // Written by default: the switch that turns it off.
    rows.push_back(make(
        Id::NoMetadata, "no-metadata", Kind::Switch, 0, 0, false, "",
        QT_TRANSLATE_NOOP("JobOption", "不写入拍摄信息"),
        QT_TRANSLATE_NOOP("JobOption",
            "不把视频的拍摄时间、地点和设备写入图片的 EXIF（默认写入 JPG、PNG、WebP、TIFF）"),
        [](const ExtractionJob &job) { return QVariant(!job.captureMetadata); },
        [](ExtractionJob &job, const QVariant &value) { job.captureMetadata = !value.toBool(); }));
    rows.push_back(make(
        Id::Sheet, "sheet", Kind::Switch, 0, 0, false, "",
        QT_TRANSLATE_NOOP("JobOption", "缩略图总览"),
        QT_TRANSLATE_NOOP("JobOption", "在图片旁画一张缩略图总览 contact-sheet.jpg"),
        [](const ExtractionJob &job) { return QVariant(job.contactSheet); },
        [](ExtractionJob &job, const QVariant &value) { job.contactSheet = value.toBool(); }));
    rows.push_back(make(
        Id::Writers, "writers", Kind::Number, 0, 64, 0, "N",
        QT_TRANSLATE_NOOP("JobOption", "写图片的线程"),
        QT_TRANSLATE_NOOP("JobOption", "写图片的线程数，0 为按核心数自动选择"),
        [](const ExtractionJob &job) { return QVariant(job.writers); },
        [](ExtractionJob &job, const QVariant &value) { job.writers = value.toInt(); }));
    return rows;
}

QString numberText(double value)
{
    return QString::number(value, 'g', 12);
}

} // namespace

const std::vector<JobOption> &JobOption::all()
{
    static const std::vector<JobOption> rows = makeTable();
    return rows;
}

const JobOption &JobOption::row(Id id)
{
    for (const JobOption &option : all()) {
        if (option.id == id)
            return option;
    }
    Q_UNREACHABLE();
}

const JobOption *JobOption::named(const QString &name)
{
    for (const JobOption &option : all()) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

QString JobOption::label() const
{
    return tr(labelText);
}

QStringList JobOption::choiceNames() const
{
    QStringList names;
    if (choices) {
        const QList<Choice> all = choices();
        for (const Choice &choice : all)
            names << choice.name;
    }
    return names;
}

QString JobOption::valueText(const QVariant &value) const
{
    if (value.isNull())
        return noneText ? tr(noneText) : QString();
    switch (kind) {
    case Kind::Number:
    case Kind::Decimal:
    case Kind::Seconds:
        return numberText(value.toDouble());
    case Kind::Switch:
        return value.toBool() ? tr("开") : tr("关");
    case Kind::Choice:
    case Kind::Text:
        break;
    }
    return value.toString();
}

QString JobOption::help() const
{
    const QString text = tr(helpText);
    const QString byDefault = valueText(defaultValue);
    switch (kind) {
    case Kind::Number:
    case Kind::Decimal:
        // The value of a selection other than the default one is the
        // window's: on the command line the option itself chooses it.
        return (mode == noMode || mode == int(ExtractionJob().selection.mode)
                ? tr("%1，%2-%3（默认 %4）")
                : tr("%1，%2-%3（窗口默认 %4）"))
            .arg(text, numberText(minimum), numberText(maximum), byDefault);
    case Kind::Seconds:
    case Kind::Text:
        return tr("%1（默认 %2）").arg(text, byDefault);
    case Kind::Choice:
        return tr("%1：%2（默认 %3）")
            .arg(text, choiceNames().join(QStringLiteral(", ")), byDefault);
    case Kind::Switch:
        break;
    }
    return text;
}

QString OptionProblem::message(Naming naming) const
{
    const JobOption &row = JobOption::row(option);
    const auto nameOf = [naming](const JobOption &of) {
        return naming == Naming::Flag ? of.flag() : of.label();
    };
    const QString name = nameOf(row);
    const QString shown = row.valueText(value);
    switch (reason) {
    case Reason::OutOfRange:
        if (std::isinf(row.maximum))
            return JobOption::tr("%1 的值 %2 无效，须为有限的数且不小于 %3")
                .arg(name, shown, numberText(row.minimum));
        return JobOption::tr("%1 的值 %2 超出范围 %3-%4")
            .arg(name, shown, numberText(row.minimum), numberText(row.maximum));
    case Reason::NotAChoice:
        return JobOption::tr("%1 的值“%2”无效，可选：%3")
            .arg(name, shown, row.choiceNames().join(QStringLiteral(", ")));
    case Reason::NoNumberMarker:
        return JobOption::tr("%1 的值“%2”必须含有“%3”").arg(name, shown, QStringLiteral("%1"));
    case Reason::LeavesFolder:
        return JobOption::tr("%1 的值“%2”会把图片写到输出目录之外").arg(name, shown);
    case Reason::NotLaterThan:
        return JobOption::tr("%1 必须晚于 %2").arg(name, nameOf(JobOption::row(other)));
    case Reason::ConflictsWith:
        return JobOption::tr("%1 和 %2 不能同时使用").arg(name, nameOf(JobOption::row(other)));
    case Reason::Needs:
        return JobOption::tr("%1 需要与 %2 一起使用").arg(name, nameOf(JobOption::row(other)));
    case Reason::NeedsEither:
        return JobOption::tr("%1 需要与 %2 或 %3 一起使用")
            .arg(name, nameOf(JobOption::row(other)), nameOf(JobOption::row(alternative)));
    }
    return QString();
}
