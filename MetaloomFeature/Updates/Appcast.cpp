#include "Appcast.h"

#include "VersionComparison.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

namespace Metaloom {

namespace {

const QString sparkleNamespace =
    QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == u"https" || url.scheme() == u"http");
}

bool isSparkle(const QXmlStreamReader &reader, QLatin1StringView name)
{
    return reader.namespaceUri() == sparkleNamespace && reader.name() == name;
}

// Reads one <item>, the reader standing on its start.
Appcast::Item readItem(QXmlStreamReader &reader)
{
    Appcast::Item item;
    QUrl link;
    QUrl enclosure;
    while (reader.readNextStartElement()) {
        const bool plain = reader.namespaceUri().isEmpty();
        if (plain && reader.name() == u"title") {
            item.title = reader.readElementText().trimmed();
        } else if (plain && reader.name() == u"link") {
            link = QUrl(reader.readElementText().trimmed());
        } else if (isSparkle(reader, QLatin1StringView("version"))) {
            item.version = reader.readElementText().trimmed();
        } else if (isSparkle(reader, QLatin1StringView("shortVersionString"))) {
            item.displayVersion = reader.readElementText().trimmed();
        } else if (plain && reader.name() == u"enclosure") {
            const QXmlStreamAttributes attributes = reader.attributes();
            enclosure = QUrl(attributes.value(QStringLiteral("url")).trimmed().toString());
            if (item.version.isEmpty())
                item.version = attributes.value(sparkleNamespace, QStringLiteral("version"))
                                   .trimmed()
                                   .toString();
            if (item.displayVersion.isEmpty())
                item.displayVersion =
                    attributes.value(sparkleNamespace, QStringLiteral("shortVersionString"))
                        .trimmed()
                        .toString();
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    item.downloadPage = isWebAddress(link) ? link : enclosure;
    if (item.displayVersion.isEmpty())
        item.displayVersion = item.version;
    return item;
}

void readChannel(QXmlStreamReader &reader, Appcast &appcast)
{
    while (reader.readNextStartElement()) {
        if (reader.namespaceUri().isEmpty() && reader.name() == u"item") {
            Appcast::Item item = readItem(reader);
            if (!item.version.isEmpty() && isWebAddress(item.downloadPage))
                appcast.items.append(std::move(item));
        } else {
            reader.skipCurrentElement();
        }
    }
}

} // namespace

std::optional<Appcast> Appcast::parse(const QByteArray &xml, QString *error)
{
    const auto fail = [error](const QString &reason) -> std::optional<Appcast> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (xml.trimmed().isEmpty())
        return fail(QCoreApplication::translate("Appcast", "The update feed is empty."));
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement())
        return fail(QCoreApplication::translate("Appcast", "The update feed is not valid XML."));
    if (reader.name() != u"rss")
        return fail(
            QCoreApplication::translate("Appcast", "The update feed is not an RSS document."));
    Appcast appcast;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"channel")
            readChannel(reader, appcast);
        else
            reader.skipCurrentElement();
    }
    // Read to the end, so a document broken after its items is refused too.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        return fail(QCoreApplication::translate("Appcast", "The update feed is not valid XML (%1).")
                        .arg(reader.errorString()));
    return appcast;
}

std::optional<Appcast::Item> Appcast::newest() const
{
    std::optional<Item> best;
    for (const Item &item : items) {
        if (!best || compareVersions(item.version, best->version) > 0)
            best = item;
    }
    return best;
}

} // namespace Metaloom
