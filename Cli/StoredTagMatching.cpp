#include "StoredTagMatching.h"

#include "MetaloomFeature/Engine/MetadataJson.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace Metaloom::Cli::StoredTagMatching {

namespace {

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "all" and ExifTool's wildcards stand for any tag of the group.
bool tagMatches(const QString &asked, const QString &printed)
{
    if (sameText(asked, QStringLiteral("all")) || asked == QLatin1String("*"))
        return true;
    if (!asked.contains(QLatin1Char('*')) && !asked.contains(QLatin1Char('?')))
        return sameText(asked, printed);
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression(
                                         asked, QRegularExpression::UnanchoredWildcardConversion),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch found = pattern.match(printed);
    return found.hasMatch() && found.capturedLength() == printed.size();
}

QStringList itemsOf(const QJsonValue &value)
{
    if (!value.isArray())
        return {MetadataJson::valueText(value)};
    QStringList items;
    for (const QJsonValue element : value.toArray())
        items << MetadataJson::valueText(element);
    return items;
}

// "EXIF:IFD0:Artist" -> "IFD0:Artist"; "IPTC:Keywords" stays.
QString familyOneKey(const QStringList &parts)
{
    return parts.size() >= 3 ? parts.at(parts.size() - 2) + QLatin1Char(':') + parts.last()
                             : parts.join(QLatin1Char(':'));
}

} // namespace

bool answers(const QString &askedKey, const QString &printedName)
{
    QString asked = askedKey;
    if (asked.endsWith(QLatin1Char('#')))
        asked.chop(1);
    const QStringList askedParts = asked.split(QLatin1Char(':'));
    const QStringList printedParts = printedName.split(QLatin1Char(':'));
    if (printedParts.size() < 2 || sameText(printedParts.first(), QStringLiteral("ExifTool")))
        return false;
    if (!tagMatches(askedParts.last(), printedParts.last()))
        return false;
    const QStringList printedGroups = printedParts.mid(0, printedParts.size() - 1);
    // Every group the key names is one of the tag's groups.
    for (qsizetype i = 0; i + 1 < askedParts.size(); ++i) {
        const QString &group = askedParts.at(i);
        const bool found =
            std::any_of(printedGroups.cbegin(), printedGroups.cend(),
                        [&](const QString &printed) { return sameText(group, printed); });
        if (!found)
            return false;
    }
    return true;
}

StoredTags match(const QStringList &askedKeys, const QJsonObject &printed)
{
    StoredTags stored;
    for (const QString &key : askedKeys)
        stored.insert(key, {});
    for (auto it = printed.begin(); it != printed.end(); ++it) {
        if (it.key() == QLatin1String("SourceFile"))
            continue;
        for (const QString &key : askedKeys) {
            if (answers(key, it.key()))
                stored[key].append(
                    {familyOneKey(it.key().split(QLatin1Char(':'))), itemsOf(it.value())});
        }
    }
    return stored;
}

QStringList arguments(const QStringList &askedKeys, const QString &filePath)
{
    QStringList list{QStringLiteral("-json"), QStringLiteral("-G0:1"), QStringLiteral("-a")};
    for (const QString &key : askedKeys)
        list << QLatin1Char('-') + key;
    list << filePath;
    return list;
}

QJsonObject printedObject(const QByteArray &standardOutput)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(standardOutput, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray() ||
        !document.array().at(0).isObject())
        throw PlatformError(QStringLiteral("ExifTool's answer could not be read."));
    return document.array().at(0).toObject();
}

} // namespace Metaloom::Cli::StoredTagMatching
