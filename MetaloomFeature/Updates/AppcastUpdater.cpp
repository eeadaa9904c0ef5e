#include "AppcastUpdater.h"

#include "VersionComparison.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace Metaloom {

namespace {

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == u"https" || url.scheme() == u"http");
}

QString failureText(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString reason =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
        return QCoreApplication::translate("AppcastUpdater", "The update server answered %1%2.")
            .arg(status)
            .arg(reason.isEmpty() ? QString() : QLatin1Char(' ') + reason);
    }
    switch (reply->error()) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return QCoreApplication::translate("AppcastUpdater",
                                           "The update server did not answer in time.");
    default:
        return QCoreApplication::translate("AppcastUpdater",
                                           "The update feed could not be loaded: %1")
            .arg(reply->errorString());
    }
}

} // namespace

AppcastUpdater::AppcastUpdater(const AppInfo &info, bool started, UpdatePresenter present,
                               QObject *parent)
    : AppcastUpdater(info, started, defaultFeedURL(info), std::move(present), requestTimeout,
                     parent)
{}

AppcastUpdater::AppcastUpdater(const AppInfo &info, bool started, const QUrl &feedURL,
                               UpdatePresenter present, std::chrono::milliseconds timeout,
                               QObject *parent)
    : UpdateBackend(parent), m_info(info), m_started(started), m_feedURL(feedURL),
      m_present(std::move(present)), m_timeout(timeout)
{
    m_schedule.setInterval(automaticCheckInterval);
    connect(&m_schedule, &QTimer::timeout, this, &AppcastUpdater::checkForUpdatesInBackground);
}

AppcastUpdater::~AppcastUpdater()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

QUrl AppcastUpdater::feedURL(const AppInfo &info, const std::optional<QString> &environmentValue)
{
    if (environmentValue) {
        const QUrl fromEnvironment(environmentValue->trimmed());
        if (isWebAddress(fromEnvironment))
            return fromEnvironment;
    }
    return QUrl(info.string(AppInfo::updateFeedKey).value_or(QString()));
}

QUrl AppcastUpdater::defaultFeedURL(const AppInfo &info)
{
    std::optional<QString> value;
    if (qEnvironmentVariableIsSet(feedURLVariable))
        value = qEnvironmentVariable(feedURLVariable);
    return feedURL(info, value);
}

bool AppcastUpdater::canCheckForUpdates() const
{
    return m_started && !isChecking();
}

void AppcastUpdater::setAutomaticallyChecksForUpdates(bool enabled)
{
    if (enabled && m_started)
        m_schedule.start();
    else
        m_schedule.stop();
}

void AppcastUpdater::checkForUpdatesInBackground()
{
    startCheck(false);
}

void AppcastUpdater::checkForUpdates()
{
    startCheck(true);
}

void AppcastUpdater::startCheck(bool userInitiated)
{
    if (!canCheckForUpdates())
        return;
    m_userInitiated = userInitiated;
    m_feedTooLarge = false;
    if (!isWebAddress(m_feedURL)) {
        UpdateCheckOutcome outcome;
        outcome.currentVersion = currentVersionText();
        outcome.errorMessage =
            QCoreApplication::translate("AppcastUpdater", "No update feed is configured.");
        Q_EMIT checkFinished(outcome, userInitiated);
        if (userInitiated && m_present)
            m_present(outcome);
        return;
    }
    QNetworkRequest request(m_feedURL);
    request.setTransferTimeout(int(m_timeout.count()));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (m_reply && std::max(received, total) > maximumFeedSize) {
            m_feedTooLarge = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &AppcastUpdater::finishCheck);
    Q_EMIT canCheckForUpdatesChanged(false);
}

void AppcastUpdater::finishCheck()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    const UpdateCheckOutcome outcome = outcomeOf(reply);
    m_reply = nullptr;
    reply->deleteLater();
    Q_EMIT canCheckForUpdatesChanged(canCheckForUpdates());
    Q_EMIT checkFinished(outcome, m_userInitiated);
    // A silent check speaks up only when there is something to install.
    const bool show = m_userInitiated || outcome.kind == UpdateCheckOutcome::Kind::UpdateAvailable;
    if (show && m_present)
        m_present(outcome);
}

UpdateCheckOutcome AppcastUpdater::outcomeOf(QNetworkReply *reply) const
{
    UpdateCheckOutcome outcome;
    outcome.currentVersion = currentVersionText();
    const QByteArray body = reply->readAll();
    if (reply->error() != QNetworkReply::NoError) {
        outcome.errorMessage =
            m_feedTooLarge
                ? QCoreApplication::translate("AppcastUpdater", "The update feed is too large.")
                : failureText(reply);
        return outcome;
    }
    QString parseError;
    const std::optional<Appcast> appcast = Appcast::parse(body, &parseError);
    if (!appcast) {
        outcome.errorMessage = parseError;
        return outcome;
    }
    const QString running = m_info.string(AppInfo::buildNumberKey).value_or(QString());
    const std::optional<Appcast::Item> newest = appcast->newest();
    if (newest && compareVersions(newest->version, running) > 0) {
        outcome.kind = UpdateCheckOutcome::Kind::UpdateAvailable;
        outcome.update = newest;
    } else {
        outcome.kind = UpdateCheckOutcome::Kind::UpToDate;
    }
    return outcome;
}

QString AppcastUpdater::currentVersionText() const
{
    return QStringLiteral("%1 (%2)").arg(m_info.textOrHyphen(AppInfo::shortVersionKey),
                                         m_info.textOrHyphen(AppInfo::buildNumberKey));
}

} // namespace Metaloom
