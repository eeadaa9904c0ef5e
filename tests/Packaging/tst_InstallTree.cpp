// Installs the build into a temporary prefix, as a packager does, and checks
// the install tree: the layout the desktop and the bundle lookup rely on, the
// names tying desktop entry, AppStream data and icon together, the terminal
// options without a display, and the installed engine running its ExifTool
// from <prefix>/share/metaloom.
#include "tests/support/TestEnvironment.h"

#include <QMimeDatabase>
#include <QtTest>

using namespace Metaloom::Testing;

namespace {

const QString appId = QStringLiteral(METALOOM_APP_ID);
const QString exifTool = QStringLiteral("share/metaloom/" METALOOM_TEST_BUNDLE_NAME "/ExifTool");

struct Run {
    int exitCode = -1;
    QString output;
    QString error;
};

Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QStringLiteral("%1 did not end normally").arg(program)};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class InstallTreeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layout();
    void manualPages();
    void desktopEntryAndAppStreamDataAgree();
    void terminalAnswersWithoutADisplay();
    void installedEngineFindsItsBundle();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
};

void InstallTreeTest::initTestCase()
{
    const Run install = run(QStringLiteral(METALOOM_CMAKE_COMMAND),
                            {QStringLiteral("--install"), QStringLiteral(METALOOM_BUILD_DIR),
                             QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output + install.error));
}

void InstallTreeTest::layout()
{
    QCOMPARE(QDir(installed(QStringLiteral("bin"))).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("metaloom"), QStringLiteral("metaloom-cli")}));
    for (const QString &path : {QStringLiteral("bin/metaloom"), QStringLiteral("bin/metaloom-cli"),
                                QStringLiteral("libexec/metaloom/metaloom-file-action"),
                                exifTool + QStringLiteral("/exiftool")})
        QVERIFY2(QFileInfo(installed(path)).isExecutable(), qPrintable(path));
    for (const QString &path :
         {exifTool + QStringLiteral("/lib/perl5/Image/ExifTool.pm"),
          exifTool + QStringLiteral("/lib/perl5/File/RandomAccess.pm"),
          QStringLiteral("share/applications/%1.desktop").arg(appId),
          QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId),
          QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId),
          QStringLiteral("share/doc/metaloom/copyright"),
          QStringLiteral("share/kio/servicemenus/%1.desktop").arg(appId),
          QStringLiteral("share/nemo/actions/metaloom-strip.nemo_action")})
        QVERIFY2(QFileInfo(installed(path)).size() > 0, qPrintable(path));
    for (const QString &size : QStringLiteral(METALOOM_ICON_SIZES).split(QLatin1Char(','))) {
        const QImage icon(
            installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size, appId)));
        QCOMPARE(icon.size(), QSize(size.toInt(), size.toInt()));
        // Drawn from the SVG: the tile's rounded corner leaves the corner clear.
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    }
}

void InstallTreeTest::manualPages()
{
    // Compressed as Debian wants them, one for each program, and readable
    // by man(1) without a warning.
    QCOMPARE(QDir(installed(QStringLiteral("share/man/man1"))).entryList(QDir::Files),
             (QStringList{QStringLiteral("metaloom-cli.1.gz"), QStringLiteral("metaloom.1.gz")}));
    for (const QString &program : {QStringLiteral("metaloom"), QStringLiteral("metaloom-cli")}) {
        const QString page = installed(QStringLiteral("share/man/man1/%1.1.gz").arg(program));
        const Run unpacked = run(QStringLiteral("gzip"), {QStringLiteral("-dc"), page});
        QCOMPARE(unpacked.exitCode, 0);
        QVERIFY2(unpacked.output.startsWith(QStringLiteral(".\\\"")), qPrintable(program));
        QVERIFY(unpacked.output.contains(
            QStringLiteral(".TH %1 1 \"").arg(program.toUpper()) +
            QStringLiteral(METALOOM_RELEASE_DATE) +
            QStringLiteral("\" \"Metaloom " METALOOM_VERSION_STRING "\"")));
        if (QStandardPaths::findExecutable(QStringLiteral("man")).isEmpty())
            continue;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        const Run rendered =
            run(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"), page},
                environment);
        QCOMPARE(rendered.exitCode, 0);
        QCOMPARE(rendered.error, QString());
        QVERIFY2(rendered.output.contains(QStringLiteral("SYNOPSIS")), qPrintable(rendered.output));
    }
}

void InstallTreeTest::desktopEntryAndAppStreamDataAgree()
{
    const QStringList entry =
        contentsOf(installed(QStringLiteral("share/applications/%1.desktop").arg(appId)))
            .split('\n');
    QVERIFY(entry.contains(QStringLiteral("Exec=metaloom %F")));
    QVERIFY(entry.contains(QStringLiteral("Icon=") + appId));
    // Every type offered for "Open with" is one the MIME database knows, so
    // none is lost to a misspelling; photos, raw files, video and sound are among them.
    const QStringList offered = entry.filter(QRegularExpression(QStringLiteral("^MimeType=")))
                                    .value(0)
                                    .mid(9)
                                    .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &name : offered)
        QVERIFY2(QMimeDatabase().mimeTypeForName(name).isValid(), qPrintable(name));
    for (const char *needed :
         {"image/jpeg", "image/heic", "image/x-canon-cr2", "video/quicktime", "audio/aac"})
        QVERIFY2(offered.contains(QLatin1String(needed)), needed);

    const QString metainfo =
        contentsOf(installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId)));
    QVERIFY(metainfo.contains(QStringLiteral("<id>%1</id>").arg(appId)));
    QVERIFY(metainfo.contains(
        QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(appId)));
}

void InstallTreeTest::terminalAnswersWithoutADisplay()
{
    // Without a display, creating the window system's application object
    // would abort the program.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    const QString program = installed(QStringLiteral("bin/metaloom"));

    const Run version = run(program, {QStringLiteral("--version")}, environment);
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.output,
             QStringLiteral("Metaloom " METALOOM_VERSION_STRING " (" METALOOM_BUILD_NUMBER ")\n"));
    const Run mistake = run(program, {QStringLiteral("--no-such-option")}, environment);
    QCOMPARE(mistake.exitCode, 2);
    QVERIFY2(mistake.error.contains(QStringLiteral("Unknown option 'no-such-option'")),
             qPrintable(mistake.error));

    // The command line program never needs one.
    const QString cli = installed(QStringLiteral("bin/metaloom-cli"));
    const Run cliVersion = run(cli, {QStringLiteral("--version")}, environment);
    QCOMPARE(cliVersion.exitCode, 0);
    QCOMPARE(cliVersion.output, QStringLiteral("metaloom-cli (Metaloom) " METALOOM_VERSION_STRING
                                               " (" METALOOM_BUILD_NUMBER ")\n"));
    TestEnvironment files;
    copyTestData(QStringLiteral("Canon.jpg"), files.workPath());
    QProcess read;
    read.setProcessEnvironment(environment);
    read.setWorkingDirectory(files.workPath());
    read.start(cli, {QStringLiteral("read"), QStringLiteral("Canon.jpg")});
    QVERIFY(read.waitForFinished(60000));
    QCOMPARE(read.exitCode(), 0);
    QVERIFY(read.readAllStandardOutput().contains("\"IFD0:Model\" : \"Canon EOS DIGITAL REBEL\""));
}

void InstallTreeTest::installedEngineFindsItsBundle()
{
    TestEnvironment environment;
    const QString probe = installed(QStringLiteral("bin/installed_engine_probe"));
    QVERIFY(QFile::copy(QStringLiteral(METALOOM_ENGINE_PROBE), probe));
    const QString photo = copyTestData(QStringLiteral("Canon.jpg"), environment.workPath());

    const Run edit = run(probe, {photo, QStringLiteral("Harbour at dawn")});
    QFile::remove(probe);
    QVERIFY2(edit.exitCode == 0, qPrintable(edit.error));
    QCOMPARE(edit.output,
             QDir(installed(exifTool)).canonicalPath() + QStringLiteral("\nHarbour at dawn\n"));
}

QTEST_GUILESS_MAIN(InstallTreeTest)
#include "tst_InstallTree.moc"
