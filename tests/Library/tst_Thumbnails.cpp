// Thumbnails: the whole picture at the edge, decoding at reduced size, and the
// embedded preview of files Qt cannot decode, rendered away from the caller.

#include "MetaloomFeature/Engine/EmbeddedPreview.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/MetadataEngine.h"
#include "MetaloomFeature/Library/ThumbnailLoader.h"
#include "MetaloomFeature/Library/ThumbnailRendering.h"
#include "MetaloomFeature/Library/Thumbnails/ThumbnailDemand.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace Metaloom;

namespace {

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QByteArray jpegBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

// A JPEG whose own picture no decoder accepts (its frame claims a height of
// zero) but which carries a blue EXIF thumbnail, as a RAW file carries a preview.
QString undecodableJpegWithThumbnail(const QString &folder)
{
    QImage main(400, 300, QImage::Format_RGB32);
    main.fill(Qt::red);
    const QString path = folder + QStringLiteral("/camera.jpg");
    main.save(path, "JPEG");
    QImage thumb(160, 120, QImage::Format_RGB32);
    thumb.fill(Qt::blue);
    const QString thumbPath = folder + QStringLiteral("/thumb.jpg");
    thumb.save(thumbPath, "JPEG");
    Testing::runRealExifTool({QStringLiteral("-overwrite_original"),
                              QStringLiteral("-ThumbnailImage<=") + thumbPath, path});

    QFile file(path);
    file.open(QIODevice::ReadWrite);
    QByteArray bytes = file.readAll();
    // Entropy-coded data never holds FF C0, so the last one is the picture's frame.
    const qsizetype frame = bytes.lastIndexOf(QByteArray("\xFF\xC0", 2));
    bytes[frame + 5] = 0;
    bytes[frame + 6] = 0;
    file.seek(0);
    file.write(bytes);
    return path;
}

} // namespace

class ThumbnailsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void thumbnailSizeKeepsTheWholePicture_data();
    void thumbnailSizeKeepsTheWholePicture();
    void landscapeFilesKeepTheirSides();
    void previewBytesFollowTheOrientation_data();
    void previewBytesFollowTheOrientation();
    void loaderUsesTheEmbeddedPreviewWithoutWriting();
    void loaderDropsForgottenItemsAndNonImages();
    void embeddedPreviewsKeepComingOneAfterAnother();
    void onlyRowsInViewAndTheSelectionAreMade();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void ThumbnailsTest::thumbnailSizeKeepsTheWholePicture_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("thumbnail");
    QTest::newRow("landscape") << QSize(400, 200) << QSize(240, 120);
    QTest::newRow("portrait") << QSize(100, 300) << QSize(120, 360);
    QTest::newRow("square, enlarged") << QSize(4, 4) << QSize(120, 120);
    QTest::newRow("panorama stops at four edges") << QSize(10000, 1000) << QSize(480, 120);
}

void ThumbnailsTest::thumbnailSizeKeepsTheWholePicture()
{
    QFETCH(QSize, image);
    QFETCH(QSize, thumbnail);
    QCOMPARE(ThumbnailRendering::thumbnailSize(image, 120), thumbnail);
}

// Left quarter red, middle half green, right quarter blue: the thumbnail
// keeps all three (the sidebar crops, the header shows everything).
void ThumbnailsTest::landscapeFilesKeepTheirSides()
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
        const std::optional<QImage> thumb = ThumbnailRendering::fromFile(path, 120);
        QVERIFY2(thumb.has_value(), format);
        QCOMPARE(thumb->size(), QSize(240, 120));
        const QColor left = thumb->pixelColor(10, 60);
        const QColor middle = thumb->pixelColor(120, 60);
        const QColor right = thumb->pixelColor(230, 60);
        QVERIFY2(left.red() > 200 && left.green() < 60, format);
        QVERIFY2(middle.green() > 200 && middle.red() < 60 && middle.blue() < 60, format);
        QVERIFY2(right.blue() > 200 && right.green() < 60, format);
    }
    const std::optional<QImage> hiDpi =
        ThumbnailRendering::fromFile(m_env->workPath() + QStringLiteral("/wide.png"), 120, 2.0);
    QCOMPARE(hiDpi->size(), QSize(480, 240));
    QCOMPARE(hiDpi->deviceIndependentSize(), QSizeF(240, 120));
    const QString canon = Testing::copyTestData(QStringLiteral("Canon.jpg"), m_env->workPath());
    const QSize canonThumb = ThumbnailRendering::fromFile(canon, 120)->size();
    QCOMPARE(std::min(canonThumb.width(), canonThumb.height()), 120);
}

void ThumbnailsTest::previewBytesFollowTheOrientation_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QPoint>("redCorner");
    // A square preview, red at its top-left: where the red ends up once the
    // file's orientation is applied.
    QTest::newRow("as stored") << 1 << QPoint(5, 5);
    QTest::newRow("mirrored") << 2 << QPoint(114, 5);
    QTest::newRow("rotated 180") << 3 << QPoint(114, 114);
    QTest::newRow("rotated 90 clockwise") << 6 << QPoint(114, 5);
    QTest::newRow("rotated 270") << 8 << QPoint(5, 114);
}

void ThumbnailsTest::previewBytesFollowTheOrientation()
{
    QFETCH(int, orientation);
    QFETCH(QPoint, redCorner);
    QImage preview(200, 200, QImage::Format_RGB32);
    preview.fill(Qt::white);
    QPainter(&preview).fillRect(0, 0, 60, 60, Qt::red);
    const std::optional<QImage> thumb =
        ThumbnailRendering::fromData(jpegBytes(preview), orientation, 120);
    QVERIFY(thumb.has_value());
    QCOMPARE(thumb->size(), QSize(120, 120));
    const QColor c = thumb->pixelColor(redCorner);
    QVERIFY2(c.red() > 200 && c.green() < 80, qPrintable(c.name()));
    QVERIFY(!ThumbnailRendering::fromData("not an image", 1, 120));
}

void ThumbnailsTest::loaderUsesTheEmbeddedPreviewWithoutWriting()
{
    const QString path = undecodableJpegWithThumbnail(m_env->workPath());
    QVERIFY(!ThumbnailRendering::fromFile(path, 120)); // Qt alone gives up
    const QByteArray before = fileHash(path);

    ExifToolService engine(Testing::realBundle());
    ThumbnailLoader loader(MetadataEngine::over(&engine), 120, 1.0);
    QSignalSpy ready(&loader, &ThumbnailLoader::thumbnailReady);
    const QUuid id = QUuid::createUuid();
    loader.request(id, QUrl::fromLocalFile(path));
    QCOMPARE(ready.count(), 0); // never on the caller's time
    QVERIFY(ready.wait(30000));
    QCOMPARE(ready.first().at(0).toUuid(), id);
    const QImage thumb = ready.first().at(1).value<QImage>();
    QCOMPARE(thumb.size(), QSize(160, 120));
    QVERIFY(thumb.pixelColor(60, 60).blue() > 200 && thumb.pixelColor(60, 60).red() < 60);
    QCOMPARE(fileHash(path), before);
}

void ThumbnailsTest::loaderDropsForgottenItemsAndNonImages()
{
    const QString notAnImage = m_env->workPath() + QStringLiteral("/notes.jpg");
    QFile file(notAnImage);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a JPEG");
    file.close();
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString photo = m_env->workPath() + QStringLiteral("/photo.png");
    image.save(photo);

    QImage tiny(4, 4, QImage::Format_RGB32);
    tiny.fill(Qt::red);
    const QString small = m_env->workPath() + QStringLiteral("/small.png");
    tiny.save(small);

    ExifToolService engine(Testing::realBundle());
    ThumbnailLoader loader(MetadataEngine::over(&engine), 120, 1.0);
    QSignalSpy ready(&loader, &ThumbnailLoader::thumbnailReady);
    const QUuid forgotten = QUuid::createUuid();
    loader.request(forgotten, QUrl::fromLocalFile(photo));
    loader.forget(forgotten);
    // A tiny image can be decoded before request() returns; forgetting it
    // right away must still hold, every time.
    for (int i = 0; i < 50; ++i) {
        const QUuid id = QUuid::createUuid();
        loader.request(id, QUrl::fromLocalFile(small));
        loader.forget(id);
    }
    loader.request(QUuid::createUuid(), QUrl::fromLocalFile(notAnImage));
    loader.request(QUuid::createUuid(), QUrl::fromLocalFile(m_env->workPath())); // a folder
    const QUuid kept = QUuid::createUuid();
    loader.request(kept, QUrl::fromLocalFile(photo));
    QTRY_COMPARE_WITH_TIMEOUT(loader.pendingCount(), 0, 30000);
    QCOMPARE(ready.count(), 1);
    QCOMPARE(ready.first().at(0).toUuid(), kept);
}

// Embedded previews run ExifTool, a few at a time: each one done must free
// its turn, or the loader stalls after the first few.
void ThumbnailsTest::embeddedPreviewsKeepComingOneAfterAnother()
{
    const QString path = undecodableJpegWithThumbnail(m_env->workPath());
    ExifToolService engine(Testing::realBundle());
    ThumbnailLoader loader(MetadataEngine::over(&engine), 120, 1.0);
    QSignalSpy ready(&loader, &ThumbnailLoader::thumbnailReady);
    for (int round = 1; round <= 3; ++round) {
        loader.request(QUuid::createUuid(), QUrl::fromLocalFile(path));
        QVERIFY2(ready.wait(30000), qPrintable(QStringLiteral("round %1").arg(round)));
        QCOMPARE(ready.count(), round);
    }
}

// What a large list asks of the loader as its view scrolls: pictures for the
// rows in view and the selection, in that order, renders dropped once out of
// view, and held pictures let go longest-unseen first beyond the limit.
void ThumbnailsTest::onlyRowsInViewAndTheSelectionAreMade()
{
    QList<QUuid> ids;
    for (int i = 0; i < 40; ++i)
        ids.append(QUuid::createUuid());
    const auto range = [&](int first, int last) { return ids.mid(first, last - first + 1); };
    ThumbnailDemand demand(10);

    ThumbnailDemand::Step step = demand.setSelected({ids[30]});
    QCOMPARE(step.request, QList<QUuid>{ids[30]});
    step = demand.setInView(range(0, 5));
    QCOMPARE(step.request, range(0, 5)); // top to bottom, the selection not again
    for (int i : {0, 1, 2, 30})
        QVERIFY(demand.delivered(ids[i]));

    // Scrolled on before rows 3–5 were made: their renders are dropped.
    step = demand.setInView(range(6, 11));
    QCOMPARE(step.request, range(6, 11));
    QCOMPARE(QSet<QUuid>(step.cancel.cbegin(), step.cancel.cend()),
             QSet<QUuid>({ids[3], ids[4], ids[5]}));
    QVERIFY(step.release.isEmpty());
    QVERIFY(!demand.delivered(ids[4])); // a late result is not kept
    for (int i = 6; i <= 11; ++i)
        QVERIFY(demand.delivered(ids[i]));
    QCOMPARE(demand.heldCount(), 10);

    // Past the limit: rows 0, 1 and 2 were out of view longest and go; the
    // selection's picture and those in view stay.
    step = demand.setInView(range(12, 13));
    for (int i : {12, 13})
        QVERIFY(demand.delivered(ids[i]));
    step = demand.setInView(range(14, 14));
    QCOMPARE(QSet<QUuid>(step.release.cbegin(), step.release.cend()),
             QSet<QUuid>({ids[0], ids[1], ids[2]}));
    QCOMPARE(demand.heldCount(), 9);
    QVERIFY(demand.isWanted(ids[30]) && !demand.isWanted(ids[0]));

    // A changed file is made again while wanted, else let go at once.
    QCOMPARE(demand.fileChanged(ids[30]).request, QList<QUuid>{ids[30]});
    step = demand.fileChanged(ids[6]);
    QVERIFY(step.request.isEmpty());
    QCOMPARE(step.release, QList<QUuid>{ids[6]});
    // Scrolling back asks again for what was let go.
    QCOMPARE(demand.setInView(range(0, 1)).request, range(0, 1));
}

QTEST_MAIN(ThumbnailsTest)
#include "tst_Thumbnails.moc"
