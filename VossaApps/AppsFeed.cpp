#include "AppsFeed.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <limits>

namespace VossaApps {

namespace {

// Thrown only inside this file: the first fault found ends decoding.
struct DecodeFault {
    QString message;
};

QString where(int index)
{
    return index < 0 ? QCoreApplication::translate("VossaApps::AppsFeed", "The app list")
                     : QCoreApplication::translate("VossaApps::AppsFeed", "App %1 in the list")
                           .arg(index + 1);
}

// Absent and null members are the same to the feed's readers.
std::optional<QJsonValue> member(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    return value;
}

std::optional<QString> optionalString(const QJsonObject &object, const char *key, int index)
{
    const auto value = member(object, QString::fromLatin1(key));
    if (!value)
        return std::nullopt;
    if (!value->isString())
        throw DecodeFault{
            QCoreApplication::translate("VossaApps::AppsFeed", "%1 has a \"%2\" that is not text.")
                .arg(where(index), key)};
    return value->toString();
}

QString requiredString(const QJsonObject &object, const char *key, int index)
{
    const auto text = optionalString(object, key, index);
    if (!text)
        throw DecodeFault{QCoreApplication::translate("VossaApps::AppsFeed", "%1 has no \"%2\".")
                              .arg(where(index), key)};
    return *text;
}

// Rows and menu items open these addresses in the browser and icons are
// fetched from them, so only absolute http and https addresses are accepted:
// a feed must not be able to launch local files or other URL handlers.
std::optional<QUrl> optionalWebURL(const QJsonObject &object, const char *key, int index)
{
    const auto text = optionalString(object, key, index);
    if (!text)
        return std::nullopt;
    const QUrl url(*text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != u"https" && scheme != u"http") || url.host().isEmpty())
        throw DecodeFault{QCoreApplication::translate("VossaApps::AppsFeed",
                                                      "%1 has a \"%2\" that is not a web address.")
                              .arg(where(index), key)};
    return url;
}

int requiredInteger(const QJsonObject &object, const char *key)
{
    const auto value = member(object, QString::fromLatin1(key));
    if (!value)
        throw DecodeFault{QCoreApplication::translate("VossaApps::AppsFeed", "%1 has no \"%2\".")
                              .arg(where(-1), key)};
    const double number = value->toDouble(std::nan(""));
    if (!value->isDouble() || std::trunc(number) != number ||
        number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        throw DecodeFault{QCoreApplication::translate("VossaApps::AppsFeed",
                                                      "%1 has a \"%2\" that is not a whole number.")
                              .arg(where(-1), key)};
    return static_cast<int>(number);
}

AppsFeed::Entry decodeEntry(const QJsonValue &value, int index)
{
    if (!value.isObject())
        throw DecodeFault{QCoreApplication::translate("VossaApps::AppsFeed", "%1 is not an object.")
                              .arg(where(index))};
    const QJsonObject object = value.toObject();
    AppsFeed::Entry entry;
    entry.slug = requiredString(object, "slug", index);
    entry.name = requiredString(object, "name", index);
    entry.tagline = optionalString(object, "tagline", index).value_or(QString());
    entry.description = optionalString(object, "description", index).value_or(QString());
    const auto url = optionalWebURL(object, "url", index);
    if (!url)
        throw DecodeFault{QCoreApplication::translate("VossaApps::AppsFeed", "%1 has no \"url\".")
                              .arg(where(index))};
    entry.url = *url;
    entry.icon = optionalWebURL(object, "icon", index);
    entry.color = optionalString(object, "color", index).value_or(QString());
    return entry;
}

AppsFeed decodeFeed(const QByteArray &json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw DecodeFault{
            QCoreApplication::translate("VossaApps::AppsFeed",
                                        "The app list is not valid JSON (%1 at byte %2).")
                .arg(parseError.errorString())
                .arg(parseError.offset)};
    if (!document.isObject())
        throw DecodeFault{QCoreApplication::translate("VossaApps::AppsFeed",
                                                      "The app list is not a JSON object.")};
    const QJsonObject root = document.object();

    AppsFeed feed;
    feed.schema = requiredInteger(root, "schema");
    const auto apps = member(root, QStringLiteral("apps"));
    if (!apps)
        throw DecodeFault{
            QCoreApplication::translate("VossaApps::AppsFeed", "The app list has no \"apps\".")};
    if (!apps->isArray())
        throw DecodeFault{QCoreApplication::translate(
            "VossaApps::AppsFeed", "The app list has an \"apps\" that is not an array.")};
    const QJsonArray array = apps->toArray();
    feed.apps.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i)
        feed.apps.append(decodeEntry(array.at(i), static_cast<int>(i)));
    return feed;
}

} // namespace

AppsFeed::Entry::Entry(QString slug_, QString name_, QString tagline_, QString description_,
                       QUrl url_, std::optional<QUrl> icon_, QString color_)
    : slug(std::move(slug_)), name(std::move(name_)), tagline(std::move(tagline_)),
      description(std::move(description_)), url(std::move(url_)), icon(std::move(icon_)),
      color(std::move(color_))
{}

std::optional<AppsFeed> AppsFeed::decode(const QByteArray &json, QString *error)
{
    try {
        return decodeFeed(json);
    } catch (const DecodeFault &fault) {
        if (error)
            *error = fault.message;
        return std::nullopt;
    }
}

QList<AppsFeed::Entry> AppsFeed::others(const QString &currentApp) const
{
    return otherApps(apps, currentApp);
}

QList<AppsFeed::Entry> otherApps(const QList<AppsFeed::Entry> &apps, const QString &currentApp)
{
    const QString current = currentApp.toLower();
    QList<AppsFeed::Entry> result;
    for (const AppsFeed::Entry &entry : apps) {
        if (entry.slug.toLower() != current)
            result.append(entry);
    }
    return result;
}

} // namespace VossaApps
