#include "PresetCoding.h"

#include "StoredJson.h"

#include <QJsonDocument>

namespace Metaloom::PresetCoding {

namespace {

const QString addOrModifyType = QStringLiteral("addOrModify");

// A value of one item is stored as the text it always was, so presets that
// set no list read the same in every version; several items are an array.
QJsonValue encodeItems(const QStringList &items)
{
    if (items.size() == 1)
        return items.first();
    if (items.isEmpty())
        return QString();
    return QJsonArray::fromStringList(items);
}

QJsonObject encodeAction(const PresetAction &action)
{
    QJsonObject overrides;
    for (auto it = action.overrides.cbegin(); it != action.overrides.cend(); ++it)
        overrides.insert(it.key(), encodeItems(it.value()));
    return QJsonObject{
        {QStringLiteral("type"), addOrModifyType},
        {QStringLiteral("overrides"), overrides},
        {QStringLiteral("removals"), QJsonArray::fromStringList(action.removals)},
    };
}

PresetAction decodeAction(const StoredJson::ObjectReader &reader)
{
    const QString type = reader.requiredString(QStringLiteral("type"));
    // Exact comparison: "AddOrModify" is as foreign as any other word.
    if (type != addOrModifyType)
        reader.fail(QStringLiteral("Unknown preset action type: ") + type);
    return PresetAction::addOrModifyItems(
        reader.optionalStringListMap(QStringLiteral("overrides")),
        reader.optionalStringArray(QStringLiteral("removals")));
}

} // namespace

QByteArray encode(const QList<Preset> &presets)
{
    QJsonArray array;
    for (const Preset &preset : presets) {
        array.append(QJsonObject{
            {QStringLiteral("id"), StoredJson::uuidText(preset.id)},
            {QStringLiteral("name"), preset.name},
            {QStringLiteral("action"), encodeAction(preset.action)},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

QList<Preset> decode(const QByteArray &json)
{
    const QJsonArray array = StoredJson::parseArray(json);
    QList<Preset> presets;
    presets.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        const StoredJson::ObjectReader reader(array.at(i), {StoredJson::indexPathComponent(i)});
        Preset preset;
        preset.id = reader.requiredUuid(QStringLiteral("id"));
        preset.name = reader.requiredString(QStringLiteral("name"));
        preset.action = decodeAction(reader.requiredObject(QStringLiteral("action")));
        presets.append(preset);
    }
    return presets;
}

} // namespace Metaloom::PresetCoding
