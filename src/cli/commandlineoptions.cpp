#include "commandlineoptions.h"

#include "timefield.h"

#include <QCommandLineParser>

#include <cmath>

namespace {

using Kind = JobOption::Kind;

QStringList selectionFlags()
{
    QStringList names;
    for (const JobOption &row : JobOption::all()) {
        if (row.mode != JobOption::noMode)
            names << row.flag();
    }
    return names;
}

} // namespace

CommandLineOptions::CommandLineOptions()
{
    for (const JobOption &row : JobOption::all()) {
        const QString name = QString::fromLatin1(row.name);
        if (row.kind == Kind::Switch)
            flags.push_back({&row, QCommandLineOption(name, row.help())});
        else
            flags.push_back(
                {&row, QCommandLineOption(name, row.help(), QString::fromLatin1(row.valueName))});
    }
}

QString CommandLineOptions::selectionRule()
{
    const QStringList names = selectionFlags();
    return tr("%1 只能选一个，都不选时按 %2。")
        .arg(names.join(QStringLiteral(", ")), JobOption::row(JobOption::Id::Rate).flag());
}

void CommandLineOptions::addTo(QCommandLineParser &parser) const
{
    for (const Flag &flag : flags)
        parser.addOption(flag.option);
}

bool CommandLineOptions::fail(const QString &message)
{
    error = message;
    return false;
}

bool CommandLineOptions::readValue(
    const QCommandLineParser &parser, const Flag &flag, QVariant *value)
{
    const JobOption &row = *flag.row;
    // Newer parsers warn when a switch is asked for its value.
    if (row.kind == Kind::Switch) {
        *value = true;
        return true;
    }
    const QString text = parser.value(flag.option);
    bool ok = false;
    switch (row.kind) {
    case Kind::Switch:
        break;
    case Kind::Number: {
        const int number = text.toInt(&ok);
        if (!ok)
            return fail(tr("%1 的值“%2”不是整数").arg(row.flag(), text));
        *value = number;
        return true;
    }
    case Kind::Decimal: {
        const double number = text.toDouble(&ok);
        if (!ok)
            return fail(tr("%1 的值“%2”不是数字").arg(row.flag(), text));
        *value = number;
        return true;
    }
    case Kind::Seconds: {
        // Plain seconds may carry any number of decimals; the clock form is the window's.
        double seconds = text.toDouble(&ok);
        if (!ok) {
            const std::optional<qint64> milliseconds = parseTimeField(text);
            ok = milliseconds.has_value();
            seconds = ok ? *milliseconds / 1000.0 : 0;
        }
        if (!ok || !std::isfinite(seconds) || seconds < 0)
            return fail(tr("%1 的值“%2”不是时间，请写秒数或 时:分:秒.毫秒").arg(row.flag(), text));
        *value = seconds;
        return true;
    }
    case Kind::Choice: {
        // Any letter case; the job holds the choice's own spelling.
        const QStringList names = row.choiceNames();
        for (const QString &name : names) {
            if (name.compare(text, Qt::CaseInsensitive) == 0) {
                *value = name;
                return true;
            }
        }
        return fail(OptionProblem {row.id, text, OptionProblem::Reason::NotAChoice}.message());
    }
    case Kind::Text:
        *value = text;
        return true;
    }
    return false;
}

bool CommandLineOptions::read(const QCommandLineParser &parser)
{
    parsedJob = ExtractionJob();
    error.clear();

    const JobOption *selection = nullptr;
    for (const Flag &flag : flags) {
        if (!parser.isSet(flag.option))
            continue;
        const JobOption &row = *flag.row;
        if (row.mode != JobOption::noMode) {
            if (selection) {
                return fail(OptionProblem {
                    selection->id, QVariant(), OptionProblem::Reason::ConflictsWith, row.id}
                                .message());
            }
            selection = &row;
            parsedJob.selection.mode = FrameSelection::Mode(row.mode);
        }
        QVariant value;
        if (!readValue(parser, flag, &value))
            return false;
        row.set(parsedJob, value);
    }

    if (const std::optional<OptionProblem> problem = parsedJob.validate())
        return fail(problem->message());
    return true;
}
