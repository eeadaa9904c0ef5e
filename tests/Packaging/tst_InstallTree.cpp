// Installs the build into a temporary prefix, as a packager does, and checks
// the install tree: the layout the desktop and the bundle lookup rely on, the
// names that tie desktop entry, AppStream data and icon together, the
// terminal options without a display, and the installed engine finding and
// running its ExifTool under <prefix>/share/metaloom.
#include "tests/support/TestEnvironment.h"

#include <QMimeDatabase>
#include <QRegularExpression>
#include <QtTest>

using namespace Metaloom::Testing;

namespace {

const QString appId = QStringLiteral(METALOOM_APP_ID);
const QString bundleFolder = QStringLiteral("share/metaloom/" METALOOM_TEST_BUNDLE_NAME);

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The keys of a desktop entry's main group.
QHash<QString, QString> desktopEntry(const QString &path)
{
    QHash<QString, QString> keys;
    for (const QByteArray &line : contentsOf(path).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            keys.insert(QString::fromUtf8(line.left(equals)),
                        QString::fromUtf8(line.mid(equals + 1)));
    }
    return keys;
}

QString xmlElement(const QByteArray &xml, const QString &element)
{
    const QRegularExpression pattern(QStringLiteral("<%1[^>]*>([^<]*)</%1>").arg(element));
    return pattern.match(QString::fromUtf8(xml)).captured(1);
}

} // namespace

class InstallTreeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layout_data();
    void layout();
    void onlyTheProgramIsInstalledAsACommand();
    void desktopEntryAppStreamAndIconAgree();
    void terminalAnswersWithoutADisplay_data();
    void terminalAnswersWithoutADisplay();
    void installedEngineFindsItsBundle();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
};

void InstallTreeTest::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(METALOOM_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(METALOOM_BUILD_DIR),
                   QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY(install.waitForFinished(300000));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAll().constData());
}

void InstallTreeTest::layout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<int>("pixels"); // a PNG's width and height, 0 for other files

    const auto row = [](const QString &path, bool executable = false, int pixels = 0) {
        QTest::newRow(qPrintable(path)) << path << executable << pixels;
    };
    row(QStringLiteral("bin/metaloom"), true);
    row(bundleFolder + QStringLiteral("/ExifTool/exiftool"), true);
    row(bundleFolder + QStringLiteral("/ExifTool/lib/perl5/Image/ExifTool.pm"));
    row(bundleFolder + QStringLiteral("/ExifTool/lib/perl5/File/RandomAccess.pm"));
    row(QStringLiteral("share/applications/%1.desktop").arg(appId));
    row(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId));
    row(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId));
    row(QStringLiteral("share/doc/metaloom/copyright"));
    for (const QString &size : QStringLiteral(METALOOM_ICON_SIZES).split(QLatin1Char(','))) {
        row(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size, appId), false,
            size.toInt());
    }
}

void InstallTreeTest::layout()
{
    QFETCH(QString, path);
    QFETCH(bool, executable);
    QFETCH(int, pixels);

    const QFileInfo file(installed(path));
    QVERIFY2(file.isFile(), qPrintable(file.filePath()));
    QCOMPARE(file.isExecutable(), executable);
    QVERIFY(file.size() > 0);
    if (pixels > 0) {
        const QImage image(file.filePath());
        QCOMPARE(image.size(), QSize(pixels, pixels));
        // The tile's rounded corner leaves the image's corner see-through.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }
}

void InstallTreeTest::onlyTheProgramIsInstalledAsACommand()
{
    QCOMPARE(QDir(installed(QStringLiteral("bin"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("metaloom")});
}

void InstallTreeTest::desktopEntryAppStreamAndIconAgree()
{
    const QString desktopName = appId + QStringLiteral(".desktop");
    const QHash<QString, QString> entry =
        desktopEntry(installed(QStringLiteral("share/applications/") + desktopName));
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("metaloom %F"));
    QCOMPARE(entry.value(QStringLiteral("Icon")), appId);

    // Every type offered for "Open with" is one the MIME database knows, so
    // no entry is lost to a misspelling; photos, videos and sound are among them.
    QMimeDatabase mimeTypes;
    const QStringList offered =
        entry.value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &name : offered)
        QVERIFY2(mimeTypes.mimeTypeForName(name).isValid(), qPrintable(name));
    for (const char *needed : {"image/jpeg", "image/heic", "image/x-canon-cr2", "video/quicktime",
                               "video/mp4", "audio/aac"})
        QVERIFY2(offered.contains(QLatin1String(needed)), needed);

    const QByteArray metainfo =
        contentsOf(installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId)));
    QCOMPARE(xmlElement(metainfo, QStringLiteral("id")), appId);
    QCOMPARE(xmlElement(metainfo, QStringLiteral("launchable")), desktopName);
    QVERIFY(metainfo.contains("<release version=\"" METALOOM_VERSION_STRING "\""));
}

void InstallTreeTest::terminalAnswersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("standardOutput");
    QTest::addColumn<QString>("standardErrorPart");

    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0
                             << QStringLiteral("Metaloom " METALOOM_VERSION_STRING
                                               " (" METALOOM_BUILD_NUMBER ")\n")
                             << QString();
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--no-such-option")} << 2 << QString()
        << QStringLiteral("Unknown option 'no-such-option'");
}

void InstallTreeTest::terminalAnswersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, standardOutput);
    QFETCH(QString, standardErrorPart);

    // With no display at all, creating the window system's application
    // object would abort the program.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(installed(QStringLiteral("bin/metaloom")), arguments);
    QVERIFY(program.waitForFinished(30000));
    const QString error = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), standardOutput);
    QVERIFY2(standardErrorPart.isEmpty() ? error.isEmpty() : error.contains(standardErrorPart),
             qPrintable(error));
}

void InstallTreeTest::installedEngineFindsItsBundle()
{
    TestEnvironment environment;
    const QString probe = installed(QStringLiteral("bin/installed_engine_probe"));
    QVERIFY(QFile::copy(QStringLiteral(METALOOM_ENGINE_PROBE), probe));
    const QString photo = copyTestData(QStringLiteral("Canon.jpg"), environment.workPath());

    QProcess run;
    run.start(probe, {photo, QStringLiteral("Harbour at dawn")});
    QVERIFY(run.waitForFinished(120000));
    QFile::remove(probe);
    QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
    const QStringList lines = QString::fromLocal8Bit(run.readAllStandardOutput()).split('\n');
    QCOMPARE(lines.value(0), QDir(installed(bundleFolder)).canonicalPath());
    QCOMPARE(lines.value(1), QStringLiteral("Harbour at dawn"));
}

QTEST_GUILESS_MAIN(InstallTreeTest)
#include "tst_InstallTree.moc"
