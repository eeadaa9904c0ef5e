#include "FileManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QUrl>

namespace Metaloom::FileManager {

void showItem(const QString &path, QObject *context, std::function<void()> onRefused)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        onRefused();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
    // A file manager that has to start first may take a few seconds.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [onRefused = std::move(onRefused)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         if (finished->isError())
                             onRefused();
                     });
}

} // namespace Metaloom::FileManager
