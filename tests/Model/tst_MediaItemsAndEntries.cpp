#include "MetaloomFeature/Model/EntryOrder.h"
#include "MetaloomFeature/Model/MediaItem.h"
#include "MetaloomFeature/Model/MetadataEntry.h"
#include "tests/support/TestEnvironment.h"

#include <QtTest>

using namespace Metaloom;

class MediaItemsAndEntriesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void rawKeySplitting_data();
    void rawKeySplitting();
    void writabilityFollowsTheTables();
    void modificationAndIdentity();
    void listTagsChangeByItems();
    void sortOrder();
    void fileNameAndType();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void MediaItemsAndEntriesTest::rawKeySplitting_data()
{
    QTest::addColumn<QString>("rawKey");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("displayName");
    QTest::newRow("group and tag") << "XMP-dc:Creator"
                                   << "XMP-dc"
                                   << "Creator"
                                   << "Creator";
    QTest::newRow("no colon") << "Foo"
                              << "General"
                              << "Foo"
                              << "Foo";
    QTest::newRow("further colons stay in tag") << "A:B:C"
                                                << "A"
                                                << "B:C"
                                                << "B:C";
    QTest::newRow("leading colon") << ":X"
                                   << ""
                                   << "X"
                                   << "X";
    QTest::newRow("trailing colon") << "X:"
                                    << "X"
                                    << ""
                                    << "";
    QTest::newRow("underscores become spaces") << "Composite:Lens_ID"
                                               << "Composite"
                                               << "Lens_ID"
                                               << "Lens ID";
}

void MediaItemsAndEntriesTest::rawKeySplitting()
{
    QFETCH(QString, rawKey);
    QFETCH(QString, group);
    QFETCH(QString, tag);
    QFETCH(QString, displayName);
    const MetadataEntry entry(rawKey, QStringLiteral("v"));
    QCOMPARE(entry.rawKey, rawKey);
    QCOMPARE(entry.group, group);
    QCOMPARE(entry.tag, tag);
    QCOMPARE(entry.displayName, displayName);
    QCOMPARE(entry.value, QStringLiteral("v"));
    QCOMPARE(entry.originalValue, QStringLiteral("v"));
    QVERIFY(!entry.isFavorite && !entry.isDefaultFavorite && !entry.forceReadOnly);
    QVERIFY(!entry.warning.has_value());

    const MetadataEntry overridden(rawKey, QString(), QStringLiteral("Lens"));
    QCOMPARE(overridden.displayName, QStringLiteral("Lens"));
    const MetadataEntry emptyOverride(rawKey, QString(), QString());
    QCOMPARE(emptyOverride.displayName, QString());
}

void MediaItemsAndEntriesTest::writabilityFollowsTheTables()
{
    MetadataEntry file(QStringLiteral("File:FileName"), QStringLiteral("a.jpg"));
    QVERIFY(!file.isWritable());
    MetadataEntry composite(QStringLiteral("Composite:ImageSize"), QStringLiteral("1x1"));
    QVERIFY(!composite.isWritable());
    MetadataEntry system(QStringLiteral("System:FileSize"), QStringLiteral("1 kB"));
    QVERIFY(!system.isWritable());
    // The one tag of those groups a change may set, once the tag table says so.
    MetadataEntry modifyDate(QStringLiteral("System:FileModifyDate"), QStringLiteral("2024"));
    QVERIFY(!modifyDate.isWritable());
    modifyDate.forceReadOnly = false;
    QVERIFY(modifyDate.isWritable());

    MetadataEntry lightSource(QStringLiteral("ExifIFD:LightSource"), QStringLiteral("Daylight"));
    lightSource.forceReadOnly = true;
    QVERIFY(lightSource.isWritable());

    MetadataEntry make(QStringLiteral("IFD0:Make"), QStringLiteral("Canon"));
    QVERIFY(make.isWritable());
    make.forceReadOnly = true;
    QVERIFY(!make.isWritable());

    // Group names are matched exactly: a look-alike group stays writable.
    MetadataEntry lowerFile(QStringLiteral("file:Comment"), QStringLiteral("x"));
    QVERIFY(lowerFile.isWritable());
    QCOMPARE(MetadataEntry::hiddenGroups(), QSet<QString>({"Meta", "ExifTool"}));
}

void MediaItemsAndEntriesTest::modificationAndIdentity()
{
    MetadataEntry entry(QStringLiteral("IFD0:Artist"), QStringLiteral("Ann"));
    QVERIFY(!entry.isModified());
    MetadataEntry copy = entry;
    QCOMPARE(copy, entry);
    copy.value = QStringLiteral("Bob");
    QVERIFY(copy.isModified());
    QVERIFY(copy != entry);
    copy.value = QStringLiteral("Ann");
    QVERIFY(!copy.isModified());
    QCOMPARE(copy, entry);

    const MetadataEntry again(QStringLiteral("IFD0:Artist"), QStringLiteral("Ann"));
    QVERIFY(again != entry); // every entry has its own identity
    QCOMPARE(again.id.version(), QUuid::Random);
    QCOMPARE(again.id.variant(), QUuid::DCE);
    QVERIFY(MediaItem(QUrl("file:///a.jpg")).id != MediaItem(QUrl("file:///a.jpg")).id);
}

void MediaItemsAndEntriesTest::listTagsChangeByItems()
{
    // An item may itself hold ", ": only the items tell a list apart.
    MetadataEntry keywords = MetadataEntry::listEntry(
        QStringLiteral("IPTC:Keywords"), {QStringLiteral("a, b"), QStringLiteral("c")});
    QCOMPARE(keywords.value, QStringLiteral("a, b, c"));
    keywords.setItems({QStringLiteral("a"), QStringLiteral("b, c")});
    QCOMPARE(keywords.value, QStringLiteral("a, b, c"));
    QVERIFY(keywords.isModified());
    keywords.setItems({QStringLiteral("a, b"), QStringLiteral("c")});
    QVERIFY(!keywords.isModified());

    // A one-item list read as a plain value becomes a list, keeping an edit.
    MetadataEntry subject(QStringLiteral("XMP-dc:Subject"), QStringLiteral("sea"));
    subject.value = QStringLiteral("sky");
    subject.markAsList();
    QCOMPARE(subject.originalItems, QStringList{QStringLiteral("sea")});
    QCOMPARE(subject.items, QStringList{QStringLiteral("sky")});
    QVERIFY(subject.isModified());
    MetadataEntry empty(QStringLiteral("XMP-dc:Subject"), QString());
    empty.markAsList();
    QVERIFY(empty.items.isEmpty() && !empty.isModified());
}

void MediaItemsAndEntriesTest::sortOrder()
{
    QList<MetadataEntry> entries;
    for (const char *key : {"XMP-dc:Title", "IFD0:make", "ExifIFD:Flash", "IFD0:Model",
                            "IFD0:Artist", "XMP-dc:alpha", "XMP-dc:Index"})
        entries.append(MetadataEntry(QString::fromLatin1(key), QString()));
    EntryOrder::sortByGroupAndTag(entries);
    QStringList keys;
    for (const MetadataEntry &entry : entries)
        keys << entry.rawKey;
    QCOMPARE(keys, (QStringList{"ExifIFD:Flash", "IFD0:Artist", "IFD0:make", "IFD0:Model",
                                "XMP-dc:alpha", "XMP-dc:Index", "XMP-dc:Title"}));

    // Groups that differ only in letter case stay together and each keeps
    // its own tags in order.
    QList<MetadataEntry> mixed;
    for (const char *key : {"xmp-dc:b", "XMP-dc:z", "xmp-dc:a", "XMP-dc:c", "ABC:x"})
        mixed.append(MetadataEntry(QString::fromLatin1(key), QString()));
    EntryOrder::sortByGroupAndTag(mixed);
    QCOMPARE(mixed.first().rawKey, QStringLiteral("ABC:x"));
    QStringList lower, upper;
    for (const MetadataEntry &entry : mixed.mid(1))
        (entry.group == QStringLiteral("xmp-dc") ? lower : upper) << entry.tag;
    QCOMPARE(lower, (QStringList{"a", "b"}));
    QCOMPARE(upper, (QStringList{"c", "z"}));
}

void MediaItemsAndEntriesTest::fileNameAndType()
{
    const MediaItem jpeg(QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/photo.jpeg")));
    QCOMPARE(jpeg.fileName, QStringLiteral("photo.jpeg"));
    QCOMPARE(jpeg.fileType, QStringLiteral("JPEG"));
    QVERIFY(!jpeg.thumbnail); // rendered later, by the library

    const MediaItem readme(QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/README")));
    QCOMPARE(readme.fileType, QString());
    const MediaItem heic(QUrl::fromLocalFile(QStringLiteral("/x/Clip Ünï \"q\".heic")));
    QCOMPARE(heic.fileName, QStringLiteral("Clip Ünï \"q\".heic"));
    QCOMPARE(heic.fileType, QStringLiteral("HEIC"));

    const MediaItem other(jpeg.url);
    QVERIFY(other.id != jpeg.id);
    QVERIFY(!(other == jpeg));
}

QTEST_MAIN(MediaItemsAndEntriesTest)
#include "tst_MediaItemsAndEntries.moc"
