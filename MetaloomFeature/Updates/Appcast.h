#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace Metaloom {

// An update feed: an RSS document whose items each announce one release.
// An item names its version (the build number it compares against,
// <sparkle:version> or the enclosure's sparkle:version attribute), an
// optional version for display (<sparkle:shortVersionString>) and where to
// get it (<link>, else the enclosure's address).
struct Appcast {
    struct Item {
        QString title;
        QString version;
        QString displayVersion;
        QUrl downloadPage;

        bool operator==(const Item &) const = default;
    };

    QList<Item> items;

    // Reads a feed. Items without a version or without a web address to
    // download from are left out: the program only ever opens http and https
    // addresses it read from the network. Anything that is not an RSS
    // document (an empty body, an HTML error page, broken XML) is refused
    // with the reason in `error`.
    static std::optional<Appcast> parse(const QByteArray &xml, QString *error = nullptr);

    // The item with the highest version, or nothing for a feed without items.
    std::optional<Item> newest() const;
};

} // namespace Metaloom
