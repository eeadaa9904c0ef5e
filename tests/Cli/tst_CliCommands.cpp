// metaloom-cli run as a user runs it, against the real ExifTool on copies of
// the shared samples: every command, its JSON Lines checked against a
// separate read, the exit statuses, dry runs that change no byte, folders
// with and without -r, bad files among good ones, and the progress line.
#include "Cli/Operations.h"
#include "MetaloomFeature/Engine/StripReport.h"
#include "MetaloomFeature/Library/EntryListMerge.h"
#include "MetaloomFeature/Model/MetadataExportFormatter.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "tests/Cli/CliProcess.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

const QString cliProgram = QStringLiteral(METALOOM_CLI);

ProcessRun cli(const QStringList &arguments, const QString &folder,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    return runProcess(cliProgram, arguments, folder, environment);
}

QString textOf(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

// Every line of JSON Lines, each one object with exactly the report's keys.
QList<QJsonObject> reportLines(const QByteArray &bytes, bool strip = false)
{
    QList<QJsonObject> objects;
    QStringList expectedKeys{"complete", "error", "file", "notRemoved", "notWritten", "ok"};
    if (strip)
        expectedKeys << "remaining";
    expectedKeys.sort();
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            qWarning() << "not a JSON object:" << line;
            return {};
        }
        QStringList keys = document.object().keys();
        keys.sort();
        if (keys != expectedKeys) {
            qWarning() << "keys" << keys << "instead of" << expectedKeys;
            return {};
        }
        objects << document.object();
    }
    return objects;
}

QStringList strings(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue item : value.toArray())
        list << item.toString();
    return list;
}

// What a separate read finds beyond the groups every file has and the
// format's own structure.
QStringList metadataKeysOf(const QString &path)
{
    QStringList keys;
    for (const MetadataEntry &entry : readEntries(path)) {
        if (!StripReport::isLeftOut(entry.rawKey) && !keys.contains(entry.rawKey))
            keys << entry.rawKey;
    }
    keys.sort();
    return keys;
}

// The window's export of the file, from a separate read.
QString windowExport(const QString &path, MetadataExportFormatter::Format format)
{
    QList<MetadataEntry> entries = readEntries(path);
    EntryListMerge::mergeFieldSettings(entries, {});
    return MetadataExportFormatter::string(entries, format);
}

QString copyAs(const QString &sample, const QString &folder, const QString &name)
{
    const QString path = copyTestData(sample, folder, name);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    return path;
}

// Every file of the folder (hidden ones too) with its state, and the
// folder's own: a file made and removed beside the others changes that.
QMap<QString, FileState> folderState(const QString &folder)
{
    QMap<QString, FileState> states{{".", stateOf(folder)}};
    for (const QString &name : filesIn(folder))
        states.insert(name, stateOf(QDir(folder).filePath(name)));
    return states;
}

} // namespace

class CliCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readPrintsTheWindowsExport();
    void readJoinsSeveralFiles_data();
    void readJoinsSeveralFiles();
    void setWritesWhatASeparateReadFinds();
    void setNamesWhatAFormatHasNoPlaceFor();
    void stripReportsWhatStayed();
    void dryRunsChangeNoByte_data();
    void dryRunsChangeNoByte();
    void foldersAndSubfolders();
    void oddNamesAmongGoodFiles();
    void unreadableFileAmongGoodOnes();
    void formatsExifToolCannotWrite();
    void mistakesTouchNothing_data();
    void mistakesTouchNothing();
    void presetsAreTheWindows();
    void progressOnlyOnATerminal();
    void ctrlCFinishesTheFileAtWork();
    void speaksTheUsersLanguage();
};

void CliCommandsTest::readPrintsTheWindowsExport()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString photo = copyAs("Canon.jpg", folder, "Canon.jpg");

    for (const auto format : MetadataExportFormatter::allCases()) {
        const ProcessRun run = cli(
            {"read", "--format", MetadataExportFormatter::rawValue(format), "Canon.jpg"}, folder);
        QVERIFY(run.ended);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(textOf(run.error), QString());
        const QString expected = windowExport(photo, format);
        QVERIFY(expected.contains("Canon EOS DIGITAL REBEL"));
        QCOMPARE(withoutAccessDate(textOf(run.output)),
                 withoutAccessDate(format == MetadataExportFormatter::Format::Json
                                       ? expected + u'\n'
                                       : expected));
    }
}

void CliCommandsTest::readJoinsSeveralFiles_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("json") << "json";
    QTest::newRow("yaml") << "yaml";
    QTest::newRow("toml") << "toml";
}

void CliCommandsTest::readJoinsSeveralFiles()
{
    QFETCH(QString, format);
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString iptc = copyAs("IPTC.jpg", folder, "IPTC.jpg");
    const QString gps = copyAs("GPS.jpg", folder, "GPS.jpg");

    // Reading a file moves its access date: it is left out of the comparison.
    const auto exported = [](const QString &path) {
        QJsonObject object = QJsonDocument::fromJson(
                                 windowExport(path, MetadataExportFormatter::Format::Json).toUtf8())
                                 .object();
        object.remove("System:FileAccessDate");
        return object;
    };
    const QJsonObject first = exported(iptc);
    const QJsonObject second = exported(gps);
    QVERIFY(first.contains("IPTC:Keywords"));
    const auto withoutAccessDates = [](QJsonValue read) {
        if (read.isArray()) {
            QJsonArray documents;
            for (const QJsonValue document : read.toArray()) {
                QJsonObject object = document.toObject();
                object.remove("System:FileAccessDate");
                documents.append(object);
            }
            return QJsonValue(documents);
        }
        QJsonObject tables = read.toObject();
        for (auto it = tables.begin(); it != tables.end(); ++it) {
            QJsonObject object = it.value().toObject();
            object.remove("System:FileAccessDate");
            it.value() = object;
        }
        return QJsonValue(tables);
    };

    const ProcessRun run =
        cli({"read", "--format", format, "IPTC.jpg", "missing.jpg", "GPS.jpg"}, folder);
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(textOf(run.error), QStringLiteral("missing.jpg: No such file or folder.\n"
                                               "2 files read, 1 failed\n"));
    const QJsonValue expected =
        format == QLatin1String("toml")
            ? QJsonValue(QJsonObject{{"IPTC.jpg", first}, {"GPS.jpg", second}})
            : QJsonValue(QJsonArray{first, second});
    QCOMPARE(withoutAccessDates(readByPython(format, run.output, folder)), expected);

    // With --json the report goes to standard error: standard output holds
    // the metadata.
    const ProcessRun reported = cli({"read", "--json", "IPTC.jpg", "missing.jpg"}, folder);
    QCOMPARE(reported.exitCode, 1);
    QCOMPARE(withoutAccessDates(readByPython(QStringLiteral("json"), reported.output, folder)),
             QJsonValue(QJsonArray{first}));
    const QList<QJsonObject> lines = reportLines(reported.error);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).value(QStringLiteral("complete")), QJsonValue(true));
    QCOMPARE(lines.at(1).value(QStringLiteral("file")), QJsonValue(QStringLiteral("missing.jpg")));
    QCOMPARE(lines.at(1).value(QStringLiteral("ok")), QJsonValue(false));
}

void CliCommandsTest::setWritesWhatASeparateReadFinds()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString photo = copyAs("GPS.jpg", folder, "trip photo.jpg");
    const qlonglong modified = stateOf(photo).modified;
    QVERIFY(holdsGroup(photo, "GPS"));

    // A key given again is a list: each value one item, a comma in one kept.
    const ProcessRun run =
        cli({"set", "--json", "trip photo.jpg", "--tag", "XMP-dc:Title=Harbour at dawn",
             "--tag=IFD0:Artist=Ann = Bo", "--remove", "GPS:all", "--tag", "XMP-dc:Subject=alpha",
             "--tag", "xmp-dc:subject=beta, gamma"},
            folder);
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(textOf(run.error), QString());
    const QList<QJsonObject> lines = reportLines(run.output);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first(), (QJsonObject{{"file", "trip photo.jpg"},
                                         {"ok", true},
                                         {"complete", true},
                                         {"error", QJsonValue::Null},
                                         {"notWritten", QJsonArray()},
                                         {"notRemoved", QJsonArray()}}));

    const QHash<QString, QString> values = valuesOf(photo);
    QCOMPARE(values.value(QStringLiteral("XMP-dc:Title")), QStringLiteral("Harbour at dawn"));
    QCOMPARE(values.value(QStringLiteral("IFD0:Artist")), QStringLiteral("Ann = Bo"));
    QVERIFY(!holdsGroup(photo, "GPS"));
    const QList<MetadataEntry> entries = readEntries(photo);
    const auto subject = std::find_if(entries.cbegin(), entries.cend(), [](const MetadataEntry &e) {
        return e.rawKey == QLatin1String("XMP-dc:Subject");
    });
    QVERIFY(subject != entries.cend());
    QCOMPARE(subject->items, (QStringList{"alpha", "beta, gamma"}));
    // As Save does: the file's modification date is kept.
    QCOMPARE(stateOf(photo).modified, modified);

    const ProcessRun human = cli({"set", "trip photo.jpg", "--tag", "XMP-dc:Title=Dusk"}, folder);
    QCOMPARE(human.exitCode, 0);
    QCOMPARE(textOf(human.output), QString());
    QCOMPARE(textOf(human.error), QStringLiteral("trip photo.jpg: changed\n1 file changed\n"));
    QCOMPARE(valueOf(photo, QStringLiteral("XMP-dc:Title")), QStringLiteral("Dusk"));
}

void CliCommandsTest::setNamesWhatAFormatHasNoPlaceFor()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString photo = copyAs("GPS.jpg", folder, "g.jpg");

    // The photo has no Canon maker notes to hold an owner's name.
    const ProcessRun run =
        cli({"set", "g.jpg", "--json", "--tag", "XMP-dc:Title=T", "--tag", "Canon:OwnerName=Me"},
            folder);
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(run.output);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().value(QStringLiteral("ok")), QJsonValue(true));
    QCOMPARE(lines.first().value(QStringLiteral("complete")), QJsonValue(false));
    QCOMPARE(strings(lines.first().value(QStringLiteral("notWritten"))),
             QStringList{QStringLiteral("Canon:OwnerName")});
    const QHash<QString, QString> values = valuesOf(photo);
    QCOMPARE(values.value(QStringLiteral("XMP-dc:Title")), QStringLiteral("T"));
    QVERIFY(!values.contains("Canon:OwnerName"));

    // Without --json the line gives the engine's reason.
    const ProcessRun human =
        cli({"set", "g.jpg", "--tag", "Canon:OwnerName=Me", "--tag", "XMP-dc:Title=U"}, folder);
    QCOMPARE(human.exitCode, 1);
    QCOMPARE(textOf(human.error),
             QStringLiteral("g.jpg: changed in part. This JPG file has no place for "
                            "Canon:OwnerName.\n1 file changed in part\n"));
}

void CliCommandsTest::stripReportsWhatStayed()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString photo = copyAs("Canon.jpg", folder, "Canon.jpg");
    const QString raw = copyAs("CanonRaw.cr2", folder, "raw.cr2");

    const ProcessRun run = cli({"strip", "--json", "Canon.jpg", "raw.cr2"}, folder);
    QVERIFY(run.ended);
    // The raw file keeps tags its format needs: not complete.
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(run.output, true);
    QCOMPARE(lines.size(), 2);

    QCOMPARE(metadataKeysOf(photo), QStringList());
    QCOMPARE(lines.at(0).value(QStringLiteral("complete")), QJsonValue(true));
    QCOMPARE(strings(lines.at(0).value(QStringLiteral("remaining"))), QStringList());

    const QStringList left = metadataKeysOf(raw);
    QVERIFY(left.contains("IFD0:Make"));
    QCOMPARE(lines.at(1).value(QStringLiteral("ok")), QJsonValue(true));
    QCOMPARE(lines.at(1).value(QStringLiteral("complete")), QJsonValue(false));
    QStringList remaining = strings(lines.at(1).value("remaining"));
    // Those that identify a person or a camera first.
    QCOMPARE(remaining.mid(0, 3), (QStringList{"Canon:OwnerName", "IFD0:Make", "IFD0:Model"}));
    remaining.sort();
    QCOMPARE(remaining, left);

    copyAs("CanonRaw.cr2", folder, "again.cr2");
    const ProcessRun human = cli({"strip", "again.cr2"}, folder);
    QCOMPARE(human.exitCode, 1);
    QVERIFY2(textOf(human.error)
                 .startsWith(QStringLiteral("Removed 0 tags from again.cr2. %1 tags could not be "
                                            "removed from this file type, among them OwnerName, "
                                            "Make, Model, SerialNumber.")
                                 .arg(left.size())),
             human.error.constData());
    QVERIFY(textOf(human.error).endsWith("\n1 file stripped in part\n"));
}

void CliCommandsTest::dryRunsChangeNoByte_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("wouldWrite");
    QTest::addColumn<QStringList>("wouldRemove");
    QTest::addColumn<bool>("strip");

    QTest::newRow("set") << QStringList{"set",   "--dry-run",         "--json",   "IPTC.jpg",
                                        "--tag", "XMP-dc:Title=Dawn", "--remove", "IPTC:Keywords"}
                         << QStringList{"XMP-dc:Title"} << QStringList{"IPTC:Keywords"} << false;
    QTest::newRow("apply-preset") << QStringList{"apply-preset", "Share", "--dry-run", "--json",
                                                 "IPTC.jpg"}
                                  << QStringList{"XMP-dc:Rights"} << QStringList{"IPTC:By-line"}
                                  << false;
    QTest::newRow("strip") << QStringList{"strip", "--dry-run", "--json", "IPTC.jpg"}
                           << QStringList() << QStringList() << true;
}

void CliCommandsTest::dryRunsChangeNoByte()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, wouldWrite);
    QFETCH(QStringList, wouldRemove);
    QFETCH(bool, strip);

    TestEnvironment environment;
    PresetsStore(Preferences::standard())
        .addPreset(
            {QUuid::createUuid(), "Share",
             PresetAction::addOrModifyMetadata({{"XMP-dc:Rights", "CC BY"}}, {"IPTC:By-line"})});
    const QString folder = environment.workPath();
    const QString photo = copyAs("IPTC.jpg", folder, "IPTC.jpg");
    const QMap<QString, FileState> before = folderState(folder);

    const ProcessRun dry = cli(arguments, folder);
    QVERIFY(dry.ended);
    QCOMPARE(textOf(dry.error), QString());
    QCOMPARE(folderState(folder), before);
    // Something would change: not complete.
    QCOMPARE(dry.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(dry.output, strip);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().value(QStringLiteral("ok")), QJsonValue(true));
    QCOMPARE(lines.first().value(QStringLiteral("complete")), QJsonValue(false));
    QCOMPARE(strings(lines.first().value(QStringLiteral("notWritten"))), wouldWrite);
    QCOMPARE(strings(lines.first().value(QStringLiteral("notRemoved"))), wouldRemove);
    if (strip) {
        QStringList remaining = strings(lines.first().value("remaining"));
        remaining.sort();
        QCOMPARE(remaining, metadataKeysOf(photo));
    }

    // Done for real, the same dry run finds nothing left to change.
    arguments.removeAll("--dry-run");
    const ProcessRun done = cli(arguments, folder);
    QCOMPARE(done.exitCode, 0);
    arguments << "--dry-run";
    const QMap<QString, FileState> after = folderState(folder);
    const ProcessRun again = cli(arguments, folder);
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(reportLines(again.output, strip).value(0).value(QStringLiteral("complete")),
             QJsonValue(true));
    QCOMPARE(folderState(folder), after);
}

void CliCommandsTest::foldersAndSubfolders()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    work.mkpath("top/sub/deeper");
    const QString top = copyAs("IPTC.jpg", work.filePath("top"), "a.jpg");
    const QString hidden = copyAs("IPTC.jpg", work.filePath("top"), ".h.jpg");
    const QString sub = copyAs("IPTC.jpg", work.filePath("top/sub"), "b.jpg");
    const QString deeper = copyAs("IPTC.jpg", work.filePath("top/sub/deeper"), "c.jpg");
    const FileState hiddenBefore = stateOf(hidden);

    const auto filesReported = [](const ProcessRun &run) {
        QStringList files;
        for (const QJsonObject &line : reportLines(run.output, true)) {
            if (line.value("complete").toBool())
                files << line.value("file").toString();
        }
        return files;
    };
    const ProcessRun flat = cli({"strip", "--json", "top"}, work.path());
    QCOMPARE(flat.exitCode, 0);
    QCOMPARE(filesReported(flat), QStringList{QStringLiteral("top/a.jpg")});
    QVERIFY(!holdsGroup(top, "IPTC"));
    QVERIFY(holdsGroup(sub, "IPTC"));

    const ProcessRun deep = cli({"strip", "-r", "--json", "top/"}, work.path());
    QCOMPARE(deep.exitCode, 0);
    QCOMPARE(filesReported(deep),
             (QStringList{"top/a.jpg", "top/sub/b.jpg", "top/sub/deeper/c.jpg"}));
    QVERIFY(!holdsGroup(sub, "IPTC"));
    QVERIFY(!holdsGroup(deeper, "IPTC"));
    // Hidden files stay out, as in a drop.
    QCOMPARE(stateOf(hidden), hiddenBefore);
}

void CliCommandsTest::oddNamesAmongGoodFiles()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    work.mkpath("odd");
    const QStringList goodNames{"name with spaces.jpg", "it's \"quoted\" $(echo x).jpg",
                                "new\nline.jpg", "-dash.jpg", "Café 写真.jpg"};
    QStringList goodPaths;
    for (const QString &name : goodNames)
        goodPaths << copyAs("IPTC.jpg", work.filePath("odd"), name);
    // A name that is not UTF-8, made from its bytes.
    const QByteArray badName = QFile::encodeName(work.filePath("odd")) + "/bad\xff.jpg";
    {
        QFile sample(testDataFolder() + QStringLiteral("/IPTC.jpg"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray bytes = sample.readAll();
        const int descriptor = ::open(badName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(descriptor >= 0);
        QCOMPARE(::write(descriptor, bytes.constData(), size_t(bytes.size())),
                 ssize_t(bytes.size()));
        ::close(descriptor);
    }
    QVERIFY(::mkfifo(QFile::encodeName(work.filePath("pipe.jpg")).constData(), 0644) == 0);

    const ProcessRun run =
        cli({"set", "--json", "--tag", "XMP-dc:Title=T", "--", "odd", "pipe.jpg", "missing.jpg"},
            work.path());
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 1);
    QMap<QString, QJsonObject> byFile;
    for (const QJsonObject &line : reportLines(run.output))
        byFile.insert(line.value("file").toString(), line);
    QCOMPARE(byFile.size(), goodNames.size() + 3);

    for (qsizetype i = 0; i < goodNames.size(); ++i) {
        const QJsonObject line = byFile.value(QStringLiteral("odd/") + goodNames.at(i));
        QVERIFY2(line.value("complete").toBool(), qPrintable(goodNames.at(i)));
        QCOMPARE(valueOf(goodPaths.at(i), QStringLiteral("XMP-dc:Title")), QStringLiteral("T"));
    }
    const auto errorOf = [&](const QString &file) {
        const QJsonObject line = byFile.value(file);
        return line.value("ok").toBool() ? QString() : line.value("error").toString();
    };
    QVERIFY2(errorOf("odd/bad\uFFFD.jpg").contains("not valid UTF-8"),
             qPrintable(errorOf(QStringLiteral("odd/bad\uFFFD.jpg"))));
    QVERIFY(errorOf("pipe.jpg").contains("is a named pipe"));
    QCOMPARE(errorOf(QStringLiteral("missing.jpg")), QStringLiteral("No such file or folder."));

    // The file with the name that cannot be handled is as it was.
    struct stat info {};
    QCOMPARE(::stat(badName.constData(), &info), 0);
    QCOMPARE(qint64(info.st_size),
             QFileInfo(testDataFolder() + QStringLiteral("/IPTC.jpg")).size());
    // Qt cannot see the file to remove it with the test's folder.
    QCOMPARE(::unlink(badName.constData()), 0);
}

void CliCommandsTest::unreadableFileAmongGoodOnes()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    const QString good = copyAs("IPTC.jpg", work.path(), "good.jpg");
    const QString secret = copyAs("IPTC.jpg", work.path(), "secret.jpg");
    QProcessEnvironment processEnvironment = QProcessEnvironment::systemEnvironment();
    QString program = cliProgram;
    QStringList arguments{"strip", "--json", "good.jpg", "secret.jpg"};
    if (::geteuid() == 0) {
        // Root reads every file: the run is made as nobody, who owns the
        // folder and the good file but may not read the secret one.
        QVERIFY(::chmod(QFile::encodeName(environment.root()).constData(), 0711) == 0);
        for (const char *folder : {"home", "tmp"})
            work.mkpath(QString::fromLatin1(folder));
        for (const QString &path : {work.path(), good, work.filePath("home"), work.filePath("tmp")})
            QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
        QVERIFY(::chmod(QFile::encodeName(secret).constData(), 0600) == 0);
        processEnvironment.insert("HOME", work.filePath("home"));
        processEnvironment.insert("TMPDIR", work.filePath("tmp"));
        processEnvironment.insert("XDG_CONFIG_HOME", work.filePath("home"));
        arguments.prepend(cliProgram);
        arguments = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups"} + arguments;
        program = "setpriv";
    } else {
        QVERIFY(::chmod(QFile::encodeName(secret).constData(), 0) == 0);
    }
    const FileState secretBefore = stateOf(secret);

    const ProcessRun run = runProcess(program, arguments, work.path(), processEnvironment);
    QVERIFY2(run.ended, run.error.constData());
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(run.output, true);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).value(QStringLiteral("complete")), QJsonValue(true));
    QCOMPARE(lines.at(1).value(QStringLiteral("error")),
             QJsonValue(QStringLiteral("This file cannot be read: permission denied.")));
    QVERIFY(!holdsGroup(good, "IPTC"));
    QCOMPARE(stateOf(secret), secretBefore);
}

void CliCommandsTest::formatsExifToolCannotWrite()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    copyAs("Matroska.mkv", folder, "clip.mkv");
    copyAs("AAC.aac", folder, "song.aac");
    const QMap<QString, FileState> before = folderState(folder);

    for (const QStringList &arguments :
         {QStringList{"strip", "--json", "clip.mkv", "song.aac"},
          QStringList{"set", "--json", "--dry-run", "clip.mkv", "song.aac", "--tag", "Title=T"}}) {
        const ProcessRun run = cli(arguments, folder);
        QCOMPARE(run.exitCode, 1);
        const QList<QJsonObject> lines =
            reportLines(run.output, arguments.first() == QLatin1String("strip"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0).value(QStringLiteral("error")),
                 QJsonValue(QStringLiteral(
                     "ExifTool can't write MKV files, so their metadata cannot be changed.")));
        QCOMPARE(lines.at(1).value(QStringLiteral("error")),
                 QJsonValue(QStringLiteral(
                     "ExifTool can't write AAC files, so their metadata cannot be changed.")));
    }
    QCOMPARE(folderState(folder), before);
    // Reading them is fine.
    QCOMPARE(cli({QStringLiteral("read"), QStringLiteral("clip.mkv")}, folder).exitCode, 0);
}

void CliCommandsTest::mistakesTouchNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown command") << QStringList{"wipe", "IPTC.jpg"} << "unknown command 'wipe'";
    QTest::newRow("a file named with a dash")
        << QStringList{"strip", "-IPTC.jpg"}
        << QStringLiteral("unknown option '-IPTC.jpg' (a file whose name starts with '-' goes "
                          "after '--', as in 'metaloom-cli strip -- -IPTC.jpg')");
    QTest::newRow("unknown preset")
        << QStringList{"apply-preset", "Nope", "IPTC.jpg"}
        << QStringLiteral("no preset named 'Nope': you have no presets yet (make them in "
                          "Metaloom's preset manager)");
}

void CliCommandsTest::mistakesTouchNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    TestEnvironment environment;
    const QString folder = environment.workPath();
    copyAs("IPTC.jpg", folder, "IPTC.jpg");
    copyAs("IPTC.jpg", folder, "-IPTC.jpg");
    const QMap<QString, FileState> before = folderState(folder);

    const ProcessRun run = cli(arguments, folder);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(textOf(run.output), QString());
    QCOMPARE(textOf(run.error), QStringLiteral("metaloom-cli: ") + message +
                                    QStringLiteral("\nTry 'metaloom-cli --help' for more "
                                                   "information.\n"));
    QCOMPARE(folderState(folder), before);
    // The engine never started: it would have made its private folder.
    QCOMPARE(QDir(environment.tempPath())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void CliCommandsTest::presetsAreTheWindows()
{
    TestEnvironment environment;
    PresetsStore store(Preferences::standard());
    store.addPreset({QUuid::createUuid(), "Share safely",
                     PresetAction::addOrModifyMetadata({{"XMP-dc:Rights", "CC BY"}}, {"GPS:all"})});
    store.addPreset({QUuid::createUuid(), "Credit",
                     PresetAction::addOrModifyMetadata({{"IFD0:Artist", "Ann"}})});
    const QString folder = environment.workPath();
    const QString photo = copyAs("GPS.jpg", folder, "GPS.jpg");

    const ProcessRun listed = cli({"presets"}, folder);
    QCOMPARE(listed.exitCode, 0);
    QCOMPARE(textOf(listed.output), QStringLiteral("Share safely\nCredit\n"));

    const ProcessRun applied = cli({"apply-preset", "Share safely", "--json", "GPS.jpg"}, folder);
    QCOMPARE(applied.exitCode, 0);
    QCOMPARE(reportLines(applied.output).value(0).value(QStringLiteral("complete")),
             QJsonValue(true));
    QCOMPARE(valueOf(photo, QStringLiteral("XMP-dc:Rights")), QStringLiteral("CC BY"));
    QVERIFY(!holdsGroup(photo, "GPS"));
}

void CliCommandsTest::progressOnlyOnATerminal()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    copyAs("IPTC.jpg", folder, "a.jpg");
    copyAs("IPTC.jpg", folder, "b.jpg");

    const ProcessRun piped = cli({"strip", "a.jpg", "b.jpg"}, folder);
    QCOMPARE(piped.exitCode, 0);
    QCOMPARE(textOf(piped.error), QStringLiteral("Removed all metadata from a.jpg.\n"
                                                 "Removed all metadata from b.jpg.\n"
                                                 "2 files stripped\n"));

    // script(1) gives the program a terminal of its own.
    if (QStandardPaths::findExecutable("script").isEmpty())
        QSKIP("script (util-linux) is not installed");
    const ProcessRun onTerminal = runProcess(
        "script",
        {"-qec", cliProgram + QStringLiteral(" strip --dry-run a.jpg b.jpg"), "/dev/null"}, folder);
    QCOMPARE(onTerminal.exitCode, 0);
    const QString seen = textOf(onTerminal.output);
    QVERIFY2(seen.contains("\r\x1b[K1/2 a.jpg\r\x1b[K"), qPrintable(seen));
    QVERIFY2(seen.contains("\r\x1b[K2/2 b.jpg\r\x1b[K"), qPrintable(seen));
    QVERIFY(seen.contains("2 files hold no metadata"));
}

void CliCommandsTest::ctrlCFinishesTheFileAtWork()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    constexpr int count = 80;
    for (int i = 0; i < count; ++i)
        copyAs("IPTC.jpg", folder, QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')));

    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(cliProgram, {"strip", "--json", folder});
    QVERIFY(process.waitForStarted());
    // Interrupted once the first file is reported, as a user's Ctrl+C.
    while (!process.canReadLine() && process.state() == QProcess::Running)
        process.waitForReadyRead(10000);
    QCOMPARE(process.state(), QProcess::Running);
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 130);

    const QList<QJsonObject> lines = reportLines(process.readAllStandardOutput(), true);
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.size() < count, "the run was not stopped");
    for (const QJsonObject &line : lines)
        QCOMPARE(line.value(QStringLiteral("complete")), QJsonValue(true));
    // Every file reported was stripped and every other one left as it was.
    for (int i = 0; i < count; ++i) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        QCOMPARE(holdsGroup(path, QStringLiteral("IPTC")), i >= lines.size());
    }
    QCOMPARE(filesIn(folder).size(), count);
}

// With LANGUAGE=de the human lines are German; the JSON report keeps its
// keys and values for scripts.
void CliCommandsTest::speaksTheUsersLanguage()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    QProcessEnvironment german = QProcessEnvironment::systemEnvironment();
    german.insert("LANGUAGE", "de");

    const ProcessRun mistake = cli({"strip", "--bogus"}, folder, german);
    QCOMPARE(mistake.exitCode, 2);
    QCOMPARE(textOf(mistake.error),
             QStringLiteral("metaloom-cli: unbekannte Option '--bogus'\n"
                            "Mit 'metaloom-cli --help' erfahren Sie mehr.\n"));

    const ProcessRun missing = cli({"strip", "missing.jpg"}, folder, german);
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(textOf(missing.error),
             QStringLiteral("missing.jpg: Datei oder Ordner nicht vorhanden.\n"
                            "1 Datei fehlgeschlagen\n"));

    const ProcessRun json = cli({"strip", "--json", "missing.jpg"}, folder, german);
    const QJsonObject report = QJsonDocument::fromJson(json.output).object();
    QCOMPARE(report.value(QStringLiteral("file")).toString(), QStringLiteral("missing.jpg"));
    QCOMPARE(report.value(QStringLiteral("ok")), QJsonValue(false));
    QVERIFY(report.contains("remaining"));
}

QTEST_GUILESS_MAIN(CliCommandsTest)
#include "tst_CliCommands.moc"
