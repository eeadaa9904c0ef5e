// Two files' tags side by side: one row per key either holds, in the
// editor's order, with the differences (a tag only one holds included).

#include "MetaloomFeature/Library/CompareAlignment.h"

#include <QtTest>

using namespace Metaloom;
using CompareAlignment::Row;

class CompareAlignmentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowsAreAlignedByKey();
};

void CompareAlignmentTest::rowsAreAlignedByKey()
{
    const QList<MetadataEntry> left{MetadataEntry("XMP-dc:Title", "Sea"),
                                    MetadataEntry("IFD0:Make", "Canon"),
                                    MetadataEntry("ifd0:Artist", "Ann")};
    const QList<MetadataEntry> right{MetadataEntry("IFD0:Make", "Canon"),
                                     MetadataEntry("XMP-dc:Title", "Harbour"),
                                     MetadataEntry("GPS:GPSLatitude", "52")};
    const QList<Row> rows = CompareAlignment::align(left, right);
    QStringList keys;
    for (const Row &row : rows)
        keys << row.key;
    // Groups and tags in order whatever their case; each key once.
    QCOMPARE(keys, (QStringList{"GPS:GPSLatitude", "ifd0:Artist", "IFD0:Make", "XMP-dc:Title"}));
    QCOMPARE(rows.at(0).left, std::nullopt);
    QCOMPARE(rows.at(0).right, std::optional<QString>("52"));
    QVERIFY(!rows.at(2).differs());
    QVERIFY(rows.at(3).differs());

    QStringList differing;
    for (const Row &row : CompareAlignment::differencesOnly(rows))
        differing << row.key;
    QCOMPARE(differing, (QStringList{"GPS:GPSLatitude", "ifd0:Artist", "XMP-dc:Title"}));
    QVERIFY(CompareAlignment::align({}, {}).isEmpty());
}

QTEST_APPLESS_MAIN(CompareAlignmentTest)
#include "tst_CompareAlignment.moc"
