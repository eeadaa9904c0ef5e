#include "MetaloomFeature/Platform/AppInfo.h"
#include "MetaloomFeature/Updates/AppcastUpdater.h"
#include "MetaloomFeature/Updates/UpdateCheckBridge.h"
#include "MetaloomFeature/Updates/UpdaterController.h"
#include "MetaloomFeature/Updates/VersionComparison.h"
#include "tests/support/LoopbackHttpServer.h"

#include <QtTest>

using namespace Metaloom;
using Metaloom::Testing::LoopbackHttpServer;
using Response = LoopbackHttpServer::Response;

namespace {

// An update mechanism that only records what it is asked.
class RecordingBackend : public UpdateBackend {
public:
    bool started = false;
    bool automatic = false;
    int backgroundChecks = 0;
    int userChecks = 0;
    bool canCheck = false;

    bool canCheckForUpdates() const override { return canCheck; }
    void setAutomaticallyChecksForUpdates(bool enabled) override { automatic = enabled; }
    void checkForUpdatesInBackground() override { ++backgroundChecks; }
    void checkForUpdates() override { ++userChecks; }
    void setCanCheck(bool value)
    {
        canCheck = value;
        Q_EMIT canCheckForUpdatesChanged(value);
    }
};

// A clock the test moves by hand.
struct ManualClock {
    struct Pending {
        std::chrono::milliseconds due;
        QPointer<QObject> context;
        std::function<void()> work;
    };
    std::chrono::milliseconds now{0};
    QList<Pending> pending;

    UpdaterEnvironment::Scheduler scheduler()
    {
        return
            [this](std::chrono::milliseconds delay, QObject *context, std::function<void()> work) {
                pending.append({now + delay, context, std::move(work)});
            };
    }
    void advance(std::chrono::milliseconds by)
    {
        now += by;
        for (qsizetype i = 0; i < pending.size();) {
            if (pending[i].due > now) {
                ++i;
                continue;
            }
            const Pending due = pending.takeAt(i);
            if (due.context)
                due.work();
        }
    }
};

AppInfo infoWithKey(const QVariant &key)
{
    QVariantMap values{{AppInfo::shortVersionKey, QStringLiteral("1.9")},
                       {AppInfo::buildNumberKey, QStringLiteral("19")}};
    if (key.isValid())
        values.insert(AppInfo::updatePublicKeyKey, key);
    return AppInfo(values);
}

// An updater controller over a recording backend, with a clock the test
// moves; it keeps what the controller handed the backend's factory.
struct RecordedUpdater {
    ManualClock clock;
    UpdateCheckBridge bridge;
    std::optional<bool> startedWith;
    UpdatePresenter present;
    std::unique_ptr<UpdaterController> updater;

    explicit RecordedUpdater(const AppInfo &info, bool backendCanCheck = false)
    {
        const auto make = [this, backendCanCheck](bool started, const AppInfo &,
                                                  UpdatePresenter given) {
            startedWith = started;
            present = std::move(given);
            auto backend = std::make_unique<RecordingBackend>();
            backend->started = started;
            backend->canCheck = backendCanCheck;
            return backend;
        };
        updater = std::make_unique<UpdaterController>(
            UpdaterEnvironment{info, make, clock.scheduler(), &bridge});
    }
    RecordingBackend *backend() const
    {
        return static_cast<RecordingBackend *>(updater->backend());
    }
};

const QByteArray sparkleRss =
    "<?xml version='1.0'?>\n<rss version='2.0' "
    "xmlns:sparkle='http://www.andymatuschak.org/xml-namespaces/sparkle'><channel>"
    "<title>Metaloom</title>%1</channel></rss>";

QByteArray feedWith(const QByteArray &items)
{
    return QByteArray(sparkleRss).replace("%1", items);
}

QByteArray item(const QByteArray &version, const QByteArray &shortVersion,
                const QByteArray &link = "https://quillforge.app/metaloom/download")
{
    return "<item><title>Metaloom " + shortVersion + "</title><sparkle:version>" + version +
           "</sparkle:version><sparkle:shortVersionString>" + shortVersion +
           "</sparkle:shortVersionString><link>" + link + "</link></item>";
}

} // namespace

class UpdatesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void versionOrder_data();
    void versionOrder();
    void updateKeyDecidesWhetherTheUpdaterStarts_data();
    void updateKeyDecidesWhetherTheUpdaterStarts();
    void oneBackgroundCheckThreeSecondsAfterLaunch();
    void bridgeFollowsTheUpdaterAndItsAction();
    void outcomesToShowLeaveThroughTheUpdater();
    void appcastChecks_data();
    void appcastChecks();
    void silentChecksSpeakOnlyOfUpdates();
    void unstartedUpdaterNeverFetches();
    void feedAddressFromTheEnvironment_data();
    void feedAddressFromTheEnvironment();
};

void UpdatesTest::versionOrder_data()
{
    QTest::addColumn<QString>("older");
    QTest::addColumn<QString>("newer");
    QTest::newRow("numbers, not text") << "1.9"
                                       << "1.10";
    QTest::newRow("build numbers") << "99"
                                   << "100";
    QTest::newRow("a further part") << "1.2"
                                    << "1.2.1";
    QTest::newRow("pre-release before release") << "1.2b1"
                                                << "1.2";
    QTest::newRow("pre-releases in turn") << "1.2b1"
                                          << "1.2b2";
    QTest::newRow("beta before release candidate") << "1.2beta3"
                                                   << "1.2rc1";
    QTest::newRow("separated pre-release") << "2.0-alpha"
                                           << "2.0";
    QTest::newRow("release after pre-release of the next part") << "1.0b5"
                                                                << "1.0.1";
    QTest::newRow("leading v") << "v1.9"
                               << "1.10";
    QTest::newRow("huge numbers") << "1.99999999999999999998"
                                  << "1.99999999999999999999";
    QTest::newRow("missing version") << ""
                                     << "1";
}

void UpdatesTest::versionOrder()
{
    QFETCH(QString, older);
    QFETCH(QString, newer);
    QVERIFY(compareVersions(older, newer) < 0);
    QVERIFY(compareVersions(newer, older) > 0);
    QCOMPARE(compareVersions(newer, newer), 0);
}

void UpdatesTest::updateKeyDecidesWhetherTheUpdaterStarts_data()
{
    QTest::addColumn<QVariant>("key");
    QTest::addColumn<bool>("starts");
    QTest::newRow("a key") << QVariant(QStringLiteral("pWq3lK0VfJ2mM9Y+2k8s=")) << true;
    QTest::newRow("missing") << QVariant() << false;
    QTest::newRow("empty") << QVariant(QString()) << false;
    QTest::newRow("template placeholder")
        << QVariant(QStringLiteral("SPARKLE_PUBLIC_KEY")) << false;
    QTest::newRow("not text") << QVariant(42) << false;
    QTest::newRow("placeholder word later on") << QVariant(QStringLiteral("key SPARKLE_")) << true;
}

void UpdatesTest::updateKeyDecidesWhetherTheUpdaterStarts()
{
    QFETCH(QVariant, key);
    QFETCH(bool, starts);
    const AppInfo info = infoWithKey(key);
    QCOMPARE(UpdaterController::isUpdaterConfigured(info), starts);

    RecordedUpdater u(info);
    QCOMPARE(u.startedWith, std::optional(starts));
    QCOMPARE(u.backend()->automatic, starts);
    u.clock.advance(std::chrono::seconds(10));
    QCOMPARE(u.backend()->backgroundChecks, starts ? 1 : 0);
    QVERIFY(!u.updater->canCheckForUpdates());
    QVERIFY(!u.bridge.canCheck());
}

void UpdatesTest::oneBackgroundCheckThreeSecondsAfterLaunch()
{
    RecordedUpdater u(infoWithKey(QStringLiteral("key")));
    u.clock.advance(std::chrono::milliseconds(2999));
    QCOMPARE(u.backend()->backgroundChecks, 0);
    u.clock.advance(std::chrono::milliseconds(1));
    QCOMPARE(u.backend()->backgroundChecks, 1);
    u.clock.advance(std::chrono::hours(1));
    QCOMPARE(u.backend()->backgroundChecks, 1);
    QCOMPARE(u.backend()->userChecks, 0);
}

void UpdatesTest::bridgeFollowsTheUpdaterAndItsAction()
{
    UpdateCheckBridge lone;
    QVERIFY(!lone.hasAction());
    lone.check(); // nothing to run yet, and no harm

    RecordedUpdater u(infoWithKey(QStringLiteral("key")), true);
    RecordingBackend *backend = u.backend();
    // The initial value counts, and reaches the bridge through the event loop.
    QVERIFY(u.updater->canCheckForUpdates());
    QTRY_VERIFY(u.bridge.canCheck());
    backend->setCanCheck(false);
    QVERIFY(!u.updater->canCheckForUpdates());
    QTRY_VERIFY(!u.bridge.canCheck());
    backend->setCanCheck(true);
    QTRY_VERIFY(u.bridge.canCheck());

    QVERIFY(u.bridge.hasAction());
    u.bridge.check();
    QCOMPARE(backend->userChecks, 1);
    u.updater.reset();
    u.bridge.check(); // the updater is gone: the action does nothing
}

void UpdatesTest::outcomesToShowLeaveThroughTheUpdater()
{
    // The mechanism shows nothing itself: what it wants shown reaches
    // whoever listens to the updater, and nobody once the updater is gone.
    RecordedUpdater u(infoWithKey(QStringLiteral("key")));
    QSignalSpy shown(u.updater.get(), &UpdaterController::outcomeToShow);
    QVERIFY(u.present);
    UpdateCheckOutcome outcome;
    outcome.kind = UpdateCheckOutcome::Kind::UpToDate;
    outcome.currentVersion = QStringLiteral("1.9 (19)");
    u.present(outcome);
    QCOMPARE(shown.size(), 1);
    const auto sent = shown.first().first().value<UpdateCheckOutcome>();
    QCOMPARE(sent.kind, UpdateCheckOutcome::Kind::UpToDate);
    QCOMPARE(sent.currentVersion, QStringLiteral("1.9 (19)"));
    u.updater.reset();
    u.present(outcome); // no updater to tell: no harm
}

void UpdatesTest::appcastChecks_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<UpdateCheckOutcome::Kind>("kind");
    QTest::addColumn<QString>("detail");
    using Kind = UpdateCheckOutcome::Kind;
    const QByteArray rss = "application/rss+xml";
    Response slow = Response::bytes(rss, feedWith(item("30", "3.0")));
    slow.delay = std::chrono::seconds(3);

    QTest::newRow("newer version, highest of several")
        << Response::bytes(rss,
                           feedWith(item("20", "2.0") + item("110", "11.0") + item("9", "0.9")))
        << Kind::UpdateAvailable << "11.0";
    QTest::newRow("build numbers compare as numbers")
        << Response::bytes(rss, feedWith(item("100", "1.10"))) << Kind::UpdateAvailable << "1.10";
    QTest::newRow("only older and equal versions")
        << Response::bytes(rss, feedWith(item("18", "1.8") + item("19", "1.9"))) << Kind::UpToDate
        << "";
    QTest::newRow("a newer pre-release of this build is still older")
        << Response::bytes(rss, feedWith(item("19b2", "1.9 beta"))) << Kind::UpToDate << "";
    QTest::newRow("no items") << Response::bytes(rss, feedWith("")) << Kind::UpToDate << "";
    QTest::newRow("version only as an enclosure attribute")
        << Response::bytes(rss, feedWith("<item><enclosure url='https://quillforge.app/m.tar.xz' "
                                         "sparkle:version='25' sparkle:shortVersionString='2.5'/>"
                                         "</item>"))
        << Kind::UpdateAvailable << "2.5";
    QTest::newRow("an item pointing at a local file is ignored")
        << Response::bytes(rss, feedWith(item("50", "5.0", "file:///usr/bin/xterm") +
                                         item("50", "5.0", "javascript:alert(1)")))
        << Kind::UpToDate << "";
    QTest::newRow("malformed") << Response::bytes(rss, QByteArray(sparkleRss).left(120))
                               << Kind::Failed << "not valid XML";
    QTest::newRow("empty") << Response::bytes(rss, "") << Kind::Failed << "empty";
    QTest::newRow("HTML error page")
        << Response::bytes("text/html", "<!DOCTYPE html><html><body><h1>Oops</h1></body></html>")
        << Kind::Failed << "not an RSS document";
    QTest::newRow("server error") << Response::withStatus(500, "Internal Server Error", "text/html",
                                                          "<html/>")
                                  << Kind::Failed << "500 Internal Server Error";
    QTest::newRow("slower than the timeout") << slow << Kind::Failed << "did not answer in time";
}

// Each case is checked by the user, so every outcome reaches the dialog.
void UpdatesTest::appcastChecks()
{
    QFETCH(Response, response);
    QFETCH(UpdateCheckOutcome::Kind, kind);
    QFETCH(QString, detail);
    LoopbackHttpServer server;
    server.setResponse(QStringLiteral("/appcast.xml"), response);
    QList<UpdateCheckOutcome> shown;
    AppcastUpdater updater(
        infoWithKey(QStringLiteral("key")), true, server.url(QStringLiteral("/appcast.xml")),
        [&shown](const UpdateCheckOutcome &outcome) { shown.append(outcome); },
        std::chrono::milliseconds(400));
    QSignalSpy canCheck(&updater, &UpdateBackend::canCheckForUpdatesChanged);
    QVERIFY(updater.canCheckForUpdates());
    updater.checkForUpdates();
    QVERIFY(!updater.canCheckForUpdates());
    updater.checkForUpdates(); // while one runs, another is not started
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 5000);
    QCOMPARE(server.requestCount(), 1);
    QVERIFY(updater.canCheckForUpdates());
    QCOMPARE(canCheck.size(), 2);

    const UpdateCheckOutcome &outcome = shown.constFirst();
    QCOMPARE(outcome.kind, kind);
    QCOMPARE(outcome.currentVersion, QStringLiteral("1.9 (19)"));
    if (kind == UpdateCheckOutcome::Kind::UpdateAvailable)
        QCOMPARE(outcome.update->displayVersion, detail);
    else
        QVERIFY2(outcome.errorMessage.contains(detail), qPrintable(outcome.errorMessage));
}

void UpdatesTest::silentChecksSpeakOnlyOfUpdates()
{
    LoopbackHttpServer server;
    server.setResponse(QStringLiteral("/appcast.xml"),
                       Response::bytes("application/rss+xml", feedWith(item("18", "1.8"))));
    int shown = 0;
    AppcastUpdater updater(infoWithKey(QStringLiteral("key")), true,
                           server.url(QStringLiteral("/appcast.xml")),
                           [&shown](const UpdateCheckOutcome &) { ++shown; });
    QSignalSpy finished(&updater, &AppcastUpdater::checkFinished);
    updater.checkForUpdatesInBackground();
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(shown, 0);

    server.setResponse(QStringLiteral("/appcast.xml"),
                       Response::bytes("application/rss+xml", feedWith(item("20", "2.0"))));
    updater.checkForUpdatesInBackground();
    QTRY_COMPARE(finished.size(), 2);
    QCOMPARE(shown, 1);
}

void UpdatesTest::unstartedUpdaterNeverFetches()
{
    LoopbackHttpServer server;
    int shown = 0;
    AppcastUpdater updater(infoWithKey(QVariant()), false,
                           server.url(QStringLiteral("/appcast.xml")),
                           [&shown](const UpdateCheckOutcome &) { ++shown; });
    updater.setAutomaticallyChecksForUpdates(true);
    updater.checkForUpdatesInBackground();
    updater.checkForUpdates();
    QTest::qWait(100);
    QVERIFY(!updater.canCheckForUpdates());
    QCOMPARE(server.requestCount(), 0);
    QCOMPARE(shown, 0);
}

void UpdatesTest::feedAddressFromTheEnvironment_data()
{
    QTest::addColumn<std::optional<QString>>("variable");
    QTest::addColumn<QUrl>("expected");
    const QUrl builtIn("https://quillforge.app/metaloom/appcast.xml");
    QTest::newRow("not set") << std::optional<QString>() << builtIn;
    QTest::newRow("a web address") << std::optional<QString>(" http://127.0.0.1:8080/cast.xml ")
                                   << QUrl("http://127.0.0.1:8080/cast.xml");
    QTest::newRow("empty") << std::optional<QString>("") << builtIn;
    QTest::newRow("a local file") << std::optional<QString>("file:///tmp/cast.xml") << builtIn;
    QTest::newRow("not an address") << std::optional<QString>("cast.xml") << builtIn;
}

void UpdatesTest::feedAddressFromTheEnvironment()
{
    QFETCH(std::optional<QString>, variable);
    QFETCH(QUrl, expected);
    const AppInfo info(
        {{AppInfo::updateFeedKey, QStringLiteral("https://quillforge.app/metaloom/appcast.xml")}});
    QCOMPARE(AppcastUpdater::feedURL(info, variable), expected);
}

QTEST_MAIN(UpdatesTest)
#include "tst_Updates.moc"
