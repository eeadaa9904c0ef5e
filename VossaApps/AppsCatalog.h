#pragma once

#include "AppsFeed.h"
#include "AppsLoader.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace VossaApps {

// The list of the maker's applications that the views show: the cached copy
// at first, then the network's. Main thread only; refreshes never block it.
class AppsCatalog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<VossaApps::AppsFeed::Entry> apps READ apps NOTIFY appsChanged)
    Q_PROPERTY(QString loadError READ loadError NOTIFY loadErrorChanged)

public:
    // Where the catalog gets its lists. The standard source is AppsLoader,
    // reading the cache on a worker thread; tests hand in their own (without
    // `cached`, the catalog starts empty).
    struct Source {
        std::function<QFuture<std::optional<AppsFeed>>()> cached;
        std::function<QFuture<AppsLoadResult>(const QUrl &)> load;

        static Source standard();
    };

    // Starts reading the cached list, shown once it is read unless a refresh
    // has succeeded by then; nothing is fetched until a refresh.
    explicit AppsCatalog(Source source = Source::standard(), QObject *parent = nullptr);

    // The one catalog of the process, created on first use.
    static AppsCatalog *shared();

    const QList<AppsFeed::Entry> &apps() const { return m_apps; }
    // The last refresh's failure, kept only while there is no list to show;
    // empty when there is none.
    QString loadError() const { return m_loadError; }
    bool hasLoadError() const { return !m_loadError.isEmpty(); }
    bool isLoading() const { return m_isLoading; }
    bool hasLoaded() const { return m_hasLoaded; }

    // Fetches the list unless a refresh is already running; a second caller
    // does not wait for the running one. The future finishes when this
    // call's work is done.
    QFuture<void> refresh(const QUrl &feedURL);
    // Refreshes only until one refresh has succeeded in this process.
    QFuture<void> refreshIfNeeded(const QUrl &feedURL);

    // The list without the calling application, in feed order.
    QList<AppsFeed::Entry> others(const QString &currentApp) const;

Q_SIGNALS:
    void appsChanged();
    void loadErrorChanged();

private:
    void adoptCachedFeed(const std::optional<AppsFeed> &feed);
    void finishRefresh(const AppsLoadResult &result);
    void setApps(const QList<AppsFeed::Entry> &apps);
    void setLoadError(const QString &message);

    Source m_source;
    QList<AppsFeed::Entry> m_apps;
    QString m_loadError;
    bool m_isLoading = false;
    bool m_hasLoaded = false;
};

} // namespace VossaApps
