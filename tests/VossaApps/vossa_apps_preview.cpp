// Shows the catalog's tab and menu against a loopback feed and saves
// screenshots, for checking the views by eye (run under xvfb-run). Not a test.
#include "VossaApps/AppRow.h"
#include "VossaApps/AppsCatalog.h"
#include "VossaApps/AppsLoader.h"
#include "VossaApps/RemoteIconCache.h"
#include "VossaApps/VossaAppsMenu.h"
#include "VossaApps/VossaAppsTab.h"
#include "VossaApps/VossaAppsView.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/PreviewPalette.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QPainter>
#include <QStyleFactory>
#include <QTest>

using namespace VossaApps;
using Metaloom::Testing::LoopbackHttpServer;
using Response = LoopbackHttpServer::Response;

static QByteArray iconPng(const QColor &color, const QString &letter)
{
    QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, 128);
    gradient.setColorAt(0, color.lighter(130));
    gradient.setColorAt(1, color.darker(120));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(4, 4, 120, 120), 28, 28);
    QFont font = painter.font();
    font.setPixelSize(64);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, letter);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

static void save(QWidget *widget, const QString &path)
{
    QTest::qWait(150);
    widget->grab().save(path);
    qInfo("saved %s", qPrintable(path));
}

static void settle(const std::function<bool()> &done)
{
    for (int i = 0; i < 400 && !done(); ++i)
        QTest::qWait(10);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/vossa");
    QDir().mkpath(out);
    const bool dark = qEnvironmentVariableIsSet("PREVIEW_DARK");
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (dark)
        Metaloom::Testing::useDarkPreviewPalette();
    Metaloom::Testing::TestEnvironment environment;
    LoopbackHttpServer server;

    const QByteArray feed =
        QStringLiteral(
            R"({"schema": 1, "apps": [)"
            R"({"slug": "metaloom", "name": "Metaloom", "tagline": "Edit photo metadata",)"
            R"( "url": "https://quillforge.app/metaloom", "icon": "%1", "color": "#2F6FED"},)"
            R"({"slug": "lumen", "name": "Lumen", "tagline": "A light meter for film cameras",)"
            R"( "url": "https://quillforge.app/lumen", "icon": "%2", "color": " #E8772E "},)"
            R"({"slug": "arbor", "name": "Arbor & Leaf", "description": "Keeps a family tree)"
            R"( of every photo you edit, with the originals always one click away.",)"
            R"( "url": "https://quillforge.app/arbor", "icon": "%3", "color": "3BA55C"},)"
            R"({"slug": "quire", "name": "Quire", "tagline": "Plain-text notebooks",)"
            R"( "url": "https://quillforge.app/quire", "color": "#abc"}]})")
            .arg(server.url(QStringLiteral("/metaloom.png")).toString(),
                 server.url(QStringLiteral("/lumen.png")).toString(),
                 server.url(QStringLiteral("/missing.png")).toString())
            .toUtf8();
    server.setResponse(QStringLiteral("/apps.json"), Response::json(feed));
    server.setResponse(
        QStringLiteral("/metaloom.png"),
        Response::bytes("image/png", iconPng(QColor(0x2F6FED), QStringLiteral("M"))));
    server.setResponse(
        QStringLiteral("/lumen.png"),
        Response::bytes("image/png", iconPng(QColor(0xE8772E), QStringLiteral("L"))));
    Response slow = Response::json(feed);
    slow.delay = std::chrono::seconds(30);
    server.setResponse(QStringLiteral("/slow.json"), slow);
    server.setResponse(QStringLiteral("/broken.json"),
                       Response::withStatus(500, "Internal Server Error", "text/html", "<html/>"));
    const QString suffix = dark ? QStringLiteral("-dark") : QString();

    AppsCatalog catalog;
    VossaAppsTab tab(QStringLiteral("metaloom"), &catalog,
                     server.url(QStringLiteral("/apps.json")));
    tab.resize(650, 520);
    tab.show();
    settle([&] {
        const auto rows = tab.appsView()->rows();
        return rows.size() == 3 && rows.at(0)->hasIconImage() && rows.at(1)->hasIconImage();
    });
    save(&tab, out + QStringLiteral("/tab%1.png").arg(suffix));

    AppRow *row = tab.appsView()->rows().at(0);
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QApplication::sendEvent(row, &enter);
    save(&tab, out + QStringLiteral("/tab-hover%1.png").arg(suffix));

    tab.resize(380, 520);
    save(&tab, out + QStringLiteral("/tab-narrow%1.png").arg(suffix));

    // The first catalog cached its list; the others must start empty.
    QFile::remove(*AppsLoader::cacheFilePath());
    AppsCatalog failing;
    VossaAppsTab errorTab(QStringLiteral("metaloom"), &failing,
                          server.url(QStringLiteral("/broken.json")));
    errorTab.resize(650, 520);
    errorTab.show();
    settle([&] { return failing.hasLoadError(); });
    save(&errorTab, out + QStringLiteral("/tab-error%1.png").arg(suffix));

    QFile::remove(*AppsLoader::cacheFilePath());
    AppsCatalog waiting;
    VossaAppsTab loadingTab(QStringLiteral("metaloom"), &waiting,
                            server.url(QStringLiteral("/slow.json")));
    loadingTab.resize(650, 400);
    loadingTab.show();
    save(&loadingTab, out + QStringLiteral("/tab-loading%1.png").arg(suffix));
    qInfo() << "content" << tab.widget()->minimumSizeHint() << tab.widget()->sizeHint()
            << tab.widget()->size();

    VossaAppsMenu menu(QStringLiteral("metaloom"), QStringLiteral("Other Apps"), &catalog);
    menu.popup(QPoint(40, 40));
    save(&menu, out + QStringLiteral("/menu%1.png").arg(suffix));
    return 0;
}
