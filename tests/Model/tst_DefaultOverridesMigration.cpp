#include "MetaloomFeature/Model/DefaultOverridesMigration.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

using namespace Metaloom;

namespace {

const QVariantMap twoOverrides{{QStringLiteral("XMP-dc:Creator"), QStringLiteral("Ann Lee")},
                               {QStringLiteral("XMP-photoshop:Credit"), QStringLiteral("Studio")}};

bool recordStored(const Preferences &preferences = Preferences::standard())
{
    return preferences.contains(DefaultOverridesMigration::overridesKey);
}

} // namespace

class DefaultOverridesMigrationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void recordBecomesAPresetOnce();
    void existingPresetsKeepTheRecord();
    void recordsThatAreNotStringMapsStay_data();
    void recordsThatAreNotStringMapsStay();
    void recordStaysWhenThePresetCannotBeWritten();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void DefaultOverridesMigrationTest::recordBecomesAPresetOnce()
{
    Preferences::standard().setDictionary(DefaultOverridesMigration::overridesKey, twoOverrides);
    PresetsStore earlierWindow;

    QCOMPARE(DefaultOverridesMigration::migrate(),
             QStringLiteral("Default overrides migrated to 'Migrated Default Overrides' preset."));
    const QList<Preset> presets = PresetsStore().presets();
    QCOMPARE(presets.size(), 1);
    QCOMPARE(presets.first().name, QStringLiteral("Migrated Default Overrides"));
    QVERIFY(!presets.first().id.isNull());
    QCOMPARE(presets.first().action,
             PresetAction::addOrModifyMetadata(
                 {{QStringLiteral("XMP-dc:Creator"), QStringLiteral("Ann Lee")},
                  {QStringLiteral("XMP-photoshop:Credit"), QStringLiteral("Studio")}},
                 {}));
    QVERIFY(!recordStored());
    QVERIFY(earlierWindow.presets().isEmpty());

    // A second window starts: nothing more happens.
    QCOMPARE(DefaultOverridesMigration::migrate(), std::nullopt);
    QCOMPARE(PresetsStore().presets(), presets);
}

void DefaultOverridesMigrationTest::existingPresetsKeepTheRecord()
{
    const Preset existing{QUuid::createUuid(), QStringLiteral("Mine"),
                          PresetAction::addOrModifyMetadata()};
    PresetsStore().addPreset(existing);
    Preferences::standard().setDictionary(DefaultOverridesMigration::overridesKey, twoOverrides);

    QCOMPARE(DefaultOverridesMigration::migrate(), std::nullopt);
    QCOMPARE(PresetsStore().presets(), QList<Preset>{existing});
    QCOMPARE(Preferences::standard().dictionary(DefaultOverridesMigration::overridesKey),
             twoOverrides);
}

void DefaultOverridesMigrationTest::recordsThatAreNotStringMapsStay_data()
{
    QTest::addColumn<QVariant>("record");
    QTest::newRow("a number among the values")
        << QVariant(QVariantMap{{QStringLiteral("XMP-dc:Creator"), QStringLiteral("Ann")},
                                {QStringLiteral("XMP-xmp:Rating"), 5}});
    QTest::newRow("empty dictionary") << QVariant(QVariantMap());
    QTest::newRow("a string") << QVariant(QStringLiteral("XMP-dc:Creator=Ann"));
    QTest::newRow("data") << QVariant(QByteArray("{\"XMP-dc:Creator\":\"Ann\"}"));
}

void DefaultOverridesMigrationTest::recordsThatAreNotStringMapsStay()
{
    QFETCH(QVariant, record);
    Preferences preferences = Preferences::standard();
    if (record.metaType().id() == QMetaType::QVariantMap)
        preferences.setDictionary(DefaultOverridesMigration::overridesKey, record.toMap());
    else if (record.metaType().id() == QMetaType::QString)
        preferences.setString(DefaultOverridesMigration::overridesKey, record.toString());
    else
        preferences.setData(DefaultOverridesMigration::overridesKey, record.toByteArray());

    QCOMPARE(DefaultOverridesMigration::migrate(), std::nullopt);
    QVERIFY(PresetsStore().presets().isEmpty());
    QVERIFY(!preferences.contains(PresetsStore::presetsKey));
    QVERIFY(recordStored());
}

void DefaultOverridesMigrationTest::recordStaysWhenThePresetCannotBeWritten()
{
    // The record sits in the organization-wide file, which QSettings reads as
    // a fallback; the program's own file cannot be written because a folder
    // stands in its place.
    const QString organizationFile = m_env->configPath() + QStringLiteral("/Quillforge.conf");
    QVERIFY(Preferences::atPath(organizationFile)
                .setDictionary(DefaultOverridesMigration::overridesKey, twoOverrides));
    QVERIFY(QDir().mkpath(m_env->configPath() + QStringLiteral("/Quillforge/Metaloom.conf")));
    QCOMPARE(Preferences::standard().dictionary(DefaultOverridesMigration::overridesKey),
             twoOverrides);

    QCOMPARE(DefaultOverridesMigration::migrate(), std::nullopt);
    QVERIFY(recordStored());
    QVERIFY(!Preferences::standard().contains(PresetsStore::presetsKey));
}

QTEST_GUILESS_MAIN(DefaultOverridesMigrationTest)
#include "tst_DefaultOverridesMigration.moc"
