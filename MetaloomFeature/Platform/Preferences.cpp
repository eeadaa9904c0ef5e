#include "Preferences.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSettings>

namespace Metaloom {

// How each kind of value survives the INI file behind QSettings:
// - data is written by QSettings as @ByteArray(...) and reads back as QByteArray;
// - dictionaries are written as @Variant(...) (a QDataStream image) and read
//   back as QVariantMap with their value types intact;
// - arrays are the trouble: a QStringList is written as plain comma-separated
//   text, so a one-element list reads back as a QString, an empty list as an
//   invalid value, and numbers in a QVariantList come back as strings. Arrays
//   are therefore written as QJsonArray, which QSettings stores as @Variant and
//   returns as QJsonArray with strings and numbers told apart.
// Lists written by other QSettings users (QStringList, QVariantList) are still
// accepted on read.

Preferences::Preferences(QString filePath) : m_filePath(std::move(filePath)) {}

Preferences Preferences::standard()
{
    return Preferences(QString());
}

Preferences Preferences::atPath(const QString &filePath)
{
    return Preferences(filePath);
}

std::unique_ptr<QSettings> Preferences::open() const
{
    if (m_filePath.isEmpty()) {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Quillforge"),
                                           QStringLiteral("Metaloom"));
    }
    return std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
}

QVariant Preferences::read(const QString &key) const
{
    return open()->value(key);
}

QString Preferences::fileName() const
{
    return open()->fileName();
}

bool Preferences::contains(const QString &key) const
{
    // An "@Invalid()" entry holds no value; it counts as absent.
    return read(key).isValid();
}

std::optional<QByteArray> Preferences::data(const QString &key) const
{
    const QVariant value = read(key);
    if (value.metaType().id() != QMetaType::QByteArray)
        return std::nullopt;
    return value.toByteArray();
}

std::optional<QString> Preferences::string(const QString &key) const
{
    const QVariant value = read(key);
    if (value.metaType().id() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<QVariantList> Preferences::array(const QString &key) const
{
    const QVariant value = read(key);
    switch (value.metaType().id()) {
    case QMetaType::QJsonArray:
        return value.toJsonArray().toVariantList();
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return value.toList();
    default:
        return std::nullopt;
    }
}

std::optional<QStringList> Preferences::stringArray(const QString &key) const
{
    const std::optional<QVariantList> elements = array(key);
    if (!elements)
        return std::nullopt;
    QStringList strings;
    strings.reserve(elements->size());
    for (const QVariant &element : *elements) {
        if (element.metaType().id() != QMetaType::QString)
            return std::nullopt;
        strings.append(element.toString());
    }
    return strings;
}

std::optional<QVariantMap> Preferences::dictionary(const QString &key) const
{
    const QVariant value = read(key);
    switch (value.metaType().id()) {
    case QMetaType::QVariantMap:
        return value.toMap();
    case QMetaType::QVariantHash: {
        const QVariantHash hash = value.toHash();
        QVariantMap map;
        for (auto it = hash.cbegin(); it != hash.cend(); ++it)
            map.insert(it.key(), it.value());
        return map;
    }
    case QMetaType::QJsonObject:
        return value.toJsonObject().toVariantMap();
    default:
        return std::nullopt;
    }
}

bool Preferences::setData(const QString &key, const QByteArray &value)
{
    return write(key, value);
}

bool Preferences::setString(const QString &key, const QString &value)
{
    return write(key, value);
}

bool Preferences::setArray(const QString &key, const QVariantList &value)
{
    return write(key, QJsonArray::fromVariantList(value));
}

bool Preferences::setStringArray(const QString &key, const QStringList &value)
{
    return write(key, QJsonArray::fromStringList(value));
}

bool Preferences::setDictionary(const QString &key, const QVariantMap &value)
{
    return write(key, value);
}

std::optional<bool> Preferences::boolean(const QString &key) const
{
    const QVariant value = read(key);
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool();
    // Read back from the file, a flag is the text it was written as.
    if (value.metaType().id() == QMetaType::QString) {
        if (value.toString() == QLatin1String("true"))
            return true;
        if (value.toString() == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

bool Preferences::setBoolean(const QString &key, bool value)
{
    return write(key, value);
}

bool Preferences::remove(const QString &key)
{
    const auto settings = open();
    settings->remove(key);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool Preferences::copyValue(const QString &from, const QString &to)
{
    const QVariant value = read(from);
    return value.isValid() && write(to, value);
}

bool Preferences::write(const QString &key, const QVariant &value)
{
    const auto settings = open();
    settings->setValue(key, value);
    // Written through at once: the next start of the program reads the file,
    // and nothing is lost if the program dies.
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace Metaloom
