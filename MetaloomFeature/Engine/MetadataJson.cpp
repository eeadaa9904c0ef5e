#include "MetadataJson.h"

#include "ServiceError.h"

#include "MetaloomFeature/Platform/Error.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QVariant>

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

QList<MetadataEntry> entriesFromOutput(const QByteArray &standardOutput)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(standardOutput, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        throw PlatformError(QStringLiteral("ExifTool's output could not be read as JSON: %1 "
                                           "(at byte %2).")
                                .arg(parseError.errorString())
                                .arg(parseError.offset));
    }
    if (!document.isArray())
        throw ServiceError::invalidResponse();
    const QJsonArray array = document.array();
    if (array.isEmpty())
        throw ServiceError::invalidResponse();
    for (const QJsonValue element : array) {
        if (!element.isObject())
            throw ServiceError::invalidResponse();
    }

    const QJsonObject first = array.first().toObject();
    const QSet<QString> &hidden = MetadataEntry::hiddenGroups();
    QList<MetadataEntry> entries;
    entries.reserve(first.size());
    for (auto it = first.begin(); it != first.end(); ++it) {
        if (it.key() == QLatin1String("SourceFile"))
            continue;
        MetadataEntry entry(it.key(), valueText(it.value()));
        if (hidden.contains(entry.group))
            continue;
        entries.append(std::move(entry));
    }
    sortByGroupAndTag(entries);
    return entries;
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

void sortByGroupAndTag(QList<MetadataEntry> &entries)
{
    // Collation keys are computed once per distinct string: comparing keys is
    // far cheaper than collating strings again for every comparison.
    using LocalizedText::SortKey;
    QHash<QString, SortKey> groupKeys;
    struct Keyed {
        const SortKey *group;
        SortKey tag;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        auto found = groupKeys.find(entries[i].group);
        if (found == groupKeys.end())
            found = groupKeys.insert(entries[i].group, SortKey(entries[i].group));
        keyed.push_back({nullptr, SortKey(entries[i].tag), i});
    }
    for (Keyed &k : keyed)
        k.group = &*groupKeys.constFind(entries[k.index].group);

    std::stable_sort(keyed.begin(), keyed.end(), [&entries](const Keyed &a, const Keyed &b) {
        const QString &groupA = entries[a.index].group;
        const QString &groupB = entries[b.index].group;
        if (groupA != groupB) {
            const int order = a.group->compare(*b.group);
            if (order != 0)
                return order < 0;
            return groupA < groupB; // differ only in letter case: any fixed order
        }
        return a.tag.compare(b.tag) < 0;
    });

    QList<MetadataEntry> sorted;
    sorted.reserve(entries.size());
    for (const Keyed &k : keyed)
        sorted.append(std::move(entries[k.index]));
    entries = std::move(sorted);
}

} // namespace Metaloom::MetadataJson
