#include "MetaloomFeature/Model/CustomMetadataTagCoding.h"
#include "MetaloomFeature/Model/FavoriteTagsStore.h"
#include "MetaloomFeature/Model/UnreadableListBackup.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Metaloom;

namespace {

CustomMetadataTag makeTag(const QString &rawKey, const QString &displayName)
{
    return {QUuid::createUuid(), rawKey, displayName};
}

Preferences standard()
{
    return Preferences::standard();
}

} // namespace

class FavoriteTagsStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void favoritesRoundTripAsASet();
    void favoritesOfAnotherShapeLoadEmpty();
    void sharedStoreFollowsTheCurrentPreferences();
    void customTagsKeepTheirOrder();
    void customTagsFromOtherWritersLoad();
    void oneMalformedCustomTagEmptiesTheList_data();
    void oneMalformedCustomTagEmptiesTheList();
    void unreadableCustomTagsAreKeptAsideBeforeOverwrite();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void FavoriteTagsStoreTest::favoritesRoundTripAsASet()
{
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    const QSet<QString> two{QStringLiteral("GPS:GPSLongitude"),
                            QStringLiteral("XMP-dc:Description")};
    QVERIFY(store.saveFavorites(two));
    QCOMPARE(store.loadFavorites(), two);

    // One key, and no keys, are still arrays on disk (QSettings alone would
    // turn them into a string and an invalid value).
    const QSet<QString> one{QStringLiteral("IFD0:Make")};
    store.saveFavorites(one);
    const QString copy = m_env->workPath() + QStringLiteral("/copy.conf");
    QVERIFY(QFile::copy(standard().fileName(), copy));
    QCOMPARE(FavoriteTagsStore(Preferences::atPath(copy)).loadFavorites(), one);

    store.saveFavorites({});
    QVERIFY(store.loadFavorites().isEmpty());
    QCOMPARE(standard().stringArray(FavoriteTagsStore::favoritesKey), QStringList());

    // Duplicates written by another program collapse.
    standard().setStringArray(FavoriteTagsStore::favoritesKey,
                              {QStringLiteral("A:B"), QStringLiteral("A:B")});
    QCOMPARE(store.loadFavorites(), QSet<QString>{QStringLiteral("A:B")});
}

void FavoriteTagsStoreTest::favoritesOfAnotherShapeLoadEmpty()
{
    const QString key = FavoriteTagsStore::favoritesKey;
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    standard().setArray(key, {QStringLiteral("IFD0:Make"), 5});
    QVERIFY(store.loadFavorites().isEmpty());
    standard().setString(key, QStringLiteral("IFD0:Make"));
    QVERIFY(store.loadFavorites().isEmpty());
    standard().setData(key, "[\"IFD0:Make\"]");
    QVERIFY(store.loadFavorites().isEmpty());
    standard().setDictionary(key, {{QStringLiteral("IFD0:Make"), true}});
    QVERIFY(store.loadFavorites().isEmpty());
}

void FavoriteTagsStoreTest::sharedStoreFollowsTheCurrentPreferences()
{
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    QCOMPARE(&store, &FavoriteTagsStore::shared());
    QVERIFY(store.loadFavorites().isEmpty());
    QVERIFY(store.loadCustomTags().isEmpty());
    store.saveFavorites({QStringLiteral("IFD0:Make")});
    store.saveCustomTags({makeTag(QStringLiteral("A:B"), QStringLiteral("B"))});

    // Changes made behind the store's back are seen at once: it holds no copy.
    standard().setStringArray(FavoriteTagsStore::favoritesKey, {QStringLiteral("IFD0:Model")});
    QCOMPARE(store.loadFavorites(), QSet<QString>{QStringLiteral("IFD0:Model")});

    m_env = std::make_unique<Testing::TestEnvironment>();
    QVERIFY(store.loadFavorites().isEmpty());
    QVERIFY(store.loadCustomTags().isEmpty());
}

void FavoriteTagsStoreTest::customTagsKeepTheirOrder()
{
    const QList<CustomMetadataTag> tags{
        makeTag(QStringLiteral("XMP-photoshop:Source"), QStringLiteral("Source")),
        makeTag(QStringLiteral("XMP-dc:Rights"), QStringLiteral("Droits d’auteur \"©\" / 著作権")),
        makeTag(QStringLiteral("A:A"), QString()),
    };
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    QVERIFY(store.saveCustomTags(tags));
    QCOMPARE(store.loadCustomTags(), tags);
    const QList<CustomMetadataTag> reversed{tags.at(2), tags.at(1), tags.at(0)};
    store.saveCustomTags(reversed);
    QCOMPARE(store.loadCustomTags(), reversed);

    const QJsonArray written =
        QJsonDocument::fromJson(*standard().data(FavoriteTagsStore::customKey)).array();
    QCOMPARE(written.at(0).toObject().value(QStringLiteral("id")).toString(),
             tags.at(2).id.toString(QUuid::WithoutBraces).toUpper());

    store.saveCustomTags({});
    QVERIFY(store.loadCustomTags().isEmpty());
    QCOMPARE(standard().data(FavoriteTagsStore::customKey), QByteArray("[]"));
}

void FavoriteTagsStoreTest::customTagsFromOtherWritersLoad()
{
    standard().setData(
        FavoriteTagsStore::customKey,
        R"([{"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F19","rawKey":"XMP-photoshop:Credit","displayName":"Credit line"},)"
        R"( {"displayName" : "Type \/ MIME", "rawKey" : "XMP-dc:Format", "id" : "3c9e1a70-84b2-4f0d-a6e5-71d2b8c40f1a"}])");
    const QList<CustomMetadataTag> tags = FavoriteTagsStore::shared().loadCustomTags();
    QCOMPARE(tags.size(), 2);
    QCOMPARE(tags.at(0),
             (CustomMetadataTag{
                 QUuid::fromString(QStringLiteral("3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F19")),
                 QStringLiteral("XMP-photoshop:Credit"), QStringLiteral("Credit line")}));
    QCOMPARE(tags.at(1),
             (CustomMetadataTag{
                 QUuid::fromString(QStringLiteral("3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F1A")),
                 QStringLiteral("XMP-dc:Format"), QStringLiteral("Type / MIME")}));
}

void FavoriteTagsStoreTest::oneMalformedCustomTagEmptiesTheList_data()
{
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("displayName missing")
        << QByteArray(R"({"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F1A","rawKey":"A:B"})");
    QTest::newRow("rawKey null") << QByteArray(
        R"({"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F1A","rawKey":null,"displayName":"B"})");
    QTest::newRow("id malformed") << QByteArray(
        R"({"id":"3C9E1A70-84B2-4F0D-A6E5","rawKey":"A:B","displayName":"B"})");
    QTest::newRow("not an object") << QByteArray(R"("A:B")");
}

void FavoriteTagsStoreTest::oneMalformedCustomTagEmptiesTheList()
{
    QFETCH(QByteArray, second);
    const QByteArray stored =
        R"([{"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F19","rawKey":"A:A","displayName":"A"},)" +
        second + "]";
    standard().setData(FavoriteTagsStore::customKey, stored);
    QVERIFY(FavoriteTagsStore::shared().loadCustomTags().isEmpty());
    QCOMPARE(standard().data(FavoriteTagsStore::customKey), stored);
}

void FavoriteTagsStoreTest::unreadableCustomTagsAreKeptAsideBeforeOverwrite()
{
    const QByteArray unreadable =
        R"([{"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F19","rawKey":"A:A"}])";
    standard().setData(FavoriteTagsStore::customKey, unreadable);
    const QList<CustomMetadataTag> tags{makeTag(QStringLiteral("B:B"), QStringLiteral("B"))};
    FavoriteTagsStore::shared().saveCustomTags(tags);
    QCOMPARE(FavoriteTagsStore::shared().loadCustomTags(), tags);
    QCOMPARE(standard().data(UnreadableListBackup::backupKey(FavoriteTagsStore::customKey)),
             unreadable);
}

QTEST_GUILESS_MAIN(FavoriteTagsStoreTest)
#include "tst_FavoriteTagsStore.moc"
