#include "MetaloomFeature/Model/PresetCoding.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Model/StoredJson.h"
#include "MetaloomFeature/Model/UnreadableListBackup.h"
#include "tests/support/TestEnvironment.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;

namespace {

Preset makePreset(const QString &name, QMap<QString, QString> overrides = {},
                  QStringList removals = {})
{
    return {QUuid::createUuid(), name,
            PresetAction::addOrModifyMetadata(std::move(overrides), std::move(removals))};
}

QByteArray storedBytes()
{
    return Preferences::standard().data(PresetsStore::presetsKey).value_or(QByteArray());
}

void storeBytes(const QByteArray &bytes)
{
    Preferences::standard().setData(PresetsStore::presetsKey, bytes);
}

} // namespace

class PresetsStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void startsEmptyWithNothingStored();
    void changesReachAFreshStoreInOrder();
    void storesDoNotSeeEachOthersLaterChanges();
    void operationsMatchByIdOnly();
    void unknownIdUpdatesNothingButRemoveRewrites();
    void writtenFormIsCompactWithAllActionMembers();
    void storedJsonFromOtherWritersLoads_data();
    void storedJsonFromOtherWritersLoads();
    void undecodableListsLoadEmpty_data();
    void undecodableListsLoadEmpty();
    void unknownActionTypeNamesTheValueAndPath();
    void unreadableListIsKeptAsideBeforeOverwrite();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void PresetsStoreTest::startsEmptyWithNothingStored()
{
    PresetsStore store;
    QVERIFY(store.presets().isEmpty());
    QVERIFY(!Preferences::standard().contains(PresetsStore::presetsKey));
}

void PresetsStoreTest::changesReachAFreshStoreInOrder()
{
    const Preset credit =
        makePreset(QStringLiteral("Studio crédit 📷"),
                   {{QStringLiteral("XMP-photoshop:Credit"), QStringLiteral("Studio \"A\"/B\\C\n")},
                    {QStringLiteral("XMP-dc:Rights"), QString()}},
                   {QStringLiteral("GPS:GPSLongitude"), QStringLiteral("GPS:GPSLatitude"),
                    QStringLiteral("EXIF:Make")});
    const Preset empty = makePreset(QString());
    const Preset third = makePreset(QStringLiteral("Third"), {}, {QStringLiteral("IFD0:Model")});
    {
        PresetsStore store;
        QVERIFY(store.addPreset(credit));
        QVERIFY(store.addPreset(empty));
        QVERIFY(store.addPreset(third));
    }
    PresetsStore reloaded;
    QCOMPARE(reloaded.presets(), (QList<Preset>{credit, empty, third}));

    Preset renamed = empty;
    renamed.name = QStringLiteral("Renamed");
    QVERIFY(reloaded.updatePreset(renamed));
    QVERIFY(reloaded.removePreset(credit));
    QCOMPARE(PresetsStore().presets(), (QList<Preset>{renamed, third}));
}

void PresetsStoreTest::storesDoNotSeeEachOthersLaterChanges()
{
    PresetsStore early;
    PresetsStore writer;
    const Preset preset = makePreset(QStringLiteral("Strip GPS"));
    writer.addPreset(preset);
    QVERIFY(early.presets().isEmpty());
    QCOMPARE(PresetsStore().presets(), QList<Preset>{preset});

    // The early store writes its own list whole: the other store's preset is gone.
    const Preset other = makePreset(QStringLiteral("Other"));
    early.addPreset(other);
    QCOMPARE(PresetsStore().presets(), QList<Preset>{other});
}

void PresetsStoreTest::operationsMatchByIdOnly()
{
    PresetsStore store;
    QSignalSpy changes(&store, &PresetsStore::presetsChanged);
    const Preset first = makePreset(QStringLiteral("First"));
    const Preset middle = makePreset(QStringLiteral("Middle"));
    Preset twin = first;
    twin.name = QStringLiteral("Twin");
    store.addPreset(first);
    store.addPreset(middle);
    store.addPreset(twin);
    QCOMPARE(store.presets().size(), 3);
    QCOMPARE(changes.count(), 3);

    Preset update = first;
    update.name = QStringLiteral("Updated");
    update.action.removals = {QStringLiteral("IFD0:Make")};
    store.updatePreset(update);
    QCOMPARE(store.property("presets").value<QList<Preset>>(),
             (QList<Preset>{update, middle, twin}));
    QCOMPARE(changes.count(), 4);

    store.removePreset(Preset{first.id, QStringLiteral("whatever"), {}});
    QCOMPARE(store.presets(), QList<Preset>{middle});
    QCOMPARE(changes.count(), 5);
    QCOMPARE(PresetsStore().presets(), QList<Preset>{middle});
}

void PresetsStoreTest::unknownIdUpdatesNothingButRemoveRewrites()
{
    const QByteArray foreign =
        R"([{"name":"Kept","id":"0f8b6c2a-5d1e-4e7b-9a43-2c6d8e1f0a57","action":{"type":"addOrModify"}}])";
    storeBytes(foreign);
    PresetsStore store;
    QSignalSpy changes(&store, &PresetsStore::presetsChanged);
    const QList<Preset> loaded = store.presets();
    QCOMPARE(loaded.size(), 1);

    QVERIFY(!store.updatePreset(makePreset(QStringLiteral("Stranger"))));
    QCOMPARE(store.presets(), loaded);
    QCOMPARE(storedBytes(), foreign);

    QVERIFY(store.removePreset(makePreset(QStringLiteral("Stranger"))));
    QCOMPARE(store.presets(), loaded);
    QCOMPARE(storedBytes(), PresetCoding::encode(loaded));
    QVERIFY(storedBytes() != foreign);
    QCOMPARE(changes.count(), 0);
}

void PresetsStoreTest::writtenFormIsCompactWithAllActionMembers()
{
    const QUuid id = QUuid::fromString(QStringLiteral("0f8b6c2a-5d1e-4e7b-9a43-2c6d8e1f0a57"));
    storeBytes(
        R"([{"id":"0f8b6c2a-5d1e-4e7b-9a43-2c6d8e1f0a57","name":"Bare","action":{"type":"addOrModify"}}])");
    PresetsStore store;
    QCOMPARE(store.presets(),
             (QList<Preset>{{id, QStringLiteral("Bare"), PresetAction::addOrModifyMetadata()}}));
    store.removePreset(makePreset(QStringLiteral("Stranger")));

    const QByteArray written = storedBytes();
    QVERIFY(!written.contains('\n'));
    QVERIFY(!written.contains(' '));
    const QJsonArray array = QJsonDocument::fromJson(written).array();
    QCOMPARE(array.size(), 1);
    const QJsonObject preset = array.at(0).toObject();
    QCOMPARE(preset.value(QStringLiteral("id")).toString(),
             QStringLiteral("0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57"));
    const QJsonObject action = preset.value(QStringLiteral("action")).toObject();
    QCOMPARE(action.value(QStringLiteral("type")).toString(), QStringLiteral("addOrModify"));
    QVERIFY(action.value(QStringLiteral("overrides")).isObject());
    QVERIFY(action.value(QStringLiteral("overrides")).toObject().isEmpty());
    QVERIFY(action.value(QStringLiteral("removals")).isArray());
    QVERIFY(action.value(QStringLiteral("removals")).toArray().isEmpty());
}

void PresetsStoreTest::storedJsonFromOtherWritersLoads_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("overrides");
    QTest::addColumn<QStringList>("removals");
    QTest::newRow("documented example")
        << QByteArray(
               R"([{"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"Studio credit","action":{"type":"addOrModify","overrides":{"XMP-photoshop:Credit":"Studio"},"removals":["GPS:GPSLongitude"]}}])")
        << "Studio credit" << QStringList{"XMP-photoshop:Credit", "Studio"}
        << QStringList{"GPS:GPSLongitude"};
    QTest::newRow("members reordered, lower-case id, escaped slashes, spacing")
        << QByteArray(R"([ {
             "action" : { "removals" : ["b", "a"], "overrides" : {"XMP-dc:Format" : "image\/jpeg"},
                          "type" : "addOrModify" },
             "name" : "Caf\u00e9 \/ fotos",
             "id" : "0f8b6c2a-5d1e-4e7b-9a43-2c6d8e1f0a57" } ])")
        << "Café / fotos" << QStringList{"XMP-dc:Format", "image/jpeg"} << QStringList{"b", "a"};
    QTest::newRow("null members count as absent")
        << QByteArray(
               R"([{"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"N","action":{"type":"addOrModify","overrides":null,"removals":null}}])")
        << "N" << QStringList() << QStringList();
}

void PresetsStoreTest::storedJsonFromOtherWritersLoads()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, name);
    QFETCH(QStringList, overrides);
    QFETCH(QStringList, removals);
    storeBytes(json);
    const PresetsStore store;
    QCOMPARE(store.presets().size(), 1);
    const Preset &preset = store.presets().first();
    QCOMPARE(preset.id, QUuid::fromString(QStringLiteral("0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57")));
    QCOMPARE(preset.name, name);
    QMap<QString, QString> expected;
    for (qsizetype i = 0; i + 1 < overrides.size(); i += 2)
        expected.insert(overrides.at(i), overrides.at(i + 1));
    QCOMPARE(preset.action.overrides, expected);
    QCOMPARE(preset.action.removals, removals);
}

void PresetsStoreTest::undecodableListsLoadEmpty_data()
{
    QTest::addColumn<QByteArray>("json");
    const QByteArray good =
        R"({"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"Good","action":{"type":"addOrModify"}})";
    auto withSecond = [&](const char *second) {
        return "[" + good + "," + QByteArray(second) + "]";
    };
    QTest::newRow("unknown action type") << withSecond(
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"x","action":{"type":"replace"}})");
    QTest::newRow("action type in other case") << withSecond(
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"x","action":{"type":"AddOrModify"}})");
    QTest::newRow("action type missing")
        << withSecond(R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"x","action":{}})");
    QTest::newRow("name missing") << withSecond(
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","action":{"type":"addOrModify"}})");
    QTest::newRow("name not a string") << withSecond(
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":7,"action":{"type":"addOrModify"}})");
    QTest::newRow("id in braces") << withSecond(
        R"({"id":"{1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57}","name":"x","action":{"type":"addOrModify"}})");
    QTest::newRow("id not hexadecimal") << withSecond(
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0AZZ","name":"x","action":{"type":"addOrModify"}})");
    QTest::newRow("override value not a string") << withSecond(
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"x","action":{"type":"addOrModify","overrides":{"a":1}}})");
    QTest::newRow("removals not an array") << withSecond(
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"x","action":{"type":"addOrModify","removals":"a"}})");
    QTest::newRow("malformed JSON") << QByteArray("[" + good);
    QTest::newRow("object instead of array") << good;
}

void PresetsStoreTest::undecodableListsLoadEmpty()
{
    QFETCH(QByteArray, json);
    storeBytes(json);
    const PresetsStore store;
    QVERIFY(store.presets().isEmpty());
    QCOMPARE(storedBytes(), json);
}

void PresetsStoreTest::unknownActionTypeNamesTheValueAndPath()
{
    const QByteArray json =
        R"([{"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"a","action":{"type":"addOrModify"}},)"
        R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"b","action":{"type":"replace"}}])";
    try {
        PresetCoding::decode(json);
        QFAIL("an unknown action type must not decode");
    } catch (const DecodingError &error) {
        QCOMPARE(error.debugDescription(), QStringLiteral("Unknown preset action type: replace"));
        QCOMPARE(error.codingPath(), (QStringList{"Index 1", "action"}));
    }

    // A value of another type under the key reads as nothing too.
    Preferences::standard().setString(PresetsStore::presetsKey, QString::fromUtf8(json));
    QVERIFY(PresetsStore().presets().isEmpty());
}

void PresetsStoreTest::unreadableListIsKeptAsideBeforeOverwrite()
{
    const QByteArray fromNewerVersion =
        R"([{"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"a","action":{"type":"rename"}}])";
    storeBytes(fromNewerVersion);
    PresetsStore store;
    QVERIFY(store.presets().isEmpty());
    const Preset preset = makePreset(QStringLiteral("New"));
    store.addPreset(preset);

    QCOMPARE(PresetsStore().presets(), QList<Preset>{preset});
    const QString backup = UnreadableListBackup::backupKey(PresetsStore::presetsKey);
    QCOMPARE(Preferences::standard().data(backup), fromNewerVersion);

    // A readable list is simply replaced; the backup is left as it was.
    store.addPreset(makePreset(QStringLiteral("Second")));
    QCOMPARE(Preferences::standard().data(backup), fromNewerVersion);
}

QTEST_GUILESS_MAIN(PresetsStoreTest)
#include "tst_PresetsStore.moc"
