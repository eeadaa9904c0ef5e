#include "ValueFiles.h"

#include "StayOpenProtocol.h"

#include "MetaloomFeature/Engine/FileSafety/PosixFile.h"

#include <QCoroFuture>
#include <QFile>
#include <QRegularExpression>
#include <QtConcurrent>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace Metaloom::ValueFiles {

namespace {

// Where the value of an assignment begins (after "="), or -1 for an
// argument that is not one: keys hold no "=", and an option or a path does
// not start with "-KEY=".
qsizetype valueStart(const QString &argument)
{
    static const QRegularExpression assignment(QStringLiteral("^-[A-Za-z0-9_:#-]+[+-]?="));
    const QRegularExpressionMatch match = assignment.match(argument);
    return match.hasMatch() ? match.capturedEnd(0) : -1;
}

struct Written {
    QStringList arguments;
    QStringList files;
};

void removeAll(const QStringList &files)
{
    for (const QString &file : files)
        ::unlink(PosixFile::nativePath(file).constData());
}

// Writes each value that needs it to a file of its own; throws
// PlatformError, having removed what it wrote.
Written writeFiles(const QStringList &arguments, const QString &stem)
{
    auto written = std::make_shared<Written>();
    try {
        written->arguments = divert(arguments, [&](const QByteArray &value) {
            const QString path = stem + QString::number(written->files.size() + 1);
            const QByteArray native = PosixFile::nativePath(path);
            PosixFile::Descriptor file(::open(
                native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
            if (!file.isOpen())
                PosixFile::fail(
                    QT_TRANSLATE_NOOP("PosixFile", "Could not create a working file in “%1”: %2."),
                    path, errno);
            written->files << path;
            qsizetype done = 0;
            while (done < value.size()) {
                const ssize_t wrote =
                    ::write(file.fd(), value.constData() + done, size_t(value.size() - done));
                if (wrote < 0 && errno == EINTR)
                    continue;
                if (wrote <= 0)
                    PosixFile::fail(QT_TRANSLATE_NOOP("PosixFile",
                                                      "Could not write the working file “%1”: %2."),
                                    path, errno);
                done += wrote;
            }
            if (!file.close())
                PosixFile::fail(
                    QT_TRANSLATE_NOOP("PosixFile", "Could not write the working file “%1”: %2."),
                    path, errno);
            return path;
        });
    } catch (...) {
        removeAll(written->files);
        throw;
    }
    return std::move(*written);
}

} // namespace

bool needsFile(const QString &argument)
{
    const qsizetype start = valueStart(argument);
    if (start < 0)
        return false;
    if (argument.size() - start > longValueBytes / 3 &&
        QStringView(argument).mid(start).toUtf8().size() > longValueBytes)
        return true;
    return !StayOpenProtocol::encodeArgument(argument).has_value();
}

QStringList divert(const QStringList &arguments,
                   const std::function<QString(const QByteArray &value)> &store)
{
    QStringList result;
    result.reserve(arguments.size());
    for (const QString &argument : arguments) {
        if (!needsFile(argument)) {
            result << argument;
            continue;
        }
        const qsizetype start = valueStart(argument);
        const QString path = store(QStringView(argument).mid(start).toUtf8());
        // "-KEY=" becomes "-KEY<=", "-KEY+=" becomes "-KEY+<=".
        result << argument.left(start - 1) + QStringLiteral("<=") + path;
    }
    return result;
}

bool isLiteralFileName(const QString &path)
{
    // ExifTool's own test for a name that holds format codes.
    static const QRegularExpression code(QStringLiteral("%[-+]?\\d*[.:]?\\d*[lu]?[dDfFeEtgso]"));
    return !code.match(path).hasMatch();
}

QCoro::Task<CommandOutput> run(ResourceBundle bundle, QStringList arguments,
                               QString temporaryDirectory, QString stem)
{
    if (stem.isEmpty() || !isLiteralFileName(stem) ||
        std::none_of(arguments.cbegin(), arguments.cend(), needsFile))
        co_return co_await ExifToolRunner::run(bundle, arguments, temporaryDirectory);

    QFuture<Written> writing = QtConcurrent::run(writeFiles, arguments, stem);
    const Written written = co_await writing;
    std::exception_ptr failure;
    CommandOutput output;
    try {
        output = co_await ExifToolRunner::run(bundle, written.arguments, temporaryDirectory);
    } catch (...) {
        failure = std::current_exception();
    }
    QFuture<void> removed = QtConcurrent::run(removeAll, written.files);
    co_await removed;
    if (failure)
        std::rethrow_exception(failure);
    co_return output;
}

} // namespace Metaloom::ValueFiles
