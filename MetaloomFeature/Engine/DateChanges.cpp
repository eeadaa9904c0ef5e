// Reading and changing the dates of files: the planning is the model's
// (DatePlanning); here the plan is read for and carried out.

#include "ExifToolService.h"

#include "ReadBack.h"

#include "MetaloomFeature/Engine/FileSafety/Leftovers.h"
#include "MetaloomFeature/Engine/FileSafety/TargetPath.h"
#include "MetaloomFeature/Model/Dates/DateTagRoles.h"

#include <QCoroFuture>

namespace Metaloom {

QCoro::Task<QList<DateValues>> ExifToolService::readDates(QList<QUrl> fileUrls, bool quickTimeUtc)
{
    QStringList paths;
    for (const QUrl &url : std::as_const(fileUrls))
        paths << TargetPath::forFile(url);
    QList<DateValues> dates;
    if (paths.isEmpty())
        co_return dates;
    co_await Leftovers::atEngineStart();
    ChangeOptions options;
    options.quickTimeUtc = quickTimeUtc;
    const QStringList keys = DateTagRoles::keysToRead();
    const QList<ChangeReadBack::FileAnswers> answers =
        co_await ChangeReadBack::read(m_bundle, keys, paths, options);
    for (const ChangeReadBack::FileAnswers &file : answers) {
        DateValues values;
        for (const QString &key : keys) {
            for (const ChangeReadBack::PrintedTag &tag : file.byKey.value(key)) {
                // A key asked by its family-0 group finds the tag in each
                // track; each track's is a date of its own.
                if (!tag.items.isEmpty())
                    values.insert(ChangeReadBack::familyOneKey(tag.key), tag.items.first());
            }
        }
        dates.append(values);
    }
    co_return dates;
}

QList<TagAssignment> ExifToolService::dateAssignments(const DatePlan &plan)
{
    QList<TagAssignment> assignments;
    for (const DateChange &change : plan.changes)
        assignments.append(
            {change.key, change.after.isEmpty() ? QStringList() : QStringList{change.after}});
    return assignments;
}

QCoro::Task<ChangeReport> ExifToolService::changeDates(QUrl fileUrl, DatePlan plan,
                                                       ChangeOptions options)
{
    options.quickTimeUtc = plan.quickTimeUtc;
    co_return co_await changeTags(fileUrl, dateAssignments(plan), options);
}

} // namespace Metaloom
