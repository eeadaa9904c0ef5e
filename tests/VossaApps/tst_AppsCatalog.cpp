#include "VossaApps/AppsCache.h"
#include "VossaApps/AppsCatalog.h"
#include "VossaApps/AppsFeed.h"
#include "VossaApps/MakerInfo.h"
#include "tests/support/FutureWaiting.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPromise>
#include <QSignalSpy>
#include <QtTest>

using namespace VossaApps;
using Metaloom::Testing::LoopbackHttpServer;
using Metaloom::Testing::waitForFuture;
using Response = LoopbackHttpServer::Response;

namespace {

// Deliberately not in the compact form QJsonDocument would write, so a
// re-encoded cache would show.
const QByteArray cachedFeed = "{ \"schema\" : 1,\n  \"apps\" : [\n"
                              "  { \"slug\":\"lumen\", \"name\":\"Lumen\", \"extra\": [1, 2],\n"
                              "    \"url\":\"https://quillforge.app/lumen\" } ] }\n";

const QByteArray freshFeed =
    R"({"schema": 1, "apps": [)"
    R"(    {"slug": "metaloom", "name": "Metaloom", "url": "https://quillforge.app/metaloom"},)"
    R"(    {"slug": "arbor", "name": "Arbor", "url": "https://quillforge.app/arbor"},)"
    R"(    {"slug": "lumen", "name": "Lumen", "url": "https://quillforge.app/lumen"}]})";

const QByteArray entryWithoutURL = R"({"schema": 1, "apps": [{"slug": "a", "name": "A"}]})";

const QByteArray lumen =
    R"("slug": "lumen", "name": "Lumen", "url": "https://quillforge.app/lumen")";

QByteArray feedOf(const QByteArray &entries)
{
    return R"({"schema": 1, "apps": [)" + entries + "]}";
}

QStringList slugs(const QList<AppsFeed::Entry> &entries)
{
    QStringList result;
    for (const auto &entry : entries)
        result << entry.slug;
    return result;
}

QByteArray readCacheFile()
{
    QFile file(*AppsLoader::cacheFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeCacheFile(const QByteArray &bytes)
{
    const QString path = *AppsLoader::cacheFilePath();
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

} // namespace

class AppsCatalogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void decodesEveryMemberInOrder();
    void rejectsTheWholeFeed_data();
    void rejectsTheWholeFeed();
    void feedAddressFromTheEnvironment_data();
    void feedAddressFromTheEnvironment();
    void validFeedIsReturnedAndCachedAsServed();
    void cacheLivesInThePerUserDataFolder();
    void unreadableOrUnwritableCacheIsNotAnError();
    void failedRefreshKeepsTheCache_data();
    void failedRefreshKeepsTheCache();
    void startsFromTheCacheWithoutFetching();
    void cacheArrivingLateNeverReplacesTheNetworksList();
    void refreshesStartedTogetherMakeOneRequest();
    void refreshIfNeededStopsAfterTheFirstSuccess();
    void abandonedLoadDoesNotLeaveTheCatalogLoading();

private:
    QUrl feedURL() const { return m_server->url(QStringLiteral("/apps.json")); }
    void serve(const Response &response) { m_server->setResponse("/apps.json", response); }
    int requests() const { return m_server->requestCount(QStringLiteral("/apps.json")); }

    std::unique_ptr<Metaloom::Testing::TestEnvironment> m_env;
    std::unique_ptr<LoopbackHttpServer> m_server;
};

void AppsCatalogTest::init()
{
    m_env = std::make_unique<Metaloom::Testing::TestEnvironment>();
    m_server = std::make_unique<LoopbackHttpServer>();
}

void AppsCatalogTest::cleanup()
{
    m_server.reset();
    m_env.reset();
}

// Optional members may be absent or null.
void AppsCatalogTest::decodesEveryMemberInOrder()
{
    QString error;
    const auto feed = AppsFeed::decode(
        R"({"schema": 2, "generated": "2024-05-01", "apps": [)"
        R"(  {"slug": "lumen", "name": "Lumen", "tagline": "Light meter", "description": "Long",)"
        R"(   "url": "https://quillforge.app/lumen", "icon": "https://quillforge.app/lumen.png",)"
        R"(   "color": "#FF8800", "platforms": ["mac"]},)"
        R"(  {"slug": "metaloom", "name": "Metaloom", "url": "http://quillforge.app/metaloom",)"
        R"(   "tagline": null, "description": null, "icon": null, "color": null},)"
        R"(  {"slug": "arbor", "name": "Arbor", "url": "https://quillforge.app/arbor"}]})",
        &error);
    QVERIFY2(feed, qPrintable(error));
    QCOMPARE(feed->schema, 2);
    QCOMPARE(feed->apps,
             (QList<AppsFeed::Entry>{
                 {"lumen", "Lumen", "Light meter", "Long", QUrl("https://quillforge.app/lumen"),
                  QUrl("https://quillforge.app/lumen.png"), "#FF8800"},
                 {"metaloom", "Metaloom", {}, {}, QUrl("http://quillforge.app/metaloom"), {}, {}},
                 {"arbor", "Arbor", {}, {}, QUrl("https://quillforge.app/arbor"), {}, {}}}));
    QCOMPARE(slugs(feed->others("MetaLoom")), (QStringList{"lumen", "arbor"}));
    QCOMPARE(feed->others("unknown"), feed->apps);
    const auto empty = AppsFeed::decode(feedOf({}));
    QVERIFY(empty && empty->apps.isEmpty());

    // The line under the name is the tagline, or else the description.
    QCOMPARE(feed->apps.first().summary(), QStringLiteral("Light meter"));
    AppsFeed::Entry untagged = feed->apps.first();
    untagged.tagline.clear();
    QCOMPARE(untagged.summary(), QStringLiteral("Long"));
}

void AppsCatalogTest::rejectsTheWholeFeed_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("messagePart");
    // A good entry, then one with these members.
    auto second = [](const QByteArray &members) {
        return feedOf("{" + lumen + "}, {" + members + "}");
    };
    auto named = [&](const char *more) {
        return second(R"("slug": "b", "name": "B")" + QByteArray(more));
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
    QTest::newRow("entry not object") << feedOf("3") << "App 1 in the list is not an object";
    QTest::newRow("second entry without url") << named("") << "App 2 in the list has no \"url\"";
    QTest::newRow("null url") << named(R"(, "url": null)") << "no \"url\"";
    QTest::newRow("url not an address") << named(R"(, "url": "not a url")") << "not a web address";
    QTest::newRow("relative url") << named(R"(, "url": "/b")") << "not a web address";
    QTest::newRow("file url") << named(R"(, "url": "file:///usr/bin/xterm")")
                              << "not a web address";
    QTest::newRow("file url with a host")
        << named(R"(, "url": "file://host/usr/bin/xterm")") << "not a web address";
    QTest::newRow("ftp url") << named(R"(, "url": "ftp://example.org/a")") << "not a web address";
    QTest::newRow("bad icon") << named(R"(, "url": "https://x.org", "icon": "ht tp://")")
                              << "\"icon\"";
    QTest::newRow("no slug") << second(R"("name": "B", "url": "https://x.org")") << "no \"slug\"";
    QTest::newRow("null name") << second(R"("slug": "b", "name": null, "url": "https://x.org")")
                               << "no \"name\"";
    QTest::newRow("tagline as number")
        << named(R"(, "url": "https://x.org", "tagline": 4)") << "\"tagline\" that is not text";
    QTest::newRow("color as number")
        << named(R"(, "url": "https://x.org", "color": 255)") << "\"color\" that is not text";
}

void AppsCatalogTest::rejectsTheWholeFeed()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, messagePart);
    QString error;
    QVERIFY(!AppsFeed::decode(json, &error));
    QVERIFY2(error.contains(messagePart), qPrintable(error));
}

void AppsCatalogTest::feedAddressFromTheEnvironment_data()
{
    QTest::addColumn<std::optional<QString>>("value");
    QTest::addColumn<QUrl>("expected");
    const QUrl builtIn = MakerInfo::builtInFeedURL();
    QTest::newRow("unset") << std::optional<QString>() << builtIn;
    QTest::newRow("empty") << std::optional<QString>(QString()) << builtIn;
    QTest::newRow("not a URL") << std::optional<QString>("feed please") << builtIn;
    QTest::newRow("relative") << std::optional<QString>("apps.json") << builtIn;
    QTest::newRow("override") << std::optional<QString>("http://127.0.0.1:9/f.json")
                              << QUrl("http://127.0.0.1:9/f.json");
}

void AppsCatalogTest::feedAddressFromTheEnvironment()
{
    QFETCH(std::optional<QString>, value);
    QFETCH(QUrl, expected);
    QCOMPARE(AppsLoader::feedURLFrom(value), expected);
}

void AppsCatalogTest::validFeedIsReturnedAndCachedAsServed()
{
    QVERIFY(!AppsLoader::cached());
    serve(Response::json(cachedFeed));
    QFuture<AppsLoadResult> load = AppsLoader::load(feedURL());
    QVERIFY(waitForFuture(load));
    QVERIFY2(load.result().succeeded(), qPrintable(load.result().errorMessage));
    QCOMPARE(slugs(load.result().feed->apps), QStringList{"lumen"});
    QCOMPARE(requests(), 1);
    QCOMPARE(readCacheFile(), cachedFeed);
    QCOMPARE(AppsLoader::cached(), load.result().feed);

    // A later feed replaces the cache as a whole, without leftovers.
    serve(Response::json(freshFeed));
    load = AppsLoader::load(feedURL());
    QVERIFY(waitForFuture(load) && load.result().succeeded());
    QCOMPARE(readCacheFile(), freshFeed);
    QCOMPARE(QFileInfo(*AppsLoader::cacheFilePath()).dir().entryList(QDir::Files),
             QStringList{"vossa-apps.json"});

    // The built-in address is a secure one.
    QCOMPARE(MakerInfo::builtInFeedURL().scheme(), "https");
}

void AppsCatalogTest::cacheLivesInThePerUserDataFolder()
{
    const auto path = AppsLoader::cacheFilePath();
    QVERIFY(path);
    QVERIFY2(path->startsWith(m_env->root()), qPrintable(*path));
    // The folder is named after an application, never the data folder itself.
    const auto folder = [] { return QFileInfo(*AppsLoader::cacheFilePath()).dir().dirName(); };
    QCOMPARE(folder(), MakerInfo::fallbackAppIdentifier());

    // An application that names itself gets a folder of its own; a name that
    // would leave the data folder is not used.
    QGuiApplication::setDesktopFileName("org.example.Host.desktop");
    QCOMPARE(folder(), QStringLiteral("org.example.Host"));
    QGuiApplication::setDesktopFileName("../../evil");
    QCOMPARE(cacheAppIdentifier(), MakerInfo::fallbackAppIdentifier());
    QGuiApplication::setDesktopFileName(QString());
    QCOMPARE(folder(), MakerInfo::fallbackAppIdentifier());
}

void AppsCatalogTest::unreadableOrUnwritableCacheIsNotAnError()
{
    QVERIFY(writeCacheFile(R"({"schema": 1, "apps": [{"slug": "a"}]})"));
    QVERIFY(!AppsLoader::cached());
    // Larger than any feed may be (an older version cached any size): not read.
    QVERIFY(writeCacheFile(cachedFeed + QByteArray(1 << 20, ' ')));
    QVERIFY(AppsFeed::decode(readCacheFile()) && !AppsLoader::cached());
    // A folder where the file should be can be neither read nor written.
    const QString path = *AppsLoader::cacheFilePath();
    QVERIFY(QFile::remove(path) && QDir().mkpath(path));
    QVERIFY(!AppsLoader::cached());

    serve(Response::json(cachedFeed));
    AppsCatalog catalog;
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QCOMPARE(slugs(catalog.apps()), QStringList{"lumen"});
    QVERIFY(catalog.hasLoaded() && !catalog.hasLoadError());
    QVERIFY(!AppsLoader::cached());
}

void AppsCatalogTest::failedRefreshKeepsTheCache_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<bool>("networkDown");
    QTest::addColumn<QString>("message");
    // An error status is a failure even when the body happens to decode.
    QTest::newRow("HTTP 404 with a feed body")
        << Response::withStatus(404, "Not Found", "application/json", freshFeed) << false
        << "The server answered with status 404 (Not Found).";
    // Which bodies fail to decode is told by rejectsTheWholeFeed; one is enough here.
    QTest::newRow("HTML page with status 200")
        << Response::bytes("text/html", "<html><body>Parked domain</body></html>") << false
        << "not valid JSON";
    Response truncated = Response::json(freshFeed);
    truncated.truncateAfter = 30;
    QTest::newRow("truncated body") << truncated << false << "connection was lost";
    Response slow = Response::json(freshFeed);
    slow.delay = std::chrono::seconds(5);
    QTest::newRow("server slower than the timeout") << slow << false << "The request timed out.";
    // Data keeps coming, so only the bound on the whole transfer ends it.
    Response trickle = Response::json(freshFeed);
    trickle.pieceSize = 1;
    trickle.pieceInterval = std::chrono::milliseconds(50);
    QTest::newRow("feed trickled byte by byte") << trickle << false << "The request timed out.";
    // The length alone must refuse it: the body itself would take for ever.
    Response announced = Response::json(QByteArray(2 << 20, ' '));
    announced.pieceSize = 1;
    announced.pieceInterval = std::chrono::seconds(1);
    QTest::newRow("announced length beyond the limit") << announced << false << "more than 1 MB";
    Response endless = Response::json(QByteArray(64 << 10, ' '));
    endless.endless = true;
    endless.pieceInterval = std::chrono::milliseconds(1);
    QTest::newRow("body without end") << endless << false << "more than 1 MB";
    Response bomb = Response::json(qCompress(QByteArray(20 << 20, '\0'), 9).mid(4));
    bomb.headers.append({QByteArray("Content-Encoding"), QByteArray("deflate")});
    QTest::newRow("compression bomb") << bomb << false << "could not be unpacked";
    QTest::newRow("network down") << Response() << true << "Could not connect to the server.";
}

// Without a cache the catalog shows why the refresh failed; with one it keeps
// showing the cached list. The cache stays as it was.
void AppsCatalogTest::failedRefreshKeepsTheCache()
{
    QFETCH(Response, response);
    QFETCH(bool, networkDown);
    QFETCH(QString, message);
    using namespace std::chrono_literals;
    AppsCatalog::Source source{{}, [](const QUrl &url) {
                                   return AppsLoader::load(url, {700ms, 1500ms});
                               }};
    AppsCatalog uncached(source);
    QVERIFY(writeCacheFile(cachedFeed));
    source.cached = AppsCatalog::Source::standard().cached;
    AppsCatalog cached(source);
    serve(response);
    if (networkDown)
        m_server->close();

    const QFuture<void> first = uncached.refresh(feedURL());
    QVERIFY(waitForFuture(cached.refreshIfNeeded(feedURL())) && waitForFuture(first));
    QCOMPARE(requests(), networkDown ? 0 : 2);
    QVERIFY(uncached.apps().isEmpty());
    QVERIFY2(uncached.loadError().contains(message), qPrintable(uncached.loadError()));
    // The cache is read on a worker thread and may arrive after a quick
    // failure; it then replaces the error.
    QTRY_COMPARE(slugs(cached.apps()), QStringList{"lumen"});
    QVERIFY(!cached.hasLoadError());
    QVERIFY(!cached.hasLoaded() && !uncached.hasLoaded());
    QVERIFY(!cached.isLoading() && !uncached.isLoading());
    QCOMPARE(readCacheFile(), cachedFeed);
}

void AppsCatalogTest::startsFromTheCacheWithoutFetching()
{
    QVERIFY(writeCacheFile(cachedFeed));
    AppsCatalog catalog;
    QSignalSpy appsChanges(&catalog, &AppsCatalog::appsChanged);
    QSignalSpy errorChanges(&catalog, &AppsCatalog::loadErrorChanged);
    // The cache is read away from the main thread, never while it builds the
    // catalog.
    QVERIFY(catalog.apps().isEmpty());
    QTRY_COMPARE(slugs(catalog.apps()), QStringList{"lumen"});
    QVERIFY(!catalog.hasLoaded() && !catalog.isLoading() && !catalog.hasLoadError());
    QCOMPARE(m_server->requestCount(), 0);

    // The cached list is not a successful refresh: the first one still fetches.
    serve(Response::json(freshFeed));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    QCOMPARE(requests(), 1);
    QCOMPARE(slugs(catalog.apps()), (QStringList{"metaloom", "arbor", "lumen"}));
    QVERIFY(catalog.hasLoaded());

    // The same list again publishes no change.
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QCOMPARE(requests(), 2);
    QCOMPARE(appsChanges.size(), 2);
    QCOMPARE(errorChanges.size(), 0);
}

// A slow cache read fills an empty list and takes its error away, but never
// replaces a list from the network.
void AppsCatalogTest::cacheArrivingLateNeverReplacesTheNetworksList()
{
    QPromise<std::optional<AppsFeed>> firstCache, secondCache;
    const auto load = [](const QUrl &url) { return AppsLoader::load(url); };
    AppsCatalog failed({[&] { return firstCache.future(); }, load});
    AppsCatalog loaded({[&] { return secondCache.future(); }, load});
    serve(Response::withStatus(503, "Service Unavailable", "text/html", "<html>down</html>"));
    QVERIFY(waitForFuture(failed.refresh(feedURL())));
    QVERIFY(failed.hasLoadError());
    serve(Response::json(freshFeed));
    QVERIFY(waitForFuture(loaded.refresh(feedURL())));

    for (auto *cache : {&firstCache, &secondCache}) {
        cache->start();
        cache->addResult(AppsFeed::decode(cachedFeed));
        cache->finish();
    }
    QTRY_COMPARE(slugs(failed.apps()), QStringList{"lumen"});
    QVERIFY(!failed.hasLoadError());
    QCOMPARE(slugs(loaded.apps()), (QStringList{"metaloom", "arbor", "lumen"}));
}

void AppsCatalogTest::refreshesStartedTogetherMakeOneRequest()
{
    Response slow = Response::json(freshFeed);
    slow.delay = std::chrono::milliseconds(200);
    serve(slow);
    AppsCatalog catalog;
    const QFuture<void> first = catalog.refresh(feedURL());
    QVERIFY(catalog.isLoading());
    // Latecomers return at once instead of waiting for the running refresh.
    QVERIFY(catalog.refresh(feedURL()).isFinished());
    QVERIFY(catalog.refreshIfNeeded(feedURL()).isFinished());
    QVERIFY(waitForFuture(first));
    QCOMPARE(requests(), 1);
    QCOMPARE(catalog.apps().size(), 3);
    QVERIFY(!catalog.isLoading());

    // Once the first is over, the next refresh goes out again.
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QCOMPARE(requests(), 2);
}

void AppsCatalogTest::refreshIfNeededStopsAfterTheFirstSuccess()
{
    AppsCatalog catalog;
    QSignalSpy errorChanges(&catalog, &AppsCatalog::loadErrorChanged);
    QSignalSpy appsChanges(&catalog, &AppsCatalog::appsChanged);
    serve(Response::withStatus(503, "Service Unavailable", "text/html", "<html>down</html>"));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    serve(Response::json(entryWithoutURL));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    QCOMPARE(requests(), 2);
    QVERIFY(!catalog.hasLoaded() && catalog.apps().isEmpty());
    QCOMPARE(catalog.loadError(), QStringLiteral("App 1 in the list has no \"url\"."));

    // The first success clears the error.
    serve(Response::json(freshFeed));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    QCOMPARE(requests(), 3);
    QVERIFY(catalog.hasLoaded() && !catalog.hasLoadError());
    QCOMPARE(errorChanges.size(), 3);
    QCOMPARE(appsChanges.size(), 1);

    QVERIFY(catalog.refreshIfNeeded(feedURL()).isFinished());
    QTest::qWait(50);
    QCOMPARE(requests(), 3);

    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QCOMPARE(requests(), 4);
    // A failed refresh never takes back a success.
    serve(Response::json(entryWithoutURL));
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QVERIFY(catalog.hasLoaded());
    QCOMPARE(catalog.apps().size(), 3);
}

void AppsCatalogTest::abandonedLoadDoesNotLeaveTheCatalogLoading()
{
    int calls = 0;
    auto pending = std::make_unique<QPromise<AppsLoadResult>>();
    AppsCatalog catalog({{}, [&](const QUrl &) {
                             ++calls;
                             pending->start();
                             return pending->future();
                         }});
    const QFuture<void> refresh = catalog.refresh(QUrl("http://127.0.0.1:9/"));
    QVERIFY(catalog.isLoading());
    pending.reset(); // the answer will never come
    QVERIFY(waitForFuture(refresh));
    QVERIFY(!catalog.isLoading() && catalog.hasLoadError());

    pending = std::make_unique<QPromise<AppsLoadResult>>();
    const QFuture<void> again = catalog.refresh(QUrl("http://127.0.0.1:9/"));
    QCOMPARE(calls, 2);
    pending->addResult(AppsLoadResult::failure(QString()));
    pending->finish();
    QVERIFY(waitForFuture(again));
    // Even a failure without words leaves something to show.
    QCOMPARE(catalog.loadError(), QStringLiteral("The app list could not be loaded."));
}

QTEST_GUILESS_MAIN(AppsCatalogTest)
#include "tst_AppsCatalog.moc"
