#pragma once

#include <QAbstractListModel>
#include <QSet>
#include <QStringList>

#include <functional>

namespace Metaloom {

// The keys offered for pinning, filtered by the search text: one row per
// key, showing its label, with a check box that is on while the key is
// pinned. The pinned set belongs to whoever shows the list; the model reads
// it and reports toggles through `pinnedChanged`.
class PinnableKeysModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { RawKeyRole = Qt::UserRole + 1 };

    explicit PinnableKeysModel(QObject *parent = nullptr);

    // The full list in its order, each key with its label. A list equal to
    // the current one only repaints, so a view keeps its place.
    void setKeys(const QStringList &keys, const QStringList &labels);
    // Keeps the keys whose label or key contains the text, ignoring case;
    // blanks around it do not count, and an empty text keeps them all.
    void setFilter(const QString &text);
    // The check boxes read this set; call after the set changed.
    void setPinned(const QSet<QString> *pinned);
    void pinnedDidChange();

    QStringList filteredKeys() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    void pinnedChanged(const QString &key, bool pinned);

private:
    void refilter();

    QStringList m_keys;
    QStringList m_labels;
    QString m_filter;
    // Positions in m_keys of the rows shown.
    QList<qsizetype> m_rows;
    const QSet<QString> *m_pinned = nullptr;
};

} // namespace Metaloom
