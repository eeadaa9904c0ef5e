#include "StyleKit/Style.h"
#include "VossaApps/AccentColor.h"
#include "VossaApps/AppRow.h"
#include "VossaApps/AppsCatalog.h"
#include "VossaApps/BusyIndicator.h"
#include "VossaApps/CatalogStyle.h"
#include "VossaApps/LinkButton.h"
#include "VossaApps/MakerInfo.h"
#include "VossaApps/RemoteIconCache.h"
#include "VossaApps/VossaAppsMenu.h"
#include "VossaApps/VossaAppsTab.h"
#include "VossaApps/VossaAppsView.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPromise>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace VossaApps;
using Metaloom::Testing::LoopbackHttpServer;
using Response = LoopbackHttpServer::Response;

namespace {

AppsFeed::Entry entry(const QString &slug, const QString &name, const QString &tagline = {},
                      const QString &description = {}, const QString &color = {})
{
    return {slug, name, tagline, description, QUrl("https://quillforge.app/" + slug), {}, color};
}

AppsFeed feedOf(const QList<AppsFeed::Entry> &apps)
{
    return {1, apps};
}

const AppsFeed::Entry metaloom = entry("metaloom", "Metaloom", "Photo metadata");
const AppsFeed::Entry lumen = entry("lumen", "Lumen", "A light meter", "Long", "#E8772E");
const AppsFeed::Entry arbor = entry("arbor", "Arbor", {}, "Family trees of photos");

// A catalog source whose loads are answered by the test. A catalog runs one
// load at a time, so there is at most one waiting.
struct ScriptedSource {
    int loads = 0;
    std::shared_ptr<QPromise<AppsLoadResult>> pending;

    AppsCatalog::Source source()
    {
        return {{}, [this](const QUrl &) {
                    ++loads;
                    pending = std::make_shared<QPromise<AppsLoadResult>>();
                    pending->start();
                    return pending->future();
                }};
    }

    bool answer(const AppsLoadResult &result)
    {
        if (!pending)
            return false;
        const auto promise = std::exchange(pending, nullptr);
        promise->addResult(result);
        promise->finish();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return true;
    }
};

QStringList rowNames(const VossaAppsView &view)
{
    QStringList names;
    for (const AppRow *row : view.rows())
        names << row->app().name;
    return names;
}

QStringList visibleLabelTexts(const QWidget &widget)
{
    QStringList texts;
    for (const QLabel *label : widget.findChildren<QLabel *>()) {
        if (label->isVisible() && !label->text().isEmpty())
            texts << label->text();
    }
    return texts;
}

QStringList menuItems(const QMenu &menu)
{
    QStringList items;
    for (const QAction *action : menu.actions())
        items << (action->isSeparator() ? QStringLiteral("---") : action->text());
    return items;
}

// Whether the row paints the accent's faint placeholder where the icon goes.
bool showsPlaceholder(AppRow &row, const QColor &accent)
{
    row.resize(420, row.heightForWidth(420));
    const QImage image = row.grab().toImage();
    const QColor top = StyleKit::withOpacity(accent, 0.18);
    const QColor bottom = CatalogStyle::controlBackground(row.palette());
    const QColor painted = image.pixel(12 + 24, image.height() / 2);
    const qreal a = top.alphaF();
    const auto near = [a](int p, int t, int b) { return std::abs(p - (t * a + b * (1 - a))) <= 3; };
    return near(painted.red(), top.red(), bottom.red()) &&
           near(painted.green(), top.green(), bottom.green()) &&
           near(painted.blue(), top.blue(), bottom.blue());
}

} // namespace

class VossaViewsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup() { m_env.reset(); }
    void accentColorParsing_data();
    void accentColorParsing();
    void pageAndMenuFollowTheCatalog();
    void rowTextsClickAndHover();
    void iconsAreFetchedOncePerAddress();
    void hostDefaultsUseSharedCatalogAndFeedAddress();

private:
    std::unique_ptr<Metaloom::Testing::TestEnvironment> m_env;
    LoopbackHttpServer *m_defaultFeedServer = nullptr;
    Metaloom::Testing::OpenedUrls m_opened;
};

void VossaViewsTest::initTestCase()
{
    // Whatever uses the default feed address talks to this server, never to
    // the maker's site.
    m_defaultFeedServer = new LoopbackHttpServer(this);
    qputenv(AppsLoader::feedURLVariable, m_defaultFeedServer->url("/default.json").toEncoded());
}

void VossaViewsTest::init()
{
    m_env = std::make_unique<Metaloom::Testing::TestEnvironment>();
    m_opened.urls.clear();
}

void VossaViewsTest::accentColorParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<QColor>>("expected");
    const std::optional<QColor> none;
    const std::optional<QColor> color = QColor(0x1A, 0x2B, 0x3C);
    QTest::newRow("with number sign") << "#1A2B3C" << color;
    QTest::newRow("without number sign") << "1A2B3C" << color;
    QTest::newRow("lower case") << "#1a2b3c" << color;
    QTest::newRow("white space around") << "  #1A2B3C \n\t" << color;
    QTest::newRow("black") << "#000000" << std::optional(QColor(0, 0, 0));
    QTest::newRow("white") << "FFFFFF" << std::optional(QColor(255, 255, 255));
    QTest::newRow("leading plus, as the integer parser takes it")
        << "+12345" << std::optional(QColor(0x01, 0x23, 0x45));
    QTest::newRow("eight digits") << "#1A2B3C4D" << none;
    QTest::newRow("three digits") << "#abc" << none;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("only number sign") << "#" << none;
    QTest::newRow("non-hexadecimal") << "#12345G" << none;
    QTest::newRow("two number signs") << "##123456" << none;
    QTest::newRow("space inside") << "# 12345" << none;
    QTest::newRow("0x prefix") << "0x1234" << none;
    QTest::newRow("minus sign") << "-12345" << none;
    QTest::newRow("full-width digits") << QStringLiteral("１２３４５６") << none;
    QTest::newRow("colour name") << "orange" << none;
}

// Where the entry's colour fails, the toolkit's accent stands in.
void VossaViewsTest::accentColorParsing()
{
    QFETCH(QString, text);
    QFETCH(std::optional<QColor>, expected);
    const auto parsed = parseAccentColor(text);
    QCOMPARE(parsed.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(parsed->rgba(), expected->rgba());
    AppsFeed::Entry app = lumen;
    app.color = text;
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(0x12, 0x34, 0x56));
    QCOMPARE(accentColor(app, palette), expected.value_or(QColor(0x12, 0x34, 0x56)));
}

// The apps page and the menu through the catalog's life. The page has a
// heading and a footer around a list that shows a spinner, an error block or
// rows; the menu lists the same applications and never refreshes.
void VossaViewsTest::pageAndMenuFollowTheCatalog()
{
    ScriptedSource source;
    AppsCatalog catalog(source.source());
    const QStringList visitOnly{"---", "Visit Quillforge Website"};
    VossaAppsMenu menu("metaloom", "Other Apps", &catalog);
    QCOMPARE(menuItems(menu), visitOnly);
    const QUrl feedURL("http://127.0.0.1:9/f");
    VossaAppsTab tab("metaloom", &catalog, feedURL);
    VossaAppsView &view = *tab.appsView();
    QCOMPARE(view.feedURL(), feedURL);
    QCOMPARE(view.catalog(), &catalog);
    auto *progress = view.findChild<BusyIndicator *>();
    auto *link = view.findChild<LinkButton *>();
    QVERIFY(progress && link);
    tab.resize(650, 520);
    tab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tab));

    // Nothing yet and no error: the spinner, and the refresh of being shown.
    QCOMPARE(view.state(), VossaAppsView::State::Loading);
    QCOMPARE(source.loads, 1);
    QVERIFY(progress->isVisible() && progress->isAnimating());
    QVERIFY(!link->isVisible());
    QVERIFY(view.rows().isEmpty());

    QVERIFY(source.answer(AppsLoadResult::failure("The request timed out.")));
    QCOMPARE(view.state(), VossaAppsView::State::Error);
    QVERIFY(!progress->isVisible() && !progress->isAnimating());
    QCOMPARE(visibleLabelTexts(view),
             (QStringList{"Couldn't load the app list", "The request timed out."}));
    QVERIFY(link->isVisible());
    QCOMPARE(link->text(), "See them at " + MakerInfo::hostName());
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(m_opened.urls, QList<QUrl>{MakerInfo::homePage()});
    // Heading and footer stay whatever the list shows.
    const QStringList texts = visibleLabelTexts(tab);
    QVERIFY(texts.contains("More from Quillforge"));
    QVERIFY(texts.contains("Every app runs on your computer."));
    const QList<LinkButton *> links = tab.findChildren<LinkButton *>();
    QCOMPARE(links.size(), 2);
    QCOMPARE(links.at(0)->url(), MakerInfo::homePage());
    QCOMPARE(links.at(1)->url(), MakerInfo::homePage());
    QVERIFY(links.at(0)->text() == "See them all" || links.at(1)->text() == "See them all");

    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({lumen, metaloom, arbor}))));
    QCOMPARE(view.state(), VossaAppsView::State::Rows);
    QCOMPARE(rowNames(view), (QStringList{"Lumen", "Arbor"}));
    QVERIFY(!link->isVisible() && !progress->isVisible());
    QVERIFY(view.rows().at(0)->isVisible() && view.rows().at(1)->isVisible());
    QVERIFY(view.rows().at(0)->geometry().bottom() < view.rows().at(1)->geometry().top());
    QCOMPARE(menuItems(menu), (QStringList{"Lumen", "Arbor"} + visitOnly));
    menu.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    menu.hide();
    QCOMPARE(source.loads, 2);

    // Shown again, the page refreshes while its rows stay. The same list
    // keeps the very same rows; a changed entry gets a new row while
    // unchanged ones stay.
    const QList<AppRow *> before = view.rows();
    tab.hide();
    tab.show();
    QCOMPARE(source.loads, 3);
    QVERIFY(catalog.isLoading());
    QCOMPARE(view.state(), VossaAppsView::State::Rows);
    QCOMPARE(view.rows(), before);
    QVERIFY(before.at(0)->isVisible());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({lumen, metaloom, arbor}))));
    QCOMPARE(view.rows(), before);
    AppsFeed::Entry renamed = arbor;
    renamed.name = "Pen & Ink";
    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({renamed, lumen}))));
    QCOMPARE(rowNames(view), (QStringList{"Pen & Ink", "Lumen"}));
    QCOMPARE(view.rows().at(1), before.at(0));
    QVERIFY(view.rows().at(0)->geometry().top() < view.rows().at(1)->geometry().top());
    // A view made later shows the catalog's list at once.
    QCOMPARE(rowNames(VossaAppsView("metaloom", QUrl(), &catalog)),
             (QStringList{"Pen & Ink", "Lumen"}));
    // The menu shows the ampersand, and its items open the pages.
    QCOMPARE(menuItems(menu), (QStringList{"Pen && Ink", "Lumen"} + visitOnly));
    menu.actions().at(0)->trigger();
    menu.actions().at(3)->trigger();
    QCOMPARE(m_opened.urls, (QList<QUrl>{MakerInfo::homePage(), arbor.url, MakerInfo::homePage()}));

    // The page needs no more room than its rows take at the page's width,
    // even when a long description would wrap badly in a very narrow row.
    AppsFeed::Entry wordy = arbor;
    wordy.description = "Keeps a family tree of every photo you edit, with the originals "
                        "always one click away, and more words.";
    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({lumen, wordy, arbor}))));
    QCOMPARE(view.rows().size(), 3);
    tab.resize(650, 380);
    QCoreApplication::processEvents();
    QVERIFY2(tab.widget()->minimumSizeHint().height() <= tab.viewport()->height(),
             qPrintable(QString::number(tab.widget()->minimumSizeHint().height())));
    QVERIFY(!tab.verticalScrollBar()->isVisible());

    // A list of only the host shows the spinner again; a failure then shows
    // no error, as there is a list.
    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({metaloom}))));
    QCOMPARE(view.state(), VossaAppsView::State::Loading);
    QVERIFY(view.rows().isEmpty() && progress->isVisible());
    QCOMPARE(menuItems(menu), visitOnly);
    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::failure("offline")));
    QVERIFY(!catalog.hasLoadError());
    QCOMPARE(view.state(), VossaAppsView::State::Loading);
    QCOMPARE(source.loads, 7);
}

void VossaViewsTest::rowTextsClickAndHover()
{
    RemoteIconCache icons;
    AppRow row(lumen, &icons);
    QCOMPARE(row.toolTip(), "Open Lumen on " + MakerInfo::hostName());
    QCOMPARE(row.accessibleName(), QStringLiteral("Lumen. A light meter"));
    QCOMPARE(AppRow(arbor, &icons).accessibleName(),
             QStringLiteral("Arbor. Family trees of photos"));

    row.resize(420, row.heightForWidth(420));
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    QTest::mouseClick(&row, Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(m_opened.urls, QList<QUrl>{lumen.url});
    // Keyboard users open it the same way.
    row.setFocus();
    QTest::keyClick(&row, Qt::Key_Space);
    QCOMPARE(m_opened.urls, (QList<QUrl>{lumen.url, lumen.url}));
    row.clearFocus();

    // The pointer may rest wherever an earlier test left it.
    QEvent leave(QEvent::Leave);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&row, &leave);
    QVERIFY(!row.isHovering());
    const QRect geometry = row.geometry();
    const QImage before = row.grab().toImage();
    QCoreApplication::sendEvent(&row, &enter);
    QVERIFY(row.isHovering());
    const QImage hovered = row.grab().toImage();
    QCOMPARE(row.geometry(), geometry);
    QCOMPARE(hovered.size(), before.size());

    // Only the arrow and the border change; the border runs along the card's
    // outline, here a little widened.
    QImage borderMask(before.size(), QImage::Format_ARGB32);
    borderMask.fill(Qt::transparent);
    {
        QPainter painter(&borderMask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 4));
        QPainterPath outline;
        outline.addRoundedRect(QRectF(row.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
        painter.drawPath(outline);
    }
    const QRect arrow = row.arrowRect().toAlignedRect().adjusted(-2, -2, 2, 2);
    int arrowChanges = 0;
    int borderChanges = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) == hovered.pixel(x, y))
                continue;
            if (arrow.contains(x, y))
                ++arrowChanges;
            else if (qAlpha(borderMask.pixel(x, y)) > 0)
                ++borderChanges;
            else
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 changed on hover").arg(x).arg(y)));
        }
    }
    QVERIFY(arrowChanges > 0);
    QVERIFY(borderChanges > 2 * (before.width() + before.height()));

    QCoreApplication::sendEvent(&row, &leave);
    QVERIFY(!row.isHovering());
    QCOMPARE(row.grab().toImage(), before);

    // Hidden while hovered, it comes back plain.
    QCoreApplication::sendEvent(&row, &enter);
    row.hide();
    row.show();
    QVERIFY(!row.isHovering());
}

void VossaViewsTest::iconsAreFetchedOncePerAddress()
{
    QImage red(64, 64, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && red.save(&buffer, "PNG"));
    LoopbackHttpServer server;
    server.setResponse("/icon.png", Response::bytes("image/png", png));
    server.setResponse("/text.png", Response::bytes("image/png", "this is not an image"));
    Response endless = Response::bytes("image/png", QByteArray(64 << 10, 'x'));
    endless.endless = true;
    endless.pieceInterval = std::chrono::milliseconds(1);
    server.setResponse("/endless.png", endless);
    RemoteIconCache icons;
    AppsFeed::Entry app = lumen;
    app.icon = server.url("/icon.png");
    AppsFeed::Entry sameIcon = arbor;
    sameIcon.icon = app.icon;

    AppRow first(app, &icons);
    AppRow second(sameIcon, &icons);
    QVERIFY(!first.hasIconImage());
    QVERIFY(icons.isLoading(*app.icon));
    QTRY_VERIFY(first.hasIconImage() && second.hasIconImage());
    QCOMPARE(server.requestCount("/icon.png"), 1);

    // A row built later paints the icon at once, without a new request.
    AppRow later(app, &icons);
    QVERIFY(later.hasIconImage());
    later.resize(later.sizeHint());
    const QImage image = later.grab().toImage();
    QCOMPARE(QColor(image.pixel(12 + 24, image.height() / 2)), QColor(Qt::red));
    icons.request(*app.icon);
    QVERIFY(!icons.isLoading(*app.icon));
    QCOMPARE(server.requestCount(), 1);
    QCOMPARE(RemoteIconCache::shared(), RemoteIconCache::shared());

    // An icon that is missing, not an image or without end leaves the
    // placeholder in the entry's colour.
    QSignalSpy failures(&icons, &RemoteIconCache::iconFailed);
    int expectedFailures = 0;
    for (const char *path : {"/missing.png", "/text.png", "/endless.png"}) {
        ++expectedFailures;
        app.icon = server.url(path);
        AppRow row(app, &icons);
        QTRY_COMPARE(failures.size(), expectedFailures);
        QVERIFY(!row.hasIconImage());
        QVERIFY(!icons.image(*app.icon));
        QVERIFY(showsPlaceholder(row, QColor(0xE8772E)));
    }

    // Without an address nothing is fetched and the placeholder takes the
    // toolkit's accent when the colour does not parse.
    AppsFeed::Entry plain = arbor;
    plain.color = "#12";
    AppRow row(plain, &icons);
    QVERIFY(showsPlaceholder(row, row.palette().color(QPalette::Highlight)));
    QCOMPARE(server.requestCount(), 4);
}

void VossaViewsTest::hostDefaultsUseSharedCatalogAndFeedAddress()
{
    const QUrl defaultFeed = m_defaultFeedServer->url("/default.json");
    QCOMPARE(AppsLoader::defaultFeedURL(), defaultFeed);
    m_defaultFeedServer->setResponse(
        "/default.json",
        Response::json(
            R"({"schema": 1, "apps": [)"
            R"({"slug": "lumen", "name": "Lumen", "url": "https://quillforge.app/l"}]})"));
    VossaAppsTab tab("metaloom");
    QCOMPARE(tab.appsView()->catalog(), AppsCatalog::shared());
    QCOMPARE(AppsCatalog::shared()->parent(), QCoreApplication::instance());
    VossaAppsMenu menu("metaloom", "Other Apps");
    tab.show();
    QTRY_COMPARE(tab.appsView()->rows().size(), 1);
    QCOMPARE(m_defaultFeedServer->requestCount("/default.json"), 1);
    QCOMPARE(menu.actions().first()->text(), QStringLiteral("Lumen"));
}

QTEST_MAIN(VossaViewsTest)
#include "tst_VossaViews.moc"
