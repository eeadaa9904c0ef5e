#include "TemporaryClaim.h"

#include "PosixFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QUuid>

#include <QCoreApplication>
#include <cerrno>

namespace Metaloom {

TemporaryClaim TemporaryClaim::create(const QString &folder)
{
    // A fresh identifier cannot be taken; a claim only fails to start when
    // the folder refuses new files, and then every attempt fails alike.
    int error = EEXIST;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        std::optional<FileLock> lock =
            FileLock::tryLock(lockPath(folder, id), FileLock::Open::createNew, &error);
        if (lock) {
            lock->setRemoveOnRelease(true);
            return TemporaryClaim(folder, id, std::move(*lock));
        }
    }
    PosixFile::fail(QT_TRANSLATE_NOOP("PosixFile", "Could not create a working file in “%1”: %2."),
                    folder, error);
}

QString TemporaryClaim::path(const QString &suffix) const
{
    return QDir(m_folder).filePath(m_id + suffix);
}

QString TemporaryClaim::hiddenPath(const QString &suffix) const
{
    return hiddenPath(m_folder, m_id, suffix);
}

QString TemporaryClaim::hiddenPath(const QString &folder, const QString &id, const QString &suffix)
{
    return QDir(folder).filePath(QLatin1Char('.') + id + suffix);
}

std::optional<QString> TemporaryClaim::idOfName(const QString &fileName)
{
    static const QRegularExpression scheme(
        QStringLiteral(
            "^\\.?([0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12})([.-].*)?$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = scheme.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

QString TemporaryClaim::lockPath(const QString &folder, const QString &id)
{
    return hiddenPath(folder, id, QStringLiteral(".lock"));
}

} // namespace Metaloom
