#include "MetaloomFeature/Library/FieldSettings/PinnableKeysModel.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

namespace Metaloom {

PinnableKeysModel::PinnableKeysModel(QObject *parent) : QAbstractListModel(parent) {}

void PinnableKeysModel::setKeys(const QStringList &keys, const QStringList &labels)
{
    Q_ASSERT(keys.size() == labels.size());
    if (keys == m_keys) {
        m_labels = labels;
        if (!m_rows.isEmpty())
            Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1));
        return;
    }
    beginResetModel();
    m_keys = keys;
    m_labels = labels;
    refilter();
    endResetModel();
}

void PinnableKeysModel::setFilter(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_filter)
        return;
    beginResetModel();
    m_filter = trimmed;
    refilter();
    endResetModel();
}

void PinnableKeysModel::refilter()
{
    m_rows.clear();
    m_rows.reserve(m_keys.size());
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        if (m_filter.isEmpty() || LocalizedText::contains(m_labels.at(i), m_filter) ||
            LocalizedText::contains(m_keys.at(i), m_filter))
            m_rows.append(i);
    }
}

void PinnableKeysModel::setPinned(const QSet<QString> *pinned)
{
    m_pinned = pinned;
    pinnedDidChange();
}

void PinnableKeysModel::pinnedDidChange()
{
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1), {Qt::CheckStateRole});
}

QStringList PinnableKeysModel::filteredKeys() const
{
    QStringList keys;
    keys.reserve(m_rows.size());
    for (qsizetype position : m_rows)
        keys.append(m_keys.at(position));
    return keys;
}

int PinnableKeysModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant PinnableKeysModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const qsizetype position = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        // A custom field without a label of its own is labelled empty; its
        // key then stands in, so no row reads blank.
        return m_labels.at(position).isEmpty() ? m_keys.at(position) : m_labels.at(position);
    case RawKeyRole:
    case Qt::ToolTipRole:
        return m_keys.at(position);
    case Qt::CheckStateRole:
        return m_pinned && m_pinned->contains(m_keys.at(position)) ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool PinnableKeysModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const bool pinned = value.value<Qt::CheckState>() == Qt::Checked;
    Q_EMIT pinnedChanged(m_keys.at(m_rows.at(index.row())), pinned);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags PinnableKeysModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

} // namespace Metaloom
