#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/Process/ExifToolPool.h"
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
    ExifToolService noFolder(ResourceBundle(m_env->workPath() + QStringLiteral("/nothing-here")));
    const QUrl file = QUrl::fromLocalFile(m_env->workPath() + QStringLiteral("/a.jpg"));
    for (auto outcome : {runTask(noFolder.readMetadata(file)).errorMessage(),
                         runTask(noFolder.removeAllMetadata(file)).errorMessage(),
                         runTask(noFolder.allTagKeys()).errorMessage()})
        QCOMPARE(outcome, QStringLiteral("The bundled exiftool binary could not be found."));

    // Looked up on every run: a kept process does not outlive its bundle.
    ExifToolService noLibrary(m_fake->bundle());
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    m_fake->removeLibrary();
    QCOMPARE(runTask(noLibrary.readMetadata(file)).errorMessage(),
             QStringLiteral("The bundled ExifTool libraries are missing."));

    m_fake->removeScript(); // both missing: the script is reported
    QCOMPARE(runTask(noLibrary.readMetadata(file)).errorMessage(),
             QStringLiteral("The bundled exiftool binary could not be found."));
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
    const QString root = m_fake->exifToolFolder() + QStringLiteral("/lib/perl5");
    const QString arch = root + QStringLiteral("/") + QStringLiteral(METALOOM_TEST_PERL_ARCHNAME);

    qputenv("PERL5LIB", "/opt/perl");
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    QCOMPARE(m_fake->lastEnvironment().value(QStringLiteral("PERL5LIB")),
             root + QStringLiteral(":/opt/perl"));

    m_fake->addArchitectureDirectory();
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    QCOMPARE(m_fake->lastEnvironment().value(QStringLiteral("PERL5LIB")),
             root + QLatin1Char(':') + arch + QStringLiteral(":/opt/perl"));

    qputenv("PERL5LIB", "");
    QVERIFY(runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt)).succeeded());
    QCOMPARE(m_fake->lastEnvironment().value(QStringLiteral("PERL5LIB")),
             root + QLatin1Char(':') + arch);
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
    // With room for one process only, a second environment would have to
    // replace the first one's process (the strip reads while it writes).
    ExifToolPool &pool = ExifToolPool::shared();
    const int maximum = pool.maximumProcesses();
    pool.setMaximumProcesses(1);
    const auto restoreMaximum = qScopeGuard([&] { pool.setMaximumProcesses(maximum); });
    ExifToolService service(m_fake->bundle());
    const QString file = m_env->workPath() + QStringLiteral("/a.jpg");
    QFile(file).open(QIODevice::WriteOnly);
    QVERIFY(runTask(service.readMetadata(QUrl::fromLocalFile(file))).succeeded());
    const QString folder = privateFolderOf(*m_env);
    QCOMPARE(m_fake->lastEnvironment().value(QStringLiteral("EXIFTOOL_TMPDIR")), folder);
    QVERIFY(!QFileInfo::exists(folder));

    const auto stripped = runTask(service.removeAllMetadata(QUrl::fromLocalFile(file)));
    QVERIFY2(stripped.succeeded(), qPrintable(stripped.errorMessage()));
    QCOMPARE(m_fake->lastWriteEnvironment().value(QStringLiteral("EXIFTOOL_TMPDIR")), folder);
    // The strip's read of the stripped copy runs in the same environment.
    QCOMPARE(m_fake->lastEnvironment().value(QStringLiteral("EXIFTOOL_TMPDIR")), folder);
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(m_fake->residentProcessIds().size(), 1);
}

void ExifToolRunnerTest::argumentsArePassedUnchanged()
{
    const QStringList arguments{QStringLiteral("-XMP-dc:Title=a \"quoted\" 'value'; $(rm -rf /)"),
                                QStringLiteral("line\nbreak"),
                                QStringLiteral("Ünïcödé 日本"),
                                QStringLiteral("-"),
                                QString(),
                                QStringLiteral("*")};
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
        << QStringLiteral("printf 'partial output'; printf '\\n  bad file\\n' >&2; exit 1")
        << QStringLiteral("ExifTool reported an error: bad file") << QByteArray() << QString();
    QTest::newRow("failure without a message")
        << QStringLiteral("exit 2") << QStringLiteral("ExifTool reported an error: Unknown error")
        << QByteArray() << QString();
    QTest::newRow("failure, message not UTF-8")
        << QStringLiteral("printf 'bad \\377\\376 bytes' >&2; exit 3")
        << QStringLiteral("ExifTool reported an error: Unknown error") << QByteArray() << QString();
    QTest::newRow("crash") << QStringLiteral("echo dying >&2; kill -SEGV $$")
                           << QStringLiteral("ExifTool reported an error: dying") << QByteArray()
                           << QString();
    QTest::newRow("success keeps warnings and output as printed")
        << QStringLiteral("echo 'Warning: minor' >&2; echo '  done  ' ; exit 0") << QString()
        << QByteArray("  done  \n") << QStringLiteral("Warning: minor");
    QTest::newRow("success, standard error not UTF-8")
        << QStringLiteral("printf 'bad \\377 bytes' >&2; exit 0") << QString() << QByteArray()
        << QString();
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
    QVERIFY2(outcome.errorMessage().startsWith(QStringLiteral("ExifTool could not be started: ")),
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
    m_fake->setBody(QStringLiteral("head -c 1048576 /dev/zero | tr '\\0' e >&2; "
                                   "head -c 6291456 /dev/zero | tr '\\0' x"));
    const auto outcome = runTask(ExifToolRunner::run(m_fake->bundle(), {}, std::nullopt));
    QVERIFY2(outcome.succeeded(), qPrintable(outcome.errorMessage()));
    QCOMPARE(outcome.value->standardOutput.size(), 6291456);
    QCOMPARE(outcome.value->standardOutput.count('x'), 6291456);
    QCOMPARE(outcome.value->standardError.size(), 1048576);
}

void ExifToolRunnerTest::concurrentRunsDoNotMix()
{
    m_fake->setBody(QStringLiteral("sleep 0.$1; echo \"$1\""));
    auto first = ExifToolRunner::run(m_fake->bundle(), {QStringLiteral("3")}, std::nullopt);
    auto second = ExifToolRunner::run(m_fake->bundle(), {QStringLiteral("1")}, std::nullopt);
    const auto secondOutcome = runTask(std::move(second));
    const auto firstOutcome = runTask(std::move(first));
    QCOMPARE(firstOutcome.value->standardOutput, QByteArray("3\n"));
    QCOMPARE(secondOutcome.value->standardOutput, QByteArray("1\n"));
}

void ExifToolRunnerTest::errorMessages()
{
    QCOMPARE(ServiceError::nothingWritten(
                 QStringLiteral("beach.png"),
                 {QStringLiteral("XMP-dc:Title"), QStringLiteral("EXIF:Artist")}, {})
                 .localizedDescription(),
             QStringLiteral("Nothing was written to beach.png. ExifTool does not recognise "
                            "EXIF:Artist, XMP-dc:Title for this kind of file, so the file was "
                            "left unchanged."));
    QCOMPARE(ServiceError::nothingWritten(QStringLiteral("f.png"),
                                          {QStringLiteral("b"), QStringLiteral("a")},
                                          {QStringLiteral("first"), QStringLiteral("second")})
                 .localizedDescription(),
             QStringLiteral("Nothing was written to f.png. first\nsecond"));
    QCOMPARE(ServiceError::nothingWritten(QStringLiteral("f.png"), {}, {}).localizedDescription(),
             QStringLiteral("Nothing was written to f.png. ExifTool did not recognise any of the "
                            "fields to write."));
    QCOMPARE(ServiceError::invalidResponse().localizedDescription(),
             QStringLiteral("Failed to parse metadata returned by ExifTool."));
    QCOMPARE(ServiceError::executionFailed(QStringLiteral("x")).errorDescription(),
             QStringLiteral("ExifTool reported an error: x"));
    // The text also reaches what() for code that only knows std::exception.
    QCOMPARE(QString::fromUtf8(ServiceError::libraryMissing().what()),
             QStringLiteral("The bundled ExifTool libraries are missing."));
}

QTEST_GUILESS_MAIN(ExifToolRunnerTest)
#include "tst_ExifToolRunner.moc"
