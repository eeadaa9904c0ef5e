// Adjusting the dates of loaded files through the real bundled ExifTool, on
// copies of the camera samples: the sheet's preview against what the batch
// then does, the one step that puts every file's dates back, and the file
// dates set from the capture dates.

#include "LibraryHarness.h"

#include "tests/Engine/RealFiles.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class LibraryDatesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("TZ", "XYZ-2"); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void previewThenAdjustThenUndo();
    void fileDatesFollowTheCaptureDate();
    void listsByTime();

private:
    QList<QUuid> load(LibraryViewModel &lib, const QStringList &samples)
    {
        QList<QUrl> urls;
        for (const QString &sample : samples)
            urls << url(copyTestData(sample, m_env->workPath()));
        lib.importItems(urls);
        QTest::qVerify(waitUntilIdle(lib), "waitUntilIdle(lib)", "", __FILE__, __LINE__);
        QList<QUuid> ids;
        for (const MediaItem &item : lib.items())
            ids << item.id;
        return ids;
    }
    QString path(const QString &name) const { return m_env->workPath() + u'/' + name; }

    std::unique_ptr<TestEnvironment> m_env;
};

void LibraryDatesTest::previewThenAdjustThenUndo()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QList<QUuid> ids = load(lib, {"Canon.jpg", "QuickTime.heic", "QuickTime.mov"});
    QCOMPARE(ids.size(), 3);
    const QByteArray heicBefore = digest(path("QuickTime.heic"));
    lib.presentAdjustDates(ids);
    QVERIFY(lib.adjustDatesRequest());

    DateAdjustment adjustment;
    adjustment.options.shift = DateShift::parse("+1:00").value();
    adjustment.options.quickTimeUtc = true;
    lib.previewDates(adjustment);
    QVERIFY(lib.datesPreview().isLoading);
    QVERIFY(waitUntilIdle(lib));
    const QList<DatePreviewRow> rows = lib.datesPreview().rows;
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).fileName, QStringLiteral("Canon.jpg"));
    QCOMPARE(rows.at(0).plan.changes.size(), 2);
    // Read as UTC, the video's dates come in the computer's zone.
    QVERIFY(rows.at(1).plan.changes.isEmpty());
    QCOMPARE(rows.at(1).plan.warnings, QList<DateWarning>{DateWarning::noCaptureDate});
    QVERIFY(!rows.at(2).plan.changes.isEmpty());
    QCOMPARE(rows.at(2).plan.changes.first(),
             (DateChange{"QuickTime:CreateDate", "2005:08:11 16:03:54+02:00",
                         "2005:08:11 17:03:54+02:00"}));

    lib.confirmAdjustDates(adjustment);
    QVERIFY(!lib.adjustDatesRequest());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(statusText(lib), QStringLiteral("Adjusted the dates of 3 items."));
    QCOMPARE(valueOf(path("Canon.jpg"), "ExifIFD:DateTimeOriginal"), "2003:12:04 07:46:52");
    QCOMPARE(valueOf(path("QuickTime.mov"), "QuickTime:CreateDate"), "2005:08:11 15:03:54");
    QCOMPARE(valueOf(path("QuickTime.mov"), "QuickTime:ModifyDate"), "2010:07:30 15:43:59");
    QCOMPARE(digest(path("QuickTime.heic")), heicBefore);
    QVERIFY(lib.canUndoDates());
    QVERIFY(lib.undoesDatesNext());

    QVERIFY(runTask(lib.undoDates()).succeeded());
    QVERIFY(waitUntilIdle(lib));
    QVERIFY(!lib.canUndoDates());
    QVERIFY(!lib.undoesDatesNext());
    QCOMPARE(statusText(lib), QStringLiteral("Restored the previous dates of 2 items."));
    QCOMPARE(valueOf(path("Canon.jpg"), "ExifIFD:DateTimeOriginal"), "2003:12:04 06:46:52");
    QCOMPARE(valueOf(path("Canon.jpg"), "ExifIFD:CreateDate"), "2003:12:04 06:46:52");
    QCOMPARE(valueOf(path("QuickTime.mov"), "QuickTime:CreateDate"), "2005:08:11 14:03:54");
    QCOMPARE(valueOf(path("QuickTime.mov"), "Track2:MediaCreateDate"), "2005:08:11 14:03:54");
}

void LibraryDatesTest::fileDatesFollowTheCaptureDate()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QList<QUuid> ids = load(lib, {"Canon.jpg", "QuickTime.heic"});
    const qint64 before = QFileInfo(path("Canon.jpg")).lastModified().toSecsSinceEpoch();
    QVERIFY(runTask(lib.setFileDatesFromCapture(ids)).succeeded());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(QFileInfo(path("Canon.jpg")).lastModified(),
             QDateTime(QDate(2003, 12, 4), QTime(6, 46, 52), Qt::LocalTime));
    QCOMPARE(valueOf(path("Canon.jpg"), "ExifIFD:DateTimeOriginal"), "2003:12:04 06:46:52");
    // An edit after it is what the window's Undo takes first.
    QVERIFY(lib.undoesDatesNext());
    QVERIFY(waitUntilIdle(lib));
    const std::optional<MetadataEntry> make = visibleEntry(lib, "IFD0:Make");
    QVERIFY(make);
    lib.editValue(*make, "Other");
    QVERIFY(lib.canUndo());
    QVERIFY(!lib.undoesDatesNext());
    QVERIFY(lib.canUndoDates());

    QVERIFY(runTask(lib.undoDates()).succeeded());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(QFileInfo(path("Canon.jpg")).lastModified().toSecsSinceEpoch(), before);
}

void LibraryDatesTest::listsByTime()
{
    LibraryHarness h;
    LibraryViewModel &lib = *h.library;
    const QString folder = m_env->workPath();
    // Added in this order; taken 2003, 2001, never, 2005.
    const QList<std::pair<QString, QString>> files{{"Canon.jpg", "b.jpg"},
                                                   {"XMP.jpg", "a.jpg"},
                                                   {"QuickTime.heic", "0.heic"},
                                                   {"QuickTime.mov", "c.mov"}};
    QList<QUrl> urls;
    int minutesAgo = 0;
    for (const auto &[sample, name] : files) {
        const QString copy = copyTestData(sample, folder, name);
        QFile file(copy);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * ++minutesAgo),
                         QFileDevice::FileModificationTime);
        urls << url(copy);
    }
    lib.importItems(urls);
    QVERIFY(waitUntilIdle(lib));
    const auto names = [&lib] {
        QStringList shown;
        for (const MediaItem &item : lib.items())
            shown << item.fileName;
        return shown.join(u' ');
    };
    // By name until told otherwise.
    QCOMPARE(lib.itemOrder(), ItemOrder::name);
    QCOMPARE(names(), "0.heic a.jpg b.jpg c.mov");
    QVERIFY(runTask(lib.setItemOrder(ItemOrder::captureDate)).succeeded());
    QCOMPARE(names(), "a.jpg b.jpg c.mov 0.heic");
    QVERIFY(runTask(lib.setItemOrder(ItemOrder::imported)).succeeded());
    QCOMPARE(names(), "b.jpg a.jpg 0.heic c.mov");
    QVERIFY(runTask(lib.setItemOrder(ItemOrder::fileDate)).succeeded());
    QCOMPARE(names(), "c.mov 0.heic a.jpg b.jpg");
    QVERIFY(runTask(lib.setItemOrder(ItemOrder::name)).succeeded());
    QCOMPARE(names(), "0.heic a.jpg b.jpg c.mov");

    // A shift that moves a file before another moves it in the list.
    QVERIFY(runTask(lib.setItemOrder(ItemOrder::captureDate)).succeeded());
    DateAdjustment adjustment;
    adjustment.options.shift = DateShift::parse("-1100 00:00").value();
    QVERIFY(runTask(lib.adjustDates({lib.items().at(1).id}, adjustment)).succeeded());
    QVERIFY(waitUntilIdle(lib));
    QCOMPARE(names(), "b.jpg a.jpg c.mov 0.heic");
}

QTEST_MAIN(LibraryDatesTest)
#include "tst_LibraryDates.moc"
