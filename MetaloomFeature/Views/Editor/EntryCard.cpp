#include "MetaloomFeature/Views/Editor/EntryCard.h"

#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"

#include <array>

namespace Metaloom {

EntryCard EntryCard::at(const QModelIndex &index)
{
    // One request for every role: the model looks the entry up once.
    std::array<QModelRoleData, 15> roles{{
        QModelRoleData(Qt::DisplayRole),
        QModelRoleData(EntryTreeModel::RawKeyRole),
        QModelRoleData(EntryTreeModel::IsListRole),
        QModelRoleData(Qt::EditRole),
        QModelRoleData(EntryTreeModel::WritableRole),
        QModelRoleData(EntryTreeModel::ModifiedRole),
        QModelRoleData(EntryTreeModel::FavoriteRole),
        QModelRoleData(EntryTreeModel::DefaultFavoriteRole),
        QModelRoleData(EntryTreeModel::ShowsPickerRole),
        QModelRoleData(EntryTreeModel::WarningRole),
        QModelRoleData(EntryTreeModel::MarkedForRemovalRole),
        QModelRoleData(EntryTreeModel::CheckingRole),
        QModelRoleData(EntryTreeModel::MixedValuesRole),
        QModelRoleData(Qt::ToolTipRole),
        QModelRoleData(EntryTreeModel::PresenceNoteRole),
    }};
    index.multiData(roles);
    EntryCard card;
    card.name = roles[0].data().toString();
    card.rawKey = roles[1].data().toString();
    card.isList = roles[2].data().toBool();
    if (card.isList)
        card.items = roles[3].data().toStringList();
    else
        card.value = roles[3].data().toString();
    card.isWritable = roles[4].data().toBool();
    card.isModified = roles[5].data().toBool();
    card.isFavorite = roles[6].data().toBool();
    card.isDefaultFavorite = roles[7].data().toBool();
    card.showsPicker = roles[8].data().toBool();
    if (const QVariant &warning = roles[9].data(); warning.isValid())
        card.warning = warning.toString();
    card.isMarkedForRemoval = roles[10].data().toBool();
    card.isChecking = roles[11].data().toBool();
    card.isMixed = roles[12].data().toBool();
    card.mixedValues = roles[13].data().toString();
    card.presenceNote = roles[14].data().toString();
    return card;
}

std::optional<EntryCard> EntryCard::sizingAt(const QModelIndex &index)
{
    std::array<QModelRoleData, 5> roles{{
        QModelRoleData(EntryTreeModel::IsSectionRole),
        QModelRoleData(EntryTreeModel::IsListRole),
        QModelRoleData(Qt::EditRole),
        QModelRoleData(EntryTreeModel::WritableRole),
        QModelRoleData(EntryTreeModel::ShowsPickerRole),
    }};
    index.multiData(roles);
    if (roles[0].data().toBool())
        return std::nullopt;
    EntryCard card;
    card.isList = roles[1].data().toBool();
    if (card.isList)
        card.items = roles[2].data().toStringList();
    else
        card.value = roles[2].data().toString();
    card.isWritable = roles[3].data().toBool();
    card.showsPicker = roles[4].data().toBool();
    return card;
}

bool EntryCard::isSection(const QModelIndex &index)
{
    return index.data(EntryTreeModel::IsSectionRole).toBool();
}

} // namespace Metaloom
