#pragma once

#include <QSet>
#include <QString>
#include <QUuid>
#include <optional>

namespace Metaloom {

// One tag of one file as the editor shows it. The raw key is ExifTool's
// family-1 group, a colon and the tag name ("XMP-dc:Creator").
struct MetadataEntry {
    QUuid id;
    QString rawKey;
    QString group;
    QString tag;
    QString displayName;
    QString originalValue;
    QString value;
    bool forceReadOnly = false;
    std::optional<QString> warning;
    bool isFavorite = false;
    bool isDefaultFavorite = false;

    // Splits the key at its first colon ("General" when there is none) and
    // labels the entry with the override or with the tag name, underscores
    // shown as spaces.
    MetadataEntry(const QString &rawKey, const QString &value,
                  const std::optional<QString> &displayNameOverride = std::nullopt);

    bool isModified() const { return value != originalValue; }
    bool isWritable() const;

    // Groups ExifTool reports about itself or its container parsing; never shown.
    static const QSet<QString> &hiddenGroups();

    bool operator==(const MetadataEntry &) const = default;
};

size_t qHash(const MetadataEntry &entry, size_t seed = 0) noexcept;

} // namespace Metaloom
