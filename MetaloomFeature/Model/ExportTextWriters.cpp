#include "ExportTextWriters.h"

#include <QStringList>
#include <algorithm>

namespace Metaloom::ExportTextWriters {

namespace {

void appendUnicodeEscape(QString &out, char16_t c)
{
    out += QStringLiteral("\\u") + QString::number(c, 16).toUpper().rightJustified(4, u'0');
}

// The escapes both formats share: backslash, double quote, line feed,
// carriage return and tab. Each replaced on its own, so CR LF becomes \r\n.
bool appendCommonEscape(QString &out, char16_t c)
{
    switch (c) {
    case u'\\':
        out += QStringLiteral("\\\\");
        return true;
    case u'"':
        out += QStringLiteral("\\\"");
        return true;
    case u'\n':
        out += QStringLiteral("\\n");
        return true;
    case u'\r':
        out += QStringLiteral("\\r");
        return true;
    case u'\t':
        out += QStringLiteral("\\t");
        return true;
    default:
        return false;
    }
}

// Neither YAML nor TOML allows the other C0 controls or DEL raw inside a
// quoted string; a reader rejects the file. Both accept \uXXXX for them.
bool isForbiddenControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

// YAML also rejects raw C1 controls and the non-characters U+FFFE/U+FFFF,
// and treats NEL (U+0085), LS (U+2028) and PS (U+2029) as line breaks: a raw
// one is folded or eats the spaces around it, so the value would change.
bool isYamlUnsafe(char16_t c)
{
    return isForbiddenControl(c) || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
           c == 0xFFFE || c == 0xFFFF;
}

template <typename NeedsUnicodeEscape>
QString escapedForQuotedLine(const QString &text, NeedsUnicodeEscape needsUnicodeEscape)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (appendCommonEscape(out, c))
            continue;
        if (needsUnicodeEscape(c))
            appendUnicodeEscape(out, c);
        else
            out += qc;
    }
    return out;
}

QString joinedLines(QStringList lines)
{
    return lines.join(u'\n') + u'\n';
}

bool codePointLess(const QString &a, const QString &b)
{
    // QString compares UTF-16 code units, which puts characters beyond the
    // BMP before U+E000..U+FFFF; comparing code points keeps Unicode order.
    return a.toUcs4() < b.toUcs4();
}

QString jsonEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'/':
            out += QStringLiteral("\\/");
            break;
        case u'\b':
            out += QStringLiteral("\\b");
            break;
        case u'\f':
            out += QStringLiteral("\\f");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c < 0x20)
                appendUnicodeEscape(out, c);
            else
                out += qc;
        }
    }
    return out;
}

QString yamlEscaped(const QString &text)
{
    return escapedForQuotedLine(text, isYamlUnsafe);
}

QString tomlEscaped(const QString &text)
{
    return escapedForQuotedLine(text, isForbiddenControl);
}

} // namespace

bool isEncodable(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

QString json(Pairs pairs)
{
    // An empty object is written "{}" on one line.
    if (pairs.isEmpty())
        return QStringLiteral("{}");
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto &a, const auto &b) { return codePointLess(a.first, b.first); });
    QStringList members;
    members.reserve(pairs.size());
    for (const auto &[key, value] : pairs) {
        members.append(QStringLiteral("  \"") + jsonEscaped(key) + QStringLiteral("\" : \"") +
                       jsonEscaped(value) + u'"');
    }
    return QStringLiteral("{\n") + members.join(QStringLiteral(",\n")) + QStringLiteral("\n}");
}

QString yaml(const Pairs &pairs)
{
    QStringList lines{QStringLiteral("---")};
    for (const auto &[key, value] : pairs) {
        lines.append(u'"' + yamlEscaped(key) + QStringLiteral("\": \"") + yamlEscaped(value) +
                     u'"');
    }
    return joinedLines(lines);
}

QString toml(const Pairs &pairs)
{
    QStringList lines{QStringLiteral("# Metaloom metadata export")};
    for (const auto &[key, value] : pairs) {
        lines.append(u'"' + tomlEscaped(key) + QStringLiteral("\" = \"") + tomlEscaped(value) +
                     u'"');
    }
    return joinedLines(lines);
}

QString tomlQuoted(const QString &text)
{
    return u'"' + tomlEscaped(text) + u'"';
}

} // namespace Metaloom::ExportTextWriters
