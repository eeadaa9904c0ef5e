#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// The files a command line names: a folder stands for the files directly
// inside it, as a drop on the window does (visible regular files and links
// to them, in name order), and with `recursive` for those of its visible
// subfolders too. Links to folders are not followed, so a link cannot lead
// the walk in a circle.
namespace Metaloom::Cli::FileOperands {

struct File {
    // The path as given, or the folder as given joined with the path below
    // it ("photos/2024/a.jpg"): what the reports name.
    QString shownPath;
    QUrl url;
    bool operator==(const File &) const = default;
};

struct Expansion {
    // In the order given, each file once.
    QList<File> files;
    // Folders as given that held no file, each with the sentence to print.
    QStringList notes;
};

// Unlike a drop, a file inside a folder that cannot be read is kept, so
// that its report says so instead of leaving it out without a word.
Expansion expand(const QStringList &operands, bool recursive);

} // namespace Metaloom::Cli::FileOperands
