#include "extractionjob.h"

#include "imagenaming.h"

#include <cmath>

ExtractionJob::ExtractionJob()
{
    for (const JobOption &option : JobOption::all())
        option.set(*this, option.defaultValue);
}

std::optional<OptionProblem> ExtractionJob::validate() const
{
    using Id = JobOption::Id;
    using Kind = JobOption::Kind;
    using Reason = OptionProblem::Reason;
    const auto problem = [](Id id, const QVariant &value, Reason reason, Id other = Id::Format) {
        return std::optional<OptionProblem>(OptionProblem {id, value, reason, other});
    };

    for (const JobOption &option : JobOption::all()) {
        // A selection's own value matters only when it is the one chosen.
        if (option.mode != JobOption::noMode && option.mode != int(selection.mode))
            continue;
        const QVariant value = option.get(*this);
        if (value.isNull())
            continue;
        switch (option.kind) {
        case Kind::Number:
        case Kind::Decimal:
        case Kind::Seconds: {
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (!ok || !std::isfinite(number) || number < option.minimum
                || number > option.maximum) {
                return problem(option.id, value, Reason::OutOfRange);
            }
            break;
        }
        case Kind::Choice:
            if (!option.choiceNames().contains(value.toString(), Qt::CaseInsensitive))
                return problem(option.id, value, Reason::NotAChoice);
            break;
        case Kind::Switch:
        case Kind::Text:
            break;
        }
    }

    if (!namingPattern.contains(QLatin1String("%1")))
        return problem(Id::Pattern, namingPattern, Reason::NoNumberMarker);
    if (!ImageNaming::isSafeNamingPattern(namingPattern))
        return problem(Id::Pattern, namingPattern, Reason::LeavesFolder);
    if (selection.hasEnd() && !(selection.endSeconds > selection.startSeconds))
        return problem(Id::End, selection.endSeconds, Reason::NotLaterThan, Id::Start);
    // The sharpest of a part needs parts.
    if (selection.sharpest && selection.mode != FrameSelection::Mode::EverySeconds
        && selection.mode != FrameSelection::Mode::Count) {
        OptionProblem needs {Id::Sharpest, true, Reason::NeedsEither, Id::Every};
        needs.alternative = Id::Count;
        return needs;
    }
    return std::nullopt;
}
