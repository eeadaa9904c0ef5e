#pragma once

#include "MetaloomFeature/Model/MediaItem.h"

#include <QList>
#include <QUuid>

#include <optional>

namespace Metaloom {

// The files selected in the sidebar, in list order: one or none for the
// usual single file, several when the user picked more. Which of them is the
// current file is the library's selectedItemID.
class ItemSelection {
public:
    const QList<QUuid> &ids() const { return m_ids; }
    qsizetype size() const { return m_ids.size(); }
    bool contains(const QUuid &id) const { return m_ids.contains(id); }

    // Takes the wanted ids that are listed, once each, in the order of the
    // list; true when that changed the selection.
    bool select(const QList<QUuid> &wanted, const QList<MediaItem> &items);
    bool selectOne(const std::optional<QUuid> &id);
    // A file left the list.
    bool forget(const QUuid &id) { return m_ids.removeAll(id) > 0; }

    // "5 files selected".
    static QString countText(qsizetype count);
    // The files' types with how many of each, most first: "3 JPG, 2 CR2".
    static QString typeSummary(const QList<MediaItem> &items);

    // The listed ids among the wanted ones, in list order.
    static QList<QUuid> inListOrder(const QList<QUuid> &wanted, const QList<MediaItem> &items);

private:
    QList<QUuid> m_ids;
};

} // namespace Metaloom
