// The content of a main window over a real library on the real bundled
// ExifTool, driven like a user: drops, paste, clicks and keys, on copies of
// the sample files.
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Views/Editor/EditorLook.h"
#include "MetaloomFeature/Views/Editor/EntryCard.h"
#include "MetaloomFeature/Views/Editor/MetadataRowDelegate.h"
#include "MetaloomFeature/Views/Editor/MetadataValueEditors.h"
#include "MetaloomFeature/Views/Editor/PrivacyPanel.h"
#include "MetaloomFeature/Views/Kit/Confirmations.h"
#include "MetaloomFeature/Views/Window/BatchProgressView.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "MetaloomFeature/Views/Window/DropZoneView.h"
#include "MetaloomFeature/Views/Window/FileDrops.h"
#include "MetaloomFeature/Views/Window/FileHeaderView.h"
#include "MetaloomFeature/Views/Window/SidebarModel.h"
#include "MetaloomFeature/Views/Window/SidebarView.h"
#include "MetaloomFeature/Views/Window/WindowSheets.h"
#include "MetaloomFeature/Views/Window/WindowToolbar.h"
#include "ViewHarness.h"
#include "tests/Engine/RealFiles.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

struct Window {
    ExifToolService engine;
    LibraryViewModel library{MetadataEngine::over(&engine)};
    ContentView view{&library};
    // Both models of the window are checked through every flow below:
    // loads, edits, searches, another file, removals.
    QAbstractItemModelTester entryTreeCheck{library.entryTree(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest};
    QAbstractItemModelTester sidebarCheck{view.sidebar()->model(),
                                          QAbstractItemModelTester::FailureReportingMode::QtTest};

    explicit Window(const ResourceBundle &bundle = realBundle()) : engine(bundle)
    {
        view.resize(1100, 700);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    QStringList fileNames() const
    {
        QStringList names;
        for (const MediaItem &item : library.items())
            names << item.fileName;
        return names;
    }
};

QUrl copyOf(const QString &name, const QString &folder)
{
    return QUrl::fromLocalFile(copyTestData(name, folder));
}

} // namespace

class MainWindowContentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }
    void dropsAndPasteImportFiles();
    void emptyAndLoadedWindow();
    void selectionFollowsTheListBothWays();
    void multiSelectionKeys_data();
    void multiSelectionKeys();
    void mixedValuesShowAsSuch();
    void editedFilesAreMarkedInTheSidebar();
    void typingReachesTheLibraryOncePerKeystroke();
    void enumeratedTagGetsAChoiceList();
    void alertShowsErrorsUntilOk();
    void confirmationKeys_data();
    void confirmationKeys();
    void removeAllCountFollowsImports();
    void profileChosenInTheConfirmation();
    void privacyToggleShowsWhatGivesTheFileAway();
    void hiddenPictureIsShownAsAPicture();
    void batchShowsItsProgressAndCancels();
    void keywordsEditedInTheWindowStayItems();
    void writeAnywayAlertAnswers();
    void unwritableFormatLineUnderTheHeader();
    void importsScrollIntoViewAndSaySo();
    void sidebarMenuCopiesAndRemoves_data();
    void sidebarMenuCopiesAndRemoves();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void MainWindowContentTest::dropsAndPasteImportFiles()
{
    Window window;
    const QString folder = m_env->workPath();
    const QUrl canon = copyOf(QStringLiteral("Canon.jpg"), folder);
    const QUrl gps = copyOf(QStringLiteral("GPS.jpg"), folder);
    const QUrl xmp = copyOf(QStringLiteral("XMP.jpg"), folder);
    QSignalSpy itemChanges(&window.library, &LibraryViewModel::itemsChanged);

    QVERIFY(!dropUrls(&window.view, {QUrl(QStringLiteral("https://example.org/a.jpg"))}));
    QVERIFY(
        dropUrls(&window.view, {canon, QUrl(QStringLiteral("https://example.org/b.jpg")), gps}));
    QTRY_COMPARE(window.fileNames(), QStringList({"Canon.jpg", "GPS.jpg"}));
    QCOMPARE(itemChanges.size(), 1); // a small drop reaches the list in one batch

    auto *clipboardData = new QMimeData;
    clipboardData->setUrls({gps, xmp});
    QGuiApplication::clipboard()->setMimeData(clipboardData);
    window.view.pasteFiles(QGuiApplication::clipboard()->mimeData());
    QCOMPARE(window.fileNames(), QStringList({"Canon.jpg", "GPS.jpg", "XMP.jpg"}));

    // A drop larger than the queue's first batch is told as one import.
    QList<QUrl> many;
    for (int i = 0; i < 20; ++i) {
        const QString path = folder + QStringLiteral("/many-%1.jpg").arg(i);
        QVERIFY(QFile::copy(canon.toLocalFile(), path));
        many << QUrl::fromLocalFile(path);
    }
    QVERIFY(dropUrls(&window.view, many + QList<QUrl>{gps}));
    QTRY_COMPARE(window.library.items().size(), 23);
    QCOMPARE(window.library.statusMessage(),
             std::optional<QString>("Added 20 files. 1 was already in the list."));
    QVERIFY(waitUntilIdle(window.library));
}

void MainWindowContentTest::emptyAndLoadedWindow()
{
    Window window;
    WindowToolbar *toolbar = window.view.toolbar();
    QCOMPARE(window.view.currentDetailPage(), window.view.dropZone());
    QVERIFY(window.view.sidebar()->emptyPlaceholder()->isVisible());
    QVERIFY(!window.view.sidebar()->clearButton()->isEnabled());
    QVERIFY(!toolbar->removeAllMetadataButton()->isEnabled());
    QVERIFY(!toolbar->applyPresetButton()->isEnabled());
    QVERIFY(!toolbar->isSearchFieldShown());

    window.library.importItems({copyOf(QStringLiteral("Canon.jpg"), m_env->workPath())});
    QVERIFY(waitForLoad(window.library));
    QCOMPARE(window.view.currentDetailPage(), window.view.editor()->parentWidget());
    QVERIFY(!window.view.sidebar()->emptyPlaceholder()->isVisible());
    QVERIFY(toolbar->removeAllMetadataButton()->isEnabled());
    QVERIFY(toolbar->isSearchFieldShown());
    QCOMPARE(window.view.fileHeader()->shownFileName(), QStringLiteral("Canon.jpg"));
    // No presets: the menu stays disabled even with files.
    QVERIFY(!toolbar->applyPresetButton()->isEnabled());

    // The search field and the library's search text are one.
    QTest::keyClicks(toolbar->searchField(), QStringLiteral("canon"));
    QCOMPARE(window.library.searchText(), QStringLiteral("canon"));
    window.library.setSearchText(QString());
    QCOMPARE(toolbar->searchField()->text(), QString());
}

void MainWindowContentTest::selectionFollowsTheListBothWays()
{
    Window window;
    const QString folder = m_env->workPath();
    window.library.importItems({copyOf(QStringLiteral("Canon.jpg"), folder),
                                copyOf(QStringLiteral("GPS.jpg"), folder),
                                copyOf(QStringLiteral("XMP.jpg"), folder)});
    FileListView *list = window.view.sidebar()->fileList();
    const QModelIndex second = list->model()->index(1, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(second).center());
    QCOMPARE(window.library.selectedItemID(), window.library.items().at(1).id);
    QCOMPARE(window.view.fileHeader()->shownFileName(), QStringLiteral("GPS.jpg"));

    // Delete removes the selected file from the list; the first is selected.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(window.fileNames(), QStringList({"Canon.jpg", "XMP.jpg"}));
    QCOMPARE(window.library.selectedItemID(), window.library.items().first().id);
    QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 0);

    // A selection made by the library shows in the list.
    window.library.setSelectedItemID(window.library.items().at(1).id);
    QCOMPARE(list->selectionModel()->selectedRows().value(0).row(), 1);
    QVERIFY(waitUntilIdle(window.library));
}

void MainWindowContentTest::multiSelectionKeys_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("ctrl+click") << "ctrl+click" << QList<int>{0, 2};
    QTest::newRow("shift+click") << "shift+click" << QList<int>{0, 1, 2};
    QTest::newRow("shift+down") << "shift+down" << QList<int>{0, 1};
    QTest::newRow("ctrl+a") << "ctrl+a" << QList<int>{0, 1, 2};
    QTest::newRow("escape") << "escape" << QList<int>{2};
}

void MainWindowContentTest::multiSelectionKeys()
{
    QFETCH(QString, gesture);
    QFETCH(QList<int>, rows);
    Window window;
    const QString folder = m_env->workPath();
    window.library.importItems({copyOf(QStringLiteral("Canon.jpg"), folder),
                                copyOf(QStringLiteral("GPS.jpg"), folder),
                                copyOf(QStringLiteral("XMP.jpg"), folder)});
    QVERIFY(waitForLoad(window.library));
    FileListView *list = window.view.sidebar()->fileList();
    list->setFocus();
    const auto click = [list](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                          list->visualRect(list->model()->index(row, 0)).center());
    };
    click(0, {});
    if (gesture == "ctrl+click") {
        click(2, Qt::ControlModifier);
    } else if (gesture == "shift+click") {
        click(2, Qt::ShiftModifier);
    } else if (gesture == "shift+down") {
        QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    } else if (gesture == "ctrl+a") {
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    } else {
        click(2, Qt::ShiftModifier);
        QCOMPARE(window.library.selectedItemIDs().size(), 3);
        QTest::keyClick(list, Qt::Key_Escape);
    }
    QList<QUuid> expected;
    for (const int row : rows)
        expected.append(window.library.items().at(row).id);
    QCOMPARE(window.library.selectedItemIDs(), expected);
    QCOMPARE(list->selectionModel()->selectedRows().size(), rows.size());
    QVERIFY(waitUntilIdle(window.library));
    if (rows.size() > 1) {
        QCOMPARE(window.view.fileHeader()->shownFileName(),
                 QStringLiteral("%1 files selected").arg(rows.size()));
        QCOMPARE(window.view.fileHeader()->shownPath(), QStringLiteral("%1 JPG").arg(rows.size()));
        const QString remove = QStringLiteral("Remove Metadata from %1 Files…").arg(rows.size());
        QPushButton *button = window.view.fileHeader()->removeMetadataButton();
        QCOMPARE(button->text(), remove);
        // The slim header keeps the count in the symbol's tooltip.
        EditorLook::setCompactRows(true);
        QCOMPARE(button->toolTip(), remove);
        QVERIFY(button->text().isEmpty());
        EditorLook::setCompactRows(false);
        QCOMPARE(button->text(), remove);
    } else {
        QCOMPARE(window.view.fileHeader()->shownFileName(), QStringLiteral("XMP.jpg"));
    }
}

void MainWindowContentTest::mixedValuesShowAsSuch()
{
    Window window;
    const QString folder = m_env->workPath();
    window.library.importItems(
        {copyOf(QStringLiteral("Canon.jpg"), folder), copyOf(QStringLiteral("GPS.jpg"), folder)});
    QVERIFY(waitForLoad(window.library));
    window.library.setSelectedItemIDs(
        {window.library.items().at(0).id, window.library.items().at(1).id});
    QVERIFY(waitForLoad(window.library));
    const MetadataEditorView *editor = window.view.editor();
    const QModelIndex name = editorRow(editor, QStringLiteral("System:FileName"));
    QVERIFY(name.isValid());
    const EntryCard card = EntryCard::at(name);
    QVERIFY(card.isMixed);
    QVERIFY(card.value.isEmpty());
    QCOMPARE(card.mixedValues, QStringLiteral("Canon.jpg — 1 file\nGPS.jpg — 1 file"));
    QCOMPARE(MetadataRowDelegate::mixedValuesText(), QStringLiteral("Mixed values"));
    // A tag only one of them holds says so.
    const auto onlyOne = std::find_if(
        window.library.filteredEntries().cbegin(), window.library.filteredEntries().cend(),
        [&window](const MetadataEntry &entry) {
            const SharedTagList::Row *row = window.library.sharedRow(entry.rawKey);
            return row && row->presentIn == 1;
        });
    QVERIFY(onlyOne != window.library.filteredEntries().cend());
    QCOMPARE(EntryCard::at(editorRow(editor, onlyOne->rawKey)).presenceNote,
             QStringLiteral("in 1 of 2 files"));
    // A tag both agree on shows its value.
    const EntryCard agreed = EntryCard::at(editorRow(editor, QStringLiteral("File:FileType")));
    QVERIFY(!agreed.isMixed);
    QCOMPARE(agreed.value, QStringLiteral("JPEG"));
}

void MainWindowContentTest::editedFilesAreMarkedInTheSidebar()
{
    Window window;
    const QString folder = m_env->workPath();
    window.library.importItems(
        {copyOf(QStringLiteral("Canon.jpg"), folder), copyOf(QStringLiteral("GPS.jpg"), folder)});
    QVERIFY(waitForLoad(window.library));
    const QAbstractItemModel *sidebar = window.view.sidebar()->model();
    const auto marks = [sidebar] {
        return QList<bool>{sidebar->index(0, 0).data(SidebarModel::ModifiedRole).toBool(),
                           sidebar->index(1, 0).data(SidebarModel::ModifiedRole).toBool()};
    };
    window.library.editValue(*shownEntry(window.library, QStringLiteral("XMP-dc:Title")),
                             QStringLiteral("kept"));
    QCOMPARE(marks(), QList<bool>({true, false}));
    // The mark stays with the file when another one is shown.
    window.library.setSelectedItemID(window.library.items().at(1).id);
    QVERIFY(waitForLoad(window.library));
    QCOMPARE(marks(), QList<bool>({true, false}));
    window.library.undo();
    QVERIFY(waitForLoad(window.library));
    QCOMPARE(marks(), QList<bool>({false, false}));
}

void MainWindowContentTest::typingReachesTheLibraryOncePerKeystroke()
{
    Window window;
    const QString path = copyTestData(QStringLiteral("Canon.jpg"), m_env->workPath());
    window.library.importItems({QUrl::fromLocalFile(path)});
    QVERIFY(waitForLoad(window.library));
    const QString title = QStringLiteral("XMP-dc:Title");
    MetadataEditorView *editor = window.view.editor();
    editor->setCurrentIndex(editorRow(editor, title));
    // The field opens once the tag table says the tag can be written.
    QTRY_VERIFY_WITH_TIMEOUT(editor->activeEditor(), 60000);
    auto *field = qobject_cast<ValueTextEditor *>(editor->activeEditor());
    QVERIFY(field);

    // Each keystroke publishes its one entry, never the whole list again.
    QStringList published;
    connect(&window.library, &LibraryViewModel::filteredEntryChanged, this,
            [&](const QString &key) {
                published << key + u'=' + window.library.filteredEntry(key)->value;
            });
    QSignalSpy lists(&window.library, &LibraryViewModel::filteredEntriesChanged);
    QTest::keyClicks(field, QStringLiteral("abc"));
    QCOMPARE(published, QStringList({title + "=a", title + "=ab", title + "=abc"}));
    QCOMPARE(lists.size(), 0);
    QCOMPARE(editor->activeEditor(), field);
    QVERIFY(window.view.fileHeader()->saveButton()->isEnabled());

    QTest::mouseClick(window.view.fileHeader()->saveButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.library.isBusy() && !window.library.hasPendingChanges(),
                             60000);
    QCOMPARE(valueOf(path, title), QStringLiteral("abc"));
    QVERIFY(!window.view.fileHeader()->saveButton()->isEnabled());
}

void MainWindowContentTest::enumeratedTagGetsAChoiceList()
{
    Window window;
    window.library.importItems({copyOf(QStringLiteral("Canon.jpg"), m_env->workPath())});
    QVERIFY(waitForLoad(window.library));
    const QString metering = QStringLiteral("ExifIFD:MeteringMode");
    MetadataEditorView *editor = window.view.editor();
    editor->scrollTo(editorRow(editor, metering));
    editor->setCurrentIndex(editorRow(editor, metering));
    // Shown as text until the tag listing answers, then as a choice.
    QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<ValueChoiceEditor *>(editor->activeEditor()), 60000);
    auto *choice = qobject_cast<ValueChoiceEditor *>(editor->activeEditor());
    const int spot = int(choice->labels().indexOf(QStringLiteral("Spot")));
    QVERIFY(spot >= 0);
    Q_EMIT choice->activated(spot);
    QCOMPARE(shownEntry(window.library, metering)->value, QStringLiteral("Spot"));
}

void MainWindowContentTest::alertShowsErrorsUntilOk()
{
    Window window;
    window.library.setActiveError(LibraryViewModel::ViewModelError(QStringLiteral("first")));
    QMessageBox *alert = window.view.sheets()->errorAlert();
    QVERIFY(alert && alert->isVisible());
    QCOMPARE(alert->windowTitle(), QStringLiteral("ExifTool Error"));
    QCOMPARE(alert->text(), QStringLiteral("first"));
    QCOMPARE(alert->windowModality(), Qt::WindowModal);

    // A newer error takes the alert's place; the library keeps it.
    window.library.setActiveError(LibraryViewModel::ViewModelError(QStringLiteral("second")));
    alert = window.view.sheets()->errorAlert();
    QCOMPARE(alert->text(), QStringLiteral("second"));
    QCOMPARE(window.library.activeError()->message, QStringLiteral("second"));

    QTest::mouseClick(alert->button(QMessageBox::Ok), Qt::LeftButton);
    QVERIFY(!window.library.activeError());
    QVERIFY(!window.view.sheets()->errorAlert());

    // Failures that are not ExifTool's say in the title what failed.
    window.library.setActiveError(
        LibraryViewModel::ViewModelError(QStringLiteral("third"), QStringLiteral("Not Saved")));
    QCOMPARE(window.view.sheets()->errorAlert()->windowTitle(), QStringLiteral("Not Saved"));
}

void MainWindowContentTest::confirmationKeys_data()
{
    QTest::addColumn<bool>("allFiles");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("confirms");
    QTest::newRow("one file, Escape") << false << int(Qt::Key_Escape) << false;
    QTest::newRow("one file, Return") << false << int(Qt::Key_Return) << true;
    QTest::newRow("all files, Escape") << true << int(Qt::Key_Escape) << false;
    QTest::newRow("all files, Return") << true << int(Qt::Key_Return) << true;
}

void MainWindowContentTest::confirmationKeys()
{
    QFETCH(bool, allFiles);
    QFETCH(int, key);
    QFETCH(bool, confirms);
    Window window;
    const QString path = copyTestData(QStringLiteral("Canon.jpg"), m_env->workPath());
    window.library.importItems({QUrl::fromLocalFile(path)});
    QVERIFY(waitForLoad(window.library));
    const QString make = valueOf(path, QStringLiteral("IFD0:Make"));
    QVERIFY(!make.isEmpty());

    if (allFiles)
        window.library.presentRemoveAllMetadataConfirmation();
    else
        window.library.presentRemoveMetadataConfirmation();
    QDialog *dialog = allFiles ? window.view.sheets()->removeAllMetadataConfirmation()
                               : window.view.sheets()->removeMetadataConfirmation();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(static_cast<ConfirmationDialog *>(dialog)->message().contains(
        allFiles ? QStringLiteral("from 1 loaded file?") : QStringLiteral("from Canon.jpg?")));
    QTest::keyClick(dialog, Qt::Key(key));

    QVERIFY(!window.library.removeMetadataRequest() && !window.library.removeAllMetadataRequest());
    QTRY_VERIFY(!window.view.sheets()->removeMetadataConfirmation() &&
                !window.view.sheets()->removeAllMetadataConfirmation());
    QVERIFY(waitUntilIdle(window.library));
    QCOMPARE(valueOf(path, QStringLiteral("IFD0:Make")), confirms ? QString() : make);
}

void MainWindowContentTest::removeAllCountFollowsImports()
{
    Window window;
    window.library.importItems({copyOf(QStringLiteral("Canon.jpg"), m_env->workPath())});
    window.library.presentRemoveAllMetadataConfirmation();
    auto *dialog =
        static_cast<ConfirmationDialog *>(window.view.sheets()->removeAllMetadataConfirmation());
    QVERIFY(dialog->message().contains(QStringLiteral("from 1 loaded file?")));
    window.library.importItems({copyOf(QStringLiteral("GPS.jpg"), m_env->workPath())});
    QVERIFY(dialog->message().contains(QStringLiteral("from 2 loaded files?")));
    window.library.cancelRemoveAllMetadata();
    QVERIFY(waitUntilIdle(window.library));
}

void MainWindowContentTest::profileChosenInTheConfirmation()
{
    Window window;
    const QUrl file = copyOf(QStringLiteral("GPS.jpg"), m_env->workPath());
    const QString path = file.toLocalFile();
    window.library.importItems({file});
    QVERIFY(waitForLoad(window.library));
    window.library.presentRemoveMetadataConfirmation();
    auto *dialog =
        static_cast<ConfirmationDialog *>(window.view.sheets()->removeMetadataConfirmation());
    QVERIFY(dialog && dialog->choice());
    QCOMPARE(dialog->choice()->currentText(), QStringLiteral("Everything"));
    dialog->choice()->setCurrentIndex(dialog->choice()->findText("Location only"));
    QCOMPARE(window.library.stripProfileName(), QStringLiteral("location"));
    QCOMPARE(dialog->message(), QStringLiteral("Are you sure you want to strip GPS.jpg with the "
                                               "profile “Location only”? This action cannot be "
                                               "undone."));
    QTest::keyClick(dialog, Qt::Key_Return);
    QVERIFY(waitUntilIdle(window.library));
    QTRY_COMPARE(window.library.statusMessage(), QStringLiteral("GPS.jpg: no location left."));
    QCOMPARE(valueOf(path, QStringLiteral("GPS:GPSLatitude")), QString());
    QVERIFY(!valueOf(path, QStringLiteral("IFD0:Artist")).isEmpty());
}

void MainWindowContentTest::privacyToggleShowsWhatGivesTheFileAway()
{
    Window window;
    window.view.resize(900, 600);
    window.view.show();
    window.library.importItems({copyOf(QStringLiteral("GPS.jpg"), m_env->workPath())});
    QVERIFY(waitForLoad(window.library));
    QPushButton *toggle = window.view.privacyToggle();
    QVERIFY(toggle && toggle->isVisible());
    QVERIFY(!window.view.privacyPanel()->isVisible());
    toggle->click();
    QVERIFY(window.view.privacyPanel()->isVisible());
    QVERIFY(!window.view.editor()->isVisible());
    QStringList groups;
    for (int i = 0; i < window.view.privacyPanel()->topLevelItemCount(); ++i)
        groups << window.view.privacyPanel()->topLevelItem(i)->text(0);
    QCOMPARE(groups, QStringList({"Location (8)", "People and owners (7)", "Device (2)", "Time (4)",
                                  "Hidden pictures (1)", "Edit history (1)"}));
    const QTreeWidgetItem *location = window.view.privacyPanel()->topLevelItem(0);
    QCOMPARE(location->child(0)->text(0), QStringLiteral("GPS:GPSLatitude"));
    QVERIFY(location->child(0)->text(1).startsWith(QStringLiteral("54 deg")));
    toggle->click();
    QVERIFY(window.view.editor()->isVisible());
    // The file's row in the sidebar carries the badge.
    const QAbstractItemModel *rows = window.view.sidebar()->model();
    QCOMPARE(rows->data(rows->index(0, 0), SidebarModel::PrivacyRole).toBool(), true);

    // Two files: which of them hold each class, and where they differ.
    window.library.importItems({copyOf(QStringLiteral("Canon.jpg"), m_env->workPath())});
    QVERIFY(waitForLoad(window.library));
    window.library.setSelectedItemIDs(
        {window.library.items().at(0).id, window.library.items().at(1).id});
    QVERIFY(waitForLoad(window.library));
    toggle->click();
    const PrivacyPanel *panel = window.view.privacyPanel();
    QVERIFY(panel->isVisible() && !panel->isColumnHidden(2));
    QVERIFY2(panel->topLevelItem(0)->text(0).startsWith("Location (8) — in GPS.jpg"),
             qPrintable(panel->topLevelItem(0)->text(0)));
    QCOMPARE(panel->topLevelItem(0)->child(0)->text(2), QStringLiteral("in 1 of 2 files"));
    const auto device = panel->findItems(QStringLiteral("Device"), Qt::MatchStartsWith);
    QCOMPARE(device.size(), 1);
    QVERIFY2(device.first()->text(0).endsWith("— in Canon.jpg, GPS.jpg"),
             qPrintable(device.first()->text(0)));
}

void MainWindowContentTest::hiddenPictureIsShownAsAPicture()
{
    // A photo whose EXIF thumbnail shows another picture than the photo.
    const QString folder = m_env->workPath();
    const QString photo = makeImage(folder, QStringLiteral("cropped.jpg"));
    QImage original(120, 90, QImage::Format_RGB32);
    original.fill(Qt::blue);
    const QString thumbnail = QDir(folder).filePath(QStringLiteral("original.jpg"));
    QVERIFY(original.save(thumbnail));
    int status = -1;
    runRealExifTool({"-ThumbnailImage<=" + thumbnail, "-overwrite_original", photo}, &status);
    QCOMPARE(status, 0);

    Window window;
    window.view.show();
    window.library.importItems({QUrl::fromLocalFile(photo)});
    QVERIFY(waitForLoad(window.library));
    window.view.privacyToggle()->click();
    PrivacyPanel *panel = window.view.privacyPanel();
    QCOMPARE(panel->topLevelItem(0)->text(0), QStringLiteral("Hidden pictures (1)"));
    QTRY_VERIFY(!panel->topLevelItem(0)->child(0)->icon(1).isNull());
    const QImage shown = panel->topLevelItem(0)->child(0)->icon(1).pixmap(96, 96).toImage();
    const QColor middle = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    QVERIFY2(middle.blue() > 200 && middle.red() < 60, qPrintable(middle.name()));
}

void MainWindowContentTest::batchShowsItsProgressAndCancels()
{
    Window window;
    const QString folder = m_env->workPath();
    const QStringList names{"Canon.jpg", "GPS.jpg", "XMP.jpg"};
    for (const QString &name : names)
        window.library.importItems({copyOf(name, folder)});
    QVERIFY(waitForLoad(window.library));
    BatchProgressView *strip = window.view.batchProgress();
    QVERIFY(!strip->isVisible());

    // What the window shows while the first file is being stripped; Cancel
    // is clicked there.
    QString shownText;
    int shownMaximum = -1;
    bool toolbarLocked = false, busyRowHidden = false;
    connect(&window.library, &LibraryViewModel::batchProgressChanged, this, [&] {
        const auto progress = window.library.batchProgress();
        if (!progress || progress->current != 1 || progress->isCancelling)
            return;
        QVERIFY(strip->isVisible());
        shownText = strip->textLabel()->text();
        shownMaximum = strip->bar()->maximum();
        toolbarLocked = !window.view.toolbar()->removeAllMetadataButton()->isEnabled();
        busyRowHidden = !window.view.busyIndicator()->isVisible();
        QTest::mouseClick(strip->cancelButton(), Qt::LeftButton);
        QVERIFY(!strip->cancelButton()->isEnabled());
        QCOMPARE(strip->textLabel()->text(), QStringLiteral("Stopping after Canon.jpg…"));
    });
    window.library.presentRemoveAllMetadataConfirmation();
    window.library.confirmRemoveAllMetadata();
    QVERIFY(waitUntilIdle(window.library));
    QCOMPARE(shownText, QStringLiteral("Removing metadata: 1 of 3 — Canon.jpg"));
    QCOMPARE(shownMaximum, 3);
    QVERIFY(toolbarLocked && busyRowHidden);
    QVERIFY(!strip->isVisible());
    QVERIFY(window.view.toolbar()->removeAllMetadataButton()->isEnabled());
    QVERIFY(window.library.statusMessage()->startsWith(
        QStringLiteral("Stripped 1 of 3 items with “Everything”: nothing of it left. Stopped "
                       "before GPS.jpg")));
    QVERIFY(
        !valueOf(folder + QStringLiteral("/GPS.jpg"), QStringLiteral("GPS:GPSLatitude")).isEmpty());
}

void MainWindowContentTest::keywordsEditedInTheWindowStayItems()
{
    Window window;
    const QString path = copyTestData(QStringLiteral("IPTC.jpg"), m_env->workPath());
    window.library.importItems({QUrl::fromLocalFile(path)});
    QVERIFY(waitForLoad(window.library));
    MetadataEditorView *editor = window.view.editor();
    editor->setCurrentIndex(editorRow(editor, QStringLiteral("IPTC:Keywords")));
    auto *field = qobject_cast<ValueListEditor *>(editor->activeEditor());
    QVERIFY(field);
    QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, QStringLiteral("Added, too"));
    QTest::mouseClick(window.view.fileHeader()->saveButton(), Qt::LeftButton);
    QVERIFY(waitUntilIdle(window.library));
    QCOMPARE(window.library.statusMessage(),
             std::optional<QString>("Metadata saved successfully."));

    // ExifTool itself, asked apart from the program, prints four keywords.
    const QJsonArray stored =
        QJsonDocument::fromJson(runRealExifTool({"-json", "-IPTC:Keywords", path}))
            .array()
            .first()
            .toObject()
            .value(QStringLiteral("Keywords"))
            .toArray();
    QCOMPARE(stored.toVariantList(),
             QVariantList({"ExifTool", "Test", "IPTC", QStringLiteral("Added, too")}));
}

void MainWindowContentTest::writeAnywayAlertAnswers()
{
    FakeExifToolBundle fake(m_env->workPath() + QStringLiteral("/fake"),
                            FakeScripts::minorErrorUnlessIgnored());
    Window window(fake.bundle());
    const QString path =
        copyTestData(QStringLiteral("Canon.jpg"), m_env->workPath(), QStringLiteral("a.jxl"));
    window.library.importItems({QUrl::fromLocalFile(path)});
    QVERIFY(waitForLoad(window.library));
    const MetadataEntry title = *shownEntry(window.library, QStringLiteral("XMP-dc:Title"));
    window.library.editValue(title, QStringLiteral("T"));

    // OK leaves the file as it is and the edit pending.
    QTest::mouseClick(window.view.fileHeader()->saveButton(), Qt::LeftButton);
    QTRY_VERIFY(window.view.sheets()->writeAnywayAlert());
    QMessageBox *alert = window.view.sheets()->writeAnywayAlert();
    QVERIFY(alert->isVisible() && !window.view.sheets()->errorAlert());
    QCOMPARE(alert->windowTitle(), QStringLiteral("ExifTool Error"));
    QVERIFY(alert->text().startsWith(QStringLiteral("ExifTool did not change “a.jxl”")));
    QCOMPARE(alert->buttons().size(), 2);
    QCOMPARE(alert->defaultButton(), alert->button(QMessageBox::Ok));
    QVERIFY(waitUntilIdle(window.library));
    const int runs = fake.runCount();
    QTest::mouseClick(alert->button(QMessageBox::Ok), Qt::LeftButton);
    QVERIFY(!window.library.writeAnywayRequest());
    QTRY_VERIFY(!window.view.sheets()->writeAnywayAlert());
    QCOMPARE(fake.runCount(), runs);
    QVERIFY(window.library.hasPendingChanges());

    // Write Anyway makes the same change with minor errors ignored.
    QTest::mouseClick(window.view.fileHeader()->saveButton(), Qt::LeftButton);
    QTRY_VERIFY(window.view.sheets()->writeAnywayAlert());
    alert = window.view.sheets()->writeAnywayAlert();
    QAbstractButton *anyway = nullptr;
    for (QAbstractButton *button : alert->buttons()) {
        if (button->text() == WindowSheets::writeAnywayButtonText())
            anyway = button;
    }
    QVERIFY(anyway);
    QTest::mouseClick(anyway, Qt::LeftButton);
    QVERIFY(!window.library.writeAnywayRequest());
    QVERIFY(waitUntilIdle(window.library));
    QVERIFY(fake.lastWriteArguments().contains(QStringLiteral("-m")));
    QVERIFY(fake.lastWriteArguments().contains(QStringLiteral("-XMP-dc:Title=T")));
    QCOMPARE(window.library.statusMessage(),
             std::optional<QString>("Metadata saved successfully."));
    QTRY_VERIFY(!window.view.sheets()->writeAnywayAlert());
}

void MainWindowContentTest::unwritableFormatLineUnderTheHeader()
{
    Window window;
    const QUrl movie = copyOf(QStringLiteral("Matroska.mkv"), m_env->workPath());
    const QUrl photo = copyOf(QStringLiteral("Canon.jpg"), m_env->workPath());
    // The movie is selected as the first file added; the photo follows.
    window.library.importItems({movie});
    window.library.importItems({photo});
    QVERIFY(waitForLoad(window.library));
    QLabel *note = window.view.fileHeader()->formatNote();
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(),
             QStringLiteral("ExifTool can't write MKV files; their metadata is shown read-only."));
    // Under the buttons, above the editor.
    QVERIFY(note->mapTo(&window.view, QPoint()).y() >
            window.view.fileHeader()->saveButton()->mapTo(&window.view, QPoint()).y());
    const QModelIndex date =
        editorRow(window.view.editor(), QStringLiteral("Matroska:DateTimeOriginal"));
    QVERIFY(date.isValid() && !(date.flags() & Qt::ItemIsEditable));
    QVERIFY(!window.view.fileHeader()->removeMetadataButton()->isEnabled());

    // The photo, listed first by name.
    window.library.setSelectedItemID(window.library.items().at(0).id);
    QCOMPARE(window.library.selectedItem()->fileName, QStringLiteral("Canon.jpg"));
    QVERIFY(!note->isVisible());
    QVERIFY(waitForLoad(window.library));
    QVERIFY(!note->isVisible());
    QVERIFY(window.view.fileHeader()->removeMetadataButton()->isEnabled());
}

// A second import lands below the visible rows: its first file is scrolled
// to, the status line counts what came and what was listed already, and
// two files of one name show their folders.
void MainWindowContentTest::importsScrollIntoViewAndSaySo()
{
    Window window;
    window.view.resize(1100, 400);
    // As added, a new file lands below the others, out of view.
    QCoro::waitFor(window.library.setItemOrder(ItemOrder::imported));
    QDir work(m_env->workPath());
    QList<QUrl> first;
    for (int i = 0; i < 12; ++i)
        first << QUrl::fromLocalFile(
            copyTestData(QStringLiteral("PNG.png"), work.path(), QStringLiteral("p%1.png").arg(i)));
    window.library.importItems(first);
    QCOMPARE(window.library.statusMessage(), QStringLiteral("Added 12 files."));
    FileListView *list = window.view.sidebar()->fileList();
    QCOMPARE(list->verticalScrollBar()->value(), 0);

    QVERIFY(work.mkpath(QStringLiteral("other")));
    const QUrl twin = QUrl::fromLocalFile(copyTestData(QStringLiteral("PNG.png"),
                                                       work.filePath(QStringLiteral("other")),
                                                       QStringLiteral("p0.png")));
    window.library.importItems({first.at(3), twin, first.at(5)});
    QCOMPARE(window.library.statusMessage(),
             QStringLiteral("Added 1 file. 2 were already in the list."));
    const QModelIndex twinRow = window.view.sidebar()->model()->index(12, 0);
    QVERIFY(list->viewport()->rect().contains(list->visualRect(twinRow)));

    // Only the two files named p0.png show where they are.
    const auto folderOf = [&](int row) {
        return window.view.sidebar()
            ->model()
            ->index(row, 0)
            .data(SidebarModel::FolderRole)
            .toString();
    };
    QCOMPARE(folderOf(12), work.filePath(QStringLiteral("other")));
    QCOMPARE(folderOf(0), work.path());
    QCOMPARE(folderOf(1), QString());
    window.library.removeItem(window.library.items().at(12));
    QCOMPARE(folderOf(0), QString());
    QVERIFY(waitUntilIdle(window.library));
}

void MainWindowContentTest::sidebarMenuCopiesAndRemoves_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("namesAfter");
    QTest::addColumn<bool>("pathCopied");
    QTest::newRow("Copy Path") << "copyPath" << QStringList{"Canon.jpg", "GPS.jpg"} << true;
    QTest::newRow("Remove from List") << "removeFromList" << QStringList{"Canon.jpg"} << false;
    QTest::newRow("Copy Metadata From")
        << "copyMetadataFrom" << QStringList{"Canon.jpg", "GPS.jpg"} << false;
}

void MainWindowContentTest::sidebarMenuCopiesAndRemoves()
{
    QFETCH(QString, action);
    QFETCH(QStringList, namesAfter);
    QFETCH(bool, pathCopied);
    Window window;
    const QUrl gps = copyOf(QStringLiteral("GPS.jpg"), m_env->workPath());
    window.library.importItems({copyOf(QStringLiteral("Canon.jpg"), m_env->workPath()), gps});
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    FileListView *list = window.view.sidebar()->fileList();
    const QPoint second = list->visualRect(list->model()->index(1, 0)).center();
    Q_EMIT list->customContextMenuRequested(second);
    QMenu *menu = list->findChild<QMenu *>();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QStringList texts;
    for (const QAction *item : menu->actions()) {
        if (!item->isSeparator())
            texts << item->text();
    }
    // The row is not selected: the copy goes into its file alone, and there
    // are not two files to compare.
    QCOMPARE(texts, (QStringList{QStringLiteral("Show in File Manager"),
                                 QStringLiteral("Copy Path"), QStringLiteral("Copy Metadata From…"),
                                 QStringLiteral("Remove from List")}));
    QAction *chosen = menu->findChild<QAction *>(action);
    QVERIFY(chosen);
    chosen->trigger();
    menu->close();
    QCOMPARE(window.fileNames(), namesAfter);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             pathCopied ? gps.toLocalFile() : QStringLiteral("before"));
    const auto &request = window.library.copyMetadataRequest();
    QCOMPARE(request && request->targets.size() == 1 ? request->targets.first().url : QUrl(),
             action == "copyMetadataFrom" ? gps : QUrl());
    window.library.cancelCopyMetadata();
    // The file itself stays on the disk.
    QVERIFY(QFileInfo::exists(gps.toLocalFile()));
    QVERIFY(waitUntilIdle(window.library));
}

QTEST_MAIN(MainWindowContentTest)
#include "tst_MainWindowContent.moc"
