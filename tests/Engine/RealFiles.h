#pragma once

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>

#include <unistd.h>

namespace Metaloom::Testing {

// Reads a file through a fresh service on the real bundled ExifTool: the
// separate read that checks what a change really left in the file.
inline QList<MetadataEntry> readEntries(const QString &path)
{
    ExifToolService service(realBundle());
    auto outcome = runTask(service.readMetadata(QUrl::fromLocalFile(path)));
    if (!outcome.succeeded())
        qWarning() << "read failed:" << outcome.errorMessage();
    return outcome.value.value_or(QList<MetadataEntry>());
}

// Every tag's value by key, from one read.
inline QHash<QString, QString> valuesOf(const QString &path)
{
    QHash<QString, QString> values;
    for (const MetadataEntry &entry : readEntries(path))
        values.insert(entry.rawKey, entry.value);
    return values;
}

inline QString valueOf(const QString &path, const QString &key)
{
    return valuesOf(path).value(key);
}

// Where the engine keeps its working files (lock files, outputs, backups)
// under a test environment: the first place it tries, in the cache home.
inline QString privateFolderOf(const TestEnvironment &environment)
{
    return environment.root() + QStringLiteral("/cache/metaloom/tmp-") +
           QString::number(::geteuid());
}

// Whether a separate read finds any tag of the group in the file.
inline bool holdsGroup(const QString &path, const QString &group)
{
    const QList<MetadataEntry> entries = readEntries(path);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&](const MetadataEntry &entry) { return entry.group == group; });
}

// The SHA-256 of the file's bytes: whether a file was left exactly as it was.
inline QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Every file in the folder, hidden ones and pipes included.
inline QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A small untagged image in the format its name's extension asks for.
inline QString makeImage(const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    const bool tiff =
        QFileInfo(name).suffix().compare(QLatin1String("tif"), Qt::CaseInsensitive) == 0;
    if (!image.save(path, tiff ? "tiff" : nullptr))
        qFatal("cannot create %s", qPrintable(path));
    return path;
}

} // namespace Metaloom::Testing
