#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

// How a resident ExifTool ("-stay_open True -@ -") is spoken to: arguments
// one per line on its standard input, each command ended by "-execute<ID>".
// ExifTool then prints "{ready<ID>}" on standard output; the "-echo4" line
// that opens each command makes it print "{status<ID>:<exit status>}" on
// standard error once the command is done. Together they mark where each
// command's output ends on both streams and carry its exit status.
namespace Metaloom::StayOpenProtocol {

// The arguments that start a resident ExifTool reading from standard input.
QStringList startArguments();

// The commands one argument list stands for, split the way ExifTool splits
// a command line: at every "-execute", with the arguments after
// "-common_args" appended to each command.
QList<QStringList> commandsOf(const QStringList &arguments);

// The line for one argument: as it is where ExifTool reads the line back
// unchanged, else as a "#[CSTR]" line with C escapes. Nothing when no line
// carries it: ExifTool 12.57 puts a backslash before every "$" and "@" of a
// "#[CSTR]" line, so a value that needs such a line (a line break, leading
// white space, an empty value, a space after "=") and holds either of them
// cannot be sent.
std::optional<QByteArray> encodeArgument(const QString &argument);

// A whole argument list as a resident ExifTool takes it, each command's
// argument lines encoded once. Nothing when the list has to run in an
// ExifTool of its own: an argument no line carries, or an option that would
// read standard input (the channel itself), outlive its command, or print on
// standard error after the status line.
struct Request {
    QList<QByteArray> commands; // the argument lines of each command, in order

    // What is written for the request, its commands numbered from `firstId`
    // on: each command's lines between its "-echo4" status line and its
    // "-execute<ID>". The process that sends it chooses the numbers.
    struct Numbered {
        QByteArray bytes;
        QList<quint32> ids; // one per command, in order
    };
    Numbered numbered(quint32 firstId) const;
};
std::optional<Request> requestFor(const QStringList &arguments);

// The answers to one request, read from the two streams as they arrive.
class Answers {
public:
    explicit Answers(QList<quint32> ids);

    void addOutput(const QByteArray &bytes);
    void addError(const QByteArray &bytes);

    // Every command has ended on both streams.
    bool isComplete() const;
    // Something arrived that the protocol does not allow: bytes after the
    // last command's end, or another command's end marker.
    bool isGarbled() const { return m_garbled; }

    // The commands' standard output, one after the other, byte for byte,
    // without the end markers; likewise standard error.
    const QByteArray &standardOutput() const { return m_output.bytes; }
    const QByteArray &standardError() const { return m_error.bytes; }
    // As ExifTool reports it for several commands run at once: the status of
    // the last command that failed, or 0.
    int exitStatus() const { return m_exitStatus; }

private:
    struct Stream {
        QByteArray bytes;
        qsizetype commandStart = 0; // where the current command's bytes begin
        qsizetype searchFrom = 0;   // no marker begins before this
        qsizetype markersFound = 0;
    };
    void settle(Stream &stream, bool isError);
    // Finds the current command's marker in the stream and cuts it out.
    bool takeMarker(Stream &stream, bool isError);

    QList<quint32> m_ids;
    Stream m_output;
    Stream m_error;
    int m_exitStatus = 0;
    bool m_garbled = false;
};

} // namespace Metaloom::StayOpenProtocol
