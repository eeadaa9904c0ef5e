// Dates as ExifTool prints them, shifts, and what a change of dates plans
// for a file's date tags: pure code, no ExifTool.

#include "MetaloomFeature/Model/Dates/DatePlan.h"

#include <QtTest>

using namespace Metaloom;

namespace {

// "KEY=VALUE" lines, as a file's date tags.
DateValues valuesOf(const QStringList &lines)
{
    DateValues values;
    for (const QString &line : lines)
        values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
    return values;
}

// "shift +1:00" or "set 2024:03:01 12:00:00"; families among "capture",
// "modify", "file"; "keep", "set +02:00" or "shift +01:00".
DateOptions optionsOf(const QString &what, const QString &families, const QString &zone,
                      bool quickTimeUtc)
{
    DateOptions options;
    const QString amount = what.section(QLatin1Char(' '), 1);
    if (what.startsWith(QLatin1String("set"))) {
        options.mode = DateOptions::Mode::set;
        options.setTo = ExifDateTime::parse(amount).value();
    } else {
        options.shift = DateShift::parse(amount).value();
    }
    options.captureDates = families.contains(QLatin1String("capture"));
    options.modificationDates = families.contains(QLatin1String("modify"));
    options.fileDate = families.contains(QLatin1String("file"));
    if (zone != QLatin1String("keep")) {
        options.zone = zone.startsWith(QLatin1String("set")) ? DateOptions::Zone::set
                                                             : DateOptions::Zone::shift;
        options.zoneMinutes = DateZone::parse(zone.section(QLatin1Char(' '), 1)).value();
    }
    options.quickTimeUtc = quickTimeUtc;
    return options;
}

QStringList linesOf(const DatePlan &plan)
{
    QStringList lines;
    for (const DateChange &change : plan.changes)
        lines << change.key + QLatin1Char('|') + change.before + QLatin1Char('|') + change.after;
    return lines;
}

QStringList warningsOf(const DatePlan &plan)
{
    QStringList names;
    for (DateWarning warning : plan.warnings)
        names << (warning == DateWarning::noCaptureDate ? QStringLiteral("no capture date")
                                                        : QStringLiteral("disagree"));
    return names;
}

} // namespace

class DatePlanTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parsesAndPrintsDates_data();
    void parsesAndPrintsDates();
    void shiftsDates_data();
    void shiftsDates();
    void parsesShifts_data();
    void parsesShifts();
    void plansAFile_data();
    void plansAFile();
    void takesTheShiftFromAClock();
    void setsTheFileDateFromTheCaptureDate_data();
    void setsTheFileDateFromTheCaptureDate();
    void tellsHowQuickTimeDatesAreStored_data();
    void tellsHowQuickTimeDatesAreStored();
};

void DatePlanTest::parsesAndPrintsDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printed"); // empty: no date
    // "TEXT|PRINTED"
    for (const char *row :
         {"2003:12:04 06:46:52|2003:12:04 06:46:52",
          "2020:02:28 23:30:00.25+01:00|2020:02:28 23:30:00.25+01:00",
          "2020:02:28 23:30:00-05:30|2020:02:28 23:30:00-05:30",
          "2021:01:01 10:00:00Z|2021:01:01 10:00:00Z", "2004:02:26|2004:02:26",
          "2021:01:01 10:00+02:00|2021:01:01 10:00:00+02:00", "0000:00:00 00:00:00|",
          "2021:02:29 00:00:00|", "2021:02:01 24:00:00|", "2021:02:01+02:00|", "2010|"})
        QTest::newRow(row) << QString(row).section(u'|', 0, 0) << QString(row).section(u'|', 1);
}

void DatePlanTest::parsesAndPrintsDates()
{
    QFETCH(QString, text);
    QFETCH(QString, printed);
    const std::optional<ExifDateTime> date = ExifDateTime::parse(text);
    QCOMPARE(date ? date->text() : QString(), printed);
}

void DatePlanTest::shiftsDates_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("shifted");
    // "DATE|SHIFT|SHIFTED": an hour, over midnight, into a leap day, past
    // February of a common year, back over a leap day, days with the zone
    // and sub-seconds kept, a date alone by days and by hours.
    for (const char *row : {"2003:12:04 06:46:52|+1:00|2003:12:04 07:46:52",
                            "2003:12:31 23:30:00|1:00|2004:01:01 00:30:00",
                            "2024:02:28 23:00:00|+1:00|2024:02:29 00:00:00",
                            "2023:02:28 23:00:00|+1:00|2023:03:01 00:00:00",
                            "2024:03:01 00:10:00|-0:20|2024:02:29 23:50:00",
                            "2020:01:01 10:00:00.5+02:00|-1 01:00:30|2019:12:31 08:59:30.5+02:00",
                            "2024:02:28|+1 00:00|2024:02:29", "2024:02:28|-3:00|2024:02:28"}) {
        const QString line = QString::fromLatin1(row);
        QTest::newRow(row) << line.section(u'|', 0, 0) << line.section(u'|', 1, 1)
                           << line.section(u'|', 2);
    }
}

void DatePlanTest::shiftsDates()
{
    QFETCH(QString, date);
    QFETCH(QString, shift);
    QFETCH(QString, shifted);
    QCOMPARE(ExifDateTime::parse(date)->shifted(DateShift::parse(shift)->seconds).text(), shifted);
}

void DatePlanTest::parsesShifts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("printed"); // empty: refused
    QTest::newRow("an hour") << "+1:00" << qint64(3600) << "+01:00:00";
    QTest::newRow("unsigned") << "01:30" << qint64(5400) << "+01:30:00";
    QTest::newRow("negative with seconds") << "-0:00:45" << qint64(-45) << "-00:00:45";
    QTest::newRow("days") << "-2 03:00" << qint64(-(2 * 86400 + 3 * 3600)) << "-2 03:00:00";
    QTest::newRow("minutes over 59") << "+1:60" << qint64(0) << "";
    QTest::newRow("no minutes") << "+1" << qint64(0) << "";
    QTest::newRow("words") << "an hour" << qint64(0) << "";
}

void DatePlanTest::parsesShifts()
{
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    QFETCH(QString, printed);
    const std::optional<DateShift> shift = DateShift::parse(text);
    QCOMPARE(shift.has_value(), !printed.isEmpty());
    if (!shift)
        return;
    QCOMPARE(shift->seconds, seconds);
    QCOMPARE(shift->text(), printed);
    QCOMPARE(DateShift::parse(shift->text()), shift);
}

void DatePlanTest::plansAFile_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("families");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("quickTimeUtc");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("warnings");

    const QStringList subSeconds{"ExifIFD:DateTimeOriginal=2020:02:28 23:30:00",
                                 "ExifIFD:SubSecTimeOriginal=25"};
    QTest::newRow("set without sub-seconds removes them")
        << subSeconds << "set 2024:03:01 12:00:00"
        << "capture"
        << "keep" << false
        << QStringList{"ExifIFD:DateTimeOriginal|2020:02:28 23:30:00|2024:03:01 12:00:00",
                       "ExifIFD:SubSecTimeOriginal|25|"}
        << QStringList{};
    const QStringList zoned{
        "ExifIFD:DateTimeOriginal=2020:06:01 10:00:00", "ExifIFD:OffsetTimeOriginal=+01:00",
        "ExifIFD:CreateDate=2020:06:01 10:00:00", "XMP-xmp:CreateDate=2020:06:01 10:00:00+01:00",
        "XMP-photoshop:DateCreated=2020:06:01"};
    QTest::newRow("zone set")
        << zoned << "shift 0:00"
        << "capture"
        << "set -05:00" << false
        << QStringList{"ExifIFD:OffsetTimeOriginal|+01:00|-05:00",
                       "ExifIFD:OffsetTimeDigitized||-05:00",
                       "XMP-xmp:CreateDate|2020:06:01 10:00:00+01:00|2020:06:01 10:00:00-05:00"}
        << QStringList{};
    QTest::newRow("a zone typed with the date set")
        << QStringList{"ExifIFD:DateTimeOriginal=2020:06:01 10:00:00"}
        << "set 2021:01:01 08:00:00+03:00"
        << "capture"
        << "keep" << false
        << QStringList{"ExifIFD:DateTimeOriginal|2020:06:01 10:00:00|2021:01:01 08:00:00",
                       "ExifIFD:OffsetTimeOriginal||+03:00"}
        << QStringList{};
    const QStringList video{"QuickTime:CreateDate=2005:08:11 16:03:54+02:00",
                            "Track1:TrackCreateDate=2005:08:11 16:03:54+02:00",
                            "Track2:MediaModifyDate=2005:08:11 16:03:54+02:00"};
    QTest::newRow("quicktime as utc, shifted with the computer's zone")
        << video << "shift +1:00"
        << "capture"
        << "keep" << true
        << QStringList{"QuickTime:CreateDate|2005:08:11 16:03:54+02:00|2005:08:11 17:03:54+02:00",
                       "Track1:TrackCreateDate|2005:08:11 16:03:54+02:00|2005:08:11 "
                       "17:03:54+02:00"}
        << QStringList{};
    // The clock stays and the moment moves with the zone, as a photo's does.
    QTest::newRow("quicktime as utc, zone set: the computer's clock in the new zone")
        << video << "shift +1:00"
        << "capture"
        << "set +09:00" << true
        << QStringList{"QuickTime:CreateDate|2005:08:11 16:03:54+02:00|2005:08:11 17:03:54+09:00",
                       "Track1:TrackCreateDate|2005:08:11 16:03:54+02:00|2005:08:11 "
                       "17:03:54+09:00"}
        << QStringList{};
    QTest::newRow("quicktime as utc, zone moved from the camera's own zone")
        << QStringList{"Keys:CreationDate=2020:06:01 12:00:00+01:00",
                       "QuickTime:CreateDate=2020:06:01 13:00:00+02:00"}
        << "shift 0:00"
        << "capture"
        << "shift +08:00" << true
        << QStringList{"Keys:CreationDate|2020:06:01 12:00:00+01:00|2020:06:01 12:00:00+09:00",
                       "QuickTime:CreateDate|2020:06:01 13:00:00+02:00|2020:06:01 12:00:00+09:00"}
        << QStringList{};
    QTest::newRow("quicktime as local time, zone set: no zone to correct")
        << QStringList{"QuickTime:CreateDate=2020:06:01 12:00:00"} << "shift 0:00"
        << "capture"
        << "set +09:00" << false << QStringList{} << QStringList{};
    QTest::newRow("iptc over midnight")
        << QStringList{"IPTC:DateCreated=2004:02:26", "IPTC:TimeCreated=23:30:00+01:00"}
        << "shift +1:00"
        << "capture"
        << "keep" << false
        << QStringList{"IPTC:DateCreated|2004:02:26|2004:02:27",
                       "IPTC:TimeCreated|23:30:00+01:00|00:30:00+01:00"}
        << QStringList{};
    QTest::newRow("a date alone follows its capture date")
        << QStringList{"ExifIFD:DateTimeOriginal=2024:02:28 23:30:00",
                       "XMP-photoshop:DateCreated=2024:02:28"}
        << "shift +1:00"
        << "capture"
        << "keep" << false
        << QStringList{"ExifIFD:DateTimeOriginal|2024:02:28 23:30:00|2024:02:29 00:30:00",
                       "XMP-photoshop:DateCreated|2024:02:28|2024:02:29"}
        << QStringList{};
    QTest::newRow("no capture date")
        << QStringList{"System:FileModifyDate=2026:12:09 03:16:14+00:00"} << "shift +1:00"
        << "capture"
        << "keep" << false << QStringList{} << QStringList{"no capture date"};
    QTest::newRow("dates that disagree")
        << QStringList{"ExifIFD:DateTimeOriginal=2020:06:01 10:00:00",
                       "QuickTime:CreateDate=2020:06:01 08:00:00"}
        << "shift 0:00"
        << "capture"
        << "keep" << false << QStringList{} << QStringList{"disagree"};
    QTest::newRow("a minute apart is the same moment")
        << QStringList{"ExifIFD:DateTimeOriginal=2020:06:01 10:00:00",
                       "XMP-exif:DateTimeOriginal=2020:06:01 10:01:00+02:00", "Other:Date=x"}
        << "shift 0:00"
        << "capture"
        << "keep" << false << QStringList{} << QStringList{};
}

void DatePlanTest::plansAFile()
{
    QFETCH(QStringList, values);
    QFETCH(QString, what);
    QFETCH(QString, families);
    QFETCH(QString, zone);
    QFETCH(bool, quickTimeUtc);
    QFETCH(QStringList, changes);
    QFETCH(QStringList, warnings);
    const DatePlan plan =
        DatePlanning::plan(valuesOf(values), optionsOf(what, families, zone, quickTimeUtc));
    QCOMPARE(linesOf(plan), changes);
    QCOMPARE(warningsOf(plan), warnings);
    QCOMPARE(plan.quickTimeUtc, quickTimeUtc);
}

void DatePlanTest::takesTheShiftFromAClock()
{
    // The photo of the clock says 10:58:30 the day before; the clock showed 00:02.
    const DateValues clockPhoto = valuesOf({"ExifIFD:CreateDate=2024:02:28 23:58:30"});
    const DateShift shift = DateShift::between(DatePlanning::captureDate(clockPhoto).value(),
                                               ExifDateTime::parse("2024:02:29 00:02:00").value());
    QCOMPARE(shift.text(), QStringLiteral("+00:03:30"));
    DateOptions options;
    options.shift = shift;
    const DatePlan plan =
        DatePlanning::plan(valuesOf({"ExifIFD:DateTimeOriginal=2024:02:29 10:00:00"}), options);
    QCOMPARE(linesOf(plan), QStringList{"ExifIFD:DateTimeOriginal|2024:02:29 10:00:00|2024:02:29 "
                                        "10:03:30"});
}

void DatePlanTest::setsTheFileDateFromTheCaptureDate_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("changes");
    QTest::newRow("with the capture date's zone")
        << QStringList{"ExifIFD:DateTimeOriginal=2003:12:04 06:46:52",
                       "ExifIFD:OffsetTimeOriginal=+01:00",
                       "System:FileModifyDate=2026:12:09 03:16:14+00:00"}
        << QStringList{"System:FileModifyDate|2026:12:09 03:16:14+00:00|2003:12:04 06:46:52+01:00"};
}

void DatePlanTest::setsTheFileDateFromTheCaptureDate()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, changes);
    const DatePlan plan = DatePlanning::fileDateFromCapture(valuesOf(values));
    QCOMPARE(linesOf(plan), changes);
    QCOMPARE(plan.warnings.contains(DateWarning::noCaptureDate),
             !DatePlanning::captureDate(valuesOf(values)).has_value());
}

void DatePlanTest::tellsHowQuickTimeDatesAreStored_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("answer"); // 1 UTC, 0 local, -1 not told
    const QString apple = QStringLiteral("Keys:CreationDate=2020:06:01 12:00:00+02:00");
    QTest::newRow("utc") << QStringList{apple, "QuickTime:CreateDate=2020:06:01 10:00:00"} << 1;
    QTest::newRow("local") << QStringList{apple, "QuickTime:CreateDate=2020:06:01 12:00:00"} << 0;
    QTest::newRow("exif offset") << QStringList{"ExifIFD:DateTimeOriginal=2020:06:01 12:00:00",
                                                "ExifIFD:OffsetTimeOriginal=-04:00",
                                                "QuickTime:CreateDate=2020:06:01 16:00:00"}
                                 << 1;
    QTest::newRow("no zone anywhere") << QStringList{"ExifIFD:DateTimeOriginal=2020:06:01 12:00:00",
                                                     "QuickTime:CreateDate=2020:06:01 12:00:00"}
                                      << -1;
}

void DatePlanTest::tellsHowQuickTimeDatesAreStored()
{
    QFETCH(QStringList, values);
    QFETCH(int, answer);
    const std::optional<bool> utc = DatePlanning::quickTimeStoredAsUtc(valuesOf(values));
    QCOMPARE(utc ? int(*utc) : -1, answer);
}

QTEST_GUILESS_MAIN(DatePlanTest)
#include "tst_DatePlan.moc"
