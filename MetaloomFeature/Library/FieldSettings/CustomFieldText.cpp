#include "MetaloomFeature/Library/FieldSettings/CustomFieldText.h"

namespace Metaloom::CustomFieldText {

std::optional<Parsed> parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return Parsed{std::nullopt, trimmed};
    const QString label = trimmed.left(colon).trimmed();
    const QString key = trimmed.mid(colon + 1).trimmed();
    if (key.contains(QLatin1Char(':')))
        return Parsed{label.isEmpty() ? std::nullopt : std::optional(label), key};
    return Parsed{std::nullopt, trimmed};
}

QString editText(const CustomMetadataTag &field)
{
    const QString label = field.displayName.trimmed();
    const QString key = field.rawKey.trimmed();
    return label.isEmpty() ? key : label + QLatin1Char(':') + key;
}

CustomMetadataTag edited(CustomMetadataTag field, const QString &text)
{
    const std::optional<Parsed> parsed = parse(text);
    field.rawKey = parsed ? parsed->key : QString();
    field.displayName = parsed ? parsed->label.value_or(QString()) : QString();
    return field;
}

QList<CustomMetadataTag> normalised(const QList<CustomMetadataTag> &fields)
{
    QList<CustomMetadataTag> kept;
    for (const CustomMetadataTag &field : fields) {
        const std::optional<Parsed> parsed = parse(editText(field));
        if (!parsed || parsed->key.isEmpty())
            continue;
        kept.append({field.id, parsed->key, parsed->label.value_or(QString())});
    }
    return kept;
}

} // namespace Metaloom::CustomFieldText
