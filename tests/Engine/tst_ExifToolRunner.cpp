#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"
#include "MetaloomFeature/Engine/ServiceError.h"
#include "RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;
using namespace Qt::StringLiterals;

class ExifToolRunnerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void missingResourcesStopBeforeAnyProcess();
    void perl5libPutsTheBundledLibraryFirst();
    void readsAndWritesShareOneEnvironment();
    void argumentsArePassedUnchanged();
    void exitStatusAndStandardError_data();
    void exitStatusAndStandardError();
    void scriptThatCannotBeLaunched();
    void largeOutputIsCollectedCompletely();
    void concurrentRunsDoNotMix();
    void errorMessages();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakeExifToolBundle> m_fake;
};

void ExifToolRunnerTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_fake = std::make_unique<FakeExifToolBundle>(m_env->workPath());
}

void ExifToolRunnerTest::cleanup()
{
    m_fake.reset();
    m_env.reset();
}

void ExifToolRunnerTest::missingResourcesStopBeforeAnyProcess()
{
    ExifToolService noFolder(ResourceBundle(m_env->workPath() + u"/nothing-here"_s));
    const QUrl file = QUrl::fromLocalFile(m_env->workPath() + u"/a.jpg"_s);
    for (auto outcome : {runTask(noFolder.readMetadata(file)).errorMessage(),
                         runTask(noFolder.removeAllMetadata(file)).errorMessage(),
                         runTask(noFolder.allTagKeys()).errorMessage()})
        QCOMPARE(outcome, u"The bundled exiftool binary could not be found."_s);

    // Looked up on every run: a kept process does not outlive its bundle.
    ExifToolService noLibrary(m_fake->bundle());
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    m_fake->removeLibrary();
    QCOMPARE(runTask(noLibrary.readMetadata(file)).errorMessage(),
             u"The bundled ExifTool libraries are missing."_s);

    m_fake->removeScript(); // both missing: the script is reported
    QCOMPARE(runTask(noLibrary.readMetadata(file)).errorMessage(),
             u"The bundled exiftool binary could not be found."_s);
    QCOMPARE(m_fake->runCount(), 1);

    const auto outcome = runTask(noLibrary.readMetadata(file));
    try {
        outcome.rethrow();
        QFAIL("expected a ServiceError");
    } catch (const ServiceError &error) {
        QCOMPARE(error.kind(), ServiceError::Kind::binaryMissing);
    }
}

void ExifToolRunnerTest::perl5libPutsTheBundledLibraryFirst()
{
    const QString root = m_fake->exifToolFolder() + u"/lib/perl5"_s;
    const QString arch = root + u"/"_s + QStringLiteral(METALOOM_TEST_PERL_ARCHNAME);

    qputenv("PERL5LIB", "/opt/perl");
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    QCOMPARE(m_fake->lastEnvironment().value(u"PERL5LIB"_s), root + u":/opt/perl"_s);

    m_fake->addArchitectureDirectory();
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    QCOMPARE(m_fake->lastEnvironment().value(u"PERL5LIB"_s),
             root + QLatin1Char(':') + arch + u":/opt/perl"_s);

    qputenv("PERL5LIB", "");
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    QCOMPARE(m_fake->lastEnvironment().value(u"PERL5LIB"_s), root + QLatin1Char(':') + arch);
    qunsetenv("PERL5LIB");
}

void ExifToolRunnerTest::readsAndWritesShareOneEnvironment()
{
    // A kept ExifTool serves reads and writes alike only if both run in the
    // same environment: EXIFTOOL_TMPDIR is the private folder for both,
    // whatever was inherited, and a read does not create that folder.
    qputenv("EXIFTOOL_TMPDIR", "/inherited/tmp");
    const auto restore = qScopeGuard([] { qunsetenv("EXIFTOOL_TMPDIR"); });
    // One script for both (it answers reads as well), so that its process
    // is kept for the write.
    m_fake->setBody(FakeScripts::successfulWrite());
    ExifToolService service(m_fake->bundle());
    const QString file = m_env->workPath() + u"/a.jpg"_s;
    QFile(file).open(QIODevice::WriteOnly);
    QVERIFY(runTask(service.readMetadata(QUrl::fromLocalFile(file))).succeeded());
    const QString folder = privateFolderOf(*m_env);
    QCOMPARE(m_fake->lastEnvironment().value(u"EXIFTOOL_TMPDIR"_s), folder);
    QVERIFY(!QFileInfo::exists(folder));

    const auto stripped = runTask(service.removeAllMetadata(QUrl::fromLocalFile(file)));
    QVERIFY2(stripped.succeeded(), qPrintable(stripped.errorMessage()));
    QCOMPARE(m_fake->lastWriteEnvironment().value(u"EXIFTOOL_TMPDIR"_s), folder);
    // The strip's read of the stripped copy runs in the same environment.
    QCOMPARE(m_fake->lastEnvironment().value(u"EXIFTOOL_TMPDIR"_s), folder);
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(m_fake->residentProcessIds().size(), 1);
}

void ExifToolRunnerTest::argumentsArePassedUnchanged()
{
    const QStringList arguments{u"-XMP-dc:Title=a \"quoted\" 'value'; $(rm -rf /)"_s,
                                u"line\nbreak"_s,
                                u"Ünïcödé 日本"_s,
                                u"-"_s,
                                QString(),
                                u"*"_s};
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), arguments, std::nullopt)).succeeded());
    QCOMPARE(m_fake->lastArguments(), arguments);
}

void ExifToolRunnerTest::exitStatusAndStandardError_data()
{
    // An empty message means the run succeeds with the given output.
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("standardError");
    QTest::newRow("failure, trimmed message")
        << u"printf 'partial output'; printf '\\n  bad file\\n' >&2; exit 1"_s
        << u"ExifTool reported an error: bad file"_s << QByteArray() << QString();
    QTest::newRow("failure without a message")
        << u"exit 2"_s << u"ExifTool reported an error: Unknown error"_s << QByteArray()
        << QString();
    QTest::newRow("failure, message not UTF-8")
        << u"printf 'bad \\377\\376 bytes' >&2; exit 3"_s
        << u"ExifTool reported an error: Unknown error"_s << QByteArray() << QString();
    QTest::newRow("crash") << u"echo dying >&2; kill -SEGV $$"_s
                           << u"ExifTool reported an error: dying"_s << QByteArray() << QString();
    QTest::newRow("success keeps warnings and output as printed")
        << u"echo 'Warning: minor' >&2; echo '  done  ' ; exit 0"_s << QString()
        << QByteArray("  done  \n") << u"Warning: minor"_s;
    QTest::newRow("success, standard error not UTF-8")
        << u"printf 'bad \\377 bytes' >&2; exit 0"_s << QString() << QByteArray() << QString();
}

void ExifToolRunnerTest::exitStatusAndStandardError()
{
    QFETCH(QString, body);
    QFETCH(QString, message);
    QFETCH(QByteArray, output);
    QFETCH(QString, standardError);
    m_fake->setBody(body);
    const auto outcome = runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt));
    if (message.isEmpty()) {
        QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
        QCOMPARE(outcome.value->standardOutput, output);
        QCOMPARE(outcome.value->standardError, standardError);
        return;
    }
    QCOMPARE(outcome.errorMessage(), message);
    try {
        outcome.rethrow();
        QFAIL("expected a ServiceError");
    } catch (const ServiceError &error) {
        QCOMPARE(error.kind(), ServiceError::Kind::executionFailed);
    }
}

void ExifToolRunnerTest::scriptThatCannotBeLaunched()
{
    m_fake->setExecutable(false);
    const auto outcome = runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt));
    QVERIFY(outcome.error);
    QVERIFY2(outcome.errorMessage().startsWith(u"ExifTool could not be started: "_s),
             qPrintable(outcome.errorMessage()));
    try {
        outcome.rethrow();
    } catch (const ServiceError &) {
        QFAIL("a launch failure is the platform's error, not a ServiceError");
    } catch (const PlatformError &) {
    }
    QCOMPARE(m_fake->runCount(), 0);
}

void ExifToolRunnerTest::largeOutputIsCollectedCompletely()
{
    // 6 MB on standard output and 1 MB on standard error, far beyond a pipe's
    // capacity: the child would stall if either pipe were left undrained.
    m_fake->setBody(u"head -c 1048576 /dev/zero | tr '\\0' e >&2; "
                    "head -c 6291456 /dev/zero | tr '\\0' x"_s);
    const auto outcome = runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(outcome.value->standardOutput.size(), 6291456);
    QCOMPARE(outcome.value->standardOutput.count('x'), 6291456);
    QCOMPARE(outcome.value->standardError.size(), 1048576);
}

void ExifToolRunnerTest::concurrentRunsDoNotMix()
{
    m_fake->setBody(u"sleep 0.$1; echo \"$1\""_s);
    auto first = ExifToolRunner::run(m_fake->bundle(), {u"3"_s}, std::nullopt);
    auto second = ExifToolRunner::run(m_fake->bundle(), {u"1"_s}, std::nullopt);
    const auto secondOutcome = runTask(std::move(second));
    const auto firstOutcome = runTask(std::move(first));
    QCOMPARE(firstOutcome.value->standardOutput, QByteArray("3\n"));
    QCOMPARE(secondOutcome.value->standardOutput, QByteArray("1\n"));
}

void ExifToolRunnerTest::errorMessages()
{
    QCOMPARE(ServiceError::nothingWritten(u"beach.png"_s, {u"XMP-dc:Title"_s, u"EXIF:Artist"_s}, {})
                 .localizedDescription(),
             u"Nothing was written to beach.png. ExifTool does not recognise "
             "EXIF:Artist, XMP-dc:Title for this kind of file, so the file was "
             "left unchanged."_s);
    QCOMPARE(ServiceError::nothingWritten(u"f.png"_s, {u"b"_s, u"a"_s}, {u"first"_s, u"second"_s})
                 .localizedDescription(),
             u"Nothing was written to f.png. first\nsecond"_s);
    QCOMPARE(ServiceError::nothingWritten(u"f.png"_s, {}, {}).localizedDescription(),
             u"Nothing was written to f.png. ExifTool did not recognise any of the "
             "fields to write."_s);
    QCOMPARE(ServiceError::invalidResponse().localizedDescription(),
             u"Failed to parse metadata returned by ExifTool."_s);
    QCOMPARE(ServiceError::executionFailed(u"x"_s).errorDescription(),
             u"ExifTool reported an error: x"_s);
    // The text also reaches what() for code that only knows std::exception.
    QCOMPARE(QString::fromUtf8(ServiceError::libraryMissing().what()),
             u"The bundled ExifTool libraries are missing."_s);
}

QTEST_GUILESS_MAIN(ExifToolRunnerTest)
#include "tst_ExifToolRunner.moc"
