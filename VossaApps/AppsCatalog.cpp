#include "AppsCatalog.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent>

namespace VossaApps {

AppsCatalog::Source AppsCatalog::Source::standard()
{
    return {[] { return QtConcurrent::run(&AppsLoader::cached); },
            [](const QUrl &url) { return AppsLoader::load(url); }};
}

AppsCatalog::AppsCatalog(Source source, QObject *parent)
    : QObject(parent), m_source(std::move(source))
{
    if (!m_source.cached)
        return;
    // The watcher reports from the event loop even when the read is already
    // done, so the list always arrives after construction, and never once
    // the catalog is gone.
    auto *watcher = new QFutureWatcher<std::optional<AppsFeed>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (watcher->future().resultCount() > 0)
            adoptCachedFeed(watcher->result());
    });
    watcher->setFuture(m_source.cached());
}

void AppsCatalog::adoptCachedFeed(const std::optional<AppsFeed> &feed)
{
    // A list from the network is newer than anything in the cache.
    if (!feed || m_hasLoaded)
        return;
    setApps(feed->apps);
    if (!m_apps.isEmpty())
        setLoadError(QString());
}

AppsCatalog *AppsCatalog::shared()
{
    // Owned by the application object, so it is torn down with the rest of
    // Qt instead of after it.
    static QPointer<AppsCatalog> catalog;
    if (!catalog)
        catalog = new AppsCatalog(Source::standard(), QCoreApplication::instance());
    return catalog;
}

QFuture<void> AppsCatalog::refresh(const QUrl &feedURL)
{
    if (m_isLoading)
        return QtFuture::makeReadyFuture();
    m_isLoading = true;
    return m_source.load(feedURL)
        .then(this, [this](const AppsLoadResult &result) { finishRefresh(result); })
        .onCanceled(this, [this] {
            // The request went away without an answer (the process is
            // shutting down); the catalog must not stay "loading" for ever.
            finishRefresh(AppsLoadResult::failure(tr("The request was cancelled.")));
        });
}

QFuture<void> AppsCatalog::refreshIfNeeded(const QUrl &feedURL)
{
    if (m_hasLoaded)
        return QtFuture::makeReadyFuture();
    return refresh(feedURL);
}

QList<AppsFeed::Entry> AppsCatalog::others(const QString &currentApp) const
{
    return otherApps(m_apps, currentApp);
}

void AppsCatalog::finishRefresh(const AppsLoadResult &result)
{
    // Cleared first, so an observer that refreshes again is not turned away.
    m_isLoading = false;
    if (result.feed) {
        m_hasLoaded = true;
        setApps(result.feed->apps);
        setLoadError(QString());
    } else {
        // An error is worth showing only in place of a list. It must never be
        // empty, or the list view would wait for ever.
        const QString message = result.errorMessage.isEmpty()
                                    ? tr("The app list could not be loaded.")
                                    : result.errorMessage;
        setLoadError(m_apps.isEmpty() ? message : QString());
    }
}

void AppsCatalog::setApps(const QList<AppsFeed::Entry> &apps)
{
    if (apps == m_apps)
        return;
    m_apps = apps;
    Q_EMIT appsChanged();
}

void AppsCatalog::setLoadError(const QString &message)
{
    if (message == m_loadError)
        return;
    m_loadError = message;
    Q_EMIT loadErrorChanged();
}

} // namespace VossaApps
