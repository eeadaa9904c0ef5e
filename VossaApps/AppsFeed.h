#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>

#include <optional>

namespace VossaApps {

// The companion-apps feed: a format version and the maker's applications in
// the order in which they are shown.
struct AppsFeed {
    struct Entry {
        QString slug;
        QString name;
        QString tagline;
        QString description;
        QUrl url;
        std::optional<QUrl> icon;
        QString color;

        Entry() = default;
        Entry(QString slug, QString name, QString tagline, QString description, QUrl url,
              std::optional<QUrl> icon, QString color);

        // An entry is identified by its slug.
        const QString &id() const { return slug; }
        // The one line shown under the name: the tagline, or the description
        // when the feed gives no tagline.
        QString summary() const { return tagline.isEmpty() ? description : tagline; }

        bool operator==(const Entry &) const = default;
    };

    int schema = 0;
    QList<Entry> apps;

    // Decodes a feed document. Any fault — malformed JSON, a missing or
    // mistyped member, an address that is not a web address — rejects the
    // whole feed, so a half-understood list is never shown; the reason goes
    // to `error` when given.
    static std::optional<AppsFeed> decode(const QByteArray &json, QString *error = nullptr);

    // The applications other than the one whose slug is given, compared
    // without regard to case, in feed order.
    QList<Entry> others(const QString &currentApp) const;

    bool operator==(const AppsFeed &) const = default;
};

// The filter behind AppsFeed::others and AppsCatalog::others.
QList<AppsFeed::Entry> otherApps(const QList<AppsFeed::Entry> &apps, const QString &currentApp);

} // namespace VossaApps

Q_DECLARE_METATYPE(VossaApps::AppsFeed::Entry)
