// The library driven as a window drives it, on real files through the real
// bundled ExifTool (fake bundles only where ExifTool must misbehave); what
// reached a file is checked with a separate read.

#include "LibraryHarness.h"

#include "MetaloomFeature/Model/DefaultOverridesMigration.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Testing;
using namespace std::chrono_literals;

namespace {

const QString title = QStringLiteral("XMP-dc:Title");
const QString description = QStringLiteral("XMP-dc:Description");

QString taggedJpeg(const QString &folder, const QString &name, const QString &titleValue)
{
    const QString path = makeImage(folder, name);
    runRealExifTool({QStringLiteral("-overwrite_original"),
                     QStringLiteral("-XMP-dc:Title=") + titleValue,
                     QStringLiteral("-IFD0:Make=Nikon"), path});
    return path;
}

// Looks like a JPEG by name; ExifTool refuses to change it.
QString brokenJpeg(const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("this is not a JPEG");
    return path;
}

QUrl url(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

QStringList fileNames(const LibraryViewModel &library)
{
    QStringList names;
    for (const MediaItem &item : library.items())
        names << item.fileName;
    return names;
}

// Reads answer by file name, after a second for names holding "slow"; every
// change fails with an error that names the Title tag.
const QString scriptedExifTool = QStringLiteral(
    "last=''; for a in \"$@\"; do last=\"$a\"; done\n"
    "case \"$1\" in\n"
    "-json)\n"
    "  case \"$last\" in *slow*) sleep 1;; esac\n"
    "  printf '[{\"SourceFile\":\"x\",\"XMP-dc:Title\":\"%s\",\"IFD0:Make\":\"Cam\"}]' "
    "\"$(basename \"$last\")\";;\n"
    "*) echo \"  Error: Can't write XMP-dc:Title to this file  \" >&2; exit 1;;\n"
    "esac\n");

} // namespace

class LibraryFlowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void importKeepsOrderSelectionAndSkipsDuplicates();
    void foldersPastesAndOtherAddresses();
    void statusLineLastsThreeSecondsFromItsLastShowing();
    void editSaveAndReloadReachTheFile();
    void tagTableMakesKeysReadOnlyForLaterFiles();
    void writeErrorsMarkTheNamedRows();
    void tagsTheFileHasNoPlaceForAreShown();
    void videoDatesShowAndCanBeFixed();
    void removeAllGoesOnPastAFailingFile();
    void cancelStopsAfterTheFileBeingChanged();
    void thumbnailFollowsASave();
    void presetReportsFailuresPerFile();
    void pinsCustomFieldsAndMigrationOutliveTheWindow();
    void windowsKeepEachOthersPinsAndFields();
    void exportWritesEditsAndIgnoresTheSearch();
    void anEditPublishesItsEntryUnlessTheSearchTurns();
    void lateLoadsNeverReplaceTheSelectedFile();
    void twoWindowsSavingOneFileLoseNothing();
    void filesGoneOrReadOnlyAtSave_data();
    void filesGoneOrReadOnlyAtSave();
    void failedReadsKeepTheListAndShowTheEngineText();
    void closingTheWindowMidChangeFinishesTheChange();

private:
    QString work() const { return m_env->workPath(); }
    std::unique_ptr<TestEnvironment> m_env;
};

void LibraryFlowsTest::importKeepsOrderSelectionAndSkipsDuplicates()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString a = taggedJpeg(work(), "a.jpg", "A"), b = makeImage(work(), "b.png");
    lib.importItems({url(a), url(b)});
    QCOMPARE(fileNames(lib), QStringList({"a.jpg", "b.png"}));
    QCOMPARE(lib.selectedItemID(), lib.items().first().id);
    QVERIFY(lib.isBusy()); // the load started at once
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("A"));

    // Thumbnails arrive after the import returned, one signal per item.
    QSignalSpy thumbnails(&lib, &LibraryViewModel::itemThumbnailChanged);
    QTRY_VERIFY(lib.items()[0].thumbnail && lib.items()[1].thumbnail);

    const QString c = makeImage(work(), "c.jpg");
    const QUuid selected = *lib.selectedItemID();
    lib.importItems({url(a), url(c), url(c)});
    QCOMPARE(fileNames(lib), QStringList({"a.jpg", "b.png", "c.jpg"}));
    QCOMPARE(lib.selectedItemID(), selected);
    QVERIFY(!lib.statusMessage());

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

void LibraryFlowsTest::foldersPastesAndOtherAddresses()
{
    LibraryHarness h;
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
}

void LibraryFlowsTest::statusLineLastsThreeSecondsFromItsLastShowing()
{
    LibraryHarness h;
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

void LibraryFlowsTest::editSaveAndReloadReachTheFile()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = taggedJpeg(work(), "photo.jpg", "Old");
    lib.importItems({url(path)});
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(!lib.hasPendingChanges());

    const MetadataEntry fileSize = *visibleEntry(lib, "System:FileSize");
    lib.editValue(fileSize, "1");
    QCOMPARE(statusText(lib), QStringLiteral("This tag is read-only in ExifTool."));

    QSignalSpy pending(&lib, &LibraryViewModel::hasPendingChangesChanged);
    const MetadataEntry before = *visibleEntry(lib, title);
    lib.editValue(before, "New title");
    QCOMPARE(visibleEntry(lib, title)->id, before.id); // the editor keeps its row
    QVERIFY(lib.hasPendingChanges());
    QCOMPARE(pending.count(), 1);
    lib.editValue(*visibleEntry(lib, description), "Pier");

    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(statusText(lib), QStringLiteral("Metadata saved successfully."));
    QVERIFY(!lib.hasPendingChanges());
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("New title"));
    QVERIFY(visibleEntry(lib, title)->id != before.id); // read again from the file
    QCOMPARE(valueOf(path, title), QStringLiteral("New title"));
    QCOMPARE(valueOf(path, description), QStringLiteral("Pier"));

    lib.editValue(before, "stale row"); // from before the reload: nothing happens
    QVERIFY(!lib.hasPendingChanges());
    QVERIFY(!runTask(lib.saveChanges()).value.value_or(true));
    QCOMPARE(statusText(lib), QStringLiteral("No changes to save."));
    lib.editValue(*visibleEntry(lib, title), "Undone");
    lib.resetChanges();
    QCOMPARE(statusText(lib), QStringLiteral("Changes reverted."));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("New title"));
}

void LibraryFlowsTest::tagTableMakesKeysReadOnlyForLaterFiles()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString canon = copyTestData("Canon.jpg", work());
    lib.importItems({url(canon), url(copyTestData("Canon.jpg", work(), "again.jpg"))});
    QVERIFY(waitUntilIdle(lib));

    // What the tag table says of every shown row, asked directly.
    QHash<QString, TagDefinition> table;
    for (const MetadataEntry &entry : lib.filteredEntries()) {
        const auto definition = runTask(h.service.tagDefinition(entry.rawKey)).value;
        QVERIFY(definition.has_value());
        if (*definition)
            table.insert(entry.rawKey, **definition);
    }
    const qsizetype enumerated = std::count_if(
        table.cbegin(), table.cend(), [](const TagDefinition &d) { return !d.options.isEmpty(); });
    QVERIFY(enumerated > 0);

    // The editor asks for every row it shows.
    QSignalSpy optionsLoaded(&lib, &LibraryViewModel::optionsLoaded);
    for (const MetadataEntry &entry : lib.filteredEntries())
        lib.ensureOptionsLoaded(entry);
    QTRY_COMPARE_WITH_TIMEOUT(lib.enumeratedOptions().size(), enumerated, 30000);
    QCOMPARE(optionsLoaded.count(), enumerated);
    QStringList readOnly;
    for (const MetadataEntry &entry : lib.filteredEntries()) {
        const auto found = table.constFind(entry.rawKey);
        if (found == table.constEnd())
            continue;
        QCOMPARE(lib.options(entry).value_or(QList<EnumeratedOption>()), found->options);
        if (!found->writable) {
            QVERIFY2(!entry.isWritable(), qPrintable(entry.rawKey));
            readOnly << entry.rawKey;
        }
    }
    QVERIFY(!readOnly.isEmpty());
    lib.setSelectedItemID(lib.items()[1].id); // the next file knows them at once
    QVERIFY(waitUntilIdle(lib));
    for (const QString &key : std::as_const(readOnly))
        QVERIFY2(!visibleEntry(lib, key)->isWritable(), qPrintable(key));
}

void LibraryFlowsTest::writeErrorsMarkTheNamedRows()
{
    FakeExifToolBundle fake(work() + "/fake", scriptedExifTool);
    LibraryHarness h(fake.bundle());
    LibraryViewModel &lib = *h.library;
    lib.importItems({url(makeImage(work(), "a.jpg"))});
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

    fake.setBody("echo '  Error: disk full ' >&2; exit 1");
    lib.editValue(*visibleEntry(lib, "IFD0:Make"), "Other");
    runTask(lib.saveChanges());
    QCOMPARE(alertText(lib), QStringLiteral("Error: disk full"));
}

void LibraryFlowsTest::tagsTheFileHasNoPlaceForAreShown()
{
    // A QuickTime movie takes an XMP title but has no place for IPTC keywords.
    const QString movie = copyTestData("QuickTime.mov", work(), "clip.mov");

    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    lib.updateMetadataDraft(lib.pinnedTags() + QSet<QString>{"IPTC:Keywords"}, {});
    lib.importItems({url(movie)});
    QVERIFY(waitUntilIdle(lib));
    lib.editValue(*visibleEntry(lib, title), "Harbour");
    lib.editValue(*visibleEntry(lib, "IPTC:Keywords"), "boats");
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(statusText(lib), QStringLiteral("Some metadata tags are read-only."));
    const MetadataEntry keywords = *visibleEntry(lib, "IPTC:Keywords");
    QCOMPARE(keywords.value, QStringLiteral("boats"));
    QCOMPARE(keywords.warning,
             std::optional(QStringLiteral("This file type has no place for this tag.")));
    QVERIFY(!keywords.isWritable());
    QCOMPARE(valueOf(movie, title), QStringLiteral("Harbour"));

    lib.applyPreset(
        {QUuid::createUuid(), "Tagged",
         PresetAction::addOrModifyMetadata({{"IPTC:Keywords", "k"}, {title, "Preset"}})});
    QVERIFY(waitUntilIdle(lib));
    QVERIFY2(alertText(lib).startsWith("Applied preset 'Tagged' to 1 item.") &&
                 alertText(lib).endsWith("clip.mov: This MOV file has no place for "
                                         "IPTC:Keywords."),
             qPrintable(alertText(lib)));
    QCOMPARE(valueOf(movie, title), QStringLiteral("Preset"));
}

void LibraryFlowsTest::videoDatesShowAndCanBeFixed()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString movie = copyTestData("QuickTime.mov", work());
    lib.importItems({url(movie)});
    QVERIFY(waitUntilIdle(lib));
    const QHash<QString, QString> shown{{"QuickTime:CreateDate", "2005:08:11 14:03:54"},
                                        {"QuickTime:ModifyDate", "2010:07:30 15:43:59"},
                                        {"QuickTime:Duration", "4.97 s"},
                                        {"Track1:TrackCreateDate", "2005:08:11 14:03:54"},
                                        {"Track2:MediaModifyDate", "2005:08:11 14:03:54"}};
    for (auto it = shown.cbegin(); it != shown.cend(); ++it) {
        const std::optional<MetadataEntry> entry = visibleEntry(lib, it.key());
        QVERIFY2(entry, qPrintable(it.key()));
        QCOMPARE(entry->value, it.value());
    }
    QVERIFY(!visibleEntry(lib, "ExifTool:ExifToolVersion"));

    // The tag table decides, for the movie's own group and for its tracks.
    for (const char *key :
         {"QuickTime:CreateDate", "QuickTime:Duration", "Track1:TrackCreateDate", "Track1:TrackID"})
        lib.ensureOptionsLoaded(*visibleEntry(lib, key));
    QTRY_VERIFY_WITH_TIMEOUT(!visibleEntry(lib, "QuickTime:Duration")->isWritable(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!visibleEntry(lib, "Track1:TrackID")->isWritable(), 30000);
    QVERIFY(visibleEntry(lib, "QuickTime:CreateDate")->isWritable());
    QVERIFY(visibleEntry(lib, "Track1:TrackCreateDate")->isWritable());

    lib.editValue(*visibleEntry(lib, "QuickTime:CreateDate"), "2020:01:02 03:04:05");
    lib.editValue(*visibleEntry(lib, "Track1:TrackCreateDate"), "2021:01:01 00:00:00");
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QCOMPARE(statusText(lib), QStringLiteral("Metadata saved successfully."));
    QCOMPARE(valueOf(movie, "QuickTime:CreateDate"), QStringLiteral("2020:01:02 03:04:05"));
    QCOMPARE(valueOf(movie, "Track1:TrackCreateDate"), QStringLiteral("2021:01:01 00:00:00"));
    QCOMPARE(valueOf(movie, "Track2:TrackCreateDate"), QStringLiteral("2005:08:11 14:03:54"));
}

void LibraryFlowsTest::removeAllGoesOnPastAFailingFile()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    lib.presentRemoveAllMetadataConfirmation();
    QCOMPARE(statusText(lib), QStringLiteral("No files loaded to remove metadata from."));
    QVERIFY(!lib.removeAllMetadataRequest());

    const QString a = taggedJpeg(work(), "a.jpg", "A"), bad = brokenJpeg(work(), "bad.jpg"),
                  c = taggedJpeg(work(), "c.jpg", "C");
    lib.importItems({url(a), url(bad), url(c)});
    QVERIFY(waitUntilIdle(lib));
    lib.presentRemoveAllMetadataConfirmation();
    lib.cancelRemoveAllMetadata();
    QVERIFY(!lib.removeAllMetadataRequest());
    QCOMPARE(valueOf(a, title), QStringLiteral("A"));

    QStringList progress;
    connect(&lib, &LibraryViewModel::batchProgressChanged, this, [&lib, &progress] {
        if (const auto now = lib.batchProgress())
            progress << QStringLiteral("%1/%2 %3 (%4 done)")
                            .arg(now->current)
                            .arg(now->total)
                            .arg(now->currentFileName)
                            .arg(now->finished);
    });
    lib.presentRemoveAllMetadataConfirmation();
    QVERIFY(lib.removeAllMetadataRequest());
    h.timer->advance(5s);
    lib.confirmRemoveAllMetadata();
    QVERIFY(!lib.removeAllMetadataRequest());
    QVERIFY(lib.batchProgress());
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(!lib.batchProgress());
    QCOMPARE(progress, QStringList({"0/3  (0 done)", "1/3 a.jpg (0 done)", "1/3 a.jpg (1 done)",
                                    "2/3 bad.jpg (1 done)", "2/3 bad.jpg (2 done)",
                                    "3/3 c.jpg (2 done)", "3/3 c.jpg (3 done)"}));
    ExifToolService direct(realBundle());
    QCOMPARE(lib.activeError()->title, QStringLiteral("Metadata Not Removed from Every File"));
    QCOMPARE(alertText(lib),
             "Removed all metadata from 2 items. The rest were left unchanged:\n\n"
             "bad.jpg: " +
                 directFailure(direct.removeAllMetadata(url(bad)).then([](StripReport) {})));
    QVERIFY(!lib.statusMessage());
    QCOMPARE(valueOf(a, title), QString());
    QCOMPARE(valueOf(c, title), QString());               // the file after the failing one too
    QCOMPARE(visibleEntry(lib, title)->value, QString()); // the selected file was read again

    lib.setSelectedItemID(lib.items()[2].id);
    QVERIFY(waitUntilIdle(lib));
    lib.presentRemoveMetadataConfirmation();
    QCOMPARE(lib.removeMetadataRequest()->fileName, QStringLiteral("c.jpg"));
    lib.confirmRemoveMetadata();
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(statusText(lib), QStringLiteral("Removed all metadata from c.jpg."));
}

void LibraryFlowsTest::cancelStopsAfterTheFileBeingChanged()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    QStringList paths;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        paths << taggedJpeg(work(), name, name);
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
             QStringLiteral("Removed all metadata from 2 of 4 items. Stopped before c.jpg; it and "
                            "the 1 file after it were left as they were."));
    QVERIFY(!lib.activeError());
    QCOMPARE(valueOf(paths[0], title), QString());
    QCOMPARE(valueOf(paths[1], title), QString());
    QCOMPARE(valueOf(paths[2], title), QStringLiteral("c.jpg"));
    QCOMPARE(valueOf(paths[3], title), QStringLiteral("d.jpg"));
}

void LibraryFlowsTest::thumbnailFollowsASave()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    // Red on the left, blue on the right; turned a quarter clockwise, red
    // comes to the top.
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, 60, 60, Qt::red);
    const QString path = work() + "/turned.jpg";
    QVERIFY(image.save(path, "JPEG", 95));
    runRealExifTool({"-overwrite_original", "-IFD0:Orientation#=1", path});
    const auto reddish = [](const QImage &thumb, QPoint at) {
        const QColor c = thumb.pixelColor(at);
        return c.red() > 180 && c.blue() < 80;
    };
    lib.importItems({url(path)});
    QVERIFY(waitUntilIdle(lib));
    QTRY_VERIFY(lib.items()[0].thumbnail);
    QVERIFY(reddish(*lib.items()[0].thumbnail, {10, 60}));

    QSignalSpy thumbnails(&lib, &LibraryViewModel::itemThumbnailChanged);
    lib.editValue(*visibleEntry(lib, "IFD0:Orientation"), "Rotate 90 CW");
    QVERIFY(runTask(lib.saveChanges()).value.value_or(false));
    QTRY_COMPARE(thumbnails.count(), 1);
    const QImage turned = *lib.items()[0].thumbnail;
    QVERIFY(reddish(turned, {60, 10}) && !reddish(turned, {60, 110}));
}

void LibraryFlowsTest::presetReportsFailuresPerFile()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const Preset credit{QUuid::createUuid(), "Credit",
                        PresetAction::addOrModifyMetadata({{title, "Mine"}}, {"IFD0:Make"})};
    lib.applyPreset(credit);
    QCOMPARE(statusText(lib), QStringLiteral("No files loaded to apply preset to."));

    const QString a = taggedJpeg(work(), "a.jpg", "A"), bad = brokenJpeg(work(), "bad.jpg"),
                  c = taggedJpeg(work(), "c.jpg", "C");
    lib.importItems({url(a), url(bad), url(c)});
    QVERIFY(waitUntilIdle(lib));
    lib.applyPreset({QUuid::createUuid(), "Nothing", PresetAction::addOrModifyMetadata()});
    QCOMPARE(statusText(lib), QStringLiteral("Preset has no operations to apply."));

    lib.applyPreset(credit);
    QVERIFY(waitUntilIdle(lib));
    ExifToolService direct(realBundle());
    QCOMPARE(alertText(lib),
             "Applied to 2 items. The rest were left unchanged:\n\nbad.jpg: " +
                 directFailure(
                     direct.removeMetadata({"IFD0:Make"}, url(bad)).then([](ChangeReport) {})));
    for (const QString &path : {a, c}) {
        QCOMPARE(valueOf(path, title), QStringLiteral("Mine"));
        QCOMPARE(valueOf(path, "IFD0:Make"), QString());
    }
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("Mine")); // the selected file reloaded

    lib.removeItem(lib.items()[1]);
    lib.applyPreset(
        {QUuid::createUuid(), "Strip GPS", PresetAction::addOrModifyMetadata({}, {title})});
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(statusText(lib), QStringLiteral("Applied preset 'Strip GPS' to 2 items."));
}

void LibraryFlowsTest::pinsCustomFieldsAndMigrationOutliveTheWindow()
{
    Preferences::standard().setStringArray(FavoriteTagsStore::favoritesKey, {"IFD0:Software"});
    Preferences::standard().setDictionary(DefaultOverridesMigration::overridesKey,
                                          {{"XMP-dc:Creator", "Ann"}, {"XMP-dc:Rights", "CC"}});
    const CustomMetadataTag caption{QUuid::createUuid(), "XMP-dc:Caption", "Caption"};
    {
        LibraryHarness h;
        LibraryViewModel &lib = *h.library;
        QCOMPARE(lib.pinnedTags().size(), 16);
        QCOMPARE(
            statusText(lib),
            QStringLiteral("Default overrides migrated to 'Migrated Default Overrides' preset."));
        const QStringList keys = lib.availableTagKeys();
        QVERIFY(keys.contains("IFD0:Software") && keys.contains("XMP-xmp:Rating"));

        lib.importItems({url(copyTestData("Canon.jpg", work()))});
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
    LibraryHarness again;
    QCOMPARE(again.library->customTags(), QList<CustomMetadataTag>({caption}));
    QVERIFY(again.library->pinnedTags().contains("ExifIFD:ISO")); // defaults come back
    QVERIFY(again.library->pinnedTags().contains(caption.rawKey));
    QVERIFY(!again.library->statusMessage()); // migrated once only
    const QList<Preset> presets = PresetsStore().presets();
    QCOMPARE(presets.size(), 1);
    QCOMPARE(presets.first().action.overrides.size(), 2);
}

void LibraryFlowsTest::windowsKeepEachOthersPinsAndFields()
{
    LibraryHarness first;
    LibraryHarness second;
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

void LibraryFlowsTest::exportWritesEditsAndIgnoresTheSearch()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Json);
    QCOMPARE(statusText(lib), QStringLiteral("Select an item to export metadata."));

    lib.importItems({url(taggedJpeg(work(), "photo.jpeg", "Old"))});
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
    lib.exportSelectedMetadata(MetadataExportFormatter::Format::Toml);
    h.library.reset(); // the window closes with the panel open
    h.savePanel->answer(url(work() + "/late.toml"));
    QVERIFY(!QFile::exists(work() + "/late.toml"));
}

void LibraryFlowsTest::anEditPublishesItsEntryUnlessTheSearchTurns()
{
    FakeExifToolBundle fake(work() + "/fake", scriptedExifTool);
    LibraryHarness h(fake.bundle());
    LibraryViewModel &lib = *h.library;
    QAbstractItemModelTester tester(lib.entryTree(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    lib.importItems({url(makeImage(work(), "a.jpg"))});
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

void LibraryFlowsTest::lateLoadsNeverReplaceTheSelectedFile()
{
    FakeExifToolBundle fake(work() + "/fake", scriptedExifTool);
    LibraryHarness h(fake.bundle());
    LibraryViewModel &lib = *h.library;
    QSignalSpy loaded(&lib, &LibraryViewModel::metadataLoaded);
    lib.importItems({url(makeImage(work(), "slow.jpg")), url(makeImage(work(), "fast.jpg"))});
    lib.setSelectedItemID(lib.items()[1].id);
    QVERIFY(waitUntilIdle(lib)); // the slow read, dropped, included
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("fast.jpg"));
    QCOMPARE(loaded.count(), 1);

    // Away and back: the first read of the slow file belongs to a selection
    // that has moved on since, although the same file is selected again.
    lib.setSelectedItemID(lib.items()[0].id);
    lib.setSelectedItemID(lib.items()[1].id);
    lib.setSelectedItemID(lib.items()[0].id);
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(loaded.count(), 2);
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("slow.jpg"));
    lib.setSelectedItemID(lib.items()[1].id);
    QVERIFY(waitUntilIdle(lib));

    // An edit of the shown file, then a click on the slow one: while it
    // loads nothing of the first file is shown or saved into it.
    lib.editValue(*visibleEntry(lib, title), "typed");
    lib.setSelectedItemID(lib.items()[0].id);
    QVERIFY(lib.filteredEntries().isEmpty());
    QVERIFY(!runTask(lib.saveChanges()).value.value_or(true));
    QCOMPARE(statusText(lib), QStringLiteral("No changes to save."));
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("slow.jpg"));
    QVERIFY(!lib.activeError());
}

void LibraryFlowsTest::twoWindowsSavingOneFileLoseNothing()
{
    const QString path = taggedJpeg(work(), "shared.jpg", "Old");
    LibraryHarness first, second;
    for (LibraryHarness *h : {&first, &second}) {
        h->library->importItems({url(path)});
        QVERIFY(waitUntilIdle(*h->library));
    }
    first.library->editValue(*visibleEntry(*first.library, title), "From one");
    second.library->editValue(*visibleEntry(*second.library, description), "From two");
    auto one = first.library->saveChanges();
    auto two = second.library->saveChanges();
    QVERIFY(runTask(std::move(one)).value.value_or(false));
    QVERIFY(runTask(std::move(two)).value.value_or(false));
    QVERIFY(waitUntilIdle(*first.library) && waitUntilIdle(*second.library));
    QCOMPARE(valueOf(path, title), QStringLiteral("From one"));
    QCOMPARE(valueOf(path, description), QStringLiteral("From two"));
}

void LibraryFlowsTest::filesGoneOrReadOnlyAtSave_data()
{
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QString>("alert");
    QTest::newRow("deleted") << true
                             << "Metaloom can't find “photo.jpg”. It may have been moved or "
                                "deleted.";
    QTest::newRow("read-only")
        << false << "Metaloom can't modify “photo.jpg”. Check its permissions and try again.";
}

void LibraryFlowsTest::filesGoneOrReadOnlyAtSave()
{
    QFETCH(bool, deleted);
    QFETCH(QString, alert);
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = taggedJpeg(work(), "photo.jpg", "Old");
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
    if (!deleted)
        QCOMPARE(valueOf(path, title), QStringLiteral("Old"));
}

void LibraryFlowsTest::failedReadsKeepTheListAndShowTheEngineText()
{
    FakeExifToolBundle missing(work() + "/missing");
    missing.removeScript();
    LibraryHarness broken(missing.bundle());
    broken.library->importItems({url(makeImage(work(), "a.jpg"))});
    QVERIFY(waitUntilIdle(*broken.library));
    QCOMPARE(alertText(*broken.library),
             QStringLiteral("The bundled exiftool binary could not be found."));
    broken.library->presentRemoveAllMetadataConfirmation();
    broken.library->confirmRemoveAllMetadata();
    QVERIFY(waitUntilIdle(*broken.library));

    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString path = taggedJpeg(work(), "photo.jpg", "Kept");
    lib.importItems({url(path)});
    QVERIFY(waitUntilIdle(lib));
    QFile::remove(path);
    runTask(lib.reloadMetadata());
    ExifToolService direct(realBundle());
    QCOMPARE(alertText(lib), runTask(direct.readMetadata(url(path))).errorMessage());
    QVERIFY(!alertText(lib).isEmpty());
    QCOMPARE(visibleEntry(lib, title)->value, QStringLiteral("Kept"));
}

void LibraryFlowsTest::closingTheWindowMidChangeFinishesTheChange()
{
    const QString a = taggedJpeg(work(), "a.jpg", "A"), b = taggedJpeg(work(), "b.jpg", "B");
    {
        LibraryHarness h;
        h.library->importItems({url(a)});
        QVERIFY(waitUntilIdle(*h.library));
        h.library->editValue(*visibleEntry(*h.library, title), "Saved as the window closed");
        auto save = h.library->saveChanges();
        h.library.reset();
        QVERIFY(runTask(std::move(save)).succeeded());
    }
    QCOMPARE(valueOf(a, title), QStringLiteral("Saved as the window closed"));
    {
        LibraryHarness h;
        h.library->importItems({url(a), url(b)});
        h.library->applyPreset(
            {QUuid::createUuid(), "P", PresetAction::addOrModifyMetadata({{title, "P"}})});
        h.library.reset();
        // The change in flight ends; nothing may touch the library.
        QTRY_COMPARE_WITH_TIMEOUT(valueOf(a, title), QStringLiteral("P"), 30000);
    }
    QCOMPARE(valueOf(b, title), QStringLiteral("B")); // the batch stopped with its window
}

QTEST_MAIN(LibraryFlowsTest)
#include "tst_LibraryFlows.moc"
