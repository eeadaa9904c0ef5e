#include "MetaloomFeature/Views/Editor/EntryCard.h"

#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"

namespace Metaloom {

EntryCard EntryCard::at(const QModelIndex &index)
{
    EntryCard card;
    card.name = index.data(Qt::DisplayRole).toString();
    card.rawKey = index.data(EntryTreeModel::RawKeyRole).toString();
    card.isList = index.data(EntryTreeModel::IsListRole).toBool();
    if (card.isList)
        card.items = index.data(Qt::EditRole).toStringList();
    else
        card.value = index.data(Qt::EditRole).toString();
    card.isWritable = index.data(EntryTreeModel::WritableRole).toBool();
    card.isModified = index.data(EntryTreeModel::ModifiedRole).toBool();
    card.isFavorite = index.data(EntryTreeModel::FavoriteRole).toBool();
    card.isDefaultFavorite = index.data(EntryTreeModel::DefaultFavoriteRole).toBool();
    card.showsPicker = index.data(EntryTreeModel::ShowsPickerRole).toBool();
    if (const QVariant warning = index.data(EntryTreeModel::WarningRole); warning.isValid())
        card.warning = warning.toString();
    return card;
}

bool EntryCard::isSection(const QModelIndex &index)
{
    return index.data(EntryTreeModel::IsSectionRole).toBool();
}

} // namespace Metaloom
