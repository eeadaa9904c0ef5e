#include "ReadOutput.h"

#include "Console.h"

namespace Metaloom::Cli::ReadOutput {

namespace {

QString indented(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines)
        line.prepend(QStringLiteral("  "));
    return lines.join(u'\n');
}

// The export text after its first line ("---" or the TOML comment).
QString afterFirstLine(const QString &text)
{
    const qsizetype lineEnd = text.indexOf(u'\n');
    return lineEnd < 0 ? QString() : text.mid(lineEnd + 1);
}

} // namespace

QString tomlQuoted(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        switch (code) {
        case u'"':
            quoted += QStringLiteral("\\\"");
            break;
        case u'\\':
            quoted += QStringLiteral("\\\\");
            break;
        case u'\n':
            quoted += QStringLiteral("\\n");
            break;
        case u'\r':
            quoted += QStringLiteral("\\r");
            break;
        case u'\t':
            quoted += QStringLiteral("\\t");
            break;
        default:
            if (code < 0x20 || code == 0x7F)
                quoted += QStringLiteral("\\u") +
                          QString::number(code, 16).toUpper().rightJustified(4, u'0');
            else
                quoted += c;
        }
    }
    return quoted + u'"';
}

QString Joiner::add(const QString &shownPath, const QString &exportText)
{
    const qsizetype index = m_count++;
    if (m_single)
        return m_format == Format::Json ? exportText + u'\n' : exportText;
    switch (m_format) {
    case Format::Json:
        return (index == 0 ? QStringLiteral("[\n") : QStringLiteral(",\n")) + indented(exportText);
    case Format::Yaml:
        return QStringLiteral("---\n# ") + printable(shownPath) + u'\n' +
               afterFirstLine(exportText);
    case Format::Toml:
        return (index == 0 ? QStringLiteral("# Metaloom metadata export\n") : QString()) +
               QStringLiteral("\n[") + tomlQuoted(shownPath) + QStringLiteral("]\n") +
               afterFirstLine(exportText);
    }
    Q_UNREACHABLE();
}

QString Joiner::finish() const
{
    if (m_single || m_format != Format::Json)
        return QString();
    return m_count == 0 ? QStringLiteral("[]\n") : QStringLiteral("\n]\n");
}

} // namespace Metaloom::Cli::ReadOutput
