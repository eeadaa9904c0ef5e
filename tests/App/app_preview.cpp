// Drives a real Metaloom window through the states a new user meets (empty,
// files imported, an edit, the sheets, two windows) on copies of the sample
// files and saves a screenshot of each, for checking by eye. Not a test.
//   xvfb-run -a -s "-screen 0 1400x900x24" bin/app_preview /tmp/shots
//   LANGUAGE=de LANG=de_DE.UTF-8 xvfb-run ... bin/app_preview /tmp/shots-de   (in German)
#include "App/MainWindow.h"
#include "App/MetaloomApp.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Platform/NotificationCenter.h"
#include "MetaloomFeature/Platform/Translations.h"
#include "MetaloomFeature/Views/Copying/CopyMetadataDialog.h"
#include "MetaloomFeature/Views/Editor/EditorLook.h"
#include "MetaloomFeature/Views/Editor/EntryContextMenu.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Editor/MetadataValueEditors.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "MetaloomFeature/Views/Window/WindowSheets.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/PreviewPalette.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

QString outputFolder;

bool settle(const std::function<bool()> &done, int milliseconds = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QTest::qWait(50);
    QTest::qWait(300);
    return done();
}

// The window with its open dialogs drawn over it where the desktop puts them.
void shoot(QWidget *window, const QString &name, const QList<QWidget *> &dialogs = {})
{
    QTest::qWait(400);
    QImage image = window->grab().toImage();
    QPainter painter(&image);
    for (QWidget *dialog : dialogs) {
        if (!dialog || !dialog->isVisible())
            continue;
        const QPixmap sheet = dialog->grab();
        const QPoint at((window->width() - sheet.width()) / 2, 40);
        painter.fillRect(QRect(QPoint(0, 0), window->size()), QColor(0, 0, 0, 40));
        painter.drawPixmap(at, sheet);
    }
    painter.end();
    const QString path = QDir(outputFolder).filePath(name + QStringLiteral(".png"));
    image.save(path);
    qInfo("saved %s", qPrintable(path));
}

QModelIndex rowOf(MetadataEditorView *editor, const QString &key)
{
    return editor->editorModel()->indexOf(key);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Metaloom"));
    // The language of the environment, as the program itself: LANGUAGE=de
    // shows the windows in German.
    const Translations translations;
    outputFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QDir().mkpath(outputFolder);
    TestEnvironment environment;
    QList<QUrl> photos;
    for (const char *name : {"Canon.jpg", "GPS.jpg", "XMP.jpg", "IPTC.jpg", "QuickTime.mov"})
        photos << QUrl::fromLocalFile(
            copyTestData(QString::fromLatin1(name), environment.workPath()));

    // A preset to apply, stored before the window's store reads them.
    {
        PresetsStore presets;
        presets.addPreset(
            {QUuid::createUuid(), QStringLiteral("Credit the studio"),
             PresetAction::addOrModifyMetadata(
                 {{QStringLiteral("XMP-photoshop:Credit"), QStringLiteral("Quillforge Studio")}},
                 {QStringLiteral("GPS:GPSLatitude")})});
    }

    MetaloomApp app({realBundle(), false});
    MainWindow *window = app.openFirstWindow();
    window->resize(1180, 760);
    (void)QTest::qWaitForWindowExposed(window);
    shoot(window, QStringLiteral("01-empty"));

    LibraryViewModel *library = window->library();
    ContentView *content = window->content();
    library->importItems(photos);
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    settle([&] { return library->selectedItem() && library->selectedItem()->thumbnail; }, 3000);
    shoot(window, QStringLiteral("02-loaded"));

    MetadataEditorView *editor = content->editor();
    const QModelIndex title = rowOf(editor, QStringLiteral("XMP-dc:Title"));
    editor->scrollTo(title);
    editor->setCurrentIndex(title);
    QTest::qWait(100);
    if (QWidget *field = editor->activeEditor())
        QTest::keyClicks(field, QStringLiteral("Harbour at dawn"));
    shoot(window, QStringLiteral("03-edited"));

    const QModelIndex flash = rowOf(editor, QStringLiteral("ExifIFD:MeteringMode"));
    editor->scrollTo(flash);
    editor->setCurrentIndex(flash);
    settle([&] {
        return library->enumeratedOptions().contains(QStringLiteral("ExifIFD:MeteringMode"));
    });
    shoot(window, QStringLiteral("04-choice"));

    NotificationCenter::defaultCenter()->post(NotificationName::saveRequested);
    settle([&] { return !library->isBusy() && !library->hasPendingChanges(); });
    shoot(window, QStringLiteral("05-saved"));

    library->setSearchText(QStringLiteral("canon"));
    shoot(window, QStringLiteral("06-search"));
    // Typing into a row the search shows: the row stays, marked modified.
    const QModelIndex model = rowOf(editor, QStringLiteral("IFD0:Model"));
    editor->scrollTo(model);
    editor->setCurrentIndex(model);
    QTest::qWait(100);
    if (QWidget *field = editor->activeEditor()) {
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, QStringLiteral(" Mark II"));
    }
    shoot(window, QStringLiteral("06b-search-edited"));
    library->resetChanges();
    library->setSearchText(QString());

    library->presentRemoveMetadataConfirmation();
    shoot(window, QStringLiteral("07-confirm-remove"),
          {content->sheets()->removeMetadataConfirmation()});
    library->cancelRemoveMetadata();
    library->presentRemoveAllMetadataConfirmation();
    shoot(window, QStringLiteral("08-confirm-remove-all"),
          {content->sheets()->removeAllMetadataConfirmation()});
    library->cancelRemoveAllMetadata();

    library->presentPresetManager();
    QTest::qWait(800);
    shoot(window, QStringLiteral("09-presets"), {content->sheets()->presetManager()});
    library->dismissPresetManager();

    library->applyPreset(content->presetsStore()->presets().first());
    settle([&] { return !library->isBusy(); });
    QTest::qWait(500);
    settle([&] { return !library->isBusy(); });
    shoot(window, QStringLiteral("10-preset-applied"));

    library->setActiveError(LibraryViewModel::ViewModelError(
        QStringLiteral("Error: Not a valid JPEG - /home/user/Pictures/broken.jpg")));
    shoot(window, QStringLiteral("11-alert"),
          {static_cast<QWidget *>(content->sheets()->errorAlert())});
    library->setActiveError(std::nullopt);

    NotificationCenter::defaultCenter()->post(NotificationName::metadataSettingsRequested);
    QTest::qWait(500);
    shoot(window, QStringLiteral("12-settings"), {content->sheets()->settings()});
    library->dismissMetadataSettings();
    QTest::qWait(300);
    NotificationCenter::defaultCenter()->post(NotificationName::aboutRequested);
    QTest::qWait(500);
    shoot(window, QStringLiteral("12b-about"), {content->sheets()->settings()});
    library->dismissMetadataSettings();

    content->setShowingSidebar(false);
    QTest::qWait(500);
    shoot(window, QStringLiteral("13-no-sidebar"));
    content->setShowingSidebar(true);

    MainWindow *second = app.newWindow();
    second->resize(MainWindow::defaultSize);
    (void)QTest::qWaitForWindowExposed(second);
    second->library()->importItems({photos.at(2)});
    settle([&] { return !second->library()->filteredEntries().isEmpty(); });
    shoot(second, QStringLiteral("14-second-window"));

    library->presentRemoveMetadataConfirmation();
    QTest::qWait(200);
    library->confirmRemoveMetadata();
    settle([&] { return !library->isBusy(); });
    QTest::qWait(600);
    shoot(window, QStringLiteral("15-stripped"));

    // A movie's own dates, editable where ExifTool can write them.
    library->setSelectedItemID(library->items().at(4).id);
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    const QModelIndex created = rowOf(editor, QStringLiteral("QuickTime:CreateDate"));
    editor->scrollTo(created, QAbstractItemView::PositionAtTop);
    for (const MetadataEntry &entry : library->filteredEntries())
        library->ensureOptionsLoaded(entry);
    settle([&] {
        for (const MetadataEntry &entry : library->filteredEntries()) {
            if (entry.rawKey == QStringLiteral("QuickTime:Duration"))
                return !entry.isWritable();
        }
        return false;
    });
    shoot(window, QStringLiteral("15b-movie-dates"));

    // Several files at once: the count and types in the header, the tags
    // they share, mixed values and the tags only some of them hold.
    {
        QList<QUuid> several;
        for (qsizetype at = 0; at < std::min<qsizetype>(4, library->items().size()); ++at)
            several.append(library->items().at(at).id);
        library->setSelectedItemIDs(several);
        settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
        QTest::qWait(300);
        shoot(window, QStringLiteral("15c-several-selected"));
        const QModelIndex fileName = rowOf(editor, QStringLiteral("System:FileName"));
        editor->scrollTo(fileName, QAbstractItemView::PositionAtTop);
        QTest::qWait(100);
        shoot(window, QStringLiteral("15d-several-mixed"));

        // Copying from the first of them into the others, previewed.
        library->presentCopyMetadata(several);
        if (auto *copy = qobject_cast<CopyMetadataDialog *>(content->sheets()->copyMetadata()))
            copy->setSourceFile(library->items().at(2).url); // XMP.jpg, which has a caption
        settle([&] { return !library->copyPreview().isLoading && !library->isBusy(); });
        shoot(window, QStringLiteral("15e-copy-metadata"), {content->sheets()->copyMetadata()});
        library->cancelCopyMetadata();

        // Two of them side by side.
        library->presentCompare(several.at(0), several.at(1));
        settle([&] { return library->comparison() && !library->comparison()->isLoading; });
        shoot(window, QStringLiteral("15f-compare"), {content->sheets()->compare()});
        library->dismissCompare();

        // Their dates shifted, previewed file by file.
        library->presentAdjustDates(several);
        settle([&] { return !library->isBusy(); });
        QTest::qWait(500);
        shoot(window, QStringLiteral("15g-adjust-dates"), {content->sheets()->adjustDates()});
        library->cancelAdjustDates();

        // What in them gives them away, file by file.
        content->privacyToggle()->click();
        QTest::qWait(300);
        shoot(window, QStringLiteral("15h-privacy-several"));
        content->privacyToggle()->click();
    }

    // A list tag: its items one per line, then edited in place.
    library->setSelectedItemID(library->items().at(3).id);
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    for (const MetadataEntry &entry : library->filteredEntries()) {
        if (entry.rawKey == QStringLiteral("XMP-dc:Subject"))
            library->editItems(entry, {QStringLiteral("harbour"), QStringLiteral("boats, pier"),
                                       QStringLiteral("dawn")});
    }
    const QModelIndex subject = rowOf(editor, QStringLiteral("XMP-dc:Subject"));
    editor->scrollTo(subject, QAbstractItemView::PositionAtCenter);
    editor->setCurrentIndex(QModelIndex());
    editor->clearFocus();
    shoot(window, QStringLiteral("16-list"));
    editor->setCurrentIndex(subject);
    QTest::qWait(100);
    if (QWidget *field = editor->activeEditor()) {
        QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClicks(field, QStringLiteral("fishing"));
        QTest::keyClick(field, Qt::Key_Return);
    }
    shoot(window, QStringLiteral("17-list-editing"));
    library->resetChanges();

    // Edits of two files: both marked in the sidebar, one tag of the shown
    // file marked for removal; closing asks once about both.
    library->setSelectedItemID(library->items().at(0).id);
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    for (const MetadataEntry &entry : library->filteredEntries()) {
        if (entry.rawKey == QStringLiteral("XMP-dc:Title"))
            library->editValue(entry, QStringLiteral("Harbour at dawn"));
    }
    library->setSelectedItemID(library->items().at(1).id);
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    library->markForRemoval(QStringLiteral("GPS:GPSLongitude"));
    editor->scrollTo(rowOf(editor, QStringLiteral("GPS:GPSLongitude")),
                     QAbstractItemView::PositionAtCenter);
    shoot(window, QStringLiteral("17b-edited-files"));
    window->close();
    QTest::qWait(200);
    shoot(window, QStringLiteral("17c-save-question"), {window->unsavedChangesPrompt()});
    if (QMessageBox *question = window->unsavedChangesPrompt())
        question->button(QMessageBox::Cancel)->click();
    while (library->canUndo())
        library->undo();
    settle([&] { return !library->isBusy(); });

    // A batch over every file, one of them broken: its bar mid-way, then
    // the report.
    QFile broken(environment.workPath() + QStringLiteral("/broken.jpg"));
    broken.open(QIODevice::WriteOnly);
    broken.write("not a JPEG");
    broken.close();
    library->importItems({QUrl::fromLocalFile(broken.fileName())});
    for (int copy = 1; copy <= 16; ++copy)
        library->importItems(
            {QUrl::fromLocalFile(copyTestData(QStringLiteral("Canon.jpg"), environment.workPath(),
                                              QStringLiteral("Canon-%1.jpg").arg(copy)))});
    settle([&] { return !library->isBusy(); });
    // Taken on the spot: small files are stripped faster than a settle.
    bool shotMidway = false;
    QObject::connect(library, &LibraryViewModel::batchProgressChanged, window, [&] {
        const auto progress = library->batchProgress();
        if (shotMidway || !progress || progress->current < 7)
            return;
        shotMidway = true;
        QTimer::singleShot(0, window, [&] {
            window->grab().save(
                QDir(outputFolder).filePath(QStringLiteral("18-batch-progress.png")));
            qInfo("saved 18-batch-progress");
        });
    });
    library->presentRemoveAllMetadataConfirmation();
    library->confirmRemoveAllMetadata();
    settle([&] { return !library->isBusy() && library->activeError().has_value(); }, 60000);
    shoot(window, QStringLiteral("19-batch-report"),
          {static_cast<QWidget *>(content->sheets()->errorAlert())});
    library->setActiveError(std::nullopt);
    library->clearAllItems();

    // A raw file stripped: what is left, in an alert.
    library->importItems({QUrl::fromLocalFile(
        copyTestData(QStringLiteral("CanonRaw.cr2"), environment.workPath()))});
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    library->presentRemoveMetadataConfirmation();
    library->confirmRemoveMetadata();
    settle([&] { return !library->isBusy() && library->activeError().has_value(); }, 30000);
    shoot(window, QStringLiteral("20-strip-report"),
          {static_cast<QWidget *>(content->sheets()->errorAlert())});
    library->setActiveError(std::nullopt);

    // A format ExifTool cannot write: the line under the header.
    library->importItems({QUrl::fromLocalFile(
        copyTestData(QStringLiteral("Matroska.mkv"), environment.workPath()))});
    library->setSelectedItemID(library->items().last().id);
    settle([&] { return library->readOnlyFormatNote().has_value() && !library->isBusy(); });
    shoot(window, QStringLiteral("21-read-only-format"));

    // Values stored otherwise than typed: what the file holds, and why.
    const QString named = environment.workPath() + QStringLiteral("/named.jpg");
    QFile::copy(photos.at(0).toLocalFile(), named);
    runRealExifTool(
        {QStringLiteral("-overwrite_original"), QStringLiteral("-IPTC:ObjectName=Pier"), named});
    library->importItems({QUrl::fromLocalFile(named)});
    library->setSelectedItemID(library->items().last().id);
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    for (const MetadataEntry &entry : library->filteredEntries()) {
        if (entry.rawKey == QStringLiteral("IPTC:ObjectName"))
            library->editValue(entry,
                               QStringLiteral("The long pier at the harbour mouth, seen from "
                                              "the lighthouse at dawn in late October"));
    }
    NotificationCenter::defaultCenter()->post(NotificationName::saveRequested);
    settle([&] { return !library->isBusy() && !library->hasPendingChanges(); });
    const QModelIndex objectName = rowOf(editor, QStringLiteral("IPTC:ObjectName"));
    editor->scrollTo(objectName, QAbstractItemView::PositionAtCenter);
    shoot(window, QStringLiteral("22-stored-otherwise"));

    // A change ExifTool refuses for a minor error, in a window of its own
    // over an ExifTool that does so unless told to ignore minor errors.
    FakeExifToolBundle fake(environment.workPath() + QStringLiteral("/fake"),
                            FakeScripts::minorErrorUnlessIgnored());
    ExifToolService fakeEngine(fake.bundle());
    LibraryViewModel fakeLibrary(MetadataEngine::over(&fakeEngine));
    ContentView fakeWindow(&fakeLibrary);
    fakeWindow.resize(1000, 640);
    fakeWindow.show();
    (void)QTest::qWaitForWindowExposed(&fakeWindow);
    fakeLibrary.importItems({QUrl::fromLocalFile(copyTestData(
        QStringLiteral("Canon.jpg"), environment.workPath(), QStringLiteral("Lighthouse.jxl")))});
    settle([&] { return !fakeLibrary.filteredEntries().isEmpty() && !fakeLibrary.isBusy(); });
    for (const MetadataEntry &entry : fakeLibrary.filteredEntries()) {
        if (entry.rawKey == QStringLiteral("XMP-dc:Title"))
            fakeLibrary.editValue(entry, QStringLiteral("Lighthouse"));
    }
    fakeLibrary.saveChanges();
    settle([&] { return fakeLibrary.writeAnywayRequest().has_value(); });
    shoot(&fakeWindow, QStringLiteral("23-write-anyway"),
          {static_cast<QWidget *>(fakeWindow.sheets()->writeAnywayAlert())});
    fakeWindow.hide();

    // Compact rows at the window's default size, in the light and the dark
    // palette: the first file, a long value edited, a folded group, a
    // filter without matches and a row's menu.
    window->resize(MainWindow::defaultSize);
    library->setSelectedItemID(library->items().first().id);
    settle([&] { return !library->filteredEntries().isEmpty() && !library->isBusy(); });
    EditorLook::setCompactRows(true);
    for (const QString &suffix : {QString(), QStringLiteral("-dark")}) {
        if (!suffix.isEmpty())
            useDarkPreviewPalette();
        editor->scrollToTop();
        editor->setCurrentIndex({});
        shoot(window, QStringLiteral("24-compact") + suffix);
        const QModelIndex description = rowOf(editor, QStringLiteral("XMP-dc:Title"));
        editor->scrollTo(description, QAbstractItemView::PositionAtTop);
        editor->setCurrentIndex(description);
        QTest::qWait(100);
        if (auto *field = qobject_cast<ValueTextEditor *>(editor->activeEditor())) {
            QString text;
            for (int i = 0; i < 400; ++i)
                text += QStringLiteral("harbour%1 ").arg(i);
            field->showValue(text);
            Q_EMIT field->edited(text);
        }
        shoot(window, QStringLiteral("25-compact-long-value") + suffix);
        library->setStatus(QStringLiteral("Saved “Canon.jpg”."));
        editor->setGroupFolded(QStringLiteral("ExifIFD"), true);
        editor->scrollToTop();
        shoot(window, QStringLiteral("26-compact-folded-banner") + suffix);
        editor->setGroupFolded(QStringLiteral("ExifIFD"), false);
        library->setSearchText(QStringLiteral("no such tag"));
        shoot(window, QStringLiteral("27-no-match") + suffix);
        library->setSearchText(QString());
        EditorLook::setCompactRows(false);
        editor->setCurrentIndex({});
        editor->scrollToTop();
        shoot(window, QStringLiteral("28-cards") + suffix);
        EditorLook::setCompactRows(true);
        library->resetChanges();
    }
    if (QMenu *menu = EntryContextMenu::build(window, library, QStringLiteral("IFD0:Make"))) {
        menu->popup(window->mapToGlobal(QPoint(500, 200)));
        shoot(window, QStringLiteral("29-row-menu-dark"), {menu});
        menu->close();
    }

    // Pictures from the desktop's own thumbnailers (films, HEIC, PDF), when
    // METALOOM_PREVIEW_MEDIA names a folder of such files: the test data's
    // films and HEIC are cut short and hold no picture. A window of its own,
    // as its loader reads the installed thumbnailers once.
    const QString media = qEnvironmentVariable("METALOOM_PREVIEW_MEDIA");
    if (!media.isEmpty()) {
        qputenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
        ExifToolService mediaEngine(realBundle());
        LibraryViewModel mediaLibrary(MetadataEngine::over(&mediaEngine));
        ContentView mediaWindow(&mediaLibrary);
        mediaWindow.resize(1000, 640);
        mediaWindow.show();
        (void)QTest::qWaitForWindowExposed(&mediaWindow);
        QList<QUrl> files;
        for (const QFileInfo &file : QDir(media).entryInfoList(QDir::Files, QDir::Name))
            files << QUrl::fromLocalFile(file.absoluteFilePath());
        mediaLibrary.importItems(files);
        settle(
            [&] {
                for (const MediaItem &item : mediaLibrary.items()) {
                    if (!item.thumbnail)
                        return false;
                }
                return !mediaLibrary.isBusy();
            },
            30000);
        int shot = 0;
        for (const MediaItem &item : mediaLibrary.items()) {
            mediaLibrary.setSelectedItemID(item.id);
            settle([&] { return !mediaLibrary.isBusy(); });
            shoot(&mediaWindow,
                  QStringLiteral("30-thumbnail-%1-%2").arg(++shot).arg(item.url.fileName()));
        }
    }
    return 0;
}
