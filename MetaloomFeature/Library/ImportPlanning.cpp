#include "ImportPlanning.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtConcurrent>
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

QString summary(int added, int alreadyListed)
{
    // The singular is a text of its own, so the English texts need no
    // translation loaded; the plural has numerus forms.
    QString addedText;
    if (added == 1)
        addedText = QCoreApplication::translate("ImportPlanning", "Added 1 file.");
    else if (added > 1)
        addedText =
            QCoreApplication::translate("ImportPlanning", "Added %n files.", nullptr, added);
    QString listedText;
    if (added > 0 && alreadyListed == 1)
        listedText = QCoreApplication::translate("ImportPlanning", "1 was already in the list.");
    else if (added > 0 && alreadyListed > 1)
        listedText = QCoreApplication::translate("ImportPlanning", "%n were already in the list.",
                                                 nullptr, alreadyListed);
    else if (alreadyListed == 1)
        listedText =
            QCoreApplication::translate("ImportPlanning", "The file is already in the list.");
    else if (alreadyListed > 1)
        listedText = QCoreApplication::translate(
            "ImportPlanning", "All %n files are already in the list.", nullptr, alreadyListed);
    if (addedText.isEmpty())
        return listedText;
    if (listedText.isEmpty())
        return addedText;
    return addedText + u' ' + listedText;
}

Plan plan(const QList<QUrl> &urls, const QList<QUrl> &alreadyListed)
{
    // What each address is and each file's name are asked of the file system
    // on every core (a drop may hold thousands); the list is made in order.
    const QList<bool> isFolder = QtConcurrent::blockingMapped(urls, [](const QUrl &url) {
        return url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir();
    });
    Plan result;
    QList<QUrl> candidates;
    candidates.reserve(urls.size());
    for (qsizetype i = 0; i < urls.size(); ++i) {
        const QUrl &url = urls.at(i);
        if (!url.isLocalFile()) {
            ++result.otherAddresses;
            continue;
        }
        if (!isFolder.at(i)) {
            candidates.append(url);
            continue;
        }
        const QString folder = QFileInfo(url.toLocalFile()).absoluteFilePath();
        const QList<QUrl> inside = filesInFolder(folder);
        if (inside.isEmpty())
            result.emptyFolders.append(QDir(folder).dirName());
        candidates.append(inside);
    }
    // Such a file could never be found again by its name.
    const QList<std::optional<QString>> unhandled = QtConcurrent::blockingMapped(
        candidates, [](const QUrl &file) { return ExifToolService::unhandledNameMessage(file); });

    const QSet<QUrl> listed(alreadyListed.cbegin(), alreadyListed.cend());
    QSet<QUrl> seen;
    seen.reserve(candidates.size());
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        const QUrl &file = candidates.at(i);
        if (unhandled.at(i)) {
            result.unhandledNames.append(*unhandled.at(i));
        } else if (listed.contains(file)) {
            ++result.alreadyListed;
        } else if (!seen.contains(file)) {
            seen.insert(file);
            result.files.append(file);
        }
    }
    return result;
}

} // namespace Metaloom::ImportPlanning
