// Shows the sheets and saves screenshots, for checking them by eye (run under
// xvfb-run; PREVIEW_DARK=1 for the dark palette, LANGUAGE=de for German).
// Not a test.
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Platform/Translations.h"
#include "MetaloomFeature/Updates/AppcastUpdater.h"
#include "MetaloomFeature/Updates/UpdateCheckBridge.h"
#include "MetaloomFeature/Views/Kit/ConfirmationBanner.h"
#include "MetaloomFeature/Views/Kit/Confirmations.h"
#include "MetaloomFeature/Views/Presets/KeyField.h"
#include "MetaloomFeature/Views/Presets/MetadataOverridesEditor.h"
#include "MetaloomFeature/Views/Presets/OverrideLineEditor.h"
#include "MetaloomFeature/Views/Presets/PresetManagerView.h"
#include "MetaloomFeature/Views/Presets/RemovalKeyPickerMenu.h"
#include "MetaloomFeature/Views/Settings/AboutPage.h"
#include "MetaloomFeature/Views/Settings/MetadataSettingsView.h"
#include "MetaloomFeature/Views/Settings/SettingsView.h"
#include "MetaloomFeature/Views/Settings/UpdateResultDialog.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "MetaloomFeature/Views/Window/WindowSheets.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/PreviewPalette.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>

using namespace Metaloom;

namespace {

QString outFolder;
QString suffix;

void save(QWidget *widget, const QString &name)
{
    QTest::qWait(300);
    const QString path = outFolder + QLatin1Char('/') + name + suffix + QStringLiteral(".png");
    widget->grab().save(path);
    qInfo("saved %s", qPrintable(path));
}

// Menus are windows of their own: the screen shows them with their owner.
void saveScreen(const QString &name)
{
    QTest::qWait(300);
    const QString path = outFolder + QLatin1Char('/') + name + suffix + QStringLiteral(".png");
    QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    qInfo("saved %s", qPrintable(path));
}

void settle(const std::function<bool()> &done, int milliseconds = 20000)
{
    for (int i = 0; i < milliseconds / 20 && !done(); ++i)
        QTest::qWait(20);
}

void showPresetManager()
{
    PresetsStore store;
    store.addPreset({QUuid::createUuid(), QStringLiteral("Strip GPS"),
                     PresetAction::addOrModifyMetadata({}, {QStringLiteral("GPS:GPSLatitude"),
                                                            QStringLiteral("GPS:GPSLongitude")})});
    store.addPreset({QUuid::createUuid(), QStringLiteral("Studio credit"),
                     PresetAction::addOrModifyMetadata(
                         {{QStringLiteral("XMP-dc:Creator"), QStringLiteral("Ann Example")},
                          {QStringLiteral("XMP-photoshop:Credit"),
                           QStringLiteral("Example Studio, all rights reserved; licensed for "
                                          "editorial use only")},
                          {QStringLiteral("IFD0:Copyright"), QStringLiteral("© 2026 Ann")}},
                         {QStringLiteral("XMP-xmp:Rating")})});
    ExifToolService engine;
    PresetManagerView view(&store, MetadataEngine::over(&engine));
    view.show();
    view.selectPreset(store.presets().at(1).id);
    QElapsedTimer clock;
    clock.start();
    settle([&] { return !view.availableKeys().isEmpty(); });
    qInfo("tag keys: %lld after %lld ms", qlonglong(view.availableKeys().size()),
          qlonglong(clock.elapsed()));
    save(&view, QStringLiteral("presets"));

    view.editor()->tabs()->setCurrentIndex(1);
    save(&view, QStringLiteral("presets-remove"));

    KeyField *field = view.editor()->removalFields().constFirst();
    clock.restart();
    field->picker()->openMenu();
    QTest::qWait(50);
    qInfo("picker menu opened in %lld ms", qlonglong(clock.elapsed()));
    qInfo() << "families" << field->picker()->availableKeys()->families().size() << "menu"
            << field->picker()->pickerMenu()->geometry();
    saveScreen(QStringLiteral("picker-families"));
    QMenu *menu = field->picker()->pickerMenu();
    const auto actions = menu->actions();
    for (QAction *action : actions) {
        if (action->menu() && action->text() == QStringLiteral("DICOM")) {
            clock.restart();
            menu->setActiveAction(action);
            action->menu()->popup(menu->mapToGlobal(menu->actionGeometry(action).topRight()));
            QCoreApplication::processEvents();
            qInfo("%s: %lld keys shown in %lld ms", qPrintable(action->text()),
                  qlonglong(action->menu()->actions().size()), qlonglong(clock.elapsed()));
        }
    }
    saveScreen(QStringLiteral("picker-family"));
    menu->hide();
    field->setFocus();
    field->clear();
    clock.restart();
    QTest::keyClicks(field, QStringLiteral("gpslatituder"));
    qInfo("six keystrokes in the key field: %lld ms", qlonglong(clock.elapsed()));
    QTest::qWait(50);
    saveScreen(QStringLiteral("picker-filter"));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("artist"));
    QTest::qWait(50);
    saveScreen(QStringLiteral("picker-filter-many"));
    field->matchList()->hide();

    view.editor()->tabs()->setCurrentIndex(0);
    view.startNewPreset();
    save(&view, QStringLiteral("presets-new"));
    QTest::keyClicks(view.nameField(), QStringLiteral("Client delivery"));
    view.save();
    QTest::qWait(400);
    save(&view, QStringLiteral("presets-saved"));
}

void showConfirmations()
{
    QWidget window;
    window.resize(700, 400);
    window.show();
    RemoveMetadataConfirmation one(QStringLiteral("IMG_0042 <b>holiday</b>.jpg"), {}, &window);
    one.show();
    save(&one, QStringLiteral("confirm-one"));
    one.reject();
    RemoveAllMetadataConfirmation all(3, {}, &window);
    all.show();
    save(&all, QStringLiteral("confirm-all"));
    all.reject();

    QWidget host;
    host.resize(420, 120);
    ConfirmationBanner banner(QStringLiteral("Preset saved successfully"), &host);
    host.show();
    banner.present();
    save(&host, QStringLiteral("banner"));
}

// The Privacy view of a real sample and the confirmation with its profile.
void showPrivacy(const QString &folder)
{
    ExifToolService engine(Testing::realBundle());
    LibraryViewModel library{MetadataEngine::over(&engine)};
    ContentView view{&library};
    view.resize(1000, 650);
    view.show();
    library.importItems({QUrl::fromLocalFile(Testing::copyTestData("GPS.jpg", folder)),
                         QUrl::fromLocalFile(Testing::copyTestData("QuickTime.heic", folder))});
    if (!QTest::qWaitFor([&library] { return !library.isBusy(); }, 30000))
        qWarning("the samples did not load");
    QTest::qWait(500);
    view.privacyToggle()->click();
    QTest::qWait(300);
    save(&view, QStringLiteral("privacy-view"));
    library.presentRemoveMetadataConfirmation();
    QTest::qWait(300);
    if (QDialog *dialog = view.sheets()->removeMetadataConfirmation())
        save(dialog, QStringLiteral("privacy-confirm"));
    library.cancelRemoveMetadata();
}

void showUpdateResults()
{
    UpdateCheckOutcome newer;
    newer.kind = UpdateCheckOutcome::Kind::UpdateAvailable;
    newer.currentVersion = QStringLiteral("1.0.0 (1)");
    newer.update = Appcast::Item{QStringLiteral("Metaloom 1.2"), QStringLiteral("12"),
                                 QStringLiteral("1.2"), QUrl("https://quillforge.app/metaloom")};
    UpdateResultDialog available(newer);
    available.show();
    save(&available, QStringLiteral("update-available"));
    UpdateCheckOutcome failed;
    failed.errorMessage = QStringLiteral("The update server answered 500 Internal Server Error.");
    UpdateResultDialog failure(failed);
    failure.show();
    save(&failure, QStringLiteral("update-failed"));
}

void showSettings(const QString &workFolder)
{
    Testing::LoopbackHttpServer server;
    server.setResponse(
        QStringLiteral("/apps.json"),
        Testing::LoopbackHttpServer::Response::json(
            R"({"schema": 1, "apps": [)"
            R"({"slug": "lumen", "name": "Lumen", "tagline": "A light meter for film cameras",)"
            R"( "url": "https://quillforge.app/lumen", "color": "#E8772E"},)"
            R"({"slug": "quire", "name": "Quire", "tagline": "Plain-text notebooks",)"
            R"( "url": "https://quillforge.app/quire", "color": "#3BA55C"}]})"));
    qputenv("VOSSA_APPS_FEED_URL", server.url(QStringLiteral("/apps.json")).toEncoded());

    ExifToolService engine;
    LibraryViewModel library(MetadataEngine::over(&engine));
    library.updateMetadataDraft(
        library.pinnedTags(),
        {{QUuid::createUuid(), QStringLiteral("XMP-dc:Description"), QStringLiteral("Caption")},
         {QUuid::createUuid(), QStringLiteral("XMP-iptcCore:Location"), QString()}});
    library.importItems(
        {QUrl::fromLocalFile(Testing::copyTestData(QStringLiteral("Canon.jpg"), workFolder))});
    settle([&] { return library.filteredEntries().size() > 20; });
    qInfo("%lld keys to pin", qlonglong(library.availableTagKeys().size()));

    UpdateCheckBridge bridge;
    bridge.setAction([] {});
    bridge.setCanCheck(true);
    library.presentSettings(SettingsTab::metadata);
    SettingsView settings(&library, &bridge, nullptr,
                          AppInfo({{AppInfo::shortVersionKey, QStringLiteral("1.0.0")},
                                   {AppInfo::buildNumberKey, QStringLiteral("1")}}));
    settings.show();
    save(&settings, QStringLiteral("settings-metadata"));
    settings.metadataView()->searchField()->setText(QStringLiteral("exposure"));
    save(&settings, QStringLiteral("settings-metadata-search"));
    settings.metadataView()->searchField()->setText(QStringLiteral("no such field"));
    settings.metadataView()->newFieldEditor()->setText(QStringLiteral("xmp-dc:description"));
    settings.metadataView()->addCustomField();
    settings.metadataView()->sections()->verticalScrollBar()->setValue(
        settings.metadataView()->sections()->verticalScrollBar()->maximum());
    save(&settings, QStringLiteral("settings-metadata-validation"));
    settings.selectTab(SettingsTab::apps);
    settle([&] { return false; }, 600);
    save(&settings, QStringLiteral("settings-apps"));
    settings.selectTab(SettingsTab::about);
    save(&settings, QStringLiteral("settings-about"));
    bridge.setCanCheck(false);
    AboutPage bare(AppInfo(), &bridge);
    bare.resize(650, 520);
    bare.show();
    save(&bare, QStringLiteral("about-no-version"));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const Translations translations;
    outFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/sheets");
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(outFolder);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (qEnvironmentVariableIsSet("PREVIEW_DARK")) {
        Testing::useDarkPreviewPalette();
        suffix = QStringLiteral("-dark");
    }
    Testing::TestEnvironment environment;
    if (only.isEmpty() || only == u"presets")
        showPresetManager();
    if (only.isEmpty() || only == u"confirmations")
        showConfirmations();
    if (only.isEmpty() || only == u"privacy")
        showPrivacy(environment.workPath());
    if (only.isEmpty() || only == u"updates")
        showUpdateResults();
    if (only.isEmpty() || only == u"settings")
        showSettings(environment.workPath());
    return 0;
}
