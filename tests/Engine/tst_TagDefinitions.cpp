#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/Dialect/TagDefinitionsParser.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/TagListingCache.h"
#include "MetaloomFeature/Engine/TagListingFile.h"
#include "RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/FutureWaiting.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

const char *const sampleListing = R"(<?xml version='1.0' encoding='UTF-8'?>
<taginfo>
<table name='Exif::Main' g0='EXIF' g1='IFD0' g2='Image'>
 <desc lang='en'>Exif</desc>
 <tag id='34850' name='ExposureProgram' type='int16u' writable='true' g1='ExifIFD'>
  <desc lang='en'>Exposure Program</desc>
  <values>
   <key id='1'>
    <val lang='de'>Normal-DE</val>
    <val lang='en'>
      Normal  </val>
   </key>
   <key id='2'><val>Two A</val><val>Two B</val></key>
   <key id='3'><val lang='en'>   </val><val lang='fr'>Trois</val></key>
   <key id='4'><val lang='en'>Aperture &amp; more</val></key>
  </values>
 </tag>
 <tag id='1' name='ExposureProgram' g1='ExifIFD' writable='false'/>
 <tag id='2' name='Orientation' writable='FaLsE'/>
 <tag id='3' name='Flash' g0='MakerNotes' writable='no'/>
 <tag id='5' writable='true'><desc lang='en'>no name</desc></tag>
 <tag id='6' name='Copyright' g1=''/>
 <tag id='7' name='Keywords' flags='List'/>
 <tag id='8' name='Subject' flags='Bag,List'/>
 <tag id='9' name='History' flags='Flattened,List,Seq'/>
 <tag id='10' name='Order' flags='Seq'/>
 <tag id='11' name='Listless' flags='Avoid,Binary,Unlisted'/>
 <val lang='en'>stray</val>
</table>
<table name='Other' g0='Family0'>
 <tag name='Own' g0='TagFamily0'/>
 <tag name='Plain'/>
</table>
<table name='Bare'>
 <tag name='Aperture'/>
</table>
</taginfo>
)";

QString writeSampleListing(const QString &folder)
{
    const QString listing = folder + QStringLiteral("/listing.xml");
    QFile file(listing);
    if (!file.open(QIODevice::WriteOnly) || file.write(sampleListing) < 0)
        qFatal("cannot write %s", qPrintable(listing));
    return listing;
}

} // namespace

class TagDefinitionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void parsesKeysWritabilityAndOptions();
    void malformedListingFails();
    void loadIsSharedAndCached();
    void failedLoadStaysFailedForThisServiceOnly();
    void allTagKeysSortCaseInsensitively();
    void keysReadFromSampleFiles_data();
    void keysReadFromSampleFiles();
    void mostSampleKeysAreKnown();
    void writableFormats_data();
    void writableFormats();
    void formatListsAreLoadedOncePerBundle();
    void listingIsKeptOnDiskAndReused();
    void keptListingIsRebuilt_data();
    void keptListingIsRebuilt();

private:
    std::unique_ptr<TestEnvironment> m_env;
    // The real listing and the keys of the sample files, loaded once for all
    // checks that need them (each takes ExifTool seconds).
    std::unique_ptr<ExifToolService> m_real;
    QSet<QString> m_sampleKeys;
};

void TagDefinitionsTest::initTestCase()
{
    const TestEnvironment copies;
    m_real = std::make_unique<ExifToolService>(realBundle());
    QStringList arguments{QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all")};
    for (const char *file : {"Canon.jpg", "GPS.jpg", "IPTC.jpg", "XMP.jpg", "ExifTool.tif",
                             "CanonRaw.cr2", "DNG.dng", "GeoTiff.tif", "PNG.png", "QuickTime.mov"})
        arguments << copyTestData(QString::fromLatin1(file), copies.workPath());
    // One ExifTool run for all files, split into entries the way a read does.
    const QJsonArray files = QJsonDocument::fromJson(runRealExifTool(arguments)).array();
    for (const QJsonValue file : files) {
        const QByteArray one = QJsonDocument(QJsonArray{file}).toJson();
        for (const MetadataEntry &entry : MetadataJson::entriesFromOutput(one))
            m_sampleKeys.insert(entry.rawKey);
    }
}

void TagDefinitionsTest::cleanupTestCase()
{
    m_real.reset();
}

void TagDefinitionsTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void TagDefinitionsTest::cleanup()
{
    m_env.reset();
}

void TagDefinitionsTest::parsesKeysWritabilityAndOptions()
{
    const TagTable table = TagDefinitionsParser::parse(sampleListing);

    // Keyed as "-G1" prints the tag: its own g1, the table's g1, its own g0,
    // the table's g0, or the bare name.
    QCOMPARE(QSet<QString>(table.keyBegin(), table.keyEnd()),
             (QSet<QString>{"ExifIFD:ExposureProgram", "IFD0:Orientation", "IFD0:Flash",
                            "IFD0:Copyright", "IFD0:Keywords", "IFD0:Subject", "IFD0:History",
                            "IFD0:Order", "IFD0:Listless", "TagFamily0:Own", "Family0:Plain",
                            "Aperture"}));
    // List tags, whatever else their flags say.
    QStringList lists;
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        if (it->isList)
            lists << it.key();
    }
    lists.sort();
    QCOMPARE(lists, (QStringList{"IFD0:History", "IFD0:Keywords", "IFD0:Order", "IFD0:Subject"}));

    const TagDefinition exposure = table.value(QStringLiteral("ExifIFD:ExposureProgram"));
    QVERIFY(exposure.writable); // the first definition of a key wins
    QCOMPARE(exposure.options,
             (QList<EnumeratedOption>{
                 {"1", "Normal"}, {"2", "Two A"}, {"2", "Two B"}, {"4", "Aperture & more"}}));
    QVERIFY(!table.value(QStringLiteral("IFD0:Orientation")).writable);
    QVERIFY(table.value(QStringLiteral("IFD0:Flash")).writable); // only "false" means read-only
    for (const TagDefinition &definition : table) {
        for (const EnumeratedOption &option : definition.options)
            QVERIFY(option.label != QStringLiteral("stray"));
    }
}

void TagDefinitionsTest::malformedListingFails()
{
    QVERIFY_THROWS_EXCEPTION(PlatformError,
                             TagDefinitionsParser::parse("<taginfo><table><tag name='a'></table>"));
    QVERIFY_THROWS_EXCEPTION(PlatformError, TagDefinitionsParser::parse("not xml at all"));
    QVERIFY(TagDefinitionsParser::parse("<taginfo/>").isEmpty());
}

void TagDefinitionsTest::loadIsSharedAndCached()
{
    const QString listing = writeSampleListing(m_env->workPath());
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("sleep 0.3; cat '%1'").arg(listing));
    ExifToolService service(fake.bundle());

    // Three callers at once share one ExifTool run.
    auto first = service.tagDefinition(QStringLiteral("ExifIFD:ExposureProgram"));
    auto second = service.enumeratedOptions(QStringLiteral("ExifIFD:ExposureProgram"));
    auto third = service.allTagKeys();
    const auto definition = runTask(std::move(first));
    QVERIFY2(definition.succeeded(), qPrintable(definition.errorMessage()));
    QVERIFY(definition.value->has_value());
    QVERIFY(runTask(std::move(second)).value->has_value());
    QCOMPARE(runTask(std::move(third)).value->size(), 12);
    QCOMPARE(fake.runCount(), 1);

    // Unknown keys answer "nothing", not an empty list, without a new run.
    const auto unknown = runTask(service.enumeratedOptions(QStringLiteral("Nope:Nothing")));
    QVERIFY(unknown.succeeded());
    QVERIFY(!unknown.value->has_value());
    const auto caseMismatch =
        runTask(service.tagDefinition(QStringLiteral("exififd:exposureprogram")));
    QVERIFY(!caseMismatch.value->has_value());
    const auto noOptions = runTask(service.enumeratedOptions(QStringLiteral("IFD0:Orientation")));
    QVERIFY(noOptions.value->has_value());
    QVERIFY(noOptions.value->value().isEmpty());

    // Another window's service on the same bundle finds the listing loaded.
    ExifToolService another(fake.bundle());
    QVERIFY(runTask(another.tagDefinition(QStringLiteral("Aperture"))).value->has_value());
    QCOMPARE(fake.runCount(), 1);
}

void TagDefinitionsTest::failedLoadStaysFailedForThisServiceOnly()
{
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("cat <<'X'\n<taginfo/>\nX"));
    fake.removeScript();
    ExifToolService service(fake.bundle());
    QCOMPARE(runTask(service.tagDefinition(QStringLiteral("A"))).errorMessage(),
             QStringLiteral("The bundled exiftool binary could not be found."));
    QCOMPARE(runTask(service.enumeratedOptions(QStringLiteral("A"))).errorMessage(),
             QStringLiteral("The bundled exiftool binary could not be found."));
    QCOMPARE(runTask(service.allTagKeys()).errorMessage(),
             QStringLiteral("The bundled exiftool binary could not be found."));
    // The script is back, but this service keeps its failed load...
    fake.setBody(QStringLiteral("cat <<'X'\n<taginfo><table><tag name='A'/></table></taginfo>\nX"));
    QVERIFY(runTask(service.tagDefinition(QStringLiteral("A"))).error);
    QCOMPARE(fake.runCount(), 0);
    // ...while a new window's service tries again.
    ExifToolService fresh(fake.bundle());
    const auto outcome = runTask(fresh.tagDefinition(QStringLiteral("A")));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QVERIFY(outcome.value->has_value());

    // A malformed listing fails the same lasting way.
    FakeExifToolBundle malformed(m_env->workPath() + QStringLiteral("/malformed"),
                                 QStringLiteral("echo '<taginfo><tag'"));
    ExifToolService broken(malformed.bundle());
    QVERIFY(runTask(broken.allTagKeys()).errorMessage().contains(QStringLiteral("tag listing")));
    QVERIFY(runTask(broken.tagDefinition(QStringLiteral("A"))).error);
}

void TagDefinitionsTest::allTagKeysSortCaseInsensitively()
{
    FakeExifToolBundle fake(
        m_env->workPath(),
        QStringLiteral("cat <<'X'\n<taginfo><table><tag name='Flash' g1='ExifIFD'/>"
                       "<tag name='Zeta' g1='exififd'/><tag name='Aperture'/>"
                       "<tag name='FileName' g1='System'/><tag name='HardLink'/>"
                       "<tag name='ForceWrite' g1='*'/></table></taginfo>\nX"));
    ExifToolService service(fake.bundle());
    const auto keys = runTask(service.allTagKeys());
    // Keys the engine refuses to write are never offered.
    QCOMPARE(*keys.value, (QStringList{"Aperture", "ExifIFD:Flash", "exififd:Zeta"}));
}

void TagDefinitionsTest::keysReadFromSampleFiles_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("option"); // one label the choice list offers
    QTest::addColumn<bool>("list");
    const auto row = [](const char *key, bool writable, const char *option, bool list = false) {
        QTest::newRow(key) << QString::fromUtf8(key) << writable << QString::fromUtf8(option)
                           << list;
    };
    row("IFD0:Orientation", true, "Rotate 90 CW");
    row("ExifIFD:ExposureProgram", true, "Manual");
    row("GPS:GPSLatitude", true, "");
    row("GPS:GPSLatitudeRef", true, "North");
    row("IPTC:Keywords", true, "", true);
    row("XMP-dc:Subject", true, "", true);
    row("XMP-dc:Creator", true, "", true);
    row("Composite:ImageSize", false, "");
}

void TagDefinitionsTest::keysReadFromSampleFiles()
{
    // The keys the editor shows, read from real files, find the definitions
    // ExifTool's listing gives for them.
    QFETCH(QString, key);
    QFETCH(bool, writable);
    QFETCH(QString, option);
    QFETCH(bool, list);
    QVERIFY2(m_sampleKeys.contains(key), qPrintable(key + QStringLiteral(" was not read")));
    const auto definition = runTask(m_real->tagDefinition(key));
    QVERIFY2(definition.succeeded(), qPrintable(definition.errorMessage()));
    QVERIFY2(definition.value->has_value(), qPrintable(key));
    QCOMPARE(definition.value->value().writable, writable);
    QCOMPARE(definition.value->value().isList, list);
    if (!option.isEmpty()) {
        const QList<EnumeratedOption> options = definition.value->value().options;
        QVERIFY(std::any_of(options.cbegin(), options.cend(),
                            [&option](const EnumeratedOption &o) { return o.label == option; }));
    }
}

void TagDefinitionsTest::mostSampleKeysAreKnown()
{
    // Keyed by the tags' own groups only, a few percent of the keys read
    // from files found a definition; by the groups ExifTool prints, most do
    // (the rest are tags ExifTool files under IFD1, SubIFD and the like).
    const auto keys = runTask(m_real->allTagKeys());
    QVERIFY2(keys.succeeded(), qPrintable(keys.errorMessage()));
    const QSet<QString> known(keys.value->cbegin(), keys.value->cend());
    const qsizetype found = QSet<QString>(m_sampleKeys).intersect(known).size();
    QVERIFY2(found * 10 >= m_sampleKeys.size() * 7,
             qPrintable(QStringLiteral("%1 of %2 keys known").arg(found).arg(m_sampleKeys.size())));
    // Keys that rename, move or link files are never offered.
    for (const QString &key : *keys.value) {
        const QString tag = key.section(QLatin1Char(':'), -1);
        for (const char *moving : {"FileName", "Directory", "HardLink", "SymLink", "TestName"})
            QVERIFY2(tag.compare(QLatin1String(moving), Qt::CaseInsensitive) != 0, qPrintable(key));
    }
}

void TagDefinitionsTest::writableFormats_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name"); // as copied
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("byName"); // answered without looking into the file
    const auto row = [](const char *what, const char *file, const char *name, bool writable,
                        bool byName) { QTest::newRow(what) << file << name << writable << byName; };
    row("Matroska", "Matroska.mkv", "Matroska.mkv", false, true);
    row("AAC, a type ExifTool does not know", "AAC.aac", "AAC.aac", false, false);
    row("JPEG", "Canon.jpg", "Canon.jpg", true, true);
    row("CR3", "CanonRaw.cr3", "CanonRaw.cr3", true, true);
    row("PDF", "PDF.pdf", "PDF.pdf", true, true);
    row("JPEG under a name ExifTool does not know", "Canon.jpg", "photo.zzqx", true, false);
    row("JPEG without an extension", "Canon.jpg", "photo", true, false);
    // ExifTool goes by the name: it refuses to write this one.
    row("JPEG named like a Matroska file", "Canon.jpg", "photo.mkv", false, true);
}

void TagDefinitionsTest::writableFormats()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(bool, writable);
    QFETCH(bool, byName);
    const QUrl url = QUrl::fromLocalFile(copyTestData(file, m_env->workPath(), name));
    const auto answer = runTask(m_real->canWriteFormat(url));
    QVERIFY2(answer.succeeded(), qPrintable(answer.errorMessage()));
    QCOMPARE(*answer.value, writable);
    QCOMPARE(m_real->canWriteFormatNow(url),
             byName ? std::optional<bool>(writable) : std::optional<bool>());
    // The answer is what ExifTool then does.
    const auto change = runTask(
        m_real->applyOverrides({{QStringLiteral("XMP-dc:Title"), QStringLiteral("Title")}}, url));
    QVERIFY2(change.succeeded() == writable, qPrintable(change.errorMessage()));
    if (!writable && byName) {
        QCOMPARE(ExifToolService::readOnlyFormatMessage(url),
                 QStringLiteral("ExifTool can't write MKV files; their metadata is shown "
                                "read-only."));
    }
}

void TagDefinitionsTest::formatListsAreLoadedOncePerBundle()
{
    FakeExifToolBundle fake(m_env->workPath(),
                            QStringLiteral("sleep 0.2; printf 'Writable file extensions:\\n  JPG "
                                           "PNG\\nSupported file extensions:\\n  JPG MKV "
                                           "PNG\\n'"));
    ExifToolService first(fake.bundle());
    ExifToolService second(fake.bundle());
    const QUrl movie = QUrl::fromLocalFile(QStringLiteral("/nowhere/clip.MKV"));
    const QUrl photo = QUrl::fromLocalFile(QStringLiteral("/nowhere/photo.png"));
    QCOMPARE(first.canWriteFormatNow(movie), std::optional<bool>());
    auto one = first.canWriteFormat(movie);
    auto other = second.canWriteFormat(photo);
    QCOMPARE(runTask(std::move(one)).value, std::optional<bool>(false));
    QCOMPARE(runTask(std::move(other)).value, std::optional<bool>(true));
    QCOMPARE(second.canWriteFormatNow(movie), std::optional<bool>(false));
    QCOMPARE(first.canWriteFormatNow(photo), std::optional<bool>(true));
    QCOMPARE(fake.runCount(), 2); // one request of two commands: -listwf, -listf
    QCOMPARE(ExifToolService::formatName(movie), QStringLiteral("MKV"));
    QCOMPARE(ExifToolService::readOnlyFormatMessage(QUrl::fromLocalFile(QStringLiteral("/a/b"))),
             QStringLiteral("ExifTool can't write files of this kind; their metadata is shown "
                            "read-only."));
}

// What happens to the script or the kept file between two starts.
using KeptChange = std::function<void(const QString &script, const QString &kept)>;
Q_DECLARE_METATYPE(KeptChange)

namespace {

// A fake ExifTool of this version printing the sample listing.
QString listingBody(const QString &listing, const QString &version)
{
    return QStringLiteral("# my $version = '%1';\ncat '%2'").arg(version, listing);
}

void setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(time, QFileDevice::FileModificationTime))
        qFatal("cannot set the modification time");
}

TagTable loadedBy(TagListingCache &cache, const ResourceBundle &bundle)
{
    const QFuture<TagTable> load = cache.load(bundle);
    if (!waitForFuture(load) || load.resultCount() == 0)
        return {};
    // The file is written after the table was handed out.
    waitForFuture(cache.fileWritten(bundle));
    return load.result();
}

} // namespace

void TagDefinitionsTest::listingIsKeptOnDiskAndReused()
{
    const QString listing = writeSampleListing(m_env->workPath());
    FakeExifToolBundle fake(m_env->workPath(), listingBody(listing, QStringLiteral("12.57")));
    const TagTable expected = TagDefinitionsParser::parse(sampleListing);

    // Where the process keeps it: in the user's cache folder.
    QCOMPARE(TagListingFile::location(),
             m_env->root() + QStringLiteral("/cache/metaloom/tag-listing.cache"));
    const QString kept = m_env->workPath() + QStringLiteral("/kept/tag-listing.cache");
    {
        TagListingCache firstStart(kept);
        QCOMPARE(loadedBy(firstStart, fake.bundle()), expected);
        QVERIFY(firstStart.hasArrived(fake.bundle()));
    }
    QCOMPARE(fake.runCount(), 1);
    QVERIFY(QFileInfo::exists(kept));
    QCOMPARE(QFileInfo(QFileInfo(kept).absolutePath()).permissions() & 0x0077, 0);

    // The next start reads the file and runs no ExifTool at all.
    TagListingCache secondStart(kept);
    QCOMPARE(loadedBy(secondStart, fake.bundle()), expected);
    QCOMPARE(fake.runCount(), 1);
}

void TagDefinitionsTest::keptListingIsRebuilt_data()
{
    QTest::addColumn<KeptChange>("change");
    using Change = KeptChange;
    const auto rewrite = [](const QString &path, const std::function<QByteArray(QByteArray)> &f) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray content = f(file.readAll());
        file.close();
        const QDateTime modified = QFileInfo(path).lastModified();
        QFile out(path);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(content);
        out.close();
        setModified(path, modified);
    };
    QTest::newRow("damaged") << Change([rewrite](const QString &, const QString &kept) {
        rewrite(kept, [](QByteArray c) {
            c[c.size() / 2] = char(c[c.size() / 2] ^ 0x55);
            return c;
        });
    });
    QTest::newRow("cut short") << Change([rewrite](const QString &, const QString &kept) {
        rewrite(kept, [](QByteArray c) { return c.left(c.size() - 7); });
    });
    QTest::newRow("foreign") << Change([rewrite](const QString &, const QString &kept) {
        rewrite(kept, [](QByteArray) { return QByteArray("[Settings]\nsomething=else\n"); });
    });
    QTest::newRow("empty") << Change([rewrite](const QString &, const QString &kept) {
        rewrite(kept, [](QByteArray) { return QByteArray(); });
    });
    QTest::newRow("another version, same size and date")
        << Change([rewrite](const QString &script, const QString &) {
               rewrite(script, [](QByteArray c) { return c.replace("12.57", "12.58"); });
           });
    QTest::newRow("another size") << Change([rewrite](const QString &script, const QString &) {
        rewrite(script, [](QByteArray c) { return c + "\n"; });
    });
    QTest::newRow("another date") << Change([](const QString &script, const QString &) {
        setModified(script, QFileInfo(script).lastModified().addSecs(-3600));
    });
}

void TagDefinitionsTest::keptListingIsRebuilt()
{
    QFETCH(KeptChange, change);
    const QString listing = writeSampleListing(m_env->workPath());
    FakeExifToolBundle fake(m_env->workPath(), listingBody(listing, QStringLiteral("12.57")));
    const TagTable expected = TagDefinitionsParser::parse(sampleListing);
    const QString kept = m_env->workPath() + QStringLiteral("/tag-listing.cache");
    {
        TagListingCache firstStart(kept);
        QCOMPARE(loadedBy(firstStart, fake.bundle()), expected);
    }
    {
        TagListingCache unchanged(kept);
        QCOMPARE(loadedBy(unchanged, fake.bundle()), expected);
    }
    QCOMPARE(fake.runCount(), 1);

    change(fake.scriptPath(), kept);
    TagListingCache next(kept);
    QCOMPARE(loadedBy(next, fake.bundle()), expected);
    QCOMPARE(fake.runCount(), 2);
    // Written again, for the script as it is now.
    const std::optional<TagListingFile::Stamp> stamp = TagListingFile::stampOf(fake.scriptPath());
    QVERIFY(stamp);
    QCOMPARE(TagListingFile::read(kept, *stamp), std::optional(expected));
}

QTEST_GUILESS_MAIN(TagDefinitionsTest)
#include "tst_TagDefinitions.moc"
