#include "VossaApps/AccentColor.h"
#include "VossaApps/AppRow.h"
#include "VossaApps/AppsCatalog.h"
#include "VossaApps/AppsLoader.h"
#include "VossaApps/BusyIndicator.h"
#include "VossaApps/CatalogStyle.h"
#include "VossaApps/LinkButton.h"
#include "VossaApps/MakerInfo.h"
#include "VossaApps/RemoteIconCache.h"
#include "VossaApps/VossaAppsMenu.h"
#include "VossaApps/VossaAppsTab.h"
#include "VossaApps/VossaAppsView.h"
#include "tests/support/FutureWaiting.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QDesktopServices>
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

// Catches what the views open instead of letting a browser start.
class OpenedURLs : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

namespace {

AppsFeed::Entry entry(const QString &slug, const QString &name, const QString &tagline = {},
                      const QString &description = {}, const QString &color = {},
                      std::optional<QUrl> icon = std::nullopt)
{
    return {
        slug, name, tagline, description, QUrl(QStringLiteral("https://quillforge.app/") + slug),
        icon, color};
}

AppsFeed feedOf(const QList<AppsFeed::Entry> &apps)
{
    AppsFeed feed;
    feed.schema = 1;
    feed.apps = apps;
    return feed;
}

const AppsFeed::Entry metaloom =
    entry(QStringLiteral("metaloom"), QStringLiteral("Metaloom"), QStringLiteral("Photo metadata"));
const AppsFeed::Entry lumen =
    entry(QStringLiteral("lumen"), QStringLiteral("Lumen"), QStringLiteral("A light meter"),
          QStringLiteral("Long"), QStringLiteral("#E8772E"));
const AppsFeed::Entry arbor = entry(QStringLiteral("arbor"), QStringLiteral("Arbor"), QString(),
                                    QStringLiteral("Family trees of photos"));

// A catalog source whose loads are answered by the test, one at a time.
class ScriptedSource {
public:
    std::optional<AppsFeed> cachedFeed;
    int loads = 0;

    AppsCatalog::Source source()
    {
        return {[this] { return cachedFeed; },
                [this](const QUrl &) {
                    ++loads;
                    auto promise = std::make_shared<QPromise<AppsLoadResult>>();
                    promise->start();
                    m_pending.append(promise);
                    return promise->future();
                }};
    }

    bool answer(const AppsLoadResult &result)
    {
        if (m_pending.isEmpty())
            return false;
        auto promise = m_pending.takeFirst();
        promise->addResult(result);
        promise->finish();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return true;
    }

private:
    QList<std::shared_ptr<QPromise<AppsLoadResult>>> m_pending;
};

QStringList rowNames(const VossaAppsView &view)
{
    QStringList names;
    for (const AppRow *row : view.rows())
        names << row->app().name;
    return names;
}

QByteArray pngOf(const QColor &color)
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QColor over(const QColor &top, const QColor &bottom)
{
    const qreal a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + bottom.redF() * (1 - a),
                            top.greenF() * a + bottom.greenF() * (1 - a),
                            top.blueF() * a + bottom.blueF() * (1 - a));
}

bool near(const QColor &a, const QColor &b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

void sendEnter(QWidget *widget)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(widget, &enter);
}

void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

} // namespace

class VossaViewsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void accentColorParsing_data();
    void accentColorParsing();
    void listShowsProgressErrorOrRows();
    void feedOfOnlyTheHostShowsProgress();
    void rowsStayWhileShowingAgainRefreshes();
    void rowTextsAndClick();
    void hoverChangesOnlyArrowAndBorder();
    void iconFetchedOnceAndKept();
    void unusableIconKeepsThePlaceholder();
    void menuFollowsTheCatalog();
    void tabFramesTheList();
    void hostDefaultsUseSharedCatalogAndFeedAddress();

private:
    std::unique_ptr<Metaloom::Testing::TestEnvironment> m_env;
    std::unique_ptr<LoopbackHttpServer> m_server;
    LoopbackHttpServer *m_defaultFeedServer = nullptr;
    OpenedURLs m_opened;
};

void VossaViewsTest::initTestCase()
{
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_opened, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_opened, "open");
    // Whatever uses the default feed address talks to this server, never to
    // the maker's site.
    m_defaultFeedServer = new LoopbackHttpServer(this);
    qputenv(AppsLoader::feedURLVariable,
            m_defaultFeedServer->url(QStringLiteral("/default.json")).toEncoded());
}

void VossaViewsTest::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

void VossaViewsTest::init()
{
    m_env = std::make_unique<Metaloom::Testing::TestEnvironment>();
    m_server = std::make_unique<LoopbackHttpServer>();
    m_opened.urls.clear();
}

void VossaViewsTest::cleanup()
{
    m_server.reset();
    m_env.reset();
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

void VossaViewsTest::accentColorParsing()
{
    QFETCH(QString, text);
    QFETCH(std::optional<QColor>, expected);
    const auto parsed = parseAccentColor(text);
    QCOMPARE(parsed.has_value(), expected.has_value());
    if (expected) {
        QCOMPARE(parsed->rgba(), expected->rgba());
        QCOMPARE(parsed->alpha(), 255);
    }
    // Where the entry's colour fails, the toolkit's accent stands in.
    AppsFeed::Entry app = lumen;
    app.color = text;
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(0x12, 0x34, 0x56));
    QCOMPARE(accentColor(app, palette), expected.value_or(QColor(0x12, 0x34, 0x56)));
}

void VossaViewsTest::listShowsProgressErrorOrRows()
{
    ScriptedSource source;
    AppsCatalog catalog(source.source());
    VossaAppsView view(QStringLiteral("metaloom"), QUrl(QStringLiteral("http://127.0.0.1:9/f")),
                       &catalog);
    auto *progress = view.findChild<BusyIndicator *>();
    auto *link = view.findChild<LinkButton *>();
    QVERIFY(progress && link);
    view.resize(500, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Nothing yet and no error: the spinner, and the refresh of being shown.
    QCOMPARE(view.state(), VossaAppsView::State::Loading);
    QCOMPARE(source.loads, 1);
    QVERIFY(progress->isVisible());
    QVERIFY(progress->isAnimating());
    QVERIFY(!link->isVisible());
    QVERIFY(view.rows().isEmpty());
    QVERIFY(view.height() >= 120);

    QVERIFY(source.answer(AppsLoadResult::failure(QStringLiteral("The request timed out."))));
    QCOMPARE(view.state(), VossaAppsView::State::Error);
    QVERIFY(!progress->isVisible());
    QVERIFY(!progress->isAnimating());
    QStringList visibleTexts;
    for (const QLabel *label : view.findChildren<QLabel *>()) {
        if (label->isVisible() && !label->text().isEmpty())
            visibleTexts << label->text();
    }
    QCOMPARE(visibleTexts, QStringList({QStringLiteral("Couldn't load the app list"),
                                        QStringLiteral("The request timed out.")}));
    QVERIFY(link->isVisible());
    QCOMPARE(link->text(), QStringLiteral("See them at ") + MakerInfo::hostName());
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(m_opened.urls, QList<QUrl>{MakerInfo::homePage()});

    catalog.refresh(QUrl());
    QCOMPARE(source.loads, 2);
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({lumen, metaloom, arbor}))));
    QCOMPARE(view.state(), VossaAppsView::State::Rows);
    QCOMPARE(rowNames(view), QStringList({QStringLiteral("Lumen"), QStringLiteral("Arbor")}));
    QVERIFY(!link->isVisible());
    QVERIFY(!progress->isVisible());
    for (AppRow *row : view.rows())
        QVERIFY(row->isVisible());
    QVERIFY(view.rows().at(0)->geometry().bottom() < view.rows().at(1)->geometry().top());
}

void VossaViewsTest::feedOfOnlyTheHostShowsProgress()
{
    ScriptedSource source;
    source.cachedFeed = feedOf({metaloom});
    AppsCatalog catalog(source.source());
    VossaAppsView view(QStringLiteral("Metaloom"), QUrl(), &catalog);
    view.show();
    QCOMPARE(view.state(), VossaAppsView::State::Loading);
    QVERIFY(view.rows().isEmpty());
    QVERIFY(view.findChild<BusyIndicator *>()->isVisible());

    // A failure with a list present (even one of only the host) shows no error.
    QVERIFY(source.answer(AppsLoadResult::failure(QStringLiteral("offline"))));
    QVERIFY(!catalog.hasLoadError());
    QCOMPARE(view.state(), VossaAppsView::State::Loading);
}

void VossaViewsTest::rowsStayWhileShowingAgainRefreshes()
{
    ScriptedSource source;
    source.cachedFeed = feedOf({lumen, arbor});
    AppsCatalog catalog(source.source());
    VossaAppsView view(QStringLiteral("metaloom"), QUrl(), &catalog);
    view.show();
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({lumen, arbor}))));
    const QList<AppRow *> before = view.rows();
    QCOMPARE(before.size(), 2);

    view.hide();
    view.show();
    QCOMPARE(source.loads, 2);
    QVERIFY(catalog.isLoading());
    QCOMPARE(view.state(), VossaAppsView::State::Rows);
    QCOMPARE(view.rows(), before);
    QVERIFY(before.at(0)->isVisible());

    // The same list again keeps the very same rows; a changed entry gets a
    // new row while unchanged ones stay.
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({lumen, arbor}))));
    QCOMPARE(view.rows(), before);
    AppsFeed::Entry renamed = arbor;
    renamed.name = QStringLiteral("Arbor 2");
    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({renamed, lumen}))));
    QCOMPARE(rowNames(view), QStringList({QStringLiteral("Arbor 2"), QStringLiteral("Lumen")}));
    QCOMPARE(view.rows().at(1), before.at(0));
    QVERIFY(view.rows().at(0)->geometry().top() < view.rows().at(1)->geometry().top() ||
            !view.isVisible());
}

void VossaViewsTest::rowTextsAndClick()
{
    RemoteIconCache icons;
    AppRow row(lumen, &icons);
    QCOMPARE(row.toolTip(), QStringLiteral("Open Lumen on ") + MakerInfo::hostName());
    QCOMPARE(row.accessibleName(), QStringLiteral("Lumen. A light meter"));
    QVERIFY(!row.isHovering());

    AppRow withoutTagline(arbor, &icons);
    QCOMPARE(withoutTagline.accessibleName(), QStringLiteral("Arbor. Family trees of photos"));
    QCOMPARE(withoutTagline.app().summary(), QStringLiteral("Family trees of photos"));

    row.resize(row.sizeHint());
    row.show();
    QTest::mouseClick(&row, Qt::LeftButton, {}, QPoint(30, 30));
    QCOMPARE(m_opened.urls, QList<QUrl>{lumen.url});
    // Keyboard users open it the same way.
    row.setFocus();
    QTest::keyClick(&row, Qt::Key_Space);
    QCOMPARE(m_opened.urls.size(), 2);
}

void VossaViewsTest::hoverChangesOnlyArrowAndBorder()
{
    RemoteIconCache icons;
    AppRow row(lumen, &icons);
    row.resize(420, row.heightForWidth(420));
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    // The pointer may rest wherever an earlier test left it.
    sendLeave(&row);
    QVERIFY(!row.isHovering());
    const QRect geometry = row.geometry();
    const QImage before = row.grab().toImage();
    QCOMPARE(row.arrowOpacity(), 0.35);
    QCOMPARE(row.borderOpacity(), 0.0);

    sendEnter(&row);
    QVERIFY(row.isHovering());
    QCOMPARE(row.arrowOpacity(), 1.0);
    QCOMPARE(row.borderOpacity(), 0.55);
    const QImage hovered = row.grab().toImage();
    QCOMPARE(row.geometry(), geometry);
    QCOMPARE(hovered.size(), before.size());

    // Where the border runs: the card's outline, a little widened.
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

    sendLeave(&row);
    QVERIFY(!row.isHovering());
    QCOMPARE(row.grab().toImage(), before);

    // Hidden while hovered, it comes back plain.
    sendEnter(&row);
    row.hide();
    row.show();
    QVERIFY(!row.isHovering());
}

void VossaViewsTest::iconFetchedOnceAndKept()
{
    m_server->setResponse(QStringLiteral("/icon.png"),
                          Response::bytes("image/png", pngOf(Qt::red)));
    RemoteIconCache icons;
    AppsFeed::Entry app = lumen;
    app.icon = m_server->url(QStringLiteral("/icon.png"));
    AppsFeed::Entry sameIcon = arbor;
    sameIcon.icon = app.icon;

    AppRow first(app, &icons);
    AppRow second(sameIcon, &icons);
    QVERIFY(!first.hasIconImage());
    QVERIFY(icons.isLoading(*app.icon));
    QTRY_VERIFY(first.hasIconImage() && second.hasIconImage());
    QCOMPARE(m_server->requestCount(QStringLiteral("/icon.png")), 1);

    // A row built later paints the icon at once, without a new request.
    AppRow later(app, &icons);
    QVERIFY(later.hasIconImage());
    later.resize(later.sizeHint());
    const QImage image = later.grab().toImage();
    QCOMPARE(QColor(image.pixel(12 + 24, image.height() / 2)), QColor(Qt::red));
    QCOMPARE(m_server->requestCount(QStringLiteral("/icon.png")), 1);
    icons.request(*app.icon);
    QVERIFY(!icons.isLoading(*app.icon));
    QCOMPARE(m_server->requestCount(), 1);

    // The shared cache is one for the process.
    QCOMPARE(RemoteIconCache::shared(), RemoteIconCache::shared());
}

void VossaViewsTest::unusableIconKeepsThePlaceholder()
{
    m_server->setResponse(QStringLiteral("/text.png"),
                          Response::bytes("image/png", "this is not an image"));
    RemoteIconCache icons;
    QSignalSpy failures(&icons, &RemoteIconCache::iconFailed);
    const QList<QString> paths{QStringLiteral("/missing.png"), QStringLiteral("/text.png")};
    for (const QString &path : paths) {
        AppsFeed::Entry app = lumen;
        app.icon = m_server->url(path);
        AppRow row(app, &icons);
        row.resize(420, row.heightForWidth(420));
        QTRY_COMPARE(failures.size(), paths.indexOf(path) + 1);
        QVERIFY(!row.hasIconImage());
        QVERIFY(!icons.image(*app.icon));
        const QImage image = row.grab().toImage();
        const QColor expected = over(CatalogStyle::withOpacity(QColor(0xE8772E), 0.18),
                                     CatalogStyle::controlBackground(row.palette()));
        QVERIFY(near(QColor(image.pixel(12 + 24, image.height() / 2)), expected));
    }

    // Without an address nothing is fetched and the placeholder takes the
    // toolkit's accent when the colour does not parse.
    AppsFeed::Entry plain = arbor;
    plain.color = QStringLiteral("#12");
    AppRow row(plain, &icons);
    row.resize(420, row.heightForWidth(420));
    const QImage image = row.grab().toImage();
    const QColor expected =
        over(CatalogStyle::withOpacity(row.palette().color(QPalette::Highlight), 0.18),
             CatalogStyle::controlBackground(row.palette()));
    QVERIFY(near(QColor(image.pixel(12 + 24, image.height() / 2)), expected));
    QCOMPARE(m_server->requestCount(), 2);
}

void VossaViewsTest::menuFollowsTheCatalog()
{
    ScriptedSource source;
    AppsFeed::Entry ampersand = entry(QStringLiteral("ink"), QStringLiteral("Pen & Ink"));
    source.cachedFeed = feedOf({lumen, metaloom, ampersand});
    AppsCatalog catalog(source.source());
    VossaAppsMenu menu(QStringLiteral("metaloom"), QStringLiteral("Other Apps"), &catalog);
    QCOMPARE(menu.title(), QStringLiteral("Other Apps"));

    auto describe = [&menu] {
        QStringList items;
        for (const QAction *action : menu.actions())
            items << (action->isSeparator() ? QStringLiteral("---") : action->text());
        return items;
    };
    QCOMPARE(describe(),
             QStringList({QStringLiteral("Lumen"), QStringLiteral("Pen && Ink"),
                          QStringLiteral("---"), QStringLiteral("Visit Quillforge Website")}));
    menu.actions().at(1)->trigger();
    menu.actions().at(3)->trigger();
    QCOMPARE(m_opened.urls, QList<QUrl>({ampersand.url, MakerInfo::homePage()}));

    menu.popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    menu.hide();
    QCOMPARE(source.loads, 0);

    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({arbor}))));
    QCOMPARE(describe(), QStringList({QStringLiteral("Arbor"), QStringLiteral("---"),
                                      QStringLiteral("Visit Quillforge Website")}));
    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({metaloom}))));
    QCOMPARE(describe(),
             QStringList({QStringLiteral("---"), QStringLiteral("Visit Quillforge Website")}));

    AppsCatalog empty(ScriptedSource().source());
    VossaAppsMenu emptyMenu(QStringLiteral("metaloom"), QStringLiteral("Other Apps"), &empty);
    QCOMPARE(emptyMenu.actions().size(), 2);
    QVERIFY(emptyMenu.actions().at(0)->isSeparator());
}

void VossaViewsTest::tabFramesTheList()
{
    ScriptedSource source;
    AppsCatalog catalog(source.source());
    const QUrl feedURL(QStringLiteral("http://127.0.0.1:9/tab.json"));
    VossaAppsTab tab(QStringLiteral("metaloom"), &catalog, feedURL);
    tab.resize(650, 520);
    tab.show();
    QCOMPARE(tab.currentApp(), QStringLiteral("metaloom"));
    QCOMPARE(tab.appsView()->feedURL(), feedURL);
    QCOMPARE(tab.appsView()->catalog(), &catalog);
    QCOMPARE(source.loads, 1);
    QVERIFY(source.answer(AppsLoadResult::failure(QStringLiteral("offline"))));
    QCOMPARE(tab.appsView()->state(), VossaAppsView::State::Error);

    // Heading and footer stay whatever the list shows.
    QStringList texts;
    for (const QLabel *label : tab.findChildren<QLabel *>()) {
        if (label->isVisible())
            texts << label->text();
    }
    QVERIFY(texts.contains(QStringLiteral("More from Quillforge")));
    QVERIFY(texts.contains(QStringLiteral("Every app runs on your computer.")));
    QStringList links;
    for (const LinkButton *link : tab.findChildren<LinkButton *>()) {
        QCOMPARE(link->url(), MakerInfo::homePage());
        links << link->text();
    }
    QCOMPARE(links.size(), 2);
    QVERIFY(links.contains(QStringLiteral("See them all")));

    // The page needs no more room than its rows take at the page's width,
    // even when a long description would wrap badly in a very narrow row.
    AppsFeed::Entry wordy = arbor;
    wordy.description = QStringLiteral("Keeps a family tree of every photo you edit, with the "
                                       "originals always one click away, and more words.");
    catalog.refresh(QUrl());
    QVERIFY(source.answer(AppsLoadResult::success(feedOf({lumen, wordy, arbor}))));
    QCOMPARE(tab.appsView()->rows().size(), 3);
    tab.resize(650, 380);
    QCoreApplication::processEvents();
    QVERIFY2(tab.widget()->minimumSizeHint().height() <= tab.viewport()->height(),
             qPrintable(QString::number(tab.widget()->minimumSizeHint().height())));
    QVERIFY(!tab.verticalScrollBar()->isVisible());
}

void VossaViewsTest::hostDefaultsUseSharedCatalogAndFeedAddress()
{
    const QUrl defaultFeed = m_defaultFeedServer->url(QStringLiteral("/default.json"));
    QCOMPARE(AppsLoader::defaultFeedURL(), defaultFeed);
    m_defaultFeedServer->setResponse(QStringLiteral("/default.json"),
                                     Response::json(R"({"schema": 1, "apps": [)"
                                                    R"({"slug": "lumen", "name": "Lumen",)"
                                                    R"( "url": "https://quillforge.app/l"}]})"));
    VossaAppsTab tab(QStringLiteral("metaloom"));
    QCOMPARE(tab.appsView()->catalog(), AppsCatalog::shared());
    QCOMPARE(tab.appsView()->feedURL(), defaultFeed);
    VossaAppsMenu menu(QStringLiteral("metaloom"), QStringLiteral("Other Apps"));
    tab.show();
    QTRY_COMPARE(tab.appsView()->rows().size(), 1);
    QCOMPARE(m_defaultFeedServer->requestCount(QStringLiteral("/default.json")), 1);
    QCOMPARE(menu.actions().first()->text(), QStringLiteral("Lumen"));
}

QTEST_MAIN(VossaViewsTest)
#include "tst_VossaViews.moc"
