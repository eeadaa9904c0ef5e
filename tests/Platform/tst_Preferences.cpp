#include "MetaloomFeature/Platform/Preferences.h"
#include "MetaloomFeature/Platform/PreferencesLock.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Metaloom;

// QSettings keeps a parsed copy of each file for the life of the process, so
// reading through the same path never shows what the disk holds. These tests
// copy the file and read the copy, which QSettings has to parse afresh.
class PreferencesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<Testing::TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void standardPreferencesLiveInTheTestFolder();
    void valuesKeepTheirTypeOnDisk();
    void valuesOfAnotherTypeReadAsNothing();
    void listsWrittenByPlainQSettingsAreAccepted();
    void failedWritesAreReported();
    void changesUnderTheLockAlwaysMoveTheTimeStamp();

private:
    Preferences reparsedCopy(const Preferences &preferences);

    std::unique_ptr<Testing::TestEnvironment> m_env;
    int m_copies = 0;
};

Preferences PreferencesTest::reparsedCopy(const Preferences &preferences)
{
    const QString copy = m_env->workPath() + QStringLiteral("/copy%1.conf").arg(++m_copies);
    if (!QFile::copy(preferences.fileName(), copy))
        qFatal("cannot copy the preferences file");
    return Preferences::atPath(copy);
}

void PreferencesTest::standardPreferencesLiveInTheTestFolder()
{
    Preferences preferences = Preferences::standard();
    QVERIFY(preferences.setString("Metaloom.probe", "x"));
    QCOMPARE(preferences.fileName(), m_env->configPath() + "/Quillforge/Metaloom.conf");
    QVERIFY(QFile::exists(preferences.fileName()));
    QCOMPARE(Preferences::standard().string("Metaloom.probe"), "x");
}

void PreferencesTest::valuesKeepTheirTypeOnDisk()
{
    Preferences preferences = Preferences::standard();
    const QByteArray json = R"([{"id":"A","name":"x, y"}])";
    const QVariantMap map{{"XMP-dc:Creator", "Ann"}, {"count", 3}};
    QVERIFY(preferences.setData("data", json));
    QVERIFY(preferences.setData("emptyData", QByteArray()));
    QVERIFY(preferences.setStringArray("none", {}));
    QVERIFY(preferences.setStringArray("one", {"IFD0:Make"}));
    QVERIFY(preferences.setStringArray("two", {"a, b", "@c"}));
    QVERIFY(preferences.setArray("mixed", {"a", 5}));
    QVERIFY(preferences.setDictionary("map", map));
    QVERIFY(preferences.setDictionary("emptyMap", {}));
    QVERIFY(preferences.setString("text", "@ByteArray(x)"));
    QVERIFY(preferences.setBoolean("on", true));
    QVERIFY(preferences.setBoolean("off", false));
    QCOMPARE(preferences.boolean("on"), true);

    const Preferences disk = reparsedCopy(preferences);
    QCOMPARE(disk.boolean("on"), true);
    QCOMPARE(disk.boolean("off"), false);
    QCOMPARE(disk.boolean("text"), std::nullopt);
    QCOMPARE(disk.data("data"), json);
    QCOMPARE(disk.data("emptyData"), QByteArray());
    QCOMPARE(disk.stringArray("none"), QStringList());
    QCOMPARE(disk.stringArray("one"), QStringList{"IFD0:Make"});
    QCOMPARE(disk.stringArray("two"), (QStringList{"a, b", "@c"}));
    const std::optional<QVariantList> mixed = disk.array("mixed");
    QVERIFY(mixed && mixed->size() == 2);
    QCOMPARE(mixed->at(0).metaType().id(), QMetaType::QString);
    QVERIFY(mixed->at(1).metaType().id() != QMetaType::QString);
    QCOMPARE(mixed->at(1).toInt(), 5);
    QCOMPARE(disk.stringArray("mixed"), std::nullopt);
    QCOMPARE(disk.dictionary("map"), map);
    QCOMPARE(disk.dictionary("map")->value("count").metaType().id(), QMetaType::Int);
    QCOMPARE(disk.dictionary("emptyMap"), QVariantMap());
    QCOMPARE(disk.string("text"), "@ByteArray(x)");
    QCOMPARE(disk.data("text"), std::nullopt);
}

void PreferencesTest::valuesOfAnotherTypeReadAsNothing()
{
    Preferences preferences = Preferences::standard();
    preferences.setData("data", "[]");
    preferences.setString("text", "IFD0:Make");
    preferences.setStringArray("array", {"IFD0:Make"});
    preferences.setDictionary("map", {{"a", "b"}});
    for (const Preferences &p : {preferences, reparsedCopy(preferences)}) {
        QVERIFY(!p.array("data") && !p.dictionary("data"));
        QVERIFY(!p.data("text") && !p.array("text"));
        QVERIFY(!p.string("array") && !p.dictionary("array"));
        QVERIFY(!p.data("array") && !p.data("map"));
        QVERIFY(!p.array("map") && !p.string("map"));
        QVERIFY(!p.data("absent") && !p.contains("absent"));
        QVERIFY(p.contains("map"));
    }

    // A value replaced by one of another type reads only as the new type;
    // a removed one is gone from the disk too.
    QVERIFY(preferences.setStringArray("data", {"second"}));
    QCOMPARE(preferences.data("data"), std::nullopt);
    QCOMPARE(preferences.stringArray("data"), QStringList{"second"});
    QVERIFY(preferences.remove("data"));
    QVERIFY(!preferences.contains("data"));
    QVERIFY(!reparsedCopy(preferences).contains("data"));
}

void PreferencesTest::listsWrittenByPlainQSettingsAreAccepted()
{
    const QString path = m_env->workPath() + "/foreign.conf";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\n"
               "several=IFD0:Make, IFD0:Model\n"
               "single=IFD0:Make\n"
               "invalid=@Invalid()\n");
    file.close();

    const Preferences preferences = Preferences::atPath(path);
    QCOMPARE(preferences.stringArray("several"), (QStringList{"IFD0:Make", "IFD0:Model"}));
    // A lone value is a string, not a one-element array.
    QCOMPARE(preferences.stringArray("single"), std::nullopt);
    QCOMPARE(preferences.string("single"), "IFD0:Make");
    QVERIFY(!preferences.contains("invalid"));
    QCOMPARE(preferences.stringArray("invalid"), std::nullopt);
}

void PreferencesTest::failedWritesAreReported()
{
    // A regular file where the folder should be: nothing can be created below
    // it, not even by root.
    const QString blocker = m_env->workPath() + "/not-a-folder";
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    Preferences preferences = Preferences::atPath(blocker + "/prefs.conf");
    QVERIFY(!preferences.setData("key", "bytes"));
    QVERIFY(!preferences.setStringArray("key", {}));
    QVERIFY(!QFile::exists(blocker + "/prefs.conf"));

    // One failure does not poison later writes elsewhere.
    QVERIFY(Preferences::standard().setData("key", "bytes"));
}

// Another process re-reads the file only when its size or its time stamp (in
// milliseconds) changed. Two changes of the same size within one tick of the
// file system's clock would look like none, so a change under the lock
// always leaves a later time stamp than the one it found: here, one set
// ahead of the clock.
void PreferencesTest::changesUnderTheLockAlwaysMoveTheTimeStamp()
{
    Preferences preferences = Preferences::standard();
    QVERIFY(preferences.setString("key", "a"));
    QFile file(preferences.fileName());
    const QDateTime ahead = QDateTime::currentDateTimeUtc().addSecs(60);
    QVERIFY(file.open(QIODevice::ReadOnly) &&
            file.setFileTime(ahead, QFileDevice::FileModificationTime));
    file.close();
    {
        PreferencesLock lock(preferences);
        QVERIFY(lock.isLocked());
        QVERIFY(preferences.setString("key", "b"));
    }
    QVERIFY(QFileInfo(file).lastModified() > ahead);

    // A write that lands in the very millisecond the lock found (here: set
    // back to it) moves on as well.
    const QDateTime found = QFileInfo(file).lastModified();
    {
        PreferencesLock lock(preferences);
        QVERIFY(preferences.setString("key", "c"));
        QVERIFY(file.open(QIODevice::ReadOnly) &&
                file.setFileTime(found, QFileDevice::FileModificationTime));
        file.close();
    }
    QVERIFY(QFileInfo(file).lastModified() > found);

    // The lock lies next to the file; a second lock waits for the first, in
    // this process too.
    PreferencesLock first(preferences);
    QVERIFY(QFile::exists(PreferencesLock::lockFilePath(preferences.fileName())));
    QVERIFY(!PreferencesLock(preferences, std::chrono::milliseconds(20)).isLocked());
}

QTEST_GUILESS_MAIN(PreferencesTest)
#include "tst_Preferences.moc"
