#pragma once

#include "Appcast.h"

#include <QString>

#include <functional>
#include <optional>

namespace Metaloom {

// What one check found.
struct UpdateCheckOutcome {
    enum class Kind { UpdateAvailable, UpToDate, Failed };

    Kind kind = Kind::Failed;
    // The running version as shown to the user ("1.2 (34)").
    QString currentVersion;
    // The newer release, for UpdateAvailable.
    std::optional<Appcast::Item> update;
    // Why the check failed, for Failed.
    QString errorMessage;
};

// Shows what a check found to the user. The application hands in its
// dialog; the updater itself shows nothing.
using UpdatePresenter = std::function<void(const UpdateCheckOutcome &outcome)>;

} // namespace Metaloom
