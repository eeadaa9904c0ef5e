#include "AppsCache.h"

#include "MakerInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QStandardPaths>

namespace VossaApps {

namespace {

// The identifier becomes a folder name: it must stay one path component.
bool isUsableFolderName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

} // namespace

QString cacheAppIdentifier()
{
    QString identifier = QGuiApplication::desktopFileName();
    if (identifier.endsWith(u".desktop"))
        identifier.chop(8);
    return isUsableFolderName(identifier) ? identifier : MakerInfo::fallbackAppIdentifier();
}

std::optional<QString> cacheLocation()
{
    // The per-user data folder (~/.local/share) plays the part of a Mac's
    // Application Support folder.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return std::nullopt;
    return QDir(base).filePath(cacheAppIdentifier() + u'/' + QString::fromLatin1(cacheFileName));
}

std::optional<QByteArray> readCache(qint64 maxBytes)
{
    const auto path = cacheLocation();
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // One byte past the limit tells a file that is too large.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes)
        return std::nullopt;
    return bytes;
}

void writeCache(const QByteArray &bytes)
{
    const auto path = cacheLocation();
    if (!path || !QDir().mkpath(QFileInfo(*path).absolutePath()))
        return;
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return;
    }
    file.commit();
}

} // namespace VossaApps
