#include "VossaApps/AppsCatalog.h"
#include "tests/support/FutureWaiting.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPromise>
#include <QSignalSpy>
#include <QtTest>

using namespace VossaApps;
using Metaloom::Testing::LoopbackHttpServer;
using Metaloom::Testing::waitForFuture;
using Response = LoopbackHttpServer::Response;

namespace {

const QByteArray cachedFeed =
    R"({"schema": 1, "apps": [)"
    R"(    {"slug": "lumen", "name": "Lumen", "url": "https://quillforge.app/lumen"}]})";

const QByteArray freshFeed =
    R"({"schema": 1, "apps": [)"
    R"(    {"slug": "metaloom", "name": "Metaloom", "url": "https://quillforge.app/metaloom"},)"
    R"(    {"slug": "arbor", "name": "Arbor", "url": "https://quillforge.app/arbor"},)"
    R"(    {"slug": "lumen", "name": "Lumen", "url": "https://quillforge.app/lumen"}]})";

const QByteArray entryWithoutURL = R"({"schema": 1, "apps": [{"slug": "a", "name": "A"}]})";

QStringList slugs(const QList<AppsFeed::Entry> &entries)
{
    QStringList result;
    for (const auto &entry : entries)
        result << entry.slug;
    return result;
}

void writeCacheFile(const QByteArray &bytes)
{
    const QString path = *AppsLoader::cacheFilePath();
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class AppsCatalogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsFromTheCacheWithoutFetching();
    void errorShowsOnlyWhileThereIsNothingToShow();
    void rejectedFeedKeepsTheCachedList();
    void cachedListSurvivesTheNetworkBeingDown();
    void refreshesStartedTogetherMakeOneRequest();
    void refreshIfNeededStopsAfterTheFirstSuccess();
    void sameListPublishesNoChange();
    void abandonedLoadDoesNotLeaveTheCatalogLoading();
    void othersHidesTheCallingApplication();
    void sharedCatalogIsOneInstance();

private:
    QUrl feedURL() const { return m_server->url(QStringLiteral("/apps.json")); }
    void serve(const Response &response)
    {
        m_server->setResponse(QStringLiteral("/apps.json"), response);
    }
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

void AppsCatalogTest::startsFromTheCacheWithoutFetching()
{
    AppsCatalog empty;
    QVERIFY(empty.apps().isEmpty());
    QVERIFY(!empty.hasLoadError());

    writeCacheFile(cachedFeed);
    AppsCatalog catalog;
    QCOMPARE(slugs(catalog.apps()), QStringList{QStringLiteral("lumen")});
    QVERIFY(!catalog.hasLoaded());
    QVERIFY(!catalog.isLoading());
    QVERIFY(!catalog.hasLoadError());
    QCOMPARE(m_server->requestCount(), 0);

    // The cached list is not a successful refresh: the first one still fetches.
    serve(Response::json(freshFeed));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    QCOMPARE(requests(), 1);
    QCOMPARE(slugs(catalog.apps()),
             QStringList(
                 {QStringLiteral("metaloom"), QStringLiteral("arbor"), QStringLiteral("lumen")}));
    QVERIFY(catalog.hasLoaded());
}

void AppsCatalogTest::errorShowsOnlyWhileThereIsNothingToShow()
{
    AppsCatalog catalog;
    QSignalSpy errorChanges(&catalog, &AppsCatalog::loadErrorChanged);
    QSignalSpy appsChanges(&catalog, &AppsCatalog::appsChanged);

    serve(Response::withStatus(503, "Service Unavailable", "text/html", "<html>down</html>"));
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QVERIFY(catalog.apps().isEmpty());
    QCOMPARE(catalog.loadError(),
             QStringLiteral("The server answered with status 503 (Service Unavailable)."));
    QVERIFY(!catalog.hasLoaded());
    QVERIFY(!catalog.isLoading());
    QCOMPARE(errorChanges.size(), 1);
    QCOMPARE(appsChanges.size(), 0);

    serve(Response::json(freshFeed));
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QCOMPARE(catalog.apps().size(), 3);
    QVERIFY(!catalog.hasLoadError());
    QCOMPARE(errorChanges.size(), 2);
    QCOMPARE(appsChanges.size(), 1);

    // With a list on screen, a failure (here: the network gone) changes nothing.
    m_server->close();
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QCOMPARE(catalog.apps().size(), 3);
    QVERIFY(!catalog.hasLoadError());
    QCOMPARE(errorChanges.size(), 2);
    QCOMPARE(appsChanges.size(), 1);
    QVERIFY(catalog.hasLoaded());
}

void AppsCatalogTest::rejectedFeedKeepsTheCachedList()
{
    writeCacheFile(cachedFeed);
    AppsCatalog catalog;
    serve(Response::json(entryWithoutURL));
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QCOMPARE(requests(), 1);
    QCOMPARE(slugs(catalog.apps()), QStringList{QStringLiteral("lumen")});
    QVERIFY(!catalog.hasLoadError());
    QVERIFY(!catalog.hasLoaded());

    // Without a cache the same feed shows its fault instead.
    QVERIFY(QFile::remove(*AppsLoader::cacheFilePath()));
    AppsCatalog uncached;
    QVERIFY(waitForFuture(uncached.refresh(feedURL())));
    QCOMPARE(uncached.loadError(), QStringLiteral("App 1 in the list has no \"url\"."));
}

void AppsCatalogTest::cachedListSurvivesTheNetworkBeingDown()
{
    writeCacheFile(cachedFeed);
    const QUrl url = feedURL();
    m_server->close();
    AppsCatalog catalog;
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(url)));
    QCOMPARE(slugs(catalog.apps()), QStringList{QStringLiteral("lumen")});
    QVERIFY(!catalog.hasLoadError());
    QVERIFY(!catalog.hasLoaded());
    QCOMPARE(AppsLoader::cached(), AppsFeed::decode(cachedFeed));

    // With neither cache nor network, the catalog says why.
    QVERIFY(QFile::remove(*AppsLoader::cacheFilePath()));
    AppsCatalog uncached;
    QVERIFY(waitForFuture(uncached.refresh(url)));
    QVERIFY(uncached.apps().isEmpty());
    QCOMPARE(uncached.loadError(), QStringLiteral("Could not connect to the server."));
}

void AppsCatalogTest::refreshesStartedTogetherMakeOneRequest()
{
    Response slow = Response::json(freshFeed);
    slow.delay = std::chrono::milliseconds(200);
    serve(slow);
    AppsCatalog catalog;
    const QFuture<void> first = catalog.refresh(feedURL());
    QVERIFY(catalog.isLoading());
    const QFuture<void> second = catalog.refresh(feedURL());
    const QFuture<void> third = catalog.refreshIfNeeded(feedURL());
    // Latecomers return at once instead of waiting for the running refresh.
    QVERIFY(second.isFinished());
    QVERIFY(third.isFinished());
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
    serve(Response::json(entryWithoutURL));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    QCOMPARE(requests(), 2);
    QVERIFY(!catalog.hasLoaded());

    serve(Response::json(freshFeed));
    QVERIFY(waitForFuture(catalog.refreshIfNeeded(feedURL())));
    QCOMPARE(requests(), 3);
    QVERIFY(catalog.hasLoaded());

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

void AppsCatalogTest::sameListPublishesNoChange()
{
    writeCacheFile(freshFeed);
    AppsCatalog catalog;
    QSignalSpy appsChanges(&catalog, &AppsCatalog::appsChanged);
    QSignalSpy errorChanges(&catalog, &AppsCatalog::loadErrorChanged);
    serve(Response::json(freshFeed));
    QVERIFY(waitForFuture(catalog.refresh(feedURL())));
    QVERIFY(catalog.hasLoaded());
    QCOMPARE(appsChanges.size(), 0);
    QCOMPARE(errorChanges.size(), 0);
}

void AppsCatalogTest::abandonedLoadDoesNotLeaveTheCatalogLoading()
{
    int calls = 0;
    auto pending = std::make_unique<QPromise<AppsLoadResult>>();
    AppsCatalog::Source source;
    source.cached = [] { return std::optional<AppsFeed>(); };
    source.load = [&](const QUrl &) {
        ++calls;
        pending->start();
        return pending->future();
    };
    AppsCatalog catalog(source);
    const QFuture<void> refresh = catalog.refresh(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    QVERIFY(catalog.isLoading());
    pending.reset(); // the answer will never come
    QVERIFY(waitForFuture(refresh));
    QVERIFY(!catalog.isLoading());
    QVERIFY(catalog.hasLoadError());

    pending = std::make_unique<QPromise<AppsLoadResult>>();
    const QFuture<void> again = catalog.refresh(QUrl(QStringLiteral("http://127.0.0.1:9/")));
    QCOMPARE(calls, 2);
    pending->addResult(AppsLoadResult::failure(QString()));
    pending->finish();
    QVERIFY(waitForFuture(again));
    // Even a failure without words leaves something to show.
    QCOMPARE(catalog.loadError(), QStringLiteral("The app list could not be loaded."));
}

void AppsCatalogTest::othersHidesTheCallingApplication()
{
    writeCacheFile(freshFeed);
    AppsCatalog catalog;
    QCOMPARE(slugs(catalog.others(QStringLiteral("Metaloom"))),
             QStringList({QStringLiteral("arbor"), QStringLiteral("lumen")}));
    QCOMPARE(catalog.others(QStringLiteral("nothing")), catalog.apps());
}

void AppsCatalogTest::sharedCatalogIsOneInstance()
{
    AppsCatalog *shared = AppsCatalog::shared();
    QVERIFY(shared);
    QCOMPARE(AppsCatalog::shared(), shared);
    QCOMPARE(shared->parent(), QCoreApplication::instance());
    QVERIFY(!shared->isLoading());
}

QTEST_GUILESS_MAIN(AppsCatalogTest)
#include "tst_AppsCatalog.moc"
