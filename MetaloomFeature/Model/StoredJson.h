#pragma once

#include "MetaloomFeature/Platform/Error.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace Metaloom {

// Why a JSON value kept in the preferences could not be decoded. Stored lists
// that fail to decode read as empty and nothing is shown, so the description
// and path only help whoever debugs the stored bytes.
class DecodingError : public Error {
public:
    DecodingError(QStringList codingPath, QString debugDescription);

    // Where the decoder stood, e.g. {"Index 0", "action"}.
    const QStringList &codingPath() const { return m_codingPath; }
    const QString &debugDescription() const { return m_debugDescription; }

    QString localizedDescription() const override;
    void raise() const override { throw *this; }
    DecodingError *clone() const override { return new DecodingError(*this); }

private:
    QStringList m_codingPath;
    QString m_debugDescription;
};

// Helpers shared by the decoders of the stored preset and custom-field lists.
// Every failure throws DecodingError.
namespace StoredJson {

// Identifiers are written in the canonical 36-character form, upper case.
QString uuidText(const QUuid &id);
// Accepts the canonical form in either letter case; nothing for anything else
// (braces, missing hyphens, other lengths).
std::optional<QUuid> parseUuid(const QString &text);

// The top-level array of a stored list.
QJsonArray parseArray(const QByteArray &json);

// One JSON object with the path that led to it, read member by member.
class ObjectReader {
public:
    ObjectReader(const QJsonValue &value, QStringList codingPath);

    QString requiredString(const QString &key) const;
    QUuid requiredUuid(const QString &key) const;
    ObjectReader requiredObject(const QString &key) const;
    // Absent or null members give an empty map or list; any other type fails.
    // Each member of the map a string (one item) or an array of strings.
    QMap<QString, QStringList> optionalStringListMap(const QString &key) const;
    QStringList optionalStringArray(const QString &key) const;

    const QStringList &codingPath() const { return m_codingPath; }
    [[noreturn]] void fail(const QString &debugDescription) const;

private:
    QJsonValue required(const QString &key) const;
    [[noreturn]] void failAt(const QString &key, const QString &debugDescription) const;

    QJsonObject m_object;
    QStringList m_codingPath;
};

QString indexPathComponent(qsizetype index);

} // namespace StoredJson
} // namespace Metaloom
