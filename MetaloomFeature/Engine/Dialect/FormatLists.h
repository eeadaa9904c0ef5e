#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

#include <optional>

namespace Metaloom {

// ExifTool's two lists of file name extensions: those it can write
// ("-listwf") and all it knows ("-listf"), upper case.
//
// ExifTool goes by the name first: a file whose extension it knows and
// cannot write ("Matroska.mkv") is refused whatever it holds, and one whose
// extension it can write is written. Only a name it does not know (no
// extension, "photo.dat") leaves the decision to the file's content.
struct FormatLists {
    QSet<QString> writable;
    QSet<QString> known;

    // The answer the name gives: nothing where the content decides.
    std::optional<bool> canWriteByName(const QString &extension) const;

    // Parses the output of "-listwf -execute -listf". Throws PlatformError
    // when a list is missing.
    static FormatLists parse(const QByteArray &output);

    bool operator==(const FormatLists &) const = default;
};

} // namespace Metaloom
