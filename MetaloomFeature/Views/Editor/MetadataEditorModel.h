#pragma once

#include "MetaloomFeature/Engine/TagDefinition.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QUuid>

#include <functional>
#include <optional>

namespace Metaloom {

// The metadata editor's rows: one top-level row per tag group (a section),
// in plain ascending order of the group name, each holding one child row per
// entry of that group in plain ascending order of the tag.
//
// The library publishes a whole new list after every keystroke, search and
// load. The model compares it with what it shows by entry id: an edit
// becomes a dataChanged of its row (so an open editor survives typing), a
// search removes and inserts rows, and only a list with no entry in common
// (another file) resets the model.
class MetadataEditorModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role {
        RawKeyRole = Qt::UserRole + 1,
        IsSectionRole,
        FavoriteRole,
        DefaultFavoriteRole,
        WritableRole,
        ModifiedRole,
        WarningRole,
        // The labels of the permitted values (QStringList), when the tag is
        // known to have a non-empty list; nothing otherwise.
        OptionsRole,
        // Whether the row edits its value with a choice list.
        ShowsPickerRole,
        // Whether the tag is a list, edited item by item; its EditRole is
        // then the items (QStringList), not a text.
        IsListRole,
    };

    using OptionsLookup =
        std::function<std::optional<QList<EnumeratedOption>>(const QString &rawKey)>;
    using ValueChange = std::function<void(const MetadataEntry &entry, const QString &value)>;
    using ItemsChange = std::function<void(const MetadataEntry &entry, const QStringList &items)>;

    explicit MetadataEditorModel(QObject *parent = nullptr);

    // Where the permitted values of a tag are read; without one no row has any.
    void setOptionsLookup(OptionsLookup lookup) { m_optionsLookup = std::move(lookup); }
    // Called by setData() with the entry and the new text (every keystroke).
    void setValueChangeHandler(ValueChange handler) { m_valueChange = std::move(handler); }
    // Called by setData() with a list tag's new items.
    void setItemsChangeHandler(ItemsChange handler) { m_itemsChange = std::move(handler); }

    // Shows this list, grouped and ordered for display.
    void setEntries(const QList<MetadataEntry> &entries);
    // The permitted values of this key changed: its rows are redrawn.
    void optionsDidChange(const QString &rawKey);

    // The entry of a child row; nothing for sections and invalid indexes.
    const MetadataEntry *entry(const QModelIndex &index) const;
    QModelIndex indexOf(const QUuid &entryID) const;
    QStringList optionLabels(const MetadataEntry &entry) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Section {
        QString name;
        // Stable for as long as the group is shown; a child index carries
        // it, so it survives sections coming and going around it.
        quintptr key = 0;
        QList<MetadataEntry> entries;
    };

    QList<Section> groupForDisplay(const QList<MetadataEntry> &entries);
    quintptr keyForGroup(const QString &name);
    bool updateInPlace(const QList<MetadataEntry> &entries);
    bool applyDifferences(QList<Section> target);
    bool applyEntryDifferences(int sectionRow, const QList<MetadataEntry> &target);
    void rebuildLookup();
    int sectionRowForKey(quintptr key) const;

    QList<Section> m_sections;
    QHash<QString, quintptr> m_keyByGroup;
    QHash<quintptr, int> m_sectionRowByKey;
    QHash<QUuid, QPair<int, int>> m_positionByID;
    // The ids of the last list given, in its order: an edit keeps them.
    QList<QUuid> m_inputOrder;
    OptionsLookup m_optionsLookup;
    ValueChange m_valueChange;
    ItemsChange m_itemsChange;
};

} // namespace Metaloom
