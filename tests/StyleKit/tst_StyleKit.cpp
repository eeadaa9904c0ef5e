#include "StyleKit/Style.h"
#include "StyleKit/TintedSymbol.h"
#include "tests/support/TestEnvironment.h"

#include <QImage>
#include <QtTest>

using namespace Metaloom;

class StyleKitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fontsKeepTheirProportions_data();
    void fontsKeepTheirProportions();
    void coloursFade();
    void symbolsKeepOnlyTheirShape();
};

void StyleKitTest::fontsKeepTheirProportions_data()
{
    QTest::addColumn<qreal>("basePoints"); // 0: the base font is sized in pixels
    QTest::addColumn<int>("basePixels");
    QTest::addColumn<qreal>("macPoints");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<int>("pixels");
    QTest::newRow("a Mac's body size") << 13.0 << 0 << 22.0 << 22.0 << 0;
    QTest::newRow("a smaller desktop font") << 10.0 << 0 << 26.0 << 20.0 << 0;
    QTest::newRow("never below readable") << 6.0 << 0 << 10.0 << 7.5 << 0;
    QTest::newRow("sized in pixels") << 0.0 << 26 << 13.0 << 0.0 << 26;
    QTest::newRow("pixels never below ten") << 0.0 << 13 << 5.0 << 0.0 << 10;
}

void StyleKitTest::fontsKeepTheirProportions()
{
    QFETCH(qreal, basePoints);
    QFETCH(int, basePixels);
    QFETCH(qreal, macPoints);
    QFETCH(qreal, points);
    QFETCH(int, pixels);
    QFont base;
    if (basePoints > 0)
        base.setPointSizeF(basePoints);
    else
        base.setPixelSize(basePixels);
    const QFont font = StyleKit::scaled(base, macPoints, QFont::DemiBold);
    if (points > 0)
        QCOMPARE(font.pointSizeF(), points);
    else
        QCOMPARE(font.pixelSize(), pixels);
    QCOMPARE(font.weight(), QFont::DemiBold);
}

void StyleKitTest::coloursFade()
{
    QColor half(Qt::red);
    half.setAlphaF(0.5);
    // Colours keep alpha in 16 bits.
    QVERIFY(qAbs(StyleKit::withOpacity(half, 0.5).alphaF() - 0.25) < 0.001);
    QCOMPARE(StyleKit::withOpacity(half, 0.5).red(), 255);

    QPalette palette;
    palette.setColor(QPalette::WindowText, QColor(10, 20, 30));
    const QColor secondary = StyleKit::secondaryText(palette);
    QCOMPARE(secondary.rgb(), QColor(10, 20, 30).rgb());
    QVERIFY(qAbs(secondary.alphaF() - 0.6) < 0.001);
}

void StyleKitTest::symbolsKeepOnlyTheirShape()
{
    // A drawing whose left half is a shape in some colour and whose right
    // half is empty: the symbol takes the shape and the colour asked.
    Testing::TestEnvironment environment;
    QImage drawing(16, 16, QImage::Format_ARGB32);
    drawing.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x)
            drawing.setPixelColor(x, y, QColor(200, 100, 0));
    }
    const QString path = environment.workPath() + QStringLiteral("/shape.png");
    QVERIFY(drawing.save(path));

    const QPixmap symbol = StyleKit::tintedSymbol({QStringLiteral("no-such-theme-icon-at-all")},
                                                  path, 16, QColor(0, 0, 255), 1.0);
    QVERIFY(!symbol.isNull());
    const QImage tinted = symbol.toImage();
    QCOMPARE(tinted.pixelColor(2, 8), QColor(0, 0, 255));
    QCOMPARE(tinted.pixelColor(12, 8).alpha(), 0);

    QVERIFY(StyleKit::tintedSymbol({}, environment.workPath() + QStringLiteral("/missing.png"), 16,
                                   Qt::blue, 1.0)
                .isNull());
}

QTEST_MAIN(StyleKitTest)
#include "tst_StyleKit.moc"
