#include "CustomMetadataTagCoding.h"

#include "StoredJson.h"

#include <QJsonDocument>

namespace Metaloom::CustomMetadataTagCoding {

QByteArray encode(const QList<CustomMetadataTag> &tags)
{
    QJsonArray array;
    for (const CustomMetadataTag &tag : tags) {
        array.append(QJsonObject{
            {QStringLiteral("id"), StoredJson::uuidText(tag.id)},
            {QStringLiteral("rawKey"), tag.rawKey},
            {QStringLiteral("displayName"), tag.displayName},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QList<CustomMetadataTag> decode(const QByteArray &json)
{
    const QJsonArray array = StoredJson::parseArray(json);
    QList<CustomMetadataTag> tags;
    tags.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        const StoredJson::ObjectReader reader(array.at(i), {StoredJson::indexPathComponent(i)});
        tags.append(CustomMetadataTag{reader.requiredUuid(QStringLiteral("id")),
                                      reader.requiredString(QStringLiteral("rawKey")),
                                      reader.requiredString(QStringLiteral("displayName"))});
    }
    return tags;
}

} // namespace Metaloom::CustomMetadataTagCoding
