#include "MetaloomFeature/Platform/Preferences.h"
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
    void removeAndReplace();
    void failedWritesAreReported();

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
    QVERIFY(preferences.setString(QStringLiteral("Metaloom.probe"), QStringLiteral("x")));
    QCOMPARE(preferences.fileName(),
             m_env->configPath() + QStringLiteral("/Quillforge/Metaloom.conf"));
    QVERIFY(QFile::exists(preferences.fileName()));
    QCOMPARE(Preferences::standard().string(QStringLiteral("Metaloom.probe")), QStringLiteral("x"));
}

void PreferencesTest::valuesKeepTheirTypeOnDisk()
{
    Preferences preferences = Preferences::standard();
    const QByteArray json = R"([{"id":"A","name":"x, y"}])";
    QVERIFY(preferences.setData(QStringLiteral("data"), json));
    QVERIFY(preferences.setData(QStringLiteral("emptyData"), QByteArray()));
    QVERIFY(preferences.setStringArray(QStringLiteral("none"), {}));
    QVERIFY(preferences.setStringArray(QStringLiteral("one"), {QStringLiteral("IFD0:Make")}));
    QVERIFY(preferences.setStringArray(QStringLiteral("two"),
                                       {QStringLiteral("a, b"), QStringLiteral("@c")}));
    QVERIFY(preferences.setArray(QStringLiteral("mixed"), {QStringLiteral("a"), 5}));
    const QVariantMap map{{QStringLiteral("XMP-dc:Creator"), QStringLiteral("Ann")},
                          {QStringLiteral("count"), 3}};
    QVERIFY(preferences.setDictionary(QStringLiteral("map"), map));
    QVERIFY(preferences.setDictionary(QStringLiteral("emptyMap"), {}));
    QVERIFY(preferences.setString(QStringLiteral("text"), QStringLiteral("@ByteArray(x)")));

    const Preferences disk = reparsedCopy(preferences);
    QCOMPARE(disk.data(QStringLiteral("data")), json);
    QCOMPARE(disk.data(QStringLiteral("emptyData")), QByteArray());
    QCOMPARE(disk.stringArray(QStringLiteral("none")), QStringList());
    QCOMPARE(disk.stringArray(QStringLiteral("one")), QStringList{QStringLiteral("IFD0:Make")});
    QCOMPARE(disk.stringArray(QStringLiteral("two")),
             (QStringList{QStringLiteral("a, b"), QStringLiteral("@c")}));
    const std::optional<QVariantList> mixed = disk.array(QStringLiteral("mixed"));
    QVERIFY(mixed && mixed->size() == 2);
    QCOMPARE(mixed->at(0).metaType().id(), QMetaType::QString);
    QVERIFY(mixed->at(1).metaType().id() != QMetaType::QString);
    QCOMPARE(mixed->at(1).toInt(), 5);
    QCOMPARE(disk.stringArray(QStringLiteral("mixed")), std::nullopt);
    QCOMPARE(disk.dictionary(QStringLiteral("map")), map);
    QCOMPARE(disk.dictionary(QStringLiteral("map"))->value(QStringLiteral("count")).metaType().id(),
             QMetaType::Int);
    QCOMPARE(disk.dictionary(QStringLiteral("emptyMap")), QVariantMap());
    QCOMPARE(disk.string(QStringLiteral("text")), QStringLiteral("@ByteArray(x)"));
    QCOMPARE(disk.data(QStringLiteral("text")), std::nullopt);
}

void PreferencesTest::valuesOfAnotherTypeReadAsNothing()
{
    Preferences preferences = Preferences::standard();
    preferences.setData(QStringLiteral("data"), "[]");
    preferences.setString(QStringLiteral("text"), QStringLiteral("IFD0:Make"));
    preferences.setStringArray(QStringLiteral("array"), {QStringLiteral("IFD0:Make")});
    preferences.setDictionary(QStringLiteral("map"), {{QStringLiteral("a"), QStringLiteral("b")}});

    for (const Preferences &p : {preferences, reparsedCopy(preferences)}) {
        QVERIFY(!p.array(QStringLiteral("data")) && !p.dictionary(QStringLiteral("data")));
        QVERIFY(!p.data(QStringLiteral("text")) && !p.array(QStringLiteral("text")));
        QVERIFY(!p.string(QStringLiteral("array")) && !p.dictionary(QStringLiteral("array")));
        QVERIFY(!p.data(QStringLiteral("array")) && !p.data(QStringLiteral("map")));
        QVERIFY(!p.array(QStringLiteral("map")) && !p.string(QStringLiteral("map")));
        QVERIFY(!p.data(QStringLiteral("absent")) && !p.contains(QStringLiteral("absent")));
        QVERIFY(p.contains(QStringLiteral("map")));
    }
}

void PreferencesTest::listsWrittenByPlainQSettingsAreAccepted()
{
    const QString path = m_env->workPath() + QStringLiteral("/foreign.conf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\n"
               "several=IFD0:Make, IFD0:Model\n"
               "single=IFD0:Make\n"
               "invalid=@Invalid()\n");
    file.close();

    const Preferences preferences = Preferences::atPath(path);
    QCOMPARE(preferences.stringArray(QStringLiteral("several")),
             (QStringList{QStringLiteral("IFD0:Make"), QStringLiteral("IFD0:Model")}));
    // A lone value is a string, not a one-element array.
    QCOMPARE(preferences.stringArray(QStringLiteral("single")), std::nullopt);
    QCOMPARE(preferences.string(QStringLiteral("single")), QStringLiteral("IFD0:Make"));
    QVERIFY(!preferences.contains(QStringLiteral("invalid")));
    QCOMPARE(preferences.stringArray(QStringLiteral("invalid")), std::nullopt);
}

void PreferencesTest::removeAndReplace()
{
    Preferences preferences = Preferences::standard();
    preferences.setData(QStringLiteral("key"), "first");
    QVERIFY(preferences.setStringArray(QStringLiteral("key"), {QStringLiteral("second")}));
    QCOMPARE(preferences.data(QStringLiteral("key")), std::nullopt);
    QCOMPARE(preferences.stringArray(QStringLiteral("key")), QStringList{QStringLiteral("second")});

    QVERIFY(preferences.remove(QStringLiteral("key")));
    QVERIFY(!preferences.contains(QStringLiteral("key")));
    QVERIFY(!reparsedCopy(preferences).contains(QStringLiteral("key")));
}

void PreferencesTest::failedWritesAreReported()
{
    // A regular file where the folder should be: nothing can be created below
    // it, not even by root.
    const QString blocker = m_env->workPath() + QStringLiteral("/not-a-folder");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    Preferences preferences = Preferences::atPath(blocker + QStringLiteral("/prefs.conf"));
    QVERIFY(!preferences.setData(QStringLiteral("key"), "bytes"));
    QVERIFY(!preferences.setStringArray(QStringLiteral("key"), {}));
    QVERIFY(!QFile::exists(blocker + QStringLiteral("/prefs.conf")));

    // One failure does not poison later writes elsewhere.
    QVERIFY(Preferences::standard().setData(QStringLiteral("key"), "bytes"));
}

QTEST_GUILESS_MAIN(PreferencesTest)
#include "tst_Preferences.moc"
