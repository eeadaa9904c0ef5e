// ExifTool kept running between operations: what travels through its
// argument channel, how answers are cut apart, and what happens when it
// dies, hangs, prints out of turn, or the program quits while it works.

#include "MetaloomFeature/Engine/Process/ExifToolPool.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"
#include "MetaloomFeature/Engine/Process/StayOpenProtocol.h"
#include "MetaloomFeature/Engine/Process/ValueFiles.h"
#include "RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

using namespace Metaloom;
using namespace Metaloom::Testing;
using namespace std::chrono_literals;

namespace {

CommandOutput runReal(const QStringList &arguments)
{
    const auto outcome = runTask(ExifToolRunner::run(realBundle(), arguments, std::nullopt));
    if (!outcome.succeeded())
        qWarning() << outcome.errorMessage();
    return outcome.value.value_or(CommandOutput{});
}

} // namespace

class ResidentExifToolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void argumentsArriveAsGiven_data();
    void argumentsArriveAsGiven();
    void commandListsAnswerAsInAProcessOfTheirOwn();
    void answersAreCutAtTheirMarkers();
    void requestsAreNumberedWhenSent();
    void binaryOutputArrivesByteForByte();
    void valuesRoundTripThroughTheFile_data();
    void valuesRoundTripThroughTheFile();
    void valuesThatGoThroughAFile_data();
    void valuesThatGoThroughAFile();
    void longValueRoundTripsByteForByte();
    void listItemsGoThroughFilesOneByOne();
    void failingProcessIsReplaced_data();
    void failingProcessIsReplaced();
    void strayOutputBetweenCommandsEndsTheProcess();
    void processKilledWhileIdleIsReplaced();
    void twoServicesShareAFewProcesses();
    void processesKeptReadyServeTheNextRuns();
    void concurrentChangesAndReadsStayWithinThePool();
    void quittingStopsTheCommandInFlight();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void ResidentExifToolTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
}

void ResidentExifToolTest::cleanup()
{
    ExifToolPool::shared().setStallLimit(2min);
    ExifToolPool::shared().setMaximumProcesses(ExifToolPool::defaultMaximumProcesses());
    m_env.reset();
}

void ResidentExifToolTest::argumentsArriveAsGiven_data()
{
    // Arguments ExifTool would trim, drop, take for a comment or reshape on
    // a plain line; the last ones no line carries, so they run alone.
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("resident");
    for (const char *argument :
         {"plain", "Ünïcödé 日本", "trailing space ", "", "  leading space", "#not a comment",
          "-XMP:Title= one space", "-XMP:Title =x", "back\\slash\\n", "two\nlines", "cr\r",
          "a\\nb\nc", "$5 and @home", "-execute"})
        QTest::newRow(argument) << QString::fromUtf8(argument) << true;
    QTest::newRow("$ and a line break") << QStringLiteral("$5\nnext") << false;
    QTest::newRow("@ and a line break") << QStringLiteral("me@home\n") << false;
}

void ResidentExifToolTest::argumentsArriveAsGiven()
{
    QFETCH(QString, argument);
    QFETCH(bool, resident);
    const QStringList arguments{QStringLiteral("-echo"), argument};
    QCOMPARE(StayOpenProtocol::requestFor(arguments).has_value(), resident);
    QCOMPARE(QString::fromUtf8(runReal(arguments).standardOutput), argument + QLatin1Char('\n'));
}

void ResidentExifToolTest::commandListsAnswerAsInAProcessOfTheirOwn()
{
    const QStringList lists[] = {
        {"-echo", "A", "-execute", "-echo", "B", "-common_args", "-echo", "C"},
        {"-echo", "A", "-EXECUTE7", "-ver"},
        {"-echo", "A", "-execute"},
        {"-echo", "A", "--", "-execute"}, // a file named "-execute": runs alone
    };
    for (const QStringList &arguments : lists) {
        const CommandOutput resident = runReal(arguments);
        ExifToolPool::shared().setResident(false);
        const CommandOutput alone = runReal(arguments);
        ExifToolPool::shared().setResident(true);
        QCOMPARE(resident, alone);
    }
}

void ResidentExifToolTest::answersAreCutAtTheirMarkers()
{
    StayOpenProtocol::Answers answers({7, 8});
    // Output without a line break before its marker, markers cut across
    // reads, binary bytes and a look-alike marker of no command.
    const QByteArray first("\x00\xff{ready8}x", 10);
    for (const QByteArray &chunk :
         {first + "{rea", QByteArray("dy7}\nsecond{ready8"), QByteArray("}\n")})
        answers.addOutput(chunk);
    answers.addError("warning\n{status7:0}\nbad{sta");
    QVERIFY(!answers.isComplete());
    answers.addError("tus8:2}\n");
    QVERIFY(answers.isComplete());
    QCOMPARE(answers.standardOutput(), first + "second");
    QCOMPARE(answers.standardError(), QByteArray("warning\nbad"));
    QCOMPARE(answers.exitStatus(), 2);

    answers.addOutput("late");
    QVERIFY(answers.isGarbled());
    // The status of the last command that failed, not of the last command.
    StayOpenProtocol::Answers statuses({3, 4});
    statuses.addOutput("{ready3}\n{ready4}\n");
    statuses.addError("{status3:1}\n{status4:0}\n");
    QVERIFY(statuses.isComplete());
    QCOMPARE(statuses.exitStatus(), 1);

    StayOpenProtocol::Answers foreign({5});
    foreign.addOutput("out\n{ready4}\n");
    QVERIFY(foreign.isGarbled());
}

void ResidentExifToolTest::requestsAreNumberedWhenSent()
{
    // Encoded once; each process numbers the commands from where its own
    // numbers stand, the lines between the markers staying the same.
    const std::optional<StayOpenProtocol::Request> request =
        StayOpenProtocol::requestFor({QStringLiteral("-echo"), QStringLiteral("two\nlines"),
                                      QStringLiteral("-execute"), QStringLiteral("-ver")});
    QVERIFY(request);
    QCOMPARE(request->commands.size(), 2);
    const StayOpenProtocol::Request::Numbered first = request->numbered(41);
    QCOMPARE(first.ids, (QList<quint32>{41, 42}));
    QCOMPARE(first.bytes, QByteArray("-echo4\n{status41:${status}}\n-echo\n#[CSTR]two\\nlines\n"
                                     "-execute41\n-echo4\n{status42:${status}}\n-ver\n"
                                     "-execute42\n"));
    const StayOpenProtocol::Request::Numbered later = request->numbered(7);
    QCOMPARE(later.ids, (QList<quint32>{7, 8}));
    QCOMPARE(QByteArray(later.bytes).replace("7", "41").replace("8", "42"), first.bytes);
}

void ResidentExifToolTest::binaryOutputArrivesByteForByte()
{
    // A thumbnail of noise holds every byte value, and raw output ends
    // without a line break before the end marker.
    QImage noise(96, 64, QImage::Format_RGB32);
    QRandomGenerator random(5);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate());
    }
    const QString thumbnail = m_env->workPath() + QStringLiteral("/thumbnail.jpg");
    QVERIFY(noise.save(thumbnail, "jpg", 95));
    QFile thumbnailFile(thumbnail);
    QVERIFY(thumbnailFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = thumbnailFile.readAll();
    const QString photo = makeImage(m_env->workPath(), QStringLiteral("photo.jpg"));
    runRealExifTool({"-overwrite_original", "-ThumbnailImage<=" + thumbnail, photo});
    QCOMPARE(runReal({"-b", "-ThumbnailImage", photo}).standardOutput, bytes);
}

void ResidentExifToolTest::valuesRoundTripThroughTheFile_data()
{
    QTest::addColumn<QString>("value");
    for (const char *value : {"two\nlines", "-leading dash", "--", " leading space",
                              "Ünïcödé 日本 — ok", "#hash", "$5 and @home\non two lines"})
        QTest::newRow(value) << QString::fromUtf8(value);
}

void ResidentExifToolTest::valuesRoundTripThroughTheFile()
{
    QFETCH(QString, value);
    const QString target = makeImage(m_env->workPath(), QStringLiteral("photo.jpg"));
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.applyOverrides(
        {{QStringLiteral("XMP-dc:Description"), value}}, QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(*outcome.value, ChangeReport{});
    QCOMPARE(valueOf(target, QStringLiteral("XMP-dc:Description")), value);
}

void ResidentExifToolTest::valuesThatGoThroughAFile_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("diverted"); // empty: stays as it is
    const auto row = [](const char *name, const QString &argument, const QString &diverted) {
        QTest::newRow(name) << argument << diverted;
    };
    const qsizetype limit = ValueFiles::longValueBytes;
    row("short", "-XMP-dc:Title=a $ b @ c", "");
    row("a line break and $", "-XMP-dc:Description=line\n$5", "-XMP-dc:Description<=F");
    row("a line break and @, added to a list", "-IPTC:Keywords+=me@home\n", "-IPTC:Keywords+<=F");
    row("a line break and @, removed from a list", "-XMP-dc:Subject-=\n@x", "-XMP-dc:Subject-<=F");
    row("a line break alone", "-XMP-dc:Description=two\nlines", "");
    row("at the length limit", "-XMP-dc:Description=" + QString(limit, u'x'), "");
    row("over the length limit", "-XMP-dc:Description=" + QString(limit + 1, u'x'),
        "-XMP-dc:Description<=F");
    // 30,000 characters but 90,000 bytes of UTF-8.
    row("over the limit in bytes", "-XMP-dc:Description=" + QString(30000, QChar(0x65E5)),
        "-XMP-dc:Description<=F");
    row("number of a tag", "-EXIF:ExposureTime#=" + QString(limit + 1, u'1'),
        "-EXIF:ExposureTime#<=F");
    row("not an assignment", "/photos/a\n$b.jpg", "");
    row("an option", "-o", "");
}

void ResidentExifToolTest::valuesThatGoThroughAFile()
{
    QFETCH(QString, argument);
    QFETCH(QString, diverted);
    QByteArray stored;
    const QStringList arguments{QStringLiteral("-P"), argument, QStringLiteral("/t.jpg")};
    const QStringList result = ValueFiles::divert(arguments, [&](const QByteArray &value) {
        stored = value;
        return QStringLiteral("F");
    });
    QCOMPARE(ValueFiles::needsFile(argument), !diverted.isEmpty());
    QCOMPARE(result.at(1), diverted.isEmpty() ? argument : diverted);
    QCOMPARE(result.at(0), QStringLiteral("-P"));
    QCOMPARE(result.at(2), QStringLiteral("/t.jpg"));
    if (!diverted.isEmpty())
        QCOMPARE(stored, argument.mid(argument.indexOf(u'=') + 1).toUtf8());
    // Whatever is diverted, the list then travels the kept process's channel.
    QVERIFY(StayOpenProtocol::requestFor({QStringLiteral("-P"), result.at(1)}) ||
            diverted.isEmpty());
    // ExifTool expands format codes in such a file name.
    QVERIFY(ValueFiles::isLiteralFileName(QStringLiteral("/tmp/100% sure/.ID.value-1")));
    QVERIFY(!ValueFiles::isLiteralFileName(QStringLiteral("/tmp/a%d/.ID.value-1")));
    QVERIFY(!ValueFiles::isLiteralFileName(QStringLiteral("/tmp/%-3f/x")));
}

void ResidentExifToolTest::longValueRoundTripsByteForByte()
{
    // 200 KiB that no argument could carry: line breaks, "$", "@",
    // backslashes, quotes and text beyond Latin-1, read back byte for byte.
    QString value;
    const QStringList pieces{"Zeile\n", "$HOME ",  "me@home ", "C:\\dir\\n ", "\"quoted\" ",
                             "日本語 ", "Ümlaut ", "%d%f ",    "\t",          "-TAG=x "};
    QRandomGenerator random(17);
    while (value.toUtf8().size() < 200 * 1024)
        value += pieces.at(int(random.bounded(pieces.size())));
    const QString target = makeImage(m_env->workPath(), QStringLiteral("photo.jpg"));
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.applyOverrides(
        {{QStringLiteral("XMP-dc:Description"), value}}, QUrl::fromLocalFile(target)));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(*outcome.value, ChangeReport{});
    QCOMPARE(runRealExifTool({QStringLiteral("-b"), QStringLiteral("-XMP-dc:Description"), target}),
             value.toUtf8());
    QCOMPARE(filesIn(privateFolderOf(*m_env)), QStringList()); // the value's file is gone
    QCOMPARE(filesIn(m_env->workPath()), QStringList{QStringLiteral("photo.jpg")});
}

void ResidentExifToolTest::listItemsGoThroughFilesOneByOne()
{
    // Each item of a list is an argument of its own, so each item that
    // needs it gets a file of its own: two items of 140 KiB (each over the
    // kernel's limit for one argument) and one the argument channel cannot
    // carry, beside a plain one, all stored as items in their order.
    const QStringList items{QString(140 * 1024, u'a'), QStringLiteral("line\n$HOME"),
                            QStringLiteral("plain"), QString(140 * 1024, u'b')};
    const QString target = makeImage(m_env->workPath(), QStringLiteral("photo.jpg"));
    ExifToolService service(realBundle());
    const auto outcome = runTask(service.changeTags(QUrl::fromLocalFile(target),
                                                    {{QStringLiteral("XMP-dc:Subject"), items}}));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(*outcome.value, ChangeReport{});
    const QJsonArray stored =
        QJsonDocument::fromJson(
            runRealExifTool({QStringLiteral("-json"), QStringLiteral("-XMP-dc:Subject"), target}))
            .array()
            .first()
            .toObject()
            .value(QStringLiteral("Subject"))
            .toArray();
    QStringList storedItems;
    for (const QJsonValue &item : stored)
        storedItems << item.toString();
    QCOMPARE(storedItems, items);
    QCOMPARE(filesIn(privateFolderOf(*m_env)), QStringList()); // the values' files are gone
    QCOMPARE(filesIn(m_env->workPath()), QStringList{QStringLiteral("photo.jpg")});
}

void ResidentExifToolTest::failingProcessIsReplaced_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("error");
    // (One that dies after writing a message reports it: tst_ExifToolRunner.)
    QTest::newRow("dies silently") << "kill -KILL $$"
                                   << "ExifTool reported an error: ExifTool stopped unexpectedly.";
    QTest::newRow("hangs") << "sleep 30"
                           << "ExifTool stopped responding and was ended.";
    QTest::newRow("answers out of turn")
        << "printf '{ready1}\\n'; sleep 30"
        << "ExifTool gave an answer Metaloom could not understand and was ended.";
}

void ResidentExifToolTest::failingProcessIsReplaced()
{
    QFETCH(QString, body);
    QFETCH(QString, error);
    ExifToolPool::shared().setStallLimit(1s);
    FakeExifToolBundle fake(m_env->workPath(), body);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(runTask(ExifToolRunner::run(fake.bundle(), {QStringLiteral("x")}, std::nullopt))
                 .errorMessage(),
             error);
    QVERIFY(timer.elapsed() < 15000);
    QCOMPARE(fake.residentProcessIds().size(), 1);
    QTRY_VERIFY(!isProcessRunning(fake.residentProcessIds().constFirst()));

    fake.setBody(QStringLiteral("echo fine"));
    const auto next = runTask(ExifToolRunner::run(fake.bundle(), {}, std::nullopt));
    QCOMPARE(next.value.value_or(CommandOutput{}).standardOutput, QByteArray("fine\n"));
    QCOMPARE(fake.residentProcessIds().size(), 2);
}

void ResidentExifToolTest::strayOutputBetweenCommandsEndsTheProcess()
{
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("(sleep 0.3; echo stray) &"));
    QVERIFY(runTask(ExifToolRunner::run(fake.bundle(), {}, std::nullopt)).succeeded());
    QTRY_VERIFY(!isProcessRunning(fake.residentProcessIds().constFirst()));
    QVERIFY(runTask(ExifToolRunner::run(fake.bundle(), {}, std::nullopt)).succeeded());
    QCOMPARE(fake.residentProcessIds().size(), 2);
}

void ResidentExifToolTest::processKilledWhileIdleIsReplaced()
{
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("echo \"$1\""));
    QVERIFY(runTask(ExifToolRunner::run(fake.bundle(), {"a"}, std::nullopt)).succeeded());
    // Sent before the program has noticed the end: it goes to a new process.
    const qint64 first = fake.residentProcessIds().constFirst();
    ::kill(pid_t(first), SIGKILL);
    while (isProcessRunning(first))
        QThread::msleep(5);
    const auto outcome = runTask(ExifToolRunner::run(fake.bundle(), {"b"}, std::nullopt));
    QCOMPARE(outcome.value.value_or(CommandOutput{}).standardOutput, QByteArray("b\n"));
    QCOMPARE(fake.residentProcessIds().size(), 2);
}

void ResidentExifToolTest::twoServicesShareAFewProcesses()
{
    ExifToolPool::shared().setMaximumProcesses(2);
    FakeExifToolBundle fake(
        m_env->workPath(),
        QStringLiteral("sleep 0.3; printf '[{\"SourceFile\":\"x\",\"XMP-dc:Title\":\"%s\"}]' "
                       "\"$(basename \"$4\")\""));
    auto first = std::make_unique<ExifToolService>(fake.bundle());
    auto second = std::make_unique<ExifToolService>(fake.bundle());
    std::vector<QCoro::Task<QList<MetadataEntry>>> reads;
    for (int i = 0; i < 5; ++i) {
        const QUrl file = QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/%1.jpg").arg(i));
        reads.push_back((i % 2 ? first : second)->readMetadata(file));
    }
    for (int i = 0; i < 5; ++i) {
        const auto outcome = runTask(std::move(reads[i]));
        QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
        QCOMPARE(outcome.value->constFirst().value, QStringLiteral("%1.jpg").arg(i));
    }
    const QList<qint64> processes = fake.residentProcessIds();
    QCOMPARE(processes.size(), 2);
    first.reset();
    QVERIFY(isProcessRunning(processes.at(0)) && isProcessRunning(processes.at(1)));
    second.reset(); // the last service on the bundle goes: so do its processes
    QTRY_VERIFY(!isProcessRunning(processes.at(0)) && !isProcessRunning(processes.at(1)));
}

void ResidentExifToolTest::processesKeptReadyServeTheNextRuns()
{
    // Started ahead, within the pool's bound, and used by the runs that
    // follow instead of new ones.
    ExifToolPool &pool = ExifToolPool::shared();
    pool.setMaximumProcesses(2);
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("echo \"$1\""));
    pool.resetStatistics();
    ExifToolRunner::keepReady(fake.bundle(), 3);
    QCOMPARE(pool.processesStarted(), 2);
    ExifToolRunner::keepReady(fake.bundle(), 2);
    QCOMPARE(pool.processesStarted(), 2);
    for (const char *argument : {"a", "b", "c"}) {
        const auto outcome = runTask(ExifToolRunner::run(fake.bundle(), {argument}, std::nullopt));
        QCOMPARE(outcome.value.value_or(CommandOutput{}).standardOutput,
                 QByteArray(argument) + '\n');
    }
    QCOMPARE(pool.processesStarted(), 2);
    QTRY_COMPARE(fake.residentProcessIds().size(), 2);
}

void ResidentExifToolTest::concurrentChangesAndReadsStayWithinThePool()
{
    // Two windows changing and reading many files at once: reads, writes and
    // read-backs wait for the pool's processes instead of starting their own.
    ExifToolPool &pool = ExifToolPool::shared();
    pool.setMaximumProcesses(2);
    QList<QUrl> files;
    for (int i = 0; i < 12; ++i)
        files << QUrl::fromLocalFile(makeImage(m_env->workPath(), QStringLiteral("%1.jpg").arg(i)));
    ExifToolService first(realBundle());
    ExifToolService second(realBundle());
    pool.resetStatistics();
    std::vector<QCoro::Task<ChangeReport>> changes;
    std::vector<QCoro::Task<QList<MetadataEntry>>> reads;
    for (int i = 0; i < files.size(); ++i) {
        ExifToolService &service = i % 2 ? first : second;
        changes.push_back(service.applyOverrides(
            {{QStringLiteral("XMP-dc:Title"), QStringLiteral("T%1").arg(i)}}, files.at(i)));
        if (i % 2 == 0)
            reads.push_back(service.readMetadata(files.at(files.size() - 1 - i)));
    }
    for (auto &change : changes) {
        const auto outcome = runTask(std::move(change));
        QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    }
    for (auto &read : reads)
        QVERIFY(runTask(std::move(read)).succeeded());
    QVERIFY2(pool.processesStarted() <= 2, qPrintable(QString::number(pool.processesStarted())));
    QVERIFY(pool.mostProcessesAtOnce() <= 2);
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(valueOf(files.at(i).toLocalFile(), QStringLiteral("XMP-dc:Title")),
                 QStringLiteral("T%1").arg(i));
}

void ResidentExifToolTest::quittingStopsTheCommandInFlight()
{
    FakeExifToolBundle fake(m_env->workPath(), QStringLiteral("sleep 30"));
    auto run = ExifToolRunner::run(fake.bundle(), {}, std::nullopt);
    QTRY_COMPARE(fake.runCount(), 1);
    QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit");
    QCOMPARE(runTask(std::move(run), 5s).errorMessage(),
             QStringLiteral("ExifTool was stopped because Metaloom is quitting."));
    QVERIFY(!isProcessRunning(fake.residentProcessIds().constFirst()));
}

QTEST_GUILESS_MAIN(ResidentExifToolTest)
#include "tst_ResidentExifTool.moc"
