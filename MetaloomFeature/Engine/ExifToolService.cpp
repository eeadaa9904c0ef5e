#include "ExifToolService.h"

#include "ExifToolRunner.h"
#include "MetadataJson.h"
#include "TargetPath.h"

namespace Metaloom {

ExifToolService::ExifToolService(std::optional<ResourceBundle> bundle, QObject *parent)
    : QObject(parent), m_bundle(bundle ? *bundle : ResourceBundle::application())
{}

ExifToolService::~ExifToolService() = default;

QCoro::Task<QList<MetadataEntry>> ExifToolService::readMetadata(QUrl fileUrl)
{
    const QStringList arguments{QStringLiteral("-json"), QStringLiteral("-G:1"),
                                QStringLiteral("-all"), TargetPath::forFile(fileUrl)};
    const CommandOutput output = co_await ExifToolRunner::run(m_bundle, arguments, std::nullopt);
    co_return MetadataJson::entriesFromOutput(output.standardOutput);
}

} // namespace Metaloom
