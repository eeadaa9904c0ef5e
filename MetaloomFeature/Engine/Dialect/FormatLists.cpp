#include "FormatLists.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QList>

namespace Metaloom {

std::optional<bool> FormatLists::canWriteByName(const QString &extension) const
{
    const QString upper = extension.toUpper();
    if (writable.contains(upper))
        return true;
    if (known.contains(upper))
        return false;
    return std::nullopt;
}

FormatLists FormatLists::parse(const QByteArray &output)
{
    // "Writable file extensions:" and "Supported file extensions:", each
    // followed by indented lines of extensions.
    FormatLists lists;
    QSet<QString> *current = nullptr;
    bool sawWritable = false;
    bool sawKnown = false;
    for (const QByteArray &line : output.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!line.startsWith(' ') && trimmed.endsWith(':')) {
            const bool writableList = trimmed.startsWith("Writable");
            current = writableList ? &lists.writable : &lists.known;
            (writableList ? sawWritable : sawKnown) = true;
            continue;
        }
        if (!current)
            continue;
        for (const QByteArray &extension : trimmed.simplified().split(' '))
            current->insert(QString::fromLatin1(extension).toUpper());
    }
    if (!sawWritable || !sawKnown || lists.writable.isEmpty())
        throw PlatformError(QCoreApplication::translate(
            "FormatLists", "ExifTool's list of writable file types could not be "
                           "read."));
    lists.known.unite(lists.writable);
    return lists;
}

} // namespace Metaloom
