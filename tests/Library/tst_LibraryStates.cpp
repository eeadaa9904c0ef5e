// The library driven as a window drives it, over a scripted engine: what it
// shows, keeps and drops for each answer, in the order the test lets the
// answers arrive, without any process. What reaches a file through the real
// ExifTool is checked in tst_LibraryFlows and tst_LibraryReports.

#include "LibraryHarness.h"
#include "ScriptedFixture.h"

#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"
#include "MetaloomFeature/Model/DefaultOverridesMigration.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Platform/Error.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TaskRunner.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Testing;
using namespace std::chrono_literals;

namespace {

QStringList fileNames(const LibraryViewModel &library)
{
    QStringList names;
    for (const MediaItem &item : library.items())
        names << item.fileName;
    return names;
}

} // namespace

class LibraryStatesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.emplace(); }
    void cleanup() { m_fixture.reset(); }
    void importKeepsOrderAndSelection();
    void foldersPastesAndOtherAddresses();
    void statusLineLastsThreeSecondsFromItsLastShowing();
    void writeErrorsMarkTheNamedRows();
    void anEditPublishesItsEntryUnlessTheSearchTurns();
    void lateLoadsNeverReplaceTheSelectedFile();
    void onlyTheLatestOfQuickSelectionsIsShown();
    void pinsCustomFieldsAndMigrationOutliveTheWindow();
    void windowsKeepEachOthersPinsAndFields();
    void exportWritesEditsAndIgnoresTheSearch();
    void filesGoneOrReadOnlyAtSave_data();
    void filesGoneOrReadOnlyAtSave();
    void failedReadsKeepTheListAndShowTheEngineText();
    void cancelStopsAfterTheFileBeingChanged();
    void closingTheWindowMidChangeFinishesTheChange();
    void writeAnywayRepeatsTheChange();
    void tagTableAwaitedOrAtHand();

private:
    QString work() const { return m_fixture->env.workPath(); }
    // A file of the test's folder the scripted engine says holds these tags.
    QString file(const QString &name, QMap<QString, QStringList> tags = {})
    {
        const QString path = makeImage(work(), name);
        m_fixture->engine->files.insert(path, std::move(tags));
        return path;
    }

    std::optional<ScriptedFixture> m_fixture;
};

void LibraryStatesTest::importKeepsOrderAndSelection()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    const QString a = file("a.jpg", {{title, {"A"}}}), b = file("b.png");
    lib.importItems({url(a), url(b)});
    QCOMPARE(fileNames(lib), QStringList({"a.jpg", "b.png"}));
    QCOMPARE(lib.selectedItemID(), lib.items().first().id);
    QVERIFY(lib.isBusy()); // the load started at once
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("A"));
    QCOMPARE(m_fixture->engine->readCount, 1); // only the selected file is read

    // Thumbnails arrive after the import returned: the selected file's for
    // the header at once, the others' once their rows come into view.
    QTRY_VERIFY(lib.items()[0].thumbnail);
    QTest::qWait(50);
    QVERIFY(!lib.items()[1].thumbnail);
    lib.setItemsInView({lib.items()[1].id});
    QTRY_VERIFY(lib.items()[1].thumbnail);

    const QString c = file("c.jpg");
    const QUuid selected = *lib.selectedItemID();
    lib.importItems({url(c)});
    QCOMPARE(fileNames(lib), QStringList({"a.jpg", "b.png", "c.jpg"}));
    QCOMPARE(lib.selectedItemID(), selected);
    QCOMPARE(lib.statusMessage(), QStringLiteral("Added 1 file."));

    lib.removeItem(lib.items()[1]); // not selected: nothing else moves
    QCOMPARE(lib.selectedItemID(), selected);
    lib.removeItem(lib.items()[0]); // selected: the first remaining one is
    QCOMPARE(lib.selectedItemID(), lib.items().first().id);
    QVERIFY(waitUntilIdle(lib));
    lib.removeItem(lib.items()[0]);
    QVERIFY(!lib.selectedItemID() && lib.filteredEntries().isEmpty());
    lib.clearAllItems();
    QCOMPARE(statusText(lib), QStringLiteral("All files cleared."));
}

void LibraryStatesTest::foldersPastesAndOtherAddresses()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    QDir(work()).mkpath("Trip");
    QDir(work()).mkpath("Empty");
    makeImage(work() + "/Trip", "b.jpg");
    makeImage(work() + "/Trip", "A.jpg");
    makeImage(work() + "/Trip", ".hidden.jpg");

    lib.importItems({url(work() + "/Empty")});
    QCOMPARE(statusText(lib), QStringLiteral("The folder 'Empty' holds no files to import."));
    lib.importItems({QUrl("https://example.org/x.jpg")});
    QCOMPARE(statusText(lib), QStringLiteral("Only files on this computer can be imported."));
    QVERIFY(lib.items().isEmpty());

    QMimeData pasted;
    pasted.setUrls({QUrl("https://example.org/x.jpg"), url(work() + "/Trip")});
    lib.pasteFromClipboard(&pasted);
    QCOMPARE(fileNames(lib), QStringList({"A.jpg", "b.jpg"}));
    QVERIFY(waitUntilIdle(lib));

    // A name that is not UTF-8 could never be found again: left out, said.
    const QByteArray badName = QFile::encodeName(work()) + "/caf\xe9.jpg";
    const int fd = ::open(badName.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    // Qt cannot name the file to remove it with the test's folder.
    const auto removeBadFile = qScopeGuard([&badName] { ::unlink(badName.constData()); });
    lib.importItems({QUrl::fromEncoded("file://" + badName.toPercentEncoding("/"))});
    QCOMPARE(lib.items().size(), 2);
    QVERIFY2(alertText(lib).contains("not valid UTF-8"), qPrintable(alertText(lib)));
    QCOMPARE(lib.activeError()->title, QStringLiteral("File Not Added"));

    // A large drop through a linked folder: its bookmarks, made on a worker,
    // lead later operations to the files the link named at the drop.
    lib.clearAllItems();
    QDir(work()).mkpath("Real");
    for (int i = 0; i < 501; ++i)
        QFile(work() + QStringLiteral("/Real/f%1.jpg").arg(i, 3, 10, QLatin1Char('0')))
            .open(QIODevice::WriteOnly);
    m_fixture->engine->files.insert(work() + "/Real/f001.jpg", {{title, {"Real"}}});
    QVERIFY(QFile::link(work() + "/Real", work() + "/Linked"));
    lib.importItems({url(work() + "/Linked")});
    QCOMPARE(lib.items().size(), 501);
    QCOMPARE(lib.items().at(1).url, url(work() + "/Linked/f001.jpg"));
    QTRY_VERIFY([&] {
        lib.setSelectedItemID(lib.items().at(0).id);
        lib.setSelectedItemID(lib.items().at(1).id);
        const std::optional<MetadataEntry> shown =
            waitUntilIdle(lib) ? visibleEntry(lib, title) : std::nullopt;
        return shown && shown->value == QStringLiteral("Real");
    }());
}

void LibraryStatesTest::statusLineLastsThreeSecondsFromItsLastShowing()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    lib.setStatus("first");
    h.timer->advance(1s);
    lib.setStatus("second");
    h.timer->advance(2500ms); // the first one's time is up; it must not clear the second
    QCOMPARE(statusText(lib), QStringLiteral("second"));
    h.timer->advance(500ms);
    QVERIFY(!lib.statusMessage());

    lib.setStatus("again");
    h.timer->advance(2s);
    lib.setStatus("again");
    h.timer->advance(2s);
    QCOMPARE(statusText(lib), QStringLiteral("again"));
    h.timer->advance(1s);
    QVERIFY(!lib.statusMessage());
}

void LibraryStatesTest::anEditPublishesItsEntryUnlessTheSearchTurns()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    QAbstractItemModelTester tester(lib.entryTree(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    lib.importItems({url(file("a.jpg", {{title, {"a.jpg"}}, {"IFD0:Make", {"Cam"}}}))});
    QVERIFY(waitUntilIdle(lib));
    const MetadataEntry make = *visibleEntry(lib, "IFD0:Make");
    QSignalSpy entryChanges(&lib, &LibraryViewModel::filteredEntryChanged);
    QSignalSpy listChanges(&lib, &LibraryViewModel::filteredEntriesChanged);
    QSignalSpy pending(&lib, &LibraryViewModel::hasPendingChangesChanged);
    QSignalSpy rowChanges(lib.entryTree(), &QAbstractItemModel::dataChanged);

    // A keystroke: its entry alone, in the list and in the editor's tree.
    lib.editValue(*visibleEntry(lib, title), "typed");
    QCOMPARE(entryChanges.size(), 1);
    QCOMPARE(entryChanges.first().first().toString(), title);
    QCOMPARE(listChanges.size(), 0);
    QCOMPARE(rowChanges.size(), 1);
    QCOMPARE(lib.filteredEntry(title)->value, QStringLiteral("typed"));
    QCOMPARE(lib.entryTree()->indexOf(title).data(Qt::EditRole).toString(), "typed");
    QVERIFY(lib.hasPendingChanges());
    QCOMPARE(pending.size(), 1);

    // Under a search: an edit that still matches stays one entry; one that
    // stops matching, or starts to, brings the list again.
    lib.setSearchText("typed");
    QCOMPARE(listChanges.size(), 1);
    lib.editValue(*visibleEntry(lib, title), "typed more");
    QCOMPARE(entryChanges.size(), 2);
    QCOMPARE(listChanges.size(), 1);
    lib.editValue(*visibleEntry(lib, title), "other");
    QCOMPARE(listChanges.size(), 2);
    QVERIFY(lib.filteredEntries().isEmpty());
    QCOMPARE(lib.entryTree()->rowCount(), 0);
    lib.setSearchText("cam2");
    QVERIFY(!lib.filteredEntry("IFD0:Make"));
    lib.editValue(make, "Cam2");
    QCOMPARE(listChanges.size(), 4);
    QCOMPARE(lib.filteredEntries().size(), 1);
    QVERIFY(lib.entryTree()->indexOf("IFD0:Make").isValid());
    QCOMPARE(entryChanges.size(), 2);

    // Back to the value read: the other edit keeps changes pending.
    lib.setSearchText(QString());
    lib.editValue(make, "Cam");
    QVERIFY(lib.hasPendingChanges());
    lib.editValue(*visibleEntry(lib, title), "a.jpg");
    QVERIFY(!lib.hasPendingChanges());
    QCOMPARE(pending.size(), 2);
}

void LibraryStatesTest::writeErrorsMarkTheNamedRows()
{
    m_fixture->engine->changeAnswer = [](const ScriptedEngine::Change &) -> ChangeReport {
        throw ServiceError::executionFailed("  Error: Can't write XMP-dc:Title to this file  ");
    };
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    lib.importItems({url(file("a.jpg", {{title, {"a.jpg"}}, {"IFD0:Make", {"Cam"}}}))});
    QVERIFY(waitUntilIdle(lib));
    lib.editValue(*visibleEntry(lib, title), "typed");
    QVERIFY(!runTask(lib.saveChanges()).value.value_or(true));

    const MetadataEntry marked = *visibleEntry(lib, title);
    QCOMPARE(marked.warning,
             std::optional<QString>("Error: Can't write XMP-dc:Title to this file"));
    QVERIFY(!marked.isWritable());
    QCOMPARE(marked.value, QStringLiteral("typed")); // the edit stays
    QCOMPARE(statusText(lib), QStringLiteral("Some metadata tags are read-only."));
    QVERIFY(visibleEntry(lib, "IFD0:Make")->isWritable());
    QVERIFY(!lib.activeError());

    m_fixture->engine->changeAnswer = [](const ScriptedEngine::Change &) -> ChangeReport {
        throw ServiceError::executionFailed("  Error: disk full ");
    };
    lib.editValue(*visibleEntry(lib, "IFD0:Make"), "Other");
    runTask(lib.saveChanges());
    QCOMPARE(alertText(lib), QStringLiteral("Error: disk full"));
}

void LibraryStatesTest::lateLoadsNeverReplaceTheSelectedFile()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    // Listed by name: the slow file first.
    const QString slow = file("a-slow.jpg", {{title, {"slow.jpg"}}});
    const QString fast = file("b-fast.jpg", {{title, {"fast.jpg"}}});
    QSignalSpy loaded(&lib, &LibraryViewModel::metadataLoaded);
    m_fixture->engine->hold(slow);
    lib.importItems({url(slow), url(fast)});
    lib.setSelectedItemID(lib.items()[1].id);
    QTRY_COMPARE(loaded.count(), 1);
    m_fixture->engine->release(slow); // the slow read, dropped, ends after the fast one
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("fast.jpg"));
    QCOMPARE(loaded.count(), 1);

    // An edit of the shown file, then a click on the slow one: while it
    // loads nothing of the first file is shown or saved into it.
    lib.editValue(*visibleEntry(lib, title), "typed");
    m_fixture->engine->hold(slow);
    lib.setSelectedItemID(lib.items()[0].id);
    QVERIFY(lib.filteredEntries().isEmpty());
    QVERIFY(!runTask(lib.saveChanges()).value.value_or(true));
    QCOMPARE(statusText(lib), QStringLiteral("No changes to save."));
    m_fixture->engine->release(slow);
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("slow.jpg"));
    QVERIFY(m_fixture->engine->changes.isEmpty());
    QVERIFY(!lib.activeError());
}

void LibraryStatesTest::onlyTheLatestOfQuickSelectionsIsShown()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    const QString slow = file("slow.jpg", {{title, {"slow.jpg"}}});
    const QString fast = file("fast.jpg", {{title, {"fast.jpg"}}});
    lib.importItems({url(fast), url(slow)});
    QVERIFY(waitUntilIdle(lib));
    QSignalSpy loaded(&lib, &LibraryViewModel::metadataLoaded);

    // Slow, fast, slow at once: the first read of the slow file belongs to a
    // selection that has moved on since, although the same file is selected
    // again; both reads of it end together.
    m_fixture->engine->hold(slow);
    lib.setSelectedItemID(lib.items()[1].id);
    lib.setSelectedItemID(lib.items()[0].id);
    lib.setSelectedItemID(lib.items()[1].id);
    QTest::qWait(0); // the fast read ends while the slow file is selected
    m_fixture->engine->release(slow);
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().first().toUuid(), lib.items()[1].id);
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("slow.jpg"));
    QCOMPARE(m_fixture->engine->readCount, 4);
}

void LibraryStatesTest::pinsCustomFieldsAndMigrationOutliveTheWindow()
{
    Preferences::standard().setStringArray(FavoriteTagsStore::favoritesKey, {"IFD0:Software"});
    Preferences::standard().setDictionary(DefaultOverridesMigration::overridesKey,
                                          {{"XMP-dc:Creator", "Ann"}, {"XMP-dc:Rights", "CC"}});
    const CustomMetadataTag caption{QUuid::createUuid(), "XMP-dc:Caption", "Caption"};
    {
        LibraryHarness h(m_fixture->engine);
        LibraryViewModel &lib = *h.library;
        QCOMPARE(lib.pinnedTags().size(), 16);
        QCOMPARE(
            statusText(lib),
            QStringLiteral("Default overrides migrated to 'Migrated Default Overrides' preset."));
        const QStringList keys = lib.availableTagKeys();
        QVERIFY(keys.contains("IFD0:Software") && keys.contains("XMP-xmp:Rating"));

        lib.importItems({url(file("canon.jpg", {{"IFD0:Make", {"Canon"}},
                                                {"ExifIFD:ISO", {"100"}},
                                                {"IFD0:Software", {"Firmware"}}}))});
        QVERIFY(waitUntilIdle(lib));
        lib.presentMetadataSettings();
        QVERIFY(lib.isMetadataSettingsPresented());
        QSet<QString> pinned = lib.pinnedTags();
        pinned.remove("ExifIFD:ISO");
        lib.applyMetadataSettings(pinned + QSet<QString>{caption.rawKey}, {caption});
        QVERIFY(!lib.isMetadataSettingsPresented());
        const MetadataEntry placeholder = *visibleEntry(lib, caption.rawKey);
        QVERIFY(placeholder.isFavorite && placeholder.value.isEmpty());
        QCOMPARE(placeholder.displayName, QStringLiteral("Caption"));
        QVERIFY(!visibleEntry(lib, "ExifIFD:ISO")->isFavorite);
        QVERIFY(visibleEntry(lib, "ExifIFD:ISO")->isDefaultFavorite);
        lib.toggleFavorite(*visibleEntry(lib, "IFD0:Make"));
        QVERIFY(!visibleEntry(lib, "IFD0:Make")->isFavorite);
        lib.presentSettings(SettingsTab::about);
        QCOMPARE(lib.settingsTab(), SettingsTab::about);
    }
    LibraryHarness again(m_fixture->engine);
    QCOMPARE(again.library->customTags(), QList<CustomMetadataTag>({caption}));
    QVERIFY(again.library->pinnedTags().contains("ExifIFD:ISO")); // defaults come back
    QVERIFY(again.library->pinnedTags().contains(caption.rawKey));
    QVERIFY(!again.library->statusMessage()); // migrated once only
    const QList<Preset> presets = PresetsStore().presets();
    QCOMPARE(presets.size(), 1);
    QCOMPARE(presets.first().action.overrides.size(), 2);
    QCOMPARE(again.library->presetsStore()->presets(), presets);
}

void LibraryStatesTest::windowsKeepEachOthersPinsAndFields()
{
    LibraryHarness first(m_fixture->engine);
    LibraryHarness second(m_fixture->engine);
    LibraryViewModel &a = *first.library;
    LibraryViewModel &b = *second.library;
    const CustomMetadataTag credit{QUuid::createUuid(), "XMP-photoshop:Credit", "Credit"};

    // The first window's sheet is open while the second pins a tag and adds
    // a field; the sheet's draft must not take them away again.
    a.presentMetadataSettings();
    const QSet<QString> sheetPins = a.pinnedTags();
    b.toggleFavorite(MetadataEntry("IPTC:City", QString()));
    b.updateMetadataDraft(b.pinnedTags(), {credit});
    QVERIFY(a.pinnedTags().contains("IPTC:City"));
    QCOMPARE(a.customTags(), QList<CustomMetadataTag>({credit}));
    a.applyMetadataSettings(sheetPins - QSet<QString>{"IFD0:Make"}, {});

    for (const LibraryViewModel *library : {&a, &b}) {
        QVERIFY(library->pinnedTags().contains("IPTC:City"));
        QVERIFY(!library->pinnedTags().contains("IFD0:Make"));
        QCOMPARE(library->customTags(), QList<CustomMetadataTag>({credit}));
    }
}

void LibraryStatesTest::exportWritesEditsAndIgnoresTheSearch()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Json);
    QCOMPARE(statusText(lib), QStringLiteral("Select an item to export metadata."));

    lib.importItems({url(file("photo.jpeg", {{title, {"Old"}}, {"IFD0:Make", {"Nikon"}}}))});
    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Json);
    QCOMPARE(statusText(lib), QStringLiteral("Metadata is still loading. Try again in a moment."));
    QVERIFY(waitUntilIdle(lib));
    lib.editValue(*visibleEntry(lib, title), "Unsaved \"edit\"");
    lib.setSearchText("unsaved");
    QCOMPARE(lib.filteredEntries().size(), 1);

    for (const auto format : MetadataExportFormatter::allCases()) {
        const QString extension = MetadataExportFormatter::fileExtension(format);
        lib.exportSelectedMetadata(format);
        QCOMPARE(h.savePanel->lastOptions->suggestedFileName, "photo." + extension);
        const QString destination = work() + "/out." + extension;
        h.savePanel->answer(url(destination));
        QCOMPARE(statusText(lib), "Exported metadata as " + extension.toUpper() + ".");
        QFile file(destination);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.contains("Unsaved \\\"edit\\\"") && text.contains("IFD0:Make"),
                 qPrintable(text));
    }
    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Yaml);
    h.savePanel->answer(std::nullopt);

    // An export folder that is not there.
    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Json);
    h.savePanel->answer(url(work() + "/Gone/photo.json"));
    QCOMPARE(lib.activeError()->title, QStringLiteral("Metadata Not Exported"));
    QCOMPARE(alertText(lib), "The folder “" + work() +
                                 "/Gone” does not exist, so photo.json "
                                 "was not saved.");

    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Toml);
    h.library.reset(); // the window closes with the panel open
    h.savePanel->answer(url(work() + "/late.toml"));
    QVERIFY(!QFile::exists(work() + "/late.toml"));
}

void LibraryStatesTest::filesGoneOrReadOnlyAtSave_data()
{
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QString>("alert");
    QTest::newRow("deleted") << true
                             << "Metaloom can't find “photo.jpg”. It may have been moved or "
                                "deleted.";
    QTest::newRow("read-only")
        << false << "Metaloom can't modify “photo.jpg”. Check its permissions and try again.";
}

void LibraryStatesTest::filesGoneOrReadOnlyAtSave()
{
    QFETCH(bool, deleted);
    QFETCH(QString, alert);
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    const QString path = file("photo.jpg", {{title, {"Old"}}});
    lib.importItems({url(path)});
    QVERIFY(waitUntilIdle(lib));
    lib.editValue(*visibleEntry(lib, title), "New");
    if (deleted)
        QVERIFY(QFile::remove(path));
    else
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(!runTask(lib.saveChanges()).value.value_or(true));
    QCOMPARE(alertText(lib), alert);
    QCOMPARE(lib.activeError()->title, QStringLiteral("Changes Not Saved to photo.jpg"));
    QVERIFY(lib.hasPendingChanges() && !lib.isBusy());
    QVERIFY(m_fixture->engine->changes.isEmpty()); // refused before the engine is asked
}

void LibraryStatesTest::failedReadsKeepTheListAndShowTheEngineText()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    const QString broken = file("a.jpg");
    const std::exception_ptr missing = std::make_exception_ptr(ServiceError::binaryMissing());
    m_fixture->engine->readFailures.insert(broken, missing);
    lib.importItems({url(broken)});
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(alertText(lib), describeException(missing));
    QCOMPARE(lib.activeError()->title, QStringLiteral("ExifTool Error"));
    QVERIFY(lib.filteredEntries().isEmpty());
    lib.setActiveError(std::nullopt);

    const QString path = file("photo.jpg", {{title, {"Kept"}}});
    lib.importItems({url(path)});
    lib.setSelectedItemID(lib.items()[1].id);
    QVERIFY(waitUntilIdle(lib));
    const std::exception_ptr gone = std::make_exception_ptr(PlatformError("The file is gone."));
    m_fixture->engine->readFailures.insert(path, gone);
    runTask(lib.reloadMetadata());
    QCOMPARE(alertText(lib), QStringLiteral("The file is gone."));
    QCOMPARE(lib.activeError()->title, QStringLiteral("Can't Read photo.jpg"));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("Kept"));
}

void LibraryStatesTest::cancelStopsAfterTheFileBeingChanged()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    QStringList paths;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        paths << file(name, {{title, {name}}});
    for (const QString &path : std::as_const(paths))
        lib.importItems({url(path)});
    QVERIFY(waitUntilIdle(lib));
    // Cancel while the second file is being stripped.
    connect(&lib, &LibraryViewModel::batchProgressChanged, this, [&lib] {
        if (lib.batchProgress() && lib.batchProgress()->current == 2)
            lib.cancelBatch();
    });
    lib.presentRemoveAllMetadataConfirmation();
    lib.confirmRemoveAllMetadata();
    QVERIFY(lib.batchProgress());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(statusText(lib),
             QStringLiteral("Stripped 2 of 4 items with “Everything”: nothing of it left. "
                            "Stopped before c.jpg; it and the 1 file after it were left as they "
                            "were."));
    QVERIFY(!lib.activeError() && !lib.batchProgress());
    QCOMPARE(m_fixture->engine->strips.size(), 2);
    QVERIFY(!m_fixture->engine->files.contains(paths[0]) &&
            !m_fixture->engine->files.contains(paths[1]));
    QCOMPARE(m_fixture->engine->files.value(paths[2]).value(title), QStringList{"c.jpg"});
    QCOMPARE(m_fixture->engine->files.value(paths[3]).value(title), QStringList{"d.jpg"});
}

void LibraryStatesTest::closingTheWindowMidChangeFinishesTheChange()
{
    const QString a = file("a.jpg", {{title, {"A"}}}), b = file("b.jpg", {{title, {"B"}}}),
                  c = file("c.jpg", {{title, {"C"}}});
    {
        LibraryHarness h(m_fixture->engine);
        h.library->importItems({url(a)});
        QVERIFY(waitUntilIdle(*h.library));
        h.library->editValue(*visibleEntry(*h.library, title), "Saved as the window closed");
        m_fixture->engine->hold(a);
        auto save = h.library->saveChanges();
        h.library.reset();
        m_fixture->engine->release(a);
        QVERIFY(runTask(std::move(save)).value.value_or(false));
    }
    QCOMPARE(m_fixture->engine->files.value(a).value(title),
             QStringList{"Saved as the window closed"});
    {
        LibraryHarness h(m_fixture->engine);
        h.library->importItems({url(a), url(b), url(c)});
        QVERIFY(waitUntilIdle(*h.library));
        // Two at once: a is held, b goes through, c is never started.
        h.library->setBatchLanes(2);
        m_fixture->engine->changes.clear();
        m_fixture->engine->hold(a);
        h.library->applyPreset(
            {QUuid::createUuid(), "P", PresetAction::addOrModifyMetadata({{title, "P"}})});
        h.library.reset();
        // The change in flight ends; nothing may touch the library.
        m_fixture->engine->release(a);
        QTRY_COMPARE(m_fixture->engine->files.value(a).value(title), QStringList{"P"});
        QTest::qWait(0);
    }
    QCOMPARE(m_fixture->engine->changes.size(), 2); // the batch stopped with its window
    QCOMPARE(m_fixture->engine->files.value(b).value(title), QStringList{"P"});
    QCOMPARE(m_fixture->engine->files.value(c).value(title), QStringList{"C"});
}

void LibraryStatesTest::writeAnywayRepeatsTheChange()
{
    // Every change and strip stops at a minor error unless told to ignore
    // minor errors.
    const ServiceError minor = ServiceError::minorError(
        "a.jxl", "Error: [minor] Will wrap JXL codestream in ISO BMFF container for writing",
        "the file is a bare JPEG XL image");
    m_fixture->engine->changeAnswer = [this, minor](const ScriptedEngine::Change &change) {
        if (!change.options.ignoreMinorErrors)
            throw minor;
        return m_fixture->engine->makeChange(change);
    };
    m_fixture->engine->stripAnswer = [this, minor](const ScriptedEngine::Strip &strip) {
        if (!strip.options.ignoreMinorErrors)
            throw minor;
        return m_fixture->engine->makeStrip(strip);
    };
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    const QString a = file("a.jpg", {{title, {"A"}}}), b = file("b.jpg", {{title, {"B"}}});
    lib.importItems({url(a), url(b)});
    QVERIFY(waitUntilIdle(lib));

    // A save: told in plain words, nothing changed; OK leaves it so.
    lib.editValue(*visibleEntry(lib, title), "T");
    QVERIFY(!runTask(lib.saveChanges()).value.value_or(true));
    QVERIFY(!lib.activeError());
    std::optional<LibraryViewModel::WriteAnywayRequest> request = lib.writeAnywayRequest();
    QVERIFY(request);
    QCOMPARE(request->title, QStringLiteral("ExifTool Error"));
    QCOMPARE(request->message, describeException(std::make_exception_ptr(minor)));
    lib.cancelWriteAnyway();
    QVERIFY(!lib.writeAnywayRequest());
    QCOMPARE(m_fixture->engine->changes.size(), 1);
    QVERIFY(lib.hasPendingChanges());

    // Write Anyway: the same change again, minor errors ignored this once.
    runTask(lib.saveChanges());
    QVERIFY(lib.writeAnywayRequest());
    lib.confirmWriteAnyway();
    QVERIFY(!lib.writeAnywayRequest());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(m_fixture->engine->changes.size(), 3);
    QVERIFY(m_fixture->engine->changes.last().options.ignoreMinorErrors);
    QCOMPARE(m_fixture->engine->changes.last().assignments, (QList<TagAssignment>{{title, {"T"}}}));
    QCOMPARE(statusText(lib), QStringLiteral("Metadata saved successfully."));

    // A strip of the one file likewise.
    lib.presentRemoveMetadataConfirmation();
    lib.confirmRemoveMetadata();
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(lib.writeAnywayRequest() && !lib.activeError());
    QVERIFY(!m_fixture->engine->strips.last().options.ignoreMinorErrors);
    lib.confirmWriteAnyway();
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(m_fixture->engine->strips.last().options.ignoreMinorErrors);
    QCOMPARE(statusText(lib), QStringLiteral("a.jpg: no location, no people, no device serial, "
                                             "no dates, no hidden pictures, no edit history "
                                             "left."));

    // A batch: the files ExifTool stopped at, changed anyway as a batch.
    lib.applyPreset({QUuid::createUuid(), "P", PresetAction::addOrModifyMetadata({{title, "P"}})});
    QVERIFY(waitUntilIdle(lib));
    request = lib.writeAnywayRequest();
    QVERIFY(request);
    QCOMPARE(request->title, QStringLiteral("Preset Not Applied in Full"));
    QVERIFY2(request->message.endsWith("Write Anyway makes the change in the 2 files ExifTool "
                                       "stopped at, ignoring their minor problems."),
             qPrintable(request->message));
    lib.confirmWriteAnyway();
    QVERIFY(lib.batchProgress());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(statusText(lib), QStringLiteral("Applied preset 'P' to 2 items."));
    QVERIFY(m_fixture->engine->changes.last().options.ignoreMinorErrors);
    QCOMPARE(m_fixture->engine->changes.last().file, url(b));
    QCOMPARE(m_fixture->engine->files.value(b).value(title), QStringList{"P"});

    // Save All: the files it stopped at, saved again with their edits.
    lib.editValue(*visibleEntry(lib, title), "S");
    lib.setSelectedItemID(lib.items().at(1).id);
    QVERIFY(waitUntilIdle(lib));
    lib.editValue(*visibleEntry(lib, title), "U");
    QVERIFY(!runTask(lib.saveAllChanges()).value.value_or(true));
    request = lib.writeAnywayRequest();
    QVERIFY(request);
    QCOMPARE(request->title, QStringLiteral("Changes Not Saved to Every File"));
    lib.confirmWriteAnyway();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(m_fixture->engine->files.value(a).value(title), QStringList{"S"});
    QCOMPARE(m_fixture->engine->files.value(b).value(title), QStringList{"U"});
    QVERIFY(m_fixture->engine->changes.last().options.ignoreMinorErrors);
    QCOMPARE(lib.modifiedItemIDs(), QSet<QUuid>());
}

void LibraryStatesTest::tagTableAwaitedOrAtHand()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    ScriptedEngine &engine = *m_fixture->engine;
    const QString make = QStringLiteral("IFD0:Make"), artist = QStringLiteral("IFD0:Artist");
    engine.definitions.insert(make, TagDefinition{false, {}, false});
    engine.definitions.insert(artist, TagDefinition{false, {}, false});
    engine.definitions.insert(title, TagDefinition{true, {{"a", "Alpha"}, {"b", "Beta"}}, false});

    // While the table loads, a shown row whose definition is awaited says so.
    engine.listingLoading = true;
    lib.importItems({url(file("a.jpg", {{make, {"Canon"}}, {title, {"T"}}}))});
    QVERIFY(waitUntilIdle(lib));
    EntryTreeModel *tree = lib.entryTree();
    QVERIFY(tree->indexOf(make).data(EntryTreeModel::CheckingRole).toBool());
    QVERIFY(visibleEntry(lib, make)->isWritable()); // not known yet
    lib.ensureOptionsLoaded(*visibleEntry(lib, make));
    QTRY_VERIFY(!tree->indexOf(make).data(EntryTreeModel::CheckingRole).toBool());
    QVERIFY(!visibleEntry(lib, make)->isWritable());
    QVERIFY(tree->indexOf(title).data(EntryTreeModel::CheckingRole).toBool());
    engine.listingLoading = false; // arrived, or failed: nobody checks any more
    QVERIFY(!tree->indexOf(title).data(EntryTreeModel::CheckingRole).toBool());

    // With the table at hand, the next file's rows carry it the first time
    // the list holds them: no lookup, nothing awaited.
    engine.listingAtHand = true;
    lib.importItems({url(file("b.jpg", {{artist, {"Me"}}, {title, {"U"}}}))});
    std::optional<bool> artistWritableWhenShown;
    std::optional<bool> titleHadOptionsWhenShown;
    connect(&lib, &LibraryViewModel::filteredEntriesChanged, this, [&] {
        if (const auto shown = visibleEntry(lib, artist); shown && !artistWritableWhenShown) {
            artistWritableWhenShown = shown->isWritable();
            titleHadOptionsWhenShown = lib.options(*visibleEntry(lib, title)).has_value();
        }
    });
    lib.setSelectedItemID(lib.items().last().id);
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(artistWritableWhenShown, std::optional(false));
    QCOMPARE(titleHadOptionsWhenShown, std::optional(true));
    QCOMPARE(lib.options(*visibleEntry(lib, title))->size(), 2);
}

QTEST_MAIN(LibraryStatesTest)
#include "tst_LibraryStates.moc"
