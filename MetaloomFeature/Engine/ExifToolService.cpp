#include "ExifToolService.h"

#include "ExifToolRunner.h"
#include "MetadataJson.h"

#include <QFileInfo>

namespace Metaloom {

ExifToolService::ExifToolService(std::optional<ResourceBundle> bundle, QObject *parent)
    : QObject(parent), m_bundle(bundle ? *bundle : ResourceBundle::application())
{}

ExifToolService::~ExifToolService() = default;

QCoro::Task<QList<MetadataEntry>> ExifToolService::readMetadata(QUrl fileUrl)
{
    const QString path = fileUrl.isLocalFile() ? fileUrl.toLocalFile() : fileUrl.toString();
    // An absolute path never starts with a dash, so ExifTool cannot mistake a
    // file named "-foo.jpg" for an option.
    const QStringList arguments{QStringLiteral("-json"), QStringLiteral("-G:1"),
                                QStringLiteral("-all"), QFileInfo(path).absoluteFilePath()};
    const CommandOutput output = co_await ExifToolRunner::run(m_bundle, arguments, std::nullopt);
    co_return MetadataJson::entriesFromOutput(output.standardOutput);
}

} // namespace Metaloom
