#pragma once

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Engine/TagDefinition.h"
#include "MetaloomFeature/Library/BatchProgress.h"
#include "MetaloomFeature/Library/BatchReportTexts.h"
#include "MetaloomFeature/Library/BatchRun.h"
#include "MetaloomFeature/Library/CompareAlignment.h"
#include "MetaloomFeature/Library/Copying/CopyMetadata.h"
#include "MetaloomFeature/Library/Dates/DateAdjustment.h"
#include "MetaloomFeature/Library/Dates/ItemOrdering.h"
#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"
#include "MetaloomFeature/Library/EntryMarks.h"
#include "MetaloomFeature/Library/FileOperations.h"
#include "MetaloomFeature/Library/ImportPlanning.h"
#include "MetaloomFeature/Library/MetadataEngine.h"
#include "MetaloomFeature/Library/SavePanel.h"
#include "MetaloomFeature/Library/Selection/ItemSelection.h"
#include "MetaloomFeature/Library/Selection/SelectionReads.h"
#include "MetaloomFeature/Library/Selection/SharedTagList.h"
#include "MetaloomFeature/Library/SettingsTab.h"
#include "MetaloomFeature/Library/StatusTimer.h"
#include "MetaloomFeature/Library/Thumbnails/ThumbnailDemand.h"
#include "MetaloomFeature/Model/CustomMetadataTag.h"
#include "MetaloomFeature/Model/FavoriteTagsStore.h"
#include "MetaloomFeature/Model/MediaItem.h"
#include "MetaloomFeature/Model/MetadataEntry.h"
#include "MetaloomFeature/Model/MetadataExportFormatter.h"
#include "MetaloomFeature/Model/Preset.h"
#include "MetaloomFeature/Platform/FileAccess.h"

#include <QCoroTask>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class QMimeData;

namespace Metaloom {

class PresetsStore;
class ThumbnailLoader;

// The state of one main window: the imported files, the selection, the
// selected file's metadata, the status line, the error alert and the pending
// confirmations, and every operation the window calls. One per window, over
// that window's own engine. Main thread only.
//
// Every published property has a change signal; observers read the new value
// in the slot. Asynchronous operations run as coroutines on the main thread;
// none of them throws to the caller: outcomes go to the status line, failures
// to `activeError`. The window may destroy the library while one of them
// runs: the engine change in flight still finishes or fails whole, and the
// library is not touched afterwards.
class LibraryViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<Metaloom::MediaItem> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(std::optional<QUuid> selectedItemID READ selectedItemID WRITE setSelectedItemID
                   NOTIFY selectedItemIDChanged)
    Q_PROPERTY(QList<QUuid> selectedItemIDs READ selectedItemIDs WRITE setSelectedItemIDs NOTIFY
                   selectedItemIDsChanged)
    Q_PROPERTY(std::optional<Metaloom::MediaItem> selectedItem READ selectedItem NOTIFY
                   selectedItemChanged)
    Q_PROPERTY(QList<Metaloom::MetadataEntry> filteredEntries READ filteredEntries NOTIFY
                   filteredEntriesChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(std::optional<QString> statusMessage READ statusMessage NOTIFY statusMessageChanged)
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY isBusyChanged)
    Q_PROPERTY(std::optional<Metaloom::LibraryViewModel::ViewModelError> activeError READ
                   activeError WRITE setActiveError NOTIFY activeErrorChanged)
    Q_PROPERTY(std::optional<Metaloom::LibraryViewModel::PresetManagerState> presetManagerState READ
                   presetManagerState NOTIFY presetManagerStateChanged)
    Q_PROPERTY(
        std::optional<Metaloom::LibraryViewModel::RemoveAllMetadataRequest> removeAllMetadataRequest
            READ removeAllMetadataRequest NOTIFY removeAllMetadataRequestChanged)
    Q_PROPERTY(
        std::optional<Metaloom::LibraryViewModel::RemoveMetadataRequest> removeMetadataRequest READ
            removeMetadataRequest NOTIFY removeMetadataRequestChanged)
    Q_PROPERTY(bool isMetadataSettingsPresented READ isMetadataSettingsPresented WRITE
                   setMetadataSettingsPresented NOTIFY isMetadataSettingsPresentedChanged)
    Q_PROPERTY(Metaloom::SettingsTab settingsTab READ settingsTab WRITE setSettingsTab NOTIFY
                   settingsTabChanged)
    Q_PROPERTY(QSet<QString> pinnedTags READ pinnedTags NOTIFY pinnedTagsChanged)
    Q_PROPERTY(
        QList<Metaloom::CustomMetadataTag> customTags READ customTags NOTIFY customTagsChanged)
    Q_PROPERTY(
        OptionsByKey enumeratedOptions READ enumeratedOptions NOTIFY enumeratedOptionsChanged)
    Q_PROPERTY(bool hasPendingChanges READ hasPendingChanges NOTIFY hasPendingChangesChanged)
    Q_PROPERTY(QStringList availableTagKeys READ availableTagKeys NOTIFY availableTagKeysChanged)
    Q_PROPERTY(std::optional<Metaloom::BatchProgress> batchProgress READ batchProgress NOTIFY
                   batchProgressChanged)
    Q_PROPERTY(std::optional<Metaloom::LibraryViewModel::WriteAnywayRequest> writeAnywayRequest READ
                   writeAnywayRequest NOTIFY writeAnywayRequestChanged)
    Q_PROPERTY(std::optional<QString> readOnlyFormatNote READ readOnlyFormatNote NOTIFY
                   readOnlyFormatNoteChanged)
    Q_PROPERTY(QSet<QUuid> modifiedItemIDs READ modifiedItemIDs NOTIFY modifiedItemIDsChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY undoStateChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY undoStateChanged)
    Q_PROPERTY(bool canUndoDates READ canUndoDates NOTIFY datesUndoChanged)

public:
    using OptionsByKey = QHash<QString, QList<EnumeratedOption>>;

    // The content of the error alert; a new id per error. The title says
    // what failed: "ExifTool Error" only when ExifTool did.
    struct ViewModelError {
        QUuid id;
        QString message;
        QString title;

        explicit ViewModelError(QString text = QString(), QString alertTitle = exifToolErrorTitle())
            : id(QUuid::createUuid()), message(std::move(text)), title(std::move(alertTitle))
        {}
        static QString exifToolErrorTitle() { return LibraryViewModel::tr("ExifTool Error"); }
        bool operator==(const ViewModelError &) const = default;
    };

    // A pending confirmation to strip every loaded file. Confirming strips
    // the files loaded at that moment.
    struct RemoveAllMetadataRequest {
        QUuid id = QUuid::createUuid();
        // The strip profile's title, which the confirmation names.
        QString profileTitle = {};
        bool operator==(const RemoveAllMetadataRequest &) const = default;
    };

    // A pending confirmation to strip one file, named for the dialog, or
    // the several selected files (itemIDs, fileName then counting them).
    struct RemoveMetadataRequest {
        QUuid id;
        QUuid itemID;
        QString fileName;
        QList<QUuid> itemIDs = {};
        QString profileTitle = {};
        bool operator==(const RemoveMetadataRequest &) const = default;
    };

    // A change ExifTool refused for a minor error: the alert explains it and
    // offers to make the change anyway (confirmWriteAnyway) besides OK
    // (cancelWriteAnyway). Each refusal gets a new id.
    struct WriteAnywayRequest {
        QUuid id = QUuid::createUuid();
        QString title;
        QString message;
        bool operator==(const WriteAnywayRequest &) const = default;
    };

    // The preset manager is shown while this is set; each opening gets a new id.
    struct PresetManagerState {
        QUuid id = QUuid::createUuid();
        bool operator==(const PresetManagerState &) const = default;
    };

    // Thumbnail edge in points, for the sidebar.
    static constexpr int thumbnailSize = 120;

    // The 15 keys every window pins at start-up.
    static const QSet<QString> &defaultFavoriteTags();

    // Loads the pinned tags and custom fields and migrates a stored
    // default-overrides record into a preset (which may show a status). In
    // the program the engine is the window's ExifToolService
    // (MetadataEngine::over).
    explicit LibraryViewModel(std::shared_ptr<MetadataEngine> engine, QObject *parent = nullptr);
    // Tests pass a status timer whose time they control.
    LibraryViewModel(std::shared_ptr<MetadataEngine> engine,
                     std::unique_ptr<StatusTimer> statusTimer, QObject *parent = nullptr);
    ~LibraryViewModel() override;

    // The engine the window's sheets use too (the preset manager's key
    // listing, the refusal answers of the field settings).
    const std::shared_ptr<MetadataEngine> &engine() const { return m_engine; }
    // The presets the window's toolbar and preset manager show.
    PresetsStore *presetsStore() const { return m_presetsStore; }

    // --- Published state -------------------------------------------------

    const QList<MediaItem> &items() const { return m_items; }
    std::optional<QUuid> selectedItemID() const { return m_selectedItemID; }
    // Selecting another item (or none) starts loading its metadata.
    void setSelectedItemID(std::optional<QUuid> id);
    // The item whose id is selected, or nothing.
    std::optional<MediaItem> selectedItem() const;

    // --- Several files -------------------------------------------------------

    // The selected files in list order, the current one (selectedItemID)
    // among them; just that one (or none) unless the user picked more.
    const QList<QUuid> &selectedItemIDs() const { return m_selection.ids(); }
    // Several ids make the editor show what the files share (read once and
    // kept); one behaves as setSelectedItemID. `current` stays the current
    // file when it is among them, else the first becomes it.
    void setSelectedItemIDs(const QList<QUuid> &ids, std::optional<QUuid> current = std::nullopt);
    bool isMultiSelection() const { return m_selection.size() > 1; }
    QList<MediaItem> selectedItems() const;
    // What the selected files hold of the key (only with several selected).
    const SharedTagList::Row *sharedRow(const QString &key) const;
    // A list tag of the selection: one item added to or taken from every
    // selected file's list; one step to undo.
    void addItemToSelection(const QString &key, const QString &item);
    void removeItemFromSelection(const QString &key, const QString &item);
    // Writes every selected file that has an edit, one after the other in
    // list order, with the batch's progress and report; files that fail keep
    // their edits. True when all took them.
    QCoro::Task<bool> saveSelection();

    // The entries of the selected file that match the search, in display
    // order. An entry keeps its id and key across edits, searches and
    // merges; only a read of the file gives new ids. No two have one key.
    const QList<MetadataEntry> &filteredEntries() const { return m_visibleEntries; }
    // The one of them with this key, or null; valid until the list changes.
    const MetadataEntry *filteredEntry(const QString &key) const;
    // The same entries as the editor's tree of groups and tags; the
    // library's own, changed row by row.
    EntryTreeModel *entryTree() { return &m_entryTree; }

    QString searchText() const { return m_searchText; }
    // Every assignment refilters, even of the same text.
    void setSearchText(const QString &text);

    std::optional<QString> statusMessage() const { return m_statusMessage; }
    bool isBusy() const { return m_busyOperations > 0; }

    std::optional<ViewModelError> activeError() const { return m_activeError; }
    // The window clears it (nothing) when the alert is dismissed.
    void setActiveError(std::optional<ViewModelError> error);

    std::optional<PresetManagerState> presetManagerState() const { return m_presetManagerState; }
    // The privacy check of the files shown: their tags that tell where,
    // when, who and with what, class by class ("Location", "People and
    // owners", ...), only the classes with findings, in the order of the
    // check. Follows the entries (filteredEntriesChanged,
    // filteredEntryChanged).
    struct PrivacyGroup {
        QString title;
        QList<MetadataEntry> entries;
        // The group of embedded thumbnails and previews.
        bool pictures = false;
        // Several files shown: by entry, how the files differ in it ("2
        // values", "in 3 of 5 files"; empty where they agree), and the files
        // that hold anything of the class.
        QStringList notes;
        QStringList fileNames;
        bool operator==(const PrivacyGroup &) const = default;
    };
    QList<PrivacyGroup> privacyGroups() const;
    // The files whose privacy check found something, for the sidebar's
    // badge: known of each file once it was read for the editor or
    // stripped for sharing.
    QSet<QUuid> privacyFlaggedItemIDs() const { return m_privacyFlagged; }
    // The first picture hidden in the file shown (its thumbnail, preview or
    // full-size JPEG), drawn, for the Privacy view: a cropped or retouched
    // photo's thumbnail can still show the original. Read once asked for
    // (loadHiddenPicture), again after the file changed; null until then
    // and for a file without one.
    QImage hiddenPicture() const { return m_hiddenPicture; }
    void loadHiddenPicture();

    // The strip profile Remove Metadata uses, by name ("everything" until
    // another is chosen), and those to choose from: the built-in ones, then
    // the user's own from the preferences.
    QString stripProfileName() const { return m_stripProfileName; }
    void setStripProfileName(const QString &name);
    QList<StripProfile> stripProfiles() const;

    std::optional<RemoveAllMetadataRequest> removeAllMetadataRequest() const
    {
        return m_removeAllMetadataRequest;
    }
    std::optional<RemoveMetadataRequest> removeMetadataRequest() const
    {
        return m_removeMetadataRequest;
    }

    std::optional<WriteAnywayRequest> writeAnywayRequest() const { return m_writeAnywayRequest; }
    // Makes the refused change again for the file(s) it was refused for,
    // with ExifTool's minor errors ignored this once.
    void confirmWriteAnyway();
    void cancelWriteAnyway();

    // For a selected file whose format ExifTool cannot write: the line the
    // header shows ("ExifTool can't write MKV files; their metadata is
    // shown read-only."). Every entry of such a file is read-only from the
    // start and no placeholder is added for it. Nothing otherwise.
    std::optional<QString> readOnlyFormatNote() const { return m_readOnlyFormatNote; }

    bool isMetadataSettingsPresented() const { return m_isMetadataSettingsPresented; }
    void setMetadataSettingsPresented(bool presented);
    SettingsTab settingsTab() const { return m_settingsTab; }
    void setSettingsTab(SettingsTab tab);

    const QSet<QString> &pinnedTags() const { return m_pinnedTags; }
    const QList<CustomMetadataTag> &customTags() const { return m_customTags; }
    // Tag key to its non-empty list of permitted values, for keys looked up so far.
    const OptionsByKey &enumeratedOptions() const { return m_enumeratedOptions; }

    // At least one entry of the selected file is edited.
    bool hasPendingChanges() const;
    // The keys the field settings offer for pinning: the selected file's,
    // the pinned, the custom and the default ones, ordered by label.
    QStringList availableTagKeys() const;

    // --- Files (import) --------------------------------------------------

    // Adds the files among the URLs, in order: a folder brings the regular,
    // visible files directly inside it, in name order; addresses that are
    // not local files and files already listed are skipped. Selects the first
    // new item when nothing is selected. Thumbnails arrive later
    // (itemThumbnailChanged). `before` is what earlier slices of the same
    // drop added; the status line counts them in, and the sum is returned.
    ImportPlanning::Tally importItems(const QList<QUrl> &urls, ImportPlanning::Tally before = {});
    // Imports the file URLs of pasted or dropped data.
    void pasteFromClipboard(const QMimeData *mimeData);
    void removeItem(const MediaItem &item);
    void clearAllItems();
    // The files whose rows the sidebar shows, and those about to scroll in,
    // top to bottom. Thumbnails are made for these and the selected files
    // only, and let go again long after they left the view.
    void setItemsInView(const QList<QUuid> &itemIDs);

    // Shows a message in the status line for 3 seconds, unless a newer one
    // replaces it first.
    void setStatus(const QString &message);

    // --- Metadata of the selected file -------------------------------------

    // Reads the selected file again; unsaved edits are dropped.
    QCoro::Task<void> reloadMetadata();
    // Records an edit of the entry with this id (read-only entries refuse
    // it; an entry of a list since replaced is ignored). A list tag takes
    // the text as one item per line, blank lines left out. A tag is a list
    // when ExifTool read it as one or its tag table entry says so (known
    // once ensureOptionsLoaded() looked it up). The edited entry alone is
    // published again (filteredEntryChanged), unless the edit makes it
    // start or stop matching the search.
    void editValue(const MetadataEntry &entry, const QString &value);
    // Records the items of a list tag; an entry read as one value becomes a
    // list of these items.
    void editItems(const MetadataEntry &entry, const QStringList &items);
    // The items a list's text stands for: its lines that are not blank.
    static QStringList itemsOfText(const QString &text);
    // Writes the edits into the selected file in one change and reads it
    // back. True when the edits reached the file (tags the file has no
    // place for excepted). A tag stored otherwise than typed (shortened,
    // converted, refused) shows what the file now holds with the engine's
    // reason as its warning, and the status says how many there were.
    QCoro::Task<bool> saveChanges();
    // Undoes every edit.
    void resetChanges();
    // The permitted values of the entry's tag, when known.
    std::optional<QList<EnumeratedOption>> options(const MetadataEntry &entry) const;
    // Starts looking up the entry's permitted values and writability, once
    // per key; optionsLoaded() tells when a list arrived.
    void ensureOptionsLoaded(const MetadataEntry &entry);
    // The custom field's label, else the shown entry's name, else the tag name.
    QString displayLabel(const QString &key) const;

    // Puts the shown entry with this key back to what the file holds; one
    // step to undo. Nothing for an entry that is not edited.
    void revertEntry(const QString &key);
    // Empties the shown entry with this key, which deletes the tag from the
    // file on the next save; one step to undo. Only for a writable tag the
    // file holds.
    void markForRemoval(const QString &key);
    bool canRevertEntry(const QString &key) const;
    bool canMarkForRemoval(const QString &key) const;
    // The entry is emptied to be deleted from the file on the next save.
    static bool isMarkedForRemoval(const MetadataEntry &entry);

    // --- Edits of every file -------------------------------------------------

    // The files with edits not saved yet: the shown one and those the
    // selection left with edits, which come back when they are shown again.
    QSet<QUuid> modifiedItemIDs() const;
    // The same files, in list order.
    QList<MediaItem> modifiedItems() const;
    // Saves the edits of every modified file, one file after the other, each
    // as Save saves it; one report at the end. True when every file took its
    // edits (and none is left modified).
    QCoro::Task<bool> saveAllChanges();

    // --- Undo ----------------------------------------------------------------

    // The window's edits, one step each (a value typed in one go, a revert,
    // a removal mark), over all of its files; a save or reload of a file
    // drops that file's steps.
    bool canUndo() const { return !m_undoSteps.isEmpty(); }
    bool canRedo() const { return !m_redoSteps.isEmpty(); }
    // A step of a file not shown applies to its edits and shows the file.
    void undo();
    void redo();
    // Typing in the shown field is over: the next keystroke starts a new step.
    void endEditStep();

    // --- Removal -----------------------------------------------------------

    void presentRemoveAllMetadataConfirmation();
    void confirmRemoveAllMetadata();
    void cancelRemoveAllMetadata();
    void presentRemoveMetadataConfirmation();
    void confirmRemoveMetadata();
    void cancelRemoveMetadata();

    // --- Batches -------------------------------------------------------------

    // While a change of several files runs (stripping or a preset): how far
    // it got. Nothing otherwise; one runs at a time.
    const std::optional<BatchProgress> &batchProgress() const { return m_batchProgress; }
    // Stops the running batch after the file being changed; the files done
    // stay done and the report says where it stopped.
    void cancelBatch();
    // How many files a batch changes at once: one per core unless told.
    void setBatchLanes(int lanes) { m_batchLanes = std::max(lanes, 1); }

    // --- Copying and comparing ----------------------------------------------

    // Asks which file the targets take their tags from and which tags: the
    // request the dialog shows (nothing while none is asked). A target
    // that is not loaded is left out.
    void presentCopyMetadata(const QList<QUuid> &targets);
    const std::optional<CopyMetadataRequest> &copyMetadataRequest() const
    {
        return m_copyMetadataRequest;
    }
    // What the copy would change in each target; published as copyPreview.
    void previewCopyMetadata(CopySource source, CopyFamily family);
    const CopyPreviewState &copyPreview() const { return m_copyPreview; }
    // Copies into the request's targets (the source itself left out) as a
    // batch, one after the other, going on past files that fail.
    void confirmCopyMetadata(CopySource source, CopyFamily family);
    void cancelCopyMetadata();
    QCoro::Task<void> copyMetadata(CopySource source, QList<QUuid> targets, CopyFamily family);

    // --- Dates ---------------------------------------------------------------

    // Asks how to adjust the dates of these files: the request the sheet
    // shows (nothing while none is asked). A file not loaded is left out.
    void presentAdjustDates(const QList<QUuid> &items);
    const std::optional<AdjustDatesRequest> &adjustDatesRequest() const
    {
        return m_adjustDatesRequest;
    }
    // What the adjustment would change in each file of the request;
    // published as datesPreview.
    void previewDates(DateAdjustment adjustment);
    const DatePreviewState &datesPreview() const { return m_datesPreview; }
    // Adjusts the request's files as a batch, going on past files that fail.
    void confirmAdjustDates(DateAdjustment adjustment);
    void cancelAdjustDates();
    QCoro::Task<void> adjustDates(QList<QUuid> items, DateAdjustment adjustment);
    // Each file's modification date set to its capture date.
    QCoro::Task<void> setFileDatesFromCapture(QList<QUuid> items);
    // The last adjustment of dates (or of file dates) put back, every file
    // of it in one step.
    bool canUndoDates() const { return m_datesUndo.has_value(); }
    QCoro::Task<void> undoDates();
    // Whether the change of dates came after the last edit: the window's
    // Undo then puts the dates back rather than an older edit.
    bool undoesDatesNext() const
    {
        return m_datesUndo.has_value() && m_datesUndoStamp == m_editStepStamp;
    }
    // The order of items(): by name (until the user picks another), as
    // added, by capture date or by file date. The time orders are kept after
    // imports and after dates change; the capture dates take one read.
    ItemOrder itemOrder() const { return m_itemOrder; }
    QCoro::Task<void> setItemOrder(ItemOrder order);

    // Reads both files and shows their tags side by side (comparison).
    void presentCompare(QUuid left, QUuid right);
    const std::optional<Comparison> &comparison() const { return m_comparison; }
    void dismissCompare();

    // --- Presets -------------------------------------------------------------

    // Applies the preset to every loaded file, one after the other, going on
    // past files that fail.
    void applyPreset(const Preset &preset);
    // The same for the selected files only.
    void applyPresetToSelection(const Preset &preset);
    void presentPresetManager();
    void dismissPresetManager();

    // --- Field settings ------------------------------------------------------

    void toggleFavorite(const MetadataEntry &entry);
    // Makes these the pins and custom fields at once and stores them.
    void updateMetadataDraft(const QSet<QString> &pinned, const QList<CustomMetadataTag> &custom);
    // The same, then closes the settings sheet.
    void applyMetadataSettings(const QSet<QString> &pinned, const QList<CustomMetadataTag> &custom);
    void presentMetadataSettings();
    void presentSettings(SettingsTab tab);
    void dismissMetadataSettings();

    // --- Export --------------------------------------------------------------

    // The window's save dialog; export needs one.
    void setSavePanel(std::shared_ptr<SavePanel> panel);
    // Asks where to save the selected file's metadata (unsaved edits
    // included, search ignored) and writes it there in the format.
    void exportSelectedMetadata(MetadataExportFormatter::Format format);

Q_SIGNALS:
    void itemsChanged();
    void copyMetadataRequestChanged();
    void copyPreviewChanged();
    void adjustDatesRequestChanged();
    void datesPreviewChanged();
    void datesUndoChanged();
    void itemOrderChanged();
    void comparisonChanged();
    void selectedItemIDChanged();
    void selectedItemIDsChanged();
    void selectedItemChanged();
    void filteredEntriesChanged();
    void searchTextChanged();
    void statusMessageChanged();
    void isBusyChanged();
    void activeErrorChanged();
    void presetManagerStateChanged();
    void removeAllMetadataRequestChanged();
    void removeMetadataRequestChanged();
    void stripProfileNameChanged();
    void privacyFlaggedItemIDsChanged();
    void hiddenPictureChanged();
    void isMetadataSettingsPresentedChanged();
    void settingsTabChanged();
    void pinnedTagsChanged();
    void customTagsChanged();
    void enumeratedOptionsChanged();
    void hasPendingChangesChanged();
    void availableTagKeysChanged();
    void batchProgressChanged();
    void writeAnywayRequestChanged();
    void readOnlyFormatNoteChanged();
    void modifiedItemIDsChanged();
    void undoStateChanged();

    // Finer signals for smooth views.
    // The thumbnail of one item arrived (items() holds it); itemsChanged is
    // not emitted for this.
    void itemThumbnailChanged(QUuid itemID);
    // The permitted values of one key arrived (also in enumeratedOptions()).
    void optionsLoaded(QString key);
    // A read of this item's file was published as the entry list.
    void metadataLoaded(QUuid itemID);
    // One entry of filteredEntries() changed in place (an edit): same id,
    // key and place. filteredEntriesChanged is not emitted for it.
    void filteredEntryChanged(QString key);

private:
    struct LoadTicket {
        quint64 generation = 0;
        QUuid itemID;
        QUrl url;
    };

    // One undoable change of one entry of one file.
    struct EditStep {
        QUuid itemID;
        QString key;
        EntryMarks::EnteredValue before;
        EntryMarks::EnteredValue after;
        // The entry held what the file holds before or after it.
        bool beforeIsOriginal = false;
        bool afterIsOriginal = false;
        // Keystrokes may still extend it.
        bool open = false;
        // The steps of one edit of several files share a number (0: one file).
        quint64 group = 0;
    };

    // Several files
    void showSharedList();
    QCoro::Task<void> readSelection(quint64 generation);
    // After a save of several selected files: their shared list read anew.
    QCoro::Task<void> rereadSelection();
    // Write Anyway of a save: these files saved again, minor errors ignored.
    QCoro::Task<void> saveAgainIgnoringMinorErrors(QSet<QUuid> refused);
    // Changes every selected file's value of the key: `change` answers the
    // new value from the file's present one (nothing: what it holds); one
    // step to undo, extended while typing.
    using SpreadChange = std::function<std::optional<EntryMarks::EnteredValue>(
        const std::optional<EntryMarks::EnteredValue> &present)>;
    void spreadEdit(const QString &key, const SpreadChange &change, bool typing);
    std::optional<EntryMarks::EnteredValue> presentValue(const QUuid &itemID,
                                                         const QString &key) const;
    void applyStepGroup(const QList<EditStep> &steps, bool undoing);

    // Edits of every file
    // Keeps the shown file's edits aside (the selection leaves it).
    void parkShownEdits();
    void updateModifiedItems(bool shownHasEdits);
    void forgetEditsOf(const QUuid &itemID);
    void dropStepsOf(const QUuid &itemID);
    void pushStep(EditStep step);
    // Puts the value into the key's entry of the file, shown or parked.
    void applyStepValue(const QUuid &itemID, const QString &key,
                        const EntryMarks::EnteredValue &value, bool isOriginal);
    // Changes the listed entry and records it as one step (`typing`: keeps
    // the step open for the next keystroke).
    void changeEntry(MetadataEntry &listed, const std::function<void(MetadataEntry &)> &change,
                     bool typing);
    // These files' edits saved side by side as a batch runs its files (one
    // per lane, reported in list order), with one report (and, given a
    // progress, with the progress bar and its cancel). Nothing when no save
    // began.
    QCoro::Task<std::optional<BatchRun::Outcome>> saveEach(QList<MediaItem> targets,
                                                           ChangeOptions options,
                                                           std::optional<BatchProgress> progress);
    // One file's edits written: the shown file's from the list, another's
    // from those set aside for it.
    QCoro::Task<FileOutcome> saveEdits(MediaItem item, ChangeOptions options);
    // One file's parked edits written as Save writes them.
    QCoro::Task<FileOutcome> saveParkedEdits(MediaItem item,
                                             QHash<QString, EntryMarks::EnteredValue> edits,
                                             ChangeOptions options);
    // The shown file's edits written, read back and marked as Save does.
    QCoro::Task<FileOutcome> saveShownEdits(MediaItem item, ChangeOptions options);
    // After a save of a file whose edits are set aside: each sent edit goes,
    // unless it was typed anew since or the file did not take it.
    void forgetSavedParkedEdits(const QUuid &itemID,
                                const QHash<QString, EntryMarks::EnteredValue> &sent,
                                const ChangeReport &report);

    // Import
    void storeBookmark(const QUrl &fileUrl);
    void storeBookmarksOf(const QList<QUrl> &files);
    void keepBookmarks(const QHash<QString, QByteArray> &bookmarks);
    void applyThumbnail(QUuid itemID, const QImage &image);
    void applyThumbnailDemand(const ThumbnailDemand::Step &step);
    void wantSelectedThumbnails();

    QUrl resolveBookmark(const QUrl &fileUrl);

    // What one engine call of the window came to.
    template <typename Value> struct EngineReply {
        // What the call answered; nothing when it failed.
        std::optional<Value> value;
        // What it threw.
        std::exception_ptr failure;
        // The window closed while the call ran: the library is gone and must
        // not be touched (not even through `this`).
        bool libraryGone = false;
    };
    template <typename Call>
    using EngineValue = typename std::invoke_result_t<Call, const std::shared_ptr<MetadataEngine> &,
                                                      QUrl>::value_type;
    // Runs one engine call the way every call of the window must run: on the
    // file, when one is given, with its access scope open; whatever it
    // throws caught into the reply; and the reply saying whether the library
    // outlived the call. `call(engine, url)` gets the engine and the URL the
    // access scope opened (through the bookmark recorded at import; empty
    // without a file).
    template <typename Call>
    QCoro::Task<EngineReply<EngineValue<Call>>> callEngine(std::optional<QUrl> file, Call call)
    {
        QPointer<LibraryViewModel> self(this);
        const std::shared_ptr<MetadataEngine> engine = m_engine;
        EngineReply<EngineValue<Call>> reply;
        try {
            std::optional<FileAccess::ScopedAccess> scope;
            if (file)
                scope.emplace(resolveBookmark(*file));
            reply.value = co_await call(engine, scope ? scope->url() : QUrl());
        } catch (...) {
            reply.value.reset();
            reply.failure = std::current_exception();
        }
        reply.libraryGone = !self;
        co_return reply;
    }

    // Metadata
    void selectionDidChange();
    std::optional<LoadTicket> ticketForSelection() const;
    bool isCurrent(const LoadTicket &ticket) const;
    QCoro::Task<void> loadSelectedMetadata();
    QCoro::Task<bool> loadMetadata(LoadTicket ticket);
    // `readOnlyNote`: the file's format cannot be written, and this says so.
    void publishLoadedEntries(QList<MetadataEntry> entries, std::optional<QString> readOnlyNote);
    void setReadOnlyFormatNote(std::optional<QString> note);
    void setFullEntryList(QList<MetadataEntry> entries, std::optional<QUuid> ownerID);
    void mergeFieldSettings();
    // Filters the whole list again and publishes it, after the whole list
    // changed (every change of it ends here).
    void applySearch();
    // Filters the whole list again and publishes it, the whole list being as
    // it was (the search text changed): its index by key still holds.
    void showSearchResults();
    // The indexes by key, after the whole list or the shown one changed.
    void indexFullList();
    void indexVisibleEntries();
    // The listed entry with the id and key of this one, or null.
    MetadataEntry *listedEntry(const MetadataEntry &entry);
    // Publishes an entry just edited.
    void publishEdit(const MetadataEntry &edited);
    EntryTreeModel::Source entryTreeSource();
    bool applyWritability(const QString &key, bool isWritable, bool record);
    static bool canWrite(const QUrl &fileUrl);
    void recordEdit(const MetadataEntry &entry, const EntryMarks::EnteredValue &value);
    void handleWriteFailure(const QString &message);
    QCoro::Task<bool> saveEdits(ChangeOptions options);
    // The change of a save, refused before ExifTool runs when the file is
    // gone or marked read-only.
    static QCoro::Task<ChangeReport> changeFile(std::shared_ptr<MetadataEngine> engine, QUrl file,
                                                QList<TagAssignment> assignments,
                                                ChangeOptions options, QString fileName);
    QCoro::Task<void> handleSaveFailure(std::exception_ptr failure, LoadTicket ticket,
                                        QString fileName, QList<MetadataEntry> sent);
    // The keys among these whose tag name ExifTool's listing does not know;
    // none when the listing cannot be had.
    QCoro::Task<QStringList> unknownKeysAmong(QStringList keys);
    // The file named by the ticket is still shown: its entries take the
    // outcome of a save.
    void markSaveOutcome(const ChangeReport &report, const QList<MetadataEntry> &sent,
                         const QStringList &unknownKeys);
    QCoro::Task<void> lookUpOptions(QString key);
    // Keeps what the tag table says of one key (nothing: it does not know
    // it) and applies it to the whole list; true when an entry changed.
    bool takeDefinition(const QString &key, const std::optional<TagDefinition> &definition);
    // With the tag table already at hand, every key of the whole list is
    // answered at once, before the list is first shown.
    void takeDefinitionsAtHand();
    // The list tags and writability known so far, applied to every entry of
    // the whole list in one pass; true when an entry changed.
    bool applyKnownDefinitions();
    // Whether a shown row's definition is still awaited from a loading table.
    bool isCheckingDefinition(const QString &key) const;
    QCoro::Task<void> reloadAfterChange(QUuid itemID);

    // Removal, presets and the batches that run them
    QCoro::Task<void> removeAllMetadataFromLoadedFiles();
    // The chosen profile when it is not "everything", whose confirmation
    // names no profile; nothing then.
    std::optional<StripProfile> sharingProfile() const;
    // The profile Remove Metadata strips by, "everything" included.
    StripProfile chosenStripProfile() const
    {
        return sharingProfile().value_or(StripProfile::everything());
    }
    // Every strip, of everything or by a profile, goes one way: the same
    // check before and after, serial numbers a raw file keeps blanked, and
    // the proof of what is left; each file's privacy badge then tells it.
    QCoro::Task<void> stripForSharing(QList<MediaItem> items, StripProfile profile);
    QCoro::Task<void> applyPresetWhenChecked(Preset preset, QList<MediaItem> items);
    void exportSelection(MetadataExportFormatter::Format format);
    QCoro::Task<void> loadCopyPreview(CopySource source, QList<QUrl> targets, CopyFamily family,
                                      quint64 generation);
    QCoro::Task<void> loadComparison(QUuid comparisonID, QUrl left, QUrl right);
    QCoro::Task<void> loadDatesPreview(QList<MediaItem> items, DateAdjustment adjustment,
                                       quint64 generation);
    QCoro::Task<void> runDatesBatch(QList<MediaItem> items, DateAdjustment adjustment);
    // Puts items() in the chosen order, reading the dates it needs first.
    QCoro::Task<void> applyItemOrder();
    // One file's change of a batch, made as asked.
    using FileChange = std::function<QCoro::Task<FileOutcome>(QUrl file, ChangeOptions options)>;
    // The change run on a file as every engine call of the window runs
    // (callEngine), while the window is there; once it closed, the file in
    // flight is changed without it.
    BatchRun::Operation withScope(FileChange change, ChangeOptions options);
    static QCoro::Task<FileOutcome> changeInScope(QPointer<LibraryViewModel> library,
                                                  FileChange change, ChangeOptions options,
                                                  QUrl file);
    using BatchReporter = std::function<BatchReportTexts::Report(const BatchRun::Outcome &)>;
    // Runs the change over the items one after the other, publishing its
    // progress, and shows the report at the end; the files ExifTool
    // stopped at for a minor error can then be changed anyway.
    QCoro::Task<void> performBatch(BatchProgress progress, QList<MediaItem> items,
                                   FileChange change, ChangeOptions options,
                                   BatchReporter reporter);
    // Refuses (with a status) while a batch runs.
    bool refuseWhileBatchRuns();
    void setBatchProgress(std::optional<BatchProgress> progress);
    // The progress bar told that a file of the running batch starts or is
    // done (nothing without a bar).
    void showBatchStarting(qsizetype index, const QString &fileName);
    void showBatchFinished(qsizetype index);
    // Shows the report; an offer to write anyway repeats the change.
    void showReport(const BatchReportTexts::Report &report, std::function<void()> writeAnyway = {});
    void offerWriteAnyway(const QString &title, const QString &message,
                          std::function<void()> repeat);
    // The file of the item changed: its thumbnail is drawn again.
    void fileDidChange(QUuid itemID);

    // Field settings
    void loadFieldSettings();
    // Makes these the pins and fields shown, when they differ from the ones
    // shown now.
    void showFieldSettings(QSet<QString> pinned, QList<CustomMetadataTag> custom);
    void migrateDefaultOverrides();
    void fieldSettingsDidChange();

    // Export
    void writeExport(const QList<MetadataEntry> &entries, MetadataExportFormatter::Format format,
                     const QUrl &destination);

    // Keeps the library busy for as long as it lives: every operation that
    // runs ExifTool for the window holds one, so the library is idle only
    // when none runs (a read dropped for a newer one included). Safe to
    // outlive the library.
    class BusyScope {
    public:
        explicit BusyScope(LibraryViewModel *library);
        ~BusyScope();
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        QPointer<LibraryViewModel> m_library;
    };
    void showError(const QString &message);
    void showError(const QString &message, const QString &title);
    void notifyPendingChanges();
    void setHasPendingChanges(bool pending);
    void notePrivacyFindings();
    void setPrivacyFlag(QUuid itemID, bool flagged);
    // The badges of files nobody has looked at, or that changed: each file
    // checked in the background, one at a time, so that a read the user
    // asks for waits behind one check at most.
    void checkPrivacyLater(const QList<QUuid> &itemIDs);
    QCoro::Task<void> checkQueuedPrivacy();

    std::shared_ptr<MetadataEngine> m_engine;
    PresetsStore *m_presetsStore = nullptr;
    QString m_stripProfileName = QStringLiteral("everything");
    QSet<QUuid> m_privacyFlagged;
    // How often each file's badge was told; a check queued or begun before
    // the count moved would tell of the file as it was.
    QHash<QUuid, quint64> m_privacyNews;
    QList<std::pair<QUuid, quint64>> m_privacyQueue;
    bool m_checkingPrivacy = false;
    QImage m_hiddenPicture;
    // The file the hidden picture was read of, or is being read of.
    std::optional<QUuid> m_hiddenPictureItem;
    QCoro::Task<void> readHiddenPicture(MediaItem item);
    FavoriteTagsStore &m_favoriteStore;
    std::unique_ptr<StatusTimer> m_statusTimer;
    std::shared_ptr<SavePanel> m_savePanel;
    ThumbnailLoader *m_thumbnails = nullptr;
    ThumbnailDemand m_thumbnailDemand;

    QList<MediaItem> m_items;
    std::optional<QUuid> m_selectedItemID;
    ItemSelection m_selection;
    SelectionReads m_reads;
    // The shared list's rows by key, while several files are selected.
    QHash<QString, SharedTagList::Row> m_sharedRows;
    // Each selected file's privacy findings, by name, for the Privacy view
    // of several files.
    QList<std::pair<QString, PrivacyFindings>> m_selectionFindings;
    quint64 m_lastStepGroup = 0;
    // Every entry of the file named by m_entriesItemID, placeholders
    // included, in display order; edits change only this list.
    QList<MetadataEntry> m_fullEntryList;
    std::optional<QUuid> m_entriesItemID;
    QList<MetadataEntry> m_visibleEntries;
    // Where each key sits in m_fullEntryList and m_visibleEntries, so that
    // an edit finds its entry without a walk of either.
    QHash<QString, qsizetype> m_fullRowOfKey;
    QHash<QString, qsizetype> m_visibleRowOfKey;
    QString m_searchText;
    std::optional<QString> m_statusMessage;
    int m_busyOperations = 0;
    std::optional<ViewModelError> m_activeError;
    std::optional<PresetManagerState> m_presetManagerState;
    std::optional<RemoveAllMetadataRequest> m_removeAllMetadataRequest;
    std::optional<RemoveMetadataRequest> m_removeMetadataRequest;
    bool m_isMetadataSettingsPresented = false;
    SettingsTab m_settingsTab = SettingsTab::metadata;
    QSet<QString> m_pinnedTags;
    QList<CustomMetadataTag> m_customTags;
    OptionsByKey m_enumeratedOptions;
    QSet<QString> m_nonEnumeratedTags;
    QSet<QString> m_loadingEnumerations;
    QHash<QString, bool> m_writableOverrides;
    QHash<QString, QByteArray> m_bookmarks;
    // Raised whenever the selection moves; a read that finishes under an
    // older number belongs to a file no longer shown and is dropped.
    quint64 m_loadGeneration = 0;
    std::optional<BatchProgress> m_batchProgress;
    int m_batchLanes = BatchRun::defaultLanes();
    std::optional<WriteAnywayRequest> m_writeAnywayRequest;
    std::optional<CopyMetadataRequest> m_copyMetadataRequest;
    CopyPreviewState m_copyPreview;
    // Raised with every preview asked; an older one that finishes late is dropped.
    quint64 m_copyPreviewGeneration = 0;
    std::optional<Comparison> m_comparison;
    std::optional<AdjustDatesRequest> m_adjustDatesRequest;
    DatePreviewState m_datesPreview;
    quint64 m_datesPreviewGeneration = 0;
    std::optional<DatesUndoStep> m_datesUndo;
    // Raised with every edit step; the change of dates keeps the number it
    // came after.
    quint64 m_editStepStamp = 0;
    quint64 m_datesUndoStamp = 0;
    ItemOrder m_itemOrder = ItemOrder::name;
    QHash<QUuid, qint64> m_importRank;
    qint64 m_nextImportRank = 0;
    // What confirming the request does.
    std::function<void()> m_writeAnyway;
    std::optional<QString> m_readOnlyFormatNote;
    // The shown file's format cannot be written: its entries stay read-only
    // whatever the tag table says, and get no placeholders.
    bool m_entriesFormatReadOnly = false;
    // Keys the tag table calls lists; an entry read as one value becomes one.
    QSet<QString> m_listTags;
    // The tag names of ExifTool's listing, once a save asked for them.
    std::optional<QSet<QString>> m_knownTagNames;
    bool m_hadPendingChanges = false;
    // The entry list holds the read of m_entriesItemID (not the empty list
    // shown while it is read).
    bool m_entriesPublished = false;
    // The edits of files not shown, by item and key, put back on top of
    // their next read.
    QHash<QUuid, QHash<QString, EntryMarks::EnteredValue>> m_parkedEdits;
    QSet<QUuid> m_modifiedItemIDs;
    QList<EditStep> m_undoSteps;
    QList<EditStep> m_redoSteps;
    // What the open settings sheet started from or last sent: its drafts are
    // stored as changes against these, so a pin or field another window
    // added meanwhile is kept.
    QSet<QString> m_draftBasePins;
    QList<CustomMetadataTag> m_draftBaseCustom;
    // Last: it reads the lists above until it is gone.
    EntryTreeModel m_entryTree;
};

} // namespace Metaloom
