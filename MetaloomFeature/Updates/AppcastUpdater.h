#pragma once

#include "Appcast.h"
#include "UpdateBackend.h"
#include "UpdateCheckOutcome.h"

#include "MetaloomFeature/Platform/AppInfo.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

namespace Metaloom {

// The update mechanism of this platform: it reads the maker's update feed
// and tells the user whether a newer version exists, with a button to its
// download page. It installs nothing. The feed is compared by build number
// ("CFBundleVersion"), shown by short version.
class AppcastUpdater : public UpdateBackend {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds requestTimeout{15'000};
    static constexpr std::chrono::hours automaticCheckInterval{24};
    // No real feed comes near this; a larger answer is refused, not read.
    static constexpr qint64 maximumFeedSize = 4 * 1024 * 1024;
    static inline const char *feedURLVariable = "METALOOM_APPCAST_URL";

    // A mechanism that is not started never checks and never reports that a
    // check is possible. The outcomes to show go to `present`: every check
    // the user asked for, a silent one only when it found a newer version.
    AppcastUpdater(const AppInfo &info, bool started, UpdatePresenter present,
                   QObject *parent = nullptr);
    AppcastUpdater(const AppInfo &info, bool started, const QUrl &feedURL, UpdatePresenter present,
                   std::chrono::milliseconds timeout = requestTimeout, QObject *parent = nullptr);
    ~AppcastUpdater() override;

    // The feed's address: the variable's value when it is an absolute web
    // address, otherwise the information list's "SUFeedURL".
    static QUrl feedURL(const AppInfo &info, const std::optional<QString> &environmentValue);
    static QUrl defaultFeedURL(const AppInfo &info);

    bool canCheckForUpdates() const override;
    void setAutomaticallyChecksForUpdates(bool enabled) override;
    void checkForUpdatesInBackground() override;
    void checkForUpdates() override;

    bool isChecking() const { return m_reply != nullptr; }

Q_SIGNALS:
    // After every check, shown to the user or not.
    void checkFinished(const Metaloom::UpdateCheckOutcome &outcome, bool userInitiated);

private:
    void startCheck(bool userInitiated);
    void finishCheck();
    UpdateCheckOutcome outcomeOf(QNetworkReply *reply) const;
    QString currentVersionText() const;

    AppInfo m_info;
    bool m_started;
    QUrl m_feedURL;
    UpdatePresenter m_present;
    std::chrono::milliseconds m_timeout;
    // One manager for the life of the updater, as replies must not outlive it.
    QNetworkAccessManager m_network;
    QTimer m_schedule;
    QPointer<QNetworkReply> m_reply;
    bool m_userInitiated = false;
    bool m_feedTooLarge = false;
};

} // namespace Metaloom
