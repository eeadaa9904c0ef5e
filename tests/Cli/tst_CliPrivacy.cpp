// metaloom-cli's privacy check and strips by profile, run as a user runs
// them against the real ExifTool on copies of the shared samples, checked by
// separate reads.
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Platform/Preferences.h"
#include "tests/Cli/CliProcess.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

ProcessRun cli(const QStringList &arguments, const QString &folder)
{
    return runProcess(QStringLiteral(METALOOM_CLI), arguments, folder);
}

QString copyAs(const QString &sample, const QString &folder)
{
    const QString path = copyTestData(sample, folder);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return path;
}

QStringList strings(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue item : value.toArray())
        list << item.toString();
    return list;
}

} // namespace

class CliPrivacyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkPrintsTheFindingsOfASeparateRead();
    void stripByProfile_data();
    void stripByProfile();
    void unknownProfileTouchesNothing();
};

void CliPrivacyTest::checkPrintsTheFindingsOfASeparateRead()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QStringList samples{"GPS.jpg", "Canon.jpg", "DNG.dng"};
    for (const QString &sample : samples)
        copyAs(sample, folder);

    const ProcessRun json = cli(QStringList{"check", "--json"} + samples, folder);
    QVERIFY(json.ended);
    QCOMPARE(json.exitCode, 0);
    QCOMPARE(QString::fromUtf8(json.error), QString());
    const QList<QByteArray> lines = json.output.trimmed().split('\n');
    QCOMPARE(lines.size(), samples.size());
    for (qsizetype i = 0; i < samples.size(); ++i) {
        const QJsonObject object = QJsonDocument::fromJson(lines.at(i)).object();
        QStringList keys = object.keys();
        keys.sort();
        QCOMPARE(keys, QStringList({"device", "file", "history", "location", "people", "pictures",
                                    "time"}));
        QCOMPARE(object.value("file").toString(), samples.at(i));
        const PrivacyFindings read =
            PrivacyFindings::of(readEntries(QDir(folder).filePath(samples.at(i))));
        for (PrivacyClass privacyClass : PrivacyClasses::all())
            QCOMPARE(strings(object.value(PrivacyClasses::name(privacyClass))),
                     read.of(privacyClass));
    }

    // For people: the file, then a line per class with findings.
    const ProcessRun text = cli({"check", "GPS.jpg", "PNG.png"}, folder);
    QCOMPARE(text.exitCode, 1); // PNG.png is not there
    const QString output = QString::fromUtf8(text.output);
    QVERIFY2(output.startsWith("GPS.jpg\n  Location: GPS:GPSLatitude, GPS:GPSLatitudeRef"),
             qPrintable(output));
    QVERIFY(output.contains("\n  Device: IFD0:Make, IFD0:Model\n"));
    QVERIFY(QString::fromUtf8(text.error).contains("PNG.png"));
}

void CliPrivacyTest::stripByProfile_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("gone");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("line");
    QTest::newRow("keep orientation")
        << "GPS.jpg"
        << "keep-orientation-colour" << 0 << QStringList{"GPS:GPSLatitude", "IFD0:Artist"}
        << QStringList{"IFD0:Orientation"}
        << "GPS.jpg: no location, no people, no device serial, no dates, no hidden pictures, "
           "no edit history left. Kept: orientation, colour profile.";
    QTest::newRow("personal") << "Canon.jpg"
                              << "personal" << 0
                              << QStringList{"Canon:SerialNumber", "Canon:OwnerName"}
                              << QStringList{"ExifIFD:DateTimeOriginal"}
                              << "Canon.jpg: no people, no device serial left.";
    QTest::newRow("raw") << "CanonRaw.cr2"
                         << "personal" << 1 << QStringList{"Canon:SerialNumber", "Canon:OwnerName"}
                         << QStringList{"IFD0:Make", "ExifIFD:DateTimeOriginal"}
                         << "CanonRaw.cr2: no people left. 2 device details could not be "
                            "removed from this file type: Make, Model. 2 hidden pictures could "
                            "not be removed from this file type: PreviewImage, ThumbnailImage. "
                            "Blanked, since this file type keeps them: OwnerName, SerialNumber.";
    // The user's own profile, by its name in the preferences.
    QTest::newRow("user profile") << "GPS.jpg"
                                  << "Share" << 0
                                  << QStringList{"GPS:GPSLatitude", "IFD0:Copyright"}
                                  << QStringList{"IFD0:Artist", "IFD0:Make"}
                                  << "GPS.jpg: no location left.";
}

void CliPrivacyTest::stripByProfile()
{
    QFETCH(QString, sample);
    QFETCH(QString, profile);
    QFETCH(int, exitCode);
    QFETCH(QStringList, gone);
    QFETCH(QStringList, kept);
    QFETCH(QString, line);
    TestEnvironment environment;
    StripProfile share;
    share.name = "Share";
    share.removedClasses = {PrivacyClass::location};
    share.removedKeys = {"IFD0:Copyright"};
    QVERIFY(Preferences::standard().setData(StripProfiles::preferencesKey,
                                            StripProfiles::encode({share})));
    const QString folder = environment.workPath();
    const QString path = copyAs(sample, folder);
    const QHash<QString, QString> before = valuesOf(path);

    const ProcessRun run = cli({"strip", "--profile", profile, sample}, folder);
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(run.error).startsWith(line + u'\n'),
             qPrintable(QString::fromUtf8(run.error)));
    const QHash<QString, QString> after = valuesOf(path);
    for (const QString &key : gone)
        QVERIFY2(PrivacyFindings::isBlank(after.value(key)), qPrintable(key));
    for (const QString &key : kept)
        QCOMPARE(after.value(key), before.value(key));

    // As JSON Lines, "remaining" names what is left.
    const ProcessRun again = cli({"strip", "--profile", profile, "--json", sample}, folder);
    const QJsonObject object = QJsonDocument::fromJson(again.output).object();
    QCOMPARE(object.value("complete").toBool(), exitCode == 0);
    QCOMPARE(strings(object.value("remaining")).isEmpty(), exitCode == 0);
}

void CliPrivacyTest::unknownProfileTouchesNothing()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString path = copyAs("GPS.jpg", folder);
    const QByteArray bytes = digest(path);
    const ProcessRun run = cli({"strip", "--profile", "nope", "GPS.jpg"}, folder);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(QString::fromUtf8(run.error).contains(
                 "no strip profile named 'nope' (everything, keep-orientation-colour, location, "
                 "personal)"),
             qPrintable(QString::fromUtf8(run.error)));
    QCOMPARE(digest(path), bytes);
}

QTEST_GUILESS_MAIN(CliPrivacyTest)
#include "tst_CliPrivacy.moc"
