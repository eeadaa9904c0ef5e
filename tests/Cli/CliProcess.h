#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Helpers of the command-line tests: running a program to its end, reading
// a text with real parsers, and everything about a file a change would alter.
namespace Metaloom::Testing {

struct ProcessRun {
    bool ended = false; // normally, within the time allowed
    int exitCode = -1;
    QByteArray output;
    QByteArray error;
};

ProcessRun
runProcess(const QString &program, const QStringList &arguments, const QString &workingDirectory,
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// What Python's json, PyYAML (every document) or tomllib read from the text,
// as JSON; a string starting with "rejected: " when the parser refused it.
QJsonValue readByPython(const QString &format, const QByteArray &text, const QString &folder);

// The text without its lines naming System:FileAccessDate: reading a file
// may move its access date, so two reads differ there.
QString withoutAccessDate(const QString &text);

// The bytes, the inode, the times and the mode of a file: a change that
// replaced or touched it alters one of them, even with the same bytes.
struct FileState {
    QByteArray bytes;
    qulonglong inode = 0;
    qlonglong modified = 0; // nanoseconds
    qlonglong changed = 0;  // inode change, nanoseconds
    uint mode = 0;
    bool operator==(const FileState &) const = default;
};
FileState stateOf(const QString &path);

} // namespace Metaloom::Testing
