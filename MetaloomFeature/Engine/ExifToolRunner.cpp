#include "ExifToolRunner.h"

#include "ExifToolProcess.h"
#include "MetadataJson.h"
#include "ServiceError.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QCoroSignal>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <memory>
#include <unistd.h>

namespace Metaloom::ExifToolRunner {

ExifToolLocation locate(const ResourceBundle &bundle)
{
    const std::optional<QString> folder = bundle.pathForResource(QStringLiteral("ExifTool"));
    if (!folder)
        throw ServiceError::binaryMissing();
    const QDir dir(*folder);
    const QString script = dir.filePath(QStringLiteral("exiftool"));
    const QString libraryRoot = dir.filePath(QStringLiteral("lib/perl5"));
    const QString architectureDir =
        libraryRoot + QLatin1Char('/') + QStringLiteral(METALOOM_PERL_ARCHNAME);
    if (!QFileInfo::exists(script))
        throw ServiceError::binaryMissing();
    if (!QFileInfo::exists(libraryRoot))
        throw ServiceError::libraryMissing();
    ExifToolLocation location{script, {libraryRoot}};
    if (QFileInfo::exists(architectureDir))
        location.libraryPaths << architectureDir;
    return location;
}

QProcessEnvironment environment(const ExifToolLocation &location,
                                const std::optional<QString> &temporaryDirectory,
                                const QProcessEnvironment &inherited)
{
    QProcessEnvironment result = inherited;
    if (temporaryDirectory)
        result.insert(QStringLiteral("EXIFTOOL_TMPDIR"), *temporaryDirectory);
    QString perl5lib = location.libraryPaths.join(QLatin1Char(':'));
    const QString inheritedLib = inherited.value(QStringLiteral("PERL5LIB"));
    if (!inheritedLib.isEmpty())
        perl5lib += QLatin1Char(':') + inheritedLib;
    result.insert(QStringLiteral("PERL5LIB"), perl5lib);
    return result;
}

QString decodeStandardError(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return QString();
    return text.trimmed();
}

QCoro::Task<CommandOutput> run(ResourceBundle bundle, QStringList arguments,
                               std::optional<QString> temporaryDirectory)
{
    const ExifToolLocation location = locate(bundle);
    auto process = std::make_unique<ExifToolProcess>(
        location.binary, arguments,
        environment(location, temporaryDirectory, QProcessEnvironment::systemEnvironment()));
    process->start();
    if (!process->isCompleted())
        co_await qCoro(process.get(), &ExifToolProcess::completed);

    if (process->failedToStart()) {
        throw PlatformError(QStringLiteral("ExifTool could not be started: ") +
                            process->errorString());
    }
    const QString standardError = decodeStandardError(process->standardError());
    if (!process->exitedNormallyWithZero()) {
        QString message = standardError;
        if (message.isEmpty())
            message = MetadataJson::reportedError(process->standardOutput());
        throw ServiceError::executionFailed(message.isEmpty() ? QStringLiteral("Unknown error")
                                                              : message);
    }
    co_return CommandOutput{process->standardOutput(), standardError};
}

QString temporaryDirectoryPath()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("ExifToolTmp"));
}

QString prepareTemporaryDirectory()
{
    const QString path = temporaryDirectoryPath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        // Private to the user: the folder briefly holds copies of their files,
        // and the system temporary folder is shared with other accounts.
        if (!QDir().mkpath(path)) {
            throw PlatformError(
                QStringLiteral("The temporary folder “%1” could not be created.").arg(path));
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
        return path;
    }
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::getuid()) {
        throw PlatformError(
            QStringLiteral("The temporary folder “%1” cannot be used: it is not a folder that "
                           "belongs to you.")
                .arg(path));
    }
    return path;
}

} // namespace Metaloom::ExifToolRunner
