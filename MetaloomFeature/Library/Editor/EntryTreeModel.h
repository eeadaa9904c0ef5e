#pragma once

#include "MetaloomFeature/Engine/TagDefinition.h"
#include "MetaloomFeature/Library/Selection/SharedTagList.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QUuid>

#include <functional>
#include <optional>

namespace Metaloom {

// The selected file's entries as the metadata editor shows them: one
// top-level row per tag group (a section), in plain ascending order of the
// group name, each holding one child row per entry of that group in plain
// ascending order of the tag.
//
// The model holds the shape of the tree only (which entry, by id and key,
// sits in which row); what a row shows is read from its source when a view
// asks. The source says what changed: a whole new list (a load, a search, a
// change of several entries), which the model follows by entry id so that
// rows go and come and only a list with no entry in common resets it; or
// one entry changed in place, which redraws its row alone (so an open
// editor survives typing and a keystroke costs one row).
class EntryTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role {
        // The entry's key; what a view names a row by.
        RawKeyRole = Qt::UserRole + 1,
        IsSectionRole,
        // Setting it to the other value pins or unpins the tag.
        FavoriteRole,
        DefaultFavoriteRole,
        WritableRole,
        ModifiedRole,
        // The warning text, when the entry has one.
        WarningRole,
        // The labels of the permitted values (QStringList), when the tag is
        // known to have a non-empty list; nothing otherwise.
        OptionsRole,
        // Whether the row edits its value with a choice list.
        ShowsPickerRole,
        // Whether the tag is a list, edited item by item; its EditRole is
        // then the items (QStringList), not a text.
        IsListRole,
        // The tag is emptied and the next save deletes it from the file.
        MarkedForRemovalRole,
        // Whether the tag's definition (its writability above all) is still
        // awaited from the tag table being loaded.
        CheckingRole,
        // With several files selected: they hold differing values of the
        // tag (the row shows "Mixed values"; its tooltip lists them).
        MixedValuesRole,
        // "in 3 of 5 files" when not every selected file holds the tag.
        PresenceNoteRole,
    };

    // Where the rows' entries are read and where what is done to them goes.
    struct Source {
        // The shown entry with this key, or null.
        std::function<const MetadataEntry *(const QString &key)> entry;
        // The permitted values of the tag, when known.
        std::function<std::optional<QList<EnumeratedOption>>(const QString &key)> permittedValues;
        // An edit of a value (every keystroke) and of a list's items.
        std::function<void(const MetadataEntry &entry, const QString &value)> editValue;
        std::function<void(const MetadataEntry &entry, const QStringList &items)> editItems;
        std::function<void(const MetadataEntry &entry)> toggleFavorite;
        // A row came into view: its permitted values may be looked up.
        std::function<void(const MetadataEntry &entry)> entryCameIntoView;
        // Whether the tag's definition is still awaited (unset: never).
        std::function<bool(const QString &key)> isChecking;
        // What several selected files hold of the key (unset or null: one file).
        std::function<const SharedTagList::Row *(const QString &key)> sharedRow;
    };

    explicit EntryTreeModel(Source source, QObject *parent = nullptr);

    // The source shows this list now instead of `previous`: rows go and
    // come, and the kept rows whose entry differs from before are redrawn.
    void showEntries(const QList<MetadataEntry> &previous, const QList<MetadataEntry> &entries);
    // The shown entry with this key changed in place (not its group or tag).
    void entryDidChange(const QString &key);
    // The permitted values of this key changed: its row is redrawn.
    void optionsDidChange(const QString &key);
    // A view shows this row now.
    void rowCameIntoView(const QModelIndex &index);

    // The row of the entry with this key, or an invalid index.
    QModelIndex indexOf(const QString &key) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // All the roles a row's card asks for, with one look-up of its entry.
    void multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    // An entry's place in the tree; an entry keeps its key for its id's life.
    struct Row {
        QUuid id;
        QString key;
        bool operator==(const Row &) const = default;
    };
    struct Section {
        QString name;
        // Stable for as long as the group is shown; a child index carries
        // it, so it survives sections coming and going around it.
        quintptr key = 0;
        QList<Row> rows;
    };

    QList<Section> groupForDisplay(const QList<MetadataEntry> &entries);
    quintptr keyForGroup(const QString &name);
    bool applyDifferences(QList<Section> target);
    bool applyRowDifferences(int sectionRow, const QList<Row> &target);
    // While rows go and come, the views find a row's parent through the
    // sections' rows alone; the entries' positions by key are rebuilt once
    // the tree has its new shape (showEntries does).
    void rebuildSectionLookup();
    void rebuildLookup();
    int sectionRowForKey(quintptr key) const;
    // The entry of a child row, as the source has it now; null for sections,
    // invalid indexes and rows whose entry the source no longer shows.
    const MetadataEntry *entryAt(const QModelIndex &index) const;
    QStringList optionLabels(const QString &key) const;
    bool hasOptions(const QString &key) const;
    QVariant sectionData(int row, int role) const;
    QVariant entryData(const MetadataEntry &entry, int role) const;

    Source m_source;
    QList<Section> m_sections;
    QHash<QString, quintptr> m_keyByGroup;
    QHash<quintptr, int> m_sectionRowByKey;
    QHash<QString, QPair<int, int>> m_positionByKey;
};

} // namespace Metaloom
