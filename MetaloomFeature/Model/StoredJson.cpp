#include "StoredJson.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonParseError>

namespace Metaloom {

DecodingError::DecodingError(QStringList codingPath, QString debugDescription)
    : m_codingPath(std::move(codingPath)), m_debugDescription(std::move(debugDescription))
{}

QString DecodingError::localizedDescription() const
{
    return QCoreApplication::translate(
        "StoredJson", "The stored data could not be read because it is not in the expected "
                      "format.");
}

namespace StoredJson {

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> parseUuid(const QString &text)
{
    // QUuid::fromString also takes braces and turns garbage into the null
    // UUID, so the canonical shape is checked first.
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool hyphenPosition = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (hyphenPosition ? c != u'-' : !hex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

QJsonArray parseArray(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw DecodingError({}, QStringLiteral("The given data was not valid JSON: ") +
                                    error.errorString());
    if (!document.isArray())
        throw DecodingError({}, QStringLiteral("Expected an array but found something else."));
    return document.array();
}

QString indexPathComponent(qsizetype index)
{
    return QStringLiteral("Index ") + QString::number(index);
}

ObjectReader::ObjectReader(const QJsonValue &value, QStringList codingPath)
    : m_object(value.toObject()), m_codingPath(std::move(codingPath))
{
    if (!value.isObject())
        fail(QStringLiteral("Expected an object but found something else."));
}

void ObjectReader::fail(const QString &debugDescription) const
{
    throw DecodingError(m_codingPath, debugDescription);
}

void ObjectReader::failAt(const QString &key, const QString &debugDescription) const
{
    throw DecodingError(m_codingPath + QStringList{key}, debugDescription);
}

QJsonValue ObjectReader::required(const QString &key) const
{
    const auto found = m_object.constFind(key);
    if (found == m_object.constEnd())
        fail(QStringLiteral("No value associated with key \"%1\".").arg(key));
    if (found->isNull())
        failAt(key, QStringLiteral("Expected a value but found null instead."));
    return *found;
}

QString ObjectReader::requiredString(const QString &key) const
{
    const QJsonValue value = required(key);
    if (!value.isString())
        failAt(key, QStringLiteral("Expected a string but found something else."));
    return value.toString();
}

QUuid ObjectReader::requiredUuid(const QString &key) const
{
    const QString text = requiredString(key);
    const std::optional<QUuid> id = parseUuid(text);
    if (!id)
        failAt(key, QStringLiteral("Attempted to decode a UUID from invalid UUID string."));
    return *id;
}

ObjectReader ObjectReader::requiredObject(const QString &key) const
{
    return ObjectReader(required(key), m_codingPath + QStringList{key});
}

QMap<QString, QStringList> ObjectReader::optionalStringListMap(const QString &key) const
{
    const QJsonValue value = m_object.value(key);
    QMap<QString, QStringList> map;
    if (value.isUndefined() || value.isNull())
        return map;
    if (!value.isObject())
        failAt(key, QStringLiteral("Expected an object but found something else."));
    const QJsonObject object = value.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (it.value().isString()) {
            map.insert(it.key(), {it.value().toString()});
            continue;
        }
        const QStringList path = m_codingPath + QStringList{key, it.key()};
        if (!it.value().isArray())
            throw DecodingError(path, QStringLiteral("Expected a string or an array of strings "
                                                     "but found something else."));
        const QJsonArray array = it.value().toArray();
        QStringList items;
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (!array.at(i).isString())
                throw DecodingError(path + QStringList{indexPathComponent(i)},
                                    QStringLiteral("Expected a string but found something else."));
            items.append(array.at(i).toString());
        }
        map.insert(it.key(), items);
    }
    return map;
}

QStringList ObjectReader::optionalStringArray(const QString &key) const
{
    const QJsonValue value = m_object.value(key);
    QStringList list;
    if (value.isUndefined() || value.isNull())
        return list;
    if (!value.isArray())
        failAt(key, QStringLiteral("Expected an array but found something else."));
    const QJsonArray array = value.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array.at(i).isString()) {
            throw DecodingError(m_codingPath + QStringList{key, indexPathComponent(i)},
                                QStringLiteral("Expected a string but found something else."));
        }
        list.append(array.at(i).toString());
    }
    return list;
}

} // namespace StoredJson
} // namespace Metaloom
