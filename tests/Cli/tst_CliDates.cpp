// metaloom-cli dates run as a user runs it, on copies of the shared samples:
// the report's dates against a separate read, dry runs that change no byte,
// the file's own date, and the mistakes refused before any file is touched.

#include "tests/Cli/CliProcess.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

ProcessRun cli(const QStringList &arguments, const QString &folder)
{
    return runProcess(QStringLiteral(METALOOM_CLI), arguments, folder);
}

QList<QJsonObject> reportLines(const QByteArray &bytes)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : bytes.split('\n')) {
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    }
    return objects;
}

} // namespace

class CliDatesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void reportsTheDatesItChanged();
    void setsEveryFamilyOfAVideo();
    void dryRunChangesNoByte();
    void mistakesTouchNothing_data();
    void mistakesTouchNothing();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void CliDatesTest::reportsTheDatesItChanged()
{
    const QString folder = m_env->workPath();
    const QString photo = copyTestData("Canon.jpg", folder);
    const qint64 fileDate = QFileInfo(photo).lastModified().toSecsSinceEpoch();
    const ProcessRun run =
        cli({"dates", "--shift", "+1:00", "--file-dates", "--json", "Canon.jpg"}, folder);
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 0);
    const QList<QJsonObject> lines = reportLines(run.output);
    QCOMPARE(lines.size(), 1);
    const QJsonObject report = lines.first();
    QStringList keys = report.keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"after", "before", "complete", "error", "file", "notRemoved",
                                "notWritten", "ok"}));
    QCOMPARE(report.value("complete").toBool(), true);
    const QJsonObject before = report.value("before").toObject();
    const QJsonObject after = report.value("after").toObject();
    QCOMPARE(before.keys(), (QStringList{"ExifIFD:CreateDate", "ExifIFD:DateTimeOriginal",
                                         "System:FileModifyDate"}));
    // ExifTool writes whole seconds; the copy had a fraction.
    QCOMPARE(QFileInfo(photo).lastModified().toSecsSinceEpoch() - fileDate, 3600);
    QCOMPARE(before.value("ExifIFD:DateTimeOriginal").toString(), "2003:12:04 06:46:52");
    QCOMPARE(after.value("ExifIFD:DateTimeOriginal").toString(), "2003:12:04 07:46:52");
    QCOMPARE(valueOf(photo, "ExifIFD:DateTimeOriginal"), after.value("ExifIFD:DateTimeOriginal"));
    QCOMPARE(valueOf(photo, "ExifIFD:CreateDate"), after.value("ExifIFD:CreateDate"));
    QCOMPARE(valueOf(photo, "IFD0:ModifyDate"), "2003:12:04 06:46:52");
}

void CliDatesTest::setsEveryFamilyOfAVideo()
{
    const QString folder = m_env->workPath();
    const QString video = copyTestData("QuickTime.mov", folder);
    const ProcessRun run = cli({"dates", "--set", "2024:02:29 12:00:00", "--tags", "all",
                                "--quicktime", "local", "QuickTime.mov"},
                               folder);
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 0);
    const QHash<QString, QString> values = valuesOf(video);
    for (const char *key : {"QuickTime:CreateDate", "QuickTime:ModifyDate",
                            "Track1:TrackModifyDate", "Track2:MediaCreateDate"})
        QCOMPARE(values.value(key), "2024:02:29 12:00:00");
}

void CliDatesTest::dryRunChangesNoByte()
{
    const QString folder = m_env->workPath();
    const QStringList paths{copyTestData("Canon.jpg", folder),
                            copyTestData("QuickTime.mov", folder),
                            copyTestData("QuickTime.heic", folder)};
    QList<FileState> before;
    for (const QString &path : paths)
        before << stateOf(path);
    const ProcessRun run = cli({"dates", "--shift", "-1 00:00", "--tags", "all", "--file-dates",
                                "--dry-run", "Canon.jpg", "QuickTime.mov", "QuickTime.heic"},
                               folder);
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 1); // something would change
    for (qsizetype i = 0; i < paths.size(); ++i)
        QVERIFY2(stateOf(paths.at(i)) == before.at(i), qPrintable(paths.at(i)));
    const QString text = QString::fromUtf8(run.error);
    QVERIFY2(text.contains("Canon.jpg: would change ExifIFD:DateTimeOriginal 2003:12:04 06:46:52 → "
                           "2003:12:03 06:46:52"),
             qPrintable(text));
    QVERIFY2(text.contains("QuickTime.mov: would change QuickTime:CreateDate"), qPrintable(text));
    // The picture without a capture date still has a file date to move.
    QVERIFY2(text.contains(QRegularExpression(
                 "QuickTime.heic: would change "
                 "System:FileModifyDate [^\\n]*[^.]\\. This file has no capture date\\.")),
             qPrintable(text));
}

void CliDatesTest::mistakesTouchNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("neither shift nor set") << QStringList{"dates", "Canon.jpg"};
    QTest::newRow("both") << QStringList{
        "dates", "--shift", "1:00", "--set", "2024:01:01 00:00:00", "Canon.jpg"};
    QTest::newRow("no amount") << QStringList{"dates", "--shift", "an hour", "Canon.jpg"};
    QTest::newRow("no date") << QStringList{"dates", "--set", "2024:01:01", "Canon.jpg"};
    QTest::newRow("no such family")
        << QStringList{"dates", "--shift", "1:00", "--tags", "gps", "Canon.jpg"};
    QTest::newRow("no files") << QStringList{"dates", "--shift", "1:00"};
}

void CliDatesTest::mistakesTouchNothing()
{
    QFETCH(QStringList, arguments);
    const QString photo = copyTestData("Canon.jpg", m_env->workPath());
    const FileState before = stateOf(photo);
    const ProcessRun run = cli(arguments, m_env->workPath());
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.error.isEmpty());
    QCOMPARE(stateOf(photo), before);
}

QTEST_GUILESS_MAIN(CliDatesTest)
#include "tst_CliDates.moc"
