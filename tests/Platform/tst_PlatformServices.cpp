#include "MetaloomFeature/Platform/LocalizedText.h"
#include "MetaloomFeature/Platform/MediaTypes.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace Metaloom;
using namespace Qt::StringLiterals;

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

private:
    std::unique_ptr<Testing::TestEnvironment> m_env;
};

void PlatformServicesTest::bundleLookupTakesTheFirstCandidateThatHoldsIt()
{
    const QDir work(m_env->workPath());
    for (const char *name : {"share", "exe", "code"})
        work.mkpath(QString::fromLatin1(name));
    const QString name = ResourceBundle::bundleDirectoryName();
    QCOMPARE(name, u"MetaloomFeature_MetaloomFeature.bundle"_s);
    work.mkpath(u"exe/"_s + name);
    work.mkpath(u"code/"_s + name);
    const QStringList candidates{work.filePath(u"missing"_s), work.filePath(u"share"_s),
                                 work.filePath(u"exe"_s), work.filePath(u"code"_s)};
    const auto found = ResourceBundle::locate(candidates);
    QVERIFY(found.has_value());
    QCOMPARE(found->directory(), work.filePath(u"exe/"_s + name));

    // A file with the bundle's name is not a bundle.
    QFile plain(work.filePath(u"share/"_s + name));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QCOMPARE(ResourceBundle::locate(candidates)->directory(), work.filePath(u"exe/"_s + name));
    QVERIFY(!ResourceBundle::locate({work.filePath(u"share"_s)}).has_value());

    // The installed layout comes first, then the executable's own folder.
    const QStringList defaults = ResourceBundle::defaultCandidateFolders();
    QVERIFY(defaults.size() >= 2);
    QCOMPARE(defaults.at(0),
             QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../share/metaloom"_s));
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
    work.mkpath(u"Bundle/ExifTool"_s);
    QFile file(work.filePath(u"Bundle/icon.svg"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const ResourceBundle bundle(work.filePath(u"Bundle"_s));
    QCOMPARE(bundle.pathForResource(u"ExifTool"_s),
             std::optional<QString>(work.filePath(u"Bundle/ExifTool"_s)));
    QVERIFY(bundle.pathForResource(u"icon"_s, u"svg"_s).has_value());
    QVERIFY(!bundle.pathForResource(u"icon"_s).has_value());
    QVERIFY(!bundle.pathForResource(u"exiftool"_s).has_value());
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
    QVERIFY(LocalizedText::compare(u"alpha"_s, u"Beta"_s) < 0);
    QVERIFY(LocalizedText::compare(u"ALPHA"_s, u"alpha"_s) == 0);
    QVERIFY(LocalizedText::lessThan(u"make"_s, u"Model"_s));
    QVERIFY(LocalizedText::SortKey(u"make"_s).compare(LocalizedText::SortKey(u"Model"_s)) < 0);
    QCOMPARE(LocalizedText::SortKey(u"ÉTÉ"_s).compare(LocalizedText::SortKey(u"été"_s)), 0);
    QVERIFY(LocalizedText::contains(u"Shot on a NIKON D70"_s, u"nikon"_s));
    QVERIFY(!LocalizedText::contains(u"Canon"_s, u"nikon"_s));
}

QTEST_GUILESS_MAIN(PlatformServicesTest)
#include "tst_PlatformServices.moc"
