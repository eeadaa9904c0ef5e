// The file-manager actions as installed: the Dolphin service menu and the
// Nemo actions read key by key (and the service menu's action groups by
// desktop-file-validate), and the script they run, driven as Dolphin and Nemo
// drive it, with stand-ins for the dialog and the notification programs and
// the real metaloom-cli on copies of the shared samples.
#include "tests/Cli/CliProcess.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QMimeDatabase>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

const QString appId = QStringLiteral(METALOOM_APP_ID);

// A key file as both file managers read it: groups of "key=value" lines.
struct KeyFile {
    QStringList groups; // in order
    QMap<QString, QMap<QString, QString>> values;
    QStringList problems;
};

KeyFile readKeyFile(const QString &path)
{
    KeyFile file;
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        file.problems << QStringLiteral("cannot open ") + path;
        return file;
    }
    QString group;
    for (const QString &line : QString::fromUtf8(input.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2);
            if (file.groups.contains(group))
                file.problems << QStringLiteral("group twice: ") + group;
            file.groups << group;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (group.isEmpty() || equals <= 0) {
            file.problems << QStringLiteral("not a key: ") + line;
            continue;
        }
        const QString key = line.left(equals);
        if (file.values[group].contains(key))
            file.problems << QStringLiteral("key twice: ") + key;
        file.values[group].insert(key, line.mid(equals + 1));
    }
    return file;
}

QStringList listValue(const QString &value)
{
    return value.split(u';', Qt::SkipEmptyParts);
}

// The words of an Exec line as both file managers split it (the rules of
// GLib's g_shell_parse_argv and of the desktop entry's Exec key agree for
// what is used here): double quotes group, and inside them a backslash
// escapes ", `, $ and itself. The key file's own escape of a backslash
// comes off first.
QStringList execWords(QString exec)
{
    exec.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'\\' && i + 1 < exec.size() &&
                QStringLiteral("\"`$\\").contains(exec.at(i + 1)))
                word += exec.at(++i);
            else if (c == u'"')
                quoted = false;
            else
                word += c;
        } else if (c == u'"') {
            quoted = inWord = true;
        } else if (c == u' ') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

void writeExecutable(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                QFileDevice::ExeOther));
}

// A stand-in that writes its name and arguments, one a line after a
// blank line, to $FAKE_LOG and ends with $FAKE_ANSWER.
QByteArray standIn(const QByteArray &name)
{
    return "#!/bin/sh\n{ printf '\\n%s\\n' '" + name +
           "'; for a do printf '[%s]\\n' \"$a\"; done; } >> \"$FAKE_LOG\"\n"
           "exit \"${FAKE_ANSWER:-0}\"\n";
}

QString textOf(const ProcessRun &run)
{
    return QString::fromUtf8(run.output + run.error);
}

QString contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class FileManagerActionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void serviceMenuReadsKeyByKey();
    void serviceMenuActionsValidate();
    void nemoActionsReadKeyByKey();
    void removeAllMetadataAsksThenStrips_data();
    void removeAllMetadataAsksThenStrips();
    void removeAllMetadataWithoutAnAnswerChangesNothing();
    void removeLocationAndPersonalDetailsByProfile_data();
    void removeLocationAndPersonalDetailsByProfile();
    void withNothingToAskTheWindowAsks();
    void exportWritesJsonBesideEachFile();
    void filesOfAnotherComputerAreRefused();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    // Runs the installed action script as a file manager would, with only
    // the programs it needs on the path, the stand-ins among them.
    ProcessRun runAction(const QStringList &arguments, const QString &log,
                         const QString &answer = QStringLiteral("0")) const;
    QStringList nemoArguments(const QString &action, const QStringList &paths) const;
    QStringList dolphinArguments(const QString &action, const QStringList &paths) const;

    QTemporaryDir m_prefix;
    QTemporaryDir m_tools;
    QStringList m_mimeTypes;
};

void FileManagerActionsTest::initTestCase()
{
    const ProcessRun install =
        runProcess(QStringLiteral(METALOOM_CMAKE_COMMAND),
                   {QStringLiteral("--install"), QStringLiteral(METALOOM_BUILD_DIR),
                    QStringLiteral("--prefix"), m_prefix.path()},
                   QDir::currentPath());
    QVERIFY2(install.exitCode == 0, install.error.constData());

    const KeyFile entry =
        readKeyFile(installed(QStringLiteral("share/applications/%1.desktop").arg(appId)));
    m_mimeTypes = listValue(
        entry.values.value(QStringLiteral("Desktop Entry")).value(QStringLiteral("MimeType")));
    QVERIFY(m_mimeTypes.size() > 20);

    // The tools the script uses, and nothing else: no real dialog or
    // notification program can answer instead of the stand-ins.
    for (const char *tool : {"sed", "tail", "mktemp", "mv", "rm", "chmod"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        QVERIFY2(!found.isEmpty(), tool);
        QVERIFY(QFile::link(found, m_tools.filePath(QString::fromLatin1(tool))));
    }
}

ProcessRun FileManagerActionsTest::runAction(const QStringList &arguments, const QString &log,
                                             const QString &answer) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), m_tools.path());
    environment.insert(QStringLiteral("FAKE_LOG"), log);
    environment.insert(QStringLiteral("FAKE_ANSWER"), answer);
    environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("X-Cinnamon"));
    return runProcess(arguments.first(), arguments.mid(1), QDir::tempPath(), environment);
}

// Nemo puts each selected file's address in double quotes where the Exec
// line says %U, and splits the line into words.
QStringList FileManagerActionsTest::nemoArguments(const QString &action,
                                                  const QStringList &paths) const
{
    const KeyFile file = readKeyFile(
        installed(QStringLiteral("share/nemo/actions/metaloom-%1.nemo_action").arg(action)));
    QStringList quoted;
    for (const QString &path : paths)
        quoted << u'"' + QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded()) + u'"';
    QString exec = file.values.value(QStringLiteral("Nemo Action")).value(QStringLiteral("Exec"));
    exec.replace(QStringLiteral("%U"), quoted.join(u' '));
    return execWords(exec);
}

// Dolphin gives each selected file's path as a word of its own for %F.
QStringList FileManagerActionsTest::dolphinArguments(const QString &action,
                                                     const QStringList &paths) const
{
    const KeyFile menu =
        readKeyFile(installed(QStringLiteral("share/kio/servicemenus/%1.desktop").arg(appId)));
    const QString group = action == QLatin1String("strip")
                              ? QStringLiteral("Desktop Action removeAllMetadata")
                              : QStringLiteral("Desktop Action exportMetadataAsJson");
    QStringList words = execWords(menu.values.value(group).value(QStringLiteral("Exec")));
    if (words.last() != QLatin1String("%F"))
        return {};
    words.removeLast();
    return words + paths;
}

void FileManagerActionsTest::serviceMenuReadsKeyByKey()
{
    const QString path = installed(QStringLiteral("share/kio/servicemenus/%1.desktop").arg(appId));
    const KeyFile menu = readKeyFile(path);
    QCOMPARE(menu.problems, QStringList());
    const QMap<QString, QString> entry = menu.values.value(QStringLiteral("Desktop Entry"));
    QCOMPARE(menu.groups.first(), QStringLiteral("Desktop Entry"));
    QCOMPARE(QSet<QString>(entry.keyBegin(), entry.keyEnd()),
             (QSet<QString>{"Type", "MimeType", "Actions", "X-KDE-Submenu", "X-KDE-Protocols",
                            "Icon", "TryExec"}));
    QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Service"));
    // Only local files: Dolphin would otherwise strip a downloaded copy.
    QCOMPARE(entry.value(QStringLiteral("X-KDE-Protocols")), QStringLiteral("file"));
    QCOMPARE(entry.value(QStringLiteral("Icon")), appId);
    QCOMPARE(listValue(entry.value(QStringLiteral("MimeType"))), m_mimeTypes);
    QVERIFY(QFileInfo(entry.value(QStringLiteral("TryExec"))).isExecutable());

    const QStringList actions = listValue(entry.value(QStringLiteral("Actions")));
    QCOMPARE(actions, (QStringList{"openInMetaloom", "removeAllMetadata", "removeLocation",
                                   "removePersonalDetails", "exportMetadataAsJson"}));
    QStringList actionGroups;
    for (const QString &action : actions)
        actionGroups << QStringLiteral("Desktop Action ") + action;
    QCOMPARE(menu.groups.mid(1), actionGroups);

    const QStringList names{"Open in Metaloom", "Remove All Metadata", "Remove Location",
                            "Remove Personal Details", "Export Metadata as JSON"};
    const QStringList arguments{QString(), QStringLiteral("strip"),
                                QStringLiteral("strip-location"), QStringLiteral("strip-personal"),
                                QStringLiteral("export")};
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const QMap<QString, QString> action = menu.values.value(actionGroups.at(i));
        QCOMPARE(QSet<QString>(action.keyBegin(), action.keyEnd()),
                 (QSet<QString>{"Name", "Icon", "Exec"}));
        QCOMPARE(action.value(QStringLiteral("Name")), names.at(i));
        QStringList words = execWords(action.value(QStringLiteral("Exec")));
        QCOMPARE(words.takeLast(), QStringLiteral("%F"));
        QVERIFY2(QFileInfo(words.first()).isExecutable(), qPrintable(words.first()));
        QVERIFY(words.first().startsWith(m_prefix.path()));
        QCOMPARE(words.mid(1).join(u' '), arguments.at(i));
    }
}

void FileManagerActionsTest::serviceMenuActionsValidate()
{
    // The service menu is a desktop entry of KDE's own type, which
    // desktop-file-validate does not know; its action groups follow the
    // desktop entry's rules, so the same file declared as an application
    // is validated.
    if (QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
        QSKIP("desktop-file-validate (desktop-file-utils) is not installed");
    QString text =
        contentsOf(installed(QStringLiteral("share/kio/servicemenus/%1.desktop").arg(appId)));
    QVERIFY(text.contains(QStringLiteral("Type=Service\n")));
    text.replace(QStringLiteral("Type=Service\n"),
                 QStringLiteral("Type=Application\nName=Metaloom\nExec=metaloom %F\n"));
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("servicemenu.desktop"));
    QFile file(copy);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    const ProcessRun validated =
        runProcess(QStringLiteral("desktop-file-validate"), {copy}, folder.path());
    QCOMPARE(textOf(validated), QString());
    QCOMPARE(validated.exitCode, 0);
}

void FileManagerActionsTest::nemoActionsReadKeyByKey()
{
    const QSet<QString> knownKeys{"Active",     "Name",         "Comment",   "Exec",
                                  "Icon-Name",  "Stock-Id",     "Selection", "Extensions",
                                  "Mimetypes",  "Separator",    "Quote",     "Dependencies",
                                  "Conditions", "EscapeSpaces", "Terminal"};
    const QMap<QString, QString> names{{"open", "Open in Metaloom"},
                                       {"strip", "Remove All Metadata"},
                                       {"strip-location", "Remove Location"},
                                       {"strip-personal", "Remove Personal Details"},
                                       {"export", "Export Metadata as JSON"}};
    const QStringList folder =
        QDir(installed(QStringLiteral("share/nemo/actions"))).entryList(QDir::Files);
    QCOMPARE(folder,
             (QStringList{"metaloom-export.nemo_action", "metaloom-open.nemo_action",
                          "metaloom-strip-location.nemo_action",
                          "metaloom-strip-personal.nemo_action", "metaloom-strip.nemo_action"}));
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        const KeyFile file = readKeyFile(
            installed(QStringLiteral("share/nemo/actions/metaloom-%1.nemo_action").arg(it.key())));
        QCOMPARE(file.problems, QStringList());
        QCOMPARE(file.groups, QStringList{QStringLiteral("Nemo Action")});
        const QMap<QString, QString> action = file.values.value(QStringLiteral("Nemo Action"));
        for (auto key = action.keyBegin(); key != action.keyEnd(); ++key)
            QVERIFY2(knownKeys.contains(*key), qPrintable(*key));
        QCOMPARE(action.value(QStringLiteral("Name")), it.value());
        QVERIFY(!action.value(QStringLiteral("Comment")).isEmpty());
        QCOMPARE(action.value(QStringLiteral("Selection")), QStringLiteral("notnone"));
        QCOMPARE(listValue(action.value(QStringLiteral("Mimetypes"))), m_mimeTypes);
        // Addresses are percent-encoded: in double quotes no name can break
        // the line into other words.
        QCOMPARE(action.value(QStringLiteral("Quote")), QStringLiteral("double"));
        const QStringList words = execWords(action.value(QStringLiteral("Exec")));
        QCOMPARE(words.last(), QStringLiteral("%U"));
        QVERIFY2(QFileInfo(words.first()).isExecutable(), qPrintable(words.first()));
        for (const QString &dependency : listValue(action.value(QStringLiteral("Dependencies"))))
            QVERIFY2(QFileInfo(dependency).isExecutable(), qPrintable(dependency));
        QVERIFY(!action.value(QStringLiteral("Dependencies")).isEmpty());
    }
    for (const QString &type : std::as_const(m_mimeTypes))
        QVERIFY2(QMimeDatabase().mimeTypeForName(type).isValid(), qPrintable(type));
}

void FileManagerActionsTest::removeAllMetadataAsksThenStrips_data()
{
    QTest::addColumn<QString>("fileManager");
    QTest::newRow("Dolphin, paths") << QStringLiteral("dolphin");
    QTest::newRow("Nemo, addresses") << QStringLiteral("nemo");
}

void FileManagerActionsTest::removeAllMetadataAsksThenStrips()
{
    QFETCH(QString, fileManager);
    TestEnvironment environment;
    const QDir work(environment.workPath());
    writeExecutable(m_tools.filePath(QStringLiteral("zenity")), standIn("zenity"));
    writeExecutable(m_tools.filePath(QStringLiteral("notify-send")), standIn("notify-send"));
    const QStringList names{"a b.jpg",
                            "it's \"q\" $(touch INJECTED) `touch INJECTED`.jpg",
                            "new\nline.jpg",
                            "-dash.jpg",
                            "50% back\\slash.jpg",
                            "Café.jpg"};
    QStringList paths;
    for (const QString &name : names) {
        paths << copyTestData(QStringLiteral("IPTC.jpg"), work.path(), name);
        QFile::setPermissions(paths.last(), QFile::permissions(paths.last()) | QFile::WriteOwner);
    }
    const QString log = work.filePath(QStringLiteral("log.txt"));
    const QStringList arguments = fileManager == QLatin1String("nemo")
                                      ? nemoArguments(QStringLiteral("strip"), paths)
                                      : dolphinArguments(QStringLiteral("strip"), paths);
    QCOMPARE(arguments.size(), paths.size() + 2);

    const ProcessRun run = runAction(arguments, log);
    QVERIFY(run.ended);
    QCOMPARE(textOf(run), QString());
    QCOMPARE(run.exitCode, 0);
    for (const QString &path : paths)
        QVERIFY2(!holdsGroup(path, QStringLiteral("IPTC")), qPrintable(path));
    QCOMPARE(contentsOf(log),
             QStringLiteral("\nzenity\n[--question]\n[--no-markup]\n[--title=Remove All Metadata]\n"
                            "[--icon-name=%1]\n[--text=Are you sure you want to remove all "
                            "metadata from 6 files? This action cannot be undone.]\n"
                            "[--ok-label=Remove All Metadata]\n[--cancel-label=Cancel]\n"
                            "\nnotify-send\n[--app-name=Metaloom]\n[--icon=%1]\n[--]\n"
                            "[Metaloom]\n[6 files stripped]\n")
                 .arg(appId));
    QVERIFY(!QFileInfo::exists(QDir::temp().filePath(QStringLiteral("INJECTED"))));
    QVERIFY(!QFileInfo::exists(work.filePath(QStringLiteral("INJECTED"))));
}

void FileManagerActionsTest::removeAllMetadataWithoutAnAnswerChangesNothing()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    writeExecutable(m_tools.filePath(QStringLiteral("zenity")), standIn("zenity"));
    writeExecutable(m_tools.filePath(QStringLiteral("notify-send")), standIn("notify-send"));
    const QString photo = copyTestData(QStringLiteral("IPTC.jpg"), work.path(), "photo.jpg");
    const FileState before = stateOf(photo);
    const QString log = work.filePath(QStringLiteral("log.txt"));

    const ProcessRun declined =
        runAction(dolphinArguments(QStringLiteral("strip"), {photo}), log, QStringLiteral("1"));
    QCOMPARE(declined.exitCode, 0);
    QCOMPARE(stateOf(photo), before);
    // One file is named in the question; nothing is notified.
    QVERIFY(contentsOf(log).contains(
        QStringLiteral("[--text=Are you sure you want to remove all metadata from photo.jpg? "
                       "This action cannot be undone.]\n")));
    QVERIFY(!contentsOf(log).contains(QStringLiteral("notify-send")));
}

void FileManagerActionsTest::removeLocationAndPersonalDetailsByProfile_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("gone");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("proof");
    QTest::newRow("location") << "strip-location"
                              << "Remove Location"
                              << "remove the location from"
                              << "GPS:GPSLatitude"
                              << "IFD0:Artist"
                              << "no location left.";
    QTest::newRow("personal") << "strip-personal"
                              << "Remove Personal Details"
                              << "remove personal and device details from"
                              << "IFD0:Artist"
                              << "GPS:GPSLatitude"
                              << "no people, no device serial, no hidden pictures, no edit "
                                 "history left.";
}

void FileManagerActionsTest::removeLocationAndPersonalDetailsByProfile()
{
    QFETCH(QString, action);
    QFETCH(QString, title);
    QFETCH(QString, question);
    QFETCH(QString, gone);
    QFETCH(QString, kept);
    QFETCH(QString, proof);
    TestEnvironment environment;
    const QDir work(environment.workPath());
    writeExecutable(m_tools.filePath(QStringLiteral("zenity")), standIn("zenity"));
    writeExecutable(m_tools.filePath(QStringLiteral("notify-send")), standIn("notify-send"));
    const QString photo = copyTestData(QStringLiteral("GPS.jpg"), work.path(), "trip photo.jpg");
    QFile::setPermissions(photo, QFile::permissions(photo) | QFile::WriteOwner);
    const QString before = valueOf(photo, kept);
    const QString log = work.filePath(QStringLiteral("log.txt"));

    const ProcessRun run = runAction(nemoArguments(action, {photo}), log);
    QCOMPARE(textOf(run), QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(valueOf(photo, gone), QString());
    QCOMPARE(valueOf(photo, kept), before);
    const QString said = contentsOf(log);
    QVERIFY2(said.contains("[--title=" + title + "]\n") &&
                 said.contains("[--text=Are you sure you want to " + question +
                               " trip photo.jpg? This action cannot be undone.]\n") &&
                 said.endsWith("[Metaloom]\n[" + photo + ": " + proof + "]\n"),
             qPrintable(said));
}

void FileManagerActionsTest::withNothingToAskTheWindowAsks()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    QFile::remove(m_tools.filePath(QStringLiteral("zenity")));
    QFile::remove(m_tools.filePath(QStringLiteral("kdialog")));
    // The installed window is replaced by a stand-in for this test.
    const QString window = installed(QStringLiteral("bin/metaloom"));
    const QString kept = installed(QStringLiteral("bin/metaloom.kept"));
    QVERIFY(QFile::rename(window, kept));
    writeExecutable(window, standIn("metaloom"));
    const QString photo = copyTestData(QStringLiteral("IPTC.jpg"), work.path(), "-photo.jpg");
    const FileState before = stateOf(photo);
    const QString log = work.filePath(QStringLiteral("log.txt"));

    const ProcessRun run = runAction(nemoArguments(QStringLiteral("strip"), {photo}), log);
    QFile::remove(window);
    QVERIFY(QFile::rename(kept, window));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contentsOf(log), QStringLiteral("\nmetaloom\n[--]\n[%1]\n").arg(photo));
    QCOMPARE(stateOf(photo), before);
}

void FileManagerActionsTest::exportWritesJsonBesideEachFile()
{
    TestEnvironment environment;
    const QDir work(environment.workPath());
    writeExecutable(m_tools.filePath(QStringLiteral("notify-send")), standIn("notify-send"));
    const QString first = copyTestData(QStringLiteral("IPTC.jpg"), work.path(), "trip photo.jpeg");
    const QString second = copyTestData(QStringLiteral("GPS.jpg"), work.path(), "it's.jpg");
    {
        // A name taken already is never overwritten.
        QFile taken(work.filePath(QStringLiteral("trip photo.json")));
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.write("mine");
    }
    const QString log = work.filePath(QStringLiteral("log.txt"));

    const ProcessRun run = runAction(nemoArguments(QStringLiteral("export"), {first, second}), log);
    QCOMPARE(textOf(run), QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contentsOf(work.filePath(QStringLiteral("trip photo.json"))), QStringLiteral("mine"));
    for (const auto &[photo, json] : {std::pair{first, QStringLiteral("trip photo (2).json")},
                                      std::pair{second, QStringLiteral("it's.json")}}) {
        const ProcessRun read =
            runProcess(QStringLiteral(METALOOM_CLI),
                       {QStringLiteral("read"), QStringLiteral("--"), photo}, work.path());
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(withoutAccessDate(contentsOf(work.filePath(json))),
                 withoutAccessDate(QString::fromUtf8(read.output)));
    }
    QCOMPARE(filesIn(work.path()).filter(QStringLiteral(".metaloom-export")), QStringList());
    QVERIFY(contentsOf(log).endsWith(
        QStringLiteral("[Metaloom]\n[Exported the metadata of 2 files as JSON.]\n")));
}

void FileManagerActionsTest::filesOfAnotherComputerAreRefused()
{
    TestEnvironment environment;
    writeExecutable(m_tools.filePath(QStringLiteral("notify-send")), standIn("notify-send"));
    const QString log = QDir(environment.workPath()).filePath(QStringLiteral("log.txt"));
    const QStringList arguments{installed(QStringLiteral("libexec/metaloom/metaloom-file-action")),
                                QStringLiteral("strip"), QStringLiteral("sftp://host/photo.jpg")};
    const ProcessRun run = runAction(arguments, log);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(contentsOf(log).endsWith(QStringLiteral(
        "[Metaloom]\n[Only files on this computer can be changed: sftp://host/photo.jpg]\n")));
}

QTEST_GUILESS_MAIN(FileManagerActionsTest)
#include "tst_FileManagerActions.moc"
