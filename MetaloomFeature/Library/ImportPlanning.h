#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// Which files a list of dropped, pasted or chosen addresses brings in.
namespace Metaloom::ImportPlanning {

struct Plan {
    // Local files, in the given order, each once; a folder stands for the
    // regular, visible files directly inside it, in name order.
    QList<QUrl> files;
    // Names of folders that held no such file.
    QStringList emptyFolders;
    // How many addresses were not local files.
    int otherAddresses = 0;
    // How many files were left out because the library lists them already.
    int alreadyListed = 0;
    // Why files whose names cannot be handled (not valid UTF-8) were left out.
    QStringList unhandledNames;
};

// How many files an import added and left out as listed already. A drop
// imported a slice at a time carries the running tally from one slice to
// the next, so the status line speaks of the whole drop.
struct Tally {
    int added = 0;
    int alreadyListed = 0;
};

// `alreadyListed` holds the files the library has already; they are left out.
Plan plan(const QList<QUrl> &urls, const QList<QUrl> &alreadyListed);

// What the status line says after an import: how many files were added and
// how many were left out because they were listed already; nothing when
// neither happened.
QString summary(int added, int alreadyListed);

// The regular, visible files directly inside a folder, in name order.
QList<QUrl> filesInFolder(const QString &folderPath);

} // namespace Metaloom::ImportPlanning
