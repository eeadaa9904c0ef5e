#include "MetaloomFeature/Library/Thumbnails/ThumbnailDemand.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace Metaloom {

ThumbnailDemand::Step ThumbnailDemand::setInView(const QList<QUuid> &itemIDs)
{
    m_inView = itemIDs;
    return update();
}

ThumbnailDemand::Step ThumbnailDemand::setSelected(const QList<QUuid> &itemIDs)
{
    m_selected = itemIDs;
    return update();
}

bool ThumbnailDemand::delivered(const QUuid &itemID)
{
    if (!m_pending.remove(itemID))
        return false;
    m_held.insert(itemID, m_clock);
    return true;
}

ThumbnailDemand::Step ThumbnailDemand::fileChanged(const QUuid &itemID)
{
    Step step;
    if (m_wanted.contains(itemID)) {
        // The old picture stays up until the new one replaces it.
        m_pending.insert(itemID);
        step.request.append(itemID);
        return step;
    }
    if (m_pending.remove(itemID))
        step.cancel.append(itemID);
    if (m_held.remove(itemID))
        step.release.append(itemID);
    return step;
}

void ThumbnailDemand::forget(const QUuid &itemID)
{
    m_inView.removeAll(itemID);
    m_selected.removeAll(itemID);
    m_wanted.remove(itemID);
    m_pending.remove(itemID);
    m_held.remove(itemID);
}

void ThumbnailDemand::forgetAll()
{
    *this = ThumbnailDemand(m_keptLimit);
}

ThumbnailDemand::Step ThumbnailDemand::update()
{
    Step step;
    QSet<QUuid> wanted(m_inView.cbegin(), m_inView.cend());
    wanted.unite(QSet<QUuid>(m_selected.cbegin(), m_selected.cend()));
    ++m_clock;
    // In the order given: the sidebar lists its rows top to bottom, so the
    // first rows in view are drawn first.
    for (const QList<QUuid> *ids : {&m_selected, &m_inView}) {
        for (const QUuid &id : *ids) {
            if (auto held = m_held.find(id); held != m_held.end()) {
                *held = m_clock;
            } else if (!m_pending.contains(id)) {
                m_pending.insert(id);
                step.request.append(id);
            }
        }
    }
    for (auto pending = m_pending.begin(); pending != m_pending.end();) {
        if (wanted.contains(*pending)) {
            ++pending;
            continue;
        }
        step.cancel.append(*pending);
        pending = m_pending.erase(pending);
    }
    m_wanted = std::move(wanted);

    // Let go a tenth below the limit at once, so scrolling at the limit
    // does not sort the held thumbnails on every step.
    if (m_held.size() > m_keptLimit) {
        std::vector<std::pair<quint64, QUuid>> unwanted;
        for (auto held = m_held.cbegin(); held != m_held.cend(); ++held) {
            if (!m_wanted.contains(held.key()))
                unwanted.emplace_back(held.value(), held.key());
        }
        std::sort(unwanted.begin(), unwanted.end());
        const qsizetype target = m_keptLimit - m_keptLimit / 10;
        for (const auto &[stamp, id] : unwanted) {
            if (m_held.size() <= target)
                break;
            m_held.remove(id);
            step.release.append(id);
        }
    }
    return step;
}

} // namespace Metaloom
