// What happens to the user's files when our program is killed, when two of
// our programs change one file, and when a path leads to something that is
// not an ordinary file or has an unusual name.

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/FileSafety/FileLock.h"
#include "MetaloomFeature/Engine/FileSafety/FileReplacement.h"
#include "MetaloomFeature/Engine/FileSafety/Leftovers.h"
#include "MetaloomFeature/Engine/FileSafety/PrivateFolder.h"
#include "MetaloomFeature/Engine/FileSafety/TargetPath.h"
#include "MetaloomFeature/Engine/FileSafety/TemporaryClaim.h"
#include "RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

std::unique_ptr<QProcess> startHelper(const QStringList &arguments)
{
    auto helper = std::make_unique<QProcess>();
    helper->setProgram(QStringLiteral(METALOOM_ENGINE_HELPER));
    helper->setArguments(arguments);
    helper->start();
    if (!helper->waitForStarted(10000))
        qFatal("the engine helper did not start");
    return helper;
}

void killAndReap(QProcess &process)
{
    ::kill(pid_t(process.processId()), SIGKILL);
    process.waitForFinished(10000);
}

} // namespace

class FileSafetyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void interruptedRewriteIsRolledBack();
    void twoProgramsSavingOneFileKeepBothEdits();
    void exifToolDiesWithTheProgram();
    void outputsBesideATargetAreClaimed();
    void leftoversOfDeadProcessesAreRemoved_data();
    void leftoversOfDeadProcessesAreRemoved();
    void pathsThatCannotBeHandled_data();
    void pathsThatCannotBeHandled();
    void outputBesideAFolderSwappedAwayIsRemoved();
    void linkPointedElsewhereNeverBringsInAnotherFile_data();
    void linkPointedElsewhereNeverBringsInAnotherFile();
    void privateFolderIsTheUsersOwn_data();
    void privateFolderIsTheUsersOwn();
    void oneUserDoesNotBlockAnother_data();
    void oneUserDoesNotBlockAnother();

private:
    QString work() const { return m_env->workPath(); }
    QString exifToolTmp() const { return privateFolderOf(*m_env); }

    std::unique_ptr<TestEnvironment> m_env;
};

void FileSafetyTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void FileSafetyTest::cleanup()
{
    m_env.reset();
}

void FileSafetyTest::interruptedRewriteIsRolledBack()
{
    // A large file rewritten in place by another process of ours that is
    // killed at random moments: afterwards the recovery leaves either the
    // old or the new bytes, never a mix, and nothing else behind.
    const QString tmp = PrivateFolder::prepare();
    const QString target = QDir(work()).filePath(QStringLiteral("clip.mov"));
    const QString output =
        QDir(tmp).filePath(QStringLiteral("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0.mov"));
    const QByteArray before(48 << 20, 'o');
    const QByteArray after((48 << 20) + 4096, 'n');
    const QDateTime date(QDate(2019, 5, 17), QTime(8, 30, 15), Qt::UTC);
    const auto prepare = [&] {
        writeFile(target, before);
        QFile file(target);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(date, QFileDevice::FileModificationTime);
        writeFile(output, after);
    };

    // One undisturbed run measures how long a rewrite takes here.
    prepare();
    auto calibration = startHelper({QStringLiteral("rewrite"), target, output});
    QVERIFY(calibration->waitForFinished(120000));
    const QList<QByteArray> lines = calibration->readAllStandardOutput().split('\n');
    QVERIFY(lines.size() >= 2 && lines.at(1).startsWith("done "));
    const int duration = std::max(20, lines.at(1).mid(5).toInt());
    QCOMPARE(contentOf(target), after);

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    const auto journalWritten = [&tmp] {
        return !QDir(tmp)
                    .entryList({QStringLiteral(".*.journal")}, QDir::Files | QDir::Hidden)
                    .isEmpty();
    };
    int rolledBack = 0;
    for (int round = 0; round < 8; ++round) {
        prepare();
        auto helper = startHelper({QStringLiteral("rewrite"), target, output});
        QVERIFY(helper->waitForReadyRead(30000));
        // Every other kill lands anywhere, the others once the file is being
        // rewritten (the journal is written just before).
        if (round % 2 == 0) {
            QThread::msleep(random.bounded(duration + 1));
        } else {
            while (!journalWritten() && !helper->waitForFinished(1)) {
            }
            QThread::msleep(random.bounded(duration / 3 + 1));
        }
        killAndReap(*helper);

        const Leftovers::Report report = Leftovers::cleanTemporaryFolder(tmp);
        const QByteArray content = contentOf(target);
        const QString where = QStringLiteral("round %1, seed %2").arg(round).arg(seed);
        QVERIFY2(content == before || content == after, qPrintable(where));
        if (report.restoredTargets.contains(target)) {
            ++rolledBack;
            QVERIFY2(content == before, qPrintable(where));
            QCOMPARE(QFileInfo(target).lastModified().toUTC(), date);
        }
        QVERIFY2(filesIn(tmp).isEmpty(), qPrintable(where + filesIn(tmp).join(u' ')));
    }
    QVERIFY2(rolledBack > 0, "no kill landed inside a rewrite; the recovery went untested");
}

void FileSafetyTest::twoProgramsSavingOneFileKeepBothEdits()
{
    // A 12 MB TIFF, large enough for the two saves to overlap.
    const QString target = QDir(work()).filePath(QStringLiteral("scan.tif"));
    QImage image(2000, 1500, QImage::Format_RGB32);
    image.fill(QColor(30, 90, 160));
    QVERIFY(image.save(target, "tiff"));
    for (int round = 0; round < 3; ++round) {
        const QString title = QStringLiteral("Title %1").arg(round);
        const QString artist = QStringLiteral("Artist %1").arg(round);
        auto first = startHelper({QStringLiteral("change"), QStringLiteral("real"), target,
                                  QStringLiteral("XMP-dc:Title"), title});
        auto second = startHelper({QStringLiteral("change"), QStringLiteral("real"), target,
                                   QStringLiteral("IFD0:Artist"), artist});
        for (QProcess *helper : {first.get(), second.get()}) {
            QVERIFY(helper->waitForFinished(180000));
            QVERIFY2(helper->exitCode() == 0, helper->readAllStandardError().constData());
        }
        QCOMPARE(valueOf(target, QStringLiteral("XMP-dc:Title")), title);
        QCOMPARE(valueOf(target, QStringLiteral("IFD0:Artist")), artist);
    }
    QCOMPARE(filesIn(work()), QStringList{QStringLiteral("scan.tif")});
}

void FileSafetyTest::exifToolDiesWithTheProgram()
{
    const QString pidFile = QDir(work()).filePath(QStringLiteral("exiftool.pid"));
    FakeExifToolBundle fake(work(), QStringLiteral("echo $$ > '%1'; exec sleep 60").arg(pidFile));
    const QString target = makeImage(work(), QStringLiteral("photo.jpg"));
    const QByteArray before = contentOf(target);
    auto helper = startHelper({QStringLiteral("change"), fake.bundle().directory(), target,
                               QStringLiteral("IFD0:Artist"), QStringLiteral("x")});
    QTRY_VERIFY_WITH_TIMEOUT(!contentOf(pidFile).trimmed().isEmpty(), 20000);
    const pid_t exifTool = pid_t(contentOf(pidFile).trimmed().toInt());
    QVERIFY(isProcessRunning(exifTool));
    const auto stopStray = qScopeGuard([exifTool] {
        if (isProcessRunning(exifTool))
            ::kill(exifTool, SIGKILL);
    });

    killAndReap(*helper);
    QTRY_VERIFY_WITH_TIMEOUT(!isProcessRunning(exifTool), 5000);
    QCOMPARE(contentOf(target), before);
}

void FileSafetyTest::outputsBesideATargetAreClaimed()
{
    // ExifTool writes a change's new file beside the target, where no lock
    // of the file's own marks it as in use: the change's claim does, and the
    // claim's note leads the sweep after a crash to it.
    const QString tmp = PrivateFolder::prepare();
    const QString target = makeImage(work(), QStringLiteral("photo.jpg"));
    const QString id = QStringLiteral("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0");
    const FileReplacement::OutputsBeside outputs = FileReplacement::outputsBesideIn(work(), id);
    Leftovers::noteOutputsBeside(tmp, id, work());
    for (const QString &path : {outputs.output, outputs.retryOutput})
        writeFile(path, "half written");
    {
        const std::optional<FileLock> claim =
            FileLock::tryLock(TemporaryClaim::lockPath(tmp, id), FileLock::Open::createNew);
        QVERIFY(claim);
        Leftovers::cleanBeforeChange(tmp, target); // another change in the folder
        Leftovers::cleanTemporaryFolder(tmp);      // another program's start
        QCOMPARE(filesIn(work()).size(), 3);
    }
    // The change's program died: its claim is free.
    Leftovers::cleanTemporaryFolder(tmp);
    QCOMPARE(filesIn(work()), QStringList{QStringLiteral("photo.jpg")});
    QCOMPARE(filesIn(tmp), QStringList());
}

void FileSafetyTest::leftoversOfDeadProcessesAreRemoved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("besideTarget");
    QTest::addColumn<bool>("held"); // a live process holds it
    QTest::addColumn<bool>("removed");
    const QString id = QStringLiteral("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0");
    QTest::newRow("output") << id + QStringLiteral(".jpg") << false << false << true;
    QTest::newRow("stripping retry")
        << QLatin1Char('.') + id + QStringLiteral("-next.cr2") << false << false << true;
    QTest::newRow("backup") << QLatin1Char('.') + id + QStringLiteral(".backup") << false << false
                            << true;
    QTest::newRow("output of a live change")
        << id + QStringLiteral(".jpg") << false << true << false;
    const QString targetLock = QStringLiteral(".target-0123456789abcdef0123456789abcdef.lock");
    QTest::newRow("target lock") << targetLock << false << false << true;
    QTest::newRow("target lock held") << targetLock << false << true << false;
    QTest::newRow("someone else's file") << "notes.txt" << false << false << false;
    const QString neighbour = QStringLiteral(".metaloom-0123456789ab.tmp");
    QTest::newRow("new copy beside") << neighbour << true << false << true;
    QTest::newRow("new copy beside, live") << neighbour << true << true << false;
    QTest::newRow("near miss") << neighbour + QStringLiteral(".bak") << true << false << false;
}

void FileSafetyTest::leftoversOfDeadProcessesAreRemoved()
{
    QFETCH(QString, name);
    QFETCH(bool, besideTarget);
    QFETCH(bool, held);
    QFETCH(bool, removed);
    const QString target = makeImage(work(), QStringLiteral("photo.jpg"));
    const QString folder = besideTarget ? work() : PrivateFolder::prepare();
    const QString path = QDir(folder).filePath(name);
    writeFile(path, "left behind");
    std::optional<FileLock> holder;
    if (held) {
        const QString lockPath = name.endsWith(QStringLiteral(".jpg"))
                                     ? QDir(folder).filePath(QLatin1Char('.') + name.chopped(4) +
                                                             QStringLiteral(".lock"))
                                     : path;
        holder = FileLock::tryLock(lockPath, FileLock::Open::createIfMissing);
        QVERIFY(holder);
    }

    FakeExifToolBundle fake(work(), FakeScripts::successfulWrite());
    ExifToolService service(fake.bundle());
    const auto outcome = runTask(service.applyOverrides(
        {{QStringLiteral("IFD0:Artist"), QStringLiteral("x")}}, QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(QFileInfo::exists(path), !removed);
}

void FileSafetyTest::pathsThatCannotBeHandled_data()
{
    QTest::addColumn<QString>("address"); // %W stands for the work folder
    QTest::addColumn<QString>("message"); // empty: handled like any file
    const QString files = QStringLiteral(". Metaloom reads and writes the metadata of files.");
    const QString name = QStringLiteral("“a\uFFFDb.jpg” cannot be opened: its name is not valid "
                                        "UTF-8 text, which Metaloom cannot handle. Rename the "
                                        "file, then add it again.");
    QTest::newRow("named pipe") << "%W/pipe.jpg"
                                << "“pipe.jpg” is a named pipe, not a file" + files;
    QTest::newRow("link to a named pipe") << "%W/link.jpg"
                                          << "“link.jpg” is a named pipe, not a file" + files;
    QTest::newRow("device") << "/dev/zero"
                            << "“zero” is a device, not a file" + files;
    QTest::newRow("socket") << "%W/socket.jpg"
                            << "“socket.jpg” is a socket, not a file" + files;
    QTest::newRow("raw bytes in the address") << "file://%W/a%FFb.jpg" << name;
    QTest::newRow("raw bytes already turned into text") << "%W/a\uFFFDb.jpg" << name;
    QTest::newRow("raw bytes in a folder")
        << "file://%W/d%FF/ok.jpg"
        << QStringLiteral("“ok.jpg” cannot be opened: the name of a folder it is in is not valid "
                          "UTF-8 text, which Metaloom cannot handle. Rename the folder, then add "
                          "the file again.");
    QTest::newRow("a real replacement character") << "%W/real\uFFFD.jpg" << QString();
    // The raw byte is another name than the file that holds U+FFFD.
    QTest::newRow("raw bytes where a replacement character's file exists")
        << "file://%W/real%FF.jpg"
        << QStringLiteral("“real\uFFFD.jpg” cannot be opened: its name is not valid UTF-8 text, "
                          "which Metaloom cannot handle. Rename the file, then add it again.");
}

void FileSafetyTest::pathsThatCannotBeHandled()
{
    QFETCH(QString, address);
    QFETCH(QString, message);
    // A named pipe would block ExifTool for ever, /dev/zero feed it without
    // end; names of raw bytes come from other programs.
    const QByteArray folder = QFile::encodeName(work());
    QCOMPARE(::mkfifo(folder + "/pipe.jpg", 0600), 0);
    QCOMPARE(::symlink(folder + "/pipe.jpg", folder + "/link.jpg"), 0);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un socketAddress{};
    socketAddress.sun_family = AF_UNIX;
    qstrncpy(socketAddress.sun_path, folder + "/socket.jpg", sizeof socketAddress.sun_path);
    QCOMPARE(::bind(socket, reinterpret_cast<sockaddr *>(&socketAddress), sizeof socketAddress), 0);
    ::close(socket);
    const QByteArray rawName = folder + "/a\xff"
                                        "b.jpg";
    const QByteArray rawFolder = folder + "/d\xff";
    QCOMPARE(::mkdir(rawFolder, 0700), 0);
    for (const QByteArray &raw : {rawName, rawFolder + "/ok.jpg"})
        ::close(::open(raw, O_CREAT | O_WRONLY, 0600));
    // Qt cannot list these names, so the test folder's removal would miss them.
    const auto removeRaw = qScopeGuard([&] {
        ::unlink(rawName);
        ::unlink(rawFolder + "/ok.jpg");
        ::rmdir(rawFolder);
    });
    writeFile(work() + QStringLiteral("/real\uFFFD.jpg"), "x");

    address.replace(QLatin1String("%W"), work());
    const QUrl url =
        address.startsWith(QLatin1String("file:")) ? QUrl(address) : QUrl::fromLocalFile(address);
    QCOMPARE(TargetPath::unhandledNameMessage(url).value_or(QString()),
             message.contains(QLatin1String("UTF-8")) ? message : QString());
    if (message.isEmpty())
        return;
    FakeExifToolBundle fake(work(), FakeScripts::successfulWrite());
    ExifToolService service(fake.bundle());
    using namespace std::chrono_literals;
    QCOMPARE(runTask(service.readMetadata(url), 15s).errorMessage(), message);
    QCOMPARE(runTask(service.removeAllMetadata(url), 15s).errorMessage(), message);
    QCOMPARE(fake.runCount(), 0);
}

void FileSafetyTest::outputBesideAFolderSwappedAwayIsRemoved()
{
    // While "ExifTool" writes its new file beside the photo, the photo's
    // folder is renamed away and another folder takes its name. The change
    // cannot finish, and its half-written file must not stay in the folder
    // that moved, where nothing would ever find it by name.
    const QString folder = work() + QStringLiteral("/album");
    const QString moved = work() + QStringLiteral("/album-moved");
    const QString marks = work() + QStringLiteral("/signals");
    QDir().mkpath(folder);
    QDir().mkpath(marks);
    const QString target = makeImage(folder, QStringLiteral("photo.jpg"));
    FakeExifToolBundle fake(work(),
                            QStringLiteral("out=''; prev=''; last=''\n"
                                           "for a in \"$@\"; do [ \"$prev\" = -o ] && out=\"$a\"; "
                                           "prev=\"$a\"; last=\"$a\"; done\n"
                                           "cp \"$last\" \"$out\"; : > '%1/writing'\n"
                                           "while [ ! -e '%1/go' ]; do sleep 0.01; done\n"
                                           "printf '    1 image files created\\n'")
                                .arg(marks));
    ExifToolService service(fake.bundle());
    auto change = service.removeAllMetadata(QUrl::fromLocalFile(target));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marks + QStringLiteral("/writing")), 20000);
    QVERIFY(QDir().rename(folder, moved));
    QVERIFY(QDir().mkdir(folder));
    writeFile(marks + QStringLiteral("/go"), "");
    const auto outcome = runTask(std::move(change));
    QVERIFY(outcome.error);
    QCOMPARE(filesIn(moved), QStringList{QStringLiteral("photo.jpg")});
    QCOMPARE(filesIn(folder), QStringList());
    QCOMPARE(filesIn(exifToolTmp()), QStringList());
}

void FileSafetyTest::linkPointedElsewhereNeverBringsInAnotherFile_data()
{
    QTest::addColumn<bool>("strip");       // else a change of tags
    QTest::addColumn<bool>("pointedBack"); // before the new file takes its place
    QTest::newRow("strip, pointed back") << true << true;
    QTest::newRow("strip, left pointing elsewhere") << true << false;
    QTest::newRow("tags, pointed back") << false << true;
    QTest::newRow("tags, left pointing elsewhere") << false << false;
}

void FileSafetyTest::linkPointedElsewhereNeverBringsInAnotherFile()
{
    // link.jpg leads to b.jpg. While "ExifTool" writes, the link is pointed
    // at a.jpg, and (in some rows) back at b.jpg before the replacement. The
    // change works on the file the link led to when it began: b.jpg never
    // gets a.jpg's content, and no read after the write (the read-back of a
    // change, the strip's report) looks at the link or at a.jpg.
    QFETCH(bool, strip);
    QFETCH(bool, pointedBack);
    const QString marks = work() + QStringLiteral("/signals");
    QDir().mkpath(marks);
    const QString b = work() + QStringLiteral("/b.jpg");
    const QString a = work() + QStringLiteral("/a.jpg");
    const QString link = work() + QStringLiteral("/link.jpg");
    writeFile(b, "content of b");
    writeFile(a, "content of a");
    QVERIFY(QFile::link(b, link));
    // Reads answer one empty object per file named, and note what they read.
    FakeExifToolBundle fake(
        work(), QStringLiteral("out=''; prev=''; last=''\n"
                               "for a in \"$@\"; do [ \"$prev\" = -o ] && out=\"$a\"; prev=\"$a\"; "
                               "last=\"$a\"; done\n"
                               "if [ -z \"$out\" ]; then\n"
                               "  printf '%s\\n' \"$@\" >> '%1/reads'; printf '['; sep=''\n"
                               "  for a in \"$@\"; do case \"$a\" in -*) ;; *) "
                               "printf '%s{\"SourceFile\":\"f\"}' \"$sep\"; sep=',';; esac; done\n"
                               "  printf ']\\n'; exit 0\n"
                               "fi\n"
                               ": > '%1/started'\n"
                               "while [ ! -e '%1/go' ]; do sleep 0.01; done\n"
                               "cp \"$last\" \"$out\" && printf ', changed' >> \"$out\"\n"
                               "if [ -e '%1/point-back' ]; then ln -sfn '%2' '%3'; fi\n"
                               "printf '    1 image files created\\n'")
                    .arg(marks, b, link));
    ExifToolService service(fake.bundle());
    const QUrl url = QUrl::fromLocalFile(link);
    QCoro::Task<void> change = strip
                                   ? service.removeAllMetadata(url).then([](StripReport) {})
                                   : service.changeTags(url, {{QStringLiteral("XMP-dc:Title"), {}}})
                                         .then([](ChangeReport) {});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marks + QStringLiteral("/started")), 20000);
    QVERIFY(QFile::remove(link) && QFile::link(a, link));
    if (pointedBack)
        writeFile(marks + QStringLiteral("/point-back"), "");
    writeFile(marks + QStringLiteral("/go"), "");
    const auto outcome = runTask(std::move(change));

    QCOMPARE(contentOf(a), QByteArray("content of a"));
    if (pointedBack) {
        QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
        QCOMPARE(contentOf(b), QByteArray("content of b, changed"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), b);
    } else {
        QCOMPARE(outcome.errorMessage(),
                 QStringLiteral("“link.jpg” now leads to another file than when Metaloom began "
                                "the change, so nothing was changed. Please try again."));
        QCOMPARE(contentOf(b), QByteArray("content of b"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), a);
    }
    const QString reads = QString::fromUtf8(contentOf(marks + QStringLiteral("/reads")));
    QVERIFY2(!reads.isEmpty(), "the change read nothing back");
    QVERIFY2(!reads.contains(link) && !reads.contains(a), qPrintable(reads));
    QCOMPARE(reads.contains(b), strip); // a change of tags reads the new file alone
    QCOMPARE(filesIn(work()), (QStringList{"a.jpg", "b.jpg", "link.jpg"}));
}

void FileSafetyTest::privateFolderIsTheUsersOwn_data()
{
    // What stands where the folder belongs before the first change, and
    // which place the change then uses ("cache", "temporary", or the start
    // of the message it fails with). Another user's folder needs root.
    QTest::addColumn<QString>("planted");
    QTest::addColumn<bool>("home");
    QTest::addColumn<QString>("used");
    QTest::addColumn<bool>("needsRoot");
    QTest::newRow("nothing yet") << "" << true << "cache" << false;
    QTest::newRow("our folder, open to others") << "cache:open" << true << "cache" << false;
    QTest::newRow("our folder of the old shared name") << "old:open" << true << "cache" << false;
    QTest::newRow("a link at the first place") << "cache:link" << true << "temporary" << false;
    QTest::newRow("a file at the first place") << "cache:file" << true << "temporary" << false;
    QTest::newRow("another user's folder at the first place")
        << "cache:foreign" << true << "temporary" << true;
    QTest::newRow("another user's folder in the temporary folder")
        << "temporary:foreign" << true << "cache" << true;
    QTest::newRow("another user's folder of the old shared name")
        << "old:foreign" << true << "cache" << true;
    QTest::newRow("no home") << "" << false << "temporary" << false;
    QTest::newRow("no home, another user's folder in the temporary folder")
        << "temporary:foreign" << false << "Metaloom has no private folder" << true;
}

void FileSafetyTest::privateFolderIsTheUsersOwn()
{
    QFETCH(QString, planted);
    QFETCH(bool, home);
    QFETCH(QString, used);
    QFETCH(bool, needsRoot);
    if (needsRoot && ::geteuid() != 0)
        QSKIP("making a folder that belongs to another user needs root");
    const QString uid = QString::number(::geteuid());
    const QString cache = privateFolderOf(*m_env);
    const QString temporary = m_env->tempPath() + QStringLiteral("/metaloom-") + uid;
    const QString old = m_env->tempPath() + QStringLiteral("/ExifToolTmp");
    if (!home) {
        qunsetenv("HOME");
        qunsetenv("XDG_CACHE_HOME");
    }
    const QString where = planted.section(QLatin1Char(':'), 0, 0);
    const QString what = planted.section(QLatin1Char(':'), 1);
    const QString spot = where == u"cache" ? cache : where == u"temporary" ? temporary : old;
    QDir().mkpath(QFileInfo(spot).absolutePath());
    const QByteArray native = QFile::encodeName(spot);
    if (what == u"open" || what == u"foreign")
        QCOMPARE(::mkdir(native.constData(), 0755), 0);
    if (what == u"foreign")
        QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
    if (what == u"link")
        QVERIFY(QFile::link(work(), spot));
    if (what == u"file")
        writeFile(spot, "not a folder");

    const QString target = makeImage(work(), QStringLiteral("photo.jpg"));
    const QByteArray before = contentOf(target);
    FakeExifToolBundle fake(work(), FakeScripts::successfulWrite());
    ExifToolService service(fake.bundle());
    const auto outcome = runTask(service.applyOverrides(
        {{QStringLiteral("IFD0:Artist"), QStringLiteral("x")}}, QUrl::fromLocalFile(target)));
    if (used != u"cache" && used != u"temporary") {
        QVERIFY2(outcome.errorMessage().startsWith(used), qPrintable(outcome.errorMessage()));
        QCOMPARE(contentOf(target), before);
        QCOMPARE(fake.runCount(), 0);
        return;
    }
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    const QString folder = used == u"cache" ? cache : temporary;
    QCOMPARE(PrivateFolder::prepare(), folder);
    QCOMPARE(fake.lastEnvironment().value(QStringLiteral("EXIFTOOL_TMPDIR")), folder);
    struct stat status {};
    QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &status), 0);
    QVERIFY(S_ISDIR(status.st_mode));
    QCOMPARE(status.st_uid, ::geteuid());
    QCOMPARE(status.st_mode & 0777, mode_t(0700));
    QCOMPARE(filesIn(folder), QStringList()); // lock files and claims gone
    // What was planted is left as it was, and swept only where it is ours.
    if (what == u"link")
        QVERIFY(QFileInfo(spot).isSymLink() && QFileInfo(work()).isDir());
    if (what == u"foreign")
        QCOMPARE(QFileInfo(spot).ownerId(), 65534u);
    const QStringList swept = PrivateFolder::foldersToSweep();
    QVERIFY(swept.contains(folder));
    QCOMPARE(swept.contains(spot), what == u"open");
}

void FileSafetyTest::oneUserDoesNotBlockAnother_data()
{
    QTest::addColumn<bool>("secondUserHasAHome");
    QTest::newRow("second user without a home") << false;
    QTest::newRow("second user with a home, their temporary folder taken") << true;
}

void FileSafetyTest::oneUserDoesNotBlockAnother()
{
    // Two accounts share the system's temporary folder. The first changes a
    // file, then the second (nobody) changes one of theirs, then the first
    // again: neither may find the other's folders in the way.
    QFETCH(bool, secondUserHasAHome);
    if (::geteuid() != 0)
        QSKIP("running a change as another user needs root");
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("setpriv is not installed");
    const uid_t nobody = 65534;
    for (const QString &folder : {m_env->root(), work()})
        QVERIFY(QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther |
                                                  QFile::ReadOther));
    QCOMPARE(::chmod(QFile::encodeName(m_env->tempPath()).constData(), 01777), 0);
    const QString theirs = work() + QStringLiteral("/nobody");
    const QString theirHome = work() + QStringLiteral("/nobody-home");
    QDir().mkpath(theirs);
    QDir().mkpath(theirHome);
    const QString theirPhoto = copyTestData(QStringLiteral("Canon.jpg"), theirs);
    for (const QString &path : {theirs, theirHome, theirPhoto})
        QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody, nobody), 0);
    const QString theirTemporary = m_env->tempPath() + QStringLiteral("/metaloom-65534");
    if (secondUserHasAHome) // taken by us, the other account
        QVERIFY(QDir().mkdir(theirTemporary));
    const QString ourPhoto = copyTestData(QStringLiteral("Canon.jpg"), work());

    ExifToolService service(realBundle());
    const auto change = [&](const QString &artist) {
        return runTask(service.applyOverrides({{QStringLiteral("IFD0:Artist"), artist}},
                                              QUrl::fromLocalFile(ourPhoto)));
    };
    QVERIFY(change(QStringLiteral("First")).succeeded());

    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_CACHE_HOME"));
    environment.insert(QStringLiteral("HOME"),
                       secondUserHasAHome ? theirHome : QStringLiteral("/nonexistent"));
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral("setpriv"), {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                             QStringLiteral(METALOOM_ENGINE_HELPER), "change",
                                             "real", theirPhoto, "IFD0:Artist", "Nobody"});
    QVERIFY(helper.waitForFinished(120000));
    QVERIFY2(helper.exitCode() == 0, helper.readAllStandardError().constData());
    QCOMPARE(valueOf(theirPhoto, QStringLiteral("IFD0:Artist")), QStringLiteral("Nobody"));
    QCOMPARE(QFileInfo(theirPhoto).ownerId(), nobody);
    const QString theirFolder = secondUserHasAHome
                                    ? theirHome + QStringLiteral("/.cache/metaloom/tmp-65534")
                                    : theirTemporary;
    const QFileInfo folder(theirFolder);
    QVERIFY(folder.isDir());
    QCOMPARE(folder.ownerId(), nobody);
    QCOMPARE(QFile::permissions(theirFolder) & (QFile::ReadOther | QFile::ReadGroup),
             QFileDevice::Permissions());

    const auto again = change(QStringLiteral("First again"));
    QVERIFY2(again.succeeded(), qPrintable(again.errorMessage()));
    QCOMPARE(valueOf(ourPhoto, QStringLiteral("IFD0:Artist")), QStringLiteral("First again"));
}

QTEST_GUILESS_MAIN(FileSafetyTest)
#include "tst_FileSafety.moc"
