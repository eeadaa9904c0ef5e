// The lists kept in the preferences: presets, pinned tags and custom fields,
// and the migration of the old default-overrides record into a preset.
#include "MetaloomFeature/Model/CustomTagsChange.h"
#include "MetaloomFeature/Model/DefaultOverridesMigration.h"
#include "MetaloomFeature/Model/FavoriteTagsStore.h"
#include "MetaloomFeature/Model/PresetCoding.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Model/StoredJson.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <array>
#include <functional>

using namespace Metaloom;

namespace {

const QString presetsKey = PresetsStore::presetsKey;
const QString customKey = FavoriteTagsStore::customKey;
const QString recordKey = DefaultOverridesMigration::overridesKey;
const QUuid knownId = QUuid::fromString("0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57");
const QVariantMap twoOverrides{{"XMP-dc:Creator", "Ann Lee"}, {"XMP-photoshop:Credit", "Studio"}};

Preset makePreset(const QString &name, QMap<QString, QString> overrides = {},
                  QStringList removals = {})
{
    return {QUuid::createUuid(), name,
            PresetAction::addOrModifyMetadata(std::move(overrides), std::move(removals))};
}

CustomMetadataTag makeTag(const QString &rawKey, const QString &displayName)
{
    return {QUuid::createUuid(), rawKey, displayName};
}

// The entries a fresh reader finds in the list stored under `key`.
qsizetype loadedCount(const QString &key)
{
    if (key == presetsKey)
        return PresetsStore().presets().size();
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    return key == customKey ? store.loadCustomTags().size() : store.loadFavorites().size();
}

// Adds one entry to the list stored under `key`.
bool saveOneMore(const QString &key)
{
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    if (key == presetsKey)
        return PresetsStore().addPreset(makePreset("New"));
    if (key == customKey)
        return !store.changeCustomTags({{makeTag("B:B", "B")}, {}}).isEmpty();
    return store.saveFavorites(store.loadFavorites() << QUuid::createUuid().toString());
}

// What the preferences file holds under `key`, of whatever type.
QVariant rawValue(const QString &key)
{
    return QSettings(Preferences::standard().fileName(), QSettings::IniFormat).value(key);
}

// The old record in every shape it could be read in.
auto storedRecord()
{
    const Preferences preferences = Preferences::standard();
    return std::tuple(preferences.dictionary(recordKey), preferences.string(recordKey),
                      preferences.data(recordKey));
}

} // namespace

using Arrange = std::function<bool(const QString &configFolder)>;

class StoredListsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void presetsFromEveryStoreAreKept();
    void twoProgramsChangingAtOnceLoseNothing();
    void presetOperationsMatchById();
    void listsFromOtherWritersLoad_data();
    void listsFromOtherWritersLoad();
    void unreadableListsLoadEmptyAndAreKeptAside_data();
    void unreadableListsLoadEmptyAndAreKeptAside();
    void unknownActionTypeNamesTheValueAndPath();
    void customTagsKeepTheirOrder();
    void favoritesRoundTripAsASetWhereverTheyAre();
    void pinAndFieldChangesApplyToWhatIsStoredAndAreAnnounced();
    void migrationTurnsTheRecordIntoOnePreset();
    void migrationChangesNothing_data();
    void migrationChangesNothing();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
    Preferences m_standard = Preferences::standard();
};

// Every store changes the list as it is stored at that moment, and the other
// stores of the process follow, so no window loses what another stored.
void StoredListsTest::presetsFromEveryStoreAreKept()
{
    const Preset credit = makePreset(
        "Studio crédit 📷", {{"XMP-photoshop:Credit", "Studio \"A\"/B\\C\n"}, {"XMP-dc:Rights", ""}},
        {"GPS:GPSLongitude", "GPS:GPSLatitude", "EXIF:Make"});
    const Preset empty = makePreset(QString());
    const Preset third = makePreset("Third", {}, {"IFD0:Model"});
    PresetsStore early;
    QSignalSpy earlyChanges(&early, &PresetsStore::presetsChanged);
    QVERIFY(early.presets().isEmpty());
    PresetsStore store;
    for (const Preset &preset : {credit, empty, third})
        QVERIFY(store.addPreset(preset));
    QCOMPARE(early.presets(), (QList<Preset>{credit, empty, third}));
    QCOMPARE(earlyChanges.count(), 3);

    Preset renamed = empty;
    renamed.name = "Renamed";
    const Preset other = makePreset("Other");
    QVERIFY(early.updatePreset(renamed));
    QVERIFY(store.removePreset(credit));
    QVERIFY(early.addPreset(other));
    const QList<Preset> expected{renamed, third, other};
    QCOMPARE(store.presets(), expected);
    QCOMPARE(early.presets(), expected);
    QCOMPARE(PresetsStore().presets(), expected);

    // Another program changes the stored list without a word: the next change
    // here starts from what it stored, and an update of a preset it removed
    // changes nothing.
    m_standard.setData(presetsKey, PresetCoding::encode({third}));
    QCOMPARE(store.presets(), expected);
    QVERIFY(!store.updatePreset(renamed));
    QCOMPARE(store.presets(), QList<Preset>{third});
    m_standard.setData(presetsKey, PresetCoding::encode({third, credit}));
    QVERIFY(store.addPreset(other));
    QCOMPARE(store.presets(), (QList<Preset>{third, credit, other}));
    QCOMPARE(early.presets(), store.presets());
}

// Two programs (or windows of two copies) adding presets, pins and fields to
// one preferences file at the same time.
void StoredListsTest::twoProgramsChangingAtOnceLoseNothing()
{
    const QString file = m_env->workPath() + "/shared.conf";
    constexpr int perWriter = 10;
    std::array<QProcess, 2> writers;
    for (size_t i = 0; i < writers.size(); ++i) {
        writers[i].setProcessChannelMode(QProcess::ForwardedChannels);
        writers[i].start(STORED_LISTS_WRITER,
                         {file, QStringLiteral("W%1-").arg(i), QString::number(perWriter)});
    }
    for (QProcess &writer : writers) {
        QVERIFY(writer.waitForFinished(120'000));
        QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer.exitCode(), 0);
    }
    const Preferences shared = Preferences::atPath(file);
    QCOMPARE(PresetsStore(shared).presets().size(), 2 * perWriter);
    FavoriteTagsStore fields(shared);
    QCOMPARE(fields.loadFavorites().size(), 2 * perWriter);
    QCOMPARE(fields.loadCustomTags().size(), 2 * perWriter);
}

void StoredListsTest::presetOperationsMatchById()
{
    const QByteArray foreign =
        R"([{"name":"Kept","id":"0f8b6c2a-5d1e-4e7b-9a43-2c6d8e1f0a57","action":{"type":"addOrModify"}}])";
    m_standard.setData(presetsKey, foreign);
    PresetsStore store;
    QSignalSpy changes(&store, &PresetsStore::presetsChanged);
    const Preset kept{knownId, "Kept", PresetAction::addOrModifyMetadata()};
    QCOMPARE(store.presets(), QList<Preset>{kept});

    // An unknown id: update changes and writes nothing (remove writes the
    // list back all the same: see listsFromOtherWritersLoad).
    QVERIFY(!store.updatePreset(makePreset("Stranger")));
    QCOMPARE(m_standard.data(presetsKey), foreign);
    QCOMPARE(changes.count(), 0);

    // Adding appends even a second preset with the same id; updating replaces
    // the first in place; removing takes every preset with the id.
    const Preset first = makePreset("First");
    const Preset middle = makePreset("Middle");
    Preset twin = first;
    twin.name = "Twin";
    for (const Preset &preset : {first, middle, twin})
        store.addPreset(preset);
    Preset update = first;
    update.name = "Updated";
    update.action.removals = {"IFD0:Make"};
    store.updatePreset(update);
    QCOMPARE(store.property("presets").value<QList<Preset>>(),
             (QList<Preset>{kept, update, middle, twin}));
    store.removePreset(Preset{first.id, "whatever", {}});
    QCOMPARE(store.presets(), (QList<Preset>{kept, middle}));
    QCOMPARE(changes.count(), 5);
    QCOMPARE(PresetsStore().presets(), (QList<Preset>{kept, middle}));
}

void StoredListsTest::listsFromOtherWritersLoad_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("json");
    // What this program writes for the same list.
    QTest::addColumn<QByteArray>("ownForm");
    const QByteArray preset = R"({"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":)";
    QTest::newRow("preset: members reordered, lower-case id, escaped slashes, spacing")
        << presetsKey << QByteArray(R"([ {
             "action" : { "removals" : ["b", "a"], "overrides" : {"XMP-dc:Format" : "image\/jpeg"},
                          "type" : "addOrModify" },
             "name" : "Caf\u00e9 \/ fotos",
             "id" : "0f8b6c2a-5d1e-4e7b-9a43-2c6d8e1f0a57" } ])")
        << "[" + preset + "\"Café / fotos\"," +
               R"("action":{"overrides":{"XMP-dc:Format":"image/jpeg"},"removals":["b","a"],"type":"addOrModify"}}])";
    QTest::newRow("preset: a list of items beside a single value")
        << presetsKey
        << "[" + preset +
               R"("L","action":{"type":"addOrModify","overrides":{"IPTC:Keywords":["a, b","c"],"XMP-dc:Title":"T"}}}])"
        << "[" + preset +
               R"("L","action":{"overrides":{"IPTC:Keywords":["a, b","c"],"XMP-dc:Title":"T"},"removals":[],"type":"addOrModify"}}])";
    QTest::newRow("preset: null members count as absent")
        << presetsKey
        << "[" + preset +
               R"("N","action":{"type":"addOrModify","overrides":null,"removals":null}}])"
        << "[" + preset + R"("N","action":{"overrides":{},"removals":[],"type":"addOrModify"}}])";
    QTest::newRow("fields: members reordered, lower-case id")
        << customKey
        << QByteArray(
               R"([{"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F19","rawKey":"A:A","displayName":"A"},)"
               R"( {"displayName" : "Type \/ MIME", "rawKey" : "XMP-dc:Format", "id" : "3c9e1a70-84b2-4f0d-a6e5-71d2b8c40f1a"}])")
        << QByteArray(
               R"([{"displayName":"A","id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F19","rawKey":"A:A"},)"
               R"({"displayName":"Type / MIME","id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F1A","rawKey":"XMP-dc:Format"}])");
}

// Another writer's form reads as the same list; the next change (even one
// that removes nothing) writes it back in this program's own compact form,
// identifiers in upper case and every action member present.
void StoredListsTest::listsFromOtherWritersLoad()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, ownForm);
    m_standard.setData(key, json);
    if (key == presetsKey)
        QVERIFY(PresetsStore().removePreset(makePreset("Stranger")));
    else
        QVERIFY(FavoriteTagsStore::shared().saveCustomTags(
            FavoriteTagsStore::shared().loadCustomTags()));
    const QByteArray written = *m_standard.data(key);
    QCOMPARE(QJsonDocument::fromJson(written), QJsonDocument::fromJson(ownForm));
    QCOMPARE(written, QJsonDocument::fromJson(written).toJson(QJsonDocument::Compact));
    QCOMPARE(loadedCount(key), key == presetsKey ? 1 : 2);
}

void StoredListsTest::unreadableListsLoadEmptyAndAreKeptAside_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<Arrange>("arrange");
    const QString favoritesKey = FavoriteTagsStore::favoritesKey;
    const auto data = [](const QString &key, const QByteArray &json) -> Arrange {
        return [=](const QString &) { return Preferences::standard().setData(key, json); };
    };
    const QByteArray good =
        R"({"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"Good","action":{"type":"addOrModify"}})";
    // A good preset, then one with these members: one bad preset spoils the list.
    auto preset = [&](const QByteArray &members) {
        return data(presetsKey, "[" + good + ",{" + members + "}]");
    };
    const QByteArray id = R"("id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57",)";
    const QByteArray named = id + R"("name":"x",)";
    const QByteArray action = R"("action":{"type":"addOrModify"})";
    QTest::newRow("preset: unknown action type")
        << presetsKey << preset(named + R"("action":{"type":"replace"})");
    QTest::newRow("preset: action type in other case")
        << presetsKey << preset(named + R"("action":{"type":"AddOrModify"})");
    QTest::newRow("preset: action type missing") << presetsKey << preset(named + R"("action":{})");
    QTest::newRow("preset: name missing") << presetsKey << preset(id + action);
    QTest::newRow("preset: name not a string")
        << presetsKey << preset(id + R"("name":7,)" + action);
    QTest::newRow("preset: id in braces")
        << presetsKey
        << preset(R"("id":"{1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57}","name":"x",)" + action);
    QTest::newRow("preset: id not hexadecimal")
        << presetsKey
        << preset(R"("id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0AZZ","name":"x",)" + action);
    QTest::newRow("preset: override value not a string")
        << presetsKey << preset(named + R"("action":{"type":"addOrModify","overrides":{"a":1}})");
    QTest::newRow("preset: override item not a string")
        << presetsKey
        << preset(named + R"("action":{"type":"addOrModify","overrides":{"a":["b",2]}})");
    QTest::newRow("preset: removals not an array")
        << presetsKey << preset(named + R"("action":{"type":"addOrModify","removals":"a"})");
    QTest::newRow("presets: malformed JSON") << presetsKey << data(presetsKey, "[" + good);
    QTest::newRow("presets: object instead of array") << presetsKey << data(presetsKey, good);

    // A good custom field, then a malformed one.
    auto field = [&](const char *second) {
        return data(
            customKey,
            R"([{"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F19","rawKey":"A:A","displayName":"A"},)" +
                QByteArray(second) + "]");
    };
    QTest::newRow("field: displayName missing")
        << customKey << field(R"({"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F1A","rawKey":"A:B"})");
    QTest::newRow("field: rawKey null")
        << customKey
        << field(
               R"({"id":"3C9E1A70-84B2-4F0D-A6E5-71D2B8C40F1A","rawKey":null,"displayName":"B"})");
    QTest::newRow("field: id malformed")
        << customKey
        << field(R"({"id":"3C9E1A70-84B2-4F0D-A6E5","rawKey":"A:B","displayName":"B"})");
    QTest::newRow("field: not an object") << customKey << field(R"("A:B")");

    // Values of another type, and values cut short with the file by a crash
    // or a full disk.
    const auto string = [](const QString &key, const QString &text) -> Arrange {
        return [=](const QString &) { return Preferences::standard().setString(key, text); };
    };
    const auto pins = [=](const QVariantList &keys) -> Arrange {
        return
            [=](const QString &) { return Preferences::standard().setArray(favoritesKey, keys); };
    };
    const auto cutShort = [](const QString &key, const Arrange &writeGood) -> Arrange {
        return [=](const QString &config) {
            const QString path = Preferences::standard().fileName();
            QFile file(path);
            if (!writeGood(config) || !file.open(QIODevice::ReadOnly))
                return false;
            const qsizetype at = file.readAll().indexOf(key.toLatin1() + '=');
            file.close();
            return at >= 0 && QFile::resize(path, at + key.size() + 40);
        };
    };
    QTest::newRow("presets: a string") << presetsKey << string(presetsKey, "[" + good + "]");
    QTest::newRow("presets: file cut short")
        << presetsKey << cutShort(presetsKey, data(presetsKey, "[" + good + "," + good + "]"));
    QTest::newRow("pins: a number among them") << favoritesKey << pins({"A:B", 5});
    QTest::newRow("pins: a string") << favoritesKey << string(favoritesKey, "IFD0:Make");
    QTest::newRow("pins: file cut short")
        << favoritesKey << cutShort(favoritesKey, pins({"IFD0:Make", "IFD0:Model"}));
}

// The list loads as empty and stays stored; the next change keeps it aside,
// exactly as stored, before replacing it, and later changes leave the copy.
void StoredListsTest::unreadableListsLoadEmptyAndAreKeptAside()
{
    QFETCH(QString, key);
    QFETCH(Arrange, arrange);
    QVERIFY(arrange(m_env->configPath()));
    const QVariant stored = rawValue(key);
    QVERIFY(stored.isValid());
    QCOMPARE(loadedCount(key), 0);
    QCOMPARE(rawValue(key), stored);

    // Written out: a renamed suffix would strand copies kept by earlier versions.
    const QString backupKey = key + ".unreadable";
    QVERIFY(saveOneMore(key));
    QCOMPARE(loadedCount(key), 1);
    QCOMPARE(rawValue(backupKey), stored);
    QVERIFY(saveOneMore(key));
    QCOMPARE(loadedCount(key), 2);
    QCOMPARE(rawValue(backupKey), stored);
}

void StoredListsTest::unknownActionTypeNamesTheValueAndPath()
{
    try {
        PresetCoding::decode(
            R"([{"id":"0F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"a","action":{"type":"addOrModify"}},)"
            R"({"id":"1F8B6C2A-5D1E-4E7B-9A43-2C6D8E1F0A57","name":"b","action":{"type":"replace"}}])");
        QFAIL("an unknown action type must not decode");
    } catch (const DecodingError &error) {
        QCOMPARE(error.debugDescription(), "Unknown preset action type: replace");
        QCOMPARE(error.codingPath(), (QStringList{"Index 1", "action"}));
    }
}

void StoredListsTest::customTagsKeepTheirOrder()
{
    const QList<CustomMetadataTag> tags{makeTag("XMP-photoshop:Source", "Source"),
                                        makeTag("XMP-dc:Rights", "Droits d’auteur \"©\" / 著作権"),
                                        makeTag("A:A", QString())};
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    QVERIFY(store.loadCustomTags().isEmpty());
    QVERIFY(store.saveCustomTags(tags));
    QCOMPARE(FavoriteTagsStore(Preferences::standard()).loadCustomTags(), tags);
    const QList<CustomMetadataTag> reversed{tags.at(2), tags.at(1), tags.at(0)};
    store.saveCustomTags(reversed);
    QCOMPARE(store.loadCustomTags(), reversed);
    const QJsonArray written = QJsonDocument::fromJson(*m_standard.data(customKey)).array();
    QCOMPARE(written.at(0).toObject().value("id").toString(),
             tags.at(2).id.toString(QUuid::WithoutBraces).toUpper());

    store.saveCustomTags({});
    QVERIFY(store.loadCustomTags().isEmpty());
    QCOMPARE(m_standard.data(customKey), QByteArray("[]"));
}

void StoredListsTest::favoritesRoundTripAsASetWhereverTheyAre()
{
    FavoriteTagsStore &store = FavoriteTagsStore::shared();
    const QSet<QString> two{"GPS:GPSLongitude", "XMP-dc:Description"};
    QVERIFY(store.saveFavorites(two));
    QCOMPARE(store.loadFavorites(), two);

    // One key, and no keys, are still arrays on disk (QSettings alone would
    // turn them into a string and an invalid value).
    const QSet<QString> one{"IFD0:Make"};
    store.saveFavorites(one);
    const QString copy = m_env->workPath() + "/copy.conf";
    QVERIFY(QFile::copy(m_standard.fileName(), copy));
    QCOMPARE(FavoriteTagsStore(Preferences::atPath(copy)).loadFavorites(), one);
    store.saveFavorites({});
    QVERIFY(store.loadFavorites().isEmpty());
    QCOMPARE(m_standard.stringArray(FavoriteTagsStore::favoritesKey), QStringList());

    // Written by another program: seen at once (the store holds no copy),
    // duplicates collapse.
    m_standard.setStringArray(FavoriteTagsStore::favoritesKey, {"A:B", "A:B"});
    QCOMPARE(store.loadFavorites(), QSet<QString>{"A:B"});

    // The shared store follows the standard preferences wherever they are.
    QCOMPARE(&store, &FavoriteTagsStore::shared());
    m_env = std::make_unique<Testing::TestEnvironment>();
    QVERIFY(store.loadFavorites().isEmpty());
}

// Pins and fields change by what the user changed, applied to what is stored
// at that moment, and every observer in the process hears of it.
void StoredListsTest::pinAndFieldChangesApplyToWhatIsStoredAndAreAnnounced()
{
    FavoriteTagsStore &window = FavoriteTagsStore::shared();
    FavoriteTagsStore otherWindow(Preferences::standard());
    QObject observer;
    int pinNews = 0;
    int fieldNews = 0;
    window.observeFavorites(&observer, [&] { ++pinNews; });
    window.observeCustomTags(&observer, [&] { ++fieldNews; });
    FavoriteTagsStore(Preferences::atPath(m_env->workPath() + "/other.conf"))
        .changeFavorites({"X:Y"}, {});
    QCOMPARE(pinNews, 0);

    using Pins = QSet<QString>;
    QCOMPARE(window.changeFavorites({"A:A", "B:B"}, {}), (Pins{"A:A", "B:B"}));
    QCOMPARE(otherWindow.changeFavorites({"C:C"}, {"A:A"}), (Pins{"B:B", "C:C"}));
    QCOMPARE(pinNews, 2);
    // Nothing to change: nothing written, nothing announced. A key both
    // pinned and unpinned ends up unpinned.
    QCOMPARE(window.changeFavorites({"B:B", "D:D"}, {"D:D", "Z:Z"}), (Pins{"B:B", "C:C"}));
    QCOMPARE(pinNews, 2);
    QCOMPARE(window.loadFavorites(), (Pins{"B:B", "C:C"}));

    using Fields = QList<CustomMetadataTag>;
    const CustomMetadataTag a = makeTag("A:A", "A");
    const CustomMetadataTag b = makeTag("B:B", "B");
    const CustomMetadataTag c = makeTag("C:C", "C");
    const CustomMetadataTag d = makeTag("D:D", "D");
    QCOMPARE(window.changeCustomTags({{a, b}, {}}), (Fields{a, b}));
    // The other window renames a, removes b and adds c in its sheet, while
    // this one adds d.
    CustomMetadataTag renamed = a;
    renamed.displayName = "Renamed";
    const CustomTagsChange edit = CustomTagsChange::between({a, b}, {c, renamed});
    QCOMPARE(edit, (CustomTagsChange{{c, renamed}, {b.id}}));
    QCOMPARE(window.changeCustomTags({{d}, {}}), (Fields{a, b, d}));
    QCOMPARE(otherWindow.changeCustomTags(edit), (Fields{renamed, d, c}));
    QCOMPARE(window.changeCustomTags({{a}, {a.id}}), (Fields{d, c}));
    QCOMPARE(fieldNews, 4);
    QVERIFY(CustomTagsChange::between({d, c}, {c, d}).isEmpty());

    // Replacing a whole list is announced too.
    window.saveFavorites({});
    window.saveCustomTags({});
    QCOMPARE(pinNews, 3);
    QCOMPARE(fieldNews, 5);
}

void StoredListsTest::migrationTurnsTheRecordIntoOnePreset()
{
    m_standard.setDictionary(recordKey, twoOverrides);
    PresetsStore earlierWindow;

    QCOMPARE(DefaultOverridesMigration::migrate(),
             "Default overrides migrated to 'Migrated Default Overrides' preset.");
    const QList<Preset> presets = PresetsStore().presets();
    QCOMPARE(presets.size(), 1);
    QVERIFY(!presets.first().id.isNull());
    QCOMPARE(presets.first(),
             (Preset{presets.first().id, "Migrated Default Overrides",
                     PresetAction::addOrModifyMetadata(
                         {{"XMP-dc:Creator", "Ann Lee"}, {"XMP-photoshop:Credit", "Studio"}})}));
    QVERIFY(!m_standard.contains(recordKey));
    // Windows opened earlier show it at once.
    QCOMPARE(earlierWindow.presets(), presets);

    // A second window starts: nothing more happens.
    QCOMPARE(DefaultOverridesMigration::migrate(), std::nullopt);
    QCOMPARE(PresetsStore().presets(), presets);
}

void StoredListsTest::migrationChangesNothing_data()
{
    QTest::addColumn<Arrange>("arrange");
    const auto storeRecord = [](const QVariantMap &record) -> Arrange {
        return [record](const QString &) {
            return Preferences::standard().setDictionary(recordKey, record);
        };
    };
    QTest::newRow("a number among the values")
        << storeRecord({{"XMP-dc:Creator", "Ann"}, {"XMP-xmp:Rating", 5}});
    QTest::newRow("empty dictionary") << storeRecord({});
    QTest::newRow("a string") << Arrange([](const QString &) {
        return Preferences::standard().setString(recordKey, "XMP-dc:Creator=Ann");
    });
    QTest::newRow("data") << Arrange([](const QString &) {
        return Preferences::standard().setData(recordKey, "{\"XMP-dc:Creator\":\"Ann\"}");
    });
    QTest::newRow("a preset exists") << Arrange([](const QString &) {
        return PresetsStore().addPreset(makePreset("Mine")) &&
               Preferences::standard().setDictionary(recordKey, twoOverrides);
    });
    // The record sits in the organization-wide file, which QSettings reads as
    // a fallback; the program's own file cannot be written because a folder
    // stands in its place.
    QTest::newRow("the preset cannot be written") << Arrange([](const QString &config) {
        return Preferences::atPath(config + "/Quillforge.conf")
                   .setDictionary(recordKey, twoOverrides) &&
               QDir().mkpath(config + "/Quillforge/Metaloom.conf") &&
               Preferences::standard().dictionary(recordKey) == twoOverrides;
    });
}

// The record stays as it was, and so do the presets.
void StoredListsTest::migrationChangesNothing()
{
    QFETCH(Arrange, arrange);
    QVERIFY(arrange(m_env->configPath()));
    const auto record = storedRecord();
    const auto presets = m_standard.data(presetsKey);
    QVERIFY(m_standard.contains(recordKey));

    QCOMPARE(DefaultOverridesMigration::migrate(), std::nullopt);
    QVERIFY(storedRecord() == record);
    QCOMPARE(m_standard.data(presetsKey), presets);
}

QTEST_GUILESS_MAIN(StoredListsTest)
#include "tst_StoredLists.moc"
