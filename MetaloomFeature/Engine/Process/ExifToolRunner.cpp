#include "ExifToolRunner.h"

#include "ExifToolPool.h"
#include "ExifToolProcess.h"
#include "StayOpenProtocol.h"

#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/FileSafety/PrivateFolder.h"
#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QCoroSignal>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <QCoreApplication>
#include <memory>

namespace Metaloom::ExifToolRunner {

namespace {

// Where the bundled ExifTool lives.
struct ExifToolLocation {
    QString binary;
    QStringList libraryPaths; // library root, then the architecture folder when present
};

// Finds the script and its Perl library in the bundle; throws
// ServiceError::binaryMissing or ::libraryMissing.
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

// The child's environment: the inherited one with PERL5LIB pointing at the
// bundled library first, and EXIFTOOL_TMPDIR at the private folder.
QProcessEnvironment environment(const ExifToolLocation &location, const QString &temporaryDirectory,
                                const QProcessEnvironment &inherited)
{
    QProcessEnvironment result = inherited;
    result.insert(QStringLiteral("EXIFTOOL_TMPDIR"), temporaryDirectory);
    QString perl5lib = location.libraryPaths.join(QLatin1Char(':'));
    const QString inheritedLib = inherited.value(QStringLiteral("PERL5LIB"));
    if (!inheritedLib.isEmpty())
        perl5lib += QLatin1Char(':') + inheritedLib;
    result.insert(QStringLiteral("PERL5LIB"), perl5lib);
    return result;
}

// Text of standard error as the engine reports it.
QString decodeStandardError(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return QString();
    return text.trimmed();
}

// The result of a finished run, judged alike however ExifTool was run.
// `messageWithoutText` is the error's text when ExifTool left none.
CommandOutput judged(bool exitedWithZero, const QByteArray &standardOutput,
                     const QByteArray &standardErrorBytes, const QString &messageWithoutText)
{
    const QString standardError = decodeStandardError(standardErrorBytes);
    if (!exitedWithZero) {
        QString message = standardError;
        if (message.isEmpty())
            message = MetadataJson::reportedError(standardOutput);
        throw ServiceError::executionFailed(message.isEmpty() ? messageWithoutText : message);
    }
    return CommandOutput{standardOutput, standardError};
}

QCoro::Task<CommandOutput> runAlone(ExifToolLocation location, QStringList arguments,
                                    QProcessEnvironment environment)
{
    auto process = std::make_unique<ExifToolProcess>(location.binary, arguments, environment);
    process->start();
    if (!process->isCompleted())
        co_await qCoro(process.get(), &ExifToolProcess::completed);
    if (process->failedToStart()) {
        throw PlatformError(
            QCoreApplication::translate("ExifToolRunner", "ExifTool could not be started: %1")
                .arg(process->errorString()));
    }
    co_return judged(process->exitedNormallyWithZero(), process->standardOutput(),
                     process->standardError(),
                     QCoreApplication::translate("ExifToolRunner", "Unknown error"));
}

} // namespace

QCoro::Task<CommandOutput> run(ResourceBundle bundle, QStringList arguments,
                               std::optional<QString> temporaryDirectory)
{
    const ExifToolLocation location = locate(bundle);
    const QProcessEnvironment childEnvironment =
        environment(location, temporaryDirectory.value_or(PrivateFolder::location()),
                    QProcessEnvironment::systemEnvironment());
    ExifToolPool &pool = ExifToolPool::shared();
    std::optional<StayOpenProtocol::Request> request;
    if (pool.isResident())
        request = StayOpenProtocol::requestFor(arguments);
    if (!request)
        co_return co_await runAlone(location, arguments, childEnvironment);
    const ResidentRun run = co_await pool.run(bundle.directory(), location.binary, childEnvironment,
                                              std::move(*request));
    co_return judged(
        !run.died && run.exitStatus == 0, run.standardOutput, run.standardError,
        run.died ? QCoreApplication::translate("ExifToolRunner", "ExifTool stopped unexpectedly.")
                 : QCoreApplication::translate("ExifToolRunner", "Unknown error"));
}

void keepReady(const ResourceBundle &bundle, int count)
{
    const ExifToolLocation location = locate(bundle);
    ExifToolPool::shared().keepReady(
        bundle.directory(), location.binary,
        environment(location, PrivateFolder::location(), QProcessEnvironment::systemEnvironment()),
        count);
}

} // namespace Metaloom::ExifToolRunner
