#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>

namespace Metaloom {

// Which files' thumbnails are worth making and keeping. Only the rows the
// sidebar shows (and those about to scroll in) and the selected files the
// header shows are wanted: a drop of ten thousand photos decodes a
// screenful, not ten thousand pictures. Made thumbnails are kept while they
// fit in `keptLimit`; beyond it, those longest out of view are let go and
// made again should their rows come back.
class ThumbnailDemand {
public:
    // What the loader is to do after a change of demand.
    struct Step {
        // Start rendering these.
        QList<QUuid> request;
        // Renders no longer wanted before they finished; drop them.
        QList<QUuid> cancel;
        // Made thumbnails to let go of.
        QList<QUuid> release;

        bool isEmpty() const { return request.isEmpty() && cancel.isEmpty() && release.isEmpty(); }
    };

    explicit ThumbnailDemand(int keptLimit = 1500) : m_keptLimit(keptLimit) {}

    Step setInView(const QList<QUuid> &itemIDs);
    Step setSelected(const QList<QUuid> &itemIDs);
    // A render finished: the thumbnail is now held. False when it was no
    // longer asked for.
    bool delivered(const QUuid &itemID);
    // The file changed on disk: its thumbnail is made again if wanted, else
    // let go, so an old picture never comes back into view.
    Step fileChanged(const QUuid &itemID);
    // The item left the list.
    void forget(const QUuid &itemID);
    void forgetAll();

    bool isWanted(const QUuid &itemID) const { return m_wanted.contains(itemID); }
    qsizetype heldCount() const { return m_held.size(); }

private:
    Step update();

    int m_keptLimit;
    QList<QUuid> m_inView;
    QList<QUuid> m_selected;
    QSet<QUuid> m_wanted;
    QSet<QUuid> m_pending;
    // Held thumbnails, by when they were last wanted.
    QHash<QUuid, quint64> m_held;
    quint64 m_clock = 0;
};

} // namespace Metaloom
