// Changes of dates through the real bundled ExifTool on copies of the
// camera files: what moves, what stays, QuickTime's dates read as UTC or as
// stored, sub-seconds, zones and the file's own date, each checked by a
// separate read.

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "RealFiles.h"

#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

Q_DECLARE_METATYPE(Metaloom::DateOptions)

namespace {

DateOptions shifted(const QString &amount, bool modificationDates = false)
{
    DateOptions options;
    options.shift = DateShift::parse(amount).value();
    options.modificationDates = modificationDates;
    return options;
}

DateOptions setTo(const QString &date)
{
    DateOptions options;
    options.mode = DateOptions::Mode::set;
    options.setTo = ExifDateTime::parse(date).value();
    return options;
}

DateOptions withZone(DateOptions options, DateOptions::Zone zone, const QString &offset)
{
    options.zone = zone;
    options.zoneMinutes = DateZone::parse(offset).value();
    return options;
}

DateOptions asUtc(DateOptions options)
{
    options.quickTimeUtc = true;
    return options;
}

// Whether two printed dates are the same moment on the clock: a date
// written without zone is read back with the computer's, a QuickTime date
// written with another zone is read back as the same moment in the
// computer's.
bool sameClock(const QString &a, const QString &b)
{
    const std::optional<ExifDateTime> left = ExifDateTime::parse(a);
    const std::optional<ExifDateTime> right = ExifDateTime::parse(b);
    if (!left || !right)
        return a == b;
    if (left->hasTime() && right->hasTime() && left->zoneMinutes && right->zoneMinutes &&
        left->zoneMinutes != right->zoneMinutes)
        return left->secondsTo(*right) == qint64(*right->zoneMinutes - *left->zoneMinutes) * 60;
    return left->text().left(19) == right->text().left(19) && left->subSeconds == right->subSeconds;
}

} // namespace

class DateChangesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A zone two hours east of UTC all year, so that QuickTime's UTC and
    // local readings differ, the same for every run.
    void initTestCase() { qputenv("TZ", "XYZ-2"); }
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void movesExactlyThePlannedDates_data();
    void movesExactlyThePlannedDates();

private:
    QList<DateValues> datesOf(const QString &path, bool quickTimeUtc)
    {
        ExifToolService service(realBundle());
        auto read = runTask(service.readDates({QUrl::fromLocalFile(path)}, quickTimeUtc));
        if (!read.succeeded())
            qWarning() << "dates not read:" << read.errorMessage();
        return read.value.value_or(QList<DateValues>{});
    }

    std::unique_ptr<TestEnvironment> m_env;
};

void DateChangesTest::movesExactlyThePlannedDates_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("tagged"); // "KEY=VALUE" written first
    QTest::addColumn<DateOptions>("options");
    // What a separate read finds afterwards, QuickTime's dates as stored.
    QTest::addColumn<QStringList>("expected");

    const QStringList canon{"ExifIFD:DateTimeOriginal=2003:12:04 07:46:52",
                            "ExifIFD:CreateDate=2003:12:04 07:46:52",
                            "IFD0:ModifyDate=2003:12:04 06:46:52"};
    QTest::newRow("jpeg, an hour on") << "Canon.jpg" << QStringList{} << shifted("+1:00") << canon;
    QTest::newRow("jpeg, a day back with modification")
        << "Canon.jpg" << QStringList{} << shifted("-1 00:00", true)
        << QStringList{"ExifIFD:DateTimeOriginal=2003:12:03 06:46:52",
                       "ExifIFD:CreateDate=2003:12:03 06:46:52",
                       "IFD0:ModifyDate=2003:12:03 06:46:52"};
    const QStringList movedOnAnHour{
        "QuickTime:CreateDate=2005:08:11 15:03:54", "Track1:TrackCreateDate=2005:08:11 15:03:54",
        "Track2:MediaCreateDate=2005:08:11 15:03:54", "QuickTime:ModifyDate=2010:07:30 15:43:59",
        "Track1:TrackModifyDate=2005:08:11 14:03:54"};
    QTest::newRow("mov as stored, an hour on")
        << "QuickTime.mov" << QStringList{} << shifted("+1:00") << movedOnAnHour;
    QTest::newRow("mov as utc, an hour on")
        << "QuickTime.mov" << QStringList{} << asUtc(shifted("+1:00")) << movedOnAnHour;
    QTest::newRow("mov as utc, set in local time")
        << "QuickTime.mov" << QStringList{} << asUtc(setTo("2024:03:01 12:00:00"))
        << QStringList{"QuickTime:CreateDate=2024:03:01 10:00:00",
                       "Track2:MediaCreateDate=2024:03:01 10:00:00"};
    // The clock stays and the moment moves: 16:03:54 in the computer's zone
    // becomes 16:03:54 at +09:00, seven hours earlier in UTC.
    QTest::newRow("mov as utc, zone set")
        << "QuickTime.mov" << QStringList{}
        << asUtc(withZone(shifted("0:00"), DateOptions::Zone::set, "+09:00"))
        << QStringList{"QuickTime:CreateDate=2005:08:11 07:03:54",
                       "Track1:TrackCreateDate=2005:08:11 07:03:54",
                       "Track2:MediaCreateDate=2005:08:11 07:03:54",
                       "QuickTime:ModifyDate=2010:07:30 15:43:59"};
    const QStringList heicTags{"ExifIFD:DateTimeOriginal=2024:02:28 23:30:00",
                               "ExifIFD:SubSecTimeOriginal=25",
                               "ExifIFD:OffsetTimeOriginal=+01:00"};
    QTest::newRow("heic over a leap day, zone shifted")
        << "QuickTime.heic" << heicTags
        << withZone(shifted("+1:00"), DateOptions::Zone::shift, "+01:00")
        << QStringList{"ExifIFD:DateTimeOriginal=2024:02:29 00:30:00",
                       "ExifIFD:SubSecTimeOriginal=25", "ExifIFD:OffsetTimeOriginal=+02:00"};
    QTest::newRow("heic set, zone set")
        << "QuickTime.heic" << heicTags
        << withZone(setTo("2021:01:01 08:00:00.5"), DateOptions::Zone::set, "-05:00")
        << QStringList{"ExifIFD:DateTimeOriginal=2021:01:01 08:00:00",
                       "ExifIFD:SubSecTimeOriginal=5", "ExifIFD:OffsetTimeOriginal=-05:00"};
    QTest::newRow("xmp, a day on") << "XMP.jpg" << QStringList{} << shifted("+1 00:00")
                                   << QStringList{"ExifIFD:DateTimeOriginal=2001:05:20 18:36:41",
                                                  "XMP-photoshop:DateCreated=2004:02:27",
                                                  "IFD0:ModifyDate=2004:02:26 09:36:46"};
}

void DateChangesTest::movesExactlyThePlannedDates()
{
    QFETCH(QString, file);
    QFETCH(QStringList, tagged);
    QFETCH(DateOptions, options);
    QFETCH(QStringList, expected);
    const QString path = copyTestData(file, m_env->workPath());
    ExifToolService service(realBundle());
    const QUrl url = QUrl::fromLocalFile(path);
    if (!tagged.isEmpty()) {
        QList<TagAssignment> tags;
        for (const QString &line : tagged)
            tags.append({line.section('=', 0, 0), {line.section('=', 1)}});
        const auto written = runTask(service.changeTags(url, tags));
        QVERIFY2(written.succeeded(), qPrintable(written.errorMessage()));
    }

    const QList<DateValues> before = datesOf(path, options.quickTimeUtc);
    QCOMPARE(before.size(), 1);
    const DatePlan plan = DatePlanning::plan(before.first(), options);
    QVERIFY(!plan.changes.isEmpty());
    const auto change = runTask(service.changeDates(url, plan));
    QVERIFY2(change.succeeded(), qPrintable(change.errorMessage()));
    QVERIFY(change.value->isComplete());
    // A date given in a zone is read back as that moment, not as another
    // form of it.
    if (options.zone != DateOptions::Zone::keep)
        QVERIFY2(change.value->outcomes.isEmpty(),
                 qPrintable(change.value->outcomes.value(0).reason));

    // Read the way they were planned: every planned tag as planned, every
    // other date as it was.
    const DateValues after = datesOf(path, options.quickTimeUtc).value(0);
    QStringList planned;
    for (const DateChange &dateChange : plan.changes) {
        planned << dateChange.key;
        QVERIFY2(sameClock(after.value(dateChange.key), dateChange.after),
                 qPrintable(dateChange.key + ": " + after.value(dateChange.key)));
    }
    for (auto it = before.first().cbegin(); it != before.first().cend(); ++it) {
        if (!planned.contains(it.key()) && !it.key().startsWith(QLatin1String("System:")))
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    }
    // And as stored, by the window's own reading.
    const QHash<QString, QString> stored = valuesOf(path);
    for (const QString &line : expected)
        QCOMPARE(stored.value(line.section('=', 0, 0)), line.section('=', 1));
}

QTEST_GUILESS_MAIN(DateChangesTest)
#include "tst_DateChanges.moc"
