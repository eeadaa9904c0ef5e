#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace Metaloom {

// The application's information list: a few named values fixed when the
// program is built (identifier, version, build number, update key and feed).
// Tests build their own, with missing values or values of the wrong type.
class AppInfo {
public:
    static inline const QString shortVersionKey = QStringLiteral("CFBundleShortVersionString");
    static inline const QString buildNumberKey = QStringLiteral("CFBundleVersion");
    static inline const QString updatePublicKeyKey = QStringLiteral("SUPublicEDKey");
    static inline const QString updateFeedKey = QStringLiteral("SUFeedURL");
    // The reverse-DNS application identifier: the name of the desktop entry,
    // the AppStream component and the icon in the desktop's icon theme.
    static inline const QString identifierKey = QStringLiteral("CFBundleIdentifier");

    explicit AppInfo(QVariantMap values = {}) : m_values(std::move(values)) {}

    // The running application's values, from the build configuration. A
    // value configured empty is left out, as if the list did not hold it.
    static const AppInfo &main();

    QVariant value(const QString &key) const { return m_values.value(key); }
    // The value when it is text; nothing when it is missing or of another type.
    std::optional<QString> string(const QString &key) const;
    // The text to show for a value: the value, or "-" when it is missing or
    // not text.
    QString textOrHyphen(const QString &key) const
    {
        return string(key).value_or(QStringLiteral("-"));
    }

    const QVariantMap &values() const { return m_values; }

private:
    QVariantMap m_values;
};

} // namespace Metaloom
