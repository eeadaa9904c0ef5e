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
using namespace Qt::StringLiterals;

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
        expectedKeys << u"remaining"_s;
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
    QMap<QString, FileState> states{{u"."_s, stateOf(folder)}};
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
    const QString photo = copyAs(u"Canon.jpg"_s, folder, u"Canon.jpg"_s);

    for (const auto format : MetadataExportFormatter::allCases()) {
        const ProcessRun run = cli(
            {u"read"_s, u"--format"_s, MetadataExportFormatter::rawValue(format), u"Canon.jpg"_s},
            folder);
        QVERIFY(run.ended);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(textOf(run.error), QString());
        const QString expected = windowExport(photo, format);
        QVERIFY(expected.contains(u"Canon EOS DIGITAL REBEL"_s));
        QCOMPARE(withoutAccessDate(textOf(run.output)),
                 withoutAccessDate(format == MetadataExportFormatter::Format::Json
                                       ? expected + u'\n'
                                       : expected));
    }
}

void CliCommandsTest::readJoinsSeveralFiles_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("json") << u"json"_s;
    QTest::newRow("yaml") << u"yaml"_s;
    QTest::newRow("toml") << u"toml"_s;
}

void CliCommandsTest::readJoinsSeveralFiles()
{
    QFETCH(QString, format);
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString iptc = copyAs(u"IPTC.jpg"_s, folder, u"IPTC.jpg"_s);
    const QString gps = copyAs(u"GPS.jpg"_s, folder, u"GPS.jpg"_s);

    // Reading a file moves its access date: it is left out of the comparison.
    const auto exported = [](const QString &path) {
        QJsonObject object = QJsonDocument::fromJson(
                                 windowExport(path, MetadataExportFormatter::Format::Json).toUtf8())
                                 .object();
        object.remove(u"System:FileAccessDate"_s);
        return object;
    };
    const QJsonObject first = exported(iptc);
    const QJsonObject second = exported(gps);
    QVERIFY(first.contains(u"IPTC:Keywords"_s));
    const auto withoutAccessDates = [](QJsonValue read) {
        if (read.isArray()) {
            QJsonArray documents;
            for (const QJsonValue document : read.toArray()) {
                QJsonObject object = document.toObject();
                object.remove(u"System:FileAccessDate"_s);
                documents.append(object);
            }
            return QJsonValue(documents);
        }
        QJsonObject tables = read.toObject();
        for (auto it = tables.begin(); it != tables.end(); ++it) {
            QJsonObject object = it.value().toObject();
            object.remove(u"System:FileAccessDate"_s);
            it.value() = object;
        }
        return QJsonValue(tables);
    };

    const ProcessRun run = cli(
        {u"read"_s, u"--format"_s, format, u"IPTC.jpg"_s, u"missing.jpg"_s, u"GPS.jpg"_s}, folder);
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(textOf(run.error), u"missing.jpg: No such file or folder.\n"
                                "2 files read, 1 failed\n"_s);
    const QJsonValue expected =
        format == QLatin1String("toml")
            ? QJsonValue(QJsonObject{{u"IPTC.jpg"_s, first}, {u"GPS.jpg"_s, second}})
            : QJsonValue(QJsonArray{first, second});
    QCOMPARE(withoutAccessDates(readByPython(format, run.output, folder)), expected);

    // With --json the report goes to standard error: standard output holds
    // the metadata.
    const ProcessRun reported =
        cli({u"read"_s, u"--json"_s, u"IPTC.jpg"_s, u"missing.jpg"_s}, folder);
    QCOMPARE(reported.exitCode, 1);
    QCOMPARE(withoutAccessDates(readByPython(u"json"_s, reported.output, folder)),
             QJsonValue(QJsonArray{first}));
    const QList<QJsonObject> lines = reportLines(reported.error);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).value(u"complete"_s), QJsonValue(true));
    QCOMPARE(lines.at(1).value(u"file"_s), QJsonValue(u"missing.jpg"_s));
    QCOMPARE(lines.at(1).value(u"ok"_s), QJsonValue(false));
}

void CliCommandsTest::setWritesWhatASeparateReadFinds()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString photo = copyAs(u"GPS.jpg"_s, folder, u"trip photo.jpg"_s);
    const qlonglong modified = stateOf(photo).modified;
    QVERIFY(holdsGroup(photo, u"GPS"_s));

    // A key given again is a list: each value one item, a comma in one kept.
    const ProcessRun run = cli({u"set"_s, u"--json"_s, u"trip photo.jpg"_s, u"--tag"_s,
                                u"XMP-dc:Title=Harbour at dawn"_s, u"--tag=IFD0:Artist=Ann = Bo"_s,
                                u"--remove"_s, u"GPS:all"_s, u"--tag"_s, u"XMP-dc:Subject=alpha"_s,
                                u"--tag"_s, u"xmp-dc:subject=beta, gamma"_s},
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
    QCOMPARE(values.value(u"XMP-dc:Title"_s), u"Harbour at dawn"_s);
    QCOMPARE(values.value(u"IFD0:Artist"_s), u"Ann = Bo"_s);
    QVERIFY(!holdsGroup(photo, u"GPS"_s));
    const QList<MetadataEntry> entries = readEntries(photo);
    const auto subject = std::find_if(entries.cbegin(), entries.cend(), [](const MetadataEntry &e) {
        return e.rawKey == QLatin1String("XMP-dc:Subject");
    });
    QVERIFY(subject != entries.cend());
    QCOMPARE(subject->items, (QStringList{"alpha", "beta, gamma"}));
    // As Save does: the file's modification date is kept.
    QCOMPARE(stateOf(photo).modified, modified);

    const ProcessRun human =
        cli({u"set"_s, u"trip photo.jpg"_s, u"--tag"_s, u"XMP-dc:Title=Dusk"_s}, folder);
    QCOMPARE(human.exitCode, 0);
    QCOMPARE(textOf(human.output), QString());
    QCOMPARE(textOf(human.error), u"trip photo.jpg: changed\n1 file changed\n"_s);
    QCOMPARE(valueOf(photo, u"XMP-dc:Title"_s), u"Dusk"_s);
}

void CliCommandsTest::setNamesWhatAFormatHasNoPlaceFor()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString photo = copyAs(u"GPS.jpg"_s, folder, u"g.jpg"_s);

    // The photo has no Canon maker notes to hold an owner's name.
    const ProcessRun run = cli({u"set"_s, u"g.jpg"_s, u"--json"_s, u"--tag"_s, u"XMP-dc:Title=T"_s,
                                u"--tag"_s, u"Canon:OwnerName=Me"_s},
                               folder);
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(run.output);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().value(u"ok"_s), QJsonValue(true));
    QCOMPARE(lines.first().value(u"complete"_s), QJsonValue(false));
    QCOMPARE(strings(lines.first().value(u"notWritten"_s)), QStringList{u"Canon:OwnerName"_s});
    const QHash<QString, QString> values = valuesOf(photo);
    QCOMPARE(values.value(u"XMP-dc:Title"_s), u"T"_s);
    QVERIFY(!values.contains(u"Canon:OwnerName"_s));

    // Without --json the line gives the engine's reason.
    const ProcessRun human = cli({u"set"_s, u"g.jpg"_s, u"--tag"_s, u"Canon:OwnerName=Me"_s,
                                  u"--tag"_s, u"XMP-dc:Title=U"_s},
                                 folder);
    QCOMPARE(human.exitCode, 1);
    QCOMPARE(textOf(human.error), u"g.jpg: changed in part. This JPG file has no place for "
                                  "Canon:OwnerName.\n1 file changed in part\n"_s);
}

void CliCommandsTest::stripReportsWhatStayed()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    const QString photo = copyAs(u"Canon.jpg"_s, folder, u"Canon.jpg"_s);
    const QString raw = copyAs(u"CanonRaw.cr2"_s, folder, u"raw.cr2"_s);

    const ProcessRun run = cli({u"strip"_s, u"--json"_s, u"Canon.jpg"_s, u"raw.cr2"_s}, folder);
    QVERIFY(run.ended);
    // The raw file keeps tags its format needs: not complete.
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(run.output, true);
    QCOMPARE(lines.size(), 2);

    QCOMPARE(metadataKeysOf(photo), QStringList());
    QCOMPARE(lines.at(0).value(u"complete"_s), QJsonValue(true));
    QCOMPARE(strings(lines.at(0).value(u"remaining"_s)), QStringList());

    const QStringList left = metadataKeysOf(raw);
    QVERIFY(left.contains(u"IFD0:Make"_s));
    QCOMPARE(lines.at(1).value(u"ok"_s), QJsonValue(true));
    QCOMPARE(lines.at(1).value(u"complete"_s), QJsonValue(false));
    QStringList remaining = strings(lines.at(1).value(u"remaining"_s));
    // Those that identify a person or a camera first.
    QCOMPARE(remaining.mid(0, 3), (QStringList{"Canon:OwnerName", "IFD0:Make", "IFD0:Model"}));
    remaining.sort();
    QCOMPARE(remaining, left);

    copyAs(u"CanonRaw.cr2"_s, folder, u"again.cr2"_s);
    const ProcessRun human = cli({u"strip"_s, u"again.cr2"_s}, folder);
    QCOMPARE(human.exitCode, 1);
    QVERIFY2(textOf(human.error)
                 .startsWith(u"Removed 0 tags from again.cr2. %1 tags could not be "
                             "removed from this file type, among them OwnerName, "
                             "Make, Model, SerialNumber."_s.arg(left.size())),
             human.error.constData());
    QVERIFY(textOf(human.error).endsWith(u"\n1 file stripped in part\n"_s));
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
            {QUuid::createUuid(), u"Share"_s,
             PresetAction::addOrModifyMetadata({{"XMP-dc:Rights", "CC BY"}}, {"IPTC:By-line"})});
    const QString folder = environment.workPath();
    const QString photo = copyAs(u"IPTC.jpg"_s, folder, u"IPTC.jpg"_s);
    const QMap<QString, FileState> before = folderState(folder);

    const ProcessRun dry = cli(arguments, folder);
    QVERIFY(dry.ended);
    QCOMPARE(textOf(dry.error), QString());
    QCOMPARE(folderState(folder), before);
    // Something would change: not complete.
    QCOMPARE(dry.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(dry.output, strip);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().value(u"ok"_s), QJsonValue(true));
    QCOMPARE(lines.first().value(u"complete"_s), QJsonValue(false));
    QCOMPARE(strings(lines.first().value(u"notWritten"_s)), wouldWrite);
    QCOMPARE(strings(lines.first().value(u"notRemoved"_s)), wouldRemove);
    if (strip) {
        QStringList remaining = strings(lines.first().value(u"remaining"_s));
        remaining.sort();
        QCOMPARE(remaining, metadataKeysOf(photo));
    }

    // Done for real, the same dry run finds nothing left to change.
    arguments.removeAll(u"--dry-run"_s);
    const ProcessRun done = cli(arguments, folder);
    QCOMPARE(done.exitCode, 0);
    arguments << u"--dry-run"_s;
    const QMap<QString, FileState> after = folderState(folder);
    const ProcessRun again = cli(arguments, folder);
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(reportLines(again.output, strip).value(0).value(u"complete"_s), QJsonValue(true));
    QCOMPARE(folderState(folder), after);
}

void CliCommandsTest::foldersAndSubfolders()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    work.mkpath(u"top/sub/deeper"_s);
    const QString top = copyAs(u"IPTC.jpg"_s, work.filePath("top"), "a.jpg");
    const QString hidden = copyAs(u"IPTC.jpg"_s, work.filePath("top"), ".h.jpg");
    const QString sub = copyAs(u"IPTC.jpg"_s, work.filePath("top/sub"), "b.jpg");
    const QString deeper = copyAs(u"IPTC.jpg"_s, work.filePath("top/sub/deeper"), "c.jpg");
    const FileState hiddenBefore = stateOf(hidden);

    const auto filesReported = [](const ProcessRun &run) {
        QStringList files;
        for (const QJsonObject &line : reportLines(run.output, true)) {
            if (line.value(u"complete"_s).toBool())
                files << line.value(u"file"_s).toString();
        }
        return files;
    };
    const ProcessRun flat = cli({u"strip"_s, u"--json"_s, u"top"_s}, work.path());
    QCOMPARE(flat.exitCode, 0);
    QCOMPARE(filesReported(flat), QStringList{u"top/a.jpg"_s});
    QVERIFY(!holdsGroup(top, u"IPTC"_s));
    QVERIFY(holdsGroup(sub, u"IPTC"_s));

    const ProcessRun deep = cli({u"strip"_s, u"-r"_s, u"--json"_s, u"top/"_s}, work.path());
    QCOMPARE(deep.exitCode, 0);
    QCOMPARE(filesReported(deep),
             (QStringList{"top/a.jpg", "top/sub/b.jpg", "top/sub/deeper/c.jpg"}));
    QVERIFY(!holdsGroup(sub, u"IPTC"_s));
    QVERIFY(!holdsGroup(deeper, u"IPTC"_s));
    // Hidden files stay out, as in a drop.
    QCOMPARE(stateOf(hidden), hiddenBefore);
}

void CliCommandsTest::oddNamesAmongGoodFiles()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    work.mkpath(u"odd"_s);
    const QStringList goodNames{"name with spaces.jpg", "it's \"quoted\" $(echo x).jpg",
                                "new\nline.jpg", "-dash.jpg", "Café 写真.jpg"};
    QStringList goodPaths;
    for (const QString &name : goodNames)
        goodPaths << copyAs(u"IPTC.jpg"_s, work.filePath(u"odd"_s), name);
    // A name that is not UTF-8, made from its bytes.
    const QByteArray badName = QFile::encodeName(work.filePath(u"odd"_s)) + "/bad\xff.jpg";
    {
        QFile sample(testDataFolder() + u"/IPTC.jpg"_s);
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray bytes = sample.readAll();
        const int descriptor = ::open(badName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(descriptor >= 0);
        QCOMPARE(::write(descriptor, bytes.constData(), size_t(bytes.size())),
                 ssize_t(bytes.size()));
        ::close(descriptor);
    }
    QVERIFY(::mkfifo(QFile::encodeName(work.filePath(u"pipe.jpg"_s)).constData(), 0644) == 0);

    const ProcessRun run = cli({u"set"_s, u"--json"_s, u"--tag"_s, u"XMP-dc:Title=T"_s, u"--"_s,
                                u"odd"_s, u"pipe.jpg"_s, u"missing.jpg"_s},
                               work.path());
    QVERIFY(run.ended);
    QCOMPARE(run.exitCode, 1);
    QMap<QString, QJsonObject> byFile;
    for (const QJsonObject &line : reportLines(run.output))
        byFile.insert(line.value(u"file"_s).toString(), line);
    QCOMPARE(byFile.size(), goodNames.size() + 3);

    for (qsizetype i = 0; i < goodNames.size(); ++i) {
        const QJsonObject line = byFile.value(u"odd/"_s + goodNames.at(i));
        QVERIFY2(line.value(u"complete"_s).toBool(), qPrintable(goodNames.at(i)));
        QCOMPARE(valueOf(goodPaths.at(i), u"XMP-dc:Title"_s), u"T"_s);
    }
    const auto errorOf = [&](const QString &file) {
        const QJsonObject line = byFile.value(file);
        return line.value(u"ok"_s).toBool() ? QString() : line.value(u"error"_s).toString();
    };
    QVERIFY2(errorOf(u"odd/bad\uFFFD.jpg"_s).contains(u"not valid UTF-8"_s),
             qPrintable(errorOf(u"odd/bad\uFFFD.jpg"_s)));
    QVERIFY(errorOf(u"pipe.jpg"_s).contains(u"is a named pipe"_s));
    QCOMPARE(errorOf(u"missing.jpg"_s), u"No such file or folder."_s);

    // The file with the name that cannot be handled is as it was.
    struct stat info {};
    QCOMPARE(::stat(badName.constData(), &info), 0);
    QCOMPARE(qint64(info.st_size), QFileInfo(testDataFolder() + u"/IPTC.jpg"_s).size());
    // Qt cannot see the file to remove it with the test's folder.
    QCOMPARE(::unlink(badName.constData()), 0);
}

void CliCommandsTest::unreadableFileAmongGoodOnes()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    const QString good = copyAs(u"IPTC.jpg"_s, work.path(), u"good.jpg"_s);
    const QString secret = copyAs(u"IPTC.jpg"_s, work.path(), u"secret.jpg"_s);
    QProcessEnvironment processEnvironment = QProcessEnvironment::systemEnvironment();
    QString program = cliProgram;
    QStringList arguments{u"strip"_s, u"--json"_s, u"good.jpg"_s, u"secret.jpg"_s};
    if (::geteuid() == 0) {
        // Root reads every file: the run is made as nobody, who owns the
        // folder and the good file but may not read the secret one.
        QVERIFY(::chmod(QFile::encodeName(environment.root()).constData(), 0711) == 0);
        for (const char *folder : {"home", "tmp"})
            work.mkpath(QString::fromLatin1(folder));
        for (const QString &path :
             {work.path(), good, work.filePath(u"home"_s), work.filePath(u"tmp"_s)})
            QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
        QVERIFY(::chmod(QFile::encodeName(secret).constData(), 0600) == 0);
        processEnvironment.insert(u"HOME"_s, work.filePath(u"home"_s));
        processEnvironment.insert(u"TMPDIR"_s, work.filePath(u"tmp"_s));
        processEnvironment.insert(u"XDG_CONFIG_HOME"_s, work.filePath(u"home"_s));
        arguments.prepend(cliProgram);
        arguments = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups"} + arguments;
        program = u"setpriv"_s;
    } else {
        QVERIFY(::chmod(QFile::encodeName(secret).constData(), 0) == 0);
    }
    const FileState secretBefore = stateOf(secret);

    const ProcessRun run = runProcess(program, arguments, work.path(), processEnvironment);
    QVERIFY2(run.ended, run.error.constData());
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> lines = reportLines(run.output, true);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).value(u"complete"_s), QJsonValue(true));
    QCOMPARE(lines.at(1).value(u"error"_s),
             QJsonValue(u"This file cannot be read: permission denied."_s));
    QVERIFY(!holdsGroup(good, u"IPTC"_s));
    QCOMPARE(stateOf(secret), secretBefore);
}

void CliCommandsTest::formatsExifToolCannotWrite()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    copyAs(u"Matroska.mkv"_s, folder, u"clip.mkv"_s);
    copyAs(u"AAC.aac"_s, folder, u"song.aac"_s);
    const QMap<QString, FileState> before = folderState(folder);

    for (const QStringList &arguments :
         {QStringList{"strip", "--json", "clip.mkv", "song.aac"},
          QStringList{"set", "--json", "--dry-run", "clip.mkv", "song.aac", "--tag", "Title=T"}}) {
        const ProcessRun run = cli(arguments, folder);
        QCOMPARE(run.exitCode, 1);
        const QList<QJsonObject> lines =
            reportLines(run.output, arguments.first() == QLatin1String("strip"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(
            lines.at(0).value(u"error"_s),
            QJsonValue(u"ExifTool can't write MKV files, so their metadata cannot be changed."_s));
        QCOMPARE(
            lines.at(1).value(u"error"_s),
            QJsonValue(u"ExifTool can't write AAC files, so their metadata cannot be changed."_s));
    }
    QCOMPARE(folderState(folder), before);
    // Reading them is fine.
    QCOMPARE(cli({u"read"_s, u"clip.mkv"_s}, folder).exitCode, 0);
}

void CliCommandsTest::mistakesTouchNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown command")
        << QStringList{"wipe", "IPTC.jpg"} << u"unknown command 'wipe'"_s;
    QTest::newRow("a file named with a dash")
        << QStringList{"strip", "-IPTC.jpg"}
        << u"unknown option '-IPTC.jpg' (a file whose name starts with '-' goes after '--', as in 'metaloom-cli strip -- -IPTC.jpg')"_s;
    QTest::newRow("unknown preset")
        << QStringList{"apply-preset", "Nope", "IPTC.jpg"}
        << u"no preset named 'Nope': you have no presets yet (make them in "
           "Metaloom's preset manager)"_s;
}

void CliCommandsTest::mistakesTouchNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    TestEnvironment environment;
    const QString folder = environment.workPath();
    copyAs(u"IPTC.jpg"_s, folder, u"IPTC.jpg"_s);
    copyAs(u"IPTC.jpg"_s, folder, u"-IPTC.jpg"_s);
    const QMap<QString, FileState> before = folderState(folder);

    const ProcessRun run = cli(arguments, folder);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(textOf(run.output), QString());
    QCOMPARE(textOf(run.error), u"metaloom-cli: "_s + message +
                                    u"\nTry 'metaloom-cli --help' for more "
                                    "information.\n"_s);
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
    store.addPreset({QUuid::createUuid(), u"Share safely"_s,
                     PresetAction::addOrModifyMetadata({{"XMP-dc:Rights", "CC BY"}}, {"GPS:all"})});
    store.addPreset({QUuid::createUuid(), u"Credit"_s,
                     PresetAction::addOrModifyMetadata({{"IFD0:Artist", "Ann"}})});
    const QString folder = environment.workPath();
    const QString photo = copyAs(u"GPS.jpg"_s, folder, u"GPS.jpg"_s);

    const ProcessRun listed = cli({u"presets"_s}, folder);
    QCOMPARE(listed.exitCode, 0);
    QCOMPARE(textOf(listed.output), u"Share safely\nCredit\n"_s);

    const ProcessRun applied =
        cli({u"apply-preset"_s, u"Share safely"_s, u"--json"_s, u"GPS.jpg"_s}, folder);
    QCOMPARE(applied.exitCode, 0);
    QCOMPARE(reportLines(applied.output).value(0).value(u"complete"_s), QJsonValue(true));
    QCOMPARE(valueOf(photo, u"XMP-dc:Rights"_s), u"CC BY"_s);
    QVERIFY(!holdsGroup(photo, u"GPS"_s));
}

void CliCommandsTest::progressOnlyOnATerminal()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    copyAs(u"IPTC.jpg"_s, folder, u"a.jpg"_s);
    copyAs(u"IPTC.jpg"_s, folder, u"b.jpg"_s);

    const ProcessRun piped = cli({u"strip"_s, u"a.jpg"_s, u"b.jpg"_s}, folder);
    QCOMPARE(piped.exitCode, 0);
    QCOMPARE(textOf(piped.error), u"Removed all metadata from a.jpg.\n"
                                  "Removed all metadata from b.jpg.\n"
                                  "2 files stripped\n"_s);

    // script(1) gives the program a terminal of its own.
    if (QStandardPaths::findExecutable(u"script"_s).isEmpty())
        QSKIP("script (util-linux) is not installed");
    const ProcessRun onTerminal = runProcess(
        u"script"_s, {u"-qec"_s, cliProgram + u" strip --dry-run a.jpg b.jpg"_s, u"/dev/null"_s},
        folder);
    QCOMPARE(onTerminal.exitCode, 0);
    const QString seen = textOf(onTerminal.output);
    QVERIFY2(seen.contains(u"\r\x1b[K1/2 a.jpg\r\x1b[K"_s), qPrintable(seen));
    QVERIFY2(seen.contains(u"\r\x1b[K2/2 b.jpg\r\x1b[K"_s), qPrintable(seen));
    QVERIFY(seen.contains(u"2 files hold no metadata"_s));
}

void CliCommandsTest::ctrlCFinishesTheFileAtWork()
{
    TestEnvironment environment;
    const QString folder = environment.workPath();
    constexpr int count = 80;
    for (int i = 0; i < count; ++i)
        copyAs(u"IPTC.jpg"_s, folder, u"p%1.jpg"_s.arg(i, 2, 10, QLatin1Char('0')));

    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(cliProgram, {u"strip"_s, u"--json"_s, folder});
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
        QCOMPARE(line.value(u"complete"_s), QJsonValue(true));
    // Every file reported was stripped and every other one left as it was.
    for (int i = 0; i < count; ++i) {
        const QString path = QDir(folder).filePath(u"p%1.jpg"_s.arg(i, 2, 10, QLatin1Char('0')));
        QCOMPARE(holdsGroup(path, u"IPTC"_s), i >= lines.size());
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
    german.insert(u"LANGUAGE"_s, u"de"_s);

    const ProcessRun mistake = cli({u"strip"_s, u"--bogus"_s}, folder, german);
    QCOMPARE(mistake.exitCode, 2);
    QCOMPARE(textOf(mistake.error), u"metaloom-cli: unbekannte Option '--bogus'\n"
                                    "Mit 'metaloom-cli --help' erfahren Sie mehr.\n"_s);

    const ProcessRun missing = cli({u"strip"_s, u"missing.jpg"_s}, folder, german);
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(textOf(missing.error), u"missing.jpg: Datei oder Ordner nicht vorhanden.\n"
                                    "1 Datei fehlgeschlagen\n"_s);

    const ProcessRun json = cli({u"strip"_s, u"--json"_s, u"missing.jpg"_s}, folder, german);
    const QJsonObject report = QJsonDocument::fromJson(json.output).object();
    QCOMPARE(report.value(u"file"_s).toString(), u"missing.jpg"_s);
    QCOMPARE(report.value(u"ok"_s), QJsonValue(false));
    QVERIFY(report.contains(u"remaining"_s));
}

QTEST_GUILESS_MAIN(CliCommandsTest)
#include "tst_CliCommands.moc"
