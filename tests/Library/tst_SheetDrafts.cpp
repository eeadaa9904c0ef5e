// What the preset manager and the settings sheet edit, without their
// widgets: the preset working copy with its refusal rules and key listing,
// and the field settings draft, over a scripted engine.

#include "ScriptedFixture.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/FieldSettings/CustomFieldText.h"
#include "MetaloomFeature/Library/FieldSettings/FieldSettingsDraft.h"
#include "MetaloomFeature/Library/FieldSettings/PinnableKeysModel.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Library/Presets/PresetEditing.h"
#include "MetaloomFeature/Model/FavoriteTagsStore.h"
#include "MetaloomFeature/Model/PresetsStore.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

using Outcome = PresetEditing::SaveOutcome;
using RefusalKind = FieldSettingsDraft::Refusal::Kind;
using Items = QMap<QString, QStringList>;

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(std::optional<RefusalKind>)

namespace {

Preset preset(const QString &name, Items overrides = {}, QStringList removals = {})
{
    return {QUuid::createUuid(), name,
            PresetAction::addOrModifyItems(std::move(overrides), std::move(removals))};
}

} // namespace

class SheetDraftsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.emplace(); }
    void cleanup() { m_fixture.reset(); }
    void presetSaves_data();
    void presetSaves();
    void presetEditingFollowsTheStore();
    void presetKeysComeFromTheEngine();
    void fieldRefusals_data();
    void fieldRefusals();
    void fieldDraftReachesTheLibrary();

private:
    std::optional<ScriptedFixture> m_fixture;
};

void SheetDraftsTest::presetSaves_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Items>("overrides");
    QTest::addColumn<QStringList>("removals");
    QTest::addColumn<Outcome>("outcome");
    // What the engine says of the key or value refused, when one is.
    QTest::addColumn<QString>("refusedKey");
    QTest::addColumn<QString>("refusedValue");
    QTest::addColumn<QStringList>("storedRemovals");

    QTest::newRow("saved, removals trimmed, blank ones left out")
        << "Trip" << Items{{"XMP-dc:Title", {"Trip"}}}
        << QStringList{" GPS:GPSLatitude ", "  ", "IFD0:Make"} << Outcome::saved << ""
        << "" << QStringList{"GPS:GPSLatitude", "IFD0:Make"};
    QTest::newRow("a key that renames the file")
        << "P" << Items{{"System:FileName", {"other.jpg"}}} << QStringList{} << Outcome::refused
        << "System:FileName"
        << "" << QStringList{};
    QTest::newRow("not a tag key") << "P" << Items{{"Date Taken", {"2024"}}} << QStringList{}
                                   << Outcome::refused << "Date Taken"
                                   << "" << QStringList{};
    QTest::newRow("a removal that moves the file")
        << "P" << Items{} << QStringList{"Directory"} << Outcome::refused << "Directory"
        << "" << QStringList{};
    const QString withNul = QStringLiteral("line") + QChar(u'\0') + QStringLiteral("break");
    QTest::newRow("a value no tag may take")
        << "P" << Items{{"XMP-dc:Title", {"ok", withNul}}} << QStringList{} << Outcome::refused
        << "XMP-dc:Title" << withNul << QStringList{};
}

void SheetDraftsTest::presetSaves()
{
    QFETCH(QString, name);
    QFETCH(Items, overrides);
    QFETCH(QStringList, removals);
    QFETCH(Outcome, outcome);
    QFETCH(QString, refusedKey);
    QFETCH(QString, refusedValue);
    QFETCH(QStringList, storedRemovals);
    PresetsStore store;
    PresetEditing editing(&store, m_fixture->engine);
    QVERIFY(editing.isCreatingNew());
    editing.rename(name);
    editing.setOverrides(overrides);
    editing.setRemovals(removals);
    QCOMPARE(editing.save(QStringLiteral("Untitled")), outcome);
    if (outcome == Outcome::refused) {
        const std::optional<QString> reason =
            refusedValue.isEmpty() ? ExifToolService::keyRefusalReason(refusedKey)
                                   : ExifToolService::valueRefusalReason(refusedKey, refusedValue);
        QVERIFY(reason);
        QCOMPARE(editing.refusal(), *reason); // the engine's words, as they are
        QVERIFY(store.presets().isEmpty());
        QVERIFY(editing.isCreatingNew()); // nothing is lost
        QCOMPARE(editing.editingPreset()->action.removals, removals);
        return;
    }
    QCOMPARE(store.presets().size(), 1);
    QCOMPARE(store.presets().constFirst().action.removals, storedRemovals);
    QCOMPARE(store.presets().constFirst().action.overrides, overrides);
    QVERIFY(!editing.isCreatingNew());
    QCOMPARE(editing.selectedPresetID(), std::optional(store.presets().constFirst().id));
    QCOMPARE(editing.editingPreset(), std::optional(store.presets().constFirst()));
}

void SheetDraftsTest::presetEditingFollowsTheStore()
{
    PresetsStore store;
    store.addPreset(preset("One", {{"IFD0:Artist", {"Ann"}}}));
    store.addPreset(preset("Two"));
    PresetEditing editing(&store, m_fixture->engine);
    QSignalSpy shown(&editing, &PresetEditing::workingCopyChanged);
    QCOMPARE(editing.editingPreset(), std::optional(store.presets().at(0)));
    QVERIFY(editing.canDelete() && editing.canSave());
    const QString firstIdentity = editing.editedIdentity();

    editing.rename("   ");
    QVERIFY(!editing.canSave());
    QCOMPARE(editing.save("Untitled"), Outcome::saved); // blanks are a name, kept as typed
    QCOMPARE(store.presets().at(0).name, QStringLiteral("   "));
    QCOMPARE(editing.editedIdentity(), firstIdentity);
    editing.rename("");
    QCOMPARE(editing.save("Untitled"), Outcome::saved);
    QCOMPARE(store.presets().at(0).name, QStringLiteral("Untitled"));
    QCOMPARE(shown.count(), 2);

    editing.selectPreset(store.presets().at(1).id);
    QCOMPARE(editing.editingPreset()->name, QStringLiteral("Two"));
    QVERIFY(editing.editedIdentity() != firstIdentity);
    editing.selectPreset(store.presets().at(1).id); // already edited: nothing happens
    QCOMPARE(shown.count(), 3);

    QCOMPARE(editing.deletePreset(), PresetEditing::DeleteOutcome::deleted);
    QCOMPARE(editing.editingPreset()->name, QStringLiteral("Untitled"));
    QCOMPARE(editing.deletePreset(), PresetEditing::DeleteOutcome::deleted);
    QVERIFY(store.presets().isEmpty());
    QVERIFY(editing.isCreatingNew() && !editing.canDelete());
    QCOMPARE(editing.editedIdentity(), QStringLiteral("new-preset"));
    QCOMPARE(editing.deletePreset(), PresetEditing::DeleteOutcome::nothingToDelete);
}

void SheetDraftsTest::presetKeysComeFromTheEngine()
{
    PresetsStore store;
    {
        PresetEditing failing(&store, m_fixture->engine);
        QTRY_COMPARE(m_fixture->engine->listingCount, 1);
        QTest::qWait(0);
        QVERIFY(failing.availableKeys().isEmpty() && !failing.keyCatalog());
    }
    m_fixture->engine->keyListing = QStringList{"IFD0:Make", "GPS:GPSLatitude", "Aperture"};
    PresetEditing editing(&store, m_fixture->engine);
    QSignalSpy arrived(&editing, &PresetEditing::availableKeysChanged);
    QVERIFY(editing.availableKeys().isEmpty()); // asked in the background
    QTRY_COMPARE(arrived.count(), 1);
    QCOMPARE(editing.availableKeys(), *m_fixture->engine->keyListing);
    QCOMPARE(editing.keyCatalog()->families().size(), 3);
}

void SheetDraftsTest::fieldRefusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<RefusalKind>>("refusal");
    QTest::newRow("a key") << "XMP-dc:Rights" << std::optional<RefusalKind>();
    QTest::newRow("label and key") << "Caption:XMP-dc:Description" << std::optional<RefusalKind>();
    QTest::newRow("blanks") << "   " << std::optional(RefusalKind::noKey);
    QTest::newRow("a key there, other case")
        << "xmp-DC:title" << std::optional(RefusalKind::duplicateKey);
    QTest::newRow("the same key under a label")
        << "Notes: XMP-dc:Title" << std::optional(RefusalKind::duplicateKey);
    // Keys the engine would refuse at every write.
    for (const char *text : {"Label:System:FileName", ":", ":::", "Label:Bad Key:Here"})
        QTest::newRow(text) << text << std::optional(RefusalKind::keyRefused);
}

void SheetDraftsTest::fieldRefusals()
{
    QFETCH(QString, text);
    QFETCH(std::optional<RefusalKind>, refusal);
    FavoriteTagsStore::shared().saveCustomTags(
        {{QUuid::createUuid(), QStringLiteral("XMP-dc:Title"), QString()}});
    LibraryViewModel library(m_fixture->engine);
    FieldSettingsDraft draft(&library);
    const std::optional<FieldSettingsDraft::Refusal> refused = draft.addCustomField(text);
    QCOMPARE(refused ? std::optional(refused->kind) : std::nullopt, refusal);
    if (refusal == RefusalKind::keyRefused) // in the engine's words
        QCOMPARE(refused->reason,
                 *ExifToolService::keyRefusalReason(CustomFieldText::parse(text)->key));
    QCOMPARE(draft.customTags().size(), refusal ? 1 : 2);
    QCOMPARE(library.customTags().size(), 1); // the draft's own until Done
}

void SheetDraftsTest::fieldDraftReachesTheLibrary()
{
    LibraryViewModel library(m_fixture->engine);
    library.presentMetadataSettings();
    FieldSettingsDraft draft(&library);
    QSignalSpy fields(&draft, &FieldSettingsDraft::customFieldsChanged);
    QVERIFY(draft.keysModel()->filteredKeys().contains("XMP-xmp:Rating"));

    draft.setPinned("IFD0:Make", false);
    QVERIFY(!draft.pinned().contains("IFD0:Make"));
    QVERIFY(library.pinnedTags().contains("IFD0:Make")); // until Done
    QVERIFY(!draft.addCustomField("Caption:XMP-dc:Coverage"));
    QCOMPARE(fields.count(), 1);
    QVERIFY(draft.pinned().contains("XMP-dc:Coverage"));
    QVERIFY(!library.pinnedTags().contains("XMP-dc:Coverage"));
    // The new field is offered for pinning beside the library's keys once
    // the event loop runs.
    QTRY_COMPARE(draft.keysModel()->filteredKeys(),
                 library.availableTagKeys() + QStringList{"XMP-dc:Coverage"});

    // Edited into a key the engine refuses: nothing applied, the sheet stays.
    draft.editCustomField(0, "Caption:System:FileName");
    QCOMPARE(fields.count(), 1);
    QVERIFY(ExifToolService::keyRefusalReason("System:FileName"));
    QCOMPARE(draft.done(), ExifToolService::keyRefusalReason("System:FileName"));
    QVERIFY(library.isMetadataSettingsPresented());

    draft.editCustomField(0, "  Caption : XMP-dc:Rights ");
    QCOMPARE(draft.done(), std::nullopt);
    QVERIFY(!library.isMetadataSettingsPresented());
    QCOMPARE(library.customTags().size(), 1);
    QCOMPARE(library.customTags().constFirst().rawKey, QStringLiteral("XMP-dc:Rights"));
    QCOMPARE(library.customTags().constFirst().displayName, QStringLiteral("Caption"));
    QVERIFY(library.pinnedTags().contains("XMP-dc:Rights"));
    QVERIFY(!library.pinnedTags().contains("XMP-dc:Coverage"));
    QVERIFY(!library.pinnedTags().contains("IFD0:Make"));

    library.presentMetadataSettings();
    FieldSettingsDraft again(&library);
    QSignalSpy againFields(&again, &FieldSettingsDraft::customFieldsChanged);
    again.deleteCustomField(0);
    QCOMPARE(againFields.count(), 1);
    QCOMPARE(library.customTags().size(), 1);
    again.deleteCustomField(5); // out of range: nothing
    QCOMPARE(againFields.count(), 1);
    again.cancel(); // the deletion is forgotten
    QVERIFY(!library.isMetadataSettingsPresented());
    QCOMPARE(library.customTags().size(), 1);
    QCOMPARE(FavoriteTagsStore::shared().loadCustomTags(), library.customTags());
}

QTEST_MAIN(SheetDraftsTest)
#include "tst_SheetDrafts.moc"
