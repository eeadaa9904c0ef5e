#include "StayOpenProtocol.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <utility>

namespace Metaloom::StayOpenProtocol {

namespace {

// ExifTool takes U+2212 (a minus sign pasted from its manual) for a dash.
QString withPlainDash(const QString &argument)
{
    if (argument.startsWith(QChar(0x2212)))
        return QLatin1Char('-') + argument.mid(1);
    return argument;
}

bool isExecute(const QString &argument)
{
    static const QRegularExpression pattern(QStringLiteral("^-execute[0-9]*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(withPlainDash(argument)).hasMatch();
}

// Whether ExifTool takes the argument after this one as the option's value
// (ExifTool's own table, which its argument reader consults too: an exact
// match first, then the option in lower case).
bool takesValue(const QString &argument)
{
    static const QHash<QString, bool> options = [] {
        QHash<QString, bool> table;
        const QString withValue = QStringLiteral(
            "-tagsfromfile -addtagsfromfile -alltagsfromfile -@ -api -c -coordformat "
            "-config -csvdelim -d -dateformat -echo -echo1 -echo2 -echo3 -echo4 -efile "
            "-efile1 -efile2 -efile3 -efile4 -efile! -efile1! -efile2! -efile3! -efile4! "
            "-ext --ext -ext+ --ext+ -extension --extension -extension+ --extension+ "
            "-fileorder -fileorder0 -fileorder1 -fileorder2 -fileorder3 -fileorder4 "
            "-fileorder5 -geotag -globaltimeshift -i -ignore -if -if0 -if1 -if2 -if3 -if4 "
            "-if5 -listitem -o -out -p -printformat -password -require -sep -separator "
            "-srcfile -stay_open -use -userparam -w -w! -w+ -w+! -w!+ -textout -textout! "
            "-textout+ -textout+! -textout!+ -tagout -tagout! -tagout+ -tagout+! -tagout!+ "
            "-wext -wm -writemode -x -exclude");
        for (const QString &option : withValue.split(QLatin1Char(' ')))
            table.insert(option, true);
        for (const char *option : {"-charset", "-D", "-lang", "-P", "-X"})
            table.insert(QString::fromLatin1(option), false);
        return table;
    }();
    auto found = options.constFind(argument);
    if (found == options.constEnd())
        found = options.constFind(argument.toLower());
    return found != options.constEnd() && *found;
}

bool isCommonArgs(const QString &argument)
{
    return argument.compare(QLatin1String("-common_args"), Qt::CaseInsensitive) == 0;
}

// Options a resident ExifTool cannot take: "-" and "-pause" read standard
// input (our channel), "-@" and "-stay_open" switch the channel, "-config"
// and "-use" stay in force for later commands, and a further "-echo3" or
// "-echo4" would print after the status line.
bool needsOwnProcess(const QString &argument)
{
    static const QSet<QString> options{
        QStringLiteral("-"),       QStringLiteral("-@"),     QStringLiteral("-stay_open"),
        QStringLiteral("-config"), QStringLiteral("-use"),   QStringLiteral("-pause"),
        QStringLiteral("-k"),      QStringLiteral("-echo3"), QStringLiteral("-echo4")};
    return options.contains(withPlainDash(argument).toLower());
}

bool isPerlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// ExifTool's own clean-up of a plain line, for the arguments it can change:
// leading white space goes, trailing line breaks go, and white space before
// "=" (or "+=", "-=", "<=") and one space after it go from "-TAG = value".
bool survivesPlainLine(const QByteArray &utf8)
{
    if (utf8.isEmpty() || isPerlSpace(utf8.front()) || utf8.front() == '#')
        return false; // dropped, trimmed, or taken for a comment
    if (utf8.contains('\n') || utf8.contains('\r'))
        return false;
    static const QRegularExpression assignment(
        QStringLiteral("^(-[-:A-Za-z0-9_]+#?)[ \\t\\f\\v]*([-+<]?=) ?"));
    const QRegularExpressionMatch match = assignment.match(QString::fromLatin1(utf8.left(300)));
    return !match.hasMatch() ||
           match.capturedLength(0) == match.capturedLength(1) + match.capturedLength(2);
}

QByteArray readyMarker(quint32 id)
{
    return "{ready" + QByteArray::number(id) + "}\n";
}

QByteArray statusMarkerStart(quint32 id)
{
    return "{status" + QByteArray::number(id) + ':';
}

// Whether the bytes end in a "{ready...}" line: the end of a command that
// is not the one expected here.
bool endsWithSomeReadyMarker(const QByteArray &bytes, qsizetype from)
{
    if (!bytes.endsWith("}\n"))
        return false;
    const qsizetype start = bytes.lastIndexOf("{ready", bytes.size() - 2);
    if (start < from || bytes.size() - start > 24)
        return false;
    for (qsizetype i = start + 6; i < bytes.size() - 2; ++i) {
        if (bytes.at(i) < '0' || bytes.at(i) > '9')
            return false;
    }
    return true;
}

} // namespace

QStringList startArguments()
{
    return {QStringLiteral("-stay_open"), QStringLiteral("True"), QStringLiteral("-@"),
            QStringLiteral("-")};
}

QList<QStringList> commandsOf(const QStringList &arguments)
{
    QStringList own;
    QStringList common;
    bool inCommon = false;
    for (const QString &argument : arguments) {
        if (isCommonArgs(argument))
            inCommon = true;
        else
            (inCommon ? common : own) << argument;
    }
    QList<QStringList> commands{{}};
    bool endOfOptions = false; // after "--", "-execute" names a file
    bool isValue = false;      // of the option before
    for (const QString &argument : own) {
        const bool wasValue = std::exchange(isValue, !isValue && takesValue(argument));
        if (!endOfOptions && !wasValue && isExecute(argument)) {
            commands.last() << common;
            commands.append(QStringList());
            continue;
        }
        if (withPlainDash(argument) == QLatin1String("--"))
            endOfOptions = true;
        commands.last() << argument;
    }
    // ExifTool runs nothing more after a final "-execute".
    if (commands.size() > 1 && commands.last().isEmpty())
        commands.removeLast();
    else
        commands.last() << common;
    return commands;
}

std::optional<QByteArray> encodeArgument(const QString &argument)
{
    QByteArray utf8 = argument.toUtf8();
    if (survivesPlainLine(utf8))
        return utf8 + '\n';
    if (utf8.contains('$') || utf8.contains('@'))
        return std::nullopt;
    utf8.replace('\\', "\\\\").replace('\n', "\\n").replace('\r', "\\r");
    return "#[CSTR]" + utf8 + '\n';
}

std::optional<Request> requestFor(const QStringList &arguments)
{
    Request request;
    for (const QStringList &command : commandsOf(arguments)) {
        QByteArray lines;
        bool isValue = false;
        for (const QString &argument : command) {
            const bool wasValue = std::exchange(isValue, !isValue && takesValue(argument));
            const std::optional<QByteArray> line = encodeArgument(argument);
            if (!line || needsOwnProcess(argument) || (!wasValue && isExecute(argument)))
                return std::nullopt;
            lines += *line;
        }
        if (isValue)
            return std::nullopt; // the option would take "-execute" for its value
        request.commands << lines;
    }
    return request;
}

Request::Numbered Request::numbered(quint32 firstId) const
{
    Numbered numbered;
    quint32 id = firstId;
    for (const QByteArray &lines : commands) {
        // "-echo4" comes first, so that no later argument can keep it unread.
        numbered.bytes += "-echo4\n{status" + QByteArray::number(id) + ":${status}}\n";
        numbered.bytes += lines;
        numbered.bytes += "-execute" + QByteArray::number(id) + '\n';
        numbered.ids << id++;
    }
    return numbered;
}

Answers::Answers(QList<quint32> ids) : m_ids(std::move(ids)) {}

void Answers::addOutput(const QByteArray &bytes)
{
    m_output.bytes += bytes;
    settle(m_output, false);
}

void Answers::addError(const QByteArray &bytes)
{
    m_error.bytes += bytes;
    settle(m_error, true);
}

bool Answers::isComplete() const
{
    return !m_garbled && m_output.markersFound == m_ids.size() &&
           m_error.markersFound == m_ids.size();
}

void Answers::settle(Stream &stream, bool isError)
{
    while (stream.markersFound < m_ids.size() && takeMarker(stream, isError)) {
    }
    if (stream.markersFound == m_ids.size()) {
        if (stream.bytes.size() > stream.searchFrom)
            m_garbled = true; // nothing may follow the last command's end
    } else if (!isError && endsWithSomeReadyMarker(stream.bytes, stream.commandStart)) {
        m_garbled = true;
    }
}

bool Answers::takeMarker(Stream &stream, bool isError)
{
    const quint32 id = m_ids.at(stream.markersFound);
    const QByteArray start = isError ? statusMarkerStart(id) : readyMarker(id);
    // A marker may follow output without a line break; the bytes searched
    // before are not searched again, except where a marker could have begun
    // that the next bytes complete.
    const qsizetype at = stream.bytes.indexOf(start, stream.searchFrom);
    if (at < 0) {
        stream.searchFrom = std::max(stream.searchFrom, stream.bytes.size() - start.size() + 1);
        return false;
    }
    qsizetype end = at + start.size();
    if (isError) {
        // "{status<ID>:<status>}\n"
        qsizetype digitsEnd = end;
        while (digitsEnd < stream.bytes.size() && stream.bytes.at(digitsEnd) >= '0' &&
               stream.bytes.at(digitsEnd) <= '9')
            ++digitsEnd;
        if (digitsEnd + 2 > stream.bytes.size())
            return false; // the rest has not arrived yet
        if (digitsEnd == end || stream.bytes.mid(digitsEnd, 2) != "}\n") {
            m_garbled = true;
            return false;
        }
        const int status = stream.bytes.mid(end, digitsEnd - end).toInt();
        if (status != 0)
            m_exitStatus = status;
        end = digitsEnd + 2;
    }
    stream.bytes.remove(at, end - at);
    stream.searchFrom = at;
    stream.commandStart = at;
    ++stream.markersFound;
    return true;
}

} // namespace Metaloom::StayOpenProtocol
