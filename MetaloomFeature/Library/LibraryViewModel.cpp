// Construction, the published properties and the status line.

#include "LibraryViewModel.h"

#include "EntryListMerge.h"
#include "FileOperations.h"
#include "SearchFilter.h"
#include "ThumbnailLoader.h"

#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QGuiApplication>

namespace Metaloom {

namespace {

constexpr std::chrono::seconds statusDuration(3);

qreal screenPixelRatio()
{
    // Sharp on high-density screens; 1 without a GUI application (tools, tests).
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
               ? qGuiApp->devicePixelRatio()
               : 1.0;
}

} // namespace

const QSet<QString> &LibraryViewModel::defaultFavoriteTags()
{
    static const QSet<QString> keys{QStringLiteral("IFD0:Make"),
                                    QStringLiteral("IFD0:Model"),
                                    QStringLiteral("ExifIFD:ExposureTime"),
                                    QStringLiteral("ExifIFD:FNumber"),
                                    QStringLiteral("ExifIFD:ISO"),
                                    QStringLiteral("ExifIFD:FocalLength"),
                                    QStringLiteral("XMP-dc:Title"),
                                    QStringLiteral("XMP-dc:Description"),
                                    QStringLiteral("XMP-dc:Creator"),
                                    QStringLiteral("XMP-dc:Subject"),
                                    QStringLiteral("XMP-photoshop:Credit"),
                                    QStringLiteral("XMP-photoshop:Source"),
                                    QStringLiteral("GPS:GPSLatitude"),
                                    QStringLiteral("GPS:GPSLongitude"),
                                    QStringLiteral("XMP-xmp:Rating")};
    return keys;
}

LibraryViewModel::LibraryViewModel(std::shared_ptr<MetadataEngine> engine, QObject *parent)
    : LibraryViewModel(std::move(engine), makeEventLoopStatusTimer(), parent)
{}

LibraryViewModel::LibraryViewModel(std::shared_ptr<MetadataEngine> engine,
                                   std::unique_ptr<StatusTimer> statusTimer, QObject *parent)
    : QObject(parent), m_engine(std::move(engine)), m_presetsStore(new PresetsStore(this)),
      m_favoriteStore(FavoriteTagsStore::shared()), m_statusTimer(std::move(statusTimer)),
      m_entryTree(entryTreeSource())
{
    Q_ASSERT(m_engine);
    m_thumbnails = new ThumbnailLoader(m_engine, thumbnailSize, screenPixelRatio(), this);
    connect(m_thumbnails, &ThumbnailLoader::thumbnailReady, this,
            &LibraryViewModel::applyThumbnail);
    // The header shows the current file's picture, or a few of a selection's.
    connect(this, &LibraryViewModel::selectedItemIDChanged, this,
            &LibraryViewModel::wantSelectedThumbnails);
    connect(this, &LibraryViewModel::selectedItemIDsChanged, this,
            &LibraryViewModel::wantSelectedThumbnails);
    // The editor's tree follows an edit and a list of permitted values row by row.
    connect(this, &LibraryViewModel::filteredEntryChanged, &m_entryTree,
            &EntryTreeModel::entryDidChange);
    connect(this, &LibraryViewModel::optionsLoaded, &m_entryTree,
            &EntryTreeModel::optionsDidChange);
    // A file read for the editor is checked for what gives it away.
    connect(this, &LibraryViewModel::filteredEntriesChanged, this,
            &LibraryViewModel::notePrivacyFindings);
    loadFieldSettings();
    migrateDefaultOverrides();
}

LibraryViewModel::~LibraryViewModel() = default;

std::optional<MediaItem> LibraryViewModel::selectedItem() const
{
    if (!m_selectedItemID)
        return std::nullopt;
    for (const MediaItem &item : m_items) {
        if (item.id == *m_selectedItemID)
            return item;
    }
    return std::nullopt;
}

void LibraryViewModel::setSearchText(const QString &text)
{
    const bool changed = text != m_searchText;
    m_searchText = text;
    if (changed)
        Q_EMIT searchTextChanged();
    showSearchResults();
}

void LibraryViewModel::setActiveError(std::optional<ViewModelError> error)
{
    if (error == m_activeError)
        return;
    m_activeError = std::move(error);
    Q_EMIT activeErrorChanged();
}

void LibraryViewModel::showError(const QString &message)
{
    setActiveError(ViewModelError(message));
}

void LibraryViewModel::showError(const QString &message, const QString &title)
{
    setActiveError(ViewModelError(message, title));
}

LibraryViewModel::BusyScope::BusyScope(LibraryViewModel *library) : m_library(library)
{
    if (++library->m_busyOperations == 1)
        Q_EMIT library->isBusyChanged();
}

LibraryViewModel::BusyScope::~BusyScope()
{
    if (m_library && --m_library->m_busyOperations == 0)
        Q_EMIT m_library->isBusyChanged();
}

void LibraryViewModel::setMetadataSettingsPresented(bool presented)
{
    if (presented == m_isMetadataSettingsPresented)
        return;
    m_isMetadataSettingsPresented = presented;
    if (presented) {
        m_draftBasePins = m_pinnedTags;
        m_draftBaseCustom = m_customTags;
    }
    Q_EMIT isMetadataSettingsPresentedChanged();
}

void LibraryViewModel::setSettingsTab(SettingsTab tab)
{
    if (tab == m_settingsTab)
        return;
    m_settingsTab = tab;
    Q_EMIT settingsTabChanged();
}

void LibraryViewModel::setStatus(const QString &message)
{
    m_statusTimer->stop();
    // Emitted even for the same text: the banner shows it anew.
    m_statusMessage = message;
    Q_EMIT statusMessageChanged();
    // The timer belongs to the library and dies with it, so `this` is safe.
    m_statusTimer->start(statusDuration, [this, message] {
        if (m_statusMessage == message) {
            m_statusMessage.reset();
            Q_EMIT statusMessageChanged();
        }
    });
}

bool LibraryViewModel::hasPendingChanges() const
{
    if (isMultiSelection())
        return std::any_of(m_selection.ids().cbegin(), m_selection.ids().cend(),
                           [this](const QUuid &id) { return m_parkedEdits.contains(id); });
    return std::any_of(m_fullEntryList.cbegin(), m_fullEntryList.cend(),
                       [](const MetadataEntry &entry) { return entry.isModified(); });
}

void LibraryViewModel::notifyPendingChanges()
{
    setHasPendingChanges(hasPendingChanges());
}

void LibraryViewModel::setHasPendingChanges(bool pending)
{
    updateModifiedItems(pending);
    if (pending == m_hadPendingChanges)
        return;
    m_hadPendingChanges = pending;
    Q_EMIT hasPendingChangesChanged();
}

void LibraryViewModel::mergeFieldSettings()
{
    QSet<QString> mixed;
    for (auto row = m_sharedRows.cbegin(); row != m_sharedRows.cend(); ++row) {
        if (row->mixed && isMultiSelection())
            mixed.insert(row.key());
    }
    EntryListMerge::mergeFieldSettings(
        m_fullEntryList,
        {m_pinnedTags, m_customTags, defaultFavoriteTags(), !m_entriesFormatReadOnly, mixed});
    Q_EMIT availableTagKeysChanged();
}

QString LibraryViewModel::displayLabel(const QString &key) const
{
    return EntryListMerge::displayLabel(key, m_customTags, m_fullEntryList);
}

} // namespace Metaloom
