#pragma once

#include "MetadataEntry.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QList>
#include <QString>
#include <optional>

// Turns the entries of one file into the text of a JSON, YAML or TOML file.
// A pure function of its input: it reads no files and keeps no state.
namespace Metaloom::MetadataExportFormatter {

enum class Format { Json, Yaml, Toml };

// In the order the formats are offered.
QList<Format> allCases();
// "json", "yaml", "toml".
QString rawValue(Format format);
// The raw value, used as the file name extension.
QString fileExtension(Format format);
// The raw value in upper case: "JSON", "YAML", "TOML".
QString displayName(Format format);
// Exactly the three lower-case raw values; nothing for any other text.
std::optional<Format> fromRawValue(const QString &rawValue);

// The text cannot be written as UTF-8: a key or value holds half of a
// surrogate pair (a broken UTF-16 string), which no encoder can represent.
class ExportError : public Error {
public:
    enum class Kind { EncodingFailed };

    explicit ExportError(Kind kind = Kind::EncodingFailed) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    QString localizedDescription() const override;
    void raise() const override { throw *this; }
    ExportError *clone() const override { return new ExportError(*this); }

    bool operator==(const ExportError &other) const { return m_kind == other.m_kind; }

private:
    Kind m_kind;
};

inline size_t qHash(const ExportError &error, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<int>(error.kind()), seed);
}

// One member per distinct raw key with the entry's current (possibly edited)
// value; a later entry with the same key wins. Every entry passed is
// exported, read-only ones included. Throws ExportError.
//
// JSON: pretty printed, two-space indent, `"key" : "value"`, keys in code
// point order, "/" written as "\/", non-ASCII text as UTF-8, no line feed
// after the closing brace; no entries give "{}".
// YAML: "---", then one `"key": "value"` line per key, in the user's
// locale-aware case-insensitive order. TOML: "# Metaloom metadata export",
// then `"key" = "value"` lines in the same order. Every line of both ends
// with a line feed.
QString string(const QList<MetadataEntry> &entries, Format format);

} // namespace Metaloom::MetadataExportFormatter
