// Copying tags between loaded files and comparing two, over a scripted
// engine: the targets the copy asks about, each written from the chosen
// source in list order, RAW+JPEG partners found by name, two files aligned.

#include "LibraryHarness.h"
#include "ScriptedFixture.h"

#include "MetaloomFeature/Library/Copying/CopyMetadata.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/TaskRunner.h"

#include <QFile>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class LibraryCopyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.emplace(); }
    void cleanup() { m_fixture.reset(); }
    void copyWritesEachTargetFromTheSource();
    void partnersAreFoundByName_data();
    void partnersAreFoundByName();
    void twoFilesAreComparedSideBySide();

private:
    QList<QUuid> loadThree(LibraryViewModel &lib)
    {
        const QString folder = m_fixture->env.workPath();
        QList<QUrl> urls;
        for (const QString &name : {"a.jpg", "b.jpg", "c.jpg"}) {
            const QString path = makeImage(folder, name);
            m_fixture->engine->files.insert(path, {{title, {name.left(1)}}});
            urls << QUrl::fromLocalFile(path);
        }
        lib.importItems(urls);
        QTest::qVerify(waitUntilIdle(lib), "waitUntilIdle(lib)", "", __FILE__, __LINE__);
        QList<QUuid> ids;
        for (const MediaItem &item : lib.items())
            ids << item.id;
        return ids;
    }

    std::optional<ScriptedFixture> m_fixture;
};

void LibraryCopyTest::copyWritesEachTargetFromTheSource()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    const QList<QUuid> ids = loadThree(lib);
    lib.presentCopyMetadata({ids.at(1), ids.at(2)});
    QVERIFY(lib.copyMetadataRequest());
    QCOMPARE(lib.copyMetadataRequest()->targets.size(), 2);
    const QUrl a = lib.items().at(0).url;
    lib.confirmCopyMetadata(a, CopyFamily::descriptionAndKeywords);
    QVERIFY(!lib.copyMetadataRequest());
    QVERIFY(waitUntilIdle(lib));
    const QList<ScriptedEngine::Copy> copies = m_fixture->engine->copies;
    QCOMPARE(copies.size(), 2);
    QCOMPARE(copies.at(0).target, lib.items().at(1).url);
    QCOMPARE(copies.at(1).target, lib.items().at(2).url);
    QCOMPARE(copies.at(1).source, a);
    QCOMPARE(copies.at(1).family, CopyFamily::descriptionAndKeywords);
    QCOMPARE(statusText(lib), QStringLiteral("Copied metadata from a.jpg to 2 items."));
}

void LibraryCopyTest::partnersAreFoundByName_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("partner");
    QTest::newRow("RAW and JPEG") << QStringList{"x.CR2", "x.jpg"} << "x.jpg";
    QTest::newRow("wildcards in the name") << QStringList{"s[1].nef", "s[1].JPG"} << "s[1].JPG";
    QTest::newRow("two JPEGs: not a pair") << QStringList{"x.jpg", "x.jpeg"} << "";
    QTest::newRow("two candidates") << QStringList{"x.CR2", "x.jpg", "x.JPEG"} << "";
    QTest::newRow("another base name") << QStringList{"x.CR2", "x1.jpg"} << "";
}

void LibraryCopyTest::partnersAreFoundByName()
{
    QFETCH(QStringList, files);
    QFETCH(QString, partner);
    const QString folder = m_fixture->env.workPath();
    for (const QString &name : files) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const std::optional<QString> found = partnerFile(folder + "/" + files.first());
    QCOMPARE(found ? QFileInfo(*found).fileName() : QString(), partner);
}

void LibraryCopyTest::twoFilesAreComparedSideBySide()
{
    LibraryHarness h(m_fixture->engine);
    LibraryViewModel &lib = *h.library;
    const QList<QUuid> ids = loadThree(lib);
    lib.presentCompare(ids.at(0), ids.at(1));
    QVERIFY(lib.comparison());
    QTRY_VERIFY(!lib.comparison()->isLoading);
    QCOMPARE(lib.comparison()->leftName, QStringLiteral("a.jpg"));
    const auto titleRow =
        std::find_if(lib.comparison()->rows.cbegin(), lib.comparison()->rows.cend(),
                     [](const CompareAlignment::Row &row) { return row.key == title; });
    QVERIFY(titleRow != lib.comparison()->rows.cend());
    QCOMPARE(titleRow->left, std::optional<QString>("a"));
    QCOMPARE(titleRow->right, std::optional<QString>("b"));
    lib.dismissCompare();
    QVERIFY(!lib.comparison());
}

QTEST_GUILESS_MAIN(LibraryCopyTest)
#include "tst_LibraryCopy.moc"
