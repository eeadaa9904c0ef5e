#include "MetaloomFeature/Model/MediaItem.h"
#include "MetaloomFeature/Model/MetadataEntry.h"
#include "tests/support/TestEnvironment.h"

#include <QImage>
#include <QPainter>
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
    void fileNameAndType();
    void thumbnailFillsAndCentresTheSquare();
    void thumbnailOfLandscapeJpegCropsTheSides();
    void thumbnailHonoursExifOrientation();
    void nonImagesGetNoThumbnail();

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
    QVERIFY(MetadataEntry::hiddenGroups().contains(QStringLiteral("QuickTime")));
    QVERIFY(!MetadataEntry::hiddenGroups().contains(QStringLiteral("quicktime")));
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
}

void MediaItemsAndEntriesTest::fileNameAndType()
{
    const MediaItem jpeg(QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/photo.jpeg")),
                         120);
    QCOMPARE(jpeg.fileName, QStringLiteral("photo.jpeg"));
    QCOMPARE(jpeg.fileType, QStringLiteral("JPEG"));
    QVERIFY(!jpeg.thumbnail); // the file does not exist

    const MediaItem readme(QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/README")), 120);
    QCOMPARE(readme.fileType, QString());
    const MediaItem heic(QUrl::fromLocalFile(QStringLiteral("/x/Clip Ünï \"q\".heic")), 120);
    QCOMPARE(heic.fileName, QStringLiteral("Clip Ünï \"q\".heic"));
    QCOMPARE(heic.fileType, QStringLiteral("HEIC"));

    const MediaItem other(jpeg.url, 120);
    QVERIFY(other.id != jpeg.id);
    QVERIFY(!(other == jpeg));
}

void MediaItemsAndEntriesTest::thumbnailFillsAndCentresTheSquare()
{
    const QRectF rect = Thumbnails::fillRect(QSizeF(400, 200), 120);
    QCOMPARE(rect, QRectF(-60, 0, 240, 120));
    const QRectF tall = Thumbnails::fillRect(QSizeF(100, 300), 120);
    QCOMPARE(tall, QRectF(0, -120, 120, 360));
}

// A 400x200 image: left quarter red, middle half green, right quarter blue.
// Filling a square crops a quarter from each side, so only green may remain.
void MediaItemsAndEntriesTest::thumbnailOfLandscapeJpegCropsTheSides()
{
    QImage image(400, 200, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.fillRect(0, 0, 100, 200, Qt::red);
        p.fillRect(100, 0, 200, 200, Qt::green);
        p.fillRect(300, 0, 100, 200, Qt::blue);
    }
    for (const char *format : {"png", "jpg", "tif"}) {
        const QString path =
            m_env->workPath() + QStringLiteral("/wide.") + QString::fromLatin1(format);
        QVERIFY2(image.save(path, nullptr, 95), format);
        const MediaItem item(QUrl::fromLocalFile(path), 120);
        QVERIFY2(item.thumbnail.has_value(), format);
        QCOMPARE(item.thumbnail->size(), QSize(120, 120));
        for (const QPoint point : {QPoint(2, 60), QPoint(60, 60), QPoint(117, 60)}) {
            const QColor c = item.thumbnail->pixelColor(point);
            QVERIFY2(c.green() > 200 && c.red() < 60 && c.blue() < 60,
                     qPrintable(QStringLiteral("%1 at %2,%3: %4")
                                    .arg(QString::fromLatin1(format))
                                    .arg(point.x())
                                    .arg(point.y())
                                    .arg(c.name())));
        }
    }
    const MediaItem hiDpi(QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/wide.png")), 120,
                          2.0);
    QCOMPARE(hiDpi.thumbnail->size(), QSize(240, 240));
    QCOMPARE(hiDpi.thumbnail->deviceIndependentSize(), QSizeF(120, 120));
}

void MediaItemsAndEntriesTest::thumbnailHonoursExifOrientation()
{
    // Canon.jpg is a real camera file; its thumbnail must come out square.
    const QString canon = Testing::copyTestData(QStringLiteral("Canon.jpg"), m_env->workPath());
    const MediaItem item(QUrl::fromLocalFile(canon), 120);
    QVERIFY(item.thumbnail.has_value());
    QCOMPARE(item.thumbnail->size(), QSize(120, 120));
}

void MediaItemsAndEntriesTest::nonImagesGetNoThumbnail()
{
    const QString text = m_env->workPath() + QStringLiteral("/notes.jpg");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a JPEG");
    file.close();
    QVERIFY(!MediaItem(QUrl::fromLocalFile(text), 120).thumbnail);
    const QString movie = Testing::copyTestData(QStringLiteral("QuickTime.mov"), m_env->workPath());
    QVERIFY(!MediaItem(QUrl::fromLocalFile(movie), 120).thumbnail);
    QVERIFY(!MediaItem(QUrl::fromLocalFile(m_env->workPath()), 120).thumbnail); // a folder
}

QTEST_MAIN(MediaItemsAndEntriesTest)
#include "tst_MediaItemsAndEntries.moc"
