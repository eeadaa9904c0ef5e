#include "VossaApps/AppsCache.h"
#include "VossaApps/AppsLoader.h"
#include "VossaApps/MakerInfo.h"
#include "tests/support/FutureWaiting.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtTest>

using namespace VossaApps;
using Metaloom::Testing::LoopbackHttpServer;
using Response = LoopbackHttpServer::Response;

namespace {

// Deliberately not in the compact form QJsonDocument would write, so a
// re-encoded cache would show.
const QByteArray validFeed = "{ \"schema\" : 1,\n  \"apps\" : [\n"
                             "  { \"slug\":\"lumen\", \"name\":\"Lumen\", \"extra\": [1, 2],\n"
                             "    \"url\":\"https://quillforge.app/lumen\" } ] }\n";

const QByteArray otherFeed =
    R"({"schema": 1, "apps": [)"
    R"(    {"slug": "arbor", "name": "Arbor", "url": "https://quillforge.app/arbor"}]})";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class AppsLoaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void validFeedIsReturnedAndCachedAsServed();
    void cacheLivesInThePerUserDataFolder();
    void failuresLeaveTheCacheAlone_data();
    void failuresLeaveTheCacheAlone();
    void slowServerTimesOut();
    void networkDownKeepsTheCachedFeed();
    void unreadableCacheGivesNothing();
    void unwritableCacheIsNotAnError();
    void requestCarriesTheTenSecondTimeout();

private:
    AppsLoadResult loadFrom(const QUrl &url,
                            std::chrono::milliseconds timeout = AppsLoader::requestTimeout);

    std::unique_ptr<Metaloom::Testing::TestEnvironment> m_env;
    std::unique_ptr<LoopbackHttpServer> m_server;
};

void AppsLoaderTest::init()
{
    m_env = std::make_unique<Metaloom::Testing::TestEnvironment>();
    m_server = std::make_unique<LoopbackHttpServer>();
}

void AppsLoaderTest::cleanup()
{
    m_server.reset();
    m_env.reset();
}

AppsLoadResult AppsLoaderTest::loadFrom(const QUrl &url, std::chrono::milliseconds timeout)
{
    const QFuture<AppsLoadResult> future = AppsLoader::load(url, timeout);
    if (!Metaloom::Testing::waitForFuture(future))
        return AppsLoadResult::failure(QStringLiteral("<the load never finished>"));
    return future.result();
}

void AppsLoaderTest::validFeedIsReturnedAndCachedAsServed()
{
    QVERIFY(!AppsLoader::cached());
    m_server->setResponse(QStringLiteral("/apps.json"), Response::json(validFeed));
    const AppsLoadResult result = loadFrom(m_server->url(QStringLiteral("/apps.json")));
    QVERIFY2(result.succeeded(), qPrintable(result.errorMessage));
    QCOMPARE(result.feed->apps.size(), 1);
    QCOMPARE(result.feed->apps.first().name, QStringLiteral("Lumen"));
    QCOMPARE(m_server->requestCount(QStringLiteral("/apps.json")), 1);

    const auto path = AppsLoader::cacheFilePath();
    QVERIFY(path);
    QCOMPARE(readFile(*path), validFeed);
    QCOMPARE(AppsLoader::cached(), result.feed);

    // A later feed replaces the cache as a whole, without leftovers.
    m_server->setResponse(QStringLiteral("/apps.json"), Response::json(otherFeed));
    QVERIFY(loadFrom(m_server->url(QStringLiteral("/apps.json"))).succeeded());
    QCOMPARE(readFile(*path), otherFeed);
    QCOMPARE(QDir(QFileInfo(*path).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("vossa-apps.json")});
}

void AppsLoaderTest::cacheLivesInThePerUserDataFolder()
{
    const auto path = AppsLoader::cacheFilePath();
    QVERIFY(path);
    QVERIFY2(path->startsWith(m_env->root()), qPrintable(*path));
    QCOMPARE(QFileInfo(*path).fileName(), QStringLiteral("vossa-apps.json"));
    // The folder is named after an application, never the data folder itself.
    const QString folder = QFileInfo(*path).dir().dirName();
    QCOMPARE(folder, MakerInfo::fallbackAppIdentifier());

    // An application that names itself gets a folder of its own; a name that
    // would leave the data folder is not used.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Host.desktop"));
    QCOMPARE(QFileInfo(*AppsLoader::cacheFilePath()).dir().dirName(),
             QStringLiteral("org.example.Host"));
    QGuiApplication::setDesktopFileName(QStringLiteral("../../evil"));
    QCOMPARE(cacheAppIdentifier(), MakerInfo::fallbackAppIdentifier());
    QGuiApplication::setDesktopFileName(QString());
    QCOMPARE(QFileInfo(*AppsLoader::cacheFilePath()).dir().dirName(),
             MakerInfo::fallbackAppIdentifier());
}

void AppsLoaderTest::failuresLeaveTheCacheAlone_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("HTTP 500 with an HTML page")
        << Response::withStatus(500, "Internal Server Error", "text/html",
                                "<html><body>Oops</body></html>")
        << "500";
    // An error status is a failure even when the body happens to decode.
    QTest::newRow("HTTP 404 with a feed body")
        << Response::withStatus(404, "Not Found", "application/json", otherFeed) << "404";
    QTest::newRow("HTML page with status 200")
        << Response::bytes("text/html", "<html><body>Parked domain</body></html>")
        << "not valid JSON";
    Response truncated = Response::json(otherFeed);
    truncated.truncateAfter = 30;
    QTest::newRow("truncated body") << truncated << "connection was lost";
    QTest::newRow("entry without url")
        << Response::json(R"({"schema": 1, "apps": [{"slug": "a", "name": "A"}]})")
        << "has no \"url\"";
}

void AppsLoaderTest::failuresLeaveTheCacheAlone()
{
    QFETCH(Response, response);
    QFETCH(QString, messagePart);
    m_server->setResponse(QStringLiteral("/good.json"), Response::json(validFeed));
    QVERIFY(loadFrom(m_server->url(QStringLiteral("/good.json"))).succeeded());

    m_server->setResponse(QStringLiteral("/apps.json"), response);
    const AppsLoadResult result = loadFrom(m_server->url(QStringLiteral("/apps.json")));
    QVERIFY(!result.succeeded());
    QVERIFY(!result.errorMessage.isEmpty());
    QVERIFY2(result.errorMessage.contains(messagePart), qPrintable(result.errorMessage));
    QCOMPARE(readFile(*AppsLoader::cacheFilePath()), validFeed);
}

void AppsLoaderTest::slowServerTimesOut()
{
    Response slow = Response::json(otherFeed);
    slow.delay = std::chrono::seconds(5);
    m_server->setResponse(QStringLiteral("/apps.json"), slow);
    const AppsLoadResult result =
        loadFrom(m_server->url(QStringLiteral("/apps.json")), std::chrono::milliseconds(300));
    QVERIFY(!result.succeeded());
    QCOMPARE(result.errorMessage, QStringLiteral("The request timed out."));
    QVERIFY(!AppsLoader::cached());
}

void AppsLoaderTest::networkDownKeepsTheCachedFeed()
{
    m_server->setResponse(QStringLiteral("/apps.json"), Response::json(validFeed));
    const QUrl url = m_server->url(QStringLiteral("/apps.json"));
    const AppsLoadResult first = loadFrom(url);
    QVERIFY(first.succeeded());

    m_server->close();
    const AppsLoadResult offline = loadFrom(url);
    QVERIFY(!offline.succeeded());
    QCOMPARE(offline.errorMessage, QStringLiteral("Could not connect to the server."));
    QCOMPARE(AppsLoader::cached(), first.feed);
}

void AppsLoaderTest::unreadableCacheGivesNothing()
{
    const QString path = *AppsLoader::cacheFilePath();
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"schema": 1, "apps": [{"slug": "a"}]})");
    file.close();
    QVERIFY(!AppsLoader::cached());
    // A folder where the file should be cannot be read either.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path));
    QVERIFY(!AppsLoader::cached());
}

void AppsLoaderTest::unwritableCacheIsNotAnError()
{
    // A plain file where the cache folder belongs makes every write fail.
    const QString folder = QFileInfo(*AppsLoader::cacheFilePath()).absolutePath();
    QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    m_server->setResponse(QStringLiteral("/apps.json"), Response::json(validFeed));
    const AppsLoadResult result = loadFrom(m_server->url(QStringLiteral("/apps.json")));
    QVERIFY2(result.succeeded(), qPrintable(result.errorMessage));
    QCOMPARE(result.feed->apps.first().slug, QStringLiteral("lumen"));
    QVERIFY(!AppsLoader::cached());
}

void AppsLoaderTest::requestCarriesTheTenSecondTimeout()
{
    const QUrl url(QStringLiteral("https://example.invalid/apps.json"));
    const QNetworkRequest request = AppsLoader::feedRequest(url);
    QCOMPARE(request.url(), url);
    QCOMPARE(request.transferTimeout(), 10'000);
    QCOMPARE(request.attribute(QNetworkRequest::CacheLoadControlAttribute,
                               QNetworkRequest::PreferNetwork),
             QNetworkRequest::PreferNetwork);
}

QTEST_GUILESS_MAIN(AppsLoaderTest)
#include "tst_AppsLoader.moc"
