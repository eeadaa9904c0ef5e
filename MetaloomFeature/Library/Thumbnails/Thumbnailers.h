#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QMimeType;

// The thumbnailers the desktop has installed: `.thumbnailer` key files in
// the `thumbnailers` folder of every data folder (`$XDG_DATA_HOME`, then
// `$XDG_DATA_DIRS`), each naming a command line and the MIME types it draws.
namespace Metaloom::Thumbnailers {

struct Thumbnailer {
    QString name; // the file's name; an earlier folder's file hides a later one of the same name
    QString tryExec;
    QString exec;
    QStringList mimeTypes;

    bool operator==(const Thumbnailer &) const = default;
};

// The `thumbnailers` folders in the order they are searched.
QStringList folders();

// One `.thumbnailer` file's `[Thumbnailer Entry]`; nothing without an Exec
// line or without MIME types.
std::optional<Thumbnailer> parse(const QString &name, const QByteArray &content);

// Every usable thumbnailer of the folders: its TryExec program is installed.
QList<Thumbnailer> installed(const QStringList &folders);

// The thumbnailer for a file of the type: one that names the type itself
// first, else one that names a type it inherits from (video/quicktime for a
// type derived from it).
std::optional<Thumbnailer> forType(const QList<Thumbnailer> &thumbnailers, const QMimeType &type);

// The Exec line split into arguments by the desktop entry rules: blanks
// separate, double quotes group, and inside quotes a backslash escapes
// `"`, `` ` ``, `$` and `\`. Nothing for a line those rules reject (an
// unclosed quote, a reserved character outside quotes).
std::optional<QStringList> splitExec(const QString &exec);

// What the field codes of one run stand for.
struct Fields {
    QString input;  // %i
    QString output; // %o
    int size = 0;   // %s
    QString uri;    // %u
};

// The arguments with their field codes filled in. A code stands for the
// whole value, never split further, so a file name with blanks, quotes or a
// leading dash stays one argument. `%%` is a percent sign; other codes are
// dropped, as the desktop entry rules say.
QStringList fillIn(const QStringList &arguments, const Fields &fields);

} // namespace Metaloom::Thumbnailers
