// The privacy check of the file shown, for the Privacy view.

#include "LibraryViewModel.h"

#include "PrivacyReportTexts.h"

namespace Metaloom {

QList<LibraryViewModel::PrivacyGroup> LibraryViewModel::privacyGroups() const
{
    const PrivacyFindings findings = PrivacyFindings::of(m_fullEntryList);
    QList<PrivacyGroup> groups;
    for (PrivacyClass privacyClass : PrivacyClasses::all()) {
        const QStringList keys = findings.of(privacyClass);
        if (keys.isEmpty())
            continue;
        PrivacyGroup group{PrivacyReportTexts::classTitle(privacyClass), {}};
        for (const MetadataEntry &entry : m_fullEntryList) {
            if (keys.contains(entry.rawKey))
                group.entries << entry;
        }
        groups << group;
    }
    return groups;
}

void LibraryViewModel::notePrivacyFindings()
{
    // The entries of several files at once are no one file's.
    if (!m_selectedItemID || isMultiSelection())
        return;
    setPrivacyFlag(*m_selectedItemID, !PrivacyFindings::of(m_fullEntryList).isEmpty());
}

void LibraryViewModel::setPrivacyFlag(QUuid itemID, bool flagged)
{
    if (m_privacyFlagged.contains(itemID) == flagged)
        return;
    if (flagged)
        m_privacyFlagged.insert(itemID);
    else
        m_privacyFlagged.remove(itemID);
    Q_EMIT privacyFlaggedItemIDsChanged();
}

} // namespace Metaloom
