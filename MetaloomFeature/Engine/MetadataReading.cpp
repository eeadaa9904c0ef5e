// Reading every tag of a file.

#include "ExifToolService.h"

#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/FileSafety/Leftovers.h"
#include "MetaloomFeature/Engine/FileSafety/TargetPath.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QCoroFuture>

namespace Metaloom {

QCoro::Task<QList<MetadataEntry>> ExifToolService::readMetadata(QUrl fileUrl)
{
    const QStringList arguments{QStringLiteral("-json"), QStringLiteral("-G:1"),
                                QStringLiteral("-all"), TargetPath::forFile(fileUrl)};
    // A file half rewritten when the program last died is whole again first.
    co_await Leftovers::atEngineStart();
    const CommandOutput output = co_await ExifToolRunner::run(m_bundle, arguments, std::nullopt);
    co_return MetadataJson::entriesFromOutput(output.standardOutput);
}

std::optional<QString> ExifToolService::unhandledNameMessage(const QUrl &fileUrl)
{
    return TargetPath::unhandledNameMessage(fileUrl);
}

} // namespace Metaloom
