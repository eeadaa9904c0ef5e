#include "ImportPlanning.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QCoreApplication>
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
    Plan result;
    const QSet<QUrl> listed(alreadyListed.cbegin(), alreadyListed.cend());
    QSet<QUrl> seen = listed;
    const auto add = [&](const QUrl &file) {
        // Such a file could never be found again by its name.
        if (const std::optional<QString> reason = ExifToolService::unhandledNameMessage(file)) {
            result.unhandledNames.append(*reason);
            return;
        }
        if (listed.contains(file)) {
            ++result.alreadyListed;
        } else if (!seen.contains(file)) {
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
