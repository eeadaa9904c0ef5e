#include "MetaloomFeature/Engine/Dialect/ChangeReadBack.h"
#include "MetaloomFeature/Engine/Dialect/TagKeyRules.h"
#include "MetaloomFeature/Engine/Dialect/WriteArguments.h"
#include "MetaloomFeature/Engine/Dialect/WriteReport.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/FileSafety/FileChangeQueue.h"
#include "MetaloomFeature/Engine/FileSafety/FileReplacement.h"
#include "MetaloomFeature/Engine/ReadBack.h"
#include "MetaloomFeature/Engine/StripAll.h"
#include "RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QtConcurrent>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

MetadataEntry edited(const QString &key, const QString &original, const QString &value)
{
    MetadataEntry entry(key, original);
    entry.value = value;
    return entry;
}

QDateTime pastDate()
{
    return QDateTime(QDate(2019, 5, 17), QTime(8, 30, 15), Qt::UTC);
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

mode_t modeOf(const QString &path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

} // namespace

class MetadataWritingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // Argument lists and report checks, with a fake ExifTool.
    void writeArgumentsTakeOnlyModifiedEntries();
    void nothingToDoStartsNoProcess();
    void argumentLists();
    void stripArgumentsDependOnTheKindOfFile_data();
    void stripArgumentsDependOnTheKindOfFile();
    void reportCheck();
    void readBackPlan();
    void readBackMatching_data();
    void readBackMatching();
    void printedKeysNamedByFamilyOne();
    void readBackAnswers();
    void failedRunLeavesTheFileAlone();

    // The real ExifTool on real files.
    void writesAndKeepsDatesAndPermissions();
    void overridesAndRemovalsOnRealFiles();
    void changeThatTookNowhereKeepsTheFile();
    void removalsThatFindNothingChangeNothing();
    void stripAll_data();
    void stripAll();
    void stripTakesBackOnlyTheDeletionsExifToolAccepts();
    void iptcRoundTripKeepsNonLatinText();
    void unknownTagReportsNothingWritten();
    void oddFileNamesAreWritten();
    void symbolicLinkIsWrittenThrough();
    void readOnlyFileIsRefused();
    void readOnlyFolder();
    void newFileBesideKeepsPermissionsAndOwner();
    void inPlaceRewriteKeepsTheFile();
    void vanishedFile();
    void foldersAndRemoteAddressesAreRefused();
    void changeByAnotherProgramIsNotOverwritten();
    void changeDuringTheCopyIsNotOverwritten();
    void changesOfOneFileWaitForEachOther();
    void tagKeyRules_data();
    void tagKeyRules();

private:
    QString makeImage(const QString &name) { return Testing::makeImage(m_env->workPath(), name); }
    QString exifToolTmp() const { return privateFolderOf(*m_env); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakeExifToolBundle> m_fake;
};

void MetadataWritingTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_fake =
        std::make_unique<FakeExifToolBundle>(m_env->workPath(), FakeScripts::successfulWrite());
}

void MetadataWritingTest::cleanup()
{
    // Leave nothing read-only behind for the folder removal.
    if (::geteuid() == 0 && QFileInfo::exists(m_env->workPath() + QStringLiteral("/locked")))
        QProcess::execute("chattr", {"-i", m_env->workPath() + "/locked"});
    for (const QString &folder : {m_env->workPath(), m_env->workPath() + QStringLiteral("/locked")})
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    m_fake.reset();
    m_env.reset();
}

void MetadataWritingTest::writeArgumentsTakeOnlyModifiedEntries()
{
    const QString target = makeImage("photo.jpg");
    ExifToolService service(m_fake->bundle());
    const QList<MetadataEntry> entries{
        MetadataEntry("IFD0:Make", "Canon"),
        edited("XMP-dc:Title", "Old", "New, with \"quotes\"\nand a line"),
        MetadataEntry("IFD0:Model", "X")};
    const auto outcome = runTask(service.writeMetadata(QUrl::fromLocalFile(target), entries));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QVERIFY(outcome.value->isComplete());

    const QStringList arguments = m_fake->lastWriteArguments();
    QCOMPARE(arguments.size(), 5);
    QCOMPARE(arguments.at(0), QStringLiteral("-P"));
    QCOMPARE(arguments.at(1), QStringLiteral("-o"));
    // Written beside the target, so that only a rename is left to do.
    QCOMPARE(QFileInfo(arguments.at(2)).absolutePath(), m_env->workPath());
    QVERIFY(FileReplacement::isTemporaryNeighbourName(QFileInfo(arguments.at(2)).fileName()));
    QCOMPARE(arguments.at(3), QStringLiteral("-XMP-dc:Title=New, with \"quotes\"\nand a line"));
    QCOMPARE(arguments.at(4), target);
    QCOMPARE(filesIn(exifToolTmp()), QStringList()); // output moved into place, backup gone

    // An entry cleared by the user deletes the tag.
    QVERIFY(runTask(service.writeMetadata(QUrl::fromLocalFile(target),
                                          {edited("IFD0:Artist", "A", QString())}))
                .succeeded());
    QCOMPARE(m_fake->lastWriteArguments().at(3), QStringLiteral("-IFD0:Artist="));
}

void MetadataWritingTest::nothingToDoStartsNoProcess()
{
    const QString target = makeImage("photo.jpg");
    ExifToolService service(m_fake->bundle());
    const QUrl url = QUrl::fromLocalFile(target);
    QVERIFY(runTask(service.writeMetadata(url, {MetadataEntry("IFD0:Make", "Canon")})).succeeded());
    QVERIFY(runTask(service.writeMetadata(url, {})).succeeded());
    QVERIFY(runTask(service.applyOverrides({}, url)).succeeded());
    QVERIFY(runTask(service.removeMetadata({}, url)).succeeded());
    QCOMPARE(m_fake->runCount(), 0);
    QVERIFY(!QFileInfo::exists(exifToolTmp()));
}

void MetadataWritingTest::argumentLists()
{
    // Keys in ascending order, one argument each; IPTC text that is not
    // ASCII asks for UTF-8, the group matched in any letter case.
    const QMap<QString, QString> overrides{
        {"XMP-dc:Title", "T"}, {"EXIF:Artist", "A"}, {"iptc:City", "Zürich"}};
    QCOMPARE(WriteArguments::forOverrides(overrides, "/o.jpg", "/t.jpg").mid(3),
             (QStringList{"-EXIF:Artist=A", "-XMP-dc:Title=T", "-iptc:City=Zürich",
                          "-IPTC:CodedCharacterSet=UTF8", "/t.jpg"}));
    QCOMPARE(
        WriteArguments::forRemovals({"IFD0:Software", "ExifIFD:UserComment"}, "/o", "/t").mid(3),
        (QStringList{"-ExifIFD:UserComment=", "-IFD0:Software=", "/t"}));
    QVERIFY(!WriteArguments::needsUtf8Iptc({{"IPTC:City", "Paris"}, {"XMP-dc:Title", "Café"}}));

    // One change: deletions first, each item its own argument, empty items
    // left out, "-m" only when asked.
    const QList<TagAssignment> change{
        {"IPTC:Keywords", {"a, b", "", "Zürich"}}, {"GPS:all", {}}, {"XMP-dc:Title", {"T"}}};
    QCOMPARE(WriteArguments::forChange(change, "/o.jpg", "/t.jpg"),
             (QStringList{"-P", "-o", "/o.jpg", "-GPS:all=", "-IPTC:Keywords=a, b",
                          "-IPTC:Keywords=Zürich", "-XMP-dc:Title=T",
                          "-IPTC:CodedCharacterSet=UTF8", "/t.jpg"}));
    QCOMPARE(WriteArguments::forChange({{"GPS:all", {}}}, "/o", "/t", ChangeOptions{true}),
             (QStringList{"-P", "-m", "-o", "/o", "-GPS:all=", "/t"}));
    QCOMPARE(WriteArguments::forRemoveAll("/o", "/t.mov", {}, ChangeOptions{true}).mid(2),
             (QStringList{"-unsafe", "-P", "-m", "-o", "/o", "/t.mov"}));

    // A deletion by name is needless only where no tag of that name is held,
    // in any group and letter case; the deletions of groups always stay.
    QCOMPARE(
        WriteArguments::needlessStripDeletions("/t.jpg", {"IFD0:Make", "APP14:DCTEncodeVersion"}),
        (QStringList{"-thumbnailimage=", "-previewimage="}));
    QCOMPARE(WriteArguments::needlessStripDeletions("/t.tif", {"IFD1:ThumbnailImage"}),
             QStringList{"-previewimage="});
    QCOMPARE(WriteArguments::needlessStripDeletions("/t.jpg",
                                                    {"MPF0:previewimage", "IFD1:ThumbnailImage"}),
             QStringList());
    QCOMPARE(WriteArguments::needlessStripDeletions("/t.cr2", {}), QStringList());
}

void MetadataWritingTest::stripArgumentsDependOnTheKindOfFile_data()
{
    const QStringList careful{"-all=", "-icc_profile:all=", "-unsafe", "-P", "-o"};
    const QStringList thorough{
        "-all=",       "-thumbnailimage=", "-previewimage=", "-APP1:all=",        "-APP12:all=",
        "-APP13:all=", "-APP14:all=",      "-Adobe:all=",    "-icc_profile:all=", "-P",
        "-o"};
    // A raw file's previews are part of the image: they stay.
    QStringList raw = thorough;
    raw.removeOne("-thumbnailimage=");
    raw.removeOne("-previewimage=");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("arguments");
    for (const char *name : {"clip.MOV", "clip.mp4", "photo.heic", "photo.HEIF", "song.mp3"})
        QTest::newRow(name) << QString::fromLatin1(name) << careful;
    for (const char *name : {"photo.jpg", "photo.png", "photo.tif", "data.zzqx", "README"})
        QTest::newRow(name) << QString::fromLatin1(name) << thorough;
    for (const char *name : {"raw.CR2", "raw.dng", "raw.nef"})
        QTest::newRow(name) << QString::fromLatin1(name) << raw;
}

void MetadataWritingTest::stripArgumentsDependOnTheKindOfFile()
{
    QFETCH(QString, name);
    QFETCH(QStringList, arguments);
    QCOMPARE(WriteArguments::forRemoveAll(QStringLiteral("/o"), name),
             arguments << QStringLiteral("/o") << name);
}

void MetadataWritingTest::reportCheck()
{
    const auto check = [](const QByteArray &out, const QString &err) {
        WriteReport::verifyFilesCreated(CommandOutput{out, err}, "f.png", {"b", "a"});
    };
    check("    1 image files created\n", QString());
    check("\t 1 image files created \t\n    0 image files unchanged\n", QString());
    try {
        check("    0 image files created\n    1 image files unchanged\n",
              "Warning: Sorry, X is not writable\n  Warning:   second one\t\nnoise");
        QFAIL("expected nothingWritten");
    } catch (const ServiceError &error) {
        QCOMPARE(error.kind(), ServiceError::Kind::nothingWritten);
        QCOMPARE(error.fileName(), QStringLiteral("f.png"));
        QCOMPARE(error.tags(), (QStringList{"b", "a"}));
        QCOMPARE(error.warning(), (QStringList{"Sorry, X is not writable", "second one"}));
    }
    QVERIFY_THROWS_EXCEPTION(ServiceError, check("    0 image files created\n", QString()));
    QVERIFY_THROWS_EXCEPTION(ServiceError, check("many image files created\n", QString()));
    QVERIFY_THROWS_EXCEPTION(ServiceError, check("1 image files copied\n", QString()));
    QVERIFY_THROWS_EXCEPTION(ServiceError, check("\xff\xfe 1 image files created", QString()));
    QCOMPARE(WriteReport::warningLines(QStringLiteral("warning: lower\nWarning:x")),
             QStringList{QStringLiteral("x")});

    const WriteReport::FileCounts counts = WriteReport::filesReported(
        {"    1 image files copied\n    2 image files created\n", QString()});
    QCOMPARE(counts.created, 2);
    QCOMPARE(counts.copied, 1);
}

void MetadataWritingTest::readBackPlan()
{
    // One command for every key whose answers can be told apart; a raw
    // value of a tag also asked printed, a shortcut and "all" alone get one
    // of their own (ExifTool would print the tag once, or under other names).
    const ChangeReadBack::Plan plan =
        ChangeReadBack::planFor({"EXIF:Artist", "Title", "GPS:all", "ExposureTime#",
                                 "exif:exposuretime", "AllDates", "IFD0:Make#", "Title", "all"});
    QCOMPARE(plan.commands, (QList<QStringList>{{"EXIF:Artist", "Title", "GPS:all",
                                                 "exif:exposuretime", "IFD0:Make#"},
                                                {"ExposureTime#"},
                                                {"AllDates"},
                                                {"all"}}));
    QCOMPARE(ChangeReadBack::arguments(ChangeReadBack::planFor({"EXIF:Artist", "AllDates"}),
                                       {"/a.jpg", "/n.jpg"}),
             (QStringList{"-ExifTool:Warning", "-EXIF:Artist", "-execute", "-AllDates",
                          "-common_args", "-json", "-a", "-G0:1:2:4", "/a.jpg", "/n.jpg"}));

    // Maker notes, and composite tags, are skipped only where no key may be
    // answered there.
    QCOMPARE(
        ChangeReadBack::arguments(ChangeReadBack::planFor({"XMP-dc:Title"}), {"/n.jpg"}, {}, true)
            .mid(5),
        (QStringList{"-G0:1:2:4", "-fast2", "-e", "/n.jpg"}));
    struct Skips {
        QStringList keys;
        bool makerNotes;
        bool composite;
    };
    const QList<Skips> skips{
        {{"XMP-dc:Title", "EXIF:Artist", "IFD0:Make#", "IPTC:Keywords"}, true, true},
        {{"GPS:all"}, true, false},
        {{"IFD1:ThumbnailImage"}, true, false}, // a composite in IFD1's name
        {{"System:FileModifyDate", "XMP:Subject", "ExifIFD:DateTimeOriginal"}, true, true},
        {{"XMP-dc:Title", "Title"}, false, false}, // no group: may be a maker note's, or made
        {{"Canon:SerialNumber"}, false, false},    // a maker note's own
        {{"MakerNotes:all"}, false, false},
        {{"QuickTime:CreateDate", "Keys:Title"}, false, true},
        {{"Composite:LensID"}, false, false}, // made from maker notes
        {{"Author:Artist"}, false, false},    // family 2 spans maker notes and composites
        {{"Location:GPSPosition"}, false, false},
        {{"all:GPSPosition"}, false, false},
        {{"MPF0:all"}, false, false}, // after the image
        {{}, false, false}};
    for (const Skips &row : skips) {
        QVERIFY2(ChangeReadBack::readsWithoutMakerNotes(row.keys) == row.makerNotes,
                 qPrintable(row.keys.join(QLatin1Char(' '))));
        QVERIFY2(ChangeReadBack::readsWithoutCompositeTags(row.keys) == row.composite,
                 qPrintable(row.keys.join(QLatin1Char(' '))));
    }
}

void MetadataWritingTest::readBackMatching_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<bool>("answers");
    const auto row = [](const char *asked, const char *printed, bool answers) {
        QTest::addRow("%s %s", asked, printed)
            << QString::fromLatin1(asked) << QString::fromLatin1(printed) << answers;
    };
    row("EXIF:Artist", "EXIF:IFD0:Author:Artist", true);   // family 0
    row("IFD0:Artist", "EXIF:IFD0:Author:Artist", true);   // family 1
    row("Author:Artist", "EXIF:IFD0:Author:Artist", true); // family 2
    row("1IFD0:artist", "EXIF:IFD0:Author:Artist", true);  // family number, letter case
    row("Artist", "EXIF:IFD0:Author:Artist", true);        // no group
    row("ExposureTime#", "EXIF:ExifIFD:Image:ExposureTime", true);
    row("XMP:XMP-dc:Title", "XMP:XMP-dc:Other:Title", true); // two groups
    row("GPS:all", "EXIF:GPS:Location:GPSLatitude", true);
    row("IFD1:Artist", "EXIF:IFD0:Author:Artist", false);
    row("Artist", "EXIF:IFD0:Author:Artists", false);
    row("GPS:all", "EXIF:IFD0:Camera:Make", false);
    row("Artist:Artist", "EXIF:IFD0:Author:Artist", false); // a tag name is no group
    row("Canon:FNumber", "MakerNotes:Canon:Image:Copy1:FNumber", true);
}

void MetadataWritingTest::readBackMatching()
{
    QFETCH(QString, asked);
    QFETCH(QString, printed);
    QFETCH(bool, answers);
    QCOMPARE(ChangeReadBack::answers(asked, printed), answers);
}

void MetadataWritingTest::printedKeysNamedByFamilyOne()
{
    const QList<QPair<QString, QString>> rows{
        {"EXIF:IFD0:Camera:Make", "IFD0:Make"},
        {"IPTC:Other:Keywords", "IPTC:Keywords"}, // families 0 and 1 printed once
        {"MakerNotes:Canon:Image:Copy1:FNumber", "Canon:FNumber"},
        {"XMP:Other:Copy2:Subject", "XMP:Subject"},
        {"Title", "Title"},
    };
    for (const auto &[printed, expected] : rows)
        QCOMPARE(ChangeReadBack::familyOneKey(printed), expected);
}

void MetadataWritingTest::readBackAnswers()
{
    // Each printed tag belongs to every key it answers; a command of its own
    // gives its key everything it printed; numbers keep ExifTool's text.
    const ChangeReadBack::Plan plan =
        ChangeReadBack::planFor({"EXIF:Artist", "IPTC:Keywords", "XMP-dc:Title", "AllDates"});
    const QByteArray output =
        "[{\"SourceFile\": \"a]\\\"[.jpg\", \"EXIF:IFD0:Author:Artist\": \"Old\", "
        "\"ExifTool:Warning\": \"[minor] old\"},\n"
        " {\"SourceFile\": \"n.jpg\", \"EXIF:IFD0:Author:Artist\": \"Ann\", "
        "\"XMP:XMP-dc:Other:Title\": [\"}\", 0.010], \"ExifTool:Warning\": \"w\"}]\n"
        "[{\"SourceFile\": \"a.jpg\"},\n"
        " {\"SourceFile\": \"n.jpg\", \"EXIF:ExifIFD:Time:CreateDate\": \"2020:01:01 10:00:00\","
        " \"EXIF:IFD0:Time:ModifyDate\": \"2020:01:01 10:00:00\"}]\n";
    QList<ChangeReadBack::FileAnswers> files;
    try {
        files = ChangeReadBack::answersFrom(plan, output, 2);
    } catch (const Error &error) {
        QFAIL(qPrintable(error.localizedDescription()));
    }
    QCOMPARE(files.size(), 2);
    const ChangeReadBack::Answers answers = ChangeReadBack::combine(files.at(1), files.at(0));
    using Tag = ChangeReadBack::PrintedTag;
    QCOMPARE(answers.byKey.value("EXIF:Artist").before,
             (QList<Tag>{{"EXIF:IFD0:Author:Artist", {"Old"}}}));
    QCOMPARE(answers.byKey.value("EXIF:Artist").after,
             (QList<Tag>{{"EXIF:IFD0:Author:Artist", {"Ann"}}}));
    QCOMPARE(answers.byKey.value("XMP-dc:Title").after,
             (QList<Tag>{{"XMP:XMP-dc:Other:Title", {"}", "0.010"}}}));
    QVERIFY(answers.byKey.contains("IPTC:Keywords"));
    QCOMPARE(answers.byKey.value("IPTC:Keywords").before, QList<Tag>());
    QCOMPARE(answers.byKey.value("IPTC:Keywords").after, QList<Tag>());
    QCOMPARE(answers.byKey.value("AllDates").after.size(), 2);
    QCOMPARE(answers.originalWarnings, QStringList{"[minor] old"});
    QCOMPARE(answers.newWarnings, QStringList{"w"});
    QVERIFY(answers.originalRead);
    QVERIFY(answers.byKey.value("IPTC:Keywords").beforeRead);
    QVERIFY(!ChangeReadBack::combine(files.at(1), std::nullopt).originalRead);
    QVERIFY(
        !ChangeReadBack::combine(files.at(1), std::nullopt).byKey.value("EXIF:Artist").beforeRead);

    // An answer missing, or one for another number of files, is no answer.
    QVERIFY_THROWS_EXCEPTION(ServiceError, ChangeReadBack::answersFrom(plan, output.left(200), 2));
    QVERIFY_THROWS_EXCEPTION(ServiceError, ChangeReadBack::answersFrom(plan, output, 1));
}

void MetadataWritingTest::failedRunLeavesTheFileAlone()
{
    const QString target = makeImage("photo.jpg");
    const QByteArray before = digest(target);
    m_fake->setBody("echo 'Error: something broke' >&2; exit 1");
    ExifToolService service(m_fake->bundle());
    QCOMPARE(runTask(service.removeAllMetadata(QUrl::fromLocalFile(target))).errorMessage(),
             QStringLiteral("ExifTool reported an error: Error: something broke"));
    QCOMPARE(digest(target), before);

    m_fake->setExecutable(false);
    QVERIFY(runTask(service.removeAllMetadata(QUrl::fromLocalFile(target))).error);
    QCOMPARE(digest(target), before);
}

void MetadataWritingTest::writesAndKeepsDatesAndPermissions()
{
    const QString name = "photo.jpg";
    const QString target = makeImage(name);
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0600) == 0);
    setModified(target, pastDate());

    ExifToolService service(realBundle());
    const QList<MetadataEntry> entries{
        edited("XMP-dc:Title", QString(), "Sunset at \"Pier 7\""),
        edited("XMP-dc:Description", QString(), "Zwei Zeilen,\nmit Ümlaut; 日本"),
        MetadataEntry("XMP-dc:Rights", QString())};
    const auto outcome = runTask(service.writeMetadata(QUrl::fromLocalFile(target), entries));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(*outcome.value, ChangeReport{});

    const QHash<QString, QString> values = valuesOf(target);
    QCOMPARE(values.value(QStringLiteral("XMP-dc:Title")), QStringLiteral("Sunset at \"Pier 7\""));
    QCOMPARE(values.value(QStringLiteral("XMP-dc:Description")),
             QStringLiteral("Zwei Zeilen,\nmit Ümlaut; 日本"));
    QVERIFY(!values.contains("XMP-dc:Rights"));
    QCOMPARE(QFileInfo(target).lastModified().toUTC(), pastDate());
    QCOMPARE(modeOf(target), mode_t(0600));
    QCOMPARE(filesIn(m_env->workPath()), QStringList{name}); // no stray temporary file
}

void MetadataWritingTest::overridesAndRemovalsOnRealFiles()
{
    const QString target = copyTestData("Canon.jpg", m_env->workPath());
    ExifToolService service(realBundle());
    const QUrl url = QUrl::fromLocalFile(target);
    // A family-0 group is read back under the family-1 group ExifTool chose.
    const auto set = runTask(
        service.applyOverrides({{"XMP-photoshop:Credit", "Studio"}, {"EXIF:Artist", "Ann"}}, url));
    QVERIFY2(set.succeeded(), qPrintable(set.errorMessage()));
    QCOMPARE(*set.value, ChangeReport{});
    QHash<QString, QString> values = valuesOf(target);
    QCOMPARE(values.value(QStringLiteral("XMP-photoshop:Credit")), QStringLiteral("Studio"));
    QCOMPARE(values.value(QStringLiteral("IFD0:Artist")), QStringLiteral("Ann"));
    QCOMPARE(values.value(QStringLiteral("IFD0:Make")), QStringLiteral("Canon"));

    // A composite tag cannot be deleted; the rest of the removal still goes.
    const auto removed =
        runTask(service.removeMetadata({"IFD0:Artist", "IFD0:Make", "Composite:ImageSize"}, url));
    QVERIFY2(removed.succeeded(), qPrintable(removed.errorMessage()));
    QCOMPARE(removed.value->tagsNotRemoved, QStringList{QStringLiteral("Composite:ImageSize")});
    values = valuesOf(target);
    QVERIFY(!values.contains("IFD0:Artist"));
    QVERIFY(!values.contains("IFD0:Make"));
    QCOMPARE(values.value(QStringLiteral("XMP-photoshop:Credit")), QStringLiteral("Studio"));
    QCOMPARE(values.value(QStringLiteral("IFD0:Model")), QStringLiteral("Canon EOS DIGITAL REBEL"));

    // A read-back finds an embedded picture, which ExifTool makes as it
    // makes composite tags: a thumbnail that stayed is never taken for gone.
    const QString withThumbnail = makeImage("thumbnailed.jpg");
    int status = -1;
    runRealExifTool(
        {"-overwrite_original", "-ThumbnailImage<=" + makeImage("thumbnail.jpg"), withThumbnail},
        &status);
    QCOMPARE(status, 0);
    const auto thumbnail =
        runTask(ChangeReadBack::read(realBundle(), {"IFD1:ThumbnailImage"}, {withThumbnail}));
    QVERIFY2(thumbnail.succeeded(), qPrintable(thumbnail.errorMessage()));
    QCOMPARE(thumbnail.value->first().byKey.value("IFD1:ThumbnailImage").size(), 1);
}

void MetadataWritingTest::changeThatTookNowhereKeepsTheFile()
{
    // ExifTool reports a new file, yet none of the tags asked for is in it.
    const QString target = makeImage("photo.jpg");
    const FileStamp before = FileStamp::of(target);
    m_fake->setBody(FakeScripts::successfulWrite() +
                    QStringLiteral("\n: > \"$(dirname \"$0\")/set-tags.txt\""));
    ExifToolService service(m_fake->bundle());
    const auto outcome =
        runTask(service.applyOverrides({{"XMP-dc:Title", "T"}}, QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(outcome.value->tagsNotWritten, QStringList{QStringLiteral("XMP-dc:Title")});
    QCOMPARE(FileStamp::of(target), before);
    QCOMPARE(filesIn(exifToolTmp()), QStringList());
}

void MetadataWritingTest::removalsThatFindNothingChangeNothing()
{
    // A "remove GPS" preset on a photo without GPS: nothing to do is success.
    const QString target = copyTestData("Canon.jpg", m_env->workPath());
    const FileStamp before = FileStamp::of(target);
    ExifToolService service(realBundle());
    const auto outcome =
        runTask(service.removeMetadata({"GPS:all", "IFD0:Artist"}, QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(*outcome.value, ChangeReport{});
    QCOMPARE(FileStamp::of(target), before); // not even replaced by a copy

    // A tag that is there but cannot be removed is named, with ExifTool's
    // words, and the file stays as it is.
    const auto refused =
        runTask(service.removeMetadata({"File:FileType"}, QUrl::fromLocalFile(target)));
    QVERIFY2(refused.succeeded(), qPrintable(refused.errorMessage()));
    QCOMPARE(refused.value->tagsNotRemoved, QStringList{QStringLiteral("File:FileType")});
    const TagOutcome kept = refused.value->outcomes.value(0);
    QCOMPARE(kept.kind, TagOutcome::Kind::notRemoved);
    QCOMPARE(kept.storedItems, QStringList{QStringLiteral("JPEG")});
    QVERIFY2(kept.reason.contains("isn't writable"), qPrintable(kept.reason));
    QCOMPARE(FileStamp::of(target), before);
}

void MetadataWritingTest::stripAll_data()
{
    // "gone" names tags the strip must remove; none means nothing to strip.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("gone");
    const auto row = [](const char *file, const char *name, QStringList gone) {
        QTest::newRow(name) << QString::fromUtf8(file) << QString::fromUtf8(name) << gone;
    };
    // One row for each list (thorough, careful, raw) and each way the strip
    // can go: other formats of the same list fail alike.
    row("GPS.jpg", "GPS.jpg", {"GPS:GPSLatitude", "IFD0:Make"});
    row("QuickTime.mov", "QuickTime.mov", {"UserData:Information"});
    row("CanonRaw.cr2", "CanonRaw.cr2", {"XMP-dc:Title", "GPS:GPSLatitude"});
    // Named like a plain TIFF, the raw gets the full list, which ExifTool
    // refuses for its thumbnail; the strip goes on without the previews.
    row("CanonRaw.cr2", "raw.tif", {"XMP-dc:Title", "GPS:GPSLatitude"});
    // Nothing the careful list can strip: the file stays exactly as it is.
    row("QuickTime.heic", "QuickTime.heic", {});
}

void MetadataWritingTest::stripAll()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QStringList, gone);
    const QString target = copyTestData(file, m_env->workPath(), name);
    if (file.startsWith("CanonRaw"))
        runRealExifTool({"-overwrite_original", "-XMP-dc:Title=x", "-GPS:GPSLatitude=1", target});
    const QList<MetadataEntry> before = readEntries(target);
    const QByteArray digestBefore = digest(target);
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.removeAllMetadata(QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));

    const QList<MetadataEntry> after = readEntries(target);
    QVERIFY(!after.isEmpty()); // still a readable file of the same type
    for (const MetadataEntry &entry : after)
        QVERIFY2(!gone.contains(entry.rawKey),
                 qPrintable(entry.rawKey + QStringLiteral(" survived")));
    if (gone.isEmpty())
        QCOMPARE(digest(target), digestBefore);
    else
        QVERIFY(after.size() < before.size());
    // Previews and image directories the format needs are intact.
    const QString validation =
        QString::fromUtf8(runRealExifTool({"-validate", "-warning", "-a", target}));
    for (const QString &line : validation.split(QLatin1Char('\n'))) {
        QVERIFY2(!line.startsWith("Warning") || line.contains("wrong extension"),
                 qPrintable(validation));
    }
    QCOMPARE(filesIn(m_env->workPath()), QStringList{name}); // no attempt's file beside it
}

void MetadataWritingTest::stripTakesBackOnlyTheDeletionsExifToolAccepts()
{
    // ExifTool refuses any list that deletes the thumbnail: the strip goes on
    // with every other deletion, and the refused one stays left out.
    const QString target = makeImage("photo.jpg");
    m_fake->setBody(QStringLiteral("for a in \"$@\"; do [ \"$a\" = -thumbnailimage= ] && "
                                   "{ echo 'Error: refused' >&2; exit 1; }; done\n") +
                    FakeScripts::successfulWrite());
    ExifToolService service(m_fake->bundle());
    const auto outcome = runTask(service.removeAllMetadata(QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    const QStringList arguments = m_fake->lastWriteArguments();
    QVERIFY2(arguments.contains("-APP14:all="), qPrintable(arguments.join(' ')));
    QVERIFY(arguments.contains("-icc_profile:all="));
    QVERIFY(!arguments.contains("-thumbnailimage="));
    QVERIFY(!arguments.contains("-previewimage=")); // its group went with it
    QCOMPARE(filesIn(m_env->workPath()).filter(QStringLiteral(".tmp")), QStringList());
}

void MetadataWritingTest::iptcRoundTripKeepsNonLatinText()
{
    const QString target = copyTestData("IPTC.jpg", m_env->workPath());
    ExifToolService service(realBundle());
    const QString text = "Café 日本";
    QVERIFY(runTask(service.writeMetadata(QUrl::fromLocalFile(target),
                                          {edited("IPTC:Caption-Abstract", QString(), text)}))
                .succeeded());
    QCOMPARE(valueOf(target, QStringLiteral("IPTC:Caption-Abstract")), text);
}

void MetadataWritingTest::unknownTagReportsNothingWritten()
{
    const QString target = makeImage("beach.png");
    const QByteArray before = digest(target);
    ExifToolService service(realBundle());
    const auto outcome =
        runTask(service.applyOverrides({{"Foo:Bar", "1"}}, QUrl::fromLocalFile(target)));
    QCOMPARE(outcome.errorMessage(),
             QStringLiteral("Nothing was written to beach.png. Tag 'Foo:Bar' is not defined"));
    QCOMPARE(digest(target), before);
}

void MetadataWritingTest::oddFileNamesAreWritten()
{
    ExifToolService service(realBundle());
    // The last three are as long as a name can be (250 to 255 bytes), the
    // last one with an extension too long for a name of its own.
    for (const QString &name :
         QStringList{"-P.jpg", "a \"b\" 'c'.jpg", "line\nbreak.jpg", "Ärger 写真.jpg",
                     "$(touch pwned) & ; |.jpg", "noextension", QString(246, u'a') + ".jpg",
                     QString(125, u'é') + "x.jpg", "a." + QString(253, u'b')}) {
        const QString target = copyTestData("Canon.jpg", m_env->workPath(), name);
        const auto outcome =
            runTask(service.applyOverrides({{"IFD0:Artist", name}}, QUrl::fromLocalFile(target)));
        QVERIFY2(outcome.succeeded(),
                 qPrintable(name + QStringLiteral(": ") + outcome.errorMessage()));
        QCOMPARE(valueOf(target, QStringLiteral("IFD0:Artist")), name);
    }
    QVERIFY(!QFile::exists(m_env->workPath() + QStringLiteral("/pwned")));
    QCOMPARE(filesIn(m_env->workPath()).size(), 9); // no stray copy beside any of them
}

void MetadataWritingTest::symbolicLinkIsWrittenThrough()
{
    QDir(m_env->workPath()).mkdir("real");
    const QString real = copyTestData("Canon.jpg", m_env->workPath() + QStringLiteral("/real"));
    const QString link = m_env->workPath() + QStringLiteral("/link.jpg");
    QVERIFY(QFile::link(real, link));
    ExifToolService service(realBundle());
    QVERIFY(
        runTask(service.applyOverrides({{"IFD0:Artist", "Via link"}}, QUrl::fromLocalFile(link)))
            .succeeded());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), real);
    QCOMPARE(valueOf(real, QStringLiteral("IFD0:Artist")), QStringLiteral("Via link"));
    QCOMPARE(filesIn(m_env->workPath()), QStringList{QStringLiteral("link.jpg")});
}

void MetadataWritingTest::readOnlyFileIsRefused()
{
    const QString target = copyTestData("Canon.jpg", m_env->workPath());
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0444) == 0);
    const QByteArray before = digest(target);
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.removeAllMetadata(QUrl::fromLocalFile(target)));
    QVERIFY(outcome.error);
    QVERIFY2(outcome.errorMessage().contains("Canon.jpg"), qPrintable(outcome.errorMessage()));
    QCOMPARE(digest(target), before);
    QCOMPARE(modeOf(target), mode_t(0444));
}

void MetadataWritingTest::readOnlyFolder()
{
    // A writable file in a folder that takes no new files: ExifTool writes
    // into the temporary folder and the file is rewritten in place, the
    // same file. Root ignores the folder's permission bits, so there the
    // folder is made immutable instead.
    const QString folder = m_env->workPath() + QStringLiteral("/locked");
    QDir().mkpath(folder);
    const QString target = copyTestData("Canon.jpg", folder);
    struct stat before {};
    ::stat(QFile::encodeName(target).constData(), &before);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
    if (::geteuid() == 0 && QProcess::execute("chattr", {"+i", folder}) != 0)
        QSKIP("the folder cannot be closed to new files here");
    ExifToolService service(realBundle());
    const auto outcome =
        runTask(service.applyOverrides({{"IFD0:Artist", "Locked"}}, QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(valueOf(target, QStringLiteral("IFD0:Artist")), QStringLiteral("Locked"));
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("Canon.jpg")});
    struct stat after {};
    ::stat(QFile::encodeName(target).constData(), &after);
    QCOMPARE(after.st_ino, before.st_ino);
}

void MetadataWritingTest::newFileBesideKeepsPermissionsAndOwner()
{
    // ExifTool's new file, written beside the target, takes its place by a
    // rename: it must carry the target's permission bits and owner.
    const QString target = makeImage("photo.jpg");
    const QByteArray native = QFile::encodeName(target);
    QVERIFY(::chmod(native.constData(), 0604) == 0);
    // Owner and group differ, so that swapping them is caught.
    if (::geteuid() == 0)
        QVERIFY(::chown(native.constData(), 65534, 65533) == 0);
    struct stat before {};
    ::stat(native.constData(), &before);
    ExifToolService service(m_fake->bundle());
    QVERIFY(runTask(service.applyOverrides({{"IFD0:Artist", "x"}}, QUrl::fromLocalFile(target)))
                .succeeded());
    struct stat after {};
    ::stat(native.constData(), &after);
    QVERIFY(after.st_ino != before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(filesIn(m_env->workPath()), QStringList{QStringLiteral("photo.jpg")});
}

void MetadataWritingTest::inPlaceRewriteKeepsTheFile()
{
    const QString target = makeImage("photo.jpg");
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0640) == 0);
    setModified(target, pastDate());
    struct stat before {};
    ::stat(QFile::encodeName(target).constData(), &before);
    QDir().mkpath(exifToolTmp());
    const QString output = exifToolTmp() + QStringLiteral("/new.jpg");
    QFile file(output);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("new content");
    file.close();

    FileReplacement::replaceOriginal(target, output, std::nullopt,
                                     FileReplacement::Strategy::rewriteInPlace);
    QFile result(target);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(result.readAll(), QByteArray("new content"));
    struct stat after {};
    ::stat(QFile::encodeName(target).constData(), &after);
    QCOMPARE(after.st_ino, before.st_ino); // the same file, rewritten
    QCOMPARE(modeOf(target), mode_t(0640));
    QCOMPARE(QFileInfo(target).lastModified().toUTC(), pastDate());
    QCOMPARE(filesIn(exifToolTmp()), QStringList()); // output and backup gone
}

void MetadataWritingTest::vanishedFile()
{
    const QString target = m_env->workPath() + QStringLiteral("/vanished.jpg");
    ExifToolService service(realBundle());
    const auto outcome =
        runTask(service.applyOverrides({{"IFD0:Artist", "x"}}, QUrl::fromLocalFile(target)));
    QVERIFY(outcome.error);
    QVERIFY2(outcome.errorMessage().startsWith("ExifTool reported an error: "),
             qPrintable(outcome.errorMessage()));
    QVERIFY(!QFileInfo::exists(target));
}

void MetadataWritingTest::foldersAndRemoteAddressesAreRefused()
{
    // ExifTool given a folder would read or rewrite every file inside it.
    QDir(m_env->workPath()).mkdir("Holiday");
    copyTestData("Canon.jpg", m_env->workPath() + QStringLiteral("/Holiday"));
    ExifToolService service(m_fake->bundle());
    const QUrl folder = QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/Holiday"));
    QCOMPARE(
        runTask(service.removeAllMetadata(folder)).errorMessage(),
        QStringLiteral("“Holiday” is a folder. Metaloom reads and writes the metadata of files."));
    QVERIFY(runTask(service.readMetadata(folder)).error);
    QVERIFY(runTask(service.readMetadata(QUrl("https://example.com/a.jpg"))).error);
    QCOMPARE(m_fake->runCount(), 0);
}

void MetadataWritingTest::changeByAnotherProgramIsNotOverwritten()
{
    // While "ExifTool" works, another program appends to the file: the new
    // file was made from the old content, so it must not replace the change.
    const QString target = makeImage("photo.jpg");
    m_fake->setBody(FakeScripts::successfulWrite() +
                    QStringLiteral("\nprintf 'edited elsewhere' >> \"$last\""));
    ExifToolService service(m_fake->bundle());
    const auto outcome =
        runTask(service.applyOverrides({{"IFD0:Artist", "x"}}, QUrl::fromLocalFile(target)));
    QCOMPARE(outcome.errorMessage(),
             QStringLiteral("“photo.jpg” was changed by another program while Metaloom was writing "
                            "it, so it was left as it is. Please try again."));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().endsWith("edited elsewhere"));
    QCOMPARE(filesIn(exifToolTmp()), QStringList());
}

void MetadataWritingTest::changeDuringTheCopyIsNotOverwritten()
{
    // Another program changes the file while the new content is copied in
    // beside it (the new content arrives through a pipe, so the test decides
    // when the copy ends): the last look before the rename must see it.
    const QString target = makeImage("photo.jpg");
    const QString output = m_env->workPath() + QStringLiteral("/output.pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(output).constData(), 0600), 0);
    const FileStamp readVersion = FileStamp::of(target);
    QFuture<void> replaced =
        QtConcurrent::run([=] { FileReplacement::replaceOriginal(target, output, readVersion); });
    QFile pipe(output);
    QVERIFY(pipe.open(QIODevice::WriteOnly)); // waits for the copy to start reading
    QFile original(target);
    QVERIFY(original.open(QIODevice::Append));
    original.write("edited elsewhere");
    original.close();
    pipe.write("new content");
    pipe.close();
    QVERIFY_THROWS_EXCEPTION(PlatformError, replaced.waitForFinished());
    QVERIFY(original.open(QIODevice::ReadOnly));
    QVERIFY(original.readAll().endsWith("edited elsewhere"));
    QCOMPARE(filesIn(m_env->workPath()), QStringList{QStringLiteral("photo.jpg")});
}

void MetadataWritingTest::changesOfOneFileWaitForEachOther()
{
    // Two windows (two services) change the same file at once; the second
    // must start from the first one's result, or its edit would be lost.
    const QString target = copyTestData("Canon.jpg", m_env->workPath());
    ExifToolService first(realBundle());
    ExifToolService second(realBundle());
    const QUrl url = QUrl::fromLocalFile(target);
    auto titleTask = first.applyOverrides({{"XMP-dc:Title", "T"}}, url);
    QVERIFY(FileChangeQueue::shared().isBusy(target));
    auto artistTask = second.applyOverrides({{"IFD0:Artist", "A"}}, url);
    QVERIFY(runTask(std::move(artistTask)).succeeded());
    QVERIFY(runTask(std::move(titleTask)).succeeded());
    QVERIFY(!FileChangeQueue::shared().isBusy(target));
    QCOMPARE(valueOf(target, QStringLiteral("XMP-dc:Title")), QStringLiteral("T"));
    QCOMPARE(valueOf(target, QStringLiteral("IFD0:Artist")), QStringLiteral("A"));

    // A failing change hands the file on too.
    m_fake->setBody("exit 1");
    ExifToolService failing(m_fake->bundle());
    auto failed = failing.removeAllMetadata(url);
    auto after = first.applyOverrides({{"IFD0:Artist", "B"}}, url);
    QVERIFY(runTask(std::move(failed)).error);
    QVERIFY(runTask(std::move(after)).succeeded());
    QCOMPARE(valueOf(target, QStringLiteral("IFD0:Artist")), QStringLiteral("B"));
}

void MetadataWritingTest::tagKeyRules_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("refusal"); // a phrase of the reason; empty when usable
    const auto row = [](const char *key, const char *refusal, const QString &value = "v") {
        QTest::addRow("%s", key) << QString::fromUtf8(key) << value << QString::fromUtf8(refusal);
    };
    const char *notAKey = "is not a tag key";
    const char *option = "is an ExifTool option";
    const char *moves = "would rename, move or link the file itself";
    row("XMP-dc:Title", "", "literal ${FileName} < > = @ text");
    row("EXIF:ExposureTime#", "");
    row("1IFD0:Make", "");
    row("XMP-dc:Title<${FileName;system('touch pwned')}", notAKey);
    row("Comment<", notAKey, "secret.txt");
    row("Title-", notAKey); // "-Title-=v" deletes the value v
    row("-Title", notAKey);
    row(":Title", notAKey);
    row("Tïtle", notAKey);
    row("", "cannot be empty");
    row("TagsFromFile", option, "secret.txt");
    row("csv", option);
    row("JSON", option);
    row("j", option, "secret.txt"); // "-j=FILE" imports a JSON file into the photo
    row("progress5:Title", option);
    row("FileName", moves, "renamed.jpg");
    row("System:filename#", moves, "renamed.jpg");
    row("1System:Directory", moves, "moved");
    row("HardLink", moves, "hard.jpg");
    row("File:SymLink", moves, "link.jpg");
    row("TestName", moves, "test.jpg");
    row("Common", "shortcut that includes the file name", "renamed.jpg");
    // Values that name files ExifTool reads (a track log, a photo to
    // synchronise with) or a time to look up in one.
    const char *geotagging = "makes ExifTool read other files";
    row("Geotag", geotagging, "secret.txt");
    row("XMP:GEOTAG#", geotagging, "*.txt");
    row("geosync", geotagging, "secret.txt");
    row("EXIF:Geotime", geotagging, "2024:01:01 12:00:00");
    // The replacement keeps owner, group and permissions: ExifTool setting
    // them would be undone.
    row("System:FilePermissions", "kept by the file system", "rwxrwxrwx");
    row("FileUserID", "kept by the file system", "0");
    row("File:filegroupid#", "kept by the file system", "0");
    row("XMP-dc:FilePermissionsNote", "");
    QTest::addRow("NUL in the value") << "XMP-dc:Title" << QStringLiteral("cut%1here").arg(QChar(0))
                                      << "contains a NUL character";
}

void MetadataWritingTest::tagKeyRules()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, refusal);
    const std::optional<QString> keyReason = TagKeyRules::refusalReason(key);
    const std::optional<QString> reason =
        keyReason ? keyReason : TagKeyRules::valueRefusalReason(key, value);
    QCOMPARE(reason.value_or(QString()).contains(refusal), true);
    QCOMPARE(reason.has_value(), !refusal.isEmpty());
    QCOMPARE(TagKeyRules::usableKeys({key}).isEmpty(), keyReason.has_value());
    if (!reason)
        return;

    // Each of the four changes refuses it before ExifTool runs: the real
    // ExifTool would otherwise run code, read a file into the photo, or
    // rename, move or link the file (values are relative to its folder).
    const QString target = copyTestData("Canon.jpg", m_env->workPath());
    QFile secret(m_env->workPath() + QStringLiteral("/secret.txt"));
    QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("private") == 7);
    secret.close();
    const QByteArray before = digest(target);
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(m_env->workPath());
    const auto restoreFolder = qScopeGuard([&] { QDir::setCurrent(previousFolder); });
    ExifToolService service(realBundle());
    const QUrl url = QUrl::fromLocalFile(target);
    QList<TaskOutcome<ChangeReport>> outcomes{
        runTask(service.writeMetadata(url, {edited(key, QString(), value)})),
        runTask(service.applyOverrides({{key, value}}, url)),
        runTask(service.changeTags(url, {{"IFD0:Artist", {"x"}}, {key, {value}}}))};
    if (keyReason)
        outcomes << runTask(service.removeMetadata({"IFD0:Artist", key}, url));
    for (const TaskOutcome<ChangeReport> &outcome : outcomes) {
        QCOMPARE(outcome.errorMessage(), *reason);
        QVERIFY_THROWS_EXCEPTION(ServiceError, outcome.rethrow());
    }
    QCOMPARE(digest(target), before);
    QCOMPARE(filesIn(m_env->workPath()), (QStringList{"Canon.jpg", "secret.txt"}));
    QVERIFY(!QFileInfo::exists(m_env->workPath() + QStringLiteral("/moved")));
    QVERIFY(!QFileInfo::exists(exifToolTmp()));
}

QTEST_GUILESS_MAIN(MetadataWritingTest)
#include "tst_MetadataWriting.moc"
