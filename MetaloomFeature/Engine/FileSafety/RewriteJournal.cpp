#include "RewriteJournal.h"

#include "PosixFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Metaloom::RewriteJournal {

namespace {

// Numbers as decimal text: a JSON number would round a 64-bit inode.
QString number(quint64 value)
{
    return QString::number(value);
}

std::optional<qint64> numberIn(const QJsonObject &object, const char *key)
{
    bool ok = false;
    const qint64 value = object.value(QLatin1String(key)).toString().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

void write(const QString &journalPath, const Entry &entry)
{
    const QJsonObject object{
        {QStringLiteral("target"), entry.targetPath},
        {QStringLiteral("device"), number(entry.original.device)},
        {QStringLiteral("inode"), number(entry.original.inode)},
        {QStringLiteral("size"), number(quint64(entry.original.size))},
        {QStringLiteral("modifiedSeconds"), number(quint64(entry.original.modifiedSeconds))},
        {QStringLiteral("modifiedNanoseconds"),
         number(quint64(entry.original.modifiedNanoseconds))}};
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);

    const QByteArray native = PosixFile::nativePath(journalPath);
    PosixFile::Descriptor file(
        ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    const bool written =
        file.isOpen() &&
        ::write(file.fd(), bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size()) &&
        ::fsync(file.fd()) == 0 && file.close();
    if (!written) {
        const int error = errno;
        ::unlink(native.constData());
        PosixFile::fail(
            QT_TRANSLATE_NOOP("PosixFile", "Could not prepare the rewrite of “%1”: %2."),
            entry.targetPath, error);
    }
    PosixFile::syncFolder(QFileInfo(journalPath).absolutePath());
}

std::optional<Entry> read(const QString &journalPath)
{
    QFile file(journalPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    const QString target = object.value(QStringLiteral("target")).toString();
    const auto device = numberIn(object, "device");
    const auto inode = numberIn(object, "inode");
    const auto size = numberIn(object, "size");
    const auto seconds = numberIn(object, "modifiedSeconds");
    const auto nanoseconds = numberIn(object, "modifiedNanoseconds");
    if (target.isEmpty() || !device || !inode || !size || !seconds || !nanoseconds)
        return std::nullopt;
    return Entry{target,
                 FileStamp{true, quint64(*device), quint64(*inode), *size, *seconds, *nanoseconds}};
}

Outcome rollBack(const QString &journalPath, const QString &backupPath)
{
    const std::optional<Entry> entry = read(journalPath);
    if (!entry)
        return Outcome::discarded;
    struct stat backup {};
    if (::stat(PosixFile::nativePath(backupPath).constData(), &backup) != 0 ||
        backup.st_size != entry->original.size)
        return Outcome::discarded;
    // Only the very file that was being rewritten gets the old bytes back;
    // if it was deleted or replaced since, whatever stands there now is newer.
    const QByteArray target = PosixFile::nativePath(entry->targetPath);
    struct stat now {};
    if (::stat(target.constData(), &now) != 0 || !S_ISREG(now.st_mode) ||
        quint64(now.st_dev) != entry->original.device ||
        quint64(now.st_ino) != entry->original.inode)
        return Outcome::discarded;
    if (!PosixFile::rewriteWith(entry->targetPath, backupPath))
        return Outcome::deferred;
    const struct timespec times[2] = {
        {0, UTIME_OMIT},
        {time_t(entry->original.modifiedSeconds), long(entry->original.modifiedNanoseconds)}};
    ::utimensat(AT_FDCWD, target.constData(), times, 0);
    return Outcome::restored;
}

} // namespace Metaloom::RewriteJournal
