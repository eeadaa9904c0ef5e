#pragma once

#include "AppsFeed.h"

#include <QList>
#include <QUrl>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace VossaApps {

class AppRow;
class AppsCatalog;
class RemoteIconCache;

// The catalog as a list of rows. While the list is empty it shows either a
// spinner or, when the last refresh failed, why; the host's own application
// is never listed. Each time the view is shown it refreshes the catalog in
// the background; rows stay on screen meanwhile.
class VossaAppsView : public QWidget {
    Q_OBJECT

public:
    enum class State { Loading, Error, Rows };
    Q_ENUM(State)

    VossaAppsView(const QString &currentApp, const QUrl &feedURL, QWidget *parent = nullptr);
    // With a catalog (and icon cache) of the caller's instead of the shared ones.
    VossaAppsView(const QString &currentApp, const QUrl &feedURL, AppsCatalog *catalog,
                  RemoteIconCache *icons = nullptr, QWidget *parent = nullptr);

    QString currentApp() const { return m_currentApp; }
    QUrl feedURL() const { return m_feedURL; }
    AppsCatalog *catalog() const { return m_catalog; }

    State state() const { return m_state; }
    QList<AppRow *> rows() const { return m_rows; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildProgress();
    QWidget *buildErrorBlock();
    void updateContent();
    void updateRows(const QList<AppsFeed::Entry> &apps);
    void updateErrorSymbol();
    bool event(QEvent *event) override;

    QString m_currentApp;
    QUrl m_feedURL;
    AppsCatalog *m_catalog;
    RemoteIconCache *m_icons;
    State m_state = State::Loading;

    QWidget *m_progress = nullptr;
    QWidget *m_errorBlock = nullptr;
    QLabel *m_errorSymbol = nullptr;
    QLabel *m_errorMessage = nullptr;
    QWidget *m_rowsContainer = nullptr;
    QVBoxLayout *m_rowsLayout = nullptr;
    QList<AppRow *> m_rows;
};

} // namespace VossaApps
