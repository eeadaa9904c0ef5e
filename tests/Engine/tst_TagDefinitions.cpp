#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/TagDefinitionsParser.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
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
 <tag id='1' name='ExposureProgram' writable='false'/>
 <tag id='2' name='Orientation' writable='FaLsE'/>
 <tag id='3' name='Flash' g0='EXIF' writable='no'/>
 <tag id='5' writable='true'><desc lang='en'>no name</desc></tag>
 <tag id='6' name='Copyright' g1=''/>
 <val lang='en'>stray</val>
</table>
</taginfo>
)";

} // namespace

class TagDefinitionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void parsesKeysWritabilityAndOptions();
    void malformedListingFails();
    void loadIsSharedAndCached();
    void failedLoadStaysFailedForThisServiceOnly();
    void allTagKeysSortCaseInsensitively();
    void realListing();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

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

    const TagDefinition exposure = table.value(QStringLiteral("ExifIFD:ExposureProgram"));
    QVERIFY(exposure.writable);
    QCOMPARE(exposure.options,
             (QList<EnumeratedOption>{
                 {"1", "Normal"}, {"2", "Two A"}, {"2", "Two B"}, {"4", "Aperture & more"}}));
    // A tag without groups is keyed by its name; the table's groups are not used.
    QVERIFY(table.contains(QStringLiteral("ExposureProgram")));
    QVERIFY(!table.value(QStringLiteral("ExposureProgram")).writable);
    QVERIFY(!table.value(QStringLiteral("Orientation")).writable);
    QVERIFY(!table.contains(QStringLiteral("IFD0:Orientation")));
    QVERIFY(table.contains(QStringLiteral("EXIF:Flash")));
    QVERIFY(table.value(QStringLiteral("EXIF:Flash")).writable); // only "false" means read-only
    QVERIFY(table.contains(QStringLiteral("Copyright")));        // empty group: the name alone
    // A tag without a name is skipped; a stray label outside a values list adds nothing.
    QCOMPARE(table.size(), 5);
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
    const QString listing = m_env->workPath() + QStringLiteral("/listing.xml");
    QFile file(listing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(sampleListing);
    file.close();
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("sleep 0.3; cat '%1'").arg(listing));
    ExifToolService service(fake.bundle());

    // Three callers at once share one ExifTool run.
    auto first = service.tagDefinition(QStringLiteral("ExifIFD:ExposureProgram"));
    auto second = service.enumeratedOptions(QStringLiteral("ExifIFD:ExposureProgram"));
    auto third = service.allTagKeys();
    const auto definition = runTask(std::move(first));
    QVERIFY2(definition.succeeded(), qPrintable(definition.errorMessage()));
    QCOMPARE(definition.value->value().options.size(), 4);
    QCOMPARE(runTask(std::move(second)).value->value().size(), 4);
    QCOMPARE(runTask(std::move(third)).value->size(), 5);
    QCOMPARE(fake.runCount(), 1);

    // Unknown keys answer "nothing", not an empty list, without a new run.
    const auto unknown = runTask(service.enumeratedOptions(QStringLiteral("Nope:Nothing")));
    QVERIFY(unknown.succeeded());
    QVERIFY(!unknown.value->has_value());
    const auto caseMismatch =
        runTask(service.tagDefinition(QStringLiteral("exififd:exposureprogram")));
    QVERIFY(!caseMismatch.value->has_value());
    const auto noOptions = runTask(service.enumeratedOptions(QStringLiteral("Orientation")));
    QVERIFY(noOptions.value->has_value());
    QVERIFY(noOptions.value->value().isEmpty());
    QCOMPARE(fake.runCount(), 1);
}

void TagDefinitionsTest::failedLoadStaysFailedForThisServiceOnly()
{
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("cat <<'X'\n<taginfo/>\nX"));
    fake.removeScript();
    ExifToolService service(fake.bundle());
    for (int attempt = 0; attempt < 2; ++attempt) {
        QCOMPARE(runTask(service.tagDefinition(QStringLiteral("A"))).errorMessage(),
                 QStringLiteral("The bundled exiftool binary could not be found."));
        QCOMPARE(runTask(service.enumeratedOptions(QStringLiteral("A"))).errorMessage(),
                 QStringLiteral("The bundled exiftool binary could not be found."));
        QCOMPARE(runTask(service.allTagKeys()).errorMessage(),
                 QStringLiteral("The bundled exiftool binary could not be found."));
    }
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
    fake.setBody(QStringLiteral("echo '<taginfo><tag'"));
    ExifToolService broken(fake.bundle());
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

void TagDefinitionsTest::realListing()
{
    ExifToolService service(realBundle());
    const auto options =
        runTask(service.enumeratedOptions(QStringLiteral("ExifIFD:ExposureProgram")));
    QVERIFY2(options.succeeded(), qPrintable(options.errorMessage()));
    QVERIFY(options.value->has_value());
    const QList<EnumeratedOption> values = options.value->value();
    QVERIFY(values.contains(EnumeratedOption{QStringLiteral("1"), QStringLiteral("Manual")}));
    QVERIFY(values.contains(
        EnumeratedOption{QStringLiteral("3"), QStringLiteral("Aperture-priority AE")}));

    const auto keys = runTask(service.allTagKeys());
    QVERIFY(keys.value->size() > 10000);
    QVERIFY(keys.value->contains(QStringLiteral("ExifIFD:ExposureProgram")));
    for (const QString &moving : {"System:FileName", "System:Directory", "HardLink", "SymLink"})
        QVERIFY2(!keys.value->contains(moving), qPrintable(moving));
    const auto composite = runTask(service.tagDefinition(QStringLiteral("ImageSize")));
    QVERIFY(composite.value->has_value());
    QVERIFY(!composite.value->value().writable);
}

QTEST_GUILESS_MAIN(TagDefinitionsTest)
#include "tst_TagDefinitions.moc"
