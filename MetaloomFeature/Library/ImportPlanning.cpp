#include "ImportPlanning.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace Metaloom::ImportPlanning {

QList<QUrl> filesInFolder(const QString &folderPath)
{
    // Without QDir::Hidden and QDir::System, dot files, sockets, pipes and
    // devices stay out; links count when they lead to a regular file.
    QFileInfoList entries = QDir(folderPath).entryInfoList(QDir::Files | QDir::Readable);
    std::stable_sort(entries.begin(), entries.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return LocalizedText::lessThan(a.fileName(), b.fileName());
    });
    QList<QUrl> files;
    for (const QFileInfo &entry : entries) {
        if (entry.isFile())
            files.append(QUrl::fromLocalFile(entry.absoluteFilePath()));
    }
    return files;
}

Plan plan(const QList<QUrl> &urls, const QList<QUrl> &alreadyListed)
{
    Plan result;
    QSet<QUrl> seen(alreadyListed.cbegin(), alreadyListed.cend());
    const auto add = [&](const QUrl &file) {
        // Such a file could never be found again by its name.
        if (const std::optional<QString> reason = ExifToolService::unhandledNameMessage(file)) {
            result.unhandledNames.append(*reason);
            return;
        }
        if (!seen.contains(file)) {
            seen.insert(file);
            result.files.append(file);
        }
    };
    for (const QUrl &url : urls) {
        if (!url.isLocalFile()) {
            ++result.otherAddresses;
            continue;
        }
        const QFileInfo info(url.toLocalFile());
        if (!info.isDir()) {
            add(url);
            continue;
        }
        const QList<QUrl> inside = filesInFolder(info.absoluteFilePath());
        if (inside.isEmpty())
            result.emptyFolders.append(QDir(info.absoluteFilePath()).dirName());
        for (const QUrl &file : inside)
            add(file);
    }
    return result;
}

} // namespace Metaloom::ImportPlanning
