#include "ReadBack.h"

#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

namespace Metaloom::ChangeReadBack {

QCoro::Task<QList<FileAnswers>> read(ResourceBundle bundle, QStringList keys, QStringList paths,
                                     ChangeOptions options)
{
    const Plan plan = planFor(keys);
    const CommandOutput output =
        co_await ExifToolRunner::run(bundle, arguments(plan, paths, options), std::nullopt);
    co_return answersFrom(plan, output.standardOutput, paths.size());
}

} // namespace Metaloom::ChangeReadBack
