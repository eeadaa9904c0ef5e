#include "FileOperands.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace Metaloom::Cli::FileOperands {

namespace {

QFileInfoList sortedEntries(const QString &folder, QDir::Filters filters)
{
    // Without QDir::Hidden and QDir::System, dot files, sockets, pipes,
    // devices and dangling links stay out, as in a drop.
    QFileInfoList entries = QDir(folder).entryInfoList(filters | QDir::NoDotAndDotDot);
    std::stable_sort(entries.begin(), entries.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return LocalizedText::lessThan(a.fileName(), b.fileName());
    });
    return entries;
}

struct Walk {
    QList<File> &files;
    QSet<QString> &seen;
    bool recursive;
    // Files met in folders, those already listed included.
    qsizetype met = 0;

    void add(const QString &shownPath, const QString &absolutePath)
    {
        const QString key = QDir::cleanPath(absolutePath);
        if (seen.contains(key))
            return;
        seen.insert(key);
        files.append({shownPath, QUrl::fromLocalFile(key)});
    }

    void folder(const QString &shownPrefix, const QString &absolutePath)
    {
        for (const QFileInfo &entry : sortedEntries(absolutePath, QDir::Files)) {
            if (entry.isFile()) {
                ++met;
                add(shownPrefix + entry.fileName(), entry.absoluteFilePath());
            }
        }
        if (!recursive)
            return;
        for (const QFileInfo &entry : sortedEntries(absolutePath, QDir::Dirs)) {
            if (!entry.isSymLink())
                folder(shownPrefix + entry.fileName() + QLatin1Char('/'), entry.absoluteFilePath());
        }
    }
};

} // namespace

Expansion expand(const QStringList &operands, bool recursive)
{
    Expansion expansion;
    QSet<QString> seen;
    Walk walk{expansion.files, seen, recursive};
    for (const QString &operand : operands) {
        const QFileInfo info(operand);
        if (!info.isDir()) {
            walk.add(operand, info.absoluteFilePath());
            continue;
        }
        const qsizetype before = walk.met;
        const QString prefix =
            operand.endsWith(QLatin1Char('/')) ? operand : operand + QLatin1Char('/');
        walk.folder(prefix, info.absoluteFilePath());
        if (walk.met == before)
            expansion.notes << (recursive ? QStringLiteral("%1: no files in this folder or its "
                                                           "subfolders")
                                          : QStringLiteral("%1: no files in this folder"))
                                   .arg(operand);
    }
    return expansion;
}

} // namespace Metaloom::Cli::FileOperands
