// Remove Metadata by a strip profile: the profile chosen, the ones to choose
// from, and the strip for sharing of one or several files with its proof.

#include "LibraryViewModel.h"

#include "FileOperations.h"
#include "PrivacyReportTexts.h"

#include "MetaloomFeature/Model/StoredListChange.h"
#include "MetaloomFeature/Platform/Preferences.h"

namespace Metaloom {

void LibraryViewModel::setStripProfileName(const QString &name)
{
    if (name == m_stripProfileName || !StripProfile::named(name, stripProfiles()))
        return;
    m_stripProfileName = name;
    Q_EMIT stripProfileNameChanged();
}

QList<StripProfile> LibraryViewModel::stripProfiles() const
{
    // An absent or unreadable list counts as empty, as for the presets.
    const QList<StripProfile> own =
        readableDataList(Preferences::standard(), StripProfiles::preferencesKey,
                         &StripProfiles::decode)
            .value_or(QList<StripProfile>());
    return StripProfile::builtIn() + own;
}

std::optional<StripProfile> LibraryViewModel::sharingProfile() const
{
    if (m_stripProfileName == StripProfile::everything().name)
        return std::nullopt;
    return StripProfile::named(m_stripProfileName, stripProfiles());
}

QCoro::Task<void> LibraryViewModel::stripForSharing(QList<MediaItem> items, StripProfile profile)
{
    const QString title = PrivacyReportTexts::profileTitle(profile);
    QPointer<LibraryViewModel> self(this);
    co_await performBatch(
        BatchProgress{}, items,
        [engine = m_engine, profile](QUrl url, ChangeOptions options) {
            return FileOperations::stripForSharing(engine, url, profile, options);
        },
        ChangeOptions{},
        [title, self, items](const BatchRun::Outcome &outcome) {
            // The proof is the file's check as it now is.
            for (qsizetype index = 0; self && index < outcome.files.size(); ++index) {
                if (const auto &proof = outcome.files.at(index).proof)
                    self->setPrivacyFlag(items.at(index).id, !proof->after.isEmpty());
            }
            return PrivacyReportTexts::proofReport(title, outcome);
        });
}

} // namespace Metaloom
