// Installs the build into a temporary prefix, as a packager does, and checks
// the install tree: the layout the desktop and the bundle lookup rely on, the
// names tying desktop entry, AppStream data and icon together, the terminal
// options without a display, and the installed engine running its ExifTool
// from <prefix>/share/metaloom.
#include "tests/support/TestEnvironment.h"

#include <QMimeDatabase>
#include <QtTest>

using namespace Metaloom::Testing;
using namespace Qt::StringLiterals;

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
        return {-1, {}, u"%1 did not end normally"_s.arg(program)};
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
    const Run install =
        run(QStringLiteral(METALOOM_CMAKE_COMMAND),
            {u"--install"_s, QStringLiteral(METALOOM_BUILD_DIR), u"--prefix"_s, m_prefix.path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.output + install.error));
}

void InstallTreeTest::layout()
{
    QCOMPARE(QDir(installed(u"bin"_s)).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"metaloom"_s, u"metaloom-cli"_s}));
    for (const QString &path :
         {u"bin/metaloom"_s, u"bin/metaloom-cli"_s, u"libexec/metaloom/metaloom-file-action"_s,
          exifTool + u"/exiftool"_s})
        QVERIFY2(QFileInfo(installed(path)).isExecutable(), qPrintable(path));
    for (const QString &path :
         {exifTool + u"/lib/perl5/Image/ExifTool.pm"_s,
          exifTool + u"/lib/perl5/File/RandomAccess.pm"_s,
          u"share/applications/%1.desktop"_s.arg(appId),
          u"share/metainfo/%1.metainfo.xml"_s.arg(appId),
          u"share/icons/hicolor/scalable/apps/%1.svg"_s.arg(appId),
          u"share/doc/metaloom/copyright"_s, u"share/kio/servicemenus/%1.desktop"_s.arg(appId),
          u"share/nemo/actions/metaloom-strip.nemo_action"_s})
        QVERIFY2(QFileInfo(installed(path)).size() > 0, qPrintable(path));
    for (const QString &size : QStringLiteral(METALOOM_ICON_SIZES).split(QLatin1Char(','))) {
        const QImage icon(installed(u"share/icons/hicolor/%1x%1/apps/%2.png"_s.arg(size, appId)));
        QCOMPARE(icon.size(), QSize(size.toInt(), size.toInt()));
        // Drawn from the SVG: the tile's rounded corner leaves the corner clear.
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    }
}

void InstallTreeTest::manualPages()
{
    // Compressed as Debian wants them, one for each program, and readable
    // by man(1) without a warning.
    QCOMPARE(QDir(installed(u"share/man/man1"_s)).entryList(QDir::Files),
             (QStringList{u"metaloom-cli.1.gz"_s, u"metaloom.1.gz"_s}));
    for (const QString &program : {u"metaloom"_s, u"metaloom-cli"_s}) {
        const QString page = installed(u"share/man/man1/%1.1.gz"_s.arg(program));
        const Run unpacked = run(u"gzip"_s, {u"-dc"_s, page});
        QCOMPARE(unpacked.exitCode, 0);
        QVERIFY2(unpacked.output.startsWith(u".\\\""_s), qPrintable(program));
        QVERIFY(unpacked.output.contains(
            u".TH %1 1 \""_s.arg(program.toUpper()) + QStringLiteral(METALOOM_RELEASE_DATE) +
            QStringLiteral("\" \"Metaloom " METALOOM_VERSION_STRING "\"")));
        if (QStandardPaths::findExecutable(u"man"_s).isEmpty())
            continue;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"MANWIDTH"_s, u"80"_s);
        const Run rendered = run(u"man"_s, {u"--warnings"_s, u"-l"_s, page}, environment);
        QCOMPARE(rendered.exitCode, 0);
        QCOMPARE(rendered.error, QString());
        QVERIFY2(rendered.output.contains(u"SYNOPSIS"_s), qPrintable(rendered.output));
    }
}

void InstallTreeTest::desktopEntryAndAppStreamDataAgree()
{
    const QStringList entry =
        contentsOf(installed(u"share/applications/%1.desktop"_s.arg(appId))).split('\n');
    QVERIFY(entry.contains(u"Exec=metaloom %F"_s));
    QVERIFY(entry.contains(u"Icon="_s + appId));
    // Every type offered for "Open with" is one the MIME database knows, so
    // none is lost to a misspelling; photos, raw files, video and sound are among them.
    const QStringList offered = entry.filter(QRegularExpression(u"^MimeType="_s))
                                    .value(0)
                                    .mid(9)
                                    .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &name : offered)
        QVERIFY2(QMimeDatabase().mimeTypeForName(name).isValid(), qPrintable(name));
    for (const char *needed :
         {"image/jpeg", "image/heic", "image/x-canon-cr2", "video/quicktime", "audio/aac"})
        QVERIFY2(offered.contains(QLatin1String(needed)), needed);

    const QString metainfo = contentsOf(installed(u"share/metainfo/%1.metainfo.xml"_s.arg(appId)));
    QVERIFY(metainfo.contains(u"<id>%1</id>"_s.arg(appId)));
    QVERIFY(
        metainfo.contains(u"<launchable type=\"desktop-id\">%1.desktop</launchable>"_s.arg(appId)));
}

void InstallTreeTest::terminalAnswersWithoutADisplay()
{
    // Without a display, creating the window system's application object
    // would abort the program.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    const QString program = installed(u"bin/metaloom"_s);

    const Run version = run(program, {u"--version"_s}, environment);
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.output,
             QStringLiteral("Metaloom " METALOOM_VERSION_STRING " (" METALOOM_BUILD_NUMBER ")\n"));
    const Run mistake = run(program, {u"--no-such-option"_s}, environment);
    QCOMPARE(mistake.exitCode, 2);
    QVERIFY2(mistake.error.contains(u"Unknown option 'no-such-option'"_s),
             qPrintable(mistake.error));

    // The command line program never needs one.
    const QString cli = installed(u"bin/metaloom-cli"_s);
    const Run cliVersion = run(cli, {u"--version"_s}, environment);
    QCOMPARE(cliVersion.exitCode, 0);
    QCOMPARE(cliVersion.output, QStringLiteral("metaloom-cli (Metaloom) " METALOOM_VERSION_STRING
                                               " (" METALOOM_BUILD_NUMBER ")\n"));
    TestEnvironment files;
    copyTestData(u"Canon.jpg"_s, files.workPath());
    QProcess read;
    read.setProcessEnvironment(environment);
    read.setWorkingDirectory(files.workPath());
    read.start(cli, {u"read"_s, u"Canon.jpg"_s});
    QVERIFY(read.waitForFinished(60000));
    QCOMPARE(read.exitCode(), 0);
    QVERIFY(read.readAllStandardOutput().contains("\"IFD0:Model\" : \"Canon EOS DIGITAL REBEL\""));
}

void InstallTreeTest::installedEngineFindsItsBundle()
{
    TestEnvironment environment;
    const QString probe = installed(u"bin/installed_engine_probe"_s);
    QVERIFY(QFile::copy(QStringLiteral(METALOOM_ENGINE_PROBE), probe));
    const QString photo = copyTestData(u"Canon.jpg"_s, environment.workPath());

    const Run edit = run(probe, {photo, u"Harbour at dawn"_s});
    QFile::remove(probe);
    QVERIFY2(edit.exitCode == 0, qPrintable(edit.error));
    QCOMPARE(edit.output, QDir(installed(exifTool)).canonicalPath() + u"\nHarbour at dawn\n"_s);
}

QTEST_GUILESS_MAIN(InstallTreeTest)
#include "tst_InstallTree.moc"
