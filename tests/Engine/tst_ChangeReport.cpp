// What a change reports is what the file now holds: each class of stored
// value on the real ExifTool and the shared samples, lists item by item,
// removals that do not apply, the JPEG EXIF limit, minor errors, and the
// report of a strip.

#include "MetaloomFeature/Engine/Dialect/ChangeComparison.h"
#include "MetaloomFeature/Engine/Dialect/JpegExifLimit.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/FileSafety/FileStamp.h"
#include "MetaloomFeature/Engine/StripReport.h"
#include "RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Metaloom;
using namespace Metaloom::Testing;
using Kind = TagOutcome::Kind;

Q_DECLARE_METATYPE(Metaloom::TagOutcome::Kind)

namespace {

// "KEY=a|b" sets the items a and b, "KEY=" deletes.
QList<TagAssignment> assignmentsFrom(const QStringList &texts)
{
    QList<TagAssignment> assignments;
    for (const QString &text : texts) {
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        const QString values = text.mid(equals + 1);
        assignments.append(
            {text.left(equals), values.isEmpty() ? QStringList() : values.split(QLatin1Char('|'))});
    }
    return assignments;
}

std::optional<MetadataEntry> entryOf(const QString &path, const QString &key)
{
    for (const MetadataEntry &entry : readEntries(path)) {
        if (entry.rawKey == key)
            return entry;
    }
    return std::nullopt;
}

QStringList itemsOf(const std::optional<MetadataEntry> &entry)
{
    if (!entry)
        return {};
    return entry->isList ? entry->items : QStringList{entry->value};
}

} // namespace

class ChangeReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void comparisonRules_data();
    void comparisonRules();
    void warningsNameTheirTags();
    void valuesAreComparedWithWhatTheFileHolds_data();
    void valuesAreComparedWithWhatTheFileHolds();
    void refusedValuesAloneLeaveTheFile();
    void fileModifyDateSetByTheUserIsKept();
    void listsAreWrittenAndReadItemByItem();
    void unchangedListIsNeverRewritten();
    void valuesWithARemovalThatDoesNotApply();
    void exifTooLargeForAJpegIsRefused_data();
    void exifTooLargeForAJpegIsRefused();
    void minorErrorsAreToldAndCanBeIgnored();
    void stripReports_data();
    void stripReports();
    void identifyingTagsComeFirst();

private:
    QString copy(const QString &sample) { return copyTestData(sample, m_env->workPath()); }

    std::unique_ptr<TestEnvironment> m_env;
};

void ChangeReportTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void ChangeReportTest::cleanup()
{
    m_env.reset();
}

void ChangeReportTest::comparisonRules_data()
{
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<bool>("asAsked");
    QTest::addColumn<bool>("equivalent");
    const auto row = [](const char *name, QStringList asked, QStringList stored, bool asAsked,
                        bool equivalent) {
        QTest::newRow(name) << asked << stored << asAsked << equivalent;
    };
    row("same text", {"2020:01:01 10:00:00"}, {"2020:01:01 10:00:00"}, true, true);
    row("items in order", {"a, b", "c"}, {"a, b", "c"}, true, true);
    row("items joined", {"a", "b"}, {"a, b"}, false, false);
    row("items reordered", {"a", "b"}, {"b", "a"}, false, false);
    row("boolean in lower case", {"True"}, {"true"}, true, true);
    row("letter case", {"canon"}, {"Canon"}, false, false);
    row("number form", {"2.80"}, {"2.8"}, false, true);
    row("time zone added", {"2020:01:01 10:00:00"}, {"2020:01:01 10:00:00+02:00"}, false, true);
    row("same moment in another zone", {"2005:08:11 16:03:54+09:00"}, {"2005:08:11 09:03:54+02:00"},
        true, true);
    row("same clock in another zone", {"2005:08:11 16:03:54+09:00"}, {"2005:08:11 16:03:54+02:00"},
        false, false);
    row("other date", {"2020:01:01 10:00:00"}, {"2020:01:02 10:00:00"}, false, false);
    row("spacing at the ends", {"Pentax "}, {"Pentax"}, false, true);
}

void ChangeReportTest::comparisonRules()
{
    QFETCH(QStringList, asked);
    QFETCH(QStringList, stored);
    QFETCH(bool, asAsked);
    QFETCH(bool, equivalent);
    QCOMPARE(ChangeComparison::storedAsAsked(asked, stored), asAsked);
    QCOMPARE(ChangeComparison::equivalent(asked, stored), equivalent);
}

void ChangeReportTest::warningsNameTheirTags()
{
    const QList<TagAssignment> assignments = assignmentsFrom(
        {"EXIF:DateTimeOriginal=yesterday", "IFD0:Orientation=Sideways", "XMP-dc:Title=x",
         "ISO=fast", "Foo:Bar=1", "XMP-tiff:Orientation=Sideways"});
    using ChangeComparison::assignmentsNamedBy;
    // The warning's group is family 1; a key of family 0 of that name is
    // still meant when no key has the warning's own group.
    QCOMPARE(assignmentsNamedBy("Invalid date/time (use YYYY:mm:dd HH:MM:SS[.ss][+/-HH:MM|Z]) in "
                                "ExifIFD:DateTimeOriginal (PrintConvInv)",
                                assignments),
             QList<qsizetype>{0});
    QCOMPARE(assignmentsNamedBy("Can't convert IFD0:Orientation (not in PrintConv)", assignments),
             QList<qsizetype>{1});
    QCOMPARE(assignmentsNamedBy("Not an integer for IFD0:ISO", assignments), QList<qsizetype>{3});
    QCOMPARE(assignmentsNamedBy("Tag 'Foo:Bar' is not defined", assignments), QList<qsizetype>{4});
    QCOMPARE(assignmentsNamedBy("ICC_Profile deleted. Image colors may be affected", assignments),
             QList<qsizetype>());
    QCOMPARE(ChangeComparison::withoutFileName("[minor] Writing large value for X - /a/b - c.jpg",
                                               "/a/b - c.jpg"),
             QStringLiteral("[minor] Writing large value for X"));
}

void ChangeReportTest::valuesAreComparedWithWhatTheFileHolds_data()
{
    // Each row sets its tags in one change; the first is the one looked at,
    // the others (when any) are written, so the new file replaces the
    // original. `stored` is what the file holds for the first tag
    // afterwards, read separately; no kind means it holds what was asked.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("change");
    QTest::addColumn<QString>("readKey");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("reason");
    const QString longKeyword(80, u'k');
    const auto row = [](const char *name, const char *file, QStringList change, const char *readKey,
                        int kind, QStringList stored, QString reason) {
        QTest::newRow(name) << QString::fromLatin1(file) << change << QString::fromLatin1(readKey)
                            << kind << stored << reason;
    };
    row("PDF keeps IPTC", "PDF.pdf", {"IPTC:Keywords=new", "XMP-dc:Title=ok"}, "IPTC:Keywords",
        int(Kind::notWritten), {"ExifTool", "Test", "XMP"},
        "This PDF file keeps IPTC:Keywords where ExifTool cannot write it, so it still holds its "
        "old value.");
    row("Orientation refused", "Canon.jpg", {"IFD0:Orientation=Sideways", "XMP-dc:Title=ok"},
        "IFD0:Orientation", int(Kind::refused), {"Horizontal (normal)"},
        "ExifTool did not accept “Sideways” for IFD0:Orientation: Can't convert IFD0:Orientation "
        "(not in PrintConv)");
    row("date refused", "Canon.jpg", {"DateTimeOriginal=yesterday", "XMP-dc:Title=ok"},
        "ExifIFD:DateTimeOriginal", int(Kind::refused), {"2003:12:04 06:46:52"},
        "ExifTool did not accept “yesterday” for DateTimeOriginal: Invalid date/time");
    row("ISO refused", "Canon.jpg", {"ISO=fast", "XMP-dc:Title=ok"}, "ExifIFD:ISO",
        int(Kind::refused), {"100"}, "Not an integer for IFD0:ISO");
    row("GPS refused", "Canon.jpg", {"GPSLatitude=north-ish", "XMP-dc:Title=ok"}, "GPS:GPSLatitude",
        int(Kind::refused), {}, "Error converting value for GPS:GPSLatitude");
    row("keyword shortened", "IPTC.jpg", {"IPTC:Keywords=alpha|" + longKeyword}, "IPTC:Keywords",
        int(Kind::shortened), {"alpha", QString(64, u'k')},
        "IPTC:Keywords was shortened to 64 bytes, the longest this format holds.");
    row("FNumber converted", "Canon.jpg", {"EXIF:FNumber=2.80"}, "ExifIFD:FNumber",
        int(Kind::converted), {"2.8"}, "ExifTool stored “2.80” for EXIF:FNumber as “2.8”.");
    row("MOV has no place", "QuickTime.mov", {"IPTC:Keywords=boats", "XMP-dc:Title=ok"},
        "IPTC:Keywords", int(Kind::notWritten), {},
        "This MOV file has no place for IPTC:Keywords.");
    row("HEIC has no place", "QuickTime.heic", {"IPTC:Keywords=boats", "XMP-dc:Title=ok"},
        "IPTC:Keywords", int(Kind::notWritten), {},
        "This HEIC file has no place for IPTC:Keywords.");
    row("several items, one value", "Canon.jpg", {"IFD0:Artist=Ann|Bob", "XMP-dc:Title=ok"},
        "IFD0:Artist", int(Kind::notWritten), {"Bob"},
        "IFD0:Artist holds one value, not a list, so only “Bob”");
    row("as asked", "Canon.jpg", {"IFD0:Orientation=Rotate 90 CW"}, "IFD0:Orientation", -1,
        {"Rotate 90 CW"}, QString());
}

void ChangeReportTest::valuesAreComparedWithWhatTheFileHolds()
{
    QFETCH(QString, file);
    QFETCH(QStringList, change);
    QFETCH(QString, readKey);
    QFETCH(int, kind);
    QFETCH(QStringList, stored);
    QFETCH(QString, reason);
    const QString target = copy(file);
    const QList<TagAssignment> assignments = assignmentsFrom(change);
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.changeTags(QUrl::fromLocalFile(target), assignments));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    const ChangeReport &report = *outcome.value;

    QCOMPARE(itemsOf(entryOf(target, readKey)), stored);
    const QString key = assignments.first().key;
    const std::optional<TagOutcome> tag = report.outcomeFor(key);
    if (kind < 0) {
        QVERIFY(!tag);
        QCOMPARE(report, ChangeReport{});
        return;
    }
    QVERIFY2(tag, qPrintable(key));
    QCOMPARE(int(tag->kind), kind);
    QCOMPARE(tag->storedItems, stored);
    QVERIFY2(tag->reason.startsWith(reason) || tag->reason.contains(reason),
             qPrintable(tag->reason));
    QCOMPARE(report.outcomes.size(), 1); // the other tags took as asked
    QCOMPARE(report.isComplete(), kind == int(Kind::converted));
    QCOMPARE(report.tagsNotWritten.contains(key), kind != int(Kind::converted));
    if (assignments.size() > 1)
        QCOMPARE(itemsOf(entryOf(target, QStringLiteral("XMP-dc:Title"))), QStringList{"ok"});
}

void ChangeReportTest::refusedValuesAloneLeaveTheFile()
{
    // Nothing of the change took because ExifTool refused the values: the
    // change fails with ExifTool's words and the file stays as it was.
    for (const char *file : {"Canon.jpg", "PDF.pdf"}) {
        const QString target = copy(QString::fromLatin1(file));
        const QByteArray before = digest(target);
        ExifToolService service(realBundle());
        const auto outcome =
            runTask(service.changeTags(QUrl::fromLocalFile(target),
                                       assignmentsFrom({"IFD0:Orientation=Sideways", "ISO=fast"})));
        QCOMPARE(outcome.errorMessage(),
                 QStringLiteral("Nothing was written to %1. Can't convert IFD0:Orientation (not in "
                                "PrintConv)\nNot an integer for IFD0:ISO")
                     .arg(QString::fromLatin1(file)));
        QCOMPARE(digest(target), before);
        QCOMPARE(filesIn(m_env->workPath()).filter(QStringLiteral(".tmp")), QStringList());
    }
}

void ChangeReportTest::fileModifyDateSetByTheUserIsKept()
{
    // The replacement keeps the original's date, except when the change
    // sets one: then the user's date wins.
    const QString target = copy(QStringLiteral("Canon.jpg"));
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.changeTags(
        QUrl::fromLocalFile(target),
        assignmentsFrom({"System:FileModifyDate=2020:01:01 10:00:00+00:00", "XMP-dc:Title=x"})));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(*outcome.value, ChangeReport{});
    QCOMPARE(QFileInfo(target).lastModified().toUTC(),
             QDateTime(QDate(2020, 1, 1), QTime(10, 0), Qt::UTC));

    const QDateTime before = QFileInfo(target).lastModified();
    QVERIFY(runTask(service.changeTags(QUrl::fromLocalFile(target),
                                       assignmentsFrom({"XMP-dc:Title=y"})))
                .succeeded());
    QCOMPARE(QFileInfo(target).lastModified(), before);
}

void ChangeReportTest::listsAreWrittenAndReadItemByItem()
{
    const QString target = copy(QStringLiteral("IPTC.jpg"));
    std::optional<MetadataEntry> keywords = entryOf(target, QStringLiteral("IPTC:Keywords"));
    QVERIFY(keywords);
    QVERIFY(keywords->isList); // ExifTool printed an array
    QCOMPARE(keywords->items, (QStringList{"ExifTool", "Test", "IPTC"}));
    keywords->setItems(keywords->items << QStringLiteral("Added, too"));

    ExifToolService service(realBundle());
    const QUrl url = QUrl::fromLocalFile(target);
    const auto written = runTask(service.writeMetadata(url, {*keywords}));
    QVERIFY2(written.succeeded(), qPrintable(written.errorMessage()));
    QCOMPARE(*written.value, ChangeReport{});
    QCOMPARE(itemsOf(entryOf(target, QStringLiteral("IPTC:Keywords"))),
             (QStringList{"ExifTool", "Test", "IPTC", "Added, too"}));

    // A list stored with items other than asked is reported item by item.
    const auto subject =
        runTask(service.changeTags(url, assignmentsFrom({"XMP-dc:Subject=alpha, beta|gamma|"})));
    QVERIFY2(subject.succeeded(), qPrintable(subject.errorMessage()));
    QCOMPARE(*subject.value, ChangeReport{});
    QCOMPARE(itemsOf(entryOf(target, QStringLiteral("XMP-dc:Subject"))),
             (QStringList{"alpha, beta", "gamma"}));

    // Emptied, the list is gone.
    std::optional<MetadataEntry> stored = entryOf(target, QStringLiteral("XMP-dc:Subject"));
    stored->setItems({});
    QVERIFY(runTask(service.writeMetadata(url, {*stored})).succeeded());
    QVERIFY(!entryOf(target, QStringLiteral("XMP-dc:Subject")));
}

void ChangeReportTest::unchangedListIsNeverRewritten()
{
    FakeExifToolBundle fake(m_env->workPath(), FakeScripts::successfulWrite());
    const QString target = makeImage(m_env->workPath(), QStringLiteral("photo.jpg"));
    ExifToolService service(fake.bundle());
    const QUrl url = QUrl::fromLocalFile(target);
    const MetadataEntry keywords =
        MetadataEntry::listEntry(QStringLiteral("IPTC:Keywords"), {"a, b", "c"});
    QVERIFY(runTask(service.writeMetadata(url, {keywords})).succeeded());
    QCOMPARE(fake.runCount(), 0);

    MetadataEntry title(QStringLiteral("XMP-dc:Title"), QStringLiteral("Old"));
    title.value = QStringLiteral("New");
    MetadataEntry subject = MetadataEntry::listEntry(QStringLiteral("XMP-dc:Subject"), {"x"});
    subject.setItems({"x", "y, z"});
    QVERIFY(runTask(service.writeMetadata(url, {keywords, title, subject})).succeeded());
    QStringList arguments = fake.lastWriteArguments();
    QCOMPARE(arguments.mid(3, arguments.size() - 4),
             (QStringList{"-XMP-dc:Title=New", "-XMP-dc:Subject=x", "-XMP-dc:Subject=y, z"}));

    // A list goes by its items, never by its display text: ", " inside an
    // item is never a place to split it.
    MetadataEntry typed = keywords;
    typed.value = QStringLiteral("a, b, d");
    const int runs = fake.runCount();
    QVERIFY(runTask(service.writeMetadata(url, {typed})).succeeded());
    QCOMPARE(fake.runCount(), runs);
    typed.setItems({"a, b", "d"});
    QVERIFY(runTask(service.writeMetadata(url, {typed})).succeeded());
    arguments = fake.lastWriteArguments();
    QCOMPARE(arguments.mid(3, arguments.size() - 4),
             (QStringList{"-IPTC:Keywords=a, b", "-IPTC:Keywords=d"}));
}

void ChangeReportTest::valuesWithARemovalThatDoesNotApply()
{
    // A preset's removals and values in one command: the PDF has no place
    // to delete its embedded IFD0:Model from, and no GPS; the value is
    // written all the same.
    const QString target = copy(QStringLiteral("PDF.pdf"));
    ExifToolService service(realBundle());
    const auto outcome = runTask(
        service.changeTags(QUrl::fromLocalFile(target),
                           assignmentsFrom({"GPS:all=", "IFD0:Model=", "XMP-dc:Rights=mine"})));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(outcome.value->tagsNotRemoved, QStringList{QStringLiteral("IFD0:Model")});
    QVERIFY(outcome.value->tagsNotWritten.isEmpty());
    QCOMPARE(outcome.value->outcomes.value(0).storedItems, QStringList{"FinePix2400Zoom"});
    QCOMPARE(itemsOf(entryOf(target, QStringLiteral("XMP-dc:Rights"))), QStringList{"mine"});

    // One command writes, one reads back; deletions go first.
    FakeExifToolBundle fake(m_env->workPath(), FakeScripts::successfulWrite());
    ExifToolService counted(fake.bundle());
    QVERIFY(runTask(counted.changeTags(QUrl::fromLocalFile(target),
                                       assignmentsFrom({"XMP-dc:Rights=mine", "GPS:all="})))
                .succeeded());
    QCOMPARE(fake.runCount(), 2);
    const QStringList arguments = fake.lastWriteArguments();
    QCOMPARE(arguments.mid(3), (QStringList{"-GPS:all=", "-XMP-dc:Rights=mine", target}));
}

void ChangeReportTest::exifTooLargeForAJpegIsRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<bool>("ignoreMinorErrors");
    QTest::addColumn<bool>("refused");
    QTest::newRow("one value, before writing")
        << "Canon.jpg" << QStringList{"IFD0:ImageDescription"} << 100000 << false << true;
    QTest::newRow("without a group")
        << "Canon.jpg" << QStringList{"ImageDescription"} << 70000 << false << true;
    QTest::newRow("together, when ExifTool splits")
        << "Canon.jpg" << QStringList{"IFD0:ImageDescription", "IFD0:Artist"} << 40000 << false
        << true;
    QTest::newRow("together, minor errors ignored")
        << "Canon.jpg" << QStringList{"IFD0:ImageDescription", "IFD0:Artist"} << 40000 << true
        << true;
    QTest::newRow("a TIFF has room")
        << "ExifTool.tif" << QStringList{"IFD0:ImageDescription"} << 100000 << false << false;
    QTest::newRow("XMP has room") << "Canon.jpg" << QStringList{"XMP-dc:Description"} << 100000
                                  << false << false;
}

void ChangeReportTest::exifTooLargeForAJpegIsRefused()
{
    QFETCH(QString, file);
    QFETCH(QStringList, keys);
    QFETCH(int, bytes);
    QFETCH(bool, ignoreMinorErrors);
    QFETCH(bool, refused);
    const QString target = copy(file);
    const QByteArray before = digest(target);
    QList<TagAssignment> assignments;
    for (const QString &key : keys)
        assignments.append({key, {QString(bytes, u'y')}});
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.changeTags(QUrl::fromLocalFile(target), assignments,
                                                    ChangeOptions{ignoreMinorErrors}));
    if (!refused) {
        QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
        QCOMPARE(*outcome.value, ChangeReport{});
        return;
    }
    QVERIFY_THROWS_EXCEPTION(ServiceError, outcome.rethrow());
    // A single value too large is refused before ExifTool runs at all.
    FakeExifToolBundle fake(m_env->workPath(), FakeScripts::successfulWrite());
    ExifToolService faked(fake.bundle());
    QVERIFY(runTask(faked.changeTags(QUrl::fromLocalFile(target), assignments)).error ||
            bytes < JpegExifLimit::longestValueBytes);
    QCOMPARE(fake.runCount() == 0, bytes > JpegExifLimit::longestValueBytes);
    QVERIFY2(outcome.errorMessage().contains(QStringLiteral("at most 64 KB")) &&
                 outcome.errorMessage().contains(QStringLiteral("XMP-dc:Description")),
             qPrintable(outcome.errorMessage()));
    QCOMPARE(digest(target), before);
    QCOMPARE(filesIn(m_env->workPath()).filter(file), QStringList{file});
    QCOMPARE(filesIn(m_env->workPath()).filter(QStringLiteral(".tmp")), QStringList());
}

void ChangeReportTest::minorErrorsAreToldAndCanBeIgnored()
{
    FakeExifToolBundle fake(m_env->workPath(), FakeScripts::minorErrorUnlessIgnored());
    const QString target =
        copyTestData(QStringLiteral("Canon.jpg"), m_env->workPath(), QStringLiteral("photo.jxl"));
    const QByteArray before = digest(target);
    ExifToolService service(fake.bundle());
    const QUrl url = QUrl::fromLocalFile(target);
    const QList<TagAssignment> change = assignmentsFrom({"XMP-dc:Title=T"});

    // Told in plain words with ExifTool's own, never ignored unasked; the
    // strip stops at once instead of trying ever shorter deletion lists.
    for (int strip = 0; strip < 2; ++strip) {
        const int runsBefore = fake.runCount();
        const QString message = strip ? runTask(service.removeAllMetadata(url)).errorMessage()
                                      : runTask(service.changeTags(url, change)).errorMessage();
        QCOMPARE(message,
                 QStringLiteral("ExifTool did not change “photo.jxl” because the file is a bare "
                                "JPEG XL image: to hold metadata it has to be put into a "
                                "container, which some older programs cannot open. It can make "
                                "the change anyway, ignoring this minor problem. (ExifTool: "
                                "“Will wrap JXL codestream in ISO BMFF container for writing”)"));
        // One write; a strip also reads the original meanwhile.
        QCOMPARE(fake.runCount(), runsBefore + 1 + strip);
        QVERIFY(!fake.lastWriteArguments().contains(QStringLiteral("-m")));
        QCOMPARE(digest(target), before);
    }
    try {
        runTask(service.changeTags(url, change)).rethrow();
        QFAIL("no minor error");
    } catch (const ServiceError &error) {
        QCOMPARE(error.kind(), ServiceError::Kind::minorError);
        QCOMPARE(error.fileName(), QStringLiteral("photo.jxl"));
        QCOMPARE(error.message(),
                 QStringLiteral("Will wrap JXL codestream in ISO BMFF container for writing"));
    }

    // Asked again with minor errors ignored, for this change only.
    QVERIFY(runTask(service.changeTags(url, change, ChangeOptions{true})).succeeded());
    QVERIFY(fake.lastWriteArguments().contains(QStringLiteral("-m")));
    QVERIFY(runTask(service.removeAllMetadata(url, ChangeOptions{true})).succeeded());
    QVERIFY(fake.lastWriteArguments().contains(QStringLiteral("-m")));
    QVERIFY(runTask(service.changeTags(url, change)).error);

    // A real error among minor ones is no minor error.
    fake.setBody(QStringLiteral("echo 'Error: [minor] a' >&2; echo 'Error: Not a valid JXL' >&2; "
                                "exit 1"));
    try {
        runTask(service.changeTags(url, change)).rethrow();
        QFAIL("no error");
    } catch (const ServiceError &error) {
        QCOMPARE(error.kind(), ServiceError::Kind::executionFailed);
    }
}

void ChangeReportTest::stripReports_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("removed");   // among the removed keys
    QTest::addColumn<QStringList>("remaining"); // among the remaining keys
    QTest::addColumn<QString>("warning");       // part of one of ExifTool's warnings
    QTest::newRow("CR2") << "CanonRaw.cr2" << QStringList{"XMP-dc:Title", "GPS:GPSLatitude"}
                         << QStringList{"IFD0:Make", "IFD0:Model", "ExifIFD:DateTimeOriginal"}
                         << "Can't delete IFD0 from CR2";
    QTest::newRow("CR3") << "CanonRaw.cr3" << QStringList{"XMP-dc:Title"}
                         << QStringList{"IFD0:Make", "Canon:LensModel", "QuickTime:CreateDate"}
                         << "Can't delete MakerNotes from CR3";
    QTest::newRow("PDF") << "PDF.pdf" << QStringList{"XMP-dc:Title"}
                         << QStringList{"IFD0:Make", "IPTC:By-line", "Photoshop:WriterName"}
                         << "Deleted tags may be recovered";
    QTest::newRow("JPEG") << "GPS.jpg" << QStringList{"GPS:GPSLatitude", "IFD0:Make"}
                          << QStringList() << QString();
    QTest::newRow("TIFF") << "ExifTool.tif" << QStringList{"XMP-dc:Title"}
                          << QStringList{"IFD0:Make"} << QString();
}

void ChangeReportTest::stripReports()
{
    QFETCH(QString, file);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, remaining);
    QFETCH(QString, warning);
    const QString target = copy(file);
    if (removed.contains(QStringLiteral("XMP-dc:Title")))
        runRealExifTool({QStringLiteral("-overwrite_original"), QStringLiteral("-XMP-dc:Title=x"),
                         QStringLiteral("-GPS:GPSLatitude=1"), target});
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.removeAllMetadata(QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    const StripReport &report = *outcome.value;

    QStringList reportedKeys;
    for (const MetadataEntry &entry : report.remaining)
        reportedKeys << entry.rawKey;
    for (const QString &key : removed)
        QVERIFY2(report.removed.contains(key), qPrintable(key));
    for (const QString &key : remaining)
        QVERIFY2(reportedKeys.contains(key), qPrintable(key));
    QCOMPARE(report.isComplete(), remaining.isEmpty());
    QCOMPARE(report.warnings.join(u'\n').contains(warning), true);

    // The report is what the file now holds: a separate read finds every
    // remaining tag it shows, and nothing more beyond what every file has.
    QStringList shownKeys;
    for (const MetadataEntry &entry : readEntries(target)) {
        if (!StripReport::isLeftOut(entry.rawKey))
            shownKeys << entry.rawKey;
    }
    QStringList reportedShown;
    for (const QString &key : std::as_const(reportedKeys)) {
        if (!MetadataEntry::hiddenGroups().contains(key.section(u':', 0, 0)))
            reportedShown << key;
    }
    QCOMPARE(reportedShown, shownKeys);
    for (const QString &key : std::as_const(report.removed))
        QVERIFY2(!reportedKeys.contains(key), qPrintable(key));

    // A strip after the window's read of the same version of the file
    // reports the same; one rewritten in place since, to the same size and
    // date, is read again.
    const bool titled = removed.contains(QStringLiteral("XMP-dc:Title"));
    for (const bool rewritten : {false, true}) {
        if (rewritten && !titled)
            break;
        const QString again =
            copyTestData(file, m_env->workPath(), QStringLiteral("again-") + file);
        if (titled)
            runRealExifTool(
                {"-overwrite_original", "-XMP-dc:Title=x", "-GPS:GPSLatitude=1", again});
        QVERIFY(runTask(service.readMetadata(QUrl::fromLocalFile(again))).succeeded());
        if (rewritten) {
            struct stat read {};
            QCOMPARE(::stat(QFile::encodeName(again).constData(), &read), 0);
            runRealExifTool({"-overwrite_original_in_place", "-XMP-dc:Title=y", again});
            const struct timespec times[2] = {read.st_atim, read.st_mtim};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(again).constData(), times, 0), 0);
            QCOMPARE(FileStamp::of(again), FileStamp::ofStatus(read));
        }
        const auto second = runTask(service.removeAllMetadata(QUrl::fromLocalFile(again)));
        QVERIFY2(second.succeeded(), qPrintable(second.errorMessage()));
        QCOMPARE(second.value->removed, report.removed);
        QCOMPARE(second.value->remaining.size(), report.remaining.size());
        if (!titled)
            continue;
        const auto title =
            std::find_if(second.value->entriesBefore.cbegin(), second.value->entriesBefore.cend(),
                         [](const MetadataEntry &entry) { return entry.rawKey == "XMP-dc:Title"; });
        QVERIFY(title != second.value->entriesBefore.cend());
        QCOMPARE(title->value, rewritten ? QStringLiteral("y") : QStringLiteral("x"));
    }
}

void ChangeReportTest::identifyingTagsComeFirst()
{
    QCOMPARE(StripReport::identifyingFirst(QStringList{
                 "ExifIFD:ExposureTime", "ExifIFD:DateTimeOriginal", "Canon:SerialNumber",
                 "IFD0:Make", "XMP-xmp:CreatorTool", "GPS:GPSLatitude", "IFD0:Model", "IFD0:Artist",
                 "IPTC:City", "Photoshop:WriterName", "Canon:OwnerName", "XMP-photoshop:Opacity"}),
             (QStringList{"IFD0:Artist", "Canon:OwnerName", "IFD0:Make", "IFD0:Model",
                          "Canon:SerialNumber", "GPS:GPSLatitude", "IPTC:City",
                          "ExifIFD:DateTimeOriginal", "ExifIFD:ExposureTime", "XMP-xmp:CreatorTool",
                          "Photoshop:WriterName", "XMP-photoshop:Opacity"}));
    // A tag that holds nothing names no one.
    const QList<MetadataEntry> ordered = StripReport::identifyingFirst(QList<MetadataEntry>{
        MetadataEntry("ExifIFD:ISO", "100"), MetadataEntry("Canon:OwnerName", ""),
        MetadataEntry("IFD0:Model", "EOS")});
    QCOMPARE(ordered.first().rawKey, QStringLiteral("IFD0:Model"));
    QCOMPARE(ordered.last().rawKey, QStringLiteral("Canon:OwnerName"));

    QVERIFY(StripReport::isLeftOut(QStringLiteral("System:FileSize")));
    QVERIFY(StripReport::isLeftOut(QStringLiteral("Track1:MediaTimeScale")));
    QVERIFY(StripReport::isLeftOut(QStringLiteral("IFD0:StripByteCounts")));
    QVERIFY(!StripReport::isLeftOut(QStringLiteral("Track1:TrackCreateDate")));
    QVERIFY(!StripReport::isLeftOut(QStringLiteral("IFD0:Make")));
}

QTEST_GUILESS_MAIN(ChangeReportTest)
#include "tst_ChangeReport.moc"
