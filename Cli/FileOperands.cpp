#include "FileOperands.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>

#include <QCoreApplication>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

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

bool isValidUtf8(const char *name)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoder works when its result is taken, not before.
    const QString decoded = decoder.decode(QByteArrayView(name));
    return !decoder.hasError();
}

enum class Kind { file, folder, other };

// What QDir leaves out without a word: entries whose names are not UTF-8
// (it cannot turn them into text). They are listed, by the name they have
// once turned into text, so that each is reported instead of lost.
QList<std::pair<QString, Kind>> undecodableEntries(const QString &folder)
{
    QList<std::pair<QString, Kind>> entries;
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return entries;
    while (const dirent *entry = ::readdir(directory)) {
        if (entry->d_name[0] == '.' || isValidUtf8(entry->d_name))
            continue;
        struct stat status {};
        Kind kind = Kind::other;
        if (::fstatat(::dirfd(directory), entry->d_name, &status, 0) == 0)
            kind = S_ISREG(status.st_mode)   ? Kind::file
                   : S_ISDIR(status.st_mode) ? Kind::folder
                                             : Kind::other;
        entries.append({QFile::decodeName(entry->d_name), kind});
    }
    ::closedir(directory);
    std::sort(entries.begin(), entries.end());
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
        for (const auto &[name, kind] : undecodableEntries(absolutePath)) {
            if (kind == Kind::file || (recursive && kind == Kind::folder)) {
                ++met;
                add(shownPrefix + name, QDir(absolutePath).filePath(name));
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
            expansion.notes << (recursive ? QCoreApplication::translate(
                                                "Cli", "%1: no files in this folder or its "
                                                       "subfolders")
                                          : QCoreApplication::translate(
                                                "Cli", "%1: no files in this folder"))
                                   .arg(operand);
    }
    return expansion;
}

} // namespace Metaloom::Cli::FileOperands
