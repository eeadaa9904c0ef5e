#include "MetadataExportFormatter.h"

#include "ExportTextWriters.h"
#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QCoreApplication>
#include <QMap>
#include <algorithm>

namespace Metaloom::MetadataExportFormatter {

QList<Format> allCases()
{
    return {Format::Json, Format::Yaml, Format::Toml};
}

QString rawValue(Format format)
{
    switch (format) {
    case Format::Json:
        return QStringLiteral("json");
    case Format::Yaml:
        return QStringLiteral("yaml");
    case Format::Toml:
        return QStringLiteral("toml");
    }
    Q_UNREACHABLE();
}

QString fileExtension(Format format)
{
    return rawValue(format);
}

QString displayName(Format format)
{
    return rawValue(format).toUpper();
}

std::optional<Format> fromRawValue(const QString &text)
{
    for (Format format : allCases()) {
        if (rawValue(format) == text)
            return format;
    }
    return std::nullopt;
}

QString ExportError::localizedDescription() const
{
    return QCoreApplication::translate("MetadataExportFormatter",
                                       "The metadata could not be written as UTF-8 text.");
}

namespace {

// Distinct keys with the value of the last entry that has them, in the user's
// order of keys (locale-aware, case-insensitive). Keys that compare equal
// keep the code-unit order of the map; no particular order is promised.
ExportTextWriters::Pairs sortedPairs(const QList<MetadataEntry> &entries)
{
    QMap<QString, QString> values;
    for (const MetadataEntry &entry : entries)
        values.insert(entry.rawKey, entry.value);

    ExportTextWriters::Pairs pairs;
    pairs.reserve(values.size());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        pairs.append({it.key(), it.value()});
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto &a, const auto &b) {
        return LocalizedText::lessThan(a.first, b.first);
    });
    return pairs;
}

} // namespace

QString string(const QList<MetadataEntry> &entries, Format format)
{
    const ExportTextWriters::Pairs pairs = sortedPairs(entries);
    for (const auto &[key, value] : pairs) {
        if (!ExportTextWriters::isEncodable(key) || !ExportTextWriters::isEncodable(value))
            throw ExportError(ExportError::Kind::EncodingFailed);
    }
    switch (format) {
    case Format::Json:
        return ExportTextWriters::json(pairs);
    case Format::Yaml:
        return ExportTextWriters::yaml(pairs);
    case Format::Toml:
        return ExportTextWriters::toml(pairs);
    }
    Q_UNREACHABLE();
}

} // namespace Metaloom::MetadataExportFormatter
