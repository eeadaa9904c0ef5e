#include "MetadataJson.h"

#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Model/EntryOrder.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QVariant>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace Metaloom::MetadataJson {

static QString numberText(const QJsonValue &value)
{
    const QVariant variant = value.toVariant();
    if (variant.typeId() == QMetaType::LongLong || variant.typeId() == QMetaType::Int)
        return QString::number(variant.toLongLong());
    const double number = value.toDouble();
    if (std::isfinite(number) && std::trunc(number) == number && std::fabs(number) < 1e15)
        return QString::number(static_cast<qint64>(number));
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

QString valueText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double:
        return numberText(value);
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::Array: {
        QStringList parts;
        for (const QJsonValue element : value.toArray())
            parts << valueText(element);
        return parts.join(QStringLiteral(", "));
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        QStringList parts;
        for (auto it = object.begin(); it != object.end(); ++it)
            parts << it.key() + QLatin1Char('=') + valueText(it.value());
        std::sort(parts.begin(), parts.end());
        return parts.join(QStringLiteral(", "));
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("<null>");
}

namespace {

// Whether the bytes are one number as JSON writes it:
// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(QByteArrayView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i > start;
    };
    if (i < n && text[i] == '-')
        ++i;
    if (i < n && text[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < n && text[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

bool endsLiteral(char c)
{
    return c == ',' || c == ']' || c == '}' || c == ':' || c == ' ' || c == '\t' || c == '\r' ||
           c == '\n';
}

} // namespace

QByteArray quoteBareLiterals(const QByteArray &json)
{
    QByteArray quoted;
    quoted.reserve(json.size() + json.size() / 8);
    bool inString = false;
    bool escaped = false;
    const qsizetype size = json.size();
    qsizetype i = 0;
    while (i < size) {
        const char c = json.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            quoted.append(c);
            ++i;
            continue;
        }
        if (c == '"')
            inString = true;
        const bool startsLiteral = c == '-' || (c >= '0' && c <= '9') || c == 't' || c == 'f';
        if (!startsLiteral) {
            quoted.append(c);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < size && !endsLiteral(json.at(end)))
            ++end;
        const QByteArrayView literal(json.constData() + i, end - i);
        // Anything else is left as it is, for the reader to refuse.
        const bool keep = literal == "true" || literal == "false" || isJsonNumber(literal);
        if (keep)
            quoted.append('"');
        quoted.append(literal.data(), literal.size());
        if (keep)
            quoted.append('"');
        i = end;
    }
    return quoted;
}

QJsonDocument parseKeepingLiterals(const QByteArray &json)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(quoteBareLiterals(json), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        throw PlatformError(QCoreApplication::translate(
                                "MetadataJson", "ExifTool's output could not be read as JSON: %1 "
                                                "(at byte %2).")
                                .arg(parseError.errorString())
                                .arg(parseError.offset));
    }
    return document;
}

QStringList itemsOf(const QJsonValue &value)
{
    if (!value.isArray())
        return {valueText(value)};
    QStringList items;
    for (const QJsonValue element : value.toArray())
        items << valueText(element);
    return items;
}

MetadataEntry entryFor(const QString &key, const QJsonValue &value)
{
    if (value.isArray())
        return MetadataEntry::listEntry(key, itemsOf(value));
    return MetadataEntry(key, valueText(value));
}

QList<MetadataEntry> entriesOf(const QJsonObject &object, bool keepHidden)
{
    const QSet<QString> &hidden = MetadataEntry::hiddenGroups();
    QList<MetadataEntry> entries;
    entries.reserve(object.size());
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key() == QLatin1String("SourceFile"))
            continue;
        MetadataEntry entry = entryFor(it.key(), it.value());
        if (!keepHidden && hidden.contains(entry.group))
            continue;
        entries.append(std::move(entry));
    }
    EntryOrder::sortByGroupAndTag(entries);
    return entries;
}

QList<QList<MetadataEntry>> entriesOfEachFile(const QByteArray &standardOutput, bool keepHidden)
{
    const QJsonDocument document = parseKeepingLiterals(standardOutput);
    if (!document.isArray())
        throw ServiceError::invalidResponse();
    const QJsonArray array = document.array();
    if (array.isEmpty())
        throw ServiceError::invalidResponse();
    for (const QJsonValue element : array) {
        if (!element.isObject())
            throw ServiceError::invalidResponse();
    }
    QList<QList<MetadataEntry>> files;
    for (const QJsonValue element : array)
        files.append(entriesOf(element.toObject(), keepHidden));
    return files;
}

QList<MetadataEntry> entriesFromOutput(const QByteArray &standardOutput)
{
    return entriesOfEachFile(standardOutput).first();
}

QString reportedError(const QByteArray &standardOutput)
{
    const QJsonDocument document = QJsonDocument::fromJson(standardOutput);
    const QJsonObject first = document.array().at(0).toObject();
    for (const char *key : {"ExifTool:Error", "Error"}) {
        const QJsonValue error = first.value(QLatin1String(key));
        if (!error.isUndefined())
            return valueText(error).trimmed();
    }
    return QString();
}

QStringList readArguments(const QStringList &paths)
{
    return QStringList{QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all")} +
           paths;
}

QStringList storedTagsReadArguments(const QStringList &paths)
{
    return QStringList{QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all"),
                       QStringLiteral("--Composite:all")} +
           paths;
}

} // namespace Metaloom::MetadataJson
