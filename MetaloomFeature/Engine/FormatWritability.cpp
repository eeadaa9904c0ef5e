// Whether ExifTool can write a file's format, known before the first edit,
// so that the editor can show such a file's tags read-only from the start.

#include "ExifToolService.h"

#include "WritableFormats.h"

#include "MetaloomFeature/Engine/FileSafety/TargetPath.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QCoreApplication>
#include <QCoroFuture>
#include <QFileInfo>

namespace Metaloom {

namespace {

QString extensionOf(const QUrl &fileUrl)
{
    return QFileInfo(fileUrl.path()).suffix();
}

} // namespace

QCoro::Task<bool> ExifToolService::canWriteFormat(QUrl fileUrl)
{
    QFuture<FormatLists> loading = WritableFormats::shared().load(m_bundle);
    const FormatLists lists = co_await loading;
    if (const std::optional<bool> byName = lists.canWriteByName(extensionOf(fileUrl)))
        co_return *byName;
    // ExifTool identifies the content as it does before writing, reading no
    // metadata ("-fast3"). A type it does not know is one it cannot write:
    // it says so by failing.
    const QStringList arguments{QStringLiteral("-fast3"), QStringLiteral("-s3"),
                                QStringLiteral("-FileTypeExtension"), TargetPath::forFile(fileUrl)};
    try {
        const CommandOutput output =
            co_await ExifToolRunner::run(m_bundle, arguments, std::nullopt);
        const QString type = QString::fromUtf8(output.standardOutput).trimmed();
        co_return !type.isEmpty() && lists.writable.contains(type.toUpper());
    } catch (const ServiceError &error) {
        if (error.kind() != ServiceError::Kind::executionFailed)
            throw;
    }
    co_return false;
}

std::optional<bool> ExifToolService::canWriteFormatNow(const QUrl &fileUrl) const
{
    const std::optional<FormatLists> lists = WritableFormats::shared().loaded(m_bundle);
    if (!lists)
        return std::nullopt;
    return lists->canWriteByName(extensionOf(fileUrl));
}

QString ExifToolService::formatName(const QUrl &fileUrl)
{
    return extensionOf(fileUrl).toUpper();
}

QString ExifToolService::readOnlyFormatMessage(const QUrl &fileUrl)
{
    const QString name = formatName(fileUrl);
    if (name.isEmpty())
        return QCoreApplication::translate(
            "FormatWritability", "ExifTool can't write files of this kind; their metadata is shown "
                                 "read-only.");
    return QCoreApplication::translate(
               "FormatWritability",
               "ExifTool can't write %1 files; their metadata is shown read-only.")
        .arg(name);
}

} // namespace Metaloom
