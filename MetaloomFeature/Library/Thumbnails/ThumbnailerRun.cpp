#include "ThumbnailerRun.h"

#include "MetaloomFeature/Platform/ChildProcess.h"

#include <QCoroProcess>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

namespace Metaloom::ThumbnailerRun {

namespace {

// A thumbnailer's picture is small; anything far larger is not one.
constexpr qint64 largestPicture = 64 * 1024 * 1024;

std::optional<QImage> readPicture(const QString &path)
{
    const QFileInfo output(path);
    if (!output.isFile() || output.size() == 0 || output.size() > largestPicture)
        return std::nullopt;
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull())
        return std::nullopt;
    return picture;
}

} // namespace

QCoro::Task<std::optional<QImage>> make(Thumbnailers::Thumbnailer thumbnailer, QString path,
                                        int edge, std::chrono::milliseconds timeLimit)
{
    const std::optional<QStringList> command = Thumbnailers::splitExec(thumbnailer.exec);
    if (!command)
        co_return std::nullopt;
    const QTemporaryDir folder;
    if (!folder.isValid())
        co_return std::nullopt;
    const QString output = folder.filePath(QStringLiteral("thumbnail.png"));
    const QString input = QFileInfo(path).absoluteFilePath();
    Thumbnailers::Fields fields;
    fields.input = input;
    fields.output = output;
    fields.size = edge;
    fields.uri = QString::fromLatin1(QUrl::fromLocalFile(input).toEncoded());
    QStringList arguments = Thumbnailers::fillIn(*command, fields);
    const QString program = arguments.takeFirst();

    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    ChildProcess::prepare(process);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!co_await qCoro(process).waitForStarted(timeLimit))
        co_return std::nullopt;
    const auto left = std::max(std::chrono::milliseconds(1),
                               timeLimit - std::chrono::milliseconds(clock.elapsed()));
    const bool finished = co_await qCoro(process).waitForFinished(left);
    if (!finished || process.state() != QProcess::NotRunning) {
        ChildProcess::killGroup(process);
        process.waitForFinished(1000);
        co_return std::nullopt;
    }
    // Judged by how it ended, not by the wait's answer.
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        co_return std::nullopt;
    co_return readPicture(output);
}

} // namespace Metaloom::ThumbnailerRun
