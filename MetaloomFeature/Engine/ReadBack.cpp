#include "ReadBack.h"

#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QFile>

#include <algorithm>

namespace Metaloom::ChangeReadBack {

namespace {

// By its first bytes, not its name: a file named ".jpg" may be a PNG or a
// movie, whose metadata can follow the image data that a quick read skips.
bool isJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(3) == QByteArrayLiteral("\xFF\xD8\xFF");
}

} // namespace

QCoro::Task<QList<FileAnswers>> read(ResourceBundle bundle, QStringList keys, QStringList paths,
                                     ChangeOptions options)
{
    const Plan plan = planFor(keys);
    const bool withoutMakerNotes =
        readsWithoutMakerNotes(keys) && std::all_of(paths.cbegin(), paths.cend(), isJpeg);
    const CommandOutput output = co_await ExifToolRunner::run(
        bundle, arguments(plan, paths, options, withoutMakerNotes), std::nullopt);
    co_return answersFrom(plan, output.standardOutput, paths.size());
}

} // namespace Metaloom::ChangeReadBack
