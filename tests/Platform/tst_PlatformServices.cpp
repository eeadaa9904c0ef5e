#include "MetaloomFeature/Platform/FileAccess.h"
#include "MetaloomFeature/Platform/LocalizedText.h"
#include "MetaloomFeature/Platform/MediaTypes.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace Metaloom;

class PlatformServicesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void bundleLookupTakesTheFirstCandidateThatHoldsIt();
    void missingBundleStopsTheProgramWithAMessage();
    void resourcesByName();
    void audioVisualClassification_data();
    void audioVisualClassification();
    void localizedComparison();
    void bookmarksOfManyFilesAreEachFilesOwn();

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void PlatformServicesTest::bundleLookupTakesTheFirstCandidateThatHoldsIt()
{
    const QDir work(m_env->workPath());
    for (const char *name : {"share", "exe", "code"})
        work.mkpath(QString::fromLatin1(name));
    const QString name = ResourceBundle::bundleDirectoryName();
    QCOMPARE(name, QStringLiteral("MetaloomFeature_MetaloomFeature.bundle"));
    work.mkpath(QStringLiteral("exe/") + name);
    work.mkpath(QStringLiteral("code/") + name);
    const QStringList candidates{
        work.filePath(QStringLiteral("missing")), work.filePath(QStringLiteral("share")),
        work.filePath(QStringLiteral("exe")), work.filePath(QStringLiteral("code"))};
    const auto found = ResourceBundle::locate(candidates);
    QVERIFY(found.has_value());
    QCOMPARE(found->directory(), work.filePath(QStringLiteral("exe/") + name));

    // A file with the bundle's name is not a bundle.
    QFile plain(work.filePath(QStringLiteral("share/") + name));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QCOMPARE(ResourceBundle::locate(candidates)->directory(),
             work.filePath(QStringLiteral("exe/") + name));
    QVERIFY(!ResourceBundle::locate({work.filePath(QStringLiteral("share"))}).has_value());

    // The installed layout comes first, then the executable's own folder.
    const QStringList defaults = ResourceBundle::defaultCandidateFolders();
    QVERIFY(defaults.size() >= 2);
    QCOMPARE(defaults.at(0), QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                             QStringLiteral("/../share/metaloom")));
    QCOMPARE(defaults.at(1), QCoreApplication::applicationDirPath());
}

void PlatformServicesTest::missingBundleStopsTheProgramWithAMessage()
{
    const QString folder = QFileInfo(QStringLiteral(METALOOM_RESOURCE_PROBE)).absolutePath();
    const QString bundle = folder + QLatin1Char('/') + ResourceBundle::bundleDirectoryName();
    QDir(bundle).removeRecursively(); // left over from an interrupted run
    QProcess probe;
    probe.start(QStringLiteral(METALOOM_RESOURCE_PROBE), {});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 1);
    QCOMPARE(probe.readAllStandardError().trimmed(),
             QByteArray("unable to find bundle named MetaloomFeature_MetaloomFeature"));

    // Give it a bundle beside it and it finds that one.
    QVERIFY(QDir().mkpath(bundle));
    probe.start(QStringLiteral(METALOOM_RESOURCE_PROBE), {});
    QVERIFY(probe.waitForFinished(30000));
    QDir(bundle).removeRecursively();
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(probe.readAllStandardOutput().trimmed()), bundle);
}

void PlatformServicesTest::resourcesByName()
{
    const QDir work(m_env->workPath());
    work.mkpath(QStringLiteral("Bundle/ExifTool"));
    QFile file(work.filePath(QStringLiteral("Bundle/icon.svg")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const ResourceBundle bundle(work.filePath(QStringLiteral("Bundle")));
    QCOMPARE(bundle.pathForResource(QStringLiteral("ExifTool")),
             std::optional<QString>(work.filePath(QStringLiteral("Bundle/ExifTool"))));
    QVERIFY(bundle.pathForResource(QStringLiteral("icon"), QStringLiteral("svg")).has_value());
    QVERIFY(!bundle.pathForResource(QStringLiteral("icon")).has_value());
    QVERIFY(!bundle.pathForResource(QStringLiteral("exiftool")).has_value());
}

void PlatformServicesTest::audioVisualClassification_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("audioVisual");
    for (const char *name : {"a.mov", "a.MOV", "a.mp4", "a.m4v", "a.avi", "a.mkv", "a.3gp",
                             "a.heic", "a.HEIF", "a.mp3", "a.wav", "a.m4a"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    for (const char *name : {"a.jpg", "a.JPEG", "a.png", "a.tif", "a.dng", "a.pdf", "a.zzqx",
                             "README", "archive.tar.gz"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
}

void PlatformServicesTest::audioVisualClassification()
{
    QFETCH(QString, name);
    QFETCH(bool, audioVisual);
    QCOMPARE(MediaTypes::isAudioVisualOrHeif(name), audioVisual);
}

void PlatformServicesTest::localizedComparison()
{
    QVERIFY(LocalizedText::compare(QStringLiteral("alpha"), QStringLiteral("Beta")) < 0);
    QVERIFY(LocalizedText::compare(QStringLiteral("ALPHA"), QStringLiteral("alpha")) == 0);
    QVERIFY(LocalizedText::lessThan(QStringLiteral("make"), QStringLiteral("Model")));
    QVERIFY(LocalizedText::SortKey(QStringLiteral("make"))
                .compare(LocalizedText::SortKey(QStringLiteral("Model"))) < 0);
    QCOMPARE(LocalizedText::SortKey(QStringLiteral("ÉTÉ"))
                 .compare(LocalizedText::SortKey(QStringLiteral("été"))),
             0);
    QVERIFY(
        LocalizedText::contains(QStringLiteral("Shot on a NIKON D70"), QStringLiteral("nikon")));
    QVERIFY(!LocalizedText::contains(QStringLiteral("Canon"), QStringLiteral("nikon")));
}

void PlatformServicesTest::bookmarksOfManyFilesAreEachFilesOwn()
{
    // Files as dropped: plain, odd names, through a linked folder, a link
    // to a file elsewhere, a dangling link, and one that is gone.
    const QDir root(m_env->workPath());
    QVERIFY(root.mkpath(QStringLiteral("real/inner")));
    const QStringList names{QStringLiteral("real/a.jpg"), QStringLiteral("real/ä ö \"q\".jpg"),
                            QStringLiteral("real/inner/-b.jpg")};
    for (const QString &name : names) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(root.filePath(QStringLiteral("real")),
                        root.filePath(QStringLiteral("linked"))));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("real/inner/-b.jpg")),
                        root.filePath(QStringLiteral("to-b.jpg"))));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("nowhere.jpg")),
                        root.filePath(QStringLiteral("dangling.jpg"))));
    QList<QUrl> urls;
    for (const QString &name :
         names + QStringList{QStringLiteral("linked/a.jpg"), QStringLiteral("linked/inner/-b.jpg"),
                             QStringLiteral("to-b.jpg"), QStringLiteral("dangling.jpg"),
                             QStringLiteral("gone.jpg"), QStringLiteral("real/inner/../a.jpg")})
        urls << QUrl::fromLocalFile(root.filePath(name));
    const QHash<QString, QByteArray> together = FileAccess::bookmarksOf(urls);
    qsizetype found = 0;
    for (const QUrl &url : std::as_const(urls)) {
        const std::optional<QByteArray> alone = FileAccess::bookmarkData(url);
        QCOMPARE(together.contains(url.toLocalFile()), alone.has_value());
        if (alone) {
            QCOMPARE(together.value(url.toLocalFile()), *alone);
            ++found;
        }
    }
    QCOMPARE(found, urls.size() - 2); // the dangling link and the file that is gone
}

QTEST_GUILESS_MAIN(PlatformServicesTest)
#include "tst_PlatformServices.moc"
