#include "VossaApps/AppsFeed.h"
#include "VossaApps/AppsLoader.h"
#include "VossaApps/MakerInfo.h"

#include <QtTest>

using namespace VossaApps;

namespace {

QByteArray feedWithEntry(const QByteArray &entryMembers)
{
    return R"({"schema": 1, "apps": [{)" + entryMembers + "}]}";
}

const QByteArray requiredMembers =
    R"("slug": "lumen", "name": "Lumen", "url": "https://quillforge.app/lumen")";

} // namespace

class AppsFeedTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodesEveryMemberInOrder();
    void optionalMembersDefaultWhenAbsentOrNull();
    void rejectsTheWholeFeed_data();
    void rejectsTheWholeFeed();
    void othersDropsTheCallerIgnoringCase();
    void summaryFallsBackToDescription();
    void feedAddressFromTheEnvironment_data();
    void feedAddressFromTheEnvironment();
};

void AppsFeedTest::decodesEveryMemberInOrder()
{
    const QByteArray json =
        R"({)"
        R"(        "schema": 2, "generated": "2024-05-01", "apps": [)"
        R"(        {"slug": "lumen", "name": "Lumen", "tagline": "Light meter", "description": "Long text",)"
        R"(         "url": "https://quillforge.app/lumen", "icon": "https://quillforge.app/lumen.png",)"
        R"(         "color": "#FF8800", "platforms": ["mac"]},)"
        R"(        {"slug": "metaloom", "name": "Metaloom", "url": "http://quillforge.app/metaloom"}]})";
    QString error;
    const auto feed = AppsFeed::decode(json, &error);
    QVERIFY2(feed, qPrintable(error));
    QCOMPARE(feed->schema, 2);
    QCOMPARE(feed->apps.size(), 2);
    const AppsFeed::Entry expected(
        QStringLiteral("lumen"), QStringLiteral("Lumen"), QStringLiteral("Light meter"),
        QStringLiteral("Long text"), QUrl(QStringLiteral("https://quillforge.app/lumen")),
        QUrl(QStringLiteral("https://quillforge.app/lumen.png")), QStringLiteral("#FF8800"));
    QCOMPARE(feed->apps.at(0), expected);
    QCOMPARE(feed->apps.at(0).id(), QStringLiteral("lumen"));
    QCOMPARE(feed->apps.at(1).slug, QStringLiteral("metaloom"));
    QVERIFY(feed->apps.at(0) != feed->apps.at(1));
}

void AppsFeedTest::optionalMembersDefaultWhenAbsentOrNull()
{
    for (const QByteArray &extra :
         {QByteArray(), QByteArray(R"(, "tagline": null, "description": null, "icon": null,)"
                                   R"(                                      "color": null)")}) {
        const auto feed = AppsFeed::decode(feedWithEntry(requiredMembers + extra));
        QVERIFY(feed);
        QCOMPARE(feed->apps.size(), 1);
        const AppsFeed::Entry &entry = feed->apps.first();
        QCOMPARE(entry.tagline, QString());
        QCOMPARE(entry.description, QString());
        QCOMPARE(entry.color, QString());
        QVERIFY(!entry.icon.has_value());
        QCOMPARE(entry.url, QUrl(QStringLiteral("https://quillforge.app/lumen")));
    }
    const auto empty = AppsFeed::decode(R"({"schema": 1, "apps": []})");
    QVERIFY(empty);
    QVERIFY(empty->apps.isEmpty());
}

void AppsFeedTest::rejectsTheWholeFeed_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("messagePart");
    const QByteArray good = "{" + requiredMembers + "}";
    auto withSecond = [&](const QByteArray &members) {
        return R"({"schema": 1, "apps": [)" + good + ", {" + members + "}]}";
    };
    QTest::newRow("not JSON") << QByteArray("<html>Error</html>") << "not valid JSON";
    QTest::newRow("truncated") << QByteArray(R"({"schema": 1, "apps": [{"slug": "lu)")
                               << "not valid JSON";
    QTest::newRow("empty body") << QByteArray() << "not valid JSON";
    QTest::newRow("array at top") << QByteArray("[]") << "not a JSON object";
    QTest::newRow("no schema") << QByteArray(R"({"apps": []})") << "\"schema\"";
    QTest::newRow("null schema") << QByteArray(R"({"schema": null, "apps": []})") << "\"schema\"";
    QTest::newRow("fractional schema")
        << QByteArray(R"({"schema": 1.5, "apps": []})") << "whole number";
    QTest::newRow("schema as text")
        << QByteArray(R"({"schema": "1", "apps": []})") << "whole number";
    QTest::newRow("no apps") << QByteArray(R"({"schema": 1})") << "\"apps\"";
    QTest::newRow("apps not array") << QByteArray(R"({"schema": 1, "apps": {}})") << "not an array";
    QTest::newRow("entry not object")
        << QByteArray(R"({"schema": 1, "apps": [3]})") << "App 1 in the list is not an object";
    QTest::newRow("second entry without url")
        << withSecond(R"("slug": "b", "name": "B")") << "App 2 in the list has no \"url\"";
    QTest::newRow("null url") << withSecond(R"("slug": "b", "name": "B", "url": null)")
                              << "no \"url\"";
    QTest::newRow("url not an address")
        << withSecond(R"("slug": "b", "name": "B", "url": "not a url")") << "not a web address";
    QTest::newRow("relative url") << withSecond(R"("slug": "b", "name": "B", "url": "/b")")
                                  << "not a web address";
    QTest::newRow("file url") << withSecond(
                                     R"("slug": "b", "name": "B", "url": "file:///usr/bin/xterm")")
                              << "not a web address";
    QTest::newRow("bad icon")
        << withSecond(R"("slug": "b", "name": "B", "url": "https://x.org", "icon": "ht tp://")")
        << "\"icon\"";
    QTest::newRow("no slug") << withSecond(R"("name": "B", "url": "https://x.org")")
                             << "no \"slug\"";
    QTest::newRow("null name") << withSecond(R"("slug": "b", "name": null, "url": "https://x.org")")
                               << "no \"name\"";
    QTest::newRow("tagline as number")
        << withSecond(R"("slug": "b", "name": "B", "url": "https://x.org", "tagline": 4)")
        << "\"tagline\" that is not text";
    QTest::newRow("color as number")
        << withSecond(R"("slug": "b", "name": "B", "url": "https://x.org", "color": 255)")
        << "\"color\" that is not text";
}

void AppsFeedTest::rejectsTheWholeFeed()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, messagePart);
    QString error;
    QVERIFY(!AppsFeed::decode(json, &error));
    QVERIFY2(error.contains(messagePart), qPrintable(error));
}

void AppsFeedTest::othersDropsTheCallerIgnoringCase()
{
    const auto feed = AppsFeed::decode(
        R"({"schema": 1, "apps": [)"
        R"(        {"slug": "lumen", "name": "Lumen", "url": "https://q.app/l"},)"
        R"(        {"slug": "metaloom", "name": "Metaloom", "url": "https://q.app/m"},)"
        R"(        {"slug": "Arbor", "name": "Arbor", "url": "https://q.app/a"}]})");
    QVERIFY(feed);
    auto slugs = [](const QList<AppsFeed::Entry> &entries) {
        QStringList result;
        for (const auto &entry : entries)
            result << entry.slug;
        return result;
    };
    QCOMPARE(slugs(feed->others(QStringLiteral("Metaloom"))),
             QStringList({QStringLiteral("lumen"), QStringLiteral("Arbor")}));
    QCOMPARE(slugs(feed->others(QStringLiteral("arbor"))),
             QStringList({QStringLiteral("lumen"), QStringLiteral("metaloom")}));
    QCOMPARE(feed->others(QStringLiteral("unknown")), feed->apps);
}

void AppsFeedTest::summaryFallsBackToDescription()
{
    AppsFeed::Entry entry;
    entry.description = QStringLiteral("Longer text");
    QCOMPARE(entry.summary(), QStringLiteral("Longer text"));
    entry.tagline = QStringLiteral("Short");
    QCOMPARE(entry.summary(), QStringLiteral("Short"));
}

void AppsFeedTest::feedAddressFromTheEnvironment_data()
{
    QTest::addColumn<std::optional<QString>>("value");
    QTest::addColumn<QUrl>("expected");
    const QUrl builtIn = MakerInfo::builtInFeedURL();
    QTest::newRow("unset") << std::optional<QString>() << builtIn;
    QTest::newRow("empty") << std::optional<QString>(QString()) << builtIn;
    QTest::newRow("not a URL") << std::optional<QString>(QStringLiteral("feed please")) << builtIn;
    QTest::newRow("relative") << std::optional<QString>(QStringLiteral("apps.json")) << builtIn;
    QTest::newRow("override") << std::optional<QString>(QStringLiteral("http://127.0.0.1:9/f.json"))
                              << QUrl(QStringLiteral("http://127.0.0.1:9/f.json"));
}

void AppsFeedTest::feedAddressFromTheEnvironment()
{
    QFETCH(std::optional<QString>, value);
    QFETCH(QUrl, expected);
    QCOMPARE(AppsLoader::feedURLFrom(value), expected);
    QVERIFY(MakerInfo::builtInFeedURL().isValid());
    QCOMPARE(MakerInfo::builtInFeedURL().scheme(), QStringLiteral("https"));
    QVERIFY(MakerInfo::builtInFeedURL().path().endsWith(QStringLiteral("/apps.json")));
}

QTEST_GUILESS_MAIN(AppsFeedTest)
#include "tst_AppsFeed.moc"
