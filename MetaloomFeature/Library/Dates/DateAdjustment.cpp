#include "DateAdjustment.h"

#include "MetaloomFeature/Library/MetadataEngine.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QFileInfo>

namespace Metaloom::DateAdjusting {

namespace {

DatePlan planOne(const DateValues &values, const DateAdjustment &adjustment, bool quickTimeUtc)
{
    if (adjustment.fileDatesFromCapture)
        return DatePlanning::fileDateFromCapture(values);
    DateOptions options = adjustment.options;
    options.quickTimeUtc = quickTimeUtc;
    return DatePlanning::plan(values, options);
}

} // namespace

QCoro::Task<QList<DatePlan>> plansFor(std::shared_ptr<MetadataEngine> engine,
                                      DateAdjustment adjustment, QList<QUrl> files)
{
    if (!engine)
        throw PlatformError(FileOperations::engineStoppedMessage());
    const QList<DateValues> stored = co_await engine->readDates(files, false);
    // The file date is set from the capture date as the file keeps it:
    // there QuickTime's dates are read as stored.
    QList<bool> asUtc;
    QList<QUrl> utcFiles;
    for (qsizetype i = 0; i < files.size(); ++i) {
        bool utc = adjustment.options.quickTimeUtc;
        if (adjustment.detectQuickTime)
            utc = DatePlanning::quickTimeStoredAsUtc(stored.value(i)).value_or(utc);
        utc = utc && !adjustment.fileDatesFromCapture;
        asUtc.append(utc);
        if (utc)
            utcFiles.append(files.at(i));
    }
    const QList<DateValues> readAsUtc =
        utcFiles.isEmpty() ? QList<DateValues>{} : co_await engine->readDates(utcFiles, true);
    QList<DatePlan> plans;
    qsizetype nextUtc = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const DateValues &values = asUtc.at(i) ? readAsUtc.value(nextUtc++) : stored.value(i);
        plans.append(planOne(values, adjustment, asUtc.at(i)));
    }
    co_return plans;
}

QCoro::Task<FileOutcome> adjust(std::shared_ptr<MetadataEngine> engine, DateAdjustment adjustment,
                                QUrl file, ChangeOptions options,
                                std::shared_ptr<QHash<QUrl, DatePlan>> made)
{
    FileOutcome outcome = FileOperations::outcomeFor(file);
    try {
        if (!co_await FileOperations::formatIsWritable(engine, file))
            throw PlatformError(FileOperations::unwritableFormatMessage(file));
        const QList<DatePlan> plans = co_await plansFor(engine, adjustment, {file});
        const DatePlan plan = plans.value(0);
        if (!plan.changes.isEmpty()) {
            outcome.report = co_await engine->changeDates(file, plan, options);
            made->insert(file, plan);
        }
    } catch (...) {
        outcome.error = std::current_exception();
        outcome.failure = describeException(outcome.error);
        outcome.report = {};
    }
    co_return outcome;
}

QCoro::Task<FileOutcome> restore(std::shared_ptr<MetadataEngine> engine, DatePlan done, QUrl file,
                                 ChangeOptions options)
{
    FileOutcome outcome = FileOperations::outcomeFor(file);
    try {
        if (!engine)
            throw PlatformError(FileOperations::engineStoppedMessage());
        outcome.report = co_await engine->changeDates(file, reversed(done), options);
    } catch (...) {
        outcome.error = std::current_exception();
        outcome.failure = describeException(outcome.error);
        outcome.report = {};
    }
    co_return outcome;
}

DatePlan reversed(const DatePlan &plan)
{
    DatePlan back;
    back.quickTimeUtc = plan.quickTimeUtc;
    for (const DateChange &change : plan.changes)
        back.changes.append({change.key, change.after, change.before});
    return back;
}

} // namespace Metaloom::DateAdjusting
