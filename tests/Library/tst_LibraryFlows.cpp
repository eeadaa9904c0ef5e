// The library driven as a window drives it, on real files through the real
// bundled ExifTool, for what only ExifTool can tell: saves read back, the
// tag table, batches of strips and presets, two windows on one file. What
// reached a file is checked with a separate read. What the library makes of
// each answer is checked over a scripted engine (tst_LibraryStates).

#include "LibraryHarness.h"

#include "tests/Engine/RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;
using namespace std::chrono_literals;

namespace {

QString taggedJpeg(const QString &folder, const QString &name, const QString &titleValue)
{
    const QString path = makeImage(folder, name);
    runRealExifTool({QStringLiteral("-overwrite_original"),
                     QStringLiteral("-XMP-dc:Title=") + titleValue,
                     QStringLiteral("-IFD0:Make=Nikon"), path});
    return path;
}

} // namespace

class LibraryFlowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void editSaveAndReloadReachTheFile();
    void tagTableMakesKeysReadOnlyForLaterFiles();
    void tagsTheFileHasNoPlaceForAreShown();
    void videoDatesShowAndCanBeFixed();
    void removeAllGoesOnPastAFailingFile();
    void thumbnailFollowsASave();
    void presetReportsFailuresPerFile();
    void twoWindowsSavingOneFileLoseNothing();

private:
    QString work() const { return m_env->workPath(); }
    std::unique_ptr<TestEnvironment> m_env;
};

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
        const auto definition = runTask(h.service->tagDefinition(entry.rawKey)).value;
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
    lib.setBatchLanes(1); // one file after the other, for an exact progress
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
    QCOMPARE(lib.activeError()->title, QStringLiteral("Not Everything Could Be Removed"));
    const QString nothingLeft = QStringLiteral(": no location, no people, no device serial, no "
                                               "dates, no hidden pictures, no edit history left.");
    QCOMPARE(alertText(lib),
             "a.jpg: no device serial left.\nc.jpg: no device serial left.\nbad.jpg: " +
                 directFailure(direct.stripForSharing(url(bad), StripProfile::everything())
                                   .then([](PrivacyStripReport) {})));
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
    // Stripped already, it held nothing of any class: each is named.
    QCOMPARE(statusText(lib), "c.jpg" + nothingLeft);
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
    QCOMPARE(turned.size(), QSize(120, 240)); // the whole picture, standing now
    QVERIFY(reddish(turned, {60, 10}) && !reddish(turned, {60, 230}));
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

QTEST_MAIN(LibraryFlowsTest)
#include "tst_LibraryFlows.moc"
