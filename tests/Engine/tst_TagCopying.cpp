// Copies of tags from one file to another through the real bundled
// ExifTool: what each family takes and leaves, the preview against what the
// copy then does, and a source that is never changed.

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/ServiceError.h"
#include "RealFiles.h"

#include <QFile>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

class TagCopyingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { m_env.reset(); }
    void aFamilyTakesItsTagsOnly_data();
    void aFamilyTakesItsTagsOnly();
    void theSourceCannotBeTheTarget();

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_source;
};

void TagCopyingTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_source = makeImage(m_env->workPath(), QStringLiteral("source.jpg"));
    ExifToolService service(realBundle());
    const auto tagged = runTask(service.changeTags(
        QUrl::fromLocalFile(m_source), {{"XMP-dc:Title", {"Harbour"}},
                                        {"XMP-dc:Subject", {"sea", "boats"}},
                                        {"IFD0:Artist", {"Ann Example"}},
                                        {"ExifIFD:DateTimeOriginal", {"2021:06:01 10:00:00"}}}));
    QVERIFY2(tagged.succeeded(), qPrintable(tagged.errorMessage()));
}

void TagCopyingTest::aFamilyTakesItsTagsOnly_data()
{
    QTest::addColumn<CopyFamily>("family");
    QTest::addColumn<QStringList>("copied");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("description and keywords")
        << CopyFamily::descriptionAndKeywords << QStringList{"XMP-dc:Title", "XMP-dc:Subject"}
        << QStringList{"IFD0:Artist", "ExifIFD:DateTimeOriginal"};
    QTest::newRow("creator and rights")
        << CopyFamily::creatorAndRights << QStringList{"IFD0:Artist"}
        << QStringList{"XMP-dc:Title", "ExifIFD:DateTimeOriginal"};
    QTest::newRow("dates") << CopyFamily::dates << QStringList{"ExifIFD:DateTimeOriginal"}
                           << QStringList{"XMP-dc:Title", "IFD0:Artist"};
    QTest::newRow("everything") << CopyFamily::everything
                                << QStringList{"XMP-dc:Title", "XMP-dc:Subject", "IFD0:Artist",
                                               "ExifIFD:DateTimeOriginal"}
                                << QStringList{};
}

void TagCopyingTest::aFamilyTakesItsTagsOnly()
{
    QFETCH(CopyFamily, family);
    QFETCH(QStringList, copied);
    QFETCH(QStringList, left);
    const QString target = makeImage(m_env->workPath(), QStringLiteral("target \"one\".jpg"));
    const QByteArray sourceBefore = digest(m_source);
    ExifToolService service(realBundle());
    const QUrl from = QUrl::fromLocalFile(m_source), to = QUrl::fromLocalFile(target);

    // The preview names what the copy will change, and changes nothing.
    const QByteArray targetBefore = digest(target);
    const auto preview = runTask(service.previewCopy(from, {to}, family));
    QVERIFY2(preview.succeeded(), qPrintable(preview.errorMessage()));
    QCOMPARE(preview.value->size(), 1);
    QStringList previewed;
    for (const CopyDifference &difference : preview.value->first().differences)
        previewed << difference.key;
    for (const QString &key : copied)
        QVERIFY2(previewed.contains(key), qPrintable(key + " not in " + previewed.join(", ")));
    for (const QString &key : left)
        QVERIFY2(!previewed.contains(key), qPrintable(key));
    QCOMPARE(digest(target), targetBefore);

    const auto copy = runTask(service.copyTags(from, to, family));
    QVERIFY2(copy.succeeded(), qPrintable(copy.errorMessage()));
    const QHash<QString, QString> values = valuesOf(target);
    const QHash<QString, QString> source = valuesOf(m_source);
    for (const QString &key : copied)
        QVERIFY2(values.value(key) == source.value(key), qPrintable(key));
    for (const QString &key : left)
        QVERIFY2(!values.contains(key), qPrintable(key));
    QCOMPARE(digest(m_source), sourceBefore);

    // Copied once, the same copy changes nothing more.
    const auto again = runTask(service.previewCopy(from, {to}, family));
    QVERIFY(again.succeeded());
    QStringList still;
    for (const CopyDifference &difference : again.value->first().differences)
        still << difference.key;
    for (const QString &key : copied)
        QVERIFY2(!still.contains(key), qPrintable(key));
}

void TagCopyingTest::theSourceCannotBeTheTarget()
{
    const QByteArray before = digest(m_source);
    ExifToolService service(realBundle());
    const QUrl url = QUrl::fromLocalFile(m_source);
    const auto copy = runTask(service.copyTags(url, url, CopyFamily::everything));
    QVERIFY(!copy.succeeded());
    QVERIFY_THROWS_EXCEPTION(ServiceError, copy.rethrow());
    QCOMPARE(digest(m_source), before);
}

QTEST_GUILESS_MAIN(TagCopyingTest)
#include "tst_TagCopying.moc"
