#include "Thumbnailers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeType>
#include <QSet>
#include <QStandardPaths>

namespace Metaloom::Thumbnailers {

namespace {

// The key file's own escapes (\s \n \t \r \\), undone before the Exec
// line's quoting is read.
QString unescapeValue(const QString &value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            result += u' ';
            break;
        case 'n':
            result += u'\n';
            break;
        case 't':
            result += u'\t';
            break;
        case 'r':
            result += u'\r';
            break;
        case '\\':
            result += u'\\';
            break;
        default:
            result += u'\\';
            result += next;
        }
    }
    return result;
}

bool isInstalled(const QString &program)
{
    if (program.isEmpty())
        return true;
    if (QDir::isAbsolutePath(program))
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace

QStringList folders()
{
    QStringList result;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    result.append(dataHome + QStringLiteral("/thumbnailers"));
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &dir : dataDirs.split(u':', Qt::SkipEmptyParts))
        result.append(dir + QStringLiteral("/thumbnailers"));
    result.removeDuplicates();
    return result;
}

std::optional<Thumbnailer> parse(const QString &name, const QByteArray &content)
{
    Thumbnailer thumbnailer;
    thumbnailer.name = name;
    bool inEntry = false;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Thumbnailer Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("TryExec"))
            thumbnailer.tryExec = value;
        else if (key == QLatin1String("Exec"))
            thumbnailer.exec = value;
        else if (key == QLatin1String("MimeType"))
            thumbnailer.mimeTypes = value.split(u';', Qt::SkipEmptyParts);
    }
    if (thumbnailer.exec.isEmpty() || thumbnailer.mimeTypes.isEmpty())
        return std::nullopt;
    return thumbnailer;
}

QList<Thumbnailer> installed(const QStringList &folders)
{
    QList<Thumbnailer> result;
    QSet<QString> seen;
    for (const QString &folder : folders) {
        const QFileInfoList files = QDir(folder).entryInfoList(
            {QStringLiteral("*.thumbnailer")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo &info : files) {
            if (seen.contains(info.fileName()))
                continue;
            seen.insert(info.fileName());
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            std::optional<Thumbnailer> thumbnailer = parse(info.fileName(), file.read(64 * 1024));
            if (thumbnailer && isInstalled(thumbnailer->tryExec))
                result.append(*thumbnailer);
        }
    }
    return result;
}

std::optional<Thumbnailer> forType(const QList<Thumbnailer> &thumbnailers, const QMimeType &type)
{
    if (!type.isValid())
        return std::nullopt;
    QStringList ownNames = type.aliases();
    ownNames.prepend(type.name());
    for (const Thumbnailer &thumbnailer : thumbnailers) {
        for (const QString &name : ownNames) {
            if (thumbnailer.mimeTypes.contains(name))
                return thumbnailer;
        }
    }
    for (const Thumbnailer &thumbnailer : thumbnailers) {
        for (const QString &name : thumbnailer.mimeTypes) {
            if (type.inherits(name))
                return thumbnailer;
        }
    }
    return std::nullopt;
}

std::optional<QStringList> splitExec(const QString &exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size() &&
                       QStringView(u"\"`$\\").contains(exec[i + 1])) {
                current += exec[++i];
            } else {
                current += c;
            }
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == u'"') {
            quoted = true;
        } else if (QStringView(u"`$\\<>|&;*?#()'~").contains(c)) {
            // Characters a shell would read; the rules allow them only
            // quoted, and a line relying on a shell is not run without one.
            return std::nullopt;
        } else {
            current += c;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        arguments.append(current);
    if (arguments.isEmpty())
        return std::nullopt;
    return arguments;
}

QStringList fillIn(const QStringList &arguments, const Fields &fields)
{
    QStringList result;
    result.reserve(arguments.size());
    for (const QString &argument : arguments) {
        QString filled;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != u'%' || i + 1 == argument.size()) {
                filled += argument[i];
                continue;
            }
            switch (argument[++i].unicode()) {
            case 'i':
                filled += fields.input;
                break;
            case 'o':
                filled += fields.output;
                break;
            case 's':
                filled += QString::number(fields.size);
                break;
            case 'u':
                filled += fields.uri;
                break;
            case '%':
                filled += u'%';
                break;
            default:
                break;
            }
        }
        result.append(filled);
    }
    return result;
}

} // namespace Metaloom::Thumbnailers
